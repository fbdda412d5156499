#include "ui/admin/FicheTarifListe.h"

#include "data/ImportTarifs.h"
#include "data/Poses.h"
#include "data/Poseurs.h"
#include "model/Formats.h"
#include "model/LigneCsv.h"
#include "ui/admin/FicheCopieTarifs.h"
#include "ui/common/Clavier.h"
#include "ui/common/DelegateTexte.h"
#include "ui/common/Fenetre.h"
#include "ui/common/ListeRapport.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/SaisieEnCours.h"
#include "ui/common/Transfert.h"

#include "ui_FicheTarifListe.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {

enum Colonne { kCategorie = 0, kPrix = 1 };


QTableWidgetItem* Cellule(const QString& texte, Qt::ItemFlags drapeaux, Qt::Alignment alignement)
{
    auto* cellule = new QTableWidgetItem(texte);
    cellule->setFlags(drapeaux);
    cellule->setTextAlignment(alignement | Qt::AlignVCenter);
    return cellule;
}

QString ResumeImportation(const ImportTarifs::Bilan& bilan)
{
    return QStringLiteral("%1 tarifs seront créés, %2 modifiés, %3 lignes ignorées")
               .arg(bilan.crees)
               .arg(bilan.modifies)
               .arg(bilan.rejets.size())
           + Transfert::LignesEcartees(bilan.rejets);
}

// "pose « Dépose », <Tarif général de vente>", "pose « Dépose », poseur « Xavier »".
QString NomGrille(const ImportTarifs::Grille& grille)
{
    const QString poseur = grille.choix.idPoseur == Tarifs::kPoseurGeneral
                               ? grille.poseur
                               : QStringLiteral("poseur « %1 »").arg(grille.poseur);
    return QStringLiteral("pose « %1 », %2").arg(grille.pose, poseur);
}

// The grids the file writes in, and whether the one on screen is among them.
QString GrillesImportees(const QVector<ImportTarifs::Grille>& grilles, const ImportTarifs::Grille& affichee)
{
    QStringList noms;
    bool vue = false;
    for (const ImportTarifs::Grille& grille : grilles) {
        const bool estAffichee = grille.choix == affichee.choix;
        vue = vue || estAffichee;
        noms << NomGrille(grille) + (estAffichee ? QStringLiteral(" (la grille affichée)") : QString());
    }
    QString texte = (grilles.size() == 1 ? QStringLiteral("Grille modifiée : ") : QStringLiteral("Grilles modifiées : "))
                    + noms.join(QStringLiteral(" ; "));
    if (!vue)
        texte += (grilles.size() == 1 ? QStringLiteral(" ; ce n'est pas la grille affichée (%1)")
                                      : QStringLiteral(" ; aucune n'est la grille affichée (%1)"))
                     .arg(NomGrille(affichee));
    return texte + QLatin1Char('.');
}

// The first prices written, old and new, as the grid shows them.
QString PrixChanges(const ImportTarifs::Bilan& bilan)
{
    return QStringLiteral("\nPrix changés :")
           + Transfert::PremieresDe(bilan.changements, [&](const ImportTarifs::Changement& changement) {
                 QString nom = QStringLiteral("« %1 »").arg(changement.categorie);
                 if (bilan.grilles.size() > 1)
                     nom += QStringLiteral(", ") + NomGrille(bilan.grilles[changement.grille]);
                 return QStringLiteral("%1 : %2 → %3")
                     .arg(nom,
                          changement.ancien ? FormatGeneral(*changement.ancien) : QStringLiteral("aucun prix"),
                          FormatGeneral(changement.nouveau));
             });
}

} // namespace

TFicheTarifListe::TFicheTarifListe(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFicheTarifListe>())
{
    ui->setupUi(this);
    QTableWidget* grille = ui->sgListe;
    grille->setColumnCount(2);
    grille->setHorizontalHeaderLabels({QStringLiteral("Catégorie"), QStringLiteral("Prix")});
    grille->setColumnWidth(kCategorie, 755);
    grille->setColumnWidth(kPrix, 64);
    grille->model()->setHeaderData(kPrix, Qt::Horizontal, int(Qt::AlignRight | Qt::AlignVCenter),
                                   Qt::TextAlignmentRole);
    grille->horizontalHeader()->setHighlightSections(false);
    // The categories take the room the window gives; the user may widen both columns.
    EtendreColonnes(grille, {kCategorie});
    new TDelegateTexte(grille);
    EffacerParSuppr(grille);
    grille->verticalHeader()->hide();
    grille->verticalHeader()->setDefaultSectionSize(grille->fontMetrics().height() + 8);
    grille->setSelectionMode(QAbstractItemView::SingleSelection);
    grille->setSelectionBehavior(QAbstractItemView::SelectItems);

    Indicateurs{ui->pbExportation, ui->imgYes}.Installer();
    for (QPushButton* bouton : {ui->btnCopieTarif, ui->btnExporter, ui->btnImporter, ui->btnValider, ui->btnFermer})
        EntreeSurBouton(bouton);
    Connecter(ui->btnValider, &QPushButton::clicked, this, &TFicheTarifListe::btnValiderClick);
    Connecter(ui->btnExporter, &QPushButton::clicked, this, &TFicheTarifListe::btnExporterClick);
    Connecter(ui->btnImporter, &QPushButton::clicked, this, &TFicheTarifListe::btnImporterClick);
    Connecter(ui->btnCopieTarif, &QPushButton::clicked, this, &TFicheTarifListe::btnCopieTarifClick);
    Connecter(ui->btnFermer, &QPushButton::clicked, this, &QDialog::reject);
    // Only prices can be reached: the keyboard moves from price to price.
    connect(grille, &QTableWidget::currentCellChanged, this, &TFicheTarifListe::sgListeCelluleChange);

    RemplirListes();
    ChargerGrille();
    Connecter(ui->cmbPose, &QComboBox::currentIndexChanged, this, &TFicheTarifListe::cmbPoseChange);
    Connecter(ui->cmbPoseur, &QComboBox::currentIndexChanged, this, &TFicheTarifListe::cmbPoseurChange);
    grille->setFocus();
    PreparerFenetre(this);
}

TFicheTarifListe::~TFicheTarifListe() = default;

void TFicheTarifListe::RemplirListes()
{
    for (const Entree& pose : Poses::Libelles())
        AjouterEntree(ui->cmbPose, pose.libelle, pose.cle);
    ui->cmbPose->setCurrentIndex(ui->cmbPose->count() > 0 ? 0 : -1);

    AjouterEntree(ui->cmbPoseur, Tarifs::kNomPoseurGeneral, Tarifs::kPoseurGeneral);
    for (const Poseurs::Poseur& poseur : Poseurs::Lister())
        AjouterEntree(ui->cmbPoseur, poseur.nom, poseur.cle);
    SelectionnerCode(ui->cmbPoseur, Tarifs::kPoseurGeneral);
}

void TFicheTarifListe::ChargerGrille()
{
    choix = {GetCodeSelection(ui->cmbPose), GetCodeSelection(ui->cmbPoseur)};
    nomPose = ui->cmbPose->currentText();
    nomPoseur = ui->cmbPoseur->currentText();

    QTableWidget* grille = ui->sgListe;
    const QSignalBlocker silence(grille);
    grille->clearContents();
    lue = Tarifs::Grille(choix);
    grille->setRowCount(lue.size());
    for (int i = 0; i < lue.size(); ++i) {
        const Tarifs::LigneGrille& ligne = lue[i];
        QTableWidgetItem* categorie = Cellule(ligne.nom, Qt::ItemIsEnabled, Qt::AlignLeft);
        SetCode(categorie, ligne.idCategorie);
        grille->setItem(i, kCategorie, categorie);
        QTableWidgetItem* prix = Cellule(Tarifs::TextePrix(ligne),
                                         Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable, Qt::AlignRight);
        if (!ligne.idTarif.isEmpty())
            SetCode(prix, ligne.idTarif);
        grille->setItem(i, kPrix, prix);
    }
}

QStringList TFicheTarifListe::Prix() const
{
    ValiderSaisieEnCours(ui->sgListe);
    QStringList prix;
    prix.reserve(ui->sgListe->rowCount());
    for (int i = 0; i < ui->sgListe->rowCount(); ++i)
        prix.append(ui->sgListe->item(i, kPrix)->text());
    return prix;
}

TFicheTarifListe::Sauvegarde TFicheTarifListe::Sauvegarder()
{
    Tarifs::EnregistrementGrille enregistrement;
    if (!Proteger(this, [&] { enregistrement = Tarifs::EnregistrerGrille(choix, lue, Prix()); }))
        return Sauvegarde::Echouee;
    if (enregistrement.refus) {
        MontrerRefus(*enregistrement.refus);
        return Sauvegarde::Refusee;
    }
    if (!enregistrement.laissees.isEmpty()) {
        MontrerLaissees(enregistrement.laissees);
        return Sauvegarde::Laissee;
    }
    return Sauvegarde::Faite;
}

bool TFicheTarifListe::SauvegarderEtRecharger()
{
    if (Sauvegarder() != Sauvegarde::Faite)
        return false;
    const int ligne = ui->sgListe->currentRow();
    ChargerGrille();
    if (ligne >= 0 && ligne < ui->sgListe->rowCount())
        ui->sgListe->setCurrentCell(ligne, kPrix);
    return true;
}

void TFicheTarifListe::MontrerRefus(const Tarifs::RefusGrille& refus)
{
    if (refus.motif == Tarifs::RefusGrille::Motif::SansPose) {
        Messages::Information(QStringLiteral("Aucune pose n'existe : les prix saisis ne peuvent pas être "
                                             "enregistrés. Créez d'abord une pose, ou videz les prix saisis."),
                              this);
        return;
    }
    const QString categorie = ui->sgListe->item(refus.ligne, kCategorie)->text();
    const QString prix = ui->sgListe->item(refus.ligne, kPrix)->text();
    const QString defaut = refus.motif == Tarifs::RefusGrille::Motif::PrixHorsLimites
                               ? QStringLiteral("dépasse mille milliards")
                               : QStringLiteral("n'est pas un nombre");
    Messages::Information(QStringLiteral("Le prix « %1 » de la catégorie « %2 » %3 : "
                                         "corrigez-le ou videz la case. Aucun prix n'a été enregistré.")
                              .arg(prix, categorie, defaut),
                          this);
    SelectionnerPrix(refus.ligne);
}

void TFicheTarifListe::MontrerLaissees(const QVector<int>& lignes)
{
    const QStringList saisis = Prix();
    // The grid is read again for the choice it was saved under.
    RetablirChoix();
    ChargerGrille();
    QString texte = lignes.size() == 1
                        ? QStringLiteral("Ce prix a été changé par un autre utilisateur depuis l'ouverture de la "
                                         "grille : il garde sa valeur, que la grille montre maintenant. Les autres "
                                         "prix saisis sont enregistrés.")
                        : QStringLiteral("Ces prix ont été changés par un autre utilisateur depuis l'ouverture de la "
                                         "grille : ils gardent sa valeur, que la grille montre maintenant. Les autres "
                                         "prix saisis sont enregistrés.");
    for (const int ligne : lignes) {
        const QString maintenant = ui->sgListe->item(ligne, kPrix)->text();
        texte += QStringLiteral("\n« %1 » : %2 (vous aviez saisi « %3 »)")
                     .arg(ui->sgListe->item(ligne, kCategorie)->text(),
                          maintenant.isEmpty() ? QStringLiteral("aucun prix") : maintenant, saisis[ligne]);
    }
    Messages::Information(texte, this);
    SelectionnerPrix(lignes.first());
}

void TFicheTarifListe::SelectionnerPrix(int ligne)
{
    ui->sgListe->setCurrentCell(ligne, kPrix);
    ui->sgListe->scrollToItem(ui->sgListe->item(ligne, kPrix));
    ui->sgListe->setFocus(Qt::OtherFocusReason);
}

void TFicheTarifListe::cmbPoseChange()
{
    ChoixChange();
}

void TFicheTarifListe::cmbPoseurChange()
{
    ChoixChange();
}

void TFicheTarifListe::ChoixChange()
{
    // The grid on screen belongs to the previous choice: it is saved under
    // that one before the new choice is loaded.
    switch (Sauvegarder()) {
    case Sauvegarde::Faite:
        ChargerGrille();
        return;
    case Sauvegarde::Laissee: // already shown under the previous choice
        return;
    case Sauvegarde::Refusee:
    case Sauvegarde::Echouee:
        RetablirChoix();
        return;
    }
}

void TFicheTarifListe::RetablirChoix()
{
    const QSignalBlocker silencePose(ui->cmbPose);
    const QSignalBlocker silencePoseur(ui->cmbPoseur);
    SelectionnerCode(ui->cmbPose, choix.idPose);
    SelectionnerCode(ui->cmbPoseur, choix.idPoseur);
}

void TFicheTarifListe::btnValiderClick()
{
    SauvegarderEtRecharger();
}

void TFicheTarifListe::btnExporterClick()
{
    if (!SauvegarderEtRecharger())
        return;
    Transfert::Exporter(this, {ui->pbExportation, ui->imgYes}, QStringLiteral("export_tarifs.csv"),
                        Tarifs::EnteteExportation(),
                        [this] { return Tarifs::LignesExportation(choix, nomPose, nomPoseur); });
}

void TFicheTarifListe::btnImporterClick()
{
    if (!SauvegarderEtRecharger())
        return;
    const std::optional<QByteArray> octets = Transfert::LireFichier(
        this, QStringLiteral("Sélection du fichier à importer"), QStringLiteral("import_tarifs.csv"));
    if (!octets)
        return;
    const ImportTarifs::Grille affichee{choix, nomPose, nomPoseur};
    const auto confirmer = [&](const ImportTarifs::Bilan& bilan) {
        return Messages::QuestionPerte(GrillesImportees(bilan.grilles, affichee) + QLatin1Char('\n')
                                           + ResumeImportation(bilan) + PrixChanges(bilan)
                                           + QStringLiteral("\n\nVoulez-vous importer ces tarifs ?"),
                                       this);
    };
    const ImportTarifs::Bilan bilan = ImportTarifs::Importer(LireLignesCsv(*octets), confirmer);
    if (bilan.RienAEcrire() && !bilan.importe) {
        Messages::Information(ResumeImportation(bilan) + QStringLiteral("\n\nAucun tarif n'est à importer."), this);
        return;
    }
    if (!bilan.importe)
        return;
    ChargerGrille();
    Messages::Information(
        QStringLiteral("Importation terminée : %1 tarifs créés, %2 modifiés.").arg(bilan.crees).arg(bilan.modifies)
            + Transfert::LignesEcartees(bilan.laisses),
        this);
}

void TFicheTarifListe::btnCopieTarifClick()
{
    // What the grid shows is what gets copied.
    if (!SauvegarderEtRecharger())
        return;
    TFicheCopieTarifs copie(this, choix.idPoseur, choix.idPose);
    copie.exec();
}

void TFicheTarifListe::sgListeCelluleChange(int ligne, int colonne)
{
    if (ligne >= 0 && colonne == kCategorie)
        ui->sgListe->setCurrentCell(ligne, kPrix);
}

void TFicheTarifListe::done(int resultat)
{
    switch (Sauvegarder()) {
    case Sauvegarde::Faite:
        break;
    case Sauvegarde::Refusee:
    case Sauvegarde::Laissee:
        return;
    case Sauvegarde::Echouee:
        if (!Messages::QuestionPerte(QStringLiteral("Les tarifs n'ont pas pu être enregistrés. "
                                               "Fermer la fenêtre sans les enregistrer ?"),
                                this))
            return;
        break;
    }
    QDialog::done(resultat);
}
