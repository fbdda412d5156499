#include "ui/common/DelegateMarquage.h"

#include "ui/common/ReponsesDuDessin.h"

#include <QAbstractItemView>

TDelegateMarquage::TDelegateMarquage(QAbstractItemView* vue, std::function<bool(int)> marquee)
    : QStyledItemDelegate(vue)
    , marques(new TReponsesDuDessin(vue, std::move(marquee)))
{
    vue->setItemDelegate(this);
}

void TDelegateMarquage::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (marques->Reponse(index.row()))
        option->palette.setColor(QPalette::Text, Qt::red);
}
