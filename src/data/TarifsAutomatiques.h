#pragma once

// The installation lines a quote receives when the host sends it without
// any: for each item carrying a host family code, the general tariffs of the
// quote's default installation kind whose category suits the item.

class TMenuiseries;
class TPoseLivraison;

namespace TarifsAutomatiques {

// Attaches the lines, only when no item of the quote has any line yet.
void Affecter(TMenuiseries& menuiseries, const TPoseLivraison& poseGlobale);

} // namespace TarifsAutomatiques
