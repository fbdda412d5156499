#include "pricing/Totaux.h"

#include "model/Menuiserie.h"
#include "model/Pose.h"
#include "model/Quincaillerie.h"

Montants MontantsQuincaillerie(const TQuincailleries& quincailleries)
{
    return {quincailleries.TotalAchat(), quincailleries.TotalHt(), quincailleries.TotalTva(),
            quincailleries.TotalTtc()};
}

Montants MontantsMenuiserie(const TMenuiserie& menuiserie)
{
    Montants montants;
    montants.achat = menuiserie.TotalAchat();
    montants.ht = menuiserie.TotalHt();
    montants.tva = menuiserie.TotalTva();
    montants.ttc = montants.ht + montants.tva;
    return montants;
}

TotauxDevis CalculerTotaux(const TPoseLivraison& poseGlobale, const TMenuiseries& menuiseries,
                           const TQuincailleries& quincailleriesGlobales)
{
    const Montants globales = MontantsQuincaillerie(quincailleriesGlobales);
    TotauxDevis totaux;
    totaux.livraisonHt = poseGlobale.TotalLivraison();
    totaux.livraisonTva = totaux.livraisonHt * kTauxTvaLivraison;
    totaux.livraisonTtc = totaux.livraisonHt + totaux.livraisonTva;
    totaux.menuiseriesHt = menuiseries.TotalHt();
    totaux.quincailleriesHt = menuiseries.TotalQuincaillerieHt();
    totaux.quincailleriesGlobalesHt = globales.ht;
    totaux.achatHt = menuiseries.TotalAchat() + globales.achat;
    totaux.ht = totaux.livraisonHt + totaux.menuiseriesHt + globales.ht;
    totaux.tva = totaux.livraisonTva + menuiseries.TotalTva() + globales.tva;
    totaux.ttc = totaux.livraisonTtc + menuiseries.TotalTtc() + globales.ttc;
    return totaux;
}
