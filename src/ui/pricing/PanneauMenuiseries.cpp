#include "ui/pricing/PanneauMenuiseries.h"
#include "ui_FicheModeNormal.h"

#include "pricing/SessionChiffrage.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"
#include "ui/pricing/ModelesChiffrage.h"
#include "ui/pricing/Panneaux.h"

#include <QMouseEvent>

namespace {

const QString kVoirDescription = QStringLiteral("Voir la descriptio&n de la menuiserie");
const QString kVoirListe = QStringLiteral("Voir la liste des me&nuiseries");

QString MessageActualisation(const TSessionChiffrage::Actualisation& changes)
{
    if (changes.prixVente == 0 && changes.prixPoseur == 0 && changes.quincailleries == 0)
        return QStringLiteral("Actualisation terminée : aucun prix n'a changé.");
    return QStringLiteral("Actualisation terminée : %1 prix de vente, %2 prix de poseur et %3 %4 ont changé.")
        .arg(changes.prixVente)
        .arg(changes.prixPoseur)
        .arg(changes.quincailleries)
        .arg(changes.quincailleries > 1 ? QStringLiteral("quincailleries") : QStringLiteral("quincaillerie"));
}

} // namespace

TPanneauMenuiseries::TPanneauMenuiseries(QWidget* parent)
    : QWidget(parent)
{
}

void TPanneauMenuiseries::Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui)
{
    this->session = &session;
    this->ui = &ui;
    ui.btnActualiser->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    PreparerListe();
    ui.lvListe->show();
    ui.memoDescription->hide();
    MajLibelleMode();
    FixerLargeurMode();

    connect(liste, &TListeSuivie::Choisie, this,
            [this](int rang) { Proteger(this, [this, rang] { this->session->SetMenuiserieCourante(rang); }); });
    Connecter(ui.btnPrecedent, &QPushButton::clicked, this, &TPanneauMenuiseries::btnPrecedentClick);
    Connecter(ui.btnSuivant, &QPushButton::clicked, this, &TPanneauMenuiseries::btnSuivantClick);
    Connecter(ui.btnMode, &QPushButton::clicked, this, &TPanneauMenuiseries::btnModeClick);
    Connecter(ui.btnActualiser, &QToolButton::clicked, this, &TPanneauMenuiseries::btnActualiserClick);
    // The model follows the session on its own, and was connected first:
    // its rows are up to date here.
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TPanneauMenuiseries::AfficherMenuiserie);
    connect(&session, &TSessionChiffrage::MenuiserieCouranteChangee, this, &TPanneauMenuiseries::AfficherMenuiserie);
}

void TPanneauMenuiseries::PreparerListe()
{
    modele = new TModeleMenuiseries(*session, this);
    liste = ::PreparerListe(ui->lvListe, modele, {210, 30, 55, 55, 30});
    // A click under the items leaves the item on show selected: "<" and ">"
    // go on from it.
    new FiltreEvenements(ui->lvListe->viewport(), [vue = ui->lvListe](QEvent* evenement) {
        return EstAppuiSouris(evenement)
               && !vue->indexAt(static_cast<QMouseEvent*>(evenement)->position().toPoint()).isValid();
    });
}

void TPanneauMenuiseries::AfficherMenuiserie()
{
    liste->Suivre(session->GetIndexMenuiserie());
    const TMenuiserie* menuiserie = session->MenuiserieCourante();
    ui->memoDescription->setPlainText(menuiserie ? menuiserie->GetDescription() : QString());
    MajNavigation();
}

void TPanneauMenuiseries::MajNavigation()
{
    // Without a selected item (-1), ">" goes to the first one.
    const int index = liste->Selection();
    ui->btnPrecedent->setEnabled(index > 0);
    ui->btnSuivant->setEnabled(index < modele->rowCount() - 1);
}

void TPanneauMenuiseries::btnPrecedentClick()
{
    const int index = liste->Selection();
    if (index > 0)
        session->SetMenuiserieCourante(index - 1);
}

void TPanneauMenuiseries::btnSuivantClick()
{
    const int index = liste->Selection();
    if (index < modele->rowCount() - 1)
        session->SetMenuiserieCourante(index + 1);
}

void TPanneauMenuiseries::btnModeClick()
{
    // isHidden(): the window itself may not be on screen yet.
    const bool listeVisible = !ui->lvListe->isHidden();
    ui->memoDescription->setVisible(listeVisible);
    ui->lvListe->setVisible(!listeVisible);
    MajLibelleMode();
}

void TPanneauMenuiseries::MajLibelleMode()
{
    ui->btnMode->setText(!ui->lvListe->isHidden() ? kVoirDescription : kVoirListe);
}

void TPanneauMenuiseries::FixerLargeurMode()
{
    // Wide enough for both captions, so that "<" and ">" stay in place.
    const QFontMetrics mesure(ui->btnMode->font());
    const int texte = std::max(mesure.horizontalAdvance(kVoirDescription), mesure.horizontalAdvance(kVoirListe));
    ui->btnMode->setMinimumWidth(texte + ui->btnMode->sizeHint().width() - mesure.horizontalAdvance(ui->btnMode->text()));
}

void TPanneauMenuiseries::btnActualiserClick()
{
    if (Messages::Question(QStringLiteral("Voulez-vous actualiser tous les prix des tarifs ?"), window()))
        Messages::Information(MessageActualisation(session->ActualiserPrix()), window());
}
