#pragma once

// The copy of a company's reference data from one database to another (the
// file Quarlo.abs, a server database), keys kept, in one transaction, then
// checked row by row: what QuarloCopieBase does.

#include <QString>
#include <QStringList>

namespace CopieBase {

// What happened, in the order it happened, for the person moving the data.
struct Compte
{
    bool reussie = false; // copied whole and found identical
    QStringList lignes;
};

// An argument that is a libpq connection string (key=value pairs or a
// postgresql:// URI) names a server database, any other a file. The source
// is only read. The destination is created when it is a missing file or a
// server database without tables, and refused when it already holds data.
Compte Copier(const QString& source, const QString& destination);

// The program: usage, the copy, its account on the output; the exit code
// (0 only for a complete and checked copy, 1 for a failure, 2 for a wrong call).
int Executer(const QStringList& arguments);

} // namespace CopieBase
