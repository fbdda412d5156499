#include "ui/common/SaisieEnCours.h"

#include <QAbstractItemView>

void ValiderSaisieEnCours(QAbstractItemView* grille)
{
    // The editor of the current cell is its index widget; the view's
    // delegate writes its text into the model.
    if (QWidget* editeur = grille->indexWidget(grille->currentIndex()))
        emit grille->itemDelegateForIndex(grille->currentIndex())->commitData(editeur);
}
