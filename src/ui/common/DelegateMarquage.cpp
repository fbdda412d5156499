#include "ui/common/DelegateMarquage.h"

#include <QAbstractItemView>
#include <QEvent>
#include <exception>

TDelegateMarquage::TDelegateMarquage(QAbstractItemView* vue, std::function<bool(int)> marquee)
    : QStyledItemDelegate(vue)
    , marquee(std::move(marquee))
    , zoneDesLignes(vue->viewport())
{
    vue->setItemDelegate(this);
    // Each repaint of the rows starts with a paint event of the viewport:
    // what the previous one learnt is forgotten there.
    zoneDesLignes->installEventFilter(this);
}

bool TDelegateMarquage::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == zoneDesLignes) {
        if (evenement->type() == QEvent::Paint)
            marquesDuDessin.clear();
        return false;
    }
    return QStyledItemDelegate::eventFilter(objet, evenement);
}

bool TDelegateMarquage::Marquee(int ligne) const
{
    const auto connue = marquesDuDessin.constFind(ligne);
    if (connue != marquesDuDessin.constEnd())
        return *connue;
    // A failing look-up must not escape a paint event: the row is then drawn
    // without the mark.
    bool marquage = false;
    try {
        marquage = marquee && marquee(ligne);
    } catch (const std::exception&) {
        marquage = false;
    }
    marquesDuDessin.insert(ligne, marquage);
    return marquage;
}

void TDelegateMarquage::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (Marquee(index.row()))
        option->palette.setColor(QPalette::Text, Qt::red);
}
