#include "ui/common/DelegateTexte.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

TDelegateTexte::TDelegateTexte(QAbstractItemView* vue)
    : QStyledItemDelegate(vue)
{
    vue->setItemDelegate(this);
}

QString TDelegateTexte::TexteMontre(const QString& texte)
{
    if (texte.size() <= kLongueurMontree)
        return texte;
    return texte.left(kLongueurMontree) + QChar(0x2026);
}

void TDelegateTexte::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = TexteMontre(option->text);
    option->features &= ~QStyleOptionViewItem::WrapText;
}

namespace {

// True when the text of the cell does not fit in its cell.
bool TexteCoupe(const QStyleOptionViewItem& cellule)
{
    const QWidget* vue = cellule.widget;
    QStyle* style = vue ? vue->style() : QApplication::style();
    const QRect zone = style->subElementRect(QStyle::SE_ItemViewItemText, &cellule, vue);
    // The style keeps a margin on each side of the text.
    const int marge = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vue) + 1;
    return cellule.fontMetrics.horizontalAdvance(cellule.text) > zone.width() - 2 * marge;
}

} // namespace

bool TDelegateTexte::helpEvent(QHelpEvent* evenement, QAbstractItemView* vue, const QStyleOptionViewItem& option,
                               const QModelIndex& index)
{
    if (evenement->type() != QEvent::ToolTip || !index.isValid() || index.data(Qt::ToolTipRole).isValid())
        return QStyledItemDelegate::helpEvent(evenement, vue, option, index);
    QStyleOptionViewItem cellule(option);
    initStyleOption(&cellule, index);
    if (cellule.text.isEmpty() || !TexteCoupe(cellule)) {
        QToolTip::hideText();
        return true;
    }
    // Escaped in a paragraph: a label is never read as markup, and a long
    // one wraps over several lines.
    const QString texte = cellule.text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    QToolTip::showText(evenement->globalPos(), QStringLiteral("<p>%1</p>").arg(texte), vue, vue->visualRect(index));
    return true;
}
