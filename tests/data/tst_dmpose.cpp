#include "data/DMPose.h"

#include "AttendreDepart.h"
#include "LignesTexte.h"

#include <QApplication>
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

QStringList Familles(Connexion& base)
{
    return LignesTexte(base, QStringLiteral(
        "SELECT Code, Famille, TypeFamille, TypeModele, Nom FROM TrelvaneLibelle ORDER BY rowid"));
}

} // namespace

class TestDMPose : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier;
    QString fichier;

    // A file written by an older version of the program.
    void CreerFichier(const QString& script)
    {
        Connexion base;
        base.Ouvrir(fichier, kMotDePasseBase);
        base.ExecuterScript(script);
    }

    QStringList Ouvrir(TDMPose& dm)
    {
        dm.SetNomFichier(fichier);
        dm.Ouvrir();
        return dm.RestructureBase();
    }

private slots:
    void init()
    {
        fichier = dossier.filePath(QStringLiteral("%1.abs").arg(QTest::currentTestFunction()));
        QFile::remove(fichier);
    }

    void nouvelleBaseComplete()
    {
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        Connexion& base = dm.Quarlo();
        QCOMPARE(Familles(base), kFamilles);
        QCOMPARE(LignesTexte(base, QStringLiteral("SELECT Code, Libelle FROM Operande ORDER BY IdOperande")),
                 QStringList({"HAUTEUR|Hauteur", "LARGEUR|Largeur", "VANTAIL|Nombre de vantaux",
                              "PERIMETRE|Périmètre", "LARGEUR_VANTAIL|Largeur par vantail"}));
        QVERIFY(base.Colonnes(QStringLiteral("CategorieType")).contains(QStringLiteral("TrelvaneLibelle")));
        QCOMPARE(base.Colonnes(QStringLiteral("Poseur")).mid(12), QStringList({"Siret", "RGE"}));
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

        QFile lu(fichier);
        QVERIFY(lu.open(QIODevice::ReadOnly));
        QVERIFY(!lu.read(16).startsWith("SQLite format 3"));
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
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT Libelle FROM Pose")), QStringList({"Pose en applique"}));
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT COUNT(*) FROM Operande")), QStringList({"5"}));
        QCOMPARE(Familles(dm.Quarlo()), kFamilles);
    }

    void fichierVideRecoitLeSchema()
    {
        QFile vide(fichier);
        QVERIFY(vide.open(QIODevice::WriteOnly));
        vide.close();
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        QCOMPARE(LignesTexte(dm.Quarlo(), QStringLiteral("SELECT COUNT(*) FROM Operande")), QStringList({"5"}));
    }

    void ancienSchemaMisAJour()
    {
        CreerFichier(QStringLiteral(
            "CREATE TABLE CategorieType (IdCategorieType INTEGER PRIMARY KEY AUTOINCREMENT, Libelle VARCHAR(100), MotsClefs VARCHAR(100));"
            "INSERT INTO CategorieType (Libelle, MotsClefs) VALUES ('Fenêtres', 'PVC');"
            "CREATE TABLE Poseur (IdPoseur INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(100), Nom VARCHAR(100));"
            "INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'Martin');"
            "CREATE TABLE Tarif (IdTarif INTEGER PRIMARY KEY AUTOINCREMENT, IdPose INTEGER, IdCategorie INTEGER,"
            " IdPoseur INTEGER, Prix DOUBLE);"
            "INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES (1, 2, 0, 99.5);"));
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
        const QString sqlIndex = QStringLiteral("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Tarif'");
        const QStringList index = LignesTexte(base, sqlIndex);
        QCOMPARE(index, QStringList({"IdxTarifPoseCategoriePoseur|Tarif"}));
        QCOMPARE(LignesTexte(base, QStringLiteral("SELECT IdPose, IdCategorie, IdPoseur, Prix FROM Tarif")),
                 QStringList({"1|2|0|99.5"}));
        const QString plan = LignesTexte(base, QStringLiteral("EXPLAIN QUERY PLAN SELECT Prix FROM Tarif"
                                                              " WHERE IdPose = 1 AND IdCategorie = 2 AND IdPoseur = 0")).join(' ');
        QVERIFY2(plan.contains(QStringLiteral("USING INDEX IdxTarifPoseCategoriePoseur")), qPrintable(plan));

        // A second start adds nothing.
        const QStringList colonnesPoseur = base.Colonnes(QStringLiteral("Poseur"));
        QCOMPARE(dm.RestructureBase(), QStringList());
        QCOMPARE(base.Colonnes(QStringLiteral("Poseur")), colonnesPoseur);
        QCOMPARE(Familles(base), kFamilles);
        QCOMPARE(LignesTexte(base, sqlIndex), index);
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
        CreerFichier(QStringLiteral(
            "CREATE TABLE CategorieType (IdCategorieType INTEGER PRIMARY KEY AUTOINCREMENT, Libelle VARCHAR(100), TrelvaneLibelle VARCHAR(5));"
            "CREATE TABLE Poseur (IdPoseur INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(100), Siret VARCHAR(14));"));
        TDMPose dm;
        QCOMPARE(Ouvrir(dm), QStringList());
        QCOMPARE(dm.Quarlo().Colonnes(QStringLiteral("Poseur")), QStringList({"IdPoseur", "Code", "Siret"}));
    }

    void insertionEnEchecNArretePasLesAutres()
    {
        CreerFichier(QStringLiteral(
            "CREATE TABLE TrelvaneLibelle (Code VARCHAR(5) NOT NULL PRIMARY KEY, Famille INTEGER NOT NULL,"
            " TypeFamille INTEGER NOT NULL, TypeModele INTEGER NOT NULL, Nom VARCHAR(50), CHECK (Code <> '10500'));"
            "CREATE TABLE CategorieType (IdCategorieType INTEGER PRIMARY KEY AUTOINCREMENT, TrelvaneLibelle VARCHAR(5));"
            "CREATE TABLE Poseur (IdPoseur INTEGER PRIMARY KEY AUTOINCREMENT, Siret VARCHAR(14), RGE VARCHAR(25));"));
        TDMPose dm;
        const QStringList messages = Ouvrir(dm);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(kPrefixeInsertion), qPrintable(messages.first()));
        QVERIFY(messages.first().contains(QStringLiteral("constraint failed"), Qt::CaseInsensitive));
        QStringList attendues = kFamilles;
        attendues.removeAt(7);
        QCOMPARE(Familles(dm.Quarlo()), attendues);
    }

    void etapesIndependantes()
    {
        // No category type nor installer table, and a view in the way of the family table.
        CreerFichier(QStringLiteral("CREATE TABLE Categorie (IdCategorie INTEGER PRIMARY KEY AUTOINCREMENT);"
                                    "CREATE VIEW TrelvaneLibelle AS SELECT 1 AS Code;"));
        TDMPose dm;
        const QStringList messages = Ouvrir(dm);
        QCOMPARE(messages.size(), 3);
        QVERIFY2(messages.at(0).startsWith(kPrefixeCreation) && messages.at(0).size() > kPrefixeCreation.size(),
                 qPrintable(messages.at(0)));
        QCOMPARE(messages.at(1), QStringLiteral("no such table: CategorieType"));
        QCOMPARE(messages.at(2), QStringLiteral("no such table: Poseur"));
    }

    void demarragesSimultanes()
    {
        // Several copies started together on a missing file: one creates and
        // fills it, the others find it done, and nobody gets a message.
        QVector<QProcess*> copies;
        for (int i = 0; i < 8; ++i) {
            auto* copie = new QProcess(this);
            copie->start(QCoreApplication::applicationFilePath(), {kDemarrage, fichier});
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
            dm.SetNomFichier(arguments.at(2));
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
