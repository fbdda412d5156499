#!/usr/bin/env bash
# Builds the benchmarks in Release (folder build-bench) and prints one table:
# each figure of ours beside its reference measured in the same run, their
# ratio and the goal. The references (pugixml, the sqlcipher command line)
# serve the benchmarks only and are installed here when missing.
# Extra arguments go to every benchmark program (for example
# --benchmark_filter=Lire or --benchmark_repetitions=9).
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/setup.sh
manquants=()
for paquet in libbenchmark-dev libpugixml-dev sqlcipher; do
  dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed" || manquants+=("$paquet")
done
if [ ${#manquants[@]} -gt 0 ]; then
  echo "Installation de : ${manquants[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${manquants[@]}"
fi

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARLO_TESTS=OFF -DQUARLO_BENCH=ON > /dev/null
cmake --build build-bench --parallel "$(nproc)" \
  --target bench_base bench_echange bench_import_quincaillerie bench_fenetres bench_memoire bench_instructions

# Files go to memory when it can hold them: the figures are the programs'
# work, not the disk's.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
tableau="$(mktemp)"
trap 'rm -f "$tableau"' EXIT
export QUARLO_BENCH_TABLEAU="$tableau"
for programme in build-bench/bin/bench_echange build-bench/bin/bench_base build-bench/bin/bench_import_quincaillerie \
  build-bench/bin/bench_fenetres; do
  "$programme" --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true "$@"
done
# Peak memory is a figure of a whole process: this program opens the
# pricing screen in processes of its own.
QT_QPA_PLATFORM=offscreen build-bench/bin/bench_memoire
# Statements per action of the pricing screen, on the file and on a
# throwaway server, directly and with every packet delayed by 1 ms.
source scripts/serveur-essai.sh
demarrer_serveur_essai
trap 'arreter_serveur_essai; rm -f "$tableau"' EXIT
QT_QPA_PLATFORM=offscreen build-bench/bin/bench_instructions

echo
echo "Machine : $(nproc) cœurs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
{
  printf 'figure\tours\treference\tratio\tgoal\n'
  cat "$tableau"
} | column -t -s $'\t'
