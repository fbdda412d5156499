#include "model/Ini.h"

#include "model/Encodage.h"
#include "model/Formats.h"
#include "model/RemplacerFichier.h"
#include "model/Systeme.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QByteArrayView>
#include <optional>
#include <stdexcept>
#include <utility>

namespace {

const QByteArray kBomUtf8 = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kBomUtf16Le = QByteArrayLiteral("\xFF\xFE");
const QByteArray kBomUtf16Be = QByteArrayLiteral("\xFE\xFF");

QString Pli(const QString& nom)
{
    return nom.trimmed().toCaseFolded();
}

QString CleIndex(const QString& section, const QString& cle)
{
    return Pli(section) + QLatin1Char('\n') + Pli(cle);
}

// "[ Name ]" gives "Name"; a line that is not a section header gives nothing.
std::optional<QString> NomSection(const QString& ligne)
{
    const QString texte = ligne.trimmed();
    if (!texte.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype fin = texte.indexOf(QLatin1Char(']'));
    return texte.mid(1, fin < 0 ? -1 : fin - 1).trimmed();
}

bool EstCommentaire(const QString& ligne)
{
    return ligne.trimmed().startsWith(QLatin1Char(';'));
}

// Position of the '=' of a "key=value" line, or -1.
qsizetype SigneEgal(const QString& ligne)
{
    if (EstCommentaire(ligne) || NomSection(ligne))
        return -1;
    return ligne.indexOf(QLatin1Char('='));
}

QString SansSautDeLigne(QString valeur)
{
    valeur.replace(QLatin1String("\r\n"), QLatin1String(" "));
    valeur.replace(QLatin1Char('\r'), QLatin1Char(' '));
    valeur.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return valeur;
}

std::runtime_error ErreurFichier(const QString& texte)
{
    return std::runtime_error(texte.toUtf8().toStdString());
}

} // namespace

TFichierIni::TFichierIni(const QString& fichier)
    : fichier(fichier)
{
    Charger();
}

void TFichierIni::Charger()
{
    QFile entree(fichier);
    if (!entree.exists())
        return;
    if (!entree.open(QIODevice::ReadOnly)) {
        illisible = true;
        return;
    }
    const QByteArray octets = entree.readAll();
    ChoisirJeu(octets);
    Decouper(QByteArrayView(octets).sliced(entete.size()));
    Indexer();
}

// Windows hosts write Windows-1252, UTF-8, or UTF-16 with its byte-order mark
// (the "Unicode" of their editors and shells).
void TFichierIni::ChoisirJeu(const QByteArray& octets)
{
    for (const auto& [bom, choisi] : {std::pair{kBomUtf16Le, Jeu::Utf16Le}, std::pair{kBomUtf16Be, Jeu::Utf16Be},
                                      std::pair{kBomUtf8, Jeu::Utf8}}) {
        if (octets.startsWith(bom)) {
            jeu = choisi;
            entete = bom;
            return;
        }
    }
    // Pure ASCII reads the same either way; it stays Windows-1252.
    jeu = DecoderTexteHote(octets) == DecoderCp1252(octets) ? Jeu::Windows1252 : Jeu::Utf8;
}

// Cuts the bytes after the byte-order mark into lines ending in CR LF, LF or
// CR alone, in code units of the character set (two bytes in UTF-16).
void TFichierIni::Decouper(QByteArrayView octets)
{
    const bool utf16 = jeu == Jeu::Utf16Le || jeu == Jeu::Utf16Be;
    const qsizetype pas = utf16 ? 2 : 1;
    const auto unite = [&](qsizetype i) -> char16_t {
        if (!utf16)
            return char16_t(uchar(octets[i]));
        const auto premier = uchar(octets[i]), second = uchar(octets[i + 1]);
        return jeu == Jeu::Utf16Le ? char16_t(premier | second << 8) : char16_t(premier << 8 | second);
    };
    qsizetype debut = 0;
    for (qsizetype i = 0; i + pas <= octets.size(); i += pas) {
        const char16_t caractere = unite(i);
        if (caractere != u'\n' && caractere != u'\r')
            continue;
        // Shared texts: a file of many lines allocates none for their ends.
        static const QString kCr = QStringLiteral("\r"), kLf = QStringLiteral("\n"), kCrLf = QStringLiteral("\r\n");
        QString finLigne = caractere == u'\n' ? kLf : kCr;
        if (caractere == u'\r' && i + 2 * pas <= octets.size() && unite(i + pas) == u'\n')
            finLigne = kCrLf;
        const QByteArray brut = octets.sliced(debut, i - debut).toByteArray();
        lignes.push_back({DecoderLigne(brut), finLigne, brut});
        i += (finLigne.size() - 1) * pas;
        debut = i + pas;
    }
    if (debut < octets.size()) {
        const QByteArray brut = octets.sliced(debut).toByteArray();
        lignes.push_back({DecoderLigne(brut), QString(), brut});
    }
}

QString TFichierIni::DecoderLigne(const QByteArray& octets) const
{
    switch (jeu) {
    case Jeu::Windows1252:
        return DecoderCp1252(octets);
    case Jeu::Utf8:
    case Jeu::Utf16Le:
    case Jeu::Utf16Be:
        break;
    }
    // A mark at the start of a line is a character of that line, not the
    // file's: it is kept in the text as in the bytes.
    const auto flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder decodeur(jeu == Jeu::Utf8      ? QStringConverter::Utf8
                            : jeu == Jeu::Utf16Le ? QStringConverter::Utf16LE
                                                  : QStringConverter::Utf16BE,
                            flags);
    return decodeur.decode(octets);
}

QByteArray TFichierIni::EncoderLigne(const QString& texte) const
{
    switch (jeu) {
    case Jeu::Windows1252:
        return EncoderCp1252(texte);
    case Jeu::Utf8:
        return texte.toUtf8();
    case Jeu::Utf16Le:
    case Jeu::Utf16Be:
        break;
    }
    QStringEncoder encodeur(jeu == Jeu::Utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                            QStringConverter::Flag::Stateless);
    return encodeur.encode(texte);
}

// The lines as read keep their bytes (a stray byte-order mark or a byte the
// character set cannot decode included); changed and new lines are encoded.
QByteArray TFichierIni::Assembler() const
{
    const bool utf16 = jeu == Jeu::Utf16Le || jeu == Jeu::Utf16Be;
    QByteArray octets = entete;
    for (const LigneIni& ligne : lignes) {
        // Half a UTF-16 character at the end of the file stays only while
        // nothing follows it: anything after would be read out of step.
        const bool demiCaractere = utf16 && ligne.octets.size() % 2 != 0 && !ligne.finLigne.isEmpty();
        octets += ligne.modifiee || demiCaractere ? EncoderLigne(ligne.texte) : ligne.octets;
        octets += EncoderLigne(ligne.finLigne);
    }
    return octets;
}

// Windows-1252 bytes must read back as the same text: a character it cannot
// hold would come back as "?", and Windows-1252 bytes that happen to form
// UTF-8 (once the line that did not is rewritten) would be read as UTF-8,
// changing the other values.
bool TFichierIni::RelitCommeEcrit(const QByteArray& octets) const
{
    if (jeu != Jeu::Windows1252)
        return true;
    for (const LigneIni& ligne : lignes) {
        if (ligne.modifiee && DecoderCp1252(EncoderCp1252(ligne.texte)) != ligne.texte)
            return false;
    }
    return DecoderTexteHote(octets) == DecoderCp1252(octets);
}

void TFichierIni::Indexer()
{
    sections.clear();
    entetes.clear();
    valeurs.clear();
    QString prefixe; // the current section's folded name and "\n"
    bool dansSection = false;
    for (int i = 0; i < lignes.size(); ++i) {
        const QString& texte = lignes[i].texte;
        if (const auto nom = NomSection(texte)) {
            const QString plie = Pli(*nom);
            prefixe = plie + QLatin1Char('\n');
            dansSection = true;
            if (!entetes.contains(plie)) {
                entetes.insert(plie, i);
                sections << *nom;
            }
            continue;
        }
        const qsizetype egal = SigneEgal(texte);
        if (!dansSection || egal < 0)
            continue; // keys before any section belong to none
        const QString cle = prefixe + Pli(texte.left(egal));
        if (!valeurs.contains(cle)) // the first occurrence wins
            valeurs.insert(cle, i);
    }
}

bool TFichierIni::SectionExiste(const QString& section) const
{
    return entetes.contains(Pli(section));
}

QStringList TFichierIni::Sections() const
{
    return sections;
}

QString TFichierIni::LireTexte(const QString& section, const QString& cle, const QString& defaut) const
{
    const auto it = valeurs.constFind(CleIndex(section, cle));
    if (it == valeurs.constEnd())
        return defaut;
    const QString& texte = lignes[it.value()].texte;
    return texte.mid(texte.indexOf(QLatin1Char('=')) + 1).trimmed();
}

int TFichierIni::LireEntier(const QString& section, const QString& cle, int defaut) const
{
    return ::LireEntier(LireTexte(section, cle)).value_or(defaut);
}

double TFichierIni::LireDecimal(const QString& section, const QString& cle, double defaut) const
{
    return ::LireDecimal(LireTexte(section, cle)).value_or(defaut);
}

void TFichierIni::EcrireTexte(const QString& section, const QString& cle, const QString& valeur)
{
    if (illisible)
        throw ErreurFichier(QStringLiteral("Le fichier %1 ne peut pas être lu : il n'est pas modifié.")
                                .arg(QDir::toNativeSeparators(fichier)));
    const QString texteValeur = SansSautDeLigne(valeur);
    const auto existante = valeurs.constFind(CleIndex(section, cle));
    if (existante != valeurs.constEnd()) {
        // Keep the key as written and the blanks after the equals sign.
        QString& texte = lignes[existante.value()].texte;
        qsizetype debut = texte.indexOf(QLatin1Char('=')) + 1;
        while (debut < texte.size() && (texte[debut] == QLatin1Char(' ') || texte[debut] == QLatin1Char('\t')))
            ++debut;
        texte = texte.left(debut) + texteValeur;
        lignes[existante.value()].modifiee = true;
    } else {
        const QString nouvelle = cle.trimmed() + QLatin1Char('=') + texteValeur;
        const auto entete = entetes.constFind(Pli(section));
        if (entete != entetes.constEnd()) {
            InsererLigne(DerniereCle(entete.value()) + 1, nouvelle);
        } else {
            if (!lignes.isEmpty() && !lignes.last().texte.trimmed().isEmpty())
                InsererLigne(lignes.size(), QString());
            InsererLigne(lignes.size(), QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
            InsererLigne(lignes.size(), nouvelle);
        }
    }
    Indexer();
    Enregistrer();
}

int TFichierIni::DerniereCle(int entete) const
{
    int derniere = entete;
    for (int i = entete + 1; i < lignes.size() && !NomSection(lignes[i].texte); ++i) {
        if (SigneEgal(lignes[i].texte) >= 0)
            derniere = i;
    }
    return derniere;
}

QString TFichierIni::FinLigneHabituelle() const
{
    if (!lignes.isEmpty() && !lignes.first().finLigne.isEmpty())
        return lignes.first().finLigne;
    return QStringLiteral("\r\n"); // the convention of the hosts' files
}

void TFichierIni::InsererLigne(int position, const QString& texte)
{
    const QString finLigne = FinLigneHabituelle();
    if (position > 0 && lignes[position - 1].finLigne.isEmpty())
        lignes[position - 1].finLigne = finLigne;
    lignes.insert(position, {texte, finLigne, QByteArray(), true});
}

void TFichierIni::Enregistrer()
{
    QByteArray octets = Assembler();
    if (!RelitCommeEcrit(octets)) {
        // Such a file is written in UTF-8 throughout: its text is kept.
        jeu = Jeu::Utf8;
        for (LigneIni& ligne : lignes)
            ligne.modifiee = true;
        octets = Assembler();
    }

    // A sentence saying what to do, then the system's own words for support.
    if (const auto raison = Systeme::EcritureRefusee(fichier)) {
        throw ErreurFichier(QStringLiteral("Impossible d'enregistrer le fichier « %1 » : il est en lecture seule ; "
                                           "retirez-lui la lecture seule, puis recommencez.\n%2")
                                .arg(QDir::toNativeSeparators(fichier), *raison));
    }
    if (const auto raison = RemplacerFichier(fichier, octets))
        throw ErreurFichier(QStringLiteral("Impossible d'enregistrer le fichier « %1 » : vérifiez que son dossier existe "
                                           "et accepte l'écriture, et qu'il reste de la place sur le disque.\n%2")
                                .arg(QDir::toNativeSeparators(fichier), *raison));
}
