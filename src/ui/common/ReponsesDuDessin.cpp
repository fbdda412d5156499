#include "ui/common/ReponsesDuDessin.h"

#include <QAbstractItemView>
#include <QPaintEvent>
#include <exception>

TReponsesDuDessin::TReponsesDuDessin(QAbstractItemView* vue, std::function<bool(int)> question)
    : QObject(vue)
    , question(std::move(question))
    , vue(vue)
    , zoneDesLignes(vue->viewport())
{
    // Each repaint of the rows starts with a paint event of the viewport:
    // what the previous one learnt is forgotten there.
    zoneDesLignes->installEventFilter(this);
}

bool TReponsesDuDessin::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == zoneDesLignes && evenement->type() == QEvent::Paint) {
        reponses.clear();
        RepondrePourLaZone(static_cast<QPaintEvent*>(evenement)->rect());
    }
    return false;
}

void TReponsesDuDessin::RepondrePourLaZone(const QRect& zone)
{
    const int premiere = vue->indexAt(QPoint(0, zone.top())).row();
    if (premiere < 0)
        return;
    const QModelIndex derniere = vue->indexAt(QPoint(0, zone.bottom()));
    const int fin = derniere.isValid() ? derniere.row() : vue->model()->rowCount(vue->rootIndex()) - 1;
    for (int ligne = premiere; ligne <= fin; ++ligne)
        Reponse(ligne);
}

bool TReponsesDuDessin::Reponse(int ligne) const
{
    const auto connue = reponses.constFind(ligne);
    if (connue != reponses.constEnd())
        return *connue;
    bool reponse = false;
    try {
        reponse = question && question(ligne);
    } catch (const std::exception&) {
        reponse = false;
    }
    reponses.insert(ligne, reponse);
    return reponse;
}
