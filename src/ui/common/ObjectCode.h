#pragma once

// Entries of combo boxes and rows of lists carry the key of the database row
// they stand for, as text, in their item data (Qt::UserRole). Only these
// helpers read and write it.

#include <QString>

class QAbstractItemView;
class QComboBox;
class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;
class QListWidget;
class QListWidgetItem;
class QTableWidgetItem;

// Entries.
void AjouterEntree(QComboBox* combo, const QString& texte, const QString& code);
// Selects the first entry whose code equals the text exactly; otherwise the
// selection is left as it was.
void SelectionnerCode(QComboBox* combo, const QString& code);
// "" for a negative index (or past the end), else the code of that entry.
QString GetCodeCombo(QComboBox* combo, int index);
// Code of the selected entry ("" when none).
QString GetCodeSelection(QComboBox* combo);
void ViderCombo(QComboBox* combo);
// One entry per row of the VAT table, in row order: text Libelle, code TypeTva.
void RemplirComboTva(QComboBox* combo);

// Rows.
void SetCode(QTreeWidgetItem* ligne, const QString& code);
QString GetCode(const QTreeWidgetItem* ligne);
bool ACode(const QTreeWidgetItem* ligne);
void SetCode(QListWidgetItem* ligne, const QString& code);
QString GetCode(const QListWidgetItem* ligne);
// Cells of a grid.
void SetCode(QTableWidgetItem* cellule, const QString& code);
QString GetCode(const QTableWidgetItem* cellule);
bool ACode(const QTableWidgetItem* cellule);
// The code of the row of a list (report or icon view) at that index.
QString GetCode(const QModelIndex& ligne);
void ViderListe(QTreeWidget* liste);
void ViderListe(QListWidget* liste);
void ViderListe(QAbstractItemView* liste);
