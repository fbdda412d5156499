#include "data/Operandes.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"

namespace Operandes {

QVector<Operande> Lister()
{
    QVector<Operande> operandes;
    const Resultat lignes = LireTout(
        DMPose().qrySelect(), QStringLiteral("SELECT IdOperande, Libelle, Code FROM Operande ORDER BY Libelle ASC"));
    for (const Ligne& ligne : lignes)
        operandes.append({ligne.Texte(QStringLiteral("IdOperande")), ligne.Texte(QStringLiteral("Libelle")),
                          ligne.Texte(QStringLiteral("Code"))});
    return operandes;
}

} // namespace Operandes
