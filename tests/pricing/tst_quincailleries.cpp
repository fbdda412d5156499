// The hardware rules below the hardware dialogs, without any window: the
// catalogue look-ups, the lengths and sides counted, the quantities computed,
// added and typed.

#include "DonneesReference.h"

#include "data/RechercheQuincaillerie.h"
#include "model/Formats.h"
#include "model/Menuiserie.h"
#include "model/Quincaillerie.h"
#include "pricing/QuantitesQuincaillerie.h"

#include <QtTest>
#include <memory>
#include <vector>

namespace {

struct Catalogue
{
    double vente;
    double nbPieces;
    double nbPiecesMl;
    int secable;
};

// Items of "HAUTEURxLARGEUR" millimetres, and the view the dialogs are given.
struct Menuiseries
{
    std::vector<std::unique_ptr<TMenuiserie>> possedees;
    MenuiseriesConcernees vue;

    explicit Menuiseries(const QStringList& dimensions)
    {
        for (const QString& dimension : dimensions) {
            const QStringList hl = dimension.split(QLatin1Char('x'));
            possedees.push_back(NouvelleMenuiserie({"HAUTEUR=" + hl.value(0), "LARGEUR=" + hl.value(1)}));
            vue.append(possedees.back().get());
        }
    }
};

QString ErreurSommes(const QStringList& dimensions)
{
    return SommerDimensions(Menuiseries(dimensions).vue).illisibles.join(QLatin1Char('\n'));
}

QStringList Libelles(const QVector<TQuincaillerie>& entrees)
{
    QStringList libelles;
    for (const TQuincaillerie& entree : entrees)
        libelles << entree.GetLibelle();
    return libelles;
}

} // namespace

Q_DECLARE_METATYPE(Catalogue)
Q_DECLARE_METATYPE(ChoixCotes)

class TestQuincailleries : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;
    std::unique_ptr<DonneesReference> donnees;

private slots:
    void init()
    {
        base = std::make_unique<BaseTemporaire>();
        donnees = std::make_unique<DonneesReference>(*base);
    }

    void cleanup()
    {
        donnees.reset();
        base.reset();
    }

    void quantitesCalculees_data()
    {
        QTest::addColumn<QStringList>("dimensions");
        QTest::addColumn<ChoixCotes>("cotes");
        QTest::addColumn<Catalogue>("catalogue");
        QTest::addColumn<double>("quantite"); // -1: cannot be computed, kept

        const QStringList fenetre{"1200x800"}; // perimeter 4 m
        const ChoixCotes perimetre{true, false, false, false, false};
        QTest::newRow("un paquet par metre") << fenetre << perimetre << Catalogue{10, 1, 1, 0} << 4.0;
        QTest::newRow("1,2 arrondi a 2") << fenetre << perimetre << Catalogue{10, 10, 3, 0} << 2.0;
        QTest::newRow("1,2 secable") << fenetre << perimetre << Catalogue{10, 10, 3, 1} << 1.2;
        QTest::newRow("1ere hauteur seule") << fenetre << ChoixCotes{false, true, false, false, false}
                                            << Catalogue{10, 1, 1, 1} << 1.2;
        QTest::newRow("deux largeurs") << fenetre << ChoixCotes{false, false, false, true, true}
                                       << Catalogue{10, 1, 1, 1} << 1.6;
        // Sums 3000 and 1500 mm: 9 metres.
        QTest::newRow("deux menuiseries") << QStringList{"1000x500", "2000x1000"} << perimetre
                                          << Catalogue{10, 1, 1, 0} << 9.0;
        QTest::newRow("prix de vente nul") << fenetre << perimetre << Catalogue{0, 1, 1, 0} << -1.0;
        QTest::newRow("paquet sans piece") << fenetre << perimetre << Catalogue{10, 0, 1, 0} << -1.0;
    }

    // The same quantity whether the entry is added from the catalogue or
    // recomputed.
    void quantitesCalculees()
    {
        QFETCH(QStringList, dimensions);
        QFETCH(ChoixCotes, cotes);
        QFETCH(Catalogue, catalogue);
        QFETCH(double, quantite);
        const QString id = donnees->EntreeCatalogue("Vis", "inox", catalogue.vente, 4.0, catalogue.nbPieces,
                                                    catalogue.nbPiecesMl, catalogue.secable);
        const SommesDimensions sommes = SommerDimensions(Menuiseries(dimensions).vue);
        TQuincailleries liste;

        TQuincaillerie* ajoutee = AjouterDuCatalogue(liste, id, cotes.Compter(), sommes);
        QVERIFY(ajoutee);
        QCOMPARE(ajoutee->GetQuantite(), quantite < 0 ? 0.0 : quantite);
        QCOMPARE(ajoutee->GetCodeExport(), "Q" + id);
        ajoutee->SetQuantite(7.0);
        RecalculerQuantites(liste, cotes.Compter(), sommes);
        QCOMPARE(liste[0].GetQuantite(), quantite < 0 ? 7.0 : quantite);
    }

    void sommesIllisibles()
    {
        QCOMPARE(SommerDimensions(Menuiseries({"1000x500", "2000x1000"}).vue).hauteurs, 3000);
        const auto sansLargeur = NouvelleMenuiserie({"HAUTEUR=900"});
        QCOMPARE(SommerDimensions({sansLargeur.get()}).largeurs, 0);
        QCOMPARE(ErreurSommes({"1000x50,5"}),
                 QStringLiteral("La propriété LARGEUR de la menuiserie vaut « 50,5 », qui n'est pas un nombre entier."));
        QVERIFY(ErreurSommes({"2000000000x1", "2000000000x1"}).contains(QStringLiteral("HAUTEUR")));
        // What can be read still counts; several items name the one at fault.
        Menuiseries deux({"abcx500", "2000x1000"});
        deux.possedees[0]->SetLibelle(QStringLiteral("Fenêtre séjour"));
        const SommesDimensions sommes = SommerDimensions(deux.vue);
        QCOMPARE(sommes.hauteurs, 2000);
        QCOMPARE(sommes.largeurs, 1500);
        QCOMPARE(sommes.illisibles, QStringList{QStringLiteral("La propriété HAUTEUR de la menuiserie « Fenêtre séjour » "
                                                               "vaut « abc », qui n'est pas un nombre entier.")});
        QCOMPARE(SommerDimensions(Menuiseries({"2000000000x1", "2000000000x1"}).vue).hauteurs, 0);
    }

    void quantitesSaisies_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<double>("quantite");
        QTest::addColumn<int>("refus"); // RefusMontant

        // Saved as shown: the two-decimal value.
        const int prise = int(RefusMontant::Aucun);
        QTest::newRow("valeur affichee") << FormatMonetaire(1.234) << 1.23 << prise;
        QTest::newRow("nombre tape") << "2,5" << 2.5 << prise;
        QTest::newRow("au centime") << "2,499" << 2.5 << prise;
        // Refused, the quantity stays.
        QTest::newRow("pas un nombre") << "abc" << 1.234 << int(RefusMontant::Illisible);
        QTest::newRow("separateur de milliers") << "1 000" << 1.234 << int(RefusMontant::Illisible);
        QTest::newRow("hors limites") << "20000000000000" << 1.234 << int(RefusMontant::HorsLimites);
        QTest::newRow("cellule videe") << "" << 1.234 << prise;
    }

    void quantitesSaisies()
    {
        QFETCH(QString, texte);
        QFETCH(double, quantite);
        QFETCH(int, refus);
        TQuincailleries liste;
        for (const char* id : {"5", "5", "8"}) {
            TQuincaillerie& entree = liste.Ajouter();
            entree.SetId(QLatin1String(id));
            entree.SetQuantite(1.234);
        }

        // The same entry added twice: each row keeps to its own entry.
        QCOMPARE(SaisirQuantite(liste, 0, {"5", "3,00"}), RefusMontant::Aucun);
        QCOMPARE(int(SaisirQuantite(liste, 1, {"5", texte})), refus);
        QCOMPARE(SaisirQuantite(liste, 2, {QString(), "9"}), RefusMontant::Aucun);
        QCOMPARE(liste[0].GetQuantite(), 3.0);
        QCOMPARE(liste[1].GetQuantite(), quantite);
        QCOMPARE(liste[2].GetQuantite(), 1.234);
        // A row out of step with the list finds the first entry of its key.
        QCOMPARE(EntreeDeLigne(liste, 0, QStringLiteral("8")), &liste[2]);
    }

    void catalogue()
    {
        const QString vis = donnees->EntreeCatalogue("Vis inox", "Boîte", 12, 6, 100, 8, 1);
        const QString equerre = donnees->EntreeCatalogue("ÉQUERRE", "acier", 9, 4, 0, 2, 0);
        const QString cheville = donnees->EntreeCatalogue("cheville", "Boîte", 5, 2, 50, 4, 0);

        // As typed, upper-cased or lower-cased, accented letters included.
        QCOMPARE(Libelles(Quincailleries::Rechercher("", "")), (QStringList{"Vis inox", "cheville", "ÉQUERRE"}));
        QCOMPARE(Libelles(Quincailleries::Rechercher("équerre", "")), QStringList{"ÉQUERRE"});
        QCOMPARE(Libelles(Quincailleries::Rechercher("CHEV", "boîte")), QStringList{"cheville"});
        QCOMPARE(Libelles(Quincailleries::Rechercher("vis", "acier")), QStringList{});
        QCOMPARE(Libelles(Quincailleries::Rechercher("' or 1=1 --", "")), QStringList{});
        // A label the catalogue left null reads as the empty text: an empty
        // search on it finds the entry, any other text does not.
        const QString sansLibelle = donnees->EntreeCatalogue("", "Sachet", 1, 1, 0, 0, 0);
        const QString sansLibelle2 = donnees->EntreeCatalogue("Rivet", "", 1, 1, 0, 0, 0);
        base->Executer("UPDATE Quincaillerie SET Libelle = NULL WHERE IdQuincaillerie = " + sansLibelle);
        base->Executer("UPDATE Quincaillerie SET Libelle2 = NULL WHERE IdQuincaillerie = " + sansLibelle2);
        QCOMPARE(Libelles(Quincailleries::Rechercher("", "")),
                 (QStringList{"", "Rivet", "Vis inox", "cheville", "ÉQUERRE"}));
        QCOMPARE(Libelles(Quincailleries::Rechercher("RIV", "")), QStringList{"Rivet"});
        QCOMPARE(Libelles(Quincailleries::Rechercher("", "sachet")), QStringList{""});
        QCOMPARE(Libelles(Quincailleries::Rechercher("riv", "b")), QStringList{});
        QCOMPARE(Libelles(Quincailleries::Rechercher("i", "")), (QStringList{"Rivet", "Vis inox", "cheville"}));

        const std::optional<TQuincaillerie> lue = Quincailleries::EntreeCatalogue(vis);
        QVERIFY(lue);
        QCOMPARE(lue->GetXml(), QStringLiteral("<quincaillerie id=\"%1\" libelle=\"Vis inox\" libelle2=\"Boîte\" "
                                               "tarif_vente=\"12,00\" tarif_achat=\"6,00\" nb_pieces=\"100,00\" "
                                               "nb_pieces_ml=\"8,00\" quantite=\"0,00\" secable=\"1\" "
                                               "code_export=\"Q%1\"/>")
                                    .arg(vis));
        QVERIFY(!Quincailleries::EntreeCatalogue(vis + " or 1=1"));
        // The price of a linear metre, none for a pack without pieces.
        QCOMPARE(FormatMonetaire(PrixAuMetre(*lue).value_or(-1)), QStringLiteral("0,96"));
        QVERIFY(!PrixAuMetre(*Quincailleries::EntreeCatalogue(equerre)));

        // Changed prices: any of the four values, to the last bit; an entry
        // gone from the catalogue is neither marked nor added.
        const TQuincaillerie devis = *Quincailleries::EntreeCatalogue(cheville);
        QVERIFY(!Quincailleries::PrixModifies(devis));
        for (const auto& [colonne, valeur] : {std::pair{"TarifVente", 5}, {"TarifAchat", 2}, {"NbPieces", 50},
                                               {"NbPiecesML", 4}}) {
            const QString modifier = QStringLiteral("UPDATE Quincaillerie SET %1 = :Valeur WHERE IdQuincaillerie = %2")
                                         .arg(QLatin1String(colonne), cheville);
            base->Executer(modifier, {{"Valeur", valeur + 0.001}});
            QVERIFY2(Quincailleries::PrixModifies(devis), colonne);
            base->Executer(modifier, {{"Valeur", valeur}});
            QVERIFY2(!Quincailleries::PrixModifies(devis), colonne);
        }
        base->Executer("DELETE FROM Quincaillerie WHERE IdQuincaillerie = " + cheville);
        QVERIFY(!Quincailleries::PrixModifies(devis));
        TQuincailleries liste;
        QVERIFY(!AjouterDuCatalogue(liste, cheville, {2, 2}, {}));
    }
};

QTEST_GUILESS_MAIN(TestQuincailleries)
#include "tst_quincailleries.moc"
