// The amounts of the pricing screen: the current line's hardware, the
// quote-wide hardware, the current item and the whole quote, recomputed from
// the session's objects each time.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"

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
    Afficher(session.MontantsQuincaillerieCourante(), ui->lblQuincaillerieAchat, ui->lblQuincaillerieHt,
             ui->lblQuincaillerieTva, ui->lblQuincaillerieTtc);
}

void TFicheModeNormal::AfficherQuincailleriesGlobales()
{
    Afficher(MontantsQuincaillerie(session.GetQuincailleriesGlobales()), ui->lblQuincailleriesGlobalesAchat,
             ui->lblQuincailleriesGlobalesHt, ui->lblQuincailleriesGlobalesTva,
             ui->lblQuincailleriesGlobalesTtc);
}

// "12,50 %"; "" for a sale of 0.
static QString TexteMarge(const std::optional<double>& taux)
{
    return taux ? FormatMonetaire(*taux) + QStringLiteral(" %") : QString();
}

void TFicheModeNormal::AfficherTotauxMenuiserie()
{
    // Item totals count the item's own quantity field.
    Afficher(session.TotauxMenuiserieCourante(), ui->lblTotalMenuiserieAchatHt, ui->lblTotalMenuiserieHt,
             ui->lblTotalMenuiserieTva, ui->lblTotalMenuiserieTtc);
    ui->lblMargeMenuiserie->setText(TexteMarge(session.MargeMenuiserieCourante()));
}

void TFicheModeNormal::AfficherTotaux()
{
    // Quote totals count each item by its "Quantite" property.
    const TotauxDevis totaux = session.Totaux();
    ui->lblTotalLivraisonHt->setText(FormatMonetaire(totaux.livraisonHt));
    ui->lblTotalMenuiseriesHt->setText(FormatMonetaire(totaux.menuiseriesHt));
    ui->lblTotalQuincailleriesHt->setText(FormatMonetaire(totaux.quincailleriesHt));
    ui->lblTotalQuincailleriesGlobalesHt->setText(FormatMonetaire(totaux.quincailleriesGlobalesHt));
    ui->lblTotalAchatHt->setText(FormatMonetaire(totaux.achatHt));
    ui->lblTotalHt->setText(FormatMonetaire(totaux.ht));
    ui->lblTotalTva->setText(FormatMonetaire(totaux.tva));
    ui->lblTotalTtc->setText(FormatMonetaire(totaux.ttc));
    ui->lblMargeDevis->setText(TexteMarge(session.MargeDevis()));
}
