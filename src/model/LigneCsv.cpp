#include "model/LigneCsv.h"

#include "model/Encodage.h"

#include <QStringDecoder>

QByteArray LigneCsv(const QStringList& champs, EncodageCsv encodage)
{
    QString ligne;
    for (const QString& champ : champs) {
        ligne += QLatin1Char('"');
        ligne += QString(champ).replace(QLatin1Char('"'), QLatin1String("\"\""));
        ligne += QLatin1String("\";");
    }
    ligne += QLatin1String("\r\n");
    return encodage == EncodageCsv::Utf8 ? ligne.toUtf8() : EncoderCp1252(ligne);
}

namespace {

bool DansCp1252(QStringView texte)
{
    for (const QChar caractere : texte) {
        const char16_t unite = caractere.unicode();
        if (unite >= 0x80 && OctetCp1252(unite) == '?')
            return false;
    }
    return true;
}

bool EstAscii(QStringView texte)
{
    for (const QChar caractere : texte) {
        if (caractere.unicode() >= 0x80)
            return false;
    }
    return true;
}

QString Decoder(const QByteArray& octets)
{
    if (!octets.startsWith(kMarqueUtf8))
        return DecoderTexteHote(octets);
    // The mark says UTF-8: a byte that is not becomes a replacement character.
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
        .decode(QByteArrayView(octets).sliced(kMarqueUtf8.size()));
}

// Reads the lines of a decoded text, keeping the position and line number.
class Lecteur
{
public:
    explicit Lecteur(const QString& texte)
        : texte(texte.constData())
        , taille(texte.size())
        // Older spreadsheets of the Macintosh end their lines with CR alone.
        , finDeLigne(texte.contains(u'\n') || !texte.contains(u'\r') ? u'\n' : u'\r')
    {
    }

    bool Fini() const { return i >= taille; }

    LigneLue Ligne()
    {
        LigneLue ligne;
        ligne.numero = numero;
        for (;;) {
            QString valeur;
            if (i < taille && texte[i] == u'"')
                LireGuillemets(valeur, ligne.complete);
            LireSansGuillemets(valeur);
            ligne.champs.append(std::move(valeur));
            if (i >= taille)
                return ligne;
            if (texte[i] == finDeLigne) {
                FinLigne();
                return ligne;
            }
            ++i; // the semicolon
            if (FinDeLigne(i)) {
                // A semicolon that ends the line opens no field.
                ligne.pointVirguleFinal = true;
                if (i < taille && texte[i] == u'\r' && finDeLigne == u'\n')
                    ++i;
                if (i < taille)
                    FinLigne();
                return ligne;
            }
        }
    }

private:
    const QChar* texte;
    qsizetype taille;
    QChar finDeLigne; // LF, or CR in a file without any LF
    qsizetype i = 0;
    int numero = 1;

    void FinLigne()
    {
        ++i;
        ++numero;
    }

    // The line ends at the position: its line end, CR LF, or the end of the text.
    bool FinDeLigne(qsizetype position) const
    {
        if (position >= taille || texte[position] == finDeLigne)
            return true;
        return texte[position] == u'\r' && (position + 1 >= taille || texte[position + 1] == u'\n');
    }

    // What may follow the quote that closes a field.
    bool FinDeChamp(qsizetype position) const { return FinDeLigne(position) || texte[position] == u';'; }

    void LireGuillemets(QString& valeur, bool& complete)
    {
        ++i; // the opening quote
        for (;;) {
            const qsizetype debut = i;
            while (i < taille && texte[i] != u'"') {
                if (texte[i] == finDeLigne)
                    ++numero;
                ++i;
            }
            valeur.append(texte + debut, i - debut);
            if (i >= taille) {
                complete = false;
                return;
            }
            if (i + 1 < taille && texte[i + 1] == u'"') {
                valeur.append(u'"');
                i += 2;
            } else if (FinDeChamp(i + 1)) {
                ++i;
                return;
            } else {
                valeur.append(u'"');
                ++i;
            }
        }
    }

    void LireSansGuillemets(QString& valeur)
    {
        qsizetype debut = i;
        for (; i < taille && texte[i] != u';' && texte[i] != finDeLigne; ++i) {
            if (texte[i] == u'\r') {
                valeur.append(texte + debut, i - debut);
                debut = i + 1;
            }
        }
        valeur.append(texte + debut, i - debut);
    }
};

} // namespace

ChoixEncodage EncodageLisible(const QVector<QStringList>& lignes)
{
    // Quotes and semicolons are ASCII, so the file is valid UTF-8 exactly
    // when each value's bytes are.
    bool toutUtf8 = true;
    QString premierNonAscii;
    for (const QStringList& champs : lignes) {
        for (const QString& champ : champs) {
            if (!DansCp1252(champ))
                return {EncodageCsv::Utf8, champ};
            if (!toutUtf8 || EstAscii(champ))
                continue;
            QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            const QString relu = utf8.decode(EncoderCp1252(champ));
            toutUtf8 = !utf8.hasError();
            if (toutUtf8 && premierNonAscii.isNull())
                premierNonAscii = champ;
        }
    }
    if (toutUtf8 && !premierNonAscii.isNull())
        return {EncodageCsv::Utf8, premierNonAscii};
    return {};
}

bool LigneLue::EstVide() const
{
    for (const QString& champ : champs) {
        if (!champ.isEmpty())
            return false;
    }
    return true;
}

std::optional<QString> LigneLue::Defaut(int nombreChamps) const
{
    if (!complete)
        return QStringLiteral("guillemet non fermé avant la fin du fichier");
    int utiles = champs.size();
    while (utiles > nombreChamps && champs[utiles - 1].isEmpty())
        --utiles;
    if (utiles == nombreChamps - 1 && pointVirguleFinal)
        return std::nullopt;
    if (utiles != nombreChamps)
        return QStringLiteral("%1 champs au lieu de %2").arg(utiles).arg(nombreChamps);
    return std::nullopt;
}

QVector<LigneLue> LireLignesCsv(const QByteArray& octets)
{
    const QString texte = Decoder(octets);
    Lecteur lecteur(texte);
    QVector<LigneLue> lignes;
    while (!lecteur.Fini())
        lignes.append(lecteur.Ligne());
    return lignes;
}
