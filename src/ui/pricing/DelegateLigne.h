#pragma once

// Draws the rows of the two pricing lists from their model's roles: the
// model's sign and the text of each column in the model's colour and
// alignment, ending with "…" when cut by the column, on white; a selected
// row white on blue whatever its colour.

#include <QColor>
#include <QStyledItemDelegate>

struct CouleursLigne
{
    QColor fond;
    QColor texte;
};

// Selected rows are white on blue whatever the signal; other rows are red
// or black on white.
CouleursLigne CouleursPour(bool selectionnee, bool enEcart);

class TDelegateLigne : public QStyledItemDelegate
{
public:
    // The view takes the delegate and owns it.
    explicit TDelegateLigne(QAbstractItemView* vue);

    void paint(QPainter* peintre, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
