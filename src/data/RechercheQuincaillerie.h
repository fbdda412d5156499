#pragma once

// The hardware catalogue (table Quincaillerie) as the hardware dialogs of the
// pricing side read it: the search on both labels, one entry by key, and the
// catalogue prices by which an entry of a quote is checked against it.

#include "model/Quincaillerie.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace Quincailleries {

// The entries whose label contains `libelle` and whose second label contains
// `libelle2`, each matched as typed, upper-cased or lower-cased (an empty
// text matches every label, a null one included: a null label reads as the
// empty text), by label then second label; quantities are 0.
QVector<TQuincaillerie> Rechercher(const QString& libelle, const QString& libelle2);

// The entry of that key, quantity 0; nothing unless exactly one row has it.
std::optional<TQuincaillerie> EntreeCatalogue(const QString& id);

// The values of an entry that its quantity and amounts follow.
struct PrixCatalogue
{
    double tarifVente = 0.0;
    double tarifAchat = 0.0;
    double nbPieces = 0.0;
    double nbPiecesMl = 0.0;
};

// Those of the catalogue entry of that key; nothing when it is no longer there.
std::optional<PrixCatalogue> Prix(const QString& id);

// Prix of each key, in one statement (a repaint of the hardware grid, a
// refresh of every entry): the keys no longer in the catalogue are missing
// from the answer.
QHash<QString, PrixCatalogue> PrixDe(const QStringList& ids);

// True when the catalogue still holds the entry and any of the four values
// differs from the entry's own, to the last bit.
bool PrixModifies(const TQuincaillerie& entree);

// PrixModifies of each entry (the rows of a repaint), in one statement, in
// the order given.
QVector<bool> PrixModifies(const QVector<const TQuincaillerie*>& entrees);

// Each entry takes the catalogue's four values, as PrixDe read them (a
// refresh of a whole quote reads them once); quantity, labels and export
// code stay, and an entry no longer in the catalogue keeps its values.
// Returns the number of entries that changed.
int Actualiser(TQuincailleries& quincailleries, const QHash<QString, PrixCatalogue>& catalogue);

} // namespace Quincailleries
