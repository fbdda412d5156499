#pragma once

// The database layer over SQLCipher: one connection to a password-protected
// file shared by several running copies of the program (rollback journal,
// busy timeout, write groups in BEGIN IMMEDIATE transactions), queries with
// named parameters, rows read by column name, and the schema helpers the
// upgrade needs. Column and parameter names are matched without regard to case.

#include <QByteArray>
#include <QHash>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct InstructionPreparee;

// An error of the database layer; what() carries its message (UTF-8). A
// failure a user can act on (file used by another copy, read-only, disk
// full, damaged file, wrong password) reads as a French sentence naming the
// file and what to do, followed on a second line by the engine's own words;
// other failures (a statement the engine refuses) carry the engine's text.
class ErreurBase : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    ErreurBase(const QString& message, int code, const QString& texteMoteur);

    QString Message() const { return QString::fromUtf8(what()); }
    // The engine's primary result code (SQLITE_BUSY...); 0 for the layer's own errors.
    int Code() const { return code; }
    // The engine's message as it gave it; empty for the layer's own errors.
    const QString& TexteMoteur() const { return texteMoteur; }

private:
    int code = 0;
    QString texteMoteur;
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
    friend struct InstructionPreparee;
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
    // A wrong or empty password, a file that is not a database or a damaged
    // one (every page is checked) raises ErreurBase with a French message
    // naming the file, and leaves the file untouched: nothing is written to
    // it, nothing is repaired.
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
    std::shared_ptr<InstructionPreparee> Preparee(const QString& sql);
    sqlite3* Handle() const { return db; }
    // Changes at each opening and closing: a statement prepared before belongs to another handle.
    quint64 Generation() const { return generation; }
    // Grows each time the engine compiles a statement, its own preparations
    // again after a change of the schema included.
    quint64 Compilations() const { return compilations; }
    // Raises the error the engine reported with this result code, in the
    // words of ErreurBase.
    [[noreturn]] void Echec(int code) const;

private:
    friend class Transaction;
    struct Insertion
    {
        QByteArray table; // as the engine names it
        qint64 cle = 0;
    };
    sqlite3* db = nullptr;
    QString fichier;
    quint64 generation = 0;
    quint64 compilations = 0;
    QHash<QString, std::shared_ptr<InstructionPreparee>> cache;
    // The cached texts by the address of their characters: a caller passing
    // the same text object (a literal) finds its statement without hashing it.
    QHash<const QChar*, std::shared_ptr<InstructionPreparee>> parAdresse;
    quint64 compteurUsage = 0;
    int profondeurTransaction = 0;
    std::vector<Insertion> derniersInseres; // the last key this connection inserted, per table
    static void NoterInsertion(void* connexion, int operation, const char* base, const char* table, long long ligne);
    static int NoterCompilation(void* connexion, int action, const char*, const char*, const char*, const char*);
    void ViderCache();
    void OublierMoinsUtilisee();
    void VerifierOuverte() const;
};

// A query in the style of the system's shared query objects: set the whole
// text, bind named parameters, then open (SELECT) or execute (other
// statements). Parameters are matched by name without regard to case; a
// parameter of the text left unbound is an error. The text is prepared (or
// found in the connection's cache) at the first bind or run after SetSql,
// where an error in it is raised; setting the same text again keeps it.
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
    struct Valeur
    {
        enum class Genre { Absente, Nulle, Entier, Decimal, Texte };
        Genre genre = Genre::Absente;
        qint64 entier = 0;
        double decimal = 0.0;
        QByteArray utf8; // the text, encoded when bound; its room is kept from run to run
        QString nomLie;  // the caller's name last found to be this parameter's
    };

    Connexion& connexion;
    QString sql;
    std::shared_ptr<InstructionPreparee> instruction; // the prepared text, once known
    std::vector<Valeur> valeurs;                      // by parameter of the statement
    Resultat resultat;

    InstructionPreparee& Preparee();
    Valeur* Parametre(const QString& nom);
    template <class Affecter>
    void Lier(const QString& nom, Affecter affecter);
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
