#pragma once

#include "ui/common/FicheEdition.h"

#include <memory>

namespace Ui {
class TFicheParamMarge;
}

// Edits the minimum margin kept in the program's settings file.
class TFicheParamMarge : public TFicheEdition
{
    Q_OBJECT
public:
    explicit TFicheParamMarge(QWidget* parent);
    ~TFicheParamMarge() override;

protected:
    bool Enregistrer() override;

private:
    std::unique_ptr<Ui::TFicheParamMarge> ui;
};
