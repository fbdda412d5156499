#include "data/Tarifs.h"

#include "data/DMPose.h"

namespace {

// Keys come from the host's file and from lists: every one is bound, so a
// key holding a quote or letters simply finds no row.
const QString kSqlPrixGeneral = QStringLiteral(
    "SELECT t1.Prix FROM Tarif t1, Tarif t2"
    " where t2.Idtarif = :IdTarif"
    " and t1.IdPose = t2.IdPose"
    " and t1.IdCategorie = t2.IdCategorie "
    " and t1.IdPoseur = 0");

const QString kSqlPrixPoseur = QStringLiteral(
    "SELECT t1.Prix FROM Tarif t1, Tarif t2"
    " where t2.Idtarif = :IdTarif"
    " and t1.IdPose = t2.IdPose "
    " and t1.IdCategorie = t2.IdCategorie "
    " and t1.IdPoseur = :IdPoseur"
    " ORDER BY t1.Idtarif DESC");

// The category is that of the chosen tariff row itself: two categories may
// share a name, a row has one category.
const QString kSqlPrixPoseurPourPose = QStringLiteral(
    "SELECT t1.Prix FROM Tarif t1, Tarif t2"
    " WHERE t2.IdTarif = :IdTarif"
    " AND t1.IdPose = :IdPose"
    " AND t1.IdCategorie = t2.IdCategorie"
    " AND t1.IdPoseur = :IdPoseur"
    " ORDER BY t1.IdTarif");

std::optional<double> PremierPrix(const Resultat& lignes)
{
    if (lignes.EstVide())
        return std::nullopt;
    return lignes.Premiere().Decimal(QStringLiteral("Prix"));
}

Resultat Lire(Requete& requete, const QString& sql, std::initializer_list<std::pair<const char*, QString>> cles)
{
    requete.SetSql(sql);
    for (const auto& [nom, valeur] : cles)
        requete.LierTexte(QLatin1String(nom), valeur);
    Resultat lignes = requete.Ouvrir();
    requete.ViderParametres();
    requete.Fermer();
    return lignes;
}

} // namespace

namespace Tarifs {

QVector<TarifGeneral> Generaux(const QString& idPose)
{
    const Resultat lignes = Lire(DMPose().qrySelect(),
                                 QStringLiteral("SELECT IdTarif, IdPose, IdCategorie, IdPoseur, Prix"
                                                " FROM Tarif"
                                                " WHERE IdPose = :IdPose"
                                                " AND IdPoseur = :IdPoseur"
                                                " ORDER BY IdTarif"),
                                 {{"IdPose", idPose}, {"IdPoseur", kPoseurGeneral}});
    QVector<TarifGeneral> tarifs;
    const QString prix = QStringLiteral("Prix");
    for (const Ligne& ligne : lignes)
        tarifs.append({ligne.Texte(QStringLiteral("IdTarif")), ligne.Texte(QStringLiteral("IdCategorie")),
                       ligne.EstNul(prix) ? std::nullopt : std::optional(ligne.Decimal(prix))});
    return tarifs;
}

std::optional<double> PrixGeneral(const QString& idTarif)
{
    // The pricing lists run this for every line at every repaint: a query of
    // its own (the prepared statement is cached by the connection), so that
    // painting never disturbs the shared queries another unit may be using.
    Requete requete(DMPose().Quarlo());
    return PremierPrix(Lire(requete, kSqlPrixGeneral, {{"IdTarif", idTarif}}));
}

std::optional<double> PrixPoseur(const QString& idTarif, const QString& idPoseur)
{
    return PremierPrix(Lire(DMPose().qrySelect(), kSqlPrixPoseur, {{"IdTarif", idTarif}, {"IdPoseur", idPoseur}}));
}

std::optional<double> PrixPoseurPourPose(const QString& idPose, const QString& idTarif, const QString& idPoseur)
{
    return PremierPrix(Lire(DMPose().qrySelect(), kSqlPrixPoseurPourPose,
                            {{"IdTarif", idTarif}, {"IdPose", idPose}, {"IdPoseur", idPoseur}}));
}

} // namespace Tarifs
