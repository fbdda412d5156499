#include "ui/choice/FichePoseChoix.h"
#include "ui_FichePoseChoix.h"

#include "data/Poses.h"
#include "ui/common/ListeIcones.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/Ressources.h"
#include "ui/common/SuiviClicsListe.h"

TFichePoseChoix::TFichePoseChoix(QWidget* parent)
    : TFicheChoix(parent)
    , ui(std::make_unique<Ui::TFichePoseChoix>())
{
    ChargerRessources();
    ui->setupUi(this);
    PreparerListeIcones(ui->lvListe, QSize(120, 90));
    imagePropre = QIcon(QStringLiteral(":/icons/pose.png"));
    Installer(ui->lvListe, ui->btnFermer, QStringLiteral("Veuillez sélectionner une pose."));
    Connecter(ui->btnValider, &QPushButton::clicked, this, &TFichePoseChoix::btnValiderClick);
    // A double-click or Enter on a kind picks it, as "Valider" does.
    SuiviClicsListe* suivi = Clics();
    Connecter(suivi, &SuiviClicsListe::DoubleClic, this, &TFichePoseChoix::btnValiderClick);
    Connecter(suivi, &SuiviClicsListe::Validation, this, &TFichePoseChoix::btnValiderClick);
}

TFichePoseChoix::~TFichePoseChoix() = default;

QIcon TFichePoseChoix::ImageLigne() const
{
    if (images)
        return images->value(0);
    return imagePropre;
}

void TFichePoseChoix::RemplirListe()
{
    const QIcon image = ImageLigne();
    for (const Entree& pose : Poses::Libelles()) {
        QListWidgetItem* ligne = AjouterIcone(ui->lvListe, image, pose.libelle);
        SetCode(ligne, pose.cle);
        if (pose.cle == idPose)
            ui->lvListe->setCurrentItem(ligne);
    }
    if (idPose.isEmpty() && ui->lvListe->count() > 0)
        ui->lvListe->setCurrentRow(0);
}

void TFichePoseChoix::btnValiderClick()
{
    Choisir();
}

void TFichePoseChoix::Retenir(const QModelIndex& ligne)
{
    idPose = GetCode(ligne);
}
