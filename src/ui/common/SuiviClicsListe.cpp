#include "ui/common/SuiviClicsListe.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

SuiviClicsListe::SuiviClicsListe(QAbstractItemView* liste)
    : QObject(liste)
    , liste(liste)
    , zoneDesLignes(liste->viewport())
{
    liste->installEventFilter(this);
    liste->viewport()->installEventFilter(this);
}

bool SuiviClicsListe::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == liste)
        return SurListe(evenement);
    if (objet == zoneDesLignes)
        return SurZoneDesLignes(evenement);
    return false;
}

bool SuiviClicsListe::SurListe(QEvent* evenement)
{
    if (evenement->type() != QEvent::KeyPress)
        return false;
    const auto* touche = static_cast<QKeyEvent*>(evenement);
    if (touche->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (touche->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        SelectionnerCourante();
        emit Validation();
        return true;
    default:
        return false;
    }
}

bool SuiviClicsListe::SurZoneDesLignes(QEvent* evenement)
{
    switch (evenement->type()) {
    case QEvent::MouseButtonPress: {
        const auto* souris = static_cast<QMouseEvent*>(evenement);
        if (souris->button() != Qt::LeftButton)
            return false;
        appuiEnCours = true;
        if (!liste->indexAt(souris->position().toPoint()).isValid())
            liste->clearSelection();
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(evenement)->button() == Qt::LeftButton && appuiEnCours) {
            appuiEnCours = false;
            Signaler(&SuiviClicsListe::Clic, static_cast<QMouseEvent*>(evenement), false);
        }
        return false;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(evenement)->button() == Qt::LeftButton) {
            // The double-click stands for the row under it, whatever the
            // first click did.
            SelectionnerSous(static_cast<QMouseEvent*>(evenement)->position().toPoint());
            Signaler(&SuiviClicsListe::DoubleClic, static_cast<QMouseEvent*>(evenement), true);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void SuiviClicsListe::SelectionnerCourante()
{
    // The row the keyboard stands on is the one meant, selected or only
    // outlined (as after the list was given the focus).
    const QModelIndex courante = liste->currentIndex();
    if (courante.isValid() && !liste->selectionModel()->isSelected(courante))
        liste->selectionModel()->select(courante, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void SuiviClicsListe::SelectionnerSous(const QPoint& position)
{
    const QModelIndex index = liste->indexAt(position);
    if (index.isValid())
        liste->setCurrentIndex(index);
    else
        liste->clearSelection();
}

void SuiviClicsListe::Signaler(void (SuiviClicsListe::*signal)(), const QMouseEvent* souris, bool double_)
{
    geste = GesteSouris{souris->globalPosition().toPoint(), double_};
    emit(this->*signal)();
    geste.reset();
}
