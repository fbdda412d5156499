#include "ui/common/ObjectCode.h"

#include "data/DMPose.h"

#include <QComboBox>
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
};

QTEST_MAIN(TestObjectCode)
#include "tst_objectcode.moc"
