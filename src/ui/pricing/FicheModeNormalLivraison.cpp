// The quote's default installation kind with its delivery surcharges, and
// the VAT of the current line and item.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "model/Tarif.h"
#include "ui/choice/FichePoseChoix.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"

#include <QSignalBlocker>

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

} // namespace

QCheckBox* TFicheModeNormal::CaseLivraison(OptionLivraison option) const
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

QLineEdit* TFicheModeNormal::EditLivraison(OptionLivraison option) const
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
// Default installation kind

std::optional<QString> TFicheModeNormal::ChoisirPose(const QString& idPose)
{
    TFichePoseChoix choix(this);
    choix.SetIdPose(idPose);
    choix.SetImages(&imgListe);
    choix.ChargerListe();
    if (choix.exec() != QDialog::Accepted)
        return std::nullopt;
    return choix.GetIdPose();
}

void TFicheModeNormal::lvPoseClick()
{
    const std::optional<QString> idPose = ChoisirPose(Session.GetPoseGlobale().GetId());
    if (!idPose || !Session.ChoisirPoseGlobale(*idPose))
        return;

    // Every item has the new kind already: the totals shown are those of
    // the whole quote as it now is.
    AfficherOptionsLivraison();
    ui->lblTvaValeur->setText(FormatMonetaire(Session.GetPoseGlobale().GetTva().GetValeur()));
    AfficherPrixLivraison();
    AfficherTotaux();
    EcrireLibelleIcone(ui->lvPose, Session.GetPoseGlobale().GetLibelle());
    if (MenuiserieCourante)
        AfficherMenuiserie();
}

void TFicheModeNormal::AfficherOptionsLivraison()
{
    for (OptionLivraison option : TPoseLivraison::kOptions) {
        const QSignalBlocker silence(CaseLivraison(option));
        CaseLivraison(option)->setChecked(Session.GetPoseGlobale().GetChoix(option));
    }
}

void TFicheModeNormal::AfficherPrixLivraison()
{
    // Each edit runs its own action: the price kept is the one shown.
    const TPoseLivraison pose = Session.GetPoseGlobale();
    for (OptionLivraison option : TPoseLivraison::kOptions)
        EditLivraison(option)->setText(FormatMonetaire(pose.GetPrix(option)));
}

// ---------------------------------------------------------------------------
// Delivery options

void TFicheModeNormal::cbLivraisonClick()
{
    Session.ChoisirOption(TPoseLivraison::Livraison, ui->cbLivraison->isChecked());
    AfficherOptionsLivraison();
    AfficherTotaux();
}

void TFicheModeNormal::cbOptionLivraisonClick(OptionLivraison option)
{
    Session.ChoisirOption(option, CaseLivraison(option)->isChecked());
    AfficherOptionsLivraison();
    AfficherTotaux();
}

void TFicheModeNormal::edtLivraisonChange(OptionLivraison option)
{
    QLineEdit* edit = EditLivraison(option);
    // -1 is the "not a number" mark of the price check: typed, it is refused too.
    const double valeur = LireDecimal(edit->text()).value_or(-1.0);
    if (valeur != -1.0) {
        Session.SetPrixLivraison(option, valeur);
        AfficherTotaux();
        return;
    }
    Messages::Information(MessagePrixIncorrect(option), this);
    edit->setFocus();
}

void TFicheModeNormal::cbPriseDeCoteClick()
{
    Session.SetPriseDeCote(ui->cbPriseDeCote->isChecked());
}

// ---------------------------------------------------------------------------
// VAT of the current line and item

void TFicheModeNormal::cmbTVAChange()
{
    if (TarifCourant) {
        const QString type = GetCodeSelection(ui->cmbTVA);
        Session.AffecterTvaTarif(*TarifCourant, type);
        ui->lblTarifTvaValeur->setText(FormatMonetaire(TarifCourant->GetTva().GetValeur()));

        // An item showing no VAT differs from any line VAT.
        if (type != GetCodeSelection(ui->cbTvaMenuiserie)
            && Messages::Question(
                QStringLiteral("Voulez-vous affecter la nouvelle TVA de ce tarif de pose à la menuiserie ?"), this)) {
            SelectionnerCode(ui->cbTvaMenuiserie, type);
            cbTvaMenuiserieChange();
        }
    }
    // The row of the current line, also when its selection was taken off.
    const int index = RangLigneCourante();
    if (TarifCourant && index >= 0)
        EcrireMontantsVente(index, *TarifCourant);
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}

void TFicheModeNormal::cbTvaMenuiserieChange()
{
    if (!MenuiserieCourante)
        return;
    const TPose& pose = MenuiserieCourante->GetPose();
    const QString type = GetCodeSelection(ui->cbTvaMenuiserie);
    const QString ancienType = QString::number(pose.GetTva().GetTypeTva());
    const bool tvaConnue = Session.AffecterTvaMenuiserie(*MenuiserieCourante, type);
    ui->lblTvaMenuiserie->setText(FormatGeneral(pose.GetTva().GetValeur()));

    if (type != ancienType && MenuiserieCourante->GetTarifs().Nombre() > 0) {
        if (tvaConnue && Messages::Question(
                             QStringLiteral("Voulez-vous affecter la nouvelle TVA aux tarifs de pose de cette menuiserie ?"),
                             this)) {
            Session.DiffuserTvaMenuiserie(*MenuiserieCourante);
            AfficherLignesMenuiserie();
        }
        AfficherTarif();
    }
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}

