#pragma once

// The rules of a hardware list edited for some joinery items: the lengths
// its quantities follow, the sides counted, the recalculation, the entries
// added from the catalogue and the quantities typed by the user.

#include "model/Formats.h"

#include <QList>
#include <QStringList>
#include <QString>
#include <QVector>
#include <optional>

class TMenuiserie;
class TMenuiseries;
class TQuincaillerie;
class TQuincailleries;

// The items whose dimensions count, not owned: one item for the hardware of
// one of its lines, every item of the quote for the quote-wide hardware.
using MenuiseriesConcernees = QList<const TMenuiserie*>;
MenuiseriesConcernees ToutesLesMenuiseries(const TMenuiseries& menuiseries);

// Millimetres.
struct SommesDimensions
{
    int hauteurs = 0;
    int largeurs = 0;
    // What could not be read, one French sentence each.
    QStringList illisibles;
};

// The sums of the items' HAUTEUR and of their LARGEUR; an item without one
// adds nothing. A value that is not a whole number adds nothing either, and
// a sum beyond the 32-bit range counts 0: each is named in illisibles (with
// the item's label when several items count), so that what can be computed
// still is.
SommesDimensions SommerDimensions(const MenuiseriesConcernees& menuiseries);

// How many heights and widths of the items a quantity counts.
struct Comptage
{
    int nbHauteurs = 0;
    int nbLargeurs = 0;
};

// The mode of calculation: the perimeter (both heights and both widths) or
// the sides checked one by one.
struct ChoixCotes
{
    bool perimetre = true;
    bool hauteur1 = true;
    bool hauteur2 = true;
    bool largeur1 = true;
    bool largeur2 = true;

    Comptage Compter() const;
    // Sides mode with no side checked: nothing to count.
    bool AucunCote() const;
};

// Every entry's quantity computed again from the counted sides, to the cent
// as the grid shows it; quantities typed by the user are replaced.
void RecalculerQuantites(TQuincailleries& quincailleries, Comptage comptage, SommesDimensions sommes);

// Appends the catalogue entry of that key with its quantity for the counted
// sides, to the cent; nullptr, adding nothing, unless exactly one catalogue
// row has it. The same entry may be added more than once.
TQuincaillerie* AjouterDuCatalogue(TQuincailleries& quincailleries, const QString& id, Comptage comptage,
                                   SommesDimensions sommes);

// A row of the hardware grid: the key it carries and the text of its
// quantity cell. Row i shows entry i.
struct QuantiteSaisie
{
    QString id;
    QString texte;
};

// The entry a grid row shows: the one at the row's position when it has the
// row's key (an entry added twice has two rows, each for its own entry),
// else the first entry with that key; nullptr for a row without key.
TQuincaillerie* EntreeDeLigne(TQuincailleries& quincailleries, int ligne, const QString& id);

// A quantity cell of the grid, as the user left it, into the entry its row
// shows: a number read with the regional separator, taken to the cent
// (LireMontantSaisi). A text that is no number or an amount beyond the bound
// is refused; an empty cell or a row without key is left. Only a taken
// quantity changes the entry. Returns why the text was refused
// (RefusMontant::Aucun when taken or left).
RefusMontant SaisirQuantite(TQuincailleries& quincailleries, int ligne, const QuantiteSaisie& saisie);

// The sale price of one linear metre (pieces needed per metre at the price of
// a piece); nothing when a pack holds no piece.
std::optional<double> PrixAuMetre(const TQuincaillerie& entree);
