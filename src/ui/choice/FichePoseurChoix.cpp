#include "ui/choice/FichePoseurChoix.h"
#include "ui_FichePoseurChoix.h"

#include "data/Poseurs.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/SuiviClicsListe.h"

namespace {

constexpr int kMargeColonne = 12;

} // namespace

TFichePoseurChoix::TFichePoseurChoix(QWidget* parent)
    : TFicheChoix(parent)
    , ui(std::make_unique<Ui::TFichePoseurChoix>())
{
    ui->setupUi(this);
    Installer(ui->lvListe, ui->btnFermer, QStringLiteral("Veuillez sélectionner un poseur"));
    SuiviClicsListe* suivi = Clics();
    Connecter(suivi, &SuiviClicsListe::Clic, this, &TFichePoseurChoix::lvListeClick);
    Connecter(suivi, &SuiviClicsListe::Validation, this, &TFichePoseurChoix::lvListeClick);
    ChargerListe();
}

TFichePoseurChoix::~TFichePoseurChoix() = default;

void TFichePoseurChoix::RemplirListe()
{
    for (const Poseurs::Poseur& poseur : Poseurs::Lister()) {
        auto* ligne = new QTreeWidgetItem(
            ui->lvListe, {poseur.code, poseur.nom, poseur.rue1, poseur.rue2, poseur.cp, poseur.ville, poseur.rge,
                          poseur.siret});
        SetCode(ligne, poseur.cle);
    }
    for (int colonne = 0; colonne < ui->lvListe->columnCount(); ++colonne) {
        ui->lvListe->resizeColumnToContents(colonne);
        ui->lvListe->setColumnWidth(colonne, ui->lvListe->columnWidth(colonne) + kMargeColonne);
    }
}

void TFichePoseurChoix::lvListeClick()
{
    Choisir();
}

void TFichePoseurChoix::Retenir(const QModelIndex& ligne)
{
    idPoseur = GetCode(ligne);
}
