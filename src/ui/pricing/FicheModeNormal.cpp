#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "model/MargeMini.h"
#include "model/Tarif.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/Fenetre.h"
#include "ui/common/ListeIcones.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/Ressources.h"
#include "ui/common/SuiviClicsListe.h"
#include "ui/pricing/DelegateLigne.h"
#include "ui/pricing/ModelesChiffrage.h"

#include <QCollator>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>

namespace {

const QString kImagePose = QStringLiteral(":/icons/pose.png");
// A list shrunk to its heading and a row and a half.
constexpr int kHauteurMinimaleListe = 40;

void ReglerLargeurs(QTreeView* liste, std::initializer_list<int> largeurs)
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

// The row whose state has just changed: the selected one, or, when the
// selection was taken off a row (Ctrl+click, a click under the rows), that
// row, which stays the current one. -1 when there is none.
int IndexLigneChangee(const QTreeView* liste)
{
    const QModelIndexList selection = liste->selectionModel()->selectedRows();
    if (!selection.isEmpty())
        return selection.first().row();
    return liste->currentIndex().row();
}

int IndexSelectionne(const QTreeView* liste)
{
    const QModelIndexList selection = liste->selectionModel()->selectedRows();
    return selection.isEmpty() ? -1 : selection.first().row();
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
    , session(DossierProgramme())
    , modeleMenuiseries(new TModeleMenuiseries(session, this))
    , modeleTarifs(new TModeleTarifs(session, this))
{
    ChargerRessources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The system's size where the screen has room; on a smaller screen the
    // lists give up their room first, then the panels scroll. A larger
    // window gives its room to the lists.
    resize(894, 685);
    for (QAbstractScrollArea* liste : {static_cast<QAbstractScrollArea*>(ui->lvListe),
                                       static_cast<QAbstractScrollArea*>(ui->lvCategorie),
                                       static_cast<QAbstractScrollArea*>(ui->memoDescription)})
        liste->setMinimumHeight(kHauteurMinimaleListe);
    PreparerFenetre(this);

    imgListe.append(QIcon(kImagePose));
    // The minimum margin the administration set; "0" when none.
    session.SetMargeMinimum(LireDecimal(LireMargeMini(DossierProgramme() + kFichierParametresModule)).value_or(0.0));
    PreparerControles();
    PreparerListes();
    ConnecterEvenements();
    SuivreSession();

    ui->lvListe->show();
    ui->memoDescription->hide();
    MajLibelleMode();
    FixerLargeurMode();
}

TFicheModeNormal::~TFicheModeNormal()
{
    // The lists read the quote while painting: they let go of their models first.
    ui->lvCategorie->setModel(nullptr);
    ui->lvListe->setModel(nullptr);
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
    ui->lvListe->setModel(modeleMenuiseries);
    ui->lvCategorie->setModel(modeleTarifs);
    ReglerLargeurs(ui->lvListe, {210, 30, 55, 55, 30});
    ReglerLargeurs(ui->lvCategorie, {175, 65, 65, 65, 65});
    for (QTreeView* liste : {ui->lvListe, ui->lvCategorie}) {
        liste->header()->setSectionsMovable(false);
        liste->header()->setStretchLastSection(false);
        new TDelegateLigne(liste);
    }
    modeleMenuiseries->SuivreRepeintes(ui->lvListe);
    modeleTarifs->SuivreRepeintes(ui->lvCategorie);

    // A click under the items leaves the item on show selected: "<" and ">"
    // go on from it.
    new FiltreEvenements(ui->lvListe->viewport(), [liste = ui->lvListe](QEvent* evenement) {
        return EstAppuiSouris(evenement)
               && !liste->indexAt(static_cast<QMouseEvent*>(evenement)->position().toPoint()).isValid();
    });
}

void TFicheModeNormal::ConnecterEvenements()
{
    Connecter(ui->lvListe->selectionModel(), &QItemSelectionModel::selectionChanged, this,
              &TFicheModeNormal::lvListeChange);
    Connecter(ui->lvCategorie->selectionModel(), &QItemSelectionModel::selectionChanged, this,
              &TFicheModeNormal::lvCategorieChange);
    Connecter(ui->btnPrecedent, &QPushButton::clicked, this, &TFicheModeNormal::btnPrecedentClick);
    Connecter(ui->btnSuivant, &QPushButton::clicked, this, &TFicheModeNormal::btnSuivantClick);
    Connecter(ui->btnMode, &QPushButton::clicked, this, &TFicheModeNormal::btnModeClick);

    auto* clicsPose = new SuiviClicsListe(ui->lvPose);
    Connecter(clicsPose, &SuiviClicsListe::Clic, this, &TFicheModeNormal::lvPoseClick);
    Connecter(clicsPose, &SuiviClicsListe::Validation, this, &TFicheModeNormal::lvPoseClick);

    // A box or an edit changed by the user runs its action; the VAT lists
    // run theirs only for the user's choice. What the screen shows of the
    // session is set with their signals held.
    Connecter(ui->cbLivraison, &QCheckBox::toggled, this, &TFicheModeNormal::cbLivraisonClick);
    for (OptionLivraison option : TPoseLivraison::kOptions) {
        if (option != TPoseLivraison::Livraison)
            Connecter(CaseLivraison(option), &QCheckBox::toggled, this, &TFicheModeNormal::cbOptionLivraisonClick,
                      option);
        Connecter(EditLivraison(option), &QLineEdit::textChanged, this, &TFicheModeNormal::edtLivraisonChange,
                  option);
        Connecter(EditLivraison(option), &QLineEdit::editingFinished, this, &TFicheModeNormal::edtLivraisonExit,
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

void TFicheModeNormal::SuivreSession()
{
    // One place per kind of change. The models follow the session on their
    // own, and were connected first: their rows are up to date here.
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TFicheModeNormal::AfficherDevis);
    connect(&session, &TSessionChiffrage::PoseGlobaleChangee, this, &TFicheModeNormal::AfficherPoseGlobale);
    connect(&session, &TSessionChiffrage::OptionsLivraisonChangees, this, &TFicheModeNormal::AfficherOptionsLivraison);
    connect(&session, &TSessionChiffrage::QuincailleriesGlobalesChangees, this,
            &TFicheModeNormal::AfficherQuincailleriesGlobales);
    connect(&session, &TSessionChiffrage::MenuiseriesChangees, this, &TFicheModeNormal::AfficherMenuiserie);
    connect(&session, &TSessionChiffrage::MenuiserieChangee, this, [this](int menuiserie) {
        if (menuiserie == session.GetIndexMenuiserie())
            AfficherMenuiserie();
    });
    connect(&session, &TSessionChiffrage::TarifChange, this, [this](int menuiserie, int tarif) {
        if (menuiserie == session.GetIndexMenuiserie() && tarif == session.GetIndexTarif())
            AfficherTarif();
    });
    connect(&session, &TSessionChiffrage::TotauxChanges, this, &TFicheModeNormal::AfficherMontants);
    connect(&session, &TSessionChiffrage::MenuiserieCouranteChangee, this, [this] {
        SelectionnerRang(ui->lvListe, session.GetIndexMenuiserie());
        MajNavigation();
        AfficherMenuiserie();
    });
    connect(&session, &TSessionChiffrage::TarifCourantChange, this, &TFicheModeNormal::AfficherTarif);
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
// First activation

void TFicheModeNormal::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    // The opening may open the kind choice and message boxes: it runs once
    // the window is up, from the event loop.
    if (premiereActivation && !activationPlanifiee) {
        activationPlanifiee = true;
        QTimer::singleShot(0, this, [this] { Proteger(this, [this] { FormActivate(); }); });
    }
}

void TFicheModeNormal::FormActivate()
{
    if (!premiereActivation || !isVisible())
        return;
    // Cleared first: the dialogs opened below must not start it again.
    premiereActivation = false;

    RemplirCombosTva();
    TSessionChiffrage::Interlocuteur interlocuteur;
    interlocuteur.signalerArchive = [this](const QString& message) { Messages::Erreur(message, this); };
    interlocuteur.choisirPose = [this](const QString& idPose) { return ChoisirPose(idPose); };
    try {
        session.Ouvrir(interlocuteur);
    } catch (const std::exception& erreur) {
        AbandonnerChargement(TexteErreur(erreur));
        return;
    }
    // Ready: the keyboard starts on the items.
    ui->lvListe->setFocus();
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
    const QString& echange = session.GetFichierEchange();
    const QString fichier = QDir::toNativeSeparators(echange);
    if (!texte.contains(fichier) && !texte.contains(echange))
        texte = QStringLiteral("Le fichier de récupération « %1 » ne peut pas être lu : %2").arg(fichier, texte);
    Messages::Erreur(texte + QStringLiteral("\n\nLe chiffrage est abandonné ; le fichier n'a pas été modifié."), this);
    QTimer::singleShot(0, this, &QDialog::reject);
}

// ---------------------------------------------------------------------------
// What the session announces

void TFicheModeNormal::AfficherDevis()
{
    AfficherPoseGlobale();
    AfficherOptionsLivraison();
    {
        const QSignalBlocker silence(ui->cbPriseDeCote);
        ui->cbPriseDeCote->setChecked(session.GetPriseDeCote());
    }
    AfficherQuincailleriesGlobales();
    MajNavigation();
    AfficherMenuiserie();
}

void TFicheModeNormal::AfficherPoseGlobale()
{
    const TPoseLivraison& pose = session.GetPoseGlobale();
    EcrireLibelleIcone(ui->lvPose, pose.GetLibelle());
    ui->lblTvaValeur->setText(FormatMonetaire(pose.GetTva().GetValeur()));
    AfficherPrixLivraison();
}

void TFicheModeNormal::AfficherOptionsLivraison()
{
    for (OptionLivraison option : TPoseLivraison::kOptions) {
        const QSignalBlocker silence(CaseLivraison(option));
        CaseLivraison(option)->setChecked(session.GetPoseGlobale().GetChoix(option));
    }
}

void TFicheModeNormal::SelectionnerRang(QTreeView* liste, int rang)
{
    // The list the user is acting on shows what he did (a row he unselected
    // with Ctrl+click stays current, unselected).
    if (liste == listeDeLUtilisateur)
        return;
    const QScopedValueRollback garde(listeDeLUtilisateur, liste);
    const QModelIndex index = liste->model()->index(rang, 0);
    if (!index.isValid()) {
        liste->clearSelection();
        return;
    }
    liste->setCurrentIndex(index);
    liste->scrollTo(index);
}

void TFicheModeNormal::AfficherMenuiserie()
{
    const TMenuiserie* menuiserie = session.MenuiserieCourante();
    if (menuiserie) {
        ui->memoDescription->setPlainText(menuiserie->GetDescription());
        EcrireLibelleIcone(ui->lvPoseMenuiserie, menuiserie->GetPose().GetLibelle());
        AfficherTvaMenuiserie();
    }
    // The current line, or nothing of the previous item's line (installer,
    // VAT, hardware) when it has none.
    AfficherTarif();
}

void TFicheModeNormal::AfficherTvaMenuiserie()
{
    const TTva& tva = session.MenuiserieCourante()->GetPose().GetTva();
    SelectionnerType(ui->cbTvaMenuiserie, tva.GetTypeTva());
    ui->lblTvaMenuiserie->setText(FormatGeneral(tva.GetValeur()));
}

void TFicheModeNormal::AfficherTarif()
{
    SelectionnerRang(ui->lvCategorie, session.GetIndexTarif());
    const TTarif* tarif = session.TarifCourant();
    if (tarif) {
        // The installer's current name in the database, not the one stored
        // in the line.
        AfficherNomPoseur(session.NomPoseur(session.GetIndexMenuiserie(), session.GetIndexTarif()));
        const QSignalBlocker silence(ui->cbQuincaillerie);
        ui->cbQuincaillerie->setChecked(tarif->GetQuincaillerieIncluse());
        SelectionnerType(ui->cmbTVA, tarif->GetTva().GetTypeTva());
        ui->lblTarifTvaValeur->setText(FormatMonetaire(tarif->GetTva().GetValeur()));
    } else {
        AfficherNomPoseur(QString());
        ui->cmbTVA->setCurrentIndex(-1);
        ui->lblTarifTvaValeur->setText(FormatMonetaire(0.0));
    }
    AfficherMontants();
}

void TFicheModeNormal::AfficherMontants()
{
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

void TFicheModeNormal::MajNavigation()
{
    // Without a selected item (-1), ">" goes to the first one.
    const int index = IndexSelectionne(ui->lvListe);
    ui->btnPrecedent->setEnabled(index > 0);
    ui->btnSuivant->setEnabled(index < modeleMenuiseries->rowCount() - 1);
}

// ---------------------------------------------------------------------------
// The user's moves

void TFicheModeNormal::lvListeChange()
{
    if (listeDeLUtilisateur == ui->lvListe)
        return;
    const int index = IndexLigneChangee(ui->lvListe);
    const QScopedValueRollback garde(listeDeLUtilisateur, ui->lvListe);
    if (index >= 0)
        session.SetMenuiserieCourante(index);
}

void TFicheModeNormal::lvCategorieChange()
{
    if (listeDeLUtilisateur == ui->lvCategorie)
        return;
    const int index = IndexLigneChangee(ui->lvCategorie);
    const QScopedValueRollback garde(listeDeLUtilisateur, ui->lvCategorie);
    if (index >= 0)
        session.SetTarifCourant(index);
}

void TFicheModeNormal::btnPrecedentClick()
{
    const int index = IndexSelectionne(ui->lvListe);
    if (index > 0)
        session.SetMenuiserieCourante(index - 1);
}

void TFicheModeNormal::btnSuivantClick()
{
    const int index = IndexSelectionne(ui->lvListe);
    if (index < modeleMenuiseries->rowCount() - 1)
        session.SetMenuiserieCourante(index + 1);
}

void TFicheModeNormal::btnModeClick()
{
    // isHidden(): the window itself may not be on screen yet.
    const bool listeVisible = !ui->lvListe->isHidden();
    ui->memoDescription->setVisible(listeVisible);
    ui->lvListe->setVisible(!listeVisible);
    MajLibelleMode();
}

namespace {

const QString kVoirDescription = QStringLiteral("Voir la descriptio&n de la menuiserie");
const QString kVoirListe = QStringLiteral("Voir la liste des me&nuiseries");

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

int TFicheModeNormal::LigneSelectionnee() const
{
    return IndexSelectionne(ui->lvCategorie) < 0 ? -1 : session.GetIndexTarif();
}

void TFicheModeNormal::done(int resultat)
{
    // Closed without "Valider", the work of the session would be lost.
    const QString question = QStringLiteral("Le chiffrage a été modifié et n'a pas été validé.\n"
                                            "Voulez-vous fermer sans enregistrer ? Les modifications seront perdues.");
    if (resultat != QDialog::Accepted && session.EstModifie() && !Messages::QuestionPerte(question, this))
        return;
    FormClose();
    QDialog::done(resultat);
}

void TFicheModeNormal::FormClose()
{
    // Closing writes nothing: only "Valider" answers the host.
    ui->lvPose->clear();
    session.Vider();
}
