#pragma once

// Base of the modal windows that do their work when they become active: at
// their showing and each time the user comes back to them (after a message
// box, a nested dialog or another program). FormActivate runs once per
// showing or return, whichever of the show and the activate events comes
// first. An error it raises is shown once, not again each time the window
// becomes active after its message, which would otherwise never end.

#include <QDialog>
#include <QString>

class TFicheActivable : public QDialog
{
    Q_OBJECT

protected:
    explicit TFicheActivable(QWidget* parent);

    virtual void FormActivate() = 0;

    bool event(QEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;
    void hideEvent(QHideEvent* evenement) override;

private:
    bool activationFaite = false;
    bool activationEnCours = false;
    QString derniereErreurActivation;

    void Activer();
};
