#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252, the single-byte character set of the host's files. Qt has no
// codec for it and Latin-1 differs on 0x80-0x9F (the euro sign is 0x80).

QString DecoderCp1252(const QByteArray& octets);

// Characters outside Windows-1252 become "?".
QByteArray EncoderCp1252(QStringView texte);
char OctetCp1252(char16_t caractere);

// Bytes holding a character outside ASCII and valid UTF-8 throughout: the
// text of a file that names no character set is then UTF-8, since an
// accented 8-bit text is practically never valid UTF-8.
bool EstUtf8NonAscii(QByteArrayView octets);

// Text of a file written by a Windows host: UTF-8 when the bytes are valid
// UTF-8 (a byte-order mark is dropped), Windows-1252 otherwise.
QString DecoderTexteHote(const QByteArray& octets);
