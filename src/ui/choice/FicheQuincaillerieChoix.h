#pragma once

// "Choix de la Quincaillerie": the catalogue searched on both labels at every
// keystroke, and the way the chosen entry's quantity is to be counted. A
// double-click or Enter on a row chooses it and closes.

#include "ui/common/FicheChoix.h"

#include <QString>
#include <memory>

namespace Ui {
class TFicheQuincaillerieChoix;
}

class TFicheQuincaillerieChoix : public TFicheChoix
{
    Q_OBJECT

public:
    // Lists the whole catalogue.
    explicit TFicheQuincaillerieChoix(QWidget* parent);
    ~TFicheQuincaillerieChoix() override;

    // Read afterwards, whatever the modal result: the chosen entry ("" when
    // none was chosen) and the sides its quantity counts (2 and 2 for the
    // perimeter, else the boxes checked).
    const QString& GetIdQuincaillerie() const { return idQuincaillerie; }
    int GetNbHauteurs() const;
    int GetNbLargeurs() const;

    void btnRechercherClick();
    void lvListeDblClick();

protected:
    void RemplirListe() override;
    void Retenir(const QModelIndex& ligne) override;

private:
    std::unique_ptr<Ui::TFicheQuincaillerieChoix> ui;
    QString idQuincaillerie;
};
