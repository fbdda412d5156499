#pragma once

// Mouse and keyboard on a list as the system's list views behave: a press on
// an empty area leaves no row selected, and the list reports a click (left
// button released), a double-click (anywhere, a row under it or not) and the
// Enter, Return or Space keys, which it keeps from the dialog's default button.
// A key stands for the current row: one only outlined is selected first.

#include <QObject>

class QAbstractItemView;
class QPoint;

class SuiviClicsListe : public QObject
{
    Q_OBJECT

public:
    // Watches the list for its lifetime (the list owns it).
    explicit SuiviClicsListe(QAbstractItemView* liste);

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

    bool SurListe(QEvent* evenement);
    bool SurZoneDesLignes(QEvent* evenement);
    void SelectionnerCourante();
    void SelectionnerSous(const QPoint& position);
};
