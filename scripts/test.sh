#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: those of
# the database on both back ends, the server ones against a throwaway cluster
# started here and stopped at the end, also on failure.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/setup.sh
source scripts/cache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARLO_WERROR=ON "${lanceur[@]}"
cmake --build build --parallel "$(nproc)"
source scripts/serveur-essai.sh
demarrer_serveur_essai
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$(nproc)" "$@"
