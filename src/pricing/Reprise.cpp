#include "pricing/Reprise.h"

#include "model/RemplacerFichier.h"
#include "model/Xml.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

const QString kSuffixeReprise = QStringLiteral(".reprise.xml");
const QString kSuffixeEcartee = QStringLiteral(".reprise-ecartee.xml");
const QString kSuffixeEntree = QStringLiteral(".entree.xml");
const QString kSuffixeVerrou = QStringLiteral(".verrou");

// A lock that only its holder's end lets go of: a lock whose program is no
// longer running is taken over, whatever its age.
std::unique_ptr<QLockFile> Verrou(const QString& prefixe)
{
    auto verrou = std::make_unique<QLockFile>(prefixe + kSuffixeVerrou);
    verrou->setStaleLockTime(0);
    return verrou;
}

// What identifies the content of a file: its size and its SHA-256; nothing
// when it cannot be read.
std::optional<std::pair<qint64, QByteArray>> Empreinte(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash somme(QCryptographicHash::Sha256);
    if (!somme.addData(&fichier))
        return std::nullopt;
    return std::pair(fichier.size(), somme.result());
}

DevisEchange LireReprise(const QString& chemin)
{
    const QString nom = QDir::toNativeSeparators(chemin);
    if (const auto obstacle = ObstacleLecture(chemin, kTailleEchangeMaximale))
        throw ErreurEchange(QStringLiteral("Le fichier de récupération « %1 » %2.").arg(nom, *obstacle));
    TXmlDocument document;
    document.LoadFromFile(chemin);
    return LireDevis(document, nom);
}

} // namespace

// ---------------------------------------------------------------------------
// The recovery file of a running session

struct TFichierReprise::Ecrivain
{
    explicit Ecrivain(const QString& chemin) : chemin(chemin) {}

    ~Ecrivain()
    {
        {
            const std::lock_guard garde(mutex);
            arret = true;
        }
        reveil.notify_all();
        fil.join();
    }

    // Runs on the writer's own thread: what was given last is done, one
    // thing at a time; at the end, what is left is done first.
    void Boucle()
    {
        std::unique_lock garde(mutex);
        for (;;) {
            reveil.wait(garde, [this] { return attente || suppression || arret; });
            if (!attente && !suppression)
                return;
            const std::optional<QByteArray> octets = std::exchange(attente, std::nullopt);
            suppression = false;
            occupe = true;
            garde.unlock();
            std::optional<QString> echec;
            if (octets)
                echec = RemplacerFichier(chemin, *octets);
            else
                QFile::remove(chemin);
            garde.lock();
            erreur = std::move(echec);
            occupe = false;
            fini.notify_all();
        }
    }

    const QString chemin;
    std::mutex mutex;
    std::condition_variable reveil;
    std::condition_variable fini;
    std::optional<QByteArray> attente;
    bool suppression = false;
    bool occupe = false;
    bool arret = false;
    std::optional<QString> erreur;
    // Last: started once the rest is there.
    std::thread fil{[this] { Boucle(); }};
};

TFichierReprise::TFichierReprise(const QString& prefixe)
    : chemin(prefixe + kSuffixeReprise)
    , verrou(Verrou(prefixe))
{
    if (verrou->tryLock(0))
        ecrivain = std::make_unique<Ecrivain>(chemin);
}

TFichierReprise::~TFichierReprise()
{
    ecrivain.reset();
    verrou.reset();
}

bool TFichierReprise::EstVerrouille() const
{
    return ecrivain != nullptr;
}

void TFichierReprise::Ecrire(QByteArray octets)
{
    if (!ecrivain)
        return;
    {
        const std::lock_guard garde(ecrivain->mutex);
        ecrivain->attente = std::move(octets);
        ecrivain->suppression = false;
    }
    ecrivain->reveil.notify_all();
}

void TFichierReprise::Supprimer()
{
    if (!ecrivain)
        return;
    {
        const std::lock_guard garde(ecrivain->mutex);
        ecrivain->attente.reset();
        ecrivain->suppression = true;
    }
    ecrivain->reveil.notify_all();
}

std::optional<QString> TFichierReprise::Attendre()
{
    if (!ecrivain)
        return std::nullopt;
    std::unique_lock garde(ecrivain->mutex);
    ecrivain->fini.wait(garde, [this] { return !ecrivain->attente && !ecrivain->suppression && !ecrivain->occupe; });
    return ecrivain->erreur;
}

// ---------------------------------------------------------------------------
// Interrupted sessions

RepriseTrouvee::RepriseTrouvee() = default;
RepriseTrouvee::RepriseTrouvee(RepriseTrouvee&&) noexcept = default;
RepriseTrouvee& RepriseTrouvee::operator=(RepriseTrouvee&&) noexcept = default;
RepriseTrouvee::~RepriseTrouvee() = default;

std::optional<RepriseTrouvee> ChercherReprise(const QString& dossierXml, const QString& prefixe)
{
    const QFileInfo propre(prefixe + kSuffixeReprise);
    std::optional<std::optional<std::pair<qint64, QByteArray>>> entree;
    // The most recent first.
    const QFileInfoList fichiers =
        QDir(dossierXml).entryInfoList({QLatin1Char('*') + kSuffixeReprise}, QDir::Files, QDir::Time);
    for (const QFileInfo& fichier : fichiers) {
        if (fichier.fileName() == propre.fileName())
            continue;
        const QString autre = fichier.filePath().chopped(kSuffixeReprise.size());
        if (!entree)
            entree = Empreinte(prefixe + kSuffixeEntree);
        if (!*entree || Empreinte(autre + kSuffixeEntree) != *entree)
            continue;
        std::unique_ptr<QLockFile> verrou = Verrou(autre);
        if (!verrou->tryLock(0))
            continue; // its session still runs
        RepriseTrouvee trouvee;
        trouvee.chemin = fichier.filePath();
        trouvee.ecriture = fichier.lastModified();
        trouvee.verrou = std::move(verrou);
        trouvee.devis = LireReprise(trouvee.chemin);
        return trouvee;
    }
    return std::nullopt;
}

bool Reprendre(RepriseTrouvee& reprise, const QString& cheminReprise)
{
    const bool deplacee = QFile::rename(reprise.chemin, cheminReprise);
    reprise.verrou.reset();
    return deplacee;
}

void Ecarter(RepriseTrouvee& reprise)
{
    const QString base = reprise.chemin.chopped(kSuffixeReprise.size());
    constexpr int kEssais = 100;
    for (int rang = 1; rang <= kEssais; ++rang) {
        const QString nom = rang == 1 ? base + kSuffixeEcartee
                                      : base + QLatin1Char('_') + QString::number(rang) + kSuffixeEcartee;
        if (!QFileInfo::exists(nom) && QFile::rename(reprise.chemin, nom))
            break;
    }
    reprise.verrou.reset();
}

QString MessageLecture(const QString& fichier, const QString& raison)
{
    const QString nom = QDir::toNativeSeparators(fichier);
    if (raison.contains(nom) || raison.contains(fichier))
        return raison;
    return QStringLiteral("Le fichier de récupération « %1 » ne peut pas être lu : %2").arg(nom, raison);
}
