#pragma once

// Report lists (QTreeWidget in report view) as every maintenance window uses
// them: read-only, whole-row single selection, no root decoration, column
// widths and alignments fixed once, rows carrying their key through the
// ObjectCode helpers.

#include <QString>
#include <QStringList>
#include <QVector>
#include <Qt>
#include <initializer_list>

class QAbstractItemView;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

struct ColonneListe
{
    int largeur = -1; // -1 keeps the width the header gives
    Qt::Alignment alignement = Qt::AlignLeft;
};

// Sets the behaviour of the list and, column by column, its width and the
// alignment of its title and cells (titles come from the form). The user may
// widen every column; a cut text ends with "…" and shows whole in its
// tooltip (TDelegateTexte).
void PreparerListe(QTreeWidget* liste, std::initializer_list<ColonneListe> colonnes);

// The columns given (labels, as a rule) share the room the other columns
// leave whenever the view changes size, never narrower than they are at the
// call (the system's widths): a larger window widens them, a smaller one
// scrolls. The user may still widen any column.
void EtendreColonnes(QAbstractItemView* vue, std::initializer_list<int> colonnes);

// Appends a row: caption then sub-items, aligned as their column. An empty
// key leaves the row without one.
QTreeWidgetItem* AjouterLigne(QTreeWidget* liste, const QStringList& textes, const QString& cle);

// A row to come: caption then sub-items, and its key (empty for none).
struct LigneRapport
{
    QStringList textes;
    QString cle;
};

// Appends the rows as AjouterLigne does, in one insertion: the view lays
// itself out once, whatever the number of rows.
void AjouterLignes(QTreeWidget* liste, const QVector<LigneRapport>& lignes);

// Puts rows in the order of TrierParLibelle (by caption), before they reach
// a list.
void TrierParLibelle(QVector<LigneRapport>& lignes);

// Rewrites the texts of a row (caption then sub-items), keeping its key.
void RemplacerTextes(QTreeWidgetItem* ligne, const QStringList& textes);

// Sorts the rows by caption as a reader expects (accents and case ignored).
void TrierParLibelle(QTreeWidget* liste);

// The selected row, or nothing.
QTreeWidgetItem* LigneSelectionnee(const QTreeWidget* liste);

// The selected row; without one, shows "Vous devez sélectionner <objet> pour
// effectuer une <action>." and gives nothing.
QTreeWidgetItem* LigneRequise(const QTreeWidget* liste, const QString& objet, const QString& action,
                              QWidget* fenetre);
