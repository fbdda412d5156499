#include "app/FicheMain.h"
#include "app/Lancement.h"

#include "BaseTemporaire.h"
#include "Octets.h"
#include "OutilsFenetres.h"
#include "TubeNomme.h"
#include "data/DMPose.h"
#include "model/Echange.h"
#include "ui/admin/FicheAdministration.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/Messages.h"
#include "ui/pricing/FicheModeNormal.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <stdexcept>

namespace {

const QString kConfig = QStringLiteral(
    "[TVA]\r\nNb=3\r\n"
    "[TVA0]\r\nTypeTva=1\r\nLibelle=TVA 20 %\r\nValeur=20\r\n"
    "[TVA1]\r\nTypeTva=2\r\nLibelle=TVA 10 %\r\nValeur=10\r\n"
    "[TVA2]\r\nTypeTva=3\r\nLibelle=TVA 5,5 %\r\nValeur=5,5\r\n"
    "[Poseur]\r\nNb=2\r\n"
    "[Poseur0]\r\nCode=P01\r\nNom=Poseur un\r\n"
    "[Poseur1]\r\nCode=P02\r\nNom=Poseur deux\r\n");

// What a working window saw when the sequence opened it.
struct Ouverture
{
    QString fenetre; // "administration" or "tarification"
    QString fichierConfig;
    QString fichierEchange;
    bool baseOuverte = false;
    int poseurs = -1;
    int tvas = -1;
    bool proprietaireVisible = true;
};

int CompterPoseurs()
{
    Requete requete(DMPose().Quarlo());
    requete.SetSql(QStringLiteral("SELECT COUNT(*) AS Nombre FROM Poseur"));
    return static_cast<int>(requete.Ouvrir().Premiere().Entier(QStringLiteral("Nombre")));
}

Ouverture Observer(const QString& fenetre, QWidget* proprietaire, const QString& config = {},
                   const QString& echange = {})
{
    Ouverture ouverture;
    ouverture.fenetre = fenetre;
    ouverture.fichierConfig = config;
    ouverture.fichierEchange = echange;
    ouverture.baseOuverte = DMPose().EstConnecte();
    ouverture.poseurs = ouverture.baseOuverte ? CompterPoseurs() : -1;
    ouverture.tvas = DMPose().rxTva().size();
    ouverture.proprietaireVisible = proprietaire && proprietaire->isVisible();
    return ouverture;
}

} // namespace

class TestLancement : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> temporaire;
    std::unique_ptr<TDMPose> dm;
    QString programme; // the program folder, with a trailing '/'
    QString hote;      // the host's folder, where its files are
    QVector<Ouverture> ouvertures;

    Lancement::Fenetres Enregistreuses()
    {
        Lancement::Fenetres fenetres;
        fenetres.Administration = [this](QWidget* proprietaire) {
            ouvertures << Observer(QStringLiteral("administration"), proprietaire);
        };
        fenetres.ModeNormal = [this](QWidget* proprietaire, const QString& config, const QString& echange) {
            ouvertures << Observer(QStringLiteral("tarification"), proprietaire, config, echange);
        };
        return fenetres;
    }

    QString Chemin(QString texte) const
    {
        return texte.replace(QLatin1String("<hote>"), hote).replace(QLatin1String("<programme>"), programme);
    }

    // A database that exists, as every start but the first finds it.
    void CreerBase()
    {
        dm->SetNomFichier(programme + QStringLiteral("Quarlo.abs"));
        dm->Ouvrir();
        dm->Fermer();
    }

    QStringList Chemins(const QStringList& textes) const
    {
        QStringList resultat;
        for (const QString& texte : textes)
            resultat << Chemin(texte);
        return resultat;
    }

    // Messages give the host's paths as it wrote them and the program's own
    // files with the system's separators.
    QStringList Messages(QStringList textes) const
    {
        textes.replaceInStrings(QLatin1String("<programme>"), QDir::toNativeSeparators(programme));
        return Chemins(textes);
    }

    int PoseursEnBase()
    {
        dm->Ouvrir();
        const int nombre = CompterPoseurs();
        dm->Fermer();
        return nombre;
    }

    // A database that already exists, changed by the given script.
    void PreparerBase(const QString& script)
    {
        dm->SetNomFichier(programme + QStringLiteral("Quarlo.abs"));
        dm->Ouvrir();
        dm->RestructureBase();
        dm->Quarlo().ExecuterScript(script);
        dm->Fermer();
    }

    int Lancer(const QStringList& arguments, QWidget* proprietaire = nullptr)
    {
        return Lancement::Executer(Chemins(arguments), programme, proprietaire, Enregistreuses());
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        UtiliserLocaleFrancaise();
    }

    void init()
    {
        temporaire = std::make_unique<QTemporaryDir>();
        QVERIFY(temporaire->isValid());
        programme = temporaire->filePath(QStringLiteral("programme")) + QLatin1Char('/');
        hote = temporaire->filePath(QStringLiteral("hote")) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(programme));
        QVERIFY(QDir().mkpath(hote));
        SetDossierProgramme(programme);
        EcrireOctets(hote + QStringLiteral("Config.ini"), kConfig.toLatin1());
        EcrireOctets(hote + QStringLiteral("Devis.xml"), "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><Quarlo/>");
        // What is not a quote to price: a named pipe, a file of 101 MB (sparse: it takes no room).
        QVERIFY(CreerTubeNomme(hote + QStringLiteral("tube.xml")));
        QFile gros(hote + QStringLiteral("gros.xml"));
        QVERIFY(gros.open(QIODevice::WriteOnly) && gros.resize(kTailleEchangeMaximale + 1024 * 1024));
        dm = std::make_unique<TDMPose>();
        ouvertures.clear();
    }

    void cleanup()
    {
        QVERIFY(AucuneFenetreOuverte());
        dm.reset();
        SetDossierProgramme(QString());
        temporaire.reset();
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("fenetre");

        const QString config = QStringLiteral("<hote>Config.ini");
        const QString echange = QStringLiteral("<hote>Devis.xml");
        const QString absente = QStringLiteral("<hote>Absente.ini");
        const QString absent = QStringLiteral("<hote>Absent.xml");
        const auto nombre = [](int n) {
            return QStringList{QStringLiteral("Quarlo - Les paramètres(%1) ne sont pas corrects.").arg(n)};
        };
        const auto configAbsente = QStringLiteral("Quarlo - Le fichier de configuration n'existe pas : ");
        const auto echangeAbsent = QStringLiteral("Quarlo - Le fichier de récupération n'existe pas : ");
        // A first start prices from an empty database, and says so.
        const auto baseCreee = QStringLiteral(
            "Quarlo - La base de données <programme>Quarlo.abs n'existait pas : elle vient d'être créée et ne contient "
            "encore aucune pose, aucun tarif ni aucune quincaillerie. Remettez en place la base de l'entreprise, ou "
            "saisissez ses données dans l'administration.");

        QTest::newRow("no argument") << QStringList{} << nombre(0) << "";
        QTest::newRow("mode word alone") << QStringList{"ADMIN"} << nombre(1) << "";
        QTest::newRow("admin in lower case") << QStringList{"admin", config} << nombre(2) << "";
        QTest::newRow("ADMIN with two paths") << QStringList{"ADMIN", config, echange} << nombre(3) << "";
        QTest::newRow("CREATION with one path") << QStringList{"CREATION", config} << nombre(2) << "";
        QTest::newRow("Creation in mixed case") << QStringList{"Creation", config, echange} << nombre(3) << "";
        QTest::newRow("unknown mode word") << QStringList{"MODIF", config, echange} << nombre(3) << "";
        QTest::newRow("four arguments") << QStringList{"MAJ", config, echange, echange} << nombre(4) << "";
        QTest::newRow("ADMIN") << QStringList{"ADMIN", config} << QStringList{} << "administration";
        QTest::newRow("ADMIN, configuration missing")
            << QStringList{"ADMIN", absente} << QStringList{configAbsente + absente} << "";
        QTest::newRow("ADMIN, a folder instead of the configuration")
            << QStringList{"ADMIN", "<hote>"}
            << QStringList{"Quarlo - Le fichier de configuration est un dossier, pas un fichier : <hote>"} << "";
        if (kTubesNommes)
            QTest::newRow("CREATION, a named pipe as the exchange file")
            << QStringList{"CREATION", config, "<hote>tube.xml"}
            << QStringList{"Quarlo - Le fichier de récupération est un tube nommé, pas un fichier ordinaire : <hote>tube.xml"}
            << "";
        QTest::newRow("MAJ, an exchange file too large to price")
            << QStringList{"MAJ", config, "<hote>gros.xml"}
            << QStringList{"Quarlo - Le fichier de récupération est trop volumineux pour être chiffré "
                           "(101 Mo, pour 100 Mo au plus) : <hote>gros.xml"}
            << "";
        QTest::newRow("CREATION") << QStringList{"CREATION", config, echange} << QStringList{baseCreee} << "tarification";
        QTest::newRow("MAJ") << QStringList{"MAJ", config, echange} << QStringList{baseCreee} << "tarification";
        QTest::newRow("MAJ, both files missing, configuration first")
            << QStringList{"MAJ", absente, absent}
            << QStringList{configAbsente + absente, echangeAbsent + absent} << "";
        QTest::newRow("CREATION, exchange file missing")
            << QStringList{"CREATION", config, absent} << QStringList{echangeAbsent + absent} << "";
        QTest::newRow("CREATION, configuration missing")
            << QStringList{"CREATION", absente, echange} << QStringList{configAbsente + absente} << "";
        QTest::newRow("CREATION, empty paths")
            << QStringList{"CREATION", "", ""} << QStringList{configAbsente, echangeAbsent} << "";
    }

    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, messages);
        QFETCH(QString, fenetre);

        EnregistreurMessages enregistreur;
        QCOMPARE(Lancer(arguments), 0);
        QCOMPARE(enregistreur.Textes(), Messages(messages));
        for (const auto& message : enregistreur.Recus())
            QCOMPARE(message.genre, Messages::Genre::Information);
        QVERIFY(!DMPose().EstConnecte());
        QVERIFY(QFile::exists(programme + QStringLiteral("Quarlo.abs")));

        if (fenetre.isEmpty()) {
            QVERIFY(ouvertures.isEmpty());
            QCOMPARE(DMPose().rxTva().size(), 0);
            QCOMPARE(PoseursEnBase(), 0); // the configuration is read only before a window
            return;
        }
        QCOMPARE(ouvertures.size(), 1);
        const Ouverture& ouverture = ouvertures.first();
        QCOMPARE(ouverture.fenetre, fenetre);
        QVERIFY(ouverture.baseOuverte);
        QCOMPARE(ouverture.poseurs, 2);
        QCOMPARE(ouverture.tvas, 3);
        if (fenetre == QLatin1String("tarification")) {
            QCOMPARE(ouverture.fichierConfig, Chemin(arguments[1]));
            QCOMPARE(ouverture.fichierEchange, Chemin(arguments[2]));
        }
    }

    // The toolkit's own texts read in French: the file chooser's captions and
    // overwrite question, the edit fields' context menu.
    void textesDeLaBoiteAOutilsEnFrancais()
    {
        QVERIFY2(Lancement::InstallerTraductionBoiteAOutils(), "qtbase_fr.qm manque (paquet qt6-translations-l10n)");
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Voir dans :"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("&Nom de fichier :"));
        QVERIFY(QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                    .contains(QStringLiteral("existe déjà")));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), QStringLiteral("&Annuler"));
    }

    void creationEtMajIdentiques()
    {
        CreerBase();
        const auto lancer = [this](const QString& mode) {
            EnregistreurMessages enregistreur;
            const int code = Lancer({mode, "<hote>Config.ini", "<hote>Devis.xml"});
            QStringList tvas;
            for (const LigneTva& tva : DMPose().rxTva())
                tvas << QStringLiteral("%1 %2 %3").arg(tva.typeTva).arg(tva.libelle).arg(tva.valeur);
            dm->Ouvrir();
            Requete requete(dm->Quarlo());
            requete.SetSql(QStringLiteral("SELECT IdPoseur, Code, Nom FROM Poseur ORDER BY IdPoseur"));
            QStringList poseurs;
            for (const Ligne& ligne : requete.Ouvrir())
                poseurs << ligne.Texte("IdPoseur") + ligne.Texte("Code") + ligne.Texte("Nom");
            dm->Fermer();
            const Ouverture ouverture = ouvertures.value(0);
            ouvertures.clear();
            dm = std::make_unique<TDMPose>(); // a new run starts with an empty VAT table
            return QStringList{QString::number(code), enregistreur.Textes().join('\n'), ouverture.fenetre,
                               ouverture.fichierConfig, ouverture.fichierEchange, tvas.join(';'),
                               poseurs.join(';')};
        };
        const QStringList creation = lancer(QStringLiteral("CREATION"));
        const QStringList miseAJour = lancer(QStringLiteral("MAJ"));
        QCOMPARE(miseAJour, creation);
        QCOMPARE(creation[2], QStringLiteral("tarification"));
    }

    void baseIllisible()
    {
        const QByteArray contenu = QByteArray("ceci n'est pas une base de données ").repeated(200);
        EcrireOctets(programme + QStringLiteral("Quarlo.abs"), contenu);
        EnregistreurMessages enregistreur;
        QCOMPARE(Lancer({"ADMIN", "<hote>Config.ini"}), 1);
        QCOMPARE(enregistreur.Recus().size(), 1);
        QCOMPARE(enregistreur.Recus().first().genre, Messages::Genre::Erreur);
        QVERIFY(!enregistreur.Dernier().isEmpty());
        QVERIFY(ouvertures.isEmpty());
        QVERIFY(!DMPose().EstConnecte());
        QCOMPARE(LireOctets(programme + QStringLiteral("Quarlo.abs")), contenu);
    }

    // The settings file names a server that cannot be reached: one message
    // naming it, no window, a clean end, and no file made beside the program.
    void serveurInjoignable()
    {
        EcrireOctets(programme + QStringLiteral("Module_Quarlo.ini"),
                     "[Marge]\r\nMini=10\r\n[Base]\r\nConnexion=host=/nulle/part dbname=quarlo connect_timeout=2\r\n");
        EnregistreurMessages enregistreur;
        QCOMPARE(Lancer({"CREATION", "<hote>Config.ini", "<hote>Devis.xml"}), 1);
        QCOMPARE(enregistreur.Recus().size(), 1);
        QCOMPARE(enregistreur.Recus().first().genre, Messages::Genre::Erreur);
        QVERIFY2(enregistreur.Dernier().startsWith(QStringLiteral("Impossible de joindre le serveur pour ouvrir la base "
                                                                  "« quarlo » du serveur « local »")),
                 qPrintable(enregistreur.Dernier()));
        QVERIFY(ouvertures.isEmpty());
        QVERIFY(!DMPose().EstConnecte());
        QVERIFY(!QFile::exists(programme + QStringLiteral("Quarlo.abs")));
    }

    void erreurDeConfiguration()
    {
        PreparerBase("CREATE TRIGGER refus BEFORE INSERT ON Poseur "
                     "BEGIN SELECT RAISE(ABORT, 'poseur refusé'); END;");
        EnregistreurMessages enregistreur;
        QCOMPARE(Lancer({"ADMIN", "<hote>Config.ini"}), 1);
        QCOMPARE(enregistreur.Recus().size(), 1);
        QCOMPARE(enregistreur.Recus().first().genre, Messages::Genre::Erreur);
        QVERIFY2(enregistreur.Dernier().contains("poseur refusé"), qPrintable(enregistreur.Dernier()));
        QVERIFY(ouvertures.isEmpty());
        QVERIFY(!DMPose().EstConnecte());
    }

    void erreurDeLaFenetre()
    {
        CreerBase();
        Lancement::Fenetres fenetres = Enregistreuses();
        fenetres.ModeNormal = [](QWidget*, const QString&, const QString&) {
            throw std::runtime_error("panne de la fenêtre");
        };
        EnregistreurMessages enregistreur;
        QCOMPARE(Lancement::Executer({"MAJ", Chemin("<hote>Config.ini"), Chemin("<hote>Devis.xml")},
                                     programme, nullptr, fenetres),
                 1);
        QCOMPARE(enregistreur.Textes(), QStringList{"panne de la fenêtre"});
        QVERIFY(!DMPose().EstConnecte());
    }

    void erreursDeRestructurationAffichees()
    {
        PreparerBase("DELETE FROM TrelvaneLibelle;"
                     "CREATE TRIGGER refus BEFORE INSERT ON TrelvaneLibelle "
                     "BEGIN SELECT RAISE(ABORT, 'famille refusée'); END;");
        EnregistreurMessages enregistreur;
        QCOMPARE(Lancer({"ADMIN", "<hote>Config.ini"}), 0);
        QCOMPARE(enregistreur.Recus().size(), 13);
        for (const auto& message : enregistreur.Recus()) {
            QCOMPARE(message.genre, Messages::Genre::Erreur);
            QVERIFY2(message.texte.startsWith("TDMPose::RestructureBase : Erreur sur l'insertion dans la "
                                              "table TrelvaneLibelle\n"),
                     qPrintable(message.texte));
        }
        // The start goes on.
        QCOMPARE(ouvertures.size(), 1);
        QVERIFY(!DMPose().EstConnecte());
    }

    void fenetresReelles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("classe");
        QTest::addColumn<QString>("titre");
        QTest::newRow("ADMIN") << QStringList{"ADMIN", "<hote>Config.ini"} << "TFicheAdministration"
                               << "Trelvane - Quarlo - Administration";
        QTest::newRow("CREATION") << QStringList{"CREATION", "<hote>Config.ini", "<hote>Devis.xml"}
                                  << "TFicheModeNormal" << "Quarlo ";
    }

    void fenetresReelles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, classe);
        QFETCH(QString, titre);

        QWidget proprietaire;
        QString classeVue, titreVu, echangeVu;
        // The working window may open further dialogs as it starts: note what
        // the sequence opened, then close whatever modal window is up until
        // the sequence returns.
        QTimer fermeture;
        fermeture.setInterval(10);
        connect(&fermeture, &QTimer::timeout, this, [&] {
            for (QWidget* fenetre : QApplication::topLevelWidgets()) {
                if (!classeVue.isEmpty() || !fenetre->isVisible() || fenetre->parentWidget() != &proprietaire)
                    continue;
                classeVue = fenetre->metaObject()->className();
                titreVu = fenetre->windowTitle();
                if (auto* fiche = qobject_cast<TFicheModeNormal*>(fenetre))
                    echangeVu = fiche->GetFichierEchange();
            }
            if (auto* modale = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modale->reject();
        });
        fermeture.start();
        EnregistreurMessages enregistreur;
        QCOMPARE(Lancement::Executer(Chemins(arguments), programme, &proprietaire,
                                     Lancement::FenetresReelles()),
                 0);
        fermeture.stop();
        QCOMPARE(classeVue, classe);
        QCOMPARE(titreVu, titre);
        if (arguments.size() == 3)
            QCOMPARE(echangeVu, Chemin(arguments[2]));
        QVERIFY(!DMPose().EstConnecte());
    }

    void ficheMain_data()
    {
        QTest::addColumn<QString>("logo");
        QTest::newRow("logo") << "logo";
        QTest::newRow("no logo file") << "absent";
        QTest::newRow("unreadable logo") << "illisible";
    }

    void ficheMain()
    {
        QFETCH(QString, logo);
        const QString fichierLogo = programme + QStringLiteral("Quarlo.bmp");
        if (logo == QLatin1String("logo"))
            QVERIFY(QFile::copy(QStringLiteral(QUARLO_SOURCE_DIR "/resources/Quarlo.bmp"), fichierLogo));
        else if (logo == QLatin1String("illisible"))
            EcrireOctets(fichierLogo, "BM pas une image");

        EnregistreurMessages enregistreur;
        TFicheMain fiche({"ADMIN", Chemin("<hote>Config.ini")});
        fiche.SetFenetres(Enregistreuses());
        QSignalSpy termine(&fiche, &TFicheMain::Termine);

        QCOMPARE(fiche.windowTitle(), QStringLiteral("Trelvane - Quarlo"));
        QCOMPARE(fiche.minimumSize(), QSize(492, 340));
        QCOMPARE(fiche.maximumSize(), QSize(492, 340));
        QCOMPARE(fiche.palette().color(QPalette::Window), QColor(Qt::white));
        auto* imgLogo = Controle<QLabel>(&fiche, "imgLogo");
        QCOMPARE(imgLogo->geometry(), QRect(16, 16, 450, 250));
        QCOMPARE(imgLogo->pixmap().isNull(), logo != QLatin1String("logo"));
        if (logo == QLatin1String("logo")) {
            QCOMPARE(imgLogo->pixmap().size(), QSize(450, 250));
        }
        auto* label = Controle<QLabel>(&fiche, "Label1");
        QCOMPARE(label->text(), QStringLiteral("Version 1.47 du 12/03/2025 15:00"));
        QCOMPARE(label->geometry().topLeft(), QPoint(232, 280));
        QCOMPARE(label->width(), 233);
        QVERIFY(label->font().bold());
        QVERIFY(label->alignment() & Qt::AlignRight);
        auto* timer = Controle<QTimer>(&fiche, "timerLancement");
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(timer->isActive());

        fiche.show();
        QVERIFY(fiche.isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(termine.size(), 1, 10000);
        QCOMPARE(termine.first().first().toInt(), 0);
        QCOMPARE(fiche.CodeSortie(), 0);
        QVERIFY(!fiche.isVisible());
        QVERIFY(enregistreur.Recus().isEmpty());
        QCOMPARE(ouvertures.size(), 1);
        QCOMPARE(ouvertures.first().fenetre, QStringLiteral("administration"));
        QVERIFY(!ouvertures.first().proprietaireVisible); // hidden while the window works
        QVERIFY(!DMPose().EstConnecte());
        ViderFileEvenements();
        QCOMPARE(termine.size(), 1);
    }

    void ficheMainErreurInattendue()
    {
        EcrireOctets(programme + QStringLiteral("Quarlo.abs"), QByteArray(4096, 'x'));
        EnregistreurMessages enregistreur;
        TFicheMain fiche({});
        fiche.SetFenetres(Enregistreuses());
        QSignalSpy termine(&fiche, &TFicheMain::Termine);
        fiche.show();
        QTRY_COMPARE_WITH_TIMEOUT(termine.size(), 1, 10000);
        QCOMPARE(termine.first().first().toInt(), 1);
        QCOMPARE(enregistreur.Recus().size(), 1);
        QVERIFY(!fiche.isVisible());
    }

    void fermetureAvantLeLancement()
    {
        EnregistreurMessages enregistreur;
        TFicheMain fiche({"ADMIN", Chemin("<hote>Config.ini")});
        fiche.SetFenetres(Enregistreuses());
        QSignalSpy termine(&fiche, &TFicheMain::Termine);
        fiche.show();
        fiche.close();
        QCOMPARE(termine.size(), 1);
        QCOMPARE(termine.first().first().toInt(), 0);
        // The start sequence can no longer run.
        QVERIFY(!Controle<QTimer>(&fiche, "timerLancement")->isActive());
        ViderFileEvenements();
        QVERIFY(ouvertures.isEmpty());
        QVERIFY(enregistreur.Recus().isEmpty());
        QVERIFY(!QFile::exists(programme + QStringLiteral("Quarlo.abs")));
        QCOMPARE(termine.size(), 1);
    }
};

QTEST_MAIN(TestLancement)
#include "tst_lancement.moc"
