#include "ui/common/FicheChoix.h"

#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>

TFicheChoix::TFicheChoix(QWidget* parent)
    : QDialog(parent)
{
}

void TFicheChoix::Installer(QAbstractItemView* vue, QAbstractButton* fermer, const QString& message)
{
    liste = vue;
    messageSansSelection = message;
    Connecter(fermer, &QAbstractButton::clicked, this, &QDialog::reject);
}

void TFicheChoix::ChargerListe()
{
    ViderListe(liste);
    chargee = false;
    RemplirListe();
    chargee = true;
}

void TFicheChoix::FormActivate()
{
    if (!chargee)
        ChargerListe();
}

void TFicheChoix::Choisir()
{
    const QModelIndexList selection = liste->selectionModel()->selectedIndexes();
    if (selection.isEmpty()) {
        Messages::Information(messageSansSelection, this);
        return;
    }
    Retenir(selection.first().siblingAtColumn(0));
    accept();
}

void TFicheChoix::done(int resultat)
{
    ViderListe(liste);
    chargee = false;
    QDialog::done(resultat);
}

bool TFicheChoix::event(QEvent* evenement)
{
    if (evenement->type() == QEvent::WindowActivate)
        Activer();
    else if (evenement->type() == QEvent::WindowDeactivate)
        activationFaite = false;
    return QDialog::event(evenement);
}

void TFicheChoix::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    Activer();
}

void TFicheChoix::hideEvent(QHideEvent* evenement)
{
    activationFaite = false;
    QDialog::hideEvent(evenement);
}

void TFicheChoix::Activer()
{
    if (activationFaite || activationEnCours || !isVisible())
        return;
    activationFaite = true;
    activationEnCours = true;
    // The same error is not shown again when the window becomes active after
    // its message box closes, which would otherwise never end.
    QString erreur;
    try {
        FormActivate();
    } catch (const std::exception& exception) {
        erreur = TexteErreur(exception);
    } catch (...) {
        erreur = QStringLiteral("Erreur inattendue.");
    }
    if (!erreur.isEmpty() && erreur != derniereErreurActivation)
        Messages::Erreur(erreur, this);
    derniereErreurActivation = erreur;
    activationEnCours = false;
}
