#include "model/Echange.h"
#include "model/Encodage.h"
#include "model/Formats.h"
#include "model/Xml.h"

#include "DansUnFils.h"
#include "TubeNomme.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <functional>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QByteArray LireOctets(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

void EcrireOctets(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

DevisEchange LireTexte(const QString& texte)
{
    TXmlDocument document;
    document.ReadFromString(texte);
    return LireDevis(document, QStringLiteral("devis.xml"));
}

QByteArray Contenu(const DevisEchange& devis)
{
    return ContenuEchange(devis.poseGlobale, devis.cotes, devis.quincailleriesGlobales, devis.menuiseries);
}

// Every text field of a quote set to `texte` (each one prefixed by its own
// tag so a mix-up between fields shows), with two items, lines and hardware.
DevisEchange DevisComplet(const QString& texte)
{
    DevisEchange devis;
    const auto t = [&texte](const char* champ) { return QString::fromLatin1(champ) + texte; };
    TPoseLivraison& pose = devis.poseGlobale;
    pose.SetId(t("id"));
    pose.SetLibelle(t("pose"));
    pose.SetCodeExport(t("code"));
    pose.GetTva().SetTypeTva(2);
    pose.GetTva().SetLibelle(t("tva"));
    pose.GetTva().SetValeur(5.5);
    for (const auto option : TPoseLivraison::kOptions) {
        pose.SetChoix(option, option % 2 == 0);
        pose.SetPrix(option, 10.25 * (option + 1));
        pose.SetCodeExportOption(option, t("option"));
    }
    devis.cotes = true;
    const auto remplirQuincaillerie = [&t](TQuincaillerie& q, double quantite) {
        q.SetId(t("qid"));
        q.SetLibelle(t("q1"));
        q.SetLibelle2(t("q2"));
        q.SetTarifVente(12.5);
        q.SetTarifAchat(6.75);
        q.SetNbPieces(100);
        q.SetNbPiecesMl(4);
        q.SetQuantite(quantite);
        q.SetSecable(1);
        q.SetCodeExport(t("qcode"));
    };
    remplirQuincaillerie(devis.quincailleriesGlobales.Ajouter(), 2);
    for (int i = 1; i <= 2; ++i) {
        TMenuiserie& m = devis.menuiseries.Ajouter(std::make_unique<TMenuiserie>());
        m.SetCode(t("m"));
        m.SetLibelle(t("libelle"));
        m.SetDescription(t("description"));
        m.SetQuantite(i);
        m.GetPose().SetLibelle(t("posem"));
        m.GetPose().GetTva().SetTypeTva(1);
        m.GetProprietes().Ajouter("QUANTITE", QString::number(i));
        m.GetProprietes().Ajouter(t("NOM"), t("valeur"));
        for (int j = 0; j < i; ++j) {
            TTarif& ligne = m.GetTarifs().Ajouter(std::make_unique<TTarif>());
            ligne.SetId(QString::number(j));
            ligne.SetLibelle(t("ligne"));
            ligne.SetPrix(99.9 + j);
            ligne.SetQuincaillerieIncluse(j == 0);
            ligne.SetCodeExport(t("lcode"));
            ligne.SetPoseurId(t("pid"));
            ligne.SetPoseurNom(t("nom"));
            ligne.SetPoseurPrix(60);
            ligne.SetPoseurSiret(t("siret"));
            ligne.SetPoseurRge(t("rge"));
            ligne.GetTva().SetTypeTva(3);
            ligne.GetTva().SetLibelle(t("tval"));
            ligne.GetTva().SetValeur(20);
            remplirQuincaillerie(ligne.GetQuincailleries().Ajouter(), j + 0.5);
        }
    }
    return devis;
}

#ifndef Q_OS_WIN
ino_t Inode(const QString& chemin)
{
    struct stat etat {};
    return ::stat(QFile::encodeName(chemin).constData(), &etat) == 0 ? etat.st_ino : 0;
}
#endif

} // namespace

class TestEchange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void lireUnFichierDHote()
    {
        QTemporaryDir dossier;
        const QString prefixe = dossier.filePath("20250312_150000");
        const DevisEchange devis = LireEchange(QUARLO_TEST_DATA "/hote.xml", prefixe);

        QVERIFY(devis.aPose);
        const TPoseLivraison& pose = devis.poseGlobale;
        QCOMPARE(pose.GetLibelle(), QString("Pose en rénovation"));
        QCOMPARE(pose.GetTva().GetTypeTva(), 2);
        QCOMPARE(pose.GetTva().GetValeur(), 10.0);
        QCOMPARE(pose.GetChoix(TPoseLivraison::Livraison), true);
        QCOMPARE(pose.GetPrix(TPoseLivraison::LivraisonCompliquee), 12.5);
        QCOMPARE(pose.GetChoix(TPoseLivraison::LivraisonAutorisation), false); // "oui" is not "1"
        QCOMPARE(pose.GetCodeExportOption(TPoseLivraison::LivraisonManutention), QString("LM"));
        QCOMPARE(pose.TotalLivraison(), 45 + 35.5);
        QVERIFY(devis.aCotes && devis.cotes);
        QVERIFY(devis.aGlobal);
        QCOMPARE(devis.quincailleriesGlobales.Nombre(), 1);
        QCOMPARE(devis.quincailleriesGlobales[0].GetLibelle(), QString("Vis inox & chevilles"));
        QCOMPARE(devis.quincailleriesGlobales[0].GetLibelle2(), QString("Boîte de 100"));
        QCOMPARE(devis.quincailleriesGlobales[0].GetTarifAchat(), 6.5);

        QCOMPARE(devis.menuiseries.Nombre(), 2);
        const TMenuiserie& fenetre = devis.menuiseries[0];
        QCOMPARE(fenetre.GetCode(), QString("F1&2"));
        QCOMPARE(fenetre.GetLibelle(), QString("Fenêtre 2 vantaux – 1200×1350 €"));
        QCOMPARE(fenetre.GetDescription(), QString("Ligne 1\r\nLigne 2"));
        QCOMPARE(fenetre.GetQuantite(), 3); // from the QUANTITE property
        QCOMPARE(fenetre.GetPose().GetLibelle(), QString("Dépose totale"));
        QCOMPARE(fenetre.GetPose().GetTva().GetValeur(), 5.5);
        QCOMPARE(fenetre.GetProprietes().Nombre(), 5);
        QCOMPARE(fenetre.GetProprietes().GetValeur("largeur_vantail"), QString("612,5"));
        QCOMPARE(fenetre.GetProprietes().GetValeur("FINITION"), QString("Chêne & noyer"));

        const TTarifs& lignes = fenetre.GetTarifs();
        QCOMPARE(lignes.Nombre(), 2);
        QCOMPARE(lignes[0].GetLibelle(), QString("Pose \"standard\""));
        QCOMPARE(lignes[0].GetQuincaillerieIncluse(), true);
        QCOMPARE(lignes[0].GetPoseurNom(), QString("Dupré et fils"));
        QCOMPARE(lignes[0].GetPoseurPrix(), 80.0);
        QCOMPARE(lignes[0].GetTva().GetValeur(), 10.0);
        QCOMPARE(lignes[0].GetQuincailleries().Nombre(), 1);
        QCOMPARE(lignes[0].GetQuincailleries()[0].GetSecable(), 1);
        QCOMPARE(lignes[1].GetPrix(), 0.0); // "12.50" is not a French decimal
        QCOMPARE(lignes[1].GetQuincaillerieIncluse(), false);
        QCOMPARE(lignes[1].GetQuincailleries().Nombre(), 0);
        QCOMPARE(lignes[1].GetTva().GetTypeTva(), -1);

        const TMenuiserie& porte = devis.menuiseries[1];
        QCOMPARE(porte.GetQuantite(), 2);
        QCOMPARE(porte.GetProprietes()[0].GetId(), QString("QUANTITE"));
        QCOMPARE(porte.GetPose().GetTva().GetTypeTva(), -1);

        // The archive copy is the document as the layer writes it: one line per top-level node.
        const QByteArray copie = LireOctets(prefixe + ".entree.xml");
        QCOMPARE(copie.count('\n'), 3);
        QVERIFY(copie.startsWith("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<!-- devis 2025-118 -->\n<Quarlo><pose id=\"3\""));
        QVERIFY(copie.contains("libelle=\"Fen\xEAtre 2 vantaux \x96 1200\xD7" "1350 \x80\""));
        QVERIFY(copie.contains("code=\"F1&amp;2\""));
    }

    void quantiteDesMenuiseries_data()
    {
        QTest::addColumn<QString>("attributs");
        QTest::addColumn<QString>("proprietes");
        QTest::addColumn<int>("quantite");
        QTest::newRow("attribut a 0, propriete 3") << "quantite=\"0\"" << "<propriete id=\"QUANTITE\" valeur=\"3\"/>" << 3;
        QTest::newRow("attribut a 2 garde") << "quantite=\"2\"" << "<propriete id=\"QUANTITE\" valeur=\"3\"/>" << 2;
        QTest::newRow("nom en minuscules") << "quantite=\"0\"" << "<propriete id=\"quantite\" valeur=\"3\"/>" << 0;
        QTest::newRow("attribut absent") << "" << "<propriete id=\"QUANTITE\" valeur=\"4\"/>" << 4;
        QTest::newRow("attribut illisible") << "quantite=\"deux\"" << "" << 0;
        QTest::newRow("propriete illisible") << "quantite=\"0\"" << "<propriete id=\"QUANTITE\" valeur=\"2,5\"/>" << 0;
    }

    void quantiteDesMenuiseries()
    {
        QFETCH(QString, attributs);
        QFETCH(QString, proprietes);
        const DevisEchange devis =
            LireTexte("<Quarlo><menuiseries><menuiserie " + attributs + "><proprietes>" + proprietes + "</proprietes></menuiserie></menuiseries></Quarlo>");
        QTEST(devis.menuiseries[0].GetQuantite(), "quantite");
    }

    void quincailleriesQuelQueSoitLOrdreDesAttributs()
    {
        // The order the answer writes, another order with other letter cases,
        // a name given twice (the first counts) and missing values.
        const DevisEchange devis = LireTexte(
            "<Quarlo><global><quincailleries>"
            "<quincaillerie id=\"1\" libelle=\"Joint &amp; mousse\" libelle2=\"\" tarif_vente=\"12,50\" tarif_achat=\"6\""
            " nb_pieces=\"8\" nb_pieces_ml=\"1\" quantite=\"2\" secable=\"1\" code_export=\"J\"/>"
            "<quincaillerie CODE_EXPORT=\"K\" Secable=\"1\" quantite=\"3\" ID=\"2\" Libelle=\"Cale\" tarif_vente=\"4,5\"/>"
            "<quincaillerie id=\"3\" id=\"4\" libelle=\"A\" libelle2=\"B\" libelle=\"C\" tarif_vente=\"1\" tarif_vente=\"9\"/>"
            "</quincailleries></global></Quarlo>");
        const TQuincailleries& entrees = devis.quincailleriesGlobales;
        QCOMPARE(entrees.Nombre(), 3);
        QCOMPARE(entrees[0].GetLibelle(), QString("Joint & mousse"));
        QCOMPARE(entrees[0].GetLibelle2(), QString(""));
        QVERIFY(!entrees[0].GetLibelle2().isNull());
        QCOMPARE(entrees[0].GetTarifVente(), 12.5);
        QCOMPARE(entrees[0].GetSecable(), 1);
        QCOMPARE(entrees[0].GetCodeExport(), QString("J"));
        QCOMPARE(entrees[1].GetId(), QString("2"));
        QCOMPARE(entrees[1].GetLibelle(), QString("Cale"));
        QVERIFY(entrees[1].GetLibelle2().isNull());
        QCOMPARE(entrees[1].GetTarifVente(), 4.5);
        QCOMPARE(entrees[1].GetQuantite(), 3.0);
        QCOMPARE(entrees[1].GetSecable(), 1);
        QCOMPARE(entrees[1].GetCodeExport(), QString("K"));
        QCOMPARE(entrees[2].GetId(), QString("3"));
        QCOMPARE(entrees[2].GetLibelle(), QString("A"));
        QCOMPARE(entrees[2].GetLibelle2(), QString("B"));
        QCOMPARE(entrees[2].GetTarifVente(), 1.0);
    }

    void fichierSansPoseGlobale()
    {
        // Only items: their own kind and VAT must not become the quote's.
        const DevisEchange devis = LireTexte(
            "<Quarlo><menuiseries>"
            "<menuiserie code=\"A\"><pose id=\"4\" libelle=\"Dépose\"><tva type_tva=\"1\" valeur=\"5,50\"/></pose>"
            "<livraison choix=\"1\" prix=\"50,00\"/></menuiserie>"
            "</menuiseries></Quarlo>");
        QVERIFY(!devis.aPose && !devis.aCotes && !devis.aGlobal);
        QCOMPARE(devis.poseGlobale.GetId(), QString());
        QCOMPARE(devis.poseGlobale.GetTva().GetTypeTva(), -1);
        QCOMPARE(devis.poseGlobale.GetChoix(TPoseLivraison::Livraison), false);
        QCOMPARE(devis.menuiseries.Nombre(), 1);
        QCOMPARE(devis.menuiseries[0].GetPose().GetLibelle(), QString("Dépose"));
    }

    void typeDeTvaInvalide_data()
    {
        QTest::addColumn<QString>("texte");
        const QString tarif = "<Quarlo><menuiseries><menuiserie><tarifs><tarif>%1</tarif></tarifs></menuiserie></menuiseries></Quarlo>";
        QTest::newRow("texte, pose globale") << "<Quarlo><pose><tva type_tva=\"deux\"/></pose></Quarlo>";
        QTest::newRow("vide, pose d'une menuiserie")
            << "<Quarlo><menuiseries><menuiserie><pose><tva type_tva=\"\"/></pose></menuiserie></menuiseries></Quarlo>";
        QTest::newRow("absent, ligne") << tarif.arg("<tva libelle=\"TVA\"/>");
        QTest::newRow("decimal, ligne") << tarif.arg("<tva type_tva=\"2,5\"/>");
    }

    void typeDeTvaInvalide()
    {
        QFETCH(QString, texte);
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath("devis.xml");
        EcrireOctets(fichier, EncoderCp1252(texte));
        try {
            LireEchange(fichier, dossier.filePath("20250101_000000"));
            QFAIL("un type de TVA invalide a été accepté");
        } catch (const ErreurEchange& erreur) {
            const QString message = QString::fromUtf8(erreur.what());
            QVERIFY2(message.contains(QDir::toNativeSeparators(fichier)) && message.contains("type de TVA"), qPrintable(message));
        }
        QVERIFY(QFile::exists(dossier.filePath("20250101_000000.entree.xml")));
    }

    // An amount, rate or quantity a double cannot hold to the cent refuses the
    // file, naming the field, its value and its line; a text that is no
    // number still reads 0.
    void montantsHorsLimites_data()
    {
        QTest::addColumn<QString>("corps");
        QTest::addColumn<QString>("message"); // "" when the file is read
        const QString ligne = "<menuiseries>\n<menuiserie code=\"A\">\n<tarifs><tarif %1>%2</tarif></tarifs>"
                              "</menuiserie></menuiseries>";
        QTest::newRow("prix d'une ligne") << ligne.arg("prix=\"1e308\"", "")
                                          << "la valeur prix=\"1e308\" est hors des limites admises";
        QTest::newRow("prix du poseur") << ligne.arg("", "<poseur prix=\"99999999999999999999\"/>")
                                        << "prix=\"99999999999999999999\" est hors des limites admises "
                                           "(un montant ou une quantité doit rester en dessous de 1\u202F000\u202F000\u202F000\u202F000 "
                                           "en valeur absolue) (élément <poseur>, ligne 3)";
        QTest::newRow("quincaillerie, au-delà d'un double")
            << "<global><quincailleries><quincaillerie tarif_vente=\"1e309\"/></quincailleries></global>"
            << "tarif_vente=\"1e309\"";
        QTest::newRow("quantité de quincaillerie") << ligne.arg("", "<quincailleries>\n<quincaillerie quantite=\"-1e12\"/></quincailleries>")
                                                   << "quantite=\"-1e12\" est hors des limites admises (un montant ou une quantité "
                                                      "doit rester en dessous de 1\u202F000\u202F000\u202F000\u202F000 en valeur absolue) "
                                                      "(élément <quincaillerie>, ligne 4)";
        QTest::newRow("livraison") << "<pose><livraison choix=\"1\" prix=\"-1000000000000\"/></pose>"
                                   << "prix=\"-1000000000000\"";
        QTest::newRow("taux de TVA") << ligne.arg("", "<tva type_tva=\"1\" valeur=\"1e12\"/>") << "valeur=\"1e12\"";
        QTest::newRow("valeur longue citée en partie")
            << ligne.arg("prix=\"" + QString(400, u'9') + "\"", "") << "prix=\"" + QString(40, u'9') + "…\"";
        QTest::newRow("quantité d'une menuiserie") << "<menuiseries><menuiserie quantite=\"99999999999999999999\"/></menuiseries>"
                                                   << "la quantité quantite=\"99999999999999999999\" dépasse le plus grand "
                                                      "nombre admis (2\u202F147\u202F483\u202F647) (élément <menuiserie>";
        QTest::newRow("quantité en propriété")
            << "<menuiseries><menuiserie><proprietes><propriete id=\"QUANTITE\" valeur=\"3000000000\"/>"
               "</proprietes></menuiserie></menuiseries>"
            << "valeur=\"3000000000\" dépasse le plus grand nombre admis";
        QTest::newRow("juste sous la limite") << ligne.arg("prix=\"999999999999,99\"", "") << "";
        QTest::newRow("trop petit pour un double") << ligne.arg("prix=\"1e-400\"", "") << "";
        QTest::newRow("infini écrit") << ligne.arg("", "<poseur prix=\"inf\"/>") << "prix=\"inf\"";
        QTest::newRow("nan écrit") << ligne.arg("", "<quincailleries><quincaillerie quantite=\"nan\"/></quincailleries>")
                                   << "quantite=\"nan\"";
        QTest::newRow("pas un nombre") << ligne.arg("prix=\"abc\"", "<poseur prix=\"1.5e400\"/>") << "";
    }

    void montantsHorsLimites()
    {
        QFETCH(QString, corps);
        QFETCH(QString, message);
        QString erreur;
        DevisEchange devis;
        try {
            devis = LireTexte("<Quarlo>" + corps + "</Quarlo>");
        } catch (const ErreurEchange& refus) {
            erreur = QString::fromUtf8(refus.what());
        }
        if (message.isEmpty()) {
            QCOMPARE(erreur, QString());
            const QByteArray reponse = Contenu(devis);
            QVERIFY2(!reponse.contains("inf") && !reponse.contains("nan"), reponse.constData());
        } else {
            QVERIFY2(erreur.startsWith("Le fichier de récupération « devis.xml » ne peut pas être lu : "), qPrintable(erreur));
            QVERIFY2(erreur.contains(message), qPrintable(erreur));
        }
    }

    // What is not a quote is refused before anything is read or archived.
    void fichiersRefusesAvantLecture_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("message");
        QTest::newRow("absent") << "absent.xml" << "n'existe pas.";
        QTest::newRow("dossier") << "dossier" << "est un dossier, pas un fichier.";
        if (kTubesNommes)
            QTest::newRow("tube nommé") << "tube.xml" << "est un tube nommé, pas un fichier ordinaire.";
        QTest::newRow("trop volumineux") << "gros.xml" << "est trop volumineux pour être chiffré (101 Mo, pour 100 Mo au plus).";
    }

    void fichiersRefusesAvantLecture()
    {
        QFETCH(QString, nom);
        QFETCH(QString, message);
        QTemporaryDir dossier;
        QVERIFY(QDir(dossier.path()).mkdir("dossier"));
        QVERIFY(CreerTubeNomme(dossier.filePath("tube.xml")));
        QFile gros(dossier.filePath("gros.xml"));
        QVERIFY(gros.open(QIODevice::WriteOnly) && gros.resize(kTailleEchangeMaximale + 1));
        const QString fichier = dossier.filePath(nom);
        try {
            LireEchange(fichier, dossier.filePath("20250101_000000"));
            QFAIL("le fichier a été lu");
        } catch (const ErreurEchange& erreur) {
            QCOMPARE(QString::fromUtf8(erreur.what()), "Le fichier de récupération « " + QDir::toNativeSeparators(fichier) + " » " + message);
        }
        QVERIFY(!QFile::exists(dossier.filePath("20250101_000000.entree.xml")));
    }

    void ecrireUnDevisVide()
    {
        TPoseLivraison pose;
        const QByteArray attendu = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
                                   "<Quarlo><pose id=\"\" libelle=\"\" code_export=\"\">"
                                   "<livraison choix=\"0\" prix=\"0,00\" code_export=\"\"/>"
                                   "<livraison_compliquee choix=\"0\" prix=\"0,00\" code_export=\"\"/>"
                                   "<livraison_autorisation choix=\"0\" prix=\"0,00\" code_export=\"\"/>"
                                   "<livraison_manutention choix=\"0\" prix=\"0,00\" code_export=\"\"/>"
                                   "<tva type_tva=\"-1\" libelle=\"\" valeur=\"0,00\"/></pose>"
                                   "<cotes choix=\"0\"/><global><quincailleries/></global><menuiseries/></Quarlo>\n";
        QCOMPARE(ContenuEchange(pose, false, TQuincailleries(), TMenuiseries()), attendu);
    }

    void allerRetour_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::newRow("simple") << " Dupont";
        QTest::newRow("accents et euro") << " Fenêtre – Œil-de-bœuf 12 € ×2";
        QTest::newRow("caracteres reserves") << " & < > \" ' &amp; &#233;";
        QTest::newRow("sauts de ligne") << " ligne 1\r\nligne 2\n\tfin";
    }

    void allerRetour()
    {
        QFETCH(QString, texte);
        const DevisEchange origine = DevisComplet(texte);
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath("echange.xml");
        const QString prefixe = dossier.filePath("20250312_150000");
        EcrireEchange(origine.poseGlobale, origine.cotes, origine.quincailleriesGlobales, origine.menuiseries, fichier,
                      prefixe);
        const QByteArray ecrit = LireOctets(fichier);
        QCOMPARE(LireOctets(prefixe + ".sortie.xml"), ecrit);
        QVERIFY(ecrit.startsWith("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<Quarlo>"));
        QCOMPARE(ecrit.count('\n'), 2);
        QCOMPARE(QString::fromLatin1(ecrit), QString::fromLatin1(EncoderCp1252(DecoderCp1252(ecrit)))); // pure Windows-1252

        const DevisEchange relu = LireEchange(fichier, prefixe);
        QCOMPARE(relu.menuiseries.Nombre(), 2);
        const TMenuiserie& seconde = relu.menuiseries[1];
        QCOMPARE(seconde.GetLibelle(), "libelle" + texte);
        QCOMPARE(seconde.GetDescription(), "description" + texte);
        QCOMPARE(seconde.GetCode(), "m" + texte);
        QCOMPARE(seconde.GetProprietes()[1].GetValeur(), "valeur" + texte);
        QCOMPARE(seconde.GetTarifs()[1].GetPoseurNom(), "nom" + texte);
        QCOMPARE(seconde.GetTarifs()[1].GetQuincaillerieIncluse(), false);
        QCOMPARE(seconde.GetTarifs()[1].GetQuincailleries()[0].GetQuantite(), 1.5);
        QCOMPARE(relu.poseGlobale.GetCodeExportOption(TPoseLivraison::LivraisonAutorisation), "option" + texte);
        QCOMPARE(relu.poseGlobale.GetPrix(TPoseLivraison::LivraisonManutention), 41.0);
        QCOMPARE(relu.menuiseries.TotalHt(), origine.menuiseries.TotalHt());
        // Every field is in the file: writing what was read gives the same bytes.
        QCOMPARE(Contenu(relu), ecrit);
        // The bytes the XML layer gives the objects' fragments once parsed.
        TXmlDocument fragments;
        fragments.ReadFromString("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><Quarlo>" + origine.poseGlobale.GetXml()
                                 + "<cotes choix=\"1\"/><global>" + origine.quincailleriesGlobales.GetXml() + "</global>"
                                 + origine.menuiseries.GetXml() + "</Quarlo>");
        QCOMPARE(fragments.SaveToBytes(), ecrit);
    }

    // A strict reader accepts the answer and gives back each text; line
    // breaks of a description are not turned into blanks.
    void sortieAccepteeParUnLecteurStrict_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("lu");
        QTest::newRow("caracteres reserves") << " & < > \" ' &amp; é" << " & < > \" ' &amp; é";
        QTest::newRow("sauts de ligne et tabulation") << " 1\r\n2\n3\t4 é" << " 1\r\n2\n3\t4 é";
        QTest::newRow("caractere de controle") << QString(" a") + QChar(1) + "b é" << " a?b é";
    }

    void sortieAccepteeParUnLecteurStrict()
    {
        QFETCH(QString, texte);
        QFETCH(QString, lu);
        const QByteArray ecrit = Contenu(DevisComplet(texte));
        QXmlStreamReader lecteur(ecrit);
        int valeurs = 0;
        QString encodage;
        while (!lecteur.atEnd()) {
            const auto jeton = lecteur.readNext();
            if (jeton == QXmlStreamReader::StartDocument)
                encodage = lecteur.documentEncoding().toString();
            if (jeton != QXmlStreamReader::StartElement)
                continue;
            for (const QXmlStreamAttribute& attribut : lecteur.attributes()) {
                const QString valeur = attribut.value().toString();
                if (valeur.endsWith(u'é')) {
                    QVERIFY2(valeur.endsWith(lu), qPrintable(valeur));
                    ++valeurs;
                }
            }
        }
        QVERIFY2(!lecteur.hasError(), qPrintable(lecteur.errorString()));
        QCOMPARE(encodage, QString("iso-8859-1"));
        // Quote-wide kind 8, quote-wide hardware 4; per item 5 own texts (the
        // upper-cased property name ends in "É") and 11 per line with its hardware.
        QCOMPARE(valeurs, 8 + 4 + (5 + 11) + (5 + 2 * 11));
    }

    void echecDEcritureSansAbimerLeFichier()
    {
        QTemporaryDir dossier;
        // The longest name the file system accepts: no temporary file can be
        // created beside it, whoever runs the test.
        const QString fichier = dossier.filePath(QString(251, u'e') + ".xml");
        const QString prefixe = dossier.filePath("20250312_150000");
        EcrireOctets(fichier, "<Quarlo>ce que l'hôte a écrit</Quarlo>");
        const DevisEchange devis = DevisComplet("x");
        try {
            EcrireEchange(devis.poseGlobale, true, devis.quincailleriesGlobales, devis.menuiseries, fichier, prefixe);
            QFAIL("l'écriture aurait dû échouer");
        } catch (const ErreurXml& erreur) {
            QVERIFY2(erreur.Message().contains(QDir::toNativeSeparators(fichier)), qPrintable(erreur.Message()));
        }
        QCOMPARE(LireOctets(fichier), QByteArray("<Quarlo>ce que l'hôte a écrit</Quarlo>"));
        QVERIFY(!QFile::exists(prefixe + ".sortie.xml"));
        QCOMPARE(QDir(dossier.path()).entryList(QDir::Files).size(), 1);
    }

    // A folder that takes no new file still lets the host's file be
    // answered, in place (a hard link sees the answer); a size limit is a
    // write error with its reason, and the file keeps what the host wrote.
    void ecritureSelonLeDossierEtLaPlace_data()
    {
        QTest::addColumn<bool>("dossierEnLectureSeule");
        QTest::addColumn<bool>("placeManquante");
        QTest::newRow("dossier modifiable") << false << false;
        QTest::newRow("dossier modifiable, place manquante") << false << true;
        QTest::newRow("dossier en lecture seule") << true << false;
        QTest::newRow("dossier en lecture seule, place manquante") << true << true;
    }

    void ecritureSelonLeDossierEtLaPlace()
    {
#ifdef Q_OS_WIN
        QSKIP("les droits d'un dossier et la taille permise d'un fichier sont ceux d'un système POSIX");
#else
        QFETCH(bool, dossierEnLectureSeule);
        QFETCH(bool, placeManquante);
        QTemporaryDir dossier;
        QDir racine(dossier.path());
        QVERIFY(racine.mkdir("hote") && racine.mkdir("Xml"));
        const QString fichier = racine.filePath("hote/echange.xml");
        const QString lien = racine.filePath("hote/lien.xml");
        const QString prefixe = racine.filePath("Xml/20250312_150000");
        const QByteArray ancien = "<Quarlo>ce que l'hôte a écrit</Quarlo>";
        EcrireOctets(fichier, ancien);
        QVERIFY(::link(QFile::encodeName(fichier).constData(), QFile::encodeName(lien).constData()) == 0);
        const ino_t inode = Inode(fichier);
        for (const auto& [chemin, mode] : {std::pair{dossier.path(), 0755}, {racine.filePath("Xml"), 0777},
                                          {fichier, 0666}, {racine.filePath("hote"), dossierEnLectureSeule ? 0555 : 0777}})
            QVERIFY(::chmod(QFile::encodeName(chemin).constData(), mode_t(mode)) == 0);

        const DevisEchange devis = DevisComplet(" é");
        const QByteArray reponse = Contenu(devis);
        const QString erreur = DansUnFils(placeManquante ? ancien.size() + 16 : 0, [&] {
            EcrireEchange(devis.poseGlobale, devis.cotes, devis.quincailleriesGlobales, devis.menuiseries, fichier,
                          prefixe);
        });
        ::chmod(QFile::encodeName(racine.filePath("hote")).constData(), 0777);

        if (placeManquante) {
            QVERIFY2(erreur.startsWith(QStringLiteral("Impossible d'écrire le fichier « %1 » : ").arg(fichier)),
                     qPrintable(erreur));
            QVERIFY2(!erreur.contains("Unknown error") && !erreur.endsWith(": "), qPrintable(erreur));
            QCOMPARE(LireOctets(fichier), ancien);
            QCOMPARE(QDir(racine.filePath("hote")).entryList(QDir::Files), QStringList({"echange.xml", "lien.xml"}));
            QVERIFY(!QFile::exists(prefixe + ".sortie.xml"));
        } else {
            QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
            QCOMPARE(LireOctets(fichier), reponse);
            QCOMPARE(LireOctets(prefixe + ".sortie.xml"), reponse);
        }
        if (dossierEnLectureSeule) {
            QCOMPARE(Inode(fichier), inode);
            QCOMPARE(LireOctets(lien), LireOctets(fichier));
        }
#endif
    }

    // An input read as UTF-8 is archived in UTF-8: a strict reader accepts
    // the copy and finds every character, those outside the 8-bit set too.
    void copieDArchiveDUneEntreeUtf8_data()
    {
        QTest::addColumn<QByteArray>("debut");
        QTest::newRow("marque d'ordre et déclaration en minuscules")
            << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n");
        QTest::newRow("marque d'ordre sans déclaration") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("déclaration UTF-8") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
        QTest::newRow("ni marque ni déclaration") << QByteArray();
    }

    void copieDArchiveDUneEntreeUtf8()
    {
        QFETCH(QByteArray, debut);
        const QString libelle = QStringLiteral("Œil-de-bœuf ✓ 12 € – 漢");
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath("devis.xml");
        const QString prefixe = dossier.filePath("20250312_150000");
        EcrireOctets(fichier, debut + ("<Quarlo><menuiseries><menuiserie libelle=\"" + libelle + "\"/></menuiseries></Quarlo>\n").toUtf8());

        QCOMPARE(LireEchange(fichier, prefixe).menuiseries[0].GetLibelle(), libelle);
        const QByteArray copie = LireOctets(prefixe + ".entree.xml");
        QXmlStreamReader lecteur(copie);
        QString lu;
        while (!lecteur.atEnd())
            if (lecteur.readNext() == QXmlStreamReader::StartElement && lecteur.name() == u"menuiserie")
                lu = lecteur.attributes().value("libelle").toString();
        QVERIFY2(!lecteur.hasError(), qPrintable(lecteur.errorString()));
        QCOMPARE(lu, libelle);
        QCOMPARE(LireEchange(prefixe + ".entree.xml", dossier.filePath("relu")).menuiseries[0].GetLibelle(), libelle);
    }

    // However the host names the character set, the labels reach the quote
    // whole, and the answer holds them in Windows-1252; a Windows-1252
    // quote's bytes come back unchanged, those it leaves unassigned too.
    void jeuxDeCaracteresDuDevis_data()
    {
        QTest::addColumn<QByteArray>("debut");
        QTest::addColumn<QByteArray>("libelle");
        QTest::addColumn<QString>("lu");
        QTest::addColumn<QByteArray>("repondu");
        const QString texte = QStringLiteral("Fenêtre – Œil-de-bœuf 12 € ×2");
        const QByteArray utf8 = texte.toUtf8();
        const QByteArray cp1252("Fen\xEAtre \x96 \x8Cil-de-b\x9C" "uf 12 \x80 \xD7" "2");
        const auto declaration = [](const char* codage) {
            return QByteArray("<?xml version=\"1.0\" encoding=\"") + codage + "\"?>\r\n";
        };
        QTest::newRow("utf-8") << declaration("utf-8") << utf8 << texte << cp1252;
        QTest::newRow("Utf-8") << declaration("Utf-8") << utf8 << texte << cp1252;
        QTest::newRow("UTF-8") << declaration("UTF-8") << utf8 << texte << cp1252;
        QTest::newRow("UTF-8 sans déclaration") << QByteArray() << utf8 << texte << cp1252;
        QTest::newRow("UTF-8, déclaration sans codage") << QByteArray("<?xml version=\"1.0\"?>\n") << utf8 << texte
                                                         << cp1252;
        QTest::newRow("iso-8859-1") << declaration("iso-8859-1") << cp1252 << texte << cp1252;
        QTest::newRow("windows-1252") << declaration("windows-1252") << cp1252 << texte << cp1252;
        QTest::newRow("Windows-1252 sans déclaration") << QByteArray() << cp1252 << texte << cp1252;
        const QByteArray nonAttribues("\x81\x8D\x8F\x90\x9D \xE9");
        QTest::newRow("octets non attribués") << QByteArray() << nonAttribues << DecoderCp1252(nonAttribues)
                                              << nonAttribues;
        // The declaration decides, even over bytes that would read as UTF-8.
        QTest::newRow("iso-8859-1 déclaré, octets UTF-8") << declaration("iso-8859-1") << utf8 << DecoderCp1252(utf8)
                                                          << utf8;
    }

    void jeuxDeCaracteresDuDevis()
    {
        QFETCH(QByteArray, debut);
        QFETCH(QByteArray, libelle);
        QFETCH(QString, lu);
        QFETCH(QByteArray, repondu);
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath("devis.xml");
        EcrireOctets(fichier, debut + "<Quarlo><menuiseries><menuiserie code=\"A\" libelle=\"" + libelle
                                  + "\"/></menuiseries></Quarlo>\r\n");
        const DevisEchange devis = LireEchange(fichier, dossier.filePath("20250312_150000"));
        QCOMPARE(devis.menuiseries[0].GetLibelle(), lu);
        QVERIFY(Contenu(devis).contains("<menuiserie code=\"A\" libelle=\"" + repondu + "\""));
        // The archive copy of the input reads back the same.
        QCOMPARE(LireEchange(dossier.filePath("20250312_150000.entree.xml"), dossier.filePath("relu"))
                     .menuiseries[0]
                     .GetLibelle(),
                 lu);
    }

    // Amounts are rounded on the decimal they stand for, a half away from
    // zero, whatever their binary value; sums add the unrounded amounts.
    void arrondiDesMontants_data()
    {
        QTest::addColumn<double>("valeur");
        QTest::addColumn<QString>("ecrit");
        const auto ligne = [](double prix, double taux) {
            TTarif tarif;
            tarif.SetPrix(prix);
            tarif.GetTva().SetValeur(taux);
            return tarif.PrixTva();
        };
        QTest::newRow("95,00 à 5,5 %") << ligne(95, 5.5) << "5,23";
        QTest::newRow("deux lignes de 95,00 à 5,5 %") << 2 * ligne(95, 5.5) << "10,45";
        QTest::newRow("5,225") << 5.225 << "5,23";
        QTest::newRow("-5,225") << -5.225 << "-5,23";
        QTest::newRow("2,675") << 2.675 << "2,68";
        QTest::newRow("1,005") << 1.005 << "1,01";
        QTest::newRow("demi exact") << 0.125 << "0,13";
        QTest::newRow("sous la demie") << 2.67499999 << "2,67";
        QTest::newRow("0,1 + 0,2") << 0.1 + 0.2 << "0,30";
        QTest::newRow("presque zéro négatif") << -0.001 << "0,00";
        QTest::newRow("demi-centime négatif") << -0.005 << "-0,01";
        QTest::newRow("report jusqu'aux unités") << 99999999999.995 << "100000000000,00";
        QTest::newRow("au-delà de 10^13, les centimes restent") << 12345678901234.56 << "12345678901234,56";
        QTest::newRow("très petit") << 1e-300 << "0,00";
    }

    void arrondiDesMontants()
    {
        QFETCH(double, valeur);
        QFETCH(QString, ecrit);
        QCOMPARE(FormatMonetaire(valeur), ecrit);
        QString ajoute = QStringLiteral("x");
        FormeNombres().AjouterMonetaire(ajoute, valeur);
        QCOMPARE(ajoute, u'x' + ecrit);
    }

    // Whatever the regional settings, amounts are ASCII digits and "-" with
    // the regional decimal separator, and read back as written.
    void montantsSelonLesReglages_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("negatif");
        QTest::addColumn<QString>("ecrit");
        QTest::newRow("français") << QLocale(QLocale::French, QLocale::France) << "-1234,50" << "0,13";
        QTest::newRow("suédois, signe moins typographique") << QLocale(QLocale::Swedish, QLocale::Sweden) << "-1234,50"
                                                            << "0,13";
        QTest::newRow("norvégien") << QLocale(QLocale::NorwegianBokmal, QLocale::Norway) << "-1234,50" << "0,13";
        QTest::newRow("arabe, chiffres arabes-indiens") << QLocale(QLocale::Arabic, QLocale::Egypt)
                                                        << QString("-1234") + QChar(0x066B) + "50"
                                                        << QString("0") + QChar(0x066B) + "13";
        QTest::newRow("suisse allemand, apostrophe de milliers") << QLocale(QLocale::German, QLocale::Switzerland)
                                                                 << "-1234.50" << "0.13";
    }

    void montantsSelonLesReglages()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, negatif);
        QFETCH(QString, ecrit);
        QLocale::setDefault(locale);
        QCOMPARE(FormatMonetaire(-1234.5), negatif);
        QCOMPARE(FormatMonetaire(0.125), ecrit); // an exact half goes away from zero
        QCOMPARE(LireDecimal(negatif), std::optional<double>(-1234.5));
        // The locale's own minus sign is understood too.
        QCOMPARE(LireDecimal(locale.negativeSign() + "2" + locale.decimalPoint() + "5"), std::optional<double>(-2.5));
        QCOMPARE(LireDecimal("12" + locale.groupSeparator() + "345"), std::optional<double>());

        DevisEchange devis = DevisComplet("x");
        devis.poseGlobale.SetPrix(TPoseLivraison::Livraison, -12.5);
        const QByteArray octets = Contenu(devis);
        QVERIFY(octets.contains("prix=\"" + EncoderCp1252(FormatMonetaire(-12.5)) + "\""));
        if (!locale.decimalPoint().contains(QChar(0x066B))) { // which the 8-bit file cannot hold
            const DevisEchange relu = LireTexte(DecoderCp1252(octets));
            QCOMPARE(relu.poseGlobale.GetPrix(TPoseLivraison::Livraison), -12.5);
            QCOMPARE(relu.menuiseries.TotalHt(), devis.menuiseries.TotalHt());
        }
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
};

QTEST_GUILESS_MAIN(TestEchange)
#include "tst_echange.moc"
