// Statements per action of the pricing screen on the 2,000-item quote, and
// what they cost when each one crosses a network: opening the screen, one
// repaint of its two lists, "Actualiser", "Valider", on the file and on the
// server, and the server again with 1 ms added to every packet each way (as
// `tc qdisc ... netem delay 1ms` on the loopback would; this machine's kernel
// has no netem, so a relay of this program delays what it passes on).
//
// The server figures need the cluster that scripts/serveur-essai.sh starts
// (QUARLO_ESSAI_SERVEUR); without it only the file is measured.

#include "DevisBanc.h"
#include "Tableau.h"

#include "data/DMPose.h"
#include "engine/Base.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/Messages.h"
#include "ui/pricing/FicheModeNormal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeView>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kMenuiseries = 2000;
constexpr int kTarifsGeneraux = 2000; // keys 1 to 2,000; the installer's rows follow
constexpr int kQuincailleries = 5;
constexpr auto kDelai = std::chrono::milliseconds(1);

// Passes the bytes of one direction on, each chunk kDelai after it came.
class Sens
{
public:
    Sens(int depuis, int vers) : depuis(depuis), vers(vers)
    {
        lecteur = std::thread([this] { Lire(); });
        ecrivain = std::thread([this] { Ecrire(); });
    }
    ~Sens()
    {
        lecteur.join();
        ecrivain.join();
    }

private:
    struct Morceau
    {
        std::chrono::steady_clock::time_point echeance;
        std::string octets; // empty: the end
    };
    int depuis;
    int vers;
    std::mutex verrou;
    std::condition_variable arrivee;
    std::deque<Morceau> file;
    std::thread lecteur;
    std::thread ecrivain;

    void Lire()
    {
        char tampon[65536];
        for (;;) {
            const ssize_t lus = ::read(depuis, tampon, sizeof tampon);
            std::lock_guard<std::mutex> garde(verrou);
            file.push_back({std::chrono::steady_clock::now() + kDelai, lus > 0 ? std::string(tampon, std::size_t(lus)) : std::string()});
            arrivee.notify_one();
            if (lus <= 0)
                return;
        }
    }

    void Ecrire()
    {
        for (;;) {
            Morceau morceau;
            {
                std::unique_lock<std::mutex> garde(verrou);
                arrivee.wait(garde, [this] { return !file.empty(); });
                morceau = std::move(file.front());
                file.pop_front();
            }
            std::this_thread::sleep_until(morceau.echeance);
            if (morceau.octets.empty()) {
                ::shutdown(vers, SHUT_WR);
                return;
            }
            for (std::size_t ecrits = 0; ecrits < morceau.octets.size();) {
                const ssize_t n = ::write(vers, morceau.octets.data() + ecrits, morceau.octets.size() - ecrits);
                if (n <= 0)
                    return;
                ecrits += std::size_t(n);
            }
        }
    }
};

// A TCP port on the loopback whose connections reach the server's socket, every packet delayed.
class Relais
{
public:
    explicit Relais(const QByteArray& socketServeur) : socketServeur(socketServeur)
    {
        ecoute = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in adresse{};
        adresse.sin_family = AF_INET;
        adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(ecoute, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse);
        ::listen(ecoute, 8);
        socklen_t taille = sizeof adresse;
        ::getsockname(ecoute, reinterpret_cast<sockaddr*>(&adresse), &taille);
        port = ntohs(adresse.sin_port);
        accueil = std::thread([this] { Accueillir(); });
    }
    ~Relais()
    {
        arret = true;
        ::shutdown(ecoute, SHUT_RDWR);
        ::close(ecoute);
        accueil.join();
        for (const auto& [client, serveur] : connexions) {
            ::shutdown(client, SHUT_RDWR);
            ::shutdown(serveur, SHUT_RDWR);
        }
        sens.clear();
        for (const auto& [client, serveur] : connexions) {
            ::close(client);
            ::close(serveur);
        }
    }
    int Port() const { return port; }

private:
    QByteArray socketServeur;
    int ecoute = -1;
    int port = 0;
    std::atomic<bool> arret{false};
    std::thread accueil;
    std::vector<std::pair<int, int>> connexions;
    std::vector<std::unique_ptr<Sens>> sens;

    void Accueillir()
    {
        while (!arret) {
            const int client = ::accept(ecoute, nullptr, nullptr);
            if (client < 0)
                return;
            const int oui = 1;
            ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &oui, sizeof oui);
            const int serveur = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un adresse{};
            adresse.sun_family = AF_UNIX;
            std::snprintf(adresse.sun_path, sizeof adresse.sun_path, "%s", socketServeur.constData());
            ::connect(serveur, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse);
            connexions.emplace_back(client, serveur);
            sens.push_back(std::make_unique<Sens>(client, serveur));
            sens.push_back(std::make_unique<Sens>(serveur, client));
        }
    }
};

// The reference data the quote's lines point at: one kind, 2,000 general
// tariffs and the installer's own, five hardware entries.
void RemplirReference(Connexion& base)
{
    Transaction transaction(base);
    base.ExecuterScript(QStringLiteral("INSERT INTO Pose (Libelle, TypeTva) VALUES ('Pose en rénovation', 2);"
                                       "INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'Dupré & fils')"));
    Requete requete(base);
    for (int poseur : {0, 1}) {
        for (int i = 1; i <= kTarifsGeneraux; ++i) {
            requete.SetSql(QStringLiteral("INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES (1, :c, :p, :x)"));
            requete.LierEntier(QStringLiteral("c"), i);
            requete.LierEntier(QStringLiteral("p"), poseur);
            requete.LierDecimal(QStringLiteral("x"), poseur ? 80.0 : 120.5 + i % 3 + (i % 7 == 0));
            requete.Executer();
        }
    }
    for (int q = 1; q <= kQuincailleries; ++q) {
        requete.SetSql(QStringLiteral("INSERT INTO Quincaillerie (Libelle, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)"
                                      " VALUES (:l, 12.5, 6.25, 100, 4, 0)"));
        requete.LierTexte(QStringLiteral("l"), QStringLiteral("Vis inox %1 mm").arg(q));
        requete.Executer();
    }
    transaction.Valider();
}

// The quote of the exchange benchmarks, its lines and hardware pointing at the reference data.
QString EcrireDevis(const QString& dossier)
{
    DevisEchange devis = GrandDevis(kMenuiseries);
    devis.poseGlobale.SetId(QStringLiteral("1"));
    int ligne = 0;
    for (TMenuiserie& menuiserie : devis.menuiseries) {
        for (TTarif& tarif : menuiserie.GetTarifs()) {
            tarif.SetId(QString::number(1 + ligne++ % kTarifsGeneraux));
            tarif.SetPoseurId(QStringLiteral("1"));
            int q = 0;
            for (TQuincaillerie& entree : tarif.GetQuincailleries())
                entree.SetId(QString::number(1 + q++ % kQuincailleries));
        }
    }
    const QString echange = dossier + QStringLiteral("/echange.xml");
    EcrireEchange(devis.poseGlobale, true, devis.quincailleriesGlobales, devis.menuiseries, echange,
                  dossier + QStringLiteral("/20250312_150000"));
    return echange;
}

struct Mesure
{
    quint64 instructions = 0;
    double ms = 0;
};

template <class Action>
Mesure Mesurer(Connexion& base, Action action)
{
    const quint64 avant = base.Instructions();
    QElapsedTimer chrono;
    chrono.start();
    action();
    return {base.Instructions() - avant, double(chrono.nsecsElapsed()) / 1e6};
}

struct Actions
{
    Mesure ouverture, repeinte, actualiser, valider;
};

void Repeindre(TFicheModeNormal& fiche)
{
    for (const char* liste : {"lvListe", "lvCategorie"})
        fiche.findChild<QTreeView*>(QLatin1String(liste))->viewport()->repaint();
}

// The four actions on the screen, on the database the data module is given.
Actions MesurerEcran(TDMPose& dm, const QString& echange)
{
    Actions actions;
    Connexion& base = dm.Quarlo();
    EnregistreurMessages messages;
    TFicheModeNormal fiche(nullptr);
    fiche.SetFichierEchange(echange);
    actions.ouverture = Mesurer(base, [&] {
        fiche.show();
        while (fiche.GetPremiereActivation())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        QApplication::processEvents();
    });
    // A repaint as every one after the first: its statements are prepared.
    Repeindre(fiche);
    actions.repeinte = Mesurer(base, [&] { Repeindre(fiche); });
    actions.actualiser = Mesurer(base, [&] {
        messages.RepondreOui();
        fiche.findChild<QAbstractButton*>(QStringLiteral("btnActualiser"))->click();
        QApplication::processEvents();
    });
    actions.valider = Mesurer(base, [&] {
        fiche.findChild<QAbstractButton*>(QStringLiteral("btnValider"))->click();
        QApplication::processEvents();
    });
    return actions;
}

Actions MesurerBase(const std::function<void(TDMPose&)>& designer)
{
    QTemporaryDir dossier;
    SetDossierProgramme(dossier.path() + QLatin1Char('/'));
    TDMPose dm;
    designer(dm);
    dm.Ouvrir();
    dm.RestructureBase();
    dm.AjouterTva(1, QStringLiteral("TVA 20 %"), 20.0);
    dm.AjouterTva(2, QStringLiteral("TVA 10 %"), 10.0);
    if (dm.BaseCreee())
        RemplirReference(dm.Quarlo());
    const Actions actions = MesurerEcran(dm, EcrireDevis(dossier.path()));
    dm.Fermer();
    SetDossierProgramme(QString());
    return actions;
}

std::string Nombre(quint64 n)
{
    return std::to_string(n);
}

std::string Duree(double ms)
{
    char texte[32];
    std::snprintf(texte, sizeof texte, ms >= 100 ? "%.0f ms" : "%.2f ms", ms);
    return texte;
}

std::string Rapport(double notre, double reference)
{
    char texte[32];
    std::snprintf(texte, sizeof texte, "%.1f ×", reference > 0 ? notre / reference : 0.0);
    return texte;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    const Actions fichier = MesurerBase([](TDMPose& dm) {
        dm.SetNomFichier(QDir(DossierProgramme()).filePath(QStringLiteral("Quarlo.abs")));
    });
    const QString serveur = qEnvironmentVariable("QUARLO_ESSAI_SERVEUR");
    std::optional<Actions> direct;
    std::optional<Actions> lent;
    if (!serveur.isEmpty()) {
        // One schema for the three runs: the reference data is written once, by the first.
        const QString schema = QStringLiteral("bench_%1").arg(QCoreApplication::applicationPid());
        {
            Connexion admin;
            admin.OuvrirServeur(serveur);
            admin.ExecuterScript(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; CREATE SCHEMA %1").arg(schema));
        }
        const QString options = QStringLiteral(" options='-c search_path=%1'").arg(schema);
        direct = MesurerBase([&](TDMPose& dm) { dm.SetServeur(serveur + options); });
        const QRegularExpressionMatch hote = QRegularExpression(QStringLiteral(R"(host=(\S+))")).match(serveur);
        const QRegularExpressionMatch port = QRegularExpression(QStringLiteral(R"(port=(\d+))")).match(serveur);
        Relais relais(QStringLiteral("%1/.s.PGSQL.%2").arg(hote.captured(1), port.hasMatch() ? port.captured(1) : "5432").toUtf8());
        QString chaine = serveur;
        chaine.replace(QRegularExpression(QStringLiteral(R"(host=\S+)")), QStringLiteral("host=127.0.0.1"));
        chaine.replace(QRegularExpression(QStringLiteral(R"(port=\d+)")), QStringLiteral("port=%1").arg(relais.Port()));
        lent = MesurerBase([&](TDMPose& dm) { dm.SetServeur(chaine + options); });
        Connexion admin;
        admin.OuvrirServeur(serveur);
        admin.ExecuterScript(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema));
    } else {
        std::fprintf(stderr, "QUARLO_ESSAI_SERVEUR n'est pas donné : le serveur n'est pas mesuré.\n");
    }

    struct Ligne
    {
        const char* action;
        Mesure Actions::*mesure;
    };
    const Ligne lignes[] = {
        {"open the 2,000-item quote", &Actions::ouverture},
        {"one repaint of its two lists", &Actions::repeinte},
        {"\"Actualiser\"", &Actions::actualiser},
        {"\"Valider\"", &Actions::valider},
    };
    for (const Ligne& ligne : lignes) {
        const Mesure& surFichier = fichier.*ligne.mesure;
        AjouterAuTableau(std::string("statements: ") + ligne.action + " (file; server)\t" + Nombre(surFichier.instructions)
                         + "\t" + (direct ? Nombre(((*direct).*ligne.mesure).instructions) : "—") + "\t—\t—");
        if (lent) {
            const Mesure& surServeur = (*lent).*ligne.mesure;
            AjouterAuTableau(std::string("time: ") + ligne.action + ", server + 1 ms each way / file\t"
                             + Duree(surServeur.ms) + "\t" + Duree(surFichier.ms) + "\t"
                             + Rapport(surServeur.ms, surFichier.ms) + "\t—");
        }
    }
    return 0;
}
