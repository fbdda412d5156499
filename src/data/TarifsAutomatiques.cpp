#include "data/TarifsAutomatiques.h"

#include "data/CategoriesTypes.h"
#include "data/TarifsConvenables.h"
#include "model/Menuiserie.h"
#include "model/Pose.h"
#include "model/Tarif.h"

#include <algorithm>

namespace {

// By category, then by tariff key (both whole numbers).
void TrierParCategorie(QVector<TarifsConvenables::Tarif>& tarifs)
{
    std::stable_sort(tarifs.begin(), tarifs.end(), [](const auto& a, const auto& b) {
        return a.idCategorie.toLongLong() < b.idCategorie.toLongLong();
    });
}

} // namespace

namespace TarifsAutomatiques {

void Affecter(TMenuiseries& menuiseries, const TPoseLivraison& poseGlobale)
{
    if (menuiseries.NombreTarifs() > 0)
        return;
    const TarifsConvenables::Candidats candidats(poseGlobale.GetId());
    for (TMenuiserie& menuiserie : menuiseries) {
        if (!menuiserie.GetProprietes().Trouver(CategoriesTypes::kProprieteFamille))
            continue;
        QVector<TarifsConvenables::Tarif> tarifs =
            candidats.Pour(menuiserie, TarifsConvenables::Filtrage::FamilleEtContraintes);
        TrierParCategorie(tarifs);
        for (const TarifsConvenables::Tarif& tarif : tarifs)
            menuiserie.GetTarifs().Ajouter(
                TTarif::Nouveau(poseGlobale, tarif.cle, tarif.libelle, tarif.prix.value_or(0.0)));
    }
}

} // namespace TarifsAutomatiques
