#include "model/Encodage.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace {

// 0x80-0x9F of Windows-1252; 0 marks the five bytes it leaves undefined,
// which are kept as the C1 control of the same value.
constexpr char16_t kPlageC1[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr char16_t CaractereCp1252(unsigned char octet)
{
    if (octet >= 0x80 && octet <= 0x9F && kPlageC1[octet - 0x80] != 0)
        return kPlageC1[octet - 0x80];
    return octet;
}

constexpr std::array<char16_t, 256> kCaracteres = [] {
    std::array<char16_t, 256> table{};
    for (int octet = 0; octet < 256; ++octet)
        table[std::size_t(octet)] = CaractereCp1252(static_cast<unsigned char>(octet));
    return table;
}();

// Applies `corriger(i)` at each position where `estSpecial` holds. The
// test runs over blocks first, which the compiler turns into wide
// comparisons: text without such characters is checked at memory speed.
template <class Unite, class Test, class Correction>
void CorrigerSpeciaux(const Unite* unites, qsizetype taille, Test estSpecial, Correction corriger)
{
    constexpr qsizetype kBloc = 64;
    for (qsizetype debut = 0; debut < taille; debut += kBloc) {
        const qsizetype fin = std::min(taille, debut + kBloc);
        if (fin - debut == kBloc) {
            // A fixed count with no exit: the compiler turns it into wide comparisons.
            unsigned special = 0;
            for (qsizetype i = 0; i < kBloc; ++i)
                special |= static_cast<unsigned>(estSpecial(unites[debut + i]));
            if (!special)
                continue;
        }
        for (qsizetype i = debut; i < fin; ++i)
            if (estSpecial(unites[i]))
                corriger(i);
    }
}

} // namespace

char OctetCp1252(char16_t unite)
{
    if (unite < 0x80 || (unite >= 0xA0 && unite <= 0xFF))
        return static_cast<char>(unite);
    for (int i = 0; i < 32; ++i) {
        // The five undefined bytes stand for the C1 control of their value.
        const char16_t caractere = kPlageC1[i] != 0 ? kPlageC1[i] : char16_t(0x80 + i);
        if (caractere == unite)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QString DecoderCp1252(const QByteArray& octets)
{
    // Latin-1 first (the library converts it in wide steps), then the
    // characters of 0x80-0x9F.
    QString texte = QString::fromLatin1(octets);
    QChar* caracteres = texte.data();
    const auto* source = reinterpret_cast<const unsigned char*>(octets.constData());
    // Bytes 0x80-0x9F are the only ones whose character is not the Latin-1 one.
    CorrigerSpeciaux(
        source, octets.size(), [](unsigned char octet) { return (octet & 0xE0) == 0x80; },
        [&](qsizetype i) { caracteres[i] = QChar(kCaracteres[source[i]]); });
    return texte;
}

QByteArray EncoderCp1252(QStringView texte)
{
    QByteArray octets = texte.toLatin1();
    char* sortie = octets.data();
    const char16_t* unites = texte.utf16();
    // Characters above Latin-1 or in its C1 range are the only ones whose
    // byte is not the Latin-1 one.
    CorrigerSpeciaux(
        unites, texte.size(), [](char16_t unite) { return unite > 0xFF || (unite & 0xFFE0) == 0x80; },
        [&](qsizetype i) { sortie[i] = OctetCp1252(unites[i]); });
    return octets;
}

bool EstUtf8NonAscii(QByteArrayView octets)
{
    return !QtPrivate::isAscii(QLatin1StringView(octets)) && octets.isValidUtf8();
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
