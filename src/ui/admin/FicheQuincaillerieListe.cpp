#include "ui/admin/FicheQuincaillerieListe.h"

#include "data/CatalogueQuincaillerie.h"
#include "model/Formats.h"
#include "model/LigneCsv.h"
#include "ui/admin/FicheQuincaillerie.h"
#include "ui/common/Clavier.h"
#include "ui/common/ListeRapport.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"
#include "ui/common/Transfert.h"

#include "ui_FicheQuincaillerieListe.h"

namespace {

// "1 entrée", "2 entrées".
QString Nombre(int nombre, const QString& singulier, const QString& pluriel)
{
    return QStringLiteral("%1 %2").arg(nombre).arg(nombre > 1 ? pluriel : singulier);
}

QString QuestionImportation(const CatalogueQuincaillerie::Examen& examen)
{
    QString texte = QStringLiteral("Importation - Le fichier contient %1")
                        .arg(Nombre(examen.entrees.size(), QStringLiteral("entrée"), QStringLiteral("entrées")));
    if (examen.ecartees.isEmpty())
        texte += QLatin1Char('.');
    else
        texte += QStringLiteral(" ; %1 :").arg(Nombre(examen.ecartees.size(), QStringLiteral("ligne écartée"),
                                                      QStringLiteral("lignes écartées")))
                 + Transfert::LignesEcartees(examen.ecartees);
    if (examen.textesCoupes > 0)
        texte += QStringLiteral("\nTextes coupés à %1 caractères à l'importation : %2.")
                     .arg(CatalogueQuincaillerie::kLongueurTexte)
                     .arg(examen.textesCoupes);
    return texte
           + QStringLiteral("\n\nLe catalogue compte aujourd'hui %1 ; il sera remplacé par celles du fichier.\n"
                            "Voulez-vous remplacer le catalogue ?")
                 .arg(Nombre(examen.nombreActuel, QStringLiteral("entrée"), QStringLiteral("entrées")));
}

QString TitreListe(int nombre)
{
    const QString titre = QStringLiteral("Liste de la quincaillerie");
    if (nombre == 0)
        return titre;
    if (nombre == 1)
        return titre + QStringLiteral(" : 1 enregistrement");
    return titre + QStringLiteral(" : %1 enregistrements").arg(nombre);
}

} // namespace

TFicheQuincaillerieListe::TFicheQuincaillerieListe(QWidget* parent)
    : TFicheListe(parent)
    , ui(std::make_unique<Ui::TFicheQuincaillerieListe>())
{
    ui->setupUi(this);
    const ColonneListe nombre{70, Qt::AlignRight};
    PreparerListe(ui->lvListe, {{110}, {230}, {170}, nombre, nombre, nombre, {80, Qt::AlignRight}, {30}});
    EtendreColonnes(ui->lvListe, {1, 2});
    Installer(ui->lvListe,
              {ui->btnAjouter, ui->btnDupliquer, ui->btnModifier, ui->btnSupprimer, ui->btnFermer},
              {QStringLiteral("une quincaillerie"), QStringLiteral("cette quincaillerie"),
               QStringLiteral("de la quincaillerie")},
              SelectionApresRemplissage::PremiereLigne, OrdreLignes::ParLibelle);
    Indicateurs{ui->pbExportation, ui->imgYes}.Installer();
    Indicateurs{ui->pbImporter, ui->imgYesImport}.Installer();
    for (QPushButton* bouton : {ui->btnExporter, ui->btnImporter})
        EntreeSurBouton(bouton);
    Connecter(ui->btnExporter, &QPushButton::clicked, this, &TFicheQuincaillerieListe::btnExporterClick);
    Connecter(ui->btnImporter, &QPushButton::clicked, this, &TFicheQuincaillerieListe::btnImporterClick);
    Remplir();
}

TFicheQuincaillerieListe::~TFicheQuincaillerieListe() = default;

QVector<LigneRapport> TFicheQuincaillerieListe::LireLignes()
{
    const QVector<CatalogueQuincaillerie::LigneCatalogue> catalogue = CatalogueQuincaillerie::Lister();
    setWindowTitle(TitreListe(catalogue.size()));
    QVector<LigneRapport> lignes;
    lignes.reserve(catalogue.size());
    lues.clear();
    lues.reserve(catalogue.size());
    for (const CatalogueQuincaillerie::LigneCatalogue& ligne : catalogue) {
        lues.insert(ligne.cle, ligne);
        const CatalogueQuincaillerie::Article& article = ligne.article;
        lignes.append({{article.codeExport, article.libelle, article.libelle2, FormatMonetaire(article.tarifVente),
                        FormatMonetaire(article.tarifAchat), FormatMonetaire(article.nbPieces),
                        FormatMonetaire(article.nbPiecesML), article.secable ? QStringLiteral("O") : QString()},
                       ligne.cle});
    }
    return lignes;
}

std::unique_ptr<TFicheEdition> TFicheQuincaillerieListe::CreerEdition()
{
    return std::make_unique<TFicheQuincaillerie>(this);
}

Enregistrement TFicheQuincaillerieListe::SupprimerEnregistrement(const QString& cle)
{
    return CatalogueQuincaillerie::Supprimer(lues.value(cle));
}

void TFicheQuincaillerieListe::btnExporterClick()
{
    Transfert::Exporter(this, {ui->pbExportation, ui->imgYes}, QStringLiteral("export_quincaillerie.csv"),
                        CatalogueQuincaillerie::EnteteExportation(), &CatalogueQuincaillerie::LignesExportation);
}

void TFicheQuincaillerieListe::btnImporterClick()
{
    const Indicateurs indicateurs{ui->pbImporter, ui->imgYesImport};
    indicateurs.Preparer();
    const std::optional<QByteArray> octets = Transfert::LireFichier(
        this, QStringLiteral("Sélection du fichier à exporter"), QStringLiteral("import_quincaillerie.csv"));
    if (!octets)
        return;
    const auto confirmer = [this](const CatalogueQuincaillerie::Examen& examen) {
        return Messages::QuestionPerte(QuestionImportation(examen), this);
    };
    CatalogueQuincaillerie::Importation importation;
    QString erreur;
    {
        // The bar moves, and the cursor waits, only once the question is answered.
        std::optional<Progression> progression;
        try {
            importation = CatalogueQuincaillerie::Importer(LireLignesCsv(*octets), confirmer,
                                                          [&](int faites, int total) {
                                                              if (!progression)
                                                                  progression.emplace(ui->pbImporter, total);
                                                              progression->Avancer(faites);
                                                          });
            if (progression)
                progression->Terminer();
        } catch (const std::exception& echec) {
            erreur = TexteErreur(echec);
        }
    }
    // A failed import has left the catalogue as it was: so does the list.
    if (!erreur.isEmpty()) {
        Messages::Erreur(erreur, this);
        return;
    }
    const QString refus = importation.examen.Refus();
    if (!refus.isEmpty()) {
        Messages::Information(QStringLiteral("Importation - %1 Le catalogue n'a pas été modifié.").arg(refus)
                                  + Transfert::LignesEcartees(importation.examen.ecartees),
                              this);
        return;
    }
    if (!importation.faite) {
        indicateurs.Preparer();
        return;
    }
    ui->imgYesImport->show();
    Remplir();
}
