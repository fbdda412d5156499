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
    AfficherLibelle(ui->edtLibelle, article->libelle, QStringLiteral("du libellé"));
    AfficherTexte(ui->edtLibelle2, article->libelle2, QStringLiteral("du libellé 2"));
    ui->edtTarifVente->setText(FormatGeneral(article->tarifVente));
    ui->edtTarifAchat->setText(FormatGeneral(article->tarifAchat));
    ui->edtNbPieces->setText(FormatGeneral(article->nbPieces));
    ui->edtNbPiecesML->setText(FormatGeneral(article->nbPiecesML));
    AfficherTexte(ui->edtCodeExport, article->codeExport, QStringLiteral("du code export"));
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
    article.codeExport = TexteSaisi(ui->edtCodeExport);
    article.libelle = TexteSaisi(ui->edtLibelle);
    article.libelle2 = TexteSaisi(ui->edtLibelle2);
    article.secable = ui->cbSecable->isChecked();
    return Conclure(CatalogueQuincaillerie::Enregistrer(GetCle(), article, lu), QStringLiteral("cette quincaillerie"));
}
