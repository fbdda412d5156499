#pragma once

// The VAT types the host sent in its configuration file (the data module's
// in-memory table rxTva), for the units and windows that do not reach the
// database themselves.

#include "model/Tva.h"

#include <QString>
#include <QVector>
#include <memory>

// One row of rxTva.
struct LigneTva
{
    int typeTva = -1;
    QString libelle; // at most 30 characters
    double valeur = 0.0;
};

namespace TableTva {

// The rows in the order they were read.
const QVector<LigneTva>& Lignes();
// A VAT built from the last row of that type; nothing when none.
std::unique_ptr<TTva> GetTva(int typeTva);
// The same for a type carried as text by a list entry; nothing when the
// text is not a whole number or the table lacks the type.
std::unique_ptr<TTva> GetTva(const QString& typeTva);
// The rate of the last row of that type; -1 when none.
double GetTauxTva(int typeTva);

} // namespace TableTva
