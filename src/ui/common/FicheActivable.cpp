#include "ui/common/FicheActivable.h"

#include "ui/common/Messages.h"
#include "ui/common/Protection.h"

#include <QEvent>

TFicheActivable::TFicheActivable(QWidget* parent)
    : QDialog(parent)
{
}

bool TFicheActivable::event(QEvent* evenement)
{
    if (evenement->type() == QEvent::WindowActivate)
        Activer();
    else if (evenement->type() == QEvent::WindowDeactivate)
        activationFaite = false;
    return QDialog::event(evenement);
}

void TFicheActivable::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    Activer();
}

void TFicheActivable::hideEvent(QHideEvent* evenement)
{
    activationFaite = false;
    QDialog::hideEvent(evenement);
}

void TFicheActivable::Activer()
{
    if (activationFaite || activationEnCours || !isVisible())
        return;
    activationFaite = true;
    activationEnCours = true;
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
