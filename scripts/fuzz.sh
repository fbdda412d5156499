#!/usr/bin/env bash
# scripts/fuzz.sh [seconds] [target...]
# Builds the fuzz targets with clang (build-fuzz/) and runs each one (or the
# ones named) for the given number of seconds (60 by default), starting from the examples, the
# test data and the inputs of past findings. The inputs found along the way
# stay in build-fuzz/corpus/ for the next run; an input that makes a target
# fail is saved in build-fuzz/trouvailles/ and reported. Ends with a non-zero
# code when any target failed.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

duree="${1:-60}"
cibles=(fuzz_xml fuzz_echange fuzz_ini)
[ $# -gt 1 ] && cibles=("${@:2}")

bash scripts/setup.sh
if ! command -v clang++ >/dev/null 2>&1; then
  echo "Installation de clang (libFuzzer)"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends clang
fi

lanceur=()
command -v ccache >/dev/null 2>&1 && lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DQUARLO_FUZZ=ON -DQUARLO_TESTS=OFF -DQUARLO_BENCH=OFF "${lanceur[@]}" >/dev/null
cmake --build build-fuzz --target "${cibles[@]}" --parallel "$(nproc)"

graines=(examples/demo tests/model/data fuzz/regressions)
echecs=()
for cible in "${cibles[@]}"; do
  corpus="build-fuzz/corpus/$cible"
  trouvailles="build-fuzz/trouvailles"
  mkdir -p "$corpus" "$trouvailles"
  # INI files are small; an exchange file of a few items is enough to reach
  # every branch of the reader.
  dictionnaire=fuzz/xml.dict longueur=16384
  [ "$cible" = fuzz_ini ] && dictionnaire=fuzz/ini.dict longueur=4096
  echo "== $cible : $duree s"
  if ! build-fuzz/bin/"$cible" -max_total_time="$duree" -timeout=10 -rss_limit_mb=2048 -max_len="$longueur" \
       -dict="$dictionnaire" \
       -print_final_stats=1 -artifact_prefix="$trouvailles/$cible-" \
       "$corpus" "${graines[@]}" 2>"build-fuzz/$cible.log"; then
    echecs+=("$cible")
    tail -n 30 "build-fuzz/$cible.log" | grep -vE '^(#[0-9]|MS:|base unit|0x)' || true
    echo "   journal complet : build-fuzz/$cible.log"
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "build-fuzz/$cible.log" | sed "s/^/   /" || true
done

if [ ${#echecs[@]} -gt 0 ]; then
  echo "Échec : ${echecs[*]} (entrées dans build-fuzz/trouvailles/)."
  echo "Une entrée gardée dans fuzz/regressions/ est rejouée par les tests (tst_fuzz_*)."
  exit 1
fi
echo "Aucune faute trouvée par ${cibles[*]}."
