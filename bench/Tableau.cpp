#include "Tableau.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// Keeps the time of every benchmark run: the median of the repetitions when
// there are some, else the single run's time.
class Collecteur : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double secondes = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string nom = run.run_name.str();
            const auto reference = run.counters.find(kCompteurReference);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medianes[nom] = secondes;
                if (reference != run.counters.end())
                    medianes[nom + kSuffixeReference] = reference->second.value;
            } else if (run.run_type == Run::RT_Iteration) {
                uniques[nom] = secondes;
                if (reference != run.counters.end())
                    uniques[nom + kSuffixeReference] = reference->second.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds per iteration; negative when the benchmark did not run.
    double Temps(const std::string& nom) const
    {
        if (const auto trouve = medianes.find(nom); trouve != medianes.end())
            return trouve->second;
        if (const auto trouve = uniques.find(nom); trouve != uniques.end())
            return trouve->second;
        return -1.0;
    }

private:
    std::map<std::string, double> medianes;
    std::map<std::string, double> uniques;
};

std::string Temps(double secondes)
{
    char texte[32];
    if (secondes >= 1.0)
        std::snprintf(texte, sizeof texte, "%.2f s", secondes);
    else if (secondes >= 1e-3)
        std::snprintf(texte, sizeof texte, "%.1f ms", secondes * 1e3);
    else
        std::snprintf(texte, sizeof texte, "%.2f µs", secondes * 1e6);
    return texte;
}

std::string Nombre(const char* format, double valeur)
{
    char texte[32];
    std::snprintf(texte, sizeof texte, format, valeur);
    return texte;
}

} // namespace

void AjouterAuTableau(const std::string& ligne)
{
    std::printf("%s\n", ligne.c_str());
    if (const char* chemin = std::getenv("QUARLO_BENCH_TABLEAU")) {
        if (std::FILE* fichier = std::fopen(chemin, "a")) {
            std::fprintf(fichier, "%s\n", ligne.c_str());
            std::fclose(fichier);
        }
    }
}

int ExecuterBancs(int argc, char** argv, std::initializer_list<Figure> figures)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Collecteur collecteur;
    benchmark::RunSpecifiedBenchmarks(&collecteur);
    benchmark::Shutdown();

    for (const Figure& figure : figures) {
        const double notre = collecteur.Temps(figure.notre);
        const double reference = collecteur.Temps(figure.reference) * figure.facteur;
        if (notre < 0 || reference <= 0)
            continue;
        const double ratio = notre / reference;
        const std::string objectif = figure.objectif > 0 ? Nombre("≤ %.2g ×", figure.objectif) : "—";
        AjouterAuTableau(std::string(figure.libelle) + '\t' + Temps(notre) + '\t' + Temps(reference) + '\t'
                         + Nombre("%.2f ×", ratio) + '\t' + objectif);
    }
    return 0;
}
