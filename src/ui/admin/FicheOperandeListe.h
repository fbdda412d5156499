#pragma once

#include "ui/common/FicheListe.h"

#include <memory>

namespace Ui {
class TFicheOperandeListe;
}

// The operands that constraints can test; they come with the database and
// are only shown.
class TFicheOperandeListe : public TFicheListe
{
    Q_OBJECT
public:
    explicit TFicheOperandeListe(QWidget* parent);
    ~TFicheOperandeListe() override;

protected:
    QVector<LigneRapport> LireLignes() override;

private:
    std::unique_ptr<Ui::TFicheOperandeListe> ui;
};
