#pragma once

// Keys that the system's windows give meaning to.

class QAbstractButton;
class QAbstractItemView;

// Windows whose Enter key must not press a default button (a list, a grid
// being typed into): their buttons are not default ones, and Enter on a
// focused button presses that button, as Space does.
void EntreeSurBouton(QAbstractButton* bouton);

// In a grid whose cells are typed into, Delete on a cell that is not being
// edited empties it, as typing it empty would.
void EffacerParSuppr(QAbstractItemView* grille);
