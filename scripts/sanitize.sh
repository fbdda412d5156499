#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (the program, the demo tool and the benchmarks are left out)
# and runs them: a memory error, a leak or an undefined behaviour stops the
# test that met it and fails the run. Arguments go to ctest, as with test.sh.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/setup.sh
source scripts/cache.sh
# Little optimisation: the build is quicker and the reports keep their lines.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" \
      -DQUARLO_SANITIZE=ON -DQUARLO_BENCH=OFF -DQUARLO_WERROR=ON "${lanceur[@]}" >/dev/null
# The tests that run a program of their own name; the others (the check of
# the folder boundaries compiles sources) have nothing to find here.
declare -A cibles
while read -r cible; do cibles[$cible]=1; done \
  < <(cmake --build build-asan --target help | sed -n 's/^\([A-Za-z0-9_]*\): .*/\1/p')
programmes=()
while read -r test; do
  if [ -n "${cibles[$test]:-}" ]; then programmes+=("$test"); fi
done < <(ctest --test-dir build-asan -N | sed -n 's/^ *Test *#[0-9]*: *//p')
cmake --build build-asan --target "${programmes[@]}" --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)" \
      -R "^($(IFS='|'; echo "${programmes[*]}"))\$" "$@"
