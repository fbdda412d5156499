#include "model/Formats.h"

#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// A value as the decimal it stands for: `chiffres` significant digits,
// the first of them at 10^exposant.
struct DecimalSignificatif
{
    unsigned long long mantisse = 0;
    int chiffres = 0;
    int exposant = 0;
};

DecimalSignificatif EnDecimal(double valeur, int chiffres)
{
    char ecrit[32]; // "-d.dddddddddddddddde+308"
    const char* fin = std::to_chars(ecrit, ecrit + sizeof ecrit, valeur, std::chars_format::scientific, chiffres - 1).ptr;
    DecimalSignificatif decimal{0, chiffres, 0};
    const char* c = ecrit;
    for (; c != fin && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9')
            decimal.mantisse = decimal.mantisse * 10 + unsigned(*c - '0');
    if (c != fin)
        std::from_chars(c + (c[1] == '+' ? 2 : 1), fin, decimal.exposant);
    return decimal;
}

// The hundredths of a decimal, a half away from zero.
unsigned long long Centiemes(const DecimalSignificatif& decimal)
{
    // Digits below the hundredth; -1 when the rounding of the digits carried
    // into one more power of ten (9.99…e13 written 1.00…e14).
    const int enTrop = decimal.chiffres - 1 - decimal.exposant - 2;
    if (enTrop < 0)
        return decimal.mantisse * 10;
    if (enTrop > 18) // below a thousandth
        return 0;
    unsigned long long diviseur = 1;
    for (int i = 0; i < enTrop; ++i)
        diviseur *= 10;
    return decimal.mantisse / diviseur + (2 * (decimal.mantisse % diviseur) >= diviseur ? 1 : 0);
}

int EcrireCentiemes(char* debut, char* fin, bool negatif, unsigned long long centiemes)
{
    char* p = debut;
    // -0.001 shows as "0.00", not "-0.00".
    if (negatif && centiemes != 0)
        *p++ = '-';
    p = std::to_chars(p, fin, centiemes / 100).ptr;
    *p++ = '.';
    *p++ = char('0' + centiemes % 100 / 10);
    *p++ = char('0' + centiemes % 10);
    return int(p - debut);
}

// Fixed, two decimals, in ASCII with "." as separator; returns the length.
// The value is taken as the decimal it stands for, the 15 significant digits
// a double holds for sure (more from 10^13 on, so that two decimals remain),
// and that decimal is rounded to the hundredth, a half away from zero:
// 95 x 5,5 % is 5.22499999... in binary, 5,225 for a person, shown 5,23.
int EcrireDeuxDecimales(char* debut, char* fin, double valeur)
{
    constexpr int kChiffresSurs = 15; // decimal digits a double gives back unchanged
    constexpr int kChiffresMax = 17;  // all the digits of a double
    if (!std::isfinite(valeur))
        return int(std::to_chars(debut, fin, valeur, std::chars_format::fixed, 2).ptr - debut);
    // Most amounts were read or typed with two decimals: such a value is the
    // double nearest to its hundredths, which give its decimal at once.
    if (std::fabs(valeur) < 1e13) {
        const double centiemes = std::nearbyint(valeur * 100);
        if (centiemes / 100 == valeur)
            return EcrireCentiemes(debut, fin, valeur < 0, static_cast<unsigned long long>(std::fabs(centiemes)));
    }
    DecimalSignificatif decimal = EnDecimal(valeur, kChiffresSurs);
    const int chiffresAvecCentimes = decimal.exposant + 3;
    if (chiffresAvecCentimes > kChiffresMax) // cents mean nothing there: the exact binary value
        return int(std::to_chars(debut, fin, valeur, std::chars_format::fixed, 2).ptr - debut);
    if (chiffresAvecCentimes > kChiffresSurs)
        decimal = EnDecimal(valeur, chiffresAvecCentimes);
    return EcrireCentiemes(debut, fin, valeur < 0, Centiemes(decimal));
}

// The ASCII text with "." turned into the regional separator.
QString AvecSeparateur(const char* ascii, int longueur, const QString& separateur)
{
    QString texte = QString::fromLatin1(ascii, longueur);
    if (separateur != u".")
        texte.replace(u'.', separateur);
    return texte;
}

} // namespace

FormeNombres::FormeNombres()
{
    const QLocale locale;
    separateur = locale.decimalPoint();
    if (separateur.isEmpty())
        separateur = QStringLiteral(".");
    moinsRegional = locale.negativeSign();
    exposant = locale.exponential() == u"E" ? QChar(u'E') : QChar(u'e');
}

QString FormeNombres::Monetaire(double valeur) const
{
    char ascii[400]; // the longest double in fixed notation has 309 digits
    return AvecSeparateur(ascii, EcrireDeuxDecimales(ascii, ascii + sizeof ascii, valeur), separateur);
}

void FormeNombres::AjouterMonetaire(QString& sortie, double valeur) const
{
    char ascii[400];
    const int longueur = EcrireDeuxDecimales(ascii, ascii + sizeof ascii, valeur);
    if (separateur == u",") {
        // The usual case, without building a text for each amount.
        if (char* point = static_cast<char*>(std::memchr(ascii, '.', size_t(longueur))))
            *point = ',';
        sortie += QLatin1StringView(ascii, longueur);
        return;
    }
    sortie += AvecSeparateur(ascii, longueur, separateur);
}

QString FormeNombres::General(double valeur) const
{
    QString texte = QLocale::c().toString(valeur, 'g', 15);
    if (exposant == u'E')
        texte.replace(u'e', u'E');
    if (separateur != u".")
        texte.replace(u'.', separateur);
    return texte;
}

namespace {

// `motif` stands in `texte` at position i.
bool EstA(QStringView texte, qsizetype i, const QString& motif)
{
    return !motif.isEmpty() && texte[i] == motif.front() && (motif.size() == 1 || texte.mid(i).startsWith(motif));
}

// Whether a number written in ASCII ("-12.5e300") that a double cannot hold
// is too large rather than too small: its first significant digit stands at
// or above the units.
bool TropGrand(const char* debut, const char* fin)
{
    long long puissance = 0; // of the first significant digit, plus one
    bool significatif = false;
    bool apresPoint = false;
    const char* c = debut;
    for (; c != fin && *c != 'e'; ++c) {
        if (*c == '.')
            apresPoint = true;
        else if (*c >= '1' && *c <= '9')
            significatif = true;
        if (*c < '0' || *c > '9')
            continue;
        if (!significatif && apresPoint)
            --puissance;
        else if (significatif && !apresPoint)
            ++puissance;
    }
    long long exposant = 0;
    if (c != fin) {
        const char* chiffres = c + 1 + (c + 1 != fin && c[1] == '+');
        if (std::from_chars(chiffres, fin, exposant).ec == std::errc::result_out_of_range)
            exposant = chiffres != fin && *chiffres == '-' ? -(1LL << 60) : (1LL << 60);
    }
    return puissance + exposant > 0;
}

// The locale's own reading, never with a group separator.
std::optional<double> LireSelonLocale(QStringView texte)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double valeur = locale.toDouble(texte, &ok);
    if (!ok)
        return std::nullopt;
    return valeur;
}

} // namespace

namespace {

// The usual amounts ("-12,50": up to 15 digits, one single-character
// separator) without the general parser: the digits as a whole number, then
// one division by a power of ten, both exact, which rounds as the parser would.
std::optional<double> LireSimple(QStringView texte, QChar separateur)
{
    static constexpr double kPuissances[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                             1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qsizetype i = 0;
    const bool negatif = !texte.isEmpty() && texte[0] == u'-';
    if (negatif)
        ++i;
    qint64 chiffres = 0;
    int nombreChiffres = 0;
    int decimales = -1; // digits after the separator; -1 before it
    for (; i < texte.size(); ++i) {
        const char16_t c = texte[i].unicode();
        if (c >= u'0' && c <= u'9') {
            if (++nombreChiffres > 15)
                return std::nullopt;
            chiffres = chiffres * 10 + (c - u'0');
            if (decimales >= 0)
                ++decimales;
        } else if (c == separateur && decimales < 0) {
            decimales = 0;
        } else {
            return std::nullopt;
        }
    }
    if (nombreChiffres == 0)
        return std::nullopt;
    // Whole amounts, most quantities, need no division.
    const double valeur = decimales > 0 ? double(chiffres) / kPuissances[decimales] : double(chiffres);
    return negatif ? -valeur : valeur;
}

bool EstChiffre(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// What spreadsheets put between the groups of three digits under a decimal
// comma, as the French settings of the usual systems have it.
bool EstSeparateurDeGroupes(QChar c)
{
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

// The number without the separators that part its whole part in groups of
// three digits ("-1 234 567,5" gives "-1234567,5"); nothing when one of them
// stands anywhere else ("12 34,5", "1 234 ,5").
std::optional<QString> SansSeparateursDeGroupes(QStringView texte)
{
    qsizetype i = 0;
    while (i < texte.size() && !EstChiffre(texte[i]))
        ++i;
    QString nombre = texte.left(i).toString();
    qsizetype chiffresDuGroupe = 0;
    bool groupes = false;
    for (; i < texte.size(); ++i) {
        if (EstChiffre(texte[i])) {
            nombre += texte[i];
            ++chiffresDuGroupe;
            continue;
        }
        if (!EstSeparateurDeGroupes(texte[i]))
            break;
        // Between digits: after a first group of one to three digits, or a group of three.
        if (chiffresDuGroupe == 0 || chiffresDuGroupe > 3 || (groupes && chiffresDuGroupe != 3))
            return std::nullopt;
        groupes = true;
        chiffresDuGroupe = 0;
    }
    if (groupes && chiffresDuGroupe != 3)
        return std::nullopt;
    nombre += texte.sliced(i);
    return nombre;
}

} // namespace

std::optional<double> FormeNombres::LireTableur(QStringView texte) const
{
    texte = texte.trimmed();
    // Under a decimal point spreadsheets part the groups with commas, which stay refused.
    if (separateur != u"," || std::none_of(texte.begin(), texte.end(), EstSeparateurDeGroupes))
        return Lire(texte);
    const std::optional<QString> nombre = SansSeparateursDeGroupes(texte);
    if (!nombre)
        return std::nullopt;
    return Lire(*nombre);
}

std::optional<double> FormeNombres::Lire(QStringView texte) const
{
    const auto valeur = LireSansLimite(texte);
    if (!valeur || !std::isfinite(*valeur))
        return std::nullopt;
    return valeur;
}

std::optional<double> FormeNombres::LireSansLimite(QStringView texte) const
{
    if (separateur.size() == 1)
        if (const auto valeur = LireSimple(texte, separateur.front()))
            return valeur;
    if (!texte.isEmpty() && (texte.front().isSpace() || texte.back().isSpace()))
        texte = texte.trimmed();
    qsizetype i = 0;
    if (!texte.isEmpty() && texte.front() == u'+')
        ++i;
    // The text in the ASCII form the standard parser reads: never longer.
    QVarLengthArray<char, 32> ascii(texte.size());
    char* fin = ascii.data();
    for (; i < texte.size(); ++i) {
        const char16_t c = texte[i].unicode();
        if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'+') {
            *fin++ = char(c);
        } else if (c == u'e' || c == u'E') {
            *fin++ = 'e';
        } else if (EstA(texte, i, separateur)) {
            *fin++ = '.';
            i += separateur.size() - 1;
        } else if (EstA(texte, i, moinsRegional)) {
            *fin++ = '-';
            i += moinsRegional.size() - 1;
        } else {
            // The locale's own digits, as a user of those settings may type them.
            return LireSelonLocale(texte);
        }
    }
    // A second sign ("+-5") or none of the text left.
    if (fin == ascii.data() || ascii.front() == '+')
        return std::nullopt;
    double valeur = 0.0;
    const auto [lu, erreur] = std::from_chars(ascii.data(), fin, valeur, std::chars_format::general);
    if (lu != fin || (erreur != std::errc() && erreur != std::errc::result_out_of_range))
        return std::nullopt;
    if (erreur == std::errc::result_out_of_range) {
        if (!TropGrand(ascii.data(), fin))
            return std::nullopt; // below the smallest double, as the locale's reading has it
        valeur = ascii.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return valeur;
}

QString FormatMonetaire(double valeur)
{
    return FormeNombres().Monetaire(valeur);
}

QString FormatGeneral(double valeur)
{
    return FormeNombres().General(valeur);
}

std::optional<double> LireDecimal(QStringView texte)
{
    return FormeNombres().Lire(texte);
}

std::optional<double> LireDecimalTableur(QStringView texte)
{
    return FormeNombres().LireTableur(texte);
}

double LireDecimalOuDefaut(QStringView texte, double defaut)
{
    return LireDecimal(texte).value_or(defaut);
}

std::optional<int> LireEntier(QStringView texte)
{
    bool ok = false;
    const int valeur = texte.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return valeur;
}

int LireEntierOuZero(QStringView texte)
{
    return LireEntier(texte).value_or(0);
}

bool MontantAdmissible(double valeur)
{
    return std::isfinite(valeur) && std::fabs(valeur) < kMontantMaximal;
}

double AuCentime(double valeur)
{
    return LireDecimal(FormatMonetaire(valeur)).value_or(valeur);
}

MontantSaisi LireMontantSaisi(QStringView texte)
{
    // A number too large for a double is out of bounds, not unreadable.
    const std::optional<double> lu = FormeNombres().LireSansLimite(texte);
    if (!lu)
        return {0.0, RefusMontant::Illisible};
    const double valeur = AuCentime(*lu);
    if (!MontantAdmissible(valeur))
        return {0.0, RefusMontant::HorsLimites};
    return {valeur, RefusMontant::Aucun};
}
