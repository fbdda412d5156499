#pragma once

// "Choix du poseur": the installers by name; a click on a row chooses it.
// No row is preselected.

#include "ui/common/FicheChoix.h"

#include <QString>
#include <memory>

namespace Ui {
class TFichePoseurChoix;
}

class TFichePoseurChoix : public TFicheChoix
{
    Q_OBJECT

public:
    // Fills the list.
    explicit TFichePoseurChoix(QWidget* parent);
    ~TFichePoseurChoix() override;

    // The value GetIdPoseur gives until a row is chosen; selects nothing.
    void SetIdPoseur(const QString& id) { idPoseur = id; }
    // The chosen installer, after the result Accepted.
    const QString& GetIdPoseur() const { return idPoseur; }

    void lvListeClick();

protected:
    void RemplirListe() override;
    void Retenir(const QModelIndex& ligne) override;

private:
    std::unique_ptr<Ui::TFichePoseurChoix> ui;
    QString idPoseur;
};
