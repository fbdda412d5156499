#pragma once

// Recovery files: while a pricing session is open, the answer it would
// write is kept in the archive folder "Xml/", so that a session stopped
// before "Valider" (the program killed, the machine stopped) can be taken
// back at the next start on the same quote. The files of the session whose
// archive copies are named P (P.entree.xml, P.sortie.xml):
//   P.reprise.xml          the answer as "Valider" would write it, replaced
//                          whole at each write as the answer is;
//   P.verrou               held while the session runs: no other copy of
//                          the program takes a recovery file whose session
//                          still runs;
//   P.reprise-ecartee.xml  a recovery file the user declined to take back.
// A recovery file belongs to the quote whose input archive P.entree.xml it
// sits beside: it is offered for an input whose archive copy holds the same
// bytes.

#include "model/Echange.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

class QLockFile;

// The recovery file of a running session, written away from the screen: a
// write never holds up the user, and the bytes given while one runs replace
// any others still waiting.
class TFichierReprise
{
public:
    // Takes the session's lock. Nothing else is written yet.
    explicit TFichierReprise(const QString& prefixe);
    // Finishes what was given (a session that did not end as the user
    // wished keeps its file), then lets go of the lock.
    ~TFichierReprise();
    TFichierReprise(const TFichierReprise&) = delete;
    TFichierReprise& operator=(const TFichierReprise&) = delete;

    // False when the lock could not be taken (the folder takes no file):
    // no recovery file can then be kept.
    bool EstVerrouille() const;
    const QString& Chemin() const { return chemin; }

    // These bytes replace the file, soon.
    void Ecrire(QByteArray octets);
    // The file goes, once the write under way is done.
    void Supprimer();
    // Waits until all that was given is done; the reason of the last write
    // that failed, nothing when it succeeded.
    std::optional<QString> Attendre();

private:
    struct Ecrivain;
    QString chemin;
    std::unique_ptr<QLockFile> verrou;
    std::unique_ptr<Ecrivain> ecrivain;
};

// An interrupted session of the quote being opened, held (its lock taken)
// while the user decides.
struct RepriseTrouvee
{
    RepriseTrouvee();
    RepriseTrouvee(RepriseTrouvee&&) noexcept;
    RepriseTrouvee& operator=(RepriseTrouvee&&) noexcept;
    ~RepriseTrouvee();

    QString chemin;     // its recovery file
    QDateTime ecriture; // when it was last written
    DevisEchange devis; // the quote it held, read as an answer is read
    std::unique_ptr<QLockFile> verrou;
};

// The most recent recovery file of `dossierXml` (the one of `prefixe`
// excepted) whose input archive holds the same bytes as `prefixe`'s input
// archive and whose session no longer runs; nothing when there is none.
// A recovery file that cannot be read throws ErreurEchange or ErreurXml
// (the exchange file's messages, naming it) and is left as it is.
std::optional<RepriseTrouvee> ChercherReprise(const QString& dossierXml, const QString& prefixe);

// The session taken back: its recovery file becomes `cheminReprise`, the
// one of the session opening on it. False when it could not be moved (it
// then stays, and is offered again).
bool Reprendre(RepriseTrouvee& reprise, const QString& cheminReprise);
// Declined: it is kept under a name that says so, never offered again.
void Ecarter(RepriseTrouvee& reprise);

// "Le fichier de récupération « … » ne peut pas être lu : …", the message
// of a file that cannot be taken; a reason that already names the file is
// kept as it is.
QString MessageLecture(const QString& fichier, const QString& raison);
