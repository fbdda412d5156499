#pragma once

// Runs the benchmarks of one program and turns pairs of them into rows of the
// comparison table: our time, the reference's time measured in the same run,
// their ratio and the goal. scripts/bench.sh gathers the rows of every program
// (the file named by QUARLO_BENCH_TABLEAU) and prints one table.

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
