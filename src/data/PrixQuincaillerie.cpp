#include "data/PrixQuincaillerie.h"

#include "data/DMPose.h"
#include "engine/Base.h"

namespace PrixQuincaillerie {

std::optional<Prix> Lire(const QString& idQuincaillerie)
{
    Requete requete(DMPose().Quarlo());
    requete.SetSql(QStringLiteral("SELECT TarifVente, TarifAchat, NbPieces, NbPiecesML FROM Quincaillerie"
                                  " WHERE IdQuincaillerie = :IdQuincaillerie"));
    requete.LierTexte(QStringLiteral("IdQuincaillerie"), idQuincaillerie);
    const Resultat& lignes = requete.Ouvrir();
    if (lignes.EstVide())
        return std::nullopt;
    const Ligne& ligne = lignes.Premiere();
    return Prix{ligne.Decimal(QStringLiteral("TarifVente")), ligne.Decimal(QStringLiteral("TarifAchat")),
                ligne.Decimal(QStringLiteral("NbPieces")), ligne.Decimal(QStringLiteral("NbPiecesML"))};
}

} // namespace PrixQuincaillerie
