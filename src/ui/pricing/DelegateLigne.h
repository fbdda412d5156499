#pragma once

// Draws the rows of the two pricing lists: the signal colours of
// CouleursPour, the text of each column at its left edge, clipped to the
// column. The signal is looked up once per row and repaint.

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>

class QAbstractItemView;
class TReponsesDuDessin;

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
    // enEcart tells, for a row index, whether the row carries the red signal.
    // The view takes the delegate and owns it.
    TDelegateLigne(QAbstractItemView* vue, std::function<bool(int)> enEcart);

    void paint(QPainter* peintre, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    TReponsesDuDessin* ecarts;
};
