#pragma once

// Installation prices (table Tarif): one price per installation kind,
// category and installer; installer 0 is the general sale tariff. The
// administration edits them as a grid per kind and installer, exports that
// grid and copies one grid onto another.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace Tarifs {

// The installer key of the general sale tariff, and its name in the lists.
inline const QString kPoseurGeneral = QStringLiteral("0");
inline const QString kNomPoseurGeneral = QStringLiteral("<Tarif général de vente>");

struct TarifGeneral
{
    QString cle;
    QString idCategorie;
    std::optional<double> prix; // nothing when the price is null
};

// The general tariffs of an installation kind, by key.
QVector<TarifGeneral> Generaux(const QString& idPose);

// The price the general tariff (installer 0) of the line's installation kind
// and category has now; nothing when the line's tariff row is gone. Runs on
// a query of its own, so it may be called while painting.
std::optional<double> PrixGeneral(const QString& idTarif);

// An installer's own price for the work of a line: his row of the same
// installation kind and category as the line's tariff row, the highest key
// when he has several; nothing when he has none.
std::optional<double> PrixPoseur(const QString& idTarif, const QString& idPoseur);

// A grid of tariffs: one installation kind and one installer.
struct Choix
{
    QString idPose;
    QString idPoseur;

    bool operator==(const Choix&) const = default;
};

// One row of a grid: a category whose type exists, with its tariff for the
// grid's kind and installer (the one of highest key when several exist).
struct LigneGrille
{
    QString idCategorie;
    QString idCategorieType;
    QString typeLibelle;
    QString categorieLibelle;
    QString nom;                // the category's name, as lists show it
    QString idTarif;            // "" when the category has no tariff here
    std::optional<double> prix; // nothing when there is no tariff or its price is null
};

// The rows of a grid, by type label then category label.
QVector<LigneGrille> Grille(const Choix& choix);
// A row's price as the grid shows it: the shortest form, "" for none.
QString TextePrix(const LigneGrille& ligne);

// Why a grid was not saved.
struct RefusGrille
{
    enum class Motif { PrixInvalide, PrixHorsLimites, SansPose };
    Motif motif;
    int ligne = -1; // the row of the first price that cannot be taken
};

// What became of a grid's save.
struct EnregistrementGrille
{
    std::optional<RefusGrille> refus;
    // Rows that another copy changed since the grid was read: they keep
    // that copy's value, the typed one is not written.
    QVector<int> laissees;
};

// Saves what the administrator changed in a grid read as `lue` (prices as
// typed, by row), in one transaction and only over what was read: a row
// whose typed price says the same as the price read is not written; a new
// price updates the tariff read or, when there was none, inserts one under
// the grid's kind and installer; an emptied price deletes the tariff. A
// tariff that another copy changed, deleted or created since it was read
// is left as that copy made it, and its row said (unless that copy gave it
// the very price typed). Nothing at all is written
// when a price is not a number or lies beyond the program's bound, nor when
// something would be written without an installation kind: the reason is
// given instead.
EnregistrementGrille EnregistrerGrille(const Choix& choix, const QVector<LigneGrille>& lue, const QStringList& prix);

// A tariff row as it stands in the database.
struct TarifActuel
{
    QString cle;
    QString idPose;
    QString idPoseur;
    QString idCategorie;
    std::optional<double> prix; // nothing when null

    bool operator==(const TarifActuel&) const = default;
};

// One price an administrator asked for, over what he read: the tariff of
// key `idTarif` while its price is still `lu` (set to `prix`, or deleted
// when there is none), or, when the key is empty, a new tariff of the kind,
// installer and category while they have none. The keys of a new tariff
// must be whole numbers.
struct EcritureTarif
{
    QString idTarif;
    std::optional<double> lu;
    QString idPose;
    QString idPoseur;
    QString idCategorie;
    std::optional<double> prix;
};

// Makes, inside the caller's group, the writes that still apply to the
// tariffs `actuels` read in that group (every row the writes may meet), in
// a statement per slice of many rows for each kind of change; returns the
// positions of those that no longer apply, which write nothing.
QVector<int> EcrireTarifs(const QVector<EcritureTarif>& ecritures, const QVector<TarifActuel>& actuels);

// The semicolon-separated export of a grid: the heading, then one line per
// row of the grid (ten fields; the price with two decimals, empty when
// there is none). The names are those shown for the kind and the installer.
QStringList EnteteExportation();
QVector<QStringList> LignesExportation(const Choix& choix, const QString& nomPose, const QString& nomPoseur);

// Replaces every tariff of the target by a copy of the source's (source
// rows that agree in category and price are copied once), in one
// transaction: a failure leaves the target as it was. The keys must be
// whole numbers.
void Copier(const Choix& source, const Choix& cible);

// The tariffs of a copy's source and target, as the user was asked about them.
struct LectureCopie
{
    QVector<TarifActuel> source;
    QVector<TarifActuel> cible;
};
LectureCopie LireCopie(const Choix& source, const Choix& cible);
// Copier, only while both grids still hold what was read (`lue`): false,
// and nothing written, when another copy of the program changed one since.
bool Copier(const Choix& source, const Choix& cible, const LectureCopie& lue);

// Many lines at once, in one statement per repaint or action (the answer
// still comes from the database at that moment).
//
// PrixGeneral of each tariff key: the keys whose tariff row is gone are
// missing from the answer.
QHash<QString, double> PrixGeneraux(const QStringList& idTarifs);

// PrixPoseur of each line given as its tariff key and its installer key:
// the lines without a price of their installer are missing from the answer.
struct LignePoseur
{
    QString idTarif;
    QString idPoseur;
    bool operator==(const LignePoseur&) const = default;
};
inline size_t qHash(const LignePoseur& ligne, size_t graine = 0)
{
    return qHashMulti(graine, ligne.idTarif, ligne.idPoseur);
}
QHash<LignePoseur, double> PrixPoseurs(const QVector<LignePoseur>& lignes);

} // namespace Tarifs
