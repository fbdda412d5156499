// The quote's default installation kind with its delivery surcharges, and
// the VAT of the current line and item.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "data/Poses.h"
#include "data/TableTva.h"
#include "model/Formats.h"
#include "model/Tarif.h"
#include "ui/choice/FichePoseChoix.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"

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

// The VAT of a type carried by a list entry; nothing for a type that the VAT
// table does not hold (the VAT it would replace is then kept).
std::unique_ptr<TTva> TvaDuType(const QString& typeTva)
{
    return TableTva::GetTva(typeTva);
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

void TFicheModeNormal::lvPoseClick()
{
    QString idChoisi;
    {
        TFichePoseChoix choix(this);
        choix.SetIdPose(PoseGlobale.GetId());
        choix.SetImages(&imgListe);
        choix.ChargerListe();
        if (choix.exec() != QDialog::Accepted)
            return;
        idChoisi = choix.GetIdPose();
    }
    if (idChoisi == PoseGlobale.GetId())
        return;

    PoseGlobale.SetId(idChoisi);
    PoseGlobale.SetPrix(TPoseLivraison::Livraison, 0.0);
    for (OptionLivraison option : {TPoseLivraison::LivraisonCompliquee, TPoseLivraison::LivraisonAutorisation,
                                   TPoseLivraison::LivraisonManutention}) {
        PoseGlobale.SetChoix(option, false);
        CaseLivraison(option)->setChecked(false);
    }
    ChargerPose(idChoisi);

    ui->lblTvaValeur->setText(FormatMonetaire(PoseGlobale.GetTva().GetValeur()));
    AfficherPrixLivraison();
    AfficherTotaux();
    EcrireLibelleIcone(ui->lvPose, PoseGlobale.GetLibelle());

    // Every item takes the new kind, replacing any chosen item by item.
    for (TMenuiserie& menuiserie : Menuiseries) {
        menuiserie.AffecterPose(PoseGlobale);
        menuiserie.AffecterTva(PoseGlobale.GetTva());
        if (&menuiserie == MenuiserieCourante)
            AfficherMenuiserie();
    }
}

void TFicheModeNormal::ChargerPose(const QString& idPose)
{
    // A kind that is gone (or doubled) keeps the former label, prices and VAT.
    const std::optional<Poses::Pose> pose = Poses::Lire(idPose);
    if (!pose)
        return;
    PoseGlobale.SetLibelle(pose->libelle);
    PoseGlobale.SetCodeExport(pose->codeExport);
    for (OptionLivraison option : TPoseLivraison::kOptions) {
        PoseGlobale.SetPrix(option, pose->prix[option]);
        PoseGlobale.SetCodeExportOption(option, pose->codesExport[option]);
    }
    if (const auto tva = TableTva::GetTva(pose->typeTva.value_or(0)))
        PoseGlobale.AffecterTva(*tva);
}

void TFicheModeNormal::AfficherPrixLivraison()
{
    // Each edit runs its own action: the price kept is the one shown.
    const TPoseLivraison pose = PoseGlobale;
    for (OptionLivraison option : TPoseLivraison::kOptions)
        EditLivraison(option)->setText(FormatMonetaire(pose.GetPrix(option)));
}

// ---------------------------------------------------------------------------
// Delivery options

void TFicheModeNormal::cbLivraisonClick()
{
    // Without delivery there is no sub-option.
    if (!ui->cbLivraison->isChecked()) {
        for (OptionLivraison option : {TPoseLivraison::LivraisonCompliquee, TPoseLivraison::LivraisonAutorisation,
                                       TPoseLivraison::LivraisonManutention})
            CaseLivraison(option)->setChecked(false);
    }
    PoseGlobale.SetChoix(TPoseLivraison::Livraison, ui->cbLivraison->isChecked());
    AfficherTotaux();
}

void TFicheModeNormal::cbOptionLivraisonClick(OptionLivraison option)
{
    const bool coche = CaseLivraison(option)->isChecked();
    if (coche)
        ui->cbLivraison->setChecked(true);
    PoseGlobale.SetChoix(option, coche);
    AfficherTotaux();
}

void TFicheModeNormal::edtLivraisonChange(OptionLivraison option)
{
    QLineEdit* edit = EditLivraison(option);
    // -1 is the "not a number" mark of the price check: typed, it is refused too.
    const double valeur = LireDecimal(edit->text()).value_or(-1.0);
    if (valeur != -1.0) {
        PoseGlobale.SetPrix(option, valeur);
        AfficherTotaux();
        return;
    }
    Messages::Information(MessagePrixIncorrect(option), this);
    edit->setFocus();
}

// ---------------------------------------------------------------------------
// VAT of the current line and item

void TFicheModeNormal::cmbTVAChange()
{
    if (TarifCourant) {
        const QString type = GetCodeSelection(ui->cmbTVA);
        if (const auto tva = TvaDuType(type))
            TarifCourant->AffecterTva(*tva);
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
    TPose& pose = MenuiserieCourante->GetPose();
    const QString type = GetCodeSelection(ui->cbTvaMenuiserie);
    const QString ancienType = QString::number(pose.GetTva().GetTypeTva());
    const auto tva = TvaDuType(type);
    if (tva)
        pose.AffecterTva(*tva);
    ui->lblTvaMenuiserie->setText(FormatGeneral(pose.GetTva().GetValeur()));

    if (type != ancienType && MenuiserieCourante->GetTarifs().Nombre() > 0) {
        if (tva && Messages::Question(
                       QStringLiteral("Voulez-vous affecter la nouvelle TVA aux tarifs de pose de cette menuiserie ?"),
                       this))
            AffecterTvaAuxLignes(*tva);
        AfficherTarif();
    }
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}

void TFicheModeNormal::AffecterTvaAuxLignes(const TTva& tva)
{
    TTarifs& tarifs = MenuiserieCourante->GetTarifs();
    for (int i = 0; i < tarifs.Nombre(); ++i) {
        tarifs[i].AffecterTva(tva);
        if (QTreeWidgetItem* ligne = ui->lvCategorie->topLevelItem(i))
            ligne->setText(0, tarifs[i].GetLibelle());
        EcrireMontantsVente(i, tarifs[i]);
    }
}
