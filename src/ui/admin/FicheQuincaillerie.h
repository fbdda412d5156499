#pragma once

#include "data/CatalogueQuincaillerie.h"
#include "ui/common/FicheEdition.h"

#include <memory>
#include <optional>

namespace Ui {
class TFicheQuincaillerie;
}

// Edits one entry of the hardware catalogue.
class TFicheQuincaillerie : public TFicheEdition
{
    Q_OBJECT
public:
    explicit TFicheQuincaillerie(QWidget* parent);
    ~TFicheQuincaillerie() override;

protected:
    void Charger() override;
    bool Enregistrer() override;

private:
    std::unique_ptr<Ui::TFicheQuincaillerie> ui;
    // The entry as read, which a save writes over.
    std::optional<CatalogueQuincaillerie::Article> lu;
};
