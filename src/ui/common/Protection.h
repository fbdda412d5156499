#pragma once

// Qt does not let exceptions travel through its event loop: every handler
// that can fail runs inside Proteger, which shows the error's text and
// returns normally. Windows connect their handlers through Connecter, which
// does that for them.

#include "ui/common/Messages.h"

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
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

// Connects a signal to a handler of the window (a member function), run
// inside Proteger with the arguments given here; the signal's own arguments
// are not passed on.
template <class Emetteur, class Signal, class Fenetre, class Gestionnaire, class... Arguments>
QMetaObject::Connection Connecter(Emetteur* emetteur, Signal signal, Fenetre* fenetre, Gestionnaire gestionnaire,
                                  Arguments... arguments)
{
    return QObject::connect(emetteur, signal, fenetre, [fenetre, gestionnaire, arguments...] {
        Proteger(fenetre, [&] { std::invoke(gestionnaire, fenetre, arguments...); });
    });
}
