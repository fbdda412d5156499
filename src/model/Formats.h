#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Numbers as users see and type them: the regional decimal separator, never a
// group separator. The locale is QLocale() (the program sets the system's at
// start, tests set French explicitly).

// The locale used for every amount, with group separators omitted on output
// and rejected on input.
QLocale LocaleNombres();

// Fixed notation with exactly two decimals: 1234.5 -> "1234,50".
QString FormatMonetaire(double valeur);

// Shortest form, up to 15 significant digits, no trailing zeros: 612.5 -> "612,5".
QString FormatGeneral(double valeur);

// A decimal typed or read with the regional separator; nothing for a text that
// is not a number (empty text included).
std::optional<double> LireDecimal(const QString& texte);

// LireDecimal, or the given default when the text does not convert.
double LireDecimalOuDefaut(const QString& texte, double defaut);

// A 32-bit signed whole number written in decimal; nothing otherwise.
std::optional<int> LireEntier(const QString& texte);

// LireEntier, or 0 when the text is not a whole number.
int LireEntierOuZero(const QString& texte);
