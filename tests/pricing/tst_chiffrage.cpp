// The rules of the pricing session, without any window: a temporary program
// folder and database, exchange files written as a host writes them.

#include "BaseTemporaire.h"
#include "DevisHote.h"
#include "DonneesReference.h"

#include "data/TableTva.h"
#include "model/Echange.h"
#include "model/Formats.h"
#include "model/Tarif.h"
#include "pricing/SessionChiffrage.h"

#include <QDir>
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

    // The quote built by a test, handed to the session by Prendre().
    DevisEchange devis;

    TMenuiserie& NouvelleMenuiserieDuDevis()
    {
        return devis.menuiseries.Ajouter(NouvelleMenuiserie({QStringLiteral("Quantite=1")}));
    }

    void Prendre()
    {
        session->PrendreDevis(std::move(devis));
        devis = DevisEchange();
    }

    const TTarif& Ligne(int menuiserie, int tarif) const
    {
        return session->GetMenuiseries()[menuiserie].GetTarifs()[tarif];
    }

    static TTarif& NouvelleLigne(TMenuiserie& menuiserie, const QString& id, const QString& libelle,
                                 const QString& idPoseur = QString(), const QString& nomPoseur = QString())
    {
        auto tarif = std::make_unique<TTarif>();
        tarif->SetId(id);
        tarif->SetLibelle(libelle);
        tarif->SetPrix(100.0);
        tarif->SetPoseurId(idPoseur);
        tarif->SetPoseurNom(nomPoseur);
        return menuiserie.GetTarifs().Ajouter(std::move(tarif));
    }

    static TQuincaillerie& NouvelleQuincaillerie(TQuincailleries& liste, const QString& id)
    {
        TQuincaillerie& quincaillerie = liste.Ajouter();
        quincaillerie.SetId(id);
        quincaillerie.SetLibelle(QStringLiteral("Vis"));
        quincaillerie.SetTarifVente(9.0);
        quincaillerie.SetTarifAchat(3.0);
        quincaillerie.SetNbPieces(1.0);
        quincaillerie.SetNbPiecesMl(1.0);
        quincaillerie.SetQuantite(5.0);
        return quincaillerie;
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

    void tarifsAutomatiques_data()
    {
        QTest::addColumn<QString>("famille");
        QTest::addColumn<QString>("libelleCategorie");
        QTest::addColumn<QString>("hauteur");
        QTest::addColumn<bool>("ligneAilleurs");
        QTest::addColumn<QStringList>("attendus");

        QTest::newRow("type et catégorie") << "10101" << "PVC" << "1200" << false << QStringList{"Fenêtre PVC"};
        QTest::newRow("catégorie sans libellé") << "10101" << "" << "1200" << false << QStringList{"Fenêtre"};
        QTest::newRow("contrainte non tenue") << "10101" << "PVC" << "900" << false << QStringList{};
        QTest::newRow("code avec apostrophe") << "10'5" << "PVC" << "1200" << false << QStringList{"Fenêtre PVC"};
        QTest::newRow("une ligne ailleurs") << "10101" << "PVC" << "1200" << true << QStringList{};
    }

    void tarifsAutomatiques()
    {
        QFETCH(QString, famille);
        QFETCH(QString, libelleCategorie);
        QFETCH(QString, hauteur);
        QFETCH(bool, ligneAilleurs);
        QFETCH(QStringList, attendus);

        DonneesReference donnees(*base);
        const QString categorie = donnees.Categorie(libelleCategorie, donnees.Type(QStringLiteral("Fenêtre"), famille));
        const QString autre = donnees.Categorie(QStringLiteral("Alu"), donnees.Type(QStringLiteral("Volet"), QStringLiteral("10300")));
        const QString operande = base->Valeur(QStringLiteral("SELECT IdOperande FROM Operande WHERE Code = 'HAUTEUR'"));
        base->Executer(QStringLiteral("INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur) "
                                      "VALUES (:c, :o, '>=', '1000')"),
                       {{"c", categorie.toLongLong()}, {"o", operande.toLongLong()}});
        donnees.Tarif(idPoseStandard, categorie, 123.45);
        donnees.Tarif(idPoseStandard, categorie, 99.0, QStringLiteral("7")); // an installer's row: never automatic
        donnees.Tarif(idPoseRenovation, categorie, 80.0);                    // another kind
        donnees.Tarif(idPoseStandard, autre, 55.0);                          // another family

        Article article{QStringLiteral("F1"),
                        {{"Quantite", "1"}, {"Hauteur", hauteur}, {"TRELVANE_LIBELLE_CODE", famille.toHtmlEscaped().replace("'", "&apos;")}},
                        QString(), "1"};
        Article ailleurs{QStringLiteral("F2"), {{"Quantite", "1"}},
                         ligneAilleurs ? Tarif("999", "Déjà là", "10,00", 1, "20,00") : QString(), "1"};
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00", QString())
               + Menuiseries({article, ailleurs}));
        session->Ouvrir({});

        const TTarifs& tarifs = session->GetMenuiseries()[0].GetTarifs();
        QStringList libelles;
        for (const TTarif& tarif : tarifs)
            libelles.append(tarif.GetLibelle());
        QCOMPARE(libelles, attendus);
        if (!attendus.isEmpty()) {
            QCOMPARE(tarifs[0].GetPrix(), 123.45);
            QCOMPARE(tarifs[0].GetCodeExport(), QStringLiteral("EXP"));
            QVERIFY(tarifs[0].GetQuincaillerieIncluse());
            QVERIFY(tarifs[0].GetPoseurId().isEmpty());
            // The file names the kind, so no choice runs: the line still takes its VAT.
            QCOMPARE(tarifs[0].GetTva().GetTypeTva(), 1);
            QCOMPARE((QStringList{FormatMonetaire(tarifs[0].GetPrix()), FormatMonetaire(tarifs[0].PrixTva()),
                                  FormatMonetaire(tarifs[0].PrixTtc())}),
                     (QStringList{"123,45", "24,69", "148,14"}));
        }
    }

    // The opening, as the screen runs it: the archive failure said first,
    // then the kind asked for when the file names none; the automatic lines
    // take the kind chosen and its VAT; the first item is current with its
    // first line; what the opening did is not the user's work.
    void ouvertureDuDevis()
    {
        DonneesReference donnees(*base);
        const QString categorie =
            donnees.Categorie(QStringLiteral("PVC"), donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10101")));
        donnees.Tarif(idPoseStandard, categorie, 100.0);
        QVERIFY(QDir(base->Fichier(QStringLiteral("Xml"))).removeRecursively());
        QFile bouchon(base->Fichier(QStringLiteral("Xml")));
        QVERIFY(bouchon.open(QIODevice::WriteOnly)); // a file where the folder should be
        bouchon.close();
        Ecrire(Menuiseries({{QStringLiteral("F1"), {{"Quantite", "1"}, {"TRELVANE_LIBELLE_CODE", "10101"}}, QString(), "1"},
                            {QStringLiteral("F2"), {{"Quantite", "1"}}, QString(), "1"}}));
        QStringList demandes;
        TSessionChiffrage::Interlocuteur interlocuteur;
        interlocuteur.signalerArchive = [&](const QString& message) {
            demandes << (message.contains(QStringLiteral(".entree.xml")) ? QStringLiteral("archive") : message);
        };
        // The items are already there to be seen behind the choice.
        interlocuteur.choisirPose = [&](const QString& idPose) -> std::optional<QString> {
            demandes << QStringLiteral("pose «%1» sur %2").arg(idPose).arg(session->GetMenuiseries().Nombre());
            return idPoseStandard;
        };
        session->Ouvrir(interlocuteur);
        QCOMPARE(demandes, (QStringList{"archive", "pose «» sur 2"}));
        QCOMPARE(session->GetPoseGlobale().GetId(), idPoseStandard);
        QVERIFY(session->GetPoseGlobale().GetChoix(TPoseLivraison::Livraison));
        QCOMPARE(session->GetIndexMenuiserie(), 0);
        QCOMPARE(session->GetIndexTarif(), 0);
        const TTarif& ligne = *session->TarifCourant();
        QCOMPARE(ligne.GetLibelle(), QStringLiteral("Fenêtre PVC"));
        QCOMPARE(ligne.GetTva().GetTypeTva(), 1);
        for (const TMenuiserie& menuiserie : session->GetMenuiseries())
            QCOMPARE(menuiserie.GetPose().GetId(), idPoseStandard);
        QVERIFY(!session->EstModifie());
        session->SetQuincaillerieIncluse(0, 0, false);
        QVERIFY(session->EstModifie());

        // Cancelled, the kind stays empty and the opening goes on.
        Ecrire(Menuiseries({{QStringLiteral("F3"), {{"Quantite", "1"}}, QString(), "1"}}));
        TSessionChiffrage autre(base->Dossier());
        autre.SetFichierEchange(session->GetFichierEchange());
        autre.Ouvrir({{}, [](const QString&) { return std::optional<QString>(); }});
        QVERIFY(autre.GetPoseGlobale().GetId().isEmpty());
        QCOMPARE(autre.GetIndexMenuiserie(), 0);
    }

    // A file that cannot be taken leaves the quote as it was.
    void chargementRefuseGardeLeDevis()
    {
        ChargerDeuxMenuiseries();
        session->SetMenuiserieCourante(1);
        QFile fichier(session->GetFichierEchange());
        QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fichier.write("<?xml version=\"1.0\"?>\n<Quarlo><menuiseries>");
        fichier.close();
        QVERIFY_THROWS_EXCEPTION(std::exception, session->Charger());
        QCOMPARE(session->GetMenuiseries().Nombre(), 2);
        QCOMPARE(session->GetPoseGlobale().GetId(), idPoseRenovation);
        QCOMPARE(session->GetIndexMenuiserie(), 1);
    }

    // A sub-option read as chosen brings delivery with it; an option the
    // file does not give keeps its state.
    void chargementDesOptions()
    {
        session->ChoisirOption(TPoseLivraison::Livraison, true);
        Ecrire(PoseGlobale(idPoseStandard, QStringLiteral("Pose standard"), 1, "20,00",
                           Option("livraison", false, "30,00") + Option("livraison_compliquee", true, "15,00")));
        QVERIFY(session->Charger().isEmpty());
        QCOMPARE(session->GetPoseGlobale().GetId(), idPoseStandard);
        QVERIFY(session->GetPriseDeCote());
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
        TTarif& tarif = NouvelleLigne(NouvelleMenuiserieDuDevis(), tarifPresent ? idPoseur : QStringLiteral("9999"),
                                      QStringLiteral("L"));
        tarif.SetPrix(prixLigne);
        Prendre();
        QCOMPARE(session->EcartPrix(0, 0), ecart);
        QCOMPARE(session->MenuiserieEnEcart(0), ecart);
    }

    void tvaDesLignesEtDeLaMenuiserie()
    {
        ChargerDeuxMenuiseries();
        const TMenuiserie& menuiserie = session->GetMenuiseries()[0];
        const TTarif& tarif = menuiserie.GetTarifs()[0];
        session->AffecterTvaTarif(0, 0, QStringLiteral("3"));
        QCOMPARE(tarif.GetTva().GetValeur(), 5.5);
        // A type the table lacks changes nothing.
        session->AffecterTvaTarif(0, 0, QStringLiteral("9"));
        QCOMPARE(tarif.GetTva().GetTypeTva(), 3);
        QVERIFY(!session->AffecterTvaMenuiserie(0, QStringLiteral("9")));

        QVERIFY(session->AffecterTvaMenuiserie(0, QStringLiteral("1")));
        QCOMPARE(menuiserie.GetPose().GetTva().GetValeur(), 20.0);
        QCOMPARE(tarif.GetTva().GetTypeTva(), 3);
        session->DiffuserTvaMenuiserie(0);
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
        const QString messageArchive = session->Charger();
        QVERIFY2(messageArchive.contains(QStringLiteral(".entree.xml")), qPrintable(messageArchive));
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

    // ---------------------------------------------------------------------
    // Lines of an item

    void poseAChoisirAvantUnTarif_data()
    {
        QTest::addColumn<QString>("idPose");
        QTest::addColumn<bool>("aChoisir");
        // Keys are compared as text.
        QTest::newRow("aucune") << "" << true;
        QTest::newRow("0") << "0" << true;
        QTest::newRow("05") << "05" << true;
        QTest::newRow("1") << "1" << false;
        QTest::newRow("10") << "10" << false;
        QTest::newRow("9") << "9" << false;
    }

    void poseAChoisirAvantUnTarif()
    {
        QFETCH(QString, idPose);
        QFETCH(bool, aChoisir);
        TMenuiserie menuiserie;
        menuiserie.GetPose().SetId(idPose);
        QCOMPARE(menuiserie.PoseAChoisir(), aChoisir);
    }

    void poseDUneMenuiserie()
    {
        TMenuiserie& menuiserie = NouvelleMenuiserieDuDevis();
        NouvelleLigne(menuiserie, "1", "L1").AffecterTva(*TableTva::GetTva(3));
        NouvelleLigne(menuiserie, "2", "L2");
        Prendre();
        QVERIFY(session->ChoisirPoseMenuiserie(0, idPoseRenovation));
        const TPose& pose = menuiserie.GetPose();
        QCOMPARE(pose.GetLibelle(), QStringLiteral("Rénovation"));
        QCOMPARE(pose.GetCodeExport(), QStringLiteral("Rén"));
        QCOMPARE(pose.GetTva().GetValeur(), 10.0);
        for (const TTarif& tarif : menuiserie.GetTarifs()) {
            QCOMPARE(tarif.GetTva().GetTypeTva(), 2);
            QCOMPARE(tarif.GetPrix(), 100.0);
        }
        QVERIFY(!session->ChoisirPoseMenuiserie(0, idPoseRenovation));
        // A kind that is gone: only the key changes.
        QVERIFY(session->ChoisirPoseMenuiserie(0, QStringLiteral("999")));
        QCOMPARE(pose.GetId(), QStringLiteral("999"));
        QCOMPARE(pose.GetLibelle(), QStringLiteral("Rénovation"));
        QCOMPARE(pose.GetTva().GetTypeTva(), 2);
    }

    // A new line inherits the installer the item's lines agree on, priced
    // as giving him the line prices him: his latest row of the chosen tariff
    // row's kind and category, even when another category carries the same
    // name. A refresh with nothing changed in the database then changes nothing.
    void ajoutEtPoseurHerite_data()
    {
        QTest::addColumn<QStringList>("poseursExistants"); // A, B or "" per existing line
        QTest::addColumn<QString>("herite");
        QTest::addColumn<double>("prix");

        QTest::newRow("A, A") << QStringList{"A", "A"} << "A" << 77.0;
        QTest::newRow("A, B") << QStringList{"A", "B"} << "" << 0.0;
        QTest::newRow("aucun, A") << QStringList{"", "A"} << "A" << 77.0;
        QTest::newRow("A, aucun") << QStringList{"A", ""} << "" << 0.0;
        QTest::newRow("sans ligne") << QStringList{} << "" << 0.0;
        QTest::newRow("B sans tarif") << QStringList{"B"} << "B" << 0.0;
        QTest::newRow("clé piégée") << QStringList{"0 OR 1=1"} << "0 OR 1=1" << 0.0;
    }

    void ajoutEtPoseurHerite()
    {
        QFETCH(QStringList, poseursExistants);
        QFETCH(QString, herite);
        QFETCH(double, prix);

        DonneesReference donnees(*base);
        const QString type = donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10101"));
        // Same name, made first: a look-up by name would take it.
        const QString homonyme = donnees.Categorie(QStringLiteral("PVC"), type);
        const QString pvc = donnees.Categorie(QStringLiteral("PVC"), type);
        const QString a = donnees.Poseur(QStringLiteral("A"), QStringLiteral("Poseur A"));
        const QString b = donnees.Poseur(QStringLiteral("B"), QStringLiteral("Poseur B"));
        donnees.Tarif(idPoseRenovation, homonyme, 99.0, a);
        const QString choisi = donnees.Tarif(idPoseRenovation, pvc, 120.0);
        donnees.Tarif(idPoseStandard, pvc, 45.0, a); // the quote-wide kind, not the line's
        donnees.Tarif(idPoseRenovation, pvc, 60.0, a); // an older row of his
        donnees.Tarif(idPoseRenovation, pvc, 77.0, a);
        const auto cle = [&](const QString& nom) { return nom == "A" ? a : nom == "B" ? b : nom; };

        session->ChoisirPoseGlobale(idPoseStandard);
        TMenuiserie& menuiserie = NouvelleMenuiserieDuDevis();
        // Priced as the database has them.
        for (const QString& poseur : poseursExistants) {
            TTarif& existante = NouvelleLigne(menuiserie, choisi, "Existante", cle(poseur));
            existante.SetPrix(120.0);
            existante.SetPoseurPrix(poseur == "A" ? 77.0 : 0.0);
        }
        Prendre();
        session->ChoisirPoseMenuiserie(0, idPoseRenovation);
        session->SetMenuiserieCourante(0);

        const int index = session->AjouterTarif(0, {choisi, QStringLiteral("Fenêtre PVC"), 120.0});
        QCOMPARE(index, poseursExistants.size());
        // The new line is the current one.
        QCOMPARE(session->GetIndexTarif(), index);
        const TTarif& ligne = Ligne(0, index);
        QCOMPARE(ligne.GetPoseurId(), cle(herite));
        QCOMPARE(ligne.GetPoseurPrix(), prix);
        // Named as the database has him (no one for a key it does not know).
        QCOMPARE(ligne.GetPoseurNom(), herite == "A" ? QStringLiteral("Poseur A") : herite == "B" ? QStringLiteral("Poseur B") : QString());
        QVERIFY(ligne.GetPoseurSiret().isEmpty() && ligne.GetPoseurRge().isEmpty());
        QCOMPARE(ligne.GetId(), choisi);
        QCOMPARE(ligne.GetLibelle(), QStringLiteral("Fenêtre PVC"));
        QCOMPARE(ligne.GetPrix(), 120.0);
        QCOMPARE(ligne.GetCodeExport(), QStringLiteral("Rén"));
        QCOMPARE(ligne.GetTva().GetTypeTva(), 2);
        QVERIFY(ligne.GetQuincaillerieIncluse());

        const QByteArray reponse = session->ContenuReponse();
        const TSessionChiffrage::Actualisation changes = session->ActualiserPrix();
        QCOMPARE(changes.prixVente + changes.prixPoseur + changes.quincailleries, 0);
        QCOMPARE(session->ContenuReponse(), reponse);
    }

    // The copy includes its own copies of the hardware and leaves SIRET and
    // RGE behind; a change of tariff keeps installer, VAT and hardware.
    void copieEtChangementDeTarif()
    {
        TMenuiserie& menuiserie = NouvelleMenuiserieDuDevis();
        TTarif& source = NouvelleLigne(menuiserie, "5", "Pose", "7", "Dupont");
        source.SetPoseurPrix(45.0);
        source.SetPoseurSiret(QStringLiteral("123"));
        source.SetPoseurRge(QStringLiteral("RGE1"));
        source.SetCodeExport(QStringLiteral("X"));
        source.AffecterTva(*TableTva::GetTva(3));
        source.SetQuincaillerieIncluse(false);
        NouvelleQuincaillerie(source.GetQuincailleries(), "K");
        Prendre();
        // The line's VAT is given after the kind: the kind spreads its own.
        session->ChoisirPoseMenuiserie(0, idPoseRenovation);
        session->AffecterTvaTarif(0, 0, QStringLiteral("3"));

        QCOMPARE(session->DupliquerTarif(0, 0), 1);
        const TTarif& copie = Ligne(0, 1);
        QCOMPARE(copie.GetId(), QStringLiteral("5"));
        QCOMPARE(copie.GetLibelle(), QStringLiteral("Pose"));
        QCOMPARE(copie.GetPrix(), 100.0);
        QCOMPARE(copie.GetCodeExport(), QStringLiteral("X"));
        QCOMPARE(copie.GetPoseurId(), QStringLiteral("7"));
        QCOMPARE(copie.GetPoseurNom(), QStringLiteral("Dupont"));
        QCOMPARE(copie.GetPoseurPrix(), 45.0);
        QCOMPARE(copie.GetTva().GetTypeTva(), 3);
        QVERIFY(copie.GetPoseurSiret().isEmpty() && copie.GetPoseurRge().isEmpty());
        QVERIFY(copie.GetQuincaillerieIncluse());
        QCOMPARE(copie.GetQuincailleries().GetXml(), source.GetQuincailleries().GetXml());
        // Copies of its own, not the source's entries.
        QVERIFY(&copie.GetQuincailleries()[0] != &source.GetQuincailleries()[0]);
        QCOMPARE(source.GetQuincailleries()[0].GetQuantite(), 5.0);

        session->ModifierTarif(0, 0, {QStringLiteral("6"), QStringLiteral("Autre"), 80.0});
        QCOMPARE(source.GetId(), QStringLiteral("6"));
        QCOMPARE(source.GetLibelle(), QStringLiteral("Autre"));
        QCOMPARE(source.GetPrix(), 80.0);
        QCOMPARE(source.GetCodeExport(), QStringLiteral("Rén"));
        QCOMPARE(source.GetPoseurId(), QStringLiteral("7"));
        QCOMPARE(source.GetPoseurSiret(), QStringLiteral("123"));
        QCOMPARE(source.GetTva().GetTypeTva(), 3);
        QVERIFY(!source.GetQuincaillerieIncluse());
        QCOMPARE(source.GetQuincailleries().Nombre(), 1);
    }

    void suppressionDeLignes_data()
    {
        QTest::addColumn<int>("nombre");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("restantes");
        QTest::addColumn<int>("selection"); // -1: none

        QTest::newRow("ligne 2 sur 4") << 4 << 2 << "L0 L1 L3" << 1;
        QTest::newRow("première") << 4 << 0 << "L1 L2 L3" << 0;
        QTest::newRow("dernière") << 4 << 3 << "L0 L1 L2" << 2;
        QTest::newRow("la seule") << 1 << 0 << "" << -1;
    }

    void suppressionDeLignes()
    {
        QFETCH(int, nombre);
        QFETCH(int, index);
        QFETCH(QString, restantes);
        QFETCH(int, selection);

        TMenuiserie& menuiserie = NouvelleMenuiserieDuDevis();
        for (int i = 0; i < nombre; ++i)
            NouvelleLigne(menuiserie, QString::number(i), QStringLiteral("L%1").arg(i));
        Prendre();
        session->SetMenuiserieCourante(0);
        session->SetTarifCourant(index);
        session->SupprimerTarif(0, index);
        QStringList libelles;
        for (const TTarif& tarif : menuiserie.GetTarifs())
            libelles.append(tarif.GetLibelle());
        QCOMPARE(libelles.join(' '), restantes);
        QCOMPARE(LigneApresSuppression(index, nombre - 1).value_or(-1), selection);
        // The line then current is the one the rule names.
        QCOMPARE(session->GetIndexTarif(), selection);
        QCOMPARE(session->Totaux().menuiseriesHt, 100.0 * (nombre - 1));

        session->SupprimerTarifs(0);
        QCOMPARE(session->GetIndexTarif(), -1);
        QVERIFY(menuiserie.GetTarifs().EstVide());
        QCOMPARE(session->Totaux().menuiseriesHt, 0.0);
    }

    // Three items of two lines, one of them with an installer already: the
    // chosen installer goes to the four others, each priced for its own
    // tariff (his highest row), never to a line without label.
    void poseurAffecteATousLesTarifs()
    {
        DonneesReference donnees(*base);
        const QString type = donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10101"));
        const QString pvc = donnees.Categorie(QStringLiteral("PVC"), type);
        const QString alu = donnees.Categorie(QStringLiteral("Alu"), type);
        const QString p = donnees.Poseur(QStringLiteral("P"), QStringLiteral("Poseur P"),
                                         {"", "", "", "", "SIRET P", "RGE P"});
        const QString tPvc = donnees.Tarif(idPoseStandard, pvc, 100.0);
        const QString tAlu = donnees.Tarif(idPoseStandard, alu, 200.0);
        donnees.Tarif(idPoseStandard, pvc, 30.0, p);
        donnees.Tarif(idPoseStandard, pvc, 35.0, p);
        donnees.Tarif(idPoseStandard, alu, 50.0, p);
        donnees.Tarif(idPoseRenovation, alu, 60.0, p); // another kind

        QVector<TTarif*> lignes;
        for (int i = 0; i < 3; ++i) {
            TMenuiserie& menuiserie = NouvelleMenuiserieDuDevis();
            lignes << &NouvelleLigne(menuiserie, tPvc, "PVC") << &NouvelleLigne(menuiserie, tAlu, "Alu");
        }
        lignes[3]->SetPoseurId(QStringLiteral("8"));
        lignes[3]->SetPoseurNom(QStringLiteral("Déjà là"));
        TTarif& sansLibelle = NouvelleLigne(devis.menuiseries[2], tAlu, QString());
        Prendre();

        QCOMPARE(session->AffecterPoseur(0, 0, p), QStringLiteral("Poseur P"));
        QCOMPARE(lignes[0]->GetPoseurPrix(), 35.0);
        QCOMPARE(lignes[0]->GetPoseurSiret(), QStringLiteral("SIRET P"));
        QCOMPARE(lignes[0]->GetPoseurRge(), QStringLiteral("RGE P"));
        QCOMPARE(session->NombreTarifsSansPoseur(), 4);

        session->AffecterPoseurATous(p, QStringLiteral("Poseur P"));
        for (int i : {1, 2, 4, 5}) {
            QCOMPARE(lignes[i]->GetPoseurId(), p);
            QCOMPARE(lignes[i]->GetPoseurNom(), QStringLiteral("Poseur P"));
            QCOMPARE(lignes[i]->GetPoseurPrix(), i % 2 == 0 ? 35.0 : 50.0);
            QVERIFY(lignes[i]->GetPoseurSiret().isEmpty() && lignes[i]->GetPoseurRge().isEmpty());
            QCOMPARE(lignes[i]->GetPrix(), 100.0);
        }
        QCOMPARE(lignes[3]->GetPoseurId(), QStringLiteral("8"));
        QVERIFY(sansLibelle.GetPoseurId().isEmpty());
        QCOMPARE(session->NombreTarifsSansPoseur(), 0);

        // An installer the database does not know: his key, no name, price 0.
        QCOMPARE(session->AffecterPoseur(0, 0, QStringLiteral("999")), QString());
        QCOMPARE(lignes[0]->GetPoseurId(), QStringLiteral("999"));
        QCOMPARE(lignes[0]->GetPoseurPrix(), 0.0);
        QVERIFY(lignes[0]->GetPoseurSiret().isEmpty());
    }

    // The refresh takes the general price for the sale and the installer's
    // own row for his price; what the database no longer has keeps its values.
    // The whole quote is read in three statements (sale prices, installers'
    // prices, hardware), however many lines it has: a server is a network away.
    void actualisationDesPrix()
    {
        DonneesReference donnees(*base);
        const QString pvc = donnees.Categorie(QStringLiteral("PVC"), donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10101")));
        const QString p = donnees.Poseur(QStringLiteral("P"), QStringLiteral("Poseur P"));
        const QString q = donnees.Poseur(QStringLiteral("Q"), QStringLiteral("Poseur Q"));
        const QString general = donnees.Tarif(idPoseStandard, pvc, 110.0);
        donnees.Tarif(idPoseStandard, pvc, 70.0, p);
        const QString k = QString::number(base->Executer(
            QStringLiteral("INSERT INTO Quincaillerie (Libelle, TarifVente, TarifAchat, NbPieces, NbPiecesML)"
                           " VALUES ('Vis du catalogue', 10, 4, 2, 3)")));

        TMenuiserie& menuiserie = NouvelleMenuiserieDuDevis();
        menuiserie.GetTarifs().Reserver(4);
        TTarif& avecPoseur = NouvelleLigne(menuiserie, general, "Avec P", p, "Poseur P");
        TTarif& sansPoseur = NouvelleLigne(menuiserie, general, "Sans poseur");
        TTarif& poseurSansTarif = NouvelleLigne(menuiserie, general, "Avec Q", q, "Poseur Q");
        TTarif& disparu = NouvelleLigne(menuiserie, "999", "Disparu", p, "Poseur P");
        for (TTarif* tarif : {&avecPoseur, &sansPoseur, &poseurSansTarif, &disparu})
            tarif->SetPoseurPrix(12.0);
        NouvelleQuincaillerie(avecPoseur.GetQuincailleries(), k);
        devis.aGlobal = true;
        NouvelleQuincaillerie(devis.quincailleriesGlobales, k);
        NouvelleQuincaillerie(devis.quincailleriesGlobales, QStringLiteral("888"));
        Prendre();
        QVERIFY(session->EcartPrix(0, 0));
        QCOMPARE(session->EcartsPrix(0, {0, 1, 2, 3}), (QVector<bool>{true, true, true, false}));

        const quint64 avant = base->Base().Instructions();
        const TSessionChiffrage::Actualisation changes = session->ActualiserPrix();
        QCOMPARE(base->Base().Instructions() - avant, quint64(3));
        QCOMPARE(changes.prixVente, 3);
        QCOMPARE(changes.prixPoseur, 1);
        QCOMPARE(changes.quincailleries, 2);
        QCOMPARE(session->ActualiserPrix().prixVente + session->ActualiserPrix().quincailleries, 0);
        QCOMPARE(avecPoseur.GetPrix(), 110.0);
        QCOMPARE(avecPoseur.GetPoseurPrix(), 70.0);
        QCOMPARE(sansPoseur.GetPrix(), 110.0);
        QCOMPARE(sansPoseur.GetPoseurPrix(), 12.0);
        QCOMPARE(poseurSansTarif.GetPoseurPrix(), 12.0);
        QCOMPARE(disparu.GetPrix(), 100.0);
        QCOMPARE(disparu.GetPoseurPrix(), 12.0);
        QVERIFY(!session->MenuiserieEnEcart(0));
        for (const TQuincaillerie* quincaillerie : std::initializer_list<const TQuincaillerie*>{
                 &avecPoseur.GetQuincailleries()[0], &session->GetQuincailleriesGlobales()[0]}) {
            QCOMPARE(quincaillerie->GetTarifVente(), 10.0);
            QCOMPARE(quincaillerie->GetTarifAchat(), 4.0);
            QCOMPARE(quincaillerie->GetNbPieces(), 2.0);
            QCOMPARE(quincaillerie->GetNbPiecesMl(), 3.0);
            QCOMPARE(quincaillerie->GetQuantite(), 5.0);
            QCOMPARE(quincaillerie->GetLibelle(), QStringLiteral("Vis"));
        }
        QCOMPARE(session->GetQuincailleriesGlobales()[1].GetTarifVente(), 9.0);
        QCOMPARE(avecPoseur.GetLibelle(), QStringLiteral("Avec P"));
        QCOMPARE(avecPoseur.GetPoseurNom(), QStringLiteral("Poseur P"));
    }

    // Copies of the program opened in the same second keep four archives:
    // each its own prefix, its input and its answer; a copy whose quote
    // could not be read leaves none behind.
    void copiesDansLaMemeSeconde()
    {
        ChargerDeuxMenuiseries();
        for (int copie = 0; copie < 2; ++copie)
            TSessionChiffrage autre(base->Dossier());
        // The two copies gone without reading anything left nothing.
        QCOMPARE(QDir(base->Fichier(QStringLiteral("Xml"))).entryList(QDir::Files).size(), 1);
        TSessionChiffrage seconde(base->Dossier());
        seconde.SetFichierEchange(session->GetFichierEchange());
        seconde.Charger();
        QVERIFY(seconde.GetPrefixeHorodate() != session->GetPrefixeHorodate());
        session->EcrireReponse();
        seconde.EcrireReponse();
        const QStringList archives = QDir(base->Fichier(QStringLiteral("Xml"))).entryList(QDir::Files, QDir::Name);
        QCOMPARE(archives.size(), 4);
        for (const TSessionChiffrage* copie : {session.get(), &seconde}) {
            for (const char* suffixe : {".entree.xml", ".sortie.xml"})
                QVERIFY(QFileInfo(copie->GetPrefixeHorodate() + QLatin1String(suffixe)).size() > 0);
        }
    }

    // A line's margin counts its hardware while it includes it; a line
    // without its installer's price is marked before anything else.
    void margeDesLignes_data()
    {
        QTest::addColumn<double>("achat");
        QTest::addColumn<bool>("incluse");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("taux");
        QTest::addColumn<int>("alerte");

        using A = AlerteMarge;
        // Sale 100 + hardware 20 when included; purchase + hardware 10.
        QTest::newRow("au-dessus") << 50.0 << true << 15.0 << 50.0 << int(A::Aucune);
        QTest::newRow("sans quincaillerie") << 50.0 << false << 15.0 << 50.0 << int(A::Aucune);
        QTest::newRow("sous le minimum") << 95.0 << false << 15.0 << 5.0 << int(A::SousMinimum);
        QTest::newRow("à perte, minimum 0") << 130.0 << true << 0.0 << -20.0 / 120 * 100 << int(A::Perte);
        QTest::newRow("minimum 0, marge nulle") << 100.0 << false << 0.0 << 0.0 << int(A::Aucune);
        QTest::newRow("sans prix du poseur") << 0.0 << true << 0.0 << 110.0 / 120 * 100 << int(A::AchatManquant);
    }

    void margeDesLignes()
    {
        QFETCH(double, achat);
        QFETCH(bool, incluse);
        QFETCH(double, minimum);
        QFETCH(double, taux);
        QFETCH(int, alerte);
        TTarif tarif;
        tarif.SetPrix(100.0);
        tarif.SetPoseurPrix(achat);
        tarif.SetQuincaillerieIncluse(incluse);
        TQuincaillerie& vis = tarif.GetQuincailleries().Ajouter();
        vis.SetTarifVente(10.0);
        vis.SetTarifAchat(5.0);
        vis.SetQuantite(2.0);
        const MargeLigne marge = MargeDuTarif(tarif, minimum);
        QVERIFY(marge.taux);
        QVERIFY2(std::abs(*marge.taux - taux) < 1e-9, qPrintable(QString::number(*marge.taux)));
        QCOMPARE(int(marge.alerte), alerte);
        QVERIFY(!TauxMarge(0.0, 10.0));
    }

    // When only the archive copy cannot be written, the answer is in the
    // host's file and the session says what is missing.
    void reponseSansSaCopie()
    {
        ChargerDeuxMenuiseries();
        QVERIFY(QDir(base->Fichier(QStringLiteral("Xml"))).removeRecursively());
        QFile bouchon(base->Fichier(QStringLiteral("Xml")));
        QVERIFY(bouchon.open(QIODevice::WriteOnly)); // a file where the folder should be
        bouchon.close();
        session->SetPriseDeCote(false);
        const QString message = session->EcrireReponse();
        QVERIFY2(message.contains(QStringLiteral(".sortie.xml")), qPrintable(message));
        const DevisEchange relu = LireEchange(session->GetFichierEchange(), base->Fichier(QStringLiteral("relu")));
        QVERIFY(relu.aCotes && !relu.cotes);
        QCOMPARE(relu.menuiseries.Nombre(), 2);
    }
};

QTEST_GUILESS_MAIN(TestChiffrage)
#include "tst_chiffrage.moc"
