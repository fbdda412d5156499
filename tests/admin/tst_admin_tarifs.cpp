// The tariff grid, the tariff copy and the installers, driven as an
// administrator would, then read back from the database and the files.

#include "DonneesReference.h"
#include "LignesTexte.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

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

    void exportDeLaGrille()
    {
        Reference r;
        r.donnees.Tarif(r.poseA, r.pvc, 12.5);
        TFicheTarifListe fiche(nullptr);
        fiche.show();
        TaperPrix(&fiche, 0, "3"); // what the grid shows is exported
        const QString fichier = r.base.Fichier("tarifs.csv");
        ChoixFichier::SetProchainNom(fichier);
        Cliquer(&fiche, "btnExporter");
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
