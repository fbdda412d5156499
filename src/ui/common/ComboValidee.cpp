#include "ui/common/ComboValidee.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QWheelEvent>
#include <utility>

TComboValidee::TComboValidee(QWidget* parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &TComboValidee::Activee);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!deplacement)
            depart.reset();
    });
}

void TComboValidee::keyPressEvent(QKeyEvent* evenement)
{
    const bool entree = evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter;
    if (entree && ChoixEnAttente()) {
        evenement->accept();
        Valider();
        return;
    }
    if (evenement->key() == Qt::Key_Escape && ChoixEnAttente()) {
        evenement->accept();
        setCurrentIndex(*std::exchange(depart, std::nullopt));
        return;
    }
    avantDeplacement = currentIndex();
    const QScopedValueRollback garde(deplacement, true);
    QComboBox::keyPressEvent(evenement);
}

void TComboValidee::wheelEvent(QWheelEvent* evenement)
{
    // Over a list the user is not working in, the wheel scrolls the panel.
    if (!hasFocus()) {
        evenement->ignore();
        return;
    }
    avantDeplacement = currentIndex();
    const QScopedValueRollback garde(deplacement, true);
    QComboBox::wheelEvent(evenement);
}

void TComboValidee::focusOutEvent(QFocusEvent* evenement)
{
    QComboBox::focusOutEvent(evenement);
    // The list opening, or another window taken, is not leaving the list.
    if (evenement->reason() != Qt::PopupFocusReason && evenement->reason() != Qt::ActiveWindowFocusReason)
        Valider();
}

void TComboValidee::Activee(int index)
{
    if (deplacement) {
        if (!ChoixEnAttente())
            depart = avantDeplacement;
        return;
    }
    depart.reset();
    emit Choisie(index);
}

void TComboValidee::Valider()
{
    if (!ChoixEnAttente())
        return;
    // Back on the entry it started from, the user chose nothing new.
    if (*std::exchange(depart, std::nullopt) != currentIndex())
        emit Choisie(currentIndex());
}
