#pragma once

// Maintenance of the hardware catalogue (table Quincaillerie): the entries
// as the administration lists and edits them, and the catalogue as a
// semicolon-separated file (export, and import replacing the whole table).

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
// Inserts the entry when the key is empty, else updates the row of that key.
void Enregistrer(const QString& cle, const Article& article);
// Deletes the entry; returns the rows removed.
int Supprimer(const QString& cle);

// The fields of a line of the catalogue file.
inline constexpr int kNombreChamps = 8;
// The heading line, then one line per entry by export code, label and
// second label: numbers with two decimals, "O" or "N" for cuttable.
QStringList EnteteExportation();
QVector<QStringList> LignesExportation();

// Told the number of lines written so far and the total.
using Progression = std::function<void(int faites, int total)>;

// Replaces the catalogue by the lines of a file (as LireLignesCsv reads
// them with kNombreChamps fields): the heading line (first field
// "CodeExport") is skipped; each other line is an entry, its numbers read
// with the regional separator (0 when not a number), cuttable when its last
// field is "O" in any case. The table is emptied and filled in one
// transaction: on any failure it keeps every entry it had, and the error
// says so. Returns the number of entries imported.
int Importer(const QVector<QStringList>& lignes, const Progression& progression = {});

} // namespace CatalogueQuincaillerie
