#pragma once

// Draws the rows of the two pricing lists: the signal colours of
// CouleursPour, the text of each column at its left edge, clipped to the
// column.

#include <QStyledItemDelegate>
#include <functional>

class TDelegateLigne : public QStyledItemDelegate
{
public:
    // enEcart tells, for a row index, whether the row carries the red signal.
    TDelegateLigne(std::function<bool(int)> enEcart, QObject* parent);

    void paint(QPainter* peintre, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    std::function<bool(int)> enEcart;

    bool EnEcart(int ligne) const;
};
