#include "ui/admin/FicheAdministration.h"

#include "ui/admin/FicheCategorieListe.h"
#include "ui/admin/FicheCategorieTypeListe.h"
#include "ui/admin/FicheOperandeListe.h"
#include "ui/admin/FicheParamMarge.h"
#include "ui/admin/FichePoseListe.h"
#include "ui/admin/FichePoseurListe.h"
#include "ui/admin/FicheQuincaillerieListe.h"
#include "ui/admin/FicheTarifListe.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/Fenetre.h"
#include "ui/common/Protection.h"
#include "ui/common/Ressources.h"

#include "ui_FicheAdministration.h"

#include <QPixmap>

TFicheAdministration::TFicheAdministration(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::TFicheAdministration>())
{
    ui->setupUi(this);
    PreparerFenetre(this);

    QPalette fond = palette();
    fond.setColor(QPalette::Window, Qt::white);
    setPalette(fond);
    setAutoFillBackground(true);

    const std::pair<QPushButton*, void (TFicheAdministration::*)()> boutons[] = {
        {ui->btnTarif, &TFicheAdministration::btnTarifClick},
        {ui->btnPose, &TFicheAdministration::btnPoseClick},
        {ui->btnPoseur, &TFicheAdministration::btnPoseurClick},
        {ui->btnCategorieType, &TFicheAdministration::btnCategorieTypeClick},
        {ui->btnCategorie, &TFicheAdministration::btnCategorieClick},
        {ui->btnOperande, &TFicheAdministration::btnOperandeClick},
        {ui->btnQuincaillerie, &TFicheAdministration::btnQuincaillerieClick},
        {ui->btnCoefficient, &TFicheAdministration::btnCoefficientClick},
    };
    for (const auto& [bouton, gestionnaire] : boutons) {
        bouton->setMinimumHeight(40);
        // Enter presses the focused button, as Space does.
        bouton->setAutoDefault(true);
        Connecter(bouton, &QPushButton::clicked, this, gestionnaire);
    }
    ChargerLogo();
}

TFicheAdministration::~TFicheAdministration() = default;

// A missing or unreadable picture leaves the area empty: the logo is decoration.
void TFicheAdministration::ChargerLogo()
{
    const QPixmap logo(DossierProgramme() + QStringLiteral("Quarlo.bmp"));
    if (logo.isNull())
        return;
    AfficherImageProportionnelle(ui->imgLogo, logo);
}

void TFicheAdministration::btnTarifClick()
{
    Ouvrir<TFicheTarifListe>();
}

void TFicheAdministration::btnPoseClick()
{
    Ouvrir<TFichePoseListe>();
}

void TFicheAdministration::btnPoseurClick()
{
    Ouvrir<TFichePoseurListe>();
}

void TFicheAdministration::btnCategorieTypeClick()
{
    Ouvrir<TFicheCategorieTypeListe>();
}

void TFicheAdministration::btnCategorieClick()
{
    Ouvrir<TFicheCategorieListe>();
}

void TFicheAdministration::btnOperandeClick()
{
    Ouvrir<TFicheOperandeListe>();
}

void TFicheAdministration::btnQuincaillerieClick()
{
    Ouvrir<TFicheQuincaillerieListe>();
}

void TFicheAdministration::btnCoefficientClick()
{
    Ouvrir<TFicheParamMarge>();
}
