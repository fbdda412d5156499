#!/usr/bin/env bash
# Renders the pricing screen on the demo quote and the administration hub on
# the demo database, offscreen on a 1366 x 768 laptop screen at 100 %, to the
# README's images in docs/images/.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/setup.sh
source scripts/cache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${lanceur[@]}" >/dev/null
cmake --build build --target CapturerEcrans --parallel "$(nproc)"
QT_QPA_PLATFORM="offscreen:configfile=$racine/tests/common/ecran_portable.json" QT_SCALE_FACTOR=1 \
  LC_ALL=fr_FR.UTF-8 build/bin/CapturerEcrans docs/images
