#include "model/Encodage.h"
#include "model/Xml.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

void EcrireOctets(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

QByteArray LireOctets(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

const char* const kDevis = R"(<?xml version="1.0" encoding="iso-8859-1"?>
<!-- du logiciel hôte -->
<Quarlo>
  <pose id="1"><tva type_tva="2"/></pose>
  <menuiseries>
    <menuiserie code="A"><pose id="2"><tva type_tva="3"/></pose></menuiserie>
    <Menuiserie code="B"/>
    <autre><menuiserie code="C"/></autre>
  </menuiseries>
</Quarlo>
)";

} // namespace

class TestXml : public QObject
{
    Q_OBJECT

private slots:
    void rechercheEnProfondeur()
    {
        TXmlDocument document;
        document.ReadFromString(kDevis);
        const TXmlNode* racine = document.GetRoot();
        QCOMPARE(racine->GetName(), QString("Quarlo"));

        const TXmlNode* tva = racine->FindNode("tva");
        QVERIFY(tva);
        QCOMPARE(tva->GetAttributeByName("type_tva"), QString("2"));
        QCOMPARE(racine->FindNode("POSE")->GetAttributeByName("ID"), QString("1"));
        QVERIFY(racine->FindNode("quarlo") == nullptr); // the node itself is not searched
        QVERIFY(racine->FindNode("absent") == nullptr);

        const TXmlNode* parChemin = racine->FindNode("/quarlo/menuiseries/menuiserie/pose/TVA");
        QVERIFY(parChemin);
        QCOMPARE(parChemin->GetAttributeByName("type_tva"), QString("3"));
        QCOMPARE(parChemin->FullPath(), QString("/Quarlo/menuiseries/menuiserie/pose/tva"));

        TXmlNodeList items;
        racine->FindNode("menuiseries")->NodesByName("menuiserie", items);
        QCOMPARE(items.Count(), 2); // C is a grandchild
        QCOMPARE(items.GetItems(0)->GetAttributeByName("code"), QString("A"));
        QCOMPARE(items.GetItems(1)->GetAttributeByName("code"), QString("B"));
        items.GetItems(0)->NodesByName("absent", items);
        QCOMPARE(items.Count(), 0);
    }

    void valeursDesAttributs_data()
    {
        QTest::addColumn<QString>("ecrit");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("esperluette") << R"("a &amp; b")" << "a & b";
        QTest::newRow("cinq entites") << "\"&lt;&gt;&apos;&quot;&amp;\"" << "<>\'\"&";
        QTest::newRow("decimal 233") << R"("caf&#233;")" << "café";
        QTest::newRow("hexadecimal e9") << R"("caf&#xE9;")" << "café";
        QTest::newRow("128, l'euro du jeu 8 bits") << R"("10 &#128;")" << "10 €";
        QTest::newRow("254") << R"("&#254;")" << "þ";
        QTest::newRow("255 reste tel quel") << R"("&#255;")" << "&#255;";
        QTest::newRow("chiffres illisibles") << R"("&#12a;")" << "&#12a;";
        QTest::newRow("entite inconnue") << R"("&nbsp;x")" << "&nbsp;x";
        QTest::newRow("sans point-virgule") << R"("A & B &amp C")" << "A & B &amp C";
        QTest::newRow("jusqu'au prochain point-virgule") << R"("A & B; C&amp;D")" << "A & B; C&D";
        QTest::newRow("pas de double resolution") << R"("&amp;lt;")" << "&lt;";
        QTest::newRow("apostrophes") << "\'dit \"oui\"\'" << "dit \"oui\"";
    }

    void valeursDesAttributs()
    {
        QFETCH(QString, ecrit);
        QFETCH(QString, attendu);
        TXmlDocument document;
        document.ReadFromString("<r><e v=" + ecrit + "/></r>");
        const TXmlNode* e = document.GetRoot()->FindNode("e");
        QCOMPARE(e->GetAttributeByName("V"), attendu);
        QCOMPARE(e->GetAttributeByName("absent"), QString());
        QCOMPARE(document.GetRoot()->GetAttributeByName("v"), QString()); // no attributes at all
    }

    void sortieCompacteEtFormesEcrites()
    {
        TXmlDocument document;
        document.ReadFromString("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
                                "<!-- note -->\r\n"
                                "<Quarlo a='x &amp; y' b=\"&#233;t&eacute;\">\n"
                                "  <vide></vide>\n"
                                "  <texte>deux &lt; trois</texte>\n"
                                "  <!--gardé-->\n"
                                "  <![CDATA[<brut>]]>\n"
                                "</Quarlo>\n");
        QCOMPARE(document.SaveToString(),
                 QString("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
                         "<!-- note -->\n"
                         "<Quarlo a='x &amp; y' b=\"&#233;t&eacute;\"><vide/><texte>deux &lt; trois</texte>"
                         "<!--gardé--><![CDATA[<brut>]]></Quarlo>\n"));
    }

    void nouveauDocument()
    {
        TXmlDocument document("Quarlo");
        QCOMPARE(document.SaveToString(), QString("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<Quarlo/>\n"));
    }

    void jeuxDeCaracteres_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("libelle");
        const QString texte = "Fenêtre – 12 €";
        const auto document = [](const char* encodage, const QByteArray& libelle) {
            return QByteArray("<?xml version=\"1.0\" encoding=\"") + encodage + "\"?>\n<r l=\"" + libelle + "\"/>\n";
        };
        QTest::newRow("iso-8859-1 declare, octets Windows-1252") << document("iso-8859-1", EncoderCp1252(texte)) << texte;
        QTest::newRow("UTF-8") << document("UTF-8", texte.toUtf8()) << texte;
        QTest::newRow("utf-8 en minuscules") << document("utf-8", texte.toUtf8()) << texte;
        QTest::newRow("marque d'ordre UTF-8") << "\xEF\xBB\xBF" + document("UTF-8", texte.toUtf8()) << texte;
        QTest::newRow("sans declaration") << QByteArray("<r l=\"\x80\xE9\"/>") << "€é";
    }

    void jeuxDeCaracteres()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QString, libelle);
        QTemporaryDir dossier;
        const QString entree = dossier.filePath("entree.xml");
        const QString sortie = dossier.filePath("sortie.xml");
        EcrireOctets(entree, octets);
        TXmlDocument document;
        document.LoadFromFile(entree);
        QCOMPARE(document.GetRoot()->GetAttributeByName("l"), libelle);
        // Saved in the character set the declaration names: read back unchanged.
        document.SaveToFile(sortie);
        TXmlDocument relu;
        relu.LoadFromFile(sortie);
        QCOMPARE(relu.GetRoot()->GetAttributeByName("l"), libelle);
    }

    // UTF-16 and UTF-32, marked or not, are named as what the host never
    // writes, instead of failing on the first character.
    void codagesLargesRefuses_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("forme");
        const QString texte = "<?xml version=\"1.0\"?>\n<Quarlo l=\"é\"/>\n";
        const auto encoder = [&texte](QStringConverter::Encoding codage, bool marque) {
            QStringEncoder encodeur(codage, marque ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
            return QByteArray(encodeur.encode(texte));
        };
        QTest::newRow("UTF-16 LE sans marque") << encoder(QStringConverter::Utf16LE, false) << "UTF-16 (petit-boutiste)";
        QTest::newRow("UTF-16 BE sans marque") << encoder(QStringConverter::Utf16BE, false) << "UTF-16 (gros-boutiste)";
        QTest::newRow("UTF-16 LE avec marque") << encoder(QStringConverter::Utf16LE, true)
                                               << "UTF-16 (petit-boutiste, avec marque d'ordre des octets)";
        QTest::newRow("UTF-16 BE avec marque") << encoder(QStringConverter::Utf16BE, true)
                                               << "UTF-16 (gros-boutiste, avec marque d'ordre des octets)";
        QTest::newRow("UTF-32 LE sans marque") << encoder(QStringConverter::Utf32LE, false) << "UTF-32 (petit-boutiste)";
        QTest::newRow("UTF-32 BE sans marque") << encoder(QStringConverter::Utf32BE, false) << "UTF-32 (gros-boutiste)";
        QTest::newRow("UTF-32 LE avec marque") << encoder(QStringConverter::Utf32LE, true)
                                               << "UTF-32 (petit-boutiste, avec marque d'ordre des octets)";
        QTest::newRow("UTF-32 BE avec marque") << encoder(QStringConverter::Utf32BE, true)
                                               << "UTF-32 (gros-boutiste, avec marque d'ordre des octets)";
        QTest::newRow("UTF-16, un blanc d'abord") << QByteArray(" \0<\0r\0/\0>\0", 10) << "UTF-16 (petit-boutiste)";
    }

    void codagesLargesRefuses()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QString, forme);
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath("devis.xml");
        EcrireOctets(fichier, octets);
        TXmlDocument document;
        try {
            document.LoadFromFile(fichier);
            QFAIL("un fichier en UTF-16 ou UTF-32 a été lu");
        } catch (const ErreurXml& erreur) {
            QCOMPARE(erreur.Message(), "Fichier « " + QDir::toNativeSeparators(fichier) + " » : le texte est codé en " + forme
                                           + ", un codage que l'hôte n'écrit pas ; enregistrez-le en Windows-1252 "
                                             "(iso-8859-1) ou en UTF-8.");
        }
    }

    void utf8Invalide()
    {
        TXmlDocument document;
        try {
            document.ReadFromBytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\n<e l=\"\xE9\"/></r>");
            QFAIL("des octets invalides ont été acceptés");
        } catch (const ErreurXml& erreur) {
            QCOMPARE(erreur.Ligne(), 3);
        }
    }

    void documentsMalFormes_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("ligne");
        QTest::addColumn<QString>("extrait");
        QTest::newRow("balise non fermee") << "<r>\n<a>\n<b/>\n</r>" << 4 << "</r>";
        QTest::newRow("fin de texte") << "<r>\n<a>" << 2 << "<a>";
        QTest::newRow("guillemet manquant") << "<r>\n<a v=\"1/>\n</r>" << 2 << "v";
        QTest::newRow("valeur sans guillemets") << "<r v=1/>" << 1 << "guillemets";
        QTest::newRow("attributs colles") << "<r a=\"1\"b=\"2\"/>" << 1 << "b";
        QTest::newRow("deux racines") << "<r/>\n<s/>" << 2 << "racine";
        QTest::newRow("texte hors racine") << "<r/>\nfin" << 2 << "racine";
        QTest::newRow("commentaire non termine") << "<r>\n<!-- oups\n</r>" << 2 << "commentaire";
        QTest::newRow("balise de fin orpheline") << "</r>" << 1 << "fin";
        QTest::newRow("nom invalide") << "<r><1a/></r>" << 1 << "1";
        QTest::newRow("declaration tardive") << "<!-- x -->\n<?xml version=\"1.0\"?><r/>" << 2 << "déclaration";
    }

    void documentsMalFormes()
    {
        QFETCH(QString, texte);
        QFETCH(int, ligne);
        QFETCH(QString, extrait);
        TXmlDocument document;
        document.ReadFromString("<bon/>");
        try {
            document.ReadFromString(texte);
            QFAIL("un document mal formé a été accepté");
        } catch (const ErreurXml& erreur) {
            QCOMPARE(erreur.Ligne(), ligne);
            QVERIFY2(erreur.Message().contains(QStringLiteral("ligne %1").arg(ligne)), qPrintable(erreur.Message()));
            QVERIFY2(erreur.Message().contains(extrait), qPrintable(erreur.Message()));
        }
        QCOMPARE(document.GetRoot()->GetName(), QString("bon")); // unchanged on error
    }

    void sansElementRacine()
    {
        for (const QString& texte : {QString(), QString("<?xml version=\"1.0\"?>\n<!-- rien -->\n")}) {
            TXmlDocument document;
            try {
                document.ReadFromString(texte);
                QFAIL("un document sans racine a été accepté");
            } catch (const ErreurXml& erreur) {
                QCOMPARE(erreur.Message(), QString("No root element found in xml"));
            }
        }
    }

    void fichierIntrouvable()
    {
        QTemporaryDir dossier;
        TXmlDocument document;
        const QString chemin = dossier.filePath("absent.xml");
        try {
            document.LoadFromFile(chemin);
            QFAIL("un fichier absent a été lu");
        } catch (const ErreurXml& erreur) {
            QVERIFY2(erreur.Message().contains(QDir::toNativeSeparators(chemin)), qPrintable(erreur.Message()));
        }
    }

    void enregistrementEchoueSansAbimerLeFichier()
    {
        QTemporaryDir dossier;
        // The longest name the file system accepts: the temporary file written
        // beside it cannot be created, whoever runs the test.
        const QString chemin = dossier.filePath(QString(255, u'e'));
        EcrireOctets(chemin, "<ancien/>\n");
        TXmlDocument document;
        document.ReadFromString("<nouveau/>");
        QVERIFY_THROWS_EXCEPTION(ErreurXml, document.SaveToFile(chemin));
        QCOMPARE(LireOctets(chemin), QByteArray("<ancien/>\n"));
        QCOMPARE(QDir(dossier.path()).entryList(QDir::Files).size(), 1);

        QVERIFY_THROWS_EXCEPTION(ErreurXml, document.SaveToFile(dossier.filePath("absent/x.xml")));
    }

    void profondeurLimitee()
    {
        QString texte;
        for (int i = 0; i < 5000; ++i)
            texte += "<a>";
        TXmlDocument document;
        QVERIFY_THROWS_EXCEPTION(ErreurXml, document.ReadFromString(texte));
    }
};

QTEST_GUILESS_MAIN(TestXml)
#include "tst_xml.moc"
