#include "model/Formats.h"

#include <QLocale>
#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Fixed, two decimals, in ASCII with "." as separator; returns the length.
// The digits are those of the exact binary value rounded to the nearest
// hundredth, an exact half away from zero (the library rounds it to even).
int EcrireDeuxDecimales(char* debut, char* fin, double valeur)
{
    // -0.001 would otherwise show as "-0.00".
    if (std::abs(valeur) < 0.005 && std::signbit(valeur))
        valeur = 0.0;
    // A double lies exactly halfway between two hundredths only when it is
    // an odd number of eighths (n/8 with n odd: n x 12.5 hundredths).
    constexpr double k2Puissance53 = 9007199254740992.0; // above it, eighths are even
    const double huitiemes = valeur * 8;
    if (std::fabs(huitiemes) < k2Puissance53 && huitiemes == std::floor(huitiemes)
        && (static_cast<long long>(huitiemes) & 1)) {
        const unsigned long long centiemes = (25 * static_cast<unsigned long long>(std::fabs(huitiemes)) + 1) / 2;
        char* p = debut;
        if (valeur < 0)
            *p++ = '-';
        p = std::to_chars(p, fin, centiemes / 100).ptr;
        *p++ = '.';
        *p++ = char('0' + centiemes % 100 / 10);
        *p++ = char('0' + centiemes % 10);
        return int(p - debut);
    }
    return int(std::to_chars(debut, fin, valeur, std::chars_format::fixed, 2).ptr - debut);
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

// The locale's own reading, never with a group separator.
std::optional<double> LireSelonLocale(QStringView texte)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double valeur = locale.toDouble(texte, &ok);
    if (!ok || !std::isfinite(valeur))
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

} // namespace

std::optional<double> FormeNombres::Lire(QStringView texte) const
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
    if (erreur != std::errc() || lu != fin || !std::isfinite(valeur))
        return std::nullopt;
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
