#pragma once

// The minimum margin, in per cent, kept in the program's settings file
// (section "Marge", key "Mini") as the text the administrator typed.

#include <QString>

// The settings file's name, in the program folder.
inline const QString kFichierParametresModule = QStringLiteral("Module_Quarlo.ini");

// The text stored; "0" when the file or the key is missing.
QString LireMargeMini(const QString& fichierIni);

// A number with the regional decimal separator, except -1 (which stands for
// "not a number").
bool MargeMiniValide(const QString& texte);

// Stores the text as typed, keeping every other line of the file. Throws
// std::runtime_error with a French text when the file cannot be written.
void EcrireMargeMini(const QString& fichierIni, const QString& texte);
