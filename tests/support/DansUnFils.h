#pragma once

// Runs `ecrire` in a child process whose files may not grow beyond
// `limiteOctets` (0: no limit) and which, when the tests run as root, has an
// ordinary user's rights, so that file and folder permissions apply to it.
// Gives back the message of the exception it raised, or "" when it ran
// through. The folders it writes in must be open to that user.
//
// On Windows, where a read-only file is refused to every user, `ecrire` runs
// in the test's own process, and no size limit can be set.

#include <QByteArray>
#include <QString>

#include <exception>
#include <functional>

#ifdef Q_OS_WIN

inline QString DansUnFils(qint64, const std::function<void()>& ecrire)
{
    try {
        ecrire();
    } catch (const std::exception& erreur) {
        return QString::fromUtf8(erreur.what());
    }
    return QString();
}

#else

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

inline QString DansUnFils(qint64 limiteOctets, const std::function<void()>& ecrire)
{
    int tube[2];
    if (::pipe(tube) != 0)
        return QStringLiteral("pipe");
    const pid_t fils = ::fork();
    if (fils == 0) {
        ::close(tube[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        if (limiteOctets > 0) {
            const rlimit limite{rlim_t(limiteOctets), rlim_t(limiteOctets)};
            ::setrlimit(RLIMIT_FSIZE, &limite);
        }
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        QByteArray message;
        try {
            ecrire();
        } catch (const std::exception& erreur) {
            message = erreur.what();
        }
        const bool ecrit = ::write(tube[1], message.constData(), size_t(message.size())) == message.size();
        ::_exit(ecrit ? 0 : 3);
    }
    ::close(tube[1]);
    QByteArray message;
    char morceau[512];
    for (ssize_t n; (n = ::read(tube[0], morceau, sizeof morceau)) > 0;)
        message.append(morceau, n);
    ::close(tube[0]);
    int statut = 0;
    ::waitpid(fils, &statut, 0);
    if (!WIFEXITED(statut) || WEXITSTATUS(statut) != 0)
        return QStringLiteral("le processus fils a échoué (%1)").arg(statut);
    return QString::fromUtf8(message);
}

#endif
