#pragma once

// Files as bytes, for tests that write what a host writes and read back
// what the program wrote. Header only.

#include <QByteArray>
#include <QFile>
#include <QString>

// The test aborts when the file cannot be written.
inline void EcrireOctets(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size())
        qFatal("Cannot write %s", qPrintable(chemin));
}

// Empty when the file cannot be read.
inline QByteArray LireOctets(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}
