// Tariff grids below the window: saving (only what changed, only over what
// was read, also with two copies on the file), export lines, copy and
// import, read back from the database.

#include "DonneesReference.h"
#include "LignesTexte.h"

#include "data/ImportTarifs.h"
#include "data/Tarifs.h"

#include <QtTest>

namespace {

// Two kinds, an installer and three categories, one of them without type.
struct Reference
{
    BaseTemporaire base;
    DonneesReference donnees{base};
    QString poseA = donnees.Pose(QStringLiteral("Pose A"));
    QString poseB = donnees.Pose(QStringLiteral("Pose B"));
    QString poseurX = donnees.Poseur(QStringLiteral("X1"), QStringLiteral("Xavier"));
    QString fenetres = donnees.Type(QStringLiteral("Fenêtre"), {});
    QString pvc = donnees.Categorie(QStringLiteral("PVC \"2 vantaux\""), fenetres);
    QString bois = donnees.Categorie(QString(), fenetres);
    QString orpheline = donnees.Categorie(QStringLiteral("Sans type"), QStringLiteral("-1"));

    QStringList Tarifs() { return LignesTexte(base.Base(), "SELECT IdPose, IdPoseur, IdCategorie, Prix FROM Tarif ORDER BY IdTarif"); }
};

QString TarifTexte(const QString& pose, const QString& poseur, const QString& categorie, const QString& prix)
{
    return QStringList{pose, poseur, categorie, prix}.join(QLatin1Char('|'));
}

// Runs the work as another running copy of the program would: a data
// module of its own on the same file, the current one while it lives.
template <class Travail>
void AutreCopie(BaseTemporaire& base, Travail travail)
{
    TDMPose autre;
    base.Designer(autre);
    autre.Ouvrir();
    travail();
}

// The lines of a file, as the reader gives them.
QVector<LigneLue> Lues(const QVector<QStringList>& lignes)
{
    QVector<LigneLue> lues;
    for (int i = 0; i < lignes.size(); ++i)
        lues.append({i + 1, lignes[i]});
    return lues;
}

const auto kOui = [](const ImportTarifs::Bilan&) { return true; };

QStringList Textes(const QVector<ImportTarifs::Rejet>& rejets)
{
    QStringList textes;
    for (const ImportTarifs::Rejet& rejet : rejets)
        textes << QStringLiteral("%1 %2").arg(rejet.ligne).arg(rejet.raison);
    return textes;
}

} // namespace

class TestTarifs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UtiliserLocaleFrancaise(); }

    void grilleEnregistree()
    {
        Reference r;
        const Tarifs::Choix choix{r.poseA, r.poseurX};
        const QString ancien = r.donnees.Tarif(r.poseA, r.bois, 30, r.poseurX);
        QVector<Tarifs::LigneGrille> grille = Tarifs::Grille(choix);
        // Rows by type label then label; the category without type has none.
        QCOMPARE(grille.size(), 2);
        QCOMPARE(grille[0].nom, QStringLiteral("Fenêtre"));
        QCOMPARE(grille[0].idTarif, ancien);
        QCOMPARE(grille[1].nom, QStringLiteral("Fenêtre PVC \"2 vantaux\""));

        // A price that is not a number, or beyond the bound: nothing at all is written.
        for (const auto& [texte, motif] : {std::pair{"12,5x", Tarifs::RefusGrille::Motif::PrixInvalide},
                                           std::pair{"1e308", Tarifs::RefusGrille::Motif::PrixHorsLimites},
                                           std::pair{"99999999999999999999", Tarifs::RefusGrille::Motif::PrixHorsLimites}}) {
            const auto refus = Tarifs::EnregistrerGrille(choix, grille, {"", texte}).refus;
            QVERIFY(refus);
            QCOMPARE(refus->motif, motif);
            QCOMPARE(refus->ligne, 1);
            QCOMPARE(r.Tarifs(), QStringList{TarifTexte(r.poseA, r.poseurX, r.bois, "30")});
        }

        // Clearing deletes, typing inserts under the grid's choice.
        QVERIFY(Tarifs::EnregistrerGrille(choix, grille, {"", "12,5"}).laissees.isEmpty());
        QCOMPARE(r.Tarifs(), QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "12.5")});
        // Once reloaded the row carries its key: a second save updates it.
        grille = Tarifs::Grille(choix);
        QVERIFY(!grille[1].idTarif.isEmpty());
        QCOMPARE(grille[1].prix, std::optional(12.5));
        QVERIFY(!Tarifs::EnregistrerGrille(choix, grille, {" ", "14"}).refus);
        QCOMPARE(r.Tarifs(), QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "14")});

        // Without an installation kind, prices have nowhere to go.
        const QVector<Tarifs::LigneGrille> sansPose = Tarifs::Grille({"", "0"});
        const auto refus = Tarifs::EnregistrerGrille({"", "0"}, sansPose, {"", "5"}).refus;
        QVERIFY(refus && refus->motif == Tarifs::RefusGrille::Motif::SansPose);
        QVERIFY(!Tarifs::EnregistrerGrille({"", "0"}, sansPose, {"", ""}).refus);
        QCOMPARE(r.Tarifs().size(), 1);
    }

    void grilleInchangeeNEcritRien()
    {
        Reference r;
        const Tarifs::Choix choix{r.poseA, "0"};
        r.donnees.Tarif(r.poseA, r.bois, QVariant());
        r.donnees.Tarif(r.poseA, r.pvc, 0.1 + 0.2);
        const QVector<Tarifs::LigneGrille> grille = Tarifs::Grille(choix);
        for (const char* ecriture : {"UPDATE", "INSERT", "DELETE"})
            r.base.Refuser(QString::fromLatin1(ecriture), "Tarif");
        // The prices as shown, or written otherwise with the same value:
        // a null price stays, a price shown rounded stays as stored.
        QCOMPARE(Tarifs::TextePrix(grille[1]), QStringLiteral("0,3"));
        for (const QStringList& prix : {QStringList{"", "0,3"}, QStringList{" ", "0,3"}})
            QVERIFY(!Tarifs::EnregistrerGrille(choix, grille, prix).refus);
        QCOMPARE(r.Tarifs().size(), 2);
    }

    void deuxCopiesSurLaMemeGrille()
    {
        Reference r;
        const Tarifs::Choix choix{r.poseA, "0"};
        r.donnees.Tarif(r.poseA, r.bois, 169);
        r.donnees.Tarif(r.poseA, r.pvc, 128);
        const QVector<Tarifs::LigneGrille> lueParA = Tarifs::Grille(choix);
        QVector<Tarifs::LigneGrille> lueParB;
        AutreCopie(r.base, [&] { lueParB = Tarifs::Grille(choix); });

        // A changes one row, then B another: both prices stay.
        QVERIFY(Tarifs::EnregistrerGrille(choix, lueParA, {"111", "128"}).laissees.isEmpty());
        AutreCopie(r.base, [&] {
            QVERIFY(Tarifs::EnregistrerGrille(choix, lueParB, {"169", "222"}).laissees.isEmpty());
        });
        QCOMPARE(r.Tarifs(), (QStringList{TarifTexte(r.poseA, "0", r.bois, "111"), TarifTexte(r.poseA, "0", r.pvc, "222")}));

        // Both read again; A changes one row, then B both: the row A changed
        // keeps A's price and is said, the other is written.
        const QVector<Tarifs::LigneGrille> relueParA = Tarifs::Grille(choix);
        AutreCopie(r.base, [&] { lueParB = Tarifs::Grille(choix); });
        QVERIFY(Tarifs::EnregistrerGrille(choix, relueParA, {"112", "222"}).laissees.isEmpty());
        AutreCopie(r.base, [&] {
            const auto enregistrement = Tarifs::EnregistrerGrille(choix, lueParB, {"150", "300"});
            QCOMPARE(enregistrement.laissees, QVector<int>{0});
        });
        QCOMPARE(r.Tarifs(), (QStringList{TarifTexte(r.poseA, "0", r.bois, "112"), TarifTexte(r.poseA, "0", r.pvc, "300")}));

        // A deleted row, and a row another copy priced first, are left too;
        // a row typed with the other copy's very price is no conflict.
        const QVector<Tarifs::LigneGrille> lue = Tarifs::Grille(choix);
        AutreCopie(r.base, [&] {
            QVERIFY(Tarifs::EnregistrerGrille(choix, Tarifs::Grille(choix), {"", "300"}).laissees.isEmpty());
        });
        QCOMPARE(Tarifs::EnregistrerGrille(choix, lue, {"5", "300"}).laissees, QVector<int>{0});
        const QVector<Tarifs::LigneGrille> sansBois = Tarifs::Grille(choix);
        AutreCopie(r.base, [&] { Tarifs::EnregistrerGrille(choix, Tarifs::Grille(choix), {"7", "300"}); });
        QCOMPARE(Tarifs::EnregistrerGrille(choix, sansBois, {"8", "300"}).laissees, QVector<int>{0});
        AutreCopie(r.base, [&] { Tarifs::EnregistrerGrille(choix, Tarifs::Grille(choix), {"7", "301"}); });
        QCOMPARE(Tarifs::EnregistrerGrille(choix, sansBois, {"7", "302"}).laissees, QVector<int>{1});
        QCOMPARE(r.Tarifs(), (QStringList{TarifTexte(r.poseA, "0", r.pvc, "301"), TarifTexte(r.poseA, "0", r.bois, "7")}));
    }

    void lignesExportees()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 10);
        r.donnees.Tarif(r.poseA, r.pvc, 12.5); // the last one counts
        r.donnees.Tarif(r.poseA, r.bois, QVariant());
        r.donnees.Tarif(r.poseA, r.orpheline, 3);
        QCOMPARE(Tarifs::EnteteExportation().join(';'), QStringLiteral("IdPose;Pose;IdPoseur;Poseur;IdCategorieType;"
                                                                       "CategorieType;IdCatégorie;Catégorie;"
                                                                       "CatégorieLibelle;Prix"));
        const QVector<QStringList> lignes =
            Tarifs::LignesExportation({r.poseA, "0"}, "Pose A", Tarifs::kNomPoseurGeneral);
        QCOMPARE(lignes, (QVector<QStringList>{
                             {r.poseA, "Pose A", "0", "<Tarif général de vente>", r.fenetres, "Fenêtre", r.bois, "",
                              "Fenêtre", ""},
                             {r.poseA, "Pose A", "0", "<Tarif général de vente>", r.fenetres, "Fenêtre", r.pvc,
                              "PVC \"2 vantaux\"", "Fenêtre PVC \"2 vantaux\"", "12,50"},
                         }));
    }

    void copie()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 10);
        r.donnees.Tarif(r.poseA, r.pvc, 10); // the same price is copied once
        r.donnees.Tarif(r.poseA, r.bois, 20);
        r.donnees.Tarif(r.poseA, r.bois, 99, r.poseurX);
        r.donnees.Tarif(r.poseA, r.pvc, 7, r.poseurX);
        r.donnees.Tarif(r.poseB, r.pvc, 5, r.poseurX);

        Tarifs::Copier({r.poseA, "0"}, {r.poseA, r.poseurX});
        const QString x = "SELECT IdPose, IdPoseur, IdCategorie, Prix FROM Tarif WHERE IdPoseur = " + r.poseurX
                          + " ORDER BY IdPose, IdCategorie";
        QCOMPARE(LignesTexte(r.base.Base(), x),
                 (QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "10"), TarifTexte(r.poseA, r.poseurX, r.bois, "20"),
                              TarifTexte(r.poseB, r.poseurX, r.pvc, "5")}));

        // A failing insert leaves the target as it was; a source without rows empties it.
        r.base.Refuser("INSERT", "Tarif", "NEW.Prix = 20");
        QVERIFY_THROWS_EXCEPTION(std::exception, Tarifs::Copier({r.poseA, "0"}, {r.poseB, r.poseurX}));
        QCOMPARE(LignesTexte(r.base.Base(), x).size(), 3);
        Tarifs::Copier({r.poseB, "0"}, {r.poseA, r.poseurX});
        QCOMPARE(LignesTexte(r.base.Base(), x), QStringList{TarifTexte(r.poseB, r.poseurX, r.pvc, "5")});

        // Over the grids as the user was asked about them: one changed by
        // another copy meanwhile, the source or the target, stops the copy.
        const Tarifs::Choix source{r.poseB, r.poseurX};
        const Tarifs::Choix cible{r.poseA, "0"};
        for (const QString& changement : QStringList{"UPDATE Tarif SET Prix = 11 WHERE IdPoseur = 0 AND Prix = 10",
                                                     "INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES (" + r.poseB
                                              + ", " + r.bois + ", " + r.poseurX + ", 6)"}) {
            const Tarifs::LectureCopie lue = Tarifs::LireCopie(source, cible);
            r.base.Executer(changement);
            const QStringList avant = r.Tarifs();
            QVERIFY(!Tarifs::Copier(source, cible, lue));
            QCOMPARE(r.Tarifs(), avant);
        }
        QVERIFY(Tarifs::Copier(source, cible, Tarifs::LireCopie(source, cible)));
        QCOMPARE(LignesTexte(r.base.Base(), "SELECT IdPose, IdPoseur, IdCategorie, Prix FROM Tarif WHERE IdPoseur = 0 "
                                            "ORDER BY IdCategorie"),
                 (QStringList{TarifTexte(r.poseA, "0", r.pvc, "5"), TarifTexte(r.poseA, "0", r.bois, "6")}));
    }

    // A grid of a thousand rows is saved in a statement per slice of many
    // rows for each kind of change, where a statement per row sent a
    // thousand: the same rows.
    void grandeGrilleParTranches()
    {
        Reference r;
        r.base.Executer("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                        "INSERT INTO Categorie (Libelle, IdCategorieType) SELECT 'C' || i, " + r.fenetres + " FROM n");
        const Tarifs::Choix choix{r.poseA, r.poseurX};
        const auto enregistrer = [&](const QStringList& prix) {
            const quint64 avant = r.base.Base().Instructions();
            QVERIFY(Tarifs::EnregistrerGrille(choix, Tarifs::Grille(choix), prix).laissees.isEmpty());
            const quint64 instructions = r.base.Base().Instructions() - avant;
            QVERIFY2(instructions <= 10, qPrintable(QString::number(instructions)));
        };
        QStringList prix;
        for (int i = 0; i < 1002; ++i)
            prix << QString::number(i + 1);
        enregistrer(prix);
        QCOMPARE(r.base.Compter("SELECT COUNT(*) FROM Tarif WHERE IdPoseur = " + r.poseurX), 1002);
        // Half changed, half cleared.
        for (int i = 0; i < 1002; ++i)
            prix[i] = i % 2 ? QString() : QString::number(2 * (i + 1));
        enregistrer(prix);
        QStringList attendus;
        for (int i = 0; i < 1002; i += 2)
            attendus << QString::number(2 * (i + 1));
        QCOMPARE(LignesTexte(r.base.Base(), "SELECT Prix FROM Tarif WHERE IdPoseur = " + r.poseurX + " ORDER BY IdTarif"),
                 attendus);
    }

    void importation()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 12.345, r.poseurX);
        r.donnees.Tarif(r.poseA, r.bois, QVariant(), r.poseurX);
        QVector<QStringList> lignes{Tarifs::EnteteExportation()};
        lignes += Tarifs::LignesExportation({r.poseA, r.poseurX}, "Pose A", "Xavier");
        const QStringList avant = r.Tarifs();

        // An export read back changes nothing, a rounded price included.
        ImportTarifs::Bilan bilan = ImportTarifs::Importer(Lues(lignes), kOui);
        QCOMPARE(bilan.crees + bilan.modifies + int(bilan.rejets.size()), 0);
        QVERIFY(!bilan.importe);
        QCOMPARE(r.Tarifs(), avant);

        // By key or, when a key is empty, by label.
        const QString general = Tarifs::kNomPoseurGeneral;
        lignes = {
            {r.poseA, "", r.poseurX, "", "", "", r.pvc, "", "", "15"},           // modified
            {r.poseA, "", r.poseurX, "", "", "", r.bois, "", "", "8,5"},         // a null price gets one
            {"", "Pose B", "", general, "", "", "", "", "Fenêtre", "4"},         // created
            {"", "Pose C", "0", "", "", "", r.pvc, "", "", "1"},                 // unknown kind
            {r.poseB, "", "77", "", "", "", r.pvc, "", "", "1"},                 // unknown installer
            {r.poseB, "", "0", "", "", "", r.orpheline, "", "", "1"},            // category without type
            {r.poseB, "", "0", "", "", "", r.pvc, "", "", "douze"},              // not a number
            {r.poseB, "", "0", "", "", "", "", "", "Fenêtre", "5"},              // same tariff again
            {r.poseB, "", "0", "", "", "", r.pvc, "", "", ""},                   // no price: left alone
            QStringList(10, QString()),                                          // empty line
            {r.poseB, "Pose A", "0", "", "", "", r.pvc, "", "", "1"},            // key and label disagree
            {r.poseB, "", "0", general, "", "", r.pvc, "", "Fenêtre", "1"},      // likewise for the category
            {r.poseB, "", "0", "", "", "", r.pvc, "", "", "1e308"},              // beyond the bound
            {r.poseB, "", "0", "", "", "", r.pvc, "", ""},                       // a field short
            {r.poseB, "Pose B", "0", general, "", "", r.pvc, "", "Fenêtre PVC \"2 vantaux\"", ""}, // all agree
        };
        bilan = ImportTarifs::Examiner(Lues(lignes));
        QCOMPARE(r.Tarifs(), avant);
        QCOMPARE(bilan.crees, 1);
        QCOMPARE(bilan.modifies, 2);
        // Each price written, with its grid as the database names it.
        QStringList changements;
        for (const ImportTarifs::Changement& changement : bilan.changements) {
            const ImportTarifs::Grille& grille = bilan.grilles[changement.grille];
            changements << QStringLiteral("%1 %2|%3 %4|%5 %6 : %7 → %8")
                               .arg(QString::number(changement.ligne), grille.choix.idPose, grille.choix.idPoseur,
                                    grille.pose, grille.poseur, changement.categorie,
                                    changement.ancien ? QString::number(*changement.ancien) : QStringLiteral("aucun"),
                                    QString::number(changement.nouveau));
        }
        QCOMPARE(changements, (QStringList{
                                  "1 " + r.poseA + "|" + r.poseurX + " Pose A|Xavier Fenêtre PVC \"2 vantaux\" : 12.345 → 15",
                                  "2 " + r.poseA + "|" + r.poseurX + " Pose A|Xavier Fenêtre : aucun → 8.5",
                                  "3 " + r.poseB + "|0 Pose B|" + general + " Fenêtre : aucun → 4"}));
        QCOMPARE(Textes(bilan.rejets),
                 (QStringList{"4 pose inconnue « Pose C »", "5 poseur inconnu (clé 77)",
                              "6 catégorie inconnue (clé " + r.orpheline + ")", "7 prix invalide « douze »",
                              "8 même tarif qu'à la ligne 3",
                              "11 la clé " + r.poseB + " désigne la pose « Pose B », pas « Pose A »",
                              "12 la clé " + r.pvc + " désigne la catégorie « Fenêtre PVC \"2 vantaux\" », pas « Fenêtre »",
                              "13 prix hors limites « 1e308 »", "14 9 champs au lieu de 10"}));

        // Answered "Non", nothing is written; "Oui" writes what was examined.
        bilan = ImportTarifs::Importer(Lues(lignes), [](const ImportTarifs::Bilan& examine) {
            return examine.crees != 1;
        });
        QVERIFY(!bilan.importe);
        QCOMPARE(r.Tarifs(), avant);
        bilan = ImportTarifs::Importer(Lues(lignes), kOui);
        QVERIFY(bilan.importe);
        QCOMPARE(bilan.crees, 1);
        QCOMPARE(bilan.modifies, 2);
        QCOMPARE(r.Tarifs(), (QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "15"),
                                          TarifTexte(r.poseA, r.poseurX, r.bois, "8.5"),
                                          TarifTexte(r.poseB, "0", r.bois, "4")}));

        // A tariff another copy changes between the question and the
        // import keeps that copy's price, and is said.
        lignes = {{r.poseA, "", r.poseurX, "", "", "", r.pvc, "", "", "16"},
                  {r.poseA, "", r.poseurX, "", "", "", r.bois, "", "", "9"}};
        bilan = ImportTarifs::Importer(Lues(lignes), [&](const ImportTarifs::Bilan&) {
            r.base.Executer("UPDATE Tarif SET Prix = 20 WHERE IdCategorie = " + r.pvc);
            return true;
        });
        QCOMPARE(bilan.modifies, 1);
        QCOMPARE(Textes(bilan.laisses),
                 QStringList{"1 tarif changé par un autre utilisateur depuis l'examen du fichier, laissé tel quel"});
        QCOMPARE(r.Tarifs(), (QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "20"),
                                          TarifTexte(r.poseA, r.poseurX, r.bois, "9"),
                                          TarifTexte(r.poseB, "0", r.bois, "4")}));
    }
};

QTEST_GUILESS_MAIN(TestTarifs)
#include "tst_tarifs.moc"
