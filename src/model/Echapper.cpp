#include "model/Echapper.h"

#include <algorithm>
#include <initializer_list>

namespace {

struct Entite
{
    QChar caractere;
    QStringView reference;
};

// Replaces each listed character by its entity, in one pass; a text without
// any of them is returned as it is (no copy).
QString RemplacerParEntites(const QString& texte, std::initializer_list<Entite> entites)
{
    const auto entiteDe = [&](QChar c) -> const Entite* {
        for (const Entite& entite : entites)
            if (entite.caractere == c)
                return &entite;
        return nullptr;
    };
    if (std::none_of(texte.cbegin(), texte.cend(), [&](QChar c) { return entiteDe(c); }))
        return texte;
    QString resultat;
    resultat.reserve(texte.size() + 16);
    for (const QChar c : texte) {
        if (const Entite* entite = entiteDe(c))
            resultat += entite->reference;
        else
            resultat += c;
    }
    return resultat;
}

} // namespace

QString Echapper(const QString& texte)
{
    return RemplacerParEntites(texte, {{u'&', u"&amp;"}, {u'"', u"&quot;"}, {u'\'', u"&apos;"},
                                       {u'<', u"&lt;"}, {u'>', u"&gt;"}});
}

QString EchapperAttribut(const QString& texte)
{
    return RemplacerParEntites(texte, {{u'&', u"&amp;"}, {u'"', u"&quot;"}, {u'<', u"&lt;"}});
}

QString EchapperControles(const QString& texte)
{
    const auto estControle = [](QChar c) { return c.unicode() < 0x20; };
    if (std::none_of(texte.cbegin(), texte.cend(), estControle))
        return texte;
    QString resultat;
    resultat.reserve(texte.size() + 16);
    for (const QChar c : texte) {
        switch (c.unicode()) {
        case u'\t':
            resultat += u"&#9;";
            break;
        case u'\n':
            resultat += u"&#10;";
            break;
        case u'\r':
            resultat += u"&#13;";
            break;
        default:
            resultat += estControle(c) ? QChar(u'?') : c;
        }
    }
    return resultat;
}
