#pragma once

// The tables of the program's database as a new one is made, in the order
// they are created; for the data module, the copy between databases and the
// tests that compare what each back end holds.

#include "engine/Base.h"

#include <QVector>

const QVector<Table>& SchemaQuarlo();
// The family table, apart: the upgrade creates it on its own in older files.
const Table& TableTrelvaneLibelle();
