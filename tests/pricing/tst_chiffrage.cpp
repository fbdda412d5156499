// The rules of the pricing session, without any window: a temporary program
// folder and database, exchange files written as a host writes them.

#include "BaseTemporaire.h"
#include "DevisHote.h"
#include "DonneesReference.h"

#include "model/Echange.h"
#include "model/Tarif.h"
#include "pricing/SessionChiffrage.h"

#include <QFile>
#include <QtTest>
#include <cmath>
#include <memory>

using OptionLivraison = TPoseLivraison::OptionLivraison;

class TestChiffrage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BaseTemporaire> base;
    std::unique_ptr<TSessionChiffrage> session;
    QString idPoseStandard;
    QString idPoseRenovation;

    void Ecrire(const QString& corps)
    {
        QFile fichier(base->Fichier(QStringLiteral("echange.xml")));
        QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fichier.write(Document(corps));
    }

    // Two items whose lines carry 10 %, under the quote-wide kind Rénovation.
    void ChargerDeuxMenuiseries()
    {
        Ecrire(PoseGlobale(idPoseRenovation, QStringLiteral("Rénovation"), 2, "10,00",
                           Option("livraison", true, "50,00") + Option("livraison_manutention", true, "7,00"))
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "1"}}, Tarif("", "L1", "100,00", 2, "10,00"), "1"},
                              {QStringLiteral("B"), {{"Quantite", "2"}}, Tarif("", "L2", "200,00", 2, "10,00"), "2"}}));
        session->Charger();
    }

private slots:
    void init()
    {
        base = std::make_unique<BaseTemporaire>();
        DonneesReference donnees(*base);
        idPoseStandard = donnees.Pose(QStringLiteral("Pose standard"), {30, 15, 40, 25}, 1);
        idPoseRenovation = donnees.Pose(QStringLiteral("Rénovation"), {50, 0, 0, 0}, 2);
        session = std::make_unique<TSessionChiffrage>(base->Dossier());
        session->SetFichierEchange(base->Fichier(QStringLiteral("echange.xml")));
    }

    void cleanup()
    {
        session.reset();
        base.reset();
    }

    // A new quote-wide kind reaches every item and line before any total is
    // read: the totals are at once those of the whole quote.
    void choixDeLaPoseDuDevis()
    {
        ChargerDeuxMenuiseries();
        QCOMPARE(session->Totaux().tva, 11.4 + 10.0 + 40.0);

        QVERIFY(session->ChoisirPoseGlobale(idPoseStandard));
        const TPoseLivraison& pose = session->GetPoseGlobale();
        QCOMPARE(pose.GetLibelle(), QStringLiteral("Pose standard"));
        QCOMPARE(pose.GetCodeExportOption(TPoseLivraison::LivraisonManutention), QStringLiteral("LM"));
        QCOMPARE(pose.GetTva().GetTypeTva(), 1);
        // Delivery stays chosen at the kind's price; the sub-options are cleared.
        QVERIFY(pose.GetChoix(TPoseLivraison::Livraison));
        QVERIFY(!pose.GetChoix(TPoseLivraison::LivraisonManutention));
        QCOMPARE(pose.GetPrix(TPoseLivraison::Livraison), 30.0);
        for (const TMenuiserie& menuiserie : session->GetMenuiseries()) {
            QCOMPARE(menuiserie.GetPose().GetId(), idPoseStandard);
            QCOMPARE(menuiserie.GetTarifs()[0].GetTva().GetValeur(), 20.0);
        }
        const TotauxDevis totaux = session->Totaux();
        QCOMPARE(totaux.livraisonHt, 30.0);
        QCOMPARE(totaux.livraisonTva, 6.0);
        QCOMPARE(totaux.ht, 530.0);
        QCOMPARE(totaux.tva, 106.0);
        QCOMPARE(totaux.ttc, 636.0);

        // The same kind again changes nothing.
        session->SetPrixLivraison(TPoseLivraison::Livraison, 12.0);
        QVERIFY(!session->ChoisirPoseGlobale(idPoseStandard));
        QCOMPARE(session->GetPoseGlobale().GetPrix(TPoseLivraison::Livraison), 12.0);
    }

    // A kind that is gone: only the key changes, with the delivery price
    // and the sub-options reset.
    void choixDUnePoseDisparue()
    {
        ChargerDeuxMenuiseries();
        QVERIFY(session->ChoisirPoseGlobale(QStringLiteral("999")));
        const TPoseLivraison& pose = session->GetPoseGlobale();
        QCOMPARE(pose.GetId(), QStringLiteral("999"));
        QCOMPARE(pose.GetLibelle(), QStringLiteral("Rénovation"));
        QCOMPARE(pose.GetTva().GetValeur(), 10.0);
        QCOMPARE(pose.GetPrix(TPoseLivraison::Livraison), 0.0);
        QVERIFY(!pose.GetChoix(TPoseLivraison::LivraisonManutention));
        QCOMPARE(session->GetMenuiseries()[1].GetPose().GetId(), QStringLiteral("999"));
    }

    void optionsDeLivraison_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("choisie");
        QTest::addColumn<QList<bool>>("attendus"); // the four flags after the action

        // From: delivery and handling chosen.
        QTest::newRow("sans livraison, plus rien") << 0 << false << QList<bool>{false, false, false, false};
        QTest::newRow("livraison seule") << 0 << true << QList<bool>{true, false, false, true};
        QTest::newRow("sous-option ajoutée") << 1 << true << QList<bool>{true, true, false, true};
        QTest::newRow("sous-option retirée") << 3 << false << QList<bool>{true, false, false, false};
    }

    void optionsDeLivraison()
    {
        QFETCH(int, option);
        QFETCH(bool, choisie);
        QFETCH(QList<bool>, attendus);
        ChargerDeuxMenuiseries();
        session->ChoisirOption(static_cast<OptionLivraison>(option), choisie);
        QList<bool> choix;
        for (const auto uneOption : TPoseLivraison::kOptions)
            choix.append(session->GetPoseGlobale().GetChoix(uneOption));
        QCOMPARE(choix, attendus);

        // A sub-option cannot be chosen without delivery.
        session->ChoisirOption(TPoseLivraison::Livraison, false);
        session->ChoisirOption(TPoseLivraison::LivraisonAutorisation, true);
        QVERIFY(session->GetPoseGlobale().GetChoix(TPoseLivraison::Livraison));
    }

    // A sub-option read as chosen brings delivery with it; an option the
    // file does not give keeps its state.
    void chargementDesOptions()
    {
        session->ChoisirOption(TPoseLivraison::Livraison, true);
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", false, "30,00") + Option("livraison_compliquee", true, "15,00")));
        const TSessionChiffrage::Chargement chargement = session->Charger();
        QVERIFY(chargement.aPose);
        QVERIFY(!chargement.aCotes);
        QVERIFY(session->GetPoseGlobale().GetChoix(TPoseLivraison::Livraison));
        QVERIFY(session->GetPoseGlobale().GetChoix(TPoseLivraison::LivraisonCompliquee));
        QVERIFY(!session->GetPoseGlobale().GetChoix(TPoseLivraison::LivraisonManutention));
        QCOMPARE(session->Totaux().livraisonHt, 45.0);
    }

    // Every figure of the quote: delivery at 20 % whatever the kind's VAT,
    // items counted by their "Quantite", included hardware, quote-wide
    // hardware.
    void totauxDuDevis()
    {
        QString ligne = Tarif("", "Pose", "100,00", 3, "5,50", QString(), Quincaillerie("10,00", "4,00", "1,00"));
        Ecrire(PoseGlobale(idPoseRenovation, QStringLiteral("Rénovation"), 2, "10,00",
                           Option("livraison", true, "50,00"))
               + QStringLiteral("<global><quincailleries>") + Quincaillerie("5,00", "2,00", "2,00")
               + QStringLiteral("</quincailleries></global>")
               + Menuiseries({{QStringLiteral("A"), {{"Quantite", "3"}}, ligne, "1"}}));
        session->Charger();
        const TotauxDevis totaux = session->Totaux();
        QCOMPARE(totaux.livraisonHt, 50.0);
        QCOMPARE(totaux.livraisonTva, 10.0);
        QCOMPARE(totaux.livraisonTtc, 60.0);
        QCOMPARE(totaux.menuiseriesHt, 330.0);
        QCOMPARE(totaux.quincailleriesHt, 30.0);
        QCOMPARE(totaux.quincailleriesGlobalesHt, 10.0);
        QCOMPARE(totaux.achatHt, 12.0 + 4.0);
        QCOMPARE(totaux.ht, 390.0);
        QCOMPARE(totaux.tva, 10.0 + 3 * (5.5 + 2.0) + 2.0);
        QCOMPARE(totaux.ttc, totaux.ht + totaux.tva);
        // The item on its own counts its quantity field.
        const Montants menuiserie = MontantsMenuiserie(session->GetMenuiseries()[0]);
        QCOMPARE(menuiserie.ht, 110.0);
        QCOMPARE(menuiserie.ttc, 110.0 + 7.5);
    }

    // The red signal compares the line's price with the general tariff of its
    // kind and category, to the last bit.
    void ecartPrix_data()
    {
        QTest::addColumn<double>("reference");
        QTest::addColumn<double>("prixLigne");
        QTest::addColumn<bool>("tarifPresent");
        QTest::addColumn<bool>("ecart");

        QTest::newRow("égal au bit près") << 0.1 + 0.2 << 0.1 + 0.2 << true << false;
        QTest::newRow("écart minime") << 100.0 << std::nextafter(100.0, 200.0) << true << true;
        QTest::newRow("prix changé") << 110.0 << 100.0 << true << true;
        QTest::newRow("tarif disparu") << 110.0 << 100.0 << false << false;
    }

    void ecartPrix()
    {
        QFETCH(double, reference);
        QFETCH(double, prixLigne);
        QFETCH(bool, tarifPresent);
        QFETCH(bool, ecart);

        DonneesReference donnees(*base);
        const QString categorie = donnees.Categorie(QStringLiteral("PVC"), donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10101")));
        donnees.Tarif(idPoseStandard, categorie, reference);
        // The line points at an installer's row: the reference is the general one.
        const QString idPoseur = donnees.Tarif(idPoseStandard, categorie, 55.0, QStringLiteral("7"));
        donnees.Tarif(idPoseRenovation, categorie, prixLigne + 1);
        TTarif tarif;
        tarif.SetId(tarifPresent ? idPoseur : QStringLiteral("9999"));
        tarif.SetPrix(prixLigne);
        QCOMPARE(session->EcartPrix(tarif), ecart);
    }

    void tvaDesLignesEtDeLaMenuiserie()
    {
        ChargerDeuxMenuiseries();
        TMenuiserie& menuiserie = session->GetMenuiseries()[0];
        TTarif& tarif = menuiserie.GetTarifs()[0];
        session->AffecterTvaTarif(tarif, QStringLiteral("3"));
        QCOMPARE(tarif.GetTva().GetValeur(), 5.5);
        // A type the table lacks changes nothing.
        session->AffecterTvaTarif(tarif, QStringLiteral("9"));
        QCOMPARE(tarif.GetTva().GetTypeTva(), 3);
        QVERIFY(!session->AffecterTvaMenuiserie(menuiserie, QStringLiteral("9")));

        QVERIFY(session->AffecterTvaMenuiserie(menuiserie, QStringLiteral("1")));
        QCOMPARE(menuiserie.GetPose().GetTva().GetValeur(), 20.0);
        QCOMPARE(tarif.GetTva().GetTypeTva(), 3);
        session->DiffuserTvaMenuiserie(menuiserie);
        QCOMPARE(tarif.GetTva().GetValeur(), 20.0);
        QCOMPARE(session->GetMenuiseries()[1].GetTarifs()[0].GetTva().GetValeur(), 10.0);
    }

    // Without its archive copy the quote is still read, and the session says
    // why; the answer goes over the exchange file and into its archive copy.
    void archivesEtReponse()
    {
        QFile bouchon(base->Fichier(QStringLiteral("Xml")));
        QVERIFY(QDir(base->Fichier(QStringLiteral("Xml"))).removeRecursively());
        QVERIFY(bouchon.open(QIODevice::WriteOnly)); // a file where the folder should be
        bouchon.close();
        ChargerDeuxMenuiseries();
        Ecrire(Menuiseries({}));
        const TSessionChiffrage::Chargement chargement = session->Charger();
        QVERIFY2(chargement.messageArchive.contains(QStringLiteral(".entree.xml")), qPrintable(chargement.messageArchive));
        QCOMPARE(session->GetMenuiseries().Nombre(), 0);

        QVERIFY(QFile::remove(base->Fichier(QStringLiteral("Xml"))));
        QVERIFY(QDir().mkdir(base->Fichier(QStringLiteral("Xml"))));
        ChargerDeuxMenuiseries();
        session->SetPriseDeCote(false);
        session->EcrireReponse();
        const DevisEchange relu = LireEchange(session->GetFichierEchange(), base->Fichier(QStringLiteral("relu")));
        QCOMPARE(relu.menuiseries.Nombre(), 2);
        QVERIFY(relu.aCotes && !relu.cotes);
        QFile reponse(session->GetFichierEchange());
        QFile archive(session->GetPrefixeHorodate() + QStringLiteral(".sortie.xml"));
        QVERIFY(reponse.open(QIODevice::ReadOnly) && archive.open(QIODevice::ReadOnly));
        QCOMPARE(archive.readAll(), reponse.readAll());
    }
};

QTEST_GUILESS_MAIN(TestChiffrage)
#include "tst_chiffrage.moc"
