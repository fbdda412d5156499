// The server back end: a PostgreSQL database through libpq.
//
// The statements keep the file's spelling (TexteSql translates the little
// that differs). Values travel as text in the server's parameters, converted
// as the file would compare them: a text bound where the server expects an
// integer is the integer it stands for, or null when it stands for none (so
// it matches no row instead of failing). Write groups take a lock of the
// database's own at their start, so the groups of every workstation take
// turns as they do on the file; each statement then sees what the groups
// before it committed.

#include "engine/Moteur.h"
#include "engine/TexteSql.h"

#include <QSet>
#include <libpq-fe.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The numbers of the server's types that need a conversion.
constexpr Oid kOidBool = 16;
constexpr Oid kOidOctets = 17;
constexpr Oid kOidEntier8 = 20;
constexpr Oid kOidEntier2 = 21;
constexpr Oid kOidEntier4 = 23;
constexpr Oid kOidObjet = 26;
constexpr Oid kOidDecimal4 = 700;
constexpr Oid kOidDecimal8 = 701;
constexpr Oid kOidNumerique = 1700;

// Every write group of the program, on every workstation, waits for this
// lock (one per schema of the database). Its settings hold for the group
// alone: a pooler in transaction mode gives each group whichever server
// session is free, so nothing may be set for a session. Another
// workstation's group is waited for 10 s; a statement of the group may run
// 30 s (the longest a legitimate one takes is a slice of an import, well
// under a second); and a group left open by a workstation the network lost
// is rolled back by the server after a minute, so that it does not hold
// the other workstations' writes.
const char kCommencer[] = "BEGIN; SET LOCAL lock_timeout = '10s'; SET LOCAL statement_timeout = '30s'; "
                          "SET LOCAL idle_in_transaction_session_timeout = '60s'; "
                          "SELECT pg_advisory_xact_lock(1364, hashtext(coalesce(current_schema(), '')))";

void Silence(void*, const char*) {}

// A result freed whatever happens.
struct ResultatPq
{
    PGresult* res = nullptr;
    explicit ResultatPq(PGresult* res) : res(res) {}
    ~ResultatPq() { PQclear(res); }
    ResultatPq(const ResultatPq&) = delete;
    ResultatPq& operator=(const ResultatPq&) = delete;
    operator PGresult*() const { return res; }
};

bool Reussi(const PGresult* res)
{
    const ExecStatusType etat = PQresultStatus(res);
    return res && (etat == PGRES_COMMAND_OK || etat == PGRES_TUPLES_OK);
}

QString Etat(const PGresult* res)
{
    const char* etat = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    return etat ? QString::fromLatin1(etat) : QString();
}

bool EstEntier(Oid type)
{
    return type == kOidEntier2 || type == kOidEntier4 || type == kOidEntier8 || type == kOidObjet;
}

bool EstDecimal(Oid type)
{
    return type == kOidDecimal4 || type == kOidDecimal8 || type == kOidNumerique;
}

// The words "the server", as messages name it.
QString NomServeur(PGconn* conn)
{
    const QString hote = QString::fromUtf8(PQhost(conn));
    const QString port = QString::fromUtf8(PQport(conn));
    QString nom = hote.isEmpty() || hote.startsWith(u'/') ? QStringLiteral("local") : hote;
    if (!port.isEmpty() && port != u"5432")
        nom += u':' + port;
    return nom;
}

QString DesignationDe(PGconn* conn)
{
    return QStringLiteral("« %1 » du serveur « %2 »").arg(QString::fromUtf8(PQdb(conn)), NomServeur(conn));
}

ErreurBase Erreur(ErreurBase::Cause cause, const QString& phrase, const QString& texteServeur)
{
    if (phrase.isEmpty())
        return ErreurBase(texteServeur, cause, texteServeur);
    return ErreurBase(phrase + QStringLiteral("\n(PostgreSQL : %1)").arg(texteServeur), cause, texteServeur);
}

// The one place where the server's failures become what a user can act on.
ErreurBase ErreurServeur(const PGresult* res, PGconn* conn)
{
    using Cause = ErreurBase::Cause;
    const QString designation = DesignationDe(conn);
    const char* primaire = res ? PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString texte = primaire ? QString::fromUtf8(primaire) : QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    const QString etat = Etat(res);
    // A pooler that hands each statement to any server session cannot keep
    // a group of writes together.
    if (texte.contains(QStringLiteral("statement pooling mode"))
        || QString::fromUtf8(PQerrorMessage(conn)).contains(QStringLiteral("statement pooling mode")))
        return Erreur(Cause::Acces,
                      QStringLiteral("Le regroupeur de connexions (PgBouncer) placé devant la base %1 est réglé en mode "
                                     "« statement » : le programme enregistre par groupes d'instructions, qu'il ne peut "
                                     "pas garder ensemble. Demandez à l'administrateur du serveur de le régler en mode "
                                     "« transaction » ou « session » (pool_mode).")
                          .arg(designation),
                      texte);
    if (PQstatus(conn) == CONNECTION_BAD || etat.startsWith(u"08") || etat.startsWith(u"57P"))
        return Erreur(Cause::ConnexionPerdue,
                      QStringLiteral("La connexion à la base %1 a été perdue : ce qui était en cours n'a pas été "
                                     "enregistré. Vérifiez le réseau et le serveur, puis réessayez.")
                          .arg(designation),
                      texte);
    if (etat == u"40001" || etat == u"40P01")
        return Erreur(Cause::Conflit,
                      QStringLiteral("La base %1 a été modifiée au même moment par un autre poste : rien n'a été "
                                     "enregistré, réessayez.")
                          .arg(designation),
                      texte);
    if (etat == u"55P03")
        return Erreur(Cause::Occupee, QStringLiteral("La base %1 est utilisée par un autre poste ; réessayez.").arg(designation),
                      texte);
    if (etat == u"53100")
        return Erreur(Cause::Pleine,
                      QStringLiteral("Le serveur n'a plus de place pour enregistrer la base %1 : prévenez "
                                     "l'administrateur du serveur.")
                          .arg(designation),
                      texte);
    if (etat == u"53200")
        return Erreur(Cause::Memoire, QStringLiteral("La mémoire manque au serveur pour travailler sur la base %1 ; réessayez.")
                                          .arg(designation),
                      texte);
    if (etat == u"25006")
        return Erreur(Cause::LectureSeule,
                      QStringLiteral("La base %1 n'accepte que la lecture : prévenez l'administrateur du serveur.")
                          .arg(designation),
                      texte);
    if (etat == u"42501")
        return Erreur(Cause::Acces,
                      QStringLiteral("L'utilisateur « %1 » n'a pas les droits nécessaires sur la base %2 : demandez à "
                                     "l'administrateur du serveur de les lui accorder.")
                          .arg(QString::fromUtf8(PQuser(conn)), designation),
                      texte);
    if (etat == u"XX001" || etat == u"XX002")
        return Erreur(Cause::Endommagee,
                      QStringLiteral("La base %1 est endommagée : prévenez l'administrateur du serveur, qui la "
                                     "restaurera d'une sauvegarde.")
                          .arg(designation),
                      texte);
    if (etat == u"58030")
        return Erreur(Cause::Disque,
                      QStringLiteral("Le serveur n'a pas pu lire ou écrire la base %1 (erreur de son disque).").arg(designation),
                      texte);
    if (etat == u"22001")
        return Erreur(Cause::Instruction,
                      QStringLiteral("Un texte est plus long que ce que la base %1 accepte dans sa colonne.").arg(designation),
                      texte);
    return Erreur(Cause::Instruction, QString(), texte);
}

// The text holds one of the words, without regard to case.
bool Contient(const QString& texte, std::initializer_list<const char*> mots)
{
    for (const char* mot : mots)
        if (texte.contains(QString::fromUtf8(mot), Qt::CaseInsensitive))
            return true;
    return false;
}

// What a failure of the certificates or of the service file is, as libpq
// says it (in English or French); nothing for any other failure.
std::optional<QString> PhraseCertificatOuService(const QString& texte, const QString& service)
{
    const auto contient = [&texte](std::initializer_list<const char*> mots) { return Contient(texte, mots); };
    const QString correction = QStringLiteral(" dans le paramètre Connexion de Module_Quarlo.ini ou dans le fichier de "
                                              "services de ce poste, puis relancez le programme.");
    if (contient({"definition of service", "définition du service"}))
        return QStringLiteral("le service « %1 » n'est décrit dans aucun fichier de services de ce poste "
                              "(~/.pg_service.conf, %APPDATA%\\postgresql\\.pg_service.conf, ou le fichier que nomme "
                              "PGSERVICEFILE) : vérifiez le nom du service dans le paramètre Connexion de "
                              "Module_Quarlo.ini, ou ajoutez-le au fichier de services.")
            .arg(service);
    if (contient({"service file", "fichier de service"}))
        return QStringLiteral("le fichier de services qui doit décrire le service « %1 » est introuvable : vérifiez "
                              "PGSERVICEFILE, ou placez le fichier de services à sa place habituelle.")
            .arg(service);
    if (contient({"does not match host name", "ne correspond pas au nom d'hôte"}))
        return QStringLiteral("le certificat présenté par le serveur n'est pas établi à son nom : le nom du serveur "
                              "(host) doit être celui que porte son certificat. Corrigez-le") + correction;
    if (contient({"root certificate file", "fichier de certificat racine", "sslrootcert"}))
        return QStringLiteral("le certificat racine qui doit vérifier le serveur (sslrootcert) est introuvable ou "
                              "illisible sur ce poste : placez-le à l'endroit indiqué, ou corrigez son chemin") + correction;
    if (contient({"certificate verify failed", "certificate has expired", "self-signed certificate",
                  "self signed certificate", "unable to get local issuer certificate"}))
        return QStringLiteral("le certificat du serveur n'a pas pu être vérifié (signé par une autorité que le "
                              "certificat racine de ce poste ne reconnaît pas, ou expiré) : installez le bon "
                              "certificat racine (sslrootcert), ou faites renouveler celui du serveur. Vérifiez-le")
               + correction;
    if (contient({"does not support SSL", "ne supporte pas SSL"}))
        return QStringLiteral("le serveur n'accepte pas les connexions chiffrées (TLS) que demande le paramètre sslmode : "
                              "demandez à l'administrateur du serveur d'activer TLS, ou corrigez sslmode") + correction;
    return std::nullopt;
}

// Why a connection could not be made. The server's words are in its own
// language: the usual English and French ones are recognised, any other
// failure reads as a server out of reach.
ErreurBase ErreurConnexion(PGconn* conn, const QString& service)
{
    using Cause = ErreurBase::Cause;
    const QString texte = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    const auto contient = [&texte](std::initializer_list<const char*> mots) { return Contient(texte, mots); };
    // A service whose description was not found says nothing of its server:
    // the service is named instead.
    const bool serviceInconnu = !service.isEmpty() && contient({"service"}) && !contient({"connection to server"});
    const QString designation = serviceInconnu ? QStringLiteral("du service « %1 »").arg(service)
                                : service.isEmpty() ? DesignationDe(conn)
                                                    : DesignationDe(conn) + QStringLiteral(" (service « %1 »)").arg(service);
    const QString utilisateur = QString::fromUtf8(PQuser(conn));
    if (const std::optional<QString> phrase = PhraseCertificatOuService(texte, service))
        return Erreur(Cause::Inaccessible, QStringLiteral("Impossible d'ouvrir la base %1 : ").arg(designation) + *phrase,
                      texte);
    if (PQconnectionNeedsPassword(conn))
        return Erreur(Cause::Acces,
                      QStringLiteral("Le serveur demande un mot de passe pour ouvrir la base %1 : enregistrez-le dans "
                                     "le fichier de mots de passe (pgpass) ou de services de ce poste, puis relancez "
                                     "le programme.")
                          .arg(designation),
                      texte);
    if (contient({"password authentication failed", "authentification par mot de passe", "role \"",
                  "le rôle", "authentication failed", "authentification"}))
        return Erreur(Cause::Acces,
                      QStringLiteral("Le serveur refuse l'utilisateur « %1 » ou son mot de passe pour la base %2 : "
                                     "corrigez le fichier de mots de passe (pgpass) ou de services de ce poste, puis "
                                     "relancez le programme.")
                          .arg(utilisateur, designation),
                      texte);
    if (contient({"database \"", "la base de données «"}) && contient({"does not exist", "n'existe pas"}))
        return Erreur(Cause::Inconnue,
                      QStringLiteral("La base %1 n'existe pas : vérifiez le nom de la base dans le paramètre Connexion "
                                     "de Module_Quarlo.ini.")
                          .arg(designation),
                      texte);
    if (contient({"permission denied", "droit refusé"}))
        return Erreur(Cause::Acces,
                      QStringLiteral("L'utilisateur « %1 » n'a pas le droit d'ouvrir la base %2 : demandez à "
                                     "l'administrateur du serveur de le lui accorder.")
                          .arg(utilisateur, designation),
                      texte);
    return Erreur(Cause::Inaccessible,
                  QStringLiteral("Impossible de joindre le serveur pour ouvrir la base %1 : vérifiez que le serveur "
                                 "est démarré et que ce poste peut l'atteindre (réseau, pare-feu, paramètre Connexion "
                                 "de Module_Quarlo.ini), puis relancez le programme.")
                      .arg(designation),
                  texte);
}

// What the back end and its statements share: the statements may outlive
// the back end (a query holding one after the connection closed).
struct Session
{
    PGconn* conn = nullptr;
    int lignesModifiees = 0;
    QSet<QString> tablesInserees;       // the tables this session inserted into
    CompteursBase* compteurs = nullptr;

    bool EnTransaction() const
    {
        const PGTransactionStatusType etat = PQtransactionStatus(conn);
        return etat == PQTRANS_INTRANS || etat == PQTRANS_INERROR || etat == PQTRANS_ACTIVE;
    }
};

// The value of a parameter as the server should read it; nothing for null.
std::optional<QByteArray> TexteParametre(const ValeurParametre& valeur, Oid type)
{
    using Genre = ValeurParametre::Genre;
    const auto entier = [type](qint64 nombre) -> std::optional<QByteArray> {
        // A number the column cannot hold is a key no row has.
        const qint64 maximum = type == kOidEntier2 ? std::numeric_limits<qint16>::max()
                               : type == kOidEntier4 ? std::numeric_limits<qint32>::max()
                                                     : std::numeric_limits<qint64>::max();
        if (nombre > maximum || nombre < -maximum - 1)
            return std::nullopt;
        return QByteArray::number(nombre);
    };
    const auto decimal = [](double nombre) -> QByteArray {
        if (std::isnan(nombre))
            return "NaN";
        if (std::isinf(nombre))
            return nombre > 0 ? "Infinity" : "-Infinity";
        return TexteDecimal(nombre).toLatin1();
    };
    switch (valeur.genre) {
    case Genre::Absente:
    case Genre::Nulle:
        return std::nullopt;
    case Genre::Entier:
        return EstEntier(type) ? entier(valeur.entier) : QByteArray::number(valeur.entier);
    case Genre::Decimal:
        if (EstEntier(type)) {
            if (std::floor(valeur.decimal) != valeur.decimal || std::fabs(valeur.decimal) >= 9.2e18)
                return std::nullopt;
            return entier(static_cast<qint64>(valeur.decimal));
        }
        return decimal(valeur.decimal);
    case Genre::Texte:
        if (EstEntier(type)) {
            const std::optional<qint64> cle = CleEnEntier(QString::fromUtf8(valeur.utf8));
            return cle ? entier(*cle) : std::nullopt;
        }
        if (EstDecimal(type)) {
            const std::optional<double> nombre = DecimalDeTexte(QString::fromUtf8(valeur.utf8));
            return nombre ? std::optional(decimal(*nombre)) : std::nullopt;
        }
        return valeur.utf8;
    }
    return std::nullopt;
}

QVariant Cellule(const PGresult* res, int ligne, int colonne, Oid type)
{
    if (PQgetisnull(res, ligne, colonne))
        return QVariant();
    const char* texte = PQgetvalue(res, ligne, colonne);
    const int longueur = PQgetlength(res, ligne, colonne);
    if (EstEntier(type))
        return qint64(std::strtoll(texte, nullptr, 10));
    if (EstDecimal(type)) {
        if (std::strcmp(texte, "NaN") == 0)
            return std::numeric_limits<double>::quiet_NaN();
        if (std::strcmp(texte, "Infinity") == 0)
            return std::numeric_limits<double>::infinity();
        if (std::strcmp(texte, "-Infinity") == 0)
            return -std::numeric_limits<double>::infinity();
        return QByteArray::fromRawData(texte, longueur).toDouble();
    }
    if (type == kOidBool)
        return qint64(texte[0] == 't' ? 1 : 0);
    if (type == kOidOctets) {
        size_t taille = 0;
        unsigned char* octets = PQunescapeBytea(reinterpret_cast<const unsigned char*>(texte), &taille);
        QByteArray copie(reinterpret_cast<const char*>(octets), qsizetype(taille));
        PQfreemem(octets);
        return copie;
    }
    return QString::fromUtf8(texte, longueur);
}

// The table an INSERT writes to, as the server names it; "" for any other statement.
QString TableInseree(const QString& sql)
{
    const std::vector<JetonSql> jetons = Decouper(sql);
    if (jetons.size() < 3 || !MemeNom(jetons[0].Dans(sql), u"INSERT") || !MemeNom(jetons[1].Dans(sql), u"INTO"))
        return QString();
    return NomCatalogue(jetons[2].Dans(sql).toString());
}

class MoteurServeur;

// A statement the server parses at each run (an unnamed statement): a
// connection pooler in transaction mode may give each run another server
// session, where a statement prepared under a name would be missing, or
// already taken by another workstation's. What the server infers of its
// parameters is asked once, in the same exchange as a first parsing.
class InstructionServeur : public Instruction
{
public:
    InstructionServeur(MoteurServeur& moteur, std::shared_ptr<Session> session, const QString& sql, quint64 generation)
        : Instruction(sql, generation), moteur(moteur), session(std::move(session)), tableInseree(TableInseree(sql))
    {
        TexteServeur traduit = TraduirePourServeur(sql);
        texte = std::move(traduit.sql);
        parametres = std::move(traduit.parametres);
    }

    void Ouvrir(const std::vector<ValeurParametre>& valeurs, QVector<Ligne>& lignes) override
    {
        ResultatPq res(Lancer(valeurs));
        const QSharedPointer<const Ligne::Colonnes>& noms = Colonnes(res);
        const int nombre = PQntuples(res);
        const int nombreColonnes = PQnfields(res);
        typesColonnes.resize(std::size_t(nombreColonnes));
        for (int j = 0; j < nombreColonnes; ++j)
            typesColonnes[std::size_t(j)] = PQftype(res, j);
        lignes.resize(nombre);
        for (int i = 0; i < nombre; ++i) {
            Ligne& ligne = lignes[i];
            auto& colonnesLigne = EcritureLigne::Colonnes(ligne);
            if (colonnesLigne != noms)
                colonnesLigne = noms;
            QVector<QVariant>& cellules = EcritureLigne::Valeurs(ligne);
            cellules.resize(nombreColonnes);
            for (int j = 0; j < nombreColonnes; ++j)
                cellules[j] = Cellule(res, i, j, typesColonnes[std::size_t(j)]);
        }
    }

    int Executer(const std::vector<ValeurParametre>& valeurs) override
    {
        ResultatPq res(Lancer(valeurs));
        const int modifiees = std::atoi(PQcmdTuples(res));
        session->lignesModifiees = modifiees;
        if (!tableInseree.isEmpty() && modifiees > 0)
            session->tablesInserees.insert(tableInseree);
        return modifiees;
    }

private:
    MoteurServeur& moteur;
    std::shared_ptr<Session> session;
    const QString tableInseree;
    QByteArray texte;
    bool decrite = false; // the types of the parameters are known
    std::vector<Oid> typesParametres;
    std::vector<Oid> typesColonnes;
    QSharedPointer<const Ligne::Colonnes> colonnes;

    void Decrire(const std::vector<ValeurParametre>& valeurs);
    bool EssayerDescription(const std::vector<Oid>& types, bool protegee, ResultatPq& echec);
    PGresult* Lancer(const std::vector<ValeurParametre>& valeurs);

    // The names of the result's columns, kept from run to run while they are the same.
    const QSharedPointer<const Ligne::Colonnes>& Colonnes(const PGresult* res)
    {
        const int nombre = PQnfields(res);
        const auto memes = [&] {
            if (nombre != colonnes->nomsMoteur.size())
                return false;
            for (int j = 0; j < nombre; ++j)
                if (std::strcmp(PQfname(res, j), colonnes->nomsMoteur[j].constData()) != 0)
                    return false;
            return true;
        };
        if (!colonnes || !memes()) {
            auto lues = QSharedPointer<Ligne::Colonnes>::create();
            for (int j = 0; j < nombre; ++j) {
                lues->nomsMoteur << QByteArray(PQfname(res, j));
                lues->noms << QString::fromUtf8(PQfname(res, j));
            }
            colonnes = lues;
        }
        return colonnes;
    }
};

class MoteurServeur : public Moteur
{
public:
    MoteurServeur(PGconn* conn) : session(std::make_shared<Session>())
    {
        session->conn = conn;
        designation = DesignationDe(conn);
    }

    ~MoteurServeur() override
    {
        PQfinish(session->conn);
        session->conn = nullptr;
    }

    void Demarrer() override
    {
        session->compteurs = compteurs;
        PQsetNoticeProcessor(session->conn, &Silence, nullptr);
    }

    PGconn* Conn() const { return session->conn; }
    Session& Etat() const { return *session; }

    QString Designation() const override { return designation; }
    bool EstServeur() const override { return true; }
    bool GrouperEcrituresIsolees() const override { return true; }

    [[noreturn]] void Echec(const PGresult* res) const { throw ErreurServeur(res, session->conn); }

    // A statement of the layer's own, with no parameters.
    void Executer(const char* sql)
    {
        ++compteurs->instructions;
        ResultatPq res(PQexec(session->conn, sql));
        if (!Reussi(res))
            Echec(res);
    }

    std::unique_ptr<Instruction> Preparer(const QString& sql, quint64 generation) override
    {
        return std::make_unique<InstructionServeur>(*this, session, sql, generation);
    }

    void ExecuterScript(const QString& sql) override
    {
        ResultatPq res(PQexec(session->conn, sql.toUtf8().constData()));
        if (!Reussi(res))
            Echec(res);
    }

    void Commencer() override
    {
        Reprendre();
        ResultatPq res(PQexec(session->conn, kCommencer));
        if (!Reussi(res)) {
            const ErreurBase erreur = ErreurServeur(res, session->conn);
            Annuler();
            throw erreur;
        }
    }

    void Valider() override
    {
        // A statement that failed inside the group made the server give it up.
        if (PQtransactionStatus(session->conn) == PQTRANS_INERROR)
            throw ErreurBase(QStringLiteral("La base %1 a refusé une instruction de cet enregistrement : rien n'a "
                                            "été enregistré.")
                                 .arg(designation),
                             ErreurBase::Cause::Instruction, QString());
        ResultatPq res(PQexec(session->conn, "COMMIT"));
        if (!Reussi(res))
            Echec(res);
        if (std::strcmp(PQcmdStatus(res), "ROLLBACK") == 0)
            throw ErreurBase(QStringLiteral("La base %1 a annulé l'enregistrement : rien n'a été enregistré.").arg(designation),
                             ErreurBase::Cause::Instruction, QString());
    }

    void Annuler() noexcept override
    {
        if (PQstatus(session->conn) == CONNECTION_OK && session->EnTransaction())
            PQclear(PQexec(session->conn, "ROLLBACK"));
    }

    void AvantInstructionIsolee() override { Reprendre(); }

    QStringList Tables() override
    {
        QStringList tables;
        for (const QVariantList& ligne : Lire("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                              "current_schema() AND table_type = 'BASE TABLE' ORDER BY table_name"))
            tables << ligne.at(0).toString();
        return tables;
    }

    QStringList Colonnes(const QString& table) override
    {
        QStringList noms;
        for (const QVariantList& ligne : Lire("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                                              "current_schema() AND table_name = lower($1) ORDER BY ordinal_position",
                                              {table}))
            noms << ligne.at(0).toString();
        return noms;
    }

    bool IndexExiste(const QString& index) override
    {
        return !Lire("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() AND lower(indexname) = lower($1)",
                     {index})
                    .isEmpty();
    }

    Table Structure(const QString& table) override
    {
        Table structure;
        structure.nom = NomCatalogue(table);
        QString cleAuto;
        for (const QVariantList& info : Lire("SELECT column_name, data_type, character_maximum_length, is_nullable, "
                                             "is_identity FROM information_schema.columns WHERE table_schema = "
                                             "current_schema() AND table_name = lower($1) ORDER BY ordinal_position",
                                             {table})) {
            Colonne colonne;
            colonne.nom = NomCatalogue(info.at(0).toString());
            const QString type = info.at(1).toString();
            colonne.largeur = info.at(2).toInt();
            colonne.nonNul = info.at(3).toString() == u"NO";
            if (info.at(4).toString() == u"YES") {
                colonne.genre = GenreColonne::CleAuto;
                colonne.nonNul = false; // as the file reads its own
                cleAuto = colonne.nom;
            } else if (type == u"integer" || type == u"smallint" || type == u"bigint") {
                colonne.genre = GenreColonne::Entier;
            } else if (type == u"double precision" || type == u"real" || type == u"numeric") {
                colonne.genre = GenreColonne::Decimal;
            } else {
                colonne.genre = GenreColonne::Texte;
            }
            structure.colonnes << colonne;
        }
        for (const QVariantList& contrainte : Contraintes(table)) {
            const ContrainteTable lue{QString(), contrainte.at(2).toString().split(u',')};
            if (contrainte.at(1).toString() == u"u")
                structure.uniques << lue;
            else if (lue.colonnes != QStringList{cleAuto})
                structure.clePrimaire = lue;
        }
        return structure;
    }

    QVector<IndexTable> Index(const QString& table) override
    {
        QVector<IndexTable> index;
        for (const QVariantList& ligne :
             Lire("SELECT lower(i.relname), array_to_string(ARRAY(SELECT a.attname FROM unnest(x.indkey::int2[]) "
                  "WITH ORDINALITY k(n, o) JOIN pg_attribute a ON a.attrelid = x.indrelid AND a.attnum = k.n "
                  "ORDER BY k.o), ',') FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid "
                  "WHERE x.indrelid = to_regclass(quote_ident(current_schema()) || '.' || lower($1)) "
                  "AND NOT EXISTS (SELECT 1 FROM pg_constraint c WHERE c.conindid = x.indexrelid) ORDER BY 1",
                  {table}))
            index << IndexTable{ligne.at(0).toString(), ligne.at(1).toString().split(u',')};
        return index;
    }

    QString DefinitionColonne(const Colonne& colonne) const override
    {
        // Integers of 64 bits, as on the file. Texts sort by their
        // characters' codes, as on the file, whatever the language the
        // database was made in.
        QString type;
        switch (colonne.genre) {
        case GenreColonne::CleAuto: type = QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"); break;
        case GenreColonne::Entier: type = QStringLiteral("BIGINT"); break;
        case GenreColonne::Decimal: type = QStringLiteral("DOUBLE PRECISION"); break;
        case GenreColonne::Texte:
            type = (colonne.largeur > 0 ? QStringLiteral("VARCHAR(%1)").arg(colonne.largeur) : QStringLiteral("TEXT"))
                   + QStringLiteral(" COLLATE \"C\"");
            break;
        }
        return colonne.nom + u' ' + type + (colonne.nonNul ? QStringLiteral(" NOT NULL") : QString());
    }

    QString Identifiant(const QString& nom) const override
    {
        QString echappe = nom;
        echappe.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + echappe + QLatin1Char('"');
    }

    QString NomTable(const QString& table) const override { return Identifiant(NomCatalogue(table)); }

    QString DernierIdentifiant(const QString& table) override
    {
        // The key this session gave last: another workstation may have
        // inserted since, and its key must not be taken for ours. Behind a
        // pooler in transaction mode the server session is this group's
        // only: the key is asked inside the group that inserted (as every
        // caller does).
        const QString sequence = Sequence(table);
        if (sequence.isEmpty())
            return QString(QLatin1String(""));
        if (session->tablesInserees.contains(NomCatalogue(table)))
            return Lire("SELECT currval($1::regclass)", {sequence}).value(0).value(0).toString();
        return CompteurTable(table);
    }

    QString CompteurTable(const QString& table) override
    {
        const QString sequence = Sequence(table);
        if (sequence.isEmpty())
            return QString(QLatin1String(""));
        const QVariant valeur = Lire("SELECT pg_sequence_last_value($1::regclass)", {sequence}).value(0).value(0);
        return valeur.isValid() ? valeur.toString() : QString(QLatin1String(""));
    }

    void AjusterCompteur(const QString& table, qint64 auMoins) override
    {
        const QString colonne = ColonneCle(table);
        if (colonne.isEmpty())
            return;
        const qint64 plusGrande =
            Lire(QStringLiteral("SELECT max(%1) FROM %2").arg(Identifiant(colonne), NomTable(table)).toUtf8())
                .value(0)
                .value(0)
                .toLongLong();
        const qint64 valeur = std::max(auMoins, plusGrande);
        if (valeur > 0)
            Lire("SELECT setval($1::regclass, $2::bigint)", {Sequence(table), valeur});
    }

    QString DerniereCleInseree() override { return Lire("SELECT lastval()").value(0).value(0).toString(); }

    int LignesModifiees() const override { return session->lignesModifiees; }

    // The protocol would number 65535, but libpq takes no description of a
    // statement's parameters longer than 30,000 bytes, four bytes each.
    int ParametresMax() const override { return 7000; }

    bool PeutModifier(const QStringList& tables) override
    {
        // A table the database lacks says nothing against it.
        return Lire("SELECT coalesce(bool_and(has_table_privilege(c, 'INSERT') AND has_table_privilege(c, 'UPDATE') "
                    "AND has_table_privilege(c, 'DELETE')), true) FROM (SELECT to_regclass(quote_ident(current_schema()) "
                    "|| '.' || lower(t)) AS c FROM unnest(string_to_array($1, ',')) t) tables WHERE c IS NOT NULL",
                    {tables.join(u',')})
            .value(0)
            .value(0)
            .toLongLong()
               != 0;
    }

    QString Utilisateur() const override { return QString::fromUtf8(PQuser(session->conn)); }

    // The session was lost: made again while no group is open, else an error.
    void Reprendre()
    {
        if (PQstatus(session->conn) == CONNECTION_OK)
            return;
        PQreset(session->conn);
        if (PQstatus(session->conn) != CONNECTION_OK)
            throw ErreurServeur(nullptr, session->conn);
        session->tablesInserees.clear();
        if (apresReprise)
            apresReprise();
    }

private:
    std::shared_ptr<Session> session;
    QString designation;

    // The rows of one statement of the layer's own, parameters as $1, $2...
    QVector<QVariantList> Lire(const QByteArray& sql, const QVariantList& parametres = {})
    {
        ++compteurs->instructions;
        std::vector<QByteArray> textes;
        std::vector<const char*> valeurs;
        for (const QVariant& parametre : parametres)
            textes.push_back(parametre.toString().toUtf8());
        for (const QByteArray& texte : textes)
            valeurs.push_back(texte.constData());
        ResultatPq res(PQexecParams(session->conn, sql.constData(), int(valeurs.size()), nullptr, valeurs.data(),
                                    nullptr, nullptr, 0));
        if (!Reussi(res))
            Echec(res);
        QVector<QVariantList> lignes;
        for (int i = 0; i < PQntuples(res); ++i) {
            QVariantList ligne;
            for (int j = 0; j < PQnfields(res); ++j)
                ligne << Cellule(res, i, j, PQftype(res, j));
            lignes << ligne;
        }
        return lignes;
    }
    QVector<QVariantList> Lire(const char* sql, const QVariantList& parametres = {})
    {
        return Lire(QByteArray(sql), parametres);
    }

    QVector<QVariantList> Contraintes(const QString& table)
    {
        return Lire("SELECT c.conname, c.contype, array_to_string(ARRAY(SELECT a.attname FROM unnest(c.conkey) "
                    "WITH ORDINALITY k(n, o) JOIN pg_attribute a ON a.attrelid = c.conrelid AND a.attnum = k.n "
                    "ORDER BY k.o), ',') FROM pg_constraint c WHERE c.conrelid = "
                    "to_regclass(quote_ident(current_schema()) || '.' || lower($1)) AND c.contype IN ('p', 'u') "
                    "ORDER BY c.conname",
                    {table});
    }

    QString ColonneCle(const QString& table)
    {
        return Lire("SELECT column_name FROM information_schema.columns WHERE table_schema = current_schema() "
                    "AND table_name = lower($1) AND is_identity = 'YES'",
                    {table})
            .value(0)
            .value(0)
            .toString();
    }

    QString Sequence(const QString& table)
    {
        const QString colonne = ColonneCle(table);
        if (colonne.isEmpty())
            return QString();
        return Lire("SELECT pg_get_serial_sequence(quote_ident(current_schema()) || '.' || lower($1), $2)",
                    {table, colonne})
            .value(0)
            .value(0)
            .toString();
    }
};

// Sends the statement for parsing and describing, in one exchange (without
// a synchronisation between the two, a pooler might give the description to
// another server session), behind a savepoint when it is protected.
bool InstructionServeur::EssayerDescription(const std::vector<Oid>& types, bool protegee, ResultatPq& echec)
{
    PGconn* conn = session->conn;
    ++session->compteurs->preparations;
    if (PQenterPipelineMode(conn) != 1)
        moteur.Echec(nullptr);
    const auto ordre = [conn](const char* sql) { PQsendQueryParams(conn, sql, 0, nullptr, nullptr, nullptr, nullptr, 0); };
    if (protegee)
        ordre("SAVEPOINT quarlo_preparation");
    PQsendPrepare(conn, "", texte.constData(), int(types.size()), types.data());
    PQsendDescribePrepared(conn, "");
    if (protegee)
        ordre("RELEASE SAVEPOINT quarlo_preparation");
    PQpipelineSync(conn);
    // Each command's first result (a command has one here), then the end of the exchange.
    std::vector<std::unique_ptr<ResultatPq>> parCommande;
    for (int k = 0; k < (protegee ? 4 : 2); ++k) {
        PGresult* premier = PQgetResult(conn);
        if (!premier)
            break;
        parCommande.push_back(std::make_unique<ResultatPq>(premier));
        for (PGresult* suite = PQgetResult(conn); suite; suite = PQgetResult(conn))
            PQclear(suite);
    }
    for (PGresult* res = PQgetResult(conn); res; res = PQgetResult(conn)) {
        const bool fin = PQresultStatus(res) == PGRES_PIPELINE_SYNC;
        PQclear(res);
        if (fin)
            break;
    }
    PQexitPipelineMode(conn);
    // The first failure, if any: the commands after it were not run.
    for (const auto& resultat : parCommande) {
        if (!Reussi(*resultat)) {
            std::swap(echec.res, resultat->res);
            return false;
        }
    }
    const std::size_t description = protegee ? 2 : 1;
    if (parCommande.size() <= description)
        moteur.Echec(nullptr);
    const PGresult* reponse = *parCommande[description];
    typesParametres.resize(std::size_t(PQnparams(reponse)));
    for (std::size_t i = 0; i < typesParametres.size(); ++i)
        typesParametres[i] = PQparamtype(reponse, int(i));
    return true;
}

void InstructionServeur::Decrire(const std::vector<ValeurParametre>& valeurs)
{
    // The server infers what each parameter is from where it stands. Where
    // nothing says it (a value in a select list), a number bound there is
    // given its kind; inside a group, the first attempt is made behind a
    // savepoint, since a failure would give up the whole group.
    std::vector<Oid> indices(parametres.size(), 0);
    bool avecIndices = false;
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        if (valeurs[i].genre == ValeurParametre::Genre::Entier)
            indices[i] = kOidEntier8;
        else if (valeurs[i].genre == ValeurParametre::Genre::Decimal)
            indices[i] = kOidDecimal8;
        avecIndices = avecIndices || indices[i] != 0;
    }
    const bool protegee = avecIndices && session->EnTransaction();
    ResultatPq echec(nullptr);
    if (EssayerDescription(std::vector<Oid>(parametres.size(), 0), protegee, echec)) {
        decrite = true;
        return;
    }
    const QString etat = Etat(echec);
    if (!avecIndices || (etat != u"42804" && etat != u"42P18"))
        moteur.Echec(echec);
    if (protegee)
        moteur.Executer("ROLLBACK TO SAVEPOINT quarlo_preparation; RELEASE SAVEPOINT quarlo_preparation");
    ResultatPq secondEchec(nullptr);
    if (!EssayerDescription(indices, false, secondEchec))
        moteur.Echec(secondEchec);
    decrite = true;
}

PGresult* InstructionServeur::Lancer(const std::vector<ValeurParametre>& valeurs)
{
    if (!decrite && !parametres.empty())
        Decrire(valeurs);
    std::vector<std::optional<QByteArray>> textes(valeurs.size());
    std::vector<const char*> pointeurs(valeurs.size(), nullptr);
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        textes[i] = TexteParametre(valeurs[i], typesParametres[i]);
        if (textes[i])
            pointeurs[i] = textes[i]->constData();
    }
    PGresult* res = PQexecParams(session->conn, texte.constData(), int(pointeurs.size()), typesParametres.data(),
                                 pointeurs.data(), nullptr, nullptr, 0);
    if (!Reussi(res)) {
        ResultatPq echec(res);
        moteur.Echec(echec);
    }
    return res;
}

} // namespace

std::unique_ptr<Moteur> OuvrirServeur(const QString& chaineConnexion)
{
    const QByteArray chaine = chaineConnexion.toUtf8();
    char* erreur = nullptr;
    PQconninfoOption* options = PQconninfoParse(chaine.constData(), &erreur);
    if (!options) {
        // The string itself is not repeated: it may hold a password.
        const QString texte = erreur ? QString::fromUtf8(erreur).trimmed() : QString();
        PQfreemem(erreur);
        throw Erreur(ErreurBase::Cause::Inaccessible,
                     QStringLiteral("La chaîne de connexion au serveur de base de données n'est pas valide : "
                                    "corrigez le paramètre Connexion de Module_Quarlo.ini."),
                     texte);
    }
    QString service;
    for (const PQconninfoOption* option = options; option->keyword; ++option)
        if (std::strcmp(option->keyword, "service") == 0 && option->val)
            service = QString::fromUtf8(option->val);
    PQconninfoFree(options);
    // The program's defaults first: the connection string may change them,
    // except the encoding, which the layer needs.
    // A server gone silent is noticed within about 30 s whatever the program
    // was doing: waiting for an answer (the keepalives probe after 10 s of
    // silence) or sending (a request the server does not acknowledge
    // within 30 s is given up, where the system would retry for a quarter
    // of an hour).
    const char* const cles[] = {"connect_timeout", "keepalives_idle", "keepalives_interval", "keepalives_count",
                                "tcp_user_timeout", "application_name", "dbname", "client_encoding", nullptr};
    const char* const valeurs[] = {"10", "10", "5", "3", "30000", "Quarlo", chaine.constData(), "UTF8", nullptr};
    PGconn* conn = PQconnectdbParams(cles, valeurs, 1);
    if (!conn)
        throw ErreurBase("La mémoire manque pour se connecter au serveur de base de données.", ErreurBase::Cause::Memoire,
                         QString());
    if (PQstatus(conn) != CONNECTION_OK) {
        const ErreurBase echec = ErreurConnexion(conn, service);
        PQfinish(conn);
        throw echec;
    }
    return std::make_unique<MoteurServeur>(conn);
}
