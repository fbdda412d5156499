#include "model/Systeme.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

// A writer holds an exclusive flock on its file until it has renamed it; a
// stopped program holds none.

namespace Systeme {

namespace {

QString Raison(int erreur)
{
    return QString::fromLocal8Bit(std::strerror(erreur));
}

Echec EchecDe(int erreur)
{
    return Echec{Raison(erreur), erreur == EACCES || erreur == EPERM || erreur == EROFS, erreur == EEXIST};
}

Issue Verifier(bool reussi)
{
    if (reussi)
        return std::nullopt;
    return EchecDe(errno);
}

// The mode a new file gets: the model's when it exists, else the usual one
// of a created file.
mode_t ModeNouveauFichier(const QString& modele)
{
    struct stat etat {};
    if (!modele.isEmpty() && ::stat(QFile::encodeName(modele).constData(), &etat) == 0)
        return etat.st_mode & 07777;
    const mode_t masque = ::umask(0);
    ::umask(masque);
    return 0666 & ~masque;
}

bool MemeFichier(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

FichierTenu FichierTenu::CreerNouveau(const QString& chemin, const QString& modele, Issue& issue)
{
    FichierTenu fichier;
    const QByteArray nom = QFile::encodeName(chemin);
    fichier.fd = ::open(nom.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fichier.fd < 0) {
        issue = EchecDe(errno);
        return fichier;
    }
    fichier.chemin = chemin;
    // Someone cleaning at the very instant may have taken the file before it
    // was locked: the name then no longer leads to it.
    struct stat ouvert {}, nomme {};
    if (::flock(fichier.fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fichier.fd, &ouvert) != 0
        || ::stat(nom.constData(), &nomme) != 0 || !MemeFichier(ouvert, nomme)) {
        issue = Echec{Raison(EAGAIN), false, true};
        return FichierTenu();
    }
    issue = Verifier(::fchmod(fichier.fd, ModeNouveauFichier(modele)) == 0);
    if (issue)
        fichier.Supprimer();
    return issue ? FichierTenu() : std::move(fichier);
}

FichierTenu FichierTenu::OuvrirExistant(const QString& chemin, Issue& issue)
{
    FichierTenu fichier;
    fichier.fd = ::open(QFile::encodeName(chemin).constData(), O_RDWR | O_CLOEXEC);
    issue = Verifier(fichier.fd >= 0);
    fichier.chemin = chemin;
    return fichier;
}

FichierTenu::FichierTenu(FichierTenu&& autre) noexcept : chemin(std::move(autre.chemin)), fd(std::exchange(autre.fd, -1)) {}

FichierTenu& FichierTenu::operator=(FichierTenu&& autre) noexcept
{
    std::swap(chemin, autre.chemin);
    std::swap(fd, autre.fd);
    return *this;
}

FichierTenu::~FichierTenu()
{
    if (fd >= 0)
        ::close(fd);
}

bool FichierTenu::Ouvert() const
{
    return fd >= 0;
}

Issue FichierTenu::LireTout(QByteArray& octets)
{
    struct stat etat {};
    if (::fstat(fd, &etat) != 0)
        return EchecDe(errno);
    octets.resize(etat.st_size);
    qsizetype lus = 0;
    while (lus < octets.size()) {
        const ssize_t n = ::pread(fd, octets.data() + lus, size_t(octets.size() - lus), lus);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return EchecDe(errno);
        if (n == 0)
            break;
        lus += n;
    }
    octets.truncate(lus);
    return std::nullopt;
}

Issue FichierTenu::Ecrire(const QByteArray& octets, qint64 position)
{
    qsizetype ecrits = 0;
    while (ecrits < octets.size()) {
        const ssize_t n = ::pwrite(fd, octets.constData() + ecrits, size_t(octets.size() - ecrits), position + ecrits);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return EchecDe(n < 0 ? errno : EIO);
        ecrits += n;
    }
    return std::nullopt;
}

Issue FichierTenu::Reserver(qint64 taille)
{
    const int erreur = ::posix_fallocate(fd, 0, taille);
    if (erreur == 0 || erreur == EOPNOTSUPP || erreur == EINVAL)
        return std::nullopt;
    return EchecDe(erreur);
}

Issue FichierTenu::Tronquer(qint64 taille)
{
    return Verifier(::ftruncate(fd, taille) == 0);
}

Issue FichierTenu::PorterSurDisque()
{
    return Verifier(::fsync(fd) == 0);
}

Issue FichierTenu::RenommerEn(const QString& cible)
{
    const Issue issue = Verifier(::rename(QFile::encodeName(chemin).constData(), QFile::encodeName(cible).constData()) == 0);
    if (!issue)
        chemin = cible;
    return issue;
}

void FichierTenu::Supprimer()
{
    ::unlink(QFile::encodeName(chemin).constData());
}

void SupprimerSiAbandonne(const QString& chemin)
{
    const QByteArray nom = QFile::encodeName(chemin);
    const int fd = ::open(nom.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat ouvert {}, nomme {};
    // The name may have been given to a new file meanwhile: only the one locked goes.
    if (::fstat(fd, &ouvert) == 0 && S_ISREG(ouvert.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
        && ::lstat(nom.constData(), &nomme) == 0 && MemeFichier(ouvert, nomme))
        ::unlink(nom.constData());
    ::close(fd);
}

std::optional<QString> EcritureRefusee(const QString& chemin)
{
    const QByteArray nom = QFile::encodeName(chemin);
    if (::access(nom.constData(), F_OK) == 0 && ::access(nom.constData(), W_OK) != 0)
        return Raison(errno);
    return std::nullopt;
}

Nature NatureDe(const QString& chemin)
{
    struct stat etat {};
    if (::stat(QFile::encodeName(chemin).constData(), &etat) != 0) {
        const int erreur = errno;
        if (erreur == ENOENT || erreur == ENOTDIR || chemin.isEmpty())
            return {};
        return {Nature::Inaccessible, 0, Raison(erreur)};
    }
    if (S_ISDIR(etat.st_mode))
        return {Nature::Dossier, 0, {}};
    if (S_ISFIFO(etat.st_mode))
        return {Nature::Tube, 0, {}};
    if (!S_ISREG(etat.st_mode))
        return {Nature::Autre, 0, {}};
    return {Nature::Ordinaire, etat.st_size, {}};
}

bool NommerSiLibre(const QString& source, const QString& cible, Issue& issue)
{
    const QByteArray de = QFile::encodeName(source);
    const QByteArray vers = QFile::encodeName(cible);
    const bool lie = ::link(de.constData(), vers.constData()) == 0;
    const int erreur = errno;
    if (lie || erreur == EEXIST) {
        if (lie)
            ::unlink(de.constData());
        return lie;
    }
    // A share that takes no hard link: a rename that keeps an existing file.
    if (QFile::exists(cible))
        return false;
    if (QFile::rename(source, cible))
        return true;
    if (!QFile::exists(cible))
        issue = EchecDe(erreur);
    return false;
}

void Terminer(int code)
{
    std::exit(code);
}

} // namespace Systeme
