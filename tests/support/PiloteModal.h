#pragma once

// Drives a modal window from a test. Arm a pilot before the code that calls
// exec(): a timer waits until a new modal window is up, runs the action on
// it once, and the test goes on when exec() returns. An action can arm a
// further pilot before clicking a button that opens a nested window. The
// pilot lives in the test's scope: going out of scope stops its timer, and
// the test fails there when the window it waited for never opened.

#include <QWidget>
#include <functional>
#include <memory>
#include <source_location>
#include <type_traits>

class PiloteModal
{
public:
    // The window must open.
    template <class Fenetre>
    [[nodiscard]] static PiloteModal QuandOuvert(std::function<void(Fenetre*)> action,
                                                 std::source_location lieu = std::source_location::current())
    {
        return PiloteModal(Convertir(action), true, lieu);
    }

    // The window may open (the test says with Fait() whether it should have).
    template <class Fenetre>
    [[nodiscard]] static PiloteModal SiOuvert(std::function<void(Fenetre*)> action,
                                              std::source_location lieu = std::source_location::current())
    {
        return PiloteModal(Convertir(action), false, lieu);
    }

    // Closes the window that must open with Cancel (reject).
    [[nodiscard]] static PiloteModal Annuler(std::source_location lieu = std::source_location::current());

    PiloteModal(PiloteModal&& autre) noexcept;
    PiloteModal& operator=(PiloteModal&&) = delete;
    ~PiloteModal();

    // True once the action has run.
    bool Fait() const;

private:
    struct Etat;
    std::unique_ptr<Etat> etat;

    PiloteModal(std::function<void(QWidget*)> action, bool requis, const std::source_location& lieu);

    // The action on the window cast to its class (the test aborts when it is not one).
    template <class Fenetre>
    static std::function<void(QWidget*)> Convertir(std::function<void(Fenetre*)> action)
    {
        return [action](QWidget* fenetre) { action(FenetreDe<Fenetre>(fenetre)); };
    }

    template <class Fenetre>
    static Fenetre* FenetreDe(QWidget* fenetre);
    [[noreturn]] static void MauvaiseFenetre(QWidget* fenetre);
};

template <class Fenetre>
Fenetre* PiloteModal::FenetreDe(QWidget* fenetre)
{
    if constexpr (std::is_same_v<Fenetre, QWidget>) {
        return fenetre;
    } else {
        auto* attendue = qobject_cast<Fenetre*>(fenetre);
        if (!attendue)
            MauvaiseFenetre(fenetre);
        return attendue;
    }
}

// Runs the dialog modally; the action acts on it once it is up. A dialog
// that the action leaves open is then cancelled, so a test never hangs.
template <class Fiche>
int ExecuterModal(Fiche& fiche, std::function<void(Fiche*)> action)
{
    const auto pilote = PiloteModal::QuandOuvert<Fiche>([action](Fiche* ouverte) {
        action(ouverte);
        if (ouverte->isVisible())
            ouverte->reject();
    });
    return fiche.exec();
}
