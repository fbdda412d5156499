#pragma once

// The semicolon-separated files that the administration writes and reads:
// the file chooser with its texts, the messages of each failure, and the
// progress of long work on a bar beside the button, with a check mark shown
// once the work is complete.

#include "model/LigneCsv.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QWidget;

// Progress of work done on the window's thread: the bar moves and the
// window keeps painting, while the user's clicks and keys wait until the
// work is over (so nothing starts a second time in the middle of it).
class Progression
{
public:
    Progression(QProgressBar* barre, int total);
    ~Progression();
    Progression(const Progression&) = delete;
    Progression& operator=(const Progression&) = delete;

    void Avancer(int faites);
    void Terminer();

private:
    QProgressBar* barre;
    QElapsedTimer depuisAffichage;
    void Afficher();
};

// The bar and the check mark of one transfer.
struct Indicateurs
{
    QProgressBar* barre;
    QLabel* coche;

    // Gives the check mark its picture, hidden, and empties the bar.
    void Installer() const;
    // Hides the check mark and empties the bar.
    void Preparer() const;
};

namespace Transfert {

// Asks for the file (proposing that name), then writes the heading and the
// lines that lignes() gives, in Windows-1252, or in UTF-8 after its mark
// when they would not read back otherwise. The file appears whole or not at
// all: an existing file of that name is replaced only once every line is
// written. Each failure is said, with the system's words on a second line,
// and ends the export; a complete export says so (and the UTF-8 when it
// chose it), with how to open the file in a spreadsheet without its codes
// turned into numbers. True when the file was written.
bool Exporter(QWidget* fenetre, const Indicateurs& indicateurs, const QString& nomPropose,
              const QStringList& entete, const std::function<QVector<QStringList>()>& lignes);

// Asks for the file to import (with that title and proposed name) and reads
// it whole. Nothing when the user cancels or the file cannot be read (the
// message is shown).
std::optional<QByteArray> LireFichier(QWidget* fenetre, const QString& titre, const QString& nomPropose);

// Lines of a summary, each after a line feed: the first kLignesMontrees,
// then "…" when there are more.
inline constexpr int kLignesMontrees = 8;
QString Premieres(const QStringList& lignes);

// Premieres of the elements, each the line `texte` gives of it (only those shown are made).
template <class Elements, class Texte>
QString PremieresDe(const Elements& elements, Texte texte)
{
    QStringList lignes;
    for (const auto& element : elements) {
        if (lignes.size() > kLignesMontrees)
            break;
        lignes << texte(element);
    }
    return Premieres(lignes);
}

// The lines an import set aside, as Premieres gives them.
QString LignesEcartees(const QVector<LigneEcartee>& ecartees);

} // namespace Transfert
