#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: those of
# the database on both back ends, the server ones against a throwaway cluster
# that CTest starts before them and stops after them, also on failure.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/setup.sh
source scripts/cache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARLO_WERROR=ON "${lanceur[@]}"
cmake --build build --parallel "$(nproc)"
# The server tests' throwaway cluster is CTest's fixture (tests/CMakeLists.txt).
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$(nproc)" "$@"
