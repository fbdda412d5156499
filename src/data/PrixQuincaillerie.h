#pragma once

// The current prices of a hardware entry in the catalogue (table
// Quincaillerie), against which the entries of a quote are refreshed.

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace PrixQuincaillerie {

struct Prix
{
    double tarifVente = 0.0;
    double tarifAchat = 0.0;
    double nbPieces = 0.0;
    double nbPiecesMl = 0.0;
};

// The catalogue's values for that entry; nothing when it is no longer there.
// Runs on a query of its own, so it may be called while painting.
std::optional<Prix> Lire(const QString& idQuincaillerie);

// Lire of each key, in one statement: the entries no longer in the
// catalogue are missing from the answer.
QHash<QString, Prix> LireTous(const QStringList& idQuincailleries);

} // namespace PrixQuincaillerie
