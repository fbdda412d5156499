#include "model/MargeMini.h"

#include "model/Formats.h"
#include "model/Ini.h"

namespace {

const QString kSection = QStringLiteral("Marge");
const QString kCle = QStringLiteral("Mini");

} // namespace

QString LireMargeMini(const QString& fichierIni)
{
    return TFichierIni(fichierIni).LireTexte(kSection, kCle, QStringLiteral("0"));
}

bool MargeMiniValide(const QString& texte)
{
    return LireDecimalOuDefaut(texte, -1) != -1;
}

void EcrireMargeMini(const QString& fichierIni, const QString& texte)
{
    TFichierIni(fichierIni).EcrireTexte(kSection, kCle, texte);
}
