#pragma once

// The semicolon-separated files of the tariff and hardware exports and of
// the imports, as spreadsheets on the host's machines read them: every field
// is written as a double quote, the value with each double quote doubled, a
// double quote and a semicolon (the last field too); the line ends with
// CR LF; the bytes are Windows-1252 (a character outside it becomes "?").

#include <QByteArray>
#include <QStringList>
#include <QVector>

QByteArray LigneCsv(const QStringList& champs);

// Reads such a file back, byte by byte, into lines of exactly nombreChamps
// fields:
// - CR is ignored;
// - a double quote is dropped when it is the first byte of the file, follows
//   LF or a semicolon, or is followed by a semicolon; any other one belongs
//   to the value (so a doubled quote comes back as two quotes);
// - a semicolon moves to the next field, and bytes of the fields past the
//   last one are dropped;
// - LF ends a line; the bytes after the last LF are no line.
// Every line is given, a heading line included; an empty line gives empty
// fields.
QVector<QStringList> LireLignesCsv(const QByteArray& octets, int nombreChamps);
