// The server as companies run it, from the start of the program: the two
// roles that QuarloCopieBase --droits gives their rights (administrators,
// pricing workstations), and a connection pooler in transaction mode in
// front of the server with two pricing copies and an administrator starting
// again and again at the same time.

#include "app/Lancement.h"
#include "tools/CopieBase.h"

#include "BaseEssai.h"
#include "data/DMPose.h"
#include "data/Poseurs.h"
#include "data/Tarifs.h"
#include "ui/common/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include <libpq-fe.h>

namespace {

const QString kPoste = QStringLiteral("--poste");
constexpr int kDemarrages = 4;

// The host's configuration: a SIRET written with spaces is wider than its column.
const QByteArray kConfiguration = "[TVA]\r\nNb=1\r\n[TVA0]\r\nTypeTva=1\r\nLibelle=TVA 20 %\r\nValeur=20\r\n"
                                  "[Poseur]\r\nNb=2\r\n[Poseur0]\r\nCode=P01\r\nNom=Poseur un\r\n"
                                  "Siret=412 385 672 00017\r\n[Poseur1]\r\nCode=P02\r\nNom=Poseur deux\r\n";

void Ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size())
        qFatal("cannot write %s", qPrintable(chemin));
}

// A workstation: the program's folder, whose Module_Quarlo.ini names the
// server database, and the host's configuration and quote.
class Poste
{
public:
    explicit Poste(const QString& connexion)
    {
        Ecrire(Dossier() + QStringLiteral("Module_Quarlo.ini"), "[Base]\r\nConnexion=" + connexion.toUtf8() + "\r\n");
        Ecrire(Configuration(), kConfiguration);
        Ecrire(Echange(), "<devis/>");
    }
    QString Dossier() const { return dossier.path() + u'/'; }
    QString Configuration() const { return Dossier() + QStringLiteral("Config.ini"); }
    QString Echange() const { return Dossier() + QStringLiteral("Devis.xml"); }

private:
    QTemporaryDir dossier;
};

// What one start did: its exit code, the window it opened and the messages shown.
struct Demarrage
{
    int code = -1;
    QString fenetre;
    QStringList messages;
};

// Starts the program in the mode, as the host would; `travail` stands for
// what the user does in the window.
Demarrage Demarrer(const Poste& poste, bool administration, const std::function<void()>& travail = {})
{
    EnregistreurMessages messages;
    Demarrage demarrage;
    Lancement::Fenetres fenetres;
    fenetres.Administration = [&](QWidget*) {
        demarrage.fenetre = QStringLiteral("administration");
        if (travail)
            travail();
    };
    fenetres.ModeNormal = [&](QWidget*, const QString&, const QString&) {
        demarrage.fenetre = QStringLiteral("tarification");
        if (travail)
            travail();
    };
    const QStringList arguments = administration
                                      ? QStringList{QStringLiteral("ADMIN"), poste.Configuration()}
                                      : QStringList{QStringLiteral("CREATION"), poste.Configuration(), poste.Echange()};
    demarrage.code = Lancement::Executer(arguments, poste.Dossier(), nullptr, fenetres);
    demarrage.messages = messages.Textes();
    return demarrage;
}

qint64 Nombre(const QString& sql)
{
    Requete requete(DMPose().Quarlo());
    requete.SetSql(sql);
    return requete.Ouvrir().Premiere().Entier(QStringLiteral("Nombre"));
}

// What an administrator does at each start: the first one gives the
// database a kind and a category, each one saves the general tariff grid
// with a new price.
void TravailAdministrateur(int demarrage)
{
    {
        Transaction groupe(DMPose().Quarlo());
        if (Nombre(QStringLiteral("SELECT COUNT(*) AS Nombre FROM Pose")) == 0) {
            Requete requete(DMPose().Quarlo());
            requete.SetSql(QStringLiteral("INSERT INTO Pose (Libelle, TypeTva) VALUES ('Pose en neuf', 1)"));
            requete.Executer();
            requete.SetSql(QStringLiteral("INSERT INTO CategorieType (Libelle) VALUES ('Fenêtre')"));
            requete.Executer();
            requete.SetSql(QStringLiteral("INSERT INTO Categorie (Libelle, IdCategorieType) VALUES ('PVC', :Type)"));
            requete.LierTexte(QStringLiteral("Type"), DMPose().Quarlo().DernierIdentifiant(QStringLiteral("CategorieType")));
            requete.Executer();
        }
        groupe.Valider();
    }
    const Tarifs::Choix choix{QString::number(Nombre(QStringLiteral("SELECT MIN(IdPose) AS Nombre FROM Pose"))),
                              Tarifs::kPoseurGeneral};
    const Tarifs::EnregistrementGrille enregistrement =
        Tarifs::EnregistrerGrille(choix, Tarifs::Grille(choix), {QString::number(100 + demarrage)});
    if (enregistrement.refus || !enregistrement.laissees.isEmpty())
        throw std::runtime_error("the grid was not saved");
}

// What a pricing workstation reads at each start: the prices of every tariff and the installers' names.
void TravailChiffrage()
{
    QStringList cles;
    for (const Tarifs::TarifGeneral& tarif : Tarifs::Generaux(QStringLiteral("1")))
        cles << tarif.cle;
    Tarifs::PrixGeneraux(cles);
    Poseurs::Noms({QStringLiteral("1"), QStringLiteral("2")});
}

// A copy of the program on a workstation, started again and again.
int PosteEnfant(const QString& role, const QString& connexion)
{
    TDMPose dm;
    const Poste poste(connexion);
    const bool administration = role == u"administration";
    for (int i = 0; i < kDemarrages; ++i) {
        const Demarrage demarrage = Demarrer(poste, administration, [&] {
            if (administration)
                TravailAdministrateur(i);
            else
                TravailChiffrage();
        });
        if (demarrage.code != 0 || demarrage.fenetre.isEmpty()) {
            fprintf(stderr, "start %d of %s: code %d, %s\n", i, qPrintable(role), demarrage.code,
                    qPrintable(demarrage.messages.join(u'\n')));
            return 1;
        }
    }
    return 0;
}

// Runs statements on the test server as its administrator, outside any
// transaction (CREATE DATABASE refuses one). Straight through libpq: the
// program's connection groups its writes in transactions.
void Administrer(const QString& sql)
{
    const std::unique_ptr<PGconn, decltype(&PQfinish)> connexion(PQconnectdb(ServeurEssai().toUtf8().constData()),
                                                                 &PQfinish);
    const std::unique_ptr<PGresult, decltype(&PQclear)> resultat(PQexec(connexion.get(), sql.toUtf8().constData()),
                                                                 &PQclear);
    if (PQresultStatus(resultat.get()) != PGRES_COMMAND_OK)
        qFatal("%s failed: %s", qPrintable(sql), PQerrorMessage(connexion.get()));
}

// Login roles of their own, dropped at the end (after the schemas they have rights in).
class Roles
{
public:
    explicit Roles(const QStringList& noms) : noms(noms)
    {
        for (const QString& nom : noms)
            Administrer(QStringLiteral("DROP ROLE IF EXISTS %1; CREATE ROLE %1 LOGIN PASSWORD 'essai'").arg(nom));
    }
    ~Roles()
    {
        for (const QString& nom : noms)
            Administrer(QStringLiteral("DROP ROLE %1").arg(nom));
    }

private:
    QStringList noms;
};

} // namespace

class TestServeur : public QObject
{
    Q_OBJECT

private slots:
    // The administrators write everything; a pricing workstation starts,
    // writes the host's installers and prices, and is told at once that it
    // may not administer; no window of its could change a tariff.
    void deuxRoles()
    {
        SUR_LE_SERVEUR_SEULEMENT();
        const QString suffixe = QString::number(QCoreApplication::applicationPid());
        const QString administrateur = QStringLiteral("quarlo_admin_") + suffixe;
        const QString chiffrage = QStringLiteral("quarlo_poste_") + suffixe;
        const Roles roles({administrateur, chiffrage});
        SchemaEssai schema;
        const CopieBase::Compte droits = CopieBase::AccorderDroits(schema.Chaine(), administrateur, chiffrage);
        QVERIFY2(droits.reussie, qPrintable(droits.lignes.join(u'\n')));
        const auto connexion = [&schema](const QString& role) {
            return schema.Chaine() + QStringLiteral(" user=%1 password=essai").arg(role);
        };
        TDMPose dm;

        const Poste poste(connexion(chiffrage));
        Demarrage demarrage = Demarrer(poste, false);
        QCOMPARE(demarrage.code, 0);
        QCOMPARE(demarrage.fenetre, QStringLiteral("tarification"));
        // The text too wide for its column is stored cut, and said once.
        QCOMPARE(demarrage.messages.size(), 1);
        QVERIFY2(demarrage.messages.first().contains(QStringLiteral("- poseur « P01 », Siret : 17 caractères, les 14 "
                                                                    "premiers gardés"))
                     && demarrage.messages.first().contains(QDir::toNativeSeparators(poste.Configuration())),
                 qPrintable(demarrage.messages.first()));
        QCOMPARE(Demarrer(poste, false).messages, QStringList());

        demarrage = Demarrer(poste, true);
        QCOMPARE(demarrage.code, 0);
        QCOMPARE(demarrage.fenetre, QString());
        QCOMPARE(demarrage.messages.size(), 1);
        QVERIFY2(demarrage.messages.first().startsWith(QStringLiteral("Quarlo - Ce poste ne peut que chiffrer : "
                                                                      "l'utilisateur « %1 »")
                                                           .arg(chiffrage)),
                 qPrintable(demarrage.messages.first()));
        Connexion directe;
        directe.OuvrirServeur(connexion(chiffrage));
        for (const char* sql : {"INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES (1, 1, 0, 1)",
                                "UPDATE Tarif SET Prix = 2", "DELETE FROM Quincaillerie", "DELETE FROM Poseur"}) {
            Requete requete(directe);
            requete.SetSql(QString::fromUtf8(sql));
            try {
                requete.Executer();
                QFAIL(sql);
            } catch (const ErreurBase& erreur) {
                QCOMPARE(erreur.Raison(), ErreurBase::Cause::Acces);
            }
        }

        demarrage = Demarrer(Poste(connexion(administrateur)), true, [] { TravailAdministrateur(0); });
        QCOMPARE(demarrage.code, 0);
        QCOMPARE(demarrage.fenetre, QStringLiteral("administration"));
        QCOMPARE(demarrage.messages, QStringList());
        QCOMPARE(Demarrer(poste, false, [] {
                     QCOMPARE(Tarifs::Grille({QStringLiteral("1"), Tarifs::kPoseurGeneral}).first().prix, 100.0);
                 }).code,
                 0);
    }

    // Two pricing copies and an administrator, through PgBouncer in
    // transaction mode (two server sessions for the three), start again and
    // again at the same time: each start prices or saves its grid, nothing
    // is refused. The grid ends with the administrator's last price.
    void regroupeurEnModeTransaction()
    {
        SUR_LE_SERVEUR_SEULEMENT();
        const QString regroupeur = ReglageEssai("QUARLO_ESSAI_REGROUPEUR");
        if (regroupeur.isEmpty())
            QSKIP("the cluster of scripts/serveur-essai.sh only (PgBouncer)");
        const QString nom = QStringLiteral("essai_regroupeur_%1").arg(QCoreApplication::applicationPid());
        Administrer(QStringLiteral("CREATE DATABASE %1").arg(nom));
        const QString connexion = regroupeur + QStringLiteral(" dbname=") + nom;
        std::vector<std::unique_ptr<QProcess>> postes;
        for (const char* role : {"chiffrage", "chiffrage", "administration"}) {
            postes.push_back(std::make_unique<QProcess>());
            postes.back()->setProcessChannelMode(QProcess::ForwardedChannels);
            postes.back()->start(QCoreApplication::applicationFilePath(), {kPoste, QString::fromUtf8(role), connexion});
        }
        bool reussis = true;
        for (const auto& poste : postes) {
            reussis = poste->waitForFinished(240000) && poste->exitStatus() == QProcess::NormalExit
                      && poste->exitCode() == 0 && reussis;
        }
        double prix = 0;
        {
            TDMPose dm;
            dm.SetServeur(connexion);
            dm.Ouvrir();
            prix = Tarifs::Grille({QStringLiteral("1"), Tarifs::kPoseurGeneral}).first().prix.value_or(0);
        }
        Administrer(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(nom));
        QVERIFY(reussis);
        QCOMPARE(prix, 100.0 + kDemarrages - 1);
    }
};

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 4 && arguments.at(1) == kPoste) {
        try {
            return PosteEnfant(arguments.at(2), arguments.at(3));
        } catch (const std::exception& erreur) {
            fprintf(stderr, "%s\n", erreur.what());
            return 1;
        }
    }
    TestServeur test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_serveur.moc"
