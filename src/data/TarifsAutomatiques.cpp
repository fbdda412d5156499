#include "data/TarifsAutomatiques.h"

#include "data/Categories.h"
#include "data/CategoriesTypes.h"
#include "data/Contraintes.h"
#include "data/DMPose.h"
#include "engine/Base.h"
#include "model/Menuiserie.h"
#include "model/Pose.h"
#include "model/Tarif.h"

#include <QHash>

namespace {

// The family code and the kind are bound, so a code holding a quote cannot
// break the statement.
const QString kSqlTarifsFamille = QStringLiteral(
    " SELECT DISTINCT t.IdCategorie as CategorieId, c.Libelle as CategorieLib,"
    " ct.Libelle as CategorieTypeLib, t.IdTarif as TarifId, t.Prix as TarifPrix"
    " FROM Categorie c, CategorieType ct, Tarif t "
    " WHERE c.IdCategorieType = ct.IdCategorieType "
    " AND c.IdCategorie = t.IdCategorie "
    " AND ct.TrelvaneLibelle = :TrelvaneLibelle "
    " AND t.IdPose = :IdPose "
    " AND t.IdPoseur = 0 "
    " ORDER BY t.IdCategorie ASC, t.IdTarif ASC");

Resultat TarifsDeLaFamille(const QString& famille, const QString& idPose)
{
    Requete& requete = DMPose().qrySelect();
    requete.SetSql(kSqlTarifsFamille);
    requete.LierTexte(QStringLiteral("TrelvaneLibelle"), famille);
    requete.LierTexte(QStringLiteral("IdPose"), idPose);
    // A copy: the constraint test below runs its own statements.
    Resultat lignes = requete.Ouvrir();
    requete.Fermer();
    return lignes;
}

void AjouterTarifs(TMenuiserie& menuiserie, const Resultat& tarifsFamille, const TPoseLivraison& pose)
{
    for (const Ligne& ligne : tarifsFamille) {
        if (!VerifierContraintes(ligne.Texte(QStringLiteral("CategorieId")), menuiserie))
            continue;
        auto tarif = std::make_unique<TTarif>();
        tarif->SetId(ligne.Texte(QStringLiteral("TarifId")));
        tarif->SetLibelle(NomCategorie(ligne.Texte(QStringLiteral("CategorieTypeLib")),
                                       ligne.Texte(QStringLiteral("CategorieLib"))));
        tarif->SetPrix(ligne.Decimal(QStringLiteral("TarifPrix")));
        tarif->SetQuincaillerieIncluse(true);
        tarif->SetCodeExport(pose.GetCodeExport());
        // A line without VAT would be priced at 0 % until the user noticed:
        // it takes the VAT of the kind it comes from.
        if (pose.GetTva().GetTypeTva() != -1)
            tarif->AffecterTva(pose.GetTva());
        menuiserie.GetTarifs().Ajouter(std::move(tarif));
    }
}

} // namespace

namespace TarifsAutomatiques {

void Affecter(TMenuiseries& menuiseries, const TPoseLivraison& poseGlobale)
{
    if (menuiseries.NombreTarifs() > 0)
        return;
    // A quote holds many items of few families: each family is read once.
    QHash<QString, Resultat> tarifsParFamille;
    for (TMenuiserie& menuiserie : menuiseries) {
        const TPropriete* famille = menuiserie.GetProprietes().Trouver(CategoriesTypes::kProprieteFamille);
        if (!famille)
            continue;
        auto tarifs = tarifsParFamille.constFind(famille->GetValeur());
        if (tarifs == tarifsParFamille.constEnd())
            tarifs = tarifsParFamille.insert(famille->GetValeur(),
                                             TarifsDeLaFamille(famille->GetValeur(), poseGlobale.GetId()));
        AjouterTarifs(menuiserie, tarifs.value(), poseGlobale);
    }
}

} // namespace TarifsAutomatiques
