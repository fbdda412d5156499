#include "app/Lancement.h"

#include "app/Configuration.h"
#include "data/DMPose.h"
#include "model/Echange.h"
#include "model/Ini.h"
#include "ui/admin/FicheAdministration.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"
#include "ui/pricing/FicheModeNormal.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>


namespace Lancement {

namespace {

const QString kModeAdministration = QStringLiteral("ADMIN");
const QString kModeCreation = QStringLiteral("CREATION");
const QString kModeMiseAJour = QStringLiteral("MAJ");

// Shows "Quarlo - Le fichier de … n'existe pas : " and the path (or what
// else keeps the file from being read: a folder, a named pipe, a file too
// large) and returns false when the file cannot be read.
bool VerifierFichier(const QString& chemin, const QString& nomFichier, qint64 tailleMaximale, QWidget* proprietaire)
{
    const auto obstacle = ObstacleLecture(chemin, tailleMaximale);
    if (!obstacle)
        return true;
    Messages::Information(QStringLiteral("Quarlo - Le fichier de %1 %2 : %3").arg(nomFichier, *obstacle, chemin),
                          proprietaire);
    return false;
}

bool VerifierConfiguration(const QString& fichierConfig, QWidget* proprietaire)
{
    return VerifierFichier(fichierConfig, QStringLiteral("configuration"), 0, proprietaire);
}

bool VerifierEchange(const QString& fichierEchange, QWidget* proprietaire)
{
    return VerifierFichier(fichierEchange, QStringLiteral("récupération"), kTailleEchangeMaximale, proprietaire);
}

void LireConfiguration(const QString& fichierConfig, QWidget* proprietaire)
{
    // Read once for both: a host may list thousands of installers.
    const TFichierIni configuration(fichierConfig);
    const QString coupes = MessageTextesCoupes(LirePoseurs(configuration), fichierConfig);
    if (!coupes.isEmpty())
        Messages::Information(coupes, proprietaire);
    LireTypesTva(configuration);
}

void ModeAdministration(const QStringList& arguments, QWidget* proprietaire, const Fenetres& fenetres)
{
    const QString& fichierConfig = arguments[1];
    if (!VerifierConfiguration(fichierConfig, proprietaire))
        return;
    // Said at once, not at the first save that the server would refuse.
    TDMPose& dm = DMPose();
    if (!dm.PeutAdministrer()) {
        Messages::Information(QStringLiteral("Quarlo - Ce poste ne peut que chiffrer : l'utilisateur « %1 » de la base %2 "
                                             "peut lire les tarifs, pas les modifier. L'administration se fait depuis "
                                             "un poste où le programme se connecte comme administrateur.")
                                  .arg(dm.Utilisateur(), dm.Designation()),
                              proprietaire);
        return;
    }
    LireConfiguration(fichierConfig, proprietaire);
    fenetres.Administration(proprietaire);
}

void ModeTarification(const QStringList& arguments, QWidget* proprietaire, const Fenetres& fenetres)
{
    const QString& fichierConfig = arguments[1];
    const QString& fichierEchange = arguments[2];
    // Both files are checked, so the host learns of both at once.
    const bool configurationPresente = VerifierConfiguration(fichierConfig, proprietaire);
    const bool echangePresent = VerifierEchange(fichierEchange, proprietaire);
    if (!configurationPresente || !echangePresent)
        return;
    // Pricing from an empty database would look like prices of nothing.
    if (DMPose().BaseCreee()) {
        const QString creation = DMPose().Serveur().isEmpty()
                                     ? QStringLiteral("n'existait pas : elle vient d'être créée")
                                     : QStringLiteral("était vide : ses tables viennent d'être créées");
        Messages::Information(QStringLiteral("Quarlo - La base de données %1 %2 et ne contient encore aucune pose, "
                                             "aucun tarif ni aucune quincaillerie. Remettez en place la base de "
                                             "l'entreprise, ou saisissez ses données dans l'administration.")
                                  .arg(DMPose().Designation(), creation),
                              proprietaire);
    }
    LireConfiguration(fichierConfig, proprietaire);
    fenetres.ModeNormal(proprietaire, fichierConfig, fichierEchange);
}

void ExecuterMode(const QStringList& arguments, QWidget* proprietaire, const Fenetres& fenetres)
{
    const qsizetype nombre = arguments.size();
    if (nombre == 2 && arguments[0] == kModeAdministration)
        ModeAdministration(arguments, proprietaire, fenetres);
    else if (nombre == 3 && (arguments[0] == kModeCreation || arguments[0] == kModeMiseAJour))
        ModeTarification(arguments, proprietaire, fenetres);
    else
        Messages::Information(
            QStringLiteral("Quarlo - Les paramètres(%1) ne sont pas corrects.").arg(nombre),
            proprietaire);
}

void OuvrirBase(TDMPose& dm, const QString& dossierProgramme, QWidget* proprietaire)
{
    dm.ChoisirBase(dossierProgramme);
    dm.Ouvrir();
    // Upgrade failures are reported and never stop the start.
    for (const QString& message : dm.RestructureBase())
        Messages::Erreur(message, proprietaire);
}

// Closes the database if it is open; returns false when closing failed (the
// error has then been shown).
bool FermerBase(TDMPose& dm, QWidget* proprietaire)
{
    return Proteger(proprietaire, [&] {
        if (dm.EstConnecte())
            dm.Fermer();
    });
}

} // namespace

bool InstallerTraductionBoiteAOutils()
{
    // The program speaks French whatever the system's language.
    static QTranslator traduction;
    if (!traduction.isEmpty())
        return true;
    // The Windows folder carries them beside the program; elsewhere they are the toolkit's own.
    const QLocale francais(QLocale::French, QLocale::France);
    const QString dossiers[] = {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString& dossier : dossiers)
        if (traduction.load(francais, QStringLiteral("qtbase"), QStringLiteral("_"), dossier))
            return QCoreApplication::installTranslator(&traduction);
    return false;
}

Fenetres FenetresReelles()
{
    Fenetres fenetres;
    fenetres.Administration = [](QWidget* proprietaire) {
        TFicheAdministration fiche(proprietaire);
        fiche.exec();
    };
    // The configuration was loaded at start: the screen needs only the exchange file.
    fenetres.ModeNormal = [](QWidget* proprietaire, const QString&, const QString& fichierEchange) {
        TFicheModeNormal fiche(proprietaire);
        fiche.SetFichierEchange(fichierEchange);
        fiche.exec();
    };
    return fenetres;
}

int Executer(const QStringList& arguments, const QString& dossierProgramme, QWidget* proprietaire,
             const Fenetres& fenetres)
{
    TDMPose& dm = DMPose();
    const bool reussi = Proteger(proprietaire, [&] {
        OuvrirBase(dm, dossierProgramme, proprietaire);
        ExecuterMode(arguments, proprietaire, fenetres);
    });
    const bool fermee = FermerBase(dm, proprietaire);
    return reussi && fermee ? 0 : 1;
}

} // namespace Lancement
