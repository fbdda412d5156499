#include "model/Echapper.h"
#include "model/Menuiserie.h"
#include "model/Pose.h"
#include "model/Propriete.h"
#include "model/Quincaillerie.h"
#include "model/Tarif.h"

#include <QLocale>
#include <QTest>

namespace {

TTva Tva(int type, const QString& libelle, double taux)
{
    TTva tva;
    tva.SetTypeTva(type);
    tva.SetLibelle(libelle);
    tva.SetValeur(taux);
    return tva;
}

TQuincaillerie& AjouterQuincaillerie(TQuincailleries& liste, double vente, double achat, double quantite)
{
    TQuincaillerie& entree = liste.Ajouter();
    entree.SetTarifVente(vente);
    entree.SetTarifAchat(achat);
    entree.SetQuantite(quantite);
    return entree;
}

// prix 100, VAT 20 %, installer 60, hardware sale 10 × 2 and purchase 5 × 2.
TTarif& AjouterLigneExemple(TTarifs& tarifs, bool quincaillerieIncluse)
{
    TTarif& ligne = tarifs.Ajouter(std::make_unique<TTarif>());
    ligne.SetPrix(100);
    ligne.AffecterTva(Tva(1, QStringLiteral("TVA 20 %"), 20));
    ligne.SetPoseurPrix(60);
    ligne.SetQuincaillerieIncluse(quincaillerieIncluse);
    AjouterQuincaillerie(ligne.GetQuincailleries(), 10, 5, 2);
    return ligne;
}

} // namespace

class TestObjetsDevis : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void valeurDesProprietes_data()
    {
        QTest::addColumn<QStringList>("proprietes"); // id=valeur pairs, in order
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("attendu");

        const QStringList fenetre{"LARGEUR=1200", "HAUTEUR=1350"};
        QTest::newRow("perimetre") << fenetre << "perimetre" << "3900";
        QTest::newRow("perimetre sans hauteur") << QStringList{"Largeur=1200"} << "PERIMETRE" << "0";
        QTest::newRow("nom en minuscules") << QStringList{"Largeur=1200"} << "largeur" << "1200";
        QTest::newRow("perimetre, valeur non entiere") << QStringList{"LARGEUR=12,5", "HAUTEUR=100"} << "PERIMETRE" << "200";
        QTest::newRow("largeur de vantail") << QStringList{"LARGEUR=1225", "VANTAIL=2"} << "Largeur_Vantail" << "612,5";
        QTest::newRow("vantail absent") << QStringList{"LARGEUR=1225"} << "LARGEUR_VANTAIL" << "0";
        QTest::newRow("vantail a zero") << QStringList{"LARGEUR=1225", "VANTAIL=0"} << "LARGEUR_VANTAIL" << "0";
        QTest::newRow("vantail illisible") << QStringList{"LARGEUR=1225", "VANTAIL=deux"} << "LARGEUR_VANTAIL" << "0";
        QTest::newRow("nom derive stocke") << QStringList{"LARGEUR=1", "HAUTEUR=1", "perimetre=5000"} << "PERIMETRE" << "5000";
        QTest::newRow("nom absent") << fenetre << "COULEUR" << "";
        QTest::newRow("le premier d'un nom gagne") << QStringList{"Couleur=blanc", "COULEUR=gris"} << "couleur" << "blanc";
        QTest::newRow("majuscules accentuees") << QStringList{"Épaisseur=70"} << "épaisseur" << "70";
        QTest::newRow("valeur gardee telle quelle") << QStringList{"REF= a&b "} << "ref" << " a&b ";
    }

    void valeurDesProprietes()
    {
        QFETCH(QStringList, proprietes);
        QFETCH(QString, nom);
        QFETCH(QString, attendu);
        TProprietes liste;
        for (const QString& paire : proprietes)
            liste.Ajouter(paire.section(u'=', 0, 0), paire.section(u'=', 1));
        QCOMPARE(liste.GetValeur(nom), attendu);
    }

    void rechercheSuitLesChangementsDeNom()
    {
        TProprietes liste;
        liste.Ajouter("couleur", "blanc");
        TPropriete& seconde = liste.Ajouter("teinte", "gris");
        QCOMPARE(liste[0].GetId(), QString("COULEUR"));
        QVERIFY(liste.Trouver("TEINTE") == &seconde);

        seconde.SetId("Couleur");
        QVERIFY(liste.Trouver("teinte") == nullptr);
        QCOMPARE(liste.Trouver("couleur")->GetValeur(), QString("blanc"));
        liste.Supprimer(0);
        QCOMPARE(liste.GetValeur("COULEUR"), QString("gris"));

        TProprietes copie(liste);
        copie[0].SetValeur("noir");
        QCOMPARE(liste.GetValeur("COULEUR"), QString("gris"));
        TProprietes deplacee(std::move(copie));
        deplacee[0].SetId("nuance");
        QCOMPARE(deplacee.GetValeur("NUANCE"), QString("noir"));
    }

    void montantsDUneLigne_data()
    {
        QTest::addColumn<bool>("incluse");
        QTest::addColumn<double>("ht");
        QTest::addColumn<double>("tva");
        QTest::addColumn<double>("ttc");
        QTest::addColumn<double>("achat");
        QTest::addColumn<double>("quincaillerieHt");
        QTest::newRow("quincaillerie comptee") << true << 120.0 << 24.0 << 144.0 << 70.0 << 20.0;
        QTest::newRow("quincaillerie non comptee") << false << 100.0 << 20.0 << 120.0 << 60.0 << 0.0;
    }

    void montantsDUneLigne()
    {
        QFETCH(bool, incluse);
        TTarifs tarifs;
        const TTarif& ligne = AjouterLigneExemple(tarifs, incluse);
        QCOMPARE(ligne.PrixTva(), 20.0);
        QCOMPARE(ligne.PrixTtc(), 120.0);
        QTEST(tarifs.TotalHt(), "ht");
        QTEST(tarifs.TotalTva(), "tva");
        QTEST(tarifs.TotalTtc(), "ttc");
        QTEST(tarifs.TotalAchat(), "achat");
        QTEST(tarifs.TotalQuincaillerieHt(), "quincaillerieHt");
    }

    void quincaillerieToujoursA20()
    {
        TTarifs tarifs;
        TTarif& ligne = AjouterLigneExemple(tarifs, true);
        ligne.AffecterTva(Tva(2, "TVA 5,5 %", 5.5));
        QCOMPARE(ligne.GetQuincailleries().GetTauxTva(), 20.0);
        QCOMPARE(tarifs.TotalTva(), 5.5 + 4.0);
    }

    void totauxDesMenuiseries()
    {
        TMenuiseries devis;
        TMenuiserie& fenetre = devis.Ajouter(std::make_unique<TMenuiserie>());
        fenetre.SetQuantite(2);
        fenetre.GetProprietes().Ajouter("QUANTITE", "3");
        AjouterLigneExemple(fenetre.GetTarifs(), true);
        QCOMPARE(fenetre.TotalHt(), 240.0);
        QCOMPARE(fenetre.TotalTtc(), 288.0);
        QCOMPARE(fenetre.TotalAchat(), 140.0);

        // No quantity property, then one that is not a whole number: the
        // quantity field is used instead of failing the whole quote.
        TMenuiserie& porte = devis.Ajouter(std::make_unique<TMenuiserie>());
        porte.SetQuantite(4);
        AjouterLigneExemple(porte.GetTarifs(), false);
        TMenuiserie& volet = devis.Ajouter(std::make_unique<TMenuiserie>());
        volet.SetQuantite(1);
        volet.GetProprietes().Ajouter("Quantite", "deux");
        AjouterLigneExemple(volet.GetTarifs(), true);

        QCOMPARE(QuantiteDevis(fenetre), 3);
        QCOMPARE(QuantiteDevis(porte), 4);
        QCOMPARE(QuantiteDevis(volet), 1);
        QCOMPARE(devis.NombreTarifs(), 3);
        QCOMPARE(devis.TotalHt(), 3 * 120.0 + 4 * 100.0 + 120.0);
        QCOMPARE(devis.TotalTva(), 3 * 24.0 + 4 * 20.0 + 24.0);
        QCOMPARE(devis.TotalTtc(), 3 * 144.0 + 4 * 120.0 + 144.0);
        QCOMPARE(devis.TotalAchat(), 3 * 70.0 + 4 * 60.0 + 70.0);
        QCOMPARE(devis.TotalQuincaillerieHt(), 3 * 20.0 + 20.0);

        devis.AffecterTva(Tva(2, "TVA 10 %", 10));
        QCOMPARE(devis.TotalTva(), 3 * 14.0 + 4 * 10.0 + 14.0);
    }

    void affecterUneFormeDePose()
    {
        TPoseLivraison modele;
        modele.SetId("5");
        modele.SetLibelle("Pose neuve");
        modele.SetCodeExport("PN");
        modele.AffecterTva(Tva(3, "TVA 20 %", 20));
        modele.SetChoix(TPoseLivraison::Livraison, true);

        TMenuiseries devis;
        devis.Ajouter(std::make_unique<TMenuiserie>());
        devis.Ajouter(std::make_unique<TMenuiserie>());
        devis.AffecterPose(modele);
        modele.SetLibelle("changée après coup");
        for (const TMenuiserie& menuiserie : devis) {
            QCOMPARE(menuiserie.GetPose().GetLibelle(), QString("Pose neuve"));
            QCOMPARE(menuiserie.GetPose().GetCodeExport(), QString("PN"));
            QCOMPARE(menuiserie.GetPose().GetTva().GetValeur(), 20.0);
        }
    }

    void totalLivraison()
    {
        TPoseLivraison pose;
        for (const auto option : TPoseLivraison::kOptions)
            pose.SetPrix(option, 10.0 * (option + 1));
        QCOMPARE(pose.TotalLivraison(), 0.0);
        pose.SetChoix(TPoseLivraison::LivraisonManutention, true);
        pose.SetPrix(TPoseLivraison::LivraisonManutention, 35);
        QCOMPARE(pose.TotalLivraison(), 35.0);
        pose.SetChoix(TPoseLivraison::Livraison, true);
        QCOMPARE(pose.TotalLivraison(), 45.0);
    }

    void calculerQuantite_data()
    {
        QTest::addColumn<int>("nh");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("nw");
        QTest::addColumn<int>("w");
        QTest::addColumn<double>("nbPieces");
        QTest::addColumn<double>("nbPiecesMl");
        QTest::addColumn<double>("tarifVente");
        QTest::addColumn<int>("secable");
        QTest::addColumn<double>("attendu");

        QTest::newRow("arrondi au paquet") << 2 << 1000 << 1 << 800 << 10.0 << 4.0 << 12.0 << 0 << 2.0;
        QTest::newRow("secable") << 2 << 1000 << 1 << 800 << 10.0 << 4.0 << 12.0 << 1 << 1.12;
        QTest::newRow("nombre entier de paquets") << 2 << 1500 << 0 << 0 << 1.0 << 1.0 << 12.3 << 0 << 3.0;
        QTest::newRow("sans prix de vente") << 2 << 1000 << 1 << 800 << 10.0 << 4.0 << 0.0 << 0 << 7.0;
        QTest::newRow("sans pieces par paquet") << 2 << 1000 << 1 << 800 << 0.0 << 4.0 << 12.0 << 0 << 7.0;
    }

    void calculerQuantite()
    {
        QFETCH(int, nh);
        QFETCH(int, h);
        QFETCH(int, nw);
        QFETCH(int, w);
        QFETCH(double, attendu);
        TQuincaillerie entree;
        entree.SetQuantite(7);
        QFETCH(double, nbPieces);
        QFETCH(double, nbPiecesMl);
        QFETCH(double, tarifVente);
        QFETCH(int, secable);
        entree.SetNbPieces(nbPieces);
        entree.SetNbPiecesMl(nbPiecesMl);
        entree.SetTarifVente(tarifVente);
        entree.SetSecable(secable);
        entree.CalculerQuantite(nh, h, nw, w);
        QVERIFY2(qAbs(entree.GetQuantite() - attendu) < 1e-9, qPrintable(QString::number(entree.GetQuantite(), 'g', 17)));
    }

    void copierUneLigneCopieSaQuincaillerie()
    {
        TTarifs tarifs;
        TTarif& ligne = AjouterLigneExemple(tarifs, true);
        ligne.SetPoseurNom("Dupré");
        auto copie = ligne.Cloner();
        copie->GetQuincailleries()[0].SetQuantite(9);
        copie->GetQuincailleries().Ajouter();
        QCOMPARE(ligne.GetQuincailleries().Nombre(), 1);
        QCOMPARE(ligne.GetQuincailleries()[0].GetQuantite(), 2.0);
        QCOMPARE(copie->GetPoseurNom(), QString("Dupré"));
        QCOMPARE(copie->GetTva().GetValeur(), 20.0);

        TTarif* ajoutee = &tarifs.Ajouter(std::move(copie));
        QCOMPARE(tarifs.IndexDe(ajoutee), 1);
        tarifs.Retirer(&ligne);
        QCOMPARE(tarifs.Nombre(), 1);
        QCOMPARE(tarifs.IndexDe(ajoutee), 0);
    }

    void trouverUneQuincaillerie()
    {
        TQuincailleries liste;
        liste.Ajouter().SetId("12");
        liste.Ajouter().SetId("7");
        liste.Ajouter().SetId("7");
        QVERIFY(liste.Trouver("7") == &liste[1]);
        QVERIFY(liste.Trouver("07") == nullptr);
        TQuincailleries copie;
        copie.CopierDepuis(liste);
        QCOMPARE(copie.Nombre(), 3);
        QVERIFY(&copie[0] != &liste[0]);
        QCOMPARE(copie[2].GetId(), QString("7"));
    }

    void echapper()
    {
        QCOMPARE(Echapper("a&b \"c\" 'd' <e>"), QString("a&amp;b &quot;c&quot; &apos;d&apos; &lt;e&gt;"));
        QCOMPARE(Echapper("&amp;"), QString("&amp;amp;"));
        QCOMPARE(EchapperAttribut("a&b \"c\" 'd' <e>"), QString("a&amp;b &quot;c&quot; 'd' &lt;e>"));
        QCOMPARE(EchapperAttribut("Dupré > 2 'fils'"), QString("Dupré > 2 'fils'"));
    }

    void fragments_data()
    {
        QTest::addColumn<QString>("obtenu");
        QTest::addColumn<QString>("attendu");

        QTest::newRow("tva initiale") << TTva().GetXml() << R"(<tva type_tva="-1" libelle="" valeur="0,00"/>)";

        TPose pose;
        pose.SetId("4");
        pose.SetLibelle("Dépose");
        pose.SetCodeExport("D&P");
        pose.AffecterTva(Tva(2, "TVA 10 %", 10));
        QTest::newRow("pose") << pose.GetXml()
                              << "<pose id=\"4\" libelle=\"Dépose\" code_export=\"D&amp;P\">"
                                 "<tva type_tva=\"2\" libelle=\"TVA 10 %\" valeur=\"10,00\"/></pose>\n";

        TPoseLivraison livraison;
        livraison.SetChoix(TPoseLivraison::LivraisonCompliquee, true);
        livraison.SetPrix(TPoseLivraison::LivraisonCompliquee, 12.5);
        livraison.SetCodeExportOption(TPoseLivraison::LivraisonManutention, "MAN");
        QTest::newRow("pose et livraisons")
            << livraison.GetXml()
            << "<pose id=\"\" libelle=\"\" code_export=\"\">"
               " <livraison choix=\"0\" prix=\"0,00\" code_export=\"\"/>"
               " <livraison_compliquee choix=\"1\" prix=\"12,50\" code_export=\"\"/>"
               " <livraison_autorisation choix=\"0\" prix=\"0,00\" code_export=\"\"/>"
               " <livraison_manutention choix=\"0\" prix=\"0,00\" code_export=\"MAN\"/>\n"
               "<tva type_tva=\"-1\" libelle=\"\" valeur=\"0,00\"/></pose>\n";

        TQuincaillerie vis;
        vis.SetId("7");
        vis.SetLibelle("Vis & \"clous\"");
        vis.SetLibelle2("<6 mm>");
        vis.SetTarifVente(12);
        vis.SetTarifAchat(6.5);
        vis.SetNbPieces(10);
        vis.SetNbPiecesMl(4);
        vis.SetQuantite(2.5);
        vis.SetSecable(1);
        vis.SetCodeExport("V'S");
        QTest::newRow("quincaillerie")
            << vis.GetXml()
            << "<quincaillerie id=\"7\" libelle=\"Vis &amp; &quot;clous&quot;\" libelle2=\"&lt;6 mm&gt;\" tarif_vente=\"12,00\""
               " tarif_achat=\"6,50\" nb_pieces=\"10,00\" nb_pieces_ml=\"4,00\" quantite=\"2,50\" secable=\"1\" code_export=\"V'S\"/>";

        auto menuiserie = std::make_unique<TMenuiserie>();
        menuiserie->SetCode("F&1");
        menuiserie->SetLibelle("Fenêtre 'A'");
        menuiserie->SetDescription("2 > 1");
        menuiserie->SetQuantite(2);
        menuiserie->GetProprietes().Ajouter("largeur", "1200 & plus");
        TTarif& ligne = menuiserie->GetTarifs().Ajouter(std::make_unique<TTarif>());
        ligne.SetId("11");
        ligne.SetLibelle("Pose & dépose");
        ligne.SetPrix(100);
        ligne.SetCodeExport("P'1");
        QTest::newRow("menuiserie")
            << menuiserie->GetXml()
            << "<menuiserie code=\"F&amp;1\" libelle=\"Fenêtre &apos;A&apos;\"  description=\"2 &gt; 1\" quantite=\"2\">"
               "<pose id=\"\" libelle=\"\" code_export=\"\"><tva type_tva=\"-1\" libelle=\"\" valeur=\"0,00\"/></pose>\n"
               "<proprietes><propriete id=\"LARGEUR\" valeur=\"1200 &amp; plus\"></propriete>\n</proprietes>"
               "<tarifs><tarif id=\"11\" libelle=\"Pose &amp; dépose\" prix=\"100,00\" quincaillerie_incluse=\"1\" code_export=\"P&apos;1\">"
               "<poseur id=\"\" nom=\"\" prix=\"0,00\" siret=\"\" rge=\"\"/>"
               "<tva type_tva=\"-1\" libelle=\"\" valeur=\"0,00\"/><quincailleries></quincailleries></tarif></tarifs>\n"
               "</menuiserie>\n";
    }

    void fragments()
    {
        QFETCH(QString, obtenu);
        QFETCH(QString, attendu);
        QCOMPARE(obtenu, attendu);
    }
};

QTEST_GUILESS_MAIN(TestObjetsDevis)
#include "tst_objets_devis.moc"
