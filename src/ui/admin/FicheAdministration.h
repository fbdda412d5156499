#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFicheAdministration;
}

// The administration hub opened by the ADMIN mode: one button per kind of
// reference data, each opening a fresh modal maintenance window.
class TFicheAdministration : public QDialog
{
    Q_OBJECT
public:
    explicit TFicheAdministration(QWidget* parent);
    ~TFicheAdministration() override;

    void btnTarifClick();
    void btnPoseClick();
    void btnPoseurClick();
    void btnCategorieTypeClick();
    void btnCategorieClick();
    void btnOperandeClick();
    void btnQuincaillerieClick();
    void btnCoefficientClick();

private:
    std::unique_ptr<Ui::TFicheAdministration> ui;

    void ChargerLogo();

    template <class Fiche>
    void Ouvrir()
    {
        Fiche fiche(this);
        fiche.exec();
    }
};
