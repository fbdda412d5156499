#include "ui/pricing/PanneauPoseDevis.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "pricing/SessionChiffrage.h"
#include "ui/common/FicheEdition.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"
#include "ui/common/SuiviClicsListe.h"
#include "ui/pricing/Panneaux.h"

#include <QSignalBlocker>
#include <algorithm>

namespace {

QString MessagePrixIncorrect(TPoseLivraison::OptionLivraison option)
{
    switch (option) {
    case TPoseLivraison::Livraison:
        return QStringLiteral("Veuillez saisir un chiffre correct pour la livraison");
    case TPoseLivraison::LivraisonCompliquee:
        return QStringLiteral("Veuillez saisir un chiffre correct pour la livraison compliquée");
    case TPoseLivraison::LivraisonAutorisation:
        return QStringLiteral("Veuillez saisir un chiffre correct pour l'autorisation");
    case TPoseLivraison::LivraisonManutention:
        break;
    }
    return QStringLiteral("Veuillez saisir un chiffre correct pour la manutention.");
}

// The option's message, why when the amount is beyond the bound, and the
// price that stays.
QString MessagePrixRefuse(TPoseLivraison::OptionLivraison option, RefusMontant refus, const QString& prix)
{
    QString message = MessagePrixIncorrect(option);
    if (refus == RefusMontant::HorsLimites)
        message += kMontantHorsLimites;
    return message + QStringLiteral("\nLe prix reste %1.").arg(prix);
}

QString MessageTarifsAutomatiques(int ajoutees)
{
    if (ajoutees == 0)
        return QStringLiteral("Aucune ligne de pose automatique ne convient aux menuiseries de ce devis.");
    if (ajoutees == 1)
        return QStringLiteral("1 ligne de pose automatique a été ajoutée.");
    return QStringLiteral("%1 lignes de pose automatiques ont été ajoutées.").arg(ajoutees);
}

} // namespace

TPanneauPoseDevis::TPanneauPoseDevis(QWidget* parent)
    : QWidget(parent)
{
}

void TPanneauPoseDevis::Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui)
{
    this->session = &session;
    this->ui = &ui;
    PreparerIconePose(ui.lvPose);
    AfficherPrix();

    auto* clics = new SuiviClicsListe(ui.lvPose);
    Connecter(clics, &SuiviClicsListe::Clic, this, &TPanneauPoseDevis::lvPoseClick);
    Connecter(clics, &SuiviClicsListe::Validation, this, &TPanneauPoseDevis::lvPoseClick);
    // A box or a price changed by the user runs its action; what the panel
    // shows of the session is set with their signals held.
    for (OptionLivraison option : TPoseLivraison::kOptions) {
        Connecter(CaseLivraison(option), &QCheckBox::toggled, this, &TPanneauPoseDevis::cbLivraisonClick, option);
        Connecter(EditLivraison(option), &QLineEdit::editingFinished, this, &TPanneauPoseDevis::edtLivraisonExit,
                  option);
    }
    Connecter(ui.cbPriseDeCote, &QCheckBox::toggled, this, &TPanneauPoseDevis::cbPriseDeCoteClick);

    connect(&session, &TSessionChiffrage::DevisRecharge, this, [this] {
        AfficherPose();
        AfficherOptions();
        AfficherPriseDeCote();
    });
    connect(&session, &TSessionChiffrage::PoseGlobaleChangee, this, &TPanneauPoseDevis::AfficherPose);
    connect(&session, &TSessionChiffrage::OptionsLivraisonChangees, this, &TPanneauPoseDevis::AfficherOptions);
    connect(&session, &TSessionChiffrage::PriseDeCoteChangee, this, &TPanneauPoseDevis::AfficherPriseDeCote);
}

QCheckBox* TPanneauPoseDevis::CaseLivraison(OptionLivraison option) const
{
    switch (option) {
    case TPoseLivraison::Livraison:
        return ui->cbLivraison;
    case TPoseLivraison::LivraisonCompliquee:
        return ui->cbLivraisonCompliquee;
    case TPoseLivraison::LivraisonAutorisation:
        return ui->cbLivraisonAutorisation;
    case TPoseLivraison::LivraisonManutention:
        break;
    }
    return ui->cbLivraisonManutention;
}

QLineEdit* TPanneauPoseDevis::EditLivraison(OptionLivraison option) const
{
    switch (option) {
    case TPoseLivraison::Livraison:
        return ui->edtLivraison;
    case TPoseLivraison::LivraisonCompliquee:
        return ui->edtLivraisonCompliquee;
    case TPoseLivraison::LivraisonAutorisation:
        return ui->edtLivraisonAutorisation;
    case TPoseLivraison::LivraisonManutention:
        break;
    }
    return ui->edtLivraisonManutention;
}

// ---------------------------------------------------------------------------
// What the session says

void TPanneauPoseDevis::AfficherPose()
{
    const TPoseLivraison& pose = session->GetPoseGlobale();
    EcrireLibelleIcone(ui->lvPose, pose.GetLibelle());
    ui->lblTvaValeur->setText(FormatMonetaire(pose.GetTva().GetValeur()));
    AfficherPrix();
}

void TPanneauPoseDevis::AfficherOptions()
{
    for (OptionLivraison option : TPoseLivraison::kOptions) {
        const QSignalBlocker silence(CaseLivraison(option));
        CaseLivraison(option)->setChecked(session->GetPoseGlobale().GetChoix(option));
    }
}

void TPanneauPoseDevis::AfficherPrix()
{
    const TPoseLivraison& pose = session->GetPoseGlobale();
    for (OptionLivraison option : TPoseLivraison::kOptions)
        EditLivraison(option)->setText(FormatMonetaire(pose.GetPrix(option)));
}

void TPanneauPoseDevis::AfficherPriseDeCote()
{
    const QSignalBlocker silence(ui->cbPriseDeCote);
    ui->cbPriseDeCote->setChecked(session->GetPriseDeCote());
}

// ---------------------------------------------------------------------------
// The user's actions

void TPanneauPoseDevis::lvPoseClick()
{
    const std::optional<QString> idPose = ChoisirPose(window(), session->GetPoseGlobale().GetId());
    if (!idPose || !session->ChoisirPoseGlobale(*idPose))
        return;
    ProposerTarifsAutomatiques();
}

void TPanneauPoseDevis::ProposerTarifsAutomatiques()
{
    // The kind dismissed at the opening, the quote got no automatic line:
    // the kind chosen now may bring them.
    if (!session->TarifsAutomatiquesAProposer())
        return;
    const QString question = QStringLiteral("Voulez-vous ajouter aux menuiseries les lignes de pose automatiques de « %1 » ?")
                                 .arg(session->GetPoseGlobale().GetLibelle());
    if (Messages::Question(question, window()))
        Messages::Information(MessageTarifsAutomatiques(session->AffecterTarifsAutomatiques()), window());
}

void TPanneauPoseDevis::cbLivraisonClick(OptionLivraison option)
{
    session->ChoisirOption(option, CaseLivraison(option)->isChecked());
}

bool TPanneauPoseDevis::edtLivraisonExit(OptionLivraison option)
{
    QLineEdit* edit = EditLivraison(option);
    const auto prixTenu = [&] { return FormatMonetaire(session->GetPoseGlobale().GetPrix(option)); };
    // Left as shown: nothing was typed.
    if (edit->text() == prixTenu())
        return true;
    const RefusMontant refus = session->SaisirPrixLivraison(option, edit->text());
    // Taken to the cent or refused, the box shows the price the quote holds.
    edit->setText(prixTenu());
    if (refus == RefusMontant::Aucun)
        return true;
    Messages::Information(MessagePrixRefuse(option, refus, prixTenu()), window());
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool TPanneauPoseDevis::ValiderSaisies()
{
    return std::all_of(TPoseLivraison::kOptions.begin(), TPoseLivraison::kOptions.end(),
                       [this](OptionLivraison option) { return edtLivraisonExit(option); });
}

void TPanneauPoseDevis::cbPriseDeCoteClick()
{
    session->SetPriseDeCote(ui->cbPriseDeCote->isChecked());
}
