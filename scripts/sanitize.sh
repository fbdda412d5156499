#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (the program, the demo tool and the benchmarks are left out)
# and runs them: a memory error, a leak or an undefined behaviour stops the
# test that met it and fails the run. Arguments go to ctest, as with test.sh.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/setup.sh
# Little optimisation: the build is quicker and the reports keep their lines.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" \
      -DQUARLO_SANITIZE=ON -DQUARLO_BENCH=OFF >/dev/null
# Each test has the name of its program.
mapfile -t tests < <(ctest --test-dir build-asan -N | sed -n 's/^ *Test *#[0-9]*: *//p')
cmake --build build-asan --target "${tests[@]}" --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)" "$@"
