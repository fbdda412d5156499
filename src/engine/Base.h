#pragma once

// The database layer: one interface over two back ends, chosen when the
// connection opens.
//
// - The file: a password-protected SQLCipher file shared by several running
//   copies of the program (rollback journal, busy timeout, write groups in
//   BEGIN IMMEDIATE transactions).
// - A server: a PostgreSQL database reached through libpq. The statements
//   keep the file's spelling; the layer sends named parameters as server
//   parameters and answers the few spellings that differ (auto-increment
//   keys, the catalogue of tables and indexes, adding a column, the last key
//   inserted). Write groups of every workstation take turns, as on the file.
//
// Queries have named parameters (":Libelle"), rows are read by column name,
// column and parameter names are matched without regard to case. Keys travel
// as text: a text compared with an integer column finds the rows the file
// finds (a text that is no number finds none).

#include <QByteArray>
#include <QHash>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

struct sqlite3;
class Instruction;
class Moteur;
struct ValeurParametre;

// An error of the database layer; what() carries its message (UTF-8). A
// failure a user can act on (the database used by another copy, read-only,
// full, damaged, moved away, a server out of reach, a refused password...)
// reads as a French sentence naming the database and what to do, followed on
// a second line by the engine's own words; other failures (a statement the
// engine refuses) carry the engine's text.
class ErreurBase : public std::runtime_error
{
public:
    // What a caller may act on; Instruction for the statement's own failures.
    enum class Cause {
        Instruction,
        Occupee,         // another copy holds the database past the wait
        Conflit,         // written by another copy at the same moment
        LectureSeule,
        Pleine,
        Endommagee,
        Deplacee,        // the file was deleted or replaced while open
        Disque,          // reading or writing failed
        Acces,           // refused: password, user, rights
        Inaccessible,    // cannot be opened or reached
        Inconnue,        // the named server database does not exist
        ConnexionPerdue, // the server went away in the middle
        Memoire,
    };

    explicit ErreurBase(const std::string& message) : std::runtime_error(message) {}
    explicit ErreurBase(const char* message) : std::runtime_error(message) {}
    ErreurBase(const QString& message, Cause cause, const QString& texteMoteur, int code = 0);

    QString Message() const { return QString::fromUtf8(what()); }
    Cause Raison() const { return cause; }
    // The file engine's result code (SQLITE_BUSY...); 0 otherwise.
    int Code() const { return code; }
    // The engine's message as it gave it; empty for the layer's own errors.
    const QString& TexteMoteur() const { return texteMoteur; }

private:
    Cause cause = Cause::Instruction;
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

    struct Colonnes;

private:
    friend struct EcritureLigne;
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

// The description of a table, to create it on either back end and to read
// back what a database holds.
enum class GenreColonne { CleAuto, Entier, Decimal, Texte };

struct Colonne
{
    QString nom;
    GenreColonne genre = GenreColonne::Texte;
    int largeur = 0; // characters of a text; 0 for no width
    bool nonNul = false;

    bool operator==(const Colonne&) const = default;
};

// A primary key or a unique constraint (the file does not keep their names:
// read back, they have none).
struct ContrainteTable
{
    QString nom;
    QStringList colonnes;

    bool operator==(const ContrainteTable&) const = default;
};

struct Table
{
    QString nom;
    QVector<Colonne> colonnes;
    std::optional<ContrainteTable> clePrimaire = std::nullopt; // besides an auto-increment key
    QVector<ContrainteTable> uniques = {};
};

// An index made by CREATE INDEX.
struct IndexTable
{
    QString nom;
    QStringList colonnes;

    bool operator==(const IndexTable&) const = default;
};

// What a connection sent to its engine.
struct CompteursBase
{
    quint64 instructions = 0; // statements run
    quint64 preparations = 0; // statements prepared (on a server, a round trip each)
};

class Connexion
{
public:
    Connexion();
    ~Connexion();
    Connexion(const Connexion&) = delete;
    Connexion& operator=(const Connexion&) = delete;

    // Opens the file with the password. Only a missing file is created
    // (empty, and in one step, so another copy never sees it half made): an
    // existing one too short to be a database is refused as damaged. A wrong
    // or empty password, a file that is not a database or a damaged one
    // (every page is checked) raises ErreurBase with a French message naming
    // the file, and leaves the file untouched.
    void Ouvrir(const QString& fichier, const QByteArray& motDePasse);
    // Opens a server database given by a libpq connection string (key=value
    // pairs or a postgresql:// URI); the password comes from libpq's password
    // or service file.
    void OuvrirServeur(const QString& chaineConnexion);
    void Fermer();
    bool EstConnectee() const;
    bool EstServeur() const;
    // The file's path; "" on a server.
    const QString& Fichier() const { return fichier; }
    // How messages name the database: the file's path, or the database and
    // its server.
    QString Designation() const;
    // This opening created the file.
    bool FichierCree() const { return fichierCree; }

    // Runs one or several statements without parameters or results.
    void ExecuterScript(const QString& sql);

    // The catalogue.
    QStringList Tables();
    bool TableExiste(const QString& table);
    QStringList Colonnes(const QString& table); // as the database names them
    bool IndexExiste(const QString& index);
    Table Structure(const QString& table);
    QVector<IndexTable> Index(const QString& table);

    // The statement that creates the table on this back end.
    QString CreationTable(const Table& table) const;
    // Adds a column keeping the rows.
    void AjouterColonne(const QString& table, const Colonne& colonne);

    // The last value given to the auto-increment key of a table ("" when none):
    // the key of this connection's last insert into it, else the table's counter.
    QString DernierIdentifiant(const QString& table);
    // The counter of the table's auto-increment key ("" when it has given none).
    QString CompteurTable(const QString& table);
    // Raises the table's counter to at least that value and to its highest
    // key, after rows were inserted with their keys.
    void AjusterCompteur(const QString& table, qint64 auMoins);
    // The key given by this connection's last insert, whatever the table.
    QString DerniereCleInseree();
    // Rows changed by the last INSERT, UPDATE or DELETE of this connection.
    int LignesModifiees() const;
    // The most parameters one statement may have on this back end (999 on
    // the file, 7,000 on a server): what a write of many rows in one
    // statement sizes its slices by.
    int ParametresMax() const;
    // Whether the connection may insert, update and delete rows of every one
    // of these tables: always on the file; on a server, as the rights of its
    // user say (one statement).
    bool PeutModifier(const QStringList& tables);
    // The user a server connection works as; "" on the file.
    QString Utilisateur() const;
    bool EnTransaction() const { return profondeurTransaction > 0; }

    // Statements sent since the connection was made, its own included
    // (catalogue, transactions); preparations apart.
    quint64 Instructions() const { return compteurs.instructions; }
    quint64 Preparations() const { return compteurs.preparations; }

    // The file's handle, for measurements against the bare engine; null on a server.
    sqlite3* Handle() const;
    // Prepared statements, cached by SQL text (internal to Requete).
    std::shared_ptr<Instruction> Preparee(const QString& sql);
    // Changes at each opening and closing: a statement prepared before belongs to another handle.
    quint64 Generation() const { return generation; }

private:
    friend class Transaction;
    friend class Requete;
    std::unique_ptr<Moteur> moteur;
    QString fichier;
    bool fichierCree = false;
    quint64 generation = 0;
    CompteursBase compteurs;
    QHash<QString, std::shared_ptr<Instruction>> cache;
    // The cached texts by the address of their characters: a caller passing
    // the same text object (a literal) finds its statement without hashing it.
    QHash<const QChar*, std::shared_ptr<Instruction>> parAdresse;
    quint64 compteurUsage = 0;
    int profondeurTransaction = 0;

    void Installer(std::unique_ptr<Moteur> nouveau);
    void ViderCache();
    void OublierMoinsUtilisee();
    Moteur& MoteurOuvert() const;
};

// A query in the style of the system's shared query objects: set the whole
// text, bind named parameters, then open (SELECT) or execute (other
// statements). Parameters are matched by name without regard to case; a
// parameter of the text left unbound is an error. The text is prepared (or
// found in the connection's cache) at the first bind or run after SetSql;
// setting the same text again keeps it.
class Requete
{
public:
    explicit Requete(Connexion& connexion);
    ~Requete();

    // Replaces the whole text; clears the parameters and the last result.
    void SetSql(const QString& sql);
    const QString& Sql() const { return sql; }

    void LierTexte(const QString& nom, const QString& valeur);
    void LierEntier(const QString& nom, qint64 valeur);
    void LierDecimal(const QString& nom, double valeur);
    void LierNul(const QString& nom);
    // A list of values for a text "IN (:Nom)": one statement for many keys,
    // each bound as LierTexte binds one; a text naming the list at several
    // places has it whole at each. Bind the lists before the other
    // parameters. At most kTailleListeMax values.
    static constexpr int kTailleListeMax = 512;
    void LierListe(const QString& nom, const QStringList& valeurs);
    // Binds by position (from 0, the parameters in the order they stand in
    // the text, each name once): a null, an integer, a decimal or a text.
    int NombreParametres();
    void LierPosition(int position, const QVariant& valeur);
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
    QString sql;        // as the caller gave it
    QString sqlListes;  // the text with its lists developed, when it has lists
    std::shared_ptr<Instruction> instruction; // the prepared text, once known
    std::vector<ValeurParametre> valeurs;     // by parameter of the statement
    Resultat resultat;

    // A list bound by LierListe: its values and where its elements stand.
    struct ListeLiee
    {
        QString nom;
        QStringList valeurs;
        int taille = 0; // elements in the text, a power of two
        // Where each element stands among the parameters, with its rank in the
        // list: a text naming the list twice has each element twice on a server.
        struct Place
        {
            std::size_t parametre;
            int element;
        };
        std::vector<Place> positions;
    };
    std::vector<ListeLiee> listes;

    const QString& SqlEffectif() const { return sqlListes.isEmpty() ? sql : sqlListes; }
    Instruction& Preparee();
    template <class Affecter>
    void Lier(const QString& nom, Affecter affecter);
    void LierListes();
    void VerifierLiees() const;
    template <class Action>
    auto Lancer(Action action);
};

// A group of writes, all or nothing: on the file BEGIN IMMEDIATE, on a server
// a transaction that waits for the other workstations' groups (a SAVEPOINT
// when nested); rolled back at destruction unless Valider() was called.
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
    quint64 generation;
    bool termine = false;
};

// The integer a text key stands for when compared with an integer column, as
// the file reads it: blanks around, then a whole number or a decimal without
// fraction ("12", " 12 ", "12.0", "1.2e1"); nothing for any other text.
std::optional<qint64> CleEnEntier(QStringView texte);
// The text of a connection argument of QuarloCopieBase and of the settings
// file: key=value pairs or a postgresql:// URI name a server.
bool EstChaineConnexion(const QString& texte);
