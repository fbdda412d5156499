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
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

QString Texte(QWidget* fenetre, const char* label)
{
    return Controle<QLabel>(fenetre, QLatin1String(label))->text();
}

// One column of the grid, then the sale total: "1,20;0,36=15,60".
QString ColonneGrille(QWidget* fenetre, int colonne = 3)
{
    auto* grille = Controle<QTableWidget>(fenetre, QStringLiteral("sgListe"));
    QStringList textes;
    for (int ligne = 0; ligne < grille->rowCount(); ++ligne)
        textes << (grille->item(ligne, colonne) ? grille->item(ligne, colonne)->text() : QString());
    return textes.join(QLatin1Char(';')) + QLatin1Char('=') + Texte(fenetre, "lblTotalHt");
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

// Starts editing the current cell by typing, as a user does.
void TaperDansLaGrille(QTableWidget* grille, const QString& texte)
{
    grille->setFocus();
    QTest::keyClick(grille, texte.at(0).toLatin1());
    auto* editeur = qobject_cast<QLineEdit*>(grille->indexWidget(grille->currentIndex()));
    QVERIFY(editeur);
    QTest::keyClicks(editeur, texte.mid(1));
}

// Sides mode with only the boxes named ("Hauteur1", "Largeur2"...) checked;
// the sketch line of each box must follow it.
bool CocherCotes(QWidget* fenetre, const QStringList& cotes)
{
    QTest::mouseClick(Controle<QRadioButton>(fenetre, QStringLiteral("rbDimensions")), Qt::LeftButton);
    bool croquisFidele = true;
    for (const char* cote : {"Hauteur1", "Hauteur2", "Largeur1", "Largeur2"}) {
        auto* boite = Controle<QCheckBox>(fenetre, QStringLiteral("cb") + QLatin1String(cote));
        if (boite->isChecked() != cotes.contains(QLatin1String(cote)))
            QTest::mouseClick(boite, Qt::LeftButton);
        croquisFidele = croquisFidele
            && Controle<QWidget>(fenetre, QStringLiteral("bvl") + QLatin1String(cote))->isVisible() == boite->isChecked();
    }
    return croquisFidele;
}

// Chooses that row of the choice dialog by Enter, perimeter mode unless
// sides are given.
PiloteModal ChoixDe(const QString& libelle, const QStringList& cotes = {})
{
    return PiloteModal::QuandOuvert<TFicheQuincaillerieChoix>([=](TFicheQuincaillerieChoix* choix) {
        if (!cotes.isEmpty())
            CocherCotes(choix, cotes);
        SelectionnerLigne(Liste(choix), libelle);
        QTest::keyClick(Liste(choix), Qt::Key_Return);
    });
}

} // namespace

class TestFichesQuincaillerie : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;
    std::unique_ptr<DonneesReference> donnees;
    QHash<QString, QString> ids;

private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        base = std::make_unique<BaseTemporaire>();
        donnees = std::make_unique<DonneesReference>(*base);
        ids[QStringLiteral("Vis inox")] = donnees->EntreeCatalogue("Vis inox", "Boîte", 12, 6, 100, 8, 1);
        ids[QStringLiteral("Équerre")] = donnees->EntreeCatalogue("Équerre", "acier", 9, 4, 0, 2, 0);
        ids[QStringLiteral("Joint")] = donnees->EntreeCatalogue("Joint", "Boîte", 10, 6, 10, 3, 1);
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
        QStringList lignes;
        for (int i = 0; i < liste->topLevelItemCount(); ++i)
            lignes << TextesLigne(liste, i).join(QLatin1Char('|'));
        // A pack without pieces has no price per metre; the first row is selected.
        QCOMPARE(lignes, (QStringList{"Équerre|acier|9,00||", "Joint|Boîte|10,00|3,00|OUI", "Vis inox|Boîte|12,00|0,96|OUI"}));
        QCOMPARE(LibelleSelectionne(liste), QStringLiteral("Équerre"));

        // Every keystroke searches again, on both labels.
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
    }

    void choixGestes_data()
    {
        QTest::addColumn<QStringList>("cotes"); // none: perimeter
        QTest::addColumn<QString>("geste");
        QTest::addColumn<QString>("choisie");
        QTest::addColumn<int>("nbHauteurs");
        QTest::addColumn<int>("nbLargeurs");
        QTest::addColumn<QString>("message");

        QTest::newRow("double-clic, perimetre") << QStringList{} << "double-clic" << "Joint" << 2 << 2 << "";
        QTest::newRow("entree, cotes") << QStringList{"Hauteur2", "Largeur1", "Largeur2"} << "entree" << "Équerre" << 1
                                       << 2 << "";
        QTest::newRow("aucun cote") << QStringList{"aucun"} << "double-clic" << "" << 0 << 0
                                    << "Vous devez sélectionner au moins une hauteur ou une largeur avant de "
                                       "sélectionner une quincaillerie.";
        QTest::newRow("hors des lignes") << QStringList{} << "double-clic vide" << "" << 2 << 2 << "";
    }

    void choixGestes()
    {
        QFETCH(QStringList, cotes);
        QFETCH(QString, geste);
        QFETCH(QString, choisie);
        QFETCH(int, nbHauteurs);
        QFETCH(int, nbLargeurs);
        QFETCH(QString, message);
        EnregistreurMessages messages;
        TFicheQuincaillerieChoix fiche(nullptr);
        bool croquisFidele = true;

        const int resultat = ExecuterModal<TFicheQuincaillerieChoix>(fiche, [&](TFicheQuincaillerieChoix* ouverte) {
            QVERIFY(!Controle<QWidget>(ouverte, QStringLiteral("pnlDimensions"))->isVisible());
            if (!cotes.isEmpty())
                croquisFidele = CocherCotes(ouverte, cotes);
            auto* liste = Liste(ouverte);
            const auto ligne = liste->findItems(choisie.isEmpty() ? QStringLiteral("Joint") : choisie, Qt::MatchExactly);
            if (geste == QStringLiteral("entree")) {
                liste->setCurrentItem(ligne.first());
                QTest::keyClick(liste, Qt::Key_Enter);
            } else {
                DoubleCliquer(liste, geste == QStringLiteral("double-clic vide")
                                         ? QPoint(10, liste->viewport()->height() - 5)
                                         : liste->visualItemRect(ligne.first()).center());
            }
        });

        QVERIFY(croquisFidele);
        QCOMPARE(resultat, int(choisie.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(fiche.GetIdQuincaillerie(), ids.value(choisie));
        QCOMPARE(fiche.GetNbHauteurs(), nbHauteurs);
        QCOMPARE(fiche.GetNbLargeurs(), nbLargeurs);
        QCOMPARE(messages.Dernier(), message);
    }

    void detailAffichage()
    {
        const auto petite = NouvelleMenuiserie({"HAUTEUR=1000", "LARGEUR=500"});
        const auto grande = NouvelleMenuiserie({"HAUTEUR=2000", "LARGEUR=1000"});
        TQuincailleries liste;
        for (const QString& id : {ids.value("Vis inox"), ids.value("Joint"), QStringLiteral("999")}) {
            TQuincaillerie& entree = liste.Ajouter();
            entree.SetId(id);
            entree.SetLibelle(QStringLiteral("L") + id);
            entree.SetTarifVente(10);
            entree.SetTarifAchat(6);
            entree.SetNbPieces(10);
            entree.SetNbPiecesMl(3);
            entree.SetQuantite(2.5);
        }
        TFicheQuincaillerieDetail fiche(nullptr);
        fiche.SetMenuiseries({petite.get(), grande.get()});
        fiche.SetQuincailleries(liste);

        ExecuterModal<TFicheQuincaillerieDetail>(fiche, [&](TFicheQuincaillerieDetail* ouverte) {
            QCOMPARE(ouverte->windowTitle(), QStringLiteral("Détail des quincailleries"));
            QCOMPARE(Texte(ouverte, "lblHauteur") + "x" + Texte(ouverte, "lblLargeur"), QStringLiteral("3000x1500"));
            QCOMPARE(ColonneGrille(ouverte, 0), "L" + ids.value("Vis inox") + ";L" + ids.value("Joint") + ";L999=75,00");
            QCOMPARE(ColonneGrille(ouverte, 2), QStringLiteral("10,00;10,00;10,00=75,00"));
            QCOMPARE(ColonneGrille(ouverte, 3), QStringLiteral("2,50;2,50;2,50=75,00"));
            QCOMPARE(Texte(ouverte, "lblTotalAchat") + " " + Texte(ouverte, "lblTotalTva") + " "
                         + Texte(ouverte, "lblTotalTtc"),
                     QStringLiteral("45,00 15,00 90,00"));
            auto* grille = Controle<QTableWidget>(ouverte, QStringLiteral("sgListe"));
            for (int colonne = 0; colonne < 4; ++colonne)
                QCOMPARE(bool(grille->item(0, colonne)->flags() & Qt::ItemIsEditable), colonne == 3);
            // Only the entry whose catalogue prices differ is red, at every
            // repaint; one gone from the catalogue is not.
            QCOMPARE((QList<bool>{EnRouge(grille, 0), EnRouge(grille, 1), EnRouge(grille, 2)}),
                     (QList<bool>{true, false, false}));
            base->Executer(QStringLiteral("UPDATE Quincaillerie SET TarifVente = 10, NbPieces = 10, NbPiecesML = 3 "
                                          "WHERE IdQuincaillerie = ") + ids.value("Vis inox"));
            QVERIFY(!EnRouge(grille, 0));
        });
    }

    void detailDimensionIllisible()
    {
        EnregistreurMessages messages;
        const auto menuiserie = NouvelleMenuiserie({"HAUTEUR=12a", "LARGEUR=800"});
        TQuincailleries liste;
        liste.Ajouter().SetLibelle(QStringLiteral("Joint"));
        TFicheQuincaillerieDetail fiche(nullptr);
        fiche.SetMenuiseries(*menuiserie);
        fiche.SetQuincailleries(liste);

        ExecuterModal<TFicheQuincaillerieDetail>(fiche, [&](TFicheQuincaillerieDetail* ouverte) {
            // Once, not again when the window becomes active after the message.
            QEvent desactivation(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(ouverte, &desactivation);
            QEvent activation(QEvent::WindowActivate);
            QCoreApplication::sendEvent(ouverte, &activation);
            // The height that cannot be read counts 0; the width still counts.
            QCOMPARE(Texte(ouverte, "lblHauteur") + "x" + Texte(ouverte, "lblLargeur"), QStringLiteral("0x800"));
            QCOMPARE(ColonneGrille(ouverte, 0), QStringLiteral("Joint=0,00"));
            // Adding and recomputing go on with what can be computed.
            {
                const auto pilote = ChoixDe(QStringLiteral("Joint"), {});
                Cliquer(ouverte, QStringLiteral("btnAjouter"));
            }
            Cliquer(ouverte, QStringLiteral("btnRecalculer"));
            QCOMPARE(Colonne(Controle<QTableWidget>(ouverte, QStringLiteral("sgListe"))).size(), 2);
        });
        QCOMPARE(messages.Textes(), QStringList{QStringLiteral("La propriété HAUTEUR de la menuiserie vaut « 12a », "
                                                               "qui n'est pas un nombre entier.")});
    }

    void detailActions()
    {
        EnregistreurMessages messages;
        const auto menuiserie = NouvelleMenuiserie({"HAUTEUR=1200", "LARGEUR=800"});
        TQuincailleries liste;
        TFicheQuincaillerieDetail fiche(nullptr);
        fiche.SetMenuiseries(*menuiserie);
        fiche.SetQuincailleries(liste);
        QStringList vues;

        ExecuterModal<TFicheQuincaillerieDetail>(fiche, [&](TFicheQuincaillerieDetail* ouverte) {
            auto* grille = Controle<QTableWidget>(ouverte, QStringLiteral("sgListe"));
            // An empty list shows one empty row, which cannot be removed.
            Cliquer(ouverte, QStringLiteral("btnSupprimer"));
            vues << ColonneGrille(ouverte);
            // The counts are the choice dialog's: 4 m, then 1,2 m.
            for (const QStringList& cotes : {QStringList{}, QStringList{"Hauteur1"}}) {
                const auto pilote = ChoixDe(QStringLiteral("Joint"), cotes);
                Cliquer(ouverte, QStringLiteral("btnAjouter"));
            }
            vues << ColonneGrille(ouverte);

            // A typed quantity that is no number is refused: the cell shows
            // the quantity kept.
            grille->item(0, 3)->setText(QStringLiteral("abc"));
            QCOMPARE(grille->item(0, 3)->text(), QStringLiteral("1,20"));
            grille->setCurrentCell(1, 3);
            TaperDansLaGrille(grille, QStringLiteral("4,5"));
            // The totals follow the quantity as soon as its cell is left.
            QTest::keyClick(grille->indexWidget(grille->currentIndex()), Qt::Key_Return);
            QTRY_COMPARE(Texte(ouverte, "lblTotalHt"), QStringLiteral("57,00"));
            CocherCotes(ouverte, {});
            Cliquer(ouverte, QStringLiteral("btnRecalculer"));
            vues << ColonneGrille(ouverte);
            Controle<QRadioButton>(ouverte, QStringLiteral("rbPerimetre"))->click();
            Cliquer(ouverte, QStringLiteral("btnRecalculer"));
            vues << ColonneGrille(ouverte);

            // The first of two rows of one catalogue entry goes; the other
            // keeps the quantity typed in it.
            grille->item(1, 3)->setText(QStringLiteral("7"));
            grille->setCurrentCell(0, 3);
            Cliquer(ouverte, QStringLiteral("btnSupprimer"));
            vues << ColonneGrille(ouverte);

            // An edit still open when the window closes is kept.
            TaperDansLaGrille(grille, QStringLiteral("3"));
            ouverte->close();
        });

        QCOMPARE(vues, (QStringList{"=0,00", "1,20;0,36=15,60", "1,20;4,50=57,00", "1,20;1,20=24,00", "7,00=70,00"}));
        QCOMPARE(messages.Textes(), (QStringList{QStringLiteral("Veuillez saisir une quantité correcte pour « Joint ».\n"
                                                                "La quantité reste 1,20."),
                                                 QStringLiteral("Vous devez sélectionner au moins une hauteur ou une "
                                                                "largeur avant de recalculer les quantités.")}));
        // The caller's list is a copy the dialog never touched; the list
        // handed back holds the work.
        QCOMPARE(liste.Nombre(), 0);
        QCOMPARE(fiche.GetQuincailleries().Nombre(), 1);
        QCOMPARE(fiche.GetQuincailleries()[0].GetQuantite(), 3.0);
    }
};

QTEST_MAIN(TestFichesQuincaillerie)
#include "tst_fiches_quincaillerie.moc"
