// The pricing screen opened on a temporary program folder, a real database
// and exchange files written as a host writes them (Windows-1252).

#include "BaseTemporaire.h"
#include "DevisHote.h"
#include "DonneesReference.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"
#include "PilotesChoix.h"

#include "ui/common/ObjectCode.h"
#include "model/Encodage.h"
#include "model/Formats.h"
#include "model/Tarif.h"
#include "ui/common/Messages.h"
#include "ui/choice/FicheQuincaillerieChoix.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/pricing/DelegateLigne.h"
#include "ui/pricing/FicheModeNormal.h"
#include "ui/pricing/ModelesChiffrage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <memory>
#include <optional>

namespace {

// ---------------------------------------------------------------------------
// Screen helpers

QString Texte(QWidget* fiche, const char* nom)
{
    return Controle<QLabel>(fiche, QLatin1String(nom))->text();
}

// A host line without installer (the builder writes a stored name).
QString TarifSansPoseur(const QString& id, const QString& libelle, const QString& prix)
{
    return Tarif(id, libelle, prix, 1, "20,00").replace(QStringLiteral("Nom stocké"), QString());
}

void ChoisirTva(QComboBox* combo, const QString& libelle)
{
    const int index = combo->findText(libelle);
    QVERIFY2(index >= 0, qPrintable(libelle));
    combo->setCurrentIndex(index);
    emit combo->activated(index); // as the user's choice in the list
}

bool Contient(const QImage& image, const QRect& zone, const std::function<bool(QColor)>& test)
{
    for (int y = zone.top(); y <= zone.bottom(); ++y)
        for (int x = zone.left(); x <= zone.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

// Keys as the user types them: to the focused control of the window, once
// it is the active one (as a window manager makes a new window; the
// offscreen platform needs to be asked).
QWidget* Cible(QWidget* fenetre)
{
    if (QApplication::activeWindow() != fenetre) {
        fenetre->activateWindow();
        if (!QTest::qWaitFor([fenetre] { return QApplication::activeWindow() == fenetre; }))
            qWarning("%s n'est pas devenue active", fenetre->metaObject()->className());
    }
    return QApplication::focusWidget() ? QApplication::focusWidget() : fenetre;
}

void Taper(QWidget* fenetre, int touche, Qt::KeyboardModifiers modificateurs = Qt::NoModifier)
{
    QTest::keyClick(Cible(fenetre), Qt::Key(touche), modificateurs);
}

void Taper(QWidget* fenetre, const QString& texte)
{
    QTest::keyClicks(Cible(fenetre), texte);
}

bool Rouge(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }
bool Noir(QColor c) { return c.red() < 80 && c.green() < 80 && c.blue() < 80; }
bool Blanc(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; }
bool BleuSelection(QColor c) { return c == QColor(0, 102, 153); }

} // namespace

class TestFicheModeNormal : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;
    std::unique_ptr<EnregistreurMessages> messages;
    std::unique_ptr<TFicheModeNormal> fiche;
    QString echange;
    QString idPoseStandard;
    QString idPoseRenovation;

    QString InsererCategorie(const QString& type, const QString& famille, const QString& libelle)
    {
        DonneesReference donnees(*base);
        return donnees.Categorie(libelle, donnees.Type(type, famille));
    }

    QString InsererTarif(const QString& idPose, const QString& idCategorie, qint64 idPoseur, double prix)
    {
        return DonneesReference(*base).Tarif(idPose, idCategorie, prix, QString::number(idPoseur));
    }

    void Ecrire(const QString& corps)
    {
        QFile fichier(echange);
        QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fichier.write(Document(corps));
    }

    // One item with one line at 100 under the standard kind; returns the bytes written.
    QByteArray EcrireDevisDUneLigne()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 1, "20,00"), "1"}}));
        QFile fichier(echange);
        return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    }

    // Shows the screen on the exchange file and waits for its first activation.
    void Ouvrir()
    {
        fiche = std::make_unique<TFicheModeNormal>(nullptr);
        fiche->SetFichierEchange(echange);
        fiche->show();
        QTRY_VERIFY(!fiche->GetPremiereActivation());
        QApplication::processEvents();
    }

    template <class T>
    T* C(const char* nom)
    {
        return Controle<T>(fiche.get(), QLatin1String(nom));
    }

    QString L(const char* nom) { return Texte(fiche.get(), nom); }

private slots:
    void init()
    {
        base = std::make_unique<BaseTemporaire>();
        messages = std::make_unique<EnregistreurMessages>();
        echange = base->Fichier(QStringLiteral("echange.xml"));
        DonneesReference donnees(*base);
        idPoseStandard = donnees.Pose(QStringLiteral("Pose standard"), {30, 15, 40, 25}, 1);
        idPoseRenovation = donnees.Pose(QStringLiteral("Rénovation"), {50, 0, 0, 0}, 2);
    }

    void cleanup()
    {
        if (fiche) {
            // The work of a test is not kept.
            if (fiche->GetSession().EstModifie())
                messages->RepondreOui();
            fiche->close();
            fiche.reset();
        }
        QVERIFY(AucuneFenetreOuverte());
        messages.reset();
        base.reset();
    }

    void constructionCreeLeDossierXml()
    {
        QVERIFY(!QDir(base->Fichier(QStringLiteral("Xml"))).exists());
        TFicheModeNormal ecran(nullptr);
        QVERIFY(QDir(base->Fichier(QStringLiteral("Xml"))).exists());
        QCOMPARE(ecran.GetSession().GetDossierXml(), base->Fichier(QStringLiteral("Xml/")));
        // Nothing is written before the quote is read.
        QVERIFY(QDir(base->Fichier(QStringLiteral("Xml"))).isEmpty());
        QCOMPARE(ecran.windowTitle(), QStringLiteral("Quarlo "));
        QCOMPARE(ecran.size(), QSize(894, 685));
        QCOMPARE(Texte(&ecran, "lblQuincailleriesGlobalesHt"), QStringLiteral("0,00"));
        QCOMPARE(Controle<QPushButton>(&ecran, QStringLiteral("btnMode"))->text().remove(QLatin1Char('&')),
                 QStringLiteral("Voir la description de la menuiserie"));
        QVERIFY(Controle<QCheckBox>(&ecran, QStringLiteral("cbPriseDeCote"))->isChecked());
        QCOMPARE(TextesLigne(Controle<QTreeView>(&ecran, QStringLiteral("lvCategorie")), -1), QStringList());
        auto* entete = Controle<QTreeView>(&ecran, QStringLiteral("lvListe"))->model();
        QCOMPARE(entete->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Qté"));
        QCOMPARE(Controle<QTreeView>(&ecran, QStringLiteral("lvListe"))->columnWidth(0), 210);
        QCOMPARE(Controle<QTreeView>(&ecran, QStringLiteral("lvCategorie"))->columnWidth(0), 175);
    }

    void sansPoseLeChoixAnnuleGardeLaLivraison()
    {
        Ecrire(Menuiseries({{QStringLiteral("Fenêtre"), {{"Quantite", "1"}}, QString()}}));
        const auto annulation = PiloteModal::Annuler();
        Ouvrir();
        QVERIFY(annulation.Fait());
        QVERIFY(fiche->GetSession().GetPoseGlobale().GetId().isEmpty());
        QCOMPARE(C<QListWidget>("lvPose")->item(0)->text(), QString());
        QVERIFY(C<QCheckBox>("cbLivraison")->isChecked());
        QVERIFY(fiche->GetSession().GetPoseGlobale().GetChoix(TPoseLivraison::Livraison));
        QVERIFY(QRegularExpression(QStringLiteral("/Xml/\\d{8}_\\d{6}$")).match(fiche->GetSession().GetPrefixeHorodate()).hasMatch());
        QVERIFY(QFile::exists(fiche->GetSession().GetPrefixeHorodate() + QStringLiteral(".entree.xml")));
        QCOMPARE(NombreLignes(C<QTreeView>("lvListe")), 1);
        QVERIFY(messages->Recus().isEmpty());
    }

    // The kind chosen at once is spread to every item, and the automatic
    // lines take its VAT before they are shown.
    void sansPoseLeChoixDiffuseLaPoseEtSaTva()
    {
        const QString categorie = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("PVC"));
        InsererTarif(idPoseStandard, categorie, 0, 100);
        Ecrire(Menuiseries({{QStringLiteral("F1"), {{"Quantite", "1"}, {"TRELVANE_LIBELLE_CODE", "10101"}}, QString(), "1"},
                            {QStringLiteral("F2"), {{"Quantite", "1"}}, QString(), "1"}}));
        const auto choisi = ChoisirPose(idPoseStandard);
        Ouvrir();
        QVERIFY(choisi.Fait());
        QCOMPARE(C<QListWidget>("lvPose")->item(0)->text(), QStringLiteral("Pose standard"));
        QCOMPARE(C<QLineEdit>("edtLivraison")->text(), QStringLiteral("30,00"));
        QCOMPARE(L("lblTvaValeur"), QStringLiteral("20,00"));
        for (const TMenuiserie& menuiserie : fiche->GetSession().GetMenuiseries()) {
            QCOMPARE(menuiserie.GetPose().GetId(), idPoseStandard);
            QCOMPARE(menuiserie.GetPose().GetTva().GetTypeTva(), 1);
        }
        QCOMPARE(C<QListWidget>("lvPoseMenuiserie")->item(0)->text(), QStringLiteral("Pose standard"));
        QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 0),
                 (QStringList{"Fenêtre PVC", "0,00", "100,00", "20,00", "120,00"}));
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("120,00"));
        QCOMPARE(C<QComboBox>("cbTvaMenuiserie")->currentText(), QStringLiteral("TVA 20 %"));
        QCOMPARE(C<QComboBox>("cmbTVA")->currentText(), QStringLiteral("TVA 20 %"));
        // Delivery 30 at 20 %.
        QCOMPARE(L("lblTotalTva"), QStringLiteral("26,00"));
    }

    void sansMenuiseriesLesListesRestentVides()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", true, "30,00") + Option("livraison_compliquee", false, "15,00")
                               + Option("livraison_autorisation", false, "40,00")
                               + Option("livraison_manutention", false, "25,00"))
               + QStringLiteral("<cotes choix=\"0\"/><global><quincailleries>")
               + Quincaillerie("10,00", "4,00", "2,00") + QStringLiteral("</quincailleries></global>"));
        Ouvrir();
        QCOMPARE(NombreLignes(C<QTreeView>("lvListe")), 0);
        QCOMPARE(NombreLignes(C<QTreeView>("lvCategorie")), 0);
        QVERIFY(!C<QPushButton>("btnPrecedent")->isEnabled());
        QVERIFY(!C<QPushButton>("btnSuivant")->isEnabled());
        QVERIFY(!C<QCheckBox>("cbPriseDeCote")->isChecked());
        for (const char* nom : {"lblTotalMenuiserieAchatHt", "lblTotalMenuiserieHt", "lblTotalMenuiserieTva",
                                "lblTotalMenuiserieTtc", "lblTotalMenuiseriesHt", "lblTotalQuincailleriesHt"})
            QCOMPARE(L(nom), QStringLiteral("0,00"));
        QCOMPARE(L("lblQuincailleriesGlobalesAchat"), QStringLiteral("8,00"));
        QCOMPARE(L("lblQuincailleriesGlobalesTtc"), QStringLiteral("24,00"));
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("30,00"));
        QCOMPARE(L("lblTotalQuincailleriesGlobalesHt"), QStringLiteral("20,00"));
        QCOMPARE(L("lblTotalAchatHt"), QStringLiteral("8,00"));
        QCOMPARE(L("lblTotalHt"), QStringLiteral("50,00"));
        QCOMPARE(L("lblTotalTva"), QStringLiteral("10,00"));
        QCOMPARE(L("lblTotalTtc"), QStringLiteral("60,00"));
    }

    void totauxDuDevisEtDeLaMenuiserie()
    {
        const QString ligne = Tarif("", "Pose", "100,00", 1, "20,00");
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", true, "30,00") + Option("livraison_manutention", true, "5,00"))
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "2"}}, ligne, "3"},
                              {QStringLiteral("B"), {{"Quantite", "3"}}, ligne, "3"},
                              {QStringLiteral("C"), {{"Hauteur", "900"}}, ligne + ligne, "1"}}));
        Ouvrir();
        // A counts twice in the quote and three times in its own totals.
        QCOMPARE(L("lblTotalMenuiserieHt"), QStringLiteral("300,00"));
        QCOMPARE(L("lblTotalMenuiserieTva"), QStringLiteral("60,00"));
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("360,00"));
        // C has no "Quantite": its quantity field (1) counts, and no message.
        QCOMPARE(L("lblTotalMenuiseriesHt"), QStringLiteral("700,00"));
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("35,00"));
        QCOMPARE(L("lblTotalHt"), QStringLiteral("735,00"));
        QCOMPARE(L("lblTotalTva"), QStringLiteral("147,00"));
        QCOMPARE(L("lblTotalTtc"), QStringLiteral("882,00"));
        QVERIFY(messages->Recus().isEmpty());
    }

    // A line's hardware counts in the item and quote totals only while the
    // line includes it; the line's own hardware panel shows it either way.
    void totauxAvecQuincaillerieEtPoseur_data()
    {
        QTest::addColumn<bool>("incluse");
        QTest::addColumn<QStringList>("totaux"); // item HT, item TVA, quote HT, " dont", quote purchase

        QTest::newRow("incluse") << true << QStringList{"120,00", "24,00", "240,00", "40,00", "20,00"};
        QTest::newRow("non incluse") << false << QStringList{"100,00", "20,00", "200,00", "0,00", "0,00"};
    }

    void totauxAvecQuincaillerieEtPoseur()
    {
        QFETCH(bool, incluse);
        QFETCH(QStringList, totaux);

        base->Executer(QStringLiteral("INSERT INTO Poseur (IdPoseur, Code, Nom) VALUES (7, 'P7', 'Dupont Pose')"));
        QString ligne = Tarif("", "Pose", "100,00", 1, "20,00", "7", Quincaillerie("10,00", "5,00", "2,00"));
        if (!incluse)
            ligne.replace(QStringLiteral("quincaillerie_incluse=\"1\""), QStringLiteral("quincaillerie_incluse=\"0\""));
        Ecrire(Menuiseries({{QStringLiteral("A"), {{"Quantite", "2"}}, ligne, "1"}}));
        const auto annulation = PiloteModal::Annuler();
        Ouvrir();
        QCOMPARE(C<QLineEdit>("edtPoseur")->text(), QStringLiteral("Dupont Pose"));
        QCOMPARE(C<QCheckBox>("cbQuincaillerie")->isChecked(), incluse);
        QCOMPARE(L("lblQuincaillerieAchat"), QStringLiteral("10,00"));
        QCOMPARE(L("lblQuincaillerieHt"), QStringLiteral("20,00"));
        QCOMPARE(L("lblQuincaillerieTva"), QStringLiteral("4,00"));
        QCOMPARE(L("lblQuincaillerieTtc"), QStringLiteral("24,00"));
        QCOMPARE(L("lblTotalMenuiserieHt"), totaux[0]);
        QCOMPARE(L("lblTotalMenuiserieTva"), totaux[1]);
        QCOMPARE(L("lblTotalMenuiseriesHt"), totaux[2]);
        QCOMPARE(L("lblTotalQuincailleriesHt"), totaux[3]);
        // The installer price read from the file (0) plus the hardware's purchase.
        QCOMPARE(L("lblTotalAchatHt"), totaux[4]);
    }

    void nomDuPoseurLuDansLaBase()
    {
        base->Executer(QStringLiteral("INSERT INTO Poseur (IdPoseur, Code, Nom) VALUES (7, 'P7', 'Dupont Pose')"));
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}},
                               Tarif("", "Connu", "1,00", 1, "20,00", "7") + Tarif("", "Inconnu", "1,00", 1, "20,00", "8"),
                               "1"}}));
        Ouvrir();
        QCOMPARE(C<QLineEdit>("edtPoseur")->text(), QStringLiteral("Dupont Pose"));
        SelectionnerRang(C<QTreeView>("lvCategorie"), 1);
        QCOMPARE(fiche->GetSession().TarifCourant(), &fiche->GetSession().GetMenuiseries()[0].GetTarifs()[1]);
        QCOMPARE(C<QLineEdit>("edtPoseur")->text(), QString());
    }

    void navigationEtAffichage()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("Fenêtre € 1"),
                               {{"Quantite", "2"}, {"Hauteur", "1350"}, {"Largeur", "1200"}, {"Vantail", "2"}},
                               QString(), "2", QString(), QStringLiteral("Première description")},
                              {QStringLiteral("Porte"), {{"Hauteur", "2150"}}, QString(), "1",
                               QStringLiteral("<pose id=\"9\" libelle=\"Pose porte\" code_export=\"\">"
                                              "<tva type_tva=\"3\" libelle=\"\" valeur=\"5,5\"/></pose>"),
                               QStringLiteral("Deuxième")},
                              {QStringLiteral("Volet"), {}, QString(), "1"}}));
        Ouvrir();
        auto* liste = C<QTreeView>("lvListe");
        auto* precedent = C<QPushButton>("btnPrecedent");
        auto* suivant = C<QPushButton>("btnSuivant");
        QCOMPARE(TextesLigne(liste, 0), (QStringList{"Fenêtre € 1", "2", "1350", "1200", "2"}));
        QCOMPARE(TextesLigne(liste, 1), (QStringList{"Porte", "", "2150", "", ""}));
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[0]);
        QCOMPARE(C<QPlainTextEdit>("memoDescription")->toPlainText(), QStringLiteral("Première description"));
        QVERIFY(!precedent->isEnabled());
        QVERIFY(suivant->isEnabled());

        QTest::mouseClick(precedent, Qt::LeftButton);
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[0]);
        QTest::mouseClick(suivant, Qt::LeftButton);
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[1]);
        QCOMPARE(C<QListWidget>("lvPoseMenuiserie")->item(0)->text(), QStringLiteral("Pose porte"));
        QCOMPARE(L("lblTvaMenuiserie"), QStringLiteral("5,5"));
        QCOMPARE(C<QComboBox>("cbTvaMenuiserie")->currentText(), QStringLiteral("TVA 5,5 %"));
        QVERIFY(precedent->isEnabled());
        QTest::mouseClick(suivant, Qt::LeftButton);
        QVERIFY(!suivant->isEnabled());
        QTest::mouseClick(suivant, Qt::LeftButton);
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[2]);
        QCOMPARE(IndexSelection(liste), 2);

        auto* mode = C<QPushButton>("btnMode");
        const QRect placePrecedent = precedent->geometry();
        QTest::mouseClick(mode, Qt::LeftButton);
        QApplication::processEvents(); // the layout follows the new caption
        QCOMPARE(precedent->geometry(), placePrecedent);
        QVERIFY(!liste->isVisible());
        QVERIFY(C<QPlainTextEdit>("memoDescription")->isVisible());
        QCOMPARE(mode->text().remove(QLatin1Char('&')), QStringLiteral("Voir la liste des menuiseries"));
        QTest::mouseClick(mode, Qt::LeftButton);
        QVERIFY(liste->isVisible());
        QCOMPARE(mode->text().remove(QLatin1Char('&')), QStringLiteral("Voir la description de la menuiserie"));
    }

    void optionsDeLivraisonLiees()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", false, "30,00") + Option("livraison_compliquee", true, "15,00")
                               + Option("livraison_autorisation", false, "40,00")
                               + Option("livraison_manutention", false, "25,123")));
        Ouvrir();
        auto* livraison = C<QCheckBox>("cbLivraison");
        auto* manutention = C<QCheckBox>("cbLivraisonManutention");
        // A sub-option read as chosen checks "Livraison".
        QVERIFY(livraison->isChecked());
        QVERIFY(C<QCheckBox>("cbLivraisonCompliquee")->isChecked());
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("45,00"));
        // More than two decimals: shown with two, and that is the price kept.
        QCOMPARE(C<QLineEdit>("edtLivraisonManutention")->text(), QStringLiteral("25,12"));
        QCOMPARE(fiche->GetSession().GetPoseGlobale().GetPrix(TPoseLivraison::LivraisonManutention), 25.12);

        livraison->click();
        for (const char* nom : {"cbLivraison", "cbLivraisonCompliquee", "cbLivraisonAutorisation", "cbLivraisonManutention"})
            QVERIFY(!C<QCheckBox>(nom)->isChecked());
        for (auto option : TPoseLivraison::kOptions)
            QVERIFY(!fiche->GetSession().GetPoseGlobale().GetChoix(option));
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("0,00"));

        manutention->click();
        QVERIFY(livraison->isChecked());
        QVERIFY(fiche->GetSession().GetPoseGlobale().GetChoix(TPoseLivraison::Livraison));
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("55,12"));
        QCOMPARE(L("lblTotalTva"), QStringLiteral("11,02"));
        QVERIFY(messages->Recus().isEmpty());
    }

    void prixDeLivraison_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("saisie");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QString>("total");

        const QString livraison = QStringLiteral("Veuillez saisir un chiffre correct pour la livraison");
        QTest::newRow("nombre") << "edtLivraison" << 0 << "12,5" << "" << "12,50";
        QTest::newRow("au centime") << "edtLivraison" << 0 << "12,555" << "" << "12,56";
        QTest::newRow("-2 accepté") << "edtLivraison" << 0 << "-2" << "" << "-2,00";
        QTest::newRow("-1 refusé") << "edtLivraison" << 0 << "-1" << livraison << "30,00";
        QTest::newRow("vide") << "edtLivraison" << 0 << "" << livraison << "30,00";
        QTest::newRow("point") << "edtLivraison" << 0 << "abc" << livraison << "30,00";
        QTest::newRow("point décimal") << "edtLivraison" << 0 << "12.5" << livraison << "30,00";
        QTest::newRow("hors limites") << "edtLivraison" << 0 << "99999999999999"
                                      << livraison + "\nLe montant doit rester inférieur à mille milliards en valeur absolue."
                                      << "30,00";
        QTest::newRow("compliquée") << "edtLivraisonCompliquee" << 1 << "x"
                                    << "Veuillez saisir un chiffre correct pour la livraison compliquée" << "30,00";
        QTest::newRow("autorisation") << "edtLivraisonAutorisation" << 2 << "x"
                                      << "Veuillez saisir un chiffre correct pour l'autorisation" << "30,00";
        QTest::newRow("manutention") << "edtLivraisonManutention" << 3 << "x"
                                     << "Veuillez saisir un chiffre correct pour la manutention." << "30,00";
    }

    void prixDeLivraison()
    {
        QFETCH(QString, edit);
        QFETCH(int, option);
        QFETCH(QString, saisie);
        QFETCH(QString, message);
        QFETCH(QString, total);

        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", true, "30,00") + Option("livraison_compliquee", false, "15,00")
                               + Option("livraison_autorisation", false, "40,00")
                               + Option("livraison_manutention", false, "25,00")));
        Ouvrir();
        fiche->activateWindow();
        auto* champ = Controle<QLineEdit>(fiche.get(), edit);
        const auto choix = static_cast<TPoseLivraison::OptionLivraison>(option);
        const double avant = fiche->GetSession().GetPoseGlobale().GetPrix(choix);
        champ->setFocus();
        champ->selectAll();
        if (saisie.isEmpty())
            QTest::keyClick(champ, Qt::Key_Delete);
        else
            champ->setText(saisie);
        // Being typed, a price is no error yet; it is checked when left.
        QVERIFY(messages->Recus().isEmpty());
        C<QCheckBox>("cbPriseDeCote")->setFocus();

        if (message.isEmpty()) {
            QVERIFY(messages->Recus().isEmpty());
            QCOMPARE(fiche->GetSession().GetPoseGlobale().GetPrix(choix), LireDecimal(total).value());
        } else {
            // The message says what the quote keeps.
            QCOMPARE(messages->Textes(), QStringList{message + "\nLe prix reste " + FormatMonetaire(avant) + "."});
            QCOMPARE(messages->Recus().first().genre, Messages::Genre::Information);
            QCOMPARE(fiche->GetSession().GetPoseGlobale().GetPrix(choix), avant);
            QTRY_VERIFY(champ->hasFocus());
        }
        // Taken, rounded or refused, the box shows the price the quote holds.
        QCOMPARE(champ->text(), FormatMonetaire(fiche->GetSession().GetPoseGlobale().GetPrix(choix)));
        QCOMPARE(L("lblTotalLivraisonHt"), total);
    }

    void choixDeLaPoseDuDevis()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", true, "33,00") + Option("livraison_compliquee", true, "15,00")
                               + Option("livraison_autorisation", true, "40,00")
                               + Option("livraison_manutention", false, "25,00"))
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "Pose", "100,00", 1, "20,00"), "1",
                               QStringLiteral("<pose id=\"9\" libelle=\"À part\" code_export=\"\">"
                                              "<tva type_tva=\"3\" libelle=\"\" valeur=\"5,5\"/></pose>")}}));
        Ouvrir();
        auto* lvPose = C<QListWidget>("lvPose");

        // The same kind again: nothing is reset.
        const auto meme = ChoisirPose(idPoseStandard);
        QTest::mouseClick(lvPose->viewport(), Qt::LeftButton, {}, lvPose->visualItemRect(lvPose->item(0)).center());
        QVERIFY(meme.Fait());
        QCOMPARE(C<QLineEdit>("edtLivraison")->text(), QStringLiteral("33,00"));
        QVERIFY(C<QCheckBox>("cbLivraisonCompliquee")->isChecked());
        QCOMPARE(fiche->GetSession().GetMenuiseries()[0].GetPose().GetLibelle(), QStringLiteral("À part"));

        const auto autre = ChoisirPose(idPoseRenovation);
        QTest::mouseClick(lvPose->viewport(), Qt::LeftButton, {}, lvPose->visualItemRect(lvPose->item(0)).center());
        QVERIFY(autre.Fait());
        const TPoseLivraison& pose = fiche->GetSession().GetPoseGlobale();
        QCOMPARE(pose.GetId(), idPoseRenovation);
        QCOMPARE(lvPose->item(0)->text(), QStringLiteral("Rénovation"));
        QCOMPARE(pose.GetCodeExport(), QStringLiteral("Rén"));
        QCOMPARE(pose.GetCodeExportOption(TPoseLivraison::LivraisonManutention), QStringLiteral("LM"));
        QCOMPARE(L("lblTvaValeur"), QStringLiteral("10,00"));
        QCOMPARE(C<QLineEdit>("edtLivraison")->text(), QStringLiteral("50,00"));
        QCOMPARE(C<QLineEdit>("edtLivraisonAutorisation")->text(), QStringLiteral("0,00"));
        QVERIFY(C<QCheckBox>("cbLivraison")->isChecked());
        QVERIFY(!C<QCheckBox>("cbLivraisonCompliquee")->isChecked());
        QVERIFY(!C<QCheckBox>("cbLivraisonAutorisation")->isChecked());
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("50,00"));
        // The item's own kind is replaced, and its line takes the new VAT.
        const TMenuiserie& menuiserie = fiche->GetSession().GetMenuiseries()[0];
        QCOMPARE(menuiserie.GetPose().GetLibelle(), QStringLiteral("Rénovation"));
        QCOMPARE(menuiserie.GetTarifs()[0].GetTva().GetValeur(), 10.0);
        QCOMPARE(C<QListWidget>("lvPoseMenuiserie")->item(0)->text(), QStringLiteral("Rénovation"));
        QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 0).value(3), QStringLiteral("10,00"));
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("110,00"));
        // Delivery VAT stays 20 %: 10 + 10 for the line.
        QCOMPARE(L("lblTotalTva"), QStringLiteral("20,00"));
    }

    // Right after a new quote-wide kind, the quote totals are those of every
    // item with its new VAT, not only of the item on show.
    void choixDeLaPoseMetAJourTousLesTotaux()
    {
        Ecrire(PoseGlobale(idPoseRenovation, QStringLiteral("Rénovation"), 2, "10,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 2, "10,00"), "1"},
                              {QStringLiteral("B"), {{"Quantite", "2"}}, Tarif("", "L2", "200,00", 2, "10,00"), "2"}}));
        Ouvrir();
        QCOMPARE(L("lblTotalTva"), QStringLiteral("50,00"));
        QCOMPARE(L("lblTotalTtc"), QStringLiteral("550,00"));

        auto* lvPose = C<QListWidget>("lvPose");
        const auto choisi = ChoisirPose(idPoseStandard);
        QTest::mouseClick(lvPose->viewport(), Qt::LeftButton, {}, lvPose->visualItemRect(lvPose->item(0)).center());
        QVERIFY(choisi.Fait());
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[0]);
        // Delivery 30 at 20 %, then the items at 20 %: 100 x 1 and 200 x 2.
        QCOMPARE(L("lblTotalHt"), QStringLiteral("530,00"));
        QCOMPARE(L("lblTotalTva"), QStringLiteral("106,00"));
        QCOMPARE(L("lblTotalTtc"), QStringLiteral("636,00"));
    }

    void tvaDUneLigneOuiPuisNon()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}},
                               Tarif("", "L1", "100,00", 1, "20,00") + Tarif("", "L2", "200,00", 1, "20,00"), "1",
                               QStringLiteral("<pose id=\"1\" libelle=\"P\" code_export=\"\">"
                                              "<tva type_tva=\"1\" libelle=\"\" valeur=\"20,00\"/></pose>")}}));
        Ouvrir();
        QVERIFY(messages->Recus().isEmpty()); // entries selected by the program ask nothing
        auto* cmbTva = C<QComboBox>("cmbTVA");
        auto* tvaMenuiserie = C<QComboBox>("cbTvaMenuiserie");
        const TMenuiserie& menuiserie = fiche->GetSession().GetMenuiseries()[0];

        messages->RepondreOui();
        messages->RepondreNon();
        ChoisirTva(cmbTva, QStringLiteral("TVA 10 %"));
        QCOMPARE(messages->Textes(),
                 (QStringList{"Voulez-vous affecter la nouvelle TVA de ce tarif de pose à la menuiserie ?",
                              "Voulez-vous affecter la nouvelle TVA aux tarifs de pose de cette menuiserie ?"}));
        QCOMPARE(menuiserie.GetTarifs()[0].GetTva().GetTypeTva(), 2);
        QCOMPARE(menuiserie.GetTarifs()[1].GetTva().GetTypeTva(), 1);
        QCOMPARE(menuiserie.GetPose().GetTva().GetTypeTva(), 2);
        QCOMPARE(tvaMenuiserie->currentText(), QStringLiteral("TVA 10 %"));
        QCOMPARE(L("lblTvaMenuiserie"), QStringLiteral("10"));
        QCOMPARE(L("lblTarifTvaValeur"), QStringLiteral("10,00"));
        QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 0), (QStringList{"L1", "0,00", "100,00", "10,00", "110,00"}));
        QCOMPARE(L("lblTotalMenuiserieTva"), QStringLiteral("50,00"));
        QCOMPARE(L("lblTotalTva"), QStringLiteral("50,00"));

        // The type the item already has: no question.
        messages->Vider();
        ChoisirTva(cmbTva, QStringLiteral("TVA 10 %"));
        QVERIFY(messages->Recus().isEmpty());

        // The item's VAT answered "Oui": every line takes it.
        messages->RepondreOui();
        ChoisirTva(tvaMenuiserie, QStringLiteral("TVA 5,5 %"));
        QCOMPARE(messages->Textes(),
                 QStringList{"Voulez-vous affecter la nouvelle TVA aux tarifs de pose de cette menuiserie ?"});
        for (const TTarif& tarif : menuiserie.GetTarifs())
            QCOMPARE(tarif.GetTva().GetValeur(), 5.5);
        QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 1).value(3), QStringLiteral("11,00"));
        QCOMPARE(cmbTva->currentText(), QStringLiteral("TVA 5,5 %"));
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("316,50"));
        QCOMPARE(menuiserie.GetTarifs()[0].GetPrix(), 100.0);
    }

    void tvaDUneLigneNonGardeLaMenuiserie()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 1, "20,00"), "1",
                               QStringLiteral("<pose id=\"1\" libelle=\"P\" code_export=\"\">"
                                              "<tva type_tva=\"1\" libelle=\"\" valeur=\"20,00\"/></pose>")}}));
        Ouvrir();
        messages->RepondreNon();
        ChoisirTva(C<QComboBox>("cmbTVA"), QStringLiteral("TVA 5,5 %"));
        QCOMPARE(messages->Recus().size(), 1);
        QCOMPARE(fiche->GetSession().GetMenuiseries()[0].GetPose().GetTva().GetTypeTva(), 1);
        QCOMPARE(C<QComboBox>("cbTvaMenuiserie")->currentText(), QStringLiteral("TVA 20 %"));
        QCOMPARE(fiche->GetSession().GetMenuiseries()[0].GetTarifs()[0].GetTva().GetTypeTva(), 3);
        QCOMPARE(L("lblTotalMenuiserieTva"), QStringLiteral("5,50"));
    }

    // Tab goes round the screen in reading order, the two lists included
    // (the controls greyed or hidden aside); a control that draws itself
    // shows the style's focus frame while it has the focus.
    void ordreDeTabulation()
    {
        EcrireDevisDUneLigne();
        Ouvrir();
        const QStringList dessines{"lvPose", "lvListe", "lvPoseMenuiserie", "lvCategorie"};
        QStringList tour;
        Cible(fiche.get());
        for (int i = 0; i < 60 && !tour.contains(QApplication::focusWidget()->objectName()); ++i) {
            const QWidget* focus = QApplication::focusWidget();
            tour << focus->objectName();
            bool cadre = false;
            for (const QFocusFrame* autour : fiche->findChildren<QFocusFrame*>())
                cadre = cadre || (autour->isVisible() && autour->widget() == focus);
            QVERIFY2(cadre == dessines.contains(focus->objectName()), qPrintable(focus->objectName()));
            Taper(fiche.get(), Qt::Key_Tab);
        }
        QCOMPARE(tour, (QStringList{"lvListe", "cbTvaMenuiserie", "lvPoseMenuiserie", "btnAjouter", "btnDupliquer",
                                    "btnModifier", "btnSupprimer", "btnSupprimerTout", "lvCategorie", "edtPoseur",
                                    "btnPoseur", "cmbTVA", "cbQuincaillerie", "btnQuincaillerie", "btnValider", "lvPose",
                                    "cbLivraison", "edtLivraison", "cbLivraisonCompliquee", "edtLivraisonCompliquee",
                                    "cbLivraisonAutorisation", "edtLivraisonAutorisation", "cbLivraisonManutention",
                                    "edtLivraisonManutention", "cbPriseDeCote", "btnQuincailleriesGlobales",
                                    "btnActualiser", "btnMode"}));
    }

    // Moving through a VAT list with the keys asks nothing: the entry reached
    // is chosen, and the question asked once, on Enter or when the list is
    // left; Escape, or coming back to the first entry, chooses nothing.
    void tvaAuClavier_data()
    {
        QTest::addColumn<QList<int>>("touches"); // typed in the line's VAT list, which is then left
        QTest::addColumn<int>("type");           // the line's VAT type then
        QTest::addColumn<int>("questions");

        // The list: "TVA 10 %" (2), "TVA 20 %" (1, the line's), "TVA 5,5 %" (3).
        QTest::newRow("Entrée") << QList<int>{Qt::Key_Up, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << 2 << 1;
        QTest::newRow("liste quittée") << QList<int>{Qt::Key_Down} << 3 << 1;
        QTest::newRow("Échap") << QList<int>{Qt::Key_Up, Qt::Key_Escape} << 1 << 0;
        QTest::newRow("retour au départ") << QList<int>{Qt::Key_Up, Qt::Key_Down} << 1 << 0;
    }

    void tvaAuClavier()
    {
        QFETCH(QList<int>, touches);
        QFETCH(int, type);
        QFETCH(int, questions);
        EcrireDevisDUneLigne();
        Ouvrir();
        auto* cmbTva = C<QComboBox>("cmbTVA");
        cmbTva->setFocus();
        for (const int touche : touches)
            Taper(fiche.get(), touche);
        C<QTreeView>("lvCategorie")->setFocus();
        QCOMPARE(messages->Recus().size(), questions);
        const TTarif& ligne = fiche->GetSession().GetMenuiseries()[0].GetTarifs()[0];
        QCOMPARE(ligne.GetTva().GetTypeTva(), type);
        QCOMPARE(GetCodeSelection(cmbTva), QString::number(type));
        QCOMPARE(fiche->GetSession().GetPile().count(), type == 1 ? 0 : 1);
    }

    void fichierIlliblefermeSansEcrire_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("extrait");
        QTest::newRow("xml illisible") << QByteArray("<?xml version=\"1.0\"?>\n<Quarlo><menuiseries>") << "echange.xml";
        QTest::newRow("type_tva faux")
            << Document(PoseGlobale("1", "P", 1, "20,00", QString()).replace("type_tva=\"1\"", "type_tva=\"x\"")
                        + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"}}))
            << "type de TVA « x »";
    }

    void fichierIlliblefermeSansEcrire()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, extrait);
        {
            QFile fichier(echange);
            QVERIFY(fichier.open(QIODevice::WriteOnly));
            fichier.write(contenu);
        }
        fiche = std::make_unique<TFicheModeNormal>(nullptr);
        fiche->SetFichierEchange(echange);
        fiche->show();
        QTRY_VERIFY(!fiche->isVisible());
        QCOMPARE(fiche->result(), int(QDialog::Rejected));
        QCOMPARE(messages->Recus().size(), 1);
        QCOMPARE(messages->Recus().first().genre, Messages::Genre::Erreur);
        QVERIFY2(messages->Dernier().contains(QDir::toNativeSeparators(echange)), qPrintable(messages->Dernier()));
        QVERIFY2(messages->Dernier().contains(extrait), qPrintable(messages->Dernier()));
        QVERIFY(fiche->GetSession().GetMenuiseries().EstVide());
        QFile relu(echange);
        QVERIFY(relu.open(QIODevice::ReadOnly));
        QCOMPARE(relu.readAll(), contenu);
    }

    // Without its archive copy the quote is still priced, and the user is told.
    void archiveImpossibleLeChiffrageContinue()
    {
        QFile bouchon(base->Fichier(QStringLiteral("Xml")));
        QVERIFY(bouchon.open(QIODevice::WriteOnly)); // a file where the folder should be
        bouchon.close();
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 1, "20,00"), "1"}}));
        Ouvrir();
        QCOMPARE(messages->Recus().size(), 1);
        QCOMPARE(messages->Recus().first().genre, Messages::Genre::Erreur);
        QVERIFY2(messages->Dernier().contains(QStringLiteral(".entree.xml")), qPrintable(messages->Dernier()));
        QVERIFY(fiche->isVisible());
        QCOMPARE(NombreLignes(C<QTreeView>("lvCategorie")), 1);
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("120,00"));
    }

    void uneNouvelleActivationNeRechargePas()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", Option("livraison", true, "30,00"))
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"}}));
        Ouvrir();
        C<QCheckBox>("cbLivraison")->click();
        Ecrire(Menuiseries({}));
        fiche->hide();
        fiche->show();
        ViderFileEvenements();
        QCOMPARE(NombreLignes(C<QTreeView>("lvListe")), 1);
        QVERIFY(!C<QCheckBox>("cbLivraison")->isChecked());
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("0,00"));
    }

    // Unchanged, the screen closes at once; changed, it asks first, stays
    // on "Non", and closes on "Oui". Closing never writes.
    void fermerNEcritRien()
    {
        const QByteArray avant = EcrireDevisDUneLigne();
        QFile fichier(echange);
        Ouvrir();
        fiche->close();
        QVERIFY(!fiche->isVisible());
        QVERIFY(messages->Recus().isEmpty());

        Ouvrir();
        C<QCheckBox>("cbQuincaillerie")->click();
        fiche->close();
        QVERIFY(fiche->isVisible());
        QCOMPARE(messages->Textes(), QStringList{"Le chiffrage a été modifié et n'a pas été validé.\n"
                                                 "Voulez-vous fermer sans enregistrer ? Les modifications seront perdues."});
        QVERIFY(messages->Recus().first().nonParDefaut);
        messages->RepondreOui();
        fiche->close();
        QVERIFY(!fiche->isVisible());
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        QCOMPARE(fichier.readAll(), avant);
        QVERIFY(!QFile::exists(fiche->GetSession().GetPrefixeHorodate() + QStringLiteral(".sortie.xml")));
    }

    // Closing asks exactly when the quote differs from what the screen
    // opened on: an unchecked "Prise de côte" does, hardware looked at and
    // closed unchanged does not, nor a change undone.
    void fermerDemandeSiModifie_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("demande");
        QTest::newRow("prise de côte décochée") << "cote" << true;
        QTest::newRow("quincaillerie vue") << "quincaillerie" << false;
        QTest::newRow("ligne supprimée puis annulée") << "annulee" << false;
    }

    void fermerDemandeSiModifie()
    {
        QFETCH(QString, action);
        QFETCH(bool, demande);
        EcrireDevisDUneLigne();
        Ouvrir();
        if (action == u"cote") {
            C<QCheckBox>("cbPriseDeCote")->click();
        } else if (action == u"quincaillerie") {
            const auto detail = PiloteModal::QuandOuvert<TFicheQuincaillerieDetail>(
                [](TFicheQuincaillerieDetail* fenetre) { fenetre->accept(); });
            QTest::mouseClick(C<QToolButton>("btnQuincaillerie"), Qt::LeftButton);
        } else {
            QTest::mouseClick(C<QToolButton>("btnSupprimer"), Qt::LeftButton);
            QCOMPARE(NombreLignes(C<QTreeView>("lvCategorie")), 0);
            Taper(fiche.get(), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 0).value(0), QStringLiteral("L1"));
        }
        messages->RepondreNon();
        fiche->close();
        QCOMPARE(messages->Recus().size(), demande ? 1 : 0);
        QCOMPARE(fiche->isVisible(), demande);
    }

    // "Annuler" and "Rétablir" say what they would undo or redo, greyed
    // when there is nothing; Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z walk the steps,
    // and the line that comes back is shown selected.
    void annulerEtRetablir()
    {
        EcrireDevisDUneLigne();
        Ouvrir();
        auto* annuler = C<QToolButton>("btnAnnuler");
        auto* retablir = C<QToolButton>("btnRetablir");
        auto* lignes = C<QTreeView>("lvCategorie");
        QVERIFY(!annuler->isEnabled() && !retablir->isEnabled());
        QTest::mouseClick(C<QToolButton>("btnSupprimer"), Qt::LeftButton);
        QVERIFY(annuler->isEnabled());
        QCOMPARE(annuler->toolTip(), QStringLiteral("Annuler : suppression de la ligne « L1 » (Ctrl+Z)"));
        QTest::mouseClick(annuler, Qt::LeftButton);
        QCOMPARE(IndexSelection(lignes), 0);
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("120,00"));
        QVERIFY(!annuler->isEnabled());
        QCOMPARE(retablir->toolTip(), QStringLiteral("Rétablir : suppression de la ligne « L1 » (Ctrl+Y)"));
        // Redone, undone, redone.
        const std::pair<QKeySequence, int> touches[] = {{QKeySequence(Qt::CTRL | Qt::Key_Y), 0},
                                                        {QKeySequence(Qt::CTRL | Qt::Key_Z), 1},
                                                        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), 0}};
        for (const auto& [touche, nombre] : touches) {
            QTest::keySequence(Cible(fiche.get()), touche);
            QCOMPARE(NombreLignes(lignes), nombre);
        }
        QVERIFY(messages->Recus().isEmpty());
    }

    // What is left shows beside "Valider"; a click, or F8, goes to the next
    // item or line to look at.
    void resteAFaire()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"},
                              {QStringLiteral("B"), {{"Quantite", "1"}},
                               Tarif("", "Juste", "100,00", 1, "20,00") + TarifSansPoseur("", "Sans poseur", "100,00"), "1"}}));
        Ouvrir();
        auto* reste = C<QLabel>("lblResteAFaire");
        QTRY_COMPARE(reste->accessibleName(), QStringLiteral("1 menuiserie sans ligne · 1 ligne sans poseur"));
        Taper(fiche.get(), Qt::Key_F8);
        QCOMPARE(fiche->GetSession().GetIndexMenuiserie(), 1);
        QCOMPARE(fiche->GetSession().GetIndexTarif(), 1);
        QCOMPARE(IndexSelection(C<QTreeView>("lvCategorie")), 1);
        emit reste->linkActivated(QStringLiteral("suivant"));
        QCOMPARE(fiche->GetSession().GetIndexMenuiserie(), 0);
        QCOMPARE(IndexSelection(C<QTreeView>("lvListe")), 0);
    }

    // The kind dismissed at the opening and chosen later, no item having
    // any line: the automatic lines are offered, and said when added.
    void lignesAutomatiquesDUnePoseChoisieTard()
    {
        const QString categorie = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("PVC"));
        InsererTarif(idPoseStandard, categorie, 0, 100);
        Ecrire(Menuiseries({{QStringLiteral("F1"), {{"Quantite", "1"}, {"TRELVANE_LIBELLE_CODE", "10101"}}, QString(), "1"}}));
        {
            const auto annulation = PiloteModal::Annuler();
            Ouvrir();
        }
        QCOMPARE(NombreLignes(C<QTreeView>("lvCategorie")), 0);
        messages->RepondreOui();
        const auto choisi = ChoisirPose(idPoseStandard);
        auto* lvPose = C<QListWidget>("lvPose");
        QTest::mouseClick(lvPose->viewport(), Qt::LeftButton, {}, lvPose->visualItemRect(lvPose->item(0)).center());
        QCOMPARE(messages->Textes(),
                 (QStringList{"Voulez-vous ajouter aux menuiseries les lignes de pose automatiques de « Pose standard » ?",
                              "1 ligne de pose automatique a été ajoutée."}));
        QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 0),
                 (QStringList{"Fenêtre PVC", "0,00", "100,00", "20,00", "120,00"}));
        QCOMPARE(C<QToolButton>("btnAnnuler")->toolTip(), QStringLiteral("Annuler : ajout des lignes automatiques (Ctrl+Z)"));
    }

    // A screen stopped after a change (the program killed) leaves its
    // recovery file: the next opening on the same quote asks whether to
    // take it back, "Oui" being the default, and shows what it held.
    void repriseALOuverture()
    {
        EcrireDevisDUneLigne();
        Ouvrir();
        C<QCheckBox>("cbPriseDeCote")->click();
        QTRY_VERIFY(QFile::exists(fiche->GetSession().GetFichierReprise()));
        delete fiche.release(); // stopped without closing: the file stays
        messages->RepondreOui();
        Ouvrir();
        QCOMPARE(messages->Recus().size(), 1);
        QVERIFY(!messages->Recus().first().nonParDefaut);
        QVERIFY2(messages->Dernier().startsWith(QStringLiteral("Un chiffrage de ce devis a été interrompu le ")),
                 qPrintable(messages->Dernier()));
        QVERIFY(!C<QCheckBox>("cbPriseDeCote")->isChecked());
        QVERIFY(fiche->GetSession().EstModifie());
    }

    // Neither Escape nor Enter typed in a price may act on the screen: the
    // first would close it and lose the work, the second would press the
    // first push button (here "<").
    void clavierNeFermeNiNeNavigue()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", Option("livraison", true, "30,00"))
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"},
                              {QStringLiteral("B"), {{"Quantite", "1"}}, QString(), "1"}}));
        Ouvrir();
        QTest::mouseClick(C<QPushButton>("btnSuivant"), Qt::LeftButton);
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[1]);
        auto* edit = C<QLineEdit>("edtLivraison");
        for (Qt::Key touche : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(edit, touche);
            QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[1]);
            QVERIFY(C<QTreeView>("lvListe")->isVisibleTo(fiche.get()));
            QVERIFY(fiche->isVisible());
        }
        QTest::keyClick(C<QTreeView>("lvListe"), Qt::Key_Escape);
        QVERIFY(fiche->isVisible());
        for (QPushButton* bouton : fiche->findChildren<QPushButton*>())
            QVERIFY2(!bouton->isDefault() && !bouton->autoDefault(), qPrintable(bouton->objectName()));
        QVERIFY(messages->Recus().isEmpty());
    }

    // The quote's kind read without a delivery element leaves "Livraison" as
    // the opening set it; an element saying "0" clears it.
    void livraisonAbsenteDuFichier_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("livraison");
        QTest::addColumn<QString>("total");

        QTest::newRow("aucune option") << QString() << true << "0,00";
        QTest::newRow("seulement la manutention") << Option("livraison_manutention", false, "25,00") << true << "0,00";
        QTest::newRow("livraison à 0") << Option("livraison", false, "30,00") << false << "0,00";
        QTest::newRow("livraison à 1") << Option("livraison", true, "30,00") << true << "30,00";
    }

    void livraisonAbsenteDuFichier()
    {
        QFETCH(QString, options);
        QFETCH(bool, livraison);
        QFETCH(QString, total);

        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", options)
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"}}));
        Ouvrir();
        QCOMPARE(C<QCheckBox>("cbLivraison")->isChecked(), livraison);
        QCOMPARE(fiche->GetSession().GetPoseGlobale().GetChoix(TPoseLivraison::Livraison), livraison);
        QCOMPARE(L("lblTotalLivraisonHt"), total);
        QCOMPARE(fiche->GetSession().GetPoseGlobale().GetId(), idPoseStandard);
    }

    // Both VAT lists are sorted on their labels as the user reads them: case
    // and accents do not put a label after every capital letter.
    void listesTvaTriees()
    {
        base->Dm().AjouterTva(4, QStringLiteral("exonéré"), 0.0);
        base->Dm().AjouterTva(5, QStringLiteral("Autoliquidation"), 0.0);
        base->Dm().AjouterTva(6, QStringLiteral("écotaxe"), 0.0);
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 1, "20,00"), "1",
                               QStringLiteral("<pose id=\"1\" libelle=\"P\" code_export=\"\">"
                                              "<tva type_tva=\"1\" libelle=\"\" valeur=\"20,00\"/></pose>")}}));
        Ouvrir();
        const QStringList attendus{"Autoliquidation", "écotaxe", "exonéré", "TVA 10 %", "TVA 20 %", "TVA 5,5 %"};
        const QStringList codes{"5", "6", "4", "2", "1", "3"};
        for (const char* nom : {"cmbTVA", "cbTvaMenuiserie"}) {
            auto* combo = C<QComboBox>(nom);
            QStringList textes;
            QStringList codesLus;
            for (int i = 0; i < combo->count(); ++i) {
                textes.append(combo->itemText(i));
                codesLus.append(GetCodeCombo(combo, i));
            }
            QCOMPARE(textes, attendus);
            QCOMPARE(codesLus, codes);
            QCOMPARE(combo->currentText(), QStringLiteral("TVA 20 %"));
        }
        messages->RepondreNon();
        ChoisirTva(C<QComboBox>("cmbTVA"), QStringLiteral("exonéré"));
        QCOMPARE(fiche->GetSession().GetMenuiseries()[0].GetTarifs()[0].GetTva().GetTypeTva(), 4);
    }

    // A row that loses its selection (Ctrl+click, or a click under the rows)
    // stays the current one, shown as it is.
    void deselectionGardeLaLigneAffichee()
    {
        base->Executer(QStringLiteral("INSERT INTO Poseur (IdPoseur, Code, Nom) VALUES (7, 'P7', 'Dupont Pose')"));
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 1, "20,00", "7"), "1"},
                              {QStringLiteral("B"), {{"Quantite", "1"}}, QString(), "1"}}));
        Ouvrir();
        auto* lignes = C<QTreeView>("lvCategorie");
        auto* poseur = C<QLineEdit>("edtPoseur");
        QCOMPARE(poseur->text(), QStringLiteral("Dupont Pose"));

        const QPoint ligne0 = RectangleLigne(lignes, 0).center();
        QTest::mouseClick(lignes->viewport(), Qt::LeftButton, Qt::ControlModifier, ligne0);
        QVERIFY((IndexSelection(lignes) < 0));
        QCOMPARE(fiche->GetSession().TarifCourant(), &fiche->GetSession().GetMenuiseries()[0].GetTarifs()[0]);
        QCOMPARE(poseur->text(), QStringLiteral("Dupont Pose"));
        // The line on show but unselected is not acted on.
        for (const char* bouton : {"btnSupprimer", "btnDupliquer", "btnModifier"})
            QTest::mouseClick(C<QToolButton>(bouton), Qt::LeftButton);
        QCOMPARE(messages->Textes(),
                 (QStringList{"Vous devez sélectionner un tarif de pose pour effectuer une suppression (Index < 0).",
                              "Vous devez sélectionner un tarif de pose pour pouvoir le dupliquer.",
                              "Vous devez sélectionner un tarif de pose pour pouvoir le modifier."}));
        QVERIFY(AucuneFenetreModale());
        QCOMPARE(NombreLignes(lignes), 1);
        messages->Vider();
        // The row of the current line shows the amounts of its new VAT.
        messages->RepondreNon();
        ChoisirTva(C<QComboBox>("cmbTVA"), QStringLiteral("TVA 10 %"));
        QCOMPARE(TextesLigne(lignes, 0), (QStringList{"L1", "0,00", "100,00", "10,00", "110,00"}));
        QTest::mouseClick(lignes->viewport(), Qt::LeftButton, {}, ligne0);
        QTest::mouseClick(lignes->viewport(), Qt::LeftButton, {}, QPoint(ligne0.x(), lignes->viewport()->height() - 5));
        QCOMPARE(fiche->GetSession().TarifCourant(), &fiche->GetSession().GetMenuiseries()[0].GetTarifs()[0]);
        QCOMPARE(poseur->text(), QStringLiteral("Dupont Pose"));

        // Without a selected item, ">" goes to the first one.
        auto* liste = C<QTreeView>("lvListe");
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          RectangleLigne(liste, 0).center());
        QVERIFY((IndexSelection(liste) < 0));
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[0]);
        QVERIFY(!C<QPushButton>("btnPrecedent")->isEnabled());
        QVERIFY(C<QPushButton>("btnSuivant")->isEnabled());
        QTest::mouseClick(C<QPushButton>("btnSuivant"), Qt::LeftButton);
        QCOMPARE(IndexSelection(liste), 0);
        QCOMPARE(fiche->GetSession().MenuiserieCourante(), &fiche->GetSession().GetMenuiseries()[0]);
        QCOMPARE(poseur->text(), QStringLiteral("Dupont Pose"));
    }

    // ---------------------------------------------------------------------
    // Price-change signal

    void couleursDesLignes()
    {
        const CouleursLigne rouge = CouleursPour(false, true);
        QCOMPARE(rouge.fond, QColor(Qt::white));
        QCOMPARE(rouge.texte, QColor(255, 0, 0));
        QCOMPARE(CouleursPour(false, false).texte, QColor(Qt::black));
        for (bool ecart : {false, true}) {
            QCOMPARE(CouleursPour(true, ecart).fond, QColor(0, 102, 153));
            QCOMPARE(CouleursPour(true, ecart).texte, QColor(Qt::white));
        }
    }

    // Draws the two lists of the screen: the row of the item whose line
    // differs is red, the selected row white on blue whatever its signal.
    void signalDessineDansLesListes()
    {
        const QString categorie = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("PVC"));
        const QString idTarif = InsererTarif(idPoseStandard, categorie, 0, 100);
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("MMMMMMMM juste"), {{"Quantite", "1"}},
                               Tarif(idTarif, "MMMMMMMM juste", "100,00", 1, "20,00"), "1"},
                              {QStringLiteral("MMMMMMMM changé"), {{"Quantite", "1"}},
                               Tarif(idTarif, "MMMMMMMM juste", "100,00", 1, "20,00")
                                   + Tarif(idTarif, "MMMMMMMM changé", "90,00", 1, "20,00"),
                               "1"}}));
        Ouvrir();
        auto* liste = C<QTreeView>("lvListe");
        auto zone = [](QTreeView* l, int ligne) {
            return RectangleLigne(l, ligne).intersected(
                QRect(0, 0, l->columnWidth(0), l->viewport()->height()));
        };
        QImage image = liste->viewport()->grab().toImage();
        QVERIFY(Contient(image, zone(liste, 0), BleuSelection));
        QVERIFY(Contient(image, zone(liste, 0), Blanc));
        QVERIFY(!Contient(image, zone(liste, 1), BleuSelection));
        QVERIFY(Contient(image, zone(liste, 1), Rouge));
        QVERIFY(!Contient(image, zone(liste, 0), Rouge));

        // The selected red item: blue; its lines: black then red.
        SelectionnerRang(liste, 1);
        image = liste->viewport()->grab().toImage();
        QVERIFY(Contient(image, zone(liste, 1), BleuSelection));
        QVERIFY(!Contient(image, zone(liste, 1), Rouge));
        QVERIFY(Contient(image, zone(liste, 0), Noir));
        QVERIFY(!Contient(image, zone(liste, 0), Rouge));

        auto* lignes = C<QTreeView>("lvCategorie");
        lignes->clearSelection();
        image = lignes->viewport()->grab().toImage();
        QVERIFY(Contient(image, zone(lignes, 0), Noir));
        QVERIFY(!Contient(image, zone(lignes, 0), Rouge));
        QVERIFY(Contient(image, zone(lignes, 1), Rouge));
    }

    // ---------------------------------------------------------------------
    // Lines of the current item, installer, hardware, refresh and answer

    // An item without kind has it chosen before the tariff; each action
    // shows its line selected and the item's totals.
    void lignesDeLaMenuiserie()
    {
        const QString pvc = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("PVC"));
        const QString alu = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("Alu"));
        InsererTarif(idPoseStandard, pvc, 0, 100);
        InsererTarif(idPoseStandard, alu, 0, 200);
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"}}));
        Ouvrir();
        auto* lignes = C<QTreeView>("lvCategorie");
        const TTarifs& tarifs = fiche->GetSession().GetMenuiseries()[0].GetTarifs();
        {
            const auto pose = ChoisirPose(idPoseStandard);
            const auto tarif = ChoisirTarif(QStringLiteral("Fenêtre PVC"));
            QTest::mouseClick(C<QToolButton>("btnAjouter"), Qt::LeftButton);
        }
        QCOMPARE(C<QListWidget>("lvPoseMenuiserie")->item(0)->text(), QStringLiteral("Pose standard"));
        QCOMPARE(TextesLigne(lignes, 0), (QStringList{"Fenêtre PVC", "0,00", "100,00", "20,00", "120,00"}));
        QCOMPARE(IndexSelection(lignes), 0);
        QCOMPARE(fiche->GetSession().TarifCourant(), &tarifs[0]);
        QCOMPARE(C<QComboBox>("cmbTVA")->currentText(), QStringLiteral("TVA 20 %"));

        QTest::mouseClick(C<QToolButton>("btnDupliquer"), Qt::LeftButton);
        QCOMPARE(IndexSelection(lignes), 1);
        {
            const auto tarif = ChoisirTarif(QStringLiteral("Fenêtre Alu"));
            QTest::mouseClick(C<QToolButton>("btnModifier"), Qt::LeftButton);
        }
        QCOMPARE(TextesLigne(lignes, 1), (QStringList{"Fenêtre Alu", "0,00", "200,00", "40,00", "240,00"}));
        QCOMPARE(IndexSelection(lignes), 1);
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("360,00"));
        QCOMPARE(L("lblTotalTtc"), QStringLiteral("360,00"));

        QTest::mouseClick(C<QToolButton>("btnSupprimer"), Qt::LeftButton);
        QCOMPARE(Colonne(lignes), QStringList{"Fenêtre PVC"});
        QCOMPARE(fiche->GetSession().TarifCourant(), &tarifs[0]);
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("120,00"));

        // By keyboard: Space on one button, Enter on another.
        C<QToolButton>("btnDupliquer")->setFocus();
        QTest::keyClick(C<QToolButton>("btnDupliquer"), Qt::Key_Space);
        QCOMPARE(NombreLignes(lignes), 2);
        C<QToolButton>("btnSupprimerTout")->setFocus();
        QVERIFY(messages->Recus().isEmpty());
        // Removing every line asks first; "Non" keeps them.
        QTest::keyClick(C<QToolButton>("btnSupprimerTout"), Qt::Key_Return);
        QCOMPARE(NombreLignes(lignes), 2);
        QVERIFY(messages->Recus().first().nonParDefaut);
        messages->RepondreOui();
        QTest::keyClick(C<QToolButton>("btnSupprimerTout"), Qt::Key_Return);
        QCOMPARE(messages->Textes(),
                 QStringList(2, QStringLiteral("Etes-vous sûr de vouloir supprimer toutes les lignes de pose de cette "
                                               "menuiserie ?")));
        messages->Vider();
        QCOMPARE(NombreLignes(lignes), 0);
        QVERIFY(tarifs.EstVide());
        QCOMPARE(fiche->GetSession().TarifCourant(), nullptr);
        QCOMPARE(L("lblTotalMenuiserieTtc"), QStringLiteral("0,00"));
        QCOMPARE(L("lblTarifTvaValeur"), QStringLiteral("0,00"));
        QCOMPARE(C<QComboBox>("cmbTVA")->currentIndex(), -1);
        QVERIFY(messages->Recus().isEmpty());
    }

    void refusSansMenuiserieOuSansLigne_data()
    {
        QTest::addColumn<bool>("avecMenuiserie");
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<QString>("message"); // "" when nothing is said

        const QString sansMenuiserie = QStringLiteral("Vous n'avez pas sélectionné une menuiserie");
        for (const char* bouton : {"btnAjouter", "btnDupliquer", "btnModifier", "btnSupprimer", "btnSupprimerTout"})
            QTest::newRow(bouton) << false << bouton << sansMenuiserie;
        QTest::newRow("lvPoseMenuiserie") << false << "lvPoseMenuiserie" << sansMenuiserie;
        QTest::newRow("dupliquer sans ligne") << true << "btnDupliquer"
                                              << "Vous devez sélectionner un tarif de pose pour pouvoir le dupliquer.";
        QTest::newRow("modifier sans ligne") << true << "btnModifier"
                                             << "Vous devez sélectionner un tarif de pose pour pouvoir le modifier.";
        QTest::newRow("supprimer sans ligne")
            << true << "btnSupprimer" << "Vous devez sélectionner un tarif de pose pour effectuer une suppression (Index < 0).";
        QTest::newRow("poseur sans ligne") << true << "btnPoseur" << "";
        QTest::newRow("quincaillerie sans ligne") << true << "cbQuincaillerie" << "";
    }

    void refusSansMenuiserieOuSansLigne()
    {
        QFETCH(bool, avecMenuiserie);
        QFETCH(QString, bouton);
        QFETCH(QString, message);

        const QList<Article> articles{{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"}};
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries(avecMenuiserie ? articles : QList<Article>{}));
        Ouvrir();
        if (bouton.startsWith(QLatin1String("lv")))
            QTest::mouseClick(C<QListWidget>(qPrintable(bouton))->viewport(), Qt::LeftButton);
        else
            QTest::mouseClick(C<QAbstractButton>(qPrintable(bouton)), Qt::LeftButton);
        QVERIFY(AucuneFenetreModale());
        QCOMPARE(messages->Textes(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(NombreLignes(C<QTreeView>("lvCategorie")), 0);
    }

    // A click on the installer's name chooses him; answered "Oui", every
    // line without installer takes him and the same row stays selected.
    void poseurDuTarifEtDesAutres()
    {
        const QString pvc = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("PVC"));
        const QString general = InsererTarif(idPoseStandard, pvc, 0, 100);
        const QString p = DonneesReference(*base).Poseur(QStringLiteral("P1"), QStringLiteral("Poseur P"));
        InsererTarif(idPoseStandard, pvc, p.toLongLong(), 30);
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}},
                               TarifSansPoseur(general, "L1", "100,00") + TarifSansPoseur(general, "L2", "100,00"), "1"},
                              {QStringLiteral("B"), {{"Quantite", "2"}}, TarifSansPoseur(general, "L3", "100,00"), "1"}}));
        Ouvrir();
        auto* lignes = C<QTreeView>("lvCategorie");
        SelectionnerRang(lignes, 1);
        messages->RepondreOui();
        {
            const auto poseur = ChoisirPoseur(QStringLiteral("P1"));
            QTest::mouseClick(C<QLineEdit>("edtPoseur"), Qt::LeftButton);
        }
        QCOMPARE(messages->Textes(), QStringList{"Voulez-vous affecter le poseur à tous les tarifs de pose ?"});
        QCOMPARE(C<QLineEdit>("edtPoseur")->text(), QStringLiteral("Poseur P"));
        QCOMPARE(Colonne(lignes, 1), (QStringList{"30,00", "30,00"}));
        QCOMPARE(IndexSelection(lignes), 1);
        QCOMPARE(fiche->GetSession().GetMenuiseries()[1].GetTarifs()[0].GetPoseurId(), p);
        QCOMPARE(L("lblTotalMenuiserieAchatHt"), QStringLiteral("60,00"));
        QCOMPARE(L("lblTotalAchatHt"), QStringLiteral("120,00"));

        // Everyone has an installer now: nothing is asked.
        messages->Vider();
        {
            const auto poseur = ChoisirPoseur(QStringLiteral("P1"));
            QTest::mouseClick(C<QPushButton>("btnPoseur"), Qt::LeftButton);
        }
        QVERIFY(messages->Recus().isEmpty());
    }

    // The installer chosen by a click closes his choice at once: the second
    // click of the double-click, where the pick was, does not reach the
    // screen behind (here a delivery box brought under the pointer); the
    // next click does.
    void choixAuClicNeTraversePas()
    {
        DonneesReference(*base).Poseur(QStringLiteral("P7"), QStringLiteral("Dupont Pose"));
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", true, "55,00") + Option("livraison_manutention", false, "45,00"))
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, TarifSansPoseur("", "L1", "100,00"), "1"}}));
        Ouvrir();
        auto* manutention = C<QCheckBox>("cbLivraisonManutention");
        QPoint pointeur;
        {
            const auto pilote = PiloteModal::QuandOuvert<TFichePoseurChoix>([&](TFichePoseurChoix* choix) {
                QTreeWidget* liste = Liste(choix);
                SelectionnerLigne(liste, QStringLiteral("P7"));
                const QPoint ici = liste->visualItemRect(liste->currentItem()).center();
                pointeur = liste->viewport()->mapToGlobal(ici);
                QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, ici);
            });
            QTest::mouseClick(C<QPushButton>("btnPoseur"), Qt::LeftButton);
        }
        QCOMPARE(C<QLineEdit>("edtPoseur")->text(), QStringLiteral("Dupont Pose"));
        // The screen is moved so that the box lies under the pointer, and the
        // second click goes through the window system as the user's would.
        // (On its square: a wide box takes clicks on its square and text only.)
        const QPoint caseACocher(6, manutention->height() / 2);
        fiche->move(fiche->pos() + pointeur - manutention->mapToGlobal(caseACocher));
        QTRY_COMPARE(manutention->mapToGlobal(caseACocher), pointeur);
        QWindow* fenetre = fiche->windowHandle();
        const QPoint dansLaFenetre = fenetre->mapFromGlobal(pointeur);
        QTest::mousePress(fenetre, Qt::LeftButton, {}, dansLaFenetre);
        QTest::mouseRelease(fenetre, Qt::LeftButton, {}, dansLaFenetre);
        QVERIFY(!manutention->isChecked());
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("55,00"));
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseClick(fenetre, Qt::LeftButton, {}, dansLaFenetre);
        QVERIFY(manutention->isChecked());
        QCOMPARE(L("lblTotalLivraisonHt"), QStringLiteral("100,00"));
    }

    // A whole session from the keyboard alone: the kind asked at opening, a
    // line, its installer, a hardware entry, then "Valider".
    void sessionAuClavier()
    {
        const QString pvc = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("PVC"));
        InsererTarif(idPoseStandard, pvc, 0, 100);
        const QString poseur = DonneesReference(*base).Poseur(QStringLiteral("P7"), QStringLiteral("Dupont Pose"));
        InsererTarif(idPoseStandard, pvc, poseur.toLongLong(), 60);
        base->Executer(QStringLiteral("INSERT INTO Quincaillerie (Libelle, Libelle2, TarifVente, TarifAchat, NbPieces,"
                                      " NbPiecesML) VALUES ('Vis inox', 'Boîte de 100', 12, 5, 1, 1)"));
        Ecrire(Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}, {"Hauteur", "1000"}, {"Largeur", "800"}}, QString(), "1"}}));
        const auto pose = PiloteModal::QuandOuvert<TFichePoseChoix>([](TFichePoseChoix* choix) {
            Taper(choix, Qt::Key_Down);
            Taper(choix, Qt::Key_Return);
        });
        Ouvrir();
        QVERIFY(pose.Fait());
        QCOMPARE(fiche->GetSession().GetPoseGlobale().GetId(), idPoseStandard);
        QCOMPARE(Cible(fiche.get()), C<QTreeView>("lvListe"));
        {
            const auto tarif = PiloteModal::QuandOuvert<TFicheTarifChoix>([](TFicheTarifChoix* choix) {
                Taper(choix, Qt::Key_Down);
                Taper(choix, Qt::Key_Return);
            });
            Taper(fiche.get(), Qt::Key_A, Qt::AltModifier);
            QTRY_VERIFY(tarif.Fait()); // an accelerator clicks after a short animation
        }
        QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 0).value(0), QStringLiteral("Fenêtre PVC"));
        {
            const auto choix = PiloteModal::QuandOuvert<TFichePoseurChoix>([](TFichePoseurChoix* liste) {
                Taper(liste, Qt::Key_Down);
                Taper(liste, Qt::Key_Return);
            });
            Taper(fiche.get(), Qt::Key_Period, Qt::AltModifier);
            QTRY_VERIFY(choix.Fait());
        }
        QCOMPARE(C<QLineEdit>("edtPoseur")->text(), QStringLiteral("Dupont Pose"));
        {
            const auto detail = PiloteModal::QuandOuvert<TFicheQuincaillerieDetail>([](TFicheQuincaillerieDetail* fenetre) {
                const auto recherche = PiloteModal::QuandOuvert<TFicheQuincaillerieChoix>([](TFicheQuincaillerieChoix* choix) {
                    Taper(choix, QStringLiteral("inox"));
                    Taper(choix, Qt::Key_Return); // to the results
                    Taper(choix, Qt::Key_Down);
                    Taper(choix, Qt::Key_Return);
                });
                Taper(fenetre, Qt::Key_A, Qt::AltModifier);
                QTRY_VERIFY(recherche.Fait());
                QCOMPARE(fenetre->GetQuincailleries().Nombre(), 1);
                Taper(fenetre, Qt::Key_F, Qt::AltModifier);
            });
            Taper(fiche.get(), Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(detail.Fait());
        }
        QCOMPARE(fiche->GetSession().TarifCourant()->GetQuincailleries().Nombre(), 1);
        Taper(fiche.get(), Qt::Key_V, Qt::AltModifier);
        QTRY_VERIFY(!fiche->isVisible());

        QFile reponse(echange);
        QVERIFY(reponse.open(QIODevice::ReadOnly));
        const QString texte = DecoderCp1252(reponse.readAll());
        QVERIFY2(texte.contains(QStringLiteral("libelle=\"Fenêtre PVC\" prix=\"100,00\"")), qPrintable(texte));
        QVERIFY(texte.contains(QStringLiteral("nom=\"Dupont Pose\" prix=\"60,00\"")));
        QVERIFY(texte.contains(QStringLiteral("libelle=\"Vis inox\"")));
        QVERIFY(messages->Recus().isEmpty());
    }

    // The screen never shows the previous item's VAT for an item that has
    // none, and a click under the items keeps the item on show selected.
    void menuiserieSansLigneNiPose()
    {
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 2, "10,00"), "1",
                               QStringLiteral("<pose id=\"1\" libelle=\"P\" code_export=\"\">"
                                              "<tva type_tva=\"2\" libelle=\"\" valeur=\"10,00\"/></pose>")},
                              {QStringLiteral("B"), {{"Quantite", "1"}}, QString(), "1"}}));
        Ouvrir();
        QCOMPARE(C<QComboBox>("cmbTVA")->currentText(), QStringLiteral("TVA 10 %"));
        QCOMPARE(C<QComboBox>("cbTvaMenuiserie")->currentText(), QStringLiteral("TVA 10 %"));
        QTest::mouseClick(C<QPushButton>("btnSuivant"), Qt::LeftButton);
        QCOMPARE(C<QComboBox>("cmbTVA")->currentIndex(), -1);
        QCOMPARE(C<QComboBox>("cbTvaMenuiserie")->currentIndex(), -1);
        QCOMPARE(L("lblTarifTvaValeur"), QStringLiteral("0,00"));
        QCOMPARE(L("lblTvaMenuiserie"), QStringLiteral("0"));

        auto* liste = C<QTreeView>("lvListe");
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, QPoint(20, liste->viewport()->height() - 5));
        QCOMPARE(IndexSelection(liste), 1);
        QVERIFY(C<QPushButton>("btnPrecedent")->isEnabled());
        QVERIFY(!C<QPushButton>("btnSuivant")->isEnabled());
    }

    // The hardware box takes the line's hardware out of the totals at once;
    // the refresh brings the database's prices, only when asked for.
    void quincaillerieEtActualisation()
    {
        const QString pvc = InsererCategorie(QStringLiteral("Fenêtre"), QStringLiteral("10101"), QStringLiteral("PVC"));
        const QString general = InsererTarif(idPoseStandard, pvc, 0, 100);
        base->Executer(QStringLiteral("INSERT INTO Quincaillerie (IdQuincaillerie, Libelle, TarifVente, TarifAchat,"
                                      " NbPieces, NbPiecesML) VALUES (1, 'Vis', 12, 5, 1, 1)"));
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}},
                               Tarif(general, "L1", "90,00", 1, "20,00", QString(), Quincaillerie("10,00", "5,00", "2,00")),
                               "1"}}));
        Ouvrir();
        QCOMPARE(L("lblTotalMenuiserieHt"), QStringLiteral("110,00"));
        C<QCheckBox>("cbQuincaillerie")->click();
        QVERIFY(!fiche->GetSession().TarifCourant()->GetQuincaillerieIncluse());
        QCOMPARE(L("lblTotalMenuiserieHt"), QStringLiteral("90,00"));
        QCOMPARE(L("lblTotalMenuiseriesHt"), QStringLiteral("90,00"));
        QCOMPARE(L("lblTotalQuincailleriesHt"), QStringLiteral("0,00"));
        QCOMPARE(L("lblQuincaillerieHt"), QStringLiteral("20,00"));
        C<QCheckBox>("cbQuincaillerie")->click();

        messages->RepondreNon();
        QTest::mouseClick(C<QToolButton>("btnActualiser"), Qt::LeftButton);
        QCOMPARE(messages->Dernier(), QStringLiteral("Voulez-vous actualiser tous les prix des tarifs ?"));
        QCOMPARE(L("lblTotalMenuiserieHt"), QStringLiteral("110,00"));
        // A red line tells the price it carries and its tariff's.
        const auto infobulle = [this](const char* liste) {
            // The label and what the price signal compares (a margin sign may follow).
            return C<QTreeView>(liste)->model()->index(0, 0).data(Qt::ToolTipRole).toString().section('\n', 0, 1);
        };
        QCOMPARE(infobulle("lvCategorie"), QStringLiteral("L1\nprix de la ligne 90,00, prix du tarif 100,00"));
        QCOMPARE(infobulle("lvListe"), QStringLiteral("A\nL1 : prix de la ligne 90,00, prix du tarif 100,00"));
        messages->RepondreOui();
        QTest::mouseClick(C<QToolButton>("btnActualiser"), Qt::LeftButton);
        QCOMPARE(messages->Dernier(),
                 QStringLiteral("Actualisation terminée : 1 prix de vente, 0 prix de poseur et 1 quincaillerie ont changé."));
        QVERIFY(!infobulle("lvCategorie").contains(QStringLiteral("prix du tarif")));
        QCOMPARE(TextesLigne(C<QTreeView>("lvCategorie"), 0), (QStringList{"L1", "0,00", "100,00", "20,00", "120,00"}));
        QCOMPARE(L("lblQuincaillerieHt"), QStringLiteral("24,00"));
        QCOMPARE(L("lblTotalMenuiserieHt"), QStringLiteral("124,00"));
        QCOMPARE(L("lblTotalTtc"), QStringLiteral("148,80"));
    }

    // The minimum margin of the settings file marks the lines sold under it,
    // at a loss or without their installer's price; the item and the quote
    // show their margins.
    void margesALEcran()
    {
        QFile parametres(base->Fichier(QStringLiteral("Module_Quarlo.ini")));
        QVERIFY(parametres.open(QIODevice::WriteOnly));
        parametres.write("[Marge]\r\nMini=15\r\n");
        parametres.close();
        const auto ligne = [](const char* libelle, const char* vente, const char* achat) {
            return Tarif("", libelle, vente, 1, "20,00", "7")
                .replace(QStringLiteral("prix=\"0,00\""), QStringLiteral("prix=\"%1\"").arg(QLatin1String(achat)));
        };
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}},
                               ligne("Juste", "100,00", "50,00") + ligne("Sous le minimum", "100,00", "90,00")
                                   + ligne("A perte", "100,00", "120,00") + ligne("Sans prix", "100,00", "0,00"),
                               "1"}}));
        Ouvrir();
        const QAbstractItemModel* lignes = C<QTreeView>("lvCategorie")->model();
        QStringList marquees;
        for (int i = 0; i < lignes->rowCount(); ++i) {
            if (!lignes->index(i, 0).data(Qt::DecorationRole).value<QIcon>().isNull())
                marquees << lignes->index(i, 0).data().toString();
        }
        QCOMPARE(marquees, (QStringList{"Sous le minimum", "A perte", "Sans prix"}));
        QCOMPARE(lignes->index(1, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Sous le minimum\nMarge 10,00 % sous le minimum 15,00 %"));
        // (400 - 260) / 400
        QCOMPARE(L("lblMargeMenuiserie"), QStringLiteral("35,00 %"));
        QCOMPARE(L("lblMargeDevis"), QStringLiteral("35,00 %"));
        // Nothing of it reaches the answer.
        QTest::mouseClick(C<QPushButton>("btnValider"), Qt::LeftButton);
        QFile reponse(echange);
        QVERIFY(reponse.open(QIODevice::ReadOnly));
        QVERIFY(!reponse.readAll().contains("arge"));
    }

    // "Valider" answers and closes; a file that cannot be written is named
    // with the reason, and the window stays open with the file as it was.
    void validation_data()
    {
        QTest::addColumn<bool>("ecrivable");
        QTest::newRow("écrit") << true;
        QTest::newRow("impossible") << false;
    }

    void validation()
    {
        QFETCH(bool, ecrivable);
        // The longest name the file system takes: no temporary file can be
        // made beside it, whoever runs the test.
        if (!ecrivable)
            echange = base->Fichier(QString(251, u'e') + QStringLiteral(".xml"));
        const QByteArray avant = EcrireDevisDUneLigne();
        QFile fichier(echange);
        Ouvrir();
        C<QCheckBox>("cbPriseDeCote")->click();
        QTest::mouseClick(C<QPushButton>("btnValider"), Qt::LeftButton);

        const QString archive = fiche->GetSession().GetPrefixeHorodate() + QStringLiteral(".sortie.xml");
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        const QByteArray apres = fichier.readAll();
        if (ecrivable) {
            QVERIFY(!fiche->isVisible());
            QCOMPARE(fiche->result(), int(QDialog::Accepted));
            QVERIFY(messages->Recus().isEmpty());
            QVERIFY(apres.contains("<cotes choix=\"0\"/>"));
            QFile copie(archive);
            QVERIFY(copie.open(QIODevice::ReadOnly));
            QCOMPARE(copie.readAll(), apres);
        } else {
            QVERIFY(fiche->isVisible());
            QCOMPARE(messages->Recus().size(), 1);
            QCOMPARE(messages->Recus().first().genre, Messages::Genre::Erreur);
            QVERIFY2(messages->Dernier().contains(QDir::toNativeSeparators(echange)), qPrintable(messages->Dernier()));
            QCOMPARE(apres, avant);
            QVERIFY(!QFile::exists(archive));
            QCOMPARE(NombreLignes(C<QTreeView>("lvCategorie")), 1);
            QVERIFY(!C<QCheckBox>("cbPriseDeCote")->isChecked());
        }
    }

    // The signal of the rows a repaint covers is asked in one question, and
    // asked again at the next repaint: a price changed meanwhile shows. A
    // long caption is cut at its column.
    void delegueDecoupeParColonne()
    {
        struct Modele : TModeleChiffrage
        {
            int questions = 0;
            bool ecart = true;
            explicit Modele(const TSessionChiffrage& session)
                : TModeleChiffrage(session, {{"A", Qt::AlignLeft}, {"B", Qt::AlignLeft}}, nullptr)
            {
            }
            int NombreLignes() const override { return 3; }
            QString Texte(int, int colonne) const override { return colonne == 0 ? QString(40, QLatin1Char('M')) : QString(); }
            QVector<bool> EnEcart(const QVector<int>& lignes) const override
            {
                ++const_cast<Modele*>(this)->questions;
                return QVector<bool>(lignes.size(), ecart);
            }
        };
        const TSessionChiffrage session(base->Dossier());
        Modele modele(session);
        QTreeView liste;
        liste.setModel(&modele);
        liste.setRootIsDecorated(false);
        new TDelegateLigne(&liste);
        modele.SuivreRepeintes(&liste);
        liste.setColumnWidth(0, 40);
        liste.setColumnWidth(1, 80);
        liste.resize(200, 100);
        liste.show();
        QVERIFY(QTest::qWaitForWindowExposed(&liste));
        QImage image = liste.viewport()->grab().toImage();
        const QRect ligne = RectangleLigne(&liste, 0);
        QVERIFY(Contient(image, QRect(0, ligne.top(), 40, ligne.height()), Rouge));
        // The long caption does not run into the empty second column.
        QVERIFY(!Contient(image, QRect(41, ligne.top(), 78, ligne.height()), Rouge));

        modele.questions = 0;
        modele.ecart = false;
        image = liste.viewport()->grab().toImage();
        QCOMPARE(modele.questions, 1);
        QVERIFY(!Contient(image, QRect(0, ligne.top(), 40, ligne.height()), Rouge));
        liste.close();
    }
};

QTEST_MAIN(TestFicheModeNormal)
#include "tst_mode_normal.moc"
