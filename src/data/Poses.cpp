#include "data/Poses.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "data/ValeursLues.h"

namespace {

struct ColonnesOption
{
    const char* prix;
    const char* codeExport;
};

// Columns of Pose for each delivery option, in the order of the options.
constexpr ColonnesOption kColonnesOptions[] = {
    {"Livraison", "CodeExportLivraison"},
    {"LivraisonCompliquee", "CodeExportLivraisonCompliquee"},
    {"Autorisation", "CodeExportAutorisation"},
    {"Manutention", "CodeExportManutention"},
};

std::optional<int> TypeTva(const Ligne& ligne)
{
    const QString colonne = QStringLiteral("TypeTva");
    if (ligne.EstNul(colonne))
        return std::nullopt;
    return static_cast<int>(ligne.Entier(colonne));
}

// The kind as it was read, as the condition of its update.
const ValeursLues& ValeursDe(const Poses::Pose& pose, ValeursLues& valeurs)
{
    valeurs.Texte(QStringLiteral("Libelle"), pose.libelle).Texte(QStringLiteral("CodeExport"), pose.codeExport);
    for (const auto option : TPoseLivraison::kOptions) {
        valeurs.Decimal(QLatin1String(kColonnesOptions[option].prix), pose.prix[option])
            .Texte(QLatin1String(kColonnesOptions[option].codeExport), pose.codesExport[option]);
    }
    return valeurs.Entier(QStringLiteral("TypeTva"), pose.typeTva);
}

} // namespace

namespace Poses {

QVector<Entree> Libelles()
{
    return Entrees(LireTout(DMPose().qrySelect(), QStringLiteral("SELECT IdPose, Libelle FROM Pose ORDER BY Libelle ASC")),
                   QStringLiteral("IdPose"), QStringLiteral("Libelle"));
}

QVector<LignePose> Lister()
{
    QVector<LignePose> poses;
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdPose, Libelle, CodeExport, TypeTva FROM Pose ORDER BY Libelle ASC"));
    for (const Ligne& pose : lignes)
        poses.append({pose.Texte(QStringLiteral("IdPose")), pose.Texte(QStringLiteral("Libelle")),
                      pose.Texte(QStringLiteral("CodeExport")), TypeTva(pose)});
    return poses;
}

std::optional<Pose> Lire(const QString& cle)
{
    const Resultat lignes = LireParCle(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdPose, Libelle, Livraison, LivraisonCompliquee, Autorisation, Manutention, TypeTva,"
                       " CodeExport, CodeExportLivraison, CodeExportLivraisonCompliquee, CodeExportAutorisation,"
                       " CodeExportManutention FROM Pose where IdPose = :IdPose ORDER BY Libelle ASC"),
        QStringLiteral("IdPose"), cle);
    if (lignes.NombreLignes() != 1)
        return std::nullopt;
    const Ligne& ligne = lignes.Premiere();
    Pose pose;
    pose.libelle = ligne.Texte(QStringLiteral("Libelle"));
    pose.codeExport = ligne.Texte(QStringLiteral("CodeExport"));
    for (const auto option : TPoseLivraison::kOptions) {
        pose.prix[option] = ligne.Decimal(QLatin1String(kColonnesOptions[option].prix));
        pose.codesExport[option] = ligne.Texte(QLatin1String(kColonnesOptions[option].codeExport));
    }
    pose.typeTva = TypeTva(ligne);
    return pose;
}

Enregistrement Enregistrer(const QString& cle, const Pose& pose, int typeTva, const std::optional<Pose>& lue)
{
    if (!cle.isEmpty() && !lue)
        return Enregistrement::SupprimeAilleurs;
    Requete& requete = DMPose().qryExec();
    ValeursLues valeursLues;
    if (cle.isEmpty()) {
        requete.SetSql(QStringLiteral(
            "INSERT INTO Pose ( Libelle, CodeExport, Livraison, LivraisonCompliquee, Autorisation, "
            "Manutention, TypeTva, CodeExportLivraison, CodeExportLivraisonCompliquee, "
            "CodeExportAutorisation, CodeExportManutention) VALUES ( :Libelle , :CodeExport, "
            ":Livraison, :LivraisonCompliquee, :Autorisation, :Manutention , :TypeTva, "
            ":CodeExportLivraison, :CodeExportLivraisonCompliquee, :CodeExportAutorisation, "
            ":CodeExportManutention)"));
    } else {
        requete.SetSql(QStringLiteral(
            "UPDATE Pose SET Libelle = :Libelle , CodeExport = :CodeExport, Livraison = :Livraison, "
            "LivraisonCompliquee = :LivraisonCompliquee, Autorisation = :Autorisation, "
            "Manutention = :Manutention, Typetva = :TypeTva, CodeExportLivraison = :CodeExportLivraison, "
            "CodeExportLivraisonCompliquee = :CodeExportLivraisonCompliquee, "
            "CodeExportAutorisation = :CodeExportAutorisation, "
            "CodeExportManutention = :CodeExportManutention WHERE IdPose = :IdPose")
                       + ValeursDe(*lue, valeursLues).Condition());
        requete.LierTexte(QStringLiteral("IdPose"), cle);
        valeursLues.Lier(requete);
    }
    requete.LierTexte(QStringLiteral("Libelle"), pose.libelle);
    requete.LierTexte(QStringLiteral("CodeExport"), pose.codeExport);
    for (const auto option : TPoseLivraison::kOptions) {
        requete.LierDecimal(QLatin1String(kColonnesOptions[option].prix), pose.prix[option]);
        requete.LierTexte(QLatin1String(kColonnesOptions[option].codeExport), pose.codesExport[option]);
    }
    requete.LierEntier(QStringLiteral("TypeTva"), typeTva);
    const int ecrites = requete.Executer();
    requete.ViderParametres();
    return cle.isEmpty() ? Enregistrement::Fait
                         : Constat(ecrites, QStringLiteral("Pose"), QStringLiteral("IdPose"), cle);
}

Enregistrement Supprimer(const LignePose& lue)
{
    ValeursLues valeursLues;
    valeursLues.Texte(QStringLiteral("Libelle"), lue.libelle)
        .Texte(QStringLiteral("CodeExport"), lue.codeExport)
        .Entier(QStringLiteral("TypeTva"), lue.typeTva);
    return SupprimerLu(DMPose().qryDelete(), QStringLiteral("Pose"), QStringLiteral("IdPose"), lue.cle, valeursLues);
}

} // namespace Poses
