#include "ui/admin/FichePose.h"

#include "data/Poses.h"
#include "data/TableTva.h"
#include "model/Formats.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"

#include "ui_FichePose.h"

#include <QAbstractItemModel>

TFichePose::TFichePose(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFichePose>())
{
    ui->setupUi(this);
    Installer(ui->btnValider, ui->btnFermer);

    RemplirComboTva(ui->cmbTVA);
    ui->cmbTVA->model()->sort(0);
    ui->cmbTVA->setCurrentIndex(-1);
    Connecter(ui->cmbTVA, &QComboBox::currentIndexChanged, this, &TFichePose::cmbTVAChange);
}

TFichePose::~TFichePose() = default;

std::array<TFichePose::Surcharge, TPoseLivraison::kNombreOptions> TFichePose::Surcharges() const
{
    return {{
        {ui->edtLivraison, ui->edtLivraisonCodeExport, QStringLiteral("Veuillez renseigner/corriger la livraison."),
         QStringLiteral("du code export de la livraison")},
        {ui->edtLivraisonCompliquee, ui->edtLivraisonCompliqueeCodeExport,
         QStringLiteral("Veuillez renseigner/corriger la livraison compliquée."),
         QStringLiteral("du code export de la livraison compliquée")},
        {ui->edtAutorisation, ui->edtAutorisationCodeExport,
         QStringLiteral("Veuillez renseigner/corriger l'autorisation."),
         QStringLiteral("du code export de l'autorisation")},
        {ui->edtManutention, ui->edtManutentionCodeExport, QStringLiteral("Veuillez renseigner/corriger la manutention."),
         QStringLiteral("du code export de la manutention")},
    }};
}

void TFichePose::Charger()
{
    if (!GetCle().isEmpty()) {
        lue = Poses::Lire(GetCle());
        if (const std::optional<Poses::Pose>& pose = lue) {
            AfficherLibelle(ui->edtLibelle, pose->libelle, QStringLiteral("du libellé"));
            AfficherTexte(ui->edtCodeExport, pose->codeExport, QStringLiteral("du code export"));
            const auto surcharges = Surcharges();
            for (const auto option : TPoseLivraison::kOptions) {
                surcharges[option].montant->setText(FormatGeneral(pose->prix[option]));
                AfficherTexte(surcharges[option].codeExport, pose->codesExport[option],
                              surcharges[option].champCodeExport);
            }
            if (pose->typeTva)
                SelectionnerCode(ui->cmbTVA, QString::number(*pose->typeTva));
        }
    }
    if (ui->cmbTVA->currentIndex() < 0)
        SelectionnerCode(ui->cmbTVA, QStringLiteral("1"));
    cmbTVAChange();
}

void TFichePose::cmbTVAChange()
{
    // No entry can be chosen when the host sent no VAT type.
    const std::optional<int> type = LireEntier(GetCodeSelection(ui->cmbTVA));
    ui->lblTvaTaux->setText(type ? FormatMonetaire(TableTva::GetTauxTva(*type)) + QStringLiteral(" %")
                                 : QStringLiteral("%"));
}

bool TFichePose::Enregistrer()
{
    if (ui->edtLibelle->text().isEmpty())
        return Refuser(QStringLiteral("Veuillez renseigner le libellé."), ui->edtLibelle);

    Poses::Pose pose;
    pose.libelle = TexteSaisi(ui->edtLibelle);
    pose.codeExport = TexteSaisi(ui->edtCodeExport);
    const auto surcharges = Surcharges();
    for (const auto option : TPoseLivraison::kOptions) {
        const Surcharge& surcharge = surcharges[option];
        const std::optional<double> montant = MontantSaisi(surcharge.montant, surcharge.message);
        if (!montant)
            return false;
        pose.prix[option] = *montant;
        pose.codesExport[option] = TexteSaisi(surcharge.codeExport);
    }

    const std::optional<int> typeTva = LireEntier(GetCodeSelection(ui->cmbTVA));
    if (!typeTva) {
        if (ui->cmbTVA->count() == 0)
            return Refuser(QStringLiteral("Aucun type de TVA n'est défini dans la configuration : "
                                          "la pose ne peut pas être enregistrée."));
        return Refuser(QStringLiteral("Veuillez sélectionner un type de TVA."), ui->cmbTVA);
    }

    return Conclure(Poses::Enregistrer(GetCle(), pose, *typeTva, lue), QStringLiteral("cette pose"));
}
