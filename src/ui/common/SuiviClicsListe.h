#pragma once

// Mouse and keyboard on a list as the system's list views behave: a press on
// an empty area leaves no row selected, and the list reports a click (left
// button released), a double-click (anywhere, a row under it or not) and the
// Enter, Return or Space keys, which it keeps from the dialog's default button.
// A key stands for the current row: one only outlined is selected first.

#include "ui/common/SuiteDuClic.h"

#include <QObject>
#include <optional>

class QAbstractItemView;
class QMouseEvent;
class QPoint;

class SuiviClicsListe : public QObject
{
    Q_OBJECT

public:
    // Watches the list for its lifetime (the list owns it).
    explicit SuiviClicsListe(QAbstractItemView* liste);

    // While Clic or DoubleClic is being handled: where the gesture was made
    // (nothing otherwise, and for a key).
    const std::optional<GesteSouris>& Geste() const { return geste; }

signals:
    void Clic();
    void DoubleClic();
    void Validation();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    QAbstractItemView* liste;
    // Kept from the start: the list calls the filter while it is being
    // destroyed, when asking it for its viewport is no longer allowed.
    QObject* zoneDesLignes;
    bool appuiEnCours = false;
    std::optional<GesteSouris> geste;

    bool SurListe(QEvent* evenement);
    bool SurZoneDesLignes(QEvent* evenement);
    void SelectionnerCourante();
    void SelectionnerSous(const QPoint& position);
    void Signaler(void (SuiviClicsListe::*signal)(), const QMouseEvent* souris, bool double_);
};
