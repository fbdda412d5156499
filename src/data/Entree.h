#pragma once

#include <QString>

// A record as a list or a drop-down list offers it: its key, as text, and
// the text shown for it.
struct Entree
{
    QString cle;
    QString libelle;
};
