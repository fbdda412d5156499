// The INI reader and writer on any file: reading never fails, and writing one
// key gives that key its new value and leaves every other key and section
// reading as before. The last bytes of the input choose the key and the
// value; the rest is the file.

#include "Cible.h"

#include "model/Ini.h"
#include "model/Encodage.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

std::unique_ptr<QTemporaryDir> dossier;

const QString kAbsente = QStringLiteral("\x01(absente)");

// Names as the reader matches them.
QString Pli(const QString& nom)
{
    return nom.trimmed().toCaseFolded();
}

QString Texte(const QByteArray& octets)
{
    if (octets.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(octets.mid(2));
    if (octets.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE).decode(octets.mid(2));
    return DecoderTexteHote(octets);
}

// The names written before an equals sign, sixteen at most; lines end in
// CR LF, LF or CR.
QStringList Cles(const QByteArray& octets)
{
    QStringList cles;
    static const QRegularExpression finDeLigne(QStringLiteral("\r\n|\n|\r"));
    for (const QString& ligne : Texte(octets).split(finDeLigne)) {
        const QString debut = ligne.trimmed();
        const qsizetype egal = ligne.indexOf(u'=');
        if (egal < 0 || debut.startsWith(u'[') || debut.startsWith(u';'))
            continue;
        const QString cle = ligne.left(egal).trimmed();
        if (!cles.contains(cle))
            cles << cle;
        if (cles.size() >= 16)
            break;
    }
    return cles;
}

QHash<QString, QString> Valeurs(const TFichierIni& ini, const QStringList& sections, const QStringList& cles)
{
    QHash<QString, QString> valeurs;
    for (const QString& section : sections)
        for (const QString& cle : cles)
            valeurs.insert(Pli(section) + u'\n' + Pli(cle), ini.LireTexte(section, cle, kAbsente));
    return valeurs;
}

void EcrireFichier(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    cible::Exiger(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate) && fichier.write(octets) == octets.size(),
                  "le fichier d'essai s'écrit");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    cible::RegionFrancaise();
    // Every input goes through a file: in memory where there is room for it,
    // which is much quicker.
    const QString memoire = QStringLiteral("/dev/shm");
    dossier = QFileInfo(memoire).isWritable() ? std::make_unique<QTemporaryDir>(memoire + QStringLiteral("/quarlo-XXXXXX"))
                                               : std::make_unique<QTemporaryDir>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    if (taille < 3)
        return 0;
    const QByteArray contenu = cible::Octets(donnees, taille - 3);
    const uint8_t choixSection = donnees[taille - 3];
    const uint8_t choixCle = donnees[taille - 2];
    const uint8_t choixValeur = donnees[taille - 1];

    const QString chemin = dossier->filePath(QStringLiteral("essai.ini"));
    EcrireFichier(chemin, contenu);
    TFichierIni avant(chemin);

    QStringList sections = avant.Sections().mid(0, 16);
    QStringList cles = Cles(contenu);
    sections << QStringLiteral("Marge") << QStringLiteral(" Nouvelle section ");
    cles << QStringLiteral("Mini") << QStringLiteral("Nouvelle clé ");
    const QHash<QString, QString> valeursAvant = Valeurs(avant, sections, cles);
    for (const QString& section : sections) {
        avant.LireEntier(section, QStringLiteral("Nb"), 0);
        avant.LireDecimal(section, QStringLiteral("Valeur"), 0.0);
    }

    const QString section = sections.at(choixSection % sections.size());
    const QString cle = cles.at(choixCle % cles.size());
    // Each value written, with what reading it back gives.
    static const std::vector<std::pair<QString, QString>> kValeurs = {
        {QStringLiteral("5,5"), QStringLiteral("5,5")},
        {QString(), QString()},
        {QStringLiteral("  blancs autour  "), QStringLiteral("blancs autour")},
        {QStringLiteral("€ é Ā 😀"), QStringLiteral("€ é Ā 😀")},
        {QStringLiteral("deux\r\nlignes\rou\ntrois"), QStringLiteral("deux lignes ou trois")},
        {QStringLiteral("a=b ; [c]"), QStringLiteral("a=b ; [c]")},
    };
    const auto& [valeur, attendue] = kValeurs.at(choixValeur % kValeurs.size());
    QStringList sectionsAttendues = avant.Sections();
    if (!avant.SectionExiste(section))
        sectionsAttendues << section.trimmed();

    try {
        avant.EcrireTexte(section, cle, valeur);
    } catch (const std::runtime_error& erreur) {
        cible::Exiger(false, "une clé s'écrit", QString::fromUtf8(erreur.what()));
    }

    const TFichierIni apres(chemin);
    cible::Exiger(apres.LireTexte(section, cle) == attendue, "la clé écrite se relit",
                  QStringLiteral("[%1] %2 = « %3 »").arg(section, cle, apres.LireTexte(section, cle)));

    const QString ecrite = Pli(section) + u'\n' + Pli(cle);
    const QHash<QString, QString> valeursApres = Valeurs(apres, sections, cles);
    for (auto it = valeursAvant.cbegin(); it != valeursAvant.cend(); ++it)
        cible::Exiger(it.key() == ecrite || valeursApres.value(it.key()) == it.value(),
                      "les autres clés se relisent comme avant",
                      QStringLiteral("%1 : « %2 » devenu « %3 »").arg(it.key(), it.value(), valeursApres.value(it.key())));

    cible::Exiger(apres.Sections() == sectionsAttendues, "les sections restent dans leur ordre",
                  apres.Sections().join(u'|') + QStringLiteral(" au lieu de ") + sectionsAttendues.join(u'|'));
    return 0;
}
