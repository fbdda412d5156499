#include "data/ValeursLues.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"

namespace {

QString Parametre(const QString& colonne)
{
    return colonne + QStringLiteral("Lu");
}

} // namespace

ValeursLues& ValeursLues::Texte(const QString& colonne, const QString& valeur)
{
    valeurs.append({QStringLiteral(" AND COALESCE(%1, '') = :%2").arg(colonne, Parametre(colonne)),
                    Parametre(colonne), valeur});
    return *this;
}

ValeursLues& ValeursLues::Decimal(const QString& colonne, double valeur)
{
    valeurs.append({QStringLiteral(" AND COALESCE(%1, 0) = :%2").arg(colonne, Parametre(colonne)),
                    Parametre(colonne), valeur});
    return *this;
}

ValeursLues& ValeursLues::Entier(const QString& colonne, const std::optional<qint64>& valeur)
{
    if (!valeur) {
        valeurs.append({QStringLiteral(" AND %1 IS NULL").arg(colonne), QString(), QVariant()});
        return *this;
    }
    valeurs.append({QStringLiteral(" AND %1 = :%2").arg(colonne, Parametre(colonne)), Parametre(colonne), *valeur});
    return *this;
}

ValeursLues& ValeursLues::Drapeau(const QString& colonne, bool valeur)
{
    valeurs.append({QStringLiteral(" AND (CASE WHEN %1 = 1 THEN 1 ELSE 0 END) = :%2").arg(colonne, Parametre(colonne)),
                    Parametre(colonne), qint64(valeur ? 1 : 0)});
    return *this;
}

QString ValeursLues::Condition() const
{
    QString condition;
    for (const Valeur& valeur : valeurs)
        condition += valeur.condition;
    return condition;
}

void ValeursLues::Lier(Requete& requete) const
{
    for (const Valeur& valeur : valeurs) {
        switch (valeur.valeur.typeId()) {
        case QMetaType::QString:
            requete.LierTexte(valeur.parametre, valeur.valeur.toString());
            break;
        case QMetaType::Double:
            requete.LierDecimal(valeur.parametre, valeur.valeur.toDouble());
            break;
        case QMetaType::LongLong:
            requete.LierEntier(valeur.parametre, valeur.valeur.toLongLong());
            break;
        default: // a condition without parameter
            break;
        }
    }
}

Enregistrement Constat(int lignesEcrites, const QString& table, const QString& colonneCle, const QString& cle)
{
    if (lignesEcrites > 0)
        return Enregistrement::Fait;
    const Resultat lignes =
        LireParCle(DMPose().qrySousSelect(),
                   QStringLiteral("SELECT COUNT(*) AS Nombre FROM %1 WHERE %2 = :%2").arg(table, colonneCle), colonneCle,
                   cle);
    return lignes.Premiere().Entier(QStringLiteral("Nombre")) > 0 ? Enregistrement::ModifieAilleurs
                                                                  : Enregistrement::SupprimeAilleurs;
}

Enregistrement SupprimerLu(Requete& requete, const QString& table, const QString& colonneCle, const QString& cle,
                           const ValeursLues& lues)
{
    requete.SetSql(QStringLiteral("DELETE FROM %1 WHERE %2 = :%2").arg(table, colonneCle) + lues.Condition());
    requete.LierTexte(colonneCle, cle);
    lues.Lier(requete);
    const int supprimees = requete.Executer();
    requete.ViderParametres();
    return Constat(supprimees, table, colonneCle, cle);
}
