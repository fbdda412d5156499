#include "ui/admin/FicheCategorieTypeListe.h"

#include "data/DMPose.h"
#include "ui/admin/AccesDonnees.h"
#include "ui/admin/FicheCategorieType.h"
#include "ui/admin/ListeRapport.h"

#include "ui_FicheCategorieTypeListe.h"

TFicheCategorieTypeListe::TFicheCategorieTypeListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFicheCategorieTypeListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{500}, {200}});
    Installer(ui->lvListe,
              {ui->btnAjouter, ui->btnDupliquer, ui->btnModifier, ui->btnSupprimer, ui->btnFermer},
              {QStringLiteral("un type de catégorie"), QStringLiteral("ce type de catégorie"),
               QStringLiteral("du type de catégorie")},
              SelectionApresRemplissage::Aucune, OrdreLignes::Requete);
    Remplir();
}

TFicheCategorieTypeListe::~TFicheCategorieTypeListe() = default;

void TFicheCategorieTypeListe::AjouterLignes()
{
    // "00000" (no family) matches no family and shows nothing.
    const QHash<QString, QString> familles = Correspondances(
        LireTout(DMPose().qrySousSelect(),
                 QStringLiteral("SELECT Code, Nom as Libelle FROM TrelvaneLibelle ORDER BY Code ASC")),
        QStringLiteral("Code"), QStringLiteral("Libelle"));
    const Resultat types = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdCategorieType, Libelle, TrelvaneLibelle FROM CategorieType ORDER BY Libelle ASC"));
    for (const Ligne& type : types)
        AjouterLigne(Liste(),
                     {type.Texte(QStringLiteral("Libelle")),
                      familles.value(type.Texte(QStringLiteral("TrelvaneLibelle")))},
                     type.Texte(QStringLiteral("IdCategorieType")));
}

std::unique_ptr<TFicheEdition> TFicheCategorieTypeListe::CreerEdition()
{
    return std::make_unique<TFicheCategorieType>(this);
}

int TFicheCategorieTypeListe::SupprimerEnregistrement(const QString& cle)
{
    // Categories of the type stay; they are then shown under their own label.
    return ExecuterParCle(DMPose().qryDelete(),
                          QStringLiteral("DELETE FROM CategorieType WHERE IdCategorieType = :IdCategorieType"),
                          QStringLiteral("IdCategorieType"), cle);
}
