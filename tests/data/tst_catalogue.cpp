// The hardware catalogue below the windows: export lines and the import
// that replaces the whole table, read back from the database; what is
// exported reads back, and a file that is not a catalogue changes nothing.

#include "BaseTemporaire.h"
#include "LignesTexte.h"

#include "data/CatalogueQuincaillerie.h"
#include "model/LigneCsv.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral("SELECT CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, "
                                          "NbPiecesML, Secable FROM Quincaillerie ORDER BY IdQuincaillerie");

// The file the export writes for these lines.
QByteArray Fichier(const QVector<QStringList>& lignes)
{
    QVector<QStringList> toutes = lignes;
    toutes.prepend(CatalogueQuincaillerie::EnteteExportation());
    const EncodageCsv encodage = EncodageLisible(toutes).encodage;
    QByteArray octets = encodage == EncodageCsv::Utf8 ? kMarqueUtf8 : QByteArray();
    for (const QStringList& ligne : toutes)
        octets += LigneCsv(ligne, encodage);
    return octets;
}

// Imports the file, the question answered "Oui"; the examination made.
CatalogueQuincaillerie::Importation Importer(const QByteArray& octets)
{
    return CatalogueQuincaillerie::Importer(LireLignesCsv(octets),
                                            [](const CatalogueQuincaillerie::Examen&) { return true; });
}

QStringList Ecartees(const CatalogueQuincaillerie::Examen& examen)
{
    QStringList textes;
    for (const LigneEcartee& ecartee : examen.ecartees)
        textes << QStringLiteral("%1 %2").arg(ecartee.ligne).arg(ecartee.raison);
    return textes;
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

        const CatalogueQuincaillerie::Importation importation = Importer(Fichier(lignes));
        QVERIFY(importation.faite);
        QCOMPARE(importation.examen.entrees.size(), 2);
        QCOMPARE(importation.examen.nombreActuel, 2);
        // New keys, numbers as written, a quote as it was.
        QVERIFY(base.Valeur("SELECT MIN(IdQuincaillerie) FROM Quincaillerie").toInt() > premiereCle.toInt() + 1);
        QCOMPARE(LignesTexte(base.Base(), kCatalogue),
                 (QStringList{"C1|Cheville|Ø 8|12.5|7|50|0|0", "V2|Vis \"inox\"||1.23|0.5|100|2|1"}));
    }

    void libellesHostilesRelus()
    {
        BaseTemporaire base;
        const QString long150 = QString(149, u'x') + QStringLiteral("日");
        QVector<CatalogueQuincaillerie::Article> hostiles{
            {"S", "semi;colon", "", 1, 2, 3, 4, true},
            {"M", "multi\r\nligne", "fin\n", 0, 0, 0, 0, false},
            {"J", "日本", "Vis \"spéciale\"", 0.5, 0, 0, 0, true},
            {"G", "\"\"", "\";\"", 0, 0, 0, 0, false},
        };
        // The file keeps a text longer than its column; a server refuses it.
        const bool texteLong = !base.Base().EstServeur();
        if (texteLong)
            hostiles.append({"L", long150, "", 0, 0, 0, 0, false});
        for (const auto& article : hostiles)
            CatalogueQuincaillerie::Enregistrer({}, article);
        const QStringList avant = LignesTexte(base.Base(), kCatalogue);
        const QByteArray exporte = Fichier(CatalogueQuincaillerie::LignesExportation());
        QVERIFY(exporte.startsWith(kMarqueUtf8));

        const CatalogueQuincaillerie::Importation importation = Importer(exporte);
        QVERIFY(importation.faite);
        QCOMPARE(importation.examen.ecartees.size(), 0);
        // The one text longer than its column is cut, and counted.
        QCOMPARE(importation.examen.textesCoupes, texteLong ? 1 : 0);
        QStringList attendu = avant;
        attendu.replaceInStrings(long150, long150.left(100));
        QStringList apres = LignesTexte(base.Base(), kCatalogue);
        apres.sort();
        attendu.sort();
        QCOMPARE(apres, attendu);
        // Exported again, the same bytes.
        const QByteArray reexporte = Fichier(CatalogueQuincaillerie::LignesExportation());
        QCOMPARE(Importer(reexporte).faite, true);
        QCOMPARE(Fichier(CatalogueQuincaillerie::LignesExportation()), reexporte);

        // An ordinary catalogue keeps its Windows-1252 bytes.
        BaseTemporaire ordinaire;
        CatalogueQuincaillerie::Enregistrer({}, {"É1", "Équerre à 12 €", "Œil", 1, 1, 1, 1, false});
        QCOMPARE(Fichier(CatalogueQuincaillerie::LignesExportation()),
                 LigneCsv(CatalogueQuincaillerie::EnteteExportation())
                     + QByteArray("\"\xC9" "1\";\"\xC9querre \xE0 12 \x80\";\"\x8Cil\";\"1,00\";\"1,00\";\"1,00\";\"1,00\";\"N\";\r\n"));
    }

    void lignesImportees_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QStringList>("ecartees");
        const QStringList ancien{"ANCIEN|Ancien||1|1|1|1|0"};
        // Blank lines stand for nothing: the file has no entry.
        QTest::newRow("ligne vide") << QByteArray("\r\n") << ancien << QStringList{};
        QTest::newRow("point-virgule dans un libellé")
            << Fichier({{"A", "Vis; tête", "", "1,5", "2", "3", "4", "O"}}) << QStringList{"A|Vis; tête||1.5|2|3|4|1"}
            << QStringList{};
        QTest::newRow("autre séparateur décimal")
            << QByteArray("A;B;C;1.5;2,5;x;;o\nB;;;2,5;;;;o\n") << QStringList{"B|||2.5|0|0|0|1"}
            << QStringList{"1 tarif de vente illisible « 1.5 »"};
        QTest::newRow("sécable écrit autrement")
            << QByteArray("A;;;;;;;1\nB;;;;;;;OUI\nC;;;;;;;n\nD;;;;;;; o \n")
            << QStringList{"C|||0|0|0|0|0", "D|||0|0|0|0|1"}
            << QStringList{"1 sécable illisible « 1 » (O ou N attendu)", "2 sécable illisible « OUI » (O ou N attendu)"};
        QTest::newRow("dernière ligne sans LF") << QByteArray("A;;;;;;;O\r\nB;;;;;;;O")
                                                 << QStringList{"A|||0|0|0|0|1", "B|||0|0|0|0|1"} << QStringList{};
        QTest::newRow("fichier vide") << QByteArray() << ancien << QStringList{};
        QTest::newRow("en-tête seul") << Fichier({}) << ancien << QStringList{};
        QTest::newRow("en-tête derrière une marque")
            << QByteArray("\xEF\xBB\xBF\"CodeExport\";\"Libelle\";\r\n\"\xC3\x89\";\"\xC3\x89querre\";;;;;;\"N\";\r\n")
            << QStringList{"É|Équerre||0|0|0|0|0"} << QStringList{};
        QTest::newRow("montants hors limites")
            << Fichier({{"A", "", "", "1e308", "", "", "", ""}, {"B", "", "", "", "99999999999999999999", "", "", ""},
                        {"C", "", "", "", "", "-1e12", "", ""}, {"D", "", "", "999999999999,99", "", "", "", ""},
                        {"E", "", "", "", "", "", "1e400", ""}, {"F", "", "", "", "", "", "", ""},
                        {"G", "", "", "", "", "", "", ""}, {"H", "", "", "", "", "", "", ""}})
            << QStringList{"D|||999999999999.99|0|0|0|0", "F|||0|0|0|0|0", "G|||0|0|0|0|0", "H|||0|0|0|0|0"}
            << QStringList{"2 tarif de vente hors limites « 1e308 »",
                           "3 tarif d'achat hors limites « 99999999999999999999 »",
                           "4 nombre de pièces hors limites « -1e12 »", "6 nombre de pièces ML illisible « 1e400 »"};
        // More lines set aside than entries: the file is refused.
        QTest::newRow("surtout illisible") << QByteArray("A;;;;;;;\nB;1\nC;2\n\"D;;;;;;;\n") << ancien
                                           << QStringList{"2 2 champs au lieu de 8", "3 2 champs au lieu de 8",
                                                          "4 guillemet non fermé avant la fin du fichier"};
    }

    void lignesImportees()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QStringList, catalogue);
        QFETCH(QStringList, ecartees);
        BaseTemporaire base;
        CatalogueQuincaillerie::Enregistrer({}, {"ANCIEN", "Ancien", "", 1, 1, 1, 1, false});
        const CatalogueQuincaillerie::Importation importation = Importer(octets);
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), catalogue);
        QCOMPARE(Ecartees(importation.examen), ecartees);
        QCOMPARE(importation.faite, importation.examen.Refus().isEmpty());
    }

    void fichierQuiNEstPasUnCatalogue()
    {
        BaseTemporaire base;
        CatalogueQuincaillerie::Enregistrer({}, {"ANCIEN", "Ancien", "", 1, 1, 1, 1, false});
        const QStringList avant = LignesTexte(base.Base(), kCatalogue);
        QByteArray hasard(2 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator generateur(22);
        for (char& octet : hasard)
            octet = char(generateur.bounded(256));
        bool demande = false;
        const auto importation = CatalogueQuincaillerie::Importer(LireLignesCsv(hasard), [&](const auto&) {
            demande = true;
            return true;
        });
        QVERIFY(!demande);
        QVERIFY(!importation.faite);
        QVERIFY(!importation.examen.Refus().isEmpty());
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);
        QCOMPARE(CatalogueQuincaillerie::Importer(LireLignesCsv(Fichier({})), [&](const auto&) { return true; })
                     .examen.Refus(),
                 QStringLiteral("Le fichier ne contient aucune entrée à importer."));

        // Answered "Non", the question changes nothing either.
        const auto refusee = CatalogueQuincaillerie::Importer(
            LireLignesCsv(Fichier({{"N", "", "", "", "", "", "", ""}})), [](const auto&) { return false; });
        QVERIFY(!refusee.faite);
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);
    }

    // A large catalogue goes in a statement per slice of as many entries as
    // the engine takes parameters, not one per entry, with the same rows.
    void grandCatalogueParTranches()
    {
        BaseTemporaire base;
        QVector<QStringList> lignes;
        for (int i = 0; i < 3000; ++i)
            lignes.append({QStringLiteral("C%1").arg(i), QStringLiteral("Vis %1").arg(i), QString(), "1,50", "0,75",
                           "100,00", "0,00", i % 2 ? "O" : "N"});
        int progression = 0;
        const quint64 avant = base.Base().Instructions();
        QVERIFY(CatalogueQuincaillerie::Importer(LireLignesCsv(Fichier(lignes)),
                                                 [](const CatalogueQuincaillerie::Examen&) { return true; },
                                                 [&](int faites, int total) {
                                                     QVERIFY(faites > progression && total == 3000);
                                                     progression = faites;
                                                 })
                    .faite);
        const quint64 tranches = (3000 * 8 + base.Base().ParametresMax() - 1) / base.Base().ParametresMax();
        QVERIFY2(base.Base().Instructions() - avant <= 6 + tranches, qPrintable(QString::number(base.Base().Instructions() - avant)));
        QCOMPARE(progression, 3000);
        const QStringList lues = LignesTexte(base.Base(), kCatalogue);
        QCOMPARE(lues.size(), 3000);
        QCOMPARE(lues.first(), QStringLiteral("C0|Vis 0||1.5|0.75|100|0|0"));
        QCOMPARE(lues.last(), QStringLiteral("C2999|Vis 2999||1.5|0.75|100|0|1"));
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
                                    "le catalogue n'a pas été modifié.\nrefus"));
        }
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
