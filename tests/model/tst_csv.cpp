// The semicolon-separated line of the exports and of the import, byte for byte.

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
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
