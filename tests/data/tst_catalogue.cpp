// The hardware catalogue below the windows: export lines and the import
// that replaces the whole table, read back from the database; what is
// exported reads back, and a file that is not a catalogue changes nothing.

#include "BaseTemporaire.h"
#include "LignesTexte.h"

#include "data/CatalogueQuincaillerie.h"
#include "data/RechercheQuincaillerie.h"
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

// The catalogue a quote was priced with: each entry by the letter its key
// stands for in the tests.
const QVector<std::pair<QString, CatalogueQuincaillerie::Article>> kStockes{
    {"A", {"Q1", "Paumelle", "140", 10, 5, 2, 0, false}},
    {"B", {"", "Vis", "inox", 1, 0.5, 100, 0, false}},
    {"C", {"Q3", "Crémone", "gauche", 20, 10, 1, 0, true}},
    {"D", {"Q3", "Crémone", "droite", 21, 10, 1, 0, true}},
};

// A change made to the exported file in a spreadsheet: a field of the line
// of an entry set to a value, the line taken out (field -1), or a line added
// (no entry).
struct Retouche
{
    QString entree;
    int champ;
    QString valeur;
};

void Retoucher(QVector<QStringList>& lignes, const Retouche& retouche)
{
    if (retouche.entree.isEmpty()) {
        lignes.append(retouche.valeur.split(QLatin1Char('|')));
        return;
    }
    const auto stocke = std::find_if(kStockes.cbegin(), kStockes.cend(),
                                     [&](const auto& paire) { return paire.first == retouche.entree; });
    const CatalogueQuincaillerie::Article& article = stocke->second;
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        if (lignes[i].mid(0, 3) != QStringList{article.codeExport, article.libelle, article.libelle2})
            continue;
        if (retouche.champ < 0)
            lignes.removeAt(i);
        else
            lignes[i][retouche.champ] = retouche.valeur;
        return;
    }
}

} // namespace

Q_DECLARE_METATYPE(Retouche)

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
        const QStringList avant = LignesTexte(base.Base(), "SELECT * FROM Quincaillerie ORDER BY IdQuincaillerie");

        // Read back, the export is the catalogue as it is: nothing to write,
        // a price that two decimals round included.
        const CatalogueQuincaillerie::Importation importation = Importer(Fichier(lignes));
        QVERIFY(!importation.faite);
        QVERIFY(importation.examen.RienAEcrire());
        QCOMPARE(importation.examen.entrees.size(), 2);
        QCOMPARE(importation.examen.inchangees, 2);
        QCOMPARE(importation.examen.nombreActuel, 2);
        QCOMPARE(LignesTexte(base.Base(), "SELECT * FROM Quincaillerie ORDER BY IdQuincaillerie"), avant);
    }

    // A catalogue exported, changed in a spreadsheet and imported: the
    // products the file still gives keep their keys, so that a quote priced
    // with them takes their new values at its refresh.
    void clesGardees_data()
    {
        QTest::addColumn<Retouche>("retouche");
        QTest::addColumn<QString>("bilan");            // new, changed, unchanged, removed
        QTest::addColumn<QStringList>("supprimees");   // letter, and the line set aside naming it
        QTest::addColumn<QStringList>("catalogue");    // by key: its letter ("+" new), code, labels, sale price
        QTest::addColumn<int>("actualisees");          // of the quote's entries A and B
        const QString a = "A|Q1|Paumelle|140|10", b = "B||Vis|inox|1", c = "C|Q3|Crémone|gauche|20",
                      d = "D|Q3|Crémone|droite|21";
        // The file's lines: heading, B, A, D, C.
        QTest::newRow("rien de changé") << Retouche{"A", 0, "Q1"} << "0 0 4 0" << QStringList{}
                                        << QStringList{a, b, c, d} << 0;
        QTest::newRow("prix, même code") << Retouche{"A", 3, "12,50"} << "0 1 3 0" << QStringList{}
                                         << QStringList{"A|Q1|Paumelle|140|12.5", b, c, d} << 1;
        QTest::newRow("libellé, même code") << Retouche{"C", 1, "Crémone laquée"} << "0 1 3 0" << QStringList{}
                                            << QStringList{a, b, "C|Q3|Crémone laquée|gauche|20", d} << 0;
        QTest::newRow("prix, mêmes libellés sans code") << Retouche{"B", 3, "1 234,50"} << "0 1 3 0" << QStringList{}
                                                       << QStringList{a, "B||Vis|inox|1234.5", c, d} << 1;
        QTest::newRow("code donné, mêmes libellés") << Retouche{"B", 0, "Q2"} << "0 1 3 0" << QStringList{}
                                                   << QStringList{a, "B|Q2|Vis|inox|1", c, d} << 0;
        QTest::newRow("code effacé, mêmes libellés") << Retouche{"A", 0, ""} << "0 1 3 0" << QStringList{}
                                                    << QStringList{"A||Paumelle|140|10", b, c, d} << 0;
        QTest::newRow("autre code, autre produit") << Retouche{"C", 0, "Q4"} << "1 0 3 1" << QStringList{"C"}
                                                   << QStringList{a, b, d, "+|Q4|Crémone|gauche|20"} << 0;
        QTest::newRow("autres libellés sans code") << Retouche{"B", 2, "laiton"} << "1 0 3 1" << QStringList{"B"}
                                                   << QStringList{a, c, d, "+||Vis|laiton|1"} << 0;
        QTest::newRow("nouveau") << Retouche{"", 0, "Q9|Équerre||4,00|2,00|1,00|0,00|N"} << "1 0 4 0"
                                 << QStringList{} << QStringList{a, b, c, d, "+|Q9|Équerre||4"} << 0;
        QTest::newRow("ligne retirée") << Retouche{"A", -1, ""} << "0 0 3 1" << QStringList{"A"}
                                       << QStringList{b, c, d} << 0;
        QTest::newRow("ligne écartée") << Retouche{"A", 3, "21.50"} << "0 0 3 1" << QStringList{"A ligne 3"}
                                       << QStringList{b, c, d} << 0;
        QTest::newRow("sécable écarté") << Retouche{"D", 7, "oui"} << "0 0 3 1" << QStringList{"D ligne 4"}
                                        << QStringList{a, b, c} << 0;
    }

    void clesGardees()
    {
        QFETCH(Retouche, retouche);
        QFETCH(QString, bilan);
        QFETCH(QStringList, supprimees);
        QFETCH(QStringList, catalogue);
        QFETCH(int, actualisees);
        BaseTemporaire base;
        QHash<QString, QString> lettres; // by key
        for (const auto& [lettre, article] : kStockes) {
            CatalogueQuincaillerie::Enregistrer({}, article);
            lettres.insert(base.Valeur("SELECT MAX(IdQuincaillerie) FROM Quincaillerie"), lettre);
        }
        // The quote priced with A and B.
        TQuincailleries devis;
        for (const QString& cle : {lettres.key("A"), lettres.key("B")})
            devis.Ajouter(std::make_unique<TQuincaillerie>(*Quincailleries::EntreeCatalogue(cle)));

        QVector<QStringList> lignes = CatalogueQuincaillerie::LignesExportation();
        Retoucher(lignes, retouche);
        const CatalogueQuincaillerie::Importation importation = Importer(Fichier(lignes));
        const CatalogueQuincaillerie::Examen& examen = importation.examen;
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(examen.nouvelles.size())
                     .arg(examen.modifiees.size())
                     .arg(examen.inchangees)
                     .arg(examen.supprimees.size()),
                 bilan);
        QStringList lues;
        for (const CatalogueQuincaillerie::EntreeSupprimee& supprimee : examen.supprimees)
            lues << lettres.value(supprimee.stockee.cle)
                        + (supprimee.ligneEcartee ? QStringLiteral(" ligne %1").arg(supprimee.ligneEcartee) : QString());
        QCOMPARE(lues, supprimees);
        QCOMPARE(importation.faite, !examen.RienAEcrire());

        lues.clear();
        for (const QString& ligne : LignesTexte(base.Base(), "SELECT IdQuincaillerie, CodeExport, Libelle, Libelle2, "
                                                             "TarifVente FROM Quincaillerie ORDER BY IdQuincaillerie")) {
            const QString cle = ligne.section(QLatin1Char('|'), 0, 0);
            lues << lettres.value(cle, QStringLiteral("+")) + ligne.mid(cle.size());
        }
        QCOMPARE(lues, catalogue);

        // The refresh takes the new values of the products kept; a product
        // removed leaves the quote's entry as it was.
        QStringList ids;
        QVector<double> prix;
        for (const TQuincaillerie& entree : devis) {
            ids << entree.GetId();
            prix << entree.GetTarifVente();
        }
        QCOMPARE(Quincailleries::Actualiser(devis, Quincailleries::PrixDe(ids)), actualisees);
        for (int i = 0; i < devis.Nombre(); ++i) {
            const std::optional<TQuincaillerie> stockee = Quincailleries::EntreeCatalogue(ids[i]);
            QCOMPARE(devis[i].GetTarifVente(), stockee ? stockee->GetTarifVente() : prix[i]);
        }
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

        // Every value reads back as it was: only the text cut is to be written.
        const CatalogueQuincaillerie::Importation importation = Importer(exporte);
        QCOMPARE(importation.faite, texteLong);
        QCOMPARE(importation.examen.inchangees, int(hostiles.size()) - (texteLong ? 1 : 0));
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
        QVERIFY(Importer(reexporte).examen.RienAEcrire());
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

        // Nor is anything written when another copy changed the catalogue
        // between the question and the answer.
        const auto devancee =
            CatalogueQuincaillerie::Importer(LireLignesCsv(Fichier({{"N", "", "", "", "", "", "", ""}})), [&](const auto&) {
                base.Executer("UPDATE Quincaillerie SET TarifVente = 3");
                return true;
            });
        QVERIFY(!devancee.faite);
        QVERIFY(devancee.modifieAilleurs);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Quincaillerie WHERE CodeExport = 'ANCIEN' AND TarifVente = 3"), 1);
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

        // Imported again with a tenth of its entries gone, a third of the
        // others at a new price and 300 new ones: a statement per slice of
        // each kind of write, and the keys kept.
        const QString derniereCle = base.Valeur("SELECT MAX(IdQuincaillerie) FROM Quincaillerie");
        const QString cleC1 = base.Valeur("SELECT IdQuincaillerie FROM Quincaillerie WHERE CodeExport = 'C1'");
        QVector<QStringList> suivantes;
        for (int i = 1; i < 3300; ++i) {
            if (i % 10 == 0 && i < 3000)
                continue;
            QStringList ligne = lignes.value(i, {QStringLiteral("C%1").arg(i), "Nouvelle", "", "2,00", "1,00",
                                                 "1,00", "0,00", "N"});
            if (i % 3 == 0)
                ligne[3] = "1,60";
            suivantes.append(ligne);
        }
        const quint64 avantReimport = base.Base().Instructions();
        const auto importation = Importer(Fichier(suivantes));
        QVERIFY(importation.faite);
        const auto compte = [](qsizetype lignesEcrites, qsizetype valeurs, int parametresMax) {
            return quint64((lignesEcrites * valeurs + parametresMax - 1) / parametresMax);
        };
        const int parametresMax = base.Base().ParametresMax();
        const qsizetype modifiees = importation.examen.modifiees.size();
        QCOMPARE(importation.examen.supprimees.size(), 300); // C0 as well
        QCOMPARE(modifiees, 900);
        QCOMPARE(importation.examen.nouvelles.size(), 300);
        QVERIFY(base.Base().Instructions() - avantReimport
                <= 6 + 1 + compte(modifiees, 17, parametresMax) + 1 + compte(300, 8, parametresMax));
        QCOMPARE(base.Valeur("SELECT IdQuincaillerie FROM Quincaillerie WHERE CodeExport = 'C1'"), cleC1);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Quincaillerie WHERE IdQuincaillerie <= " + derniereCle), 2700);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Quincaillerie WHERE TarifVente = 1.6"), 1000);
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

        // Likewise an entry the database refuses to change.
        base.PlusDeRefus("INSERT", "Quincaillerie");
        base.Refuser("UPDATE", "Quincaillerie", "NEW.TarifVente = 2");
        try {
            Importer(Fichier({{"ANCIEN", "Ancien", "", "2", "1", "1", "1", "N"}}));
            QFAIL("the import should have failed");
        } catch (const std::runtime_error& erreur) {
            QVERIFY(QString::fromUtf8(erreur.what())
                        .startsWith("Importation - Une erreur est survenue pendant la modification de la ligne 2 : "));
        }
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
