// The pricing session on reference data of the test's own, without any
// database nor window: every action undone and redone to the byte, the
// recovery file of a session stopped before "Valider", what is left to do,
// and the automatic lines of a kind chosen late.

#include "BaseTemporaire.h"
#include "DevisHote.h"
#include "DonneesEssai.h"
#include "Octets.h"

#include "model/Echange.h"
#include "pricing/QuantitesQuincaillerie.h"
#include "pricing/SessionChiffrage.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <functional>

namespace {

using Action = std::function<void(TSessionChiffrage&)>;

// Set, the test program is the copy that repriseApresArretBrutal stops: it
// opens the exchange file of that program folder, unchecks "Prise de côte",
// says "prête" once its recovery file is written, and waits to be killed.
const QString kVariableFille = QStringLiteral("QUARLO_SESSION_INTERROMPUE");

int SessionInterrompue(const QString& programme)
{
    UtiliserLocaleFrancaise();
    const DonneesEssai donnees;
    TSessionChiffrage session(programme, donnees);
    session.SetFichierEchange(programme + QStringLiteral("Devis.xml"));
    session.Ouvrir({});
    session.SetPriseDeCote(false);
    if (!QTest::qWaitFor([&] { return QFile::exists(session.GetFichierReprise()); }, 10000))
        return 1;
    std::fputs("prête\n", stdout);
    std::fflush(stdout);
    QTest::qWait(60000);
    return 2;
}

TSessionChiffrage::Question Repondre(bool oui)
{
    return [oui](const QString&) { return oui; };
}

TQuincailleries AvecUneVis(const TQuincailleries& liste)
{
    TQuincailleries copie;
    copie.CopierDepuis(liste);
    TQuincaillerie& vis = copie.Ajouter();
    vis.SetId(QStringLiteral("V2"));
    vis.SetLibelle(QStringLiteral("Vis & chevilles"));
    vis.SetTarifVente(4.0);
    vis.SetQuantite(3.0);
    return copie;
}

// Every action that changes what the answer carries, from the quote of
// TestSession::Devis with the first item's first line current.
const QVector<std::pair<const char*, Action>>& Actions()
{
    using S = TSessionChiffrage;
    static const QVector<std::pair<const char*, Action>> actions = {
        {"ajout d'une ligne", [](S& s) { s.AjouterTarif(0, {QStringLiteral("T9"), QStringLiteral("Nouvelle"), 55.0}); }},
        {"copie d'une ligne", [](S& s) { s.DupliquerTarif(0, 0); }},
        {"changement de tarif", [](S& s) { s.ModifierTarif(0, 1, {QStringLiteral("T8"), QStringLiteral("Autre"), 80.0}); }},
        {"suppression d'une ligne", [](S& s) { s.SupprimerTarif(0, 0); }},
        {"suppression de toutes", [](S& s) { s.SupprimerTarifs(0); }},
        {"poseur d'une ligne", [](S& s) { s.AffecterPoseur(1, 0, QStringLiteral("8")); }},
        {"poseur à toutes", [](S& s) { s.AffecterPoseurATous(QStringLiteral("8"), QStringLiteral("Poseur huit")); }},
        {"poseur choisi puis à toutes", [](S& s) { s.ChoisirPoseur(0, 1, QStringLiteral("8"), Repondre(true)); }},
        {"pose du devis", [](S& s) { s.ChoisirPoseGlobale(QStringLiteral("2")); }},
        {"pose d'une menuiserie", [](S& s) { s.ChoisirPoseMenuiserie(1, QStringLiteral("2")); }},
        {"option choisie", [](S& s) { s.ChoisirOption(TPoseLivraison::LivraisonManutention, true); }},
        {"livraison retirée", [](S& s) { s.ChoisirOption(TPoseLivraison::Livraison, false); }},
        {"prix de livraison", [](S& s) { s.SetPrixLivraison(TPoseLivraison::Livraison, 12.5); }},
        {"prix tapé", [](S& s) {
             QCOMPARE(s.SaisirPrixLivraison(TPoseLivraison::LivraisonCompliquee, QStringLiteral("99,90")), RefusMontant::Aucun);
         }},
        {"prise de côte", [](S& s) { s.SetPriseDeCote(false); }},
        {"TVA d'une ligne", [](S& s) { s.AffecterTvaTarif(0, 0, QStringLiteral("3")); }},
        {"TVA d'une ligne, puis de tout", [](S& s) { s.ChoisirTvaTarif(0, 0, QStringLiteral("3"), Repondre(true)); }},
        {"TVA d'une menuiserie et ses lignes", [](S& s) { s.ChoisirTvaMenuiserie(0, QStringLiteral("2"), Repondre(true)); }},
        {"quincaillerie ôtée", [](S& s) { s.SetQuincaillerieIncluse(0, 0, false); }},
        {"quincaillerie d'une ligne", [](S& s) {
             s.RemplacerQuincailleries(0, 0, AvecUneVis(s.GetMenuiseries()[0].GetTarifs()[0].GetQuincailleries()));
         }},
        {"quincaillerie globale", [](S& s) { s.RemplacerQuincailleriesGlobales(AvecUneVis(s.GetQuincailleriesGlobales())); }},
        {"actualisation", [](S& s) { s.ActualiserPrix(); }},
    };
    return actions;
}

} // namespace

Q_DECLARE_METATYPE(RefusMontant)

class TestSession : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dossier;
    DonneesEssai donnees;

    QString Programme() const { return dossier.path() + QLatin1Char('/'); }
    QString Echange() const { return Programme() + QStringLiteral("Devis.xml"); }
    QString Xml() const { return Programme() + QStringLiteral("Xml/"); }

    void EcrireEchange(const QByteArray& octets)
    {
        QFile fichier(Echange());
        QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fichier.write(octets);
    }

    // Two items: the first with two lines (one with an installer and
    // hardware), the second with one line without installer.
    static QByteArray Devis()
    {
        const QString vis = Quincaillerie("10,00", "4,00", "2,00");
        return Document(PoseGlobale(QStringLiteral("1"), QStringLiteral("Pose standard"), 1, QStringLiteral("20,00"),
                                    Option(QStringLiteral("livraison"), true, QStringLiteral("30,00")))
                        + QStringLiteral("<global><quincailleries>") + vis + QStringLiteral("</quincailleries></global>")
                        + Menuiseries({{QStringLiteral("Fenêtre"),
                                        {{"Quantite", "2"}, {"Hauteur", "1000"}},
                                        Tarif("T1", "Pose PVC", "100,00", 1, "20,00", "7", vis)
                                            + Tarif("T2", "Pose alu", "150,00", 1, "20,00", "7"),
                                        "2"},
                                       {QStringLiteral("Porte"), {{"Quantite", "1"}},
                                        Tarif("T3", "Pose porte", "300,00", 1, "20,00").replace("Nom stocké", ""), "1"}}));
    }

    // A session opened on the exchange file, as the screen opens it.
    std::unique_ptr<TSessionChiffrage> Ouvrir(TSessionChiffrage::Interlocuteur interlocuteur = {})
    {
        auto session = std::make_unique<TSessionChiffrage>(Programme(), donnees);
        session->SetFichierEchange(Echange());
        session->Ouvrir(interlocuteur);
        return session;
    }

    static QStringList Fichiers(const QString& dossierXml)
    {
        return QDir(dossierXml).entryList(QDir::Files, QDir::Name);
    }

private slots:
    void initTestCase()
    {
        UtiliserLocaleFrancaise();
        TDonneesChiffrage::Pose standard{QStringLiteral("Pose standard"), QStringLiteral("STD"), {30, 15, 40, 25},
                                         {QStringLiteral("L"), QStringLiteral("LC"), QStringLiteral("LA"),
                                          QStringLiteral("LM")}, 1};
        TDonneesChiffrage::Pose renovation{QStringLiteral("Rénovation"), QStringLiteral("REN"), {50, 0, 0, 0}, {}, 2};
        donnees.poses = {{QStringLiteral("1"), standard}, {QStringLiteral("2"), renovation}};
        donnees.poseurs = {{QStringLiteral("7"), {QStringLiteral("Poseur sept"), QStringLiteral("S7"), QStringLiteral("R7")}},
                           {QStringLiteral("8"), {QStringLiteral("Poseur huit"), QStringLiteral("S8"), QStringLiteral("R8")}}};
        donnees.prixGeneraux = {{QStringLiteral("T1"), 110.0}, {QStringLiteral("T2"), 150.0}, {QStringLiteral("T3"), 300.0}};
        for (const char* tarif : {"T1", "T2", "T3", "T8"})
            donnees.prixPoseurs.insert({QString::fromLatin1(tarif), QStringLiteral("8")}, 42.0);
        donnees.prixPoseurs.insert({QStringLiteral("T1"), QStringLiteral("7")}, 61.0);
        donnees.prixPoseurs.insert({QStringLiteral("T9"), QStringLiteral("7")}, 33.0);
        donnees.ventesCatalogue.insert(QStringLiteral("1"), 11.0);
        QVERIFY(dossier.isValid());
    }

    void init()
    {
        QDir(Xml()).removeRecursively();
        EcrireEchange(Devis());
    }

    // Each action is one step: undone, the answer is the same bytes as
    // before, the same item and line are shown and nothing is asked of the
    // reference data again; redone, the same bytes as after. Undone back to
    // the opening, the quote is no longer modified.
    void actionAnnuleeEtRetablie_data()
    {
        QTest::addColumn<int>("indice");
        for (int i = 0; i < Actions().size(); ++i)
            QTest::newRow(Actions().at(i).first) << i;
    }

    void actionAnnuleeEtRetablie()
    {
        QFETCH(int, indice);
        const auto session = Ouvrir();
        QVERIFY(!session->EstModifie());
        const QByteArray avant = session->ContenuReponse();
        const auto position = [&] { return std::pair(session->GetIndexMenuiserie(), session->GetIndexTarif()); };
        const auto positionAvant = position();

        Actions().at(indice).second(*session);
        const QByteArray apres = session->ContenuReponse();
        const auto positionApres = position();
        QVERIFY2(apres != avant, "l'action ne change rien");
        QVERIFY(session->EstModifie());
        QCOMPARE(session->GetPile().count(), 1);
        QVERIFY(!session->GetPile().undoText().isEmpty());

        const int questions = donnees.questions;
        session->GetPile().undo();
        QCOMPARE(session->ContenuReponse(), avant);
        QCOMPARE(position(), positionAvant);
        QVERIFY(!session->EstModifie());
        session->GetPile().redo();
        QCOMPARE(session->ContenuReponse(), apres);
        QCOMPARE(position(), positionApres);
        QCOMPARE(donnees.questions, questions);
        session->Terminer();
    }

    // What changes nothing is no step: looking at a line's hardware and
    // closing it, choosing what is chosen already.
    void sansChangementPasDEtape()
    {
        const auto session = Ouvrir();
        const TMenuiseries& menuiseries = session->GetMenuiseries();
        TQuincailleries memes;
        memes.CopierDepuis(menuiseries[0].GetTarifs()[0].GetQuincailleries());
        session->RemplacerQuincailleries(0, 0, memes);
        session->RemplacerQuincailleriesGlobales(session->GetQuincailleriesGlobales());
        session->ChoisirOption(TPoseLivraison::Livraison, true);
        session->SetPriseDeCote(true);
        session->SetQuincaillerieIncluse(0, 0, true);
        QVERIFY(!session->ChoisirPoseGlobale(QStringLiteral("1")));
        QCOMPARE(session->SaisirPrixLivraison(TPoseLivraison::Livraison, QStringLiteral("-1")), RefusMontant::Illisible);
        QCOMPARE(session->SaisirPrixLivraison(TPoseLivraison::Livraison, QStringLiteral("abc")), RefusMontant::Illisible);
        // The price already held, typed to the tenth of a cent.
        QCOMPARE(session->SaisirPrixLivraison(TPoseLivraison::Livraison, QStringLiteral("30,001")), RefusMontant::Aucun);
        QCOMPARE(session->GetPile().count(), 0);
        QVERIFY(!session->EstModifie());
        session->Terminer();
    }

    // A delivery price or a hardware quantity as typed is held to the cent
    // and within what reading an exchange file admits: the screen, the
    // totals and the answer show one value, which the next opening of the
    // answer reads back, and which one undo takes back. Anything else is
    // refused and changes nothing.
    void montantsSaisis_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<RefusMontant>("refus");
        QTest::addColumn<double>("tenu");

        const auto pris = RefusMontant::Aucun;
        QTest::newRow("décimale") << "12,5" << pris << 12.5;
        QTest::newRow("au centime") << "12,555" << pris << 12.56;
        QTest::newRow("négatif") << "-2" << pris << -2.0;
        QTest::newRow("le plus grand admis") << "999999999999,99" << pris << 999999999999.99;
        QTest::newRow("point décimal") << "12.5" << RefusMontant::Illisible << 0.0;
        QTest::newRow("lettres") << "abc" << RefusMontant::Illisible << 0.0;
        QTest::newRow("au-delà") << "99999999999999" << RefusMontant::HorsLimites << 0.0;
        QTest::newRow("au-delà, une fois au centime") << "999999999999,996" << RefusMontant::HorsLimites << 0.0;
        QTest::newRow("négatif au-delà") << "-20000000000000" << RefusMontant::HorsLimites << 0.0;
        QTest::newRow("trop grand pour un double") << "1e400" << RefusMontant::HorsLimites << 0.0;
    }

    void montantsSaisis()
    {
        QFETCH(QString, texte);
        QFETCH(RefusMontant, refus);
        QFETCH(double, tenu);
        const auto option = TPoseLivraison::LivraisonManutention;
        const auto quantite = [](const TSessionChiffrage& s) {
            return s.GetMenuiseries()[0].GetTarifs()[0].GetQuincailleries()[0].GetQuantite();
        };
        auto session = Ouvrir();
        const QByteArray avant = session->ContenuReponse();
        const TotauxDevis totaux = session->Totaux();

        QCOMPARE(session->SaisirPrixLivraison(option, texte), refus);
        TQuincailleries quincailleries;
        quincailleries.CopierDepuis(session->GetMenuiseries()[0].GetTarifs()[0].GetQuincailleries());
        QCOMPARE(SaisirQuantite(quincailleries, 0, {quincailleries[0].GetId(), texte}), refus);
        session->RemplacerQuincailleries(0, 0, quincailleries);
        if (refus != RefusMontant::Aucun) {
            QCOMPARE(session->ContenuReponse(), avant);
            QCOMPARE(session->GetPile().count(), 0);
            session->Terminer();
            return;
        }
        QCOMPARE(session->GetPoseGlobale().GetPrix(option), tenu);
        QCOMPARE(quantite(*session), tenu);
        QCOMPARE(session->GetPile().count(), 2);
        session->ChoisirOption(option, true);
        // 10,00 a unit: the sale of the hardware follows the quantity held.
        QCOMPARE(session->Totaux().livraisonHt, totaux.livraisonHt + tenu);
        QCOMPARE(session->MontantsQuincaillerieCourante().ht, 10.0 * tenu);
        QCOMPARE(session->EcrireReponse(), QString());
        session->Terminer();
        session = Ouvrir();
        QCOMPARE(session->GetPoseGlobale().GetPrix(option), tenu);
        QCOMPARE(quantite(*session), tenu);
        session->Terminer();
    }

    // A line removed, another added, then both undone: each line comes back
    // as it was, hardware and installer included, and the line shown is the
    // one before.
    void lignesRemisesEnPlace()
    {
        const auto session = Ouvrir();
        const QByteArray avant = session->ContenuReponse();
        session->SetTarifCourant(1);
        session->SupprimerTarif(0, 0);
        QCOMPARE(session->GetIndexTarif(), 0);
        session->AjouterTarif(0, {QStringLiteral("T9"), QStringLiteral("Nouvelle"), 55.0});
        // The item's remaining line has installer 7: the new one inherits him.
        QCOMPARE(session->TarifCourant()->GetPoseurNom(), QStringLiteral("Poseur sept"));
        QCOMPARE(session->TarifCourant()->GetPoseurPrix(), 33.0);
        QCOMPARE(session->GetPile().undoText(), QStringLiteral("ajout de la ligne « Nouvelle »"));
        session->GetPile().undo();
        QCOMPARE(session->GetPile().undoText(), QStringLiteral("suppression de la ligne « Pose PVC »"));
        session->GetPile().undo();
        QCOMPARE(session->ContenuReponse(), avant);
        QCOMPARE(session->GetIndexTarif(), 1);
        QCOMPARE(session->GetMenuiseries()[0].GetTarifs()[0].GetQuincailleries().Nombre(), 1);
        session->Terminer();
    }

    // A rule that asks questions is one step, whatever the answers; the
    // item's VAT question is asked against the VAT the item shows.
    void reglesQuiDemandent_data()
    {
        QTest::addColumn<QStringList>("reponses");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QList<int>>("types"); // line 0, line 1, the item's kind

        QTest::newRow("oui, oui") << QStringList{"oui", "oui"} << 2 << QList<int>{3, 3, 3};
        QTest::newRow("oui, non") << QStringList{"oui", "non"} << 2 << QList<int>{3, 1, 3};
        QTest::newRow("non") << QStringList{"non"} << 1 << QList<int>{3, 1, -1};
    }

    void reglesQuiDemandent()
    {
        QFETCH(QStringList, reponses);
        QFETCH(int, questions);
        QFETCH(QList<int>, types);
        const auto session = Ouvrir();
        QStringList posees;
        session->ChoisirTvaTarif(0, 0, QStringLiteral("3"), [&](const QString& question) {
            posees << question;
            return reponses.value(posees.size() - 1) == u"oui";
        });
        QCOMPARE(posees.size(), questions);
        const TMenuiserie& menuiserie = session->GetMenuiseries()[0];
        QCOMPARE((QList<int>{menuiserie.GetTarifs()[0].GetTva().GetTypeTva(), menuiserie.GetTarifs()[1].GetTva().GetTypeTva(),
                             menuiserie.GetPose().GetTva().GetTypeTva()}),
                 types);
        QCOMPARE(session->GetPile().count(), 1);
        // The same type again: the item shows it, nothing is asked.
        posees.clear();
        if (types[2] == 3) {
            session->ChoisirTvaTarif(0, 1, QStringLiteral("3"), [&](const QString& question) {
                posees << question;
                return false;
            });
            QVERIFY(posees.isEmpty());
        }
        session->Terminer();
    }

    // ---------------------------------------------------------------------
    // Recovery

    // The recovery file follows the committed changes within about a
    // second, holds what "Valider" would write, goes when the quote is back
    // to what the session opened on, and when the session ends as wished.
    void fichierDeReprise()
    {
        const auto session = Ouvrir();
        const QString reprise = session->GetFichierReprise();
        QVERIFY(reprise.endsWith(QLatin1String(".reprise.xml")));
        QVERIFY(reprise.startsWith(session->GetPrefixeHorodate()));
        QVERIFY(!QFile::exists(reprise));
        session->SetPriseDeCote(false);
        QElapsedTimer chrono;
        chrono.start();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(reprise), 3000);
        QVERIFY2(chrono.elapsed() < 2000, qPrintable(QString::number(chrono.elapsed())));
        QCOMPARE(LireOctets(reprise), session->ContenuReponse());
        session->GetPile().undo();
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(reprise), 3000);
        session->GetPile().redo();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(reprise), 3000);
        session->Terminer();
        QVERIFY(!QFile::exists(reprise));
        QCOMPARE(Fichiers(Xml()), QStringList{QFileInfo(session->GetPrefixeHorodate()).fileName() + ".entree.xml"});
    }

    // A session stopped with its recovery file: the next opening on the
    // same input offers it (with the date and what it held); taken back,
    // the quote is the one it held and counts as modified; declined, it is
    // kept aside and offered no more. A session still running, an input the
    // host has rewritten and a damaged file are not offered.
    void repriseProposee_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::addColumn<bool>("proposee");
        QTest::newRow("reprise") << "oui" << true;
        QTest::newRow("écartée") << "non" << true;
        QTest::newRow("session en cours") << "en cours" << false;
        QTest::newRow("devis réécrit par l'hôte") << "réécrit" << false;
        QTest::newRow("fichier tronqué") << "tronqué" << false;
    }

    void repriseProposee()
    {
        QFETCH(QString, cas);
        QFETCH(bool, proposee);
        auto interrompue = Ouvrir();
        interrompue->SetPriseDeCote(false);
        interrompue->AffecterPoseur(1, 0, QStringLiteral("8"));
        const QString reprise = interrompue->GetFichierReprise();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(reprise), 3000);
        const QByteArray tenue = interrompue->ContenuReponse();
        if (cas != u"en cours")
            interrompue.reset(); // stopped: its file stays
        if (cas == u"réécrit")
            EcrireEchange(Devis().replace("Porte", "Porte-fenêtre"));
        if (cas == u"tronqué") {
            QFile fichier(reprise);
            QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
            fichier.write(tenue.left(tenue.size() / 2));
        }

        QStringList questions;
        QStringList signales;
        TSessionChiffrage::Interlocuteur interlocuteur;
        interlocuteur.reprendre = [&](const QString& question) {
            questions << question;
            return cas == u"oui";
        };
        interlocuteur.signalerReprise = [&](const QString& message) { signales << message; };
        const auto session = Ouvrir(interlocuteur);
        QCOMPARE(questions.size(), proposee ? 1 : 0);
        if (cas == u"oui") {
            QVERIFY2(questions[0].contains(QStringLiteral("interrompu le "))
                         && questions[0].contains(QStringLiteral("2 menuiseries avec des lignes de pose, sur 2")),
                     qPrintable(questions[0]));
            QCOMPARE(session->ContenuReponse(), tenue);
            QVERIFY(session->EstModifie());
            // Its file became the new session's.
            QVERIFY(!QFile::exists(reprise));
            QFile sien(session->GetFichierReprise());
            QVERIFY(sien.open(QIODevice::ReadOnly));
            QCOMPARE(sien.readAll(), tenue);
        } else {
            QVERIFY(!session->EstModifie());
            QVERIFY(!session->ContenuReponse().contains("<cotes choix=\"0\"/>"));
        }
        if (cas == u"non") {
            QVERIFY(!QFile::exists(reprise));
            QVERIFY(QFile::exists(reprise.chopped(qstrlen(".reprise.xml")) + ".reprise-ecartee.xml"));
        }
        if (cas == u"tronqué") {
            QCOMPARE(signales.size(), 1);
            // The message of an exchange file that is no XML, naming the recovery file.
            QVERIFY2(signales[0].contains(QDir::toNativeSeparators(reprise)) && signales[0].contains(QStringLiteral("XML")),
                     qPrintable(signales[0]));
            QVERIFY(QFile::exists(reprise)); // left where it is
        } else {
            QVERIFY(signales.isEmpty());
        }
        session->Terminer();
        if (interrompue)
            interrompue->Terminer();
        // Taken back, declined or ended, it is not offered again.
        questions.clear();
        Ouvrir(interlocuteur)->Terminer();
        QVERIFY(questions.isEmpty());
    }

    // The program killed (kill -9, or ended by the system) after a change:
    // its lock is left behind with its recovery file, and the next opening
    // takes both back.
    void repriseApresArretBrutal()
    {
        QProcess fille;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(kVariableFille, Programme());
        fille.setProcessEnvironment(environnement);
        fille.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(fille.waitForStarted());
        QByteArray sortie;
        [[maybe_unused]] const bool prete = QTest::qWaitFor([&] {
            fille.waitForReadyRead(50);
            sortie += fille.readAllStandardOutput();
            return sortie.contains("prête") || fille.state() != QProcess::Running;
        }, 20000);
        QVERIFY2(sortie.contains("prête"), sortie.constData());
        fille.kill();
        QVERIFY(fille.waitForFinished());
        QCOMPARE(fille.exitStatus(), QProcess::CrashExit);
        QVERIFY(!QDir(Xml()).entryList({QStringLiteral("*.verrou")}, QDir::Files).isEmpty());

        TSessionChiffrage::Interlocuteur interlocuteur;
        interlocuteur.reprendre = [](const QString&) { return true; };
        const auto session = Ouvrir(interlocuteur);
        QVERIFY(session->ContenuReponse().contains("<cotes choix=\"0\"/>"));
        QVERIFY(session->EstModifie());
        session->Terminer();
        // Only the archive copies of the two sessions are left.
        for (const QString& fichier : Fichiers(Xml()))
            QVERIFY2(fichier.endsWith(QLatin1String(".entree.xml")), qPrintable(fichier));
    }

    // ---------------------------------------------------------------------
    // What is left, automatic lines chosen late

    void resteAFaire()
    {
        EcrireEchange(Document(PoseGlobale(QStringLiteral("1"), QStringLiteral("Pose standard"), 1,
                                           QStringLiteral("20,00"), QString())
                               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, QString(), "1"},
                                              {QStringLiteral("B"), {{"Quantite", "1"}},
                                               Tarif("T1", "Sans poseur", "100,00", 1, "20,00").replace("Nom stocké", "")
                                                   + Tarif("T2", "Juste", "150,00", 1, "20,00", "7"),
                                               "1"},
                                              {QStringLiteral("C"), {{"Quantite", "1"}}, QString(), "1"}})));
        const auto session = Ouvrir();
        session->SetMargeMinimum(10.0);
        ResteAFaire reste = session->Reste();
        // T1 is red (110 in the grid), without installer; T2's purchase of 0
        // is no margin under the minimum.
        QCOMPARE(reste.menuiseriesSansLigne, 2);
        QCOMPARE(reste.lignesSansPoseur, 1);
        QCOMPARE(reste.lignesEnRouge, 1);
        QCOMPARE(reste.lignesSousMarge, 0);
        QCOMPARE(TexteResteAFaire(reste),
                 QStringLiteral("2 menuiseries sans ligne · 1 ligne sans poseur · 1 ligne au prix changé"));
        using P = ResteAFaire::Position;
        QCOMPARE(reste.positions, (QVector<P>{{0, -1}, {1, 0}, {2, -1}}));
        QCOMPARE(reste.Suivante(0, -1), P({1, 0}));
        QCOMPARE(reste.Suivante(1, 1), P({2, -1}));
        QCOMPARE(reste.Suivante(2, -1), P({0, -1}));

        session->AffecterPoseur(1, 0, QStringLiteral("8"));
        session->ActualiserPrix();
        reste = session->Reste();
        QCOMPARE(TexteResteAFaire(reste), QStringLiteral("2 menuiseries sans ligne"));
        session->SetMargeMinimum(70.0);
        QCOMPARE(session->Reste().lignesSousMarge, 1);
        session->Terminer();
        QCOMPARE(TexteResteAFaire(ResteAFaire()), QString());
        QVERIFY(!ResteAFaire().Suivante(0, 0));
    }

    // The kind dismissed at the opening, then chosen while no item has any
    // line: the automatic lines may be added, as one step.
    void tarifsAutomatiquesDUnePoseChoisieTard()
    {
        EcrireEchange(Document(Menuiseries({{QStringLiteral("F"), {{"Quantite", "1"}, {"TRELVANE_LIBELLE_CODE", "10101"}},
                                             QString(), "1"},
                                            {QStringLiteral("G"), {{"Quantite", "1"}}, QString(), "1"}})));
        donnees.automatiques.insert(QStringLiteral("10101"), {QStringLiteral("Fenêtre PVC=120"), QStringLiteral("Fenêtre alu=140")});
        TSessionChiffrage::Interlocuteur interlocuteur;
        interlocuteur.choisirPose = [](const QString&) { return std::optional<QString>(); };
        const auto session = Ouvrir(interlocuteur);
        QVERIFY(!session->TarifsAutomatiquesAProposer());
        QVERIFY(session->ChoisirPoseGlobale(QStringLiteral("2")));
        QVERIFY(session->TarifsAutomatiquesAProposer());
        const QByteArray avant = session->ContenuReponse();
        QCOMPARE(session->AffecterTarifsAutomatiques(), 2);
        const TTarifs& lignes = session->GetMenuiseries()[0].GetTarifs();
        QCOMPARE(lignes.Nombre(), 2);
        QCOMPARE(lignes[1].GetLibelle(), QStringLiteral("Fenêtre alu"));
        QCOMPARE(lignes[1].GetTva().GetTypeTva(), 2);
        QCOMPARE(session->GetIndexTarif(), 0);
        QVERIFY(!session->TarifsAutomatiquesAProposer());
        QCOMPARE(session->GetPile().undoText(), QStringLiteral("ajout des lignes automatiques"));
        session->GetPile().undo();
        QCOMPARE(session->ContenuReponse(), avant);
        QCOMPARE(session->GetIndexTarif(), -1);
        session->Terminer();
        donnees.automatiques.clear();
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (const QString programme = qEnvironmentVariable(qPrintable(kVariableFille)); !programme.isEmpty())
        return SessionInterrompue(programme);
    TestSession test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_session.moc"
