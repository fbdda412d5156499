#include "data/CatalogueQuincaillerie.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "model/Formats.h"

#include <stdexcept>

namespace {

const QString kCodeExport = QStringLiteral("CodeExport");
const QString kLibelle = QStringLiteral("Libelle");
const QString kLibelle2 = QStringLiteral("Libelle2");
const QString kTarifVente = QStringLiteral("TarifVente");
const QString kTarifAchat = QStringLiteral("TarifAchat");
const QString kNbPieces = QStringLiteral("NbPieces");
const QString kNbPiecesML = QStringLiteral("NbPiecesML");
const QString kSecable = QStringLiteral("Secable");

using CatalogueQuincaillerie::Article;

Article ArticleDe(const Ligne& ligne)
{
    return {ligne.Texte(kCodeExport),       ligne.Texte(kLibelle),         ligne.Texte(kLibelle2),
            ligne.Decimal(kTarifVente),     ligne.Decimal(kTarifAchat),    ligne.Decimal(kNbPieces),
            ligne.Decimal(kNbPiecesML),     ligne.Entier(kSecable) == 1};
}

void Lier(Requete& requete, const Article& article)
{
    requete.LierTexte(kCodeExport, article.codeExport);
    requete.LierTexte(kLibelle, article.libelle);
    requete.LierTexte(kLibelle2, article.libelle2);
    requete.LierDecimal(kTarifVente, article.tarifVente);
    requete.LierDecimal(kTarifAchat, article.tarifAchat);
    requete.LierDecimal(kNbPieces, article.nbPieces);
    requete.LierDecimal(kNbPiecesML, article.nbPiecesML);
    requete.LierEntier(kSecable, article.secable ? 1 : 0);
}

// An entry as a line of the catalogue file gives it.
Article ArticleImporte(const QStringList& champs)
{
    const auto nombre = [](const QString& texte) { return LireDecimalOuDefaut(texte, 0.0); };
    return {champs[0],         champs[1],         champs[2],         nombre(champs[3]),
            nombre(champs[4]), nombre(champs[5]), nombre(champs[6]), champs[7] == u"O" || champs[7] == u"o"};
}

[[noreturn]] void EchecImportation(const QString& etape, const ErreurBase& erreur)
{
    throw std::runtime_error(QStringLiteral("Importation - Une erreur est survenue pendant %1 : %2\n"
                                            "Le catalogue n'a pas été modifié.")
                                 .arg(etape, erreur.Message())
                                 .toStdString());
}

} // namespace

namespace CatalogueQuincaillerie {

QVector<LigneCatalogue> Lister()
{
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdQuincaillerie, CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, "
                       "NbPieces, NbPiecesML, Secable FROM Quincaillerie ORDER BY Libelle, Libelle2 ASC"));
    QVector<LigneCatalogue> catalogue;
    catalogue.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes)
        catalogue.append({ligne.Texte(QStringLiteral("IdQuincaillerie")), ArticleDe(ligne)});
    return catalogue;
}

std::optional<Article> Lire(const QString& cle)
{
    const Resultat lignes = LireParCle(
        DMPose().qrySelect(),
        QStringLiteral("SELECT Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, CodeExport, "
                       "Secable FROM Quincaillerie WHERE IdQuincaillerie = :IdQuincaillerie"),
        QStringLiteral("IdQuincaillerie"), cle);
    if (lignes.NombreLignes() != 1)
        return std::nullopt;
    return ArticleDe(lignes.Premiere());
}

void Enregistrer(const QString& cle, const Article& article)
{
    Requete& requete = DMPose().qryExec();
    if (cle.isEmpty()) {
        requete.SetSql(QStringLiteral(
            "INSERT INTO Quincaillerie ( Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, "
            "Secable, CodeExport) VALUES ( :Libelle , :Libelle2 , :TarifVente, :TarifAchat, :NbPieces, "
            ":NbPiecesML, :Secable , :CodeExport )"));
    } else {
        requete.SetSql(QStringLiteral(
            "UPDATE Quincaillerie SET Libelle = :Libelle, Libelle2 = :Libelle2, TarifVente = :TarifVente, "
            "TarifAchat = :TarifAchat, NbPieces = :NbPieces, NbPiecesML = :NbPiecesML, Secable = :Secable, "
            "CodeExport = :CodeExport WHERE IdQuincaillerie = :IdQuincaillerie"));
        requete.LierTexte(QStringLiteral("IdQuincaillerie"), cle);
    }
    Lier(requete, article);
    requete.Executer();
    requete.ViderParametres();
}

int Supprimer(const QString& cle)
{
    return ExecuterParCle(DMPose().qryDelete(),
                          QStringLiteral("DELETE FROM Quincaillerie WHERE IdQuincaillerie = :IdQuincaillerie"),
                          QStringLiteral("IdQuincaillerie"), cle);
}

QStringList EnteteExportation()
{
    return {kCodeExport, kLibelle, kLibelle2, kTarifVente, kTarifAchat, kNbPieces, kNbPiecesML, kSecable};
}

QVector<QStringList> LignesExportation()
{
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, "
                       "Secable FROM Quincaillerie ORDER BY CodeExport, Libelle, Libelle2 ASC"));
    QVector<QStringList> exportees;
    exportees.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes) {
        const Article article = ArticleDe(ligne);
        exportees.append({article.codeExport, article.libelle, article.libelle2,
                          FormatMonetaire(article.tarifVente), FormatMonetaire(article.tarifAchat),
                          FormatMonetaire(article.nbPieces), FormatMonetaire(article.nbPiecesML),
                          article.secable ? QStringLiteral("O") : QStringLiteral("N")});
    }
    return exportees;
}

int Importer(const QVector<QStringList>& lignes, const Progression& progression)
{
    TDMPose& dm = DMPose();
    Requete& requete = dm.qryExec();
    try {
        Transaction transaction(dm.Quarlo());
        try {
            requete.SetSql(QStringLiteral("DELETE FROM Quincaillerie"));
            requete.Executer();
        } catch (const ErreurBase&) {
            throw std::runtime_error(
                "Importation - Une erreur est survenue pendant le vidage de la table Quincaillerie.");
        }

        requete.SetSql(QStringLiteral(
            "INSERT INTO Quincaillerie ( CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, "
            "NbPiecesML, Secable) VALUES ( :CodeExport, :Libelle, :Libelle2, :TarifVente, :TarifAchat, "
            ":NbPieces, :NbPiecesML, :Secable)"));
        int importees = 0;
        for (int i = 0; i < lignes.size(); ++i) {
            if (lignes[i][0] != kCodeExport) {
                Lier(requete, ArticleImporte(lignes[i]));
                try {
                    requete.Executer();
                } catch (const ErreurBase& erreur) {
                    EchecImportation(QStringLiteral("l'insertion de la ligne %1").arg(i + 1), erreur);
                }
                ++importees;
            }
            if (progression)
                progression(i + 1, lignes.size());
        }
        requete.ViderParametres();
        transaction.Valider();
        return importees;
    } catch (const ErreurBase& erreur) {
        requete.ViderParametres();
        EchecImportation(QStringLiteral("l'enregistrement du catalogue"), erreur);
    } catch (...) {
        requete.ViderParametres();
        throw;
    }
}

} // namespace CatalogueQuincaillerie
