// Costs of the database layer on an encrypted file: a bulk insert in one
// transaction, and the per-line look-up the pricing screen repeats at every
// repaint through one cached statement.

#include "engine/Base.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kLignes = 10000;

class BaseEssai
{
public:
    BaseEssai()
    {
        base.Ouvrir(dossier.filePath(QStringLiteral("bench.abs")), QByteArrayLiteral("#bench"));
        base.ExecuterScript(QStringLiteral(
            "CREATE TABLE Tarif (IdTarif INTEGER PRIMARY KEY AUTOINCREMENT, IdPose INTEGER,"
            " IdCategorie INTEGER, IdPoseur INTEGER, Prix DOUBLE)"));
    }

    void Inserer(int nombre)
    {
        Transaction transaction(base);
        Requete insertion(base);
        for (int i = 0; i < nombre; ++i) {
            insertion.SetSql(QStringLiteral("INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) "
                                            "VALUES (:IdPose, :IdCategorie, :IdPoseur, :Prix)"));
            insertion.LierEntier(QStringLiteral("IdPose"), i % 10);
            insertion.LierEntier(QStringLiteral("IdCategorie"), i);
            insertion.LierEntier(QStringLiteral("IdPoseur"), 0);
            insertion.LierDecimal(QStringLiteral("Prix"), 12.5 + i);
            insertion.Executer();
        }
        transaction.Valider();
    }

    Connexion base;

private:
    QTemporaryDir dossier;
};

void InsertionsEnUneTransaction(benchmark::State& etat)
{
    for (auto _ : etat) {
        etat.PauseTiming();
        BaseEssai essai;
        etat.ResumeTiming();
        essai.Inserer(kLignes);
    }
    etat.SetItemsProcessed(etat.iterations() * kLignes);
}
BENCHMARK(InsertionsEnUneTransaction)->Unit(benchmark::kMillisecond);

void RecherchesParametrees(benchmark::State& etat)
{
    BaseEssai essai;
    essai.Inserer(kLignes);
    Requete recherche(essai.base);
    for (auto _ : etat) {
        double total = 0;
        for (int i = 0; i < kLignes; ++i) {
            recherche.SetSql(QStringLiteral("SELECT Prix FROM Tarif WHERE IdTarif = :IdTarif"));
            recherche.LierTexte(QStringLiteral("idtarif"), QString::number(i + 1)); // keys travel as text
            total += recherche.Ouvrir().Premiere().Decimal(QStringLiteral("PRIX"));
        }
        benchmark::DoNotOptimize(total);
    }
    etat.SetItemsProcessed(etat.iterations() * kLignes);
}
BENCHMARK(RecherchesParametrees)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
