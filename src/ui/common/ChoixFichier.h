#pragma once

// The one file chooser of the program. Tests queue the name the user would
// pick (an empty name stands for Cancel).

#include <QString>

class QWidget;

namespace ChoixFichier {

QString Enregistrer(QWidget* parent, const QString& titre, const QString& dossier,
                    const QString& nomPropose, const QString& filtre, const QString& extension);
QString Ouvrir(QWidget* parent, const QString& titre, const QString& dossier,
               const QString& nomPropose, const QString& filtre, const QString& extension);

// Test hook: the next call returns this name without showing anything.
void SetProchainNom(const QString& nom);

} // namespace ChoixFichier
