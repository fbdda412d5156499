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

// Gives the two roles of a company's server their rights on the database
// named by the connection string (which this tool brings up to date first):
// `administration` reads and writes every table; `chiffrage`, the pricing
// workstations', reads every table and writes only what a pricing start
// writes, the host's installers. Run by the owner of the tables; the roles
// must exist. Run again, it gives the same rights (after an upgrade that
// added a table, the new table's too).
Compte AccorderDroits(const QString& connexion, const QString& administration, const QString& chiffrage);

// The program: usage, the copy (or, with --droits, the rights), its account
// on the output; the exit code (0 only for a complete and checked copy or
// rights given, 1 for a failure, 2 for a wrong call).
int Executer(const QStringList& arguments);

} // namespace CopieBase
