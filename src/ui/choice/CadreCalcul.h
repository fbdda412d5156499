#pragma once

// "Mode de calcul de la quantité", shared by the hardware dialogs: the
// perimeter, or the sides checked one by one beside a small frame sketch
// whose lines follow the boxes. The side boxes show only in the sides mode.

#include "pricing/QuantitesQuincaillerie.h"

#include <QGroupBox>
#include <memory>

namespace Ui {
class TCadreCalcul;
}

class TCadreCalcul : public QGroupBox
{
    Q_OBJECT

public:
    explicit TCadreCalcul(QWidget* parent);
    ~TCadreCalcul() override;

    ChoixCotes Cotes() const;

private:
    std::unique_ptr<Ui::TCadreCalcul> ui;
};
