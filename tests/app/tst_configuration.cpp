#include "app/Configuration.h"
#include "model/Ini.h"

#include "BaseTemporaire.h"
#include "LignesTexte.h"
#include "model/Encodage.h"

#include <QFile>
#include <QtTest>
#include <memory>

namespace {

const QString kColonnesPoseur = QStringLiteral(
    "IdPoseur, Code, Nom, Rue1, Rue2, Cp, Ville, Tel, Fax, Portable, Mail, Contact, Siret, RGE");

enum class Style { WindowsCp1252, Utf8Lf };

// Writes a configuration file the way a host would.
QString EcrireConfig(const QString& chemin, const QString& texte, Style style = Style::WindowsCp1252)
{
    QByteArray octets;
    if (style == Style::WindowsCp1252)
        octets = EncoderCp1252(QString(texte).replace(QLatin1String("\n"), QLatin1String("\r\n")));
    else
        octets = texte.toUtf8();
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size())
        qFatal("Cannot write %s", qPrintable(chemin));
    return chemin;
}

struct Tva
{
    int type;
    QString libelle;
    double valeur;
    bool operator==(const Tva&) const = default;
};

char* toString(const Tva& tva)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3)").arg(tva.type).arg(tva.libelle).arg(tva.valeur));
}

} // namespace

Q_DECLARE_METATYPE(QVector<Tva>)

class TestConfiguration : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;

    QString Config(const QString& texte, Style style = Style::WindowsCp1252)
    {
        return EcrireConfig(base->Fichier(QStringLiteral("Config.ini")), texte, style);
    }

    // Every column of every row, so that any change shows.
    QStringList Poseurs()
    {
        return LignesTexte(base->Base(),
                           QStringLiteral("SELECT %1 FROM Poseur ORDER BY IdPoseur").arg(kColonnesPoseur));
    }

    QString Champ(const QString& code, const QString& colonne)
    {
        Requete requete(base->Base());
        requete.SetSql(QStringLiteral("SELECT %1 FROM Poseur WHERE Code = :Code").arg(colonne));
        requete.LierTexte(QStringLiteral("Code"), code);
        const Resultat& lignes = requete.Ouvrir();
        return lignes.NombreLignes() == 1 ? lignes.Premiere().Texte(colonne) : QStringLiteral("<%1 lignes>").arg(lignes.NombreLignes());
    }

    QVector<Tva> Tvas() const
    {
        QVector<Tva> tvas;
        for (const LigneTva& ligne : DMPose().rxTva())
            tvas.push_back({ligne.typeTva, ligne.libelle, ligne.valeur});
        return tvas;
    }

private slots:
    void init() { base = std::make_unique<BaseTemporaire>(false); }
    void cleanup() { base.reset(); }

    void typesTva_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QVector<Tva>>("attendu");

        QTest::newRow("missing sections skipped, in section order")
            << "[TVA]\nNb=3\n[TVA2]\nTypeTva=3\nLibelle=TVA 5,5 %\nValeur=5,5\n"
               "[TVA0]\nTypeTva=1\nLibelle=TVA 20 %\nValeur=20\n"
            << QVector<Tva>{{1, "TVA 20 %", 20.0}, {3, "TVA 5,5 %", 5.5}};
        QTest::newRow("rate that does not convert reads 0")
            << "[TVA]\nNb=1\n[TVA0]\nTypeTva=2\nLibelle=Réduite\nValeur=abc\n"
            << QVector<Tva>{{2, QStringLiteral("Réduite"), 0.0}};
        QTest::newRow("no type, negative type, type that is no number: nothing")
            << "[TVA]\nNb=3\n[TVA0]\nLibelle=a\n[TVA1]\nTypeTva=-2\n[TVA2]\nTypeTva=x\n"
            << QVector<Tva>{};
        QTest::newRow("type 0 kept, label and rate optional")
            << "[TVA]\nNb=1\n[TVA0]\nTypeTva=0\n" << QVector<Tva>{{0, "", 0.0}};
        QTest::newRow("duplicate types both kept")
            << "[TVA]\nNb=2\n[TVA0]\nTypeTva=2\nValeur=5,5\n[TVA1]\nTypeTva=2\nValeur=10\n"
            << QVector<Tva>{{2, "", 5.5}, {2, "", 10.0}};
        QTest::newRow("sections at or past Nb ignored")
            << "[TVA]\nNb=1\n[TVA0]\nTypeTva=1\n[TVA1]\nTypeTva=2\n" << QVector<Tva>{{1, "", 0.0}};
        QTest::newRow("no TVA section") << "[Poseur]\nNb=0\n" << QVector<Tva>{};
        QTest::newRow("Nb that is no number") << "[TVA]\nNb=deux\n[TVA0]\nTypeTva=1\n" << QVector<Tva>{};
        QTest::newRow("only the plain number names a section")
            << "[TVA]\nNb=2\n[TVA01]\nTypeTva=1\n[tva1]\nTypeTva=2\n" << QVector<Tva>{{2, "", 0.0}};
        QTest::newRow("huge Nb") << "[TVA]\nNb=2000000000\n[TVA0]\nTypeTva=1\n"
                                 << QVector<Tva>{{1, "", 0.0}};
        QTest::newRow("label cut to 30 characters")
            << "[TVA]\nNb=1\n[TVA0]\nTypeTva=1\nLibelle=123456789012345678901234567890XYZ\n"
            << QVector<Tva>{{1, "123456789012345678901234567890", 0.0}};
    }

    void typesTva()
    {
        QFETCH(QString, texte);
        QFETCH(QVector<Tva>, attendu);
        LireTypesTva(Config(texte));
        QCOMPARE(Tvas(), attendu);
    }

    void poseursInseresPuisMisAJour()
    {
        base->Executer("INSERT INTO Poseur (Code, Nom) VALUES ('HORS', 'Absent du fichier')");
        const QString fichier = Config(
            "[Poseur]\nNb=5\n"
            "[Poseur0]\nCode=P01\nNom=Menuiserie Lefèvre & Fils\nRue1=12, rue de l'Église\nRue2=\nCp=25000\n"
            "Ville=Besançon\nTel=03 81 00 00 01\nFax=03 81 00 00 02\nPortable=06 00 00 00 01\n"
            "Mail=contact@lefevre.fr\nContact=Gérard Lefèvre\nSiret=12345678901234\nRGE=E-12345\n"
            "[Poseur3]\nCode=\nNom=Sans code\n");
        LirePoseurs(fichier);
        const QStringList premiere = Poseurs();
        QCOMPARE(premiere.size(), 3);
        QCOMPARE(Champ("P01", "Nom"), QStringLiteral("Menuiserie Lefèvre & Fils"));
        QCOMPARE(Champ("P01", "Rue1"), QStringLiteral("12, rue de l'Église"));
        QCOMPARE(Champ("P01", "Ville"), QStringLiteral("Besançon"));
        QCOMPARE(Champ("P01", "Contact"), QStringLiteral("Gérard Lefèvre"));
        QCOMPARE(Champ("P01", "Siret"), QStringLiteral("12345678901234"));
        QCOMPARE(Champ("P01", "RGE"), QStringLiteral("E-12345"));
        QCOMPARE(Champ("", "Nom"), QStringLiteral("Sans code"));
        QCOMPARE(Champ("HORS", "Nom"), QStringLiteral("Absent du fichier"));

        // The same start again changes nothing.
        LirePoseurs(fichier);
        QCOMPARE(Poseurs(), premiere);

        // Changed data updates the rows in place, keys kept.
        const QString idP01 = Champ("P01", "IdPoseur");
        const QString idVide = Champ("", "IdPoseur");
        LirePoseurs(Config("[Poseur]\nNb=2\n[Poseur0]\nCode=\nNom=Toujours sans code\n"
                           "[Poseur1]\nCode=P01\nNom=Lefèvre SARL\n"));
        QCOMPARE(Poseurs().size(), 3);
        QCOMPARE(Champ("P01", "IdPoseur"), idP01);
        QCOMPARE(Champ("P01", "Nom"), QStringLiteral("Lefèvre SARL"));
        QCOMPARE(Champ("P01", "Ville"), QString()); // absent keys write empty text
        QCOMPARE(Champ("", "IdPoseur"), idVide);
        QCOMPARE(Champ("", "Nom"), QStringLiteral("Toujours sans code"));
    }

    void poseursFichierUtf8()
    {
        LirePoseurs(Config("[POSEUR]\nNB=1\n[ poseur0 ]\n code = P02 \nnom=Bâtiments Œuvre & Cie\n", Style::Utf8Lf));
        QCOMPARE(Champ("P02", "Nom"), QStringLiteral("Bâtiments Œuvre & Cie"));
    }

    void codeAvecApostrophe()
    {
        const QString fichier = Config("[Poseur]\nNb=2\n[Poseur0]\nCode=D'ARTAGNAN\nNom=Un\n"
                                       "[Poseur1]\nCode=X' OR '1'='1\nNom=Deux\n");
        LirePoseurs(fichier);
        LirePoseurs(fichier);
        QCOMPARE(Poseurs().size(), 2);
        QCOMPARE(Champ("D'ARTAGNAN", "Nom"), QStringLiteral("Un"));
        QCOMPARE(Champ("X' OR '1'='1", "Nom"), QStringLiteral("Deux"));
    }

    void codeEnDoubleAjouteUneLigne()
    {
        base->Executer("INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'a')");
        base->Executer("INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'b')");
        LirePoseurs(Config("[Poseur]\nNb=1\n[Poseur0]\nCode=P1\nNom=c\n"));
        QCOMPARE(base->Compter("SELECT COUNT(*) FROM Poseur WHERE Code = 'P1'"), 3);
        QCOMPARE(base->Compter("SELECT COUNT(*) FROM Poseur WHERE Nom = 'c'"), 1);
    }

    // Each section reads as the look-up by code at that point would have it:
    // a code given twice in the file adds one row, then updates it; rows that
    // already hold what the file says are not written (no write at all when
    // none changes), but a NULL column the file gives as empty is.
    void poseursEcritsQuandIlsChangent()
    {
        base->Executer("INSERT INTO Poseur (Code, Nom, Rue1, Rue2, Cp, Ville, Tel, Fax, Portable, Mail, Contact, "
                       "Siret, RGE) VALUES ('P1', 'Un', '', NULL, '', '', '', '', '', '', '', '', '')");
        base->Executer("INSERT INTO Poseur (Nom) VALUES ('Sans code')");
        const QString fichier = Config("[Poseur]\nNb=3\n[Poseur0]\nCode=P2\nNom=Premier\n"
                                       "[Poseur1]\nCode=P2\nNom=Second\n[Poseur2]\nCode=P1\nNom=Un\n");
        LirePoseurs(fichier);
        QCOMPARE(base->Compter("SELECT COUNT(*) FROM Poseur WHERE Code = 'P2'"), 1);
        QCOMPARE(Champ("P2", "Nom"), QStringLiteral("Second"));
        QCOMPARE(base->Compter("SELECT COUNT(*) FROM Poseur WHERE Code = 'P1' AND Rue2 = ''"), 1);
        QCOMPARE(base->Compter("SELECT COUNT(*) FROM Poseur WHERE Code IS NULL"), 1);

        base->Base().ExecuterScript("CREATE TRIGGER lecture_seule BEFORE UPDATE ON Poseur "
                                    "BEGIN SELECT RAISE(ABORT, 'écriture inattendue'); END;");
        const QStringList avant = Poseurs();
        LirePoseurs(fichier);
        QCOMPARE(Poseurs(), avant);
        QVERIFY_THROWS_EXCEPTION(std::exception, LirePoseurs(Config("[Poseur]\nNb=1\n[Poseur0]\nCode=P1\nNom=Autre\n")));
        QCOMPARE(Poseurs(), avant);
    }

    void echecLaissePoseursIntacts()
    {
        base->Executer("INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'Ancien nom')");
        // The third installer cannot be written: the whole reading must be undone.
        base->Base().ExecuterScript(
            "CREATE TRIGGER refus BEFORE INSERT ON Poseur WHEN NEW.Code = 'P3' "
            "BEGIN SELECT RAISE(ABORT, 'installateur refusé'); END;");
        const QStringList avant = Poseurs();
        const QString fichier = Config("[Poseur]\nNb=3\n[Poseur0]\nCode=P1\nNom=Nouveau nom\n"
                                       "[Poseur1]\nCode=P2\nNom=Nouveau\n[Poseur2]\nCode=P3\nNom=Refusé\n");
        bool echec = false;
        try {
            LirePoseurs(fichier);
        } catch (const std::exception& erreur) {
            echec = true;
            QVERIFY2(QString::fromUtf8(erreur.what()).contains("installateur refusé"), erreur.what());
        }
        QVERIFY(echec);
        QCOMPARE(Poseurs(), avant);
        QVERIFY(!base->Base().EnTransaction());

        // The connection is usable afterwards.
        base->Base().ExecuterScript("DROP TRIGGER refus;");
        LirePoseurs(fichier);
        QCOMPARE(Poseurs().size(), 3);
        QCOMPARE(Champ("P1", "Nom"), QStringLiteral("Nouveau nom"));
    }

    void fichierSansPoseur()
    {
        base->Executer("INSERT INTO Poseur (Code, Nom) VALUES ('P1', 'Reste')");
        const QStringList avant = Poseurs();
        LirePoseurs(Config("[TVA]\nNb=0\n[Poseur0]\nCode=P9\n"));
        LirePoseurs(base->Fichier("absent.ini"));
        QCOMPARE(Poseurs(), avant);
    }

    void numerosSections()
    {
        const TFichierIni ini(Config("[Poseur]\n[Poseur12]\n[poseur2]\n[Poseur02]\n[Poseur-1]\n"
                                     "[Poseur 3]\n[PoseurX]\n[Poseur0]\n[Poseur99]\n"));
        QCOMPARE(NumerosSections(ini, "Poseur", 20), QList<int>({0, 2, 12}));
        QCOMPARE(NumerosSections(ini, "Poseur", 0), QList<int>());
        QCOMPARE(NumerosSections(ini, "Poseur", -5), QList<int>());
    }
};

QTEST_MAIN(TestConfiguration)
#include "tst_configuration.moc"
