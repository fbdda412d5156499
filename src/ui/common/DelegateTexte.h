#pragma once

// Cells of lists and grids that read like the system's: a text too long for
// its cell ends with "…" and shows whole in its tooltip; nothing wraps onto a
// line the row has no room for. A very long text (a label pasted from a whole
// file) costs what its visible part costs: only its beginning is laid out,
// for the cell as for its tooltip, so opening, repainting and closing a list
// take no longer with it than with a label of a few hundred characters.

#include <QStyledItemDelegate>

class QAbstractItemView;

class TDelegateTexte : public QStyledItemDelegate
{
public:
    // The view takes the delegate and owns it.
    explicit TDelegateTexte(QAbstractItemView* vue);

    // The characters of a text that a cell or a tooltip lays out at most.
    static constexpr qsizetype kLongueurMontree = 2000;
    // The text as far as a cell or a tooltip shows it: at most
    // kLongueurMontree characters, followed by "…" when it is longer.
    static QString TexteMontre(const QString& texte);

    bool helpEvent(QHelpEvent* evenement, QAbstractItemView* vue, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
