#include "ui/choice/FichePoseurChoix.h"
#include "ui_FichePoseurChoix.h"

#include "data/DMPose.h"
#include "data/ObjectCode.h"
#include "ui/choice/SuiviClicsListe.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"


namespace {

const QString kSqlPoseurs = QStringLiteral(
    "SELECT IdPoseur, Code, Nom, Rue1, Rue2, cp, Ville, Siret, RGE FROM poseur ORDER BY Nom ASC");

// The columns after the code, in display order.
const QStringList kColonnesDetail = {
    QStringLiteral("Nom"),  QStringLiteral("Rue1"),  QStringLiteral("Rue2"), QStringLiteral("Cp"),
    QStringLiteral("Ville"), QStringLiteral("RGE"), QStringLiteral("Siret"),
};

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
    Requete& requete = DMPose().qrySelect();
    requete.SetSql(kSqlPoseurs);
    for (const Ligne& poseur : requete.Ouvrir()) {
        auto* ligne = new QTreeWidgetItem(ui->lvListe);
        ligne->setText(0, poseur.Texte(QStringLiteral("Code")));
        for (int colonne = 0; colonne < kColonnesDetail.size(); ++colonne)
            ligne->setText(colonne + 1, poseur.Texte(kColonnesDetail.at(colonne)));
        SetCode(ligne, poseur.Texte(QStringLiteral("IdPoseur")));
    }
    requete.Fermer();
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
