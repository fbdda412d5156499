#include "ui/common/DelegateMarquage.h"

#include <QAbstractItemView>

TDelegateMarquage::TDelegateMarquage(QAbstractItemView* vue, TReponsesDuDessin::Question marquees)
    : TDelegateTexte(vue)
    , marques(new TReponsesDuDessin(vue, std::move(marquees)))
{
}

void TDelegateMarquage::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    TDelegateTexte::initStyleOption(option, index);
    if (marques->Reponse(index.row()))
        option->palette.setColor(QPalette::Text, Qt::red);
}
