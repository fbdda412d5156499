#pragma once

#include "ui/common/FicheListe.h"

#include "data/Poses.h"

#include <QHash>
#include <memory>

namespace Ui {
class TFichePoseListe;
}

// The installation kinds, with their VAT rate and export code.
class TFichePoseListe : public TFicheListe
{
    Q_OBJECT
public:
    explicit TFichePoseListe(QWidget* parent);
    ~TFichePoseListe() override;

protected:
    QVector<LigneRapport> LireLignes() override;
    std::unique_ptr<TFicheEdition> CreerEdition() override;
    Enregistrement SupprimerEnregistrement(const QString& cle) override;

private:
    std::unique_ptr<Ui::TFichePoseListe> ui;
    // The rows of the last read, by key: what a deletion may take.
    QHash<QString, Poses::LignePose> lues;
};
