#pragma once

#include <QString>
#include <QStringView>

// The label escaping of the answer file: "&" first (so an entity already in
// the text is escaped again), then the double quote, "'", "<" and ">".
QString Echapper(const QString& texte);

// The smallest change that keeps a double-quoted attribute value well-formed:
// "&", "<" and the double quote become entities; every other character,
// ">" and "'" included, is kept as it is, so values without those three
// characters are written byte for byte as before.
QString EchapperAttribut(const QString& texte);

enum class EchappementXml { Libelle, Attribut };

// Appends an attribute value of the answer in one pass: Echapper (Libelle)
// or EchapperAttribut (Attribut), and the control characters. Tab, line feed
// and carriage return become character references, which a reader gives back
// as they were (written raw, a reader turns them into blanks). The other
// control characters cannot stand in a well-formed file, not even as
// references: each becomes "?", as a character the 8-bit file cannot hold does.
void AjouterEchappe(QString& sortie, QStringView texte, EchappementXml echappement);
