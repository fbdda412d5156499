#pragma once

// Operands (table Operande): the quantities of an item that a category
// constraint can test. They come with the database and are only read.

#include <QString>
#include <QVector>

namespace Operandes {

struct Operande
{
    QString cle;
    QString libelle;
    QString code;
};

// Every operand, by label.
QVector<Operande> Lister();

} // namespace Operandes
