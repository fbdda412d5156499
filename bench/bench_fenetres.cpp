// Windows over a database of realistic size, each beside the least work that
// shows the same thing: the pricing list repainted with its red price signal
// (beside the bare look-ups and the same painting without the signal), and the
// categories list opened (beside its two SELECTs).

#include "Tableau.h"

#include "data/DMPose.h"
#include "engine/Base.h"
#include "model/Echange.h"
#include "model/Tarif.h"
#include "pricing/SessionChiffrage.h"
#include "ui/admin/FicheCategorieListe.h"
#include "ui/common/DossierProgramme.h"
#include "ui/pricing/DelegateLigne.h"
#include "ui/pricing/ModelesChiffrage.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <vector>

namespace {

constexpr int kPoses = 20;
constexpr int kCategoriesTarifees = 100;
constexpr int kPoseurs = 5;        // the general price (installer 0) and four installers
constexpr int kLignesGrille = 2000; // kPoses × kCategoriesTarifees general tariffs
constexpr int kContraintesParCategorie = 4;
constexpr int kTypesCategorie = 40;

// The price of a line's general tariff, as the pricing screen looks it up.
const char* const kSqlPrixGeneral = "SELECT t1.Prix FROM Tarif t1, Tarif t2"
                                    " where t2.Idtarif = :IdTarif"
                                    " and t1.IdPose = t2.IdPose"
                                    " and t1.IdCategorie = t2.IdCategorie "
                                    " and t1.IdPoseur = 0";

// A program folder with a fresh, up-to-date Quarlo.abs.
class Programme
{
public:
    Programme()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        SetDossierProgramme(dossier.path() + QLatin1Char('/'));
        dm.SetNomFichier(dossier.filePath(QStringLiteral("Quarlo.abs")));
        dm.Ouvrir();
        dm.RestructureBase();
    }
    ~Programme()
    {
        dm.Fermer();
        SetDossierProgramme(QString());
    }
    Connexion& Base() { return dm.Quarlo(); }

    // Runs one statement for every i below nombre, in one transaction.
    template <class Lier>
    void Inserer(const QString& sql, int nombre, Lier lier)
    {
        Transaction transaction(Base());
        Requete insertion(Base());
        for (int i = 0; i < nombre; ++i) {
            insertion.SetSql(sql);
            lier(insertion, i);
            insertion.Executer();
        }
        transaction.Valider();
    }

private:
    QTemporaryDir dossier;
    TDMPose dm;
};

double PrixTarif(int i)
{
    return 100.0 + i % 997;
}

// 10,000 tariff rows; the lines of the grid are the 2,000 general ones, every
// other one priced differently from the database (red).
class GrilleTarifee
{
public:
    GrilleTarifee()
    {
        programme.Inserer(QStringLiteral("INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix)"
                                         " VALUES (:IdPose, :IdCategorie, :IdPoseur, :Prix)"),
                          kPoses * kCategoriesTarifees * kPoseurs, [](Requete& insertion, int i) {
                              insertion.LierEntier(QStringLiteral("IdPoseur"), i % kPoseurs);
                              insertion.LierEntier(QStringLiteral("IdCategorie"), 1 + (i / kPoseurs) % kCategoriesTarifees);
                              insertion.LierEntier(QStringLiteral("IdPose"), 1 + i / (kPoseurs * kCategoriesTarifees));
                              insertion.LierDecimal(QStringLiteral("Prix"), PrixTarif(i));
                          });
        // One item of the session holds the lines; the pricing list shows them.
        DevisEchange devis;
        TTarifs& tarifs = devis.menuiseries.Ajouter(std::make_unique<TMenuiserie>()).GetTarifs();
        for (int ligne = 0; ligne < kLignesGrille; ++ligne) {
            const int i = ligne * kPoseurs; // the general tariff of the row
            TTarif& tarif = tarifs.Ajouter(std::make_unique<TTarif>());
            tarif.SetId(QString::number(i + 1));
            tarif.SetLibelle(QStringLiteral("Fenêtre PVC %1").arg(ligne));
            tarif.SetPrix(ligne % 2 ? PrixTarif(i) + 1 : PrixTarif(i));
        }
        session.PrendreDevis(std::move(devis));
        session.SetMenuiserieCourante(0);
        for (QTreeView* liste : {static_cast<QTreeView*>(&vue), &vueSignal}) {
            liste->setRootIsDecorated(false);
            liste->setUniformRowHeights(true);
            new TDelegateLigne(liste);
            liste->resize(500, 400);
        }
        vueSignal.setModel(&modele);
        modele.SuivreRepeintes(&vueSignal);
        vueSignal.show();

        vue.setColumnCount(5);
        QList<QTreeWidgetItem*> lignes;
        for (int ligne = 0; ligne < kLignesGrille; ++ligne)
            lignes.append(new QTreeWidgetItem(QStringList{QStringLiteral("Fenêtre PVC %1").arg(ligne),
                                                          QStringLiteral("0,00"), QStringLiteral("100,00"),
                                                          QStringLiteral("20,00"), QStringLiteral("120,00")}));
        vue.addTopLevelItems(lignes);
        vue.show();
        QApplication::processEvents();
    }

    Connexion& Base() { return programme.Base(); }
    const TTarifs& Tarifs() const { return session.GetMenuiseries()[0].GetTarifs(); }
    // The pricing list of the screen: the lines model with its price signal.
    QTreeView& VueAvecSignal() { return vueSignal; }
    // The same texts and painting, with nothing to look up.
    QTreeView& VueSansSignal() { return vue; }

    // Paints every row once, a viewport's height at a time, as scrolling
    // down the whole list does.
    static void RepeindreTout(QTreeView& liste)
    {
        QImage image(liste.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        const QAbstractItemModel& lignes = *liste.model();
        const int parPage = qMax(1, liste.viewport()->height() / liste.visualRect(lignes.index(0, 0)).height());
        for (int premiere = 0; premiere < kLignesGrille; premiere += parPage) {
            liste.scrollTo(lignes.index(premiere, 0), QAbstractItemView::PositionAtTop);
            liste.viewport()->render(&image);
        }
    }

private:
    Programme programme;
    TSessionChiffrage session{DossierProgramme()};
    TModeleTarifs modele{session, nullptr};
    QTreeView vueSignal;
    QTreeWidget vue;
};

void BM_RepeindreAvecSignal(benchmark::State& etat)
{
    GrilleTarifee grille;
    for (auto _ : etat)
        GrilleTarifee::RepeindreTout(grille.VueAvecSignal());
}

// Each line's look-up on a statement prepared once, then the same painting
// with nothing to look up.
void BM_RecherchesNuesEtDessin(benchmark::State& etat)
{
    GrilleTarifee grille;
    std::vector<QByteArray> cles;
    for (const TTarif& tarif : grille.Tarifs())
        cles.push_back(tarif.GetId().toUtf8());
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(grille.Base().Handle(), kSqlPrixGeneral, -1, &stmt, nullptr);
    const int indice = sqlite3_bind_parameter_index(stmt, ":IdTarif");
    double total = 0;
    for (auto _ : etat) {
        for (const QByteArray& cle : cles) {
            sqlite3_bind_text(stmt, indice, cle.constData(), int(cle.size()), SQLITE_STATIC);
            if (sqlite3_step(stmt) == SQLITE_ROW)
                total += sqlite3_column_double(stmt, 0);
            sqlite3_reset(stmt);
        }
        GrilleTarifee::RepeindreTout(grille.VueSansSignal());
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(total);
}

// Categories named in no particular order, under kTypesCategorie types, each
// with its constraints.
class BaseCategories
{
public:
    explicit BaseCategories(int nombre)
    {
        programme.Inserer(QStringLiteral("INSERT INTO CategorieType (Libelle, TrelvaneLibelle) VALUES (:Libelle, '10101')"),
                          kTypesCategorie, [](Requete& insertion, int i) {
                              insertion.LierTexte(QStringLiteral("Libelle"), QStringLiteral("Fenêtre série %1").arg(i));
                          });
        programme.Inserer(QStringLiteral("INSERT INTO Categorie (Libelle, IdCategorieType) VALUES (:Libelle, :Type)"),
                          nombre, [nombre](Requete& insertion, int i) {
                              const int rang = int((i * 7919LL) % nombre);
                              insertion.LierTexte(QStringLiteral("Libelle"),
                                                  QStringLiteral("%1 Élément %2").arg(rang % 2 ? QStringLiteral("pvc") : QStringLiteral("Alu")).arg(rang));
                              insertion.LierEntier(QStringLiteral("Type"), 1 + i % kTypesCategorie);
                          });
        programme.Inserer(QStringLiteral("INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)"
                                         " VALUES (:IdCategorie, :IdOperande, '<=', :Valeur)"),
                          nombre * kContraintesParCategorie, [](Requete& insertion, int i) {
                              insertion.LierEntier(QStringLiteral("IdCategorie"), 1 + i / kContraintesParCategorie);
                              insertion.LierEntier(QStringLiteral("IdOperande"), 1 + i % kContraintesParCategorie);
                              insertion.LierTexte(QStringLiteral("Valeur"), QString::number(1000 + i % 1500));
                          });
    }
    Connexion& Base() { return programme.Base(); }

private:
    Programme programme;
};

std::unique_ptr<TFicheCategorieListe> OuvrirListeCategories()
{
    auto fiche = std::make_unique<TFicheCategorieListe>(nullptr);
    benchmark::DoNotOptimize(fiche->findChild<QTreeWidget*>(QStringLiteral("lvListe"))->topLevelItemCount());
    return fiche;
}

void BM_OuvrirListeCategories(benchmark::State& etat)
{
    BaseCategories base(int(etat.range(0)));
    for (auto _ : etat) {
        auto fiche = OuvrirListeCategories();
        // Opening is measured, not closing.
        etat.PauseTiming();
        fiche.reset();
        etat.ResumeTiming();
    }
}

// The list's two SELECTs through the database layer, every value read as text.
class SelectsCategories
{
public:
    explicit SelectsCategories(Connexion& base) : requete(base) {}

    void operator()()
    {
        qsizetype taille = 0;
        for (const QString& sql : {sqlTypes, sqlCategories}) {
            requete.SetSql(sql);
            for (const Ligne& ligne : requete.Ouvrir()) {
                for (int colonne = 0; colonne < ligne.NombreColonnes(); ++colonne)
                    taille += ligne.ValeurIndice(colonne).toString().size();
            }
            requete.Fermer();
        }
        benchmark::DoNotOptimize(taille);
    }

private:
    const QString sqlTypes = QStringLiteral("SELECT IdCategorieType, Libelle FROM CategorieType ORDER BY Libelle ASC");
    const QString sqlCategories =
        QStringLiteral("SELECT IdCategorie, Libelle, IdCategorieType FROM Categorie ORDER BY Libelle ASC");
    Requete requete;
};

// Opening the list taking turns with its two SELECTs.
void BM_ListeContreSelects(benchmark::State& etat)
{
    BaseCategories base(int(etat.range(0)));
    SelectsCategories selects(base.Base());
    std::unique_ptr<TFicheCategorieListe> fiche;
    MesurerEnAlternance(
        etat, [&] { fiche = OuvrirListeCategories(); }, selects, 1, [&] { fiche.reset(); });
}

} // namespace

BENCHMARK(BM_RepeindreAvecSignal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecherchesNuesEtDessin)->Unit(benchmark::kMillisecond);
// 1,250 to 10,000 categories: the time must grow in proportion.
BENCHMARK(BM_OuvrirListeCategories)->Arg(1250)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListeContreSelects)->Arg(5000)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return ExecuterBancs(
        argc, argv,
        {
            {"repaint every row of a 2,000-line grid with the red signal, 10,000 tariff rows vs 2,000 bare"
             " prepared look-ups + the same paint without signal",
             "BM_RepeindreAvecSignal", "BM_RecherchesNuesEtDessin", 1.5},
            {"open the categories list, 5,000 categories / 20,000 constraints vs its two SELECTs through Requete",
             "BM_ListeContreSelects/5000/manual_time", "BM_ListeContreSelects/5000/manual_time#reference", 2.0},
            {"open the list of 10,000 categories vs 8 x 1,250", "BM_OuvrirListeCategories/10000",
             "BM_OuvrirListeCategories/1250", 1.5, 8},
        });
}
