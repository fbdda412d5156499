#include "ui/admin/FichePoseListe.h"

#include "data/DMPose.h"
#include "model/Formats.h"
#include "ui/admin/AccesDonnees.h"
#include "ui/admin/FichePose.h"
#include "ui/admin/ListeRapport.h"

#include "ui_FichePoseListe.h"

TFichePoseListe::TFichePoseListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFichePoseListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{550}, {-1, Qt::AlignRight}, {130}});
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

void TFichePoseListe::AjouterLignes()
{
    const Resultat poses = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdPose, Libelle, CodeExport, TypeTva FROM Pose ORDER BY Libelle ASC"));
    for (const Ligne& pose : poses) {
        const QString typeTva = QStringLiteral("TypeTva");
        const double taux = pose.EstNul(typeTva)
                                ? -1
                                : DMPose().GetTauxTva(static_cast<int>(pose.Entier(typeTva)));
        const QString tva = taux > -1 ? FormatMonetaire(taux) : QString();
        AjouterLigne(Liste(),
                     {pose.Texte(QStringLiteral("Libelle")), tva, pose.Texte(QStringLiteral("CodeExport"))},
                     pose.Texte(QStringLiteral("IdPose")));
    }
}

std::unique_ptr<TFicheEdition> TFichePoseListe::CreerEdition()
{
    return std::make_unique<TFichePose>(this);
}

int TFichePoseListe::SupprimerEnregistrement(const QString& cle)
{
    // Only the kind goes: its tariff rows stay.
    return ExecuterParCle(DMPose().qryDelete(),
                          QStringLiteral("DELETE FROM Pose WHERE IdPose = :IdPose"),
                          QStringLiteral("IdPose"), cle);
}
