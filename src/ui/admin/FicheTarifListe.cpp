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

// The rejected lines an import summary quotes before "…".
constexpr int kRejetsMontres = 8;

QTableWidgetItem* Cellule(const QString& texte, Qt::ItemFlags drapeaux, Qt::Alignment alignement)
{
    auto* cellule = new QTableWidgetItem(texte);
    cellule->setFlags(drapeaux);
    cellule->setTextAlignment(alignement | Qt::AlignVCenter);
    return cellule;
}

QString ResumeImportation(const ImportTarifs::Bilan& bilan)
{
    QString texte = QStringLiteral("%1 tarifs seront créés, %2 modifiés, %3 lignes ignorées")
                        .arg(bilan.crees)
                        .arg(bilan.modifies)
                        .arg(bilan.rejets.size());
    for (int i = 0; i < bilan.rejets.size() && i < kRejetsMontres; ++i)
        texte += QStringLiteral("\nLigne %1 : %2").arg(bilan.rejets[i].ligne).arg(bilan.rejets[i].raison);
    if (bilan.rejets.size() > kRejetsMontres)
        texte += QStringLiteral("\n…");
    return texte;
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
    const QVector<Tarifs::LigneGrille> lignes = Tarifs::Grille(choix);
    grille->setRowCount(lignes.size());
    for (int i = 0; i < lignes.size(); ++i) {
        const Tarifs::LigneGrille& ligne = lignes[i];
        QTableWidgetItem* categorie = Cellule(ligne.nom, Qt::ItemIsEnabled, Qt::AlignLeft);
        SetCode(categorie, ligne.idCategorie);
        grille->setItem(i, kCategorie, categorie);
        QTableWidgetItem* prix =
            Cellule(ligne.prix ? FormatGeneral(*ligne.prix) : QString(),
                    Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable, Qt::AlignRight);
        if (!ligne.idTarif.isEmpty())
            SetCode(prix, ligne.idTarif);
        grille->setItem(i, kPrix, prix);
    }
}

QVector<Tarifs::PrixSaisi> TFicheTarifListe::Saisies() const
{
    ValiderSaisieEnCours(ui->sgListe);
    QVector<Tarifs::PrixSaisi> saisies;
    for (int i = 0; i < ui->sgListe->rowCount(); ++i) {
        const QTableWidgetItem* prix = ui->sgListe->item(i, kPrix);
        saisies.append({ACode(prix) ? GetCode(prix) : QString(), GetCode(ui->sgListe->item(i, kCategorie)),
                        prix->text()});
    }
    return saisies;
}

TFicheTarifListe::Sauvegarde TFicheTarifListe::Sauvegarder()
{
    std::optional<Tarifs::RefusGrille> refus;
    if (!Proteger(this, [&] { refus = Tarifs::EnregistrerGrille(choix, Saisies()); }))
        return Sauvegarde::Echouee;
    if (!refus)
        return Sauvegarde::Faite;
    MontrerRefus(*refus);
    return Sauvegarde::Refusee;
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
    Messages::Information(QStringLiteral("Le prix « %1 » de la catégorie « %2 » n'est pas un nombre : "
                                         "corrigez-le ou videz la case. Aucun prix n'a été enregistré.")
                              .arg(prix, categorie),
                          this);
    SelectionnerPrix(refus.ligne);
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
    if (Sauvegarder() != Sauvegarde::Faite) {
        RetablirChoix();
        return;
    }
    ChargerGrille();
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
    const QVector<QStringList> lignes = LireLignesCsv(*octets, ImportTarifs::kNombreChamps);
    const ImportTarifs::Bilan bilan = ImportTarifs::Examiner(lignes);
    if (bilan.RienAEcrire()) {
        Messages::Information(ResumeImportation(bilan) + QStringLiteral("\n\nAucun tarif n'est à importer."), this);
        return;
    }
    if (!Messages::Question(ResumeImportation(bilan) + QStringLiteral("\n\nVoulez-vous importer ces tarifs ?"),
                            this))
        return;
    const ImportTarifs::Bilan fait = ImportTarifs::Importer(lignes);
    ChargerGrille();
    Messages::Information(
        QStringLiteral("Importation terminée : %1 tarifs créés, %2 modifiés.").arg(fait.crees).arg(fait.modifies),
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
        return;
    case Sauvegarde::Echouee:
        if (!Messages::Question(QStringLiteral("Les tarifs n'ont pas pu être enregistrés. "
                                               "Fermer la fenêtre sans les enregistrer ?"),
                                this))
            return;
        break;
    }
    QDialog::done(resultat);
}
