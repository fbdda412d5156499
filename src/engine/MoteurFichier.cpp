// The file back end: a password-protected SQLCipher file.

#include "engine/Moteur.h"
#include "model/Systeme.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sqlite3.h>


namespace {

constexpr int kAttenteVerrouMs = 10000;
// The smallest page the engine writes: a shorter file holds no database.
constexpr qint64 kTailleMinimale = 512;
// How often a statement outside any group checks that the file is still the one opened.
constexpr qint64 kIntervalleControleMs = 1000;

QString TexteMoteur(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("base de données fermée");
}

struct Phrase
{
    ErreurBase::Cause cause;
    QString texte; // empty for a failure of the statement itself
};

// The one place where the engine's failures become what a user can act on:
// a French sentence naming the file, or nothing when the failure is the
// statement's own (a refused constraint, an unknown column), whose engine
// text is then the message.
Phrase PhraseErreur(int code, const QString& fichier)
{
    using Cause = ErreurBase::Cause;
    if (code == SQLITE_READONLY_DBMOVED)
        return {Cause::Deplacee,
                QStringLiteral("La base %1 a été supprimée, déplacée ou remplacée pendant que le programme "
                               "l'utilisait : rien n'y a été enregistré. Fermez le programme, remettez la base "
                               "en place (ou une copie de sauvegarde), puis relancez-le.")
                    .arg(fichier)};
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PROTOCOL:
        return {Cause::Occupee, QStringLiteral("La base %1 est utilisée par un autre poste ; réessayez.").arg(fichier)};
    case SQLITE_READONLY:
        return {Cause::LectureSeule,
                QStringLiteral("La base %1 ne peut pas être modifiée : le fichier ou son dossier est en lecture seule. "
                               "Vérifiez les droits d'écriture.")
                    .arg(fichier)};
    case SQLITE_FULL:
        return {Cause::Pleine, QStringLiteral("La base %1 ne peut pas être enregistrée : le disque est plein. "
                                              "Libérez de la place puis réessayez.")
                                   .arg(fichier)};
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return {Cause::Endommagee, QStringLiteral("La base %1 est endommagée et ne peut pas être utilisée. "
                                                  "Remplacez-la par une copie de sauvegarde.")
                                       .arg(fichier)};
    case SQLITE_IOERR:
        return {Cause::Disque,
                QStringLiteral("La base %1 n'a pas pu être lue ou écrite (erreur du disque ou du réseau).").arg(fichier)};
    case SQLITE_CANTOPEN:
        return {Cause::Inaccessible,
                QStringLiteral("Impossible d'ouvrir la base de données %1 : le fichier ou son dossier est inaccessible.")
                    .arg(fichier)};
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return {Cause::Acces, QStringLiteral("L'accès à la base %1 est refusé.").arg(fichier)};
    case SQLITE_NOMEM:
        return {Cause::Memoire, QStringLiteral("La mémoire manque pour travailler sur la base %1.").arg(fichier)};
    default:
        return {Cause::Instruction, QString()};
    }
}

ErreurBase ErreurMoteur(int code, const QString& texteMoteur, const QString& fichier)
{
    const Phrase phrase = PhraseErreur(code, QDir::toNativeSeparators(fichier));
    if (phrase.texte.isEmpty())
        return ErreurBase(texteMoteur, phrase.cause, texteMoteur, code & 0xFF);
    return ErreurBase(phrase.texte + QStringLiteral("\n(SQLite : %1)").arg(texteMoteur), phrase.cause, texteMoteur,
                      code & 0xFF);
}

// The engine's text for a failure: its message on the handle, or the generic
// text of the code when the handle has none ("not an error").
QString TexteEchec(sqlite3* handle, int code)
{
    if (handle && sqlite3_errcode(handle) != SQLITE_OK)
        return TexteMoteur(handle);
    return QString::fromUtf8(sqlite3_errstr(code));
}

QString IdentifiantSql(const QString& nom)
{
    QString echappe = nom;
    echappe.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + echappe + QLatin1Char('"');
}

// Only blanks, semicolons and comments may follow the one statement of a query.
bool ResteVide(const char* reste)
{
    while (reste && *reste) {
        const char c = *reste;
        if (c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++reste;
        } else if (c == '-' && reste[1] == '-') {
            while (*reste && *reste != '\n')
                ++reste;
        } else if (c == '/' && reste[1] == '*') {
            const char* fin = std::strstr(reste + 2, "*/");
            if (!fin)
                return true;
            reste = fin + 2;
        } else {
            return false;
        }
    }
    return true;
}

// Reads column i of the current row into the cell, in place when the cell
// already holds a number of the same kind (a query run again and again).
void LireColonne(sqlite3_stmt* stmt, int i, QVariant& cellule)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        cellule.setValue(qint64(sqlite3_column_int64(stmt, i)));
        break;
    case SQLITE_FLOAT:
        cellule.setValue(sqlite3_column_double(stmt, i));
        break;
    case SQLITE_TEXT: {
        const auto* texte = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        cellule = QString::fromUtf8(texte, sqlite3_column_bytes(stmt, i));
        break;
    }
    case SQLITE_BLOB: {
        const auto* octets = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        cellule = QByteArray(octets, sqlite3_column_bytes(stmt, i));
        break;
    }
    default:
        cellule = QVariant();
    }
}

// Leaves a cached statement ready for its next use, whatever happened. Its
// bindings stay: every run binds all the parameters again before stepping.
class RemiseAZero
{
public:
    explicit RemiseAZero(sqlite3_stmt* stmt) : stmt(stmt) {}
    ~RemiseAZero() { sqlite3_reset(stmt); }
    RemiseAZero(const RemiseAZero&) = delete;
    RemiseAZero& operator=(const RemiseAZero&) = delete;

private:
    sqlite3_stmt* stmt;
};

// Reads every page of the file and checks its structure, without writing:
// the engine's quick check. Returns its first complaint, or nothing when
// the file is sound. A page whose content does not decrypt stops the check
// itself: that too is damage.
std::optional<QString> Dommage(sqlite3* handle, const QString& nomFichier)
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(handle, "PRAGMA quick_check", -1, &stmt, nullptr);
    QString premier;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            premier = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    const QString texte = TexteEchec(handle, rc);
    sqlite3_finalize(stmt);
    if (rc == SQLITE_ROW && premier == u"ok")
        return std::nullopt;
    if (rc == SQLITE_ROW) {
        // The check lists every page it could not read: the first one says enough.
        for (const QString& ligne : premier.split(u'\n', Qt::SkipEmptyParts))
            if (!ligne.startsWith(u"***"))
                return ligne.left(200);
        return premier.left(200);
    }
    const int primaire = rc & 0xFF;
    // Another copy writing, or no memory: nothing says the file is damaged.
    if (primaire == SQLITE_BUSY || primaire == SQLITE_LOCKED || primaire == SQLITE_NOMEM || primaire == SQLITE_IOERR)
        throw ErreurMoteur(rc, texte, nomFichier);
    return texte;
}

// Opens the file and gives the key; the handle is closed again on failure.
sqlite3* OuvrirAvecCle(const QString& nomFichier, const QByteArray& motDePasse)
{
    // A connection serves one thread (like the layer's own caches), so the
    // engine need not lock it at each call. The file must exist: only
    // CreerFichier makes one.
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(nomFichier.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_key(handle, motDePasse.constData(), int(motDePasse.size()));
    // The file's format is that of SQLCipher 3 (pages of 1 KB, keys derived
    // in 64,000 rounds of SHA-1, pages signed with SHA-1), which companies'
    // files have: a library of version 4 reads and writes it only when told
    // so, before the first page is read. Version 3 knows no such setting and
    // passes over it: that format is its own.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(handle, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const QString texte = TexteEchec(handle, rc);
        sqlite3_close_v2(handle);
        throw ErreurMoteur(rc, texte, nomFichier);
    }
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, kAttenteVerrouMs);
    return handle;
}

// Makes an empty database under a name of its own beside the file: the
// permissions a new file takes there, and a first page with its encryption salt.
QString PreparerFichierNeuf(const QString& nomFichier, const QByteArray& motDePasse)
{
    const QFileInfo info(nomFichier);
    QString temporaire;
    for (int essai = 0;; ++essai) {
        temporaire = info.absolutePath() + QStringLiteral("/.%1.creation-%2")
                                               .arg(info.fileName())
                                               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        QFile neuf(temporaire);
        if (neuf.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!QFileInfo::exists(temporaire) || essai > 10)
            throw ErreurMoteur(SQLITE_CANTOPEN, neuf.errorString(), nomFichier);
    }
    sqlite3* handle = nullptr;
    try {
        handle = OuvrirAvecCle(temporaire, motDePasse);
        for (const char* sql : {"PRAGMA journal_mode=DELETE", "BEGIN IMMEDIATE", "CREATE TABLE Creation (x)",
                                "DROP TABLE Creation", "COMMIT"}) {
            const int rc = sqlite3_exec(handle, sql, nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                throw ErreurMoteur(rc, TexteMoteur(handle), nomFichier);
        }
        sqlite3_close_v2(handle);
    } catch (...) {
        sqlite3_close_v2(handle);
        QFile::remove(temporaire);
        throw;
    }
    return temporaire;
}

// Creates the missing file whole: another copy opening it at the same moment
// finds no file or a database, never an empty file. Returns false when
// another copy made it first.
bool CreerFichier(const QString& nomFichier, const QByteArray& motDePasse)
{
    const QString temporaire = PreparerFichierNeuf(nomFichier, motDePasse);
    Systeme::Issue issue;
    const bool cree = Systeme::NommerSiLibre(temporaire, nomFichier, issue);
    QFile::remove(temporaire);
    if (issue)
        throw ErreurMoteur(SQLITE_CANTOPEN, issue->raison, nomFichier);
    return cree;
}

class MoteurFichier;

// A statement of the file: prepared once, with the names of its columns read
// from the engine only when it may have compiled it again.
class InstructionFichier : public Instruction
{
public:
    InstructionFichier(MoteurFichier& moteur, sqlite3_stmt* stmt, const QString& sql, quint64 generation);
    ~InstructionFichier() override { sqlite3_finalize(stmt); }

    void Ouvrir(const std::vector<ValeurParametre>& valeurs, QVector<Ligne>& lignes) override;
    int Executer(const std::vector<ValeurParametre>& valeurs) override;

private:
    MoteurFichier& moteur;
    sqlite3_stmt* const stmt;
    QSharedPointer<const Ligne::Colonnes> colonnes;
    quint64 compilationsVues = 0;

    void Lier(const std::vector<ValeurParametre>& valeurs);
    const QSharedPointer<const Ligne::Colonnes>& Colonnes();
};

class MoteurFichier : public Moteur
{
public:
    MoteurFichier(sqlite3* db, const QString& fichier) : db(db), fichier(fichier)
    {
        sqlite3_update_hook(db, &MoteurFichier::NoterInsertion, this);
        sqlite3_set_authorizer(db, &MoteurFichier::NoterCompilation, this);
        depuisControle.start();
    }

    ~MoteurFichier() override
    {
        sqlite3_update_hook(db, nullptr, nullptr);
        sqlite3_set_authorizer(db, nullptr, nullptr);
        // A statement still held by a query is finalised when the query lets
        // it go; the engine closes the handle then.
        sqlite3_close_v2(db);
    }

    QString Designation() const override { return QDir::toNativeSeparators(fichier); }
    sqlite3* Handle() const override { return db; }
    bool EstServeur() const override { return false; }

    [[noreturn]] void Echec(int code) const { throw ErreurMoteur(code, TexteEchec(db, code), fichier); }

    // Grows each time the engine compiles a statement, its own preparations
    // again after a change of the schema included.
    quint64 Compilations() const { return compilations; }

    std::unique_ptr<Instruction> Preparer(const QString& sql, quint64 generation) override
    {
        const QByteArray texte = sql.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        const char* reste = nullptr;
        ++compteurs->preparations;
        const int rc = sqlite3_prepare_v2(db, texte.constData(), int(texte.size()), &stmt, &reste);
        if (rc != SQLITE_OK)
            Echec(rc);
        if (!stmt)
            throw ErreurBase("La requête ne contient aucune instruction.");
        if (!ResteVide(reste)) {
            sqlite3_finalize(stmt);
            throw ErreurBase("Une requête ne peut contenir qu'une seule instruction.");
        }
        return std::make_unique<InstructionFichier>(*this, stmt, sql, generation);
    }

    void ExecuterScript(const QString& sql) override
    {
        char* erreur = nullptr;
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erreur);
        if (rc != SQLITE_OK) {
            const QString texte = erreur ? QString::fromUtf8(erreur) : TexteEchec(db, rc);
            sqlite3_free(erreur);
            throw ErreurMoteur(rc, texte, fichier);
        }
    }

    void Commencer() override
    {
        Executer("BEGIN IMMEDIATE");
        try {
            VerifierEmplacement();
        } catch (...) {
            Annuler();
            throw;
        }
    }

    void Valider() override { Executer("COMMIT"); }

    void Annuler() noexcept override
    {
        // The engine may already have rolled back on its own after a failure.
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    void AvantInstructionIsolee() override
    {
        if (depuisControle.elapsed() >= kIntervalleControleMs)
            VerifierEmplacement();
    }

    QStringList Tables() override
    {
        QStringList tables;
        for (const QVariantList& ligne : Lire("SELECT name FROM sqlite_master WHERE type = 'table' "
                                              "AND name NOT LIKE 'sqlite_%' ORDER BY name"))
            tables << ligne.at(0).toString();
        return tables;
    }

    QStringList Colonnes(const QString& table) override
    {
        QStringList noms;
        for (const QVariantList& ligne : InfosColonnes(table))
            noms << ligne.at(1).toString();
        return noms;
    }

    bool IndexExiste(const QString& index) override
    {
        return !Lire("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?1 COLLATE NOCASE", {index}).isEmpty();
    }

    Table Structure(const QString& table) override
    {
        Table structure;
        structure.nom = NomCatalogue(table);
        QStringList cle;
        for (const QVariantList& info : InfosColonnes(table)) {
            // cid, name, type, notnull, dflt_value, pk
            Colonne colonne;
            colonne.nom = NomCatalogue(info.at(1).toString());
            const QString type = info.at(2).toString().toUpper();
            colonne.nonNul = info.at(3).toInt() != 0;
            if (type.startsWith(u"VARCHAR") || type.startsWith(u"TEXT")) {
                colonne.genre = GenreColonne::Texte;
                const qsizetype ouvrante = type.indexOf(u'(');
                if (ouvrante > 0)
                    colonne.largeur = type.mid(ouvrante + 1, type.indexOf(u')') - ouvrante - 1).toInt();
            } else if (type.startsWith(u"DOUBLE") || type.startsWith(u"REAL") || type.startsWith(u"FLOAT")) {
                colonne.genre = GenreColonne::Decimal;
            } else {
                colonne.genre = GenreColonne::Entier;
            }
            if (info.at(5).toInt() > 0)
                cle << colonne.nom;
            structure.colonnes << colonne;
        }
        // An INTEGER key alone is the row's own number: the auto-increment key.
        if (cle.size() == 1) {
            for (Colonne& colonne : structure.colonnes) {
                if (colonne.nom == cle.first() && colonne.genre == GenreColonne::Entier) {
                    colonne.genre = GenreColonne::CleAuto;
                    cle.clear();
                }
            }
        }
        if (!cle.isEmpty())
            structure.clePrimaire = ContrainteTable{QString(), cle};
        for (const QVariantList& index : Lire(QStringLiteral("PRAGMA index_list(%1)").arg(IdentifiantSql(table)).toUtf8())) {
            // seq, name, unique, origin, partial
            if (index.at(3).toString() == u"u")
                structure.uniques << ContrainteTable{QString(), ColonnesIndex(index.at(1).toString())};
        }
        return structure;
    }

    QVector<IndexTable> Index(const QString& table) override
    {
        QVector<IndexTable> index;
        for (const QVariantList& ligne : Lire(QStringLiteral("PRAGMA index_list(%1)").arg(IdentifiantSql(table)).toUtf8()))
            if (ligne.at(3).toString() == u"c")
                index << IndexTable{NomCatalogue(ligne.at(1).toString()), ColonnesIndex(ligne.at(1).toString())};
        std::sort(index.begin(), index.end(), [](const IndexTable& a, const IndexTable& b) { return a.nom < b.nom; });
        return index;
    }

    QString DefinitionColonne(const Colonne& colonne) const override
    {
        QString type;
        switch (colonne.genre) {
        case GenreColonne::CleAuto: type = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"); break;
        case GenreColonne::Entier: type = QStringLiteral("INTEGER"); break;
        case GenreColonne::Decimal: type = QStringLiteral("DOUBLE"); break;
        case GenreColonne::Texte:
            type = colonne.largeur > 0 ? QStringLiteral("VARCHAR(%1)").arg(colonne.largeur) : QStringLiteral("TEXT");
            break;
        }
        return colonne.nom + u' ' + type + (colonne.nonNul ? QStringLiteral(" NOT NULL") : QString());
    }

    QString Identifiant(const QString& nom) const override { return IdentifiantSql(nom); }
    QString NomTable(const QString& table) const override { return IdentifiantSql(table); }

    QString DernierIdentifiant(const QString& table) override
    {
        // The key this connection gave last: another copy may have inserted since,
        // and its key must not be taken for ours.
        for (const Insertion& insertion : derniersInseres)
            if (MemeNom(QString::fromUtf8(insertion.table), table))
                return QString::number(insertion.cle);
        return CompteurTable(table);
    }

    QString CompteurTable(const QString& table) override
    {
        if (Lire("SELECT 1 FROM sqlite_master WHERE name = 'sqlite_sequence'").isEmpty())
            return QString(QLatin1String(""));
        const auto lignes = Lire("SELECT seq FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE", {table});
        return lignes.isEmpty() ? QString(QLatin1String("")) : QString::number(lignes.first().at(0).toLongLong());
    }

    void AjusterCompteur(const QString& table, qint64 auMoins) override
    {
        // Inserting a key already raised the counter to it; an older counter may stand higher.
        const QString actuel = CompteurTable(table);
        if (!actuel.isEmpty() && actuel.toLongLong() >= auMoins)
            return;
        if (actuel.isEmpty())
            Lire("INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)", {table, auMoins});
        else
            Lire("UPDATE sqlite_sequence SET seq = ?2 WHERE name = ?1 COLLATE NOCASE", {table, auMoins});
    }

    QString DerniereCleInseree() override { return QString::number(sqlite3_last_insert_rowid(db)); }

    int LignesModifiees() const override { return sqlite3_changes(db); }

    int ParametresMax() const override { return sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, -1); }

private:
    friend class InstructionFichier;
    struct Insertion
    {
        QByteArray table; // as the engine names it
        qint64 cle = 0;
    };
    sqlite3* const db;
    const QString fichier;
    quint64 compilations = 0;
    std::vector<Insertion> derniersInseres; // the last key this connection inserted, per table
    QElapsedTimer depuisControle;

    void Executer(const char* sql)
    {
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            Echec(rc);
    }

    // A file deleted, moved or replaced under the program: the handle still
    // reads the old one, and what it would write would be lost.
    void VerifierEmplacement()
    {
        depuisControle.restart();
        int deplace = 0;
        if (sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &deplace) == SQLITE_OK && deplace)
            throw ErreurMoteur(SQLITE_READONLY_DBMOVED, QStringLiteral("database file has moved"), fichier);
    }

    // The rows of one statement of the layer's own, parameters given by position.
    QVector<QVariantList> Lire(const QByteArray& sql, const QVariantList& parametres = {})
    {
        ++compteurs->instructions;
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
        if (rc != SQLITE_OK)
            Echec(rc);
        QVector<QVariantList> lignes;
        for (int i = 0; i < parametres.size(); ++i) {
            if (parametres[i].typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(stmt, i + 1, parametres[i].toLongLong());
            else
                sqlite3_bind_text(stmt, i + 1, parametres[i].toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        }
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QVariantList ligne;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                QVariant cellule;
                LireColonne(stmt, i, cellule);
                ligne << cellule;
            }
            lignes << ligne;
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            Echec(rc);
        return lignes;
    }
    QVector<QVariantList> Lire(const char* sql, const QVariantList& parametres = {})
    {
        return Lire(QByteArray(sql), parametres);
    }

    QVector<QVariantList> InfosColonnes(const QString& table)
    {
        return Lire(QStringLiteral("PRAGMA table_info(%1)").arg(IdentifiantSql(table)).toUtf8());
    }

    QStringList ColonnesIndex(const QString& index)
    {
        QStringList colonnes;
        for (const QVariantList& ligne : Lire(QStringLiteral("PRAGMA index_info(%1)").arg(IdentifiantSql(index)).toUtf8()))
            colonnes << NomCatalogue(ligne.at(2).toString());
        return colonnes;
    }

    // Remembers, per table, the last row this connection inserted.
    static void NoterInsertion(void* moteur, int operation, const char*, const char* table, long long ligne)
    {
        if (operation != SQLITE_INSERT)
            return;
        auto& derniers = static_cast<MoteurFichier*>(moteur)->derniersInseres;
        for (Insertion& insertion : derniers) {
            if (std::strcmp(insertion.table.constData(), table) == 0) {
                insertion.cle = ligne;
                return;
            }
        }
        derniers.push_back({QByteArray(table), ligne});
    }

    // The engine asks for every action of every statement it compiles: its own
    // preparations again after a change of the schema included.
    static int NoterCompilation(void* moteur, int, const char*, const char*, const char*, const char*)
    {
        ++static_cast<MoteurFichier*>(moteur)->compilations;
        return SQLITE_OK;
    }
};

InstructionFichier::InstructionFichier(MoteurFichier& moteur, sqlite3_stmt* stmt, const QString& sql, quint64 generation)
    : Instruction(sql, generation), moteur(moteur), stmt(stmt)
{
    const int nombre = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= nombre; ++i) {
        const char* nom = sqlite3_bind_parameter_name(stmt, i);
        // The engine gives the name with its prefix (":Nom"); "?" has none.
        parametres.push_back(nom ? QString::fromUtf8(nom + 1) : QString());
    }
}

// The column names after the statement's first step: a statement prepared
// before a change of its table is prepared again by that step. They are
// compared with the engine's only when the connection has compiled
// something since they were last seen (such a new preparation among others):
// a query run again and again reads no name.
const QSharedPointer<const Ligne::Colonnes>& InstructionFichier::Colonnes()
{
    const quint64 compilations = moteur.Compilations();
    if (colonnes && compilations == compilationsVues)
        return colonnes;
    compilationsVues = compilations;
    const auto memes = [this] {
        if (sqlite3_column_count(stmt) != colonnes->nomsMoteur.size())
            return false;
        for (int i = 0; i < colonnes->nomsMoteur.size(); ++i)
            if (std::strcmp(sqlite3_column_name(stmt, i), colonnes->nomsMoteur[i].constData()) != 0)
                return false;
        return true;
    };
    if (!colonnes || !memes()) {
        auto lues = QSharedPointer<Ligne::Colonnes>::create();
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const char* nom = sqlite3_column_name(stmt, i);
            lues->nomsMoteur << QByteArray(nom);
            lues->noms << QString::fromUtf8(nom);
        }
        colonnes = lues;
    }
    return colonnes;
}

void InstructionFichier::Lier(const std::vector<ValeurParametre>& valeurs)
{
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        const int position = int(i) + 1;
        const ValeurParametre& valeur = valeurs[i];
        int rc = SQLITE_OK;
        switch (valeur.genre) {
        case ValeurParametre::Genre::Absente:
        case ValeurParametre::Genre::Nulle:
            rc = sqlite3_bind_null(stmt, position);
            break;
        case ValeurParametre::Genre::Entier:
            rc = sqlite3_bind_int64(stmt, position, valeur.entier);
            break;
        case ValeurParametre::Genre::Decimal:
            rc = sqlite3_bind_double(stmt, position, valeur.decimal);
            break;
        case ValeurParametre::Genre::Texte:
            // The text lives in the query until the statement runs again. A
            // null QString is bound as "", never as null.
            rc = sqlite3_bind_text(stmt, position, valeur.utf8.constData(), int(valeur.utf8.size()), SQLITE_STATIC);
            break;
        }
        if (rc != SQLITE_OK)
            moteur.Echec(rc);
    }
}

void InstructionFichier::Ouvrir(const std::vector<ValeurParametre>& valeurs, QVector<Ligne>& lignes)
{
    Lier(valeurs);
    RemiseAZero remise(stmt);
    qsizetype nombreLignes = 0;
    const QSharedPointer<const Ligne::Colonnes>* noms = nullptr;
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            moteur.Echec(rc);
        if (!noms)
            noms = &Colonnes();
        if (rc == SQLITE_DONE)
            break;
        Ligne& ligne = nombreLignes < lignes.size() ? lignes[nombreLignes] : lignes.emplace_back();
        ++nombreLignes;
        auto& colonnesLigne = EcritureLigne::Colonnes(ligne);
        if (colonnesLigne != *noms)
            colonnesLigne = *noms;
        QVector<QVariant>& cellules = EcritureLigne::Valeurs(ligne);
        const int nombre = int((*noms)->noms.size());
        cellules.resize(nombre);
        QVariant* cellule = cellules.data();
        for (int i = 0; i < nombre; ++i)
            LireColonne(stmt, i, cellule[i]);
    }
    lignes.resize(nombreLignes);
}

int InstructionFichier::Executer(const std::vector<ValeurParametre>& valeurs)
{
    Lier(valeurs);
    RemiseAZero remise(stmt);
    sqlite3* db = moteur.Handle();
    const int avant = sqlite3_total_changes(db);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        moteur.Echec(rc);
    // A difference of totals: a schema statement changes no row, whatever the
    // statement before it did.
    return sqlite3_total_changes(db) - avant;
}

} // namespace

std::unique_ptr<Moteur> OuvrirFichier(const QString& nomFichier, const QByteArray& motDePasse, bool& cree)
{
    // The engine would take an empty name for a temporary database.
    if (nomFichier.isEmpty())
        throw ErreurBase("Aucun fichier de base de données n'est indiqué.");
    const QString debutMessage =
        QStringLiteral("Impossible d'ouvrir la base de données %1 : ").arg(QDir::toNativeSeparators(nomFichier));
    // An empty key would open, or create, a file without encryption.
    if (motDePasse.isEmpty())
        throw ErreurBase(debutMessage + QStringLiteral("le mot de passe est vide."), ErreurBase::Cause::Acces, QString());

    // Only a missing file is new. One that exists but is empty or too short
    // (a copy that failed, a full share) once held the data: it is refused.
    const QFileInfo info(nomFichier);
    cree = false;
    if (!info.exists())
        cree = CreerFichier(nomFichier, motDePasse);
    else if (info.isFile() && QFileInfo(nomFichier).size() < kTailleMinimale)
        throw ErreurMoteur(SQLITE_NOTADB,
                           QStringLiteral("fichier de %1 octets, trop court pour être une base de données").arg(info.size()),
                           nomFichier);

    sqlite3* handle = OuvrirAvecCle(nomFichier, motDePasse);
    try {
        // The key is checked when the first page is read; reading writes nothing.
        const int rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if ((rc & 0xFF) == SQLITE_NOTADB)
            throw ErreurBase(debutMessage + QStringLiteral("mot de passe incorrect ou fichier qui n'est pas une base de données."),
                             ErreurBase::Cause::Acces, TexteMoteur(handle), SQLITE_NOTADB);
        if (rc != SQLITE_OK)
            throw ErreurMoteur(rc, TexteMoteur(handle), nomFichier);
        // The first page says nothing of the others: a damaged file is
        // refused before anything is written to it.
        if (const auto dommage = Dommage(handle, nomFichier))
            throw ErreurMoteur(SQLITE_CORRUPT, *dommage, nomFichier);
        // Rollback journal: several copies on several machines share the file.
        const int journal = sqlite3_exec(handle, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        if (journal != SQLITE_OK)
            throw ErreurMoteur(journal, TexteMoteur(handle), nomFichier);
    } catch (...) {
        sqlite3_close_v2(handle);
        throw;
    }
    return std::make_unique<MoteurFichier>(handle, nomFichier);
}
