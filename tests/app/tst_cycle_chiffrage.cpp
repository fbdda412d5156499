// The whole round trip of a quote, as the host runs it: the program started
// with CREATION, its configuration and the exchange file; the pricing screen
// driven as a user would; "Valider"; then the answer read back with Qt's own
// XML reader, independent of the program's.

#include "app/FicheMain.h"

#include "BaseTemporaire.h"
#include "DevisHote.h"
#include "DonneesReference.h"
#include "Octets.h"
#include "OutilsFenetres.h"
#include "PilotesChoix.h"

#include "ui/choice/FicheQuincaillerieChoix.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/common/Messages.h"
#include "ui/pricing/FicheModeNormal.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeView>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

namespace {

// An element of the answer as read back: its attributes in file order, its
// child elements in file order.
struct Element
{
    QString nom;
    QXmlStreamAttributes attributs;
    QList<Element> enfants;

    QStringList NomsAttributs() const
    {
        QStringList noms;
        for (const QXmlStreamAttribute& attribut : attributs)
            noms.append(attribut.name().toString());
        return noms;
    }
    QString Attribut(const char* nom) const { return attributs.value(QLatin1String(nom)).toString(); }
    QStringList NomsEnfants() const
    {
        QStringList noms;
        for (const Element& enfant : enfants)
            noms.append(enfant.nom);
        return noms;
    }
    const Element& Enfant(const char* nom) const
    {
        for (const Element& enfant : enfants) {
            if (enfant.nom == QLatin1String(nom))
                return enfant;
        }
        qFatal("No element %s under %s", nom, qPrintable(this->nom));
    }
};

Element LireElement(QXmlStreamReader& lecteur)
{
    Element element{lecteur.name().toString(), lecteur.attributes(), {}};
    while (lecteur.readNextStartElement())
        element.enfants.append(LireElement(lecteur));
    return element;
}

const QByteArray kConfiguration =
    "[TVA]\r\nNb=2\r\n"
    "[TVA0]\r\nTypeTva=1\r\nLibelle=TVA 20 %\r\nValeur=20\r\n"
    "[TVA1]\r\nTypeTva=2\r\nLibelle=TVA 10 %\r\nValeur=10\r\n"
    "[Poseur]\r\nNb=1\r\n"
    "[Poseur0]\r\nCode=P01\r\nNom=Poseur un\r\nSiret=12345678900011\r\nRGE=QB-42\r\n";

} // namespace

class TestCycleChiffrage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void devisChiffreEtRelu()
    {
        // Reference data in the database beside the program.
        BaseTemporaire base(false);
        DonneesReference donnees(base);
        const QString pose = donnees.Pose(QStringLiteral("Pose en neuf (tableau)"), {45, 95, 60, 35}, 1);
        const QString type = donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10101"));
        const QString pvc = donnees.Categorie(QStringLiteral("PVC"), type);
        const QString alu = donnees.Categorie(QStringLiteral("Alu"), type);
        donnees.Contrainte(alu, QStringLiteral("HAUTEUR"), QStringLiteral(">"), QStringLiteral("5000"));
        const QString poseur = donnees.Poseur(QStringLiteral("P01"), QStringLiteral("Ancien nom"));
        const QString tarifPvc = donnees.Tarif(pose, pvc, 150.0);
        const QString tarifAlu = donnees.Tarif(pose, alu, 210.5);
        donnees.Tarif(pose, pvc, 90.0, poseur);
        donnees.Tarif(pose, alu, 95.0, poseur);
        const QString joint = donnees.EntreeCatalogue(QStringLiteral("Joint d'étanchéité & mousse"), QStringLiteral("Blanc"),
                                                      12.0, 7.5, 1.0, 1.0, 0);
        base.Dm().Fermer();

        // The host's files: an item whose family brings the PVC line.
        const QString hote = base.Fichier(QStringLiteral("hote/"));
        QVERIFY(QDir().mkpath(hote));
        EcrireOctets(hote + QStringLiteral("Config.ini"), kConfiguration);
        const QString echange = hote + QStringLiteral("Devis.xml");
        EcrireOctets(echange,
               Document(PoseGlobale(pose, QStringLiteral("Pose en neuf (tableau)"), 1, "20,00",
                                    Option("livraison", true, "45,00"))
                        + Menuiseries({{QStringLiteral("Fenêtre séjour"),
                                        {{"QUANTITE", "2"}, {"HAUTEUR", "1000"}, {"LARGEUR", "800"},
                                         {"VANTAIL", "2"}, {"TRELVANE_LIBELLE_CODE", "10101"}},
                                        QString(), "2", QString(), QStringLiteral("Prix en € & « guillemets »")}})));

        EnregistreurMessages messages;
        messages.RepondreOui(); // give the installer to every line
        TFicheMain programme({QStringLiteral("CREATION"), hote + QStringLiteral("Config.ini"), echange});
        QSignalSpy termine(&programme, &TFicheMain::Termine);
        const auto ecran = PiloteModal::QuandOuvert<TFicheModeNormal>([&](TFicheModeNormal* fiche) {
            QTRY_VERIFY(!fiche->GetPremiereActivation());
            {
                // Unfiltered, so the Alu tariff is listed whatever its constraint.
                const auto poseMenuiserie = ChoisirPose(pose);
                const auto tarif = PiloteModal::QuandOuvert<TFicheTarifChoix>([](TFicheTarifChoix* choix) {
                    Controle<QAbstractButton>(choix, QStringLiteral("cbSansFiltrage"))->click();
                    SelectionnerLigne(Liste(choix), QStringLiteral("Fenêtre Alu"));
                    choix->lvListeDblClick();
                });
                QTest::mouseClick(Controle<QToolButton>(fiche, QStringLiteral("btnAjouter")), Qt::LeftButton);
            }
            SelectionnerRang(Controle<QTreeView>(fiche, QStringLiteral("lvCategorie")), 0);
            {
                const auto choixPoseur = ChoisirPoseur(QStringLiteral("P01"));
                QTest::mouseClick(Controle<QPushButton>(fiche, QStringLiteral("btnPoseur")), Qt::LeftButton);
            }
            {
                // The joint around the item: 2 × 1 m + 2 × 0,8 m, whole metres.
                const auto detail = PiloteModal::QuandOuvert<TFicheQuincaillerieDetail>([](TFicheQuincaillerieDetail* fenetre) {
                    Cliquer(fenetre, QStringLiteral("btnAjouter"));
                    fenetre->close();
                });
                const auto choixJoint = PiloteModal::QuandOuvert<TFicheQuincaillerieChoix>([](TFicheQuincaillerieChoix* choix) {
                    SelectionnerLigne(Liste(choix), QStringLiteral("Joint d'étanchéité & mousse"));
                    QTest::keyClick(Liste(choix), Qt::Key_Return);
                });
                QTest::mouseClick(Controle<QToolButton>(fiche, QStringLiteral("btnQuincaillerie")), Qt::LeftButton);
            }
            QTest::mouseClick(Controle<QPushButton>(fiche, QStringLiteral("btnValider")), Qt::LeftButton);
        });
        programme.show();
        QTRY_COMPARE_WITH_TIMEOUT(termine.size(), 1, 30000);
        QCOMPARE(termine.first().first().toInt(), 0);
        QCOMPARE(messages.Textes(), QStringList{"Voulez-vous affecter le poseur à tous les tarifs de pose ?"});

        // The answer, read by an independent parser.
        const QByteArray octets = LireOctets(echange);
        QVERIFY(octets.startsWith("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"));
        QVERIFY(octets.contains("Prix en \x80 &amp;")); // Windows-1252, escaped
        QVERIFY(!octets.contains("\xE2\x82\xAC"));
        QXmlStreamReader lecteur(octets);
        QCOMPARE(lecteur.readNext(), QXmlStreamReader::StartDocument);
        QCOMPARE(lecteur.documentEncoding().toString(), QStringLiteral("iso-8859-1"));
        QVERIFY(lecteur.readNextStartElement());
        const Element racine = LireElement(lecteur);
        QVERIFY2(!lecteur.hasError(), qPrintable(lecteur.errorString()));
        QCOMPARE(racine.nom, QStringLiteral("Quarlo"));
        QCOMPARE(racine.NomsEnfants(), (QStringList{"pose", "cotes", "global", "menuiseries"}));

        const Element& poseGlobale = racine.Enfant("pose");
        QCOMPARE(poseGlobale.NomsAttributs(), (QStringList{"id", "libelle", "code_export"}));
        QCOMPARE(poseGlobale.NomsEnfants(), (QStringList{"livraison", "livraison_compliquee",
                                                         "livraison_autorisation", "livraison_manutention", "tva"}));
        QCOMPARE(poseGlobale.Enfant("livraison").Attribut("prix"), QStringLiteral("45,00"));
        QCOMPARE(racine.Enfant("cotes").Attribut("choix"), QStringLiteral("1"));

        const Element& menuiserie = racine.Enfant("menuiseries").Enfant("menuiserie");
        QCOMPARE(menuiserie.NomsAttributs(), (QStringList{"code", "libelle", "description", "quantite"}));
        QCOMPARE(menuiserie.Attribut("libelle"), QStringLiteral("Fenêtre séjour"));
        QCOMPARE(menuiserie.Attribut("quantite"), QStringLiteral("2"));
        QCOMPARE(menuiserie.NomsEnfants(), (QStringList{"pose", "proprietes", "tarifs"}));
        QCOMPARE(menuiserie.Enfant("pose").Attribut("id"), pose);
        QCOMPARE(menuiserie.Enfant("pose").Attribut("code_export"), QStringLiteral("Pos"));

        // Each line: its tariff, the installer priced from his own row, the
        // VAT of the item's kind.
        const QList<Element>& tarifs = menuiserie.Enfant("tarifs").enfants;
        QCOMPARE(tarifs.size(), 2);
        const QStringList attendus[2][3] = {
            {{tarifPvc, "Fenêtre PVC", "150,00", "1", "EXP"}, {poseur, "Poseur un", "90,00", "12345678900011", "QB-42"},
             {"1", "TVA 20 %", "20,00"}},
            {{tarifAlu, "Fenêtre Alu", "210,50", "1", "Pos"}, {poseur, "Poseur un", "95,00", "", ""},
             {"1", "TVA 20 %", "20,00"}},
        };
        for (int i = 0; i < 2; ++i) {
            const Element& tarif = tarifs[i];
            QCOMPARE(tarif.NomsAttributs(), (QStringList{"id", "libelle", "prix", "quincaillerie_incluse", "code_export"}));
            QCOMPARE(tarif.NomsEnfants(), (QStringList{"poseur", "tva", "quincailleries"}));
            const Element& poseurLigne = tarif.Enfant("poseur");
            QCOMPARE(poseurLigne.NomsAttributs(), (QStringList{"id", "nom", "prix", "siret", "rge"}));
            const Element& tva = tarif.Enfant("tva");
            QCOMPARE(tva.NomsAttributs(), (QStringList{"type_tva", "libelle", "valeur"}));
            const auto valeurs = [](const Element& element) {
                QStringList liste;
                for (const QXmlStreamAttribute& attribut : element.attributs)
                    liste.append(attribut.value().toString());
                return liste;
            };
            QCOMPARE(valeurs(tarif), attendus[i][0]);
            QCOMPARE(valeurs(poseurLigne), attendus[i][1]);
            QCOMPARE(valeurs(tva), attendus[i][2]);
        }
        const QList<Element>& quincailleries = tarifs[0].Enfant("quincailleries").enfants;
        QCOMPARE(quincailleries.size(), 1);
        QCOMPARE(quincailleries[0].NomsAttributs(),
                 (QStringList{"id", "libelle", "libelle2", "tarif_vente", "tarif_achat", "nb_pieces", "nb_pieces_ml",
                              "quantite", "secable", "code_export"}));
        QCOMPARE(quincailleries[0].Attribut("id"), joint);
        QCOMPARE(quincailleries[0].Attribut("libelle"), QStringLiteral("Joint d'étanchéité & mousse"));
        QCOMPARE(quincailleries[0].Attribut("quantite"), QStringLiteral("4,00"));
        QCOMPARE(quincailleries[0].Attribut("code_export"), QStringLiteral("Q") + joint);
        QVERIFY(tarifs[1].Enfant("quincailleries").enfants.isEmpty());

        // The archive copies of this opening share their time stamp; the
        // answer's copy is the answer.
        const QStringList archives = QDir(base.Fichier(QStringLiteral("Xml"))).entryList(QDir::Files, QDir::Name);
        QCOMPARE(archives.size(), 2);
        QVERIFY(archives[0].endsWith(QLatin1String(".entree.xml")));
        QCOMPARE(archives[1], archives[0].chopped(int(qstrlen(".entree.xml"))) + QStringLiteral(".sortie.xml"));
        QCOMPARE(LireOctets(base.Fichier(QStringLiteral("Xml/")) + archives[1]), octets);
        QVERIFY(AucuneFenetreOuverte());
    }
};

QTEST_MAIN(TestCycleChiffrage)
#include "tst_cycle_chiffrage.moc"
