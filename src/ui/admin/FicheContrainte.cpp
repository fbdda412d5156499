#include "ui/admin/FicheContrainte.h"

#include "data/Operandes.h"
#include "ui/common/ObjectCode.h"

#include "ui_FicheContrainte.h"

TFicheContrainte::TFicheContrainte(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheContrainte>())
{
    ui->setupUi(this);
    Installer(ui->btnValider, ui->btnFermer);

    for (const Operandes::Operande& operande : Operandes::Lister())
        AjouterEntree(ui->cmbOperande, operande.libelle, operande.cle);
    ui->cmbOperande->setCurrentIndex(-1);
    // Already in text order: "<" first.
    ui->cmbOperateur->addItems({QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("="),
                                QStringLiteral(">"), QStringLiteral(">=")});
}

TFicheContrainte::~TFicheContrainte() = default;

void TFicheContrainte::Charger()
{
    if (idOperande.isEmpty())
        ui->cmbOperande->setCurrentIndex(ui->cmbOperande->count() > 0 ? 0 : -1);
    else
        SelectionnerCode(ui->cmbOperande, idOperande);

    const int indiceOperateur = ui->cmbOperateur->findText(operateur, Qt::MatchExactly);
    ui->cmbOperateur->setCurrentIndex(operateur.isEmpty() || indiceOperateur < 0 ? 0 : indiceOperateur);

    ui->edtValeur->setText(valeur.isEmpty() ? QStringLiteral("0") : valeur);
}

bool TFicheContrainte::Enregistrer()
{
    if (ui->cmbOperande->currentIndex() < 0)
        return Refuser(QStringLiteral("Veuillez sélectionner une opérande"), ui->cmbOperande);
    if (ui->cmbOperateur->currentIndex() < 0)
        return Refuser(QStringLiteral("Veuillez sélectionner un opérateur"), ui->cmbOperateur);
    if (ui->edtValeur->text().isEmpty())
        return Refuser(QStringLiteral("Veuillez renseigner une valeur"), ui->edtValeur);

    idOperande = GetCodeSelection(ui->cmbOperande);
    operandeLibelle = ui->cmbOperande->currentText();
    operateur = ui->cmbOperateur->currentText();
    valeur = ui->edtValeur->text();
    return true;
}
