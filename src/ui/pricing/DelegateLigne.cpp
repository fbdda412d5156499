#include "ui/pricing/DelegateLigne.h"

#include "ui/common/ReponsesDuDessin.h"

#include <QAbstractItemView>
#include <QPainter>

namespace {

constexpr int kMargeTexte = 2;

} // namespace

CouleursLigne CouleursPour(bool selectionnee, bool enEcart)
{
    if (selectionnee)
        return {QColor(0, 102, 153), QColor(Qt::white)};
    return {QColor(Qt::white), enEcart ? QColor(Qt::red) : QColor(Qt::black)};
}

TDelegateLigne::TDelegateLigne(QAbstractItemView* vue, std::function<bool(int)> enEcart)
    : QStyledItemDelegate(vue)
    , ecarts(new TReponsesDuDessin(vue, std::move(enEcart)))
{
    vue->setItemDelegate(this);
}

void TDelegateLigne::paint(QPainter* peintre, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    const bool selectionnee = option.state.testFlag(QStyle::State_Selected);
    // The selection colours win: no need to look the signal up.
    const CouleursLigne couleurs = CouleursPour(selectionnee, !selectionnee && ecarts->Reponse(index.row()));

    peintre->save();
    peintre->setClipRect(option.rect);
    peintre->fillRect(option.rect, couleurs.fond);
    peintre->setFont(option.font);
    peintre->setPen(couleurs.texte);
    const QRect zoneTexte = option.rect.adjusted(kMargeTexte, 0, -kMargeTexte, 0);
    peintre->drawText(zoneTexte, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    peintre->restore();
}
