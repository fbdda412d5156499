#include "ui/choice/FicheTarifChoix.h"
#include "ui_FicheTarifChoix.h"

#include "data/Categories.h"
#include "data/Contraintes.h"
#include "data/Tarifs.h"
#include "data/TarifsAutomatiques.h"
#include "model/Formats.h"
#include "model/Menuiserie.h"
#include "ui/choice/SuiviClicsListe.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"

#include <QHeaderView>
#include <stdexcept>

namespace {

constexpr int kColonneTarif = 0;
constexpr int kColonnePrix = 1;
constexpr int kLargeurColonnePrix = 110;

// A dimension of the item when it has one; `valeur` is left alone otherwise.
void LireDimension(const TProprietes& proprietes, const QString& nom, int& valeur)
{
    const TPropriete* propriete = proprietes.Trouver(nom);
    if (!propriete)
        return;
    const std::optional<int> lue = LireEntier(propriete->GetValeur());
    if (!lue) {
        const QString texte = QStringLiteral("La propriété %1 de la menuiserie vaut « %2 », "
                                             "qui n'est pas un nombre entier.")
                                  .arg(nom, propriete->GetValeur());
        throw std::runtime_error(texte.toStdString());
    }
    valeur = *lue;
}

} // namespace

TFicheTarifChoix::TFicheTarifChoix(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFicheTarifChoix>())
{
    ui->setupUi(this);
    QHeaderView* entete = ui->lvListe->header();
    entete->setStretchLastSection(false);
    entete->setSectionResizeMode(kColonneTarif, QHeaderView::Stretch);
    entete->setSectionResizeMode(kColonnePrix, QHeaderView::Fixed);
    entete->resizeSection(kColonnePrix, kLargeurColonnePrix);

    ConnecterClic(ui->cbSansFiltrage, this, &TFicheTarifChoix::cbSansFiltrageClick);
    connect(ui->btnFermer, &QPushButton::clicked, this, &QDialog::reject);
    auto* suivi = new SuiviClicsListe(ui->lvListe);
    const auto choisir = [this] { Proteger(this, [this] { lvListeDblClick(); }); };
    connect(suivi, &SuiviClicsListe::DoubleClic, this, choisir);
    connect(suivi, &SuiviClicsListe::Validation, this, choisir);
}

TFicheTarifChoix::~TFicheTarifChoix()
{
    ViderListe(ui->lvListe);
}

void TFicheTarifChoix::SetMenuiserie(const TMenuiserie* valeur)
{
    menuiserie = valeur;
}

void TFicheTarifChoix::done(int resultat)
{
    ViderListe(ui->lvListe);
    QDialog::done(resultat);
}

bool TFicheTarifChoix::event(QEvent* evenement)
{
    if (evenement->type() == QEvent::WindowActivate)
        Activer();
    else if (evenement->type() == QEvent::WindowDeactivate)
        activationFaite = false;
    return QDialog::event(evenement);
}

void TFicheTarifChoix::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    Activer();
}

void TFicheTarifChoix::hideEvent(QHideEvent* evenement)
{
    activationFaite = false;
    QDialog::hideEvent(evenement);
}

void TFicheTarifChoix::Activer()
{
    if (activationFaite || activationEnCours || !isVisible())
        return;
    activationFaite = true;
    activationEnCours = true;
    FormActivate();
    activationEnCours = false;
}

void TFicheTarifChoix::FormActivate()
{
    if (!menuiserie)
        return;
    try {
        AfficherDimensions();
        RemplirListe();
        derniereErreurActivation.clear();
    } catch (const std::exception& erreur) {
        const QString texte = TexteErreur(erreur);
        if (texte == derniereErreurActivation)
            return;
        derniereErreurActivation = texte;
        Messages::Erreur(texte, this);
    }
}

void TFicheTarifChoix::AfficherDimensions()
{
    const TProprietes& proprietes = menuiserie->GetProprietes();
    // Read all three before showing any: on an error the header keeps its values.
    int nouvelleHauteur = hauteur;
    int nouvelleLargeur = largeur;
    int nouveauVantail = vantail;
    LireDimension(proprietes, QStringLiteral("HAUTEUR"), nouvelleHauteur);
    LireDimension(proprietes, QStringLiteral("LARGEUR"), nouvelleLargeur);
    LireDimension(proprietes, QStringLiteral("VANTAIL"), nouveauVantail);
    hauteur = nouvelleHauteur;
    largeur = nouvelleLargeur;
    vantail = nouveauVantail;

    // Always from the height and the width, whatever a PERIMETRE property says.
    const qint64 perimetre = (qint64(hauteur) + largeur) * 2;
    ui->lblPerimetre->setText(QString::number(perimetre));
    ui->lblHauteur->setText(QString::number(hauteur));
    ui->lblLargeur->setText(QString::number(largeur));
    ui->lblVantail->setText(QString::number(vantail));
}

QHash<QString, QString> TFicheTarifChoix::LibellesCategories()
{
    const TPropriete* famille = ui->cbSansFiltrage->isChecked()
        ? nullptr
        : menuiserie->GetProprietes().Trouver(TarifsAutomatiques::kProprieteFamille);
    return Categories::NomsAvecType(famille ? std::optional(famille->GetValeur()) : std::nullopt);
}

void TFicheTarifChoix::RemplirListe()
{
    ViderListe(ui->lvListe);
    if (!menuiserie)
        return;
    const QVector<Tarifs::TarifGeneral> tarifs = Tarifs::Generaux(idPose);
    const QHash<QString, QString> libelles = LibellesCategories();
    const bool sansFiltrage = ui->cbSansFiltrage->isChecked();

    for (const Tarifs::TarifGeneral& tarif : tarifs) {
        // The constraints are tested for every tariff, also without filtering.
        const bool conforme = VerifierContraintes(tarif.idCategorie, *menuiserie);
        const QString libelleTarif = libelles.value(tarif.idCategorie);
        if ((!conforme && !sansFiltrage) || libelleTarif.isEmpty())
            continue;

        auto* ligne = new QTreeWidgetItem(ui->lvListe);
        ligne->setText(kColonneTarif, libelleTarif);
        if (tarif.prix)
            ligne->setText(kColonnePrix, FormatMonetaire(*tarif.prix));
        ligne->setTextAlignment(kColonnePrix, Qt::AlignRight | Qt::AlignVCenter);
        SetCode(ligne, tarif.cle);
        if (!idTarif.isEmpty() && tarif.cle == idTarif)
            ui->lvListe->setCurrentItem(ligne);
    }
}

void TFicheTarifChoix::cbSansFiltrageClick()
{
    RemplirListe();
}

void TFicheTarifChoix::lvListeDblClick()
{
    const QList<QTreeWidgetItem*> selection = ui->lvListe->selectedItems();
    if (selection.isEmpty()) {
        Messages::Information(QStringLiteral("Veuillez sélectionner un tarif"), this);
        return;
    }
    const QTreeWidgetItem* ligne = selection.first();
    idTarif = GetCode(ligne);
    libelle = ligne->text(kColonneTarif);
    // The displayed, two-decimal price is the one handed back.
    prix = LireDecimal(ligne->text(kColonnePrix)).value_or(0.0);
    accept();
}
