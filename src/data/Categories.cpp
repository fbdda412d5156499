#include "data/Categories.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "data/ValeursLues.h"
#include "model/Formats.h"

#include <utility>

namespace {

const QString kSqlCategoriesAvecType = QStringLiteral(
    "SELECT c.IdCategorie as IdCategorie, c.IdCategorieType as IdCategorieType,"
    " ct.Libelle as CategorieTypeLibelle, c.Libelle as CategorieLibelle"
    " FROM Categorie c, CategorieType ct"
    " WHERE c.IdCategorieType = ct.IdCategorieType");
const QString kSqlOrdreCategories = QStringLiteral(" ORDER BY ct.Libelle ASC, c.Libelle ASC");

// A constant number of statements for any number of constraints (a server
// may be a network away): the deleted ones in one DELETE, the changed ones
// in one UPDATE, the new ones in one INSERT (one per slice the engine takes
// for many). What is written is what a statement per constraint wrote, in
// their order: a key given twice takes its last values, and the new
// constraints get their keys in the order given.
void EcrireContraintes(const QString& categorieCle, const QVector<Categories::Contrainte>& contraintes,
                       const QStringList& contraintesSupprimees)
{
    Connexion& base = DMPose().Quarlo();
    Requete& suppression = DMPose().qryDelete();
    for (qsizetype debut = 0; debut < contraintesSupprimees.size(); debut += Requete::kTailleListeMax) {
        suppression.SetSql(QStringLiteral("DELETE FROM CategorieContrainte WHERE "
                                          "IdCategorieContrainte IN (:IdCategorieContraintes) "
                                          "AND IdCategorie = :IdCategorie"));
        suppression.LierListe(QStringLiteral("IdCategorieContraintes"),
                              contraintesSupprimees.mid(debut, Requete::kTailleListeMax));
        suppression.LierTexte(QStringLiteral("IdCategorie"), categorieCle);
        suppression.Executer();
        suppression.ViderParametres();
    }

    QVector<Modification> modifiees;
    QVector<QVariantList> nouvelles;
    for (const Categories::Contrainte& contrainte : contraintes) {
        if (!contrainte.cle.isEmpty())
            modifiees.append({contrainte.cle, {contrainte.idOperande, contrainte.operateur, contrainte.valeur}});
        else
            nouvelles.append({categorieCle, contrainte.idOperande, contrainte.operateur, contrainte.valeur});
    }
    ModifierParTranches(base, QStringLiteral("CategorieContrainte"), QStringLiteral("IdCategorieContrainte"),
                        {QStringLiteral("IdOperande"), QStringLiteral("Operateur"), QStringLiteral("Valeur")}, modifiees,
                        {{QStringLiteral("IdCategorie"), categorieCle}});
    InsererParTranches(base, QStringLiteral("CategorieContrainte"),
                       {QStringLiteral("IdCategorie"), QStringLiteral("IdOperande"), QStringLiteral("Operateur"),
                        QStringLiteral("Valeur")},
                       nouvelles);
}

// The constraints hold the same values under the same keys, in any order.
bool MemesContraintes(const QVector<Categories::Contrainte>& actuelles, const QVector<Categories::Contrainte>& lues)
{
    if (actuelles.size() != lues.size())
        return false;
    QHash<QString, QStringList> parCle;
    for (const Categories::Contrainte& contrainte : lues)
        parCle.insert(contrainte.cle, {contrainte.idOperande, contrainte.operateur, contrainte.valeur});
    for (const Categories::Contrainte& contrainte : actuelles) {
        if (parCle.value(contrainte.cle) != QStringList{contrainte.idOperande, contrainte.operateur, contrainte.valeur})
            return false;
    }
    return true;
}

} // namespace

QString NomCategorie(const std::optional<QString>& typeLibelle, const QString& libelle)
{
    if (!typeLibelle)
        return libelle;
    if (libelle.isEmpty())
        return *typeLibelle;
    // One allocation: lists name thousands of categories.
    QString nom;
    nom.reserve(typeLibelle->size() + 1 + libelle.size());
    return nom.append(*typeLibelle).append(QLatin1Char(' ')).append(libelle);
}

namespace Categories {

QVector<Entree> Lister()
{
    const QVector<LigneCategorie> lignes = Lignes();
    QVector<Entree> categories;
    categories.reserve(lignes.size());
    for (const LigneCategorie& ligne : lignes)
        categories.append({ligne.cle, ligne.nom});
    return categories;
}

QVector<LigneCategorie> Lignes()
{
    // Type keys are whole numbers: compared as such, no text is made for them.
    QHash<qint64, QString> types;
    for (const Ligne& type : LireTout(DMPose().qrySousSelect(),
                                      QStringLiteral("SELECT IdCategorieType, Libelle FROM CategorieType ORDER BY Libelle ASC")))
        types.insert(type.Entier(QStringLiteral("IdCategorieType")), type.Texte(QStringLiteral("Libelle")));
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdCategorie, Libelle, IdCategorieType FROM Categorie ORDER BY Libelle ASC"));
    QVector<LigneCategorie> categories;
    categories.reserve(lignes.NombreLignes());
    for (const Ligne& categorie : lignes) {
        const auto type = categorie.EstNul(QStringLiteral("IdCategorieType"))
                              ? types.cend()
                              : types.constFind(categorie.Entier(QStringLiteral("IdCategorieType")));
        const QString libelle = categorie.Texte(QStringLiteral("Libelle"));
        categories.append({categorie.Texte(QStringLiteral("IdCategorie")),
                           NomCategorie(type != types.cend() ? std::optional(*type) : std::nullopt, libelle),
                           {libelle, categorie.Texte(QStringLiteral("IdCategorieType"))}});
    }
    return categories;
}

QVector<CategorieTypee> AvecType()
{
    const Resultat lignes = LireTout(DMPose().qrySelect(), kSqlCategoriesAvecType + kSqlOrdreCategories);
    QVector<CategorieTypee> categories;
    categories.reserve(lignes.NombreLignes());
    for (const Ligne& categorie : lignes)
        categories.append({categorie.Texte(QStringLiteral("IdCategorie")),
                           categorie.Texte(QStringLiteral("IdCategorieType")),
                           categorie.Texte(QStringLiteral("CategorieTypeLibelle")),
                           categorie.Texte(QStringLiteral("CategorieLibelle"))});
    return categories;
}

std::optional<Categorie> Lire(const QString& cle)
{
    const Resultat lignes = LireParCle(
        DMPose().qrySelect(),
        QStringLiteral("SELECT Libelle, IdCategorieType FROM Categorie WHERE IdCategorie = :IdCategorie"),
        QStringLiteral("IdCategorie"), cle);
    if (lignes.NombreLignes() != 1)
        return std::nullopt;
    const Ligne& categorie = lignes.Premiere();
    return Categorie{categorie.Texte(QStringLiteral("Libelle")), categorie.Texte(QStringLiteral("IdCategorieType"))};
}

QVector<Contrainte> Contraintes(const QString& cle)
{
    const QHash<QString, QString> operandes = Correspondances(
        LireTout(DMPose().qrySousSelect(),
                 QStringLiteral("SELECT IdOperande, Libelle FROM Operande ORDER BY IdOperande ASC")),
        QStringLiteral("IdOperande"), QStringLiteral("Libelle"));
    const Resultat lignes =
        LireParCle(DMPose().qrySelect(),
                   QStringLiteral("SELECT IdCategorieContrainte, IdOperande, Operateur, Valeur "
                                  "FROM CategorieContrainte WHERE IdCategorie = :IdCategorie"),
                   QStringLiteral("IdCategorie"), cle);
    QVector<Contrainte> contraintes;
    for (const Ligne& ligne : lignes) {
        const QString idOperande = ligne.Texte(QStringLiteral("IdOperande"));
        contraintes.append({ligne.Texte(QStringLiteral("IdCategorieContrainte")), idOperande,
                            operandes.value(idOperande), ligne.Texte(QStringLiteral("Operateur")),
                            ligne.Texte(QStringLiteral("Valeur"))});
    }
    return contraintes;
}

CategorieEnregistree Enregistrer(const QString& cle, const Categorie& categorie, const QVector<Contrainte>& contraintes,
                                 const QStringList& contraintesSupprimees, const std::optional<CategorieLue>& lue)
{
    if (!cle.isEmpty() && !lue)
        return {Enregistrement::SupprimeAilleurs, cle};
    Transaction transaction(DMPose().Quarlo());
    Requete& requete = DMPose().qryExec();
    ValeursLues valeursLues;
    if (cle.isEmpty()) {
        requete.SetSql(QStringLiteral(
            "INSERT INTO Categorie ( Libelle, IdCategorieType) VALUES ( :Libelle, :IdCategorieType)"));
    } else {
        requete.SetSql(QStringLiteral("UPDATE Categorie SET Libelle = :Libelle, "
                                      "IdCategorieType = :IdCategorieType WHERE IdCategorie = :IdCategorie")
                       + valeursLues.Texte(QStringLiteral("Libelle"), lue->categorie.libelle)
                             .Entier(QStringLiteral("IdCategorieType"), LireEntier(lue->categorie.idCategorieType))
                             .Condition());
        requete.LierTexte(QStringLiteral("IdCategorie"), cle);
        valeursLues.Lier(requete);
    }
    requete.LierTexte(QStringLiteral("Libelle"), categorie.libelle);
    requete.LierTexte(QStringLiteral("IdCategorieType"),
                      categorie.idCategorieType.isEmpty() ? kSansType : categorie.idCategorieType);
    const int ecrites = requete.Executer();
    requete.ViderParametres();
    if (!cle.isEmpty()) {
        const Enregistrement etat = Constat(ecrites, QStringLiteral("Categorie"), QStringLiteral("IdCategorie"), cle);
        if (etat != Enregistrement::Fait)
            return {etat, cle};
        // The category row is held from here on: a copy that changes the
        // constraints writes it first.
        if (!MemesContraintes(Contraintes(cle), lue->contraintes))
            return {Enregistrement::ModifieAilleurs, cle};
    }
    const QString cleEcrite = cle.isEmpty() ? DMPose().DernierIdCategorie() : cle;

    EcrireContraintes(cleEcrite, contraintes, contraintesSupprimees);
    transaction.Valider();
    return {Enregistrement::Fait, cleEcrite};
}

Enregistrement Supprimer(const LigneCategorie& lue)
{
    // The category, its constraints and its tariffs for every kind and
    // installer go together or not at all.
    Requete& requete = DMPose().qryDelete();
    Transaction transaction(DMPose().Quarlo());
    ValeursLues valeursLues;
    valeursLues.Texte(QStringLiteral("Libelle"), lue.categorie.libelle)
        .Entier(QStringLiteral("IdCategorieType"), LireEntier(lue.categorie.idCategorieType));
    const Enregistrement etat =
        SupprimerLu(requete, QStringLiteral("Categorie"), QStringLiteral("IdCategorie"), lue.cle, valeursLues);
    // A category another copy changed keeps everything it has.
    if (etat == Enregistrement::ModifieAilleurs)
        return etat;
    ExecuterParCle(requete, QStringLiteral("DELETE FROM CategorieContrainte WHERE IdCategorie = :IdCategorie"),
                   QStringLiteral("IdCategorie"), lue.cle);
    ExecuterParCle(requete, QStringLiteral("DELETE FROM Tarif WHERE IdCategorie = :IdCategorie"),
                   QStringLiteral("IdCategorie"), lue.cle);
    transaction.Valider();
    return etat;
}

} // namespace Categories
