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
#include <QVariant>
#include <QVector>
#include <functional>
#include <utility>

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

// Writes of many rows at once: as many rows in one statement as the engine
// takes parameters (Connexion::ParametresMax), at most kLignesParEcriture,
// each value bound as Requete::LierPosition binds it (a text as LierTexte).
// Inside a group, a row refused fails its whole statement, so the group.
inline constexpr int kLignesParEcriture = 1000;

// Inserts the rows, each the values of `colonnes` in their order, in the
// order given: their auto-increment keys follow it. `avancement` is told
// after each statement how many rows were written so far.
void InsererParTranches(Connexion& base, const QString& table, const QStringList& colonnes,
                        const QVector<QVariantList>& lignes,
                        const std::function<void(qsizetype ecrites)>& avancement = {});

// Runs a DELETE or an UPDATE whose list parameter ("IN (:Cles)") takes the
// keys, as text, in a statement per slice of them; returns the rows changed.
int ExecuterParTranches(Requete& requete, const QString& sql, const QString& parametre, const QStringList& cles);

// A text as a column of that width holds it: cut to `largeur` characters (a
// pair of surrogates, one character, never split).
QString CouperTexte(const QString& texte, int largeur);

// One row of ModifierParTranches: its key, as UPDATE ... WHERE cle = :Cle
// would bind it as text, and the values of the columns.
struct Modification
{
    QString cle;
    QVariantList valeurs;
};

// Sets `colonnes` to each row's values where column `colonneCle` holds its
// key and every column of `conditions` holds its value, as one UPDATE per
// row in the order given would: a key given twice ends with its last values.
// `avancement` is told after each statement how many rows were written so far.
void ModifierParTranches(Connexion& base, const QString& table, const QString& colonneCle, const QStringList& colonnes,
                         const QVector<Modification>& lignes,
                         const QVector<std::pair<QString, QVariant>>& conditions = {},
                         const std::function<void(qsizetype ecrites)>& avancement = {});
