#pragma once

// The start sequence: open and upgrade Quarlo.abs beside the program, check
// the command line, load the host's configuration, open the working window of
// the mode as a modal window, and close the database whatever happened.
//
// Command line (without the program name, mode words case-sensitive):
//   ADMIN <configuration>                     administration
//   CREATION|MAJ <configuration> <exchange>   pricing of the exchange file

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace Lancement {

// How the working windows are opened: each one is created with the given
// owner, shown modally and destroyed when closed. Tests replace them to see
// which window the sequence opens.
struct Fenetres
{
    std::function<void(QWidget* proprietaire)> Administration;
    std::function<void(QWidget* proprietaire, const QString& fichierConfig,
                       const QString& fichierEchange)> ModeNormal;
};

// The administration hub and the pricing screen.
Fenetres FenetresReelles();

// Gives the toolkit's own texts (file chooser, edit menus, standard buttons)
// in French, from the toolkit's translation installed with it; false when
// that translation is missing (the texts then stay in English).
bool InstallerTraductionBoiteAOutils();

// Runs the sequence on the data module DMPose(); messages are shown with the
// owner as parent. Returns the exit code of the program: 0 on every expected
// path (refused arguments and missing files included), 1 after an unexpected
// error, whose text has then been shown.
int Executer(const QStringList& arguments, const QString& dossierProgramme, QWidget* proprietaire,
             const Fenetres& fenetres);

} // namespace Lancement
