#pragma once

// The database layer over SQLCipher: one connection to a password-protected
// file shared by several running copies of the program (rollback journal,
// busy timeout, write groups in BEGIN IMMEDIATE transactions), queries with
// named parameters, rows read by column name, and the schema helpers the
// upgrade needs. Column and parameter names are matched without regard to case.

#include <QHash>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

// An error of the engine; what() carries the engine's message (UTF-8).
class ErreurBase : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    QString Message() const { return QString::fromUtf8(what()); }
};

// One row of a result. Reading a column that the result lacks is an error.
class Ligne
{
public:
    QString Texte(const QString& colonne) const;     // null reads as ""
    qint64 Entier(const QString& colonne) const;     // null or text that is no number reads as 0
    double Decimal(const QString& colonne) const;    // null or text that is no number reads as 0
    bool EstNul(const QString& colonne) const;
    QVariant Valeur(const QString& colonne) const;   // QVariant() for null
    QVariant ValeurIndice(int indice) const;
    int NombreColonnes() const;

private:
    friend class Requete;
    struct Colonnes;
    QSharedPointer<const Colonnes> colonnes;
    QVector<QVariant> valeurs;
    int Indice(const QString& colonne) const;
};

// The rows of one SELECT, read completely when the query was opened (so no
// read lock is held while the caller works). Cheap to copy.
class Resultat
{
public:
    int NombreLignes() const { return lignes.size(); }
    bool EstVide() const { return lignes.isEmpty(); }
    const Ligne& operator[](int i) const { return lignes.at(i); }
    const Ligne& Premiere() const { return lignes.first(); }
    QVector<Ligne>::const_iterator begin() const { return lignes.cbegin(); }
    QVector<Ligne>::const_iterator end() const { return lignes.cend(); }

private:
    friend class Requete;
    QVector<Ligne> lignes;
};

class Connexion
{
public:
    Connexion();
    ~Connexion();
    Connexion(const Connexion&) = delete;
    Connexion& operator=(const Connexion&) = delete;

    // Opens the file with the password; a missing file is created (empty).
    // A wrong password or a file that is not a database raises ErreurBase with
    // a French message naming the file, and leaves the file untouched.
    void Ouvrir(const QString& fichier, const QByteArray& motDePasse);
    void Fermer();
    bool EstConnectee() const { return db != nullptr; }
    const QString& Fichier() const { return fichier; }

    // Runs one or several statements without parameters or results.
    void ExecuterScript(const QString& sql);

    bool TableExiste(const QString& table);
    QStringList Colonnes(const QString& table);
    // Adds a column (definition such as "Siret VARCHAR(14)") keeping the rows.
    void AjouterColonne(const QString& table, const QString& definition);
    // The last value given to the auto-increment key of a table ("" when none):
    // the key of this connection's last insert into it, else the table's counter.
    QString DernierIdentifiant(const QString& table);
    // Rows changed by the last INSERT, UPDATE or DELETE of this connection.
    int LignesModifiees() const;
    bool EnTransaction() const { return profondeurTransaction > 0; }

    // Prepared statements, cached by SQL text (internal to Requete).
    sqlite3_stmt* Preparer(const QString& sql);
    sqlite3* Handle() const { return db; }
    [[noreturn]] void Echec(const QString& contexte) const;

private:
    friend class Transaction;
    struct EntreeCache
    {
        sqlite3_stmt* stmt = nullptr;
        quint64 usage = 0; // for forgetting the least recently used one
    };
    sqlite3* db = nullptr;
    QString fichier;
    QHash<QString, EntreeCache> cache;
    quint64 compteurUsage = 0;
    int profondeurTransaction = 0;
    QHash<QString, qint64> derniersInseres; // upper-cased table -> last key inserted here
    void ViderCache();
    void OublierMoinsUtilisee();
    void VerifierOuverte() const;
};

// A query in the style of the system's shared query objects: set the whole
// text, bind named parameters, then open (SELECT) or execute (other
// statements). Parameters are matched by name without regard to case; a
// parameter of the text left unbound is an error.
class Requete
{
public:
    explicit Requete(Connexion& connexion);

    // Replaces the whole text; clears the parameters and the last result.
    void SetSql(const QString& sql);
    const QString& Sql() const { return sql; }

    void LierTexte(const QString& nom, const QString& valeur);
    void LierEntier(const QString& nom, qint64 valeur);
    void LierDecimal(const QString& nom, double valeur);
    void LierNul(const QString& nom);
    void ViderParametres();

    // Runs a SELECT and returns all its rows (also kept as Resultat()).
    const Resultat& Ouvrir();
    // Runs any other statement; returns the number of rows it changed.
    int Executer();
    // Forgets the last result.
    void Fermer();

    const Resultat& Lignes() const { return resultat; }

private:
    Connexion& connexion;
    QString sql;
    QHash<QString, QVariant> parametres; // upper-cased name, without the colon
    Resultat resultat;
    sqlite3_stmt* PreparerEtLier();
};

// A group of writes: BEGIN IMMEDIATE (a SAVEPOINT when nested) at
// construction; rolled back at destruction unless Valider() was called.
class Transaction
{
public:
    explicit Transaction(Connexion& connexion);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Valider();

private:
    Connexion& connexion;
    QString nomPoint; // empty for the outermost transaction
    bool termine = false;
};
