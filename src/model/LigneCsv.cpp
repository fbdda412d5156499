#include "model/LigneCsv.h"

#include "model/Encodage.h"

QByteArray LigneCsv(const QStringList& champs)
{
    QString ligne;
    for (const QString& champ : champs) {
        ligne += QLatin1Char('"');
        ligne += QString(champ).replace(QLatin1Char('"'), QLatin1String("\"\""));
        ligne += QLatin1String("\";");
    }
    ligne += QLatin1String("\r\n");
    return EncoderCp1252(ligne);
}
