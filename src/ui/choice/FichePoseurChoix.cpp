#include "ui/choice/FichePoseurChoix.h"
#include "ui_FichePoseurChoix.h"

#include "data/Poseurs.h"
#include "ui/choice/SuiviClicsListe.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"

namespace {

constexpr int kMargeColonne = 12;

} // namespace

TFichePoseurChoix::TFichePoseurChoix(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFichePoseurChoix>())
{
    ui->setupUi(this);
    connect(ui->btnFermer, &QPushButton::clicked, this, &QDialog::reject);
    auto* suivi = new SuiviClicsListe(ui->lvListe);
    const auto choisir = [this] { Proteger(this, [this] { lvListeClick(); }); };
    connect(suivi, &SuiviClicsListe::Clic, this, choisir);
    connect(suivi, &SuiviClicsListe::Validation, this, choisir);
    ChargerListe();
}

TFichePoseurChoix::~TFichePoseurChoix()
{
    ViderListe(ui->lvListe);
}

void TFichePoseurChoix::ChargerListe()
{
    ViderListe(ui->lvListe);
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
    const QList<QTreeWidgetItem*> selection = ui->lvListe->selectedItems();
    if (selection.isEmpty()) {
        Messages::Information(QStringLiteral("Veuillez sélectionner un poseur"), this);
        return;
    }
    idPoseur = GetCode(selection.first());
    accept();
}

void TFichePoseurChoix::done(int resultat)
{
    ViderListe(ui->lvListe);
    QDialog::done(resultat);
}
