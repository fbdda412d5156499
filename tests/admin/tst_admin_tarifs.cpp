// The tariff grid, the tariff copy and the installers, driven as an
// administrator would, then read back from the database and the files.

#include "DonneesReference.h"
#include "LignesTexte.h"
#include "Octets.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "data/Tarifs.h"
#include "model/LigneCsv.h"
#include "ui/admin/FicheCopieTarifs.h"
#include "ui/admin/FichePoseurListe.h"
#include "ui/admin/FicheTarifListe.h"
#include "ui/common/ChoixFichier.h"
#include "ui/common/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

struct Reference
{
    BaseTemporaire base;
    DonneesReference donnees{base};
    QString poseA = donnees.Pose(QStringLiteral("Pose A"));
    QString poseB = donnees.Pose(QStringLiteral("Pose B"));
    QString poseurX = donnees.Poseur(QStringLiteral("X1"), QStringLiteral("Xavier"),
                                     {"1 rue", "", "75000", "Paris", "12345678901234", "RGE-9"});
    QString fenetres = donnees.Type(QStringLiteral("Fenêtre"), {});
    QString pvc = donnees.Categorie(QStringLiteral("PVC \"2\""), fenetres);
    QString bois = donnees.Categorie(QStringLiteral("Bois"), fenetres);

    QStringList Tarifs()
    {
        return LignesTexte(base.Base(), "SELECT IdPose, IdPoseur, IdCategorie, Prix FROM Tarif ORDER BY IdTarif");
    }
};

QTableWidget* Grille(QWidget* fiche)
{
    return Controle<QTableWidget>(fiche, "sgListe");
}

QStringList ColonneGrille(QWidget* fiche, int colonne)
{
    QStringList textes;
    for (int i = 0; i < Grille(fiche)->rowCount(); ++i)
        textes << Grille(fiche)->item(i, colonne)->text();
    return textes;
}

void TaperPrix(QWidget* fiche, int ligne, const QString& prix)
{
    Grille(fiche)->item(ligne, 1)->setText(prix);
}

} // namespace

class TestAdminTarifs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void cleanup() { QVERIFY(AucuneFenetreOuverte()); }

    void grilleAfficheeEtEnregistree()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 12.5);
        r.donnees.Tarif(r.poseA, r.bois, 40, r.poseurX);
        EnregistreurMessages messages;
        auto fiche = std::make_unique<TFicheTarifListe>(nullptr);
        fiche->show();
        QCOMPARE(TextesCombo(Controle<QComboBox>(fiche.get(), "cmbPose")), (QStringList{"Pose A", "Pose B"}));
        QCOMPARE(TextesCombo(Controle<QComboBox>(fiche.get(), "cmbPoseur")),
                 (QStringList{"<Tarif général de vente>", "Xavier"}));
        QCOMPARE(Grille(fiche.get())->horizontalHeaderItem(0)->text(), QStringLiteral("Catégorie"));
        QCOMPARE(ColonneGrille(fiche.get(), 0), (QStringList{"Fenêtre Bois", "Fenêtre PVC \"2\""}));
        QCOMPARE(ColonneGrille(fiche.get(), 1), (QStringList{"", "12,5"}));
        QVERIFY(!(Grille(fiche.get())->item(0, 0)->flags() & Qt::ItemIsEditable));

        // A price typed for the general tariff is stored under it when the
        // list moves to Xavier, whose prices then show.
        TaperPrix(fiche.get(), 0, "7,25");
        Choisir(fiche.get(), "cmbPoseur", "Xavier");
        QCOMPARE(ColonneGrille(fiche.get(), 1), (QStringList{"40", ""}));
        QCOMPARE(r.Tarifs(), (QStringList{r.poseA + "|0|" + r.pvc + "|12.5", r.poseA + "|" + r.poseurX + "|" + r.bois + "|40",
                                          r.poseA + "|0|" + r.bois + "|7.25"}));

        // A price that is not a number: nothing saved, the choice and the
        // window kept, the wrong cell selected.
        const QStringList avant = r.Tarifs();
        TaperPrix(fiche.get(), 0, "");
        TaperPrix(fiche.get(), 1, "9x");
        Choisir(fiche.get(), "cmbPose", "Pose B");
        const QString message = QStringLiteral("Le prix « 9x » de la catégorie « Fenêtre PVC \"2\" » n'est pas un "
                                               "nombre : corrigez-le ou videz la case. Aucun prix n'a été "
                                               "enregistré.");
        QCOMPARE(messages.Textes(), QStringList{message});
        QCOMPARE(Controle<QComboBox>(fiche.get(), "cmbPose")->currentText(), QStringLiteral("Pose A"));
        QCOMPARE(Controle<QComboBox>(fiche.get(), "cmbPoseur")->currentText(), QStringLiteral("Xavier"));
        QCOMPARE(Grille(fiche.get())->currentRow(), 1);
        QCOMPARE(Grille(fiche.get())->currentColumn(), 1);
        fiche->close();
        QVERIFY(fiche->isVisible());
        QCOMPARE(messages.Textes(), (QStringList{message, message}));
        QCOMPARE(r.Tarifs(), avant);

        // Corrected, the grid is saved on closing.
        TaperPrix(fiche.get(), 1, "9");
        fiche->close();
        QVERIFY(!fiche->isVisible());
        QCOMPARE(r.Tarifs(), (QStringList{r.poseA + "|0|" + r.pvc + "|12.5", r.poseA + "|0|" + r.bois + "|7.25",
                                          r.poseA + "|" + r.poseurX + "|" + r.pvc + "|9"}));
    }

    // Two administrators on one grid: each save writes what its window
    // changed, and never over a price changed since it was read.
    void deuxFenetresSurLaMemeGrille()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.bois, 169);
        r.donnees.Tarif(r.poseA, r.pvc, 128);
        EnregistreurMessages messages;
        TFicheTarifListe a(nullptr);
        TFicheTarifListe b(nullptr);
        a.show();
        b.show();
        // Prices changed elsewhere (an import): B, only looking, writes nothing when it closes.
        r.base.Executer("UPDATE Tarif SET Prix = Prix + 1");
        b.close();
        QVERIFY(!b.isVisible());
        QCOMPARE(r.Tarifs(), (QStringList{r.poseA + "|0|" + r.bois + "|170", r.poseA + "|0|" + r.pvc + "|129"}));

        TaperPrix(&a, 0, "111");
        TaperPrix(&a, 1, "150");
        a.close();
        QCOMPARE(messages.Textes(),
                 QStringList{"Ces prix ont été changés par un autre utilisateur depuis l'ouverture de la grille : ils "
                             "gardent sa valeur, que la grille montre maintenant. Les autres prix saisis sont "
                             "enregistrés.\n« Fenêtre Bois » : 170 (vous aviez saisi « 111 »)\n« Fenêtre PVC \"2\" » : "
                             "129 (vous aviez saisi « 150 »)"});
        QVERIFY(a.isVisible());
        QCOMPARE(ColonneGrille(&a, 1), (QStringList{"170", "129"}));
        QCOMPARE(r.Tarifs(), (QStringList{r.poseA + "|0|" + r.bois + "|170", r.poseA + "|0|" + r.pvc + "|129"}));

        // Typed again over what it now shows, the price is saved.
        TaperPrix(&a, 1, "150");
        r.base.Executer("UPDATE Tarif SET Prix = 180 WHERE IdCategorie = :c", {{"c", r.bois.toLongLong()}});
        Cliquer(&a, "btnValider");
        QCOMPARE(ColonneGrille(&a, 1), (QStringList{"180", "150"}));
        messages.Vider();
        a.close();
        QVERIFY(!a.isVisible());
        QVERIFY(messages.Textes().isEmpty());
        QCOMPARE(r.Tarifs(), (QStringList{r.poseA + "|0|" + r.bois + "|180", r.poseA + "|0|" + r.pvc + "|150"}));
    }

    void exportDeLaGrille()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 12.5);
        TFicheTarifListe fiche(nullptr);
        fiche.show();
        TaperPrix(&fiche, 0, "3"); // what the grid shows is exported
        const QString fichier = r.base.Fichier("tarifs.csv");
        EnregistreurMessages messages;
        ChoixFichier::SetProchainNom(fichier);
        Cliquer(&fiche, "btnExporter");
        // How to open it without a spreadsheet changing its codes.
        QCOMPARE(messages.Textes(),
                 QStringList{"Exportation - Le fichier a été écrit : " + fichier
                             + "\nPour le modifier dans un tableur, ouvrez-le avec les champs entre guillemets comme "
                               "texte : sinon des codes tels que 00123 ou 1E5 deviennent des nombres et reviennent "
                               "changés."});
        QFile lu(fichier);
        QVERIFY(lu.open(QIODevice::ReadOnly));
        const QByteArray debut = "\"" + r.poseA.toLatin1() + "\";\"Pose A\";\"0\";\"<Tarif g\xE9n\xE9ral de vente>\";\""
                                 + r.fenetres.toLatin1() + "\";\"Fen\xEAtre\";\"";
        QCOMPARE(lu.readAll(),
                 "\"IdPose\";\"Pose\";\"IdPoseur\";\"Poseur\";\"IdCategorieType\";\"CategorieType\";\"IdCat\xE9gorie\";"
                 "\"Cat\xE9gorie\";\"Cat\xE9gorieLibelle\";\"Prix\";\r\n"
                     + debut + r.bois.toLatin1() + "\";\"Bois\";\"Fen\xEAtre Bois\";\"3,00\";\r\n" + debut
                     + r.pvc.toLatin1() + "\";\"PVC \"\"2\"\"\";\"Fen\xEAtre PVC \"\"2\"\"\";\"12,50\";\r\n");
        QVERIFY(Controle<QLabel>(&fiche, "imgYes")->isVisible());
        QCOMPARE(Controle<QProgressBar>(&fiche, "pbExportation")->value(), 2);

        // A file that cannot be made: one French sentence, then the system's words.
        ChoixFichier::SetProchainNom(r.base.Fichier("absent/tarifs.csv"));
        Cliquer(&fiche, "btnExporter");
        const QStringList lignes = messages.Dernier().split('\n');
        QCOMPARE(lignes.size(), 2);
        QCOMPARE(lignes[0], QStringLiteral("Exportation - Une erreur est survenue pendant la création du fichier."));
        QVERIFY(!lignes[1].isEmpty());
        QVERIFY(!Controle<QLabel>(&fiche, "imgYes")->isVisible());
        fiche.close();
    }

    void importDeTarifs()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 12.5);
        EnregistreurMessages messages;
        TFicheTarifListe fiche(nullptr);
        fiche.show();
        const QString fichier = r.base.Fichier("tarifs.csv");
        // Behind a byte-order mark, the heading skipped; a line whose key
        // and label name two kinds is set aside.
        EcrireOctets(fichier, "\xEF\xBB\xBF" + LigneCsv(Tarifs::EnteteExportation(), EncodageCsv::Utf8)
                                  + LigneCsv({r.poseA, "Pose A", "0", "", "", "", r.bois, "", "", "7"})
                                  + LigneCsv({r.poseA, "Pose B", "0", "", "", "", r.pvc, "", "", "8"}));
        ChoixFichier::SetProchainNom(fichier);
        messages.RepondreOui();
        Cliquer(&fiche, "btnImporter");
        QCOMPARE(messages.Textes(),
                 (QStringList{"Grille modifiée : pose « Pose A », <Tarif général de vente> (la grille affichée).\n"
                              "1 tarifs seront créés, 0 modifiés, 1 lignes ignorées\nLigne 3 : la clé " + r.poseA
                                  + " désigne la pose « Pose A », pas « Pose B »\nPrix changés :\n"
                                    "« Fenêtre Bois » : aucun prix → 7\n\nVoulez-vous importer ces tarifs ?",
                              "Importation terminée : 1 tarifs créés, 0 modifiés."}));
        QVERIFY(messages.Recus().first().nonParDefaut);
        QCOMPARE(ColonneGrille(&fiche, 1), (QStringList{"7", "12,5"}));

        // The question names the grids the file changes, and says when the
        // one on screen is not among them.
        const QString pvcB = "« Fenêtre PVC \"2\" », pose « Pose B », poseur « Xavier »";
        const QString pvcA = "« Fenêtre PVC \"2\" », pose « Pose A », <Tarif général de vente>";
        const QVector<QPair<QByteArray, QString>> questions{
            {LigneCsv({r.poseB, "", r.poseurX, "", "", "", r.pvc, "", "", "9"}),
             "Grille modifiée : pose « Pose B », poseur « Xavier » ; ce n'est pas la grille affichée (pose « Pose A », "
             "<Tarif général de vente>).\n1 tarifs seront créés, 0 modifiés, 0 lignes ignorées\nPrix changés :\n"
             "« Fenêtre PVC \"2\" » : aucun prix → 9"},
            {LigneCsv({r.poseB, "", r.poseurX, "", "", "", r.pvc, "", "", "9"})
                 + LigneCsv({r.poseA, "", "0", "", "", "", r.pvc, "", "", "15"}),
             "Grilles modifiées : pose « Pose B », poseur « Xavier » ; pose « Pose A », <Tarif général de vente> (la "
             "grille affichée).\n1 tarifs seront créés, 1 modifiés, 0 lignes ignorées\nPrix changés :\n"
                 + pvcB + " : aucun prix → 9\n" + pvcA + " : 12,5 → 15"},
        };
        for (const auto& [octets, question] : questions) {
            messages.Vider();
            EcrireOctets(fichier, octets);
            ChoixFichier::SetProchainNom(fichier);
            messages.RepondreNon();
            Cliquer(&fiche, "btnImporter");
            QCOMPARE(messages.Textes(), QStringList{question + "\n\nVoulez-vous importer ces tarifs ?"});
        }
        fiche.close();
    }

    void copieDesTarifs()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 10);
        r.donnees.Tarif(r.poseA, r.bois, 20, r.poseurX);
        EnregistreurMessages messages;
        TFicheTarifListe grille(nullptr);
        grille.show();
        const auto pilote = PiloteModal::QuandOuvert<TFicheCopieTarifs>([&](TFicheCopieTarifs* copie) {
            QCOMPARE(copie->windowTitle(), QStringLiteral("Copie des tarifs"));
            QCOMPARE(Controle<QLabel>(copie, "lblPose")->text(), QStringLiteral("Pose A"));
            QCOMPARE(Controle<QLabel>(copie, "lblPoseur")->text(), QStringLiteral("<Tarif général de vente>"));
            // Onto the source itself, even after the lists moved and came back.
            Cliquer(copie, "btnValider");
            Choisir(copie, "cmbPose", "Pose B");
            Choisir(copie, "cmbPoseur", "Xavier");
            Choisir(copie, "cmbPose", "Pose A");
            Choisir(copie, "cmbPoseur", "<Tarif général de vente>");
            Cliquer(copie, "btnValider");
            QCOMPARE(messages.Textes(), QStringList(2, "Vous ne pouvez pas copier sur la même sélection!"));

            Choisir(copie, "cmbPoseur", "Xavier");
            messages.RepondreNon();
            Cliquer(copie, "btnValider");
            QCOMPARE(messages.Dernier(), QStringLiteral("Voulez-vous vraiment copier les données du tarif ?\n"
                                                        "\tPose : Pose A\n\tPoseur : <Tarif général de vente>\n"
                                                        "vers \n\tPose : Pose A\n\tPoseur : Xavier\n"));
            QCOMPARE(r.Tarifs().size(), 2);
            messages.RepondreOui();
            Cliquer(copie, "btnValider");
            auto* succes = Controle<QLabel>(copie, "lblSuccess");
            QCOMPARE(succes->text(), QStringLiteral("Vos tarifs ont été correctement copiés."));
            QCOMPARE(succes->palette().color(QPalette::WindowText), QColor(0, 128, 0));
            QVERIFY(copie->isVisible());
            Cliquer(copie, "btnFermer");
        });
        Cliquer(&grille, "btnCopieTarif");
        QCOMPARE(r.Tarifs(), (QStringList{r.poseA + "|0|" + r.pvc + "|10", r.poseA + "|" + r.poseurX + "|" + r.pvc + "|10"}));
        grille.close();
    }

    void poseurs()
    {
        Reference r;
        r.donnees.Poseur(QStringLiteral("A2"), QStringLiteral("Albert"));
        r.donnees.Tarif(r.poseA, r.pvc, 10, r.poseurX);
        EnregistreurMessages messages;
        TFichePoseurListe liste(nullptr);
        liste.show();
        QTreeWidget* lv = Liste(&liste);
        QCOMPARE(lv->headerItem()->text(6), QStringLiteral("Siret"));
        QCOMPARE(TextesLigne(lv, 1),
                 (QStringList{"X1", "Xavier", "1 rue", "", "75000", "Paris", "12345678901234", "RGE-9"}));
        QCOMPARE(IndexSelection(lv), -1);
        Cliquer(&liste, "btnCategorieSupprimer");
        SelectionnerLigne(lv, "X1");
        messages.RepondreNon();
        Cliquer(&liste, "btnCategorieSupprimer");
        messages.RepondreOui();
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(messages.Textes(), (QStringList{"Vous devez sélectionner un poseur pour effectuer une suppression.",
                                                 "Etes-vous sûr de vouloir supprimer ce poseur : X1 ?",
                                                 "Etes-vous sûr de vouloir supprimer ce poseur : X1 ?"}));
        QCOMPARE(Colonne(lv), QStringList{"A2"});
        QCOMPARE(r.Tarifs().size(), 1); // the installer's tariffs stay
        TFicheTarifListe grille(nullptr);
        QCOMPARE(TextesCombo(Controle<QComboBox>(&grille, "cmbPoseur")),
                 (QStringList{"<Tarif général de vente>", "Albert"}));
    }
};

QTEST_MAIN(TestAdminTarifs)
#include "tst_admin_tarifs.moc"
