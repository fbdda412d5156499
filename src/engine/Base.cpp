#include "Base.h"

#include <QFileInfo>
#include <QLocale>
#include <sqlite3.h>

#include <cmath>
#include <cstring>

namespace {

// At most this many statements stay prepared: the windows paste keys into
// some texts, so an unbounded cache would grow for as long as the program runs.
constexpr int kTailleCache = 256;
constexpr int kAttenteVerrouMs = 10000;

QString TexteMoteur(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("base de données fermée");
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

QVariant ValeurColonne(sqlite3_stmt* stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant::fromValue<qint64>(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT: {
        const auto* texte = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        return QVariant(QString::fromUtf8(texte, sqlite3_column_bytes(stmt, i)));
    }
    case SQLITE_BLOB: {
        const auto* octets = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        return QVariant(QByteArray(octets, sqlite3_column_bytes(stmt, i)));
    }
    default:
        return QVariant();
    }
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

// Remembers, per table, the last row this connection inserted.
void NoterInsertion(void* derniers, int operation, const char*, const char* table, sqlite3_int64 ligne)
{
    if (operation == SQLITE_INSERT)
        (*static_cast<QHash<QString, qint64>*>(derniers))[QString::fromUtf8(table).toUpper()] = ligne;
}

} // namespace

// ---------------------------------------------------------------------------
// Ligne

struct Ligne::Colonnes
{
    QStringList noms;
    QHash<QString, int> indices; // upper-cased name -> first column of that name
};

int Ligne::Indice(const QString& colonne) const
{
    const int indice = colonnes ? colonnes->indices.value(colonne.toUpper(), -1) : -1;
    if (indice < 0)
        throw ErreurBase(QStringLiteral("Colonne inconnue dans le résultat : %1").arg(colonne).toStdString());
    return indice;
}

QString Ligne::Texte(const QString& colonne) const
{
    const QVariant valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::Double:
        return TexteDecimal(valeur.toDouble());
    case QMetaType::LongLong:
        return QString::number(valeur.toLongLong());
    case QMetaType::QByteArray:
        return QString::fromUtf8(valeur.toByteArray());
    case QMetaType::QString:
        return valeur.toString();
    default:
        return QString(QLatin1String(""));
    }
}

qint64 Ligne::Entier(const QString& colonne) const
{
    const QVariant valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::LongLong:
        return valeur.toLongLong();
    case QMetaType::Double: {
        const double decimal = valeur.toDouble();
        return std::isfinite(decimal) && std::fabs(decimal) < 9.2e18 ? static_cast<qint64>(decimal) : 0;
    }
    case QMetaType::QString:
        return EntierDeTexte(valeur.toString());
    case QMetaType::QByteArray:
        return EntierDeTexte(QString::fromUtf8(valeur.toByteArray()));
    default:
        return 0;
    }
}

double Ligne::Decimal(const QString& colonne) const
{
    const QVariant valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::LongLong:
        return static_cast<double>(valeur.toLongLong());
    case QMetaType::Double:
        return valeur.toDouble();
    case QMetaType::QString:
        return DecimalDeTexte(valeur.toString());
    case QMetaType::QByteArray:
        return DecimalDeTexte(QString::fromUtf8(valeur.toByteArray()));
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
// Connexion

Connexion::Connexion() = default;

Connexion::~Connexion()
{
    Fermer();
}

namespace {

// Opens the file and gives the key; the handle is closed again on failure.
sqlite3* OuvrirAvecCle(const QString& nomFichier, const QByteArray& motDePasse, const QString& debutMessage)
{
    // Create only a missing file: an existing one must never be replaced.
    int options = SQLITE_OPEN_READWRITE;
    if (!QFileInfo::exists(nomFichier))
        options |= SQLITE_OPEN_CREATE;
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(nomFichier.toUtf8().constData(), &handle, options, nullptr) != SQLITE_OK
        || sqlite3_key(handle, motDePasse.constData(), int(motDePasse.size())) != SQLITE_OK) {
        const QString raison = TexteMoteur(handle);
        sqlite3_close_v2(handle);
        throw ErreurBase((debutMessage + raison).toStdString());
    }
    sqlite3_busy_timeout(handle, kAttenteVerrouMs);
    return handle;
}

enum class Initialisation { Faite, ParUneAutreCopie };

// The encryption salt sits at the start of the file and is read when the key
// is given: a connection keyed on an empty file has drawn its own. Writing
// the first page under the write lock settles whose salt the file keeps; a
// copy that finds the file written meanwhile must open it again.
Initialisation InitialiserFichierVide(sqlite3* handle, const QString& nomFichier, const QString& debutMessage)
{
    const int rc = sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB)
        return Initialisation::ParUneAutreCopie;
    if (rc != SQLITE_OK)
        throw ErreurBase((debutMessage + TexteMoteur(handle)).toStdString());
    if (QFileInfo(nomFichier).size() != 0) {
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        return Initialisation::ParUneAutreCopie;
    }
    if (sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString raison = TexteMoteur(handle);
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        throw ErreurBase((debutMessage + raison).toStdString());
    }
    return Initialisation::Faite;
}

} // namespace

void Connexion::Ouvrir(const QString& nomFichier, const QByteArray& motDePasse)
{
    Fermer();
    // The engine would take an empty name for a temporary database.
    if (nomFichier.isEmpty())
        throw ErreurBase("Aucun fichier de base de données n'est indiqué.");
    const QString debutMessage = QStringLiteral("Impossible d'ouvrir la base de données %1 : ").arg(nomFichier);

    sqlite3* handle = nullptr;
    for (int essai = 0; !handle; ++essai) {
        const bool vide = QFileInfo(nomFichier).size() == 0; // also when missing
        handle = OuvrirAvecCle(nomFichier, motDePasse, debutMessage);
        try {
            if (vide && essai < 5
                && InitialiserFichierVide(handle, nomFichier, debutMessage) == Initialisation::ParUneAutreCopie) {
                sqlite3_close_v2(handle);
                handle = nullptr;
            }
        } catch (...) {
            sqlite3_close_v2(handle);
            throw;
        }
    }

    auto echouer = [&](const QString& raison) {
        sqlite3_close_v2(handle);
        throw ErreurBase((debutMessage + raison).toStdString());
    };
    // The key is checked when the first page is read; reading writes nothing.
    const int rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB)
        echouer(QStringLiteral("mot de passe incorrect ou fichier qui n'est pas une base de données."));
    if (rc != SQLITE_OK)
        echouer(TexteMoteur(handle));

    // Rollback journal: several copies on several machines share the file.
    if (sqlite3_exec(handle, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
        echouer(TexteMoteur(handle));

    db = handle;
    fichier = nomFichier;
    sqlite3_update_hook(db, &NoterInsertion, &derniersInseres);
}

void Connexion::Fermer()
{
    if (!db)
        return;
    ViderCache();
    sqlite3_update_hook(db, nullptr, nullptr);
    sqlite3_close_v2(db);
    db = nullptr;
    profondeurTransaction = 0;
    derniersInseres.clear();
}

void Connexion::ViderCache()
{
    for (const EntreeCache& entree : std::as_const(cache))
        sqlite3_finalize(entree.stmt);
    cache.clear();
}

void Connexion::Echec(const QString& contexte) const
{
    const QString moteur = TexteMoteur(db);
    throw ErreurBase((contexte.isEmpty() ? moteur : contexte + QStringLiteral(" : ") + moteur).toStdString());
}

void Connexion::VerifierOuverte() const
{
    if (!db)
        throw ErreurBase("La base de données n'est pas ouverte.");
}

sqlite3_stmt* Connexion::Preparer(const QString& sql)
{
    VerifierOuverte();
    auto trouve = cache.find(sql);
    if (trouve != cache.end()) {
        trouve->usage = ++compteurUsage;
        return trouve->stmt;
    }

    const QByteArray texte = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* reste = nullptr;
    if (sqlite3_prepare_v2(db, texte.constData(), int(texte.size()), &stmt, &reste) != SQLITE_OK)
        Echec(QString());
    if (!stmt)
        throw ErreurBase("La requête ne contient aucune instruction.");
    if (!ResteVide(reste)) {
        sqlite3_finalize(stmt);
        throw ErreurBase("Une requête ne peut contenir qu'une seule instruction.");
    }
    if (cache.size() >= kTailleCache)
        OublierMoinsUtilisee();
    cache.insert(sql, EntreeCache{stmt, ++compteurUsage});
    return stmt;
}

void Connexion::OublierMoinsUtilisee()
{
    auto ancienne = cache.begin();
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->usage < ancienne->usage)
            ancienne = it;
    }
    if (ancienne != cache.end()) {
        sqlite3_finalize(ancienne->stmt);
        cache.erase(ancienne);
    }
}

void Connexion::ExecuterScript(const QString& sql)
{
    VerifierOuverte();
    char* erreur = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erreur) != SQLITE_OK) {
        const QString texte = erreur ? QString::fromUtf8(erreur) : TexteMoteur(db);
        sqlite3_free(erreur);
        throw ErreurBase(texte.toStdString());
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
    const auto insere = derniersInseres.constFind(table.toUpper());
    if (insere != derniersInseres.constEnd())
        return QString::number(*insere);
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

// Leaves a cached statement ready for its next use, whatever happened.
class RemiseAZero
{
public:
    explicit RemiseAZero(sqlite3_stmt* stmt) : stmt(stmt) {}
    ~RemiseAZero()
    {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
    RemiseAZero(const RemiseAZero&) = delete;
    RemiseAZero& operator=(const RemiseAZero&) = delete;

private:
    sqlite3_stmt* stmt;
};

QString NomParametre(const QString& nom)
{
    QString cle = nom.trimmed();
    if (cle.startsWith(QLatin1Char(':')))
        cle.remove(0, 1);
    return cle.toUpper();
}

} // namespace

Requete::Requete(Connexion& connexion) : connexion(connexion) {}

void Requete::SetSql(const QString& texte)
{
    sql = texte;
    parametres.clear();
    resultat = Resultat();
}

void Requete::LierTexte(const QString& nom, const QString& valeur)
{
    // A null QString still stands for a text: it is stored as "", never as null.
    parametres.insert(NomParametre(nom), QVariant(valeur.isNull() ? QString(QLatin1String("")) : valeur));
}

void Requete::LierEntier(const QString& nom, qint64 valeur)
{
    parametres.insert(NomParametre(nom), QVariant::fromValue<qint64>(valeur));
}

void Requete::LierDecimal(const QString& nom, double valeur)
{
    parametres.insert(NomParametre(nom), QVariant(valeur));
}

void Requete::LierNul(const QString& nom)
{
    parametres.insert(NomParametre(nom), QVariant());
}

void Requete::ViderParametres()
{
    parametres.clear();
}

sqlite3_stmt* Requete::PreparerEtLier()
{
    sqlite3_stmt* stmt = connexion.Preparer(sql);
    const int nombre = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= nombre; ++i) {
        const char* brut = sqlite3_bind_parameter_name(stmt, i);
        if (!brut) {
            sqlite3_clear_bindings(stmt);
            throw ErreurBase("Les paramètres d'une requête doivent être nommés (:Nom).");
        }
        // The engine gives the name with its prefix (":Nom").
        const QString nom = QString::fromUtf8(brut + 1);
        const auto valeur = parametres.constFind(nom.toUpper());
        if (valeur == parametres.constEnd()) {
            sqlite3_clear_bindings(stmt);
            throw ErreurBase(QStringLiteral("Paramètre :%1 non renseigné").arg(nom).toStdString());
        }
        int rc = SQLITE_OK;
        switch (valeur->typeId()) {
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(stmt, i, valeur->toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt, i, valeur->toDouble());
            break;
        case QMetaType::QString: {
            const QByteArray texte = valeur->toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i, texte.constData(), int(texte.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            rc = sqlite3_bind_null(stmt, i);
        }
        if (rc != SQLITE_OK) {
            sqlite3_clear_bindings(stmt);
            connexion.Echec(QString());
        }
    }
    return stmt;
}

const Resultat& Requete::Ouvrir()
{
    resultat = Resultat();
    sqlite3_stmt* stmt = PreparerEtLier();
    RemiseAZero remise(stmt);

    Resultat lignes;
    QSharedPointer<Ligne::Colonnes> colonnes;
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            connexion.Echec(QString());
        // Names are read after the first step: a statement prepared before a
        // change of the table is prepared again by that step.
        if (!colonnes) {
            colonnes = QSharedPointer<Ligne::Colonnes>::create();
            const int nombre = sqlite3_column_count(stmt);
            for (int i = 0; i < nombre; ++i) {
                const QString nom = QString::fromUtf8(sqlite3_column_name(stmt, i));
                colonnes->noms << nom;
                colonnes->indices.insert(nom.toUpper(), colonnes->indices.value(nom.toUpper(), i));
            }
        }
        if (rc == SQLITE_DONE)
            break;
        Ligne ligne;
        ligne.colonnes = colonnes;
        ligne.valeurs.reserve(colonnes->noms.size());
        for (int i = 0; i < colonnes->noms.size(); ++i)
            ligne.valeurs.append(ValeurColonne(stmt, i));
        lignes.lignes.append(std::move(ligne));
    }
    resultat = std::move(lignes);
    return resultat;
}

int Requete::Executer()
{
    resultat = Resultat();
    sqlite3_stmt* stmt = PreparerEtLier();
    RemiseAZero remise(stmt);
    sqlite3* db = connexion.Handle();
    const int avant = sqlite3_total_changes(db);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        connexion.Echec(QString());
    // A difference of totals: a schema statement changes no row, whatever the
    // statement before it did.
    return sqlite3_total_changes(db) - avant;
}

void Requete::Fermer()
{
    resultat = Resultat();
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
