// The semicolon-separated line of the exports, byte for byte, and the
// reading of such files back.

#include "model/LigneCsv.h"

#include <QtTest>

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

    void lecture_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QVector<QStringList>>("lignes");

        const QByteArray exportee = LigneCsv({"Vis \"inox\"", "a;b", "\"", "", "12,50", "0,00", "1,00", "O"});
        // A doubled quote comes back as two quotes; a semicolon inside a
        // value shifts the fields after it, the last one being dropped.
        QTest::newRow("ligne exportée relue")
            << exportee
            << QVector<QStringList>{{"Vis \"\"inox\"\"", "a", "b", "\"\"", "", "12,50", "0,00", "1,00"}};
        QTest::newRow("dernière ligne sans LF") << QByteArray("\"A\";\"B\";\r\n\"C\";\"D\";")
                                                 << QVector<QStringList>{{"A", "B", "", "", "", "", "", ""}};
        QTest::newRow("ligne vide") << QByteArray("\r\n") << QVector<QStringList>{QStringList(8, QString())};
        QTest::newRow("neuvième champ et suivants") << QByteArray("1;2;3;4;5;6;7;8;9;10\n")
                                                     << QVector<QStringList>{{"1", "2", "3", "4", "5", "6", "7", "8"}};
        QTest::newRow("CR partout ignoré") << QByteArray("a\rb;\rc\n")
                                            << QVector<QStringList>{{"ab", "c", "", "", "", "", "", ""}};
        QTest::newRow("guillemets de champ seulement") << QByteArray("\"x\"y\";z\"\n")
                                                        << QVector<QStringList>{{"x\"y", "z\"", "", "", "", "", "", ""}};
        QTest::newRow("Windows-1252") << QByteArray("\"Fen\xEAtre \x80\";\n")
                                       << QVector<QStringList>{{"Fenêtre €", "", "", "", "", "", "", ""}};
        QTest::newRow("fichier vide") << QByteArray() << QVector<QStringList>{};
    }

    void lecture()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QVector<QStringList>, lignes);
        QCOMPARE(LireLignesCsv(octets, 8), lignes);
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
