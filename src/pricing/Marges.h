#pragma once

// The margins of a quote being priced: what is left of a sale once bought,
// in per cent of the sale, and the lines a seller should look at twice:
// sold under the minimum margin, sold at a loss, or priced without the
// installer's price (a purchase of 0 would look like a margin of 100 %).
// Nothing here reaches the answer file.

#include <optional>

class TTarif;

// (sale - purchase) / sale, in per cent; nothing for a sale of 0.
std::optional<double> TauxMarge(double vente, double achat);

enum class AlerteMarge { Aucune, AchatManquant, Perte, SousMinimum };

struct MargeLigne
{
    std::optional<double> taux;
    AlerteMarge alerte = AlerteMarge::Aucune;
};

// The line's margin, its hardware counted while it includes it, against
// the minimum (in per cent). A line whose installer price is 0 is marked
// first, a loss next, then a margin under the minimum.
MargeLigne MargeDuTarif(const TTarif& tarif, double minimum);
