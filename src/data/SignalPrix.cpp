#include "data/SignalPrix.h"

#include "data/Tarifs.h"
#include "model/Menuiserie.h"
#include "model/Tarif.h"

bool EcartPrix(const TTarif& tarif)
{
    const std::optional<double> reference = Tarifs::PrixGeneral(tarif.GetId());
    return reference && *reference != tarif.GetPrix();
}

bool MenuiserieEnEcart(const TMenuiserie& menuiserie)
{
    for (const TTarif& tarif : menuiserie.GetTarifs()) {
        if (EcartPrix(tarif))
            return true;
    }
    return false;
}
