// Costs of the database layer on an encrypted file, each beside the bare
// engine doing the same work: one cached parameterised look-up, 100,000 rows
// inserted in one transaction (beside the engine's command line importing the
// same rows), and opening a database of realistic size.

#include "Tableau.h"

#include "engine/Base.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <optional>
#include <vector>

namespace {

const QByteArray kMotDePasse = QByteArrayLiteral("#bench");
constexpr int kTarifs = 10000;
constexpr int kQuincailleries = 100000;

const QString kSchemaTarif = QStringLiteral(
    "CREATE TABLE Tarif (IdTarif INTEGER PRIMARY KEY AUTOINCREMENT, IdPose INTEGER, IdCategorie INTEGER,"
    " IdPoseur INTEGER, Prix DOUBLE);"
    "CREATE INDEX TarifPoseCategoriePoseur ON Tarif (IdPose, IdCategorie, IdPoseur);");
const QString kSchemaQuincaillerie = QStringLiteral(
    "CREATE TABLE Quincaillerie (IdQuincaillerie INTEGER PRIMARY KEY AUTOINCREMENT, CodeExport VARCHAR(100),"
    " Libelle VARCHAR(100), Libelle2 VARCHAR(100), TarifVente DOUBLE, TarifAchat DOUBLE, NbPieces DOUBLE,"
    " NbPiecesML DOUBLE, Secable INTEGER)");

// The price of a tariff line by its key, which travels as text: a look-up
// cheap enough for the layer's own cost to show. The look-ups run inside one
// transaction (BaseTarifs): outside, each one would read and decrypt the
// file's pages again, which would hide what the layer itself costs.
const QString kSqlPrixReference = QStringLiteral("SELECT Prix FROM Tarif WHERE IdTarif = :IdTarif");

class Dossier
{
public:
    QString Chemin(const QString& nom) const { return dossier.filePath(nom); }

private:
    QTemporaryDir dossier;
};

void RemplirTarifs(Connexion& base, int nombre)
{
    Transaction transaction(base);
    Requete insertion(base);
    for (int i = 0; i < nombre; ++i) {
        insertion.SetSql(QStringLiteral("INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) "
                                        "VALUES (:IdPose, :IdCategorie, :IdPoseur, :Prix)"));
        insertion.LierEntier(QStringLiteral("IdPose"), i % 10);
        insertion.LierEntier(QStringLiteral("IdCategorie"), i / 20);
        insertion.LierEntier(QStringLiteral("IdPoseur"), i % 2);
        insertion.LierDecimal(QStringLiteral("Prix"), 12.5 + i);
        insertion.Executer();
    }
    transaction.Valider();
}

// A database of tariffs, open, in which the look-ups run inside one transaction.
class BaseTarifs
{
public:
    BaseTarifs()
    {
        base.Ouvrir(dossier.Chemin(QStringLiteral("tarifs.abs")), kMotDePasse);
        base.ExecuterScript(kSchemaTarif);
        RemplirTarifs(base, kTarifs);
        lecture.emplace(base);
    }
    Connexion base;

private:
    Dossier dossier;
    std::optional<Transaction> lecture;
};

double Prix(Requete& recherche, const QString& cle)
{
    recherche.SetSql(kSqlPrixReference);
    recherche.LierTexte(QStringLiteral("IdTarif"), cle);
    const Resultat& lignes = recherche.Ouvrir();
    return lignes.EstVide() ? 0.0 : lignes.Premiere().Decimal(QStringLiteral("Prix"));
}

// How the bare statement reads its result. A query returns all its rows, so
// the reference reads them all as any caller wanting them must: it steps until
// the engine reports the end. Stopping at the first row, possible only when
// the caller knows there is at most one, is measured too.
enum class Lecture { JusquALaFin, PremiereLigneSeule };

// The same look-up by key made three ways on one database: through a Requete
// kept from one look-up to the next, through a new Requete each time (what the
// pricing screen's painting does), and on a bare statement prepared once.
class Recherches
{
public:
    Recherches() : requete(tarifs.base)
    {
        for (int i = 0; i < kNombreCles; ++i) {
            cles.push_back(QString::number(1 + (i * 7919) % kTarifs));
            clesUtf8.push_back(cles.back().toUtf8());
        }
        const QByteArray sql = kSqlPrixReference.toUtf8();
        sqlite3_prepare_v2(tarifs.base.Handle(), sql.constData(), int(sql.size()), &nue, nullptr);
        indiceCle = sqlite3_bind_parameter_index(nue, ":IdTarif");
    }
    ~Recherches() { sqlite3_finalize(nue); }
    Recherches(const Recherches&) = delete;
    Recherches& operator=(const Recherches&) = delete;

    static constexpr int kNombreCles = 1000;

    double ParRequete(int i) { return Prix(requete, cles[i]); }

    double ParNouvelleRequete(int i)
    {
        Requete nouvelle(tarifs.base);
        return Prix(nouvelle, cles[i]);
    }

    double ParInstructionNue(int i, Lecture lecture)
    {
        const QByteArray& cle = clesUtf8[i];
        sqlite3_bind_text(nue, indiceCle, cle.constData(), int(cle.size()), SQLITE_STATIC);
        double prix = 0;
        while (sqlite3_step(nue) == SQLITE_ROW) {
            prix += sqlite3_column_double(nue, 0);
            if (lecture == Lecture::PremiereLigneSeule)
                break;
        }
        sqlite3_reset(nue);
        return prix;
    }

private:
    BaseTarifs tarifs;
    Requete requete;
    std::vector<QString> cles;
    std::vector<QByteArray> clesUtf8;
    sqlite3_stmt* nue = nullptr;
    int indiceCle = 0;
};

// The look-ups are timed by blocks of kBloc, taking turns with the reference
// (MesurerEnAlternance); both sides take the same keys in the same order.
constexpr int kBloc = 16;
constexpr int kTours = 20000;

template <class Notre, class Reference>
void EnAlternance(benchmark::State& etat, Notre notre, Reference reference)
{
    Recherches recherches;
    double total = 0;
    const auto bloc = [&](auto recherche) {
        return [&, recherche, debut = 0]() mutable {
            for (int k = 0; k < kBloc; ++k)
                total += recherche(recherches, (debut + k) % Recherches::kNombreCles);
            debut = (debut + kBloc) % Recherches::kNombreCles;
        };
    };
    MesurerEnAlternance(etat, bloc(notre), bloc(reference), kBloc);
    benchmark::DoNotOptimize(total);
}

double ParRequete(Recherches& r, int i)
{
    return r.ParRequete(i);
}

double ParNouvelleRequete(Recherches& r, int i)
{
    return r.ParNouvelleRequete(i);
}

double NueJusquALaFin(Recherches& r, int i)
{
    return r.ParInstructionNue(i, Lecture::JusquALaFin);
}

double NuePremiereLigne(Recherches& r, int i)
{
    return r.ParInstructionNue(i, Lecture::PremiereLigneSeule);
}

void BM_RequeteEnCache(benchmark::State& etat)
{
    EnAlternance(etat, ParRequete, NueJusquALaFin);
}

void BM_RequeteEnCacheContrePremiereLigne(benchmark::State& etat)
{
    EnAlternance(etat, ParRequete, NuePremiereLigne);
}

void BM_RequeteNouvelle(benchmark::State& etat)
{
    EnAlternance(etat, ParNouvelleRequete, NueJusquALaFin);
}

struct LigneQuincaillerie
{
    QString codeExport, libelle, libelle2;
    double tarifVente, tarifAchat, nbPieces, nbPiecesMl;
    int secable;
};

const std::vector<LigneQuincaillerie>& Quincailleries()
{
    static const std::vector<LigneQuincaillerie> lignes = [] {
        std::vector<LigneQuincaillerie> l;
        l.reserve(kQuincailleries);
        for (int i = 0; i < kQuincailleries; ++i)
            l.push_back({QStringLiteral("Q%1").arg(i, 6, 10, QLatin1Char('0')),
                         QStringLiteral("Vis inox %1 mm tête fraisée").arg(3 + i % 20),
                         QStringLiteral("Boîte de %1").arg(50 + i % 200), 12.5 + i % 100, 6.25 + i % 50,
                         double(50 + i % 200), double(1 + i % 8), i % 2});
        return l;
    }();
    return lignes;
}

// An empty database holding the hardware table, copied for every run.
class BaseQuincaillerieVide
{
public:
    BaseQuincaillerieVide()
    {
        Connexion base;
        base.Ouvrir(Modele(), kMotDePasse);
        base.ExecuterScript(kSchemaQuincaillerie);
    }
    QString Modele() const { return dossier.Chemin(QStringLiteral("modele.abs")); }
    QString Copie(const QString& nom) const
    {
        const QString chemin = dossier.Chemin(nom);
        QFile::remove(chemin);
        QFile::copy(Modele(), chemin);
        return chemin;
    }
    QString Chemin(const QString& nom) const { return dossier.Chemin(nom); }

private:
    Dossier dossier;
};

void BM_InsertionsEnUneTransaction(benchmark::State& etat)
{
    const BaseQuincaillerieVide modele;
    const std::vector<LigneQuincaillerie>& lignes = Quincailleries();
    for (auto _ : etat) {
        etat.PauseTiming();
        Connexion base;
        base.Ouvrir(modele.Copie(QStringLiteral("essai.abs")), kMotDePasse);
        etat.ResumeTiming();
        Transaction transaction(base);
        Requete insertion(base);
        for (const LigneQuincaillerie& ligne : lignes) {
            insertion.SetSql(QStringLiteral(
                "INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces,"
                " NbPiecesML, Secable) VALUES (:CodeExport, :Libelle, :Libelle2, :TarifVente, :TarifAchat,"
                " :NbPieces, :NbPiecesML, :Secable)"));
            insertion.LierTexte(QStringLiteral("CodeExport"), ligne.codeExport);
            insertion.LierTexte(QStringLiteral("Libelle"), ligne.libelle);
            insertion.LierTexte(QStringLiteral("Libelle2"), ligne.libelle2);
            insertion.LierDecimal(QStringLiteral("TarifVente"), ligne.tarifVente);
            insertion.LierDecimal(QStringLiteral("TarifAchat"), ligne.tarifAchat);
            insertion.LierDecimal(QStringLiteral("NbPieces"), ligne.nbPieces);
            insertion.LierDecimal(QStringLiteral("NbPiecesML"), ligne.nbPiecesMl);
            insertion.LierEntier(QStringLiteral("Secable"), ligne.secable);
            insertion.Executer();
        }
        transaction.Valider();
    }
    etat.SetItemsProcessed(etat.iterations() * kQuincailleries);
}

// Runs the engine's command line on a copy of the empty database; returns the
// seconds it took, or a negative number when it failed.
double CommandeSqlcipher(const QString& programme, const QString& base, const QByteArray& commandes)
{
    QProcess processus;
    QElapsedTimer chrono;
    chrono.start();
    processus.start(programme, {base});
    processus.write("PRAGMA key = '" + kMotDePasse + "';\n" + commandes);
    processus.closeWriteChannel();
    if (!processus.waitForFinished(120000) || processus.exitCode() != 0
        || !processus.readAllStandardError().isEmpty())
        return -1.0;
    return chrono.nsecsElapsed() * 1e-9;
}

// The same rows as a CSV file (with their keys, which the command line
// cannot leave to the engine), imported into the same schema in one
// transaction. The time of a run that only opens the file with its key is
// taken off, so both sides count the inserts alone.
void BM_ImportLigneDeCommande(benchmark::State& etat)
{
    const QString programme = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (programme.isEmpty()) {
        etat.SkipWithError("sqlcipher command line not installed");
        return;
    }
    const BaseQuincaillerieVide modele;
    const QString csv = modele.Chemin(QStringLiteral("quincaillerie.csv"));
    {
        QFile fichier(csv);
        fichier.open(QIODevice::WriteOnly);
        QTextStream sortie(&fichier);
        int id = 0;
        for (const LigneQuincaillerie& l : Quincailleries())
            sortie << ++id << ',' << l.codeExport << ",\"" << l.libelle << "\",\"" << l.libelle2 << "\","
                   << l.tarifVente << ',' << l.tarifAchat << ',' << l.nbPieces << ',' << l.nbPiecesMl << ','
                   << l.secable << '\n';
    }
    const QByteArray import = ".mode csv\n.import " + csv.toUtf8() + " Quincaillerie\n";
    const QByteArray cleSeule = "SELECT count(*) FROM sqlite_master;\n";
    for (auto _ : etat) {
        const double avecImport = CommandeSqlcipher(programme, modele.Copie(QStringLiteral("import.abs")), import);
        const double ouverture = CommandeSqlcipher(programme, modele.Copie(QStringLiteral("cle.abs")), cleSeule);
        if (avecImport < 0 || ouverture < 0) {
            etat.SkipWithError("the command line failed");
            return;
        }
        etat.SetIterationTime(std::max(avecImport - ouverture, 1e-6));
    }
    Connexion verification;
    verification.Ouvrir(modele.Chemin(QStringLiteral("import.abs")), kMotDePasse);
    Requete compte(verification);
    compte.SetSql(QStringLiteral("SELECT count(*) AS n FROM Quincaillerie"));
    if (compte.Ouvrir().Premiere().Entier(QStringLiteral("n")) != kQuincailleries)
        etat.SkipWithError("the command line did not import every row");
    etat.SetItemsProcessed(etat.iterations() * kQuincailleries);
}

// A database of the size a customer keeps: kinds, installers, categories and
// their constraints, tariffs and the hardware catalogue.
class BaseRealiste
{
public:
    BaseRealiste()
    {
        Connexion base;
        base.Ouvrir(Chemin(), kMotDePasse);
        base.ExecuterScript(kSchemaTarif + kSchemaQuincaillerie + QStringLiteral(
            ";CREATE TABLE Categorie (IdCategorie INTEGER PRIMARY KEY AUTOINCREMENT, Libelle VARCHAR(100),"
            " IdCategorieType INTEGER);"
            "CREATE TABLE CategorieContrainte (IdCategorieContrainte INTEGER PRIMARY KEY AUTOINCREMENT,"
            " IdCategorie INTEGER, IdOperande INTEGER, Operateur VARCHAR(10), Valeur VARCHAR(100));"));
        RemplirTarifs(base, kTarifs);
        Transaction transaction(base);
        Requete insertion(base);
        for (int i = 0; i < 5000; ++i) {
            insertion.SetSql(QStringLiteral("INSERT INTO Categorie (Libelle, IdCategorieType) VALUES (:L, :T)"));
            insertion.LierTexte(QStringLiteral("L"), QStringLiteral("Fenêtre PVC %1 vantaux, hauteur %2").arg(i % 4).arg(i));
            insertion.LierEntier(QStringLiteral("T"), i % 12);
            insertion.Executer();
            for (int c = 0; c < 4; ++c) {
                insertion.SetSql(QStringLiteral("INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur,"
                                                " Valeur) VALUES (:C, :O, '<=', :V)"));
                insertion.LierEntier(QStringLiteral("C"), i + 1);
                insertion.LierEntier(QStringLiteral("O"), 1 + c);
                insertion.LierTexte(QStringLiteral("V"), QString::number(600 + 50 * c + i % 900));
                insertion.Executer();
            }
        }
        for (const LigneQuincaillerie& ligne : Quincailleries()) {
            if (ligne.codeExport == QStringLiteral("Q005000"))
                break;
            insertion.SetSql(QStringLiteral("INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente)"
                                            " VALUES (:C, :L, :L2, :P)"));
            insertion.LierTexte(QStringLiteral("C"), ligne.codeExport);
            insertion.LierTexte(QStringLiteral("L"), ligne.libelle);
            insertion.LierTexte(QStringLiteral("L2"), ligne.libelle2);
            insertion.LierDecimal(QStringLiteral("P"), ligne.tarifVente);
            insertion.Executer();
        }
        transaction.Valider();
    }
    QString Chemin() const { return dossier.Chemin(QStringLiteral("realiste.abs")); }

private:
    Dossier dossier;
};

const BaseRealiste& Realiste()
{
    static const BaseRealiste base;
    return base;
}

void BM_OuvrirBase(benchmark::State& etat)
{
    const QString chemin = Realiste().Chemin();
    for (auto _ : etat) {
        Connexion base;
        base.Ouvrir(chemin, kMotDePasse);
    }
    etat.counters["octets"] = double(QFile(chemin).size());
}

// Opening with the key and reading the first page, which is all the engine
// does before the first query.
void BM_OuvrirBaseNue(benchmark::State& etat)
{
    const QByteArray chemin = Realiste().Chemin().toUtf8();
    for (auto _ : etat) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(chemin.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_key(db, kMotDePasse.constData(), int(kMotDePasse.size()));
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}

} // namespace

BENCHMARK(BM_RequeteEnCache)->UseManualTime()->Iterations(kTours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RequeteNouvelle)->UseManualTime()->Iterations(kTours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RequeteEnCacheContrePremiereLigne)->UseManualTime()->Iterations(kTours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertionsEnUneTransaction)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportLigneDeCommande)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OuvrirBase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OuvrirBaseNue)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return ExecuterBancs(
        argc, argv,
        {
            {"one cached parameterised query (Requete, same text) vs a bare reused sqlite statement",
             "BM_RequeteEnCache/iterations:20000/manual_time",
             "BM_RequeteEnCache/iterations:20000/manual_time#reference", 1.3},
            {"the same vs a bare statement stopping at the first row (no end-of-result step)",
             "BM_RequeteEnCacheContrePremiereLigne/iterations:20000/manual_time",
             "BM_RequeteEnCacheContrePremiereLigne/iterations:20000/manual_time#reference", 0},
            {"the same query through a new Requete each time vs a bare reused sqlite statement",
             "BM_RequeteNouvelle/iterations:20000/manual_time",
             "BM_RequeteNouvelle/iterations:20000/manual_time#reference", 0},
            {"100,000 hardware rows in one transaction (Requete) vs sqlcipher .import of the same CSV",
             "BM_InsertionsEnUneTransaction", "BM_ImportLigneDeCommande/manual_time", 1.5},
            {"open a realistic database: key and quick_check vs key and first page alone", "BM_OuvrirBase",
             "BM_OuvrirBaseNue", 0},
        });
}
