#include "ui/admin/FicheCategorieTypeListe.h"

#include "data/CategoriesTypes.h"
#include "ui/admin/FicheCategorieType.h"
#include "ui/common/ListeRapport.h"

#include "ui_FicheCategorieTypeListe.h"

TFicheCategorieTypeListe::TFicheCategorieTypeListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFicheCategorieTypeListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{500}, {200}});
    EtendreColonnes(ui->lvListe, {0});
    Installer(ui->lvListe,
              {ui->btnAjouter, ui->btnDupliquer, ui->btnModifier, ui->btnSupprimer, ui->btnFermer},
              {QStringLiteral("un type de catégorie"), QStringLiteral("ce type de catégorie"),
               QStringLiteral("du type de catégorie")},
              SelectionApresRemplissage::Aucune, OrdreLignes::Requete);
    Remplir();
}

TFicheCategorieTypeListe::~TFicheCategorieTypeListe() = default;

QVector<LigneRapport> TFicheCategorieTypeListe::LireLignes()
{
    QVector<LigneRapport> lignes;
    lues.clear();
    for (const CategoriesTypes::LigneType& type : CategoriesTypes::Lister()) {
        lues.insert(type.cle, type);
        lignes.append({{type.libelle, type.famille}, type.cle});
    }
    return lignes;
}

std::unique_ptr<TFicheEdition> TFicheCategorieTypeListe::CreerEdition()
{
    return std::make_unique<TFicheCategorieType>(this);
}

Enregistrement TFicheCategorieTypeListe::SupprimerEnregistrement(const QString& cle)
{
    // Categories of the type stay; they are then shown under their own label.
    return CategoriesTypes::Supprimer(lues.value(cle));
}
