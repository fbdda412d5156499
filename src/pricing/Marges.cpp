#include "pricing/Marges.h"

#include "model/Tarif.h"

std::optional<double> TauxMarge(double vente, double achat)
{
    if (vente == 0.0)
        return std::nullopt;
    return (vente - achat) / vente * 100.0;
}

MargeLigne MargeDuTarif(const TTarif& tarif, double minimum)
{
    const bool incluse = tarif.GetQuincaillerieIncluse();
    const TQuincailleries& quincailleries = tarif.GetQuincailleries();
    const double vente = tarif.GetPrix() + (incluse ? quincailleries.TotalHt() : 0.0);
    const double achat = tarif.GetPoseurPrix() + (incluse ? quincailleries.TotalAchat() : 0.0);

    MargeLigne marge{TauxMarge(vente, achat), AlerteMarge::Aucune};
    if (tarif.GetPoseurPrix() == 0.0)
        marge.alerte = AlerteMarge::AchatManquant;
    else if (vente - achat < 0.0)
        marge.alerte = AlerteMarge::Perte;
    else if (marge.taux && *marge.taux < minimum)
        marge.alerte = AlerteMarge::SousMinimum;
    return marge;
}
