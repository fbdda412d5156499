#include "DonneesReference.h"

#include "model/Menuiserie.h"
#include "data/Contraintes.h"
#include "data/TarifsConvenables.h"

#include <QtTest>

class TestContraintes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UtiliserLocaleFrancaise(); }
    void testerContrainte_data();
    void testerContrainte();
    void verifierContraintes_data();
    void verifierContraintes();
    void tarifsConvenables_data();
    void tarifsConvenables();
};

void TestContraintes::testerContrainte_data()
{
    QTest::addColumn<QStringList>("proprietes");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("operateur");
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<bool>("attendu");

    const QStringList haut1000 = {QStringLiteral("HAUTEUR=1000")};
    // The item's value is on the left, the threshold on the right.
    QTest::newRow("= egal") << haut1000 << "HAUTEUR" << "=" << "1000" << true;
    QTest::newRow("= different") << haut1000 << "HAUTEUR" << "=" << "999" << false;
    QTest::newRow("> egal") << haut1000 << "HAUTEUR" << ">" << "1000" << false;
    QTest::newRow("> plus petit seuil") << haut1000 << "HAUTEUR" << ">" << "999" << true;
    QTest::newRow(">= egal") << haut1000 << "HAUTEUR" << ">=" << "1000" << true;
    QTest::newRow(">= plus grand seuil") << haut1000 << "HAUTEUR" << ">=" << "1001" << false;
    QTest::newRow("< egal") << haut1000 << "HAUTEUR" << "<" << "1000" << false;
    QTest::newRow("< plus grand seuil") << haut1000 << "HAUTEUR" << "<" << "1001" << true;
    QTest::newRow("<= egal") << haut1000 << "HAUTEUR" << "<=" << "1000" << true;
    QTest::newRow("<= plus petit seuil") << haut1000 << "HAUTEUR" << "<=" << "999" << false;

    // Operators are matched exactly.
    QTest::newRow("blanc avant") << haut1000 << "HAUTEUR" << " >=" << "1000" << false;
    QTest::newRow("blanc apres") << haut1000 << "HAUTEUR" << "= " << "1000" << false;
    QTest::newRow("=>") << haut1000 << "HAUTEUR" << "=>" << "1000" << false;
    QTest::newRow("<>") << haut1000 << "HAUTEUR" << "<>" << "999" << false;
    QTest::newRow("operateur vide") << haut1000 << "HAUTEUR" << "" << "1000" << false;

    // Codes are matched exactly, property names are not.
    QTest::newRow("code en minuscules") << haut1000 << "hauteur" << "=" << "1000" << false;
    QTest::newRow("code inconnu") << haut1000 << "POIDS" << "=" << "0" << false;
    QTest::newRow("code avec blanc") << haut1000 << "HAUTEUR " << "=" << "1000" << false;
    QTest::newRow("propriete en minuscules") << QStringList{"largeur=1200"} << "LARGEUR" << "="
                                             << "1200" << true;
    QTest::newRow("vantail") << QStringList{"VANTAIL=3"} << "VANTAIL" << ">=" << "2" << true;

    // Texts that are not whole numbers count as 0.
    QTest::newRow("decimale point") << QStringList{"HAUTEUR=1250.5"} << "HAUTEUR" << "=" << "0" << true;
    QTest::newRow("decimale virgule") << QStringList{"HAUTEUR=1250,5"} << "HAUTEUR" << "<" << "1" << true;
    QTest::newRow("texte") << QStringList{"HAUTEUR=grand"} << "HAUTEUR" << "=" << "0" << true;
    QTest::newRow("hors 32 bits") << QStringList{"HAUTEUR=2147483648"} << "HAUTEUR" << "=" << "0"
                                  << true;
    QTest::newRow("32 bits maxi") << QStringList{"HAUTEUR=2147483647"} << "HAUTEUR" << ">"
                                  << "2147483646" << true;
    QTest::newRow("absente") << QStringList{} << "HAUTEUR" << "=" << "0" << true;
    QTest::newRow("absente >") << QStringList{} << "HAUTEUR" << ">" << "0" << false;
    QTest::newRow("seuil illisible") << haut1000 << "HAUTEUR" << ">" << "mille" << true;
    QTest::newRow("seuil decimal") << haut1000 << "HAUTEUR" << "<" << "1000.5" << false;
    QTest::newRow("seuil negatif") << QStringList{} << "HAUTEUR" << ">" << "-1" << true;
    QTest::newRow("blancs autour") << QStringList{"HAUTEUR= 1200 "} << "HAUTEUR" << "=" << "1200" << true;

    // PERIMETRE: the property when there is one, else width + 2 x height.
    const QStringList cadre = {"LARGEUR=1200", "HAUTEUR=1350"};
    QTest::newRow("perimetre calcule") << cadre << "PERIMETRE" << "=" << "3900" << true;
    QTest::newRow("perimetre propriete") << (cadre + QStringList{"PERIMETRE=5000"}) << "PERIMETRE"
                                         << "=" << "5000" << true;
    QTest::newRow("perimetre sans hauteur") << QStringList{"LARGEUR=1200"} << "PERIMETRE" << "="
                                            << "0" << true;

    // LARGEUR_VANTAIL: whole-number division, at least one leaf.
    const QStringList deuxVantaux = {"LARGEUR=1999", "VANTAIL=2"};
    QTest::newRow("largeur vantail 999") << deuxVantaux << "LARGEUR_VANTAIL" << "=" << "999" << true;
    QTest::newRow("largeur vantail pas 1000") << deuxVantaux << "LARGEUR_VANTAIL" << ">=" << "1000"
                                              << false;
    QTest::newRow("largeur vantail 0 vantail")
        << QStringList{"LARGEUR=1999", "VANTAIL=0"} << "LARGEUR_VANTAIL" << "<" << "100000" << false;
    QTest::newRow("largeur vantail sans vantail")
        << QStringList{"LARGEUR=1999"} << "LARGEUR_VANTAIL" << ">=" << "0" << false;
    QTest::newRow("largeur vantail negatif")
        << QStringList{"LARGEUR=1999", "VANTAIL=-2"} << "LARGEUR_VANTAIL" << "<" << "0" << false;
    QTest::newRow("largeur vantail illisible")
        << QStringList{"LARGEUR=1999", "VANTAIL=1.5"} << "LARGEUR_VANTAIL" << ">=" << "0" << false;
    QTest::newRow("largeur vantail sans largeur")
        << QStringList{"VANTAIL=2"} << "LARGEUR_VANTAIL" << "=" << "0" << true;
    QTest::newRow("largeur vantail vers zero")
        << QStringList{"LARGEUR=-1999", "VANTAIL=2"} << "LARGEUR_VANTAIL" << "=" << "-999" << true;
    QTest::newRow("largeur vantail ignore la propriete")
        << QStringList{"LARGEUR=1000", "VANTAIL=4", "LARGEUR_VANTAIL=5"} << "LARGEUR_VANTAIL" << "="
        << "250" << true;
    QTest::newRow("largeur vantail en minuscules")
        << deuxVantaux << "largeur_vantail" << "=" << "999" << false;
}

void TestContraintes::testerContrainte()
{
    QFETCH(QStringList, proprietes);
    QFETCH(QString, code);
    QFETCH(QString, operateur);
    QFETCH(QString, valeur);
    QFETCH(bool, attendu);

    const auto menuiserie = NouvelleMenuiserie(proprietes);
    QCOMPARE(::TesterContrainte(code, operateur, valeur, *menuiserie), attendu);
}

void TestContraintes::verifierContraintes_data()
{
    QTest::addColumn<QStringList>("proprietes");
    QTest::addColumn<QString>("categorie");
    QTest::addColumn<bool>("attendu");

    const QStringList petite = {"HAUTEUR=800", "LARGEUR=1999", "VANTAIL=2"};
    const QStringList haute = {"HAUTEUR=1500", "LARGEUR=1999", "VANTAIL=2"};
    QTest::newRow("sans contrainte") << petite << "libre" << true;
    QTest::newRow("toutes tenues") << petite << "etroite" << true;
    QTest::newRow("une echoue") << haute << "etroite" << false;
    QTest::newRow("la derniere echoue") << QStringList{"HAUTEUR=800", "LARGEUR=2001", "VANTAIL=2"}
                                        << "etroite" << false;
    QTest::newRow("operande inconnu") << petite << "inconnue" << false;
    QTest::newRow("operande supprime") << haute << "orpheline" << true;
    QTest::newRow("categorie absente") << haute << "absente" << true;
}

void TestContraintes::verifierContraintes()
{
    QFETCH(QStringList, proprietes);
    QFETCH(QString, categorie);
    QFETCH(bool, attendu);

    BaseTemporaire base;
    DonneesReference donnees(base);
    const QString type = donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10100"));
    QHash<QString, QString> ids;
    ids[QStringLiteral("libre")] = donnees.Categorie(QStringLiteral("Libre"), type);
    ids[QStringLiteral("etroite")] = donnees.Categorie(QStringLiteral("Étroite"), type);
    donnees.Contrainte(ids[QStringLiteral("etroite")], QStringLiteral("HAUTEUR"), QStringLiteral("<="),
                       QStringLiteral("1000"));
    donnees.Contrainte(ids[QStringLiteral("etroite")], QStringLiteral("LARGEUR_VANTAIL"),
                       QStringLiteral("<"), QStringLiteral("1000"));
    ids[QStringLiteral("inconnue")] = donnees.Categorie(QStringLiteral("Lourde"), type);
    donnees.Contrainte(ids[QStringLiteral("inconnue")], QStringLiteral("POIDS"), QStringLiteral(">="),
                       QStringLiteral("0"));
    // A constraint on an operand that no longer exists takes no part.
    ids[QStringLiteral("orpheline")] = donnees.Categorie(QStringLiteral("Orpheline"), type);
    donnees.Contrainte(ids[QStringLiteral("orpheline")], QStringLiteral("DISPARU"), QStringLiteral("="),
                       QStringLiteral("1"));
    base.Executer(QStringLiteral("DELETE FROM Operande WHERE Code = 'DISPARU'"));
    ids[QStringLiteral("absente")] = QStringLiteral("9999");

    const auto menuiserie = NouvelleMenuiserie(proprietes);
    QCOMPARE(::VerifierContraintes(ids.value(categorie), *menuiserie), attendu);
    // Run twice: the shared query is left ready for the next use.
    QCOMPARE(::VerifierContraintes(ids.value(categorie), *menuiserie), attendu);
}

// The tariffs offered for an item, by the tariff choice and the automatic
// lines alike: general tariffs of the kind, of typed categories with a name,
// of the item's family and meeting its constraints unless unfiltered.
void TestContraintes::tarifsConvenables_data()
{
    QTest::addColumn<QStringList>("proprietes");
    QTest::addColumn<bool>("sansFiltrage");
    QTest::addColumn<QStringList>("attendus"); // names, by tariff key

    const QString famille = QStringLiteral("TRELVANE_LIBELLE_CODE=10100");
    QTest::newRow("famille, petite") << QStringList{famille, "HAUTEUR=800"} << false
                                     << QStringList{"Fenêtre Étroite", "Fenêtre"};
    QTest::newRow("famille, haute") << QStringList{famille, "HAUTEUR=1500"} << false << QStringList{"Fenêtre"};
    QTest::newRow("sans famille") << QStringList{"HAUTEUR=800"} << false
                                  << QStringList{"Fenêtre Étroite", "Volet Alu", "Fenêtre"};
    QTest::newRow("sans filtrage") << QStringList{famille, "HAUTEUR=1500"} << true
                                   << QStringList{"Fenêtre Étroite", "Volet Alu", "Fenêtre"};
}

void TestContraintes::tarifsConvenables()
{
    QFETCH(QStringList, proprietes);
    QFETCH(bool, sansFiltrage);
    QFETCH(QStringList, attendus);

    BaseTemporaire base;
    DonneesReference donnees(base);
    const QString pose = donnees.Pose(QStringLiteral("Pose"));
    const QString autrePose = donnees.Pose(QStringLiteral("Autre"));
    const QString fenetre = donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10100"));
    const QString volet = donnees.Type(QStringLiteral("Volet"), QStringLiteral("10300"));
    const QString etroite = donnees.Categorie(QStringLiteral("Étroite"), fenetre);
    donnees.Contrainte(etroite, QStringLiteral("HAUTEUR"), QStringLiteral("<="), QStringLiteral("1000"));
    const QString alu = donnees.Categorie(QStringLiteral("Alu"), volet);
    const QString sansLibelle = donnees.Categorie(QString(), fenetre);
    const QString sansNom = donnees.Categorie(QString(), donnees.Type(QString(), QStringLiteral("10100")));
    const QString sansType = donnees.Categorie(QStringLiteral("Orpheline"), QStringLiteral("999"));
    donnees.Tarif(pose, etroite, 100.0);
    donnees.Tarif(pose, alu, QVariant());
    donnees.Tarif(pose, sansLibelle, 50.0);
    donnees.Tarif(pose, sansNom, 60.0);
    donnees.Tarif(pose, sansType, 70.0);
    donnees.Tarif(pose, etroite, 90.0, QStringLiteral("7")); // an installer's row
    donnees.Tarif(autrePose, etroite, 80.0);

    const auto menuiserie = NouvelleMenuiserie(proprietes);
    const TarifsConvenables::Candidats candidats(pose);
    QStringList noms;
    for (const TarifsConvenables::Tarif& tarif :
         candidats.Pour(*menuiserie, sansFiltrage ? TarifsConvenables::Filtrage::Aucun
                                                  : TarifsConvenables::Filtrage::FamilleEtContraintes)) {
        noms.append(tarif.libelle);
        QCOMPARE(tarif.prix.has_value(), tarif.idCategorie != alu);
    }
    QCOMPARE(noms, attendus);
}

QTEST_GUILESS_MAIN(TestContraintes)
#include "tst_contraintes.moc"
