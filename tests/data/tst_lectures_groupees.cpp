// The look-ups of many lines at once (a repaint, "Actualiser") give what the
// look-up of each line alone gives, hostile keys included, in one statement
// per call (one per slice of the engine's list size).

#include "DonneesReference.h"

#include "data/Contraintes.h"
#include "data/Poseurs.h"
#include "data/RechercheQuincaillerie.h"
#include "data/SignalPrix.h"
#include "data/Tarifs.h"
#include "model/Menuiserie.h"
#include "model/Tarif.h"

#include <QtTest>

namespace {

// Keys as the host's file or a list may carry them.
QStringList AvecClesHostiles(const QStringList& cles)
{
    QStringList hostiles = cles;
    if (!cles.isEmpty())
        hostiles << QLatin1Char(' ') + cles.first() + QLatin1Char(' ') << cles.first();
    hostiles << QString() << QStringLiteral("abc") << QStringLiteral("12' OR '1'='1") << QStringLiteral("999999")
             << QStringLiteral("99999999999999999999");
    return hostiles;
}

// Two kinds, two installers, three categories with constraints, several
// rows for one category so that the rule "which row counts" shows.
struct Reference
{
    BaseTemporaire base;
    DonneesReference donnees{base};
    QString poseA = donnees.Pose(QStringLiteral("Pose A"));
    QString poseB = donnees.Pose(QStringLiteral("Pose B"));
    QString poseurX = donnees.Poseur(QStringLiteral("X1"), QStringLiteral("Xavier"));
    QString poseurY = donnees.Poseur(QStringLiteral("Y1"), QStringLiteral("Yves"));
    QString type = donnees.Type(QStringLiteral("Fenêtre"), {});
    QString c1 = donnees.Categorie(QStringLiteral("PVC"), type);
    QString c2 = donnees.Categorie(QStringLiteral("Bois"), type);
    QString c3 = donnees.Categorie(QStringLiteral("Alu"), type);
    QStringList tarifs = {
        donnees.Tarif(poseA, c1, 10),          donnees.Tarif(poseA, c1, 11),           donnees.Tarif(poseA, c2, QVariant()),
        donnees.Tarif(poseB, c3, 30),          donnees.Tarif(poseA, c1, 15, poseurX),  donnees.Tarif(poseA, c1, 16, poseurX),
        donnees.Tarif(poseA, c2, 25, poseurY), donnees.Tarif(poseB, c3, 35, poseurX),
    };

    Reference()
    {
        donnees.Contrainte(c1, QStringLiteral("HAUTEUR"), QStringLiteral(">="), QStringLiteral("1000"));
        donnees.Contrainte(c1, QStringLiteral("LARGEUR"), QStringLiteral("<"), QStringLiteral("800"));
        donnees.Contrainte(c2, QStringLiteral("VANTAIL"), QStringLiteral("="), QStringLiteral("2"));
    }

    // The statements the call sends.
    template <class Appel>
    quint64 Instructions(Appel appel)
    {
        const quint64 avant = base.Base().Instructions();
        appel();
        return base.Base().Instructions() - avant;
    }
};

} // namespace

class TestLecturesGroupees : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UtiliserLocaleFrancaise(); }

    void prixDesLignes()
    {
        Reference r;
        const QStringList cles = AvecClesHostiles(r.tarifs);
        QHash<QString, double> generaux;
        QCOMPARE(r.Instructions([&] { generaux = Tarifs::PrixGeneraux(cles); }), quint64(1));
        QVector<Tarifs::LignePoseur> lignes;
        for (const QString& tarif : cles)
            for (const QString& poseur : AvecClesHostiles({r.poseurX, r.poseurY, Tarifs::kPoseurGeneral}))
                lignes.append({tarif, poseur});
        QHash<Tarifs::LignePoseur, double> poseurs;
        QCOMPARE(r.Instructions([&] { poseurs = Tarifs::PrixPoseurs(lignes); }), quint64(1));

        for (const QString& cle : cles) {
            const std::optional<double> seul = Tarifs::PrixGeneral(cle);
            QCOMPARE(generaux.contains(cle), seul.has_value());
            if (seul)
                QCOMPARE(generaux.value(cle), *seul);
        }
        for (const Tarifs::LignePoseur& ligne : lignes) {
            const std::optional<double> seul = Tarifs::PrixPoseur(ligne.idTarif, ligne.idPoseur);
            QVERIFY2(poseurs.contains(ligne) == seul.has_value(), qPrintable(ligne.idTarif + u'/' + ligne.idPoseur));
            if (seul)
                QCOMPARE(poseurs.value(ligne), *seul);
        }
        // The first general row and the installer's highest one, as alone.
        QCOMPARE(generaux.value(r.tarifs[4]), 10.0);
        QCOMPARE(poseurs.value({r.tarifs[0], r.poseurX}), 16.0);

        // More keys than one statement binds: one statement per slice.
        QStringList beaucoup;
        for (int i = 0; i < 1300; ++i)
            beaucoup << QString::number(i);
        QCOMPARE(r.Instructions([&] { generaux = Tarifs::PrixGeneraux(beaucoup); }), quint64(3));
        QCOMPARE(generaux.size(), r.tarifs.size());
    }

    void signalDesLignes()
    {
        Reference r;
        TMenuiserie proche;
        TMenuiserie changee;
        for (const auto& [cle, prix] : {std::pair{r.tarifs[0], 10.0}, {r.tarifs[3], 30.0}, {QStringLiteral("abc"), 1.0}}) {
            auto tarif = std::make_unique<TTarif>();
            tarif->SetId(cle);
            tarif->SetPrix(prix);
            proche.GetTarifs().Ajouter(std::move(tarif));
        }
        for (const auto& [cle, prix] : {std::pair{r.tarifs[1], 10.0}, {r.tarifs[2], 4.0}}) {
            auto tarif = std::make_unique<TTarif>();
            tarif->SetId(cle);
            tarif->SetPrix(prix);
            changee.GetTarifs().Ajouter(std::move(tarif));
        }
        QVector<const TTarif*> lignes;
        for (const TMenuiserie* menuiserie : {&proche, &changee})
            for (const TTarif& tarif : menuiserie->GetTarifs())
                lignes << &tarif;
        QVector<bool> ecarts;
        QCOMPARE(r.Instructions([&] { ecarts = EcartsPrix(lignes); }), quint64(1));
        QCOMPARE(ecarts, (QVector<bool>{false, false, false, false, true}));
        for (int i = 0; i < lignes.size(); ++i)
            QCOMPARE(ecarts[i], EcartPrix(*lignes[i]));
        QVector<bool> menuiseries;
        QCOMPARE(r.Instructions([&] { menuiseries = MenuiseriesEnEcart({&proche, &changee}); }), quint64(1));
        QCOMPARE(menuiseries, (QVector<bool>{MenuiserieEnEcart(proche), MenuiserieEnEcart(changee)}));
        QCOMPARE(menuiseries, (QVector<bool>{false, true}));
    }

    void nomsEtQuincailleries()
    {
        Reference r;
        const QStringList poseurs = AvecClesHostiles({r.poseurX, r.poseurY, Tarifs::kPoseurGeneral});
        QHash<QString, QString> noms;
        QCOMPARE(r.Instructions([&] { noms = Poseurs::Noms(poseurs); }), quint64(1));
        for (const QString& cle : poseurs)
            QCOMPARE(noms.value(cle), Poseurs::Nom(cle));
        QCOMPARE(noms.value(r.poseurY), QStringLiteral("Yves"));

        const QStringList entrees = AvecClesHostiles({r.donnees.EntreeCatalogue("Vis", "6x40", 1.5, 1, 100, 0, 1),
                                                      r.donnees.EntreeCatalogue("Joint", "", 8, 5.25, 1, 2, 0)});
        QHash<QString, Quincailleries::PrixCatalogue> prix;
        QCOMPARE(r.Instructions([&] { prix = Quincailleries::PrixDe(entrees); }), quint64(1));
        for (const QString& cle : entrees) {
            const std::optional<Quincailleries::PrixCatalogue> seul = Quincailleries::Prix(cle);
            QCOMPARE(prix.contains(cle), seul.has_value());
            if (seul) {
                const Quincailleries::PrixCatalogue lu = prix.value(cle);
                QCOMPARE(QList<double>({lu.tarifVente, lu.tarifAchat, lu.nbPieces, lu.nbPiecesMl}),
                         QList<double>({seul->tarifVente, seul->tarifAchat, seul->nbPieces, seul->nbPiecesMl}));
            }
        }
    }

    void contraintesDesCategories()
    {
        Reference r;
        QHash<QString, QVector<ContrainteCategorie>> contraintes;
        QCOMPARE(r.Instructions([&] { contraintes = ContraintesDesTarifsGeneraux(r.poseA); }), quint64(1));
        for (const QStringList& proprietes : {QStringList{"HAUTEUR=1200", "LARGEUR=700", "VANTAIL=2"},
                                              QStringList{"HAUTEUR=900", "LARGEUR=700", "VANTAIL=1"},
                                              QStringList{"HAUTEUR=1000", "LARGEUR=800"}, QStringList{}}) {
            const std::unique_ptr<TMenuiserie> menuiserie = NouvelleMenuiserie(proprietes);
            for (const QString& categorie : {r.c1, r.c2})
                QVERIFY2(ContraintesTenues(contraintes.value(categorie), *menuiserie)
                             == VerifierContraintes(categorie, *menuiserie),
                         qPrintable(proprietes.join(u',') + QStringLiteral(" / ") + categorie));
        }
        QCOMPARE(contraintes.value(r.c1).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestLecturesGroupees)
#include "tst_lectures_groupees.moc"
