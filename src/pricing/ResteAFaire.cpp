#include "pricing/ResteAFaire.h"

#include <QStringList>
#include <algorithm>

std::optional<ResteAFaire::Position> ResteAFaire::Suivante(int menuiserie, int tarif) const
{
    if (positions.isEmpty())
        return std::nullopt;
    const auto apres = std::find_if(positions.cbegin(), positions.cend(), [&](const Position& position) {
        return position.menuiserie > menuiserie || (position.menuiserie == menuiserie && position.tarif > tarif);
    });
    return apres != positions.cend() ? *apres : positions.constFirst();
}

namespace {

// "1 ligne sans poseur", "3 lignes sans poseur"; nothing for none.
void Compter(QStringList& parties, int nombre, const QString& singulier, const QString& pluriel)
{
    if (nombre > 0)
        parties << QString::number(nombre) + QLatin1Char(' ') + (nombre > 1 ? pluriel : singulier);
}

} // namespace

QString TexteResteAFaire(const ResteAFaire& reste)
{
    QStringList parties;
    Compter(parties, reste.menuiseriesSansLigne, QStringLiteral("menuiserie sans ligne"),
            QStringLiteral("menuiseries sans ligne"));
    Compter(parties, reste.lignesSansPoseur, QStringLiteral("ligne sans poseur"), QStringLiteral("lignes sans poseur"));
    Compter(parties, reste.lignesSousMarge, QStringLiteral("ligne sous la marge minimum"),
            QStringLiteral("lignes sous la marge minimum"));
    Compter(parties, reste.lignesEnRouge, QStringLiteral("ligne au prix changé"),
            QStringLiteral("lignes au prix changé"));
    return parties.join(QStringLiteral(" · "));
}
