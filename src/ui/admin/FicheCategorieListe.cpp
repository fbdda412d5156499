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
    const QVector<Categories::LigneCategorie> categories = Categories::Lignes();
    QVector<LigneRapport> lignes;
    lignes.reserve(categories.size());
    lues.clear();
    lues.reserve(categories.size());
    for (const Categories::LigneCategorie& categorie : categories) {
        lues.insert(categorie.cle, categorie);
        lignes.append({{categorie.nom}, categorie.cle});
    }
    return lignes;
}

std::unique_ptr<TFicheEdition> TFicheCategorieListe::CreerEdition()
{
    return std::make_unique<TFicheCategorie>(this);
}

Enregistrement TFicheCategorieListe::SupprimerEnregistrement(const QString& cle)
{
    return Categories::Supprimer(lues.value(cle));
}
