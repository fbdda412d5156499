#include "ui/admin/FicheCategorieListe.h"

#include "data/DMPose.h"
#include "ui/admin/AccesDonnees.h"
#include "ui/admin/FicheCategorie.h"
#include "ui/admin/ListeRapport.h"

#include "ui_FicheCategorieListe.h"

TFicheCategorieListe::TFicheCategorieListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFicheCategorieListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{600}});
    Installer(ui->lvListe,
              {ui->btnAjouter, ui->btnDupliquer, ui->btnModifier, ui->btnSupprimer, ui->btnFermer},
              {QStringLiteral("une catégorie"), QStringLiteral("cette catégorie"),
               QStringLiteral("de la catégorie")},
              SelectionApresRemplissage::PremiereLigne, OrdreLignes::ParLibelle);
    Remplir();
}

TFicheCategorieListe::~TFicheCategorieListe() = default;

void TFicheCategorieListe::AjouterLignes()
{
    const QHash<QString, QString> types = Correspondances(
        LireTout(DMPose().qrySousSelect(),
                 QStringLiteral("SELECT IdCategorieType, Libelle FROM CategorieType ORDER BY Libelle ASC")),
        QStringLiteral("IdCategorieType"), QStringLiteral("Libelle"));
    const Resultat categories = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdCategorie, Libelle, IdCategorieType FROM Categorie ORDER BY Libelle ASC"));
    for (const Ligne& categorie : categories) {
        const auto type = types.constFind(categorie.Texte(QStringLiteral("IdCategorieType")));
        AjouterLigne(Liste(),
                     {NomCategorieAffiche(type != types.cend() ? std::optional(*type) : std::nullopt,
                                          categorie.Texte(QStringLiteral("Libelle")))},
                     categorie.Texte(QStringLiteral("IdCategorie")));
    }
}

std::unique_ptr<TFicheEdition> TFicheCategorieListe::CreerEdition()
{
    return std::make_unique<TFicheCategorie>(this);
}

int TFicheCategorieListe::SupprimerEnregistrement(const QString& cle)
{
    // The category, its constraints and its tariffs for every kind and
    // installer go together or not at all.
    Requete& requete = DMPose().qryDelete();
    Transaction transaction(DMPose().Quarlo());
    const int supprimees = ExecuterParCle(
        requete, QStringLiteral("DELETE FROM Categorie WHERE IdCategorie = :IdCategorie"),
        QStringLiteral("IdCategorie"), cle);
    ExecuterParCle(requete,
                   QStringLiteral("DELETE FROM CategorieContrainte WHERE IdCategorie = :IdCategorie"),
                   QStringLiteral("IdCategorie"), cle);
    ExecuterParCle(requete, QStringLiteral("DELETE FROM Tarif WHERE IdCategorie = :IdCategorie"),
                   QStringLiteral("IdCategorie"), cle);
    transaction.Valider();
    return supprimees;
}
