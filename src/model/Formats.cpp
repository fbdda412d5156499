#include "model/Formats.h"

#include <cmath>

QLocale LocaleNombres()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

QString FormatMonetaire(double valeur)
{
    // -0.001 would otherwise show as "-0,00".
    if (std::abs(valeur) < 0.005 && std::signbit(valeur))
        valeur = 0.0;
    return LocaleNombres().toString(valeur, 'f', 2);
}

QString FormatGeneral(double valeur)
{
    return LocaleNombres().toString(valeur, 'g', 15);
}

std::optional<double> LireDecimal(const QString& texte)
{
    bool ok = false;
    const double valeur = LocaleNombres().toDouble(texte.trimmed(), &ok);
    if (!ok || !std::isfinite(valeur))
        return std::nullopt;
    return valeur;
}

double LireDecimalOuDefaut(const QString& texte, double defaut)
{
    return LireDecimal(texte).value_or(defaut);
}

std::optional<int> LireEntier(const QString& texte)
{
    bool ok = false;
    const int valeur = texte.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return valeur;
}

int LireEntierOuZero(const QString& texte)
{
    return LireEntier(texte).value_or(0);
}
