#pragma once

// A named pipe, where the system has them: Windows has none in its file
// system, so the cases that need one are left out there.

#include <QFile>
#include <QString>

#ifdef Q_OS_WIN
constexpr bool kTubesNommes = false;
inline bool CreerTubeNomme(const QString&) { return true; }
#else
#include <sys/stat.h>
constexpr bool kTubesNommes = true;
inline bool CreerTubeNomme(const QString& chemin) { return ::mkfifo(QFile::encodeName(chemin).constData(), 0600) == 0; }
#endif
