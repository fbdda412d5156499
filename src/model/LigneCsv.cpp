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
bool GuillemetDeChamp(const char* octets, qsizetype taille, qsizetype position)
{
    if (position == 0)
        return true;
    const char precedent = octets[position - 1];
    if (precedent == '\n' || precedent == ';')
        return true;
    return position + 1 < taille && octets[position + 1] == ';';
}

} // namespace

QVector<QStringList> LireLignesCsv(const QByteArray& octets, int nombreChamps)
{
    const char* const donnees = octets.constData();
    const qsizetype taille = octets.size();
    QVector<QStringList> lignes;
    QVector<QByteArray> champs(nombreChamps);
    int champ = 0;
    // The bytes kept are copied by runs: a run ends at the first byte that
    // is not part of a value.
    qsizetype debutSuite = 0;
    const auto garderSuite = [&](qsizetype fin) {
        if (champ < nombreChamps && fin > debutSuite)
            champs[champ].append(donnees + debutSuite, fin - debutSuite);
    };
    for (qsizetype i = 0; i < taille; ++i) {
        const char octet = donnees[i];
        const bool separe = octet == '\r' || octet == ';' || octet == '\n'
                            || (octet == '"' && GuillemetDeChamp(donnees, taille, i));
        if (!separe)
            continue;
        garderSuite(i);
        debutSuite = i + 1;
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
        }
    }
    return lignes;
}
