// The hardware dialogs: what they show and what they hand on to the hardware
// list they edit. The rules below them are tested in tst_quincailleries.

#include "DonneesReference.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "model/Menuiserie.h"
#include "model/Quincaillerie.h"
#include "ui/choice/FicheQuincaillerieChoix.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/common/Messages.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList Lignes(QTreeWidget* liste)
{
    QStringList lignes;
    for (int i = 0; i < liste->topLevelItemCount(); ++i)
        lignes << TextesLigne(liste, i).join(QLatin1Char('|'));
    return lignes;
}

QStringList Lignes(QTableWidget* grille)
{
    QStringList lignes;
    for (int ligne = 0; ligne < grille->rowCount(); ++ligne) {
        QStringList cellules;
        for (int colonne = 0; colonne < grille->columnCount(); ++colonne)
            cellules << (grille->item(ligne, colonne) ? grille->item(ligne, colonne)->text() : QString());
        lignes << cellules.join(QLatin1Char('|'));
    }
    return lignes;
}

// The quantity cells, then the sale total: "1,20;0,36=15,60".
QString Quantites(QWidget* fenetre)
{
    auto* grille = Controle<QTableWidget>(fenetre, QStringLiteral("sgListe"));
    QStringList quantites;
    for (int ligne = 0; ligne < grille->rowCount(); ++ligne)
        quantites << (grille->item(ligne, 3) ? grille->item(ligne, 3)->text() : QString());
    return quantites.join(QLatin1Char(';')) + QLatin1Char('=') + Controle<QLabel>(fenetre, QStringLiteral("lblTotalHt"))->text();
}

// Starts editing the current cell by typing, as a user does.
void TaperDansLaGrille(QTableWidget* grille, const QString& texte)
{
    grille->setFocus();
    QTest::keyClick(grille, texte.at(0).toLatin1());
    auto* editeur = grille->viewport()->findChild<QLineEdit*>();
    QVERIFY(editeur);
    QTest::keyClicks(editeur, texte.mid(1));
}

QStringList Titres(QTableWidget* grille)
{
    QStringList titres;
    for (int colonne = 0; colonne < grille->columnCount(); ++colonne)
        titres << grille->horizontalHeaderItem(colonne)->text();
    return titres;
}

QString Texte(QWidget* fenetre, const QString& label)
{
    return Controle<QLabel>(fenetre, label)->text();
}

// True when the text of the row's first cell is drawn in red.
bool EnRouge(QTableWidget* grille, int ligne)
{
    const QImage image = grille->viewport()->grab().toImage();
    const QRect cellule = grille->visualItemRect(grille->item(ligne, 0));
    for (int y = cellule.top(); y <= cellule.bottom(); ++y) {
        for (int x = cellule.left(); x <= cellule.right(); ++x) {
            const QColor couleur = image.pixelColor(x, y);
            if (couleur.red() > 160 && couleur.green() < 90 && couleur.blue() < 90)
                return true;
        }
    }
    return false;
}

// Picks the row of that label in the choice dialog, the sides given by
// "P" (perimeter) or the boxes "H1", "H2", "L1", "L2".
PiloteModal ChoixDe(const QString& libelle, const QStringList& cotes = {QStringLiteral("P")})
{
    return PiloteModal::QuandOuvert<TFicheQuincaillerieChoix>([=](TFicheQuincaillerieChoix* choix) {
        if (!cotes.contains(QStringLiteral("P"))) {
            Controle<QRadioButton>(choix, QStringLiteral("rbDimensions"))->click();
            for (const char* cote : {"H1", "H2", "L1", "L2"}) {
                const QString nom = QString::fromLatin1(cote[0] == 'H' ? "cbHauteur%1" : "cbLargeur%1").arg(cote[1]);
                Controle<QCheckBox>(choix, nom)->setChecked(cotes.contains(QLatin1String(cote)));
            }
        }
        auto* liste = Liste(choix);
        SelectionnerLigne(liste, libelle);
        liste->setFocus();
        QTest::keyClick(liste, Qt::Key_Return);
    });
}

} // namespace

class TestFichesQuincaillerie : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;
    std::unique_ptr<DonneesReference> donnees;
    QString vis;
    QString equerre;
    QString joint;

private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        base = std::make_unique<BaseTemporaire>();
        donnees = std::make_unique<DonneesReference>(*base);
        vis = donnees->EntreeCatalogue(QStringLiteral("Vis inox"), QStringLiteral("Boîte"), 12, 6, 100, 8, 1);
        equerre = donnees->EntreeCatalogue(QStringLiteral("Équerre"), QStringLiteral("acier"), 9, 4, 0, 2, 0);
        joint = donnees->EntreeCatalogue(QStringLiteral("Joint"), QStringLiteral("Boîte"), 10, 6, 10, 3, 1);
    }

    void cleanup()
    {
        QVERIFY(AucuneFenetreOuverte());
        donnees.reset();
        base.reset();
    }

    void choixListeEtRecherche()
    {
        TFicheQuincaillerieChoix fiche(nullptr);
        auto* liste = Liste(&fiche);
        QCOMPARE(fiche.windowTitle(), QStringLiteral("Choix de la Quincaillerie"));
        QStringList titres;
        for (int colonne = 0; colonne < liste->columnCount(); ++colonne)
            titres << liste->headerItem()->text(colonne);
        QCOMPARE(titres, (QStringList{"Libellé", "Libellé 2", "P.V.", "P.V. / ML", "Sécable"}));
        // A pack without pieces has no price per metre; the first row is selected.
        QCOMPARE(Lignes(liste), (QStringList{"Équerre|acier|9,00||", "Joint|Boîte|10,00|3,00|OUI",
                                             "Vis inox|Boîte|12,00|0,96|OUI"}));
        QCOMPARE(LibelleSelectionne(liste), QStringLiteral("Équerre"));

        // Every keystroke searches again.
        auto* libelle = Controle<QLineEdit>(&fiche, QStringLiteral("edtLibelle"));
        QTest::keyClick(libelle, 'i');
        QCOMPARE(Colonne(liste), (QStringList{"Joint", "Vis inox"}));
        QTest::keyClick(libelle, 's');
        QCOMPARE(Colonne(liste), QStringList{"Vis inox"});
        QCOMPARE(LibelleSelectionne(liste), QStringLiteral("Vis inox"));
        Taper(&fiche, QStringLiteral("edtLibelle2"), QStringLiteral("ACIER"));
        QCOMPARE(Colonne(liste), QStringList{});
        libelle->clear();
        QCOMPARE(Colonne(liste), QStringList{"Équerre"});
        QCOMPARE(libelle->maxLength(), 100);
    }

    void choixGestes_data()
    {
        QTest::addColumn<QStringList>("cotes");
        QTest::addColumn<QString>("geste");
        QTest::addColumn<QString>("choisie");
        QTest::addColumn<int>("nbHauteurs");
        QTest::addColumn<int>("nbLargeurs");
        QTest::addColumn<QStringList>("messages");

        const QStringList aucun;
        const QString refus = QStringLiteral("Vous devez sélectionner au moins une hauteur ou une largeur avant de "
                                             "sélectionner une quincaillerie.");
        QTest::newRow("double-clic, perimetre") << QStringList{"P"} << "double-clic" << "Joint" << 2 << 2 << aucun;
        QTest::newRow("entree, cotes") << QStringList{"H2", "L1", "L2"} << "entree" << "Équerre" << 1 << 2 << aucun;
        QTest::newRow("aucun cote") << QStringList{} << "double-clic" << "" << 0 << 0 << QStringList{refus};
        QTest::newRow("hors des lignes") << QStringList{"P"} << "double-clic vide" << "" << 2 << 2 << aucun;
    }

    void choixGestes()
    {
        QFETCH(QStringList, cotes);
        QFETCH(QString, geste);
        QFETCH(QString, choisie);
        QFETCH(int, nbHauteurs);
        QFETCH(int, nbLargeurs);
        QFETCH(QStringList, messages);
        EnregistreurMessages enregistreur;
        TFicheQuincaillerieChoix fiche(nullptr);
        bool croquisSuitLesCases = true;

        const int resultat = ExecuterModal<TFicheQuincaillerieChoix>(fiche, [&](TFicheQuincaillerieChoix* ouverte) {
            auto* dimensions = Controle<QWidget>(ouverte, QStringLiteral("pnlDimensions"));
            QVERIFY(!dimensions->isVisible());
            if (!cotes.contains(QStringLiteral("P"))) {
                QTest::mouseClick(Controle<QRadioButton>(ouverte, QStringLiteral("rbDimensions")), Qt::LeftButton);
                QVERIFY(dimensions->isVisible());
                for (const char* cote : {"H1", "H2", "L1", "L2"}) {
                    const QString suffixe = QString::fromLatin1(cote[0] == 'H' ? "Hauteur%1" : "Largeur%1").arg(cote[1]);
                    auto* boite = Controle<QCheckBox>(ouverte, QStringLiteral("cb") + suffixe);
                    if (!cotes.contains(QLatin1String(cote)))
                        QTest::mouseClick(boite, Qt::LeftButton);
                    croquisSuitLesCases = croquisSuitLesCases
                        && Controle<QWidget>(ouverte, QStringLiteral("bvl") + suffixe)->isVisible() == boite->isChecked();
                }
            }
            auto* liste = Liste(ouverte);
            if (geste == QStringLiteral("entree")) {
                SelectionnerLigne(liste, choisie);
                liste->setFocus();
                QTest::keyClick(liste, Qt::Key_Enter);
            } else if (geste == QStringLiteral("double-clic vide")) {
                DoubleCliquer(liste, QPoint(10, liste->viewport()->height() - 5));
            } else {
                const QString ligne = choisie.isEmpty() ? QStringLiteral("Joint") : choisie;
                DoubleCliquer(liste, liste->visualItemRect(liste->findItems(ligne, Qt::MatchExactly).first()).center());
            }
        });

        QVERIFY(croquisSuitLesCases);
        QCOMPARE(resultat, int(choisie.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        const QHash<QString, QString> ids{{"Joint", joint}, {"Équerre", equerre}};
        QCOMPARE(fiche.GetIdQuincaillerie(), ids.value(choisie));
        QCOMPARE(fiche.GetNbHauteurs(), nbHauteurs);
        QCOMPARE(fiche.GetNbLargeurs(), nbLargeurs);
        QCOMPARE(enregistreur.Textes(), messages);
    }

    void detailAffichage()
    {
        const auto petite = NouvelleMenuiserie({"HAUTEUR=1000", "LARGEUR=500"});
        const auto grande = NouvelleMenuiserie({"HAUTEUR=2000", "LARGEUR=1000"});
        TQuincailleries liste;
        for (const QString& id : {vis, joint, QStringLiteral("999")}) {
            TQuincaillerie& entree = liste.Ajouter();
            entree.SetId(id);
            entree.SetLibelle(QStringLiteral("L") + id);
            entree.SetLibelle2(QStringLiteral("M") + id);
            entree.SetTarifVente(10);
            entree.SetTarifAchat(6);
            entree.SetNbPieces(10);
            entree.SetNbPiecesMl(3);
            entree.SetQuantite(2.5);
        }
        TFicheQuincaillerieDetail fiche(nullptr);
        fiche.SetMenuiseries({petite.get(), grande.get()});
        fiche.SetQuincailleries(&liste);

        ExecuterModal<TFicheQuincaillerieDetail>(fiche, [&](TFicheQuincaillerieDetail* ouverte) {
            QCOMPARE(ouverte->windowTitle(), QStringLiteral("Détail des quincailleries"));
            QCOMPARE(Texte(ouverte, "lblHauteur"), QStringLiteral("3000"));
            QCOMPARE(Texte(ouverte, "lblLargeur"), QStringLiteral("1500"));
            auto* grille = Controle<QTableWidget>(ouverte, QStringLiteral("sgListe"));
            QCOMPARE(Titres(grille), (QStringList{"Libellé", "Libellé 2", "Tarif Vente", "Quantité"}));
            QCOMPARE(Lignes(grille), (QStringList{"L" + vis + "|M" + vis + "|10,00|2,50",
                                                  "L" + joint + "|M" + joint + "|10,00|2,50", "L999|M999|10,00|2,50"}));
            for (int colonne = 0; colonne < 4; ++colonne)
                QCOMPARE(bool(grille->item(0, colonne)->flags() & Qt::ItemIsEditable), colonne == 3);
            QCOMPARE(grille->currentColumn(), 3);
            QCOMPARE((QStringList{Texte(ouverte, "lblTotalAchat"), Texte(ouverte, "lblTotalHt"),
                                  Texte(ouverte, "lblTotalTva"), Texte(ouverte, "lblTotalTtc")}),
                     (QStringList{"45,00", "75,00", "15,00", "90,00"}));
            // Only the entry whose catalogue prices differ is red; one gone
            // from the catalogue is not.
            QVERIFY(EnRouge(grille, 0));
            QVERIFY(!EnRouge(grille, 1));
            QVERIFY(!EnRouge(grille, 2));
            base->Executer(QStringLiteral("UPDATE Quincaillerie SET TarifVente = 10, TarifAchat = 6, NbPieces = 10, "
                                          "NbPiecesML = 3 WHERE IdQuincaillerie = ") + vis);
            QVERIFY(!EnRouge(grille, 0));
        });
    }

    void detailActions()
    {
        EnregistreurMessages messages;
        const auto menuiserie = NouvelleMenuiserie({"HAUTEUR=1200", "LARGEUR=800"});
        TQuincailleries liste;
        TFicheQuincaillerieDetail fiche(nullptr);
        fiche.SetMenuiseries(*menuiserie);
        fiche.SetQuincailleries(&liste);
        QStringList vues;

        ExecuterModal<TFicheQuincaillerieDetail>(fiche, [&](TFicheQuincaillerieDetail* ouverte) {
            auto* grille = Controle<QTableWidget>(ouverte, QStringLiteral("sgListe"));
            // An empty list shows one empty row, which cannot be removed.
            Cliquer(ouverte, QStringLiteral("btnSupprimer"));
            vues << Lignes(grille).join(QLatin1Char('/'));
            {
                const auto pilote = ChoixDe(QStringLiteral("Joint"));
                Cliquer(ouverte, QStringLiteral("btnAjouter"));
            }
            {
                const auto pilote = ChoixDe(QStringLiteral("Joint"), {QStringLiteral("H1")});
                Cliquer(ouverte, QStringLiteral("btnAjouter"));
            }
            vues << Quantites(ouverte);

            // Typed quantities are stored before the next action: not a number gives 1.
            grille->item(0, 3)->setText(QStringLiteral("abc"));
            grille->setCurrentCell(1, 3);
            TaperDansLaGrille(grille, QStringLiteral("4,5"));
            Controle<QRadioButton>(ouverte, QStringLiteral("rbDimensions"))->click();
            for (const char* boite : {"cbHauteur1", "cbHauteur2", "cbLargeur1", "cbLargeur2"})
                Controle<QCheckBox>(ouverte, QLatin1String(boite))->setChecked(false);
            Cliquer(ouverte, QStringLiteral("btnRecalculer"));
            vues << Quantites(ouverte);

            Controle<QRadioButton>(ouverte, QStringLiteral("rbPerimetre"))->click();
            Cliquer(ouverte, QStringLiteral("btnRecalculer"));
            vues << Quantites(ouverte);

            // The first of the two rows of one entry goes; the other keeps the
            // quantity typed in it.
            grille->item(1, 3)->setText(QStringLiteral("7"));
            grille->setCurrentCell(0, 3);
            Cliquer(ouverte, QStringLiteral("btnSupprimer"));
            vues << Quantites(ouverte);

            // An edit still open when the window closes is kept.
            grille->setCurrentCell(0, 3);
            TaperDansLaGrille(grille, QStringLiteral("3"));
            ouverte->close();
        });

        QCOMPARE(vues, (QStringList{"|||", "1,20;0,36=15,60", "1,00;4,50=55,00", "1,20;1,20=24,00", "7,00=70,00"}));
        QCOMPARE(messages.Textes(), QStringList{QStringLiteral("Vous devez sélectionner au moins une hauteur ou une "
                                                               "largeur avant de recalculer les quantités.")});
        QCOMPARE(liste.Nombre(), 1);
        QCOMPARE(liste[0].GetQuantite(), 3.0);
        QCOMPARE(liste[0].GetId(), joint);
    }
};

QTEST_MAIN(TestFichesQuincaillerie)
#include "tst_fiches_quincaillerie.moc"
