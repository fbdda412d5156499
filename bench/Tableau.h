#pragma once

// Runs the benchmarks of one program and turns pairs of them into rows of the
// comparison table: our time, the reference's time measured in the same run,
// their ratio and the goal. scripts/bench.sh gathers the rows of every program
// (the file named by QUARLO_BENCH_TABLEAU) and prints one table.

#include <benchmark/benchmark.h>

#include <chrono>
#include <initializer_list>
#include <string>

// A benchmark that measures its reference itself, taking turns with it,
// reports the reference's seconds per iteration in this counter; a figure
// names that time by the benchmark's name followed by kSuffixeReference.
inline constexpr const char* kCompteurReference = "reference";
inline constexpr const char* kSuffixeReference = "#reference";

struct Figure
{
    const char* libelle;    // what is measured, as the table shows it
    const char* notre;      // the name of our benchmark ("BM_LireEchange/2000")
    const char* reference;  // the name of the reference benchmark
    double objectif;        // the highest acceptable ratio; 0 when there is none
    double facteur = 1.0;   // the reference's time is multiplied by this (16 × 250 items)
};

// Runs the benchmarks selected by the command line (Google Benchmark flags),
// prints them as usual, then prints and records each figure whose two
// benchmarks ran. Times are the medians of the repetitions when there are some.
int ExecuterBancs(int argc, char** argv, std::initializer_list<Figure> figures);

// Prints a row of the table (its cells separated by tabs) and records it
// for scripts/bench.sh, for figures that are not times.
void AjouterAuTableau(const std::string& ligne);

// Runs our work and its reference in turn at every iteration, each one first
// every other time (the second finds the first's data in the processor's
// caches): on a shared machine both then see the same moments and their ratio
// holds from run to run. The iteration's time (benchmarks registered with
// UseManualTime) is ours, the reference's goes to the counter
// kCompteurReference; both are divided by parTour, the units of work one call
// does (look-ups of a block, for example). `ranger`, untimed, runs after ours
// (closing what ours opened, when only the opening is measured).
struct RienARanger
{
    void operator()() const {}
};

template <class Notre, class Reference, class Ranger = RienARanger>
void MesurerEnAlternance(benchmark::State& etat, Notre&& notre, Reference&& reference, int parTour = 1,
                         Ranger&& ranger = {})
{
    const auto duree = [](auto&& travail) {
        const auto debut = std::chrono::steady_clock::now();
        travail();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    };
    double secondesReference = 0;
    bool notreEnPremier = true;
    for (auto _ : etat) {
        double secondesNotre = 0;
        if (notreEnPremier) {
            secondesNotre = duree(notre);
            ranger();
            secondesReference += duree(reference);
        } else {
            secondesReference += duree(reference);
            secondesNotre = duree(notre);
            ranger();
        }
        notreEnPremier = !notreEnPremier;
        etat.SetIterationTime(secondesNotre / parTour);
    }
    etat.counters[kCompteurReference] = secondesReference / parTour / double(etat.iterations());
}
