#pragma once

// Maintenance of the hardware catalogue (table Quincaillerie): the entries
// as the administration lists and edits them, and the catalogue as a
// semicolon-separated file (export, and import bringing the table to what
// the file gives).

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

    bool operator==(const Article&) const = default;
};

struct LigneCatalogue
{
    QString cle;
    Article article;

    bool operator==(const LigneCatalogue&) const = default;
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

// A stored entry that the file gives other values.
struct EntreeModifiee
{
    int ligne; // of the file
    LigneCatalogue stockee;
    Article article;
};

// A stored entry that the file no longer gives.
struct EntreeSupprimee
{
    LigneCatalogue stockee;
    int ligneEcartee = 0; // the line set aside that named it; 0 for none
};

// What a catalogue file would do, nothing written. A heading line (first
// field "CodeExport") and blank lines stand for nothing. Each other line is
// an entry: its texts cut to their column, its numbers read with the
// regional separator (an empty one is 0), cuttable for "O" and not for "N"
// (in any case; empty is "N"); a line that is no such entry (not eight
// fields, a number that cannot be read or lies beyond the program's bound,
// another cuttable value) is set aside with its reason.
//
// An entry of the file is the stored product of the same export code when
// it has one, otherwise the one of the same two labels (two different
// export codes are never the same product); that product keeps its key, so
// the quotes priced with it take its new values at their refresh. The other
// entries are new products. The stored products the file does not give are
// removed, a product whose line is set aside with them.
struct Examen
{
    QVector<EntreeImportee> entrees;
    QVector<LigneEcartee> ecartees;
    int textesCoupes = 0;
    int nombreActuel = 0; // entries of the catalogue when it was examined

    QVector<EntreeImportee> nouvelles;
    QVector<EntreeModifiee> modifiees; // in the order of the file
    int inchangees = 0; // the same values, as the export writes them
    QVector<EntreeSupprimee> supprimees; // by key

    // Why such a file must not change the catalogue: no entry, or more
    // lines set aside than entries; "" when it may.
    QString Refus() const;
    // The file gives the catalogue as it is.
    bool RienAEcrire() const { return nouvelles.isEmpty() && modifiees.isEmpty() && supprimees.isEmpty(); }
};
Examen Examiner(const QVector<LigneLue>& lignes);

// Told the number of entries written so far and the total.
using Progression = std::function<void(int faites, int total)>;

// Examines the lines and, unless the file is refused or gives the catalogue
// as it is, asks `confirmer` with the examination; on its yes, makes the
// catalogue what the file gives, in one transaction, as examined: the
// removed entries deleted, the changed ones written over under their keys,
// the new ones inserted. On any failure the catalogue keeps every entry it
// had, and the error says so; when another copy of the program changed the
// catalogue since the examination, nothing is written either. Returns the
// examination and what became of it.
struct Importation
{
    Examen examen;
    bool faite = false;
    bool modifieAilleurs = false; // answered yes, but nothing written
};
Importation Importer(const QVector<LigneLue>& lignes, const std::function<bool(const Examen&)>& confirmer,
                     const Progression& progression = {});

} // namespace CatalogueQuincaillerie
