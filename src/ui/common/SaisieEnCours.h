#pragma once

// A cell being typed into is part of the grid as soon as the grid is read:
// its editor's text is committed to the cell, the editor staying open.

class QAbstractItemView;

void ValiderSaisieEnCours(QAbstractItemView* grille);
