#include "data/CatalogueQuincaillerie.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "data/ValeursLues.h"
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

// The entry as it was read, as the condition of the statement that writes
// over it or deletes it.
const ValeursLues& ValeursDe(const Article& article, ValeursLues& valeurs)
{
    return valeurs.Texte(kCodeExport, article.codeExport)
        .Texte(kLibelle, article.libelle)
        .Texte(kLibelle2, article.libelle2)
        .Decimal(kTarifVente, article.tarifVente)
        .Decimal(kTarifAchat, article.tarifAchat)
        .Decimal(kNbPieces, article.nbPieces)
        .Decimal(kNbPiecesML, article.nbPiecesML)
        .Drapeau(kSecable, article.secable);
}

// The numbers of a line, by field, with the name its reasons give them.
struct ChampNombre
{
    int champ;
    double Article::*valeur;
    const char* nom;
};
constexpr ChampNombre kNombres[] = {
    {3, &Article::tarifVente, "tarif de vente"},
    {4, &Article::tarifAchat, "tarif d'achat"},
    {5, &Article::nbPieces, "nombre de pièces"},
    {6, &Article::nbPiecesML, "nombre de pièces ML"},
};

// The text as its column holds it; counts it when it was cut.
QString Couper(const QString& texte, int& coupes)
{
    const QString garde = CouperTexte(texte, CatalogueQuincaillerie::kLongueurTexte);
    if (garde.size() < texte.size())
        ++coupes;
    return garde;
}

// The entry a line gives, or why it gives none.
std::optional<QString> LireArticle(const LigneLue& ligne, Article& article, int& coupes)
{
    for (const ChampNombre& nombre : kNombres) {
        const QString texte = ligne.Champ(nombre.champ);
        if (texte.trimmed().isEmpty())
            continue;
        const std::optional<double> valeur = LireDecimalTableur(texte);
        if (!valeur)
            return QStringLiteral("%1 illisible « %2 »").arg(QString::fromUtf8(nombre.nom), texte);
        if (!MontantAdmissible(*valeur))
            return QStringLiteral("%1 hors limites « %2 »").arg(QString::fromUtf8(nombre.nom), texte);
        article.*nombre.valeur = *valeur;
    }
    // What the export writes, "O" or "N"; an empty field, as an empty number, is the default.
    const QString secable = ligne.Champ(7).trimmed().toUpper();
    if (secable != u"O" && secable != u"N" && !secable.isEmpty())
        return QStringLiteral("sécable illisible « %1 » (O ou N attendu)").arg(ligne.Champ(7));
    article.secable = secable == u"O";
    article.codeExport = Couper(ligne.Champ(0), coupes);
    article.libelle = Couper(ligne.Champ(1), coupes);
    article.libelle2 = Couper(ligne.Champ(2), coupes);
    return std::nullopt;
}

int NombreActuel()
{
    return LireTout(DMPose().qrySelect(), QStringLiteral("SELECT COUNT(*) AS Nombre FROM Quincaillerie"))
        .Premiere()
        .Entier(QStringLiteral("Nombre"));
}

[[noreturn]] void EchecImportation(const QString& etape, const ErreurBase& erreur)
{
    throw std::runtime_error(QStringLiteral("Importation - Une erreur est survenue pendant %1 : le catalogue n'a "
                                            "pas été modifié.\n%2")
                                 .arg(etape, erreur.Message())
                                 .toStdString());
}

const QStringList& ColonnesCatalogue()
{
    static const QStringList colonnes = {kCodeExport, kLibelle,  kLibelle2,   kTarifVente,
                                         kTarifAchat, kNbPieces, kNbPiecesML, kSecable};
    return colonnes;
}

// The first of the entries from `debut` on that the database refuses alone,
// tried in a group that is then given up; -1 when none is.
qsizetype EntreeRefusee(const QVector<QVariantList>& lignes, qsizetype debut)
{
    Transaction essai(DMPose().Quarlo());
    for (qsizetype i = debut; i < lignes.size(); ++i) {
        try {
            InsererParTranches(DMPose().Quarlo(), QStringLiteral("Quincaillerie"), ColonnesCatalogue(), {lignes[i]});
        } catch (const ErreurBase&) {
            return i;
        }
    }
    return -1;
}

// Empties the table and writes the entries, in one transaction, in a
// statement per slice of many entries.
void Remplacer(const QVector<CatalogueQuincaillerie::EntreeImportee>& entrees,
               const CatalogueQuincaillerie::Progression& progression)
{
    TDMPose& dm = DMPose();
    Requete& requete = dm.qryExec();
    QVector<QVariantList> lignes;
    lignes.reserve(entrees.size());
    for (const CatalogueQuincaillerie::EntreeImportee& entree : entrees) {
        const Article& article = entree.article;
        lignes.append({article.codeExport, article.libelle, article.libelle2, article.tarifVente, article.tarifAchat,
                       article.nbPieces, article.nbPiecesML, qint64(article.secable ? 1 : 0)});
    }
    bool enInsertion = false;
    qsizetype ecrites = 0;
    try {
        Transaction transaction(dm.Quarlo());
        try {
            requete.SetSql(QStringLiteral("DELETE FROM Quincaillerie"));
            requete.Executer();
        } catch (const ErreurBase& erreur) {
            EchecImportation(QStringLiteral("le vidage de la table Quincaillerie"), erreur);
        }
        enInsertion = true;
        InsererParTranches(dm.Quarlo(), QStringLiteral("Quincaillerie"), ColonnesCatalogue(), lignes,
                           [&](qsizetype faites) {
                               ecrites = faites;
                               if (progression)
                                   progression(int(faites), int(entrees.size()));
                           });
        enInsertion = false;
        transaction.Valider();
    } catch (const ErreurBase& erreur) {
        // A slice refused: the entry that made it fail is found again, for
        // the administrator to correct its line.
        if (enInsertion && erreur.Raison() == ErreurBase::Cause::Instruction) {
            const qsizetype refusee = EntreeRefusee(lignes, ecrites);
            EchecImportation(QStringLiteral("l'insertion de la ligne %1").arg(entrees[refusee < 0 ? ecrites : refusee].ligne),
                             erreur);
        }
        EchecImportation(QStringLiteral("l'enregistrement du catalogue"), erreur);
    }
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

Enregistrement Enregistrer(const QString& cle, const Article& article, const std::optional<Article>& lu)
{
    if (!cle.isEmpty() && !lu)
        return Enregistrement::SupprimeAilleurs;
    Requete& requete = DMPose().qryExec();
    ValeursLues valeursLues;
    if (cle.isEmpty()) {
        requete.SetSql(QStringLiteral(
            "INSERT INTO Quincaillerie ( Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, "
            "Secable, CodeExport) VALUES ( :Libelle , :Libelle2 , :TarifVente, :TarifAchat, :NbPieces, "
            ":NbPiecesML, :Secable , :CodeExport )"));
    } else {
        requete.SetSql(QStringLiteral(
            "UPDATE Quincaillerie SET Libelle = :Libelle, Libelle2 = :Libelle2, TarifVente = :TarifVente, "
            "TarifAchat = :TarifAchat, NbPieces = :NbPieces, NbPiecesML = :NbPiecesML, Secable = :Secable, "
            "CodeExport = :CodeExport WHERE IdQuincaillerie = :IdQuincaillerie")
                       + ValeursDe(*lu, valeursLues).Condition());
        requete.LierTexte(QStringLiteral("IdQuincaillerie"), cle);
        valeursLues.Lier(requete);
    }
    Lier(requete, article);
    const int ecrites = requete.Executer();
    requete.ViderParametres();
    return cle.isEmpty() ? Enregistrement::Fait
                         : Constat(ecrites, QStringLiteral("Quincaillerie"), QStringLiteral("IdQuincaillerie"), cle);
}

Enregistrement Supprimer(const LigneCatalogue& lue)
{
    ValeursLues valeursLues;
    return SupprimerLu(DMPose().qryDelete(), QStringLiteral("Quincaillerie"), QStringLiteral("IdQuincaillerie"),
                       lue.cle, ValeursDe(lue.article, valeursLues));
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

QString Examen::Refus() const
{
    if (entrees.isEmpty())
        return QStringLiteral("Le fichier ne contient aucune entrée à importer.");
    if (ecartees.size() > entrees.size())
        return QStringLiteral("La plupart des lignes du fichier sont illisibles (%1 sur %2).")
            .arg(ecartees.size())
            .arg(ecartees.size() + entrees.size());
    return {};
}

Examen Examiner(const QVector<LigneLue>& lignes)
{
    Examen examen;
    for (const LigneLue& ligne : lignes) {
        if (ligne.EstVide() || ligne.champs.first() == kCodeExport)
            continue;
        std::optional<QString> defaut = ligne.Defaut(kNombreChamps);
        Article article;
        if (!defaut)
            defaut = LireArticle(ligne, article, examen.textesCoupes);
        if (defaut)
            examen.ecartees.append({ligne.numero, *defaut});
        else
            examen.entrees.append({ligne.numero, article});
    }
    examen.nombreActuel = NombreActuel();
    return examen;
}

Importation Importer(const QVector<LigneLue>& lignes, const std::function<bool(const Examen&)>& confirmer,
                     const Progression& progression)
{
    Importation importation;
    try {
        importation.examen = Examiner(lignes);
    } catch (const ErreurBase& erreur) {
        EchecImportation(QStringLiteral("la lecture du catalogue"), erreur);
    }
    if (!importation.examen.Refus().isEmpty() || !confirmer(importation.examen))
        return importation;
    Remplacer(importation.examen.entrees, progression);
    importation.faite = true;
    return importation;
}

} // namespace CatalogueQuincaillerie
