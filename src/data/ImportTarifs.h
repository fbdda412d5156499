#pragma once

// Reading an exported tariff grid back (a file prepared or corrected in a
// spreadsheet). Each line names its installation kind, installer and
// category by key, or by label when the key field is empty (when both are
// given they must name the same record), and gives a price: a price that
// differs from the stored one changes it, a tariff that does not exist is
// created, an empty price leaves the stored tariff alone. A line that
// cannot be placed, or whose price cannot be taken, is set aside with its
// reason; the others are written together or not at all.

#include "data/Tarifs.h"
#include "model/LigneCsv.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

namespace ImportTarifs {

// The fields of a line of the file, as the export writes them.
inline constexpr int kNombreChamps = 10;

using Rejet = LigneEcartee;

// A grid the file writes in, with the names the database gives its kind
// and installer.
struct Grille
{
    Tarifs::Choix choix;
    QString pose;
    QString poseur;
};

// A price the file writes: created when there was none.
struct Changement
{
    int ligne;   // of the file
    int grille;  // in Bilan::grilles
    QString categorie; // its name, as the grid shows it
    std::optional<double> ancien;
    double nouveau;
};

struct Bilan
{
    int crees = 0;
    int modifies = 0;
    QVector<Rejet> rejets;
    bool importe = false;
    // Tariffs that another copy changed between the examination and the
    // import: they keep that copy's price.
    QVector<Rejet> laisses;
    // The grids written in, by their first line in the file, and each price
    // written, in the order of the file.
    QVector<Grille> grilles;
    QVector<Changement> changements;

    bool RienAEcrire() const { return crees == 0 && modifies == 0; }
};

// What importing these lines would do, writing nothing. The lines are those
// of the whole file, heading included, as LireLignesCsv gives them.
Bilan Examiner(const QVector<LigneLue>& lignes);

// Examines the lines and, when something is to be written, asks
// `confirmer` with what would be done; on its yes writes what was examined,
// in one transaction, each tariff only over the price examined. Returns
// what was examined, or what was done once imported.
Bilan Importer(const QVector<LigneLue>& lignes, const std::function<bool(const Bilan&)>& confirmer);

} // namespace ImportTarifs
