#pragma once

#include <QDialog>

// The administration hub opened by the ADMIN mode.
class TFicheAdministration : public QDialog
{
    Q_OBJECT
public:
    explicit TFicheAdministration(QWidget* parent);
    ~TFicheAdministration() override;
};
