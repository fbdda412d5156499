#include "ui/choice/FicheQuincaillerieChoix.h"
#include "ui_FicheQuincaillerieChoix.h"

#include "data/RechercheQuincaillerie.h"
#include "model/Formats.h"
#include "pricing/QuantitesQuincaillerie.h"
#include "ui/common/ListeRapport.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"
#include "ui/common/SuiviClicsListe.h"


namespace {

constexpr int kColonneLibelle = 0;
constexpr int kColonneLibelle2 = 1;

} // namespace

TFicheQuincaillerieChoix::TFicheQuincaillerieChoix(QWidget* parent)
    : TFicheChoix(parent)
    , ui(std::make_unique<Ui::TFicheQuincaillerieChoix>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{250}, {200}, {80, Qt::AlignRight}, {80, Qt::AlignRight}, {70, Qt::AlignHCenter}});
    EtendreColonnes(ui->lvListe, {kColonneLibelle, kColonneLibelle2});

    // Without a selected row a double-click does nothing: no message to ask for one.
    Installer(ui->lvListe, ui->btnFermer, QString());
    Connecter(ui->edtLibelle, &QLineEdit::textChanged, this, &TFicheQuincaillerieChoix::btnRechercherClick);
    Connecter(ui->edtLibelle2, &QLineEdit::textChanged, this, &TFicheQuincaillerieChoix::btnRechercherClick);
    Connecter(ui->btnRechercher, &QPushButton::clicked, this, &TFicheQuincaillerieChoix::btnRechercherClick);
    // The list follows every keystroke: Enter goes to the results.
    for (QLineEdit* recherche : {ui->edtLibelle, ui->edtLibelle2})
        connect(recherche, &QLineEdit::returnPressed, ui->lvListe, qOverload<>(&QWidget::setFocus));
    SuiviClicsListe* suivi = Clics();
    Connecter(suivi, &SuiviClicsListe::DoubleClic, this, &TFicheQuincaillerieChoix::lvListeDblClick);
    Connecter(suivi, &SuiviClicsListe::Validation, this, &TFicheQuincaillerieChoix::lvListeDblClick);
    ChargerListe();
}

TFicheQuincaillerieChoix::~TFicheQuincaillerieChoix() = default;

int TFicheQuincaillerieChoix::GetNbHauteurs() const
{
    return ui->gbCalcul->Cotes().Compter().nbHauteurs;
}

int TFicheQuincaillerieChoix::GetNbLargeurs() const
{
    return ui->gbCalcul->Cotes().Compter().nbLargeurs;
}

void TFicheQuincaillerieChoix::btnRechercherClick()
{
    ChargerListe();
}

void TFicheQuincaillerieChoix::RemplirListe()
{
    QVector<LigneRapport> lignes;
    for (const TQuincaillerie& entree : Quincailleries::Rechercher(ui->edtLibelle->text(), ui->edtLibelle2->text())) {
        const std::optional<double> prixAuMetre = PrixAuMetre(entree);
        lignes.append({{entree.GetLibelle(), entree.GetLibelle2(), FormatMonetaire(entree.GetTarifVente()),
                        prixAuMetre ? FormatMonetaire(*prixAuMetre) : QString(),
                        entree.GetSecable() == 1 ? QStringLiteral("OUI") : QString()},
                       entree.GetId()});
    }
    TrierParLibelle(lignes);
    AjouterLignes(ui->lvListe, lignes);
    if (ui->lvListe->topLevelItemCount() > 0)
        ui->lvListe->setCurrentItem(ui->lvListe->topLevelItem(0));
}

void TFicheQuincaillerieChoix::lvListeDblClick()
{
    if (ui->gbCalcul->Cotes().AucunCote()) {
        Messages::Information(QStringLiteral("Vous devez sélectionner au moins une hauteur ou une largeur "
                                             "avant de sélectionner une quincaillerie."),
                              this);
        return;
    }
    if (LigneSelectionnee(ui->lvListe))
        Choisir();
}

void TFicheQuincaillerieChoix::Retenir(const QModelIndex& ligne)
{
    idQuincaillerie = GetCode(ligne);
}
