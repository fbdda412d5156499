#pragma once

// A TCP port on the loopback whose connections reach a server's Unix
// socket, every chunk held a delay before it is passed on, in both
// directions: what `tc qdisc ... netem delay` on the loopback does, for a
// kernel without netem.

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

class Relais
{
public:
    Relais(const QByteArray& socketServeur, std::chrono::microseconds delai);
    ~Relais();
    Relais(const Relais&) = delete;
    Relais& operator=(const Relais&) = delete;

    int Port() const { return port; }
    // A server's connection string (host=<folder> port=<n> ...) made to go through the relay.
    static QString Chaine(const QString& chaineServeur, int port);
    // The socket a server's connection string names.
    static QByteArray Socket(const QString& chaineServeur);

private:
    class Sens;
    QByteArray socketServeur;
    std::chrono::microseconds delai;
    int ecoute = -1;
    int port = 0;
    std::atomic<bool> arret{false};
    std::thread accueil;
    std::vector<std::pair<int, int>> connexions;
    std::vector<std::unique_ptr<Sens>> sens;

    void Accueillir();
};
