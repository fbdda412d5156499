#include "model/Echapper.h"

namespace {

bool EstControle(QChar c)
{
    return c.unicode() < 0x20;
}

// The replacement of one character, or an empty view when it stays.
QStringView Remplacement(QChar c, EchappementXml echappement, bool controles)
{
    switch (c.unicode()) {
    case u'&': return u"&amp;";
    case u'"': return u"&quot;";
    case u'<': return u"&lt;";
    case u'\'': return echappement == EchappementXml::Libelle ? u"&apos;" : QStringView();
    case u'>': return echappement == EchappementXml::Libelle ? u"&gt;" : QStringView();
    }
    if (!controles || !EstControle(c))
        return {};
    switch (c.unicode()) {
    case u'\t': return u"&#9;";
    case u'\n': return u"&#10;";
    case u'\r': return u"&#13;";
    default: return u"?";
    }
}

// Appends the text with its characters replaced, copying the runs between
// them as they are.
void Remplacer(QString& sortie, QStringView texte, EchappementXml echappement, bool controles)
{
    qsizetype debut = 0;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QStringView remplacement = Remplacement(texte[i], echappement, controles);
        if (remplacement.isEmpty())
            continue;
        sortie += texte.mid(debut, i - debut);
        sortie += remplacement;
        debut = i + 1;
    }
    sortie += texte.mid(debut);
}

QString Remplace(const QString& texte, EchappementXml echappement, bool controles)
{
    QString resultat;
    resultat.reserve(texte.size() + 16);
    Remplacer(resultat, texte, echappement, controles);
    return resultat;
}

} // namespace

QString Echapper(const QString& texte)
{
    return Remplace(texte, EchappementXml::Libelle, false);
}

QString EchapperAttribut(const QString& texte)
{
    return Remplace(texte, EchappementXml::Attribut, false);
}

void AjouterEchappe(QString& sortie, QStringView texte, EchappementXml echappement)
{
    Remplacer(sortie, texte, echappement, true);
}
