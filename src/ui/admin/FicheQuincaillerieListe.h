#pragma once

#include "ui/common/FicheListe.h"

#include "data/CatalogueQuincaillerie.h"

#include <QHash>
#include <memory>

namespace Ui {
class TFicheQuincaillerieListe;
}

// The hardware catalogue: its entries, and the whole catalogue exported to
// or imported from a semicolon-separated file.
class TFicheQuincaillerieListe : public TFicheListe
{
    Q_OBJECT
public:
    explicit TFicheQuincaillerieListe(QWidget* parent);
    ~TFicheQuincaillerieListe() override;

    void btnExporterClick();
    void btnImporterClick();

protected:
    QVector<LigneRapport> LireLignes() override;
    std::unique_ptr<TFicheEdition> CreerEdition() override;
    Enregistrement SupprimerEnregistrement(const QString& cle) override;

private:
    std::unique_ptr<Ui::TFicheQuincaillerieListe> ui;
    // The rows of the last read, by key: what a deletion may take.
    QHash<QString, CatalogueQuincaillerie::LigneCatalogue> lues;
};
