#include "ui/admin/FicheOperandeListe.h"

#include "data/DMPose.h"
#include "ui/admin/AccesDonnees.h"
#include "ui/admin/ListeRapport.h"

#include "ui_FicheOperandeListe.h"

TFicheOperandeListe::TFicheOperandeListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFicheOperandeListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{250}, {200}});
    Installer(ui->lvListe, {.fermer = ui->btnFermer}, {}, SelectionApresRemplissage::Aucune,
              OrdreLignes::Requete);
    Remplir();
}

TFicheOperandeListe::~TFicheOperandeListe() = default;

void TFicheOperandeListe::AjouterLignes()
{
    const Resultat operandes =
        LireTout(DMPose().qrySelect(),
                 QStringLiteral("SELECT IdOperande, Libelle, Code FROM Operande ORDER BY Libelle ASC"));
    for (const Ligne& operande : operandes)
        AjouterLigne(Liste(),
                     {operande.Texte(QStringLiteral("Libelle")), operande.Texte(QStringLiteral("Code"))},
                     operande.Texte(QStringLiteral("IdOperande")));
}
