#include "ui/admin/FicheQuincaillerie.h"

#include "model/Formats.h"

#include "ui_FicheQuincaillerie.h"

#include <array>

TFicheQuincaillerie::TFicheQuincaillerie(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheQuincaillerie>())
{
    ui->setupUi(this);
    Installer(ui->btnValider, ui->btnFermer);
}

TFicheQuincaillerie::~TFicheQuincaillerie() = default;

void TFicheQuincaillerie::Charger()
{
    if (GetCle().isEmpty())
        return;
    lu = CatalogueQuincaillerie::Lire(GetCle());
    const std::optional<CatalogueQuincaillerie::Article>& article = lu;
    if (!article)
        return;
    ui->edtLibelle->setText(LibelleCharge(article->libelle));
    ui->edtLibelle2->setText(article->libelle2);
    ui->edtTarifVente->setText(FormatGeneral(article->tarifVente));
    ui->edtTarifAchat->setText(FormatGeneral(article->tarifAchat));
    ui->edtNbPieces->setText(FormatGeneral(article->nbPieces));
    ui->edtNbPiecesML->setText(FormatGeneral(article->nbPiecesML));
    ui->edtCodeExport->setText(article->codeExport);
    ui->cbSecable->setChecked(article->secable);
}

bool TFicheQuincaillerie::Enregistrer()
{
    if (ui->edtLibelle->text().isEmpty())
        return Refuser(QStringLiteral("Veuillez renseinger le libellé."), ui->edtLibelle);

    CatalogueQuincaillerie::Article article;
    // The amounts in the order they are checked; zero is accepted.
    const std::array<std::tuple<QLineEdit*, double*, QString>, 4> montants = {{
        {ui->edtTarifAchat, &article.tarifAchat, QStringLiteral("Veuillez renseigner/corriger le tarif d'achat.")},
        {ui->edtTarifVente, &article.tarifVente, QStringLiteral("Veuillez renseigner/corriger le tarif de vente.")},
        {ui->edtNbPieces, &article.nbPieces, QStringLiteral("Veuillez renseigner/corriger le nombre de pièces.")},
        {ui->edtNbPiecesML, &article.nbPiecesML,
         QStringLiteral("Veuillez renseigner/corriger le nombre de pièces ML.")},
    }};
    for (const auto& [edition, valeur, message] : montants) {
        const std::optional<double> montant = MontantSaisi(edition, message);
        if (!montant)
            return false;
        *valeur = *montant;
    }
    article.codeExport = ui->edtCodeExport->text();
    article.libelle = ui->edtLibelle->text();
    article.libelle2 = ui->edtLibelle2->text();
    article.secable = ui->cbSecable->isChecked();
    return Conclure(CatalogueQuincaillerie::Enregistrer(GetCle(), article, lu), QStringLiteral("cette quincaillerie"));
}
