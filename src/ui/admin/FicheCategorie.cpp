#include "ui/admin/FicheCategorie.h"

#include "data/Categories.h"
#include "data/CategoriesTypes.h"
#include "ui/admin/FicheContrainte.h"
#include "ui/common/ListeRapport.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"

#include "ui_FicheCategorie.h"

#include <QTreeWidget>
#include <utility>

namespace {

const QString& kSansType = Categories::kSansType;
const QString kUneContrainte = QStringLiteral("une contrainte");

// Sub-items of a constraint row, after its caption (the operand's label).
enum ColonneContrainte { kOperande = 0, kIdOperande = 1, kOperateur = 2, kValeur = 3 };

QStringList TextesContrainte(const QString& operandeLibelle, const QString& idOperande,
                             const QString& operateur, const QString& valeur)
{
    return {operandeLibelle, idOperande, operateur, valeur};
}

} // namespace

TFicheCategorie::TFicheCategorie(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheCategorie>())
{
    ui->setupUi(this);
    // Labels are shown as typed, never read as markup.
    ui->lblCategorieAffichee->setTextFormat(Qt::PlainText);
    PreparerListe(ui->lvContraintes, {{150}, {1}, {100, Qt::AlignHCenter}, {100, Qt::AlignRight}});
    EtendreColonnes(ui->lvContraintes, {0});
    Installer(ui->btnValider, ui->btnFermer);
    Connecter(ui->btnContraintesAjouter, &QPushButton::clicked, this, &TFicheCategorie::btnContraintesAjouterClick);
    Connecter(ui->btnModifier, &QPushButton::clicked, this, &TFicheCategorie::btnModifierClick);
    Connecter(ui->btnContraintesSupprimer, &QPushButton::clicked, this,
              &TFicheCategorie::btnContraintesSupprimerClick);

    AjouterEntree(ui->cmbCategorieType, QStringLiteral("<Aucun type de catégorie>"), kSansType);
    for (const Entree& type : CategoriesTypes::Libelles())
        AjouterEntree(ui->cmbCategorieType, type.libelle, type.cle);
    ui->cmbCategorieType->setCurrentIndex(-1);

    Connecter(ui->cmbCategorieType, &QComboBox::currentIndexChanged, this, &TFicheCategorie::cmbCategorieTypeChange);
    Connecter(ui->edtCategorieLibelle, &QLineEdit::textChanged, this, &TFicheCategorie::edtCategorieLibelleChange);
}

TFicheCategorie::~TFicheCategorie() = default;

void TFicheCategorie::Charger()
{
    if (GetCle().isEmpty())
        SelectionnerCode(ui->cmbCategorieType, kSansType);
    else
        ChargerCategorie();
    AfficherApercu();
}

void TFicheCategorie::ChargerCategorie()
{
    const std::optional<Categories::Categorie> categorie = Categories::Lire(GetCle());
    lue = categorie ? std::optional(Categories::CategorieLue{*categorie, Categories::Contraintes(GetCle())})
                    : std::nullopt;
    contraintesSupprimees.clear();
    ViderListe(ui->lvContraintes);
    if (!categorie)
        return;
    const QString& type = categorie->idCategorieType;
    // A type that no longer exists leaves no entry selected.
    SelectionnerCode(ui->cmbCategorieType, type.isEmpty() ? kSansType : type);
    AfficherLibelle(ui->edtCategorieLibelle, categorie->libelle, QStringLiteral("du libellé"));
    AfficherContraintes(lue->contraintes);
}

void TFicheCategorie::AfficherContraintes(const QVector<Categories::Contrainte>& contraintes)
{
    QVector<LigneRapport> lignes;
    for (const Categories::Contrainte& contrainte : contraintes) {
        // A copy's constraints are new rows of the new category.
        lignes.append({TextesContrainte(contrainte.operande, contrainte.idOperande, contrainte.operateur,
                                        contrainte.valeur),
                       GetDuplication() ? QString() : contrainte.cle});
    }
    TrierParLibelle(lignes);
    AjouterLignes(ui->lvContraintes, lignes);
}

void TFicheCategorie::AfficherApercu()
{
    const QString type = GetCodeSelection(ui->cmbCategorieType);
    const bool avecType = !type.isEmpty() && type != kSansType;
    ui->lblCategorieAffichee->setText(
        NomCategorie(avecType ? std::optional(ui->cmbCategorieType->currentText()) : std::nullopt,
                            ui->edtCategorieLibelle->text()));
}

void TFicheCategorie::cmbCategorieTypeChange()
{
    AfficherApercu();
}

void TFicheCategorie::edtCategorieLibelleChange()
{
    AfficherApercu();
}

void TFicheCategorie::btnContraintesAjouterClick()
{
    TFicheContrainte fiche(this);
    if (fiche.exec() != QDialog::Accepted)
        return;
    AjouterLigne(ui->lvContraintes,
                 TextesContrainte(fiche.GetOperandeLibelle(), fiche.GetIdOperande(),
                                  fiche.GetOperateur(), fiche.GetValeur()),
                 QString());
    TrierParLibelle(ui->lvContraintes);
}

void TFicheCategorie::btnModifierClick()
{
    QTreeWidgetItem* ligne =
        LigneRequise(ui->lvContraintes, kUneContrainte, QStringLiteral("modification"), this);
    if (!ligne)
        return;
    TFicheContrainte fiche(this);
    fiche.SetCle(GetCode(ligne));
    fiche.SetIdOperande(ligne->text(kIdOperande));
    fiche.SetOperateur(ligne->text(kOperateur));
    fiche.SetValeur(ligne->text(kValeur));
    if (fiche.exec() != QDialog::Accepted)
        return;
    RemplacerTextes(ligne, TextesContrainte(fiche.GetOperandeLibelle(), fiche.GetIdOperande(),
                                            fiche.GetOperateur(), fiche.GetValeur()));
    TrierParLibelle(ui->lvContraintes);
}

void TFicheCategorie::btnContraintesSupprimerClick()
{
    QTreeWidgetItem* ligne =
        LigneRequise(ui->lvContraintes, kUneContrainte, QStringLiteral("suppression"), this);
    if (!ligne)
        return;
    const QString question =
        QStringLiteral("Etes-vous sûr de vouloir supprimer cette contrainte : %1 ?").arg(ligne->text(kOperande));
    if (!Messages::QuestionPerte(question, this))
        return;
    if (ACode(ligne))
        contraintesSupprimees.append(GetCode(ligne));
    delete ligne;
}

bool TFicheCategorie::Enregistrer()
{
    const QString typeCle = GetCodeSelection(ui->cmbCategorieType);
    const QString libelle = TexteSaisi(ui->edtCategorieLibelle);
    if (typeCle.isEmpty() && libelle.isEmpty())
        return Refuser(QStringLiteral("Veuillez choisir un type de catégorie ou renseigner le libellé."),
                       ui->edtCategorieLibelle);

    const Categories::CategorieEnregistree enregistree =
        Categories::Enregistrer(GetCle(), {libelle, typeCle}, Contraintes(), contraintesSupprimees, lue);
    if (enregistree.etat != Enregistrement::Fait)
        return Conclure(enregistree.etat, QStringLiteral("cette catégorie"));
    SetCle(enregistree.cle);
    contraintesSupprimees.clear();
    return true;
}

QVector<Categories::Contrainte> TFicheCategorie::Contraintes() const
{
    QVector<Categories::Contrainte> contraintes;
    for (int i = 0; i < ui->lvContraintes->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* ligne = ui->lvContraintes->topLevelItem(i);
        contraintes.append({ACode(ligne) ? GetCode(ligne) : QString(), ligne->text(kIdOperande),
                            ligne->text(kOperande), ligne->text(kOperateur), ligne->text(kValeur)});
    }
    return contraintes;
}
