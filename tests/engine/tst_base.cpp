#include "engine/Base.h"

#include "AttendreDepart.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

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

} // namespace

Q_DECLARE_METATYPE(Liaison)
Q_DECLARE_METATYPE(Panne)

class TestBase : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier;
    QString fichier;
    Connexion base;

private slots:
    void init()
    {
        fichier = dossier.filePath(QStringLiteral("%1.abs").arg(QTest::currentTestFunction()));
        QFile::remove(fichier);
        base.Ouvrir(fichier, kMotDePasse);
        base.ExecuterScript(QStringLiteral(
            "CREATE TABLE Valeurs (Id INTEGER PRIMARY KEY AUTOINCREMENT, V);"
            "CREATE TABLE Journal (IdJournal INTEGER PRIMARY KEY AUTOINCREMENT, Origine VARCHAR(20), Numero INTEGER);"));
    }

    void cleanup() { base.Fermer(); }

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
        requete.SetSql(QStringLiteral("INSERT INTO Valeurs (V) VALUES (:V)"));
        const QString nom = QStringLiteral("v");
        switch (liaison) {
        case Liaison::Texte: requete.LierTexte(nom, valeur.toString()); break;
        case Liaison::Entier: requete.LierEntier(nom, valeur.toLongLong()); break;
        case Liaison::Decimal: requete.LierDecimal(nom, valeur.toDouble()); break;
        case Liaison::Nul: requete.LierNul(nom); break;
        }
        QCOMPARE(requete.Executer(), 1);

        requete.SetSql(QStringLiteral("SELECT V FROM Valeurs"));
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
        QCOMPARE(base.Preparer(sql), base.Preparer(sql));
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
        requete.SetSql(QStringLiteral("SELECT Origine FROM Journal WHERE abs(:Numero) = Numero"));
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
                                    "fichier qui n'est pas une base de données.").arg(fichier));
        }
        QVERIFY(!base.EstConnectee());
        QCOMPARE(Contenu(fichier), avant);
        QVERIFY(!QFile::exists(fichier + QStringLiteral("-journal")));
    }

    void fichierChiffre()
    {
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
        base.AjouterColonne(QStringLiteral("JOURNAL"), QStringLiteral("Siret VARCHAR(14)"));
        QCOMPARE(base.Colonnes(QStringLiteral("Journal")),
                 QStringList({"IdJournal", "Origine", "Numero", "Siret"}));
        QCOMPARE(Compter(base, QStringLiteral("SELECT COUNT(*) FROM Journal WHERE Siret IS NULL")), 2);
        QVERIFY(base.Colonnes(QStringLiteral("Absente")).isEmpty());

        // A query run again after a change of its table, here or by another
        // copy of the program, reads the columns the table has now.
        Requete tout(base);
        tout.SetSql(QStringLiteral("SELECT * FROM Valeurs"));
        tout.Ouvrir();
        base.ExecuterScript(QStringLiteral("INSERT INTO Valeurs (V) VALUES (1)"));
        QCOMPARE(tout.Ouvrir().Premiere().Entier(QStringLiteral("V")), 1);
        Connexion autre;
        autre.Ouvrir(fichier, kMotDePasse);
        autre.ExecuterScript(QStringLiteral("DROP TABLE Valeurs; CREATE TABLE Valeurs (Id INTEGER PRIMARY KEY, W);"
                                            "INSERT INTO Valeurs (W) VALUES (2)"));
        QCOMPARE(tout.Ouvrir().Premiere().Entier(QStringLiteral("W")), 2);
        QVERIFY_THROWS_EXCEPTION(ErreurBase, tout.Ouvrir().Premiere().Entier(QStringLiteral("V")));
    }

    void dernierIdentifiant()
    {
        QCOMPARE(base.DernierIdentifiant(QStringLiteral("Valeurs")), QString());
        Ecrire(base, QStringLiteral("local"), 3);
        QCOMPARE(base.DernierIdentifiant(QStringLiteral("journal")), QStringLiteral("3"));

        // Another copy inserts after us: our key stays ours, a fresh
        // connection reads the table's counter.
        Connexion autre;
        autre.Ouvrir(fichier, kMotDePasse);
        Ecrire(autre, QStringLiteral("autre"), 1);
        QCOMPARE(base.DernierIdentifiant(QStringLiteral("Journal")), QStringLiteral("3"));
        QCOMPARE(autre.DernierIdentifiant(QStringLiteral("Journal")), QStringLiteral("4"));
        Connexion troisieme;
        troisieme.Ouvrir(fichier, kMotDePasse);
        QCOMPARE(troisieme.DernierIdentifiant(QStringLiteral("Journal")), QStringLiteral("4"));
    }

    void baseEndommageeRefuseeALOuverture_data()
    {
        QTest::addColumn<qint64>("position");
        QTest::newRow("3000") << qint64(3000);
        QTest::newRow("60000") << qint64(60000);
        QTest::newRow("98000") << qint64(98000);
    }

    // One damaged byte anywhere in the file: the key opens the first page,
    // the other pages tell. The file is refused at once and left as it is.
    void baseEndommageeRefuseeALOuverture()
    {
        QFETCH(qint64, position);
        RemplirJusqua(base, 110000, fichier);
        base.Fermer();
        QByteArray octets = Contenu(fichier);
        octets[position] = char(octets[position] ^ 0x5A);
        {
            QFile f(fichier);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(octets);
        }
        try {
            base.Ouvrir(fichier, kMotDePasse);
            QFAIL("the damaged file was opened");
        } catch (const ErreurBase& erreur) {
            QVERIFY2(erreur.Message().startsWith(QStringLiteral("La base %1 est endommagée").arg(fichier)),
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
        QVERIFY2(message.contains(fichier) && message.contains(phrase), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("not an error")), qPrintable(message));
    }

    void plusieursProcessusSansPerte()
    {
        // Eight copies write at once while two others read: they all start
        // together once each has its connection.
        std::vector<std::unique_ptr<QProcess>> processus;
        const int lignesAttendues = kEcrivains * kEcrituresParProcessus * kLignesParEcriture;
        for (int i = 0; i < kEcrivains + kLecteurs; ++i) {
            const QStringList arguments = i < kEcrivains
                                              ? QStringList{kEcrivain, fichier, QStringLiteral("copie%1").arg(i)}
                                              : QStringList{kLecteur, fichier, QString::number(lignesAttendues)};
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
                                             "MAX(IdJournal) AS Fin FROM Journal WHERE Origine = %1) "
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

int Ecrivain(const QString& fichier, const QString& origine)
{
    Connexion base;
    base.Ouvrir(fichier, kMotDePasse);
    AttendreDepart();
    Ecrire(base, origine, kEcrituresParProcessus, 1000, kLignesParEcriture);
    return 0;
}

// Reads until every row is there; each reading must show whole writes and
// never fewer rows than the one before. Prints how many different counts it saw.
int Lecteur(const QString& fichier, int lignesAttendues)
{
    Connexion base;
    base.Ouvrir(fichier, kMotDePasse);
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
