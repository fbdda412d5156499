// The choice lists and the tariff grid from the keyboard: Enter, Space or a
// double-click picks the row the user stands on, selected or only outlined;
// Enter in the hardware search goes to the results; Delete empties a price.

#include "BaseTemporaire.h"
#include "DonneesReference.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "model/Menuiserie.h"
#include "ui/admin/FicheTarifListe.h"
#include "ui/choice/FichePoseChoix.h"
#include "ui/choice/FicheQuincaillerieChoix.h"
#include "ui/choice/FicheTarifChoix.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The gestures that pick a row: a key on the focused list, or a double-click.
const QVector<std::pair<const char*, int>> kGestes = {
    {"Entrée", Qt::Key_Return},
    {"Entrée du pavé numérique", Qt::Key_Enter},
    {"Espace", Qt::Key_Space},
    {"double-clic", 0},
};

// The row becomes the current one without being selected, as when the
// list receives the focus; then the gesture.
void Designer(QAbstractItemView* liste, const QModelIndex& ligne, int touche)
{
    liste->setFocus();
    liste->selectionModel()->clearSelection();
    liste->selectionModel()->setCurrentIndex(ligne, QItemSelectionModel::NoUpdate);
    QVERIFY(!liste->selectionModel()->isSelected(ligne));
    if (touche)
        QTest::keyClick(liste, Qt::Key(touche));
    else
        DoubleCliquer(liste, liste->visualRect(ligne).center());
}

void AjouterGestes()
{
    QTest::addColumn<int>("touche");
    for (const auto& [nom, touche] : kGestes)
        QTest::newRow(nom) << touche;
}

} // namespace

class TestClavier : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;
    std::unique_ptr<DonneesReference> donnees;

private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init()
    {
        base = std::make_unique<BaseTemporaire>();
        donnees = std::make_unique<DonneesReference>(*base);
    }
    void cleanup()
    {
        QVERIFY(AucuneFenetreOuverte());
        donnees.reset();
        base.reset();
    }

    void tarifDesigne_data() { AjouterGestes(); }
    void tarifDesigne()
    {
        QFETCH(int, touche);
        const QString pose = donnees->Pose(QStringLiteral("Pose en neuf"));
        const QString type = donnees->Type(QStringLiteral("Fenêtre"), QStringLiteral("10100"));
        donnees->Tarif(pose, donnees->Categorie(QStringLiteral("A petite"), type), 100.0);
        const QString grande = donnees->Tarif(pose, donnees->Categorie(QStringLiteral("B grande"), type), 250.0);
        const auto menuiserie = NouvelleMenuiserie({QStringLiteral("HAUTEUR=1500")});
        TFicheTarifChoix fiche(nullptr);
        fiche.SetMenuiserie(menuiserie.get());
        fiche.SetIdPose(pose);

        const int resultat = ExecuterModal<TFicheTarifChoix>(fiche, [touche](TFicheTarifChoix* ouverte) {
            QTreeWidget* liste = Liste(ouverte);
            Designer(liste, liste->model()->index(1, 0), touche);
        });

        QCOMPARE(resultat, int(QDialog::Accepted));
        QCOMPARE(fiche.GetIdTarif(), grande);
        QCOMPARE(fiche.GetPrix(), 250.0);
    }

    void poseDesignee_data() { AjouterGestes(); }
    void poseDesignee()
    {
        QFETCH(int, touche);
        donnees->Pose(QStringLiteral("Dépose"));
        const QString neuf = donnees->Pose(QStringLiteral("Pose en neuf"));
        TFichePoseChoix fiche(nullptr);
        fiche.ChargerListe();

        const int resultat = ExecuterModal<TFichePoseChoix>(fiche, [touche](TFichePoseChoix* ouverte) {
            auto* liste = Controle<QListWidget>(ouverte, QStringLiteral("lvListe"));
            Designer(liste, liste->model()->index(1, 0), touche);
        });

        QCOMPARE(resultat, int(QDialog::Accepted));
        QCOMPARE(fiche.GetIdPose(), neuf);
    }

    // Enter in either search field goes to the results, where Enter picks.
    void rechercheQuincaillerie_data()
    {
        QTest::addColumn<QString>("champ");
        QTest::newRow("libellé") << QStringLiteral("edtLibelle");
        QTest::newRow("libellé 2") << QStringLiteral("edtLibelle2");
    }
    void rechercheQuincaillerie()
    {
        QFETCH(QString, champ);
        donnees->EntreeCatalogue(QStringLiteral("Vis béton"), QStringLiteral("Boîte"), 24.9, 13.8, 100, 4, 1);
        const QString mousse =
            donnees->EntreeCatalogue(QStringLiteral("Mousse expansive"), QStringLiteral("Cartouche"), 12.4, 6.7, 1, 0.25, 0);
        TFicheQuincaillerieChoix fiche(nullptr);

        const int resultat = ExecuterModal<TFicheQuincaillerieChoix>(fiche, [champ](TFicheQuincaillerieChoix* ouverte) {
            auto* recherche = Controle<QLineEdit>(ouverte, champ);
            recherche->setFocus();
            QTest::keyClicks(recherche, champ == QStringLiteral("edtLibelle") ? QStringLiteral("mou")
                                                                              : QStringLiteral("cart"));
            QTest::keyClick(recherche, Qt::Key_Return);
            QTreeWidget* liste = Liste(ouverte);
            QCOMPARE(ouverte->focusWidget(), liste);
            QCOMPARE(Colonne(liste), QStringList{QStringLiteral("Mousse expansive")});
            QTest::keyClick(liste, Qt::Key_Return);
        });

        QCOMPARE(resultat, int(QDialog::Accepted));
        QCOMPARE(fiche.GetIdQuincaillerie(), mousse);
    }

    // Delete empties the price under the cursor as typing it empty would:
    // the save then removes that tariff, and no other.
    void supprEffaceUnPrix()
    {
        const QString pose = donnees->Pose(QStringLiteral("Pose en neuf"));
        const QString type = donnees->Type(QStringLiteral("Fenêtre"), QStringLiteral("10100"));
        donnees->Tarif(pose, donnees->Categorie(QStringLiteral("A petite"), type), 100.0);
        const QString grande = donnees->Tarif(pose, donnees->Categorie(QStringLiteral("B grande"), type), 250.0);
        TFicheTarifListe fiche(nullptr);
        fiche.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fiche));
        auto* grille = Controle<QTableWidget>(&fiche, QStringLiteral("sgListe"));
        grille->setFocus();
        grille->setCurrentCell(1, 1);
        QTest::keyClick(grille, Qt::Key_Delete);
        QCOMPARE(grille->item(1, 1)->text(), QString());
        QCOMPARE(grille->item(0, 1)->text(), QStringLiteral("100"));

        Cliquer(&fiche, QStringLiteral("btnValider"));
        QCOMPARE(base->Compter(QStringLiteral("SELECT COUNT(*) FROM Tarif")), 1);
        QCOMPARE(base->Compter(QStringLiteral("SELECT COUNT(*) FROM Tarif WHERE IdTarif = %1").arg(grande)), 0);
        fiche.close();
    }
};

QTEST_MAIN(TestClavier)
#include "tst_clavier.moc"
