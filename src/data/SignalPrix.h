#pragma once

// The red signal of the pricing lists: a line whose sale price no longer
// matches the current general price of its tariff in the database.

#include <QVector>

class TTarif;
class TMenuiserie;

// True when the general tariff (no installer) of the line's installation
// kind and category has a price other than the line's, to the last bit.
// A tariff missing from the database gives no signal.
bool EcartPrix(const TTarif& tarif);

// True when any line of the item has EcartPrix.
bool MenuiserieEnEcart(const TMenuiserie& menuiserie);

// The same for many at once, in one statement (a repaint of a list): the
// answer of each, in the order given.
QVector<bool> EcartsPrix(const QVector<const TTarif*>& tarifs);
QVector<bool> MenuiseriesEnEcart(const QVector<const TMenuiserie*>& menuiseries);
