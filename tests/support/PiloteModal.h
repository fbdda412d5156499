#pragma once

// Drives modal windows from a test: arm an action before the code that calls
// exec(); a timer waits until a new modal window is up, runs the action on it
// once, and the test goes on when exec() returns. Actions can arm further
// actions before clicking a button that opens a nested modal window.

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class PiloteModal
{
public:
    // The returned flag becomes true once the action has run.
    static std::shared_ptr<bool> QuandOuvert(std::function<void(QWidget*)> action,
                                             int delaiMaxMs = 10000);

    // Same, with the window cast to its class (the test fails when it is not one).
    template <class Fenetre>
    static std::shared_ptr<bool> QuandOuvert(std::function<void(Fenetre*)> action,
                                             int delaiMaxMs = 10000)
    {
        return QuandOuvert(
            [action](QWidget* w) {
                auto* fenetre = qobject_cast<Fenetre*>(w);
                if (!fenetre)
                    qFatal("PiloteModal: the modal window is a %s", w->metaObject()->className());
                action(fenetre);
            },
            delaiMaxMs);
    }

    // Closes the modal window with Cancel (reject).
    static std::shared_ptr<bool> Annuler();
};

// Child of a window by objectName; the test aborts when it is missing.
template <class T>
T* Controle(QWidget* fenetre, const QString& nom)
{
    T* controle = fenetre->findChild<T*>(nom);
    if (!controle)
        qFatal("Control %s not found in %s", qPrintable(nom), fenetre->metaObject()->className());
    return controle;
}

// True when no top-level window is left visible or alive.
bool AucuneFenetreOuverte();
