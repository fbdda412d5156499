#include "ui/admin/FicheCategorieType.h"

#include "data/DMPose.h"
#include "data/ObjectCode.h"
#include "ui/admin/AccesDonnees.h"

#include "ui_FicheCategorieType.h"

TFicheCategorieType::TFicheCategorieType(QWidget* parent)
    : TFicheEdition(parent)
    , ui(std::make_unique<Ui::TFicheCategorieType>())
{
    ui->setupUi(this);
    Installer(ui->btnValider, ui->btnFermer);

    AjouterEntree(ui->cmbCategorieType, QStringLiteral("<Aucun>"), QStringLiteral("00000"));
    const Resultat familles = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT Code, Nom as Libelle FROM TrelvaneLibelle ORDER BY Libelle ASC"));
    for (const Ligne& famille : familles)
        AjouterEntree(ui->cmbCategorieType, famille.Texte(QStringLiteral("Libelle")),
                      famille.Texte(QStringLiteral("Code")));
    // A new type starts with no family chosen ("0" is no family's code) and
    // is then saved with an empty code.
    ui->cmbCategorieType->setCurrentIndex(-1);
    SelectionnerCode(ui->cmbCategorieType, QStringLiteral("0"));
}

TFicheCategorieType::~TFicheCategorieType() = default;

void TFicheCategorieType::Charger()
{
    if (GetCle().isEmpty())
        return;
    const Resultat lignes = LireParCle(
        DMPose().qrySelect(),
        QStringLiteral("SELECT Libelle, TrelvaneLibelle, MotsClefs FROM CategorieType "
                       "WHERE IdCategorieType = :IdCategorieType"),
        QStringLiteral("IdCategorieType"), GetCle());
    if (lignes.NombreLignes() != 1)
        return;
    const Ligne& type = lignes.Premiere();
    ui->edtLibelle->setText(LibelleCharge(type.Texte(QStringLiteral("Libelle"))));
    SelectionnerCode(ui->cmbCategorieType, type.Texte(QStringLiteral("TrelvaneLibelle")));
    ui->edtMotsClefs->setText(type.Texte(QStringLiteral("MotsClefs")));
}

bool TFicheCategorieType::Enregistrer()
{
    if (ui->edtLibelle->text().isEmpty())
        return Refuser(QStringLiteral("Veuillez renseigner le libellé."), ui->edtLibelle);

    Requete& requete = DMPose().qryExec();
    if (GetCle().isEmpty()) {
        requete.SetSql(QStringLiteral("INSERT INTO CategorieType ( Libelle, TrelvaneLibelle, MotsClefs) "
                                      "VALUES ( :Libelle, :TrelvaneLibelle, :MotsClefs )"));
    } else {
        requete.SetSql(QStringLiteral("UPDATE CategorieType SET Libelle = :Libelle , "
                                      "TrelvaneLibelle = :TrelvaneLibelle , MotsClefs = :MotsClefs "
                                      "WHERE IdCategorieType = :IdCategorieType"));
        requete.LierTexte(QStringLiteral("IdCategorieType"), GetCle());
    }
    requete.LierTexte(QStringLiteral("Libelle"), ui->edtLibelle->text());
    requete.LierTexte(QStringLiteral("TrelvaneLibelle"), GetCodeSelection(ui->cmbCategorieType));
    requete.LierTexte(QStringLiteral("MotsClefs"), ui->edtMotsClefs->text());
    requete.Executer();
    requete.ViderParametres();
    return true;
}
