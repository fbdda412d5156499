#pragma once

// Short-hands for the shared queries of the data module as the data units
// use them: one statement, its keys and values bound as parameters, the rows
// copied out so that the same query can be reused at once. Internal to the
// data units: nothing above them sees the engine.

#include "data/Entree.h"
#include "engine/Base.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// Runs a SELECT without parameters; the query is closed afterwards.
Resultat LireTout(Requete& requete, const QString& sql);

// Runs a SELECT whose only parameter is a key given as text.
Resultat LireParCle(Requete& requete, const QString& sql, const QString& parametre,
                    const QString& cle);

// Runs a DELETE or an UPDATE whose only parameter is a key given as text;
// returns the number of rows it changed.
int ExecuterParCle(Requete& requete, const QString& sql, const QString& parametre,
                   const QString& cle);

// Column "valeur" of the rows indexed by the text of column "cle"; when
// several rows share a key, the last one wins.
QHash<QString, QString> Correspondances(const Resultat& lignes, const QString& cle,
                                        const QString& valeur);

// The rows as entries: key from column "cle", text from column "libelle".
QVector<Entree> Entrees(const Resultat& lignes, const QString& cle, const QString& libelle);

// Look-ups of many keys at once: one statement for a whole list (a repaint,
// an action), in slices the engine takes ("IN (:Cles)" with
// Requete::LierListe).
//
// The keys that stand for the same integer as the database compares them
// ("12" and " 12"), by that integer: a row found for one answers all of them.
// A key that stands for none finds no row and is left out.
QHash<qint64, QStringList> ClesParEntier(const QStringList& cles);

// Runs the SELECT once per slice of at most `taille` of the integers, the
// list bound to `parametre`, and gives every row to `lire`. Other parameters
// are bound by `lier` before each run.
void LireParTranches(Requete& requete, const QString& sql, const QString& parametre, const QList<qint64>& entiers,
                     const std::function<void(const Ligne&)>& lire, const std::function<void()>& lier = {},
                     int taille = Requete::kTailleListeMax);
