// The hardware rules below the hardware dialogs, without any window: the
// catalogue look-ups, the lengths and sides counted, the quantities computed,
// added and typed.

#include "BaseTemporaire.h"
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

// "1200x800" items.
std::vector<std::unique_ptr<TMenuiserie>> Menuiseries(const QStringList& dimensions)
{
    std::vector<std::unique_ptr<TMenuiserie>> menuiseries;
    for (const QString& dimension : dimensions) {
        const QStringList hl = dimension.split(QLatin1Char('x'));
        menuiseries.push_back(NouvelleMenuiserie({QStringLiteral("HAUTEUR=") + hl.value(0),
                                                  QStringLiteral("LARGEUR=") + hl.value(1)}));
    }
    return menuiseries;
}

MenuiseriesConcernees Vue(const std::vector<std::unique_ptr<TMenuiserie>>& menuiseries)
{
    MenuiseriesConcernees vue;
    for (const auto& menuiserie : menuiseries)
        vue.append(menuiserie.get());
    return vue;
}

QString Erreur(const MenuiseriesConcernees& menuiseries)
{
    try {
        SommerDimensions(menuiseries);
    } catch (const std::exception& erreur) {
        return QString::fromUtf8(erreur.what());
    }
    return QString();
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
        QTest::addColumn<double>("quantite");

        const ChoixCotes perimetre;
        ChoixCotes premiereHauteur{false, true, false, false, false};
        ChoixCotes deuxLargeurs{false, false, false, true, true};
        // Perimeter of 1200 x 800: 4 metres.
        QTest::newRow("un paquet par metre") << QStringList{"1200x800"} << perimetre << Catalogue{10, 1, 1, 0} << 4.0;
        QTest::newRow("1,2 arrondi a 2") << QStringList{"1200x800"} << perimetre << Catalogue{10, 10, 3, 0} << 2.0;
        QTest::newRow("1,2 secable") << QStringList{"1200x800"} << perimetre << Catalogue{10, 10, 3, 1} << 1.2;
        QTest::newRow("1ere hauteur seule") << QStringList{"1200x800"} << premiereHauteur << Catalogue{10, 1, 1, 1}
                                            << 1.2;
        QTest::newRow("deux largeurs") << QStringList{"1200x800"} << deuxLargeurs << Catalogue{10, 1, 1, 1} << 1.6;
        // Sums 3000 and 1500 mm: 9 metres.
        QTest::newRow("deux menuiseries") << QStringList{"1000x500", "2000x1000"} << perimetre
                                          << Catalogue{10, 1, 1, 0} << 9.0;
        QTest::newRow("prix de vente nul") << QStringList{"1200x800"} << perimetre << Catalogue{0, 1, 1, 0} << -1.0;
        QTest::newRow("paquet sans piece") << QStringList{"1200x800"} << perimetre << Catalogue{10, 0, 1, 0} << -1.0;
    }

    // The same quantity whether the entry is added from the catalogue or
    // recomputed; -1: the quantity cannot be computed and is kept.
    void quantitesCalculees()
    {
        QFETCH(QStringList, dimensions);
        QFETCH(ChoixCotes, cotes);
        QFETCH(Catalogue, catalogue);
        QFETCH(double, quantite);
        const QString id = donnees->EntreeCatalogue(QStringLiteral("Vis"), QStringLiteral("inox"), catalogue.vente,
                                                    4.0, catalogue.nbPieces, catalogue.nbPiecesMl, catalogue.secable);
        const auto menuiseries = Menuiseries(dimensions);
        const SommesDimensions sommes = SommerDimensions(Vue(menuiseries));
        TQuincailleries liste;

        TQuincaillerie* ajoutee = AjouterDuCatalogue(liste, id, cotes.Compter(), sommes);
        QVERIFY(ajoutee);
        QCOMPARE(liste.Nombre(), 1);
        QCOMPARE(ajoutee->GetQuantite(), quantite < 0 ? 0.0 : quantite);
        QCOMPARE(ajoutee->GetCodeExport(), QStringLiteral("Q") + id);

        ajoutee->SetQuantite(7.0);
        RecalculerQuantites(liste, cotes.Compter(), sommes);
        QCOMPARE(liste[0].GetQuantite(), quantite < 0 ? 7.0 : quantite);
    }

    void sommesEtCotes()
    {
        const auto deux = Menuiseries({QStringLiteral("1000x500"), QStringLiteral("2000x1000")});
        const SommesDimensions sommes = SommerDimensions(Vue(deux));
        QCOMPARE(sommes.hauteurs, 3000);
        QCOMPARE(sommes.largeurs, 1500);
        // An item without a dimension adds nothing; no item, nothing at all.
        const auto sansLargeur = NouvelleMenuiserie({QStringLiteral("HAUTEUR=900")});
        QCOMPARE(SommerDimensions({sansLargeur.get()}).largeurs, 0);
        QCOMPARE(SommerDimensions({}).hauteurs, 0);

        const auto illisible = Menuiseries({QStringLiteral("1000x50,5")});
        QCOMPARE(Erreur(Vue(illisible)),
                 QStringLiteral("La propriété LARGEUR de la menuiserie vaut « 50,5 », qui n'est pas un nombre entier."));
        const auto immenses = Menuiseries({QStringLiteral("2000000000x1"), QStringLiteral("2000000000x1")});
        QVERIFY(Erreur(Vue(immenses)).contains(QStringLiteral("HAUTEUR")));

        // The perimeter counts both of each, whatever the boxes say.
        const Comptage perimetre = ChoixCotes{true, false, false, false, false}.Compter();
        QCOMPARE(perimetre.nbHauteurs, 2);
        QCOMPARE(perimetre.nbLargeurs, 2);
        const ChoixCotes cotes{false, true, true, false, true};
        QCOMPARE(cotes.Compter().nbHauteurs, 2);
        QCOMPARE(cotes.Compter().nbLargeurs, 1);
        QVERIFY(!cotes.AucunCote());
        QVERIFY(ChoixCotes({false, false, false, false, false}).AucunCote());
        QVERIFY(!ChoixCotes({true, false, false, false, false}).AucunCote());
    }

    void quantitesSaisies_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<double>("quantite");

        // Saved as shown: the two-decimal value.
        QTest::newRow("valeur affichee") << FormatMonetaire(1.234) << 1.23;
        QTest::newRow("nombre tape") << "2,5" << 2.5;
        QTest::newRow("pas un nombre") << "abc" << 1.0;
        QTest::newRow("separateur de milliers") << "1 000" << 1.0;
        QTest::newRow("cellule videe") << "" << 1.234;
    }

    void quantitesSaisies()
    {
        QFETCH(QString, texte);
        QFETCH(double, quantite);
        TQuincailleries liste;
        for (const QString& id : {QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("8")}) {
            TQuincaillerie& entree = liste.Ajouter();
            entree.SetId(id);
            entree.SetQuantite(1.234);
        }

        // The same entry added twice: each row keeps to its own entry.
        EnregistrerSaisies(liste, {{QStringLiteral("5"), QStringLiteral("3,00")},
                                   {QStringLiteral("5"), texte},
                                   {QString(), QStringLiteral("9")}});
        QCOMPARE(liste[0].GetQuantite(), 3.0);
        QCOMPARE(liste[1].GetQuantite(), quantite);
        QCOMPARE(liste[2].GetQuantite(), 1.234);
        QCOMPARE(EntreeDeLigne(liste, 1, QStringLiteral("5")), &liste[1]);
        // A row out of step with the list finds the first entry of its key.
        QCOMPARE(EntreeDeLigne(liste, 0, QStringLiteral("8")), &liste[2]);
        QCOMPARE(EntreeDeLigne(liste, 0, QString()), nullptr);
    }

    void catalogue()
    {
        const QString vis = donnees->EntreeCatalogue(QStringLiteral("Vis inox"), QStringLiteral("Boîte"), 12, 6, 100, 8, 1);
        const QString equerre = donnees->EntreeCatalogue(QStringLiteral("ÉQUERRE"), QStringLiteral("acier"), 9, 4, 0, 2, 0);
        const QString cheville = donnees->EntreeCatalogue(QStringLiteral("cheville"), QStringLiteral("Boîte"), 5, 2, 50, 4, 0);
        const auto libelles = [](const QVector<TQuincaillerie>& entrees) {
            QStringList textes;
            for (const TQuincaillerie& entree : entrees)
                textes << entree.GetLibelle();
            return textes;
        };

        QCOMPARE(libelles(Quincailleries::Rechercher(QString(), QString())),
                 (QStringList{"Vis inox", "cheville", "ÉQUERRE"}));
        // As typed, upper-cased or lower-cased, accented letters included.
        QCOMPARE(libelles(Quincailleries::Rechercher(QStringLiteral("équerre"), QString())), QStringList{"ÉQUERRE"});
        QCOMPARE(libelles(Quincailleries::Rechercher(QStringLiteral("CHEV"), QString())), QStringList{"cheville"});
        QCOMPARE(libelles(Quincailleries::Rechercher(QString(), QStringLiteral("boîte"))),
                 (QStringList{"Vis inox", "cheville"}));
        QCOMPARE(libelles(Quincailleries::Rechercher(QStringLiteral("vis"), QStringLiteral("acier"))), QStringList{});
        QCOMPARE(libelles(Quincailleries::Rechercher(QStringLiteral("' or 1=1 --"), QString())), QStringList{});

        const std::optional<TQuincaillerie> lue = Quincailleries::EntreeCatalogue(vis);
        QVERIFY(lue);
        QCOMPARE(lue->GetXml(), QStringLiteral("<quincaillerie id=\"%1\" libelle=\"Vis inox\" libelle2=\"Boîte\" "
                                               "tarif_vente=\"12,00\" tarif_achat=\"6,00\" nb_pieces=\"100,00\" "
                                               "nb_pieces_ml=\"8,00\" quantite=\"0,00\" secable=\"1\" "
                                               "code_export=\"Q%1\"/>")
                                    .arg(vis));
        QVERIFY(!Quincailleries::EntreeCatalogue(vis + QStringLiteral(" or 1=1")));
        QVERIFY(!Quincailleries::EntreeCatalogue(QStringLiteral("999")));

        // The price of a linear metre, none for a pack without pieces.
        QCOMPARE(FormatMonetaire(PrixAuMetre(*lue).value_or(-1)), QStringLiteral("0,96"));
        QVERIFY(!PrixAuMetre(*Quincailleries::EntreeCatalogue(equerre)));

        // Changed prices: any of the four values, to the last bit; an entry
        // gone from the catalogue is not marked.
        TQuincaillerie devis = *Quincailleries::EntreeCatalogue(cheville);
        devis.SetQuantite(3);
        QVERIFY(!Quincailleries::PrixModifies(devis));
        const std::pair<const char*, double> valeurs[] = {
            {"TarifVente", 5}, {"TarifAchat", 2}, {"NbPieces", 50}, {"NbPiecesML", 4}};
        for (const auto& [colonne, valeur] : valeurs) {
            const QString modifier = QStringLiteral("UPDATE Quincaillerie SET %1 = :Valeur WHERE IdQuincaillerie = %2")
                                         .arg(QLatin1String(colonne), cheville);
            base->Executer(modifier, {{QStringLiteral("Valeur"), valeur + 0.001}});
            QVERIFY2(Quincailleries::PrixModifies(devis), colonne);
            base->Executer(modifier, {{QStringLiteral("Valeur"), valeur}});
            QVERIFY2(!Quincailleries::PrixModifies(devis), colonne);
        }
        base->Executer(QStringLiteral("DELETE FROM Quincaillerie WHERE IdQuincaillerie = ") + cheville);
        QVERIFY(!Quincailleries::PrixModifies(devis));
        TQuincailleries liste;
        QVERIFY(!AjouterDuCatalogue(liste, cheville, {2, 2}, {}));
        QCOMPARE(liste.Nombre(), 0);
    }
};

QTEST_GUILESS_MAIN(TestQuincailleries)
#include "tst_quincailleries.moc"
