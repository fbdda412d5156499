#pragma once

// Small gestures shared by the window tests: finding a control, clicking,
// typing, choosing an entry, reading a list back, and checking that no
// window is left.

#include <QString>
#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QAbstractItemView;
class QComboBox;
class QPoint;
class QRect;
class QTreeWidget;

// Child of a window by objectName; the test aborts when it is missing.
template <class T>
T* Controle(QWidget* fenetre, const QString& nom)
{
    T* controle = fenetre->findChild<T*>(nom);
    if (!controle)
        qFatal("Control %s not found in %s", qPrintable(nom), fenetre->metaObject()->className());
    return controle;
}

// The list of a window ("lvListe" unless named).
QTreeWidget* Liste(QWidget* fenetre, const QString& nom = QStringLiteral("lvListe"));

void Cliquer(QWidget* fenetre, const QString& bouton);
// The caption a button shows: its text without the accelerator's "&".
QString Legende(const QAbstractButton* bouton);
// A double-click as the system delivers it: press, release, double-click, release.
void DoubleCliquer(QAbstractItemView* liste, const QPoint& position);
// Empties the edit, then types the text key by key.
void Taper(QWidget* fenetre, const QString& edition, const QString& texte);
// Selects the entry of the combo whose text is given (the test fails if none).
void Choisir(QWidget* fenetre, const QString& combo, const QString& texte);
QStringList TextesCombo(QComboBox* combo);
// The texts of one column, row by row.
QStringList Colonne(QAbstractItemView* liste, int colonne = 0);
// The texts of one row, column by column (none for a row that is not there).
QStringList TextesLigne(QAbstractItemView* liste, int index);
// Selects the row whose caption is given (the test fails if none).
void SelectionnerLigne(QAbstractItemView* liste, const QString& libelle);
// Makes the row current and selected, as a click on it does.
void SelectionnerRang(QAbstractItemView* liste, int rang);
// The caption of the selected row ("" when none).
QString LibelleSelectionne(QAbstractItemView* liste);
// The index of the selected row (-1 when none).
int IndexSelection(QAbstractItemView* liste);
int NombreLignes(QAbstractItemView* liste);
// The first cell of the row, where the list shows it.
QRect RectangleLigne(QAbstractItemView* liste, int rang);

// Runs what the event loop has pending (posted events, timers due), so that
// whatever a gesture set off has happened.
void ViderFileEvenements();
// True when, once the event loop has run, no modal window is up.
bool AucuneFenetreModale();
// True when, once the event loop has run, no top-level window is visible.
bool AucuneFenetreOuverte();
