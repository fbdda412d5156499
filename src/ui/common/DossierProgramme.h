#pragma once

#include <QString>

// The folder of the executable, with a trailing separator: Quarlo.abs,
// Quarlo.bmp, Module_Quarlo.ini and the Xml archive folder live there.
QString DossierProgramme();

// Tests point the program folder at a temporary folder (empty text: back to
// the executable's folder).
void SetDossierProgramme(const QString& dossier);
