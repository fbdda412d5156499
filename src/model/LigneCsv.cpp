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

namespace {

// A quote that opens or closes a field rather than belonging to its value.
bool GuillemetDeChamp(const QByteArray& octets, qsizetype position)
{
    if (position == 0)
        return true;
    const char precedent = octets[position - 1];
    if (precedent == '\n' || precedent == ';')
        return true;
    return position + 1 < octets.size() && octets[position + 1] == ';';
}

} // namespace

QVector<QStringList> LireLignesCsv(const QByteArray& octets, int nombreChamps)
{
    QVector<QStringList> lignes;
    QVector<QByteArray> champs(nombreChamps);
    int champ = 0;
    for (qsizetype i = 0; i < octets.size(); ++i) {
        const char octet = octets[i];
        if (octet == '\r')
            continue;
        if (octet == '"' && GuillemetDeChamp(octets, i))
            continue;
        if (octet == ';') {
            ++champ;
        } else if (octet == '\n') {
            QStringList ligne;
            ligne.reserve(nombreChamps);
            for (QByteArray& valeur : champs) {
                ligne.append(DecoderCp1252(valeur));
                valeur.clear();
            }
            lignes.append(std::move(ligne));
            champ = 0;
        } else if (champ < nombreChamps) {
            champs[champ].append(octet);
        }
    }
    return lignes;
}
