#pragma once

// Inside the database layer: the text of a statement read as tokens, so that
// parameters, keywords and literals are told apart (a colon inside a quoted
// text is no parameter).

#include <QByteArray>
#include <QString>
#include <vector>

struct JetonSql
{
    enum class Genre { Mot, Parametre, Texte, Identifiant, Nombre, Symbole };
    Genre genre;
    qsizetype debut;
    qsizetype fin; // past the last character

    QStringView Dans(const QString& sql) const { return QStringView(sql).mid(debut, fin - debut); }
};

// The tokens of the text, blanks and comments left out. A parameter is a
// colon followed by a name (not "::"); its token includes the colon.
std::vector<JetonSql> Decouper(const QString& sql);

// The statement reads only (SELECT, WITH, VALUES, EXPLAIN, PRAGMA, SHOW).
bool EstLecture(const QString& sql);

// The name of the parameter standing at position `position` of a list
// parameter developed by DevelopperListe.
QString NomElementListe(QStringView nom, int position);
// The text with every ":Nom" made ":Nom__0, :Nom__1, ..." (`taille` of them).
// Raises ErreurBase when the text has no such parameter.
QString DevelopperListe(const QString& sql, QStringView nom, int taille);

// A statement in the server's spelling: the named parameters become
// positional ($1, $2... in the order they stand, a name that comes again
// taking a number of its own), LIKE compares as on the file (ASCII letters without regard to case,
// no escape character), ORDER BY puts nulls where the file puts them (first
// when ascending), and a final semicolon goes. Raises ErreurBase when the text
// holds more than one statement or none.
struct TexteServeur
{
    QByteArray sql;
    std::vector<QString> parametres; // the name of each number, from $1
};
TexteServeur TraduirePourServeur(const QString& sql);
