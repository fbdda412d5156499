#pragma once

// A question about the rows of a view (is this row marked red?) that its
// delegate asks while painting. Qt paints each cell on its own: the answer is
// kept for the other cells of the row until the next repaint of the view's
// rows, and a repaint always reads the data afresh. The rows a repaint
// covers are asked together, in one question, before it draws anything: the
// database may be a network away, so a repaint costs one look-up, not one a
// row.

#include <QHash>
#include <QObject>
#include <QVector>
#include <functional>

class QAbstractItemView;
class QRect;

class TReponsesDuDessin : public QObject
{
public:
    // Tells, for row indexes of the view, whether each is marked, in the
    // order given.
    using Question = std::function<QVector<bool>(const QVector<int>& lignes)>;

    // Belongs to the view.
    TReponsesDuDessin(QAbstractItemView* vue, Question question);

    // The answer for the row in the current repaint; false when the question
    // fails (a failure must not escape a paint event).
    bool Reponse(int ligne) const;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    Question question;
    QAbstractItemView* vue;
    QObject* zoneDesLignes;
    mutable QHash<int, bool> reponses; // rows asked during the current repaint

    void RepondrePourLaZone(const QRect& zone);
    void Demander(const QVector<int>& lignes) const;
};
