#include "engine/Base.h"

#include "AttendreDepart.h"
#include "BaseEssai.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <QDir>
#ifndef Q_OS_WIN
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QByteArray kMotDePasse = QByteArrayLiteral("secret d'essai");
const QString kEcrivain = QStringLiteral("--ecrivain");
const QString kLecteur = QStringLiteral("--lecteur");
constexpr int kEcrivains = 8;
constexpr int kLecteurs = 2;
constexpr int kEcrituresParProcessus = 40;
// Each write adds two rows together: a reader that saw one without the other
// would have seen half a transaction.
constexpr int kLignesParEcriture = 2;

QByteArray Contenu(const QString& fichier)
{
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Rows written one transaction each (or `parTransaction` rows together), as
// a user saving records one at a time; Numero counts the origin's rows from 0.
void Ecrire(Connexion& base, const QString& origine, int nombre, unsigned long pauseUs = 0, int parTransaction = 1)
{
    Requete insertion(base);
    for (int i = 0; i < nombre; ++i) {
        Transaction transaction(base);
        for (int j = 0; j < parTransaction; ++j) {
            insertion.SetSql(QStringLiteral("INSERT INTO Journal (Origine, Numero) VALUES (:Origine, :Numero)"));
            insertion.LierTexte(QStringLiteral("origine"), origine);
            insertion.LierEntier(QStringLiteral("NUMERO"), i * parTransaction + j);
            insertion.Executer();
        }
        transaction.Valider();
        if (pauseUs > 0)
            QThread::usleep(pauseUs);
    }
}

int Compter(Connexion& base, const QString& sql)
{
    Requete requete(base);
    requete.SetSql(sql);
    return int(requete.Ouvrir().Premiere().ValeurIndice(0).toLongLong());
}

enum class Liaison { Texte, Entier, Decimal, Nul };

// The failures a user can act on, provoked one by one.
enum class Panne { AutrePoste, LectureSeule, DisquePlein, MotDePasseVide };

// Rows enough for a file of the size a customer keeps (well over 100 KB), with
// no free page: every byte belongs to a page the engine reads.
void RemplirJusqua(Connexion& base, qint64 taille, const QString& fichier)
{
    Requete insertion(base);
    for (int i = 0; QFileInfo(fichier).size() < taille;) {
        Transaction transaction(base);
        for (const int fin = i + 100; i < fin; ++i) {
            insertion.SetSql(QStringLiteral("INSERT INTO Journal (Origine, Numero) VALUES (:Origine, :Numero)"));
            insertion.LierTexte(QStringLiteral("Origine"), QStringLiteral("ligne %1 d'un poste de l'atelier").arg(i));
            insertion.LierEntier(QStringLiteral("Numero"), i);
            insertion.Executer();
        }
        transaction.Valider();
    }
}

// A path names the file, a connection string a server database.
void OuvrirCible(Connexion& base, const QString& cible)
{
    if (EstChaineConnexion(cible))
        base.OuvrirServeur(cible);
    else
        base.Ouvrir(cible, kMotDePasse);
}

// The value column of each binding: the file takes any value in one column,
// a server keeps one kind of value in each.
QString ColonneValeur(Liaison liaison)
{
    if (!EssaiSurServeur())
        return QStringLiteral("V");
    switch (liaison) {
    case Liaison::Entier: return QStringLiteral("VEntier");
    case Liaison::Decimal: return QStringLiteral("VDecimal");
    default: return QStringLiteral("VTexte");
    }
}

// The file's value column has no type: it keeps each value as it was given.
QString CreationValeurs(const Connexion& base)
{
    if (!EssaiSurServeur())
        return QStringLiteral("CREATE TABLE Valeurs (Id INTEGER PRIMARY KEY AUTOINCREMENT, V)");
    return base.CreationTable({QStringLiteral("Valeurs"),
                               {{QStringLiteral("Id"), GenreColonne::CleAuto},
                                {QStringLiteral("VTexte"), GenreColonne::Texte},
                                {QStringLiteral("VEntier"), GenreColonne::Entier},
                                {QStringLiteral("VDecimal"), GenreColonne::Decimal}}});
}

const Table kJournal{QStringLiteral("Journal"),
                     {{QStringLiteral("IdJournal"), GenreColonne::CleAuto},
                      {QStringLiteral("Origine"), GenreColonne::Texte, 20},
                      {QStringLiteral("Numero"), GenreColonne::Entier}}};

#ifndef Q_OS_WIN
// The file descriptors of this process that are TCP sockets.
QSet<int> SocketsTcp()
{
    QSet<int> sockets;
    for (const QFileInfo& lien : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        const int descripteur = lien.fileName().toInt();
        int type = 0;
        socklen_t taille = sizeof type;
        sockaddr_storage adresse{};
        socklen_t tailleAdresse = sizeof adresse;
        if (::getsockopt(descripteur, SOL_SOCKET, SO_TYPE, &type, &taille) == 0 && type == SOCK_STREAM
            && ::getsockname(descripteur, reinterpret_cast<sockaddr*>(&adresse), &tailleAdresse) == 0
            && (adresse.ss_family == AF_INET || adresse.ss_family == AF_INET6))
            sockets.insert(descripteur);
    }
    return sockets;
}
#endif

QStringList EnMinuscules(const QStringList& noms)
{
    QStringList minuscules;
    for (const QString& nom : noms)
        minuscules << nom.toLower();
    return minuscules;
}

} // namespace

Q_DECLARE_METATYPE(Liaison)
Q_DECLARE_METATYPE(Panne)

class TestBase : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier;
    QString fichier;
    std::unique_ptr<SchemaEssai> schema; // on a server
    QString cible;                       // the file, or the server schema's connection string
    Connexion base;

private slots:
    void init()
    {
        fichier = dossier.filePath(QStringLiteral("%1.abs").arg(QTest::currentTestFunction()));
        QFile::remove(fichier);
        if (EssaiSurServeur()) {
            schema = std::make_unique<SchemaEssai>();
            cible = schema->Chaine();
        } else {
            cible = fichier;
        }
        OuvrirCible(base, cible);
        base.ExecuterScript(CreationValeurs(base) + u';' + base.CreationTable(kJournal));
    }

    void cleanup()
    {
        base.Fermer();
        schema.reset();
    }

    void valeursLieesReluesALIdentique_data()
    {
        QTest::addColumn<Liaison>("liaison");
        QTest::addColumn<QVariant>("valeur");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<qint64>("entier");
        QTest::addColumn<double>("decimal");
        QTest::addColumn<bool>("nul");

        QTest::newRow("apostrophe et accents")
            << Liaison::Texte << QVariant(QStringLiteral("Porte d'entrée « Grille de défense » €"))
            << QStringLiteral("Porte d'entrée « Grille de défense » €") << qint64(0) << 0.0 << false;
        QTest::newRow("texte vide n'est pas nul")
            << Liaison::Texte << QVariant(QString()) << QString() << qint64(0) << 0.0 << false;
        QTest::newRow("texte numérique")
            << Liaison::Texte << QVariant(QStringLiteral(" 42 ")) << QStringLiteral(" 42 ") << qint64(42) << 42.0 << false;
        QTest::newRow("texte qui n'est pas un nombre")
            << Liaison::Texte << QVariant(QStringLiteral("abc")) << QStringLiteral("abc") << qint64(0) << 0.0 << false;
        QTest::newRow("entier au-delà de la précision d'un double")
            << Liaison::Entier << QVariant(qint64(9007199254740993)) << QStringLiteral("9007199254740993")
            << qint64(9007199254740993) << 9007199254740992.0 << false;
        QTest::newRow("décimal")
            << Liaison::Decimal << QVariant(1234.5) << QStringLiteral("1234.5") << qint64(1234) << 1234.5 << false;
        QTest::newRow("décimal sans représentation exacte")
            << Liaison::Decimal << QVariant(0.1) << QStringLiteral("0.1") << qint64(0) << 0.1 << false;
        QTest::newRow("grand montant sans exposant")
            << Liaison::Decimal << QVariant(1e6) << QStringLiteral("1000000") << qint64(1000000) << 1e6 << false;
        QTest::newRow("nul") << Liaison::Nul << QVariant() << QString() << qint64(0) << 0.0 << true;
    }

    void valeursLieesReluesALIdentique()
    {
        QFETCH(Liaison, liaison);
        QFETCH(QVariant, valeur);
        Requete requete(base);
        const QString colonne = ColonneValeur(liaison);
        requete.SetSql(QStringLiteral("INSERT INTO Valeurs (%1) VALUES (:V)").arg(colonne));
        const QString nom = QStringLiteral("v");
        switch (liaison) {
        case Liaison::Texte: requete.LierTexte(nom, valeur.toString()); break;
        case Liaison::Entier: requete.LierEntier(nom, valeur.toLongLong()); break;
        case Liaison::Decimal: requete.LierDecimal(nom, valeur.toDouble()); break;
        case Liaison::Nul: requete.LierNul(nom); break;
        }
        QCOMPARE(requete.Executer(), 1);

        requete.SetSql(QStringLiteral("SELECT %1 AS V FROM Valeurs").arg(colonne));
        const Resultat& lignes = requete.Ouvrir();
        QCOMPARE(lignes.NombreLignes(), 1);
        const Ligne& ligne = lignes.Premiere();
        QTEST(ligne.Texte(QStringLiteral("V")), "texte");
        QTEST(ligne.Entier(QStringLiteral("V")), "entier");
        QTEST(ligne.Decimal(QStringLiteral("V")), "decimal");
        QTEST(ligne.EstNul(QStringLiteral("V")), "nul");
    }

    void nomsSansEgardALaCasse()
    {
        Requete requete(base);
        requete.SetSql(QStringLiteral("INSERT INTO Journal (Origine, Numero) VALUES (:idPose, :IdPose)"));
        requete.LierTexte(QStringLiteral(":IDPOSE"), QStringLiteral("7"));
        requete.Executer();

        requete.SetSql(QStringLiteral("SELECT Origine AS Cp, Numero, Numero AS numero FROM Journal WHERE Numero = :Typetva"));
        requete.LierTexte(QStringLiteral("typeTVA"), QStringLiteral("7")); // a key carried as text
        const Resultat& lignes = requete.Ouvrir();
        QCOMPARE(lignes.NombreLignes(), 1);
        QCOMPARE(lignes.Premiere().Texte(QStringLiteral("cp")), QStringLiteral("7"));
        QCOMPARE(lignes.Premiere().Entier(QStringLiteral("NUMERO")), 7);
        QCOMPARE(lignes.Premiere().NombreColonnes(), 3);
        QVERIFY_THROWS_EXCEPTION(ErreurBase, lignes.Premiere().Texte(QStringLiteral("Absente")));
    }

    void parametreNonLieNomme()
    {
        Requete requete(base);
        requete.SetSql(QStringLiteral("INSERT INTO Journal (Origine, Numero) VALUES (:Origine, :Numero)"));
        requete.LierTexte(QStringLiteral("Origine"), QStringLiteral("a"));
        try {
            requete.Executer();
            QFAIL("an unbound parameter was accepted");
        } catch (const ErreurBase& erreur) {
            QVERIFY2(erreur.Message().contains(QStringLiteral(":Numero")), qPrintable(erreur.Message()));
        }
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal")), 0);

        // An empty name is no parameter's.
        requete.LierTexte(QString(), QStringLiteral("b"));
        QVERIFY_THROWS_EXCEPTION(ErreurBase, requete.Executer());

        // A new text forgets the values bound for the previous one.
        requete.LierEntier(QStringLiteral("Numero"), 1);
        requete.Executer();
        requete.SetSql(requete.Sql());
        QVERIFY_THROWS_EXCEPTION(ErreurBase, requete.Executer());
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal")), 1);
    }

    void instructionPrepareeReutilisee()
    {
        const QString sql = QStringLiteral("SELECT Origine FROM Journal WHERE Numero = :Numero");
        QCOMPARE(base.Preparee(sql).get(), base.Preparee(sql).get());
        Ecrire(base, QStringLiteral("local"), 3);

        Requete requete(base);
        requete.SetSql(QStringLiteral("UPDATE Journal SET Origine = :Origine WHERE Numero = :Numero"));
        for (int numero = 0; numero < 3; ++numero) {
            requete.LierTexte(QStringLiteral("Origine"), QStringLiteral("ligne %1").arg(numero));
            requete.LierEntier(QStringLiteral("Numero"), numero);
            QCOMPARE(requete.Executer(), 1);
        }
        requete.SetSql(sql);
        for (int numero = 0; numero < 3; ++numero) {
            requete.LierEntier(QStringLiteral("Numero"), numero);
            QCOMPARE(requete.Ouvrir().Premiere().Texte(QStringLiteral("Origine")), QStringLiteral("ligne %1").arg(numero));
        }
        // A statement left in the middle of a failure is usable again.
        requete.SetSql(QStringLiteral("SELECT Origine FROM Journal WHERE abs(CAST(:Numero AS BIGINT)) = Numero"));
        requete.LierEntier(QStringLiteral("Numero"), std::numeric_limits<qint64>::min());
        QVERIFY_THROWS_EXCEPTION(ErreurBase, requete.Ouvrir());
        requete.LierEntier(QStringLiteral("Numero"), 1);
        QCOMPARE(requete.Ouvrir().Premiere().Texte(QStringLiteral("Origine")), QStringLiteral("ligne 1"));
    }

    void lignesModifiees()
    {
        Ecrire(base, QStringLiteral("local"), 3);
        Requete requete(base);
        requete.SetSql(QStringLiteral("UPDATE Journal SET Origine = 'x'"));
        QCOMPARE(requete.Executer(), 3);
        QCOMPARE(base.LignesModifiees(), 3);
        requete.SetSql(QStringLiteral("CREATE TABLE Autre (Id INTEGER)"));
        QCOMPARE(requete.Executer(), 0);
        requete.SetSql(QStringLiteral("DELETE FROM Journal WHERE Numero > :Numero"));
        requete.LierEntier(QStringLiteral("Numero"), 0);
        QCOMPARE(requete.Executer(), 2);
    }

    void uneSeuleInstructionParRequete()
    {
        Ecrire(base, QStringLiteral("local"), 1);
        Requete requete(base);
        requete.SetSql(QStringLiteral("DELETE FROM Journal WHERE Numero = 5; DELETE FROM Journal"));
        QVERIFY_THROWS_EXCEPTION(ErreurBase, requete.Executer());
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal")), 1);
        requete.SetSql(QStringLiteral("DELETE FROM Journal WHERE Numero = 5 ; -- fin\n"));
        QCOMPARE(requete.Executer(), 0);
    }

    void transactionAnnuleeSansValidation()
    {
        try {
            Transaction transaction(base);
            Ecrire(base, QStringLiteral("perdu"), 5);
            throw ErreurBase("échec au milieu du groupe");
        } catch (const ErreurBase&) {
        }
        QVERIFY(!base.EnTransaction());
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal")), 0);

        {
            Transaction transaction(base);
            Ecrire(base, QStringLiteral("externe"), 2);
            {
                Transaction interne(base);
                Ecrire(base, QStringLiteral("interne"), 3);
            }
            {
                Transaction interne(base);
                Ecrire(base, QStringLiteral("valide"), 1);
                interne.Valider();
            }
            transaction.Valider();
        }
        QVERIFY(!base.EnTransaction());
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal WHERE Origine = 'externe'")), 2);
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal WHERE Origine = 'interne'")), 0);
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal WHERE Origine = 'valide'")), 1);
    }

    void fichierRefuseEtIntact_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QByteArray>("motDePasse");
        QTest::newRow("mot de passe incorrect") << QByteArray() << QByteArrayLiteral("autre secret");
        QTest::newRow("fichier texte") << QByteArrayLiteral("Ceci n'est pas une base de données.\r\n").repeated(200)
                                       << kMotDePasse;
    }

    void fichierRefuseEtIntact()
    {
        SUR_LE_FICHIER_SEULEMENT();
        QFETCH(QByteArray, contenu);
        QFETCH(QByteArray, motDePasse);
        Ecrire(base, QStringLiteral("local"), 2);
        base.Fermer();
        if (!contenu.isEmpty()) {
            QFile f(fichier);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(contenu);
        }
        const QByteArray avant = Contenu(fichier);

        try {
            base.Ouvrir(fichier, motDePasse);
            QFAIL("the file was accepted");
        } catch (const ErreurBase& erreur) {
            QCOMPARE(erreur.Message(),
                     QStringLiteral("Impossible d'ouvrir la base de données %1 : mot de passe incorrect ou "
                                    "fichier qui n'est pas une base de données.").arg(QDir::toNativeSeparators(fichier)));
        }
        QVERIFY(!base.EstConnectee());
        QCOMPARE(Contenu(fichier), avant);
        QVERIFY(!QFile::exists(fichier + QStringLiteral("-journal")));
    }

    void fichierChiffre()
    {
        SUR_LE_FICHIER_SEULEMENT();
        Ecrire(base, QStringLiteral("local"), 2);
        base.Fermer();
        const QByteArray entete = Contenu(fichier).left(16);
        QCOMPARE(entete.size(), 16);
        QVERIFY(entete != QByteArray("SQLite format 3\0", 16));

        base.Ouvrir(fichier, kMotDePasse);
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal")), 2);
    }

    void structure()
    {
        QVERIFY(base.TableExiste(QStringLiteral("journal")));
        QVERIFY(!base.TableExiste(QStringLiteral("Absente")));
        Ecrire(base, QStringLiteral("local"), 2);
        base.AjouterColonne(QStringLiteral("JOURNAL"), {QStringLiteral("Siret"), GenreColonne::Texte, 14});
        QCOMPARE(EnMinuscules(base.Colonnes(QStringLiteral("Journal"))),
                 QStringList({"idjournal", "origine", "numero", "siret"}));
        if (!EssaiSurServeur())
            QCOMPARE(base.Colonnes(QStringLiteral("Journal")), QStringList({"IdJournal", "Origine", "Numero", "Siret"}));
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal WHERE Siret IS NULL")), 2);
        QVERIFY(base.Colonnes(QStringLiteral("Absente")).isEmpty());

        // A query run again after a change of its table, here or by another
        // copy of the program, reads the columns the table has now.
        Requete tout(base);
        tout.SetSql(QStringLiteral("SELECT * FROM Valeurs"));
        tout.Ouvrir();
        const QString v = ColonneValeur(Liaison::Entier);
        base.ExecuterScript(QStringLiteral("INSERT INTO Valeurs (%1) VALUES (1)").arg(v));
        QCOMPARE(tout.Ouvrir().Premiere().Entier(v), 1);
        Connexion autre;
        OuvrirCible(autre, cible);
        autre.ExecuterScript(QStringLiteral("DROP TABLE Valeurs; CREATE TABLE Valeurs (Id INTEGER PRIMARY KEY, W INTEGER);"
                                            "INSERT INTO Valeurs (Id, W) VALUES (1, 2)"));
        QCOMPARE(tout.Ouvrir().Premiere().Entier(QStringLiteral("W")), 2);
        QVERIFY_THROWS_EXCEPTION(ErreurBase, tout.Ouvrir().Premiere().Entier(v));
    }

    void dernierIdentifiant()
    {
        QCOMPARE(base.DernierIdentifiant(QStringLiteral("Valeurs")), QString());
        Ecrire(base, QStringLiteral("local"), 3);
        QCOMPARE(base.DernierIdentifiant(QStringLiteral("journal")), QStringLiteral("3"));

        // Another copy inserts after us: our key stays ours, a fresh
        // connection reads the table's counter.
        Connexion autre;
        OuvrirCible(autre, cible);
        Ecrire(autre, QStringLiteral("autre"), 1);
        QCOMPARE(base.DernierIdentifiant(QStringLiteral("Journal")), QStringLiteral("3"));
        QCOMPARE(autre.DernierIdentifiant(QStringLiteral("Journal")), QStringLiteral("4"));
        Connexion troisieme;
        OuvrirCible(troisieme, cible);
        QCOMPARE(troisieme.DernierIdentifiant(QStringLiteral("Journal")), QStringLiteral("4"));
    }

    void baseEndommageeRefuseeALOuverture_data()
    {
        QTest::addColumn<qint64>("position");
        QTest::addColumn<qint64>("taille"); // what is left of the file; -1 for all
        QTest::newRow("3000") << qint64(3000) << qint64(-1);
        QTest::newRow("60000") << qint64(60000) << qint64(-1);
        QTest::newRow("98000") << qint64(98000) << qint64(-1);
        // A copy that failed, a full share: an emptied file once held the data.
        QTest::newRow("vidée") << qint64(-1) << qint64(0);
        QTest::newRow("trop courte") << qint64(-1) << qint64(100);
    }

    // One damaged byte anywhere in the file: the key opens the first page,
    // the other pages tell. The file is refused at once and left as it is;
    // an emptied one too, never taken for a new one.
    void baseEndommageeRefuseeALOuverture()
    {
        SUR_LE_FICHIER_SEULEMENT();
        QFETCH(qint64, position);
        QFETCH(qint64, taille);
        RemplirJusqua(base, 110000, fichier);
        base.Fermer();
        QByteArray octets = Contenu(fichier);
        if (position >= 0)
            octets[position] = char(octets[position] ^ 0x5A);
        if (taille >= 0)
            octets.truncate(taille);
        {
            QFile f(fichier);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(octets);
        }
        try {
            base.Ouvrir(fichier, kMotDePasse);
            QFAIL("the damaged file was opened");
        } catch (const ErreurBase& erreur) {
            QVERIFY2(erreur.Message().startsWith(QStringLiteral("La base %1 est endommagée").arg(QDir::toNativeSeparators(fichier))),
                     qPrintable(erreur.Message()));
            QVERIFY2(erreur.Message().contains(QStringLiteral("copie de sauvegarde")), qPrintable(erreur.Message()));
        }
        QVERIFY(!base.EstConnectee());
        QCOMPARE(Contenu(fichier), octets);
        QVERIFY(!QFile::exists(fichier + QStringLiteral("-journal")));
    }

    void echecsExpliquesEnFrancais_data()
    {
        QTest::addColumn<Panne>("panne");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("autre poste") << Panne::AutrePoste << QStringLiteral("est utilisée par un autre poste ; réessayez.");
        QTest::newRow("lecture seule") << Panne::LectureSeule << QStringLiteral("est en lecture seule");
        QTest::newRow("disque plein") << Panne::DisquePlein << QStringLiteral("le disque est plein");
        QTest::newRow("mot de passe vide") << Panne::MotDePasseVide << QStringLiteral("le mot de passe est vide");
    }

    void echecsExpliquesEnFrancais()
    {
        SUR_LE_FICHIER_SEULEMENT();
        QFETCH(Panne, panne);
        QFETCH(QString, phrase);
        Connexion autre;
        std::optional<Transaction> ecritureDeLAutre;
        QString message;
        try {
            switch (panne) {
            case Panne::AutrePoste:
                autre.Ouvrir(fichier, kMotDePasse);
                ecritureDeLAutre.emplace(autre);
                base.ExecuterScript(QStringLiteral("PRAGMA busy_timeout = 50"));
                Ecrire(base, QStringLiteral("local"), 1);
                break;
            case Panne::LectureSeule:
                base.ExecuterScript(QStringLiteral("PRAGMA query_only = 1"));
                Ecrire(base, QStringLiteral("local"), 1);
                break;
            case Panne::DisquePlein:
                base.ExecuterScript(QStringLiteral("PRAGMA max_page_count = 8"));
                RemplirJusqua(base, 1000000, fichier);
                break;
            case Panne::MotDePasseVide:
                base.Fermer();
                base.Ouvrir(fichier, QByteArray());
                break;
            }
            QFAIL("the failure did not happen");
        } catch (const ErreurBase& erreur) {
            message = erreur.Message();
        }
        QVERIFY2(message.contains(QDir::toNativeSeparators(fichier)) && message.contains(phrase), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("not an error")), qPrintable(message));
    }

    void baseSupprimeeOuRemplacee_data()
    {
        QTest::addColumn<bool>("remplacee");
        QTest::newRow("supprimée") << false;
        QTest::newRow("remplacée") << true;
    }

    // The handle still reads the file it opened: a write there would be lost.
    void baseSupprimeeOuRemplacee()
    {
        SUR_LE_FICHIER_SEULEMENT();
#ifdef Q_OS_WIN
        QSKIP("Windows refuses to delete or replace a file the program holds open");
#endif
        QFETCH(bool, remplacee);
        Ecrire(base, QStringLiteral("local"), 2);
        QVERIFY(QFile::remove(fichier));
        if (remplacee) {
            Connexion autre;
            autre.Ouvrir(fichier, kMotDePasse);
        }
        try {
            Ecrire(base, QStringLiteral("perdu"), 1);
            QFAIL("the write went to a file that is gone");
        } catch (const ErreurBase& erreur) {
            QCOMPARE(erreur.Raison(), ErreurBase::Cause::Deplacee);
            QVERIFY2(erreur.Message().startsWith(QStringLiteral("La base %1 a été supprimée, déplacée ou remplacée").arg(QDir::toNativeSeparators(fichier))),
                     qPrintable(erreur.Message()));
        }
    }

    void clesTexteCommeSurLeFichier_data()
    {
        QTest::addColumn<QStringList>("cles");
        QTest::addColumn<int>("lignes");
        QTest::newRow("nombre") << QStringList{"7"} << 1;
        QTest::newRow("blancs autour") << QStringList{" 7 "} << 1;
        QTest::newRow("zéros et signe") << QStringList{"+0007"} << 1;
        QTest::newRow("décimal entier") << QStringList{"7.0"} << 1;
        QTest::newRow("exposant") << QStringList{"1.2e1"} << 1;
        QTest::newRow("décimal") << QStringList{"7.5"} << 0;
        QTest::newRow("vide") << QStringList{""} << 0;
        QTest::newRow("lettres") << QStringList{"abc"} << 0;
        QTest::newRow("chiffres et lettres") << QStringList{"7abc"} << 0;
        QTest::newRow("apostrophe") << QStringList{"7' OR '1'='1"} << 0;
        QTest::newRow("trop grand") << QStringList{"99999999999"} << 0;
        QTest::newRow("liste") << QStringList{"7", "abc", "", "12", "7"} << 2;
        QTest::newRow("liste vide") << QStringList{} << 0;
    }

    // Keys travel as text: compared with an integer column they find the rows
    // the file finds, and a text that is no number finds none, without error.
    void clesTexteCommeSurLeFichier()
    {
        QFETCH(QStringList, cles);
        QFETCH(int, lignes);
        for (const int numero : {7, 12}) {
            Requete insertion(base);
            insertion.SetSql(QStringLiteral("INSERT INTO Journal (Origine, Numero) VALUES ('x', :Numero)"));
            insertion.LierEntier(QStringLiteral("Numero"), numero);
            insertion.Executer();
        }
        Requete requete(base);
        if (cles.size() == 1) {
            requete.SetSql(QStringLiteral("SELECT IdJournal FROM Journal WHERE Numero = :Cle"));
            requete.LierTexte(QStringLiteral("Cle"), cles.first());
            QCOMPARE(requete.Ouvrir().NombreLignes(), lignes);
            requete.SetSql(QStringLiteral("UPDATE Journal SET Origine = 'y' WHERE Numero = :Cle"));
            requete.LierTexte(QStringLiteral("Cle"), cles.first());
            QCOMPARE(requete.Executer(), lignes);
        }
        requete.SetSql(QStringLiteral("SELECT IdJournal FROM Journal WHERE Numero IN (:Cles) AND Origine <> :Autre"));
        requete.LierTexte(QStringLiteral("Autre"), QStringLiteral("z")); // bound before the list: kept
        requete.LierListe(QStringLiteral("Cles"), cles);
        QCOMPARE(requete.Ouvrir().NombreLignes(), lignes);
        // A list the text names twice, bound once: each place holds the whole list.
        requete.SetSql(QStringLiteral("SELECT IdJournal FROM Journal WHERE Numero IN (:Cles) AND Origine <> :Autre "
                                      "AND (IdJournal < 0 OR Numero IN (:Cles))"));
        requete.LierListe(QStringLiteral("Cles"), cles);
        requete.LierTexte(QStringLiteral("Autre"), QStringLiteral("z"));
        QCOMPARE(requete.Ouvrir().NombreLignes(), lignes);
    }

    // Texts sort and match as on the file: by their characters' codes, nulls
    // first when ascending; LIKE ignores the case of ASCII letters only and
    // has no escape character.
    void textesCommeSurLeFichier()
    {
        const QStringList origines = {"abc", "ABC", "Abd", "école", "École", "a\\b", "a_b", "zèbre"};
        Requete requete(base);
        requete.SetSql(QStringLiteral("INSERT INTO Journal (Origine, Numero) VALUES (:Origine, 1)"));
        for (const QString& origine : origines) {
            requete.LierTexte(QStringLiteral("Origine"), origine);
            requete.Executer();
        }
        requete.SetSql(QStringLiteral("INSERT INTO Journal (Origine, Numero) VALUES (:Origine, 1)"));
        requete.LierNul(QStringLiteral("Origine"));
        requete.Executer();
        const auto lire = [this](const QString& sql, const std::optional<QString>& motif = std::nullopt) {
            Requete lecture(base);
            lecture.SetSql(sql);
            if (motif)
                lecture.LierTexte(QStringLiteral("Motif"), *motif);
            QStringList textes;
            for (const Ligne& ligne : lecture.Ouvrir())
                textes << (ligne.EstNul(QStringLiteral("Origine")) ? QStringLiteral("<nul>") : ligne.Texte(QStringLiteral("Origine")));
            return textes;
        };
        QCOMPARE(lire(QStringLiteral("SELECT Origine FROM Journal ORDER BY Origine")),
                 QStringList({"<nul>", "ABC", "Abd", "a\\b", "a_b", "abc", "zèbre", "École", "école"}));
        QCOMPARE(lire(QStringLiteral("SELECT Origine FROM Journal ORDER BY Numero, Origine DESC")),
                 QStringList({"école", "École", "zèbre", "abc", "a_b", "a\\b", "Abd", "ABC", "<nul>"}));
        const QString sqlMotif = QStringLiteral("SELECT Origine FROM Journal WHERE Origine LIKE :Motif ORDER BY Origine");
        QCOMPARE(lire(sqlMotif, QStringLiteral("%bc")), QStringList({"ABC", "abc"}));
        QCOMPARE(lire(sqlMotif, QStringLiteral("éc%")), QStringList({"école"}));
        QCOMPARE(lire(sqlMotif, QStringLiteral("a\\%")), QStringList({"a\\b"}));
        QCOMPARE(lire(sqlMotif, QStringLiteral("a_b")), QStringList({"a\\b", "a_b"}));
        QCOMPARE(lire(QStringLiteral("SELECT Origine FROM Journal WHERE Origine LIKE 'AB%' ORDER BY Origine")),
                 QStringList({"ABC", "Abd", "abc"}));
    }

    // One statement is one count, whatever its rows; a list of keys is one statement.
    void instructionsComptees()
    {
        Ecrire(base, QStringLiteral("local"), 3);
        Requete requete(base);
        requete.SetSql(QStringLiteral("SELECT Origine FROM Journal WHERE Numero = :Numero"));
        requete.LierEntier(QStringLiteral("Numero"), 1);
        requete.Ouvrir();
        const quint64 avant = base.Instructions();
        requete.LierEntier(QStringLiteral("Numero"), 2);
        requete.Ouvrir();
        QCOMPARE(base.Instructions(), avant + 1);
        QStringList cles;
        for (int i = 0; i < 300; ++i)
            cles << QString::number(i);
        requete.SetSql(QStringLiteral("SELECT Origine FROM Journal WHERE Numero IN (:Cles)"));
        requete.LierListe(QStringLiteral("Cles"), cles);
        QCOMPARE(requete.Ouvrir().NombreLignes(), 3);
        QCOMPARE(base.Instructions(), avant + 2);
        cles << QStringLiteral("x");
        QVERIFY_THROWS_EXCEPTION(ErreurBase, requete.LierListe(QStringLiteral("Cles"), cles + cles));

        // A statement with as many parameters as the back end says it takes runs.
        QStringList noms;
        for (int i = 0; i < base.ParametresMax(); ++i)
            noms << QStringLiteral(":p%1").arg(i);
        requete.SetSql(QStringLiteral("SELECT Origine FROM Journal WHERE Numero IN (%1)").arg(noms.join(u',')));
        for (int i = 0; i < base.ParametresMax(); ++i)
            requete.LierPosition(i, QVariant(qint64(i)));
        QCOMPARE(requete.Ouvrir().NombreLignes(), 3);
    }

    void echecsDuServeurExpliques_data()
    {
        QTest::addColumn<QString>("panne");
        QTest::addColumn<int>("cause");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("injoignable") << "injoignable" << int(ErreurBase::Cause::Inaccessible)
                                     << QStringLiteral("Impossible de joindre le serveur");
        QTest::newRow("base inconnue") << "base" << int(ErreurBase::Cause::Inconnue)
                                       << QStringLiteral("n'existe pas : vérifiez le nom de la base");
        QTest::newRow("mot de passe") << "mot de passe" << int(ErreurBase::Cause::Acces)
                                      << QStringLiteral("ou son mot de passe");
        QTest::newRow("sans droits") << "droits" << int(ErreurBase::Cause::Acces)
                                     << QStringLiteral("n'a pas les droits nécessaires");
        QTest::newRow("chaîne invalide") << "chaîne" << int(ErreurBase::Cause::Inaccessible)
                                         << QStringLiteral("La chaîne de connexion au serveur");
        QTest::newRow("service inconnu") << "service" << int(ErreurBase::Cause::Inaccessible)
                                         << QStringLiteral("le service « quarlo_absent » n'est décrit dans aucun");
        QTest::newRow("certificat d'un autre nom") << "nom du certificat" << int(ErreurBase::Cause::Inaccessible)
                                                   << QStringLiteral("n'est pas établi à son nom");
        QTest::newRow("certificat racine absent") << "certificat racine" << int(ErreurBase::Cause::Inaccessible)
                                                  << QStringLiteral("le certificat racine qui doit vérifier le serveur");
        QTest::newRow("regroupeur en mode statement") << "regroupeur" << int(ErreurBase::Cause::Acces)
                                                      << QStringLiteral("est réglé en mode « statement »");
    }

    // What a workstation's user can act on, in one French sentence naming the
    // database and its server, the server's words on a second line.
    void echecsDuServeurExpliques()
    {
        SUR_LE_SERVEUR_SEULEMENT();
        QFETCH(QString, panne);
        QFETCH(int, cause);
        QFETCH(QString, phrase);
        const QString role = QStringLiteral("essai_%1").arg(QCoreApplication::applicationPid());
        base.ExecuterScript(QStringLiteral("DROP ROLE IF EXISTS %1; CREATE ROLE %1 LOGIN PASSWORD 'juste';"
                                           "GRANT USAGE ON SCHEMA %2 TO %1")
                                .arg(role, schema->Nom()));
        QString chaine = cible;
        const QString tcp = ReglageEssai("QUARLO_ESSAI_TCP");
        const QString regroupeur = ReglageEssai("QUARLO_ESSAI_REGROUPEUR");
        QTemporaryDir services;
        if ((panne.contains(u"certificat") && tcp.isEmpty()) || (panne == u"regroupeur" && regroupeur.isEmpty()))
            QSKIP("the cluster of scripts/serveur-essai.sh only (TCP with TLS, PgBouncer)");
        if (panne == u"service") {
            QFile fichierServices(services.filePath(QStringLiteral("services.conf")));
            QVERIFY(fichierServices.open(QIODevice::WriteOnly));
            fichierServices.write("[quarlo]\nhost=/nulle/part\n");
            qputenv("PGSERVICEFILE", QFile::encodeName(fichierServices.fileName()));
            chaine = QStringLiteral("service=quarlo_absent");
        } else if (panne == u"nom du certificat") {
            chaine = tcp + QStringLiteral(" sslmode=verify-full sslrootcert=%1").arg(ReglageEssai("QUARLO_ESSAI_CERTIFICAT"));
        } else if (panne == u"certificat racine") {
            chaine = tcp + QStringLiteral(" sslmode=verify-ca sslrootcert=/nulle/part/racine.crt");
        } else if (panne == u"regroupeur") {
            chaine = regroupeur + QStringLiteral(" dbname=essai_instruction");
        } else if (panne == u"injoignable")
            chaine += QStringLiteral(" host=/nulle/part");
        else if (panne == u"base")
            chaine += QStringLiteral(" dbname=quarlo_absente");
        else if (panne == u"mot de passe")
            chaine += QStringLiteral(" user=%1 password=faux").arg(role);
        else if (panne == u"droits")
            chaine += QStringLiteral(" user=%1 password=juste").arg(role);
        else
            chaine = QStringLiteral("host='sans fin");
        QString message;
        try {
            Connexion autre;
            autre.OuvrirServeur(chaine);
            Ecrire(autre, QStringLiteral("refusé"), 1);
            QFAIL("the failure did not happen");
        } catch (const ErreurBase& erreur) {
            message = erreur.Message();
            QCOMPARE(int(erreur.Raison()), cause);
        }
        qunsetenv("PGSERVICEFILE");
        base.ExecuterScript(QStringLiteral("REVOKE ALL ON SCHEMA %2 FROM %1; DROP ROLE %1").arg(role, schema->Nom()));
        QVERIFY2(message.contains(phrase), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\n(PostgreSQL : ")), qPrintable(message));
        // A service whose description is missing is named, its server being unknown.
        const QString designation = panne == u"service" ? QStringLiteral("du service « ") : QStringLiteral("du serveur « ");
        QVERIFY2(panne == u"chaîne" || message.contains(designation), qPrintable(message));
    }

    // A server gone silent is noticed whatever the program was doing: the
    // connection's socket gives up a request unacknowledged for 30 s and
    // probes a silent link after 10 s; a write group may not hold the other
    // workstations longer than its statements' 30 s, nor a minute once its
    // workstation is lost. The settings of the group are its own: a pooler
    // in transaction mode hands the next group another server session.
    void serveurSilencieuxRemarque()
    {
        SUR_LE_SERVEUR_SEULEMENT();
        const QString tcp = ReglageEssai("QUARLO_ESSAI_TCP");
        if (tcp.isEmpty())
            QSKIP("the cluster of scripts/serveur-essai.sh only (TCP)");
#ifndef Q_OS_WIN
        const QSet<int> avant = SocketsTcp();
#endif
        Connexion distante;
        distante.OuvrirServeur(tcp);
        // Windows' libpq sets its keep-alives through calls of its own and knows no user timeout.
#ifndef Q_OS_WIN
        const QSet<int> nouvelles = SocketsTcp() - avant;
        QCOMPARE(nouvelles.size(), 1);
        const int socket = *nouvelles.cbegin();
        const auto option = [socket](int niveau, int nom) {
            int valeur = -1;
            socklen_t taille = sizeof valeur;
            return ::getsockopt(socket, niveau, nom, &valeur, &taille) == 0 ? valeur : -1;
        };
        QCOMPARE(option(IPPROTO_TCP, TCP_USER_TIMEOUT), 30000);
        QCOMPARE(option(SOL_SOCKET, SO_KEEPALIVE), 1);
        QCOMPARE(option(IPPROTO_TCP, TCP_KEEPIDLE), 10);
#endif

        const auto reglage = [&distante](const char* nom) {
            Requete requete(distante);
            requete.SetSql(QStringLiteral("SELECT current_setting('%1') AS Valeur").arg(QLatin1String(nom)));
            return requete.Ouvrir().Premiere().Texte(QStringLiteral("Valeur"));
        };
        {
            Transaction groupe(distante);
            QCOMPARE(reglage("statement_timeout"), QStringLiteral("30s"));
            QCOMPARE(reglage("lock_timeout"), QStringLiteral("10s"));
            QCOMPARE(reglage("idle_in_transaction_session_timeout"), QStringLiteral("1min"));
        }
        QCOMPARE(reglage("statement_timeout"), QStringLiteral("0"));
    }

    // The server goes away: the group in progress is lost whole, the user is
    // told, and the next statement finds the server again.
    void connexionPerdueSansDemiEcriture()
    {
        SUR_LE_SERVEUR_SEULEMENT();
        Ecrire(base, QStringLiteral("avant"), 1);
        Requete requete(base);
        requete.SetSql(QStringLiteral("SELECT pg_backend_pid() AS Processus"));
        const QString processus = requete.Ouvrir().Premiere().Texte(QStringLiteral("Processus"));
        const auto couper = [&processus] {
            Connexion admin;
            admin.OuvrirServeur(ServeurEssai());
            admin.ExecuterScript(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(processus));
        };
        try {
            Transaction transaction(base);
            Ecrire(base, QStringLiteral("perdu"), 1);
            couper();
            Ecrire(base, QStringLiteral("perdu"), 1);
            transaction.Valider();
            QFAIL("a group went on after its connection was lost");
        } catch (const ErreurBase& erreur) {
            QCOMPARE(erreur.Raison(), ErreurBase::Cause::ConnexionPerdue);
            QVERIFY2(erreur.Message().contains(QStringLiteral("a été perdue")), qPrintable(erreur.Message()));
        }
        QVERIFY(!base.EnTransaction());
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal")), 1);
        requete.SetSql(QStringLiteral("SELECT pg_backend_pid() AS Processus"));
        QVERIFY(requete.Ouvrir().Premiere().Texte(QStringLiteral("Processus")) != processus);
    }

    void plusieursProcessusSansPerte()
    {
        // Eight copies write at once while two others read: they all start
        // together once each has its connection.
        std::vector<std::unique_ptr<QProcess>> processus;
        const int lignesAttendues = kEcrivains * kEcrituresParProcessus * kLignesParEcriture;
        for (int i = 0; i < kEcrivains + kLecteurs; ++i) {
            const QStringList arguments = i < kEcrivains
                                              ? QStringList{kEcrivain, cible, QStringLiteral("copie%1").arg(i)}
                                              : QStringList{kLecteur, cible, QString::number(lignesAttendues)};
            processus.push_back(std::make_unique<QProcess>());
            processus.back()->start(QCoreApplication::applicationFilePath(), arguments);
        }
        for (const auto& copie : processus) {
            QVERIFY(copie->waitForReadyRead(30000));
            QCOMPARE(copie->readLine().trimmed(), QByteArray("pret"));
        }
        for (const auto& copie : processus) {
            copie->write("go\n");
            QVERIFY(copie->waitForBytesWritten(30000));
        }
        for (const auto& copie : processus) {
            QVERIFY(copie->waitForFinished(120000));
            QVERIFY2(copie->exitStatus() == QProcess::NormalExit && copie->exitCode() == 0,
                     copie->readAllStandardError().constData());
        }
        // The readers saw the table grow, not only its final state.
        for (int i = kEcrivains; i < kEcrivains + kLecteurs; ++i) {
            const QByteArray etats = processus[std::size_t(i)]->readAllStandardOutput().trimmed();
            QVERIFY2(etats.toInt() > 1, etats.constData());
        }

        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal")), lignesAttendues);
        int entrelaces = 0;
        for (int i = 0; i < kEcrivains; ++i) {
            const QString origine = QStringLiteral("'copie%1'").arg(i);
            QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(DISTINCT Numero) FROM Journal WHERE Origine = ") + origine),
                     kEcrituresParProcessus * kLignesParEcriture);
            if (Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal, (SELECT MIN(IdJournal) AS Debut, "
                                             "MAX(IdJournal) AS Fin FROM Journal WHERE Origine = %1) AS Bornes "
                                             "WHERE IdJournal BETWEEN Debut AND Fin AND Origine <> %1")
                            .arg(origine)) > 0)
                ++entrelaces;
        }
        qInfo("%d écrivains sur %d entrelacés avec d'autres", entrelaces, kEcrivains);
        // The writers really alternated: a copy waiting for the lock may
        // sleep through all the writes of a quick one, but not of every one.
        QVERIFY(entrelaces >= 2);
    }
};

namespace {

int Ecrivain(const QString& cible, const QString& origine)
{
    Connexion base;
    OuvrirCible(base, cible);
    AttendreDepart();
    Ecrire(base, origine, kEcrituresParProcessus, 1000, kLignesParEcriture);
    return 0;
}

// Reads until every row is there; each reading must show whole writes and
// never fewer rows than the one before. Prints how many different counts it saw.
int Lecteur(const QString& cible, int lignesAttendues)
{
    Connexion base;
    OuvrirCible(base, cible);
    AttendreDepart();
    Requete lecture(base);
    QSet<qint64> etats;
    qint64 precedent = 0;
    QElapsedTimer chrono;
    chrono.start();
    while (precedent < lignesAttendues) {
        if (chrono.elapsed() > 60000) {
            fprintf(stderr, "lecteur : %lld lignes sur %d après une minute\n", precedent, lignesAttendues);
            return 1;
        }
        lecture.SetSql(QStringLiteral("SELECT Origine, COUNT(*) AS Nombre, MAX(Numero) AS Dernier FROM Journal GROUP BY Origine"));
        qint64 total = 0;
        for (const Ligne& ligne : lecture.Ouvrir()) {
            const qint64 nombre = ligne.Entier(QStringLiteral("Nombre"));
            if (nombre % kLignesParEcriture != 0 || nombre != ligne.Entier(QStringLiteral("Dernier")) + 1) {
                fprintf(stderr, "lecteur : %s a %lld lignes jusqu'au numéro %lld\n", qPrintable(ligne.Texte(QStringLiteral("Origine"))),
                        nombre, ligne.Entier(QStringLiteral("Dernier")));
                return 1;
            }
            total += nombre;
        }
        if (total < precedent) {
            fprintf(stderr, "lecteur : %lld lignes après %lld\n", total, precedent);
            return 1;
        }
        precedent = total;
        etats.insert(total);
        QThread::usleep(500);
    }
    printf("%lld\n", qint64(etats.size()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 4 && (arguments.at(1) == kEcrivain || arguments.at(1) == kLecteur)) {
        try {
            return arguments.at(1) == kEcrivain ? Ecrivain(arguments.at(2), arguments.at(3))
                                                : Lecteur(arguments.at(2), arguments.at(3).toInt());
        } catch (const ErreurBase& erreur) {
            fprintf(stderr, "%s\n", erreur.what());
            return 1;
        }
    }
    TestBase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_base.moc"
