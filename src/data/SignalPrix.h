#pragma once

// The red signal of the pricing lists: a line whose sale price no longer
// matches the current general price of its tariff in the database.

class TTarif;
class TMenuiserie;

// True when the general tariff (no installer) of the line's installation
// kind and category has a price other than the line's, to the last bit.
// A tariff missing from the database gives no signal.
bool EcartPrix(const TTarif& tarif);

// True when any line of the item has EcartPrix (stops at the first).
bool MenuiserieEnEcart(const TMenuiserie& menuiserie);
