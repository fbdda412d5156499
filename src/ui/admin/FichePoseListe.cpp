#include "ui/admin/FichePoseListe.h"

#include "data/Poses.h"
#include "data/TableTva.h"
#include "model/Formats.h"
#include "ui/admin/FichePose.h"
#include "ui/common/ListeRapport.h"

#include "ui_FichePoseListe.h"

TFichePoseListe::TFichePoseListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFichePoseListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{550}, {-1, Qt::AlignRight}, {130}});
    EtendreColonnes(ui->lvListe, {0});
    Installer(ui->lvListe,
              {.ajouter = ui->btnCategorieAjouter,
               .modifier = ui->btnCategorieModifier,
               .supprimer = ui->btnCategorieSupprimer,
               .fermer = ui->btnFermer},
              {QStringLiteral("une pose"), QStringLiteral("cette pose"), QStringLiteral("de la pose")},
              SelectionApresRemplissage::PremiereLigne, OrdreLignes::Requete);
    Remplir();
}

TFichePoseListe::~TFichePoseListe() = default;

QVector<LigneRapport> TFichePoseListe::LireLignes()
{
    QVector<LigneRapport> lignes;
    lues.clear();
    for (const Poses::LignePose& pose : Poses::Lister()) {
        lues.insert(pose.cle, pose);
        const double taux = pose.typeTva ? TableTva::GetTauxTva(*pose.typeTva) : -1;
        const QString tva = taux > -1 ? FormatMonetaire(taux) : QString();
        lignes.append({{pose.libelle, tva, pose.codeExport}, pose.cle});
    }
    return lignes;
}

std::unique_ptr<TFicheEdition> TFichePoseListe::CreerEdition()
{
    return std::make_unique<TFichePose>(this);
}

Enregistrement TFichePoseListe::SupprimerEnregistrement(const QString& cle)
{
    return Poses::Supprimer(lues.value(cle));
}
