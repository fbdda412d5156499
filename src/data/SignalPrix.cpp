#include "data/SignalPrix.h"

#include "data/Tarifs.h"
#include "model/Menuiserie.h"
#include "model/Tarif.h"

#include <algorithm>

namespace {

bool Ecart(const QHash<QString, double>& generaux, const TTarif& tarif)
{
    const auto reference = generaux.constFind(tarif.GetId());
    return reference != generaux.constEnd() && *reference != tarif.GetPrix();
}

} // namespace

QVector<bool> EcartsPrix(const QVector<const TTarif*>& tarifs)
{
    QStringList cles;
    for (const TTarif* tarif : tarifs)
        cles << tarif->GetId();
    const QHash<QString, double> generaux = Tarifs::PrixGeneraux(cles);
    QVector<bool> ecarts;
    ecarts.reserve(tarifs.size());
    for (const TTarif* tarif : tarifs)
        ecarts << Ecart(generaux, *tarif);
    return ecarts;
}

QVector<bool> MenuiseriesEnEcart(const QVector<const TMenuiserie*>& menuiseries)
{
    QStringList cles;
    for (const TMenuiserie* menuiserie : menuiseries)
        for (const TTarif& tarif : menuiserie->GetTarifs())
            cles << tarif.GetId();
    const QHash<QString, double> generaux = Tarifs::PrixGeneraux(cles);
    QVector<bool> ecarts;
    ecarts.reserve(menuiseries.size());
    for (const TMenuiserie* menuiserie : menuiseries) {
        const TTarifs& tarifs = menuiserie->GetTarifs();
        ecarts << std::any_of(tarifs.begin(), tarifs.end(), [&](const TTarif& tarif) { return Ecart(generaux, tarif); });
    }
    return ecarts;
}

bool EcartPrix(const TTarif& tarif)
{
    return EcartsPrix({&tarif}).constFirst();
}

bool MenuiserieEnEcart(const TMenuiserie& menuiserie)
{
    return MenuiseriesEnEcart({&menuiserie}).constFirst();
}
