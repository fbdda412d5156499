#include "model/Encodage.h"

#include <QHash>
#include <QStringDecoder>

namespace {

// 0x80-0x9F of Windows-1252; 0 marks the five bytes it leaves undefined,
// which are kept as the C1 control of the same value.
constexpr char16_t kPlageC1[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t CaractereCp1252(unsigned char octet)
{
    if (octet >= 0x80 && octet <= 0x9F && kPlageC1[octet - 0x80] != 0)
        return kPlageC1[octet - 0x80];
    return octet;
}

const QHash<char16_t, char>& OctetsParCaractere()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int octet = 0; octet < 256; ++octet)
            t.insert(CaractereCp1252(static_cast<unsigned char>(octet)), static_cast<char>(octet));
        return t;
    }();
    return table;
}

} // namespace

QString DecoderCp1252(const QByteArray& octets)
{
    QString texte(octets.size(), Qt::Uninitialized);
    QChar* sortie = texte.data();
    for (const char octet : octets)
        *sortie++ = QChar(CaractereCp1252(static_cast<unsigned char>(octet)));
    return texte;
}

QByteArray EncoderCp1252(const QString& texte)
{
    const auto& table = OctetsParCaractere();
    QByteArray octets;
    octets.reserve(texte.size());
    for (const QChar c : texte) {
        const char16_t unite = c.unicode();
        if (unite < 0x80) {
            octets.append(static_cast<char>(unite));
            continue;
        }
        const auto it = table.constFind(unite);
        octets.append(it != table.constEnd() ? it.value() : '?');
    }
    return octets;
}

QString DecoderTexteHote(const QByteArray& octets)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString texte = utf8.decode(octets);
    if (!utf8.hasError()) {
        if (texte.startsWith(QChar(0xFEFF)))
            texte.remove(0, 1);
        return texte;
    }
    return DecoderCp1252(octets);
}
