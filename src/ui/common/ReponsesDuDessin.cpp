#include "ui/common/ReponsesDuDessin.h"

#include <QAbstractItemView>
#include <QPaintEvent>
#include <exception>

TReponsesDuDessin::TReponsesDuDessin(QAbstractItemView* vue, Question question)
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
    QVector<int> lignes;
    lignes.reserve(fin - premiere + 1);
    for (int ligne = premiere; ligne <= fin; ++ligne)
        lignes << ligne;
    Demander(lignes);
}

void TReponsesDuDessin::Demander(const QVector<int>& lignes) const
{
    QVector<bool> marquees;
    try {
        if (question)
            marquees = question(lignes);
    } catch (const std::exception&) {
        marquees.clear();
    }
    for (int i = 0; i < lignes.size(); ++i)
        reponses.insert(lignes[i], i < marquees.size() && marquees[i]);
}

bool TReponsesDuDessin::Reponse(int ligne) const
{
    if (!reponses.contains(ligne))
        Demander({ligne});
    return reponses.value(ligne);
}
