#pragma once

// Qt does not let exceptions travel through its event loop: every handler
// that can fail runs inside Proteger, which shows the error's text and
// returns normally.

#include "ui/common/Messages.h"

#include <QAbstractButton>
#include <QString>
#include <exception>
#include <utility>

class QWidget;

// The French text of an exception.
QString TexteErreur(const std::exception& erreur);

template <class Action>
bool Proteger(QWidget* fenetre, Action&& action) noexcept
{
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const std::exception& erreur) {
        Messages::Erreur(TexteErreur(erreur), fenetre);
    } catch (...) {
        Messages::Erreur(QStringLiteral("Erreur inattendue."), fenetre);
    }
    return false;
}

// Connects a button's click to a handler of the window, protected.
template <class Fenetre>
void ConnecterClic(QAbstractButton* bouton, Fenetre* fenetre, void (Fenetre::*gestionnaire)())
{
    QObject::connect(bouton, &QAbstractButton::clicked, fenetre,
                     [fenetre, gestionnaire] { Proteger(fenetre, [&] { (fenetre->*gestionnaire)(); }); });
}
