#include "model/RemplacerFichier.h"

#include <QFile>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Raison(int erreur)
{
    return QString::fromLocal8Bit(std::strerror(erreur));
}

// Closes a descriptor when it goes out of scope.
class Descripteur
{
public:
    explicit Descripteur(int fd) : fd(fd) {}
    ~Descripteur()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descripteur(const Descripteur&) = delete;
    Descripteur& operator=(const Descripteur&) = delete;
    int Get() const { return fd; }

private:
    int fd;
};

// Writes all the bytes at the given offset; returns errno or 0.
int EcrireTout(int fd, const QByteArray& octets, off_t position = 0)
{
    qsizetype ecrits = 0;
    while (ecrits < octets.size()) {
        const ssize_t n = ::pwrite(fd, octets.constData() + ecrits, size_t(octets.size() - ecrits), position + ecrits);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        ecrits += n;
    }
    return 0;
}

// Reads the whole file from its start; returns errno or 0.
int LireTout(int fd, QByteArray& octets)
{
    struct stat etat {};
    if (::fstat(fd, &etat) != 0)
        return errno;
    octets.resize(etat.st_size);
    qsizetype lus = 0;
    while (lus < octets.size()) {
        const ssize_t n = ::pread(fd, octets.data() + lus, size_t(octets.size() - lus), lus);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        lus += n;
    }
    octets.truncate(lus);
    return 0;
}

// The file's whole content becomes `octets`; returns errno or 0.
int Reecrire(int fd, const QByteArray& octets)
{
    if (const int erreur = EcrireTout(fd, octets))
        return erreur;
    if (::ftruncate(fd, octets.size()) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}

std::optional<QString> ReecrireSurPlace(const QByteArray& chemin, const QByteArray& octets)
{
    Descripteur fichier(::open(chemin.constData(), O_RDWR | O_CLOEXEC));
    if (fichier.Get() < 0)
        return Raison(errno);
    QByteArray ancien;
    if (const int erreur = LireTout(fichier.Get(), ancien))
        return Raison(erreur);
    // Room for the longer content is taken first, so a full disk is found
    // before anything is overwritten.
    if (octets.size() > ancien.size()) {
        if (const int erreur = ::posix_fallocate(fichier.Get(), 0, octets.size())) {
            if (::ftruncate(fichier.Get(), ancien.size()) != 0) {
                // The size could not be put back: the old content is rewritten below.
            }
            if (erreur != EOPNOTSUPP && erreur != EINVAL)
                return Raison(erreur);
        }
    }
    const int erreur = Reecrire(fichier.Get(), octets);
    if (erreur == 0)
        return std::nullopt;
    if (Reecrire(fichier.Get(), ancien) != 0)
        return Raison(erreur) + QStringLiteral(" ; l'ancien contenu n'a pas pu être remis en place");
    return Raison(erreur);
}

// The mode a new file gets: the target's when it exists, else the usual
// one of a created file.
mode_t ModeNouveauFichier(const struct stat* cible)
{
    if (cible)
        return cible->st_mode & 07777;
    const mode_t masque = ::umask(0);
    ::umask(masque);
    return 0666 & ~masque;
}

// The new content goes first to "<file>.quarlo-XXXXXX" beside the file: a
// name no other program gives, so what is left under it by a copy stopped
// while writing can be recognised and removed.
const QByteArray kMarqueTemporaire = QByteArrayLiteral(".quarlo-");
constexpr int kLettresTemporaire = 6; // the XXXXXX that mkostemp replaces

bool EstTemporaireDe(const char* nom, const QByteArray& prefixe)
{
    if (std::strncmp(nom, prefixe.constData(), size_t(prefixe.size())) != 0
        || std::strlen(nom) != size_t(prefixe.size() + kLettresTemporaire))
        return false;
    for (const char* c = nom + prefixe.size(); *c; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c)))
            return false;
    return true;
}

// Removes the temporary files of this file that nobody writes any more. A
// writer holds a lock on its temporary file until it has renamed it, and a
// stopped program holds none: a file that can be locked is a leftover.
void SupprimerRestes(const QByteArray& chemin)
{
    const qsizetype barre = chemin.lastIndexOf('/');
    const QByteArray dossier = barre < 0 ? QByteArrayLiteral(".") : barre == 0 ? QByteArrayLiteral("/") : chemin.left(barre);
    const QByteArray prefixe = chemin.mid(barre + 1) + kMarqueTemporaire;
    DIR* repertoire = ::opendir(dossier.constData());
    if (!repertoire)
        return;
    const int fdDossier = ::dirfd(repertoire);
    while (const dirent* entree = ::readdir(repertoire)) {
        if (!EstTemporaireDe(entree->d_name, prefixe))
            continue;
        Descripteur reste(::openat(fdDossier, entree->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat ouvert {}, nomme {};
        if (reste.Get() < 0 || ::fstat(reste.Get(), &ouvert) != 0 || !S_ISREG(ouvert.st_mode)
            || ::flock(reste.Get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        // The name may have been given to a new file meanwhile: only the one locked goes.
        if (::fstatat(fdDossier, entree->d_name, &nomme, AT_SYMLINK_NOFOLLOW) == 0 && nomme.st_dev == ouvert.st_dev
            && nomme.st_ino == ouvert.st_ino)
            ::unlinkat(fdDossier, entree->d_name, 0);
    }
    ::closedir(repertoire);
}

// A new temporary file beside the file, locked (see SupprimerRestes); its
// name in `temporaire`. Returns the descriptor, or -1 with errno set.
int CreerTemporaire(const QByteArray& chemin, QByteArray& temporaire)
{
    // Another copy cleaning at the very instant may take a file not yet
    // locked: it is gone then, and a new one is made.
    for (int essai = 0; essai < 3; ++essai) {
        temporaire = chemin + kMarqueTemporaire + QByteArray(kLettresTemporaire, 'X');
        const int fd = ::mkostemp(temporaire.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        struct stat ouvert {}, nomme {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &ouvert) == 0
            && ::stat(temporaire.constData(), &nomme) == 0 && nomme.st_dev == ouvert.st_dev && nomme.st_ino == ouvert.st_ino)
            return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

} // namespace

std::optional<QString> RemplacerFichier(const QString& chemin, const QByteArray& octets)
{
    const QByteArray nom = QFile::encodeName(chemin);
    struct stat etat {};
    const bool existe = ::stat(nom.constData(), &etat) == 0;
    if (existe && S_ISREG(etat.st_mode) && ::access(nom.constData(), W_OK) != 0)
        return QStringLiteral("le fichier est en lecture seule");

    SupprimerRestes(nom);
    QByteArray temporaire;
    Descripteur fichier(CreerTemporaire(nom, temporaire));
    if (fichier.Get() < 0) {
        const int erreur = errno;
        if (existe && S_ISREG(etat.st_mode) && (erreur == EACCES || erreur == EPERM || erreur == EROFS))
            return ReecrireSurPlace(nom, octets);
        return Raison(erreur);
    }
    int erreur = 0;
    if (::fchmod(fichier.Get(), ModeNouveauFichier(existe ? &etat : nullptr)) != 0)
        erreur = errno;
    if (erreur == 0)
        erreur = EcrireTout(fichier.Get(), octets);
    if (erreur == 0 && ::fsync(fichier.Get()) != 0)
        erreur = errno;
    // Renamed while still open, so still locked: the content is on disk already.
    if (erreur == 0 && ::rename(temporaire.constData(), nom.constData()) != 0)
        erreur = errno;
    if (erreur != 0) {
        ::unlink(temporaire.constData());
        return Raison(erreur);
    }
    return std::nullopt;
}
