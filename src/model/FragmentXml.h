#pragma once

#include <QString>
#include <QStringView>

// Helpers that append the pieces of the answer file's elements to one text,
// so a whole quote is written without building intermediate strings. Every
// value written also goes through EchapperControles, so line breaks survive.
namespace FragmentXml {

// ` nom="valeur"` for the values written as they are: only "&", "<" and the
// double quote are replaced, which keeps the file well-formed.
void Attribut(QString& sortie, QStringView nom, const QString& valeur);

// ` nom="valeur"` for the labels escaped with Echapper.
void AttributEchappe(QString& sortie, QStringView nom, const QString& valeur);

// ` nom="12,50"`: FormatMonetaire.
void AttributMontant(QString& sortie, QStringView nom, double valeur);

// ` nom="-1"`: decimal integer, ASCII minus sign.
void AttributEntier(QString& sortie, QStringView nom, int valeur);

// ` nom="1"` or ` nom="0"`.
void AttributDrapeau(QString& sortie, QStringView nom, bool valeur);

} // namespace FragmentXml
