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

// An installer's price under another installation kind, in the category of
// the tariff row chosen for a line; nothing when that row or his price is
// missing.
std::optional<double> PrixPoseurPourPose(const QString& idPose, const QString& idTarif, const QString& idPoseur);

// A grid of tariffs: one installation kind and one installer.
struct Choix
{
    QString idPose;
    QString idPoseur;
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

// A row of a grid as the administrator left it: the price as typed.
struct PrixSaisi
{
    QString idTarif; // "" for a category that had no tariff
    QString idCategorie;
    QString prix;
};

// Why a grid was not saved.
struct RefusGrille
{
    enum class Motif { PrixInvalide, SansPose };
    Motif motif;
    int ligne = -1; // the row of the first price that is not a number
};

// Saves a grid in one transaction: a typed price updates the tariff of the
// row or inserts one under the grid's kind and installer, an emptied price
// deletes it. Nothing is written when a price is not a number, nor when
// something would be written without an installation kind: the reason is
// returned instead.
std::optional<RefusGrille> EnregistrerGrille(const Choix& choix, const QVector<PrixSaisi>& saisies);

// Sets the price of a tariff: the tariff of that key, or a new one of the
// kind, installer and category given when the key is empty.
void EcrirePrix(const Choix& choix, const QString& idCategorie, const QString& idTarif, double prix);

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
