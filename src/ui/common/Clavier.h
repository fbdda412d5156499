#pragma once

// Windows whose Enter key must not press a default button (a list, a grid
// being typed into): their buttons are not default ones, and Enter on a
// focused button presses that button, as Space does.

class QAbstractButton;

void EntreeSurBouton(QAbstractButton* bouton);
