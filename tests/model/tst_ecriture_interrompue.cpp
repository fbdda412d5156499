// A copy of the program killed while it writes its answer must leave the
// host's exchange file and the archive copy whole: the content they had
// before, or the complete new one, never a part; what it leaves beside them
// goes at the next write. The writer runs in a child
// process killed at random instants; the seed is printed, and QUARLO_GRAINE
// set to it replays the same instants.

#include "DevisEssai.h"
#include "model/Systeme.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>


namespace {

constexpr int kInterruptions = 40;
// How long the kills may go on past kInterruptions, on a machine slow enough
// that none of those landed during a write.
constexpr int kDelaiSupplementaireMs = 60000;

QByteArray LireOctets(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

QByteArray Contenu(const DevisEchange& devis)
{
    return ContenuEchange(devis.poseGlobale, true, devis.quincailleriesGlobales, devis.menuiseries);
}

void EcrireOctetsDans(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size())
        qFatal("Cannot write %s", qPrintable(chemin));
}

quint32 Graine()
{
    bool ok = false;
    const quint32 imposee = qEnvironmentVariable("QUARLO_GRAINE").toUInt(&ok);
    return ok ? imposee : QRandomGenerator::global()->generate();
}

// "hote", "A", "B" or what the file is instead.
QString Nommer(const QByteArray& contenu, const QMap<QString, QByteArray>& connus)
{
    for (auto it = connus.cbegin(); it != connus.cend(); ++it)
        if (contenu == it.value())
            return it.key();
    return QStringLiteral("%1 octets inconnus").arg(contenu.size());
}

} // namespace

class TestEcritureInterrompue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void fichierAncienOuCompletJamaisPartiel()
    {
        const quint32 graine = Graine();
        qInfo("graine %u (QUARLO_GRAINE=%u rejoue les mêmes instants)", graine, graine);
        QRandomGenerator hasard(graine);

        QTemporaryDir dossier;
        QVERIFY(QDir(dossier.path()).mkdir(QStringLiteral("Xml")));
        const QString fichier = dossier.filePath(QStringLiteral("Devis.xml"));
        const QString prefixe = dossier.filePath(QStringLiteral("Xml/20250312_150000"));
        const QString archive = prefixe + QStringLiteral(".sortie.xml");
        const QByteArray hote = LireOctets(QStringLiteral(QUARLO_TEST_DATA "/hote.xml"));
        QVERIFY(!hote.isEmpty());
        QFile initial(fichier);
        QVERIFY(initial.open(QIODevice::WriteOnly) && initial.write(hote) == hote.size());
        initial.close();

        const DevisEchange devisA = DevisEssai(120, QStringLiteral("A"));
        const QMap<QString, QByteArray> connus = {
            {QStringLiteral("hote"), hote},
            {QStringLiteral("A"), Contenu(devisA)},
            {QStringLiteral("B"), Contenu(DevisEssai(90, QStringLiteral("B")))},
        };
        // The instants cover a few writes, however fast this build writes.
        QElapsedTimer chrono;
        chrono.start();
        EcrireEchange(devisA.poseGlobale, true, devisA.quincailleriesGlobales, devisA.menuiseries,
                      dossier.filePath(QStringLiteral("mesure.xml")), dossier.filePath(QStringLiteral("mesure")));
        const int dureeEcritureMs = int(chrono.elapsed()) + 1;

        // kInterruptions kills, then more until one has landed during a write
        // (otherwise nothing was tried), for a bounded time.
        int pendantEcriture = 0;
        int i = 0;
        QDeadlineTimer limite(QDeadlineTimer::Forever); // bounded once the kInterruptions kills are done
        for (; i < kInterruptions || (pendantEcriture == 0 && !limite.hasExpired()); ++i) {
            if (i == kInterruptions)
                limite.setRemainingTime(kDelaiSupplementaireMs);
            QProcess ecrivain;
            ecrivain.start(QStringLiteral(QUARLO_ECRIVAIN), {fichier, prefixe});
            QVERIFY2(ecrivain.waitForReadyRead(30000), qPrintable(ecrivain.errorString()));
            QCOMPARE(ecrivain.readLine().trimmed(), QByteArray("pret"));
            QThread::msleep(hasard.bounded(3 * dureeEcritureMs));
            QVERIFY2(ecrivain.state() == QProcess::Running, ecrivain.readAllStandardError().constData());
            ecrivain.kill();
            QVERIFY(ecrivain.waitForFinished(30000));

            // The last step the writer announced (its lines end in CR LF on Windows).
            if (ecrivain.readAllStandardOutput().trimmed().split('\n').last().trimmed() == "e")
                ++pendantEcriture;
            const QString etat = Nommer(LireOctets(fichier), connus);
            QVERIFY2(connus.contains(etat), qPrintable(QStringLiteral("interruption %1 (graine %2) : fichier d'échange de %3")
                                                           .arg(i).arg(graine).arg(etat)));
            if (QFile::exists(archive)) {
                const QString etatArchive = Nommer(LireOctets(archive), connus);
                QVERIFY2(etatArchive == u"A" || etatArchive == u"B",
                         qPrintable(QStringLiteral("interruption %1 (graine %2) : copie d'archive de %3")
                                        .arg(i).arg(graine).arg(etatArchive)));
            }
        }
        qInfo("%d interruptions sur %d pendant une écriture (écriture : %d ms)", pendantEcriture, i, dureeEcritureMs);
        QVERIFY2(pendantEcriture > 0, qPrintable(QStringLiteral("aucune des %1 interruptions (graine %2) n'est tombée "
                                                                "pendant une écriture")
                                                     .arg(i).arg(graine)));

        // The next write removes what the killed writers left, and only that:
        // not a temporary file another writer holds locked, nor files of
        // another name or of another target.
        const QDir racine(dossier.path());
        const QDir xml(dossier.filePath(QStringLiteral("Xml")));
        qInfo("restes laissés : %lld à côté du fichier, %lld dans Xml",
              qlonglong(racine.entryList({"Devis.xml.quarlo-*"}, QDir::Files).size()),
              qlonglong(xml.entryList({"*.quarlo-*"}, QDir::Files).size()));
        const QStringList voisins = {"Devis.xml.quarlo-Ab12Cd", "Devis.xml.backup", "Devis.xml.quarlo-abc",
                                     "Autre.xml.quarlo-ABCDEF", "Devis.xml.quarlo-Enc0rs"};
        const QString enCours = QStringLiteral("Devis.xml.quarlo-Enc0rs");
        for (const QString& nom : voisins)
            if (nom != enCours)
                EcrireOctetsDans(dossier.filePath(nom), "reste");
        // The one another writer is writing at this moment.
        Systeme::Issue issue;
        Systeme::FichierTenu ecrit = Systeme::FichierTenu::CreerNouveau(dossier.filePath(enCours), QString(), issue);
        QVERIFY2(!issue && !ecrit.Ecrire("reste"), issue ? qPrintable(issue->raison) : "");
        EcrireEchange(devisA.poseGlobale, true, devisA.quincailleriesGlobales, devisA.menuiseries, fichier, prefixe);
        QCOMPARE(racine.entryList({"Devis.xml.*"}, QDir::Files),
                 QStringList({"Devis.xml.backup", "Devis.xml.quarlo-abc", "Devis.xml.quarlo-Enc0rs"}));
        QVERIFY(QFile::exists(dossier.filePath(QStringLiteral("Autre.xml.quarlo-ABCDEF"))));
        QCOMPARE(xml.entryList({"*.quarlo-*"}, QDir::Files), QStringList());
        QCOMPARE(Nommer(LireOctets(fichier), connus), QStringLiteral("A"));
    }
};

QTEST_GUILESS_MAIN(TestEcritureInterrompue)
#include "tst_ecriture_interrompue.moc"
