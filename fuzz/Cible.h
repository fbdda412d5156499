#pragma once

// What the fuzz targets share: the host's regional settings, and a check that
// stops the run with the input kept when a property of the code under test
// does not hold (libFuzzer saves the input that aborted).

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace cible {

// Amounts are read and written with a decimal comma, as on the hosts.
inline void RegionFrancaise()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

inline void Exiger(bool condition, const char* propriete, const QString& detail = QString())
{
    if (condition)
        return;
    std::fprintf(stderr, "\n*** propriété non tenue : %s\n%s\n", propriete, detail.toUtf8().constData());
    std::abort();
}

inline QByteArray Octets(const uint8_t* donnees, size_t taille)
{
    return QByteArray(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));
}

} // namespace cible
