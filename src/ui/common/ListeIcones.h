#pragma once

// Icon lists (QListWidget in icon mode, 32 x 32 images) whose captions are
// read whole: every cell has one size, the caption wraps inside it under the
// image and is never shortened with "...", and its tooltip repeats it.

#include <QSize>

class QIcon;
class QListWidget;
class QListWidgetItem;
class QString;

// Cells of that size, laid out from the top left; captions wrap.
void PreparerListeIcones(QListWidget* liste, const QSize& cellule);

// Appends an icon with its caption.
QListWidgetItem* AjouterIcone(QListWidget* liste, const QIcon& image, const QString& libelle);

// Changes the caption of an icon.
void ChangerLibelleIcone(QListWidgetItem* icone, const QString& libelle);
