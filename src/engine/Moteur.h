#pragma once

// Inside the database layer: what each back end provides to Connexion,
// Requete and Transaction. Nothing outside src/engine includes this.

#include "engine/Base.h"

#include "model/Noms.h"

#include <QByteArrayList>

#include <functional>

// A value bound to one parameter of a statement.
struct ValeurParametre
{
    enum class Genre { Absente, Nulle, Entier, Decimal, Texte };
    Genre genre = Genre::Absente;
    qint64 entier = 0;
    double decimal = 0.0;
    QByteArray utf8; // the text, encoded when bound; its room is kept from run to run
    QString nomLie;  // the caller's name last found to be this parameter's
};

// The column names of a statement's result, shared by its rows.
struct Ligne::Colonnes
{
    QStringList noms;
    QByteArrayList nomsMoteur; // as the engine gives them, to see when they change
};

// How a back end fills the rows it reads.
struct EcritureLigne
{
    static QSharedPointer<const Ligne::Colonnes>& Colonnes(Ligne& ligne) { return ligne.colonnes; }
    static QVector<QVariant>& Valeurs(Ligne& ligne) { return ligne.valeurs; }
};

// A statement prepared once for its text, with the names of its parameters
// (without their prefix), in their order.
class Instruction
{
public:
    Instruction(const QString& sql, quint64 generation) : sql(sql), generation(generation) {}
    virtual ~Instruction() = default;
    Instruction(const Instruction&) = delete;
    Instruction& operator=(const Instruction&) = delete;

    // The parameter at position i (from 0) has this name (without its
    // colon), compared without regard to case.
    bool EstNomme(std::size_t i, QStringView nom) const { return MemeNom(parametres[i], nom); }

    // Runs the statement with these values (every one bound); the rows of a
    // SELECT overwrite those given, in place where they can.
    virtual void Ouvrir(const std::vector<ValeurParametre>& valeurs, QVector<Ligne>& lignes) = 0;
    // Returns the number of rows changed.
    virtual int Executer(const std::vector<ValeurParametre>& valeurs) = 0;

    const QString sql;
    const quint64 generation;
    std::vector<QString> parametres;
    quint64 usage = 0; // for forgetting the least recently used one
};

// One back end.
class Moteur
{
public:
    virtual ~Moteur() = default;

    // Once the counters are given, before the first statement.
    virtual void Demarrer() {}

    virtual QString Designation() const = 0;
    virtual sqlite3* Handle() const { return nullptr; }
    virtual bool EstServeur() const = 0;

    virtual std::unique_ptr<Instruction> Preparer(const QString& sql, quint64 generation) = 0;
    virtual void ExecuterScript(const QString& sql) = 0;

    // The outermost transaction. Valider() raises when the transaction could
    // not be committed (it is then rolled back); Annuler() never raises.
    virtual void Commencer() = 0;
    virtual void Valider() = 0;
    virtual void Annuler() noexcept = 0;
    // A statement run outside any transaction that writes is made a group of
    // its own (the server's groups take turns with the other workstations').
    virtual bool GrouperEcrituresIsolees() const { return false; }
    // Before a statement outside any transaction: a check the back end may make.
    virtual void AvantInstructionIsolee() {}

    virtual QStringList Tables() = 0;
    virtual QStringList Colonnes(const QString& table) = 0;
    virtual bool IndexExiste(const QString& index) = 0;
    virtual Table Structure(const QString& table) = 0;
    virtual QVector<IndexTable> Index(const QString& table) = 0;
    virtual QString DefinitionColonne(const Colonne& colonne) const = 0;
    // A name quoted as given (constraints), and a table's name as the back end stores it.
    virtual QString Identifiant(const QString& nom) const = 0;
    virtual QString NomTable(const QString& table) const = 0;

    virtual QString DernierIdentifiant(const QString& table) = 0;
    virtual QString CompteurTable(const QString& table) = 0;
    virtual void AjusterCompteur(const QString& table, qint64 auMoins) = 0;
    virtual QString DerniereCleInseree() = 0;
    virtual int LignesModifiees() const = 0;
    virtual int ParametresMax() const = 0;
    // Whether this connection may insert, update and delete rows of every one
    // of these tables; the user it connects as ("" on the file).
    virtual bool PeutModifier(const QStringList& tables) { return true; }
    virtual QString Utilisateur() const { return QString(); }

    // The connection's counters, which the back end keeps up.
    CompteursBase* compteurs = nullptr;
    // Called when a server's session was made again after it was lost.
    std::function<void()> apresReprise;
};

std::unique_ptr<Moteur> OuvrirFichier(const QString& fichier, const QByteArray& motDePasse, bool& cree);
std::unique_ptr<Moteur> OuvrirServeur(const QString& chaineConnexion);

// Shared helpers of the back ends.
QString TexteDecimal(double valeur);
void EncoderUtf8(QStringView texte, QByteArray& utf8);
// The value a text bound for a decimal column stands for, as the file reads it.
std::optional<double> DecimalDeTexte(QStringView texte);
// A description read back, in the form both back ends give.
QString NomCatalogue(const QString& nom);
