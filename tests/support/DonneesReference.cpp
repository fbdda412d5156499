#include "DonneesReference.h"

#include "model/Menuiserie.h"

std::unique_ptr<TMenuiserie> NouvelleMenuiserie(const QStringList& proprietes)
{
    auto menuiserie = std::make_unique<TMenuiserie>();
    for (const QString& propriete : proprietes) {
        const qsizetype egal = propriete.indexOf(QLatin1Char('='));
        menuiserie->GetProprietes().Ajouter(propriete.left(egal), propriete.mid(egal + 1));
    }
    return menuiserie;
}

QString DonneesReference::Type(const QString& libelle, const QVariant& famille)
{
    return QString::number(base.Executer(
        QStringLiteral("INSERT INTO CategorieType (Libelle, TrelvaneLibelle) VALUES (:Libelle, :Famille)"),
        {{QStringLiteral("Libelle"), libelle}, {QStringLiteral("Famille"), famille}}));
}

QString DonneesReference::Categorie(const QString& libelle, const QString& idType)
{
    return QString::number(base.Executer(
        QStringLiteral("INSERT INTO Categorie (Libelle, IdCategorieType) VALUES (:Libelle, :IdType)"),
        {{QStringLiteral("Libelle"), libelle}, {QStringLiteral("IdType"), idType.toLongLong()}}));
}

QString DonneesReference::IdOperande(const QString& code)
{
    Requete requete(base.Base());
    requete.SetSql(QStringLiteral("SELECT IdOperande FROM Operande WHERE Code = :Code"));
    requete.LierTexte(QStringLiteral("Code"), code);
    const Resultat& lignes = requete.Ouvrir();
    if (!lignes.EstVide())
        return lignes.Premiere().Texte(QStringLiteral("IdOperande"));
    return QString::number(
        base.Executer(QStringLiteral("INSERT INTO Operande (Libelle, Code) VALUES (:Code, :Code)"),
                      {{QStringLiteral("Code"), code}}));
}

QString DonneesReference::Contrainte(const QString& idCategorie, const QString& code,
                                    const QString& operateur, const QString& valeur)
{
    return QString::number(
        base.Executer(QStringLiteral("INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)"
                                     " VALUES (:IdCategorie, :IdOperande, :Operateur, :Valeur)"),
                      {{QStringLiteral("IdCategorie"), idCategorie.toLongLong()},
                       {QStringLiteral("IdOperande"), IdOperande(code).toLongLong()},
                       {QStringLiteral("Operateur"), operateur},
                       {QStringLiteral("Valeur"), valeur}}));
}

QString DonneesReference::Pose(const QString& libelle)
{
    return QString::number(base.Executer(QStringLiteral("INSERT INTO Pose (Libelle) VALUES (:Libelle)"),
                                         {{QStringLiteral("Libelle"), libelle}}));
}

QString DonneesReference::Pose(const QString& libelle, const std::array<double, 4>& prix, int typeTva,
                               const QString& codeExport)
{
    return QString::number(base.Executer(
        QStringLiteral("INSERT INTO Pose (Libelle, CodeExport, Livraison, LivraisonCompliquee, Autorisation, "
                       "Manutention, TypeTva, CodeExportLivraison, CodeExportLivraisonCompliquee, "
                       "CodeExportAutorisation, CodeExportManutention) "
                       "VALUES (:l, :c, :a, :b, :d, :e, :t, 'L', 'LC', 'LA', 'LM')"),
        {{QStringLiteral("l"), libelle}, {QStringLiteral("c"), codeExport.isEmpty() ? libelle.left(3) : codeExport},
         {QStringLiteral("a"), prix[0]}, {QStringLiteral("b"), prix[1]}, {QStringLiteral("d"), prix[2]}, {QStringLiteral("e"), prix[3]},
         {QStringLiteral("t"), typeTva}}));
}

QString DonneesReference::Tarif(const QString& idPose, const QString& idCategorie, const QVariant& prix,
                            const QString& idPoseur)
{
    return QString::number(base.Executer(
        QStringLiteral("INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix)"
                       " VALUES (:IdPose, :IdCategorie, :IdPoseur, :Prix)"),
        {{QStringLiteral("IdPose"), idPose.toLongLong()},
         {QStringLiteral("IdCategorie"), idCategorie.toLongLong()},
         {QStringLiteral("IdPoseur"), idPoseur.toLongLong()},
         {QStringLiteral("Prix"), prix}}));
}

QString DonneesReference::Poseur(const QString& code, const QString& nom, const QStringList& adresse)
{
    // adresse: Rue1, Rue2, Cp, Ville, Siret, RGE
    const auto champ = [&](int i) { return adresse.value(i); };
    return QString::number(base.Executer(
        QStringLiteral("INSERT INTO Poseur (Code, Nom, Rue1, Rue2, Cp, Ville, Siret, RGE)"
                       " VALUES (:Code, :Nom, :Rue1, :Rue2, :Cp, :Ville, :Siret, :RGE)"),
        {{QStringLiteral("Code"), code}, {QStringLiteral("Nom"), nom},
         {QStringLiteral("Rue1"), champ(0)}, {QStringLiteral("Rue2"), champ(1)},
         {QStringLiteral("Cp"), champ(2)}, {QStringLiteral("Ville"), champ(3)},
         {QStringLiteral("Siret"), champ(4)}, {QStringLiteral("RGE"), champ(5)}}));
}

QString DonneesReference::EntreeCatalogue(const QString& libelle, const QString& libelle2, double vente,
                                          double achat, double nbPieces, double nbPiecesMl, int secable,
                                          const QString& codeExport)
{
    const QString id = QString::number(base.Executer(
        QStringLiteral("INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, "
                       "NbPiecesML, Secable) VALUES (:Code, :Libelle, :Libelle2, :Vente, :Achat, :NbPieces, "
                       ":NbPiecesML, :Secable)"),
        {{QStringLiteral("Code"), codeExport},
         {QStringLiteral("Libelle"), libelle},
         {QStringLiteral("Libelle2"), libelle2},
         {QStringLiteral("Vente"), vente},
         {QStringLiteral("Achat"), achat},
         {QStringLiteral("NbPieces"), nbPieces},
         {QStringLiteral("NbPiecesML"), nbPiecesMl},
         {QStringLiteral("Secable"), secable}}));
    if (codeExport.isEmpty())
        base.Executer(QStringLiteral("UPDATE Quincaillerie SET CodeExport = :Code WHERE IdQuincaillerie = :Id"),
                      {{QStringLiteral("Code"), QStringLiteral("Q") + id}, {QStringLiteral("Id"), id.toLongLong()}});
    return id;
}
