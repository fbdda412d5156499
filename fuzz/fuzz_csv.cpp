// The reader of semicolon-separated files on any bytes: never more lines
// than line ends plus one (line feeds, or CRs in a file without any line
// feed), and lines read, written again and read back come back the same,
// value for value, in the encoding the exports choose.

#include "Cible.h"

#include "model/LigneCsv.h"

namespace {

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
    const QVector<LigneLue> lignes = LireLignesCsv(octets);
    const char finDeLigne = octets.contains('\n') ? '\n' : '\r';
    cible::Exiger(lignes.size() <= octets.count(finDeLigne) + 1, "pas plus de lignes que de fins de ligne");

    QVector<QStringList> valeurs;
    for (const LigneLue& ligne : lignes)
        valeurs.append(ligne.champs);
    const EncodageCsv encodage = EncodageLisible(valeurs).encodage;
    QByteArray reecrit = encodage == EncodageCsv::Utf8 ? kMarqueUtf8 : QByteArray();
    for (const QStringList& champs : valeurs)
        reecrit += LigneCsv(champs, encodage);
    const QVector<LigneLue> relues = LireLignesCsv(reecrit);
    cible::Exiger(relues.size() == lignes.size(), "les lignes réécrites se relisent toutes");
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        cible::Exiger(relues[i].complete, "une ligne réécrite est complète");
        cible::Exiger(relues[i].champs == valeurs[i], "une ligne réécrite se relit telle quelle",
                      LigneLisible(valeurs[i]) + QStringLiteral("\n") + LigneLisible(relues[i].champs));
    }
    return 0;
}
