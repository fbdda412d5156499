// The rules of the reference data units, below the windows that show them:
// the names of categories and the order of the lists, what a read by key
// gives, what saving a category with its constraints, the host's installers
// at a start and each deletion write, and in how many statements.

#include "DonneesReference.h"
#include "LignesTexte.h"

#include "data/CatalogueQuincaillerie.h"
#include "data/Categories.h"
#include "data/CategoriesTypes.h"
#include "data/Operandes.h"
#include "data/Poses.h"
#include "data/Poseurs.h"

#include <QtTest>
#include <algorithm>
#include <functional>

namespace {

// Gives every row of the table a twin under the same key, as a file whose
// table lost its key constraint may hold.
void Doubler(BaseTemporaire& base, const QString& table)
{
    base.Base().ExecuterScript(QStringLiteral("CREATE TABLE Doublee AS SELECT * FROM %1; DROP TABLE %1; "
                                              "ALTER TABLE Doublee RENAME TO %1; INSERT INTO %1 SELECT * FROM %1")
                                   .arg(table));
}

// What each unit reads of the record of a key, as one text.
const QString kRien = QStringLiteral("rien");

QString LireCategorie(const QString& cle)
{
    const std::optional<Categories::Categorie> categorie = Categories::Lire(cle);
    return categorie ? categorie->libelle + '|' + categorie->idCategorieType : kRien;
}

QString LireType(const QString& cle)
{
    const std::optional<CategoriesTypes::Type> type = CategoriesTypes::Lire(cle);
    return type ? QStringList{type->libelle, type->famille, type->motsClefs}.join('|') : kRien;
}

QString LirePose(const QString& cle)
{
    const std::optional<Poses::Pose> pose = Poses::Lire(cle);
    if (!pose)
        return kRien;
    QStringList textes{pose->libelle, pose->codeExport};
    for (const double prix : pose->prix)
        textes << QString::number(prix);
    textes << QStringList(pose->codesExport.cbegin(), pose->codesExport.cend());
    textes << (pose->typeTva ? QString::number(*pose->typeTva) : QStringLiteral("sans TVA"));
    return textes.join('|');
}

QString LirePoseur(const QString& cle)
{
    const Poseurs::Identite identite = Poseurs::LireIdentite(cle);
    return QStringList{Poseurs::Nom(cle), identite.nom, identite.siret, identite.rge}.join('|');
}

const QHash<QString, QString (*)(const QString&)> kLectures = {
    {QStringLiteral("Categorie"), LireCategorie},
    {QStringLiteral("CategorieType"), LireType},
    {QStringLiteral("Pose"), LirePose},
    {QStringLiteral("Poseur"), LirePoseur},
};

// The values left in a column of a table, sorted, separated by blanks.
QString Reste(BaseTemporaire& base, const QString& table, const QString& colonne)
{
    return LignesTexte(base.Base(), QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(colonne, table))
        .join(QLatin1Char(' '));
}

// "category key|operand key|operator|value" of every stored constraint.
QStringList Contraintes(BaseTemporaire& base)
{
    return LignesTexte(base.Base(), QStringLiteral("SELECT IdCategorie, IdOperande, Operateur, Valeur "
                                                   "FROM CategorieContrainte ORDER BY IdCategorieContrainte"));
}

} // namespace

class TestUnites : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UtiliserLocaleFrancaise(); }

    void nomsDesCategories_data()
    {
        QTest::addColumn<QString>("typeLibelle"); // of the one type in the database
        QTest::addColumn<QString>("cleType");     // "type" for that type's key, "nul", or the key stored
        QTest::addColumn<QString>("libelle");
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("avecType"); // listed among the categories whose type exists
        QTest::newRow("type et libellé") << "Fenêtre" << "type" << "PVC" << "Fenêtre PVC" << true;
        QTest::newRow("libellé vide") << "Fenêtre" << "type" << "" << "Fenêtre" << true;
        QTest::newRow("type sans libellé") << "" << "type" << "Nue" << " Nue" << true;
        QTest::newRow("sans type") << "Fenêtre" << "-1" << "Seule" << "Seule" << false;
        QTest::newRow("type disparu") << "Fenêtre" << "999" << "Orpheline" << "Orpheline" << false;
        QTest::newRow("clé de type nulle") << "Fenêtre" << "nul" << "Nulle" << "Nulle" << false;
        QTest::newRow("ni type ni libellé") << "Fenêtre" << "-1" << "" << "" << false;
    }

    void nomsDesCategories()
    {
        QFETCH(QString, typeLibelle);
        QFETCH(QString, cleType);
        QFETCH(QString, libelle);
        QFETCH(QString, nom);
        QFETCH(bool, avecType);
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString type = donnees.Type(typeLibelle, {});
        const QString cle = donnees.Categorie(libelle, cleType == u"type" ? type : cleType);
        if (cleType == u"nul")
            base.Executer(QStringLiteral("UPDATE Categorie SET IdCategorieType = NULL"));

        const QVector<Entree> categories = Categories::Lister();
        QCOMPARE(categories.size(), 1);
        QCOMPARE(categories.first().cle, cle);
        QCOMPARE(categories.first().libelle, nom);
        const QVector<Categories::CategorieTypee> typees = Categories::AvecType();
        QCOMPARE(typees.size(), avecType ? 1 : 0);
        if (avecType)
            QCOMPARE(QStringList({typees.first().cle, typees.first().idCategorieType, typees.first().Nom()}),
                     QStringList({cle, type, nom}));
    }

    void listesDansLOrdre()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString volet = donnees.Type(QStringLiteral("Volet"), QStringLiteral("10300"));
        const QString fenetre = donnees.Type(QStringLiteral("Fenêtre"), QStringLiteral("10100"));
        donnees.Type(QStringLiteral("Autre"), CategoriesTypes::kSansFamille);
        donnees.Type(QStringLiteral("Inconnue"), QStringLiteral("99999"));
        const QString alu = donnees.Categorie(QStringLiteral("Alu"), volet);
        const QString pvc = donnees.Categorie(QStringLiteral("PVC"), fenetre);
        const QString bois = donnees.Categorie(QStringLiteral("Bois"), fenetre);
        donnees.Categorie(QStringLiteral("Aucun"), Categories::kSansType);

        // The rows of the tariff grid: by type label, then label.
        QStringList typees;
        for (const Categories::CategorieTypee& categorie : Categories::AvecType())
            typees << categorie.cle + '|' + categorie.idCategorieType + '|' + categorie.Nom();
        QCOMPARE(typees, QStringList({bois + '|' + fenetre + "|Fenêtre Bois", pvc + '|' + fenetre + "|Fenêtre PVC",
                                      alu + '|' + volet + "|Volet Alu"}));

        // Types by label, with the name of their family: none for "no
        // family" or a code the host does not have.
        QStringList types;
        for (const CategoriesTypes::LigneType& type : CategoriesTypes::Lister())
            types << type.libelle + '|' + type.famille;
        QCOMPARE(types, (QStringList{"Autre|", "Fenêtre|Menuiseries", "Inconnue|", "Volet|Volet Roulant"}));

        // Operands by label, each under the key a constraint stores for its code.
        QStringList operandes;
        for (const Operandes::Operande& operande : Operandes::Lister()) {
            operandes << operande.libelle + '|' + operande.code;
            QCOMPARE(operande.cle, donnees.IdOperande(operande.code));
        }
        QCOMPARE(operandes, (QStringList{"Hauteur|HAUTEUR", "Largeur|LARGEUR", "Largeur par vantail|LARGEUR_VANTAIL",
                                         "Nombre de vantaux|VANTAIL", "Périmètre|PERIMETRE"}));
    }

    // A read by key gives the record only when exactly one row has the key.
    void lectureParCle_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("etat"); // "présente", "disparue" or "doublée"
        QTest::addColumn<QString>("lu");
        const QList<std::pair<QString, QString>> lus = {
            {"Categorie", "Seule|-1"},
            {"CategorieType", "Volet|10300|"},
            {"Pose", "Nue||0|0|0|0|||||sans TVA"}, // nothing stored but its label
            {"Poseur", "Xavier|Xavier|12345678901234|RGE-9"},
        };
        for (const auto& [table, lu] : lus) {
            const QString absent = table == u"Poseur" ? QStringLiteral("|||") : kRien;
            QTest::addRow("%s présente", qPrintable(table)) << table << "présente" << lu;
            QTest::addRow("%s disparue", qPrintable(table)) << table << "disparue" << absent;
            QTest::addRow("%s doublée", qPrintable(table)) << table << "doublée" << absent;
        }
    }

    void lectureParCle()
    {
        QFETCH(QString, table);
        QFETCH(QString, etat);
        QFETCH(QString, lu);
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QHash<QString, QString> cles = {
            {"Categorie", donnees.Categorie(QStringLiteral("Seule"), Categories::kSansType)},
            {"CategorieType", donnees.Type(QStringLiteral("Volet"), QStringLiteral("10300"))},
            {"Pose", donnees.Pose(QStringLiteral("Nue"))},
            {"Poseur", donnees.Poseur(QStringLiteral("X1"), QStringLiteral("Xavier"),
                                      {"", "", "", "", "12345678901234", "RGE-9"})},
        };
        if (etat == u"disparue")
            base.Executer(QStringLiteral("DELETE FROM ") + table);
        else if (etat == u"doublée")
            Doubler(base, table);
        QCOMPARE(kLectures.value(table)(cles.value(table)), lu);
    }

    void enregistrementDUneCategorie()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString hauteur = donnees.IdOperande(QStringLiteral("HAUTEUR"));
        const QString largeur = donnees.IdOperande(QStringLiteral("LARGEUR"));
        const QString vantail = donnees.IdOperande(QStringLiteral("VANTAIL"));
        const QString autre = donnees.Categorie(QStringLiteral("Autre"), Categories::kSansType);
        const QString etrangere = donnees.Contrainte(autre, QStringLiteral("HAUTEUR"), QStringLiteral("<"), "1");
        const QString volet = donnees.Type(QStringLiteral("Volet"), {});

        // A new category whose type has gone (no type key) is kept without type.
        const Categories::CategorieEnregistree neuve = Categories::Enregistrer(
            {}, {QStringLiteral("Neuve"), {}}, {{{}, hauteur, {}, "<", "2000"}, {{}, largeur, {}, ">", "500"}}, {},
            std::nullopt);
        QCOMPARE(neuve.etat, Enregistrement::Fait);
        const QString cle = neuve.cle;
        QCOMPARE(LignesTexte(base.Base(), "SELECT IdCategorie, Libelle, IdCategorieType FROM Categorie "
                                          "ORDER BY IdCategorie"),
                 (QStringList{autre + "|Autre|-1", cle + "|Neuve|-1"}));
        QCOMPARE(Contraintes(base), (QStringList{autre + '|' + hauteur + "|<|1", cle + '|' + hauteur + "|<|2000",
                                                 cle + '|' + largeur + "|>|500"}));

        // Changed over what was read (the constraints in any order): a
        // constraint changed keeps its key; only this category's constraints
        // are deleted, whatever keys are given.
        QVector<Categories::Contrainte> lues = Categories::Contraintes(cle);
        std::reverse(lues.begin(), lues.end());
        const Categories::CategorieLue lue{*Categories::Lire(cle), lues};
        const auto cleDe = [&lues](const QString& operande) {
            return std::find_if(lues.cbegin(), lues.cend(),
                                [&operande](const auto& contrainte) { return contrainte.idOperande == operande; })
                ->cle;
        };
        const QString cleHauteur = cleDe(hauteur);
        const QVector<Categories::Contrainte> nouvelles = {{cleHauteur, hauteur, {}, "<", "1800"},
                                                           {{}, vantail, {}, "=", "2"}};
        QCOMPARE(Categories::Enregistrer(cle, {QStringLiteral("Changée"), volet}, nouvelles,
                                         {cleDe(largeur), etrangere}, lue)
                     .etat,
                 Enregistrement::Fait);
        QCOMPARE(LireCategorie(cle), "Changée|" + volet);
        const QStringList apres = {autre + '|' + hauteur + "|<|1", cle + '|' + hauteur + "|<|1800",
                                   cle + '|' + vantail + "|=|2"};
        QCOMPARE(Contraintes(base), apres);
        QCOMPARE(base.Valeur("SELECT IdCategorieContrainte FROM CategorieContrainte WHERE Valeur = '1800'"),
                 cleHauteur);

        // A constraint that cannot be written undoes the whole save.
        base.Refuser(QStringLiteral("INSERT"), QStringLiteral("CategorieContrainte"));
        const Categories::CategorieLue relue{*Categories::Lire(cle), Categories::Contraintes(cle)};
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 Categories::Enregistrer(cle, {QStringLiteral("Jamais"), {}},
                                                         {{{}, largeur, {}, "<", "9"}}, {cleHauteur}, relue));
        QCOMPARE(LireCategorie(cle), "Changée|" + volet);
        QCOMPARE(Contraintes(base), apres);
    }

    // However many constraints it has, a category is saved in the same
    // statements (a server may be a network away), and they write what a
    // statement per constraint wrote: a changed constraint keeps its key, a
    // key given twice ends with its last values, another category's
    // constraint is left alone, new ones get their keys in the order given.
    void enregistrementEnAutantDInstructions()
    {
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString hauteur = donnees.IdOperande(QStringLiteral("HAUTEUR"));
        const QString vantail = donnees.IdOperande(QStringLiteral("VANTAIL"));
        const QString autre = donnees.Categorie(QStringLiteral("Autre"), Categories::kSansType);
        const QString etrangere = donnees.Contrainte(autre, QStringLiteral("HAUTEUR"), QStringLiteral("<"), "1");
        const auto instructions = [&base](const auto& appel) {
            const quint64 avant = base.Base().Instructions();
            appel();
            return base.Base().Instructions() - avant;
        };
        const auto nouvelles = [&hauteur](int nombre, const QString& prefixe) {
            QVector<Categories::Contrainte> contraintes;
            for (int i = 0; i < nombre; ++i)
                contraintes.append({{}, hauteur, {}, "<", prefixe + QString::number(i)});
            return contraintes;
        };
        const auto stockees = [&base](const QString& cle) {
            return LignesTexte(base.Base(), "SELECT IdCategorieContrainte, IdOperande, Operateur, Valeur FROM "
                                            "CategorieContrainte WHERE IdCategorie = " + cle
                                                + " ORDER BY IdCategorieContrainte");
        };

        QHash<int, QString> cles;
        QHash<int, quint64> creations;
        // One constraint first: the statements a server prepares at their first run are then prepared.
        for (const int nombre : {1, 2, 100}) {
            creations[nombre] = instructions([&] {
                cles[nombre] = Categories::Enregistrer({}, {QStringLiteral("Nouvelle"), {}}, nouvelles(nombre, "n"), {},
                                                       std::nullopt)
                                   .cle;
            });
        }
        QCOMPARE(creations[100], creations[2]);
        const QStringList creees = stockees(cles[100]);
        QCOMPARE(creees.size(), 100);
        for (int i = 0; i < 100; ++i)
            QCOMPARE(creees[i].section('|', 1), hauteur + "|<|n" + QString::number(i));

        // The first deleted, every other one changed (the last twice; the
        // only one, deleted, stays so), as many added, and a key of another
        // category's constraint given.
        QHash<int, quint64> modifications;
        QHash<int, QStringList> attendues;
        for (const int nombre : {1, 2, 100}) {
            const QVector<Categories::Contrainte> lues = Categories::Contraintes(cles[nombre]);
            QVector<Categories::Contrainte> voulues;
            QStringList gardees;
            for (int i = 1; i < lues.size(); ++i) {
                voulues.append({lues[i].cle, vantail, {}, "=", "m" + lues[i].valeur});
                gardees << lues[i].cle + '|' + vantail + "|=|" + (i + 1 < lues.size() ? "m" + lues[i].valeur : "fin");
            }
            voulues.append({lues.last().cle, vantail, {}, "=", "fin"});
            voulues.append({etrangere, vantail, {}, "=", "volée"});
            voulues += nouvelles(nombre, "a");
            const Categories::CategorieLue lue{*Categories::Lire(cles[nombre]), lues};
            Enregistrement etat = Enregistrement::SupprimeAilleurs;
            modifications[nombre] = instructions([&] {
                etat = Categories::Enregistrer(cles[nombre], {QStringLiteral("Changée"), {}}, voulues, {lues.first().cle},
                                               lue)
                           .etat;
            });
            QCOMPARE(etat, Enregistrement::Fait);
            const QStringList apres = stockees(cles[nombre]);
            QCOMPARE(apres.mid(0, nombre - 1), gardees);
            QCOMPARE(apres.size(), 2 * nombre - 1);
            for (int i = 0; i < nombre; ++i) {
                QVERIFY(apres[nombre - 1 + i].section('|', 0, 0).toLongLong() > lues.last().cle.toLongLong());
                QCOMPARE(apres[nombre - 1 + i].section('|', 1), hauteur + "|<|a" + QString::number(i));
            }
        }
        QCOMPARE(modifications[100], modifications[2]);
        QCOMPARE(stockees(autre), QStringList{etrangere + '|' + hauteur + "|<|1"});
    }

    // The host's installers at a start: a thousand new ones take a statement
    // per slice of as many rows as the engine takes parameters, not one each,
    // and write what a statement per section wrote. A code given twice adds
    // one row, at the place of its first section, with the values of its
    // last; a code found on several rows adds a row per section, at every
    // start; keys follow the sections; a NULL column the file gives as empty
    // is written. A start that finds nothing to change writes nothing; changing them all
    // takes a statement per slice too; a row refused undoes the whole start.
    void poseursDeLHoteEnQuelquesInstructions()
    {
        BaseTemporaire base;
        const QString colonnes = QStringLiteral(
            "Code, Nom, Rue1, Rue2, Cp, Ville, Tel, Fax, Portable, Mail, Contact, Siret, RGE");
        const auto ajouter = [&](const QString& code, const QString& nom, const QString& rue2 = {}) {
            return QString::number(base.Executer("INSERT INTO Poseur (" + colonnes + ") VALUES (:Code, :Nom, '', "
                                                     + (rue2.isNull() ? "NULL" : "'" + rue2 + "'")
                                                     + ", '', '', '', '', '', '', '', '', '')",
                                                 {{"Code", code}, {"Nom", nom}}));
        };
        const QString p1 = ajouter("P1", "Un", "");
        const QString p2a = ajouter("P2", "a", "");
        const QString p2b = ajouter("P2", "b", "");
        const QString p3 = ajouter("P3", "Trois");
        const qint64 dernier = p3.toLongLong();
        const auto section = [](const QString& code, const QString& nom) {
            Poseurs::ValeursHote valeurs;
            valeurs[0] = code;
            valeurs[1] = nom;
            return valeurs;
        };
        // Every field its own value, so that a value in the wrong column shows.
        const auto neuf = [](int i, const QString& suffixe) {
            Poseurs::ValeursHote valeurs;
            for (int j = 0; j < Poseurs::kNombreChampsHote; ++j)
                valeurs[j] = QStringLiteral("%1-%2%3").arg(j).arg(i).arg(j == 0 ? QString() : suffixe).left(14);
            return valeurs;
        };
        QVector<Poseurs::ValeursHote> fichier = {section("P1", "Un bis"), neuf(0, {}), neuf(1, {}),
                                                 section("R", "r1"), section("P2", "x1")};
        for (int i = 2; i < 1000; ++i)
            fichier << neuf(i, {});
        fichier << section("R", "r2") << section("P2", "x2") << section("P1", "Un ter") << section("P3", "Trois");

        const auto ligne = [](const QString& cle, const Poseurs::ValeursHote& valeurs) {
            return cle + '|' + QStringList(valeurs.cbegin(), valeurs.cend()).join('|');
        };
        QStringList attendues = {ligne(p1, section("P1", "Un ter")), ligne(p2a, section("P2", "a")),
                                 ligne(p2b, section("P2", "b")), ligne(p3, section("P3", "Trois"))};
        QVector<Poseurs::ValeursHote> ajoutes = {neuf(0, {}), neuf(1, {}), section("R", "r2"), section("P2", "x1")};
        for (int i = 2; i < 1000; ++i)
            ajoutes << neuf(i, {});
        ajoutes << section("P2", "x2");
        for (qsizetype i = 0; i < ajoutes.size(); ++i)
            attendues << ligne(QString::number(dernier + 1 + i), ajoutes[i]);
        const auto lignes = [&] {
            return LignesTexte(base.Base(), "SELECT IdPoseur, " + colonnes + " FROM Poseur ORDER BY IdPoseur");
        };
        const auto instructions = [&base](const QVector<Poseurs::ValeursHote>& poseurs) {
            const quint64 avant = base.Base().Instructions();
            Poseurs::EnregistrerPoseursHote(poseurs);
            return base.Base().Instructions() - avant;
        };
        // The reads, the group, the changes and the inserts of 1004 rows, in
        // slices of as many rows as the engine takes parameters (999 on the
        // file: 14 slices; a server: 2), where a statement per row sent 1004.
        const quint64 tranches = 2 + 1004 * Poseurs::kNombreChampsHote / base.Base().ParametresMax();
        QVERIFY(instructions(fichier) <= 5 + tranches);
        QCOMPARE(lignes(), attendues);
        QCOMPARE(base.Compter("SELECT COUNT(*) FROM Poseur WHERE Rue2 IS NULL"), 0);

        QVector<Poseurs::ValeursHote> sansDouble = fichier;
        sansDouble.removeIf([](const Poseurs::ValeursHote& valeurs) { return valeurs[0] == u"P2"; });
        QCOMPARE(instructions(sansDouble), 1u);
        QCOMPARE(lignes(), attendues);

        // Every new one changed, in place.
        QVector<Poseurs::ValeursHote> changes;
        for (int i = 0; i < 1000; ++i)
            changes << neuf(i, "c");
        const QStringList avant = lignes();
        QVERIFY(instructions(changes) <= 5 + 2 * tranches);
        QStringList apres = avant;
        for (QString& poseur : apres) {
            const QString code = poseur.section('|', 1, 1);
            if (code.startsWith(u"0-"))
                poseur = ligne(poseur.section('|', 0, 0), neuf(code.mid(2).toInt(), "c"));
        }
        QCOMPARE(lignes(), apres);

        base.Refuser(QStringLiteral("UPDATE"), QStringLiteral("Poseur"), QStringLiteral("NEW.Nom = '1-500'"));
        QVERIFY_THROWS_EXCEPTION(std::exception, Poseurs::EnregistrerPoseursHote(fichier));
        QCOMPARE(lignes(), apres);
    }

    // A text of the host's wider than its column (a SIRET written with
    // spaces, a long name) is stored cut, on both back ends, and said by the
    // start that stores it only.
    void textesDeLHoteCoupes()
    {
        BaseTemporaire base;
        Poseurs::ValeursHote valeurs;
        valeurs[0] = QStringLiteral("P1");
        valeurs[1] = QString(120, u'N');
        valeurs[11] = QStringLiteral("412 385 672 00017");
        const QVector<Poseurs::TexteCoupe> coupes = Poseurs::EnregistrerPoseursHote({valeurs});
        QCOMPARE(coupes.size(), 2);
        QCOMPARE(QStringList({coupes[0].code, coupes[0].champ, QString::number(coupes[0].longueur),
                              QString::number(coupes[0].largeur)}),
                 QStringList({"P1", "Nom", "120", "100"}));
        QCOMPARE(QStringList({coupes[1].champ, QString::number(coupes[1].longueur), QString::number(coupes[1].largeur)}),
                 QStringList({"Siret", "17", "14"}));
        QCOMPARE(LignesTexte(base.Base(), "SELECT Code, Siret, LENGTH(Nom) FROM Poseur"),
                 QStringList({"P1|412 385 672 00|100"}));
        QVERIFY(Poseurs::EnregistrerPoseursHote({valeurs}).isEmpty());
    }

    // A deletion takes the record as its list read it. Deleting a category
    // takes its constraints and its tariffs with it, even when another copy
    // deleted its row first; any other deletion removes its row only. A record
    // that another copy changed since the list was read keeps everything,
    // cascades included.
    void suppressions_data()
    {
        QTest::addColumn<QString>("unite");
        QTest::addColumn<QString>("ailleurs"); // what another copy runs once the list is read
        QTest::addColumn<int>("etat");
        // types, categories, constraints, tariffs, kinds, installers, hardware
        QTest::addColumn<QStringList>("reste");
        const QStringList tout = {"T1 T2", "C1 C2", "c1a c1b c2", "11 12 21 22", "P1 P2", "X1 X2", "Q1 Q2"};
        const auto sauf = [&tout](int i, const QString& reste) {
            QStringList liste = tout;
            liste[i] = reste;
            return liste;
        };
        const QStringList sansC1 = {"T1 T2", "C2", "c2", "21 22", "P1 P2", "X1 X2", "Q1 Q2"};
        const int fait = int(Enregistrement::Fait);
        const int modifie = int(Enregistrement::ModifieAilleurs);
        const int supprime = int(Enregistrement::SupprimeAilleurs);
        QTest::newRow("catégorie") << "catégorie" << "" << fait << sansC1;
        QTest::newRow("catégorie disparue")
            << "catégorie" << "DELETE FROM Categorie WHERE Libelle = 'C1'" << supprime << sansC1;
        QTest::newRow("catégorie renommée") << "catégorie" << "UPDATE Categorie SET Libelle = 'C1b' WHERE Libelle = 'C1'"
                                            << modifie << sauf(1, "C1b C2");
        QTest::newRow("catégorie sans type")
            << "catégorie" << "UPDATE Categorie SET IdCategorieType = NULL WHERE Libelle = 'C1'" << modifie << tout;
        QTest::newRow("type") << "type" << "" << fait << sauf(0, "T2");
        QTest::newRow("type d'une autre famille")
            << "type" << "UPDATE CategorieType SET TrelvaneLibelle = '10100' WHERE Libelle = 'T1'" << modifie << tout;
        QTest::newRow("pose") << "pose" << "" << fait << sauf(4, "P2");
        QTest::newRow("pose avec TVA") << "pose" << "UPDATE Pose SET TypeTva = 1 WHERE Libelle = 'P1'" << modifie << tout;
        QTest::newRow("poseur") << "poseur" << "" << fait << sauf(5, "X2");
        QTest::newRow("poseur disparu") << "poseur" << "DELETE FROM Poseur WHERE Nom = 'X1'" << supprime
                                        << sauf(5, "X2");
        QTest::newRow("poseur d'une autre ville")
            << "poseur" << "UPDATE Poseur SET Ville = 'Lyon' WHERE Nom = 'X1'" << modifie << tout;
        QTest::newRow("quincaillerie") << "quincaillerie" << "" << fait << sauf(6, "Q2");
        QTest::newRow("quincaillerie à un autre prix")
            << "quincaillerie" << "UPDATE Quincaillerie SET TarifAchat = 2.5 WHERE Libelle = 'Q1'" << modifie << tout;
        QTest::newRow("quincaillerie sécable")
            << "quincaillerie" << "UPDATE Quincaillerie SET Secable = 1 WHERE Libelle = 'Q1'" << modifie << tout;
    }

    void suppressions()
    {
        QFETCH(QString, unite);
        QFETCH(QString, ailleurs);
        QFETCH(int, etat);
        QFETCH(QStringList, reste);
        BaseTemporaire base;
        DonneesReference donnees(base);
        const QString t1 = donnees.Type(QStringLiteral("T1"), {});
        const QString c1 = donnees.Categorie(QStringLiteral("C1"), t1);
        const QString c2 = donnees.Categorie(QStringLiteral("C2"), donnees.Type(QStringLiteral("T2"), {}));
        donnees.Contrainte(c1, QStringLiteral("HAUTEUR"), QStringLiteral("<"), QStringLiteral("c1a"));
        donnees.Contrainte(c1, QStringLiteral("LARGEUR"), QStringLiteral("<"), QStringLiteral("c1b"));
        donnees.Contrainte(c2, QStringLiteral("HAUTEUR"), QStringLiteral("<"), QStringLiteral("c2"));
        const QString p1 = donnees.Pose(QStringLiteral("P1"));
        const QString p2 = donnees.Pose(QStringLiteral("P2"));
        const QString x1 = donnees.Poseur(QStringLiteral("A"), QStringLiteral("X1"));
        const QString x2 = donnees.Poseur(QStringLiteral("B"), QStringLiteral("X2"), {"1 rue", "", "75000", "Paris"});
        donnees.Tarif(p1, c1, 11);
        donnees.Tarif(p2, c1, 12, x1);
        donnees.Tarif(p1, c2, 21, x2);
        donnees.Tarif(p2, c2, 22);
        const QString q1 = donnees.EntreeCatalogue(QStringLiteral("Q1"), QStringLiteral("un"), 10, 1.5, 1, 0.5, 0);
        donnees.EntreeCatalogue(QStringLiteral("Q2"), {}, 10, 1.5, 1, 0.5, 1);

        // The row of the record in a list.
        const auto premiere = [](const auto& lignes, const QString& cle) {
            const auto ligne = std::find_if(lignes.cbegin(), lignes.cend(), [&](const auto& l) { return l.cle == cle; });
            if (ligne == lignes.cend())
                qFatal("record not listed");
            return *ligne;
        };
        // The deletion of the record as its list reads it now.
        const auto lire = [&]() -> std::function<Enregistrement()> {
            if (unite == u"catégorie")
                return [lue = premiere(Categories::Lignes(), c1)] { return Categories::Supprimer(lue); };
            if (unite == u"type")
                return [lue = premiere(CategoriesTypes::Lister(), t1)] { return CategoriesTypes::Supprimer(lue); };
            if (unite == u"pose")
                return [lue = premiere(Poses::Lister(), p1)] { return Poses::Supprimer(lue); };
            if (unite == u"poseur")
                return [lu = premiere(Poseurs::Lister(), x1)] { return Poseurs::Supprimer(lu); };
            return [lue = premiere(CatalogueQuincaillerie::Lister(), q1)] {
                return CatalogueQuincaillerie::Supprimer(lue);
            };
        };
        const std::function<Enregistrement()> supprimer = lire();
        if (!ailleurs.isEmpty())
            base.Executer(ailleurs);
        QCOMPARE(int(supprimer()), etat);
        QCOMPARE(QStringList({Reste(base, "CategorieType", "Libelle"), Reste(base, "Categorie", "Libelle"),
                              Reste(base, "CategorieContrainte", "Valeur"), Reste(base, "Tarif", "Prix"),
                              Reste(base, "Pose", "Libelle"), Reste(base, "Poseur", "Nom"),
                              Reste(base, "Quincaillerie", "Libelle")}),
                 reste);
        // Read again, the changed record goes.
        if (etat == int(Enregistrement::ModifieAilleurs))
            QCOMPARE(lire()(), Enregistrement::Fait);
    }
};

QTEST_GUILESS_MAIN(TestUnites)
#include "tst_unites.moc"
