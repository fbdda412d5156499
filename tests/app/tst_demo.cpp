#include "PreparationDemo.h"

#include "BaseTemporaire.h"
#include "Octets.h"
#include "app/Configuration.h"
#include "data/DMPose.h"
#include "model/Tarif.h"
#include "pricing/QuantitesQuincaillerie.h"
#include "pricing/SessionChiffrage.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString kDemo = QStringLiteral(QUARLO_SOURCE_DIR "/examples/demo/");
// The answer the program writes for the demo quote, the sample the host's
// developers read.
const QString kReponse = kDemo + QStringLiteral("Reponse.xml");

QByteArray Lire(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

struct Article
{
    QString code;
    QString libelle;
    int quantite = 0;
    QHash<QString, QString> proprietes;
};

// The items of the demo quote; the names of the other elements, in order.
QVector<Article> LireDevis(QStringList& elementsRacine)
{
    QVector<Article> articles;
    QXmlStreamReader xml(Lire(kDemo + QStringLiteral("Devis.xml")));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto nom = xml.name();
        if (nom != u"menuiserie" && nom != u"propriete")
            elementsRacine << nom.toString();
        if (nom == u"menuiserie") {
            Article article;
            article.code = xml.attributes().value("code").toString();
            article.libelle = xml.attributes().value("libelle").toString();
            article.quantite = xml.attributes().value("quantite").toInt();
            articles << article;
        } else if (nom == u"propriete" && !articles.isEmpty()) {
            articles.last().proprietes.insert(xml.attributes().value("id").toString(),
                                              xml.attributes().value("valeur").toString());
        }
    }
    if (xml.hasError())
        qFatal("Devis.xml: %s", qPrintable(xml.errorString()));
    return articles;
}

// The item's value for an operand, in whole numbers as the constraint test
// reads it.
int ValeurOperande(const Article& article, const QString& code)
{
    const int hauteur = article.proprietes.value("HAUTEUR").toInt();
    const int largeur = article.proprietes.value("LARGEUR").toInt();
    const int vantaux = article.proprietes.value("VANTAIL").toInt();
    if (code == "PERIMETRE")
        return largeur + 2 * hauteur;
    if (code == "LARGEUR_VANTAIL")
        return vantaux < 1 ? -1 : largeur / vantaux;
    return article.proprietes.value(code).toInt();
}

bool Passe(int valeur, const QString& operateur, int seuil)
{
    if (operateur == "=") return valeur == seuil;
    if (operateur == "<") return valeur < seuil;
    if (operateur == "<=") return valeur <= seuil;
    if (operateur == ">") return valeur > seuil;
    if (operateur == ">=") return valeur >= seuil;
    return false;
}

} // namespace

class TestDemo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dossier;
    std::unique_ptr<TDMPose> dm;

    int Compter(const QString& sql)
    {
        Requete requete(dm->Quarlo());
        requete.SetSql(sql);
        return static_cast<int>(requete.Ouvrir().Premiere().ValeurIndice(0).toLongLong());
    }

    QString Cle(const QString& sql)
    {
        Requete requete(dm->Quarlo());
        requete.SetSql(sql);
        return requete.Ouvrir().Premiere().ValeurIndice(0).toString();
    }

    // The line's hardware with one catalogue entry added, its quantity for
    // the whole perimeter of the items.
    TQuincailleries AvecEntree(const TQuincailleries& liste, const QString& codeExport,
                               const MenuiseriesConcernees& menuiseries)
    {
        TQuincailleries copie;
        copie.CopierDepuis(liste);
        const QString id = Cle("SELECT IdQuincaillerie FROM Quincaillerie WHERE CodeExport = '" + codeExport + "'");
        if (!AjouterDuCatalogue(copie, id, ChoixCotes().Compter(), SommerDimensions(menuiseries)))
            qFatal("No hardware %s in the demo", qPrintable(codeExport));
        return copie;
    }

    // The categories of the item's family that all their constraints accept.
    QStringList CategoriesAcceptees(const Article& article)
    {
        Requete categories(dm->Quarlo());
        categories.SetSql("SELECT c.IdCategorie, c.Libelle FROM Categorie c, CategorieType ct "
                          "WHERE c.IdCategorieType = ct.IdCategorieType AND ct.TrelvaneLibelle = :Famille");
        categories.LierTexte("Famille", article.proprietes.value("TRELVANE_LIBELLE_CODE"));
        QStringList acceptees;
        for (const Ligne& categorie : categories.Ouvrir()) {
            Requete contraintes(dm->Quarlo());
            contraintes.SetSql("SELECT o.Code, c.Operateur, c.Valeur FROM CategorieContrainte c, Operande o "
                               "WHERE c.IdOperande = o.IdOperande AND c.IdCategorie = :Id");
            contraintes.LierTexte("Id", categorie.Texte("IdCategorie"));
            bool accepte = true;
            for (const Ligne& contrainte : contraintes.Ouvrir())
                accepte = accepte && Passe(ValeurOperande(article, contrainte.Texte("Code")),
                                           contrainte.Texte("Operateur"), contrainte.Texte("Valeur").toInt());
            if (accepte)
                acceptees << categorie.Texte("Libelle");
        }
        return acceptees;
    }

private slots:
    void initTestCase()
    {
        UtiliserLocaleFrancaise();
        QVERIFY(dossier.isValid());
        // Twice: the second run replaces the first base instead of adding to it.
        PreparerBaseDemo(dossier.path(), kDemo + "Config.ini", kDemo + "reference.sql");
        const QStringList resume =
            PreparerBaseDemo(dossier.path(), kDemo + "Config.ini", kDemo + "reference.sql");
        QVERIFY(resume.contains("Poseur : 4"));
        dm = std::make_unique<TDMPose>();
        dm->SetNomFichier(dossier.filePath("Quarlo.abs"));
        dm->Ouvrir();
    }

    void cleanupTestCase() { dm.reset(); }

    void configurationAlaWindows()
    {
        const QByteArray octets = Lire(kDemo + "Config.ini");
        QVERIFY(!octets.isEmpty());
        QCOMPARE(octets.count('\n'), octets.count("\r\n"));
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString texte = utf8.decode(octets);
        QVERIFY2(utf8.hasError(), "Config.ini should be Windows-1252, with accents");

        LireTypesTva(kDemo + "Config.ini");
        QCOMPARE(dm->rxTva().size(), 3);
        QCOMPARE(dm->GetTauxTva(1), 20.0);
        QCOMPARE(dm->GetTauxTva(2), 10.0);
        QCOMPARE(dm->GetTauxTva(3), 5.5);
    }

    void poseurs()
    {
        QCOMPARE(Compter("SELECT COUNT(*) FROM Poseur"), 4);
        QCOMPARE(Compter("SELECT COUNT(*) FROM Poseur WHERE length(Siret) = 14 AND Siret NOT GLOB '*[^0-9]*' "
                         "AND RGE <> ''"), 4);
        QCOMPARE(Compter("SELECT COUNT(*) FROM Poseur WHERE Ville = 'Besançon' AND Nom = 'Menuiseries Lefèvre & Fils'"), 1);
    }

    void donneesDeReference()
    {
        QCOMPARE(Compter("SELECT COUNT(*) FROM Pose WHERE Livraison > 0 AND LivraisonCompliquee > 0 "
                         "AND Autorisation > 0 AND Manutention > 0 AND TypeTva IN (1, 2, 3) "
                         "AND CodeExport <> '' AND CodeExportLivraison <> ''"), 3);
        QCOMPARE(Compter("SELECT COUNT(*) FROM CategorieType WHERE TrelvaneLibelle NOT IN "
                         "(SELECT Code FROM TrelvaneLibelle)"), 0);
        QVERIFY(Compter("SELECT COUNT(*) FROM CategorieContrainte") > 0);
        QCOMPARE(Compter("SELECT COUNT(DISTINCT o.Code) FROM CategorieContrainte c, Operande o "
                         "WHERE c.IdOperande = o.IdOperande"), 5);
        // One general tariff per kind and category.
        QCOMPARE(Compter("SELECT COUNT(*) FROM Pose p, Categorie c WHERE (SELECT COUNT(*) FROM Tarif t "
                         "WHERE t.IdPose = p.IdPose AND t.IdCategorie = c.IdCategorie AND t.IdPoseur = 0) <> 1"), 0);
        QVERIFY(Compter("SELECT COUNT(*) FROM Tarif t, Poseur p WHERE t.IdPoseur = p.IdPoseur") > 0);
        QCOMPARE(Compter("SELECT COUNT(*) FROM Tarif WHERE IdPoseur <> 0 AND IdPoseur NOT IN "
                         "(SELECT IdPoseur FROM Poseur)"), 0);
        QVERIFY(Compter("SELECT COUNT(*) FROM Quincaillerie WHERE TarifVente > TarifAchat AND NbPieces > 0") >= 5);
    }

    void devisEtCategories()
    {
        QStringList elements;
        const QVector<Article> articles = LireDevis(elements);
        QVERIFY(articles.size() >= 5 && articles.size() <= 7);
        QCOMPARE(elements.value(0), QStringLiteral("Quarlo"));
        QVERIFY(!elements.contains("pose")); // the kind is chosen when the screen opens
        QVERIFY(std::any_of(articles.begin(), articles.end(),
                            [](const Article& a) { return a.libelle.contains('&'); }));

        QSet<QString> categoriesFenetres;
        for (const Article& article : articles) {
            QCOMPARE(article.proprietes.value("QUANTITE").toInt(), article.quantite);
            for (const char* cle : {"HAUTEUR", "LARGEUR", "VANTAIL", "TRELVANE_LIBELLE_CODE"})
                QVERIFY2(article.proprietes.contains(cle), qPrintable(article.code + " " + cle));
            const QStringList acceptees = CategoriesAcceptees(article);
            QVERIFY2(acceptees.size() == 1, qPrintable(article.code + ": " + acceptees.join(", ")));
            if (article.proprietes.value("TRELVANE_LIBELLE_CODE") == "10101")
                categoriesFenetres << acceptees.first();
        }
        QVERIFY(categoriesFenetres.size() >= 3); // the windows are priced differently
    }

    // The demo quote priced as a user would: the kind chosen at the opening,
    // the automatic lines, one installer given to one line, another to a
    // second line and then to all the others, handling chosen, hardware on two lines (one left out
    // of the amounts) and for the whole quote. The bytes written are those
    // of examples/demo/Reponse.xml; QUARLO_REGENERER_EXEMPLES=1 writes that
    // file instead.
    void reponseDuDevisDemo()
    {
        dm->ViderTva();
        LireTypesTva(kDemo + "Config.ini");
        const QString programme = dossier.path() + QStringLiteral("/");
        const QString echange = programme + QStringLiteral("Devis.xml");
        QFile::remove(echange);
        QVERIFY(QFile::copy(kDemo + "Devis.xml", echange));

        TSessionChiffrage session(programme);
        session.SetFichierEchange(echange);
        const QString renovation = Cle("SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'");
        TSessionChiffrage::Interlocuteur interlocuteur;
        QStringList messages;
        interlocuteur.signalerArchive = [&](const QString& message) { messages << message; };
        interlocuteur.choisirPose = [&](const QString&) { return std::optional<QString>(renovation); };
        session.Ouvrir(interlocuteur);
        QCOMPARE(messages, QStringList());
        QCOMPARE(session.GetMenuiseries().NombreTarifs(), session.GetMenuiseries().Nombre());

        session.AffecterPoseur(0, 0, Cle("SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'"));
        // As "..." on the second item's line followed by "Oui" to giving him to every line without one.
        const QString atelier = Cle("SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'");
        session.AffecterPoseurATous(atelier, session.AffecterPoseur(1, 0, atelier));
        session.ChoisirOption(TPoseLivraison::LivraisonManutention, true);
        const TMenuiseries& menuiseries = session.GetMenuiseries();
        session.RemplacerQuincailleries(0, 0, AvecEntree(menuiseries[0].GetTarifs()[0].GetQuincailleries(),
                                                         "QUI-MOUSSE", {&menuiseries[0]}));
        session.RemplacerQuincailleries(4, 0, AvecEntree(menuiseries[4].GetTarifs()[0].GetQuincailleries(),
                                                         "QUI-SILIC", {&menuiseries[4]}));
        session.SetQuincaillerieIncluse(4, 0, false);
        session.RemplacerQuincailleriesGlobales(
            AvecEntree(session.GetQuincailleriesGlobales(), "QUI-VB7592", ToutesLesMenuiseries(menuiseries)));
        QCOMPARE(session.EcrireReponse(), QString());

        const QByteArray ecrite = LireOctets(echange);
        QCOMPARE(LireOctets(session.GetPrefixeHorodate() + ".sortie.xml"), ecrite);
        QVERIFY(QFileInfo(session.GetPrefixeHorodate() + ".entree.xml").size() > 0);
        if (qEnvironmentVariable("QUARLO_REGENERER_EXEMPLES") == u"1") {
            EcrireOctets(kReponse, ecrite);
            qInfo("%s written", qPrintable(kReponse));
            return;
        }
        // Element by element, so that a difference names its element.
        QCOMPARE(ecrite.split('>'), LireOctets(kReponse).split('>'));
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
