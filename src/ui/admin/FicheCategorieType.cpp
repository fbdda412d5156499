#include "ui/admin/FicheCategorieType.h"

#include "ui/common/ObjectCode.h"

#include "ui_FicheCategorieType.h"

TFicheCategorieType::TFicheCategorieType(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheCategorieType>())
{
    ui->setupUi(this);
    Installer(ui->btnValider, ui->btnFermer);

    AjouterEntree(ui->cmbCategorieType, QStringLiteral("<Aucun>"), CategoriesTypes::kSansFamille);
    for (const Entree& famille : CategoriesTypes::Familles())
        AjouterEntree(ui->cmbCategorieType, famille.libelle, famille.cle);
    // A new type starts with no family chosen ("0" is no family's code) and
    // is then saved with an empty code.
    ui->cmbCategorieType->setCurrentIndex(-1);
    SelectionnerCode(ui->cmbCategorieType, QStringLiteral("0"));
}

TFicheCategorieType::~TFicheCategorieType() = default;

void TFicheCategorieType::Charger()
{
    if (GetCle().isEmpty())
        return;
    lu = CategoriesTypes::Lire(GetCle());
    const std::optional<CategoriesTypes::Type>& type = lu;
    if (!type)
        return;
    AfficherLibelle(ui->edtLibelle, type->libelle, QStringLiteral("du libellé"));
    SelectionnerCode(ui->cmbCategorieType, type->famille);
    AfficherTexte(ui->edtMotsClefs, type->motsClefs, QStringLiteral("des mots clefs"));
}

bool TFicheCategorieType::Enregistrer()
{
    if (ui->edtLibelle->text().isEmpty())
        return Refuser(QStringLiteral("Veuillez renseigner le libellé."), ui->edtLibelle);

    const CategoriesTypes::Type type{TexteSaisi(ui->edtLibelle), GetCodeSelection(ui->cmbCategorieType),
                                     TexteSaisi(ui->edtMotsClefs)};
    return Conclure(CategoriesTypes::Enregistrer(GetCle(), type, lu), QStringLiteral("ce type de catégorie"));
}
