#pragma once

#include "ui/admin/FicheEdition.h"

#include <QString>
#include <memory>
#include <utility>
#include <vector>

namespace Ui {
class TFichePose;
}
class QLineEdit;

// Edits one installation kind: its name, VAT type, export code and the four
// delivery surcharges with their export codes.
class TFichePose : public TFicheEdition
{
    Q_OBJECT
public:
    explicit TFichePose(QWidget* parent);
    ~TFichePose() override;

    void cmbTVAChange();

protected:
    void Charger() override;
    bool Enregistrer() override;

private:
    std::unique_ptr<Ui::TFichePose> ui;

    // The surcharge edits in the order of their checks, with their messages.
    struct Montant
    {
        QLineEdit* edition;
        QString colonne;
        QString message;
    };
    std::vector<Montant> Montants() const;
    std::vector<std::pair<QLineEdit*, QString>> CodesExport() const;
};
