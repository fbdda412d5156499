#include "data/PrixQuincaillerie.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "engine/Base.h"

namespace PrixQuincaillerie {

namespace {

Prix PrixDe(const Ligne& ligne)
{
    return Prix{ligne.Decimal(QStringLiteral("TarifVente")), ligne.Decimal(QStringLiteral("TarifAchat")),
                ligne.Decimal(QStringLiteral("NbPieces")), ligne.Decimal(QStringLiteral("NbPiecesML"))};
}

} // namespace

std::optional<Prix> Lire(const QString& idQuincaillerie)
{
    Requete requete(DMPose().Quarlo());
    requete.SetSql(QStringLiteral("SELECT TarifVente, TarifAchat, NbPieces, NbPiecesML FROM Quincaillerie"
                                  " WHERE IdQuincaillerie = :IdQuincaillerie"));
    requete.LierTexte(QStringLiteral("IdQuincaillerie"), idQuincaillerie);
    const Resultat& lignes = requete.Ouvrir();
    if (lignes.EstVide())
        return std::nullopt;
    return PrixDe(lignes.Premiere());
}

QHash<QString, Prix> LireTous(const QStringList& idQuincailleries)
{
    const QHash<qint64, QStringList> cles = ClesParEntier(idQuincailleries);
    QHash<QString, Prix> prix;
    Requete requete(DMPose().Quarlo());
    LireParTranches(requete,
                    QStringLiteral("SELECT IdQuincaillerie AS Cle, TarifVente, TarifAchat, NbPieces, NbPiecesML "
                                   "FROM Quincaillerie WHERE IdQuincaillerie IN (:IdQuincailleries)"),
                    QStringLiteral("IdQuincailleries"), cles.keys(), [&](const Ligne& ligne) {
                        for (const QString& cle : cles.value(ligne.Entier(QStringLiteral("Cle"))))
                            prix.insert(cle, PrixDe(ligne));
                    });
    return prix;
}

} // namespace PrixQuincaillerie
