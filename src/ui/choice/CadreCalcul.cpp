#include "ui/choice/CadreCalcul.h"
#include "ui_CadreCalcul.h"

TCadreCalcul::TCadreCalcul(QWidget* parent)
    : QGroupBox(parent)
    , ui(std::make_unique<Ui::TCadreCalcul>())
{
    ui->setupUi(this);
    // Hidden, the side boxes keep their room: the window does not jump
    // when the mode changes.
    QSizePolicy retenue = ui->pnlDimensions->sizePolicy();
    retenue.setRetainSizeWhenHidden(true);
    ui->pnlDimensions->setSizePolicy(retenue);
    ui->pnlDimensions->setVisible(ui->rbDimensions->isChecked());
    connect(ui->rbDimensions, &QRadioButton::toggled, ui->pnlDimensions, &QWidget::setVisible);

    const std::pair<QCheckBox*, QFrame*> cotes[] = {{ui->cbHauteur1, ui->bvlHauteur1},
                                                    {ui->cbHauteur2, ui->bvlHauteur2},
                                                    {ui->cbLargeur1, ui->bvlLargeur1},
                                                    {ui->cbLargeur2, ui->bvlLargeur2}};
    for (const auto& [boite, trait] : cotes) {
        trait->setVisible(boite->isChecked());
        connect(boite, &QCheckBox::toggled, trait, &QWidget::setVisible);
    }
}

TCadreCalcul::~TCadreCalcul() = default;

ChoixCotes TCadreCalcul::Cotes() const
{
    return {ui->rbPerimetre->isChecked(), ui->cbHauteur1->isChecked(), ui->cbHauteur2->isChecked(),
            ui->cbLargeur1->isChecked(), ui->cbLargeur2->isChecked()};
}
