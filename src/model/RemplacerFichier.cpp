#include "model/RemplacerFichier.h"

#include "model/Systeme.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cctype>

namespace {

using Systeme::FichierTenu;
using Systeme::Issue;

std::optional<QString> ReecrireSurPlace(const QString& chemin, const QByteArray& octets)
{
    Issue issue;
    FichierTenu fichier = FichierTenu::OuvrirExistant(chemin, issue);
    QByteArray ancien;
    if (!issue)
        issue = fichier.LireTout(ancien);
    // Room for the longer content is taken first, so a full disk is found
    // before anything is overwritten.
    if (!issue && octets.size() > ancien.size() && (issue = fichier.Reserver(octets.size())))
        fichier.Tronquer(ancien.size());
    if (issue)
        return issue->raison;

    const auto reecrire = [&fichier](const QByteArray& contenu) {
        Issue echec = fichier.Ecrire(contenu);
        if (!echec)
            echec = fichier.Tronquer(contenu.size());
        if (!echec)
            echec = fichier.PorterSurDisque();
        return echec;
    };
    issue = reecrire(octets);
    if (!issue)
        return std::nullopt;
    if (reecrire(ancien))
        return issue->raison + QStringLiteral(" ; l'ancien contenu n'a pas pu être remis en place");
    return issue->raison;
}

// The new content goes first to "<file>.quarlo-XXXXXX" beside the file: a
// name no other program gives, so what is left under it by a copy stopped
// while writing can be recognised and removed.
const QString kMarqueTemporaire = QStringLiteral(".quarlo-");
constexpr int kLettresTemporaire = 6;

bool EstTemporaireDe(const QString& nom, const QString& prefixe)
{
    if (!nom.startsWith(prefixe) || nom.size() != prefixe.size() + kLettresTemporaire)
        return false;
    const auto lettreOuChiffre = [](QChar c) { return c.unicode() < 128 && std::isalnum(c.unicode()); };
    return std::all_of(nom.cbegin() + prefixe.size(), nom.cend(), lettreOuChiffre);
}

// Removes the temporary files of this file that nobody writes any more.
void SupprimerRestes(const QFileInfo& cible)
{
    const QString prefixe = cible.fileName() + kMarqueTemporaire;
    const QDir dossier = cible.absoluteDir();
    // No name filter: Qt matches one with a regular expression, whose
    // per-thread memory the MinGW runtime frees before destroying it when a
    // thread ends, and the recovery file is written on a thread of its own.
    const QStringList noms = dossier.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& nom : noms)
        if (EstTemporaireDe(nom, prefixe))
            Systeme::SupprimerSiAbandonne(dossier.filePath(nom));
}

QString NomTemporaire(const QString& chemin)
{
    static const QLatin1StringView kLettres("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString nom = chemin + kMarqueTemporaire;
    for (int i = 0; i < kLettresTemporaire; ++i)
        nom += kLettres.at(QRandomGenerator::global()->bounded(int(kLettres.size())));
    return nom;
}

// A new temporary file beside the file, held until it has replaced it.
FichierTenu CreerTemporaire(const QString& chemin, Issue& issue)
{
    // A name taken meanwhile, or a file another copy's cleaning took before
    // it was held: another name is tried.
    for (int essai = 0; essai < 10; ++essai) {
        FichierTenu fichier = FichierTenu::CreerNouveau(NomTemporaire(chemin), chemin, issue);
        if (!issue || !issue->existe)
            return fichier;
    }
    return FichierTenu();
}

} // namespace

std::optional<QString> RemplacerFichier(const QString& chemin, const QByteArray& octets)
{
    const QFileInfo cible(chemin);
    const bool existe = cible.isFile();
    if (existe && Systeme::EcritureRefusee(chemin))
        return QStringLiteral("le fichier est en lecture seule");

    SupprimerRestes(cible);
    Issue issue;
    FichierTenu fichier = CreerTemporaire(chemin, issue);
    if (issue) {
        if (existe && issue->refus)
            return ReecrireSurPlace(chemin, octets);
        return issue->raison;
    }
    issue = fichier.Ecrire(octets);
    if (!issue)
        issue = fichier.PorterSurDisque();
    // Renamed while still held: the content is on disk already.
    if (!issue)
        issue = fichier.RenommerEn(chemin);
    if (issue) {
        fichier.Supprimer();
        return issue->raison;
    }
    return std::nullopt;
}
