#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui_FicheQuincaillerieDetail.h"

#include "data/RechercheQuincaillerie.h"
#include "model/Formats.h"
#include "model/Quincaillerie.h"
#include "pricing/Totaux.h"
#include "ui/choice/FicheQuincaillerieChoix.h"
#include "ui/common/DelegateMarquage.h"
#include "ui/common/Fenetre.h"
#include "ui/common/ListeRapport.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/SaisieEnCours.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

enum Colonne { kLibelle, kLibelle2, kTarifVente, kQuantite, kNombreColonnes };
constexpr int kLargeurColonneNombre = 100;

// A cell shown only: it can be neither selected nor edited.
QTableWidgetItem* CelluleAffichee(const QString& texte, Qt::Alignment alignement = Qt::AlignLeft)
{
    auto* cellule = new QTableWidgetItem(texte);
    cellule->setFlags(Qt::ItemIsEnabled);
    cellule->setTextAlignment(alignement | Qt::AlignVCenter);
    return cellule;
}

QString MessageQuantiteRefusee(const TQuincaillerie& entree, RefusMontant refus)
{
    QString message = QStringLiteral("Veuillez saisir une quantité correcte pour « %1 ».").arg(entree.GetLibelle());
    if (refus == RefusMontant::HorsLimites)
        message += QStringLiteral("\nLa quantité doit rester inférieure à mille milliards en valeur absolue.");
    return message + QStringLiteral("\nLa quantité reste %1.").arg(FormatMonetaire(entree.GetQuantite()));
}

QTableWidgetItem* CelluleQuantite(const QString& texte)
{
    auto* cellule = new QTableWidgetItem(texte);
    cellule->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    cellule->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cellule;
}

} // namespace

TFicheQuincaillerieDetail::TFicheQuincaillerieDetail(QWidget* parent)
    : TFicheActivable(parent)
    , ui(std::make_unique<Ui::TFicheQuincaillerieDetail>())
{
    ui->setupUi(this);
    QHeaderView* entete = ui->sgListe->horizontalHeader();
    EtendreColonnes(ui->sgListe, {kLibelle, kLibelle2});
    entete->resizeSection(kTarifVente, kLargeurColonneNombre);
    entete->resizeSection(kQuantite, kLargeurColonneNombre);
    entete->setSectionsClickable(false);
    ui->sgListe->model()->setHeaderData(kTarifVente, Qt::Horizontal, int(Qt::AlignRight | Qt::AlignVCenter),
                                        Qt::TextAlignmentRole);
    ui->sgListe->model()->setHeaderData(kQuantite, Qt::Horizontal, int(Qt::AlignRight | Qt::AlignVCenter),
                                        Qt::TextAlignmentRole);
    new TDelegateMarquage(ui->sgListe, [this](const QVector<int>& lignes) { return LignesEnEcart(lignes); });

    Connecter(ui->btnRecalculer, &QPushButton::clicked, this, &TFicheQuincaillerieDetail::btnRecalculerClick);
    Connecter(ui->btnAjouter, &QPushButton::clicked, this, &TFicheQuincaillerieDetail::btnAjouterClick);
    Connecter(ui->btnSupprimer, &QPushButton::clicked, this, &TFicheQuincaillerieDetail::btnSupprimerClick);
    Connecter(ui->btnFermer, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->sgListe, &QTableWidget::currentCellChanged, this,
            [this](int ligne, int colonne) { sgListeSelectCell(ligne, colonne); });
    connect(ui->sgListe, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* cellule) {
        Proteger(this, [this, cellule] { sgListeSetEditText(cellule); });
    });
    AfficherListe();
    ui->sgListe->setFocus();
    PreparerFenetre(this);
}

TFicheQuincaillerieDetail::~TFicheQuincaillerieDetail() = default;

void TFicheQuincaillerieDetail::SetMenuiseries(const MenuiseriesConcernees& concernees)
{
    menuiseries = concernees;
}

void TFicheQuincaillerieDetail::SetQuincailleries(const TQuincailleries& liste)
{
    quincailleries.CopierDepuis(liste);
}

void TFicheQuincaillerieDetail::FormActivate()
{
    // What was typed before the window lost the focus is kept, not
    // replaced by the refreshed grid.
    EnregistrerQuantites();
    AfficherListe();
    AfficherSommes();
}

SommesDimensions TFicheQuincaillerieDetail::AfficherSommes()
{
    const SommesDimensions sommes = SommerDimensions(menuiseries);
    ui->lblHauteur->setText(QString::number(sommes.hauteurs));
    ui->lblLargeur->setText(QString::number(sommes.largeurs));
    // A dimension that cannot be read counts 0 and is reported once: every
    // action goes on with what can be computed.
    QStringList nouveaux;
    for (const QString& illisible : sommes.illisibles) {
        if (!illisiblesSignales.contains(illisible))
            nouveaux << illisible;
    }
    if (!nouveaux.isEmpty()) {
        illisiblesSignales << nouveaux;
        Messages::Erreur(nouveaux.join(QLatin1Char('\n')), this);
    }
    return sommes;
}

void TFicheQuincaillerieDetail::sgListeSetEditText(QTableWidgetItem* cellule)
{
    // A quantity typed counts in the totals as soon as its cell is left; the
    // cell then shows the quantity the entry holds, taken or kept.
    if (remplissage || cellule->column() != kQuantite)
        return;
    const int ligne = cellule->row();
    const QuantiteSaisie saisie{GetCode(ui->sgListe->model()->index(ligne, kLibelle)), cellule->text()};
    const RefusMontant refus = SaisirQuantite(quincailleries, ligne, saisie);
    const TQuincaillerie* entree = EntreeDeLigne(quincailleries, ligne, saisie.id);
    if (!entree)
        return;
    const QString quantite = FormatMonetaire(entree->GetQuantite());
    {
        const QScopedValueRollback garde(remplissage, true);
        cellule->setText(quantite);
    }
    // An editor left open (a commit before an action) shows it too: its
    // text, committed again when it closes, changes nothing.
    if (auto* editeur = qobject_cast<QLineEdit*>(ui->sgListe->indexWidget(ui->sgListe->indexFromItem(cellule))))
        editeur->setText(quantite);
    AfficherTotaux();
    if (refus == RefusMontant::Aucun)
        return;
    // Said once the grid has closed its editor: a box opened while the grid
    // commits would leave no control with the focus.
    refusASignaler = MessageQuantiteRefusee(*entree, refus);
    QTimer::singleShot(0, this, [this] { Proteger(this, [this] { SignalerRefus(); }); });
}

void TFicheQuincaillerieDetail::SignalerRefus()
{
    if (!refusASignaler.isEmpty())
        Messages::Information(std::exchange(refusASignaler, QString()), this);
}

void TFicheQuincaillerieDetail::AfficherListe()
{
    const QScopedValueRollback garde(remplissage, true);
    QTableWidget* grille = ui->sgListe;
    const int ligneCourante = grille->currentRow();
    const int nombre = quincailleries.Nombre();
    grille->clearContents();
    // An empty list still shows one empty row.
    grille->setRowCount(std::max(nombre, 1));
    for (int ligne = 0; ligne < nombre; ++ligne) {
        const TQuincaillerie& entree = quincailleries[ligne];
        auto* premiere = CelluleAffichee(entree.GetLibelle());
        SetCode(premiere, entree.GetId());
        grille->setItem(ligne, kLibelle, premiere);
        grille->setItem(ligne, kLibelle2, CelluleAffichee(entree.GetLibelle2()));
        grille->setItem(ligne, kTarifVente, CelluleAffichee(FormatMonetaire(entree.GetTarifVente()), Qt::AlignRight));
        grille->setItem(ligne, kQuantite, CelluleQuantite(FormatMonetaire(entree.GetQuantite())));
    }
    if (nombre > 0)
        grille->setCurrentCell(std::clamp(ligneCourante, 0, nombre - 1), kQuantite);
    AfficherTotaux();
}

void TFicheQuincaillerieDetail::AfficherTotaux()
{
    const Montants montants = MontantsQuincaillerie(quincailleries);
    ui->lblTotalAchat->setText(FormatMonetaire(montants.achat));
    ui->lblTotalHt->setText(FormatMonetaire(montants.ht));
    ui->lblTotalTva->setText(FormatMonetaire(montants.tva));
    ui->lblTotalTtc->setText(FormatMonetaire(montants.ttc));
}

void TFicheQuincaillerieDetail::sgListeSelectCell(int ligne, int colonne)
{
    // Only quantities can be selected: the cursor stays in their column.
    if (ligne >= 0 && colonne != kQuantite)
        ui->sgListe->setCurrentCell(ligne, kQuantite);
}

void TFicheQuincaillerieDetail::EnregistrerQuantites()
{
    // An edit still open (the window closing by its close box, a shortcut)
    // is taken as the user left it; every other cell was taken when left.
    // A quantity refused is said before the action goes on.
    ValiderSaisieEnCours(ui->sgListe);
    SignalerRefus();
}

void TFicheQuincaillerieDetail::btnRecalculerClick()
{
    EnregistrerQuantites();
    const ChoixCotes cotes = ui->gbCalcul->Cotes();
    if (cotes.AucunCote()) {
        // The quantities typed are stored: the grid and totals show them as such.
        AfficherListe();
        Messages::Information(QStringLiteral("Vous devez sélectionner au moins une hauteur ou une largeur "
                                             "avant de recalculer les quantités."),
                              this);
        return;
    }
    // The sums are read again: quantities never follow sums that could not be read.
    const SommesDimensions sommes = AfficherSommes();
    RecalculerQuantites(quincailleries, cotes.Compter(), sommes);
    AfficherListe();
}

void TFicheQuincaillerieDetail::btnAjouterClick()
{
    EnregistrerQuantites();
    const SommesDimensions sommes = AfficherSommes();
    QString id;
    Comptage comptage;
    {
        TFicheQuincaillerieChoix choix(this);
        choix.exec();
        id = choix.GetIdQuincaillerie();
        comptage = {choix.GetNbHauteurs(), choix.GetNbLargeurs()};
    }
    const bool ajoutee = !id.isEmpty() && AjouterDuCatalogue(quincailleries, id, comptage, sommes);
    AfficherListe();
    if (ajoutee)
        ui->sgListe->setCurrentCell(quincailleries.Nombre() - 1, kQuantite);
}

void TFicheQuincaillerieDetail::btnSupprimerClick()
{
    EnregistrerQuantites();
    const int ligne = ui->sgListe->currentRow();
    if (ligne >= 0) {
        const QString id = GetCode(ui->sgListe->model()->index(ligne, kLibelle));
        quincailleries.Retirer(EntreeDeLigne(quincailleries, ligne, id));
    }
    AfficherListe();
}

QVector<bool> TFicheQuincaillerieDetail::LignesEnEcart(const QVector<int>& lignes) const
{
    QVector<const TQuincaillerie*> entrees;
    for (const int ligne : lignes) {
        if (ligne < 0 || ligne >= quincailleries.Nombre())
            break;
        entrees << &quincailleries[ligne];
    }
    return Quincailleries::PrixModifies(entrees);
}

void TFicheQuincaillerieDetail::done(int resultat)
{
    Proteger(this, [this] { EnregistrerQuantites(); });
    QDialog::done(resultat);
}
