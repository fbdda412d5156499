// The amounts of the pricing screen: the current line's hardware, the
// quote-wide hardware, the current item and the whole quote, recomputed from
// the objects each time; and the red signal of the two lists.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "model/Tarif.h"

namespace {

void Afficher(const Montants& montants, QLabel* achat, QLabel* ht, QLabel* tva, QLabel* ttc)
{
    achat->setText(FormatMonetaire(montants.achat));
    ht->setText(FormatMonetaire(montants.ht));
    tva->setText(FormatMonetaire(montants.tva));
    ttc->setText(FormatMonetaire(montants.ttc));
}

} // namespace

void TFicheModeNormal::AfficherQuincaillerieTarif()
{
    const Montants montants = TarifCourant ? MontantsQuincaillerie(TarifCourant->GetQuincailleries()) : Montants();
    Afficher(montants, ui->lblQuincaillerieAchat, ui->lblQuincaillerieHt, ui->lblQuincaillerieTva,
             ui->lblQuincaillerieTtc);
}

void TFicheModeNormal::AfficherQuincailleriesGlobales()
{
    Afficher(MontantsQuincaillerie(Session.GetQuincailleriesGlobales()), ui->lblQuincailleriesGlobalesAchat,
             ui->lblQuincailleriesGlobalesHt, ui->lblQuincailleriesGlobalesTva,
             ui->lblQuincailleriesGlobalesTtc);
}

void TFicheModeNormal::AfficherTotauxMenuiserie()
{
    // Item totals count the item's own quantity field.
    const Montants montants = MenuiserieCourante ? MontantsMenuiserie(*MenuiserieCourante) : Montants();
    Afficher(montants, ui->lblTotalMenuiserieAchatHt, ui->lblTotalMenuiserieHt, ui->lblTotalMenuiserieTva,
             ui->lblTotalMenuiserieTtc);
}

void TFicheModeNormal::AfficherTotaux()
{
    // Quote totals count each item by its "Quantite" property.
    const TotauxDevis totaux = Session.Totaux();
    ui->lblTotalLivraisonHt->setText(FormatMonetaire(totaux.livraisonHt));
    ui->lblTotalMenuiseriesHt->setText(FormatMonetaire(totaux.menuiseriesHt));
    ui->lblTotalQuincailleriesHt->setText(FormatMonetaire(totaux.quincailleriesHt));
    ui->lblTotalQuincailleriesGlobalesHt->setText(FormatMonetaire(totaux.quincailleriesGlobalesHt));
    ui->lblTotalAchatHt->setText(FormatMonetaire(totaux.achatHt));
    ui->lblTotalHt->setText(FormatMonetaire(totaux.ht));
    ui->lblTotalTva->setText(FormatMonetaire(totaux.tva));
    ui->lblTotalTtc->setText(FormatMonetaire(totaux.ttc));
}

bool TFicheModeNormal::MenuiserieEnEcart(int ligne) const
{
    const TMenuiseries& menuiseries = Session.GetMenuiseries();
    return ligne >= 0 && ligne < menuiseries.Nombre() && Session.MenuiserieEnEcart(menuiseries[ligne]);
}

bool TFicheModeNormal::LigneEnEcart(int ligne) const
{
    if (!MenuiserieCourante || ligne < 0 || ligne >= MenuiserieCourante->GetTarifs().Nombre())
        return false;
    return Session.EcartPrix(MenuiserieCourante->GetTarifs()[ligne]);
}
