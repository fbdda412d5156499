// The reference data of the pricing session read from the database, through
// the data units.

#include "pricing/DonneesChiffrage.h"

#include "data/Poses.h"
#include "data/Poseurs.h"
#include "data/RechercheQuincaillerie.h"
#include "data/TableTva.h"
#include "data/Tarifs.h"
#include "data/TarifsAutomatiques.h"
#include "model/Quincaillerie.h"

namespace {

class DonneesBase final : public TDonneesChiffrage
{
public:
    std::optional<TTva> Tva(int typeTva) const override
    {
        if (const auto tva = TableTva::GetTva(typeTva))
            return *tva;
        return std::nullopt;
    }

    std::optional<Pose> LirePose(const QString& idPose) const override
    {
        const std::optional<Poses::Pose> lue = Poses::Lire(idPose);
        if (!lue)
            return std::nullopt;
        return Pose{lue->libelle, lue->codeExport, lue->prix, lue->codesExport, lue->typeTva};
    }

    Poseur LirePoseur(const QString& idPoseur) const override
    {
        const Poseurs::Identite identite = Poseurs::LireIdentite(idPoseur);
        return {identite.nom, identite.siret, identite.rge};
    }

    QHash<QString, double> PrixGeneraux(const QStringList& idTarifs) const override
    {
        return Tarifs::PrixGeneraux(idTarifs);
    }

    QHash<LignePoseur, double> PrixPoseurs(const QVector<LignePoseur>& lignes) const override
    {
        QVector<Tarifs::LignePoseur> demandees;
        demandees.reserve(lignes.size());
        for (const LignePoseur& ligne : lignes)
            demandees.append({ligne.idTarif, ligne.idPoseur});
        const QHash<Tarifs::LignePoseur, double> lus = Tarifs::PrixPoseurs(demandees);
        QHash<LignePoseur, double> prix;
        prix.reserve(lus.size());
        for (auto lu = lus.cbegin(); lu != lus.cend(); ++lu)
            prix.insert({lu.key().idTarif, lu.key().idPoseur}, lu.value());
        return prix;
    }

    QVector<int> ActualiserQuincailleries(const QVector<TQuincailleries*>& listes) const override
    {
        QStringList ids;
        for (const TQuincailleries* liste : listes) {
            for (const TQuincaillerie& entree : *liste)
                ids << entree.GetId();
        }
        const QHash<QString, Quincailleries::PrixCatalogue> catalogue = Quincailleries::PrixDe(ids);
        QVector<int> changees;
        changees.reserve(listes.size());
        for (TQuincailleries* liste : listes)
            changees << Quincailleries::Actualiser(*liste, catalogue);
        return changees;
    }

    void AffecterTarifsAutomatiques(TMenuiseries& menuiseries, const TPoseLivraison& pose) const override
    {
        TarifsAutomatiques::Affecter(menuiseries, pose);
    }
};

} // namespace

const TDonneesChiffrage& DonneesDeLaBase()
{
    static const DonneesBase donnees;
    return donnees;
}
