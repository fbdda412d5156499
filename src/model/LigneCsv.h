#pragma once

// The semicolon-separated files of the tariff and hardware exports and of
// the imports, as spreadsheets on the host's machines read them: every field
// is written as a double quote, the value with each double quote doubled, a
// double quote and a semicolon (the last field too); the line ends with
// CR LF. The bytes are Windows-1252; a file that would not read back so is
// written whole in UTF-8 after a byte-order mark, which spreadsheets open as
// such.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

enum class EncodageCsv { Cp1252, Utf8 };

// The byte-order mark that opens a UTF-8 file.
inline const QByteArray kMarqueUtf8 = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray LigneCsv(const QStringList& champs, EncodageCsv encodage = EncodageCsv::Cp1252);

// The encoding in which a file of these lines reads back: Windows-1252,
// unless a value lies outside it or its bytes would all read as UTF-8 (a
// reader takes valid UTF-8 for UTF-8); then UTF-8, with the first value that
// decided it.
struct ChoixEncodage
{
    EncodageCsv encodage = EncodageCsv::Cp1252;
    QString exemple;
};
ChoixEncodage EncodageLisible(const QVector<QStringList>& lignes);

// One line of such a file, as read back.
struct LigneLue
{
    int numero = 0;     // the line of the file it starts on, from 1
    QStringList champs; // a semicolon that ends the line opens no field
    bool complete = true; // false when the file ends inside a quoted value
    bool pointVirguleFinal = false; // the line ends with a semicolon

    // Every field empty: a blank line, which stands for nothing.
    bool EstVide() const;
    // Why the line cannot be a record of that many fields; nothing when it
    // can: empty fields past the last one (a spreadsheet's empty columns)
    // are allowed, and so is a last field missing after a final semicolon
    // (a spreadsheet's empty last column).
    std::optional<QString> Defaut(int nombreChamps) const;
    // The field at that position; "" past the last one.
    QString Champ(int position) const { return champs.value(position); }
};

// A line of a file that an import sets aside, and why.
struct LigneEcartee
{
    int ligne = 0; // line of the file, from 1
    QString raison;
};

// Reads a file written that way, or by a spreadsheet: UTF-8 when it starts
// with a byte-order mark or is valid UTF-8, Windows-1252 otherwise. A field
// that starts with a double quote is quoted: semicolons, CR and LF inside
// belong to the value, a doubled quote is one quote, and the quote that
// closes it is the one followed by a semicolon or the end of the line (any
// other lone quote belongs to the value). Elsewhere a quote is a character
// like another and CR is ignored. LF ends a line, or CR in a file without
// any LF (older Macintosh spreadsheets end their lines so); text after the
// last line end is a line too. Every line is given, a heading line included.
QVector<LigneLue> LireLignesCsv(const QByteArray& octets);
