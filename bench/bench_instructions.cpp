// Statements per action of the pricing screen on the 2,000-item quote, and
// what they cost when each one crosses a network: opening the screen, one
// repaint of its two lists, "Actualiser", "Valider", on the file and on the
// server, and the server again with 1 ms added to every packet each way (as
// `tc qdisc ... netem delay 1ms` on the loopback would; this machine's kernel
// has no netem, so a relay of this program delays what it passes on). Then
// the bulk writes of the administration (a 100,000-line catalogue import,
// the same file edited imported again, a 2,000-row grid save), and the cost of a look-up through a statement the
// server keeps under a name against one it parses at each run.
//
// The server figures need the cluster that scripts/serveur-essai.sh starts
// (QUARLO_ESSAI_SERVEUR); without it only the file is measured.

#include "DevisBanc.h"
#include "Relais.h"
#include "Tableau.h"

#include "data/CatalogueQuincaillerie.h"
#include "data/DMPose.h"
#include "data/Tarifs.h"
#include "engine/Base.h"
#include "model/LigneCsv.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/Messages.h"
#include "ui/pricing/FicheModeNormal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeView>

#include <chrono>
#include <cstdio>
#include <libpq-fe.h>

namespace {

constexpr int kMenuiseries = 2000;
constexpr int kTarifsGeneraux = 2000; // keys 1 to 2,000; the installer's rows follow
constexpr int kQuincailleries = 5;
constexpr auto kDelai = std::chrono::milliseconds(1);
constexpr int kLignesCatalogue = 100000;
constexpr int kCategoriesGrille = 2000;
constexpr int kRecherches = 300;

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
    Mesure ouverture, repeinte, actualiser, valider, catalogue, catalogueRetouche, grille;
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

// The administration's bulk writes on a database of their own: a
// 100,000-line catalogue file imported, then imported again edited, then a
// grid of 2,000 categories whose every price changes saved.
void MesurerEcritures(const std::function<void(TDMPose&)>& designer, Actions& actions)
{
    TDMPose dm;
    designer(dm);
    dm.Ouvrir();
    dm.RestructureBase();
    Connexion& base = dm.Quarlo();
    base.ExecuterScript(QStringLiteral(
        "INSERT INTO Pose (Libelle, TypeTva) VALUES ('Pose en neuf', 1);"
        "INSERT INTO CategorieType (Libelle) VALUES ('Fenêtre');"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
        "INSERT INTO Categorie (Libelle, IdCategorieType) SELECT 'Catégorie ' || i, 1 FROM n")
                            .arg(kCategoriesGrille));
    QVector<LigneLue> lignes;
    lignes.reserve(kLignesCatalogue);
    for (int i = 0; i < kLignesCatalogue; ++i)
        lignes.append({i + 1,
                       {QStringLiteral("Q%1").arg(i), QStringLiteral("Vis à bois %1 mm").arg(i % 90), QStringLiteral("inox A2"),
                        QStringLiteral("12,50"), QStringLiteral("6,25"), QStringLiteral("100,00"), QStringLiteral("4,00"),
                        i % 2 ? QStringLiteral("O") : QStringLiteral("N")}});
    const auto importer = [&] {
        CatalogueQuincaillerie::Importer(lignes, [](const CatalogueQuincaillerie::Examen&) { return true; });
    };
    actions.catalogue = Mesurer(base, importer);
    // The same file edited: a tenth of the prices changed, a hundredth of
    // the entries taken out and as many new ones.
    for (int i = 0; i < kLignesCatalogue; ++i) {
        if (i % 10 == 0)
            lignes[i].champs[3] = QStringLiteral("13,00");
        if (i % 100 == 1)
            lignes[i].champs[0] = QStringLiteral("N%1").arg(i);
    }
    actions.catalogueRetouche = Mesurer(base, importer);
    const Tarifs::Choix choix{QStringLiteral("1"), Tarifs::kPoseurGeneral};
    const auto prixDepuis = [](int depart) {
        QStringList prix;
        for (int i = 0; i < kCategoriesGrille; ++i)
            prix << QString::number(depart + i % 50);
        return prix;
    };
    Tarifs::EnregistrerGrille(choix, Tarifs::Grille(choix), prixDepuis(100));
    const QVector<Tarifs::LigneGrille> grille = Tarifs::Grille(choix);
    const QStringList prix = prixDepuis(200);
    actions.grille = Mesurer(base, [&] { Tarifs::EnregistrerGrille(choix, grille, prix); });
    dm.Fermer();
}

// One look-up by key on the 1 ms link, kRecherches times: through a
// statement prepared once under a name (what a server session keeps, and a
// pooler in transaction mode does not), and through an unnamed statement
// the server parses at each run, described once in the same exchange as a
// first parsing (what the program does).
struct Recherches
{
    double nommee = 0;     // ms per look-up
    double sansNom = 0;
    double premiereNommee = 0; // the first use: preparing, describing, running
    double premiereSansNom = 0;
};

Recherches MesurerRecherches(const QString& chaine)
{
    const char* const sql = "SELECT t1.Prix FROM tarif t1, tarif t2 WHERE t2.IdTarif = $1 AND t1.IdPose = t2.IdPose "
                            "AND t1.IdCategorie = t2.IdCategorie AND t1.IdPoseur = 0";
    PGconn* conn = PQconnectdb(chaine.toUtf8().constData());
    Recherches recherches;
    const auto chrono = [](auto&& action) {
        QElapsedTimer minuteur;
        minuteur.start();
        action();
        return double(minuteur.nsecsElapsed()) / 1e6;
    };
    const auto cle = [](int i) { return QByteArray::number(1 + i % kTarifsGeneraux); };
    const auto lancer = [&](auto&& executer) {
        for (int i = 0; i < kRecherches; ++i) {
            const QByteArray texte = cle(i);
            const char* valeur = texte.constData();
            PQclear(executer(&valeur));
        }
    };
    Oid type = 0;
    recherches.premiereNommee = chrono([&] {
        PQclear(PQprepare(conn, "recherche", sql, 1, nullptr));
        PGresult* description = PQdescribePrepared(conn, "recherche");
        type = PQparamtype(description, 0);
        PQclear(description);
        const char* valeur = "1";
        PQclear(PQexecPrepared(conn, "recherche", 1, &valeur, nullptr, nullptr, 0));
    });
    recherches.nommee = chrono([&] {
        lancer([&](const char** valeur) { return PQexecPrepared(conn, "recherche", 1, valeur, nullptr, nullptr, 0); });
    }) / kRecherches;
    recherches.premiereSansNom = chrono([&] {
        PQenterPipelineMode(conn);
        PQsendPrepare(conn, "", sql, 1, nullptr);
        PQsendDescribePrepared(conn, "");
        PQpipelineSync(conn);
        for (int reponses = 0; reponses < 3;) {
            PGresult* res = PQgetResult(conn);
            if (res && PQresultStatus(res) == PGRES_PIPELINE_SYNC)
                reponses = 3;
            else if (res && PQresultStatus(res) == PGRES_COMMAND_OK && PQnparams(res) == 1)
                type = PQparamtype(res, 0);
            PQclear(res);
        }
        PQexitPipelineMode(conn);
        const char* valeur = "1";
        PQclear(PQexecParams(conn, sql, 1, &type, &valeur, nullptr, nullptr, 0));
    });
    recherches.sansNom = chrono([&] {
        lancer([&](const char** valeur) { return PQexecParams(conn, sql, 1, &type, valeur, nullptr, nullptr, 0); });
    }) / kRecherches;
    PQfinish(conn);
    return recherches;
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

    Actions fichier = MesurerBase([](TDMPose& dm) {
        dm.SetNomFichier(QDir(DossierProgramme()).filePath(QStringLiteral("Quarlo.abs")));
    });
    QTemporaryDir dossierEcritures;
    MesurerEcritures([&](TDMPose& dm) { dm.SetNomFichier(dossierEcritures.filePath(QStringLiteral("Ecritures.abs"))); },
                     fichier);
    const QString serveur = qEnvironmentVariable("QUARLO_ESSAI_SERVEUR");
    std::optional<Actions> direct;
    std::optional<Actions> lent;
    std::optional<Recherches> recherches;
    if (!serveur.isEmpty()) {
        // One schema for the three runs of the screen (the reference data is
        // written once, by the first), one for each run of the writes.
        const QString pid = QString::number(QCoreApplication::applicationPid());
        const QStringList schemas = {QStringLiteral("bench_") + pid, QStringLiteral("bench_direct_") + pid,
                                     QStringLiteral("bench_lent_") + pid};
        Connexion admin;
        admin.OuvrirServeur(serveur);
        for (const QString& schema : schemas)
            admin.ExecuterScript(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; CREATE SCHEMA %1").arg(schema));
        const auto options = [](const QString& schema) { return QStringLiteral(" options='-c search_path=%1'").arg(schema); };
        direct = MesurerBase([&](TDMPose& dm) { dm.SetServeur(serveur + options(schemas[0])); });
        MesurerEcritures([&](TDMPose& dm) { dm.SetServeur(serveur + options(schemas[1])); }, *direct);
        Relais relais(Relais::Socket(serveur), kDelai);
        const QString chaine = Relais::Chaine(serveur, relais.Port());
        lent = MesurerBase([&](TDMPose& dm) { dm.SetServeur(chaine + options(schemas[0])); });
        MesurerEcritures([&](TDMPose& dm) { dm.SetServeur(chaine + options(schemas[2])); }, *lent);
        recherches = MesurerRecherches(chaine + options(schemas[0]));
        for (const QString& schema : schemas)
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
        {"import a 100,000-line hardware catalogue", &Actions::catalogue},
        {"import it again, edited (10,000 prices, 1,000 codes changed)", &Actions::catalogueRetouche},
        {"save a 2,000-row tariff grid, every price changed", &Actions::grille},
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
        if (direct && (ligne.mesure == &Actions::catalogue || ligne.mesure == &Actions::catalogueRetouche
                       || ligne.mesure == &Actions::grille)) {
            const Mesure& surServeur = (*direct).*ligne.mesure;
            AjouterAuTableau(std::string("time: ") + ligne.action + ", server on the loopback / file\t"
                             + Duree(surServeur.ms) + "\t" + Duree(surFichier.ms) + "\t"
                             + Rapport(surServeur.ms, surFichier.ms) + "\t—");
        }
    }
    if (recherches) {
        AjouterAuTableau("time: a look-up by key on the server + 1 ms each way, unnamed statement / named prepared "
                         "statement\t"
                         + Duree(recherches->sansNom) + "\t" + Duree(recherches->nommee) + "\t"
                         + Rapport(recherches->sansNom, recherches->nommee) + "\t—");
        AjouterAuTableau("time: its first use (described, run) / (prepared, described, run)\t"
                         + Duree(recherches->premiereSansNom) + "\t" + Duree(recherches->premiereNommee) + "\t"
                         + Rapport(recherches->premiereSansNom, recherches->premiereNommee) + "\t—");
    }
    return 0;
}
