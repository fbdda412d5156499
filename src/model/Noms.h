#pragma once

#include <QStringView>

// Names (XML elements and attributes, SQL parameters and columns) compared
// without regard to case; ASCII names, the usual ones, without a call into
// the library.
inline bool MemeNom(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if ((x | y) >= 0x80)
            return a.compare(b, Qt::CaseInsensitive) == 0;
        if ((x | 0x20) != (y | 0x20) || (x | 0x20) < u'a' || (x | 0x20) > u'z')
            return false;
    }
    return true;
}
