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

} // namespace

const Table& TableTrelvaneLibelle()
{
    static const Table table{
        QStringLiteral("TrelvaneLibelle"),
        {Texte("Code", 5, true), Entier("Famille", true), Entier("TypeFamille", true), Entier("TypeModele", true),
         Texte("Nom", 50)},
        ContrainteTable{QStringLiteral("Primary"), {QStringLiteral("Code")}},
        {ContrainteTable{QStringLiteral("Unique"),
                         {QStringLiteral("Famille"), QStringLiteral("TypeFamille"), QStringLiteral("TypeModele")}}},
    };
    return table;
}

const QVector<Table>& SchemaQuarlo()
{
    static const QVector<Table> tables = {
        TableTrelvaneLibelle(),
        {QStringLiteral("CategorieType"),
         {Cle("IdCategorieType"), Texte("Libelle", 100), Texte("TrelvaneLibelle", 5), Texte("MotsClefs", 100)}},
        {QStringLiteral("Categorie"), {Cle("IdCategorie"), Texte("Libelle", 100), Entier("IdCategorieType")}},
        {QStringLiteral("Operande"), {Cle("IdOperande"), Texte("Libelle", 100), Texte("Code", 100)}},
        {QStringLiteral("CategorieContrainte"),
         {Cle("IdCategorieContrainte"), Entier("IdCategorie"), Entier("IdOperande"), Texte("Operateur", 10),
          Texte("Valeur", 100)}},
        {QStringLiteral("Pose"),
         {Cle("IdPose"), Texte("Libelle", 50), Texte("CodeExport", 50), Decimal("Livraison"),
          Decimal("LivraisonCompliquee"), Decimal("Autorisation"), Decimal("Manutention"), Entier("TypeTva"),
          Texte("CodeExportLivraison", 50), Texte("CodeExportLivraisonCompliquee", 50),
          Texte("CodeExportAutorisation", 50), Texte("CodeExportManutention", 50)}},
        {QStringLiteral("Poseur"),
         {Cle("IdPoseur"), Texte("Code", 100), Texte("Nom", 100), Texte("Rue1", 100), Texte("Rue2", 100),
          Texte("Cp", 100), Texte("Ville", 100), Texte("Tel", 100), Texte("Fax", 100), Texte("Portable", 100),
          Texte("Mail", 100), Texte("Contact", 100), Texte("Siret", 14), Texte("RGE", 25)}},
        {QStringLiteral("Tarif"),
         {Cle("IdTarif"), Entier("IdPose"), Entier("IdCategorie"), Entier("IdPoseur"), Decimal("Prix")}},
        {QStringLiteral("Quincaillerie"),
         {Cle("IdQuincaillerie"), Texte("CodeExport", 100), Texte("Libelle", 100), Texte("Libelle2", 100),
          Decimal("TarifVente"), Decimal("TarifAchat"), Decimal("NbPieces"), Decimal("NbPiecesML"),
          Entier("Secable")}},
    };
    return tables;
}
