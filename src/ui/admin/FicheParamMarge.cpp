#include "ui/admin/FicheParamMarge.h"

#include "model/MargeMini.h"
#include "ui/common/DossierProgramme.h"

#include "ui_FicheParamMarge.h"

namespace {

QString FichierParametres()
{
    return DossierProgramme() + kFichierParametresModule;
}

} // namespace

TFicheParamMarge::TFicheParamMarge(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheParamMarge>())
{
    ui->setupUi(this);
    Installer(ui->btnValider, ui->btnFermer);
    ui->edtMargeMini->setText(LireMargeMini(FichierParametres()));
}

TFicheParamMarge::~TFicheParamMarge() = default;

bool TFicheParamMarge::Enregistrer()
{
    const QString texte = ui->edtMargeMini->text();
    if (!MargeMiniValide(texte))
        return Refuser(QStringLiteral("La marge mini est mal renseignée."), ui->edtMargeMini);
    EcrireMargeMini(FichierParametres(), texte);
    return true;
}
