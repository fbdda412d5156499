#pragma once

#include "ui/common/FicheEdition.h"

#include "data/Poses.h"
#include "model/Pose.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

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
    // The kind as read, which a save writes over.
    std::optional<Poses::Pose> lue;

    // The edits of each surcharge, in the order of the options (which is the
    // order of the checks), with the message of a wrong amount and the name
    // of its export code in a message.
    struct Surcharge
    {
        QLineEdit* montant;
        QLineEdit* codeExport;
        QString message;
        QString champCodeExport;
    };
    std::array<Surcharge, TPoseLivraison::kNombreOptions> Surcharges() const;
};
