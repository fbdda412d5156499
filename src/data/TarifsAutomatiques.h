#pragma once

// The installation lines a quote receives when the host sends it without
// any: for each item carrying a host family code, the general tariffs of the
// quote's default installation kind whose category suits the item.

#include <QString>

class TMenuiseries;
class TPoseLivraison;

namespace TarifsAutomatiques {

// The property naming the host's joinery family of an item.
inline const QString kProprieteFamille = QStringLiteral("TRELVANE_LIBELLE_CODE");

// Attaches the lines, only when no item of the quote has any line yet.
void Affecter(TMenuiseries& menuiseries, const TPoseLivraison& poseGlobale);

} // namespace TarifsAutomatiques
