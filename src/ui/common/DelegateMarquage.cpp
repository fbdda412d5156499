#include "ui/common/DelegateMarquage.h"

#include "ui/common/ReponsesDuDessin.h"

#include <QAbstractItemView>

TDelegateMarquage::TDelegateMarquage(QAbstractItemView* vue, std::function<bool(int)> marquee)
    : TDelegateTexte(vue)
    , marques(new TReponsesDuDessin(vue, std::move(marquee)))
{
}

void TDelegateMarquage::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    TDelegateTexte::initStyleOption(option, index);
    if (marques->Reponse(index.row()))
        option->palette.setColor(QPalette::Text, Qt::red);
}
