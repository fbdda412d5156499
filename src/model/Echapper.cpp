#include "model/Echapper.h"

namespace {

bool ContientUnDe(const QString& texte, QStringView caracteres)
{
    for (const QChar c : texte)
        if (caracteres.contains(c))
            return true;
    return false;
}

} // namespace

QString Echapper(const QString& texte)
{
    if (!ContientUnDe(texte, u"&\"'<>"))
        return texte;
    QString resultat;
    resultat.reserve(texte.size() + 16);
    for (const QChar c : texte) {
        switch (c.unicode()) {
        case '&': resultat += u"&amp;"; break;
        case '"': resultat += u"&quot;"; break;
        case '\'': resultat += u"&apos;"; break;
        case '<': resultat += u"&lt;"; break;
        case '>': resultat += u"&gt;"; break;
        default: resultat += c;
        }
    }
    return resultat;
}

QString EchapperAttribut(const QString& texte)
{
    if (!ContientUnDe(texte, u"&\"<"))
        return texte;
    QString resultat;
    resultat.reserve(texte.size() + 16);
    for (const QChar c : texte) {
        switch (c.unicode()) {
        case '&': resultat += u"&amp;"; break;
        case '"': resultat += u"&quot;"; break;
        case '<': resultat += u"&lt;"; break;
        default: resultat += c;
        }
    }
    return resultat;
}
