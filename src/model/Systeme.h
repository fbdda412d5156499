#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What the program asks of the operating system about files beyond what Qt
// gives: writes that reach the disk, a file held against the other copies of
// the program, a file replaced whole, a name taken only when it is free.
// One side per system: SystemePosix.cpp and SystemeWindows.cpp. Paths are
// Qt's (any separator); failures carry the system's own words.
namespace Systeme {

struct Echec
{
    QString raison;
    bool refus = false;   // the system refused the right: permissions, read-only medium
    bool existe = false;  // the name was taken already
};

using Issue = std::optional<Echec>; // nothing when the operation succeeded

// A file held open by this process, closed when it goes out of scope.
class FichierTenu
{
public:
    // A new file under that name, made only if no file has it. While it is
    // held, SupprimerSiAbandonne leaves it alone. It takes the permissions of
    // `modele` when that file exists, else those a new file takes.
    static FichierTenu CreerNouveau(const QString& chemin, const QString& modele, Issue& issue);
    // An existing file, to read and write.
    static FichierTenu OuvrirExistant(const QString& chemin, Issue& issue);

    FichierTenu() = default;
    FichierTenu(FichierTenu&& autre) noexcept;
    FichierTenu& operator=(FichierTenu&& autre) noexcept;
    FichierTenu(const FichierTenu&) = delete;
    FichierTenu& operator=(const FichierTenu&) = delete;
    ~FichierTenu();

    bool Ouvert() const;
    Issue LireTout(QByteArray& octets);
    Issue Ecrire(const QByteArray& octets, qint64 position = 0);
    // Takes the room for `taille` bytes, so that a full disk shows before
    // anything is overwritten; a file system that cannot say is no failure.
    Issue Reserver(qint64 taille);
    Issue Tronquer(qint64 taille);
    Issue PorterSurDisque();
    // The file takes the name `cible`, replacing the file it names, while
    // still held.
    Issue RenommerEn(const QString& cible);
    // The file goes (at the latest when it is no longer held).
    void Supprimer();

private:
    QString chemin;
#ifdef Q_OS_WIN
    void* handle = reinterpret_cast<void*>(-1);
#else
    int fd = -1;
#endif
};

// Removes that file when no process holds it (FichierTenu::CreerNouveau):
// what a copy stopped while writing left behind.
void SupprimerSiAbandonne(const QString& chemin);

// Why the file at that path may not be written, when it exists and may not.
std::optional<QString> EcritureRefusee(const QString& chemin);

// What a path names, for a file about to be read.
struct Nature
{
    enum Genre { Absent, Inaccessible, Dossier, Tube, Ordinaire, Autre } genre = Absent;
    qint64 taille = 0;
    QString raison; // for Inaccessible
};
Nature NatureDe(const QString& chemin);

// The file `source` takes the name `cible` when no file has it: true. When
// one has, `source` is left and false returned. Whoever opens `cible` finds
// no file or the whole of `source`.
bool NommerSiLibre(const QString& source, const QString& cible, Issue& issue);

// Ends the program with that code, once everything it wrote is closed. On
// Windows the C++ runtime destroys the main thread's thread-local objects
// after the static ones: the toolkit's animation timers, thread-local, then
// find its thread records gone and the program crashes as it ends, after a
// priced quote was written. There the process ends before the static
// objects are destroyed, which holds nothing the program needs.
[[noreturn]] void Terminer(int code);

} // namespace Systeme
