#include "data/Schema.h"

namespace {

Colonne Cle(const char* nom)
{
    return {QString::fromLatin1(nom), GenreColonne::CleAuto};
}

Colonne Entier(const char* nom, bool nonNul = false)
{
    return {QString::fromLatin1(nom), GenreColonne::Entier, 0, nonNul};
}

Colonne Decimal(const char* nom)
{
    return {QString::fromLatin1(nom), GenreColonne::Decimal};
}

Colonne Texte(const char* nom, int largeur, bool nonNul = false)
{
    return {QString::fromLatin1(nom), GenreColonne::Texte, largeur, nonNul};
}

// A table whose only key is its auto-increment column.
Table Simple(const char* nom, const QVector<Colonne>& colonnes)
{
    Table table;
    table.nom = QString::fromLatin1(nom);
    table.colonnes = colonnes;
    return table;
}

} // namespace

const Table& TableTrelvaneLibelle()
{
    static const Table table = [] {
        Table familles = Simple("TrelvaneLibelle", {Texte("Code", 5, true), Entier("Famille", true),
                                                    Entier("TypeFamille", true), Entier("TypeModele", true),
                                                    Texte("Nom", 50)});
        familles.clePrimaire = ContrainteTable{QStringLiteral("Primary"), {QStringLiteral("Code")}};
        familles.uniques = {ContrainteTable{QStringLiteral("Unique"),
                                            {QStringLiteral("Famille"), QStringLiteral("TypeFamille"),
                                             QStringLiteral("TypeModele")}}};
        return familles;
    }();
    return table;
}

const QVector<Table>& SchemaQuarlo()
{
    static const QVector<Table> tables = {
        TableTrelvaneLibelle(),
        Simple("CategorieType",
               {Cle("IdCategorieType"), Texte("Libelle", 100), Texte("TrelvaneLibelle", 5), Texte("MotsClefs", 100)}),
        Simple("Categorie", {Cle("IdCategorie"), Texte("Libelle", 100), Entier("IdCategorieType")}),
        Simple("Operande", {Cle("IdOperande"), Texte("Libelle", 100), Texte("Code", 100)}),
        Simple("CategorieContrainte", {Cle("IdCategorieContrainte"), Entier("IdCategorie"), Entier("IdOperande"),
                                       Texte("Operateur", 10), Texte("Valeur", 100)}),
        Simple("Pose", {Cle("IdPose"), Texte("Libelle", 50), Texte("CodeExport", 50), Decimal("Livraison"),
                        Decimal("LivraisonCompliquee"), Decimal("Autorisation"), Decimal("Manutention"),
                        Entier("TypeTva"), Texte("CodeExportLivraison", 50), Texte("CodeExportLivraisonCompliquee", 50),
                        Texte("CodeExportAutorisation", 50), Texte("CodeExportManutention", 50)}),
        Simple("Poseur", {Cle("IdPoseur"), Texte("Code", 100), Texte("Nom", 100), Texte("Rue1", 100),
                          Texte("Rue2", 100), Texte("Cp", 100), Texte("Ville", 100), Texte("Tel", 100),
                          Texte("Fax", 100), Texte("Portable", 100), Texte("Mail", 100), Texte("Contact", 100),
                          Texte("Siret", 14), Texte("RGE", 25)}),
        Simple("Tarif", {Cle("IdTarif"), Entier("IdPose"), Entier("IdCategorie"), Entier("IdPoseur"), Decimal("Prix")}),
        Simple("Quincaillerie", {Cle("IdQuincaillerie"), Texte("CodeExport", 100), Texte("Libelle", 100),
                                 Texte("Libelle2", 100), Decimal("TarifVente"), Decimal("TarifAchat"),
                                 Decimal("NbPieces"), Decimal("NbPiecesML"), Entier("Secable")}),
    };
    return tables;
}
