#pragma once

// The child side of a test that starts several processes at once: each one
// says "pret" when it is ready, then waits until the test answers with a
// line, so they all begin together.

#include <QFile>

inline void AttendreDepart()
{
    QFile entree, sortie;
    entree.open(stdin, QIODevice::ReadOnly);
    sortie.open(stdout, QIODevice::WriteOnly);
    sortie.write("pret\n");
    sortie.flush();
    entree.readLine();
}
