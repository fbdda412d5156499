#include "Relais.h"

#include <QRegularExpression>
#include <QString>

#include <arpa/inet.h>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Passes the bytes of one direction on, each chunk the delay after it came.
class Relais::Sens
{
public:
    Sens(int depuis, int vers, std::chrono::microseconds delai) : depuis(depuis), vers(vers), delai(delai)
    {
        lecteur = std::thread([this] { Lire(); });
        ecrivain = std::thread([this] { Ecrire(); });
    }
    ~Sens()
    {
        lecteur.join();
        ecrivain.join();
    }

private:
    struct Morceau
    {
        std::chrono::steady_clock::time_point echeance;
        std::string octets; // empty: the end
    };
    int depuis;
    int vers;
    std::chrono::microseconds delai;
    std::mutex verrou;
    std::condition_variable arrivee;
    std::deque<Morceau> file;
    std::thread lecteur;
    std::thread ecrivain;

    void Lire()
    {
        char tampon[65536];
        for (;;) {
            const ssize_t lus = ::read(depuis, tampon, sizeof tampon);
            std::lock_guard<std::mutex> garde(verrou);
            file.push_back({std::chrono::steady_clock::now() + delai, lus > 0 ? std::string(tampon, std::size_t(lus)) : std::string()});
            arrivee.notify_one();
            if (lus <= 0)
                return;
        }
    }

    void Ecrire()
    {
        for (;;) {
            Morceau morceau;
            {
                std::unique_lock<std::mutex> garde(verrou);
                arrivee.wait(garde, [this] { return !file.empty(); });
                morceau = std::move(file.front());
                file.pop_front();
            }
            std::this_thread::sleep_until(morceau.echeance);
            if (morceau.octets.empty()) {
                ::shutdown(vers, SHUT_WR);
                return;
            }
            for (std::size_t ecrits = 0; ecrits < morceau.octets.size();) {
                const ssize_t n = ::write(vers, morceau.octets.data() + ecrits, morceau.octets.size() - ecrits);
                if (n <= 0)
                    return;
                ecrits += std::size_t(n);
            }
        }
    }
};

Relais::Relais(const QByteArray& socketServeur, std::chrono::microseconds delai)
    : socketServeur(socketServeur), delai(delai)
{
    ecoute = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(ecoute, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse);
    ::listen(ecoute, 8);
    socklen_t taille = sizeof adresse;
    ::getsockname(ecoute, reinterpret_cast<sockaddr*>(&adresse), &taille);
    port = ntohs(adresse.sin_port);
    accueil = std::thread([this] { Accueillir(); });
}

Relais::~Relais()
{
    arret = true;
    ::shutdown(ecoute, SHUT_RDWR);
    ::close(ecoute);
    accueil.join();
    for (const auto& [client, serveur] : connexions) {
        ::shutdown(client, SHUT_RDWR);
        ::shutdown(serveur, SHUT_RDWR);
    }
    sens.clear();
    for (const auto& [client, serveur] : connexions) {
        ::close(client);
        ::close(serveur);
    }
}

void Relais::Accueillir()
{
    while (!arret) {
        const int client = ::accept(ecoute, nullptr, nullptr);
        if (client < 0)
            return;
        const int oui = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &oui, sizeof oui);
        const int serveur = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un adresse{};
        adresse.sun_family = AF_UNIX;
        std::snprintf(adresse.sun_path, sizeof adresse.sun_path, "%s", socketServeur.constData());
        ::connect(serveur, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse);
        connexions.emplace_back(client, serveur);
        sens.push_back(std::make_unique<Sens>(client, serveur, delai));
        sens.push_back(std::make_unique<Sens>(serveur, client, delai));
    }
}

QByteArray Relais::Socket(const QString& chaineServeur)
{
    const QRegularExpressionMatch hote = QRegularExpression(QStringLiteral(R"(host=(\S+))")).match(chaineServeur);
    const QRegularExpressionMatch port = QRegularExpression(QStringLiteral(R"(port=(\d+))")).match(chaineServeur);
    return QStringLiteral("%1/.s.PGSQL.%2")
        .arg(hote.captured(1), port.hasMatch() ? port.captured(1) : QStringLiteral("5432"))
        .toUtf8();
}

QString Relais::Chaine(const QString& chaineServeur, int port)
{
    QString chaine = chaineServeur;
    chaine.replace(QRegularExpression(QStringLiteral(R"(host=\S+)")), QStringLiteral("host=127.0.0.1"));
    if (chaine.contains(QRegularExpression(QStringLiteral(R"(port=\d+)"))))
        chaine.replace(QRegularExpression(QStringLiteral(R"(port=\d+)")), QStringLiteral("port=%1").arg(port));
    else
        chaine += QStringLiteral(" port=%1").arg(port);
    return chaine;
}
