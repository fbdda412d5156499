#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need,
# only when some are missing. Runs as root, never asks anything.
set -euo pipefail

# qt6-translations-l10n: the toolkit's own dialogs and menus in French;
# postgresql and libpq-dev: the server back end and its tests; pgbouncer and
# openssl: the tests through a connection pooler and with certificates.
paquets=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
         libsqlcipher-dev libbenchmark-dev xvfb xauth
         postgresql libpq-dev pgbouncer openssl)

manquants=()
for paquet in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed" \
    || manquants+=("$paquet")
done

if [ ${#manquants[@]} -gt 0 ]; then
  echo "Installation de : ${manquants[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${manquants[@]}"
fi
