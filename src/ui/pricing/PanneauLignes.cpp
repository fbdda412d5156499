#include "ui/pricing/PanneauLignes.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "model/Tarif.h"
#include "ui/choice/FichePoseurChoix.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/choice/FicheTarifChoix.h"
#include "ui/common/ComboValidee.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/SuiviClicsListe.h"
#include "ui/pricing/ModelesChiffrage.h"
#include "ui/pricing/Panneaux.h"

#include <QCollator>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace {

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

// A VAT list shows the entry of the type, or none when it has no such entry
// (no VAT yet).
void SelectionnerType(QComboBox* combo, int typeTva)
{
    combo->setCurrentIndex(-1);
    SelectionnerCode(combo, QString::number(typeTva));
}

} // namespace

TPanneauLignes::TPanneauLignes(QWidget* parent)
    : QFrame(parent)
{
}

void TPanneauLignes::Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui)
{
    this->session = &session;
    this->ui = &ui;
    PreparerIconePose(ui.lvPoseMenuiserie);
    PreparerListe();
    ConnecterActions();
    SuivreSession();
}

void TPanneauLignes::PreparerListe()
{
    liste = ::PreparerListe(ui->lvCategorie, new TModeleTarifs(*session, this), {175, 65, 65, 65, 65});
}

void TPanneauLignes::ConnecterActions()
{
    connect(liste, &TListeSuivie::Choisie, this,
            [this](int rang) { Proteger(this, [this, rang] { session->SetTarifCourant(rang); }); });
    auto* clicsPose = new SuiviClicsListe(ui->lvPoseMenuiserie);
    Connecter(clicsPose, &SuiviClicsListe::Clic, this, &TPanneauLignes::lvPoseMenuiserieClick);
    Connecter(clicsPose, &SuiviClicsListe::Validation, this, &TPanneauLignes::lvPoseMenuiserieClick);
    Connecter(ui->btnAjouter, &QToolButton::clicked, this, &TPanneauLignes::btnAjouterClick);
    Connecter(ui->btnDupliquer, &QToolButton::clicked, this, &TPanneauLignes::btnDupliquerClick);
    Connecter(ui->btnModifier, &QToolButton::clicked, this, &TPanneauLignes::btnModifierClick);
    Connecter(ui->btnSupprimer, &QToolButton::clicked, this, &TPanneauLignes::btnSupprimerClick);
    Connecter(ui->btnSupprimerTout, &QToolButton::clicked, this, &TPanneauLignes::btnSupprimerToutClick);
    Connecter(ui->btnPoseur, &QPushButton::clicked, this, &TPanneauLignes::btnPoseurClick);
    // The installer's name is read-only: a click on it chooses him, as "..." does.
    new FiltreEvenements(ui->edtPoseur, [this](QEvent* evenement) {
        if (evenement->type() != QEvent::MouseButtonRelease
            || static_cast<QMouseEvent*>(evenement)->button() != Qt::LeftButton)
            return false;
        Proteger(this, [this] { btnPoseurClick(); });
        return true;
    });
    // The VAT lists run their action only for the user's choice, once made:
    // not at each entry the arrow keys pass.
    Connecter(ui->cmbTVA, &TComboValidee::Choisie, this, &TPanneauLignes::cmbTVAChange);
    Connecter(ui->cbTvaMenuiserie, &TComboValidee::Choisie, this, &TPanneauLignes::cbTvaMenuiserieChange);
    Connecter(ui->cbQuincaillerie, &QCheckBox::toggled, this, &TPanneauLignes::cbQuincaillerieClick);
    Connecter(ui->btnQuincaillerie, &QToolButton::clicked, this, &TPanneauLignes::btnQuincaillerieClick);
}

void TPanneauLignes::SuivreSession()
{
    // The model follows the session on its own, and was connected first:
    // its rows are up to date here.
    const auto siCourante = [this](int menuiserie) { return menuiserie == session->GetIndexMenuiserie(); };
    connect(session, &TSessionChiffrage::DevisRecharge, this, &TPanneauLignes::AfficherMenuiserie);
    connect(session, &TSessionChiffrage::MenuiserieCouranteChangee, this, &TPanneauLignes::AfficherMenuiserie);
    connect(session, &TSessionChiffrage::MenuiserieChangee, this, [this, siCourante](int menuiserie) {
        if (siCourante(menuiserie))
            AfficherMenuiserie();
    });
    connect(session, &TSessionChiffrage::TarifCourantChange, this, &TPanneauLignes::AfficherTarif);
    connect(session, &TSessionChiffrage::TarifChange, this, [this, siCourante](int menuiserie, int tarif) {
        if (siCourante(menuiserie) && tarif == session->GetIndexTarif())
            AfficherTarif();
    });
    connect(session, &TSessionChiffrage::TotauxChanges, this, &TPanneauLignes::AfficherMontants);
    // Rows coming and going move the list's selection: not the user's doing.
    for (auto debut : {&TSessionChiffrage::LignesAInserer, &TSessionChiffrage::LignesASupprimer})
        connect(session, debut, liste, [this] { liste->Suspendre(true); });
    for (auto fin : {&TSessionChiffrage::LignesInserees, &TSessionChiffrage::LignesSupprimees})
        connect(session, fin, liste, [this] { liste->Suspendre(false); });
}

void TPanneauLignes::RemplirCombosTva()
{
    for (QComboBox* combo : {ui->cmbTVA, ui->cbTvaMenuiserie}) {
        ViderCombo(combo);
        RemplirComboTva(combo);
        TrierEntrees(combo);
        combo->setCurrentIndex(-1);
    }
}

// ---------------------------------------------------------------------------
// What the session says

void TPanneauLignes::AfficherMenuiserie()
{
    if (const TMenuiserie* menuiserie = session->MenuiserieCourante()) {
        EcrireLibelleIcone(ui->lvPoseMenuiserie, menuiserie->GetPose().GetLibelle());
        const TTva& tva = menuiserie->GetPose().GetTva();
        SelectionnerType(ui->cbTvaMenuiserie, tva.GetTypeTva());
        ui->lblTvaMenuiserie->setText(FormatGeneral(tva.GetValeur()));
    }
    // The current line, or nothing of the previous item's line (installer,
    // VAT, hardware) when it has none.
    AfficherTarif();
}

void TPanneauLignes::AfficherTarif()
{
    liste->Suivre(session->GetIndexTarif());
    if (const TTarif* tarif = session->TarifCourant()) {
        // The installer's current name in the database, not the one stored
        // in the line.
        AfficherNomPoseur(session->NomPoseur(session->GetIndexMenuiserie(), session->GetIndexTarif()));
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

void TPanneauLignes::AfficherMontants()
{
    ::AfficherMontants(session->MontantsQuincaillerieCourante(), ui->lblQuincaillerieAchat, ui->lblQuincaillerieHt,
                       ui->lblQuincaillerieTva, ui->lblQuincaillerieTtc);
    // Item totals count the item's own quantity field.
    ::AfficherMontants(session->TotauxMenuiserieCourante(), ui->lblTotalMenuiserieAchatHt, ui->lblTotalMenuiserieHt,
                       ui->lblTotalMenuiserieTva, ui->lblTotalMenuiserieTtc);
    ui->lblMargeMenuiserie->setText(TexteMarge(session->MargeMenuiserieCourante()));
}

void TPanneauLignes::AfficherNomPoseur(const QString& nom)
{
    // A long name shows its beginning, and whole in its tooltip.
    ui->edtPoseur->setText(nom);
    ui->edtPoseur->setCursorPosition(0);
    ui->edtPoseur->setToolTip(nom);
}

// ---------------------------------------------------------------------------
// The user's actions

int TPanneauLignes::MenuiserieChoisie()
{
    const int index = session->GetIndexMenuiserie();
    if (index < 0)
        Messages::Information(QStringLiteral("Vous n'avez pas sélectionné une menuiserie"), window());
    return index;
}

int TPanneauLignes::LigneSelectionnee() const
{
    return liste->Selection() < 0 ? -1 : session->GetIndexTarif();
}

int TPanneauLignes::TarifChoisi(const QString& action)
{
    if (MenuiserieChoisie() < 0)
        return -1;
    // A line unselected (Ctrl+click) stays on show, but is not acted on.
    const int index = LigneSelectionnee();
    if (index < 0)
        Messages::Information(QStringLiteral("Vous devez sélectionner un tarif de pose pour pouvoir le %1.").arg(action),
                              window());
    return index;
}

TSessionChiffrage::Question TPanneauLignes::Question()
{
    return [this](const QString& texte) { return Messages::Question(texte, window()); };
}

void TPanneauLignes::lvPoseMenuiserieClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0)
        return;
    if (const std::optional<QString> idPose = ChoisirPose(window(), session->MenuiserieCourante()->GetPose().GetId()))
        session->ChoisirPoseMenuiserie(menuiserie, *idPose);
}

std::optional<TSessionChiffrage::ChoixTarif> TPanneauLignes::ChoisirTarif(const QString& idTarif)
{
    const TMenuiserie& menuiserie = *session->MenuiserieCourante();
    TFicheTarifChoix choix(window());
    choix.SetMenuiserie(menuiserie);
    choix.SetIdTarif(idTarif);
    choix.SetIdPose(menuiserie.GetPose().GetId());
    if (choix.exec() != QDialog::Accepted)
        return std::nullopt;
    return TSessionChiffrage::ChoixTarif{choix.GetIdTarif(), choix.GetLibelle(), choix.GetPrix()};
}

void TPanneauLignes::btnAjouterClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0)
        return;
    // Without a kind the tariff choice would have nothing to list. The kind
    // chosen stays, whatever happens to the tariff choice.
    if (session->MenuiserieCourante()->PoseAChoisir())
        lvPoseMenuiserieClick();
    if (const std::optional<TSessionChiffrage::ChoixTarif> choix = ChoisirTarif(QString()))
        session->AjouterTarif(menuiserie, *choix);
}

void TPanneauLignes::btnDupliquerClick()
{
    const int tarif = TarifChoisi(QStringLiteral("dupliquer"));
    if (tarif >= 0)
        session->DupliquerTarif(session->GetIndexMenuiserie(), tarif);
}

void TPanneauLignes::btnModifierClick()
{
    const int tarif = TarifChoisi(QStringLiteral("modifier"));
    if (tarif < 0)
        return;
    if (const std::optional<TSessionChiffrage::ChoixTarif> choix = ChoisirTarif(session->TarifCourant()->GetId()))
        session->ModifierTarif(session->GetIndexMenuiserie(), tarif, *choix);
}

void TPanneauLignes::btnSupprimerClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0)
        return;
    const int tarif = LigneSelectionnee();
    if (tarif < 0) {
        Messages::Information(
            QStringLiteral("Vous devez sélectionner un tarif de pose pour effectuer une suppression (Index < 0)."),
            window());
        return;
    }
    session->SupprimerTarif(menuiserie, tarif);
}

void TPanneauLignes::btnSupprimerToutClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0 || session->MenuiserieCourante()->GetTarifs().EstVide())
        return;
    const QString question =
        QStringLiteral("Etes-vous sûr de vouloir supprimer toutes les lignes de pose de cette menuiserie ?");
    if (Messages::QuestionPerte(question, window()))
        session->SupprimerTarifs(menuiserie);
}

void TPanneauLignes::btnPoseurClick()
{
    const int tarif = session->GetIndexTarif();
    if (tarif < 0)
        return;
    QString idPoseur;
    {
        TFichePoseurChoix choix(window());
        choix.SetIdPoseur(QString());
        if (choix.exec() != QDialog::Accepted)
            return;
        idPoseur = choix.GetIdPoseur();
    }
    if (!idPoseur.isEmpty())
        session->ChoisirPoseur(session->GetIndexMenuiserie(), tarif, idPoseur, Question());
}

void TPanneauLignes::cmbTVAChange()
{
    const int tarif = session->GetIndexTarif();
    if (tarif >= 0)
        session->ChoisirTvaTarif(session->GetIndexMenuiserie(), tarif, GetCodeSelection(ui->cmbTVA), Question());
}

void TPanneauLignes::cbTvaMenuiserieChange()
{
    const int menuiserie = session->GetIndexMenuiserie();
    if (menuiserie >= 0)
        session->ChoisirTvaMenuiserie(menuiserie, GetCodeSelection(ui->cbTvaMenuiserie), Question());
}

void TPanneauLignes::cbQuincaillerieClick()
{
    const int tarif = session->GetIndexTarif();
    if (tarif >= 0)
        session->SetQuincaillerieIncluse(session->GetIndexMenuiserie(), tarif, ui->cbQuincaillerie->isChecked());
}

void TPanneauLignes::btnQuincaillerieClick()
{
    const int tarif = session->GetIndexTarif();
    if (tarif < 0)
        return;
    // The dialog edits a copy and sees the current item only; what it
    // leaves is one step, none when it changed nothing.
    TFicheQuincaillerieDetail detail(window());
    detail.SetMenuiseries(*session->MenuiserieCourante());
    detail.SetQuincailleries(session->TarifCourant()->GetQuincailleries());
    detail.exec();
    session->RemplacerQuincailleries(session->GetIndexMenuiserie(), tarif, detail.GetQuincailleries());
}
