#pragma once

// Windows on the screens users have. A window opens at the size its form
// gives it (the system's size) when the screen has room for it, and otherwise
// at the room there is, once its frame and the task bar are counted: its
// layout lets lists and grids shrink, and the panels that cannot sit in a
// scroll area. It may be resized, not below what its layout needs. Every
// window carries the program's icon, and its focused control shows its focus
// from the start.

class QWidget;

// Called once the form is set up, before the window is first shown.
void PreparerFenetre(QWidget* fenetre);

// Called once a shown window has filled in what it shows: its panels, now
// wider or taller, get their preferred size as far as the screen has room,
// and the window stays on the screen.
void AjusterAuContenu(QWidget* fenetre);

// A control that draws itself without the style's focus mark (an icon box,
// a list whose rows are drawn by the program) shows the style's focus frame
// around it while it has the focus: the keyboard user sees where he is.
void MontrerFocus(QWidget* controle);
