#pragma once

#include <QString>

// The label escaping of the answer file: "&" first (so an entity already in
// the text is escaped again), then the double quote, "'", "<" and ">".
QString Echapper(const QString& texte);

// The smallest change that keeps a double-quoted attribute value well-formed:
// "&", "<" and the double quote become entities; every other character,
// ">" and "'" included, is kept as it is, so values without those three
// characters are written byte for byte as before.
QString EchapperAttribut(const QString& texte);
