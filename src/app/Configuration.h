#pragma once

// The host's reference data, read from its configuration file at every start:
// the installers into table Poseur, the VAT types into the data module's
// in-memory VAT table. The file itself is never written.

#include "data/Poseurs.h"

#include <QString>
#include <QVector>

class TFichierIni;

// Numbered sections "Poseur0" … "Poseur<Nb-1>": a known Code updates its row
// (keeping its IdPoseur, so its tariffs stay attached), any other is inserted.
// All installers are written in one transaction: a database error leaves
// table Poseur as it was and reaches the caller. A text longer than its
// column is stored cut; the texts cut in the rows written are returned.
QVector<Poseurs::TexteCoupe> LirePoseurs(const TFichierIni& configuration);
QVector<Poseurs::TexteCoupe> LirePoseurs(const QString& fichierConfig);

// What the user is told of the texts cut from the configuration file: ""
// when none was.
QString MessageTextesCoupes(const QVector<Poseurs::TexteCoupe>& coupes, const QString& fichierConfig);

// Numbered sections "TVA0" … "TVA<Nb-1>": each one with a TypeTva of 0 or
// more appends a row to rxTva, in section order.
void LireTypesTva(const TFichierIni& configuration);
void LireTypesTva(const QString& fichierConfig);

// The numbers n, ascending, of the sections named prefix + n (n written in
// decimal) present in the file, for 0 <= n < nb. Only the sections present are
// looked at, so a huge Nb costs nothing.
QList<int> NumerosSections(const TFichierIni& ini, const QString& prefixe, int nb);
