#include "data/TarifsConvenables.h"

#include "data/Categories.h"
#include "data/CategoriesTypes.h"
#include "data/DMPose.h"
#include "engine/Base.h"
#include "model/Menuiserie.h"

namespace {

const QString kSqlTarifs = QStringLiteral(
    "SELECT t.IdTarif as IdTarif, t.IdCategorie as IdCategorie, t.Prix as Prix,"
    " ct.Libelle as CategorieTypeLibelle, c.Libelle as CategorieLibelle, ct.TrelvaneLibelle as Famille"
    " FROM Tarif t, Categorie c, CategorieType ct"
    " WHERE t.IdCategorie = c.IdCategorie"
    " AND c.IdCategorieType = ct.IdCategorieType"
    " AND t.IdPose = :IdPose"
    " AND t.IdPoseur = 0"
    " ORDER BY t.IdTarif");

std::optional<double> Valeur(const Ligne& ligne, const QString& colonne)
{
    return ligne.EstNul(colonne) ? std::nullopt : std::optional(ligne.Decimal(colonne));
}

} // namespace

namespace TarifsConvenables {

Candidats::Candidats(const QString& idPose)
    : contraintes(ContraintesDesTarifsGeneraux(idPose))
{
    Requete& requete = DMPose().qrySelect();
    requete.SetSql(kSqlTarifs);
    requete.LierTexte(QStringLiteral("IdPose"), idPose);
    const QString famille = QStringLiteral("Famille");
    for (const Ligne& ligne : requete.Ouvrir()) {
        Tarif tarif{ligne.Texte(QStringLiteral("IdTarif")), ligne.Texte(QStringLiteral("IdCategorie")),
                    NomCategorie(ligne.Texte(QStringLiteral("CategorieTypeLibelle")),
                                 ligne.Texte(QStringLiteral("CategorieLibelle"))),
                    Valeur(ligne, QStringLiteral("Prix"))};
        if (tarif.libelle.isEmpty())
            continue;
        candidats.append({std::move(tarif), ligne.EstNul(famille) ? std::nullopt : std::optional(ligne.Texte(famille))});
    }
    requete.ViderParametres();
    requete.Fermer();
}

QVector<Tarif> Candidats::Pour(const TMenuiserie& menuiserie, Filtrage filtrage) const
{
    const bool filtre = filtrage == Filtrage::FamilleEtContraintes;
    const TPropriete* famille = filtre ? menuiserie.GetProprietes().Trouver(CategoriesTypes::kProprieteFamille) : nullptr;
    QVector<Tarif> tarifs;
    for (const Candidat& candidat : candidats) {
        if (famille && candidat.famille != famille->GetValeur())
            continue;
        if (filtre && !ContraintesTenues(contraintes.value(candidat.tarif.idCategorie), menuiserie))
            continue;
        tarifs.append(candidat.tarif);
    }
    return tarifs;
}

} // namespace TarifsConvenables
