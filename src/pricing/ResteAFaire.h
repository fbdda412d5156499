#pragma once

// What is probably unfinished in a quote being priced, shown beside
// "Valider" without holding it up: items without any line, lines without an
// installer, lines sold under the minimum margin or at a loss, lines whose
// price is not their tariff's any more (red).

#include <QString>
#include <QVector>
#include <optional>

struct ResteAFaire
{
    // An item without line (tarif -1), or a line.
    struct Position
    {
        int menuiserie = -1;
        int tarif = -1;
        bool operator==(const Position&) const = default;
    };

    int menuiseriesSansLigne = 0;
    int lignesSansPoseur = 0;
    int lignesSousMarge = 0;
    int lignesEnRouge = 0;
    // Each item or line to look at once, in the quote's order.
    QVector<Position> positions;

    bool EstVide() const { return positions.isEmpty(); }
    // The first position after that item and line (after the item itself
    // when tarif is -1), from the start again after the last one; nothing
    // when nothing is left.
    std::optional<Position> Suivante(int menuiserie, int tarif) const;
};

// "2 menuiseries sans ligne · 3 lignes sans poseur"; "" when nothing is left.
QString TexteResteAFaire(const ResteAFaire& reste);
