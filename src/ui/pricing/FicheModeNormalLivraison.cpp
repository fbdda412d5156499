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
    if (const std::optional<QString> idPose = ChoisirPose(session.GetPoseGlobale().GetId()))
        session.ChoisirPoseGlobale(*idPose);
}

void TFicheModeNormal::AfficherPrixLivraison()
{
    // Each edit runs its own action: the price kept is the one shown.
    const TPoseLivraison& pose = session.GetPoseGlobale();
    for (OptionLivraison option : TPoseLivraison::kOptions)
        EditLivraison(option)->setText(FormatMonetaire(pose.GetPrix(option)));
}

// ---------------------------------------------------------------------------
// Delivery options

void TFicheModeNormal::cbLivraisonClick()
{
    session.ChoisirOption(TPoseLivraison::Livraison, ui->cbLivraison->isChecked());
}

void TFicheModeNormal::cbOptionLivraisonClick(OptionLivraison option)
{
    session.ChoisirOption(option, CaseLivraison(option)->isChecked());
}

namespace {

// -1 is the "not a number" mark of the price check: typed, it is refused too.
std::optional<double> PrixLivraison(const QLineEdit* edit)
{
    const double valeur = LireDecimal(edit->text()).value_or(-1.0);
    return valeur != -1.0 ? std::optional(valeur) : std::nullopt;
}

} // namespace

void TFicheModeNormal::edtLivraisonChange(OptionLivraison option)
{
    // Each readable price counts at once; one being retyped is checked
    // when the field is left.
    if (const std::optional<double> prix = PrixLivraison(EditLivraison(option)))
        session.SetPrixLivraison(option, *prix);
}

void TFicheModeNormal::edtLivraisonExit(OptionLivraison option)
{
    QLineEdit* edit = EditLivraison(option);
    if (PrixLivraison(edit))
        return;
    Messages::Information(MessagePrixIncorrect(option), this);
    edit->setFocus();
}

void TFicheModeNormal::cbPriseDeCoteClick()
{
    session.SetPriseDeCote(ui->cbPriseDeCote->isChecked());
}

// ---------------------------------------------------------------------------
// VAT of the current line and item

void TFicheModeNormal::cmbTVAChange()
{
    const int menuiserie = session.GetIndexMenuiserie();
    const int tarif = session.GetIndexTarif();
    if (tarif < 0)
        return;
    const QString type = GetCodeSelection(ui->cmbTVA);
    session.AffecterTvaTarif(menuiserie, tarif, type);
    // An item showing no VAT differs from any line VAT.
    if (type != GetCodeSelection(ui->cbTvaMenuiserie)
        && Messages::Question(QStringLiteral("Voulez-vous affecter la nouvelle TVA de ce tarif de pose à la menuiserie ?"),
                              this)) {
        SelectionnerCode(ui->cbTvaMenuiserie, type);
        cbTvaMenuiserieChange();
    }
}

void TFicheModeNormal::cbTvaMenuiserieChange()
{
    const int index = session.GetIndexMenuiserie();
    if (index < 0)
        return;
    const TMenuiserie& menuiserie = *session.MenuiserieCourante();
    const QString type = GetCodeSelection(ui->cbTvaMenuiserie);
    const QString ancienType = QString::number(menuiserie.GetPose().GetTva().GetTypeTva());
    const bool tvaConnue = session.AffecterTvaMenuiserie(index, type);
    if (type != ancienType && tvaConnue && menuiserie.GetTarifs().Nombre() > 0
        && Messages::Question(QStringLiteral("Voulez-vous affecter la nouvelle TVA aux tarifs de pose de cette menuiserie ?"),
                              this))
        session.DiffuserTvaMenuiserie(index);
}
