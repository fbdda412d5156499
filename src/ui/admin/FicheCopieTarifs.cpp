#include "ui/admin/FicheCopieTarifs.h"

#include "data/Poses.h"
#include "data/Poseurs.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"

#include "ui_FicheCopieTarifs.h"

TFicheCopieTarifs::TFicheCopieTarifs(QWidget* parent, const QString& idPoseurSource, const QString& idPoseSource)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheCopieTarifs>())
    , source{idPoseSource, idPoseurSource}
{
    ui->setupUi(this);
    for (QLabel* libelle : {ui->lblPose, ui->lblPoseur, ui->lblSuccess})
        libelle->setTextFormat(Qt::PlainText);
    QPalette vert = ui->lblSuccess->palette();
    vert.setColor(QPalette::WindowText, QColor(0, 128, 0));
    ui->lblSuccess->setPalette(vert);
    Installer(ui->btnValider, ui->btnFermer);
    RemplirListes();
}

TFicheCopieTarifs::~TFicheCopieTarifs() = default;

void TFicheCopieTarifs::RemplirListes()
{
    ui->lblPoseur->setText(source.idPoseur == Tarifs::kPoseurGeneral ? Tarifs::kNomPoseurGeneral : QString());

    for (const Entree& pose : Poses::Libelles()) {
        AjouterEntree(ui->cmbPose, pose.libelle, pose.cle);
        if (pose.cle == source.idPose)
            ui->lblPose->setText(pose.libelle);
    }
    // The target starts as the source's kind.
    ui->cmbPose->setCurrentIndex(-1);
    SelectionnerCode(ui->cmbPose, source.idPose);

    AjouterEntree(ui->cmbPoseur, Tarifs::kNomPoseurGeneral, Tarifs::kPoseurGeneral);
    for (const Poseurs::Poseur& poseur : Poseurs::Lister()) {
        AjouterEntree(ui->cmbPoseur, poseur.nom, poseur.cle);
        if (poseur.cle == source.idPoseur)
            ui->lblPoseur->setText(poseur.nom);
    }
    ui->cmbPoseur->setCurrentIndex(0);
}

QString TFicheCopieTarifs::Confirmation() const
{
    return QStringLiteral("Voulez-vous vraiment copier les données du tarif ?\n"
                          "\tPose : %1\n"
                          "\tPoseur : %2\n"
                          "vers \n"
                          "\tPose : %3\n"
                          "\tPoseur : %4\n")
        .arg(ui->lblPose->text(), ui->lblPoseur->text(), ui->cmbPose->currentText(), ui->cmbPoseur->currentText());
}

bool TFicheCopieTarifs::Enregistrer()
{
    ui->lblSuccess->clear();
    const Tarifs::Choix cible{GetCodeSelection(ui->cmbPose), GetCodeSelection(ui->cmbPoseur)};
    if (cible.idPose == source.idPose && cible.idPoseur == source.idPoseur)
        return Refuser(QStringLiteral("Vous ne pouvez pas copier sur la même sélection!"));
    // Tariffs belong to a kind: without one there is nothing to copy to.
    if (cible.idPose.isEmpty()) {
        if (ui->cmbPose->count() == 0)
            return Refuser(QStringLiteral("Aucune pose n'existe : il n'y a pas de tarifs à copier."));
        return Refuser(QStringLiteral("Veuillez sélectionner la pose sur laquelle copier les tarifs."),
                       ui->cmbPose);
    }
    // The copy writes over the two grids as they stand when the user is asked.
    const Tarifs::LectureCopie lue = Tarifs::LireCopie(source, cible);
    if (!Messages::QuestionPerte(Confirmation(), this))
        return false;
    if (!Tarifs::Copier(source, cible, lue))
        return Refuser(QStringLiteral("Les tarifs copiés ou remplacés ont été modifiés sur un autre poste pendant la "
                                      "question : rien n'a été copié. Vérifiez-les, puis copiez à nouveau."));
    ui->lblSuccess->setText(QStringLiteral("Vos tarifs ont été correctement copiés."));
    return false;
}
