#pragma once

// The program's pictures and icons are compiled into a static library: they
// are registered once, before the first window that shows one is built.
void ChargerRessources();

class QIcon;
class QLabel;
class QPixmap;

// The program's icon, at every size the system asks for (task bar, title bar,
// task switcher).
QIcon IconeProgramme();

// Shows the picture in the label stretched over the label's room (at most
// the label's maximum size), keeping its proportions and drawn for the
// screen's pixel density; the label no longer asks for the picture's size, so
// its window may be made smaller.
void AfficherImageProportionnelle(QLabel* image, const QPixmap& source);
