#include "ui/admin/FichePose.h"

#include "data/DMPose.h"
#include "data/ObjectCode.h"
#include "model/Formats.h"
#include "ui/admin/AccesDonnees.h"

#include "ui_FichePose.h"

#include <QAbstractItemModel>

TFichePose::TFichePose(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFichePose>())
{
    ui->setupUi(this);
    Installer(ui->btnValider, ui->btnFermer);

    DMPose().RemplirComboTva(ui->cmbTVA);
    ui->cmbTVA->model()->sort(0);
    ui->cmbTVA->setCurrentIndex(-1);
    connect(ui->cmbTVA, &QComboBox::currentIndexChanged, this, &TFichePose::cmbTVAChange);
}

TFichePose::~TFichePose() = default;

std::vector<TFichePose::Montant> TFichePose::Montants() const
{
    return {
        {ui->edtLivraison, QStringLiteral("Livraison"),
         QStringLiteral("Veuillez renseigner/corriger la livraison.")},
        {ui->edtLivraisonCompliquee, QStringLiteral("LivraisonCompliquee"),
         QStringLiteral("Veuillez renseigner/corriger la livraison compliquée.")},
        {ui->edtAutorisation, QStringLiteral("Autorisation"),
         QStringLiteral("Veuillez renseigner/corriger l'autorisation.")},
        {ui->edtManutention, QStringLiteral("Manutention"),
         QStringLiteral("Veuillez renseigner/corriger la manutention.")},
    };
}

std::vector<std::pair<QLineEdit*, QString>> TFichePose::CodesExport() const
{
    return {
        {ui->edtCodeExport, QStringLiteral("CodeExport")},
        {ui->edtLivraisonCodeExport, QStringLiteral("CodeExportLivraison")},
        {ui->edtLivraisonCompliqueeCodeExport, QStringLiteral("CodeExportLivraisonCompliquee")},
        {ui->edtAutorisationCodeExport, QStringLiteral("CodeExportAutorisation")},
        {ui->edtManutentionCodeExport, QStringLiteral("CodeExportManutention")},
    };
}

void TFichePose::Charger()
{
    if (!GetCle().isEmpty()) {
        const Resultat lignes = LireParCle(
            DMPose().qrySelect(),
            QStringLiteral("SELECT Libelle, CodeExport, Livraison, LivraisonCompliquee, Autorisation, "
                           "Manutention, TypeTva, CodeExportLivraison, CodeExportLivraisonCompliquee, "
                           "CodeExportAutorisation, CodeExportManutention FROM Pose WHERE IdPose = :IdPose"),
            QStringLiteral("IdPose"), GetCle());
        if (lignes.NombreLignes() == 1) {
            const Ligne& pose = lignes.Premiere();
            ui->edtLibelle->setText(pose.Texte(QStringLiteral("Libelle")));
            for (const Montant& montant : Montants())
                montant.edition->setText(FormatGeneral(pose.Decimal(montant.colonne)));
            for (const auto& [edition, colonne] : CodesExport())
                edition->setText(pose.Texte(colonne));
            SelectionnerCode(ui->cmbTVA, pose.Texte(QStringLiteral("TypeTva")));
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
    ui->lblTvaTaux->setText(type ? FormatMonetaire(DMPose().GetTauxTva(*type)) + QStringLiteral(" %")
                                 : QStringLiteral("%"));
}

bool TFichePose::Enregistrer()
{
    if (ui->edtLibelle->text().isEmpty())
        return Refuser(QStringLiteral("Veuillez renseigner le libellé."), ui->edtLibelle);

    const std::vector<Montant> montants = Montants();
    std::vector<double> valeurs;
    for (const Montant& montant : montants) {
        const double valeur = LireDecimal(montant.edition->text()).value_or(-1);
        if (valeur < 0)
            return Refuser(montant.message, montant.edition);
        valeurs.push_back(valeur);
    }

    const std::optional<int> typeTva = LireEntier(GetCodeSelection(ui->cmbTVA));
    if (!typeTva) {
        if (ui->cmbTVA->count() == 0)
            return Refuser(QStringLiteral("Aucun type de TVA n'est défini dans la configuration : "
                                          "la pose ne peut pas être enregistrée."));
        return Refuser(QStringLiteral("Veuillez sélectionner un type de TVA."), ui->cmbTVA);
    }

    Requete& requete = DMPose().qryExec();
    if (GetCle().isEmpty()) {
        requete.SetSql(QStringLiteral(
            "INSERT INTO Pose ( Libelle, CodeExport, Livraison, LivraisonCompliquee, Autorisation, "
            "Manutention, TypeTva, CodeExportLivraison, CodeExportLivraisonCompliquee, "
            "CodeExportAutorisation, CodeExportManutention) VALUES ( :Libelle , :CodeExport, "
            ":Livraison, :LivraisonCompliquee, :Autorisation, :Manutention , :TypeTva, "
            ":CodeExportLivraison, :CodeExportLivraisonCompliquee, :CodeExportAutorisation, "
            ":CodeExportManutention)"));
    } else {
        requete.SetSql(QStringLiteral(
            "UPDATE Pose SET Libelle = :Libelle , CodeExport = :CodeExport, Livraison = :Livraison, "
            "LivraisonCompliquee = :LivraisonCompliquee, Autorisation = :Autorisation, "
            "Manutention = :Manutention, Typetva = :TypeTva, CodeExportLivraison = :CodeExportLivraison, "
            "CodeExportLivraisonCompliquee = :CodeExportLivraisonCompliquee, "
            "CodeExportAutorisation = :CodeExportAutorisation, "
            "CodeExportManutention = :CodeExportManutention WHERE IdPose = :IdPose"));
        requete.LierTexte(QStringLiteral("IdPose"), GetCle());
    }
    requete.LierTexte(QStringLiteral("Libelle"), ui->edtLibelle->text());
    for (const auto& [edition, colonne] : CodesExport())
        requete.LierTexte(colonne, edition->text());
    for (std::size_t i = 0; i < montants.size(); ++i)
        requete.LierDecimal(montants[i].colonne, valeurs[i]);
    requete.LierEntier(QStringLiteral("TypeTva"), *typeTva);
    requete.Executer();
    requete.ViderParametres();
    return true;
}
