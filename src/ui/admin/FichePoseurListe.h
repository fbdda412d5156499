#pragma once

#include "ui/common/FicheListe.h"

#include "data/Poseurs.h"

#include <QHash>
#include <memory>

namespace Ui {
class TFichePoseurListe;
}

// The installers sent by the host at every start, with their address and
// registration numbers. They are not edited here, only deleted.
class TFichePoseurListe : public TFicheListe
{
    Q_OBJECT
public:
    explicit TFichePoseurListe(QWidget* parent);
    ~TFichePoseurListe() override;

protected:
    QVector<LigneRapport> LireLignes() override;
    Enregistrement SupprimerEnregistrement(const QString& cle) override;

private:
    std::unique_ptr<Ui::TFichePoseurListe> ui;
    // The rows of the last read, by key: what a deletion may take.
    QHash<QString, Poseurs::Poseur> lues;
};
