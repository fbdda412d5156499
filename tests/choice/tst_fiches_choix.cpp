#include "DonneesReference.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "model/Menuiserie.h"
#include "ui/choice/FichePoseChoix.h"
#include "ui/choice/FichePoseurChoix.h"
#include "ui/choice/FicheTarifChoix.h"
#include "ui/common/Messages.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// "caption|price" per row, in list order.
QStringList Lignes(QTreeWidget* liste)
{
    QStringList lignes;
    for (int i = 0; i < liste->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* ligne = liste->topLevelItem(i);
        lignes << ligne->text(0) + QLatin1Char('|') + ligne->text(1);
    }
    return lignes;
}

QString Selection(QListWidget* liste)
{
    const auto selection = liste->selectedItems();
    return selection.isEmpty() ? QString() : selection.first()->text();
}

QTreeWidgetItem* LigneDeLibelle(QTreeWidget* liste, const QString& libelle)
{
    const auto trouvees = liste->findItems(libelle, Qt::MatchExactly, 0);
    return trouvees.isEmpty() ? nullptr : trouvees.first();
}

QPoint CentreDe(QTreeWidget* liste, QTreeWidgetItem* ligne)
{
    return liste->visualItemRect(ligne).center();
}

// A point of the list below its last row.
QPoint ZoneVide(QAbstractItemView* liste)
{
    return QPoint(10, liste->viewport()->height() - 5);
}

// The window loses then regains the focus, as around a message box.
void Reactiver(QWidget* fenetre)
{
    QEvent desactivation(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(fenetre, &desactivation);
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(fenetre, &activation);
}

} // namespace

class TestFichesChoix : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;
    std::unique_ptr<DonneesReference> donnees;
    QString posePrincipale;
    QHash<QString, QString> tarifs; // short name -> IdTarif

    void CreerTarifs();

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listeTarifs_data();
    void listeTarifs();
    void sansFiltrageReconstruitLaListe();
    void enTeteDimensions_data();
    void enTeteDimensions();
    void dimensionIllisible();
    void dimensionIllisibleDesLOuverture();
    void activationReconstruitLaListe();
    void preselection_data();
    void preselection();
    void choixParDoubleClic_data();
    void choixParDoubleClic();
    void doubleClicSansSelection();
    void choixAuClavier();

    void poseListeEtSelection_data();
    void poseListeEtSelection();
    void poseValiderAussitot();
    void poseValiderSansSelection();
    void poseImages();
    void poseTableVide();

    void poseurColonnesEtOrdre();
    void poseurSansPreselection();
    void poseurClicChoisit();
    void poseurClicHorsLigne();
    void poseurClavier_data();
    void poseurClavier();
};

void TestFichesChoix::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void TestFichesChoix::init()
{
    base = std::make_unique<BaseTemporaire>();
    donnees = std::make_unique<DonneesReference>(*base);
    tarifs.clear();
}

void TestFichesChoix::cleanup()
{
    QVERIFY(AucuneFenetreOuverte());
    donnees.reset();
    base.reset();
}

// Tariffs of one installation kind, inserted in an order that is not the
// order of their labels.
void TestFichesChoix::CreerTarifs()
{
    DonneesReference& d = *donnees;
    posePrincipale = d.Pose(QStringLiteral("Pose en neuf"));
    const QString autrePose = d.Pose(QStringLiteral("Rénovation"));

    const QString fenetre = d.Type(QStringLiteral("Fenêtre"), QStringLiteral("10100"));
    const QString volet = d.Type(QStringLiteral("Volet"), QStringLiteral("10300"));
    const QString porte = d.Type(QStringLiteral("Porte"), QStringLiteral("d'ab"));
    const QString sansLibelle = d.Type(QString(), QStringLiteral("10100"));

    const QString petite = d.Categorie(QStringLiteral("Petite"), fenetre);
    d.Contrainte(petite, QStringLiteral("HAUTEUR"), QStringLiteral("<="), QStringLiteral("1000"));
    const QString grande = d.Categorie(QStringLiteral("Grande"), fenetre);
    d.Contrainte(grande, QStringLiteral("HAUTEUR"), QStringLiteral(">"), QStringLiteral("1000"));
    const QString nue = d.Categorie(QString(), fenetre);
    const QString standard = d.Categorie(QStringLiteral("Standard"), volet);
    const QString speciale = d.Categorie(QStringLiteral("Spéciale"), fenetre);
    d.Contrainte(speciale, QStringLiteral("POIDS"), QStringLiteral(">="), QStringLiteral("0"));
    const QString entree = d.Categorie(QStringLiteral("Entrée"), porte);
    const QString muette = d.Categorie(QString(), sansLibelle);
    const QString supprimee = d.Categorie(QStringLiteral("Supprimée"), fenetre);
    const QString isolee = d.Categorie(QStringLiteral("Isolée"), QStringLiteral("-1"));

    tarifs[QStringLiteral("petite")] = d.Tarif(posePrincipale, petite, 100.0);
    tarifs[QStringLiteral("grande")] = d.Tarif(posePrincipale, grande, 1234.5);
    tarifs[QStringLiteral("nue")] = d.Tarif(posePrincipale, nue, QVariant());
    tarifs[QStringLiteral("standard")] = d.Tarif(posePrincipale, standard, 99.999);
    tarifs[QStringLiteral("speciale")] = d.Tarif(posePrincipale, speciale, 50.0);
    tarifs[QStringLiteral("entree")] = d.Tarif(posePrincipale, entree, 75.25);
    tarifs[QStringLiteral("muette")] = d.Tarif(posePrincipale, muette, 10.0);
    tarifs[QStringLiteral("supprimee")] = d.Tarif(posePrincipale, supprimee, 10.0);
    tarifs[QStringLiteral("isolee")] = d.Tarif(posePrincipale, isolee, 10.0);
    tarifs[QStringLiteral("poseur")] = d.Tarif(posePrincipale, petite, 80.0, QStringLiteral("7"));
    tarifs[QStringLiteral("autre pose")] = d.Tarif(autrePose, petite, 90.0);
    base->Executer(QStringLiteral("DELETE FROM Categorie WHERE IdCategorie = :Id"),
                   {{QStringLiteral("Id"), supprimee.toLongLong()}});
}

void TestFichesChoix::listeTarifs_data()
{
    QTest::addColumn<QStringList>("proprietes");
    QTest::addColumn<bool>("sansFiltrage");
    QTest::addColumn<QStringList>("attendues");

    const QString petite = QStringLiteral("Fenêtre Petite|100,00");
    const QString grande = QStringLiteral("Fenêtre Grande|1234,50");
    const QString nue = QStringLiteral("Fenêtre|");
    const QString standard = QStringLiteral("Volet Standard|100,00");
    const QString speciale = QStringLiteral("Fenêtre Spéciale|50,00");
    const QString entree = QStringLiteral("Porte Entrée|75,25");

    QTest::newRow("famille, petite") << QStringList{"HAUTEUR=800", "TRELVANE_LIBELLE_CODE=10100"}
                                     << false << QStringList{petite, nue};
    QTest::newRow("famille, grande") << QStringList{"HAUTEUR=1200", "TRELVANE_LIBELLE_CODE=10100"}
                                     << false << QStringList{grande, nue};
    QTest::newRow("sans famille") << QStringList{"HAUTEUR=800"} << false
                                  << QStringList{petite, nue, standard, entree};
    QTest::newRow("famille avec apostrophe") << QStringList{"HAUTEUR=800", "TRELVANE_LIBELLE_CODE=d'ab"}
                                             << false << QStringList{entree};
    QTest::newRow("famille inconnue") << QStringList{"TRELVANE_LIBELLE_CODE=99999"} << false
                                      << QStringList{};
    QTest::newRow("famille vide") << QStringList{"TRELVANE_LIBELLE_CODE="} << false << QStringList{};
    QTest::newRow("sans filtrage") << QStringList{"HAUTEUR=800", "TRELVANE_LIBELLE_CODE=10300"} << true
                                   << QStringList{petite, grande, nue, standard, speciale, entree};
}

void TestFichesChoix::listeTarifs()
{
    QFETCH(QStringList, proprietes);
    QFETCH(bool, sansFiltrage);
    QFETCH(QStringList, attendues);
    CreerTarifs();
    EnregistreurMessages messages;
    const auto menuiserie = NouvelleMenuiserie(proprietes);

    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    fiche.show();
    if (sansFiltrage)
        Controle<QCheckBox>(&fiche, QStringLiteral("cbSansFiltrage"))->click();

    QCOMPARE(Lignes(Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"))), attendues);
    QCOMPARE(messages.Textes(), QStringList{});
    fiche.reject();
}

void TestFichesChoix::sansFiltrageReconstruitLaListe()
{
    CreerTarifs();
    const auto menuiserie =
        NouvelleMenuiserie({QStringLiteral("HAUTEUR=800"), QStringLiteral("TRELVANE_LIBELLE_CODE=10300")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    fiche.show();
    auto* liste = Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"));
    auto* sansFiltrage = Controle<QCheckBox>(&fiche, QStringLiteral("cbSansFiltrage"));
    QCOMPARE(Legende(sansFiltrage), QStringLiteral("Sans filtrage"));
    QVERIFY(!sansFiltrage->isChecked());

    QCOMPARE(Lignes(liste), QStringList{QStringLiteral("Volet Standard|100,00")});
    sansFiltrage->click();
    QCOMPARE(liste->topLevelItemCount(), 6);
    sansFiltrage->click();
    QCOMPARE(Lignes(liste), QStringList{QStringLiteral("Volet Standard|100,00")});
    fiche.reject();
}

void TestFichesChoix::enTeteDimensions_data()
{
    QTest::addColumn<QStringList>("proprietes");
    QTest::addColumn<QStringList>("attendu"); // perimetre, hauteur, largeur, vantaux

    QTest::newRow("complet") << QStringList{"HAUTEUR=1350", "LARGEUR=1200", "VANTAIL=2"}
                             << QStringList{"5100", "1350", "1200", "2"};
    // The header ignores a PERIMETRE property.
    QTest::newRow("perimetre fourni") << QStringList{"HAUTEUR=1000", "LARGEUR=500", "PERIMETRE=9"}
                                      << QStringList{"3000", "1000", "500", "0"};
    QTest::newRow("rien") << QStringList{} << QStringList{"0", "0", "0", "0"};
    QTest::newRow("grandes valeurs") << QStringList{"HAUTEUR=2000000000", "LARGEUR=2000000000"}
                                     << QStringList{"8000000000", "2000000000", "2000000000", "0"};
}

void TestFichesChoix::enTeteDimensions()
{
    QFETCH(QStringList, proprietes);
    QFETCH(QStringList, attendu);
    EnregistreurMessages messages;
    const auto menuiserie = NouvelleMenuiserie(proprietes);

    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.show();
    const QStringList affiche = {
        Controle<QLabel>(&fiche, QStringLiteral("lblPerimetre"))->text(),
        Controle<QLabel>(&fiche, QStringLiteral("lblHauteur"))->text(),
        Controle<QLabel>(&fiche, QStringLiteral("lblLargeur"))->text(),
        Controle<QLabel>(&fiche, QStringLiteral("lblVantail"))->text(),
    };
    QCOMPARE(affiche, attendu);
    QCOMPARE(messages.Textes(), QStringList{});
    QCOMPARE(fiche.windowTitle(), QStringLiteral("Choix du tarif"));
    fiche.reject();
}

void TestFichesChoix::dimensionIllisible()
{
    CreerTarifs();
    EnregistreurMessages messages;
    const auto menuiserie = NouvelleMenuiserie({QStringLiteral("HAUTEUR=800"), QStringLiteral("LARGEUR=1000"),
                                                QStringLiteral("TRELVANE_LIBELLE_CODE=10100")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    fiche.show();
    auto* liste = Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"));
    auto* hauteur = Controle<QLabel>(&fiche, QStringLiteral("lblHauteur"));
    auto* perimetre = Controle<QLabel>(&fiche, QStringLiteral("lblPerimetre"));
    const QStringList avant = Lignes(liste);
    QCOMPARE(avant.size(), 2);

    // The value becomes unreadable and a new tariff appears meanwhile.
    menuiserie->GetProprietes().Trouver(QStringLiteral("LARGEUR"))->SetValeur(QStringLiteral("1250.5"));
    menuiserie->GetProprietes().Trouver(QStringLiteral("HAUTEUR"))->SetValeur(QStringLiteral("900"));
    const QString fenetre = donnees->Type(QStringLiteral("Fenêtre"), QStringLiteral("10100"));
    donnees->Tarif(posePrincipale, donnees->Categorie(QStringLiteral("Neuve"), fenetre), 1.0);
    Reactiver(&fiche);

    QCOMPARE(messages.Recus().size(), 1);
    QCOMPARE(messages.Recus().first().genre, Messages::Genre::Erreur);
    QVERIFY2(messages.Dernier().contains(QStringLiteral("LARGEUR")), qPrintable(messages.Dernier()));
    QVERIFY2(messages.Dernier().contains(QStringLiteral("1250.5")), qPrintable(messages.Dernier()));
    QCOMPARE(hauteur->text(), QStringLiteral("800"));
    QCOMPARE(perimetre->text(), QStringLiteral("3600"));
    QCOMPARE(Lignes(liste), avant);

    // Returning from that message box does not show it again.
    Reactiver(&fiche);
    QCOMPARE(messages.Recus().size(), 1);

    menuiserie->GetProprietes().Trouver(QStringLiteral("LARGEUR"))->SetValeur(QStringLiteral("1250"));
    Reactiver(&fiche);
    QCOMPARE(messages.Recus().size(), 1);
    QCOMPARE(hauteur->text(), QStringLiteral("900"));
    QCOMPARE(perimetre->text(), QStringLiteral("4300"));
    QCOMPARE(Lignes(liste).size(), 3);
    fiche.reject();
}

void TestFichesChoix::dimensionIllisibleDesLOuverture()
{
    CreerTarifs();
    EnregistreurMessages messages;
    const auto menuiserie = NouvelleMenuiserie({QStringLiteral("HAUTEUR=800"), QStringLiteral("VANTAIL=deux")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    QCOMPARE(ExecuterModal<TFicheTarifChoix>(fiche, [](TFicheTarifChoix* ouverte) {
                 Reactiver(ouverte);
                 QCOMPARE(Controle<QLabel>(ouverte, QStringLiteral("lblHauteur"))->text(), QStringLiteral("0"));
                 QCOMPARE(Controle<QTreeWidget>(ouverte, QStringLiteral("lvListe"))->topLevelItemCount(), 0);
             }),
             int(QDialog::Rejected));
    QCOMPARE(messages.Recus().size(), 1);
    QVERIFY(messages.Dernier().contains(QStringLiteral("VANTAIL")));
    QVERIFY(messages.Dernier().contains(QStringLiteral("« deux »")));
}

void TestFichesChoix::activationReconstruitLaListe()
{
    CreerTarifs();
    const auto menuiserie = NouvelleMenuiserie({QStringLiteral("HAUTEUR=800"), QStringLiteral("LARGEUR=900"),
                                                QStringLiteral("TRELVANE_LIBELLE_CODE=10100")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    fiche.SetIdTarif(tarifs.value(QStringLiteral("petite")));
    fiche.show();
    auto* liste = Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"));
    liste->setCurrentItem(LigneDeLibelle(liste, QStringLiteral("Fenêtre")));

    menuiserie->GetProprietes().Trouver(QStringLiteral("HAUTEUR"))->SetValeur(QStringLiteral("1100"));
    Reactiver(&fiche);
    QCOMPARE(Controle<QLabel>(&fiche, QStringLiteral("lblHauteur"))->text(), QStringLiteral("1100"));
    QCOMPARE(Lignes(liste), (QStringList{QStringLiteral("Fenêtre Grande|1234,50"), QStringLiteral("Fenêtre|")}));
    // The preset is no longer listed: nothing is selected.
    QCOMPARE(LibelleSelectionne(liste), QString());

    menuiserie->GetProprietes().Trouver(QStringLiteral("HAUTEUR"))->SetValeur(QStringLiteral("700"));
    Reactiver(&fiche);
    QCOMPARE(LibelleSelectionne(liste), QStringLiteral("Fenêtre Petite"));
    fiche.reject();
}

void TestFichesChoix::preselection_data()
{
    QTest::addColumn<QString>("preselection");
    QTest::addColumn<QString>("attendue");

    QTest::newRow("aucune") << "" << "";
    QTest::newRow("listee") << "nue" << "Fenêtre";
    QTest::newRow("filtree") << "grande" << "";
    QTest::newRow("autre poseur") << "poseur" << "";
    QTest::newRow("inexistante") << "inconnue" << "";
}

void TestFichesChoix::preselection()
{
    QFETCH(QString, preselection);
    QFETCH(QString, attendue);
    CreerTarifs();
    const auto menuiserie =
        NouvelleMenuiserie({QStringLiteral("HAUTEUR=800"), QStringLiteral("TRELVANE_LIBELLE_CODE=10100")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    fiche.SetIdTarif(tarifs.value(preselection, preselection.isEmpty() ? QString() : QStringLiteral("999")));
    fiche.show();
    QCOMPARE(LibelleSelectionne(Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"))), attendue);
    fiche.reject();
}

void TestFichesChoix::choixParDoubleClic_data()
{
    QTest::addColumn<QString>("libelle");
    QTest::addColumn<QString>("tarif");
    QTest::addColumn<double>("prix");

    QTest::newRow("prix") << "Fenêtre Petite" << "petite" << 100.0;
    QTest::newRow("prix nul") << "Fenêtre" << "nue" << 0.0;
    // The price handed back is the one shown, with two decimals.
    QTest::newRow("prix arrondi") << "Volet Standard" << "standard" << 100.0;
    QTest::newRow("prix decimal") << "Porte Entrée" << "entree" << 75.25;
}

void TestFichesChoix::choixParDoubleClic()
{
    QFETCH(QString, libelle);
    QFETCH(QString, tarif);
    QFETCH(double, prix);
    CreerTarifs();
    EnregistreurMessages messages;
    const auto menuiserie = NouvelleMenuiserie({QStringLiteral("HAUTEUR=800")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    fiche.SetIdTarif(tarifs.value(QStringLiteral("petite")));

    const int resultat = ExecuterModal<TFicheTarifChoix>(fiche, [&](TFicheTarifChoix* ouverte) {
        auto* liste = Controle<QTreeWidget>(ouverte, QStringLiteral("lvListe"));
        QTreeWidgetItem* ligne = LigneDeLibelle(liste, libelle);
        QVERIFY(ligne);
        DoubleCliquer(liste, CentreDe(liste, ligne));
    });

    QCOMPARE(resultat, int(QDialog::Accepted));
    QCOMPARE(fiche.GetIdTarif(), tarifs.value(tarif));
    QCOMPARE(fiche.GetLibelle(), libelle);
    QCOMPARE(fiche.GetPrix(), prix);
    QCOMPARE(messages.Textes(), QStringList{});
}

void TestFichesChoix::doubleClicSansSelection()
{
    CreerTarifs();
    EnregistreurMessages messages;
    const auto menuiserie = NouvelleMenuiserie({QStringLiteral("HAUTEUR=800")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);
    fiche.SetIdTarif(tarifs.value(QStringLiteral("petite")));
    bool resteOuverte = false;
    QString caption;

    const int resultat = ExecuterModal<TFicheTarifChoix>(fiche, [&](TFicheTarifChoix* ouverte) {
        auto* liste = Controle<QTreeWidget>(ouverte, QStringLiteral("lvListe"));
        // The preselected row is left for a double-click beside the rows.
        DoubleCliquer(liste, ZoneVide(liste));
        liste->setCurrentItem(LigneDeLibelle(liste, QStringLiteral("Volet Standard")));
        DoubleCliquer(liste, ZoneVide(liste));
        resteOuverte = ouverte->isVisible();
        auto* fermer = Controle<QPushButton>(ouverte, QStringLiteral("btnFermer"));
        caption = Legende(fermer);
        QTest::mouseClick(fermer, Qt::LeftButton);
    });

    QCOMPARE(resultat, int(QDialog::Rejected));
    QVERIFY(resteOuverte);
    QCOMPARE(caption, QStringLiteral("Fermer"));
    QCOMPARE(messages.Textes(), (QStringList{QStringLiteral("Veuillez sélectionner un tarif"),
                                             QStringLiteral("Veuillez sélectionner un tarif")}));
    // Cancelled: nothing chosen, the preset kept.
    QCOMPARE(fiche.GetIdTarif(), tarifs.value(QStringLiteral("petite")));
    QCOMPARE(fiche.GetLibelle(), QString());
    QCOMPARE(fiche.GetPrix(), 0.0);
    QCOMPARE(Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"))->topLevelItemCount(), 0);
}

void TestFichesChoix::choixAuClavier()
{
    CreerTarifs();
    const auto menuiserie = NouvelleMenuiserie({QStringLiteral("HAUTEUR=1500")});
    TFicheTarifChoix fiche(nullptr);
    fiche.SetMenuiserie(menuiserie.get());
    fiche.SetIdPose(posePrincipale);

    const int resultat = ExecuterModal<TFicheTarifChoix>(fiche, [](TFicheTarifChoix* ouverte) {
        auto* liste = Controle<QTreeWidget>(ouverte, QStringLiteral("lvListe"));
        liste->setFocus();
        liste->setCurrentItem(liste->topLevelItem(0));
        QTest::keyClick(liste, Qt::Key_Return);
    });

    QCOMPARE(resultat, int(QDialog::Accepted));
    QCOMPARE(fiche.GetIdTarif(), tarifs.value(QStringLiteral("grande")));
    QCOMPARE(fiche.GetPrix(), 1234.5);
}

// --- Installation kind ---

void TestFichesChoix::poseListeEtSelection_data()
{
    QTest::addColumn<QString>("preselection");
    QTest::addColumn<QString>("attendue");

    QTest::newRow("vide: premier libelle") << "" << "Dépose";
    QTest::newRow("existante") << "Pose en neuf" << "Pose en neuf";
    QTest::newRow("disparue") << "9999" << "";
}

void TestFichesChoix::poseListeEtSelection()
{
    QFETCH(QString, preselection);
    QFETCH(QString, attendue);
    QHash<QString, QString> poses;
    for (const QString& libelle : {QStringLiteral("Pose en neuf"), QStringLiteral("Rénovation"),
                                   QStringLiteral("Dépose")})
        poses[libelle] = donnees->Pose(libelle);

    TFichePoseChoix fiche(nullptr);
    fiche.SetIdPose(poses.value(preselection, preselection));
    fiche.SetImages(nullptr);
    fiche.ChargerListe();
    auto* liste = Controle<QListWidget>(&fiche, QStringLiteral("lvListe"));
    QStringList libelles;
    for (int i = 0; i < liste->count(); ++i)
        libelles << liste->item(i)->text();
    QCOMPARE(libelles, (QStringList{QStringLiteral("Dépose"), QStringLiteral("Pose en neuf"),
                                    QStringLiteral("Rénovation")}));
    fiche.show();
    QCOMPARE(Selection(liste), attendue);
    QCOMPARE(fiche.windowTitle(), QStringLiteral("Choix de la pose"));
    fiche.reject();
}

void TestFichesChoix::poseValiderAussitot()
{
    donnees->Pose(QStringLiteral("Zinguerie"));
    const QString premiere = donnees->Pose(QStringLiteral("Applique"));
    EnregistreurMessages messages;
    TFichePoseChoix fiche(nullptr);
    fiche.SetIdPose(QString());
    fiche.ChargerListe();
    QString caption;

    const int resultat = ExecuterModal<TFichePoseChoix>(fiche, [&](TFichePoseChoix* ouverte) {
        auto* valider = Controle<QPushButton>(ouverte, QStringLiteral("btnValider"));
        caption = Legende(valider);
        QTest::mouseClick(valider, Qt::LeftButton);
    });

    QCOMPARE(resultat, int(QDialog::Accepted));
    QCOMPARE(caption, QStringLiteral("Valider"));
    QCOMPARE(fiche.GetIdPose(), premiere);
    QCOMPARE(messages.Textes(), QStringList{});
    QCOMPARE(Controle<QListWidget>(&fiche, QStringLiteral("lvListe"))->count(), 0);
}

void TestFichesChoix::poseValiderSansSelection()
{
    const QString seule = donnees->Pose(QStringLiteral("Pose en neuf"));
    EnregistreurMessages messages;
    TFichePoseChoix fiche(nullptr);
    fiche.SetIdPose(QStringLiteral("9999"));
    fiche.ChargerListe();
    bool resteOuverte = false;
    QString caption;

    const int resultat = ExecuterModal<TFichePoseChoix>(fiche, [&](TFichePoseChoix* ouverte) {
        QTest::mouseClick(Controle<QPushButton>(ouverte, QStringLiteral("btnValider")), Qt::LeftButton);
        resteOuverte = ouverte->isVisible();
        auto* annuler = Controle<QPushButton>(ouverte, QStringLiteral("btnFermer"));
        caption = Legende(annuler);
        QTest::mouseClick(annuler, Qt::LeftButton);
    });

    QCOMPARE(resultat, int(QDialog::Rejected));
    QVERIFY(resteOuverte);
    QCOMPARE(caption, QStringLiteral("Annuler"));
    QCOMPARE(messages.Textes(), QStringList{QStringLiteral("Veuillez sélectionner une pose.")});
    QCOMPARE(fiche.GetIdPose(), QStringLiteral("9999"));

    // Picking the row with the mouse, then "Valider".
    fiche.ChargerListe();
    const int choix = ExecuterModal<TFichePoseChoix>(fiche, [](TFichePoseChoix* ouverte) {
        auto* liste = Controle<QListWidget>(ouverte, QStringLiteral("lvListe"));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                          liste->visualItemRect(liste->item(0)).center());
        QTest::mouseClick(Controle<QPushButton>(ouverte, QStringLiteral("btnValider")), Qt::LeftButton);
    });
    QCOMPARE(choix, int(QDialog::Accepted));
    QCOMPARE(fiche.GetIdPose(), seule);
}

void TestFichesChoix::poseImages()
{
    donnees->Pose(QStringLiteral("Pose en neuf"));
    {
        TFichePoseChoix fiche(nullptr);
        fiche.ChargerListe();
        const QIcon propre = Controle<QListWidget>(&fiche, QStringLiteral("lvListe"))->item(0)->icon();
        QVERIFY(!propre.isNull());
        QCOMPARE(propre.pixmap(32, 32).size(), QSize(32, 32));
    }
    QPixmap rouge(32, 32);
    rouge.fill(Qt::red);
    const QList<QIcon> images = {QIcon(rouge), QIcon()};
    TFichePoseChoix fiche(nullptr);
    fiche.SetImages(&images);
    fiche.ChargerListe();
    auto* liste = Controle<QListWidget>(&fiche, QStringLiteral("lvListe"));
    QCOMPARE(liste->iconSize(), QSize(32, 32));
    QCOMPARE(liste->viewMode(), QListView::IconMode);
    QCOMPARE(liste->item(0)->icon().cacheKey(), images.first().cacheKey());
}

void TestFichesChoix::poseTableVide()
{
    EnregistreurMessages messages;
    TFichePoseChoix fiche(nullptr);
    fiche.ChargerListe();
    const int resultat = ExecuterModal<TFichePoseChoix>(fiche, [](TFichePoseChoix* ouverte) {
        QTest::mouseClick(Controle<QPushButton>(ouverte, QStringLiteral("btnValider")), Qt::LeftButton);
    });
    QCOMPARE(resultat, int(QDialog::Rejected));
    QCOMPARE(messages.Textes(), QStringList{QStringLiteral("Veuillez sélectionner une pose.")});
    QCOMPARE(fiche.GetIdPose(), QString());
}

// --- Installer ---

void TestFichesChoix::poseurColonnesEtOrdre()
{
    donnees->Poseur(QStringLiteral("P2"), QStringLiteral("Martin"),
                    {QStringLiteral("1 rue Haute"), QStringLiteral("Bât. B"), QStringLiteral("69001"),
                     QStringLiteral("Lyon"), QStringLiteral("12345678901234"), QStringLiteral("RGE-77")});
    donnees->Poseur(QStringLiteral("P1"), QStringLiteral("Bernard"));

    TFichePoseurChoix fiche(nullptr);
    auto* liste = Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"));
    QStringList entetes;
    for (int i = 0; i < liste->columnCount(); ++i)
        entetes << liste->headerItem()->text(i);
    QCOMPARE(entetes, (QStringList{"Code", "Nom", "Rue1", "Rue2", "Cp", "Ville", "RGE", "Siret"}));
    QCOMPARE(liste->topLevelItemCount(), 2);
    QCOMPARE(liste->topLevelItem(0)->text(1), QStringLiteral("Bernard"));
    QStringList martin;
    for (int i = 0; i < liste->columnCount(); ++i)
        martin << liste->topLevelItem(1)->text(i);
    QCOMPARE(martin, (QStringList{"P2", "Martin", "1 rue Haute", "Bât. B", "69001", "Lyon", "RGE-77",
                                  "12345678901234"}));
    QCOMPARE(fiche.windowTitle(), QStringLiteral("Choix du poseur"));
}

void TestFichesChoix::poseurSansPreselection()
{
    const QString martin = donnees->Poseur(QStringLiteral("P2"), QStringLiteral("Martin"));
    TFichePoseurChoix fiche(nullptr);
    fiche.SetIdPoseur(martin);
    fiche.show();
    QCOMPARE(LibelleSelectionne(Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"))), QString());
    QCOMPARE(fiche.GetIdPoseur(), martin);
    fiche.reject();
}

void TestFichesChoix::poseurClicChoisit()
{
    donnees->Poseur(QStringLiteral("P1"), QStringLiteral("Bernard"));
    const QString martin = donnees->Poseur(QStringLiteral("P2"), QStringLiteral("Martin"));
    EnregistreurMessages messages;
    TFichePoseurChoix fiche(nullptr);
    fiche.SetIdPoseur(QString());

    const int resultat = ExecuterModal<TFichePoseurChoix>(fiche, [](TFichePoseurChoix* ouverte) {
        auto* liste = Controle<QTreeWidget>(ouverte, QStringLiteral("lvListe"));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, CentreDe(liste, liste->topLevelItem(1)));
    });

    QCOMPARE(resultat, int(QDialog::Accepted));
    QCOMPARE(fiche.GetIdPoseur(), martin);
    QCOMPARE(messages.Textes(), QStringList{});
    QCOMPARE(Controle<QTreeWidget>(&fiche, QStringLiteral("lvListe"))->topLevelItemCount(), 0);
}

void TestFichesChoix::poseurClicHorsLigne()
{
    const QString bernard = donnees->Poseur(QStringLiteral("P1"), QStringLiteral("Bernard"));
    EnregistreurMessages messages;
    TFichePoseurChoix fiche(nullptr);
    fiche.SetIdPoseur(bernard);
    bool resteOuverte = false;
    QString caption;

    const int resultat = ExecuterModal<TFichePoseurChoix>(fiche, [&](TFichePoseurChoix* ouverte) {
        auto* liste = Controle<QTreeWidget>(ouverte, QStringLiteral("lvListe"));
        liste->setCurrentItem(liste->topLevelItem(0));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, ZoneVide(liste));
        resteOuverte = ouverte->isVisible();
        auto* fermer = Controle<QPushButton>(ouverte, QStringLiteral("btnFermer"));
        caption = Legende(fermer);
        QTest::mouseClick(fermer, Qt::LeftButton);
    });

    QCOMPARE(resultat, int(QDialog::Rejected));
    QVERIFY(resteOuverte);
    QCOMPARE(caption, QStringLiteral("Fermer"));
    QCOMPARE(messages.Textes(), QStringList{QStringLiteral("Veuillez sélectionner un poseur")});
    QCOMPARE(fiche.GetIdPoseur(), bernard);
}

void TestFichesChoix::poseurClavier_data()
{
    QTest::addColumn<int>("touche");
    QTest::newRow("entree") << int(Qt::Key_Return);
    QTest::newRow("pave numerique") << int(Qt::Key_Enter);
    QTest::newRow("espace") << int(Qt::Key_Space);
}

void TestFichesChoix::poseurClavier()
{
    QFETCH(int, touche);
    donnees->Poseur(QStringLiteral("P1"), QStringLiteral("Bernard"));
    const QString martin = donnees->Poseur(QStringLiteral("P2"), QStringLiteral("Martin"));
    TFichePoseurChoix fiche(nullptr);

    const int resultat = ExecuterModal<TFichePoseurChoix>(fiche, [touche](TFichePoseurChoix* ouverte) {
        auto* liste = Controle<QTreeWidget>(ouverte, QStringLiteral("lvListe"));
        liste->setFocus();
        QTest::keyClick(liste, Qt::Key_Down);
        QTest::keyClick(liste, Qt::Key_Down);
        QTest::keyClick(liste, Qt::Key(touche));
    });

    QCOMPARE(resultat, int(QDialog::Accepted));
    QCOMPARE(fiche.GetIdPoseur(), martin);
}

QTEST_MAIN(TestFichesChoix)
#include "tst_fiches_choix.moc"
