// The hardware catalogue windows, driven as an administrator would, then
// read back from the database and the files.

#include "DonneesReference.h"
#include "LignesTexte.h"
#include "Octets.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "ui/admin/FicheQuincaillerie.h"
#include "ui/admin/FicheQuincaillerieListe.h"
#include "ui/common/ChoixFichier.h"
#include "ui/common/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral("SELECT CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, "
                                          "NbPiecesML, Secable FROM Quincaillerie ORDER BY IdQuincaillerie");

// An entry whose second label, purchase price and piece counts are those
// every test here expects: "bis", 1, 10 pieces and 0,5 per metre.
void Entree(BaseTemporaire& base, const QString& code, const QString& libelle, double vente, int secable)
{
    DonneesReference(base).EntreeCatalogue(libelle, QStringLiteral("bis"), vente, 1, 10, 0.5, secable, code);
}

// What every complete export adds to its closing message.
const QString kTableur = QStringLiteral("\nPour le modifier dans un tableur, ouvrez-le avec les champs entre guillemets "
                                        "comme texte : sinon des codes tels que 00123 ou 1E5 deviennent des nombres et "
                                        "reviennent changés.");

} // namespace

class TestAdminQuincaillerie : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void cleanup() { QVERIFY(AucuneFenetreOuverte()); }

    void listeEtDuplication()
    {
        BaseTemporaire base;
        TFicheQuincaillerieListe liste(nullptr);
        liste.show();
        QCOMPARE(liste.windowTitle(), QStringLiteral("Liste de la quincaillerie"));
        Entree(base, "V1", "Vis", 12.5, 1);
        liste.Remplir();
        QCOMPARE(liste.windowTitle(), QStringLiteral("Liste de la quincaillerie : 1 enregistrement"));
        QCOMPARE(TextesLigne(Liste(&liste), 0),
                 (QStringList{"V1", "Vis", "bis", "12,50", "1,00", "10,00", "0,50", "O"}));

        const auto pilote = PiloteModal::QuandOuvert<TFicheQuincaillerie>([](TFicheQuincaillerie* fiche) {
            QCOMPARE(fiche->windowTitle(), QStringLiteral("Gestion de la quincaillerie"));
            QCOMPARE(Controle<QLineEdit>(fiche, "edtLibelle")->text(), QStringLiteral("Vis - copie"));
            QCOMPARE(Controle<QLineEdit>(fiche, "edtTarifVente")->text(), QStringLiteral("12,5"));
            QVERIFY(Controle<QCheckBox>(fiche, "cbSecable")->isChecked());
            Taper(fiche, "edtCodeExport", "A0");
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnDupliquer");
        QCOMPARE(liste.windowTitle(), QStringLiteral("Liste de la quincaillerie : 2 enregistrements"));
        QCOMPARE(Colonne(Liste(&liste)), (QStringList{"A0", "V1"}));
        QCOMPARE(LibelleSelectionne(Liste(&liste)), QStringLiteral("A0"));
        QCOMPARE(LignesTexte(base.Base(), kCatalogue),
                 (QStringList{"V1|Vis|bis|12.5|1|10|0.5|1", "A0|Vis - copie|bis|12.5|1|10|0.5|1"}));
    }

    void controlesDansLOrdre_data()
    {
        QTest::addColumn<QStringList>("saisie"); // label, sale, purchase, pieces, pieces per metre
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("fautif");
        QTest::newRow("libellé") << QStringList{"", "x", "x", "x", "x"} << "Veuillez renseinger le libellé."
                                 << "edtLibelle";
        QTest::newRow("achat avant vente") << QStringList{"L", "x", "-1", "0", "0"}
                                           << "Veuillez renseigner/corriger le tarif d'achat." << "edtTarifAchat";
        QTest::newRow("vente") << QStringList{"L", "", "0", "0", "0"}
                               << "Veuillez renseigner/corriger le tarif de vente." << "edtTarifVente";
        QTest::newRow("pièces") << QStringList{"L", "0", "0", "-0,5", "0"}
                                << "Veuillez renseigner/corriger le nombre de pièces." << "edtNbPieces";
        QTest::newRow("pièces ML") << QStringList{"L", "0", "0", "0", "1.5"}
                                   << "Veuillez renseigner/corriger le nombre de pièces ML." << "edtNbPiecesML";
        QTest::newRow("hors limites") << QStringList{"L", "1e308", "0", "0", "0"}
                                      << "Veuillez renseigner/corriger le tarif de vente.\nLe montant doit rester "
                                         "inférieur à mille milliards en valeur absolue."
                                      << "edtTarifVente";
    }

    void controlesDansLOrdre()
    {
        QFETCH(QStringList, saisie);
        QFETCH(QString, message);
        QFETCH(QString, fautif);
        BaseTemporaire base;
        EnregistreurMessages messages;
        TFicheQuincaillerie fiche(nullptr);
        fiche.show();
        const char* editions[] = {"edtLibelle", "edtTarifVente", "edtTarifAchat", "edtNbPieces", "edtNbPiecesML"};
        for (int i = 0; i < 5; ++i)
            Taper(&fiche, editions[i], saisie.at(i));
        Cliquer(&fiche, "btnValider");
        QCOMPARE(messages.Textes(), QStringList{message});
        QCOMPARE(fiche.focusWidget(), Controle<QLineEdit>(&fiche, fautif));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Quincaillerie"), 0);
        fiche.close();
    }

    // Labels that Windows-1252 cannot hold, semicolons and line breaks: the
    // export says it writes UTF-8, and the import gives every value back.
    void exportHostilePuisImport()
    {
        BaseTemporaire base;
        Entree(base, "J", "日本", 1, 1);
        Entree(base, "S", "semi;colon", 2, 0);
        Entree(base, "M", "multi\r\nligne", 3, 0);
        const QStringList avant = LignesTexte(base.Base(), kCatalogue);
        EnregistreurMessages messages;
        TFicheQuincaillerieListe liste(nullptr);
        liste.show();
        const QString fichier = base.Fichier("hostile.csv");
        ChoixFichier::SetProchainNom(fichier);
        Cliquer(&liste, "btnExporter");
        QCOMPARE(messages.Textes(), QStringList{"Exportation - La valeur « 日本 » ne se relirait pas en Windows-1252 : "
                                                "le fichier a été écrit en UTF-8, avec la marque qui l'annonce aux "
                                                "tableurs." + kTableur});
        QVERIFY(LireOctets(fichier).startsWith("\xEF\xBB\xBF\"CodeExport\";"));
        ChoixFichier::SetProchainNom(fichier);
        Cliquer(&liste, "btnImporter");
        QCOMPARE(messages.Dernier(), QStringLiteral("Importation - Le catalogue est déjà celui du fichier (3 entrées) : "
                                                    "il n'a pas été modifié."));
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);
        liste.close();
    }

    void exportPuisImport()
    {
        BaseTemporaire base;
        Entree(base, "V\"1", "Vis", 12.5, 1);
        Entree(base, "B2", "Boulon", 3, 0);
        EnregistreurMessages messages;
        TFicheQuincaillerieListe liste(nullptr);
        liste.show();
        const QString fichier = base.Fichier("quincaillerie.csv");
        ChoixFichier::SetProchainNom(fichier);
        Cliquer(&liste, "btnExporter");
        QVERIFY(Controle<QLabel>(&liste, "imgYes")->isVisible());
        QCOMPARE(messages.Textes(), QStringList{"Exportation - Le fichier a été écrit : " + fichier + kTableur});
        QFile lu(fichier);
        QVERIFY(lu.open(QIODevice::ReadOnly));
        QCOMPARE(lu.readAll(), QByteArray("\"CodeExport\";\"Libelle\";\"Libelle2\";\"TarifVente\";\"TarifAchat\";"
                                          "\"NbPieces\";\"NbPiecesML\";\"Secable\";\r\n"
                                          "\"B2\";\"Boulon\";\"bis\";\"3,00\";\"1,00\";\"10,00\";\"0,50\";\"N\";\r\n"
                                          "\"V\"\"1\";\"Vis\";\"bis\";\"12,50\";\"1,00\";\"10,00\";\"0,50\";\"O\";\r\n"));

        // A failing import says so and keeps the catalogue (the file gives
        // the screw another code: another product, inserted).
        EcrireOctets(fichier, LireOctets(fichier).replace("\"V\"\"1\"", "\"V2\""));
        base.Executer("CREATE TRIGGER refus BEFORE INSERT ON Quincaillerie WHEN NEW.Libelle = 'Vis' "
                      "BEGIN SELECT RAISE(ABORT, 'refus'); END");
        const QStringList avant = LignesTexte(base.Base(), kCatalogue);
        ChoixFichier::SetProchainNom(fichier);
        messages.RepondreOui();
        Cliquer(&liste, "btnImporter");
        QVERIFY(messages.Dernier().startsWith("Importation - Une erreur est survenue pendant l'insertion de la ligne 3"));
        QVERIFY(!Controle<QLabel>(&liste, "imgYesImport")->isVisible());
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);

        // The catalogue is replaced only on "Oui", "Non" being the default.
        base.Executer("DROP TRIGGER refus");
        messages.Vider();
        ChoixFichier::SetProchainNom(fichier);
        messages.RepondreNon();
        Cliquer(&liste, "btnImporter");
        QCOMPARE(messages.Textes(), QStringList{"Importation - Le fichier contient 2 entrées.\n\nLe catalogue compte "
                                                "aujourd'hui 2 entrées ; avec ce fichier : 1 nouvelle, 0 modifiée, "
                                                "1 inchangée, 1 supprimée.\nSupprimées, absentes du fichier :\n"
                                                "V\"1 « Vis bis »\nVoulez-vous mettre à jour le catalogue ?"});
        QVERIFY(messages.Recus().first().nonParDefaut);
        QCOMPARE(LignesTexte(base.Base(), kCatalogue), avant);
        ChoixFichier::SetProchainNom(fichier);
        messages.RepondreOui();
        Cliquer(&liste, "btnImporter");
        QVERIFY(Controle<QLabel>(&liste, "imgYesImport")->isVisible());
        QCOMPARE(LignesTexte(base.Base(), kCatalogue),
                 (QStringList{"B2|Boulon|bis|3|1|10|0.5|0", "V2|Vis|bis|12.5|1|10|0.5|1"}));
        QCOMPARE(Colonne(Liste(&liste)), (QStringList{"B2", "V2"}));

        // Entries changed and removed, lines set aside and texts cut are
        // said before the question.
        messages.Vider();
        EcrireOctets(base.Fichier("mixte.csv"), "A;" + QByteArray(101, 'x') + ";;;;;;\r\nB;;;1e308;;;;\r\nC;;;;;;;\r\n"
                                                "B2;Boulon;bis;3,5;1;10;0,5;N\r\n");
        ChoixFichier::SetProchainNom(base.Fichier("mixte.csv"));
        messages.RepondreNon();
        Cliquer(&liste, "btnImporter");
        QCOMPARE(messages.Textes(),
                 QStringList{"Importation - Le fichier contient 3 entrées ; 1 ligne écartée :\n"
                             "Ligne 2 : tarif de vente hors limites « 1e308 »\n"
                             "Textes coupés à 100 caractères à l'importation : 1.\n\n"
                             "Le catalogue compte aujourd'hui 2 entrées ; avec ce fichier : 2 nouvelles, 1 modifiée, "
                             "0 inchangée, 1 supprimée.\nModifiées :\nB2 « Boulon bis » : prix de vente 3,00 → 3,50\n"
                             "Supprimées, absentes du fichier :\nV2 « Vis bis »\nUne entrée dont la ligne est écartée "
                             "est supprimée du catalogue, sauf si vous corrigez le fichier.\n"
                             "Voulez-vous mettre à jour le catalogue ?"});

        // A file with no entry changes nothing, and says why.
        EcrireOctets(base.Fichier("vide.csv"), "\"CodeExport\";\r\n");
        ChoixFichier::SetProchainNom(base.Fichier("vide.csv"));
        Cliquer(&liste, "btnImporter");
        QCOMPARE(messages.Dernier(), QStringLiteral("Importation - Le fichier ne contient aucune entrée à importer. "
                                                    "Le catalogue n'a pas été modifié."));
        QCOMPARE(Colonne(Liste(&liste)), (QStringList{"B2", "V2"}));

        ChoixFichier::SetProchainNom(base.Fichier("absent.csv"));
        Cliquer(&liste, "btnImporter");
        QCOMPARE(messages.Dernier(),
                 "Importation - Le fichier d'importation n'existe pas : " + base.Fichier("absent.csv"));
        liste.close();
    }
};

QTEST_MAIN(TestAdminQuincaillerie)
#include "tst_admin_quincaillerie.moc"
