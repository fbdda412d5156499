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

// "V1 « Vis bis »", "« Vis »": an entry as the summary names it.
QString NomEntree(const CatalogueQuincaillerie::Article& article)
{
    const QString libelles = QStringList{article.libelle, article.libelle2}.join(QLatin1Char(' ')).trimmed();
    const QString nom = QStringLiteral("« %1 »").arg(libelles);
    return article.codeExport.isEmpty() ? nom : article.codeExport + QLatin1Char(' ') + nom;
}

// A changed entry, with its sale price before and after.
QString Modifiee(const CatalogueQuincaillerie::EntreeModifiee& modifiee)
{
    const QString avant = FormatMonetaire(modifiee.stockee.article.tarifVente);
    const QString apres = FormatMonetaire(modifiee.article.tarifVente);
    return NomEntree(modifiee.article) + QStringLiteral(" : prix de vente ")
           + (avant == apres ? apres + QStringLiteral(" (inchangé)") : avant + QStringLiteral(" → ") + apres);
}

// A removed entry, with the line set aside that named it.
QString Supprimee(const CatalogueQuincaillerie::EntreeSupprimee& supprimee)
{
    return NomEntree(supprimee.stockee.article)
           + (supprimee.ligneEcartee > 0 ? QStringLiteral(" : sa ligne %1 est écartée").arg(supprimee.ligneEcartee)
                                         : QString());
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
    texte += QStringLiteral("\n\nLe catalogue compte aujourd'hui %1 ; avec ce fichier : %2, %3, %4, %5.")
                 .arg(Nombre(examen.nombreActuel, QStringLiteral("entrée"), QStringLiteral("entrées")),
                      Nombre(examen.nouvelles.size(), QStringLiteral("nouvelle"), QStringLiteral("nouvelles")),
                      Nombre(examen.modifiees.size(), QStringLiteral("modifiée"), QStringLiteral("modifiées")),
                      Nombre(examen.inchangees, QStringLiteral("inchangée"), QStringLiteral("inchangées")),
                      Nombre(examen.supprimees.size(), QStringLiteral("supprimée"), QStringLiteral("supprimées")));
    if (!examen.modifiees.isEmpty())
        texte += QStringLiteral("\nModifiées :") + Transfert::PremieresDe(examen.modifiees, Modifiee);
    if (!examen.supprimees.isEmpty())
        texte += QStringLiteral("\nSupprimées, absentes du fichier :")
                 + Transfert::PremieresDe(examen.supprimees, Supprimee);
    if (!examen.ecartees.isEmpty())
        texte += QStringLiteral("\nUne entrée dont la ligne est écartée est supprimée du catalogue, sauf si vous "
                                "corrigez le fichier.");
    return texte + QStringLiteral("\nVoulez-vous mettre à jour le catalogue ?");
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
    if (importation.examen.RienAEcrire()) {
        Messages::Information(QStringLiteral("Importation - Le catalogue est déjà celui du fichier (%1) : il n'a "
                                             "pas été modifié.")
                                      .arg(Nombre(importation.examen.inchangees, QStringLiteral("entrée"),
                                                  QStringLiteral("entrées")))
                                  + Transfert::LignesEcartees(importation.examen.ecartees),
                              this);
        return;
    }
    if (importation.modifieAilleurs) {
        Messages::Information(QStringLiteral("Importation - Le catalogue a été modifié par un autre utilisateur "
                                             "depuis l'examen du fichier : il n'a pas été modifié. Importez de "
                                             "nouveau le fichier pour voir ce qui changera."),
                              this);
        Remplir();
        return;
    }
    if (!importation.faite) {
        indicateurs.Preparer();
        return;
    }
    ui->imgYesImport->show();
    Remplir();
}
