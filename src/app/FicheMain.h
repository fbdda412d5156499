#pragma once

// The start-up window: the logo and the version for about a second, then its
// timer's only tick runs the start sequence with the window hidden, and the
// window closes. It is the program's main window: when it closes, Termine
// tells the program to end with the sequence's exit code.

#include "app/Lancement.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class QTimer;

namespace Ui {
class TFicheMain;
}

class TFicheMain : public QWidget
{
    Q_OBJECT

public:
    // The arguments of the command line, without the program name. The timer
    // starts at once.
    explicit TFicheMain(const QStringList& arguments, QWidget* parent = nullptr);
    ~TFicheMain() override;

    // The windows the sequence opens (tests replace the real ones).
    void SetFenetres(const Lancement::Fenetres& valeur) { fenetres = valeur; }
    int CodeSortie() const { return codeSortie; }

signals:
    void Termine(int codeSortie);

protected:
    void closeEvent(QCloseEvent* evenement) override;

private:
    std::unique_ptr<Ui::TFicheMain> ui;
    QTimer* timerLancement;
    QStringList arguments;
    Lancement::Fenetres fenetres;
    bool lancementEnCours = false;
    bool termine = false;
    int codeSortie = 0;

    void ChargerLogo();
    void CentrerSurEcran();
    void timerLancementTimer();
    void Terminer();
};
