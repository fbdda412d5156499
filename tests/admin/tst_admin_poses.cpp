// The administration hub, the installation kinds, the operands and the
// margin, driven as an administrator would, then read back from the
// database or the settings file.

#include "DonneesReference.h"
#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "ui/admin/FicheAdministration.h"
#include "ui/admin/FicheCategorie.h"
#include "ui/admin/FicheCategorieType.h"
#include "ui/admin/FicheOperandeListe.h"
#include "ui/admin/FicheParamMarge.h"
#include "ui/admin/FichePose.h"
#include "ui/admin/FichePoseListe.h"
#include "ui/admin/FicheQuincaillerie.h"
#include "ui/common/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

class TestAdminPoses : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void cleanup() { QVERIFY(AucuneFenetreOuverte()); }

    void hubTextesOrdreEtTaille()
    {
        BaseTemporaire base;
        TFicheAdministration hub(nullptr);
        hub.show();
        QCOMPARE(hub.windowTitle(), QStringLiteral("Trelvane - Quarlo - Administration"));
        QCOMPARE(hub.size(), QSize(723, 466));
        // Smaller screens get a smaller hub: its picture shrinks.
        QVERIFY(hub.minimumHeight() < 466 && hub.minimumWidth() < 723);
        QVERIFY(!(hub.windowFlags() & Qt::WindowMaximizeButtonHint));

        const QList<std::pair<QString, QString>> attendus = {
            {"btnTarif", "Gestion des tarifs ( Général et poseurs)"},
            {"btnPose", "Gestion des poses"},
            {"btnPoseur", "Gestion des poseurs"},
            {"btnCategorieType", "Gestion des types de catégorie"},
            {"btnCategorie", "Gestion des catégories"},
            {"btnOperande", "Gestion des opérandes"},
            {"btnQuincaillerie", "Gestion des quincailleries"},
            {"btnCoefficient", "Gestion des marges"},
        };
        QStringList ordreAttendu;
        for (const auto& [nom, texte] : attendus) {
            QCOMPARE(Legende(Controle<QPushButton>(&hub, nom)), texte);
            ordreAttendu << nom;
        }

        // Tab order, from the first button round the focus chain.
        QStringList ordre;
        QWidget* w = Controle<QPushButton>(&hub, "btnTarif");
        do {
            if (qobject_cast<QPushButton*>(w))
                ordre << w->objectName();
            w = w->nextInFocusChain();
        } while (w != Controle<QPushButton>(&hub, "btnTarif"));
        QCOMPARE(ordre, ordreAttendu);

        // btnTarif and btnCoefficient share the bottom row; the others stand
        // above btnCoefficient in one column.
        auto* tarif = Controle<QPushButton>(&hub, "btnTarif");
        auto* marges = Controle<QPushButton>(&hub, "btnCoefficient");
        QCOMPARE(tarif->y(), marges->y());
        QVERIFY(tarif->x() < marges->x());
        int yPrecedent = -1;
        for (const auto& [nom, texte] : attendus.mid(1)) {
            auto* bouton = Controle<QPushButton>(&hub, nom);
            QCOMPARE(bouton->x(), marges->x());
            QVERIFY(bouton->y() > yPrecedent);
            yPrecedent = bouton->y();
        }
    }

    void hubLogo()
    {
        BaseTemporaire base;
        EnregistreurMessages messages;
        {
            TFicheAdministration sansLogo(nullptr);
            QVERIFY(Controle<QLabel>(&sansLogo, "imgLogo")->pixmap().isNull());
        }
        QVERIFY(messages.Recus().isEmpty());

        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        QVERIFY(image.save(base.Fichier("Quarlo.bmp"), "BMP"));
        TFicheAdministration avecLogo(nullptr);
        const QPixmap logo = Controle<QLabel>(&avecLogo, "imgLogo")->pixmap();
        QCOMPARE(logo.size(), QSize(450, 225)); // stretched, proportions kept
    }

    void hubOuvreChaqueFenetre_data()
    {
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<QString>("classe");
        QTest::addColumn<QString>("titre");
        QTest::newRow("tarifs") << "btnTarif" << "TFicheTarifListe" << "Liste des tarifs";
        QTest::newRow("poseurs") << "btnPoseur" << "TFichePoseurListe" << "Liste des poseurs";
        QTest::newRow("quincailleries") << "btnQuincaillerie" << "TFicheQuincaillerieListe"
                                        << "Liste de la quincaillerie";
        QTest::newRow("marges") << "btnCoefficient" << "TFicheParamMarge" << "Paramétrage des marges";
    }

    void hubOuvreChaqueFenetre()
    {
        QFETCH(QString, bouton);
        QFETCH(QString, classe);
        QFETCH(QString, titre);
        BaseTemporaire base;
        EnregistreurMessages messages;
        TFicheAdministration hub(nullptr);
        hub.show();
        QString classeOuverte, titreOuvert;
        const auto pilote = PiloteModal::QuandOuvert<QWidget>([&](QWidget* fenetre) {
            classeOuverte = QString::fromLatin1(fenetre->metaObject()->className());
            titreOuvert = fenetre->windowTitle();
            QCOMPARE(fenetre->parent(), &hub);
            fenetre->close();
        });
        Cliquer(&hub, bouton);
        QCOMPARE(classeOuverte, classe);
        QCOMPARE(titreOuvert, titre);
        QVERIFY(messages.Recus().isEmpty());
    }

    void margeMini()
    {
        BaseTemporaire base;
        EnregistreurMessages messages;
        const QString ini = base.Fichier(QStringLiteral("Module_Quarlo.ini"));
        {
            TFicheParamMarge fiche(nullptr);
            fiche.show();
            QCOMPARE(Controle<QLineEdit>(&fiche, "edtMargeMini")->text(), QStringLiteral("0"));
            for (const char* refusee : {"", "abc", "-1"}) {
                Taper(&fiche, "edtMargeMini", refusee);
                Cliquer(&fiche, "btnValider");
                QCOMPARE(messages.Dernier(), QStringLiteral("La marge mini est mal renseignée."));
                QVERIFY(fiche.isVisible());
            }
            QVERIFY(!QFile::exists(ini));
            Taper(&fiche, "edtMargeMini", "12,5");
            Cliquer(&fiche, "btnValider");
            QCOMPARE(fiche.result(), int(QDialog::Accepted));
        }
        QCOMPARE(messages.Recus().size(), 3);
        QFile fichier(ini);
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        QCOMPARE(fichier.readAll(), QByteArray("[Marge]\r\nMini=12,5\r\n"));
        // Cancel writes nothing; the next opening shows the text saved.
        TFicheParamMarge fiche(nullptr);
        fiche.show();
        QCOMPARE(Controle<QLineEdit>(&fiche, "edtMargeMini")->text(), QStringLiteral("12,5"));
        Taper(&fiche, "edtMargeMini", "150");
        Cliquer(&fiche, "btnFermer");
        TFicheParamMarge encore(nullptr);
        QCOMPARE(Controle<QLineEdit>(&encore, "edtMargeMini")->text(), QStringLiteral("12,5"));
    }

    void hubDeuxClicsDeuxFenetres()
    {
        BaseTemporaire base;
        TFicheAdministration hub(nullptr);
        hub.show();

        QObject* parent = nullptr;
        QStringList premiere;
        const auto premiereListe = PiloteModal::QuandOuvert<TFichePoseListe>([&](TFichePoseListe* liste) {
            parent = liste->parent();
            const auto ajout = PiloteModal::QuandOuvert<TFichePose>([](TFichePose* fiche) {
                Taper(fiche, "edtLibelle", QStringLiteral("Pose d'été"));
                Cliquer(fiche, "btnValider");
            });
            Cliquer(liste, "btnCategorieAjouter");
            premiere = Colonne(Liste(liste));
            Cliquer(liste, "btnFermer");
        });
        Cliquer(&hub, "btnPose");
        QCOMPARE(parent, static_cast<QObject*>(&hub));
        QCOMPARE(premiere, QStringList{"Pose d'été"});
        QVERIFY(hub.findChildren<TFichePoseListe*>().isEmpty()); // destroyed once closed

        QStringList seconde;
        const auto secondeListe = PiloteModal::QuandOuvert<TFichePoseListe>([&](TFichePoseListe* liste) {
            seconde = Colonne(Liste(liste));
            liste->close(); // the title bar's close button
        });
        Cliquer(&hub, "btnPose");
        QCOMPARE(seconde, QStringList{"Pose d'été"});
        QVERIFY(Controle<QPushButton>(&hub, "btnPose")->isEnabled());
    }

    void listeVideDemandeUneSelection()
    {
        BaseTemporaire base;
        EnregistreurMessages messages;
        TFichePoseListe liste(nullptr);
        liste.show();
        QCOMPARE(Liste(&liste)->topLevelItemCount(), 0);
        Cliquer(&liste, "btnCategorieModifier");
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(messages.Textes(),
                 (QStringList{"Vous devez sélectionner une pose pour effectuer une modification.",
                              "Vous devez sélectionner une pose pour effectuer une suppression."}));
    }

    void listeColonnesEtPremiereLigne()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        donnees.Pose("Pose B", {}, 2, "PB");
        donnees.Pose("Pose A", {}, 3, "PA");
        donnees.Pose("Pose C", {}, 9, "PC"); // a VAT type the host did not send
        TFichePoseListe liste(nullptr);
        liste.show();
        QCOMPARE(liste.windowTitle(), QStringLiteral("Liste des poses"));
        QTreeWidget* lv = Liste(&liste);
        QCOMPARE(Colonne(lv, 0), (QStringList{"Pose A", "Pose B", "Pose C"}));
        QCOMPARE(Colonne(lv, 1), (QStringList{"5,50", "10,00", ""}));
        QCOMPARE(Colonne(lv, 2), (QStringList{"PA", "PB", "PC"}));
        QCOMPARE(LibelleSelectionne(lv), QStringLiteral("Pose A"));
        // At least as wide as the system makes it: the label takes the room left.
        QVERIFY(lv->header()->sectionSize(0) >= 550);
        QCOMPARE(lv->header()->sectionSize(2), 130);
        QVERIFY(lv->topLevelItem(0)->textAlignment(1) & Qt::AlignRight);
    }

    void controlesDansLOrdre_data()
    {
        QTest::addColumn<QStringList>("saisie"); // label, then the four amounts
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("fautif");
        QTest::newRow("libellé vide") << QStringList{"", "x", "x", "x", "x"}
                                      << "Veuillez renseigner le libellé." << "edtLibelle";
        QTest::newRow("lettres") << QStringList{"P", "abc", "0", "0", "0"}
                                 << "Veuillez renseigner/corriger la livraison." << "edtLivraison";
        QTest::newRow("moins un") << QStringList{"P", "0", "-1", "-1", "0"}
                                  << "Veuillez renseigner/corriger la livraison compliquée."
                                  << "edtLivraisonCompliquee";
        QTest::newRow("vide") << QStringList{"P", "0", "0", "", "0"}
                              << "Veuillez renseigner/corriger l'autorisation." << "edtAutorisation";
        QTest::newRow("point décimal") << QStringList{"P", "0", "0", "0", "1.5"}
                                       << "Veuillez renseigner/corriger la manutention."
                                       << "edtManutention";
        QTest::newRow("négatif") << QStringList{"P", "0", "0", "0", "-0,5"}
                                 << "Veuillez renseigner/corriger la manutention." << "edtManutention";
        const QString horsLimites = "\nLe montant doit rester inférieur à mille milliards en valeur absolue.";
        QTest::newRow("1e308") << QStringList{"P", "0", "0", "1e308", "0"}
                               << "Veuillez renseigner/corriger l'autorisation." + horsLimites << "edtAutorisation";
        QTest::newRow("vingt chiffres") << QStringList{"P", "99999999999999999999", "0", "0", "0"}
                                        << "Veuillez renseigner/corriger la livraison." + horsLimites << "edtLivraison";
        QTest::newRow("acceptée") << QStringList{"P", "0", "12,5", "1234,56", "3"} << "" << "";
    }

    void controlesDansLOrdre()
    {
        QFETCH(QStringList, saisie);
        QFETCH(QString, message);
        QFETCH(QString, fautif);
        BaseTemporaire base;
        EnregistreurMessages messages;
        TFichePose fiche(nullptr);
        fiche.show();
        const char* editions[] = {"edtLibelle", "edtLivraison", "edtLivraisonCompliquee",
                                  "edtAutorisation", "edtManutention"};
        for (int i = 0; i < 5; ++i)
            Taper(&fiche, editions[i], saisie.at(i));
        Cliquer(&fiche, "btnValider");

        if (message.isEmpty()) {
            QVERIFY(messages.Recus().isEmpty());
            QCOMPARE(fiche.result(), int(QDialog::Accepted));
            QCOMPARE(base.Valeur("SELECT LivraisonCompliquee FROM Pose").toDouble(), 12.5);
            QCOMPARE(base.Valeur("SELECT Autorisation FROM Pose").toDouble(), 1234.56);
            QCOMPARE(base.Valeur("SELECT Manutention FROM Pose").toDouble(), 3.0);
            return;
        }
        QCOMPARE(messages.Textes(), QStringList{message});
        QVERIFY(fiche.isVisible());
        QCOMPARE(fiche.focusWidget(), Controle<QLineEdit>(&fiche, fautif));
        QCOMPARE(Controle<QLineEdit>(&fiche, editions[1])->text(), saisie.at(1)); // typed text kept
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 0);
    }

    void tvaALOuverture_data()
    {
        QTest::addColumn<int>("typeStocke"); // 0: new kind
        QTest::addColumn<QString>("entree");
        QTest::addColumn<QString>("taux");
        QTest::newRow("nouvelle") << 0 << "TVA 20 %" << "20,00 %";
        QTest::newRow("type 3") << 3 << "TVA 5,5 %" << "5,50 %";
        QTest::newRow("type absent") << 7 << "TVA 20 %" << "20,00 %";
    }

    void tvaALOuverture()
    {
        QFETCH(int, typeStocke);
        QFETCH(QString, entree);
        QFETCH(QString, taux);
        BaseTemporaire base;
        DonneesReference donnees(base);
        TFichePose fiche(nullptr);
        if (typeStocke)
            fiche.SetCle(donnees.Pose("P", {}, typeStocke));
        fiche.show();
        auto* tva = Controle<QComboBox>(&fiche, "cmbTVA");
        QCOMPARE(TextesCombo(tva), (QStringList{"TVA 10 %", "TVA 20 %", "TVA 5,5 %"}));
        QCOMPARE(tva->currentText(), entree);
        QCOMPARE(Controle<QLabel>(&fiche, "lblTvaTaux")->text(), taux);

        Choisir(&fiche, "cmbTVA", "TVA 10 %");
        QCOMPARE(Controle<QLabel>(&fiche, "lblTvaTaux")->text(), QStringLiteral("10,00 %"));
    }

    void poseEnregistreeTelleQueTapeePuisModifiee()
    {
        BaseTemporaire base;
        TFichePoseListe liste(nullptr);
        liste.show();

        const QString libelle = QStringLiteral(" L'été \"chaud\"; O'Neil ");
        const auto ajout = PiloteModal::QuandOuvert<TFichePose>([&](TFichePose* fiche) {
            Taper(fiche, "edtLibelle", libelle);
            Taper(fiche, "edtCodeExport", "P'01");
            Choisir(fiche, "cmbTVA", "TVA 10 %");
            Taper(fiche, "edtLivraison", "12,5");
            Taper(fiche, "edtLivraisonCodeExport", "LIV'");
            Taper(fiche, "edtLivraisonCompliquee", "0");
            Taper(fiche, "edtLivraisonCompliqueeCodeExport", "\"LC\"");
            Taper(fiche, "edtAutorisation", "1234,5678");
            Taper(fiche, "edtAutorisationCodeExport", "AUT");
            Taper(fiche, "edtManutention", "0,1");
            Taper(fiche, "edtManutentionCodeExport", "é");
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnCategorieAjouter");

        const QString cle = base.Valeur("SELECT IdPose FROM Pose");
        Requete requete(base.Base());
        requete.SetSql("SELECT * FROM Pose");
        const Resultat lignes = requete.Ouvrir();
        QCOMPARE(lignes.NombreLignes(), 1);
        const Ligne& pose = lignes.Premiere();
        QCOMPARE(pose.Texte("Libelle"), libelle);
        QCOMPARE(pose.Texte("CodeExport"), QStringLiteral("P'01"));
        QCOMPARE(pose.Entier("TypeTva"), 2);
        QCOMPARE(pose.Decimal("Livraison"), 12.5);
        QCOMPARE(pose.Decimal("Autorisation"), 1234.5678);
        QCOMPARE(pose.Decimal("Manutention"), 0.1);
        QCOMPARE(pose.Texte("CodeExportLivraison"), QStringLiteral("LIV'"));
        QCOMPARE(pose.Texte("CodeExportLivraisonCompliquee"), QStringLiteral("\"LC\""));
        QCOMPARE(pose.Texte("CodeExportAutorisation"), QStringLiteral("AUT"));
        QCOMPARE(pose.Texte("CodeExportManutention"), QStringLiteral("é"));
        QCOMPARE(Colonne(Liste(&liste), 1), QStringList{"10,00"});

        // Reopened: amounts in their shortest form, then changed in place.
        QStringList montants;
        QString tva;
        const auto modification = PiloteModal::QuandOuvert<TFichePose>([&](TFichePose* fiche) {
            for (const char* nom : {"edtLivraison", "edtLivraisonCompliquee", "edtAutorisation",
                                    "edtManutention"})
                montants << Controle<QLineEdit>(fiche, nom)->text();
            tva = Controle<QComboBox>(fiche, "cmbTVA")->currentText();
            Taper(fiche, "edtLibelle", "Pose d'hiver");
            Choisir(fiche, "cmbTVA", "TVA 5,5 %");
            Cliquer(fiche, "btnValider");
        });
        Cliquer(&liste, "btnCategorieModifier");
        QCOMPARE(montants, (QStringList{"12,5", "0", "1234,5678", "0,1"}));
        QCOMPARE(tva, QStringLiteral("TVA 10 %"));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 1);
        QCOMPARE(base.Valeur("SELECT IdPose FROM Pose"), cle);
        QCOMPARE(base.Valeur("SELECT Libelle FROM Pose"), QStringLiteral("Pose d'hiver"));
        QCOMPARE(base.Valeur("SELECT TypeTva FROM Pose"), QStringLiteral("3"));
        QCOMPARE(base.Valeur("SELECT CodeExportManutention FROM Pose"), QStringLiteral("é"));
        QCOMPARE(Colonne(Liste(&liste), 1), QStringList{"5,50"});

        // "Annuler" writes nothing; the list is refilled all the same.
        const auto annulation = PiloteModal::QuandOuvert<TFichePose>([&](TFichePose* fiche) {
            Taper(fiche, "edtLibelle", "Jamais");
            Cliquer(fiche, "btnFermer");
        });
        Cliquer(&liste, "btnCategorieModifier");
        QCOMPARE(base.Valeur("SELECT Libelle FROM Pose"), QStringLiteral("Pose d'hiver"));
    }

    void sansTvaLaPoseLeDit_data()
    {
        QTest::addColumn<QList<int>>("types");
        QTest::addColumn<QString>("message");
        QTest::newRow("table vide")
            << QList<int>{}
            << "Aucun type de TVA n'est défini dans la configuration : la pose ne peut pas être enregistrée.";
        QTest::newRow("pas de type 1") << QList<int>{2, 5} << "Veuillez sélectionner un type de TVA.";
    }

    void sansTvaLaPoseLeDit()
    {
        QFETCH(QList<int>, types);
        QFETCH(QString, message);
        BaseTemporaire base(false);
        for (int type : types)
            base.Dm().AjouterTva(type, QStringLiteral("TVA %1").arg(type), type);
        EnregistreurMessages messages;
        TFichePose fiche(nullptr);
        fiche.show();
        QCOMPARE(Controle<QComboBox>(&fiche, "cmbTVA")->currentIndex(), -1);
        QCOMPARE(Controle<QLabel>(&fiche, "lblTvaTaux")->text(), QStringLiteral("%"));
        Taper(&fiche, "edtLibelle", "P");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(messages.Textes(), QStringList{message});
        QVERIFY(fiche.isVisible());
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 0);

        if (types.isEmpty())
            return;
        messages.Vider();
        Choisir(&fiche, "cmbTVA", "TVA 5");
        Cliquer(&fiche, "btnValider");
        QVERIFY(messages.Recus().isEmpty());
        QCOMPARE(base.Valeur("SELECT TypeTva FROM Pose"), QStringLiteral("5"));
    }

    void suppressionConfirmeeSeulement()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString a = donnees.Pose("A", {}, 1);
        donnees.Pose("B", {}, 1);
        donnees.Tarif(a, "1", 10);
        EnregistreurMessages messages;
        TFichePoseListe liste(nullptr);
        liste.show();
        SelectionnerLigne(Liste(&liste), "B");

        messages.RepondreNon();
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(messages.Textes(), QStringList{"Etes-vous sûr de vouloir supprimer cette pose : B ?"});
        QVERIFY(messages.Recus().first().nonParDefaut);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 2);
        QCOMPARE(LibelleSelectionne(Liste(&liste)), QStringLiteral("B"));

        messages.RepondreOui();
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(Colonne(Liste(&liste)), QStringList{"A"});
        QCOMPARE(LibelleSelectionne(Liste(&liste)), QStringLiteral("A"));

        messages.RepondreOui();
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 0);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Tarif"), 1); // tariffs of the kind stay
        QCOMPARE(messages.Recus().size(), 3);
    }

    // The box itself: Enter answers "Non" to a question of deletion or
    // loss, "Oui" to any other; each button has its accelerator.
    void questionDePerteNonParDefaut()
    {
        for (const bool perte : {true, false}) {
            QString defaut;
            QTimer::singleShot(0, [&] {
                auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(boite);
                defaut = boite->defaultButton()->text();
                QTest::keyClick(boite, Qt::Key_Return);
            });
            const bool oui = perte ? Messages::QuestionPerte(QStringLiteral("Supprimer ?"))
                                   : Messages::Question(QStringLiteral("Continuer ?"));
            QCOMPARE(defaut, perte ? QStringLiteral("&Non") : QStringLiteral("&Oui"));
            QCOMPARE(oui, !perte);
        }
    }

    // Another copy changed or deleted the kind while its window was open:
    // nothing is written over it.
    void uneAutreCopieChangeLaPoseOuverte()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString cle = donnees.Pose("P", {}, 1);
        EnregistreurMessages messages;
        TFichePose fiche(nullptr);
        fiche.SetCle(cle);
        fiche.show();
        Taper(&fiche, "edtLibelle", "Mienne");
        base.Executer("UPDATE Pose SET Livraison = 42 WHERE IdPose = :c", {{"c", cle.toLongLong()}});
        Cliquer(&fiche, "btnValider");
        QCOMPARE(messages.Textes(),
                 QStringList{"Un autre utilisateur a modifié cette pose depuis l'ouverture de la fenêtre : vos "
                             "changements n'ont pas été enregistrés. La fenêtre montre maintenant ce qui est "
                             "enregistré."});
        QVERIFY(fiche.isVisible());
        QCOMPARE(Controle<QLineEdit>(&fiche, "edtLibelle")->text(), QStringLiteral("P"));
        QCOMPARE(Controle<QLineEdit>(&fiche, "edtLivraison")->text(), QStringLiteral("42"));
        QCOMPARE(base.Valeur("SELECT Libelle FROM Pose"), QStringLiteral("P"));

        // Typed again over what the window now shows, it is saved.
        Taper(&fiche, "edtLibelle", "Mienne");
        Cliquer(&fiche, "btnValider");
        QCOMPARE(fiche.result(), int(QDialog::Accepted));
        QCOMPARE(base.Valeur("SELECT Libelle || '|' || Livraison FROM Pose"), QStringLiteral("Mienne|42.0"));

        messages.Vider();
        TFichePose autre(nullptr);
        autre.SetCle(cle);
        autre.show();
        base.Executer("DELETE FROM Pose");
        Taper(&autre, "edtLibelle", "Revenue");
        Cliquer(&autre, "btnValider");
        QCOMPARE(messages.Textes(), QStringList{"Un autre utilisateur a supprimé cette pose : vos changements n'ont "
                                                "pas été enregistrés."});
        QVERIFY(!autre.isVisible());
        QCOMPARE(autre.result(), int(QDialog::Rejected));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 0);
    }

    void suppressionDUnePoseDejaDisparue()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString a = donnees.Pose("A", {}, 1);
        EnregistreurMessages messages;
        TFichePoseListe liste(nullptr);
        liste.show();
        base.Executer("DELETE FROM Pose"); // another copy of the program got there first
        messages.RepondreOui();
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(messages.Dernier(),
                 QStringLiteral("La suppression de la pose (%1) n'a pas réussi : un autre utilisateur a déjà supprimé "
                                "cette pose.")
                     .arg(a));
        QCOMPARE(messages.Recus().last().genre, Messages::Genre::Information);
        QCOMPARE(Liste(&liste)->topLevelItemCount(), 0);
    }

    // Another copy changed the kind since the list was read: it is not
    // deleted, the list shows it as it is now, selected, and a second
    // "Supprimer" deletes it.
    void suppressionDUnePoseChangeeAilleurs()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        donnees.Pose("A", {}, 1);
        const QString b = donnees.Pose("B", {}, 1);
        EnregistreurMessages messages;
        TFichePoseListe liste(nullptr);
        liste.show();
        SelectionnerLigne(Liste(&liste), "B");
        base.Executer("UPDATE Pose SET CodeExport = 'NEUF' WHERE IdPose = :c", {{"c", b.toLongLong()}});
        messages.RepondreOui();
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(messages.Textes(),
                 (QStringList{"Etes-vous sûr de vouloir supprimer cette pose : B ?",
                              "Un autre utilisateur a modifié cette pose depuis l'affichage de la liste : rien n'a "
                              "été supprimé. La liste montre maintenant ce qui est enregistré."}));
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 2);
        QCOMPARE(LibelleSelectionne(Liste(&liste)), QStringLiteral("B"));
        QCOMPARE(Liste(&liste)->currentItem()->text(2), QStringLiteral("NEUF"));

        messages.RepondreOui();
        Cliquer(&liste, "btnCategorieSupprimer");
        QCOMPARE(messages.Recus().size(), 3);
        QCOMPARE(Colonne(Liste(&liste)), QStringList{"A"});
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), 1);
    }

    // A text stored longer than its edit holds (a file filled before the
    // imports cut long texts): the edit window says so when it opens the
    // record and keeps the whole text unless the field is changed; a copy
    // keeps what the edit shows.
    void texteEnregistreTropLong_data()
    {
        QTest::addColumn<QString>("fenetre");
        QTest::addColumn<QString>("colonne");
        QTest::addColumn<QString>("edition");
        QTest::addColumn<QString>("champ");
        QTest::addColumn<int>("limite");
        QTest::addColumn<QString>("geste"); // "aucun", "modifié" or "copie"
        QTest::newRow("pose libellé") << "Pose" << "Libelle" << "edtLibelle" << "du libellé" << 50 << "aucun";
        QTest::newRow("pose code de la manutention") << "Pose" << "CodeExportManutention" << "edtManutentionCodeExport"
                                                     << "du code export de la manutention" << 50 << "aucun";
        QTest::newRow("catégorie libellé")
            << "Categorie" << "Libelle" << "edtCategorieLibelle" << "du libellé" << 100 << "aucun";
        QTest::newRow("catégorie libellé modifié")
            << "Categorie" << "Libelle" << "edtCategorieLibelle" << "du libellé" << 100 << "modifié";
        QTest::newRow("type mots clefs")
            << "CategorieType" << "MotsClefs" << "edtMotsClefs" << "des mots clefs" << 100 << "aucun";
        QTest::newRow("type libellé copié") << "CategorieType" << "Libelle" << "edtLibelle" << "du libellé" << 100
                                            << "copie";
        QTest::newRow("quincaillerie libellé 2")
            << "Quincaillerie" << "Libelle2" << "edtLibelle2" << "du libellé 2" << 100 << "aucun";
        QTest::newRow("quincaillerie code export modifié")
            << "Quincaillerie" << "CodeExport" << "edtCodeExport" << "du code export" << 100 << "modifié";
        QTest::newRow("quincaillerie libellé copié")
            << "Quincaillerie" << "Libelle" << "edtLibelle" << "du libellé" << 100 << "copie";
    }

    void texteEnregistreTropLong()
    {
        QFETCH(QString, fenetre);
        QFETCH(QString, colonne);
        QFETCH(QString, edition);
        QFETCH(QString, champ);
        QFETCH(int, limite);
        QFETCH(QString, geste);
        BaseTemporaire base;
        DonneesReference donnees(base);
        std::unique_ptr<TFicheEdition> fiche;
        QString cle;
        if (fenetre == u"Pose") {
            cle = donnees.Pose("P", {}, 1);
            fiche = std::make_unique<TFichePose>(nullptr);
        } else if (fenetre == u"Categorie") {
            cle = donnees.Categorie("C", "-1");
            fiche = std::make_unique<TFicheCategorie>(nullptr);
        } else if (fenetre == u"CategorieType") {
            cle = donnees.Type("T", {});
            fiche = std::make_unique<TFicheCategorieType>(nullptr);
        } else {
            cle = donnees.EntreeCatalogue("Q", "", 1, 1, 1, 1, 0);
            fiche = std::make_unique<TFicheQuincaillerie>(nullptr);
        }
        QString entier;
        while (entier.size() < limite + 20)
            entier += QStringLiteral("éa%1 ").arg(entier.size());
        const QString cleColonne = "Id" + fenetre;
        base.Executer(QStringLiteral("UPDATE %1 SET %2 = :t WHERE %3 = :c").arg(fenetre, colonne, cleColonne),
                      {{"t", entier}, {"c", cle.toLongLong()}});
        const auto stocke = [&](const QString& ou) {
            return base.Valeur(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(colonne, fenetre, ou));
        };

        EnregistreurMessages messages;
        fiche->SetCle(cle);
        fiche->SetDuplication(geste == u"copie");
        fiche->show();
        QCOMPARE(messages.Textes(),
                 QStringList{geste == u"copie"
                                 ? QStringLiteral("Le texte enregistré %1 dépasse %2 caractères : la copie n'en "
                                                  "gardera que les %2 premiers.")
                                       .arg(champ)
                                       .arg(limite)
                                 : QStringLiteral("Le texte enregistré %1 dépasse %2 caractères : il sera coupé à %2 "
                                                  "caractères si vous modifiez ce champ, et gardé entier sinon.")
                                       .arg(champ)
                                       .arg(limite)});
        QCOMPARE(Controle<QLineEdit>(fiche.get(), edition)->text(), entier.left(limite));
        if (geste == u"modifié")
            Taper(fiche.get(), edition, "Neuf");
        Cliquer(fiche.get(), "btnValider");
        QCOMPARE(fiche->result(), int(QDialog::Accepted));
        QCOMPARE(messages.Recus().size(), 1);
        const QString ceRecord = QStringLiteral("%1 = %2").arg(cleColonne, cle);
        QCOMPARE(stocke(ceRecord), geste == u"modifié" ? QStringLiteral("Neuf") : entier);
        if (geste == u"copie")
            QCOMPARE(stocke(QStringLiteral("%1 <> %2").arg(cleColonne, cle)), entier.left(limite));
        else
            QCOMPARE(base.Compter(QStringLiteral("SELECT COUNT(*) FROM %1").arg(fenetre)), 1);
    }

    // Enter presses the focused button; only elsewhere does it mean "Valider".
    void entreeAuClavier_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("resultat");
        QTest::addColumn<int>("poses");
        QTest::newRow("sur Annuler") << "btnFermer" << int(QDialog::Rejected) << 0;
        QTest::newRow("sur Valider") << "btnValider" << int(QDialog::Accepted) << 1;
        QTest::newRow("dans le libellé") << "edtLibelle" << int(QDialog::Accepted) << 1;
        QTest::newRow("dans un montant") << "edtManutention" << int(QDialog::Accepted) << 1;
    }

    void entreeAuClavier()
    {
        QFETCH(QString, focus);
        QFETCH(int, resultat);
        QFETCH(int, poses);
        BaseTemporaire base;
        TFichePose fiche(nullptr);
        const auto edition = PiloteModal::QuandOuvert<TFichePose>([&](TFichePose* ouverte) {
            Taper(ouverte, "edtLibelle", "Pose");
            auto* cible = Controle<QWidget>(ouverte, focus);
            cible->setFocus();
            QTest::keyClick(cible, Qt::Key_Return);
            if (ouverte->isVisible())
                ouverte->done(99); // Enter did nothing
        });
        QCOMPARE(fiche.exec(), resultat);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Pose"), poses);
    }

    // A kind that cannot be read is not offered for saving over with "0"
    // amounts: the error is shown and the window closes with Cancel.
    void poseIllisibleFermeLaFenetre()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString cle = donnees.Pose("Pose", {}, 1);
        base.Executer("ALTER TABLE Pose RENAME TO PoseAilleurs");
        EnregistreurMessages messages;
        TFichePose fiche(nullptr);
        fiche.SetCle(cle);
        QTimer::singleShot(3000, &fiche, [&fiche] { fiche.done(99); }); // left open
        QCOMPARE(fiche.exec(), int(QDialog::Rejected));
        QCOMPARE(messages.Recus().size(), 1);
        QCOMPARE(messages.Recus().first().genre, Messages::Genre::Erreur);
    }

    void listeEntreeAuClavier_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("editionOuverte");
        QTest::addColumn<bool>("listeOuverte");
        QTest::newRow("sur Modifier") << "btnCategorieModifier" << true << true;
        QTest::newRow("sur Fermer") << "btnFermer" << false << false;
        QTest::newRow("dans la liste") << "lvListe" << false << true;
    }

    // In a list, Enter presses the focused button and nothing else.
    void listeEntreeAuClavier()
    {
        QFETCH(QString, focus);
        QFETCH(bool, editionOuverte);
        QFETCH(bool, listeOuverte);
        BaseTemporaire base;
        DonneesReference donnees(base);
        donnees.Pose("Pose", {}, 1);
        EnregistreurMessages messages;
        TFichePoseListe liste(nullptr);
        liste.show();
        // The window opens, if at all, while Enter is handled.
        const auto edition = PiloteModal::SiOuvert<TFichePose>([](TFichePose* fiche) { fiche->reject(); });
        auto* cible = Controle<QWidget>(&liste, focus);
        cible->setFocus();
        QTest::keyClick(cible, Qt::Key_Return);
        QVERIFY(AucuneFenetreModale());
        QCOMPARE(edition.Fait(), editionOuverte);
        QCOMPARE(liste.isVisible(), listeOuverte);
        QCOMPARE(messages.Textes(), QStringList{});
    }

    void hubEntreeSurUnBoutonLOuvre()
    {
        BaseTemporaire base;
        TFicheAdministration hub(nullptr);
        hub.show();
        const auto ouverte = PiloteModal::QuandOuvert<TFicheOperandeListe>(
            [](TFicheOperandeListe* liste) { liste->reject(); });
        auto* bouton = Controle<QPushButton>(&hub, "btnOperande");
        bouton->setFocus();
        QTest::keyClick(bouton, Qt::Key_Return);
        QVERIFY(ouverte.Fait());
        QVERIFY(hub.isVisible());
    }

    void operandesEnLectureSeule()
    {
        BaseTemporaire base;
        TFicheOperandeListe liste(nullptr);
        liste.show();
        QCOMPARE(liste.windowTitle(), QStringLiteral("Liste des opérandes"));
        QTreeWidget* lv = Liste(&liste);
        QCOMPARE(Colonne(lv, 0), (QStringList{"Hauteur", "Largeur", "Largeur par vantail",
                                              "Nombre de vantaux", "Périmètre"}));
        QCOMPARE(Colonne(lv, 1),
                 (QStringList{"HAUTEUR", "LARGEUR", "LARGEUR_VANTAIL", "VANTAIL", "PERIMETRE"}));
        QCOMPARE(LibelleSelectionne(lv), QString());
        QCOMPARE(liste.findChildren<QPushButton*>().size(), 1);
        Cliquer(&liste, "btnFermer");
        QVERIFY(!liste.isVisible());
    }
};

QTEST_MAIN(TestAdminPoses)
#include "tst_admin_poses.moc"
