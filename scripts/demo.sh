#!/usr/bin/env bash
# Builds the program, prepares demo/ beside the build (the program, its logo, a
# demo configuration, a demo quote and a demo database) and starts the pricing
# screen on it, as the host would.
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Aucun affichage graphique : la démonstration ouvre des fenêtres."
  if command -v xvfb-run >/dev/null 2>&1; then
    echo "Lancez-la dans un affichage virtuel :"
    echo "  xvfb-run -a scripts/demo.sh"
    echo "ou depuis une session de bureau."
  else
    echo "Lancez-la depuis une session de bureau, ou installez Xvfb (scripts/setup.sh)"
    echo "puis : xvfb-run -a scripts/demo.sh"
  fi
  exit 1
fi

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target Quarlo PreparerDemo --parallel "$(nproc)"

demo="$racine/demo"
mkdir -p "$demo"
cp build/bin/Quarlo resources/Quarlo.bmp examples/demo/Config.ini "$demo/"
# A fresh quote each time: the pricing screen writes its answer over it.
cp examples/demo/Devis.xml "$demo/Devis.xml"
build/bin/PreparerDemo "$demo" examples/demo/Config.ini examples/demo/reference.sql

echo "Démarrage : $demo/Quarlo CREATION $demo/Config.ini $demo/Devis.xml"
code=0
# The host's machines use French regional settings: the demo's amounts and
# rates ("5,5") are written that way.
LC_ALL=fr_FR.UTF-8 "$demo/Quarlo" CREATION "$demo/Config.ini" "$demo/Devis.xml" || code=$?
echo "Quarlo terminé (code $code). Fichier d'échange : $demo/Devis.xml ; archives : $demo/Xml/."
exit "$code"
