#include "ui/choice/FichePoseChoix.h"
#include "ui_FichePoseChoix.h"

#include "data/Poses.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"

// The resources live in a static library: register them before use.
static void ChargerRessources()
{
    static const bool chargees = [] {
        Q_INIT_RESOURCE(quarlo);
        return true;
    }();
    Q_UNUSED(chargees);
}

TFichePoseChoix::TFichePoseChoix(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFichePoseChoix>())
{
    ChargerRessources();
    ui->setupUi(this);
    imagePropre = QIcon(QStringLiteral(":/icons/pose.png"));
    ConnecterClic(ui->btnValider, this, &TFichePoseChoix::btnValiderClick);
    connect(ui->btnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

TFichePoseChoix::~TFichePoseChoix()
{
    ViderListe(ui->lvListe);
}

QIcon TFichePoseChoix::ImageLigne() const
{
    if (images)
        return images->value(0);
    return imagePropre;
}

void TFichePoseChoix::ChargerListe()
{
    ViderListe(ui->lvListe);
    const QIcon image = ImageLigne();
    for (const Entree& pose : Poses::Libelles()) {
        auto* ligne = new QListWidgetItem(image, pose.libelle, ui->lvListe);
        SetCode(ligne, pose.cle);
        if (pose.cle == idPose)
            ui->lvListe->setCurrentItem(ligne);
    }
    if (idPose.isEmpty() && ui->lvListe->count() > 0)
        ui->lvListe->setCurrentRow(0);
}

void TFichePoseChoix::btnValiderClick()
{
    const QList<QListWidgetItem*> selection = ui->lvListe->selectedItems();
    if (selection.isEmpty()) {
        Messages::Information(QStringLiteral("Veuillez sélectionner une pose."), this);
        return;
    }
    idPose = GetCode(selection.first());
    accept();
}

void TFichePoseChoix::done(int resultat)
{
    ViderListe(ui->lvListe);
    QDialog::done(resultat);
}
