#include "ui/choice/FicheTarifChoix.h"
#include "ui_FicheTarifChoix.h"

#include "data/TarifsConvenables.h"
#include "model/Formats.h"
#include "model/Menuiserie.h"
#include "ui/common/ListeRapport.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/SuiviClicsListe.h"


namespace {

constexpr int kColonneTarif = 0;
constexpr int kColonnePrix = 1;
constexpr int kLargeurColonnePrix = 110;

} // namespace

TFicheTarifChoix::TFicheTarifChoix(QWidget* parent)
    : TFicheChoix(parent)
    , ui(std::make_unique<Ui::TFicheTarifChoix>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{-1}, {kLargeurColonnePrix, Qt::AlignRight}});
    EtendreColonnes(ui->lvListe, {kColonneTarif});

    Installer(ui->lvListe, ui->btnFermer, QStringLiteral("Veuillez sélectionner un tarif"));
    Connecter(ui->cbSansFiltrage, &QCheckBox::clicked, this, &TFicheTarifChoix::cbSansFiltrageClick);
    SuiviClicsListe* suivi = Clics();
    Connecter(suivi, &SuiviClicsListe::DoubleClic, this, &TFicheTarifChoix::lvListeDblClick);
    Connecter(suivi, &SuiviClicsListe::Validation, this, &TFicheTarifChoix::lvListeDblClick);
}

TFicheTarifChoix::~TFicheTarifChoix() = default;

void TFicheTarifChoix::SetMenuiserie(const TMenuiserie* valeur)
{
    menuiserie = valeur;
}

void TFicheTarifChoix::FormActivate()
{
    if (!menuiserie)
        return;
    // A dimension that cannot be read stops here: the list is not rebuilt.
    AfficherDimensions();
    ChargerListe();
}

void TFicheTarifChoix::AfficherDimensions()
{
    const TProprietes& proprietes = menuiserie->GetProprietes();
    // Read all three before showing any: on an error the header keeps its values.
    const int nouvelleHauteur = proprietes.Dimension(QStringLiteral("HAUTEUR")).value_or(hauteur);
    const int nouvelleLargeur = proprietes.Dimension(QStringLiteral("LARGEUR")).value_or(largeur);
    const int nouveauVantail = proprietes.Dimension(QStringLiteral("VANTAIL")).value_or(vantail);
    hauteur = nouvelleHauteur;
    largeur = nouvelleLargeur;
    vantail = nouveauVantail;

    // Always from the height and the width, whatever a PERIMETRE property says.
    const qint64 perimetre = (qint64(hauteur) + largeur) * 2;
    ui->lblPerimetre->setText(QString::number(perimetre));
    ui->lblHauteur->setText(QString::number(hauteur));
    ui->lblLargeur->setText(QString::number(largeur));
    ui->lblVantail->setText(QString::number(vantail));
}

void TFicheTarifChoix::RemplirListe()
{
    if (!menuiserie)
        return;
    const auto filtrage = ui->cbSansFiltrage->isChecked() ? TarifsConvenables::Filtrage::Aucun
                                                          : TarifsConvenables::Filtrage::FamilleEtContraintes;
    for (const TarifsConvenables::Tarif& tarif : TarifsConvenables::Candidats(idPose).Pour(*menuiserie, filtrage)) {
        auto* ligne = new QTreeWidgetItem(ui->lvListe);
        ligne->setText(kColonneTarif, tarif.libelle);
        if (tarif.prix)
            ligne->setText(kColonnePrix, FormatMonetaire(*tarif.prix));
        ligne->setTextAlignment(kColonnePrix, Qt::AlignRight | Qt::AlignVCenter);
        SetCode(ligne, tarif.cle);
        if (!idTarif.isEmpty() && tarif.cle == idTarif)
            ui->lvListe->setCurrentItem(ligne);
    }
}

void TFicheTarifChoix::cbSansFiltrageClick()
{
    ChargerListe();
}

void TFicheTarifChoix::lvListeDblClick()
{
    Choisir();
}

void TFicheTarifChoix::Retenir(const QModelIndex& ligne)
{
    idTarif = GetCode(ligne);
    libelle = ligne.data().toString();
    // The displayed, two-decimal price is the one handed back.
    prix = LireDecimal(ligne.siblingAtColumn(kColonnePrix).data().toString()).value_or(0.0);
}
