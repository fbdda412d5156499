// Tariff grids below the window: saving, export lines, copy and import, read
// back from the database.

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

        // A price that is not a number: nothing at all is written.
        const auto refus = Tarifs::EnregistrerGrille(choix, {{ancien, r.bois, ""}, {"", r.pvc, "12,5x"}});
        QVERIFY(refus);
        QCOMPARE(refus->motif, Tarifs::RefusGrille::Motif::PrixInvalide);
        QCOMPARE(refus->ligne, 1);
        QCOMPARE(r.Tarifs(), QStringList{TarifTexte(r.poseA, r.poseurX, r.bois, "30")});

        // Clearing deletes, typing inserts under the grid's choice.
        QVERIFY(!Tarifs::EnregistrerGrille(choix, {{ancien, r.bois, ""}, {"", r.pvc, "12,5"}}));
        QCOMPARE(r.Tarifs(), QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "12.5")});
        // Once reloaded the row carries its key: a second save updates it.
        grille = Tarifs::Grille(choix);
        QVERIFY(!grille[1].idTarif.isEmpty());
        QCOMPARE(grille[1].prix, std::optional(12.5));
        QVERIFY(!Tarifs::EnregistrerGrille(choix, {{"", r.bois, " "}, {grille[1].idTarif, r.pvc, "14"}}));
        QCOMPARE(r.Tarifs(), QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "14")});

        // Without an installation kind, prices have nowhere to go.
        const auto sansPose = Tarifs::EnregistrerGrille({"", "0"}, {{"", r.pvc, "5"}});
        QVERIFY(sansPose && sansPose->motif == Tarifs::RefusGrille::Motif::SansPose);
        QVERIFY(!Tarifs::EnregistrerGrille({"", "0"}, {{"", r.pvc, ""}}));
        QCOMPARE(r.Tarifs().size(), 1);
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
        ImportTarifs::Bilan bilan = ImportTarifs::Importer(lignes);
        QCOMPARE(bilan.crees + bilan.modifies + int(bilan.rejets.size()), 0);
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
        };
        bilan = ImportTarifs::Examiner(lignes);
        QCOMPARE(r.Tarifs(), avant);
        QCOMPARE(bilan.crees, 1);
        QCOMPARE(bilan.modifies, 2);
        QStringList rejets;
        for (const ImportTarifs::Rejet& rejet : bilan.rejets)
            rejets << QStringLiteral("%1 %2").arg(rejet.ligne).arg(rejet.raison);
        QCOMPARE(rejets, (QStringList{"4 pose inconnue « Pose C »", "5 poseur inconnu (clé 77)",
                                      "6 catégorie inconnue (clé " + r.orpheline + ")", "7 prix invalide « douze »",
                                      "8 même tarif qu'à la ligne 3"}));

        ImportTarifs::Importer(lignes);
        QCOMPARE(r.Tarifs(), (QStringList{TarifTexte(r.poseA, r.poseurX, r.pvc, "15"),
                                          TarifTexte(r.poseA, r.poseurX, r.bois, "8.5"),
                                          TarifTexte(r.poseB, "0", r.bois, "4")}));
    }
};

QTEST_GUILESS_MAIN(TestTarifs)
#include "tst_tarifs.moc"
