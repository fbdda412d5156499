#pragma once

// A question about the rows of a view (is this row marked red?) that its
// delegate asks while painting. Qt paints each cell on its own: the answer is
// kept for the other cells of the row until the next repaint of the view's
// rows, so a look-up runs once per row and repaint, and a repaint always
// reads the data afresh. The rows a repaint covers are asked together before
// it draws anything: look-ups one after another run much faster than look-ups
// spread between the drawing of cells.

#include <QHash>
#include <QObject>
#include <functional>

class QAbstractItemView;
class QRect;

class TReponsesDuDessin : public QObject
{
public:
    // question tells, for a row index, whether the row is marked. Belongs to
    // the view.
    TReponsesDuDessin(QAbstractItemView* vue, std::function<bool(int)> question);

    // The answer for the row in the current repaint; false when the question
    // fails (a failure must not escape a paint event).
    bool Reponse(int ligne) const;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    std::function<bool(int)> question;
    QAbstractItemView* vue;
    QObject* zoneDesLignes;
    mutable QHash<int, bool> reponses; // rows asked during the current repaint

    void RepondrePourLaZone(const QRect& zone);
};
