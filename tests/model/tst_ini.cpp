#include "model/Ini.h"
#include "model/MargeMini.h"

#include "BaseTemporaire.h"
#include "DansUnFils.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>


namespace {

QByteArray Lire(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return {};
    return fichier.readAll();
}

void Ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

// A file saved as "Unicode" by a Windows editor: UTF-16 LE after its mark.
QByteArray Utf16Le(const QString& texte)
{
    QStringEncoder encodeur(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encodeur.encode(texte);
}

} // namespace

class TestIni : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dossier;
    QString Chemin() const { return dossier.filePath(QStringLiteral("test.ini")); }

    TFichierIni Fichier(const QByteArray& octets)
    {
        Ecrire(Chemin(), octets);
        return TFichierIni(Chemin());
    }

private slots:
    void initTestCase() { UtiliserLocaleFrancaise(); }

    void lectureTexte_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("cle");
        QTest::addColumn<QString>("attendu");

        const QString defaut = QStringLiteral("<défaut>");
        QTest::newRow("case and blanks of names")
            << QByteArray("[ tva0 ]\r\n  LIBELLE  =  TVA 20 %  \r\n") << "TVA0" << "Libelle" << "TVA 20 %";
        QTest::newRow("LF lines") << QByteArray("[A]\nx=1\ny=2\n") << "a" << "Y" << "2";
        QTest::newRow("CR lines") << QByteArray("[A]\rx=1\ry=2\r") << "a" << "Y" << "2";
        QTest::newRow("CR LF never kept in the value")
            << QByteArray("[A]\r\nx=valeur\r\n") << "A" << "x" << "valeur";
        QTest::newRow("last line without end") << QByteArray("[A]\r\nx=fin") << "A" << "x" << "fin";
        QTest::newRow("Windows-1252 accents and euro")
            << QByteArray("[P]\r\nNom=Menuiserie Lef\xE8vre \x80\r\n") << "P" << "Nom"
            << QStringLiteral("Menuiserie Lefèvre €");
        QTest::newRow("UTF-8") << QByteArray("[P]\nVille=Besançon\n") << "P" << "Ville"
                               << QStringLiteral("Besançon");
        QTest::newRow("byte-order mark before the first section")
            << QByteArray("\xEF\xBB\xBF[Poseur]\r\nNb=2\r\n") << "Poseur" << "Nb" << "2";
        QTest::newRow("UTF-16 with its mark")
            << Utf16Le(QStringLiteral("[Poseur0]\r\nVille=Besançon\r\n")) << "Poseur0" << "Ville"
            << QStringLiteral("Besançon");
        QTest::newRow("equals sign inside the value")
            << QByteArray("[P]\r\nMail=a=b@c.fr\r\n") << "P" << "Mail" << "a=b@c.fr";
        QTest::newRow("empty value is not the default") << QByteArray("[P]\r\nCode=\r\n") << "P"
                                                         << "Code" << "";
        QTest::newRow("missing key") << QByteArray("[P]\r\nNom=x\r\n") << "P" << "Rue1" << defaut;
        QTest::newRow("missing section") << QByteArray("[P]\r\nNom=x\r\n") << "Q" << "Nom" << defaut;
        QTest::newRow("key of another section")
            << QByteArray("[P]\r\nNom=x\r\n[Q]\r\nVille=y\r\n") << "P" << "Ville" << defaut;
        QTest::newRow("key before any section") << QByteArray("Nom=x\r\n[P]\r\n") << "P" << "Nom"
                                                << defaut;
        QTest::newRow("commented key") << QByteArray("[P]\r\n;Nom=x\r\n") << "P" << "Nom" << defaut;
        QTest::newRow("first of two keys wins") << QByteArray("[P]\r\nNom=un\r\nnom=deux\r\n")
                                                << "P" << "Nom" << "un";
        QTest::newRow("section repeated later")
            << QByteArray("[P]\r\nNom=un\r\n[Q]\r\n[p]\r\nVille=Lyon\r\n") << "P" << "Ville" << "Lyon";
        QTest::newRow("section name is not a prefix")
            << QByteArray("[Poseur10]\r\nNom=x\r\n") << "Poseur1" << "Nom" << defaut;
    }

    void lectureTexte()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, section);
        QFETCH(QString, cle);
        QFETCH(QString, attendu);
        QCOMPARE(Fichier(contenu).LireTexte(section, cle, QStringLiteral("<défaut>")), attendu);
    }

    void lectureNombres_data()
    {
        QTest::addColumn<QByteArray>("valeur");
        QTest::addColumn<int>("entier");
        QTest::addColumn<double>("decimal");

        // Defaults: -1 and 0.
        QTest::newRow("whole") << QByteArray("20") << 20 << 20.0;
        QTest::newRow("regional decimal") << QByteArray("5,5") << -1 << 5.5;
        QTest::newRow("dot under French settings") << QByteArray("5.5") << -1 << 0.0;
        QTest::newRow("blanks") << QByteArray("  7  ") << 7 << 7.0;
        QTest::newRow("negative") << QByteArray("-1") << -1 << -1.0;
        QTest::newRow("text") << QByteArray("abc") << -1 << 0.0;
        QTest::newRow("number then text") << QByteArray("12abc") << -1 << 0.0;
        QTest::newRow("empty") << QByteArray("") << -1 << 0.0;
        QTest::newRow("group separator") << QByteArray("1 000") << -1 << 0.0;
    }

    void lectureNombres()
    {
        QFETCH(QByteArray, valeur);
        QFETCH(int, entier);
        QFETCH(double, decimal);
        const TFichierIni ini = Fichier("[S]\r\nV=" + valeur + "\r\n");
        QCOMPARE(ini.LireEntier("S", "V", -1), entier);
        QCOMPARE(ini.LireDecimal("S", "V", 0.0), decimal);
        QCOMPARE(ini.LireEntier("S", "Absente", 42), 42);
        QCOMPARE(ini.LireDecimal("S", "Absente", 4.5), 4.5);
    }

    void sections()
    {
        const TFichierIni ini = Fichier("; en-tête\r\n[TVA]\r\nNb=2\r\n[ Poseur0 ]\r\n[tva]\r\n[TVA1]\r\n");
        QCOMPARE(ini.Sections(), QStringList({"TVA", "Poseur0", "TVA1"}));
        QVERIFY(ini.SectionExiste("poseur0"));
        QVERIFY(ini.SectionExiste(" TVA1 "));
        QVERIFY(!ini.SectionExiste("Poseur"));
    }

    void fichierAbsent()
    {
        const TFichierIni ini(dossier.filePath(QStringLiteral("absent.ini")));
        QVERIFY(ini.Sections().isEmpty());
        QVERIFY(!ini.SectionExiste("TVA"));
        QCOMPARE(ini.LireEntier("TVA", "Nb", 0), 0);
        QCOMPARE(ini.LireTexte("TVA", "Nb", "x"), QStringLiteral("x"));
    }

    void ecriture_data()
    {
        QTest::addColumn<QByteArray>("avant");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("cle");
        QTest::addColumn<QString>("valeur");
        QTest::addColumn<QByteArray>("apres");

        const QByteArray windows("; R\xE9glages\r\n[Marge]\r\nMini=5\r\nAutre=\xE9t\xE9\r\n\r\n[Suite]\r\nX=1\r\n");
        QTest::newRow("value replaced, the rest kept byte for byte")
            << windows << "marge" << "MINI" << "12,5"
            << QByteArray("; R\xE9glages\r\n[Marge]\r\nMini=12,5\r\nAutre=\xE9t\xE9\r\n\r\n[Suite]\r\nX=1\r\n");
        QTest::newRow("key added after the last key of its section")
            << windows << "Marge" << "Maxi" << "30"
            << QByteArray("; R\xE9glages\r\n[Marge]\r\nMini=5\r\nAutre=\xE9t\xE9\r\nMaxi=30\r\n\r\n[Suite]\r\nX=1\r\n");
        QTest::newRow("accent written back in Windows-1252")
            << windows << "Suite" << "X" << QStringLiteral("Gérard")
            << QByteArray("; R\xE9glages\r\n[Marge]\r\nMini=5\r\nAutre=\xE9t\xE9\r\n\r\n[Suite]\r\nX=G\xE9rard\r\n");
        QTest::newRow("section added to a file without final end of line")
            << QByteArray("[A]\nx=1") << "Marge" << "Mini" << "0"
            << QByteArray("[A]\nx=1\n\n[Marge]\nMini=0\n");
        QTest::newRow("blanks around the equals sign kept")
            << QByteArray("[Marge]\r\n  Mini =  5  \r\n") << "Marge" << "Mini" << "7"
            << QByteArray("[Marge]\r\n  Mini =  7\r\n");
        QTest::newRow("new file") << QByteArray() << "Marge" << "Mini" << "12,5"
                                  << QByteArray("[Marge]\r\nMini=12,5\r\n");
        QTest::newRow("UTF-8 with byte-order mark stays so")
            << QByteArray("\xEF\xBB\xBF[P]\nVille=Besançon\n") << "P" << "Ville" << QStringLiteral("Orléans")
            << QByteArray("\xEF\xBB\xBF[P]\nVille=Orléans\n");
        QTest::newRow("UTF-16 stays UTF-16")
            << Utf16Le(QStringLiteral("[Marge]\r\nMini=5\r\n")) << "Marge" << "Mini" << QStringLiteral("7,5 €")
            << Utf16Le(QStringLiteral("[Marge]\r\nMini=7,5 €\r\n"));
        QTest::newRow("line break in the value")
            << QByteArray("[P]\r\nNom=x\r\n") << "P" << "Nom" << "un\r\ndeux\ntrois"
            << QByteArray("[P]\r\nNom=un deux trois\r\n");
        QTest::newRow("CR lines stay CR lines")
            << QByteArray("[A]\rx=1\r[Marge]\rMini=5") << "Marge" << "Maxi" << "9"
            << QByteArray("[A]\rx=1\r[Marge]\rMini=5\rMaxi=9\r");
        // Bytes the reader cannot make sense of are not its to mend.
        QTest::newRow("second byte-order mark kept")
            << QByteArray("\xEF\xBB\xBF[P]\r\n\xEF\xBB\xBF;note\r\nNom=x\r\n") << "P" << "Nom" << "y"
            << QByteArray("\xEF\xBB\xBF[P]\r\n\xEF\xBB\xBF;note\r\nNom=y\r\n");
        QTest::newRow("bytes that are not UTF-8 after its mark kept")
            << QByteArray("\xEF\xBB\xBF[P]\nA=\xE9\xFF\nNom=x\n") << "P" << "Nom" << QStringLiteral("é")
            << QByteArray("\xEF\xBB\xBF[P]\nA=\xE9\xFF\nNom=\xC3\xA9\n");
        QTest::newRow("malformed UTF-16 kept")
            << Utf16Le(QStringLiteral("[P]\r\nA=")) + QByteArray("\x00\xD8", 2) + Utf16Le(QStringLiteral("\r\nNom=x\r\n")).mid(2)
            << "P" << "Nom" << "y"
            << Utf16Le(QStringLiteral("[P]\r\nA=")) + QByteArray("\x00\xD8", 2) + Utf16Le(QStringLiteral("\r\nNom=y\r\n")).mid(2);
        QTest::newRow("character outside Windows-1252 turns the file to UTF-8")
            << QByteArray("[P]\r\nNom=\xE9\r\n") << "P" << "Code" << QStringLiteral("Ω")
            << QByteArray("[P]\r\nNom=é\r\nCode=Ω\r\n");
    }

    void ecriture()
    {
        QFETCH(QByteArray, avant);
        QFETCH(QString, section);
        QFETCH(QString, cle);
        QFETCH(QString, valeur);
        QFETCH(QByteArray, apres);

        QFile::remove(Chemin());
        if (!avant.isNull())
            Ecrire(Chemin(), avant);
        TFichierIni(Chemin()).EcrireTexte(section, cle, valeur);
        QCOMPARE(Lire(Chemin()), apres);

        const QString relue = TFichierIni(Chemin()).LireTexte(section, cle);
        QCOMPARE(relue, QString(valeur).replace("\r\n", " ").replace('\n', ' '));
    }

    void ecrituresSuccessives()
    {
        TFichierIni ini = Fichier("[Marge]\r\nMini=1\r\n");
        ini.EcrireTexte("Marge", "Mini", "2");
        ini.EcrireTexte("Autre", "Cle", "a");
        ini.EcrireTexte("Marge", "Maxi", "3");
        QCOMPARE(Lire(Chemin()), QByteArray("[Marge]\r\nMini=2\r\nMaxi=3\r\n\r\n[Autre]\r\nCle=a\r\n"));
        QCOMPARE(ini.LireTexte("marge", "maxi"), QStringLiteral("3"));
    }

    // A file that cannot be written: one French sentence saying what to do,
    // the system's words on a second line, and the file as it was.
    void echecEcritureSignale_data()
    {
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("dossier absent") << "absent/sous/test.ini" << "vérifiez que son dossier existe";
        QTest::newRow("fichier en lecture seule") << "lecture_seule.ini" << "il est en lecture seule ; retirez-lui";
    }

    void echecEcritureSignale()
    {
        QFETCH(QString, fichier);
        QFETCH(QString, phrase);
        const QString chemin = dossier.filePath(fichier);
        const bool lectureSeule = QTest::currentDataTag() == QLatin1String("fichier en lecture seule");
        if (lectureSeule) {
            Ecrire(chemin, "[Marge]\r\nMini=5\r\n");
            QVERIFY(QFile::setPermissions(chemin, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            // Open to the ordinary user the writer becomes under root.
            QVERIFY(QFile::setPermissions(dossier.path(), QFileDevice::Permissions(0x7777)));
        }
        const QString message = DansUnFils(0, [&] { TFichierIni(chemin).EcrireTexte("Marge", "Mini", "1"); });
        const QStringList lignes = message.split(u'\n');
        QCOMPARE(lignes.size(), 2);
        QVERIFY2(lignes[0].startsWith("Impossible d'enregistrer le fichier « " + QDir::toNativeSeparators(chemin) + " » : ") && lignes[0].contains(phrase),
                 qPrintable(message));
        QVERIFY2(!lignes[1].isEmpty(), qPrintable(message));
        if (lectureSeule)
            QCOMPARE(Lire(chemin), QByteArray("[Marge]\r\nMini=5\r\n"));
    }

    void margeMini_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("valide");
        QTest::newRow("virgule") << "12,5" << true;
        QTest::newRow("négative") << "-3" << true;
        QTest::newRow("au-delà de 100") << "150" << true;
        QTest::newRow("zéro") << "0" << true;
        QTest::newRow("vide") << "" << false;
        QTest::newRow("lettres") << "abc" << false;
        QTest::newRow("moins un") << "-1" << false;
        QTest::newRow("moins un écrit autrement") << "-1,00" << false;
        QTest::newRow("point décimal") << "12.5" << false;
    }

    void margeMini()
    {
        QFETCH(QString, texte);
        QFETCH(bool, valide);
        QCOMPARE(MargeMiniValide(texte), valide);
    }

    void margeMiniGardeLeFichier()
    {
        QCOMPARE(LireMargeMini(dossier.filePath(QStringLiteral("absent.ini"))), QStringLiteral("0"));
        Ecrire(Chemin(), "[Autre]\r\nCle=a\r\n[Marge]\r\nMini=5\r\nMaxi=9\r\n");
        EcrireMargeMini(Chemin(), "12,5");
        QCOMPARE(Lire(Chemin()), QByteArray("[Autre]\r\nCle=a\r\n[Marge]\r\nMini=12,5\r\nMaxi=9\r\n"));
        QCOMPARE(LireMargeMini(Chemin()), QStringLiteral("12,5"));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
