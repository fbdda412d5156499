#pragma once

#include <QString>
#include <QStringList>

// Builds the demo database in a folder: a fresh Quarlo.abs (an existing one is
// replaced) with the complete schema, the installers of the configuration file,
// then the reference data script, run in one transaction. A script row whose
// looked-up key finds nothing is an error, so the demo never holds dangling
// rows. Returns one line per table with its row count; throws
// std::runtime_error with a French text on any failure.
QStringList PreparerBaseDemo(const QString& dossier, const QString& fichierConfig,
                             const QString& fichierScript);
