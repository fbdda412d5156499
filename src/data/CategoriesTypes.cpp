#include "data/CategoriesTypes.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "data/ValeursLues.h"

namespace CategoriesTypes {

QVector<Entree> Libelles()
{
    return Entrees(LireTout(DMPose().qrySelect(),
                            QStringLiteral("SELECT IdCategorieType, Libelle FROM CategorieType ORDER BY Libelle ASC")),
                   QStringLiteral("IdCategorieType"), QStringLiteral("Libelle"));
}

QVector<LigneType> Lister()
{
    // "00000" (no family) matches no family and shows nothing.
    const QHash<QString, QString> familles = Correspondances(
        LireTout(DMPose().qrySousSelect(),
                 QStringLiteral("SELECT Code, Nom as Libelle FROM TrelvaneLibelle ORDER BY Code ASC")),
        QStringLiteral("Code"), QStringLiteral("Libelle"));
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdCategorieType, Libelle, TrelvaneLibelle FROM CategorieType ORDER BY Libelle ASC"));
    QVector<LigneType> types;
    for (const Ligne& ligne : lignes) {
        const QString code = ligne.Texte(QStringLiteral("TrelvaneLibelle"));
        types.append({ligne.Texte(QStringLiteral("IdCategorieType")), ligne.Texte(QStringLiteral("Libelle")),
                      familles.value(code), code});
    }
    return types;
}

QVector<Entree> Familles()
{
    return Entrees(LireTout(DMPose().qrySelect(),
                            QStringLiteral("SELECT Code, Nom as Libelle FROM TrelvaneLibelle ORDER BY Libelle ASC")),
                   QStringLiteral("Code"), QStringLiteral("Libelle"));
}

std::optional<Type> Lire(const QString& cle)
{
    const Resultat lignes = LireParCle(
        DMPose().qrySelect(),
        QStringLiteral("SELECT Libelle, TrelvaneLibelle, MotsClefs FROM CategorieType "
                       "WHERE IdCategorieType = :IdCategorieType"),
        QStringLiteral("IdCategorieType"), cle);
    if (lignes.NombreLignes() != 1)
        return std::nullopt;
    const Ligne& type = lignes.Premiere();
    return Type{type.Texte(QStringLiteral("Libelle")), type.Texte(QStringLiteral("TrelvaneLibelle")),
                type.Texte(QStringLiteral("MotsClefs"))};
}

Enregistrement Enregistrer(const QString& cle, const Type& type, const std::optional<Type>& lu)
{
    if (!cle.isEmpty() && !lu)
        return Enregistrement::SupprimeAilleurs;
    Requete& requete = DMPose().qryExec();
    ValeursLues valeursLues;
    if (cle.isEmpty()) {
        requete.SetSql(QStringLiteral("INSERT INTO CategorieType ( Libelle, TrelvaneLibelle, MotsClefs) "
                                      "VALUES ( :Libelle, :TrelvaneLibelle, :MotsClefs )"));
    } else {
        requete.SetSql(QStringLiteral("UPDATE CategorieType SET Libelle = :Libelle , "
                                      "TrelvaneLibelle = :TrelvaneLibelle , MotsClefs = :MotsClefs "
                                      "WHERE IdCategorieType = :IdCategorieType")
                       + valeursLues.Texte(QStringLiteral("Libelle"), lu->libelle)
                             .Texte(QStringLiteral("TrelvaneLibelle"), lu->famille)
                             .Texte(QStringLiteral("MotsClefs"), lu->motsClefs)
                             .Condition());
        requete.LierTexte(QStringLiteral("IdCategorieType"), cle);
        valeursLues.Lier(requete);
    }
    requete.LierTexte(QStringLiteral("Libelle"), type.libelle);
    requete.LierTexte(QStringLiteral("TrelvaneLibelle"), type.famille);
    requete.LierTexte(QStringLiteral("MotsClefs"), type.motsClefs);
    const int ecrites = requete.Executer();
    requete.ViderParametres();
    return cle.isEmpty() ? Enregistrement::Fait
                         : Constat(ecrites, QStringLiteral("CategorieType"), QStringLiteral("IdCategorieType"), cle);
}

Enregistrement Supprimer(const LigneType& lue)
{
    ValeursLues valeursLues;
    valeursLues.Texte(QStringLiteral("Libelle"), lue.libelle).Texte(QStringLiteral("TrelvaneLibelle"), lue.codeFamille);
    return SupprimerLu(DMPose().qryDelete(), QStringLiteral("CategorieType"), QStringLiteral("IdCategorieType"),
                       lue.cle, valeursLues);
}

} // namespace CategoriesTypes
