#pragma once

// The amounts of a quote being priced, as value types: the four figures of a
// hardware list or of an item, and every figure of the quote.

class TMenuiserie;
class TMenuiseries;
class TPoseLivraison;
class TQuincailleries;

// Purchase, sale, VAT and sale with VAT.
struct Montants
{
    double achat = 0.0;
    double ht = 0.0;
    double tva = 0.0;
    double ttc = 0.0;
};

struct TotauxDevis
{
    double livraisonHt = 0.0;
    double livraisonTva = 0.0;
    double livraisonTtc = 0.0;
    double menuiseriesHt = 0.0;
    double quincailleriesHt = 0.0; // the items' included hardware, part of menuiseriesHt
    double quincailleriesGlobalesHt = 0.0;
    double achatHt = 0.0;          // delivery has no purchase amount
    double ht = 0.0;
    double tva = 0.0;
    double ttc = 0.0;
};

// Delivery carries a fixed 20 % VAT, whatever the VAT of the installation kind.
inline constexpr double kTauxTvaLivraison = 0.2;

Montants MontantsQuincaillerie(const TQuincailleries& quincailleries);

// The lines of the item (with the hardware they include) times the item's
// quantity field.
Montants MontantsMenuiserie(const TMenuiserie& menuiserie);

// Delivery, the items each counted by their "Quantite" property, and the
// quote-wide hardware.
TotauxDevis CalculerTotaux(const TPoseLivraison& poseGlobale, const TMenuiseries& menuiseries,
                           const TQuincailleries& quincailleriesGlobales);
