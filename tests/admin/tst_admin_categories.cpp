// Categories with their constraints, and category types, driven as an
// administrator would, then read back from the database.

#include "DonneesReference.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "data/Categories.h"
#include "data/CategoriesTypes.h"
#include "ui/admin/FicheCategorie.h"
#include "ui/admin/FicheCategorieListe.h"
#include "ui/admin/FicheCategorieType.h"
#include "ui/admin/FicheCategorieTypeListe.h"
#include "ui/admin/FicheContrainte.h"
#include "ui/common/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

// "operand code|operator|value" of each stored constraint of a category, sorted.
QStringList Contraintes(BaseTemporaire& base, const QString& categorie)
{
    Requete requete(base.Base());
    requete.SetSql("SELECT o.Code AS Code, c.Operateur AS Operateur, c.Valeur AS Valeur "
                   "FROM CategorieContrainte c LEFT JOIN Operande o ON o.IdOperande = c.IdOperande "
                   "WHERE c.IdCategorie = :c");
    requete.LierTexte("c", categorie);
    QStringList lignes;
    for (const Ligne& ligne : requete.Ouvrir())
        lignes << ligne.Texte("Code") + '|' + ligne.Texte("Operateur") + '|' + ligne.Texte("Valeur");
    lignes.sort();
    return lignes;
}

QString Sql1(BaseTemporaire& base, const QString& sql, const QString& parametre)
{
    Requete requete(base.Base());
    requete.SetSql(sql);
    requete.LierTexte("p", parametre);
    const Resultat lignes = requete.Ouvrir();
    return lignes.EstVide() ? QString() : lignes.Premiere().ValeurIndice(0).toString();
}

QString Apercu(QWidget* fiche)
{
    return Controle<QLabel>(fiche, "lblCategorieAffichee")->text();
}

// Arms the constraint dialog: sets operand, operator and value, then "Valider".
PiloteModal PreparerContrainte(const QString& operande, const QString& operateur, const QString& valeur)
{
    return PiloteModal::QuandOuvert<TFicheContrainte>([=](TFicheContrainte* dialogue) {
        Choisir(dialogue, "cmbOperande", operande);
        Choisir(dialogue, "cmbOperateur", operateur);
        Taper(dialogue, "edtValeur", valeur);
        Cliquer(dialogue, "btnValider");
    });
}

} // namespace

class TestAdminCategories : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void cleanup() { QVERIFY(AucuneFenetreOuverte()); }

    void listeDesNomsAffichesTriee()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString fenetre = donnees.Type("Fenêtre", {});
        const QString volet = donnees.Type("Volet", {});
        donnees.Categorie("Standard", fenetre);
        donnees.Categorie("Grande", volet);
        donnees.Categorie("Sans type", "-1");
        donnees.Categorie("Orpheline", "999"); // its type was deleted
        donnees.Categorie("éclair", "-1");
        TFicheCategorieListe liste(nullptr);
        liste.show();
        QCOMPARE(liste.windowTitle(), QStringLiteral("Liste des catégories"));
        QCOMPARE(Colonne(Liste(&liste)), (QStringList{"éclair", "Fenêtre Standard", "Orpheline",
                                                      "Sans type", "Volet Grande"}));
        QCOMPARE(LibelleSelectionne(Liste(&liste)), QStringLiteral("éclair"));
    }

    // A type that exists keeps its place in the name even with an empty
    // label; texts that look like markup are shown as typed.
    void nomAfficheTypeSansLibelleEtBalises()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString vide = donnees.Type("", {});
        const QString gras = donnees.Type("<b>Gras</b>", {});
        const QString nue = donnees.Categorie("Nue", vide);
        donnees.Categorie("<i>x</i>", gras);
        TFicheCategorieListe liste(nullptr);
        liste.show();
        QCOMPARE(Colonne(Liste(&liste)), (QStringList{" Nue", "<b>Gras</b> <i>x</i>"}));

        TFicheCategorie fiche(nullptr);
        fiche.SetCle(nue);
        fiche.show();
        QCOMPARE(Apercu(&fiche), QStringLiteral(" Nue"));
        Choisir(&fiche, "cmbCategorieType", "<b>Gras</b>");
        QCOMPARE(Apercu(&fiche), QStringLiteral("<b>Gras</b> Nue"));
        QCOMPARE(Controle<QLabel>(&fiche, "lblCategorieAffichee")->textFormat(), Qt::PlainText);
        fiche.reject();
    }

    void selectionRequise_data()
    {
        QTest::addColumn<int>("fenetre"); // 0 category list, 1 type list, 2 category window
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<QString>("message");
        const QString c = "Vous devez sélectionner une catégorie pour effectuer une %1.";
        const QString t = "Vous devez sélectionner un type de catégorie pour effectuer une %1.";
        const QString k = "Vous devez sélectionner une contrainte pour effectuer une %1.";
        QTest::newRow("catégorie dupliquer") << 0 << "btnDupliquer" << c.arg("duplication");
        QTest::newRow("catégorie modifier") << 0 << "btnModifier" << c.arg("modification");
        QTest::newRow("catégorie supprimer") << 0 << "btnSupprimer" << c.arg("suppression");
        QTest::newRow("type dupliquer") << 1 << "btnDupliquer" << t.arg("duplication");
        QTest::newRow("type modifier") << 1 << "btnModifier" << t.arg("modification");
        QTest::newRow("type supprimer") << 1 << "btnSupprimer" << t.arg("suppression");
        QTest::newRow("contrainte modifier") << 2 << "btnModifier" << k.arg("modification");
        QTest::newRow("contrainte supprimer") << 2 << "btnContraintesSupprimer" << k.arg("suppression");
    }

    void selectionRequise()
    {
        QFETCH(int, fenetre);
        QFETCH(QString, bouton);
        QFETCH(QString, message);
        BaseTemporaire base;
        DonneesReference donnees(base);
        donnees.Type("Volet", {}); // a type list is never selected after filling
        EnregistreurMessages messages;
        std::unique_ptr<QDialog> fiche;
        if (fenetre == 0)
            fiche = std::make_unique<TFicheCategorieListe>(nullptr);
        else if (fenetre == 1)
            fiche = std::make_unique<TFicheCategorieTypeListe>(nullptr);
        else
            fiche = std::make_unique<TFicheCategorie>(nullptr);
        fiche->show();
        Cliquer(fiche.get(), bouton);
        QCOMPARE(messages.Textes(), QStringList{message});
        QVERIFY(fiche->isVisible());
    }

    void nouvelleCategorieAvecSaContrainte()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString volet = donnees.Type("Volet", {});
        donnees.Type("Fenêtre", {});
        TFicheCategorieListe liste(nullptr);
        liste.show();

        QString typeInitial;
        QStringList apercus;
        QStringList dialogueInitial;
        QStringList ligne;
        const auto edition = PiloteModal::QuandOuvert<TFicheCategorie>([&](TFicheCategorie* fiche) {
            auto* types = Controle<QComboBox>(fiche, "cmbCategorieType");
            typeInitial = types->currentText();
            Taper(fiche, "edtCategorieLibelle", "L'arrondi d'été");
            apercus << Apercu(fiche);
            Choisir(fiche, "cmbCategorieType", "Volet");
            apercus << Apercu(fiche);
            Choisir(fiche, "cmbCategorieType", "<Aucun type de catégorie>");
            apercus << Apercu(fiche);
            Choisir(fiche, "cmbCategorieType", "Volet");

            const auto contrainte = PiloteModal::QuandOuvert<TFicheContrainte>([&](TFicheContrainte* dialogue) {
                dialogueInitial << Controle<QComboBox>(dialogue, "cmbOperande")->currentText()
                                << Controle<QComboBox>(dialogue, "cmbOperateur")->currentText()
                                << Controle<QLineEdit>(dialogue, "edtValeur")->text();
                Choisir(dialogue, "cmbOperande", "Largeur");
                Choisir(dialogue, "cmbOperateur", ">=");
                Taper(dialogue, "edtValeur", "1'200 \"mm\"");
                Cliquer(dialogue, "btnValider");
            });
            Cliquer(fiche, "btnContraintesAjouter");
            const QTreeWidgetItem* premiere = Liste(fiche, "lvContraintes")->topLevelItem(0);
            for (int i = 0; premiere && i < 4; ++i)
                ligne << premiere->text(i);
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnAjouter");

        QCOMPARE(typeInitial, QStringLiteral("<Aucun type de catégorie>"));
        QCOMPARE(apercus, (QStringList{"L'arrondi d'été", "Volet L'arrondi d'été", "L'arrondi d'été"}));
        QCOMPARE(dialogueInitial, (QStringList{"Hauteur", "<", "0"}));
        QCOMPARE(ligne, (QStringList{"Largeur", donnees.IdOperande("LARGEUR"), ">=", "1'200 \"mm\""}));

        const QString cle = Sql1(base, "SELECT IdCategorie FROM Categorie WHERE Libelle = :p", "L'arrondi d'été");
        QVERIFY(!cle.isEmpty());
        QCOMPARE(Sql1(base, "SELECT IdCategorieType FROM Categorie WHERE IdCategorie = :p", cle), volet);
        QCOMPARE(Contraintes(base, cle), QStringList{"LARGEUR|>=|1'200 \"mm\""});
        QCOMPARE(Colonne(Liste(&liste)), QStringList{"Volet L'arrondi d'été"});
    }

    void sansTypeEnregistreeMoinsUn()
    {
        BaseTemporaire base;
        TFicheCategorie fiche(nullptr);
        fiche.show();
        Taper(&fiche, "edtCategorieLibelle", "Seule");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(fiche.result(), int(QDialog::Accepted));
        QCOMPARE(base.Valeur("SELECT IdCategorieType FROM Categorie"), QStringLiteral("-1"));
    }

    void typeDisparuEnregistreMoinsUn()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString categorie = donnees.Categorie("Orpheline", "999");
        EnregistreurMessages messages;
        TFicheCategorie fiche(nullptr);
        fiche.SetCle(categorie);
        fiche.show();
        QCOMPARE(Controle<QComboBox>(&fiche, "cmbCategorieType")->currentIndex(), -1);
        QCOMPARE(Apercu(&fiche), QStringLiteral("Orpheline"));

        Taper(&fiche, "edtCategorieLibelle", "");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(messages.Textes(),
                 QStringList{"Veuillez choisir un type de catégorie ou renseigner le libellé."});
        QVERIFY(fiche.isVisible());

        Taper(&fiche, "edtCategorieLibelle", "Orpheline");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(fiche.result(), int(QDialog::Accepted));
        QCOMPARE(base.Valeur("SELECT IdCategorieType FROM Categorie"), QStringLiteral("-1"));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Categorie"), 1);
    }

    void duplicationAvecTroisContraintes()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString fenetre = donnees.Type("Fenêtre", {});
        const QString source = donnees.Categorie("Porte", fenetre);
        donnees.Contrainte(source, "HAUTEUR", "<", "2000");
        donnees.Contrainte(source, "LARGEUR", ">=", "800");
        donnees.Contrainte(source, "VANTAIL", "=", "2");
        donnees.Tarif("1", source, 100);
        donnees.Tarif("1", source, 100, "4");
        const QStringList contraintesSource = Contraintes(base, source);
        TFicheCategorieListe liste(nullptr);
        liste.show();

        QString libelle;
        QString apercu;
        int lignes = 0;
        const auto edition = PiloteModal::QuandOuvert<TFicheCategorie>([&](TFicheCategorie* fiche) {
            libelle = Controle<QLineEdit>(fiche, "edtCategorieLibelle")->text();
            apercu = Apercu(fiche);
            lignes = Liste(fiche, "lvContraintes")->topLevelItemCount();
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnDupliquer");
        QCOMPARE(libelle, QStringLiteral("Porte - copie"));
        QCOMPARE(apercu, QStringLiteral("Fenêtre Porte - copie"));
        QCOMPARE(lignes, 3);

        const QString copie = Sql1(base, "SELECT IdCategorie FROM Categorie WHERE Libelle = :p", "Porte - copie");
        QVERIFY(!copie.isEmpty() && copie != source);
        QCOMPARE(Sql1(base, "SELECT IdCategorieType FROM Categorie WHERE IdCategorie = :p", copie), fenetre);
        QCOMPARE(Contraintes(base, copie), contraintesSource);
        QCOMPARE(Contraintes(base, source), contraintesSource);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieContrainte"), 6);
        QCOMPARE(Sql1(base, "SELECT COUNT(*) FROM Tarif WHERE IdCategorie = :p", copie), QStringLiteral("0"));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Tarif"), 2);
        QCOMPARE(Colonne(Liste(&liste)), (QStringList{"Fenêtre Porte", "Fenêtre Porte - copie"}));
    }

    void contrainteRetireeSeulementALEnregistrement()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString cle = donnees.Categorie("C", "-1");
        donnees.Contrainte(cle, "HAUTEUR", "<", "2000");
        donnees.Contrainte(cle, "LARGEUR", ">", "500");
        EnregistreurMessages messages;

        // "Non" keeps the row, "Oui" takes it out of the window only; then the
        // window is closed with the given button.
        auto retirerLargeur = [&](const char* bouton) {
            QStringList restantes;
            const auto edition = PiloteModal::QuandOuvert<TFicheCategorie>([&](TFicheCategorie* fiche) {
                QTreeWidget* contraintes = Liste(fiche, "lvContraintes");
                SelectionnerLigne(contraintes, "Largeur");
                messages.RepondreNon();
                Cliquer(fiche, "btnContraintesSupprimer");
                SelectionnerLigne(contraintes, "Largeur");
                messages.RepondreOui();
                Cliquer(fiche, "btnContraintesSupprimer");
                restantes = Colonne(contraintes);
                Cliquer(fiche, bouton);
            });
            TFicheCategorie fiche(nullptr);
            fiche.SetCle(cle);
            fiche.exec();
            return restantes;
        };

        QCOMPARE(retirerLargeur("btnFermer"), QStringList{"Hauteur"});
        QCOMPARE(messages.Textes(),
                 (QStringList{"Etes-vous sûr de vouloir supprimer cette contrainte : Largeur ?",
                              "Etes-vous sûr de vouloir supprimer cette contrainte : Largeur ?"}));
        QCOMPARE(Contraintes(base, cle), (QStringList{"HAUTEUR|<|2000", "LARGEUR|>|500"}));

        QCOMPARE(retirerLargeur("btnValider"), QStringList{"Hauteur"});
        QCOMPARE(Contraintes(base, cle), QStringList{"HAUTEUR|<|2000"});
    }

    // Enter on a focused constraint button presses that button; it never
    // saves the category behind the administrator's back.
    void entreeSurUnBoutonDesContraintes()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString categorie = donnees.Categorie("C", "-1");
        donnees.Contrainte(categorie, "HAUTEUR", "<", "2000");
        EnregistreurMessages messages;
        messages.RepondreOui();
        QStringList restantes;
        const auto edition = PiloteModal::QuandOuvert<TFicheCategorie>([&](TFicheCategorie* fiche) {
            Taper(fiche, "edtCategorieLibelle", "Changée");
            SelectionnerLigne(Liste(fiche, "lvContraintes"), "Hauteur");
            auto* supprimer = Controle<QPushButton>(fiche, "btnContraintesSupprimer");
            supprimer->setFocus();
            QTest::keyClick(supprimer, Qt::Key_Return);
            restantes = Colonne(Liste(fiche, "lvContraintes"));
            if (fiche->isVisible())
                Cliquer(fiche, "btnFermer");
        });
        TFicheCategorie fiche(nullptr);
        fiche.SetCle(categorie);
        QCOMPARE(fiche.exec(), int(QDialog::Rejected));
        QCOMPARE(messages.Textes(),
                 QStringList{"Etes-vous sûr de vouloir supprimer cette contrainte : Hauteur ?"});
        QCOMPARE(restantes, QStringList{});
        QCOMPARE(Sql1(base, "SELECT Libelle FROM Categorie WHERE IdCategorie = :p", categorie),
                 QStringLiteral("C"));
        QCOMPARE(Contraintes(base, categorie), QStringList{"HAUTEUR|<|2000"});
    }

    void contrainteModifieeGardeSaCle()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString categorie = donnees.Categorie("C", "-1");
        const QString contrainte = donnees.Contrainte(categorie, "LARGEUR", ">", "500");
        TFicheCategorie fiche(nullptr);
        fiche.SetCle(categorie);
        fiche.show();

        QStringList propose;
        const auto modification = PiloteModal::QuandOuvert<TFicheContrainte>([&](TFicheContrainte* dialogue) {
            propose << Controle<QComboBox>(dialogue, "cmbOperande")->currentText()
                    << Controle<QComboBox>(dialogue, "cmbOperateur")->currentText()
                    << Controle<QLineEdit>(dialogue, "edtValeur")->text();
            Choisir(dialogue, "cmbOperande", "Périmètre");
            Choisir(dialogue, "cmbOperateur", "<=");
            Taper(dialogue, "edtValeur", "2'000");
            Cliquer(dialogue, "btnValider");
        });
        SelectionnerLigne(Liste(&fiche, "lvContraintes"), "Largeur");
        Cliquer(&fiche, "btnModifier");
        QCOMPARE(propose, (QStringList{"Largeur", ">", "500"}));
        QCOMPARE(Colonne(Liste(&fiche, "lvContraintes")), QStringList{"Périmètre"});
        QCOMPARE(base.Valeur("SELECT Valeur FROM CategorieContrainte"), QStringLiteral("500"));

        Cliquer(&fiche, "btnValider");
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieContrainte"), 1);
        QCOMPARE(base.Valeur("SELECT IdCategorieContrainte FROM CategorieContrainte"), contrainte);
        QCOMPARE(Contraintes(base, categorie), QStringList{"PERIMETRE|<=|2'000"});
    }

    void dialogueContrainte_data()
    {
        QTest::addColumn<bool>("sansOperande");
        QTest::addColumn<QString>("idOperande");
        QTest::addColumn<QString>("operateur");
        QTest::addColumn<QString>("valeur");
        QTest::addColumn<QString>("operateurPropose");
        QTest::addColumn<QString>("message");
        QTest::newRow("aucune opérande") << true << "" << "" << "" << "<"
                                         << "Veuillez sélectionner une opérande";
        QTest::newRow("opérande inconnue") << false << "999" << ">" << "1" << ">"
                                           << "Veuillez sélectionner une opérande";
        QTest::newRow("opérateur inconnu, valeur vidée") << false << "" << "<>" << "" << "<"
                                                         << "Veuillez renseigner une valeur";
    }

    void dialogueContrainte()
    {
        QFETCH(bool, sansOperande);
        QFETCH(QString, idOperande);
        QFETCH(QString, operateur);
        QFETCH(QString, valeur);
        QFETCH(QString, operateurPropose);
        QFETCH(QString, message);
        BaseTemporaire base;
        if (sansOperande)
            base.Executer("DELETE FROM Operande");
        EnregistreurMessages messages;
        TFicheContrainte dialogue(nullptr);
        QCOMPARE(dialogue.windowTitle(), QStringLiteral("Création/modification d'une contrainte"));
        dialogue.SetIdOperande(idOperande);
        dialogue.SetOperateur(operateur);
        dialogue.SetValeur(valeur);
        dialogue.show();
        QCOMPARE(Controle<QComboBox>(&dialogue, "cmbOperateur")->currentText(), operateurPropose);
        QCOMPARE(TextesCombo(Controle<QComboBox>(&dialogue, "cmbOperateur")),
                 (QStringList{"<", "<=", "=", ">", ">="}));
        if (message.contains("valeur"))
            Taper(&dialogue, "edtValeur", "");
        Cliquer(&dialogue, "btnValider");
        QCOMPARE(messages.Textes(), QStringList{message});
        QVERIFY(dialogue.isVisible());
    }

    void suppressionEmporteContraintesEtTarifs()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString x = donnees.Categorie("X", "-1");
        const QString y = donnees.Categorie("Y", "-1");
        donnees.Contrainte(x, "HAUTEUR", "<", "1");
        donnees.Contrainte(x, "LARGEUR", "<", "1");
        donnees.Contrainte(y, "LARGEUR", "<", "1");
        donnees.Tarif("1", x, 100);
        donnees.Tarif("2", x, 100, "5");
        donnees.Tarif("1", x, 100, "7");
        donnees.Tarif("1", y, 100);
        EnregistreurMessages messages;
        TFicheCategorieListe liste(nullptr);
        liste.show();
        QCOMPARE(LibelleSelectionne(Liste(&liste)), QStringLiteral("X"));

        messages.RepondreNon();
        Cliquer(&liste, "btnSupprimer");
        QCOMPARE(messages.Textes(), QStringList{"Etes-vous sûr de vouloir supprimer cette catégorie : X ?"});
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Categorie"), 2);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieContrainte"), 3);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Tarif"), 4);

        messages.RepondreOui();
        Cliquer(&liste, "btnSupprimer");
        QCOMPARE(messages.Recus().size(), 2);
        QCOMPARE(base.Valeur("SELECT GROUP_CONCAT(IdCategorie) FROM Categorie"), y);
        QCOMPARE(base.Valeur("SELECT GROUP_CONCAT(DISTINCT IdCategorie) FROM CategorieContrainte"), y);
        QCOMPARE(base.Valeur("SELECT GROUP_CONCAT(DISTINCT IdCategorie) FROM Tarif"), y);
        QCOMPARE(Colonne(Liste(&liste)), QStringList{"Y"});
    }

    void suppressionToutOuRien()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString x = donnees.Categorie("X", "-1");
        donnees.Contrainte(x, "HAUTEUR", "<", "1");
        donnees.Tarif("1", x, 100);
        base.Executer("CREATE TRIGGER refus BEFORE DELETE ON Tarif "
                      "BEGIN SELECT RAISE(ABORT, 'tarif verrouillé'); END");
        EnregistreurMessages messages;
        TFicheCategorieListe liste(nullptr);
        liste.show();
        messages.RepondreOui();
        Cliquer(&liste, "btnSupprimer");
        QCOMPARE(messages.Recus().size(), 2);
        QCOMPARE(messages.Recus().last().genre, Messages::Genre::Erreur);
        QVERIFY2(messages.Dernier().contains("tarif verrouillé"), qPrintable(messages.Dernier()));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Categorie"), 1);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieContrainte"), 1);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Tarif"), 1);
    }

    void suppressionDUneCategorieDisparueEmporteLeReste()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString x = donnees.Categorie("X", "-1");
        donnees.Contrainte(x, "HAUTEUR", "<", "1");
        donnees.Tarif("1", x, 100);
        EnregistreurMessages messages;
        TFicheCategorieListe liste(nullptr);
        liste.show();
        base.Executer("DELETE FROM Categorie");
        messages.RepondreOui();
        Cliquer(&liste, "btnSupprimer");
        QCOMPARE(messages.Dernier(), QStringLiteral("La suppression de la catégorie (%1) n'a pas réussi : un autre "
                                                    "utilisateur a déjà supprimé cette catégorie.")
                                         .arg(x));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieContrainte"), 0);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Tarif"), 0);
    }

    void enregistrementToutOuRien()
    {
        BaseTemporaire base;
        base.Executer("CREATE TRIGGER refus BEFORE INSERT ON CategorieContrainte "
                      "BEGIN SELECT RAISE(ABORT, 'contrainte refusée'); END");
        EnregistreurMessages messages;
        TFicheCategorie fiche(nullptr);
        fiche.show();
        Taper(&fiche, "edtCategorieLibelle", "Neuve");
        const auto contrainte = PreparerContrainte("Hauteur", "<", "100");
        Cliquer(&fiche, "btnContraintesAjouter");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(messages.Recus().size(), 1);
        QCOMPARE(messages.Recus().first().genre, Messages::Genre::Erreur);
        QVERIFY2(messages.Dernier().contains("contrainte refusée"), qPrintable(messages.Dernier()));
        QVERIFY(fiche.isVisible());
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Categorie"), 0);

        // Once the cause is gone, the same window saves one category, once.
        base.Executer("DROP TRIGGER refus");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(fiche.result(), int(QDialog::Accepted));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Categorie"), 1);
        QCOMPARE(Contraintes(base, base.Valeur("SELECT IdCategorie FROM Categorie")),
                 QStringList{"HAUTEUR|<|100"});
    }

    void uneAutreCopieEcritPendantLaSaisie()
    {
        BaseTemporaire base;
        TFicheCategorie fiche(nullptr);
        fiche.show();
        Taper(&fiche, "edtCategorieLibelle", "La mienne");
        const auto contrainte = PreparerContrainte("Largeur", "<", "900");
        Cliquer(&fiche, "btnContraintesAjouter");
        {
            Connexion autre;
            autre.Ouvrir(base.Fichier("Quarlo.abs"), kMotDePasseBase);
            Requete requete(autre);
            requete.SetSql("INSERT INTO Categorie (Libelle, IdCategorieType) VALUES ('Celle d''à côté', -1)");
            requete.Executer();
            autre.Fermer();
        }
        Cliquer(&fiche, "btnValider");
        QCOMPARE(fiche.result(), int(QDialog::Accepted));
        const QString mienne = Sql1(base, "SELECT IdCategorie FROM Categorie WHERE Libelle = :p", "La mienne");
        const QString autre = Sql1(base, "SELECT IdCategorie FROM Categorie WHERE Libelle = :p", "Celle d'à côté");
        QCOMPARE(Contraintes(base, mienne), QStringList{"LARGEUR|<|900"});
        QCOMPARE(Contraintes(base, autre), QStringList{});
    }

    // Another copy changed the category's constraints, or the type, while
    // its window was open: nothing is written over them.
    void uneAutreCopieChangeCeQuiEstOuvert()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString cle = donnees.Categorie("C", "-1");
        donnees.Contrainte(cle, "HAUTEUR", "<", "2000");
        EnregistreurMessages messages;
        TFicheCategorie fiche(nullptr);
        fiche.SetCle(cle);
        fiche.show();
        Taper(&fiche, "edtCategorieLibelle", "Mienne");
        donnees.Contrainte(cle, "LARGEUR", ">", "500");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(messages.Textes(),
                 QStringList{"Un autre utilisateur a modifié cette catégorie depuis l'ouverture de la fenêtre : vos "
                             "changements n'ont pas été enregistrés. La fenêtre montre maintenant ce qui est "
                             "enregistré."});
        QCOMPARE(Colonne(Liste(&fiche, "lvContraintes")), (QStringList{"Hauteur", "Largeur"}));
        QCOMPARE(Controle<QLineEdit>(&fiche, "edtCategorieLibelle")->text(), QStringLiteral("C"));
        QCOMPARE(base.Valeur("SELECT Libelle FROM Categorie"), QStringLiteral("C"));
        // Once shown again, it saves, with what the other copy wrote.
        Taper(&fiche, "edtCategorieLibelle", "Mienne");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(fiche.result(), int(QDialog::Accepted));
        QCOMPARE(base.Valeur("SELECT Libelle FROM Categorie"), QStringLiteral("Mienne"));
        QCOMPARE(Contraintes(base, cle), (QStringList{"HAUTEUR|<|2000", "LARGEUR|>|500"}));

        // Below the window: a change of the row, a changed constraint, a
        // deletion; a type likewise.
        const auto lue = Categories::CategorieLue{*Categories::Lire(cle), Categories::Contraintes(cle)};
        const auto enregistrer = [&] {
            return Categories::Enregistrer(cle, {"Y", "-1"}, lue.contraintes, {}, lue).etat;
        };
        base.Executer("UPDATE CategorieContrainte SET Valeur = '600' WHERE Valeur = '500'");
        QCOMPARE(enregistrer(), Enregistrement::ModifieAilleurs);
        base.Executer("UPDATE CategorieContrainte SET Valeur = '500' WHERE Valeur = '600'");
        base.Executer("UPDATE Categorie SET IdCategorieType = 7");
        QCOMPARE(enregistrer(), Enregistrement::ModifieAilleurs);
        base.Executer("UPDATE Categorie SET IdCategorieType = -1");
        QCOMPARE(Categories::Enregistrer(cle, {"X", "-1"}, lue.contraintes, {}, std::nullopt).etat,
                 Enregistrement::SupprimeAilleurs);
        // A type key left empty (the type has gone) is stored as no type.
        QCOMPARE(Categories::Enregistrer(cle, {"X", ""}, lue.contraintes, {}, lue).etat, Enregistrement::Fait);
        QCOMPARE(base.Valeur("SELECT IdCategorieType FROM Categorie"), QStringLiteral("-1"));
        base.Executer("DELETE FROM Categorie");
        QCOMPARE(enregistrer(), Enregistrement::SupprimeAilleurs);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Categorie"), 0);

        const QString type = donnees.Type("T", "10100");
        const std::optional<CategoriesTypes::Type> typeLu = CategoriesTypes::Lire(type);
        base.Executer("UPDATE CategorieType SET MotsClefs = 'ailleurs'");
        QCOMPARE(CategoriesTypes::Enregistrer(type, {"U", "10100", ""}, typeLu), Enregistrement::ModifieAilleurs);
        QCOMPARE(CategoriesTypes::Enregistrer(type, {"U", "10100", ""}, CategoriesTypes::Lire(type)),
                 Enregistrement::Fait);
        QCOMPARE(base.Valeur("SELECT Libelle || MotsClefs FROM CategorieType"), QStringLiteral("U"));
    }

    // Category types.

    void typesFamillesProposees()
    {
        BaseTemporaire base;
        TFicheCategorieType fiche(nullptr);
        fiche.show();
        QCOMPARE(fiche.windowTitle(), QStringLiteral("Gestion des types de catégorie"));
        auto* familles = Controle<QComboBox>(&fiche, "cmbCategorieType");
        QCOMPARE(familles->currentIndex(), -1);
        const QStringList textes = TextesCombo(familles);
        QCOMPARE(textes.size(), 14);
        QCOMPARE(textes.mid(0, 4), (QStringList{"<Aucun>", "Bloc Porte", "Grille de défense", "Imposte"}));
        QCOMPARE(textes.last(), QStringLiteral("Volet Roulant"));
    }

    void typesFamilleEnregistree_data()
    {
        QTest::addColumn<QString>("choix");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("colonne");
        QTest::newRow("liste non touchée") << "" << "" << "";
        QTest::newRow("<Aucun>") << "<Aucun>" << "00000" << "";
        QTest::newRow("Volet Roulant") << "Volet Roulant" << "10300" << "Volet Roulant";
        QTest::newRow("Porte d'entrée") << "Porte d'entrée" << "10500" << "Porte d'entrée";
    }

    void typesFamilleEnregistree()
    {
        QFETCH(QString, choix);
        QFETCH(QString, code);
        QFETCH(QString, colonne);
        BaseTemporaire base;
        TFicheCategorieTypeListe liste(nullptr);
        liste.show();
        const auto creation = PiloteModal::QuandOuvert<TFicheCategorieType>([=](TFicheCategorieType* fiche) {
            Taper(fiche, "edtLibelle", "Type");
            if (!choix.isEmpty())
                Choisir(fiche, "cmbCategorieType", choix);
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnAjouter");
        QCOMPARE(base.Valeur("SELECT TrelvaneLibelle FROM CategorieType"), code);
        QCOMPARE(base.Valeur("SELECT TrelvaneLibelle IS NULL FROM CategorieType"), QStringLiteral("0"));
        QCOMPARE(Colonne(Liste(&liste), 1), QStringList{colonne});
        QCOMPARE(LibelleSelectionne(Liste(&liste)), QString());
    }

    void typesTextesExactsModificationEtDuplication()
    {
        BaseTemporaire base;
        TFicheCategorieTypeListe liste(nullptr);
        liste.show();
        QCOMPARE(liste.windowTitle(), QStringLiteral("Liste des types de catégorie"));
        const QString libelle = QStringLiteral("Fenêtre l'été \"PVC\" ");
        const QString mots = QStringLiteral("fenêtre; l'oscillo");
        const auto creation = PiloteModal::QuandOuvert<TFicheCategorieType>([=](TFicheCategorieType* fiche) {
            Taper(fiche, "edtLibelle", libelle);
            Choisir(fiche, "cmbCategorieType", "Menuiseries");
            Taper(fiche, "edtMotsClefs", mots);
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnAjouter");
        QCOMPARE(base.Valeur("SELECT Libelle FROM CategorieType"), libelle);
        QCOMPARE(base.Valeur("SELECT MotsClefs FROM CategorieType"), mots);
        const QString cle = base.Valeur("SELECT IdCategorieType FROM CategorieType");

        QStringList charge;
        SelectionnerLigne(Liste(&liste), libelle);
        const auto duplication = PiloteModal::QuandOuvert<TFicheCategorieType>([&](TFicheCategorieType* fiche) {
            charge << Controle<QLineEdit>(fiche, "edtLibelle")->text()
                   << Controle<QComboBox>(fiche, "cmbCategorieType")->currentText()
                   << Controle<QLineEdit>(fiche, "edtMotsClefs")->text();
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnDupliquer");
        QCOMPARE(charge, (QStringList{libelle + " - copie", "Menuiseries", mots}));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieType"), 2);
        QCOMPARE(Sql1(base, "SELECT Libelle FROM CategorieType WHERE IdCategorieType = :p", cle), libelle);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieType WHERE TrelvaneLibelle = '10100' "
                              "AND MotsClefs = 'fenêtre; l''oscillo'"),
                 2);

        SelectionnerLigne(Liste(&liste), libelle);
        const auto modification = PiloteModal::QuandOuvert<TFicheCategorieType>([](TFicheCategorieType* fiche) {
            Taper(fiche, "edtLibelle", "Volets d'hiver");
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnModifier");
        QCOMPARE(Sql1(base, "SELECT Libelle FROM CategorieType WHERE IdCategorieType = :p", cle),
                 QStringLiteral("Volets d'hiver"));
        QCOMPARE(Colonne(Liste(&liste)), (QStringList{libelle + " - copie", "Volets d'hiver"}));
    }

    void typesSuppressionGardeLesCategories()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString volet = donnees.Type("Volet", "10300");
        donnees.Categorie("Battant", volet);
        EnregistreurMessages messages;
        {
            TFicheCategorieTypeListe liste(nullptr);
            liste.show();
            QCOMPARE(Colonne(Liste(&liste), 1), QStringList{"Volet Roulant"});
            SelectionnerLigne(Liste(&liste), "Volet");
            messages.RepondreNon();
            Cliquer(&liste, "btnSupprimer");
            QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieType"), 1);
            messages.RepondreOui();
            Cliquer(&liste, "btnSupprimer");
            QCOMPARE(messages.Textes(),
                     (QStringList{"Etes-vous sûr de vouloir supprimer ce type de catégorie : Volet ?",
                                  "Etes-vous sûr de vouloir supprimer ce type de catégorie : Volet ?"}));
            QCOMPARE(Liste(&liste)->topLevelItemCount(), 0);
        }
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM CategorieType"), 0);
        QCOMPARE(base.Valeur("SELECT IdCategorieType FROM Categorie"), volet);
        TFicheCategorieListe categories(nullptr);
        QCOMPARE(Colonne(Liste(&categories)), QStringList{"Battant"});
    }
};

QTEST_MAIN(TestAdminCategories)
#include "tst_admin_categories.moc"
