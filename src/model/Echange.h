#pragma once

#include "model/Menuiserie.h"
#include "model/Pose.h"
#include "model/Quincaillerie.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <stdexcept>

class TXmlDocument;

// An exchange file whose content cannot be taken: the message (French) names
// the file and the problem.
class ErreurEchange : public std::runtime_error
{
public:
    explicit ErreurEchange(const QString& message);
};

// The quote read from the host's exchange file. The a... flags say whether
// the file held the element, so the screen knows what to show.
struct DevisEchange
{
    bool aPose = false;
    TPoseLivraison poseGlobale;
    // Which delivery options the file gave (only read under a quote-wide
    // pose): an option it does not give keeps the screen's state.
    std::array<bool, TPoseLivraison::kNombreOptions> aOption{};
    bool aCotes = false;
    bool cotes = false;
    bool aGlobal = false;
    TQuincailleries quincailleriesGlobales;
    TMenuiseries menuiseries;
    // Why the archive copy of the input could not be written ("" when it was).
    QString erreurArchive;
};

// The largest exchange file the program prices: far above any quote (one of
// 2,000 items with three lines of five hardware entries each is 8 MB), low
// enough that reading it keeps memory to a few times its size.
inline constexpr qint64 kTailleEchangeMaximale = 100LL * 1024 * 1024;

// What keeps a path from being read as a file, as the words that follow
// "Le fichier …" in a message: "n'existe pas", "est un dossier, pas un
// fichier", "est trop volumineux pour être chiffré (…)" (only when a largest
// size is given); nothing when it is a regular file that may be read.
std::optional<QString> ObstacleLecture(const QString& chemin, qint64 tailleMaximale = 0);

// Loads the exchange file, writes its archive copy prefixeHorodate +
// ".entree.xml" first, then builds the quote. The copy is history, not a
// condition of the work: when it cannot be written, the reason is given in
// erreurArchive and the quote is read all the same. Throws ErreurEchange
// before reading when the path is not a regular file or the file is larger
// than kTailleEchangeMaximale; ErreurXml when the file cannot be read or is
// not XML; ErreurEchange when a VAT type is not a whole number or an amount
// is out of range: the file is then refused as a whole.
DevisEchange LireEchange(const QString& fichierEchange, const QString& prefixeHorodate);

// Builds the quote from a loaded document; nomFichier only serves the messages.
DevisEchange LireDevis(const TXmlDocument& document, const QString& nomFichier);

// The bytes written to the exchange file: the declaration, a line feed, the
// whole root element on one line and a line feed, in Windows-1252.
QByteArray ContenuEchange(const TPoseLivraison& poseGlobale, bool priseDeCote, const TQuincailleries& globales,
                          const TMenuiseries& menuiseries);

// Writes the answer over the exchange file, then the same bytes as its
// archive copy prefixeHorodate + ".sortie.xml". Each file is replaced as
// RemplacerFichier says; when the exchange file cannot be written it keeps
// its content, the copy is not written and ErreurXml carries the system's
// reason. The copy is history: when only it fails, the reason is returned
// ("" when both were written).
QString EcrireEchange(const TPoseLivraison& poseGlobale, bool priseDeCote, const TQuincailleries& globales,
                   const TMenuiseries& menuiseries, const QString& fichierEchange, const QString& prefixeHorodate);
