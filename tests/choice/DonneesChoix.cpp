#include "DonneesChoix.h"

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

QString DonneesChoix::Type(const QString& libelle, const QVariant& famille)
{
    return QString::number(base.Executer(
        QStringLiteral("INSERT INTO CategorieType (Libelle, TrelvaneLibelle) VALUES (:Libelle, :Famille)"),
        {{QStringLiteral("Libelle"), libelle}, {QStringLiteral("Famille"), famille}}));
}

QString DonneesChoix::Categorie(const QString& libelle, const QString& idType)
{
    return QString::number(base.Executer(
        QStringLiteral("INSERT INTO Categorie (Libelle, IdCategorieType) VALUES (:Libelle, :IdType)"),
        {{QStringLiteral("Libelle"), libelle}, {QStringLiteral("IdType"), idType.toLongLong()}}));
}

QString DonneesChoix::IdOperande(const QString& code)
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

void DonneesChoix::Contrainte(const QString& idCategorie, const QString& code,
                              const QString& operateur, const QString& valeur)
{
    base.Executer(QStringLiteral("INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)"
                                 " VALUES (:IdCategorie, :IdOperande, :Operateur, :Valeur)"),
                  {{QStringLiteral("IdCategorie"), idCategorie.toLongLong()},
                   {QStringLiteral("IdOperande"), IdOperande(code).toLongLong()},
                   {QStringLiteral("Operateur"), operateur},
                   {QStringLiteral("Valeur"), valeur}});
}

QString DonneesChoix::Pose(const QString& libelle)
{
    return QString::number(base.Executer(QStringLiteral("INSERT INTO Pose (Libelle) VALUES (:Libelle)"),
                                         {{QStringLiteral("Libelle"), libelle}}));
}

QString DonneesChoix::Tarif(const QString& idPose, const QString& idCategorie, const QVariant& prix,
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

QString DonneesChoix::Poseur(const QString& code, const QString& nom, const QStringList& adresse)
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
