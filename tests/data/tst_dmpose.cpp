#include "data/DMPose.h"
#include "data/Schema.h"
#include "engine/Base.h"

#include "AttendreDepart.h"
#include "BaseEssai.h"
#include "LignesTexte.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kFamilles = {
    "10100|1|1|0|Menuiseries",          "10101|1|1|1|Sans V.R.",
    "10102|1|1|2|V.R. dans la hauteur", "10103|1|1|3|V.R. compris hauteur",
    "10200|1|2|0|Volet Battant",        "10300|1|3|0|Volet Roulant",
    "10400|1|4|0|Bloc Porte",           "10500|1|5|0|Porte d'entrée",
    "10501|1|5|1|Imposte",              "10502|1|5|2|Latéral",
    "10600|1|6|0|Porte de Garage",      "10700|1|7|0|Grille de défense",
    "10800|1|8|0|Persienne",
};

const QString kDemarrage = QStringLiteral("--demarrer");

const QString kPrefixeInsertion =
    QStringLiteral("TDMPose::RestructureBase : Erreur sur l'insertion dans la table TrelvaneLibelle\n");
const QString kPrefixeCreation =
    QStringLiteral("TDMPose::RestructureBase : Erreur sur la création de la table TrelvaneLibelle\n");

// In the order they were inserted (on a server, whose rows have no number
// of their own, the codes' order, which is the same).
QStringList Familles(Connexion& base)
{
    return LignesTexte(base, QStringLiteral("SELECT Code, Famille, TypeFamille, TypeModele, Nom FROM TrelvaneLibelle ORDER BY %1")
                                 .arg(base.EstServeur() ? QStringLiteral("Code") : QStringLiteral("rowid")));
}

// The script of each back end.
QString Script(const QString& fichier, const QString& serveur)
{
    return EssaiSurServeur() ? serveur : fichier;
}

void Designer(TDMPose& dm, const QString& cible)
{
    if (EstChaineConnexion(cible))
        dm.SetServeur(cible);
    else
        dm.SetNomFichier(cible);
}

QString Texte(const Colonne& colonne)
{
    static const char* const genres[] = {"clé", "entier", "décimal", "texte"};
    return QStringLiteral("%1 %2 %3%4")
        .arg(colonne.nom, QLatin1String(genres[int(colonne.genre)]))
        .arg(colonne.largeur)
        .arg(colonne.nonNul ? QStringLiteral(" non nul") : QString());
}

// Everything a database holds of its schema, in words both back ends give.
QStringList Decrire(Connexion& base)
{
    QStringList description;
    for (const QString& nom : base.Tables()) {
        const Table table = base.Structure(nom);
        description << QStringLiteral("table ") + table.nom.toLower();
        for (const Colonne& colonne : table.colonnes)
            description << Texte(colonne);
        if (table.clePrimaire)
            description << QStringLiteral("clé primaire ") + table.clePrimaire->colonnes.join(u',');
        for (const ContrainteTable& unique : table.uniques)
            description << QStringLiteral("unique ") + unique.colonnes.join(u',');
        for (const IndexTable& index : base.Index(nom))
            description << QStringLiteral("index %1 %2").arg(index.nom, index.colonnes.join(u','));
    }
    return description;
}

} // namespace

class TestDMPose : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier;
    QString fichier;
    std::unique_ptr<SchemaEssai> schema; // on a server
    QString cible;                       // the file, or the server schema's connection string

    // A database written by an older version of the program.
    void CreerAncienne(const QString& script)
    {
        Connexion base;
        if (schema)
            base.OuvrirServeur(cible);
        else
            base.Ouvrir(fichier, kMotDePasseBase);
        base.ExecuterScript(script);
    }

    QStringList Ouvrir(TDMPose& dm)
    {
        Designer(dm, cible);
        dm.Ouvrir();
        return dm.RestructureBase();
    }

private slots:
    void init()
    {
        fichier = dossier.filePath(QStringLiteral("%1.abs").arg(QTest::currentTestFunction()));
        QFile::remove(fichier);
        schema = EssaiSurServeur() ? std::make_unique<SchemaEssai>() : nullptr;
        cible = schema ? schema->Chaine() : fichier;
    }

    void cleanup() { schema.reset(); }

    void nouvelleBaseComplete()
    {
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        QVERIFY(dm.BaseCreee());
        Connexion& base = dm.Quarlo();
        QCOMPARE(Familles(base), kFamilles);
        QCOMPARE(LignesTexte(base, QStringLiteral("SELECT Code, Libelle FROM Operande ORDER BY IdOperande")),
                 QStringList({"HAUTEUR|Hauteur", "LARGEUR|Largeur", "VANTAIL|Nombre de vantaux",
                              "PERIMETRE|Périmètre", "LARGEUR_VANTAIL|Largeur par vantail"}));
        QVERIFY(base.Colonnes(QStringLiteral("CategorieType")).contains(QStringLiteral("TrelvaneLibelle"), Qt::CaseInsensitive));
        QCOMPARE(base.Colonnes(QStringLiteral("Poseur")).mid(12).join(u',').toLower(), QStringLiteral("siret,rge"));
        for (const char* table : {"Categorie", "CategorieContrainte", "Pose", "Tarif", "Quincaillerie"})
            QVERIFY2(base.TableExiste(QString::fromUtf8(table)), table);

        // The family table refuses a second row for the same family and kind.
        Requete requete(base);
        requete.SetSql(QStringLiteral("INSERT INTO TrelvaneLibelle (Code, Famille, TypeFamille, TypeModele) "
                                      "VALUES ('99999', 1, 1, 0)"));
        QVERIFY_THROWS_EXCEPTION(ErreurBase, requete.Executer());

        // A null price is kept as null.
        requete.SetSql(QStringLiteral("INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES (1, 1, 0, :Prix)"));
        requete.LierNul(QStringLiteral("Prix"));
        requete.Executer();
        requete.SetSql(QStringLiteral("SELECT Prix FROM Tarif"));
        QVERIFY(requete.Ouvrir().Premiere().EstNul(QStringLiteral("Prix")));
        dm.Fermer();
        if (schema)
            return;

        QFile lu(fichier);
        QVERIFY(lu.open(QIODevice::ReadOnly));
        QVERIFY(!lu.read(16).startsWith("SQLite format 3"));
    }

    // The file companies have, made by SQLCipher 3 (tests/data/data holds
    // one made by this program with it), opens whatever library the program
    // is built with, and a new file is made in the same format: pages of
    // 1 KB, keys derived in 64,000 rounds.
    void fichierDuFormatDesEntreprises()
    {
        SUR_LE_FICHIER_SEULEMENT();
        QVERIFY(QFile::copy(QStringLiteral(QUARLO_TEST_DATA "/Quarlo-format3.abs"), fichier));
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        QVERIFY(!dm.BaseCreee());
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT COUNT(*) FROM Tarif")), QStringList({"126"}));
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT Libelle FROM Pose ORDER BY IdPose")).size(), 3);
        dm.Fermer();

        const QString neuf = dossier.filePath(QStringLiteral("neuf.abs"));
        QFile::remove(neuf);
        Connexion base;
        base.Ouvrir(neuf, kMotDePasseBase);
        QCOMPARE(LignesTexte(base, QStringLiteral("PRAGMA cipher_page_size")), QStringList({"1024"}));
        QCOMPARE(LignesTexte(base, QStringLiteral("PRAGMA kdf_iter")), QStringList({"64000"}));
    }

    void fichierExistantJamaisRecree()
    {
        {
            TDMPose dm;
            Ouvrir(dm);
            dm.qryExec().SetSql(QStringLiteral("INSERT INTO Pose (Libelle) VALUES (:Libelle)"));
            dm.qryExec().LierTexte(QStringLiteral("Libelle"), QStringLiteral("Pose en applique"));
            dm.qryExec().Executer();
        }
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        QVERIFY(!dm.BaseCreee());
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT Libelle FROM Pose")), QStringList({"Pose en applique"}));
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT COUNT(*) FROM Operande")), QStringList({"5"}));
        QCOMPARE(Familles(dm.Quarlo()), kFamilles);
    }

    // A file emptied by a failed copy or a full share once held the data: it
    // is refused as damaged and left as it is, never made a new database.
    void fichierVideRefuseEtGarde()
    {
        SUR_LE_FICHIER_SEULEMENT();
        QFile vide(fichier);
        QVERIFY(vide.open(QIODevice::WriteOnly));
        vide.close();
        TDMPose dm;
        try {
            Ouvrir(dm);
            QFAIL("an empty file was taken for a new database");
        } catch (const ErreurBase& erreur) {
            QVERIFY2(erreur.Message().startsWith(QStringLiteral("La base %1 est endommagée").arg(QDir::toNativeSeparators(fichier))), erreur.what());
        }
        QVERIFY(!dm.EstConnecte());
        QVERIFY(!dm.BaseCreee());
        QCOMPARE(QFileInfo(fichier).size(), 0);
    }

    void ancienSchemaMisAJour()
    {
        CreerAncienne(Script(QStringLiteral(
            "CREATE TABLE CategorieType (IdCategorieType INTEGER PRIMARY KEY AUTOINCREMENT, Libelle VARCHAR(100), MotsClefs VARCHAR(100));"
            "INSERT INTO CategorieType (Libelle, MotsClefs) VALUES ('Fenêtres', 'PVC');"
            "CREATE TABLE Poseur (IdPoseur INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(100), Nom VARCHAR(100));"
            "INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'Martin');"
            "CREATE TABLE Tarif (IdTarif INTEGER PRIMARY KEY AUTOINCREMENT, IdPose INTEGER, IdCategorie INTEGER,"
            " IdPoseur INTEGER, Prix DOUBLE);"
            "INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES (1, 2, 0, 99.5);"), QStringLiteral(
            "CREATE TABLE CategorieType (IdCategorieType INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Libelle VARCHAR(100), MotsClefs VARCHAR(100));"
            "INSERT INTO CategorieType (Libelle, MotsClefs) VALUES ('Fenêtres', 'PVC');"
            "CREATE TABLE Poseur (IdPoseur INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Code VARCHAR(100), Nom VARCHAR(100));"
            "INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'Martin');"
            "CREATE TABLE Tarif (IdTarif INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, IdPose INTEGER, IdCategorie INTEGER,"
            " IdPoseur INTEGER, Prix DOUBLE PRECISION);"
            "INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES (1, 2, 0, 99.5);")));
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        Connexion& base = dm.Quarlo();
        QCOMPARE(Familles(base), kFamilles);
        QCOMPARE(LignesTexte(base, QStringLiteral("SELECT IdCategorieType, Libelle, MotsClefs, TrelvaneLibelle FROM CategorieType")),
                 QStringList({"1|Fenêtres|PVC|"}));
        QCOMPARE(LignesTexte(base, QStringLiteral("SELECT IdPoseur, Code, Nom, Siret, RGE FROM Poseur")),
                 QStringList({"1|P1|Martin||"}));
        // Nothing is created beside an existing schema.
        QVERIFY(!base.TableExiste(QStringLiteral("Operande")));
        // The tariffs are indexed for the price look-ups, and kept.
        const QVector<IndexTable> index = base.Index(QStringLiteral("Tarif"));
        QCOMPARE(index, (QVector<IndexTable>{{QStringLiteral("idxtarifposecategorieposeur"),
                                              {QStringLiteral("idpose"), QStringLiteral("idcategorie"), QStringLiteral("idposeur")}}}));
        QCOMPARE(LignesTexte(base, QStringLiteral("SELECT IdPose, IdCategorie, IdPoseur, Prix FROM Tarif")),
                 QStringList({"1|2|0|99.5"}));
        if (!schema) {
            const QString plan = LignesTexte(base, QStringLiteral("EXPLAIN QUERY PLAN SELECT Prix FROM Tarif"
                                                                  " WHERE IdPose = 1 AND IdCategorie = 2 AND IdPoseur = 0")).join(' ');
            QVERIFY2(plan.contains(QStringLiteral("USING INDEX IdxTarifPoseCategoriePoseur")), qPrintable(plan));
        }

        // A second start adds nothing.
        const QStringList colonnesPoseur = base.Colonnes(QStringLiteral("Poseur"));
        QCOMPARE(dm.RestructureBase(), QStringList());
        QCOMPARE(base.Colonnes(QStringLiteral("Poseur")), colonnesPoseur);
        QCOMPARE(Familles(base), kFamilles);
        QCOMPARE(base.Index(QStringLiteral("Tarif")), index);
    }

    void tableDesFamillesVideRemplie()
    {
        TDMPose dm;
        Ouvrir(dm);
        dm.Quarlo().ExecuterScript(QStringLiteral("DELETE FROM TrelvaneLibelle"));
        QCOMPARE(dm.RestructureBase(), QStringList());
        QCOMPARE(Familles(dm.Quarlo()), kFamilles);
    }

    void siretSansRgeInchange()
    {
        CreerAncienne(Script(QStringLiteral(
            "CREATE TABLE CategorieType (IdCategorieType INTEGER PRIMARY KEY AUTOINCREMENT, Libelle VARCHAR(100), TrelvaneLibelle VARCHAR(5));"
            "CREATE TABLE Poseur (IdPoseur INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(100), Siret VARCHAR(14));"), QStringLiteral(
            "CREATE TABLE CategorieType (IdCategorieType INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Libelle VARCHAR(100), TrelvaneLibelle VARCHAR(5));"
            "CREATE TABLE Poseur (IdPoseur INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Code VARCHAR(100), Siret VARCHAR(14));")));
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        QCOMPARE(dm.Quarlo().Colonnes(QStringLiteral("Poseur")).join(u',').toLower(), QStringLiteral("idposeur,code,siret"));
    }

    void insertionEnEchecNArretePasLesAutres()
    {
        CreerAncienne(Script(QStringLiteral(
            "CREATE TABLE TrelvaneLibelle (Code VARCHAR(5) NOT NULL PRIMARY KEY, Famille INTEGER NOT NULL,"
            " TypeFamille INTEGER NOT NULL, TypeModele INTEGER NOT NULL, Nom VARCHAR(50), CHECK (Code <> '10500'));"
            "CREATE TABLE CategorieType (IdCategorieType INTEGER PRIMARY KEY AUTOINCREMENT, TrelvaneLibelle VARCHAR(5));"
            "CREATE TABLE Poseur (IdPoseur INTEGER PRIMARY KEY AUTOINCREMENT, Siret VARCHAR(14), RGE VARCHAR(25));"), QStringLiteral(
            "CREATE TABLE TrelvaneLibelle (Code VARCHAR(5) NOT NULL PRIMARY KEY, Famille INTEGER NOT NULL,"
            " TypeFamille INTEGER NOT NULL, TypeModele INTEGER NOT NULL, Nom VARCHAR(50), CHECK (Code <> '10500'));"
            "CREATE TABLE CategorieType (IdCategorieType INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, TrelvaneLibelle VARCHAR(5));"
            "CREATE TABLE Poseur (IdPoseur INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Siret VARCHAR(14), RGE VARCHAR(25));")));
        TDMPose dm;
        const QStringList messages = Ouvrir(dm);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(kPrefixeInsertion), qPrintable(messages.first()));
        QVERIFY2(messages.first().contains(QStringLiteral("constraint failed"), Qt::CaseInsensitive)
                     || messages.first().contains(QStringLiteral("violates check constraint")),
                 qPrintable(messages.first()));
        QStringList attendues = kFamilles;
        attendues.removeAt(7);
        QCOMPARE(Familles(dm.Quarlo()), attendues);
    }

    void etapesIndependantes()
    {
        // No category type nor installer table, and a view in the way of the family table.
        CreerAncienne(Script(QStringLiteral("CREATE TABLE Categorie (IdCategorie INTEGER PRIMARY KEY AUTOINCREMENT);"
                                            "CREATE VIEW TrelvaneLibelle AS SELECT 1 AS Code;"),
                             QStringLiteral("CREATE TABLE Categorie (IdCategorie INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY);"
                                            "CREATE VIEW TrelvaneLibelle AS SELECT 1 AS Code;")));
        TDMPose dm;
        const QStringList messages = Ouvrir(dm);
        QCOMPARE(messages.size(), 3);
        QVERIFY2(messages.at(0).startsWith(kPrefixeCreation) && messages.at(0).size() > kPrefixeCreation.size(),
                 qPrintable(messages.at(0)));
        QCOMPARE(messages.at(1), Script(QStringLiteral("no such table: CategorieType"),
                                        QStringLiteral("relation \"categorietype\" does not exist")));
        QCOMPARE(messages.at(2), Script(QStringLiteral("no such table: Poseur"), QStringLiteral("relation \"poseur\" does not exist")));
    }

    void demarragesSimultanes()
    {
        // Several copies started together on a missing file: one creates and
        // fills it, the others find it done, and nobody gets a message.
        QVector<QProcess*> copies;
        for (int i = 0; i < 8; ++i) {
            auto* copie = new QProcess(this);
            copie->start(QCoreApplication::applicationFilePath(), {kDemarrage, cible});
            copies << copie;
        }
        // Released together once all are up.
        for (QProcess* copie : copies) {
            QVERIFY(copie->waitForReadyRead(30000));
            QCOMPARE(copie->readLine().trimmed(), QByteArray("pret"));
        }
        for (QProcess* copie : copies) {
            copie->write("go\n");
            QVERIFY(copie->waitForBytesWritten(30000));
        }
        for (QProcess* copie : copies) {
            QVERIFY(copie->waitForFinished(60000));
            QVERIFY2(copie->exitCode() == 0, copie->readAllStandardError().constData());
            delete copie;
        }
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        QCOMPARE(Familles(dm.Quarlo()), kFamilles);
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT COUNT(*) FROM Operande")), QStringList({"5"}));
    }

    void dernierIdCategorie()
    {
        TDMPose dm;
        Ouvrir(dm);
        QCOMPARE(dm.DernierIdCategorie(), QString());
        for (const QString& libelle : {QStringLiteral("Fenêtre"), QStringLiteral("Porte")}) {
            dm.qryExec().SetSql(QStringLiteral("INSERT INTO Categorie (Libelle, IdCategorieType) VALUES (:Libelle, -1)"));
            dm.qryExec().LierTexte(QStringLiteral("Libelle"), libelle);
            dm.qryExec().Executer();
        }
        QCOMPARE(dm.DernierIdCategorie(), QStringLiteral("2"));
    }

    // A new database has the same tables, columns, types and widths, keys,
    // unique constraints and named indexes on either back end, as the
    // program describes them; the upgrade changes nothing in it.
    void memeSchemaSurLesDeuxBases()
    {
        TDMPose surFichier;
        surFichier.SetNomFichier(fichier + QStringLiteral(".reference"));
        surFichier.Ouvrir();
        QCOMPARE(surFichier.RestructureBase(), QStringList());
        const QStringList reference = Decrire(surFichier.Quarlo());
        QStringList attendue;
        for (const Table& table : SchemaQuarlo()) {
            attendue << QStringLiteral("table ") + table.nom.toLower();
            for (Colonne colonne : table.colonnes) {
                colonne.nom = colonne.nom.toLower();
                attendue << Texte(colonne);
            }
            if (table.clePrimaire)
                attendue << QStringLiteral("clé primaire ") + table.clePrimaire->colonnes.join(u',').toLower();
            for (const ContrainteTable& unique : table.uniques)
                attendue << QStringLiteral("unique ") + unique.colonnes.join(u',').toLower();
            if (table.nom == u"Tarif")
                attendue << QStringLiteral("index idxtarifposecategorieposeur idpose,idcategorie,idposeur");
        }
        // The catalogue lists the tables by name, the program in the order it creates them.
        QCOMPARE(reference.size(), attendue.size());
        for (const QString& ligne : attendue)
            QVERIFY2(reference.contains(ligne), qPrintable(ligne));
        if (!schema)
            return;
        TDMPose surServeur;
        QCOMPARE(Ouvrir(surServeur), QStringList());
        QCOMPARE(Decrire(surServeur.Quarlo()), reference);
        QCOMPARE(surServeur.RestructureBase(), QStringList());
        QCOMPARE(Decrire(surServeur.Quarlo()), reference);
    }

    // Module_Quarlo.ini beside the program chooses: [Base] Connexion names a
    // server; missing or empty, the file beside the program.
    void baseChoisieParLesParametres_data()
    {
        QTest::addColumn<QByteArray>("parametres");
        QTest::addColumn<QString>("serveur");
        QTest::newRow("pas de fichier") << QByteArray() << QString();
        QTest::newRow("sans section") << QByteArray("[Marge]\r\nMini=12\r\n") << QString();
        QTest::newRow("vide") << QByteArray("[Base]\r\nConnexion=  \r\n") << QString();
        QTest::newRow("serveur") << QByteArray("[Marge]\nMini=5\n[base]\nconnexion = service=quarlo sslmode=require\n")
                                 << QStringLiteral("service=quarlo sslmode=require");
    }

    void baseChoisieParLesParametres()
    {
        QFETCH(QByteArray, parametres);
        QFETCH(QString, serveur);
        QTemporaryDir programme;
        const QString dossierProgramme = programme.path() + u'/';
        if (!parametres.isEmpty()) {
            QFile ini(dossierProgramme + QStringLiteral("Module_Quarlo.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(parametres);
        }
        TDMPose dm;
        dm.ChoisirBase(dossierProgramme);
        QCOMPARE(dm.Serveur(), serveur);
        QCOMPARE(dm.NomFichier(), serveur.isEmpty() ? dossierProgramme + QStringLiteral("Quarlo.abs") : QString());
    }

    void instanceCourante()
    {
        TDMPose premier;
        QCOMPARE(&DMPose(), &premier);
        {
            TDMPose second;
            QCOMPARE(&DMPose(), &second);
        }
        QCOMPARE(&DMPose(), &premier);
    }

    void tva()
    {
        TDMPose dm;
        dm.AjouterTva(1, QStringLiteral("TVA 20 %"), 20.0);
        dm.AjouterTva(2, QStringLiteral("TVA réduite à 5,5 % sur les travaux"), 5.5);
        dm.AjouterTva(2, QStringLiteral("TVA 10 %"), 10.0);

        QCOMPARE(dm.rxTva().at(1).libelle, QStringLiteral("TVA réduite à 5,5 % sur les tr"));
        QCOMPARE(dm.GetTauxTva(2), 10.0);
        QCOMPARE(dm.GetTauxTva(1), 20.0);
        QCOMPARE(dm.GetTauxTva(3), -1.0);
        QVERIFY(!dm.GetTva(3));
        const auto tva = dm.GetTva(2);
        QVERIFY(tva);
        QCOMPARE(tva->GetTypeTva(), 2);
        QCOMPARE(tva->GetLibelle(), QStringLiteral("TVA 10 %"));
        QCOMPARE(tva->GetValeur(), 10.0);
    }
};

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 3 && arguments.at(1) == kDemarrage) {
        AttendreDepart();
        try {
            TDMPose dm;
            Designer(dm, arguments.at(2));
            dm.Ouvrir();
            const QStringList messages = dm.RestructureBase();
            fprintf(stderr, "%s", qPrintable(messages.join(QLatin1Char('\n'))));
            return messages.isEmpty() ? 0 : 1;
        } catch (const ErreurBase& erreur) {
            fprintf(stderr, "%s", erreur.what());
            return 1;
        }
    }
    TestDMPose test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dmpose.moc"
