#include "ui/common/ListeIcones.h"

#include "ui/common/DelegateTexte.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kImage = 32;
constexpr int kMarge = 2;

// The style lays a wrapped caption out over the width it measured for the
// item and cuts the rest with "...": this delegate uses the whole cell.
class DelegateIcone : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* peintre, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem element(option);
        initStyleOption(&element, index);
        element.text = TDelegateTexte::TexteMontre(element.text);
        const QWidget* vue = element.widget;
        QStyle* style = vue ? vue->style() : QApplication::style();
        const bool selectionne = element.state & QStyle::State_Selected;
        const bool actif = element.state & QStyle::State_Enabled;

        const QRect cellule = element.rect.adjusted(kMarge, kMarge, -kMarge, -kMarge);
        const QRect image(cellule.center().x() - kImage / 2, cellule.top(), kImage, kImage);
        element.icon.paint(peintre, image, Qt::AlignCenter, selectionne ? QIcon::Selected : QIcon::Normal);

        // The caption under the image, wrapped over the cell's width; the
        // selection and the focus mark follow the caption.
        const QRect zone(cellule.left(), image.bottom() + 1 + kMarge, cellule.width(),
                         cellule.bottom() - image.bottom() - kMarge);
        const int alignement = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        const QRect texte =
            style->itemTextRect(element.fontMetrics, zone, alignement, actif, element.text).adjusted(-kMarge, 0, kMarge, 0);
        if (selectionne)
            peintre->fillRect(texte, element.palette.brush(QPalette::Highlight));
        style->drawItemText(peintre, zone, alignement, element.palette, actif, element.text,
                            selectionne ? QPalette::HighlightedText : QPalette::Text);
        if (element.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(element);
            focus.rect = texte;
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, peintre, vue);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto* vue = qobject_cast<const QListView*>(option.widget);
        return vue ? vue->gridSize() : QStyledItemDelegate::sizeHint(option, index);
    }
};

} // namespace

void PreparerListeIcones(QListWidget* liste, const QSize& cellule)
{
    liste->setViewMode(QListView::IconMode);
    liste->setIconSize(QSize(kImage, kImage));
    liste->setMovement(QListView::Static);
    liste->setResizeMode(QListView::Adjust);
    liste->setSpacing(0);
    liste->setGridSize(cellule);
    liste->setWordWrap(true);
    liste->setItemDelegate(new DelegateIcone(liste));
}

QListWidgetItem* AjouterIcone(QListWidget* liste, const QIcon& image, const QString& libelle)
{
    auto* icone = new QListWidgetItem(image, QString(), liste);
    ChangerLibelleIcone(icone, libelle);
    return icone;
}

void ChangerLibelleIcone(QListWidgetItem* icone, const QString& libelle)
{
    icone->setText(libelle);
    icone->setToolTip(TDelegateTexte::TexteMontre(libelle));
}
