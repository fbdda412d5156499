#include "model/FragmentXml.h"

#include "model/Echapper.h"
#include "model/Formats.h"

namespace FragmentXml {

namespace {

void AttributTel(QString& sortie, QStringView nom, const QString& valeurEcrite)
{
    sortie += u' ';
    sortie += nom;
    sortie += u"=\"";
    sortie += EchapperControles(valeurEcrite);
    sortie += u'"';
}

} // namespace

void Attribut(QString& sortie, QStringView nom, const QString& valeur)
{
    AttributTel(sortie, nom, EchapperAttribut(valeur));
}

void AttributEchappe(QString& sortie, QStringView nom, const QString& valeur)
{
    AttributTel(sortie, nom, Echapper(valeur));
}

void AttributMontant(QString& sortie, QStringView nom, double valeur)
{
    AttributTel(sortie, nom, EchapperAttribut(FormatMonetaire(valeur)));
}

void AttributEntier(QString& sortie, QStringView nom, int valeur)
{
    AttributTel(sortie, nom, QString::number(valeur));
}

void AttributDrapeau(QString& sortie, QStringView nom, bool valeur)
{
    AttributTel(sortie, nom, valeur ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace FragmentXml
