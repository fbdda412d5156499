#include "ui/admin/FichePoseurListe.h"

#include "data/Poseurs.h"
#include "ui/common/ListeRapport.h"

#include "ui_FichePoseurListe.h"

TFichePoseurListe::TFichePoseurListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFichePoseurListe>())
{
    ui->setupUi(this);
    PreparerListe(ui->lvListe, {{60}, {150}, {150}, {150}, {60}, {170}, {120}, {100}});
    EtendreColonnes(ui->lvListe, {1});
    Installer(ui->lvListe, {.supprimer = ui->btnCategorieSupprimer, .fermer = ui->btnFermer},
              {QStringLiteral("un poseur"), QStringLiteral("ce poseur"), QStringLiteral("du poseur")},
              SelectionApresRemplissage::Aucune, OrdreLignes::Requete);
    Remplir();
}

TFichePoseurListe::~TFichePoseurListe() = default;

QVector<LigneRapport> TFichePoseurListe::LireLignes()
{
    QVector<LigneRapport> lignes;
    lues.clear();
    for (const Poseurs::Poseur& poseur : Poseurs::Lister()) {
        lues.insert(poseur.cle, poseur);
        lignes.append({{poseur.code, poseur.nom, poseur.rue1, poseur.rue2, poseur.cp, poseur.ville, poseur.siret,
                        poseur.rge},
                       poseur.cle});
    }
    return lignes;
}

Enregistrement TFichePoseurListe::SupprimerEnregistrement(const QString& cle)
{
    return Poseurs::Supprimer(lues.value(cle));
}
