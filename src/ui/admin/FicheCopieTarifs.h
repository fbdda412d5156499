#pragma once

#include "data/Tarifs.h"
#include "ui/common/FicheEdition.h"

#include <QString>
#include <memory>

namespace Ui {
class TFicheCopieTarifs;
}

// Copies every tariff of one kind and installer (the tariff grid's choice)
// onto another kind and installer, replacing the target's tariffs. The
// window stays open for further copies of the same source.
class TFicheCopieTarifs : public TFicheEdition
{
    Q_OBJECT
public:
    TFicheCopieTarifs(QWidget* parent, const QString& idPoseurSource, const QString& idPoseSource);
    ~TFicheCopieTarifs() override;

protected:
    // Copies after confirmation; never closes the window.
    bool Enregistrer() override;

private:
    std::unique_ptr<Ui::TFicheCopieTarifs> ui;
    Tarifs::Choix source;

    void RemplirListes();
    QString Confirmation() const;
};
