#pragma once

// Reading an exported tariff grid back (a file prepared or corrected in a
// spreadsheet). Each line names its installation kind, installer and
// category by key, or by label when the key field is empty, and gives a
// price: a price that differs from the stored one changes it, a tariff that
// does not exist is created, an empty price leaves the stored tariff alone.
// A line that cannot be placed is set aside with its reason; the others are
// written together or not at all.

#include <QString>
#include <QStringList>
#include <QVector>

namespace ImportTarifs {

// The fields of a line of the file, as the export writes them.
inline constexpr int kNombreChamps = 10;

struct Rejet
{
    int ligne; // line of the file, from 1
    QString raison;
};

struct Bilan
{
    int crees = 0;
    int modifies = 0;
    QVector<Rejet> rejets;

    bool RienAEcrire() const { return crees == 0 && modifies == 0; }
};

// What importing these lines would do, writing nothing. The lines are those
// of the whole file, heading included, as LireLignesCsv gives them.
Bilan Examiner(const QVector<QStringList>& lignes);

// Imports the lines in one transaction; returns what was done.
Bilan Importer(const QVector<QStringList>& lignes);

} // namespace ImportTarifs
