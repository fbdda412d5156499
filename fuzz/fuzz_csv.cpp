// The reader of semicolon-separated files on any bytes: every line has its
// number of fields, one line per line feed; and lines read, written again
// and read back come back the same, each quote inside a value doubled (the
// files' own rule, which an export followed by an import shows).

#include "Cible.h"

#include "model/LigneCsv.h"

namespace {

constexpr int kChamps = 8;

QString LigneLisible(const QStringList& champs)
{
    return champs.join(QStringLiteral(" | "));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QByteArray octets = cible::Octets(donnees, taille);
    const QVector<QStringList> lignes = LireLignesCsv(octets, kChamps);
    cible::Exiger(lignes.size() == octets.count('\n'), "une ligne par saut de ligne");

    QByteArray reecrit;
    for (const QStringList& champs : lignes) {
        cible::Exiger(champs.size() == kChamps, "chaque ligne a tous ses champs", LigneLisible(champs));
        reecrit += LigneCsv(champs);
    }
    const QVector<QStringList> relues = LireLignesCsv(reecrit, kChamps);
    cible::Exiger(relues.size() == lignes.size(), "les lignes réécrites se relisent toutes");
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        QStringList attendus = lignes[i];
        for (QString& champ : attendus)
            champ.replace(u'"', QStringLiteral("\"\""));
        cible::Exiger(relues[i] == attendus, "une ligne réécrite se relit, guillemets doublés",
                      LigneLisible(lignes[i]) + QStringLiteral("\n") + LigneLisible(relues[i]));
    }
    return 0;
}
