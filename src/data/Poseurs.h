#pragma once

// Installers (table Poseur): written from the host's configuration file at
// every start, read by the installer choice and the pricing screen.

#include "data/Enregistrement.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace Poseurs {

struct Poseur
{
    QString cle;
    QString code;
    QString nom;
    QString rue1;
    QString rue2;
    QString cp;
    QString ville;
    QString rge;
    QString siret;
};

// Every installer, by name (equal names in the order the database gives).
QVector<Poseur> Lister();

// Deletes the installer of that row of the list only (its tariff rows
// stay), while it still holds what the list read of it; otherwise nothing
// is deleted and the state says why.
Enregistrement Supprimer(const Poseur& lu);

// The name of the installer of that key; "" unless exactly one row has it.
QString Nom(const QString& cle);

// Nom of each key, in one statement: the keys that are no single
// installer's are missing from the answer.
QHash<QString, QString> Noms(const QStringList& cles);

// What a line records of its installer.
struct Identite
{
    QString nom;
    QString siret;
    QString rge;
};

// The installer of that key; all empty unless exactly one row has it.
Identite LireIdentite(const QString& cle);

// The keys of an installer's section in the host's configuration file,
// which are also the columns written, Code first.
inline constexpr int kNombreChampsHote = 13;
const std::array<QString, kNombreChampsHote>& ChampsHote();
using ValeursHote = std::array<QString, kNombreChampsHote>;

// A text of the host's longer than its column holds: stored cut to the
// column's width.
struct TexteCoupe
{
    QString code;  // the installer's, as the host gives it
    QString champ; // the key of the configuration file
    int longueur = 0;
    int largeur = 0; // the characters kept
};

// Writes the host's installers, in one transaction (a database error leaves
// the table as it was): a Code found exactly once updates its row, keeping
// its key and so its tariffs; any other is inserted. Each text is cut to its
// column's width, so that no text of the host's stops a start. Rows that
// already hold what the file says are left alone, and when all do nothing
// is written. The changes and the new rows go in a statement per slice of
// many rows, not one per installer. Returns the texts cut in the rows
// written (none at the starts after the first that stored them).
QVector<TexteCoupe> EnregistrerPoseursHote(const QVector<ValeursHote>& poseurs);

} // namespace Poseurs
