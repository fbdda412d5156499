#include "ui/common/ObjectCode.h"

#include "data/DMPose.h"
#include "ui/common/ListeRapport.h"

#include <QCollator>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QRandomGenerator>
#include <QListWidget>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

class TestObjectCode : public QObject
{
    Q_OBJECT

    static void Remplir(QComboBox& combo)
    {
        AjouterEntree(&combo, QStringLiteral("Pose simple"), QStringLiteral("1"));
        AjouterEntree(&combo, QStringLiteral("Pose double"), QStringLiteral("12"));
        AjouterEntree(&combo, QStringLiteral("Doublon"), QStringLiteral("12"));
        AjouterEntree(&combo, QStringLiteral("Sans type"), QStringLiteral("-1"));
    }

private slots:
    void selectionnerCode_data()
    {
        QTest::addColumn<int>("depart");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("attendu");
        QTest::newRow("premier des doublons") << 0 << QStringLiteral("12") << 1;
        QTest::newRow("négatif") << 0 << QStringLiteral("-1") << 3;
        QTest::newRow("aucun : sélection gardée") << 3 << QStringLiteral("2") << 3;
        QTest::newRow("comparaison exacte") << 0 << QStringLiteral("12 ") << 0;
        QTest::newRow("vide ne choisit rien") << 1 << QString() << 1;
    }

    void selectionnerCode()
    {
        QFETCH(int, depart);
        QFETCH(QString, code);
        QComboBox combo;
        Remplir(combo);
        combo.setCurrentIndex(depart);
        QSignalSpy choixUtilisateur(&combo, &QComboBox::activated);
        SelectionnerCode(&combo, code);
        QTEST(combo.currentIndex(), "attendu");
        QCOMPARE(choixUtilisateur.count(), 0);
    }

    void lireCode()
    {
        QComboBox combo;
        QCOMPARE(GetCodeSelection(&combo), QString());
        Remplir(combo);
        QCOMPARE(GetCodeCombo(&combo, -1), QString());
        QCOMPARE(GetCodeCombo(&combo, 4), QString());
        QCOMPARE(GetCodeCombo(&combo, 1), QStringLiteral("12"));
        combo.setCurrentIndex(3);
        QCOMPARE(GetCodeSelection(&combo), QStringLiteral("-1"));
        ViderCombo(&combo);
        QCOMPARE(combo.count(), 0);
        QCOMPARE(GetCodeSelection(&combo), QString());
    }

    void viderListes()
    {
        QTreeWidget arbre;
        auto* avecCode = new QTreeWidgetItem(&arbre, {QStringLiteral("Hauteur")});
        SetCode(avecCode, QStringLiteral("7"));
        auto* sansCode = new QTreeWidgetItem(&arbre, {QStringLiteral("nouvelle")});
        QCOMPARE(GetCode(avecCode), QStringLiteral("7"));
        QVERIFY(ACode(avecCode));
        QVERIFY(!ACode(sansCode));
        QCOMPARE(GetCode(sansCode), QString());

        QListWidget icones;
        SetCode(new QListWidgetItem(QStringLiteral("Volet"), &icones), QStringLiteral("3"));
        QCOMPARE(GetCode(icones.item(0)), QStringLiteral("3"));

        ViderListe(&arbre);
        ViderListe(&icones);
        QCOMPARE(arbre.topLevelItemCount(), 0);
        QCOMPARE(icones.count(), 0);
        QVERIFY(arbre.updatesEnabled());
        QVERIFY(icones.updatesEnabled());

        // A caller refilling in bulk keeps its own state.
        arbre.setUpdatesEnabled(false);
        ViderListe(&arbre);
        QVERIFY(!arbre.updatesEnabled());
    }

    // One entry per row of the VAT table, after those already there.
    void remplirComboTva()
    {
        TDMPose dm;
        dm.AjouterTva(1, QStringLiteral("TVA 20 %"), 20.0);
        dm.AjouterTva(2, QStringLiteral("TVA réduite à 5,5 % sur les travaux"), 5.5);
        dm.AjouterTva(2, QStringLiteral("TVA 10 %"), 10.0);
        QComboBox combo;
        combo.addItem(QStringLiteral("déjà là"), QStringLiteral("0"));
        RemplirComboTva(&combo);
        QCOMPARE(combo.count(), 4);
        QCOMPARE(combo.itemText(3), QStringLiteral("TVA 10 %"));
        QCOMPARE(combo.itemData(2).toString(), QStringLiteral("2"));
        QCOMPARE(combo.itemData(1).toString(), QStringLiteral("1"));
    }

    // Report rows come out in the order of a stable sort by the locale's
    // collation ignoring case, whatever order they were read in: accents,
    // case, ligatures, digits and signs, and captions the collator holds
    // equal (which keep the order of the read).
    void triParLibelle()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QStringList libelles = {
            "éclair", "Eclair", "eclair", "Élan", "elan", "zèbre", "Zoo", "a10", "a9", "a 1", "Æther", "aether",
            "ß", "ss", "œuvre", "oeuvre", "", "-tiret", "_x", "Ïle", "ile", "Île", "Fenêtre PVC", "fenetre pvc",
            "Fenêtre 2", "Fenêtre 10", "Ÿ", "yacht", "×", "÷", "Ø", "oz", "Ω", "Ça", "ca", "Cab", "~", "Z", "ab", "Ａb", "ﬁn", "fin", "ﬁ", "Fi"};
        QCollator collateur{QLocale()};
        collateur.setCaseSensitivity(Qt::CaseInsensitive);
        for (quint32 graine = 0; graine < 20; ++graine) {
            QVector<LigneRapport> lignes;
            for (int i = 0; i < libelles.size(); ++i)
                lignes.append({{libelles.at(i)}, QString::number(i)});
            std::shuffle(lignes.begin(), lignes.end(), QRandomGenerator(graine));
            QVector<LigneRapport> attendues = lignes;
            std::stable_sort(attendues.begin(), attendues.end(), [&](const LigneRapport& a, const LigneRapport& b) {
                return collateur.compare(a.textes.first(), b.textes.first()) < 0;
            });
            TrierParLibelle(lignes);
            QStringList obtenues;
            QStringList voulues;
            for (int i = 0; i < lignes.size(); ++i) {
                obtenues << lignes.at(i).cle + '=' + lignes.at(i).textes.first();
                voulues << attendues.at(i).cle + '=' + attendues.at(i).textes.first();
            }
            QCOMPARE(obtenues, voulues);
        }
    }

    // A label too long for its column ends with "…" on screen and shows
    // whole in its tooltip; one that fits has no tooltip.
    void texteCoupeEtInfobulle()
    {
        QTreeWidget liste;
        liste.setColumnCount(2);
        PreparerListe(&liste, {{90}, {60, Qt::AlignRight}});
        const QString longue = QStringLiteral("Fenêtre aluminium 1 vantail <salle d'eau>");
        AjouterLignes(&liste, {{{longue, QStringLiteral("12,50")}, QStringLiteral("1")},
                               {{QStringLiteral("Vis"), QStringLiteral("1,00")}, QStringLiteral("2")}});
        liste.resize(300, 200);
        liste.show();
        QVERIFY(QTest::qWaitForWindowExposed(&liste));

        const auto infobulle = [&liste](int ligne, int colonne) {
            QToolTip::hideText();
            [[maybe_unused]] const bool cachee = QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
            const QRect cellule = liste.visualRect(liste.model()->index(ligne, colonne));
            QHelpEvent demande(QEvent::ToolTip, cellule.center(), liste.viewport()->mapToGlobal(cellule.center()));
            QCoreApplication::sendEvent(liste.viewport(), &demande);
            return QToolTip::isVisible() ? QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText() : QString();
        };
        QCOMPARE(infobulle(0, 0), longue);
        QCOMPARE(infobulle(1, 0), QString());
        QCOMPARE(infobulle(0, 1), QString());
    }

    // A label pasted from a whole file costs what its visible part costs:
    // filling, showing, selecting, asking for its tooltip and emptying a list
    // holding one of 20 million characters stays far below the seconds its
    // layout as one line would take.
    void libelleTresLong()
    {
        QString libelle(20 * 1024 * 1024, QLatin1Char('x'));
        for (qsizetype i = 0; i < libelle.size(); i += 7)
            libelle[i] = QLatin1Char(' ');
        QElapsedTimer chrono;
        chrono.start();
        {
            QTreeWidget liste;
            liste.setColumnCount(2);
            PreparerListe(&liste, {{200}, {80, Qt::AlignRight}});
            QVector<LigneRapport> lignes = {{{libelle, QStringLiteral("1,00")}, QStringLiteral("1")},
                                            {{QStringLiteral("Vis"), QStringLiteral("2,00")}, QStringLiteral("2")}};
            TrierParLibelle(lignes);
            AjouterLignes(&liste, lignes);
            liste.resize(400, 200);
            liste.show();
            QVERIFY(QTest::qWaitForWindowExposed(&liste));
            QTreeWidgetItem* longue = liste.findItems(QStringLiteral("1,00"), Qt::MatchExactly, 1).value(0);
            liste.setCurrentItem(longue);
            liste.grab();
            const QRect cellule = liste.visualItemRect(longue);
            QHelpEvent demande(QEvent::ToolTip, cellule.center(), liste.viewport()->mapToGlobal(cellule.center()));
            QCoreApplication::sendEvent(liste.viewport(), &demande);
            QVERIFY(QToolTip::isVisible());
            QToolTip::hideText();
            ViderListe(&liste);
            liste.close();
        }
        qInfo("%lld ms", chrono.elapsed());
        QVERIFY2(chrono.elapsed() < 3000, qPrintable(QStringLiteral("%1 ms").arg(chrono.elapsed())));
    }
};

QTEST_MAIN(TestObjectCode)
#include "tst_objectcode.moc"
