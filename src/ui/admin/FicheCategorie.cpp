#include "ui/admin/FicheCategorie.h"

#include "data/DMPose.h"
#include "data/ObjectCode.h"
#include "ui/admin/AccesDonnees.h"
#include "ui/admin/FicheContrainte.h"
#include "ui/admin/ListeRapport.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"

#include "ui_FicheCategorie.h"

#include <QTreeWidget>
#include <utility>

namespace {

const QString kSansType = QStringLiteral("-1");
const QString kUneContrainte = QStringLiteral("une contrainte");

// Sub-items of a constraint row, after its caption (the operand's label).
enum ColonneContrainte { kOperande = 0, kIdOperande = 1, kOperateur = 2, kValeur = 3 };

QStringList TextesContrainte(const QString& operandeLibelle, const QString& idOperande,
                             const QString& operateur, const QString& valeur)
{
    return {operandeLibelle, idOperande, operateur, valeur};
}

} // namespace

QString NomCategorieAffiche(const std::optional<QString>& typeLibelle, const QString& libelle)
{
    return typeLibelle ? *typeLibelle + QLatin1Char(' ') + libelle : libelle;
}

TFicheCategorie::TFicheCategorie(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheCategorie>())
{
    ui->setupUi(this);
    // Labels are shown as typed, never read as markup.
    ui->lblCategorieAffichee->setTextFormat(Qt::PlainText);
    PreparerListe(ui->lvContraintes, {{150}, {1}, {100, Qt::AlignHCenter}, {100, Qt::AlignRight}});
    Installer(ui->btnValider, ui->btnFermer);
    ConnecterClic(ui->btnContraintesAjouter, this, &TFicheCategorie::btnContraintesAjouterClick);
    ConnecterClic(ui->btnModifier, this, &TFicheCategorie::btnModifierClick);
    ConnecterClic(ui->btnContraintesSupprimer, this, &TFicheCategorie::btnContraintesSupprimerClick);

    AjouterEntree(ui->cmbCategorieType, QStringLiteral("<Aucun type de catégorie>"), kSansType);
    const Resultat types = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdCategorieType, Libelle FROM CategorieType ORDER BY Libelle ASC"));
    for (const Ligne& type : types)
        AjouterEntree(ui->cmbCategorieType, type.Texte(QStringLiteral("Libelle")),
                      type.Texte(QStringLiteral("IdCategorieType")));
    ui->cmbCategorieType->setCurrentIndex(-1);

    connect(ui->cmbCategorieType, &QComboBox::currentIndexChanged, this,
            &TFicheCategorie::cmbCategorieTypeChange);
    connect(ui->edtCategorieLibelle, &QLineEdit::textChanged, this,
            &TFicheCategorie::edtCategorieLibelleChange);
}

TFicheCategorie::~TFicheCategorie() = default;

void TFicheCategorie::Charger()
{
    if (GetCle().isEmpty()) {
        SelectionnerCode(ui->cmbCategorieType, kSansType);
    } else {
        ChargerCategorie();
        ChargerContraintes();
    }
    AfficherApercu();
}

void TFicheCategorie::ChargerCategorie()
{
    const Resultat lignes = LireParCle(
        DMPose().qrySelect(),
        QStringLiteral("SELECT Libelle, IdCategorieType FROM Categorie WHERE IdCategorie = :IdCategorie"),
        QStringLiteral("IdCategorie"), GetCle());
    if (lignes.NombreLignes() != 1)
        return;
    const Ligne& categorie = lignes.Premiere();
    const QString type = categorie.Texte(QStringLiteral("IdCategorieType"));
    // A type that no longer exists leaves no entry selected.
    SelectionnerCode(ui->cmbCategorieType, type.isEmpty() ? kSansType : type);
    ui->edtCategorieLibelle->setText(LibelleCharge(categorie.Texte(QStringLiteral("Libelle"))));
}

void TFicheCategorie::ChargerContraintes()
{
    const QHash<QString, QString> operandes = Correspondances(
        LireTout(DMPose().qrySousSelect(),
                 QStringLiteral("SELECT IdOperande, Libelle FROM Operande ORDER BY IdOperande ASC")),
        QStringLiteral("IdOperande"), QStringLiteral("Libelle"));
    const Resultat contraintes =
        LireParCle(DMPose().qrySelect(),
                   QStringLiteral("SELECT IdCategorieContrainte, IdOperande, Operateur, Valeur "
                                  "FROM CategorieContrainte WHERE IdCategorie = :IdCategorie"),
                   QStringLiteral("IdCategorie"), GetCle());
    for (const Ligne& contrainte : contraintes) {
        const QString idOperande = contrainte.Texte(QStringLiteral("IdOperande"));
        // A copy's constraints are new rows of the new category.
        const QString cle =
            GetDuplication() ? QString() : contrainte.Texte(QStringLiteral("IdCategorieContrainte"));
        AjouterLigne(ui->lvContraintes,
                     TextesContrainte(operandes.value(idOperande), idOperande,
                                      contrainte.Texte(QStringLiteral("Operateur")),
                                      contrainte.Texte(QStringLiteral("Valeur"))),
                     cle);
    }
    TrierParLibelle(ui->lvContraintes);
}

void TFicheCategorie::AfficherApercu()
{
    const QString type = GetCodeSelection(ui->cmbCategorieType);
    const bool avecType = !type.isEmpty() && type != kSansType;
    ui->lblCategorieAffichee->setText(
        NomCategorieAffiche(avecType ? std::optional(ui->cmbCategorieType->currentText()) : std::nullopt,
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
    if (!Messages::Question(QStringLiteral("Etes-vous sûr de vouloir supprimer cette contrainte : %1 ?")
                                .arg(ligne->text(kOperande)),
                            this))
        return;
    if (ACode(ligne))
        contraintesSupprimees.append(GetCode(ligne));
    delete ligne;
}

bool TFicheCategorie::Enregistrer()
{
    QString typeCle = GetCodeSelection(ui->cmbCategorieType);
    const QString libelle = ui->edtCategorieLibelle->text();
    if (typeCle.isEmpty() && libelle.isEmpty())
        return Refuser(QStringLiteral("Veuillez choisir un type de catégorie ou renseigner le libellé."),
                       ui->edtCategorieLibelle);
    // A category whose type has gone is kept as a category without type.
    if (typeCle.isEmpty())
        typeCle = kSansType;

    const QString cle = EcrireCategorie(libelle, typeCle);
    SetCle(cle);
    contraintesSupprimees.clear();
    return true;
}

QString TFicheCategorie::EcrireCategorie(const QString& libelle, const QString& typeCle)
{
    Transaction transaction(DMPose().Quarlo());
    Requete& requete = DMPose().qryExec();
    QString cle = GetCle();
    if (cle.isEmpty()) {
        requete.SetSql(QStringLiteral(
            "INSERT INTO Categorie ( Libelle, IdCategorieType) VALUES ( :Libelle, :IdCategorieType)"));
    } else {
        requete.SetSql(QStringLiteral("UPDATE Categorie SET Libelle = :Libelle, "
                                      "IdCategorieType = :IdCategorieType WHERE IdCategorie = :IdCategorie"));
        requete.LierTexte(QStringLiteral("IdCategorie"), cle);
    }
    requete.LierTexte(QStringLiteral("Libelle"), libelle);
    requete.LierTexte(QStringLiteral("IdCategorieType"), typeCle);
    requete.Executer();
    requete.ViderParametres();
    if (cle.isEmpty())
        cle = DMPose().DernierIdCategorie();

    EcrireContraintes(cle);
    transaction.Valider();
    return cle;
}

void TFicheCategorie::EcrireContraintes(const QString& categorieCle)
{
    Requete& suppression = DMPose().qryDelete();
    for (const QString& contrainteCle : std::as_const(contraintesSupprimees)) {
        suppression.SetSql(QStringLiteral("DELETE FROM CategorieContrainte WHERE "
                                          "IdCategorieContrainte = :IdCategorieContrainte "
                                          "AND IdCategorie = :IdCategorie"));
        suppression.LierTexte(QStringLiteral("IdCategorieContrainte"), contrainteCle);
        suppression.LierTexte(QStringLiteral("IdCategorie"), categorieCle);
        suppression.Executer();
        suppression.ViderParametres();
    }

    Requete& requete = DMPose().qryExec();
    for (int i = 0; i < ui->lvContraintes->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* ligne = ui->lvContraintes->topLevelItem(i);
        if (ACode(ligne)) {
            requete.SetSql(QStringLiteral(
                "UPDATE CategorieContrainte SET IdOperande = :IdOperande, Operateur = :Operateur , "
                "Valeur = :Valeur WHERE IdCategorieContrainte = :IdCategorieContrainte "
                "AND IdCategorie = :IdCategorie"));
            requete.LierTexte(QStringLiteral("IdCategorieContrainte"), GetCode(ligne));
        } else {
            requete.SetSql(QStringLiteral(
                "INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur) "
                "VALUES (:IdCategorie, :IdOperande, :Operateur , :Valeur)"));
        }
        requete.LierTexte(QStringLiteral("IdCategorie"), categorieCle);
        requete.LierTexte(QStringLiteral("IdOperande"), ligne->text(kIdOperande));
        requete.LierTexte(QStringLiteral("Operateur"), ligne->text(kOperateur));
        requete.LierTexte(QStringLiteral("Valeur"), ligne->text(kValeur));
        requete.Executer();
        requete.ViderParametres();
    }
}
