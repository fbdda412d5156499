#pragma once

// Small gestures shared by the administration tests: clicking, typing,
// choosing an entry, reading a list back.

#include <QString>
#include <QStringList>

class QComboBox;
class QTreeWidget;
class QWidget;

void Cliquer(QWidget* fenetre, const QString& bouton);
// Empties the edit, then types the text key by key.
void Taper(QWidget* fenetre, const QString& edition, const QString& texte);
// Selects the entry of the combo whose text is given (the test fails if none).
void Choisir(QWidget* fenetre, const QString& combo, const QString& texte);
QStringList TextesCombo(QComboBox* combo);
// The texts of one column, row by row.
QStringList Colonne(QTreeWidget* liste, int colonne = 0);
// Selects the row whose caption is given (the test fails if none).
void SelectionnerLigne(QTreeWidget* liste, const QString& libelle);
// The caption of the selected row ("" when none).
QString LibelleSelectionne(QTreeWidget* liste);
