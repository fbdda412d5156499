#include "ui/admin/FicheOperandeListe.h"

#include "data/Operandes.h"
#include "ui/common/ListeRapport.h"

#include "ui_FicheOperandeListe.h"

TFicheOperandeListe::TFicheOperandeListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFicheOperandeListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{250}, {200}});
    EtendreColonnes(ui->lvListe, {0});
    Installer(ui->lvListe, {.fermer = ui->btnFermer}, {}, SelectionApresRemplissage::Aucune,
              OrdreLignes::Requete);
    Remplir();
}

TFicheOperandeListe::~TFicheOperandeListe() = default;

QVector<LigneRapport> TFicheOperandeListe::LireLignes()
{
    QVector<LigneRapport> lignes;
    for (const Operandes::Operande& operande : Operandes::Lister())
        lignes.append({{operande.libelle, operande.code}, operande.cle});
    return lignes;
}
