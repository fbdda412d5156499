#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/setup.sh
# A compiler cache, when the machine has one, makes the build of a fresh
# clone quick; paths are taken relative to the clone so clones share it.
lanceur=()
if command -v ccache >/dev/null 2>&1; then
  lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$racine" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${lanceur[@]}"
cmake --build build --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$(nproc)" "$@"
