#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Numbers as users see and type them: ASCII digits and "-" whatever the
// regional settings, with the regional decimal separator only (never a group
// separator). The locale is QLocale() (the program sets the system's at
// start, tests set French explicitly).

// The forms of the current locale, fetched once: a reader or a writer of many
// numbers keeps one.
class FormeNombres
{
public:
    FormeNombres();

    // Fixed notation with exactly two decimals: 1234.5 -> "1234,50". The
    // decimal value the double stands for is rounded, a half away from zero,
    // as a person counts: 5.225 -> "5,23", -5.225 -> "-5,23", 2.675 -> "2,68",
    // although none of them is a half in binary.
    QString Monetaire(double valeur) const;
    void AjouterMonetaire(QString& sortie, double valeur) const;
    // Shortest form, up to 15 significant digits, no trailing zeros: 612.5 -> "612,5".
    QString General(double valeur) const;
    // A decimal written as above, or with "+", an exponent or the locale's
    // own minus sign and digits; blanks around it are ignored. Nothing for
    // any other text (a group separator included).
    std::optional<double> Lire(QStringView texte) const;
    // As Lire, but a number too large for a double reads as an infinity of
    // its sign, not as nothing: a reader that refuses amounts out of range
    // tells them from texts that are no number.
    std::optional<double> LireSansLimite(QStringView texte) const;
    // As Lire, and, under a decimal comma, with the whole part's digits in
    // groups of three parted by a space, a no-break space or a narrow
    // no-break space, as spreadsheets write amounts: "1 234,56",
    // "-12 345 678,9". A group separator anywhere else is still refused.
    std::optional<double> LireTableur(QStringView texte) const;

private:
    QString separateur;   // the regional decimal separator
    QString moinsRegional; // the locale's minus sign, accepted on input
    QChar exposant;       // "e" or "E", as the locale writes it
};

// FormeNombres of the current locale, for one number.
QString FormatMonetaire(double valeur);
QString FormatGeneral(double valeur);

// The largest amount, price or quantity the program takes, in absolute
// value: below it a double still holds every cent exactly.
inline constexpr double kMontantMaximal = 1e12;
// A finite value below kMontantMaximal in absolute value.
bool MontantAdmissible(double valeur);

// The value to the cent, as FormatMonetaire shows it and the answer writes
// it (a value beyond what a double holds to the cent stays as it is).
double AuCentime(double valeur);

// Why a typed amount or quantity is not taken.
enum class RefusMontant { Aucun, Illisible, HorsLimites };

// An amount or quantity typed by the user, as the quote is to keep it: read
// with the regional separator and taken to the cent, so that what the screen
// shows, what the totals count and what the answer carries are one value;
// refused when it is no number, or when that value is not one the exchange
// file is read with (MontantAdmissible), so that the host can always open
// its answer again.
struct MontantSaisi
{
    double valeur = 0.0; // when taken
    RefusMontant refus = RefusMontant::Aucun;
};
MontantSaisi LireMontantSaisi(QStringView texte);

// A decimal typed or read with the regional separator; nothing for a text that
// is not a number (empty text included).
std::optional<double> LireDecimal(QStringView texte);

// A decimal of a spreadsheet's file: LireDecimal, or with groups of three
// digits under a decimal comma (FormeNombres::LireTableur).
std::optional<double> LireDecimalTableur(QStringView texte);

// LireDecimal, or the given default when the text does not convert.
double LireDecimalOuDefaut(QStringView texte, double defaut);

// A 32-bit signed whole number written in decimal; nothing otherwise.
std::optional<int> LireEntier(QStringView texte);

// LireEntier, or 0 when the text is not a whole number.
int LireEntierOuZero(QStringView texte);
