#pragma once

#include "ui/common/FicheListe.h"

#include "data/Categories.h"

#include <QHash>
#include <memory>

namespace Ui {
class TFicheCategorieListe;
}

// The categories under their display names; deleting one also deletes its
// constraints and all its tariffs.
class TFicheCategorieListe : public TFicheListe
{
    Q_OBJECT
public:
    explicit TFicheCategorieListe(QWidget* parent);
    ~TFicheCategorieListe() override;

protected:
    QVector<LigneRapport> LireLignes() override;
    std::unique_ptr<TFicheEdition> CreerEdition() override;
    Enregistrement SupprimerEnregistrement(const QString& cle) override;

private:
    std::unique_ptr<Ui::TFicheCategorieListe> ui;
    // The rows of the last read, by key: what a deletion may take.
    QHash<QString, Categories::LigneCategorie> lues;
};
