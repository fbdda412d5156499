#pragma once

// One line of the semicolon-separated files of the tariff and hardware
// exports and of the hardware import, as spreadsheets on the host's machines
// read them: every field is written as a double quote, the value with each
// double quote doubled, a double quote and a semicolon (the last field too);
// the line ends with CR LF; the bytes are Windows-1252 (a character outside
// it becomes "?").

#include <QByteArray>
#include <QStringList>

QByteArray LigneCsv(const QStringList& champs);
