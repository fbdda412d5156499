#include "Base.h"

#include "model/Noms.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringEncoder>
#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <optional>

namespace {

// At most this many statements stay prepared: the windows paste keys into
// some texts, so an unbounded cache would grow for as long as the program runs.
constexpr int kTailleCache = 256;
constexpr int kAttenteVerrouMs = 10000;

QString TexteMoteur(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("base de données fermée");
}

// The one place where the engine's failures become what a user can act on:
// a French sentence naming the file, or nothing when the failure is the
// statement's own (a refused constraint, an unknown column), whose engine
// text is then the message.
QString PhraseErreur(int code, const QString& fichier)
{
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PROTOCOL:
        return QStringLiteral("La base %1 est utilisée par un autre poste ; réessayez.").arg(fichier);
    case SQLITE_READONLY:
        return QStringLiteral("La base %1 ne peut pas être modifiée : le fichier ou son dossier est en lecture seule. "
                              "Vérifiez les droits d'écriture.")
            .arg(fichier);
    case SQLITE_FULL:
        return QStringLiteral("La base %1 ne peut pas être enregistrée : le disque est plein. "
                              "Libérez de la place puis réessayez.")
            .arg(fichier);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("La base %1 est endommagée et ne peut pas être utilisée. "
                              "Remplacez-la par une copie de sauvegarde.")
            .arg(fichier);
    case SQLITE_IOERR:
        return QStringLiteral("La base %1 n'a pas pu être lue ou écrite (erreur du disque ou du réseau).").arg(fichier);
    case SQLITE_CANTOPEN:
        return QStringLiteral("Impossible d'ouvrir la base de données %1 : le fichier ou son dossier est inaccessible.")
            .arg(fichier);
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("L'accès à la base %1 est refusé.").arg(fichier);
    case SQLITE_NOMEM:
        return QStringLiteral("La mémoire manque pour travailler sur la base %1.").arg(fichier);
    default:
        return QString();
    }
}

ErreurBase ErreurMoteur(int code, const QString& texteMoteur, const QString& fichier)
{
    const QString phrase = PhraseErreur(code, fichier);
    if (phrase.isEmpty())
        return ErreurBase(texteMoteur, code, texteMoteur);
    return ErreurBase(phrase + QStringLiteral("\n(SQLite : %1)").arg(texteMoteur), code, texteMoteur);
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

// Writes the text as UTF-8 into the buffer, reusing the buffer's room; a
// text of ASCII characters, the usual key, is copied without the encoder.
void EncoderUtf8(QStringView texte, QByteArray& utf8)
{
    const qsizetype longueur = texte.size();
    const char16_t* source = texte.utf16();
    qsizetype i = 0;
    while (i < longueur && source[i] < 0x80)
        ++i;
    if (i == longueur) {
        if (utf8.size() != longueur)
            utf8.resize(longueur);
        char* cible = utf8.data();
        for (qsizetype j = 0; j < longueur; ++j)
            cible[j] = char(source[j]);
        return;
    }
    QStringEncoder encodeur(QStringEncoder::Utf8);
    utf8.resize(encodeur.requiredSpace(longueur));
    const char* fin = encodeur.appendToBuffer(utf8.data(), texte);
    utf8.resize(fin - utf8.constData());
}

// The text of a decimal as the engine would give it back: the shortest digits
// that read back to the same value, without an exponent for ordinary amounts.
QString TexteDecimal(double valeur)
{
    const double absolu = std::fabs(valeur);
    if (valeur == 0.0 || (absolu >= 1e-5 && absolu < 1e16))
        return QString::number(valeur, 'f', QLocale::FloatingPointShortest);
    return QString::number(valeur, 'g', QLocale::FloatingPointShortest);
}

qint64 EntierDeTexte(const QString& texte)
{
    const QString nettoye = texte.trimmed();
    bool ok = false;
    const qint64 entier = nettoye.toLongLong(&ok);
    if (ok)
        return entier;
    const double decimal = nettoye.toDouble(&ok);
    if (ok && std::isfinite(decimal) && std::fabs(decimal) < 9.2e18)
        return static_cast<qint64>(decimal);
    return 0;
}

double DecimalDeTexte(const QString& texte)
{
    bool ok = false;
    const double decimal = texte.trimmed().toDouble(&ok);
    return ok ? decimal : 0.0;
}

} // namespace

// ---------------------------------------------------------------------------
// Ligne

// The column names of a prepared statement, read once from the engine.
struct Ligne::Colonnes
{
    QStringList noms;
    QByteArrayList nomsMoteur; // as the engine gives them, to see when they change

    // The statement's names are still these.
    bool Memes(sqlite3_stmt* stmt) const
    {
        if (sqlite3_column_count(stmt) != nomsMoteur.size())
            return false;
        for (int i = 0; i < nomsMoteur.size(); ++i)
            if (std::strcmp(sqlite3_column_name(stmt, i), nomsMoteur[i].constData()) != 0)
                return false;
        return true;
    }
};

int Ligne::Indice(const QString& colonne) const
{
    if (colonnes) {
        // The first column of that name.
        for (int i = 0; i < colonnes->noms.size(); ++i)
            if (MemeNom(colonnes->noms[i], colonne))
                return i;
    }
    throw ErreurBase(QStringLiteral("Colonne inconnue dans le résultat : %1").arg(colonne).toStdString());
}

QString Ligne::Texte(const QString& colonne) const
{
    const QVariant& valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::Double:
        return TexteDecimal(valeur.value<double>());
    case QMetaType::LongLong:
        return QString::number(valeur.value<qint64>());
    case QMetaType::QByteArray:
        return QString::fromUtf8(valeur.value<QByteArray>());
    case QMetaType::QString:
        return valeur.value<QString>();
    default:
        return QString(QLatin1String(""));
    }
}

qint64 Ligne::Entier(const QString& colonne) const
{
    const QVariant& valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::LongLong:
        return valeur.value<qint64>();
    case QMetaType::Double: {
        const double decimal = valeur.value<double>();
        return std::isfinite(decimal) && std::fabs(decimal) < 9.2e18 ? static_cast<qint64>(decimal) : 0;
    }
    case QMetaType::QString:
        return EntierDeTexte(valeur.value<QString>());
    case QMetaType::QByteArray:
        return EntierDeTexte(QString::fromUtf8(valeur.value<QByteArray>()));
    default:
        return 0;
    }
}

double Ligne::Decimal(const QString& colonne) const
{
    const QVariant& valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::LongLong:
        return static_cast<double>(valeur.value<qint64>());
    case QMetaType::Double:
        return valeur.value<double>();
    case QMetaType::QString:
        return DecimalDeTexte(valeur.value<QString>());
    case QMetaType::QByteArray:
        return DecimalDeTexte(QString::fromUtf8(valeur.value<QByteArray>()));
    default:
        return 0.0;
    }
}

bool Ligne::EstNul(const QString& colonne) const
{
    return !valeurs.at(Indice(colonne)).isValid();
}

QVariant Ligne::Valeur(const QString& colonne) const
{
    return valeurs.at(Indice(colonne));
}

QVariant Ligne::ValeurIndice(int indice) const
{
    if (indice < 0 || indice >= valeurs.size())
        throw ErreurBase(QStringLiteral("Colonne %1 absente du résultat").arg(indice).toStdString());
    return valeurs.at(indice);
}

int Ligne::NombreColonnes() const
{
    return valeurs.size();
}

// ---------------------------------------------------------------------------
// ErreurBase

ErreurBase::ErreurBase(const QString& message, int code, const QString& texteMoteur)
    : std::runtime_error(message.toStdString()), code(code), texteMoteur(texteMoteur)
{
}

// ---------------------------------------------------------------------------
// InstructionPreparee

// A statement prepared once for its text, with the names of its parameters
// (without their prefix) and of its columns read once from the engine.
struct InstructionPreparee
{
    InstructionPreparee(sqlite3_stmt* stmt, const QString& sql, quint64 generation)
        : stmt(stmt), sql(sql), generation(generation)
    {
        const int nombre = sqlite3_bind_parameter_count(stmt);
        for (int i = 1; i <= nombre; ++i) {
            const char* nom = sqlite3_bind_parameter_name(stmt, i);
            // The engine gives the name with its prefix (":Nom"); "?" has none.
            parametres.push_back(nom ? QString::fromUtf8(nom + 1) : QString());
        }
    }
    ~InstructionPreparee() { sqlite3_finalize(stmt); }
    InstructionPreparee(const InstructionPreparee&) = delete;
    InstructionPreparee& operator=(const InstructionPreparee&) = delete;

    // The parameter at position i (from 0) has this name (without its
    // colon), compared without regard to case.
    bool EstNomme(std::size_t i, QStringView nom) const { return MemeNom(parametres[i], nom); }

    // The column names after the statement's first step: a statement
    // prepared before a change of its table is prepared again by that step.
    // They are compared with the engine's only when the connection has
    // compiled something since they were last seen (such a new preparation
    // among others): a query run again and again reads no name.
    const QSharedPointer<const Ligne::Colonnes>& Colonnes(quint64 compilations)
    {
        if (colonnes && compilations == compilationsVues)
            return colonnes;
        compilationsVues = compilations;
        if (!colonnes || !colonnes->Memes(stmt)) {
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

    sqlite3_stmt* const stmt;
    const QString sql;
    const quint64 generation;
    std::vector<QString> parametres;
    QSharedPointer<const Ligne::Colonnes> colonnes;
    quint64 compilationsVues = 0;
    quint64 usage = 0; // for forgetting the least recently used one
};

// ---------------------------------------------------------------------------
// Connexion

Connexion::Connexion() = default;

Connexion::~Connexion()
{
    Fermer();
}

namespace {

// Opens the file and gives the key; the handle is closed again on failure.
sqlite3* OuvrirAvecCle(const QString& nomFichier, const QByteArray& motDePasse)
{
    // Create only a missing file: an existing one must never be replaced.
    // A connection serves one thread (like the layer's own caches), so the
    // engine need not lock it at each call.
    int options = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (!QFileInfo::exists(nomFichier))
        options |= SQLITE_OPEN_CREATE;
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(nomFichier.toUtf8().constData(), &handle, options, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_key(handle, motDePasse.constData(), int(motDePasse.size()));
    if (rc != SQLITE_OK) {
        const QString texte = TexteEchec(handle, rc);
        sqlite3_close_v2(handle);
        throw ErreurMoteur(rc, texte, nomFichier);
    }
    sqlite3_busy_timeout(handle, kAttenteVerrouMs);
    return handle;
}

enum class Initialisation { Faite, ParUneAutreCopie };

// The encryption salt sits at the start of the file and is read when the key
// is given: a connection keyed on an empty file has drawn its own. Writing
// the first page under the write lock settles whose salt the file keeps; a
// copy that finds the file written meanwhile must open it again.
Initialisation InitialiserFichierVide(sqlite3* handle, const QString& nomFichier)
{
    const int rc = sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB)
        return Initialisation::ParUneAutreCopie;
    if (rc != SQLITE_OK)
        throw ErreurMoteur(rc, TexteMoteur(handle), nomFichier);
    if (QFileInfo(nomFichier).size() != 0) {
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        return Initialisation::ParUneAutreCopie;
    }
    const int fin = sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    if (fin != SQLITE_OK) {
        const QString texte = TexteMoteur(handle);
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        throw ErreurMoteur(fin, texte, nomFichier);
    }
    return Initialisation::Faite;
}

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

} // namespace

void Connexion::Ouvrir(const QString& nomFichier, const QByteArray& motDePasse)
{
    Fermer();
    // The engine would take an empty name for a temporary database.
    if (nomFichier.isEmpty())
        throw ErreurBase("Aucun fichier de base de données n'est indiqué.");
    const QString debutMessage = QStringLiteral("Impossible d'ouvrir la base de données %1 : ").arg(nomFichier);
    // An empty key would open, or create, a file without encryption.
    if (motDePasse.isEmpty())
        throw ErreurBase((debutMessage + QStringLiteral("le mot de passe est vide.")).toStdString());

    sqlite3* handle = nullptr;
    for (int essai = 0; !handle; ++essai) {
        const bool vide = QFileInfo(nomFichier).size() == 0; // also when missing
        handle = OuvrirAvecCle(nomFichier, motDePasse);
        try {
            if (vide && essai < 5
                && InitialiserFichierVide(handle, nomFichier) == Initialisation::ParUneAutreCopie) {
                sqlite3_close_v2(handle);
                handle = nullptr;
            }
        } catch (...) {
            sqlite3_close_v2(handle);
            throw;
        }
    }

    try {
        // The key is checked when the first page is read; reading writes nothing.
        const int rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (rc == SQLITE_NOTADB)
            throw ErreurBase((debutMessage + QStringLiteral("mot de passe incorrect ou fichier qui n'est pas une base de données."))
                                 .toStdString());
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

    db = handle;
    fichier = nomFichier;
    ++generation;
    sqlite3_update_hook(db, &Connexion::NoterInsertion, this);
    sqlite3_set_authorizer(db, &Connexion::NoterCompilation, this);
}

void Connexion::Fermer()
{
    if (!db)
        return;
    ViderCache();
    sqlite3_update_hook(db, nullptr, nullptr);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    // A statement still held by a query is finalised when the query lets it
    // go; the engine closes the handle then.
    sqlite3_close_v2(db);
    db = nullptr;
    ++generation;
    profondeurTransaction = 0;
    derniersInseres.clear();
}

// Remembers, per table, the last row this connection inserted.
void Connexion::NoterInsertion(void* connexion, int operation, const char*, const char* table, long long ligne)
{
    if (operation != SQLITE_INSERT)
        return;
    auto& derniers = static_cast<Connexion*>(connexion)->derniersInseres;
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
int Connexion::NoterCompilation(void* connexion, int, const char*, const char*, const char*, const char*)
{
    ++static_cast<Connexion*>(connexion)->compilations;
    return SQLITE_OK;
}

void Connexion::ViderCache()
{
    cache.clear();
    parAdresse.clear();
}

void Connexion::Echec(int code) const
{
    throw ErreurMoteur(code, TexteEchec(db, code), fichier);
}

void Connexion::VerifierOuverte() const
{
    if (!db)
        throw ErreurBase("La base de données n'est pas ouverte.");
}

std::shared_ptr<InstructionPreparee> Connexion::Preparee(const QString& sql)
{
    VerifierOuverte();
    if (const auto connue = parAdresse.constFind(sql.constData());
        connue != parAdresse.constEnd() && connue.value()->sql == sql) {
        connue.value()->usage = ++compteurUsage;
        return connue.value();
    }
    if (const auto trouvee = cache.constFind(sql); trouvee != cache.constEnd()) {
        trouvee.value()->usage = ++compteurUsage;
        return trouvee.value();
    }

    const QByteArray texte = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* reste = nullptr;
    const int rc = sqlite3_prepare_v2(db, texte.constData(), int(texte.size()), &stmt, &reste);
    if (rc != SQLITE_OK)
        Echec(rc);
    if (!stmt)
        throw ErreurBase("La requête ne contient aucune instruction.");
    if (!ResteVide(reste)) {
        sqlite3_finalize(stmt);
        throw ErreurBase("Une requête ne peut contenir qu'une seule instruction.");
    }
    if (cache.size() >= kTailleCache)
        OublierMoinsUtilisee();
    auto instruction = std::make_shared<InstructionPreparee>(stmt, sql, generation);
    instruction->usage = ++compteurUsage;
    cache.insert(instruction->sql, instruction);
    parAdresse.insert(instruction->sql.constData(), instruction);
    return instruction;
}

sqlite3_stmt* Connexion::Preparer(const QString& sql)
{
    return Preparee(sql)->stmt;
}

void Connexion::OublierMoinsUtilisee()
{
    auto ancienne = cache.begin();
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it.value()->usage < ancienne.value()->usage)
            ancienne = it;
    }
    if (ancienne != cache.end()) {
        parAdresse.remove(ancienne.value()->sql.constData());
        cache.erase(ancienne);
    }
}

void Connexion::ExecuterScript(const QString& sql)
{
    VerifierOuverte();
    char* erreur = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erreur);
    if (rc != SQLITE_OK) {
        const QString texte = erreur ? QString::fromUtf8(erreur) : TexteEchec(db, rc);
        sqlite3_free(erreur);
        throw ErreurMoteur(rc, texte, fichier);
    }
}

bool Connexion::TableExiste(const QString& table)
{
    Requete requete(*this);
    requete.SetSql(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = :Nom COLLATE NOCASE"));
    requete.LierTexte(QStringLiteral("Nom"), table);
    return !requete.Ouvrir().EstVide();
}

QStringList Connexion::Colonnes(const QString& table)
{
    Requete requete(*this);
    requete.SetSql(QStringLiteral("PRAGMA table_info(%1)").arg(IdentifiantSql(table)));
    QStringList noms;
    for (const Ligne& ligne : requete.Ouvrir())
        noms << ligne.Texte(QStringLiteral("name"));
    return noms;
}

void Connexion::AjouterColonne(const QString& table, const QString& definition)
{
    ExecuterScript(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(IdentifiantSql(table), definition));
}

QString Connexion::DernierIdentifiant(const QString& table)
{
    // The key this connection gave last: another copy may have inserted since,
    // and its key must not be taken for ours.
    for (const Insertion& insertion : derniersInseres)
        if (MemeNom(QString::fromUtf8(insertion.table), table))
            return QString::number(insertion.cle);
    if (!TableExiste(QStringLiteral("sqlite_sequence")))
        return QString(QLatin1String(""));
    Requete requete(*this);
    requete.SetSql(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = :Nom COLLATE NOCASE"));
    requete.LierTexte(QStringLiteral("Nom"), table);
    const Resultat& lignes = requete.Ouvrir();
    return lignes.EstVide() ? QString(QLatin1String("")) : lignes.Premiere().Texte(QStringLiteral("seq"));
}

int Connexion::LignesModifiees() const
{
    return db ? sqlite3_changes(db) : 0;
}

// ---------------------------------------------------------------------------
// Requete

namespace {

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

} // namespace

Requete::Requete(Connexion& connexion) : connexion(connexion) {}

void Requete::SetSql(const QString& texte)
{
    // The same text again (the usual case in a loop) keeps its statement, and
    // the rows of its last run until it runs again, which overwrites them in place.
    if (instruction && (texte.constData() == sql.constData() ? texte.size() == sql.size() : texte == sql)) {
        ViderParametres();
        return;
    }
    sql = texte;
    instruction.reset();
    valeurs.clear();
    resultat.lignes.clear();
}

InstructionPreparee& Requete::Preparee()
{
    if (!instruction || instruction->generation != connexion.Generation()) {
        instruction = connexion.Preparee(sql);
        valeurs.resize(instruction->parametres.size());
    }
    return *instruction;
}

namespace {

// A parameter's name as a caller writes it (" :IdPose"), without its blanks and colon.
QStringView NomParametre(const QString& nom)
{
    QStringView cle(nom);
    if (!cle.isEmpty() && (cle.front().isSpace() || cle.back().isSpace()))
        cle = cle.trimmed();
    if (cle.startsWith(u':'))
        cle = cle.mid(1);
    return cle;
}

} // namespace

template <class Affecter>
void Requete::Lier(const QString& nom, Affecter affecter)
{
    // Every parameter of that name takes the value (":idPose" and ":IdPose"
    // are one name here); a name the text does not use is ignored.
    const InstructionPreparee& preparee = Preparee();
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        Valeur& valeur = valeurs[i];
        // The very characters of the name last bound to this parameter (a
        // literal, or a string this query still holds, so no other name's)
        // need no comparing: a loop binding the same names compares none.
        const bool memeObjet =
            !nom.isEmpty() && nom.constData() == valeur.nomLie.constData() && nom.size() == valeur.nomLie.size();
        if (!memeObjet) {
            if (!preparee.EstNomme(i, NomParametre(nom)))
                continue;
            valeur.nomLie = nom;
        }
        affecter(valeur);
    }
}

void Requete::LierTexte(const QString& nom, const QString& valeur)
{
    Lier(nom, [&valeur](Valeur& v) {
        v.genre = Valeur::Genre::Texte;
        EncoderUtf8(valeur, v.utf8);
    });
}

void Requete::LierEntier(const QString& nom, qint64 valeur)
{
    Lier(nom, [valeur](Valeur& v) {
        v.genre = Valeur::Genre::Entier;
        v.entier = valeur;
    });
}

void Requete::LierDecimal(const QString& nom, double valeur)
{
    Lier(nom, [valeur](Valeur& v) {
        v.genre = Valeur::Genre::Decimal;
        v.decimal = valeur;
    });
}

void Requete::LierNul(const QString& nom)
{
    Lier(nom, [](Valeur& v) { v.genre = Valeur::Genre::Nulle; });
}

void Requete::ViderParametres()
{
    for (Valeur& valeur : valeurs)
        valeur.genre = Valeur::Genre::Absente;
}

sqlite3_stmt* Requete::PreparerEtLier()
{
    InstructionPreparee& preparee = Preparee();
    sqlite3_stmt* stmt = preparee.stmt;
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        const int position = int(i) + 1;
        Valeur& valeur = valeurs[i];
        int rc = SQLITE_OK;
        switch (valeur.genre) {
        case Valeur::Genre::Absente:
            if (preparee.parametres[i].isEmpty())
                throw ErreurBase("Les paramètres d'une requête doivent être nommés (:Nom).");
            throw ErreurBase(QStringLiteral("Paramètre :%1 non renseigné").arg(preparee.parametres[i]).toStdString());
        case Valeur::Genre::Nulle:
            rc = sqlite3_bind_null(stmt, position);
            break;
        case Valeur::Genre::Entier:
            rc = sqlite3_bind_int64(stmt, position, valeur.entier);
            break;
        case Valeur::Genre::Decimal:
            rc = sqlite3_bind_double(stmt, position, valeur.decimal);
            break;
        case Valeur::Genre::Texte:
            // The text lives in this query until the statement runs again. A
            // null QString is bound as "", never as null.
            rc = sqlite3_bind_text(stmt, position, valeur.utf8.constData(), int(valeur.utf8.size()), SQLITE_STATIC);
            break;
        }
        if (rc != SQLITE_OK)
            connexion.Echec(rc);
    }
    return stmt;
}

const Resultat& Requete::Ouvrir()
{
    // The rows of the previous run are overwritten, not freed: a query run
    // again and again keeps its storage (unless a caller holds a copy).
    QVector<Ligne>& lignes = resultat.lignes;
    try {
        sqlite3_stmt* stmt = PreparerEtLier();
        RemiseAZero remise(stmt);
        qsizetype nombreLignes = 0;
        const QSharedPointer<const Ligne::Colonnes>* colonnes = nullptr;
        for (;;) {
            const int rc = sqlite3_step(stmt);
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                connexion.Echec(rc);
            if (!colonnes)
                colonnes = &instruction->Colonnes(connexion.Compilations());
            if (rc == SQLITE_DONE)
                break;
            Ligne& ligne = nombreLignes < lignes.size() ? lignes[nombreLignes] : lignes.emplace_back();
            ++nombreLignes;
            if (ligne.colonnes != *colonnes)
                ligne.colonnes = *colonnes;
            const int nombre = int((*colonnes)->noms.size());
            ligne.valeurs.resize(nombre);
            QVariant* cellules = ligne.valeurs.data();
            for (int i = 0; i < nombre; ++i)
                LireColonne(stmt, i, cellules[i]);
        }
        lignes.resize(nombreLignes);
    } catch (...) {
        lignes.clear();
        throw;
    }
    return resultat;
}

int Requete::Executer()
{
    resultat.lignes.clear();
    sqlite3_stmt* stmt = PreparerEtLier();
    RemiseAZero remise(stmt);
    sqlite3* db = connexion.Handle();
    const int avant = sqlite3_total_changes(db);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        connexion.Echec(rc);
    // A difference of totals: a schema statement changes no row, whatever the
    // statement before it did.
    return sqlite3_total_changes(db) - avant;
}

void Requete::Fermer()
{
    resultat.lignes.clear();
}

// ---------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Connexion& connexion) : connexion(connexion)
{
    connexion.VerifierOuverte();
    if (connexion.profondeurTransaction == 0) {
        connexion.ExecuterScript(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        nomPoint = QStringLiteral("point_%1").arg(connexion.profondeurTransaction);
        connexion.ExecuterScript(QStringLiteral("SAVEPOINT ") + nomPoint);
    }
    ++connexion.profondeurTransaction;
}

Transaction::~Transaction()
{
    if (termine)
        return;
    if (connexion.profondeurTransaction > 0)
        --connexion.profondeurTransaction;
    sqlite3* db = connexion.Handle();
    if (!db)
        return;
    if (nomPoint.isEmpty()) {
        // The engine may already have rolled back on its own after a failure.
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    } else {
        const QByteArray annuler = ("ROLLBACK TO " + nomPoint + "; RELEASE " + nomPoint).toUtf8();
        sqlite3_exec(db, annuler.constData(), nullptr, nullptr, nullptr);
    }
}

void Transaction::Valider()
{
    if (termine)
        throw ErreurBase("Transaction déjà terminée.");
    // When COMMIT fails (a reader still holds the file after the wait) the
    // transaction stays open and the destructor rolls it back.
    connexion.ExecuterScript(nomPoint.isEmpty() ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + nomPoint);
    termine = true;
    --connexion.profondeurTransaction;
}
