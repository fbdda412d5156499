// The amounts of the pricing screen: the current line's hardware, the
// quote-wide hardware, the current item and the whole quote, recomputed from
// the objects each time; and the red signal of the two lists.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "model/Tarif.h"
#include "data/SignalPrix.h"

namespace {

// Delivery carries a fixed 20 % VAT, whatever the VAT of the installation kind.
constexpr double kTauxTvaLivraison = 0.2;

struct Montants
{
    double achat = 0.0;
    double ht = 0.0;
    double tva = 0.0;
    double ttc = 0.0;
};

Montants MontantsQuincaillerie(const TQuincailleries& quincailleries)
{
    return {quincailleries.TotalAchat(), quincailleries.TotalHt(), quincailleries.TotalTva(),
            quincailleries.TotalTtc()};
}

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
    Afficher(MontantsQuincaillerie(QuincailleriesGlobales), ui->lblQuincailleriesGlobalesAchat,
             ui->lblQuincailleriesGlobalesHt, ui->lblQuincailleriesGlobalesTva,
             ui->lblQuincailleriesGlobalesTtc);
}

void TFicheModeNormal::AfficherTotauxMenuiserie()
{
    Montants montants;
    if (MenuiserieCourante) {
        // Item totals count the item's own quantity field.
        montants.achat = MenuiserieCourante->TotalAchat();
        montants.ht = MenuiserieCourante->TotalHt();
        montants.tva = MenuiserieCourante->TotalTva();
        montants.ttc = montants.ht + montants.tva;
    }
    Afficher(montants, ui->lblTotalMenuiserieAchatHt, ui->lblTotalMenuiserieHt, ui->lblTotalMenuiserieTva,
             ui->lblTotalMenuiserieTtc);
}

void TFicheModeNormal::AfficherTotaux()
{
    const double livraisonHt = PoseGlobale.TotalLivraison();
    const double livraisonTva = livraisonHt * kTauxTvaLivraison;
    const double livraisonTtc = livraisonHt + livraisonTva;

    // Quote totals count each item by its "Quantite" property.
    const Montants globales = MontantsQuincaillerie(QuincailleriesGlobales);
    const double menuiseriesHt = Menuiseries.TotalHt();

    ui->lblTotalLivraisonHt->setText(FormatMonetaire(livraisonHt));
    ui->lblTotalMenuiseriesHt->setText(FormatMonetaire(menuiseriesHt));
    ui->lblTotalQuincailleriesHt->setText(FormatMonetaire(Menuiseries.TotalQuincaillerieHt()));
    ui->lblTotalQuincailleriesGlobalesHt->setText(FormatMonetaire(globales.ht));
    ui->lblTotalAchatHt->setText(FormatMonetaire(Menuiseries.TotalAchat() + globales.achat));
    ui->lblTotalHt->setText(FormatMonetaire(livraisonHt + menuiseriesHt + globales.ht));
    ui->lblTotalTva->setText(FormatMonetaire(livraisonTva + Menuiseries.TotalTva() + globales.tva));
    ui->lblTotalTtc->setText(FormatMonetaire(livraisonTtc + Menuiseries.TotalTtc() + globales.ttc));
}

bool TFicheModeNormal::MenuiserieEnEcart(int ligne) const
{
    return ligne >= 0 && ligne < Menuiseries.Nombre() && ::MenuiserieEnEcart(Menuiseries[ligne]);
}

bool TFicheModeNormal::LigneEnEcart(int ligne) const
{
    if (!MenuiserieCourante || ligne < 0 || ligne >= MenuiserieCourante->GetTarifs().Nombre())
        return false;
    return EcartPrix(MenuiserieCourante->GetTarifs()[ligne]);
}
