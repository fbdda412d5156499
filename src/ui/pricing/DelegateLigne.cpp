#include "ui/pricing/DelegateLigne.h"

#include <QPainter>
#include <exception>

namespace {

constexpr int kMargeTexte = 2;

} // namespace

CouleursLigne CouleursPour(bool selectionnee, bool enEcart)
{
    if (selectionnee)
        return {QColor(0, 102, 153), QColor(Qt::white)};
    return {QColor(Qt::white), enEcart ? QColor(Qt::red) : QColor(Qt::black)};
}

TDelegateLigne::TDelegateLigne(std::function<bool(int)> enEcart, QObject* parent)
    : QStyledItemDelegate(parent)
    , enEcart(std::move(enEcart))
{
}

bool TDelegateLigne::EnEcart(int ligne) const
{
    // A failing look-up must not escape a paint event: the row is then drawn
    // without the signal.
    try {
        return enEcart && enEcart(ligne);
    } catch (const std::exception&) {
        return false;
    }
}

void TDelegateLigne::paint(QPainter* peintre, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    const bool selectionnee = option.state.testFlag(QStyle::State_Selected);
    // The selection colours win: no need to look the signal up.
    const CouleursLigne couleurs = CouleursPour(selectionnee, !selectionnee && EnEcart(index.row()));

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
