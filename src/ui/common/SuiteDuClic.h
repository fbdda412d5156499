#pragma once

// A choice dialog that closes on a click hands back the screen behind it
// while the user's hand is still on the button: the second click of a
// double-click would land on whatever lies under the pointer there (a check
// box, a button). After a pick made with the mouse, the rest of its gesture
// at that point is kept from every window: the second click of a
// double-click after a pick on a single click, the button's release after a
// pick on a double-click. Only for the time of a double-click: a click made
// later, or elsewhere, goes through.

#include <QPoint>

// A click or double-click on a list, where it was made (global).
struct GesteSouris
{
    QPoint position;
    bool double_ = false;
};

void AbsorberSuiteDuClic(const GesteSouris& geste);
