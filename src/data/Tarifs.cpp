#include "data/Tarifs.h"

#include "data/DMPose.h"

namespace Tarifs {

QVector<TarifGeneral> Generaux(const QString& idPose)
{
    Requete& requete = DMPose().qrySelect();
    requete.SetSql(QStringLiteral("SELECT IdTarif, IdPose, IdCategorie, IdPoseur, Prix"
                                  " FROM Tarif"
                                  " WHERE IdPose = :IdPose"
                                  " AND IdPoseur = :IdPoseur"
                                  " ORDER BY IdTarif"));
    requete.LierTexte(QStringLiteral("IdPose"), idPose);
    requete.LierTexte(QStringLiteral("IdPoseur"), kPoseurGeneral);
    QVector<TarifGeneral> tarifs;
    for (const Ligne& ligne : requete.Ouvrir()) {
        const QString prix = QStringLiteral("Prix");
        tarifs.append({ligne.Texte(QStringLiteral("IdTarif")), ligne.Texte(QStringLiteral("IdCategorie")),
                       ligne.EstNul(prix) ? std::nullopt : std::optional(ligne.Decimal(prix))});
    }
    requete.ViderParametres();
    requete.Fermer();
    return tarifs;
}

} // namespace Tarifs
