#pragma once

#include "ui/common/FicheListe.h"

#include "data/CategoriesTypes.h"

#include <QHash>
#include <memory>

namespace Ui {
class TFicheCategorieTypeListe;
}

// The category types with the host family each is tied to.
class TFicheCategorieTypeListe : public TFicheListe
{
    Q_OBJECT
public:
    explicit TFicheCategorieTypeListe(QWidget* parent);
    ~TFicheCategorieTypeListe() override;

protected:
    QVector<LigneRapport> LireLignes() override;
    std::unique_ptr<TFicheEdition> CreerEdition() override;
    Enregistrement SupprimerEnregistrement(const QString& cle) override;

private:
    std::unique_ptr<Ui::TFicheCategorieTypeListe> ui;
    // The rows of the last read, by key: what a deletion may take.
    QHash<QString, CategoriesTypes::LigneType> lues;
};
