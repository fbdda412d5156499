#pragma once

// Maintenance of the hardware catalogue (table Quincaillerie): the entries
// as the administration lists and edits them, and the catalogue as a
// semicolon-separated file (export, and import replacing the whole table).

#include "data/Enregistrement.h"
#include "model/LigneCsv.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

namespace CatalogueQuincaillerie {

struct Article
{
    QString codeExport;
    QString libelle;
    QString libelle2;
    double tarifVente = 0.0;
    double tarifAchat = 0.0;
    double nbPieces = 0.0;
    double nbPiecesML = 0.0;
    bool secable = false;
};

struct LigneCatalogue
{
    QString cle;
    Article article;
};

// Every entry, by label then second label.
QVector<LigneCatalogue> Lister();
// The entry of that key; nothing unless exactly one row has it.
std::optional<Article> Lire(const QString& cle);
// Inserts the entry when the key is empty, else updates the row of that key
// while it still holds what was read of it (`lu`, nothing when it was not
// found).
Enregistrement Enregistrer(const QString& cle, const Article& article, const std::optional<Article>& lu = {});
// Deletes the entry of that row of the list while it still holds what the
// list read of it; otherwise nothing is deleted and the state says why.
Enregistrement Supprimer(const LigneCatalogue& lue);

// The fields of a line of the catalogue file.
inline constexpr int kNombreChamps = 8;
// The characters each text column holds.
inline constexpr int kLongueurTexte = 100;
// The heading line, then one line per entry by export code, label and
// second label: numbers with two decimals, "O" or "N" for cuttable.
QStringList EnteteExportation();
QVector<QStringList> LignesExportation();

// An entry that a line of a file gives.
struct EntreeImportee
{
    int ligne; // of the file, from 1
    Article article;
};

// What a catalogue file would do, nothing written. A heading line (first
// field "CodeExport") and blank lines stand for nothing. Each other line is
// an entry: its texts cut to their column, its numbers read with the
// regional separator (an empty one is 0), cuttable for "O" and not for "N"
// (in any case; empty is "N"); a line that is no such entry (not eight
// fields, a number that cannot be read or lies beyond the program's bound,
// another cuttable value) is set aside with its reason.
struct Examen
{
    QVector<EntreeImportee> entrees;
    QVector<LigneEcartee> ecartees;
    int textesCoupes = 0;
    int nombreActuel = 0; // entries of the catalogue when it was examined

    // Why such a file must not replace the catalogue: no entry, or more
    // lines set aside than entries; "" when it may.
    QString Refus() const;
};
Examen Examiner(const QVector<LigneLue>& lignes);

// Told the number of entries written so far and the total.
using Progression = std::function<void(int faites, int total)>;

// Examines the lines and, unless the file is refused, asks `confirmer`
// with the examination; on its yes, replaces the catalogue by the entries
// examined. The table is emptied and filled in one transaction: on any
// failure it keeps every entry it had, and the error says so. Returns the
// examination and whether the catalogue was replaced.
struct Importation
{
    Examen examen;
    bool faite = false;
};
Importation Importer(const QVector<LigneLue>& lignes, const std::function<bool(const Examen&)>& confirmer,
                     const Progression& progression = {});

} // namespace CatalogueQuincaillerie
