// The hardware catalogue below the windows: export lines and the import
// that replaces the whole table, read back from the database.

#include "BaseTemporaire.h"
#include "LignesTexte.h"

#include "data/CatalogueQuincaillerie.h"
#include "model/LigneCsv.h"

#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral("SELECT CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, "
                                          "NbPiecesML, Secable FROM Quincaillerie ORDER BY IdQuincaillerie");

QByteArray Fichier(const QVector<QStringList>& lignes)
{
    QByteArray octets = LigneCsv(CatalogueQuincaillerie::EnteteExportation());
    for (const QStringList& ligne : lignes)
        octets += LigneCsv(ligne);
    return octets;
}

int Importer(const QByteArray& octets)
{
    return CatalogueQuincaillerie::Importer(LireLignesCsv(octets, CatalogueQuincaillerie::kNombreChamps));
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UtiliserLocaleFrancaise(); }

    void exportPuisImport()
    {
        BaseTemporaire base;
        CatalogueQuincaillerie::Enregistrer({}, {"V2", "Vis \"inox\"", "", 1.234, 0.5, 100, 2, true});
        CatalogueQuincaillerie::Enregistrer({}, {"C1", "Cheville", "Ø 8", 12.5, 7, 50, 0, false});
        const QVector<QStringList> lignes = CatalogueQuincaillerie::LignesExportation();
        QCOMPARE(lignes, (QVector<QStringList>{{"C1", "Cheville", "Ø 8", "12,50", "7,00", "50,00", "0,00", "N"},
                                               {"V2", "Vis \"inox\"", "", "1,23", "0,50", "100,00", "2,00", "O"}}));
        const QString premiereCle = base.Valeur("SELECT MIN(IdQuincaillerie) FROM Quincaillerie");

        QCOMPARE(Importer(Fichier(lignes)), 2);
        // New keys, numbers as written, a doubled quote kept doubled.
        QVERIFY(base.Valeur("SELECT MIN(IdQuincaillerie) FROM Quincaillerie").toInt() > premiereCle.toInt() + 1);
        QCOMPARE(LignesTexte(base.Base(), kCatalogue),
                 (QStringList{"C1|Cheville|Ø 8|12.5|7|50|0|0", "V2|Vis \"\"inox\"\"||1.23|0.5|100|2|1"}));
    }

    void lignesImportees_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QStringList>("catalogue");
        QTest::newRow("ligne vide") << QByteArray("\r\n") << QStringList{"|||0|0|0|0|0"};
        QTest::newRow("point-virgule dans un libellé")
            << Fichier({{"A", "Vis; tête", "", "1,5", "2", "3", "4", "O"}}) << QStringList{"A|Vis| tête|0|1.5|2|3|0"};
        QTest::newRow("autre séparateur décimal") << QByteArray("A;B;C;1.5;2,5;x;;o\n")
                                                   << QStringList{"A|B|C|0|2.5|0|0|1"};
        QTest::newRow("sécable écrit autrement") << QByteArray("A;;;;;;;1\nB;;;;;;;OUI\n")
                                                  << QStringList{"A|||0|0|0|0|0", "B|||0|0|0|0|0"};
        QTest::newRow("dernière ligne sans LF") << QByteArray("A;;;;;;;O\r\nB;;;;;;;O")
                                                 << QStringList{"A|||0|0|0|0|1"};
        QTest::newRow("fichier vide") << QByteArray() << QStringList{};
    }

    void lignesImportees()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QStringList, catalogue);
        BaseTemporaire base;
        CatalogueQuincaillerie::Enregistrer({}, {"ANCIEN", "Ancien", "", 1, 1, 1, 1, false});
        Importer(octets);
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), catalogue);
    }

    void importEchoueGardeLeCatalogue()
    {
        BaseTemporaire base;
        CatalogueQuincaillerie::Enregistrer({}, {"ANCIEN", "Ancien", "", 1, 1, 1, 1, false});
        const QStringList avant = LignesTexte(base.Base(), kCatalogue);
        base.Refuser("INSERT", "Quincaillerie", "NEW.CodeExport = 'MAUVAIS'");
        try {
            Importer(Fichier({{"BON", "", "", "", "", "", "", ""}, {"MAUVAIS", "", "", "", "", "", "", ""}}));
            QFAIL("the import should have failed");
        } catch (const std::runtime_error& erreur) {
            QCOMPARE(QString::fromUtf8(erreur.what()),
                     QStringLiteral("Importation - Une erreur est survenue pendant l'insertion de la ligne 3 : "
                                    "refus\nLe catalogue n'a pas été modifié."));
        }
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
