#pragma once

#include "data/CategoriesTypes.h"
#include "ui/common/FicheEdition.h"

#include <memory>
#include <optional>

namespace Ui {
class TFicheCategorieType;
}

// Edits a category type: its label, the host family it is tied to and its
// keywords.
class TFicheCategorieType : public TFicheEdition
{
    Q_OBJECT
public:
    explicit TFicheCategorieType(QWidget* parent);
    ~TFicheCategorieType() override;

protected:
    void Charger() override;
    bool Enregistrer() override;

private:
    std::unique_ptr<Ui::TFicheCategorieType> ui;
    // The type as read, which a save writes over.
    std::optional<CategoriesTypes::Type> lu;
};
