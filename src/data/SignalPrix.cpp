#include "data/SignalPrix.h"

#include "data/DMPose.h"
#include "model/Menuiserie.h"
#include "model/Tarif.h"

namespace {

const QString kSqlPrixReference = QStringLiteral(
    "SELECT t1.Prix FROM Tarif t1, Tarif t2"
    " where t2.Idtarif = :IdTarif"
    " and t1.IdPose = t2.IdPose"
    " and t1.IdCategorie = t2.IdCategorie "
    " and t1.IdPoseur = 0");

} // namespace

bool EcartPrix(const TTarif& tarif)
{
    // Runs at every repaint: a query of its own (the prepared statement is
    // cached by the connection) so that painting never disturbs the shared
    // queries another unit may be using.
    Requete requete(DMPose().Quarlo());
    requete.SetSql(kSqlPrixReference);
    requete.LierTexte(QStringLiteral("IdTarif"), tarif.GetId());
    const Resultat& lignes = requete.Ouvrir();
    if (lignes.EstVide())
        return false;
    return lignes.Premiere().Decimal(QStringLiteral("Prix")) != tarif.GetPrix();
}

bool MenuiserieEnEcart(const TMenuiserie& menuiserie)
{
    for (const TTarif& tarif : menuiserie.GetTarifs()) {
        if (EcartPrix(tarif))
            return true;
    }
    return false;
}
