#include "ui/admin/FicheCategorieListe.h"

#include "data/Categories.h"
#include "ui/admin/FicheCategorie.h"
#include "ui/common/ListeRapport.h"

#include "ui_FicheCategorieListe.h"

TFicheCategorieListe::TFicheCategorieListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFicheCategorieListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{600}});
    EtendreColonnes(ui->lvListe, {0});
    Installer(ui->lvListe,
              {ui->btnAjouter, ui->btnDupliquer, ui->btnModifier, ui->btnSupprimer, ui->btnFermer},
              {QStringLiteral("une catégorie"), QStringLiteral("cette catégorie"),
               QStringLiteral("de la catégorie")},
              SelectionApresRemplissage::PremiereLigne, OrdreLignes::ParLibelle);
    Remplir();
}

TFicheCategorieListe::~TFicheCategorieListe() = default;

QVector<LigneRapport> TFicheCategorieListe::LireLignes()
{
    const QVector<Entree> categories = Categories::Lister();
    QVector<LigneRapport> lignes;
    lignes.reserve(categories.size());
    for (const Entree& categorie : categories)
        lignes.append({{categorie.libelle}, categorie.cle});
    return lignes;
}

std::unique_ptr<TFicheEdition> TFicheCategorieListe::CreerEdition()
{
    return std::make_unique<TFicheCategorie>(this);
}

int TFicheCategorieListe::SupprimerEnregistrement(const QString& cle)
{
    return Categories::Supprimer(cle);
}
