#include "model/RemplacerFichier.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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
    // Closes now, so that an error of the close itself is seen; returns errno or 0.
    int Fermer()
    {
        const int resultat = ::close(fd);
        fd = -1;
        return resultat == 0 ? 0 : errno;
    }

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

} // namespace

std::optional<QString> RemplacerFichier(const QString& chemin, const QByteArray& octets)
{
    const QByteArray nom = QFile::encodeName(chemin);
    struct stat etat {};
    const bool existe = ::stat(nom.constData(), &etat) == 0;
    if (existe && S_ISREG(etat.st_mode) && ::access(nom.constData(), W_OK) != 0)
        return QStringLiteral("le fichier est en lecture seule");

    QByteArray temporaire = nom + ".XXXXXX";
    Descripteur fichier(::mkostemp(temporaire.data(), O_CLOEXEC));
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
    if (const int fermeture = fichier.Fermer(); erreur == 0)
        erreur = fermeture;
    if (erreur == 0 && ::rename(temporaire.constData(), nom.constData()) != 0)
        erreur = errno;
    if (erreur != 0) {
        ::unlink(temporaire.constData());
        return Raison(erreur);
    }
    return std::nullopt;
}
