#include "data/RechercheQuincaillerie.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"

namespace {

// Each label is matched by its pattern as typed, upper-cased and lower-cased.
// The cases are made here rather than by UPPER() and LOWER() in the
// statement, which change ASCII letters only: "échelle" finds "ÉCHELLE". A
// null label is matched as the empty text, which the empty pattern finds.
const QString kSqlRecherche = QStringLiteral(
    "SELECT IdQuincaillerie, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, "
    "CodeExport, Secable FROM Quincaillerie"
    " where (COALESCE(Libelle, '') like :Libelle or COALESCE(Libelle, '') like :LibelleMajuscules"
    " or COALESCE(Libelle, '') like :LibelleMinuscules)"
    " and (COALESCE(Libelle2, '') like :Libelle2 or COALESCE(Libelle2, '') like :Libelle2Majuscules"
    " or COALESCE(Libelle2, '') like :Libelle2Minuscules)"
    " ORDER BY Libelle, Libelle2 ASC");

const QString kSqlEntree = QStringLiteral(
    "SELECT Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable, CodeExport "
    "FROM Quincaillerie where IdQuincaillerie = :IdQuincaillerie ORDER BY Libelle ASC");

const QString kSqlPrix = QStringLiteral(
    "SELECT TarifVente, TarifAchat, NbPieces, NbPiecesML FROM Quincaillerie "
    "WHERE IdQuincaillerie = :IdQuincaillerie");

const QString kIdQuincaillerie = QStringLiteral("IdQuincaillerie");

// "%" around the text; "%" alone for an empty text.
QString Motif(const QString& texte)
{
    return texte.isEmpty() ? QStringLiteral("%") : QLatin1Char('%') + texte + QLatin1Char('%');
}

void LierMotifs(Requete& requete, const QString& parametre, const QString& texte)
{
    const QString motif = Motif(texte);
    requete.LierTexte(parametre, motif);
    requete.LierTexte(parametre + QStringLiteral("Majuscules"), motif.toUpper());
    requete.LierTexte(parametre + QStringLiteral("Minuscules"), motif.toLower());
}

TQuincaillerie LireEntree(const QString& id, const Ligne& ligne)
{
    TQuincaillerie entree;
    entree.SetId(id);
    entree.SetLibelle(ligne.Texte(QStringLiteral("Libelle")));
    entree.SetLibelle2(ligne.Texte(QStringLiteral("Libelle2")));
    entree.SetTarifVente(ligne.Decimal(QStringLiteral("TarifVente")));
    entree.SetTarifAchat(ligne.Decimal(QStringLiteral("TarifAchat")));
    entree.SetNbPieces(ligne.Decimal(QStringLiteral("NbPieces")));
    entree.SetNbPiecesMl(ligne.Decimal(QStringLiteral("NbPiecesML")));
    entree.SetSecable(static_cast<int>(ligne.Entier(QStringLiteral("Secable"))));
    entree.SetCodeExport(ligne.Texte(QStringLiteral("CodeExport")));
    return entree;
}

// Prix for a list of keys.
const QString kSqlPrixDe = QStringLiteral(
    "SELECT IdQuincaillerie, TarifVente, TarifAchat, NbPieces, NbPiecesML FROM Quincaillerie "
    "WHERE IdQuincaillerie IN (:IdQuincailleries)");

Quincailleries::PrixCatalogue PrixDeLigne(const Ligne& ligne)
{
    return {ligne.Decimal(QStringLiteral("TarifVente")), ligne.Decimal(QStringLiteral("TarifAchat")),
            ligne.Decimal(QStringLiteral("NbPieces")), ligne.Decimal(QStringLiteral("NbPiecesML"))};
}

} // namespace

namespace Quincailleries {

QVector<TQuincaillerie> Rechercher(const QString& libelle, const QString& libelle2)
{
    Requete& requete = DMPose().qrySelect();
    requete.SetSql(kSqlRecherche);
    LierMotifs(requete, QStringLiteral("Libelle"), libelle);
    LierMotifs(requete, QStringLiteral("Libelle2"), libelle2);
    const Resultat lignes = requete.Ouvrir();
    requete.ViderParametres();
    requete.Fermer();

    QVector<TQuincaillerie> entrees;
    entrees.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes)
        entrees.append(LireEntree(ligne.Texte(kIdQuincaillerie), ligne));
    return entrees;
}

std::optional<TQuincaillerie> EntreeCatalogue(const QString& id)
{
    const Resultat lignes = LireParCle(DMPose().qrySelect(), kSqlEntree, kIdQuincaillerie, id);
    if (lignes.NombreLignes() != 1)
        return std::nullopt;
    return LireEntree(id, lignes.Premiere());
}

std::optional<PrixCatalogue> Prix(const QString& id)
{
    // Runs while the hardware grid paints: a query of its own (its prepared
    // statement is cached by the connection), so that painting never
    // disturbs a shared query in use.
    Requete requete(DMPose().Quarlo());
    requete.SetSql(kSqlPrix);
    requete.LierTexte(kIdQuincaillerie, id);
    const Resultat& lignes = requete.Ouvrir();
    if (lignes.EstVide())
        return std::nullopt;
    return PrixDeLigne(lignes.Premiere());
}

QHash<QString, PrixCatalogue> PrixDe(const QStringList& ids)
{
    const QHash<qint64, QStringList> cles = ClesParEntier(ids);
    QHash<QString, PrixCatalogue> prix;
    Requete requete(DMPose().Quarlo());
    LireParTranches(requete, kSqlPrixDe, QStringLiteral("IdQuincailleries"), cles.keys(), [&](const Ligne& ligne) {
        for (const QString& cle : cles.value(ligne.Entier(kIdQuincaillerie)))
            prix.insert(cle, PrixDeLigne(ligne));
    });
    return prix;
}

namespace {

bool Differe(const PrixCatalogue& catalogue, const TQuincaillerie& entree)
{
    return catalogue.tarifVente != entree.GetTarifVente() || catalogue.tarifAchat != entree.GetTarifAchat()
           || catalogue.nbPieces != entree.GetNbPieces() || catalogue.nbPiecesMl != entree.GetNbPiecesMl();
}

} // namespace

bool PrixModifies(const TQuincaillerie& entree)
{
    return PrixModifies(QVector<const TQuincaillerie*>{&entree}).constFirst();
}

QVector<bool> PrixModifies(const QVector<const TQuincaillerie*>& entrees)
{
    QStringList ids;
    for (const TQuincaillerie* entree : entrees)
        ids << entree->GetId();
    const QHash<QString, PrixCatalogue> catalogue = PrixDe(ids);
    QVector<bool> modifies;
    modifies.reserve(entrees.size());
    for (const TQuincaillerie* entree : entrees) {
        const auto prix = catalogue.constFind(entree->GetId());
        modifies << (prix != catalogue.constEnd() && Differe(*prix, *entree));
    }
    return modifies;
}

int Actualiser(TQuincailleries& quincailleries, const QHash<QString, PrixCatalogue>& catalogue)
{
    int changees = 0;
    for (TQuincaillerie& entree : quincailleries) {
        const auto prix = catalogue.constFind(entree.GetId());
        if (prix == catalogue.constEnd())
            continue;
        changees += Differe(*prix, entree);
        entree.SetTarifVente(prix->tarifVente);
        entree.SetTarifAchat(prix->tarifAchat);
        entree.SetNbPieces(prix->nbPieces);
        entree.SetNbPiecesMl(prix->nbPiecesMl);
    }
    return changees;
}

} // namespace Quincailleries
