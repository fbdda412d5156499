// The semicolon-separated line of the exports, byte for byte, and the
// reading of such files back, as the program writes them and as
// spreadsheets do.

#include "model/Encodage.h"
#include "model/Formats.h"
#include "model/LigneCsv.h"

#include <QtTest>

namespace {

QVector<QStringList> Champs(const QVector<LigneLue>& lignes)
{
    QVector<QStringList> champs;
    for (const LigneLue& ligne : lignes)
        champs.append(ligne.champs);
    return champs;
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void ligne_data()
    {
        QTest::addColumn<QStringList>("champs");
        QTest::addColumn<QByteArray>("octets");

        QTest::newRow("en-tête de la quincaillerie")
            << QStringList{"CodeExport", "Libelle", "Libelle2", "TarifVente", "TarifAchat", "NbPieces",
                           "NbPiecesML", "Secable"}
            << QByteArray("\"CodeExport\";\"Libelle\";\"Libelle2\";\"TarifVente\";\"TarifAchat\";"
                          "\"NbPieces\";\"NbPiecesML\";\"Secable\";\r\n");
        QTest::newRow("guillemets doublés") << QStringList{"Vis \"inox\"", "\""}
                                            << QByteArray("\"Vis \"\"inox\"\"\";\"\"\"\";\r\n");
        QTest::newRow("champ vide") << QStringList{"", "12,50"} << QByteArray("\"\";\"12,50\";\r\n");
        QTest::newRow("point-virgule gardé") << QStringList{"a;b"} << QByteArray("\"a;b\";\r\n");
        QTest::newRow("Windows-1252") << QStringList{"Fenêtre à 12 €", "Œil"}
                                      << QByteArray("\"Fen\xEAtre \xE0 12 \x80\";\"\x8Cil\";\r\n");
        QTest::newRow("hors du jeu") << QStringList{"Ω"} << QByteArray("\"?\";\r\n");
        QTest::newRow("aucun champ") << QStringList{} << QByteArray("\r\n");
    }

    void ligne()
    {
        QFETCH(QStringList, champs);
        QFETCH(QByteArray, octets);
        QCOMPARE(LigneCsv(champs), octets);
    }

    void encodageSelonLesValeurs()
    {
        QCOMPARE(LigneCsv({"日本", "é"}, EncodageCsv::Utf8), QByteArray("\"\xE6\x97\xA5\xE6\x9C\xAC\";\"\xC3\xA9\";\r\n"));
        // Every character of Windows-1252, its five unassigned bytes included, fits.
        QString tous;
        for (int octet = 1; octet < 256; ++octet)
            tous += DecoderCp1252(QByteArray(1, char(octet)));
        const auto encodage = [](const QVector<QStringList>& lignes) {
            const ChoixEncodage choix = EncodageLisible(lignes);
            return choix.encodage == EncodageCsv::Utf8 ? choix.exemple : QStringLiteral("Windows-1252");
        };
        QCOMPARE(encodage({{"Fenêtre à 12 €", tous}, {"a"}}), QStringLiteral("Windows-1252"));
        QCOMPARE(encodage({{"a"}, {"b", "Vis 日本", "Ω"}}), QStringLiteral("Vis 日本"));
        QCOMPARE(encodage({{"😀"}}), QStringLiteral("😀"));
        // Bytes that a reader would take for UTF-8 ("Ã©" is "é" there),
        // unless another value shows they are not.
        QCOMPARE(encodage({{"a", "Ã©"}}), QStringLiteral("Ã©"));
        QCOMPARE(encodage({{"Ã©", "Fenêtre"}}), QStringLiteral("Windows-1252"));
    }

    void lecture_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QVector<QStringList>>("lignes");

        const QStringList hostiles{"Vis \"inox\"", "a;b", "\"", "", "multi\r\nligne\n", "\"\";\"", "x\"", "O"};
        // Every value comes back as written.
        QTest::newRow("ligne exportée relue") << LigneCsv(hostiles) << QVector<QStringList>{hostiles};
        QTest::newRow("dernière ligne sans LF") << QByteArray("\"A\";\"B\";\r\n\"C\";\"D\";")
                                                 << QVector<QStringList>{{"A", "B"}, {"C", "D"}};
        QTest::newRow("ligne vide") << QByteArray("\r\n") << QVector<QStringList>{{""}};
        QTest::newRow("neuvième champ et suivants") << QByteArray("1;2;3;4;5;6;7;8;9;10\n")
                                                     << QVector<QStringList>{{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}};
        QTest::newRow("CR partout ignoré") << QByteArray("a\rb;\rc\n") << QVector<QStringList>{{"ab", "c"}};
        QTest::newRow("guillemets de champ seulement") << QByteArray("\"x\"y\";z\"\n")
                                                        << QVector<QStringList>{{"x\"y", "z\""}};
        QTest::newRow("Windows-1252") << QByteArray("\"Fen\xEAtre \x80\";\n") << QVector<QStringList>{{"Fenêtre €"}};
        QTest::newRow("fichier vide") << QByteArray() << QVector<QStringList>{};
        // As spreadsheets write them: no quotes, no final semicolon, empty fields.
        QTest::newRow("tableur") << QByteArray("a;;\"b;c\"\r\n;\n")
                                 << QVector<QStringList>{{"a", "", "b;c"}, {""}};
        QTest::newRow("UTF-8 avec marque") << QByteArray("\xEF\xBB\xBF\"CodeExport\";\"\xC3\x89querre \xE6\x97\xA5\";\r\n")
                                           << QVector<QStringList>{{"CodeExport", "Équerre 日"}};
        QTest::newRow("UTF-8 sans marque") << QByteArray("\xC3\x89querre;\xE2\x82\xAC\n")
                                           << QVector<QStringList>{{"Équerre", "€"}};
        QTest::newRow("marque puis octets invalides") << QByteArray("\xEF\xBB\xBF" "a\xE9;b\n")
                                                      << QVector<QStringList>{{"a\uFFFD", "b"}};
        QTest::newRow("guillemet jamais fermé") << QByteArray("a;\"b;c\nd\n")
                                                << QVector<QStringList>{{"a", "b;c\nd\n"}};
        // Older Macintosh spreadsheets: CR alone ends the lines, when the file has no LF.
        QTest::newRow("fins de ligne CR") << QByteArray("\"A\";\"B\";\r\"C\";D\r;\rE;F")
                                          << QVector<QStringList>{{"A", "B"}, {"C", "D"}, {""}, {"E", "F"}};
        QTest::newRow("fins de ligne CR, valeur sur deux lignes") << QByteArray("\"a\rb\";c\r")
                                                                  << QVector<QStringList>{{"a\rb", "c"}};
    }

    void lecture()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QVector<QStringList>, lignes);
        QCOMPARE(Champs(LireLignesCsv(octets)), lignes);
    }

    void numerosEtDefautsDesLignes()
    {
        const QByteArray octets = LigneCsv({"a", "deux\r\nlignes", "c"}) + "x;y;z;;;\r\n\r\n" + "1;2\n\"ouvert;\n";
        const QVector<LigneLue> lignes = LireLignesCsv(octets);
        QCOMPARE(lignes.size(), 5);
        QCOMPARE(lignes[0].numero, 1);
        QCOMPARE(lignes[1].numero, 3); // after the value spread over two lines
        QCOMPARE(lignes[2].numero, 4);
        QCOMPARE(lignes[4].numero, 6);
        QVERIFY(lignes[2].EstVide());
        QCOMPARE(lignes[0].Defaut(3), std::nullopt);
        QCOMPARE(lignes[1].Defaut(3), std::nullopt); // empty columns past the last
        QCOMPARE(lignes[1].Defaut(2), std::optional<QString>("3 champs au lieu de 2"));
        QCOMPARE(lignes[0].Defaut(5), std::optional<QString>("3 champs au lieu de 5"));
        QCOMPARE(lignes[3].Defaut(2), std::nullopt);
        QCOMPARE(lignes[3].Defaut(3), std::optional<QString>("2 champs au lieu de 3"));
        // A last field left empty after a final semicolon, as spreadsheets write it.
        const LigneLue tableur = LireLignesCsv("a;b;\r\n").first();
        QCOMPARE(tableur.champs, (QStringList{"a", "b"}));
        QCOMPARE(tableur.Defaut(3), std::nullopt);
        QCOMPARE(tableur.Champ(2), QString());
        QCOMPARE(tableur.Defaut(4), std::optional<QString>("2 champs au lieu de 4"));
        QVERIFY(!lignes[4].complete);
        QCOMPARE(lignes[4].Defaut(1), std::optional<QString>("guillemet non fermé avant la fin du fichier"));
        // Lines ended by CR alone are counted alike.
        const QVector<LigneLue> macintosh = LireLignesCsv("a\r\"b\rc\"\rd\r");
        QCOMPARE(macintosh.size(), 3);
        QCOMPARE(macintosh[1].numero, 2);
        QCOMPARE(macintosh[2].numero, 4);
    }

    // Amounts as spreadsheets write them under a decimal comma, their
    // digits grouped by three; under a decimal point the groups stay refused.
    void montantsDesTableurs_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<std::optional<double>>("valeur");
        const QLocale francais(QLocale::French, QLocale::France);
        const std::optional<double> refuse;
        QTest::newRow("espace") << francais << "1 234,56" << std::optional(1234.56);
        QTest::newRow("espace insécable") << francais << "1\u00A0234,56" << std::optional(1234.56);
        QTest::newRow("espace fine insécable, négatif") << francais << "-12\u202F345\u202F678,9" << std::optional(-12345678.9);
        QTest::newRow("blancs autour") << francais << " 1 234 " << std::optional(1234.0);
        QTest::newRow("sans groupes") << francais << "1234,5" << std::optional(1234.5);
        QTest::newRow("groupe de deux") << francais << "12 34,5" << refuse;
        QTest::newRow("premier groupe de quatre") << francais << "1234 567" << refuse;
        QTest::newRow("deux espaces") << francais << "1  234" << refuse;
        QTest::newRow("espace avant la virgule") << francais << "1 234 ,5" << refuse;
        QTest::newRow("espace dans les décimales") << francais << "1,234 5" << refuse;
        QTest::newRow("espace après le signe") << francais << "- 1 234" << refuse;
        QTest::newRow("point décimal sous une virgule") << francais << "1 234.5" << refuse;
        QTest::newRow("deux nombres") << francais << "12 5" << refuse;
        const QLocale anglais(QLocale::English, QLocale::UnitedKingdom);
        QTest::newRow("point décimal, espace") << anglais << "1 234.5" << refuse;
        QTest::newRow("point décimal, sans groupes") << anglais << "1234.5" << std::optional(1234.5);
    }

    void montantsDesTableurs()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, texte);
        QFETCH(std::optional<double>, valeur);
        QLocale::setDefault(locale);
        QCOMPARE(LireDecimalTableur(texte), valeur);
        QLocale::setDefault(QLocale::c());
    }

    void exportImportExportMemesOctets()
    {
        const QVector<QStringList> valeurs{{"Vis \"spéciale\"", "semi;colon", "multi\r\nligne"},
                                           {"\"\"\"\"", "", "fin\""}};
        for (const EncodageCsv encodage : {EncodageCsv::Cp1252, EncodageCsv::Utf8}) {
            QByteArray fichier = encodage == EncodageCsv::Utf8 ? kMarqueUtf8 : QByteArray();
            for (const QStringList& ligne : valeurs)
                fichier += LigneCsv(ligne, encodage);
            const QVector<QStringList> relues = Champs(LireLignesCsv(fichier));
            QCOMPARE(relues, valeurs);
            QByteArray reecrit = encodage == EncodageCsv::Utf8 ? kMarqueUtf8 : QByteArray();
            for (const QStringList& ligne : relues)
                reecrit += LigneCsv(ligne, encodage);
            QCOMPARE(reecrit, fichier);
        }
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
