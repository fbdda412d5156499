#include "ui/pricing/DelegateLigne.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QIcon>
#include <QPainter>

namespace {

constexpr int kMargeTexte = 2;
const QColor kBleuSelection(0, 102, 153);

// The model's colour, black when it gives none.
QColor CouleurTexte(const QModelIndex& index)
{
    const QVariant valeur = index.data(Qt::ForegroundRole);
    const QColor couleur =
        valeur.userType() == QMetaType::QBrush ? valeur.value<QBrush>().color() : valeur.value<QColor>();
    return couleur.isValid() ? couleur : QColor(Qt::black);
}

// The model's alignment, left and centred vertically where it says nothing.
Qt::Alignment Alignement(const QModelIndex& index)
{
    Qt::Alignment alignement(index.data(Qt::TextAlignmentRole).toInt());
    if (!(alignement & Qt::AlignHorizontal_Mask))
        alignement |= Qt::AlignLeft;
    if (!(alignement & Qt::AlignVertical_Mask))
        alignement |= Qt::AlignVCenter;
    return alignement;
}

} // namespace

CouleursLigne CouleursPour(bool selectionnee, bool enEcart)
{
    if (selectionnee)
        return {kBleuSelection, QColor(Qt::white)};
    return {QColor(Qt::white), enEcart ? QColor(Qt::red) : QColor(Qt::black)};
}

TDelegateLigne::TDelegateLigne(QAbstractItemView* vue)
    : QStyledItemDelegate(vue)
{
    vue->setItemDelegate(this);
}

void TDelegateLigne::paint(QPainter* peintre, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    // The selection colours win: the row's own colour is not even asked.
    const bool selectionnee = option.state.testFlag(QStyle::State_Selected);
    const CouleursLigne couleurs = selectionnee
        ? CouleursPour(true, false)
        : CouleursLigne{QColor(Qt::white), CouleurTexte(index)};

    peintre->save();
    peintre->setClipRect(option.rect);
    peintre->fillRect(option.rect, couleurs.fond);
    peintre->setFont(option.font);
    peintre->setPen(couleurs.texte);
    QRect zoneTexte = option.rect.adjusted(kMargeTexte, 0, -kMargeTexte, 0);
    // The model's sign, if any, before the text.
    const QIcon marque = index.data(Qt::DecorationRole).value<QIcon>();
    if (!marque.isNull()) {
        const int cote = qMin(option.rect.height() - 2, option.decorationSize.height());
        const QRect place(zoneTexte.left(), option.rect.center().y() - cote / 2, cote, cote);
        marque.paint(peintre, place);
        zoneTexte.setLeft(place.right() + 1 + kMargeTexte);
    }
    // A text cut by its column ends with "…"; the tooltip gives it whole.
    const QString texte = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                        zoneTexte.width());
    peintre->drawText(zoneTexte, int(Alignement(index)) | Qt::TextSingleLine, texte);
    peintre->restore();
}
