#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "model/Tarif.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/ListeIcones.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/Ressources.h"
#include "ui/common/SuiviClicsListe.h"
#include "ui/pricing/DelegateLigne.h"

#include <QCollator>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>

namespace {

enum ColonneMenuiserie { ColLibelle, ColQuantite, ColHauteur, ColLargeur, ColVantail };
enum ColonneTarif { ColTarif, ColAchatHt, ColVenteHt, ColVenteTva, ColVenteTtc };

// The properties shown after the label of each item, in column order.
const QStringList kProprietesListe = {QStringLiteral("Quantite"), QStringLiteral("Hauteur"),
                                      QStringLiteral("Largeur"), QStringLiteral("Vantail")};

const QString kImagePose = QStringLiteral(":/icons/pose.png");

void AlignerADroite(QTreeWidget* liste, std::initializer_list<int> colonnes)
{
    for (int colonne : colonnes)
        liste->headerItem()->setTextAlignment(colonne, Qt::AlignRight | Qt::AlignVCenter);
}

void ReglerLargeurs(QTreeWidget* liste, std::initializer_list<int> largeurs)
{
    int colonne = 0;
    for (int largeur : largeurs)
        liste->setColumnWidth(colonne++, largeur);
}

// Sorted lists show their entries in label order as the user reads it:
// without regard to case or accents, equal labels in table order.
void TrierEntrees(QComboBox* combo)
{
    QList<std::pair<QString, QString>> entrees;
    for (int i = 0; i < combo->count(); ++i)
        entrees.append({combo->itemText(i), GetCodeCombo(combo, i)});
    QCollator ordre;
    ordre.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entrees.begin(), entrees.end(),
                     [&ordre](const auto& a, const auto& b) { return ordre.compare(a.first, b.first) < 0; });
    ViderCombo(combo);
    for (const auto& [texte, code] : entrees)
        AjouterEntree(combo, texte, code);
}

int IndexSelectionne(const QTreeWidget* liste)
{
    const QList<QTreeWidgetItem*> selection = liste->selectedItems();
    return selection.isEmpty() ? -1 : liste->indexOfTopLevelItem(selection.first());
}

// The row whose state has just changed: the selected one, or, when the
// selection was taken off a row (Ctrl+click, a click under the rows), that
// row, which stays the current one. -1 when there is none.
int IndexLigneChangee(const QTreeWidget* liste)
{
    const int selectionne = IndexSelectionne(liste);
    if (selectionne >= 0)
        return selectionne;
    QTreeWidgetItem* courante = liste->currentItem();
    return courante ? liste->indexOfTopLevelItem(courante) : -1;
}

// Emptying a list takes the selection off its rows first: the screen resets
// its current item or line itself and must not take that for a user's change.
void ViderLignes(QTreeWidget* liste)
{
    const QSignalBlocker silence(liste);
    ViderListe(liste);
}

void SelectionnerLigne(QTreeWidget* liste, int index)
{
    if (QTreeWidgetItem* ligne = liste->topLevelItem(index))
        liste->setCurrentItem(ligne);
}

// A VAT list shows the entry of the type, or none when it has no such entry
// (no VAT yet): a later change is then compared with what is on show.
void SelectionnerType(QComboBox* combo, int typeTva)
{
    combo->setCurrentIndex(-1);
    SelectionnerCode(combo, QString::number(typeTva));
}

// Runs an action for some events of a control, which it may keep from it.
class FiltreEvenements : public QObject
{
public:
    FiltreEvenements(QWidget* cible, std::function<bool(QEvent*)> action)
        : QObject(cible)
        , action(std::move(action))
    {
        cible->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* evenement) override { return action(evenement); }

private:
    std::function<bool(QEvent*)> action;
};

bool EstAppuiSouris(const QEvent* evenement)
{
    return evenement->type() == QEvent::MouseButtonPress || evenement->type() == QEvent::MouseButtonDblClick;
}

} // namespace

TFicheModeNormal::TFicheModeNormal(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFicheModeNormal>())
    , Session(DossierProgramme())
{
    ChargerRessources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(894, 685);

    imgListe.append(QIcon(kImagePose));
    PreparerControles();
    PreparerListes();
    ConnecterEvenements();

    ui->lvListe->show();
    ui->memoDescription->hide();
    MajLibelleMode();
    FixerLargeurMode();
}

TFicheModeNormal::~TFicheModeNormal()
{
    // The lists' delegates read the quote while painting: empty them first.
    ViderLignes(ui->lvCategorie);
    ViderLignes(ui->lvListe);
}

void TFicheModeNormal::PreparerControles()
{
    // The form shows the amounts at rest as 0,00: write them in the
    // regional notation.
    const QString zero = FormatMonetaire(0.0);
    for (QLabel* montant : findChildren<QLabel*>()) {
        if (montant->text() == QLatin1String("0,00"))
            montant->setText(zero);
    }
    for (OptionLivraison option : TPoseLivraison::kOptions)
        EditLivraison(option)->setText(zero);

    // One cell filling the view, so that the caption wraps under the icon.
    for (QListWidget* icone : {ui->lvPose, ui->lvPoseMenuiserie}) {
        const int bord = 2 * icone->frameWidth() + 2;
        PreparerListeIcones(icone, QSize(icone->maximumWidth() - bord, icone->maximumHeight() - bord));
        AjouterIcone(icone, imgListe.value(0), QString());
    }

    ui->btnActualiser->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ui->btnValider->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));

    // No default button: Enter typed in a price or a list must not press
    // "<", ">" or "Valider".
    for (QPushButton* bouton : findChildren<QPushButton*>()) {
        bouton->setAutoDefault(false);
        bouton->setDefault(false);
    }
}

void TFicheModeNormal::EcrireLibelleIcone(QListWidget* icone, const QString& libelle)
{
    if (QListWidgetItem* element = icone->item(0)) {
        ChangerLibelleIcone(element, libelle);
        // The cell is laid out again around the new caption.
        icone->doItemsLayout();
    }
}

void TFicheModeNormal::PreparerListes()
{
    ReglerLargeurs(ui->lvListe, {210, 30, 55, 55, 30});
    AlignerADroite(ui->lvListe, {ColHauteur, ColLargeur});
    ReglerLargeurs(ui->lvCategorie, {175, 65, 65, 65, 65});
    AlignerADroite(ui->lvCategorie, {ColVenteHt, ColVenteTva, ColVenteTtc});
    for (QTreeWidget* liste : {ui->lvListe, ui->lvCategorie}) {
        liste->header()->setSectionsMovable(false);
        liste->header()->setStretchLastSection(false);
    }

    new TDelegateLigne(ui->lvListe, [this](int ligne) { return MenuiserieEnEcart(ligne); });
    new TDelegateLigne(ui->lvCategorie, [this](int ligne) { return LigneEnEcart(ligne); });

    // A click under the items leaves the item on show selected: "<" and ">"
    // go on from it.
    new FiltreEvenements(ui->lvListe->viewport(), [liste = ui->lvListe](QEvent* evenement) {
        return EstAppuiSouris(evenement)
               && !liste->itemAt(static_cast<QMouseEvent*>(evenement)->position().toPoint());
    });
}

void TFicheModeNormal::ConnecterEvenements()
{
    Connecter(ui->lvListe, &QTreeWidget::itemSelectionChanged, this, &TFicheModeNormal::lvListeChange);
    Connecter(ui->lvCategorie, &QTreeWidget::itemSelectionChanged, this,
              &TFicheModeNormal::lvCategorieSelectionChange);
    Connecter(ui->btnPrecedent, &QPushButton::clicked, this, &TFicheModeNormal::btnPrecedentClick);
    Connecter(ui->btnSuivant, &QPushButton::clicked, this, &TFicheModeNormal::btnSuivantClick);
    Connecter(ui->btnMode, &QPushButton::clicked, this, &TFicheModeNormal::btnModeClick);

    auto* clicsPose = new SuiviClicsListe(ui->lvPose);
    Connecter(clicsPose, &SuiviClicsListe::Clic, this, &TFicheModeNormal::lvPoseClick);
    Connecter(clicsPose, &SuiviClicsListe::Validation, this, &TFicheModeNormal::lvPoseClick);

    // A box or an edit set by the user or by the program runs its action;
    // the VAT lists run theirs only for the user's choice.
    Connecter(ui->cbLivraison, &QCheckBox::toggled, this, &TFicheModeNormal::cbLivraisonClick);
    for (OptionLivraison option : TPoseLivraison::kOptions) {
        if (option != TPoseLivraison::Livraison)
            Connecter(CaseLivraison(option), &QCheckBox::toggled, this, &TFicheModeNormal::cbOptionLivraisonClick,
                      option);
        Connecter(EditLivraison(option), &QLineEdit::textChanged, this, &TFicheModeNormal::edtLivraisonChange,
                  option);
    }
    Connecter(ui->cbPriseDeCote, &QCheckBox::toggled, this, &TFicheModeNormal::cbPriseDeCoteClick);
    Connecter(ui->cmbTVA, &QComboBox::activated, this, &TFicheModeNormal::cmbTVAChange);
    Connecter(ui->cbTvaMenuiserie, &QComboBox::activated, this, &TFicheModeNormal::cbTvaMenuiserieChange);

    auto* clicsPoseMenuiserie = new SuiviClicsListe(ui->lvPoseMenuiserie);
    Connecter(clicsPoseMenuiserie, &SuiviClicsListe::Clic, this, &TFicheModeNormal::lvPoseMenuiserieClick);
    Connecter(clicsPoseMenuiserie, &SuiviClicsListe::Validation, this, &TFicheModeNormal::lvPoseMenuiserieClick);
    Connecter(ui->btnAjouter, &QToolButton::clicked, this, &TFicheModeNormal::btnAjouterClick);
    Connecter(ui->btnDupliquer, &QToolButton::clicked, this, &TFicheModeNormal::btnDupliquerClick);
    Connecter(ui->btnModifier, &QToolButton::clicked, this, &TFicheModeNormal::btnModifierClick);
    Connecter(ui->btnSupprimer, &QToolButton::clicked, this, &TFicheModeNormal::btnSupprimerClick);
    Connecter(ui->btnSupprimerTout, &QToolButton::clicked, this, &TFicheModeNormal::btnSupprimerToutClick);
    Connecter(ui->btnPoseur, &QPushButton::clicked, this, &TFicheModeNormal::btnPoseurClick);
    // The installer's name is read-only: a click on it chooses him, as "..." does.
    new FiltreEvenements(ui->edtPoseur, [this](QEvent* evenement) {
        if (evenement->type() != QEvent::MouseButtonRelease
            || static_cast<QMouseEvent*>(evenement)->button() != Qt::LeftButton)
            return false;
        Proteger(this, [this] { btnPoseurClick(); });
        return true;
    });

    Connecter(ui->cbQuincaillerie, &QCheckBox::toggled, this, &TFicheModeNormal::cbQuincaillerieClick);
    Connecter(ui->btnQuincaillerie, &QToolButton::clicked, this, &TFicheModeNormal::btnQuincaillerieClick);
    Connecter(ui->btnQuincailleriesGlobales, &QToolButton::clicked, this,
              &TFicheModeNormal::btnQuincailleriesGlobalesClick);
    Connecter(ui->btnActualiser, &QToolButton::clicked, this, &TFicheModeNormal::btnActualiserClick);
    Connecter(ui->btnValider, &QPushButton::clicked, this, &TFicheModeNormal::btnValiderClick);
}

void TFicheModeNormal::keyPressEvent(QKeyEvent* evenement)
{
    // The screen closes only through "Valider" or its close box: Escape would
    // throw away the work of the session.
    if (evenement->key() == Qt::Key_Escape && evenement->modifiers() == Qt::NoModifier) {
        evenement->accept();
        return;
    }
    // Enter presses the button that has the focus, as Space does; typed in
    // an edit or a list it presses nothing.
    const bool entree = evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter;
    auto* bouton = qobject_cast<QAbstractButton*>(focusWidget());
    if (entree && bouton && !bouton->isCheckable() && (evenement->modifiers() & ~Qt::KeypadModifier) == 0) {
        evenement->accept();
        bouton->click();
        return;
    }
    QDialog::keyPressEvent(evenement);
}

// ---------------------------------------------------------------------------
// First activation and loading

void TFicheModeNormal::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    // The loading may open the kind choice and message boxes: it runs once
    // the window is up, from the event loop.
    if (PremiereActivation && !activationPlanifiee) {
        activationPlanifiee = true;
        QTimer::singleShot(0, this, [this] { Proteger(this, [this] { FormActivate(); }); });
    }
}

void TFicheModeNormal::FormActivate()
{
    if (!PremiereActivation || !isVisible())
        return;
    // Cleared first: the dialogs opened below must not start it again.
    PremiereActivation = false;

    RemplirCombosTva();
    if (ui->cbLivraison->isChecked())
        cbLivraisonClick();
    else
        ui->cbLivraison->setChecked(true);

    try {
        ChargerFichierEchange();
    } catch (const std::exception& erreur) {
        AbandonnerChargement(TexteErreur(erreur));
        return;
    }

    bool choixPoseLance = false;
    if (Session.GetPoseGlobale().GetId().isEmpty()) {
        lvPoseClick();
        choixPoseLance = true;
    }
    Session.AffecterTarifsAutomatiques();
    if (Session.GetMenuiseries().Nombre() > 0)
        SelectionnerLigne(ui->lvListe, 0);
    MajNavigation();
    if (choixPoseLance && !Session.GetPoseGlobale().GetId().isEmpty()) {
        // The automatic lines came after the choice: they take its VAT too.
        Session.DiffuserPoseGlobale();
        if (MenuiserieCourante) {
            EcrireLibelleIcone(ui->lvPoseMenuiserie, MenuiserieCourante->GetPose().GetLibelle());
            AfficherMenuiserie();
        }
    }
    // Without any item nothing above showed the quote totals of the file
    // (delivery and quote-wide hardware).
    AfficherTotaux();
}

void TFicheModeNormal::RemplirCombosTva()
{
    for (QComboBox* combo : {ui->cmbTVA, ui->cbTvaMenuiserie}) {
        ViderCombo(combo);
        RemplirComboTva(combo);
        TrierEntrees(combo);
        combo->setCurrentIndex(-1);
    }
}

void TFicheModeNormal::AbandonnerChargement(const QString& probleme)
{
    // Nothing of a half-read quote may reach "Valider": the screen closes
    // and the host's file stays as it was.
    QString texte = probleme;
    const QString& echange = Session.GetFichierEchange();
    const QString fichier = QDir::toNativeSeparators(echange);
    if (!texte.contains(fichier) && !texte.contains(echange))
        texte = QStringLiteral("Le fichier de récupération « %1 » ne peut pas être lu : %2").arg(fichier, texte);
    Messages::Erreur(texte + QStringLiteral("\n\nLe chiffrage est abandonné ; le fichier n'a pas été modifié."), this);
    QTimer::singleShot(0, this, &QDialog::reject);
}

void TFicheModeNormal::ChargerFichierEchange()
{
    const TSessionChiffrage::Chargement chargement = Session.Charger();
    if (!chargement.messageArchive.isEmpty())
        Messages::Erreur(chargement.messageArchive, this);
    if (chargement.aPose)
        AfficherPoseGlobale();
    if (chargement.aCotes)
        ui->cbPriseDeCote->setChecked(Session.GetPriseDeCote());
    if (chargement.aGlobal)
        AfficherQuincailleriesGlobales();
    RemplirListeMenuiseries();
}

void TFicheModeNormal::AfficherPoseGlobale()
{
    const TPoseLivraison& pose = Session.GetPoseGlobale();
    EcrireLibelleIcone(ui->lvPose, pose.GetLibelle());
    ui->lblTvaValeur->setText(FormatMonetaire(pose.GetTva().GetValeur()));
    AfficherOptionsLivraison();
    AfficherPrixLivraison();
}

void TFicheModeNormal::RemplirListeMenuiseries()
{
    ViderLignes(ui->lvListe);
    QList<QTreeWidgetItem*> lignes;
    lignes.reserve(Session.GetMenuiseries().Nombre());
    for (const TMenuiserie& menuiserie : Session.GetMenuiseries()) {
        QStringList textes{menuiserie.GetLibelle()};
        for (const QString& propriete : kProprietesListe)
            textes.append(menuiserie.GetProprietes().GetValeur(propriete));
        auto* ligne = new QTreeWidgetItem(textes);
        ligne->setToolTip(ColLibelle, menuiserie.GetLibelle());
        lignes.append(ligne);
    }
    ui->lvListe->addTopLevelItems(lignes);
}

// ---------------------------------------------------------------------------
// Current item

int TFicheModeNormal::IndexMenuiserieSelectionnee() const
{
    return IndexSelectionne(ui->lvListe);
}

void TFicheModeNormal::lvListeChange()
{
    const int index = IndexLigneChangee(ui->lvListe);
    TMenuiseries& menuiseries = Session.GetMenuiseries();
    if (index < 0 || index >= menuiseries.Nombre())
        return;
    MenuiserieCourante = &menuiseries[index];
    MajNavigation();
    AfficherMenuiserie();
}

void TFicheModeNormal::MajNavigation()
{
    // Without a selected item (-1), ">" goes to the first one.
    const int index = IndexMenuiserieSelectionnee();
    ui->btnPrecedent->setEnabled(index > 0);
    ui->btnSuivant->setEnabled(index < ui->lvListe->topLevelItemCount() - 1);
}

void TFicheModeNormal::btnPrecedentClick()
{
    const int index = IndexMenuiserieSelectionnee();
    // Selecting the row makes its item current and shows it.
    if (index > 0)
        SelectionnerLigne(ui->lvListe, index - 1);
}

void TFicheModeNormal::btnSuivantClick()
{
    const int index = IndexMenuiserieSelectionnee();
    if (index < ui->lvListe->topLevelItemCount() - 1)
        SelectionnerLigne(ui->lvListe, index + 1);
}

void TFicheModeNormal::AfficherMenuiserie()
{
    ViderLignes(ui->lvCategorie);
    TarifCourant = nullptr;
    if (MenuiserieCourante) {
        ui->memoDescription->setPlainText(MenuiserieCourante->GetDescription());
        EcrireLibelleIcone(ui->lvPoseMenuiserie, MenuiserieCourante->GetPose().GetLibelle());
        AfficherTvaMenuiserie();

        const TTarifs& tarifs = MenuiserieCourante->GetTarifs();
        for (int i = 0; i < tarifs.Nombre(); ++i) {
            ui->lvCategorie->addTopLevelItem(new QTreeWidgetItem());
            EcrireLigneCategorie(i, tarifs[i]);
        }
    }
    // The first line when there is one; otherwise nothing of the previous
    // item's line (installer, VAT, hardware) stays on show.
    if (MenuiserieCourante && !MenuiserieCourante->GetTarifs().EstVide())
        SelectionnerTarif(0);
    else
        AfficherTarif();
}

void TFicheModeNormal::AfficherTvaMenuiserie()
{
    const TTva& tva = MenuiserieCourante->GetPose().GetTva();
    SelectionnerType(ui->cbTvaMenuiserie, tva.GetTypeTva());
    ui->lblTvaMenuiserie->setText(FormatGeneral(tva.GetValeur()));
}

int TFicheModeNormal::RangLigneCourante() const
{
    return IndexLigneChangee(ui->lvCategorie);
}

void TFicheModeNormal::EcrireLigneCategorie(int index, const TTarif& tarif)
{
    QTreeWidgetItem* ligne = ui->lvCategorie->topLevelItem(index);
    if (!ligne)
        return;
    ligne->setText(ColTarif, tarif.GetLibelle());
    ligne->setToolTip(ColTarif, tarif.GetLibelle());
    ligne->setText(ColAchatHt, FormatMonetaire(tarif.GetPoseurPrix()));
    EcrireMontantsVente(index, tarif);
}

void TFicheModeNormal::AfficherLignesMenuiserie()
{
    const TTarifs& tarifs = MenuiserieCourante->GetTarifs();
    for (int i = 0; i < tarifs.Nombre(); ++i)
        EcrireLigneCategorie(i, tarifs[i]);
}

void TFicheModeNormal::EcrireMontantsVente(int index, const TTarif& tarif)
{
    QTreeWidgetItem* ligne = ui->lvCategorie->topLevelItem(index);
    if (!ligne)
        return;
    ligne->setText(ColVenteHt, FormatMonetaire(tarif.GetPrix()));
    ligne->setText(ColVenteTva, FormatMonetaire(tarif.PrixTva()));
    ligne->setText(ColVenteTtc, FormatMonetaire(tarif.PrixTtc()));
}

// ---------------------------------------------------------------------------
// Current line

std::optional<int> TFicheModeNormal::IndexLigneCourante(int index, bool ligneSupprimee, int nombreLignes)
{
    if (!ligneSupprimee)
        return index;
    if (nombreLignes >= 2 && index - 1 >= 0)
        return index - 1;
    return std::nullopt;
}

void TFicheModeNormal::lvCategorieSelectionChange()
{
    const int index = RangLigneCourante();
    if (index >= 0)
        lvCategorieChange(index, false);
    else
        AfficherNomPoseur(QString());
}

void TFicheModeNormal::lvCategorieChange(int index, bool ligneSupprimee)
{
    AfficherNomPoseur(QString());
    const std::optional<int> indexCourant =
        IndexLigneCourante(index, ligneSupprimee, ui->lvCategorie->topLevelItemCount());
    if (!indexCourant || *indexCourant < 0 || *indexCourant >= ui->lvCategorie->topLevelItemCount())
        return;
    TarifCourant = nullptr;
    if (MenuiserieCourante && *indexCourant < MenuiserieCourante->GetTarifs().Nombre())
        TarifCourant = &MenuiserieCourante->GetTarifs()[*indexCourant];
    AfficherTarif();
}

void TFicheModeNormal::AfficherTarif()
{
    AfficherNomPoseur(QString());
    for (QLabel* montant : {ui->lblQuincaillerieAchat, ui->lblQuincaillerieHt,
                            ui->lblQuincaillerieTva, ui->lblQuincaillerieTtc})
        montant->setText(FormatMonetaire(0.0));

    if (TarifCourant) {
        // The installer's current name in the database, not the one stored
        // in the line.
        AfficherNomPoseur(Session.NomPoseur(*TarifCourant));
        ui->cbQuincaillerie->setChecked(TarifCourant->GetQuincaillerieIncluse());
        SelectionnerType(ui->cmbTVA, TarifCourant->GetTva().GetTypeTva());
        ui->lblTarifTvaValeur->setText(FormatMonetaire(TarifCourant->GetTva().GetValeur()));
    } else {
        ui->cmbTVA->setCurrentIndex(-1);
        ui->lblTarifTvaValeur->setText(FormatMonetaire(0.0));
    }
    AfficherQuincaillerieTarif();
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}

void TFicheModeNormal::AfficherNomPoseur(const QString& nom)
{
    // A long name shows its beginning, and whole in its tooltip.
    ui->edtPoseur->setText(nom);
    ui->edtPoseur->setCursorPosition(0);
    ui->edtPoseur->setToolTip(nom);
}

// ---------------------------------------------------------------------------
// Description, closing

void TFicheModeNormal::btnModeClick()
{
    // isHidden(): the window itself may not be on screen yet.
    const bool listeVisible = !ui->lvListe->isHidden();
    ui->memoDescription->setVisible(listeVisible);
    ui->lvListe->setVisible(!listeVisible);
    MajLibelleMode();
}

namespace {

const QString kVoirDescription = QStringLiteral("Voir la description de la menuiserie");
const QString kVoirListe = QStringLiteral("Voir la liste des menuiseries");

} // namespace

void TFicheModeNormal::MajLibelleMode()
{
    ui->btnMode->setText(!ui->lvListe->isHidden() ? kVoirDescription : kVoirListe);
}

void TFicheModeNormal::FixerLargeurMode()
{
    // Wide enough for both captions, so that "<" and ">" stay in place.
    const QFontMetrics mesure(ui->btnMode->font());
    const int texte = std::max(mesure.horizontalAdvance(kVoirDescription), mesure.horizontalAdvance(kVoirListe));
    ui->btnMode->setMinimumWidth(texte + ui->btnMode->sizeHint().width() - mesure.horizontalAdvance(ui->btnMode->text()));
}

void TFicheModeNormal::done(int resultat)
{
    FormClose();
    QDialog::done(resultat);
}

void TFicheModeNormal::FormClose()
{
    // Closing writes nothing: only "Valider" answers the host.
    ViderLignes(ui->lvCategorie);
    ViderLignes(ui->lvListe);
    ui->lvPose->clear();
    TarifCourant = nullptr;
    MenuiserieCourante = nullptr;
    Session.Vider();
}
