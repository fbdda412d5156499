// The move of a company's data from one database to another: every table,
// keys and counters kept, checked; a destination holding data, a missing
// source or a table the program does not know stop it before anything is
// written. Against the server, the data goes there and back through a file.

#include "DonneesReference.h"
#include "LignesTexte.h"

#include "data/Schema.h"
#include "tools/CopieBase.h"

#include <QtTest>

namespace {

// Every row of every table of the program, by key.
QStringList Contenu(Connexion& base)
{
    QStringList lignes;
    for (const Table& table : SchemaQuarlo()) {
        const QString cle = table.clePrimaire ? table.clePrimaire->colonnes.first() : table.colonnes.first().nom;
        lignes << QStringLiteral("[%1]").arg(table.nom)
               << LignesTexte(base, QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table.nom, cle));
    }
    return lignes;
}

QString Compte(const CopieBase::Compte& compte)
{
    return compte.lignes.join(u'\n');
}

} // namespace

class TestCopieBase : public QObject
{
    Q_OBJECT

    std::unique_ptr<BaseTemporaire> base;

private slots:
    void initTestCase() { UtiliserLocaleFrancaise(); }

    void init()
    {
        base = std::make_unique<BaseTemporaire>();
        DonneesReference donnees(*base);
        const QString type = donnees.Type(QStringLiteral("Fenêtre d'atelier « PVC »"), QStringLiteral("10100"));
        const QString categorie = donnees.Categorie(QStringLiteral("2 vantaux ; 日本"), type);
        donnees.Contrainte(categorie, QStringLiteral("HAUTEUR"), QStringLiteral(">="), QStringLiteral("1000"));
        const QString pose = donnees.Pose(QStringLiteral("Pose en rénovation"), {10.5, 0.1, 1e6, 0}, 2);
        const QString poseur = donnees.Poseur(QStringLiteral("P1"), QStringLiteral("Martin & fils"),
                                              {"1 rue du Port", "", "44000", "Nantes", "12345678900012", "RGE-1"});
        donnees.Tarif(pose, categorie, 123.45);
        donnees.Tarif(pose, categorie, QVariant(), poseur);
        donnees.EntreeCatalogue(QStringLiteral("Vis"), QStringLiteral("6x40\nbois"), 0.1 + 0.2, 1, 100, 0, 1);
        // A deleted row: its key is never given again, here nor in the copy.
        const QString perdue = donnees.Pose(QStringLiteral("Pose supprimée"));
        base->Executer(QStringLiteral("DELETE FROM Pose WHERE IdPose = ") + perdue);
    }

    void cleanup() { base.reset(); }

    void copieCompleteEtVerifiee()
    {
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath(QStringLiteral("Copie.abs"));
        const QString source = base->Chaine();
        const CopieBase::Compte compte = CopieBase::Copier(source, fichier);
        QVERIFY2(compte.reussie, qPrintable(Compte(compte)));
        QVERIFY2(compte.lignes.contains(QStringLiteral("Vérification : la destination est identique à la source.")),
                 qPrintable(Compte(compte)));
        const QStringList attendu = Contenu(base->Base());

        const auto verifier = [&attendu](TDMPose& copie) {
            copie.Ouvrir();
            QCOMPARE(Contenu(copie.Quarlo()), attendu);
            // The next kind gets the key after the deleted one, as in the source.
            Requete requete(copie.Quarlo());
            requete.SetSql(QStringLiteral("INSERT INTO Pose (Libelle) VALUES ('Nouvelle')"));
            requete.Executer();
            QCOMPARE(copie.Quarlo().DernierIdentifiant(QStringLiteral("Pose")), QStringLiteral("3"));
            copie.Fermer();
        };
        TDMPose surFichier;
        surFichier.SetNomFichier(fichier);
        verifier(surFichier);
        if (!base->Base().EstServeur())
            return;

        // And from the file to a new server database.
        QFile::remove(fichier);
        QVERIFY(CopieBase::Copier(source, fichier).reussie);
        SchemaEssai retour;
        const CopieBase::Compte inverse = CopieBase::Copier(fichier, retour.Chaine());
        QVERIFY2(inverse.reussie, qPrintable(Compte(inverse)));
        TDMPose surServeur;
        surServeur.SetServeur(retour.Chaine());
        verifier(surServeur);
    }

    void copieRefusee_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("destination avec des données") << "remplie" << QStringLiteral("contient déjà des données");
        QTest::newRow("sur elle-même") << "elle-même" << QStringLiteral("contient déjà des données");
        QTest::newRow("source absente") << "absente" << QStringLiteral("n'existe pas");
        QTest::newRow("table inconnue") << "inconnue" << QStringLiteral("que le programme ne connaît pas");
    }

    void copieRefusee()
    {
        QFETCH(QString, cas);
        QFETCH(QString, phrase);
        QTemporaryDir dossier;
        QString source = base->Chaine();
        QString destination = dossier.filePath(QStringLiteral("Destination.abs"));
        if (cas == u"remplie") {
            TDMPose autre;
            autre.SetNomFichier(destination);
            autre.Ouvrir();
            autre.qryExec().SetSql(QStringLiteral("INSERT INTO Pose (Libelle) VALUES ('Déjà là')"));
            autre.qryExec().Executer();
        } else if (cas == u"elle-même") {
            destination = source;
        } else if (cas == u"absente") {
            source = dossier.filePath(QStringLiteral("Absente.abs"));
        } else {
            base->Base().ExecuterScript(QStringLiteral("CREATE TABLE Notes (Texte VARCHAR(10))"));
        }
        const QStringList contenuSource = Contenu(base->Base());
        const CopieBase::Compte compte = CopieBase::Copier(source, destination);
        QVERIFY(!compte.reussie);
        QVERIFY2(Compte(compte).contains(phrase), qPrintable(Compte(compte)));
        QCOMPARE(compte.lignes.last(), QStringLiteral("La copie n'est pas complète : ne vous servez pas de la destination."));
        QCOMPARE(Contenu(base->Base()), contenuSource);
        if (cas == u"absente")
            QVERIFY(!QFile::exists(source));
        if (cas == u"remplie") {
            TDMPose autre;
            autre.SetNomFichier(destination);
            autre.Ouvrir();
            QCOMPARE(LignesTexte(autre.Quarlo(), QStringLiteral("SELECT Libelle FROM Pose")), QStringList{"Déjà là"});
        }
    }

    void codeDeSortie()
    {
        QCOMPARE(CopieBase::Executer({}), 2);
        QCOMPARE(CopieBase::Executer({QStringLiteral("a")}), 2);
        QTemporaryDir dossier;
        QCOMPARE(CopieBase::Executer({dossier.filePath("Absente.abs"), dossier.filePath("Copie.abs")}), 1);
        QCOMPARE(CopieBase::Executer({base->Chaine(), dossier.filePath("Copie.abs")}), 0);
    }
};

QTEST_GUILESS_MAIN(TestCopieBase)
#include "tst_copie_base.moc"
