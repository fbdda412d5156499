#!/usr/bin/env bash
# The Windows package as a user meets it: unzipped under Wine into a folder
# whose path holds a space and accents, on the demo configuration, quote and
# database made by the Linux programs (Windows-1252, CR LF), in a virtual
# display with a French regional setting. The same keys price the quote with
# the Linux program and with Quarlo.exe; the two answers must be the same
# bytes. Screenshots of the pricing screen at 100 % and 150 % and of the
# administration hub go to build-windows/ecrans/.
#
#   scripts/windows-ecran.sh    (after scripts/windows.sh)
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

cache="${QUARLO_CACHE_WINDOWS:-$HOME/.cache/quarlo-windows}"
version=$(sed -n 's/^project(Quarlo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
paquet="$racine/dist/Quarlo-$version-windows-x64.zip"
[ -f "$paquet" ] || { echo "Pas de $paquet : lancez d'abord scripts/windows.sh."; exit 1; }

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target Quarlo PreparerDemo --parallel "$(nproc)"
locale -a | grep -qx fr_FR.utf8 || localedef -i fr_FR -f UTF-8 fr_FR.UTF-8

travail=$(mktemp -d /tmp/quarlo-ecran.XXXXXX)
ecrans="$racine/build-windows/ecrans"
mkdir -p "$ecrans"
export LC_ALL=fr_FR.UTF-8

# -- A display of a 1366 x 768 laptop --------------------------------------------
ecran=:$((50 + RANDOM % 100))
Xvfb "$ecran" -screen 0 1366x768x24 >/dev/null 2>&1 &
serveurX=$!
trap 'kill $serveurX 2>/dev/null; WINEPREFIX="$prefixe" /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$ecran openbox >/dev/null 2>&1 &
export DISPLAY=$ecran

# -- The demo, made on Linux ------------------------------------------------------
demo="$travail/demo"
mkdir -p "$demo"
cp examples/demo/Config.ini examples/demo/Devis.xml "$demo/"
build/bin/PreparerDemo "$demo" examples/demo/Config.ini examples/demo/reference.sql >/dev/null

# -- Wine: its own prefix, with its Tahoma in the Windows fonts folder ------------
export WINEPREFIX="$cache/wine-ecran" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
prefixe="$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -k || true
fi
dossier="$WINEPREFIX/drive_c/Devis clients/Éloïse"
rm -rf "$dossier" && mkdir -p "$dossier"
(cd "$dossier" && unzip -q "$paquet")
windows='C:\Devis clients\Éloïse\Quarlo'

# Copies the demo beside a program, runs it on the demo quote and prices
# the first item with the keyboard: the default kind, one more line from the
# tariff, an installer for every line, "Valider".
chiffrer() {
  local cible=$1; shift
  cp "$demo/Config.ini" "$demo/Devis.xml" "$demo/Quarlo.abs" "$cible/"
  rm -rf "$cible/Xml"
  "$@" &
  local programme=$!
  attendre_fenetre 'Choix de la pose'
  touche Return
  touche alt+a; attendre_fenetre 'Choix du tarif'; touche Return
  touche alt+period; attendre_fenetre 'Choix du poseur'; touche Down Return
  touche Return # "Oui": the installer goes on every line
  touche alt+v
  wait "$programme"
}
touche() { sleep 1.5; xdotool key "$@"; }
attendre_fenetre() {
  local fin=$((SECONDS + 60))
  until xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    [ $SECONDS -lt $fin ] || { echo "La fenêtre « $1 » ne s'est pas ouverte."; exit 1; }
    sleep 0.5
  done
}
capturer() {
  local nom=$1 echelle=$2; shift 2
  (WINEQT_SCALE_FACTOR=$echelle /usr/lib/wine/wine64 "$@" >/dev/null 2>&1 &)
  sleep 12
  [ "${2:-}" = ADMIN ] || { attendre_fenetre 'Choix de la pose'; touche Return; sleep 3; }
  import -window root "$ecrans/$nom.png"
  pkill -f 'Quarlo.exe' || true
  sleep 2
}

linux="$travail/linux"
mkdir -p "$linux"
cp build/bin/Quarlo resources/Quarlo.bmp "$linux/"
echo "== Linux"
chiffrer "$linux" "$linux/Quarlo" CREATION "$linux/Config.ini" "$linux/Devis.xml"
echo "== Windows ($windows)"
chiffrer "$dossier/Quarlo" /usr/lib/wine/wine64 "$windows\\Quarlo.exe" CREATION "$windows\\Config.ini" \
  "$windows\\Devis.xml"
reponse_windows="$travail/reponse-windows.xml"
cp "$dossier/Quarlo/Devis.xml" "$reponse_windows"

echo "== Captures d'écran ($ecrans)"
cp "$demo/Devis.xml" "$dossier/Quarlo/"
capturer chiffrage-100 1 "$windows\\Quarlo.exe" CREATION "$windows\\Config.ini" "$windows\\Devis.xml"
capturer chiffrage-150 1.5 "$windows\\Quarlo.exe" CREATION "$windows\\Config.ini" "$windows\\Devis.xml"
capturer administration-100 1 "$windows\\Quarlo.exe" ADMIN "$windows\\Config.ini"

if cmp "$linux/Devis.xml" "$reponse_windows"; then
  echo "Réponses identiques octet pour octet ($(stat -c %s "$reponse_windows") octets)."
else
  echo "Les réponses de Linux et de Windows diffèrent."
  exit 1
fi
