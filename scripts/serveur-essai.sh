# A throwaway PostgreSQL cluster for the server tests, in a temporary folder,
# reached through a socket of its own, and, for the tests of the network's
# settings and of the certificates, through TCP with TLS on a free port of
# the loopback. PgBouncer stands in front of it, in transaction mode (and a
# database "essai_instruction" in statement mode), on a socket of its own.
#
# Two ways to use it:
# - sourced (bench.sh): demarrer_serveur_essai starts it for the script and
#   stops it when the script ends, whether it passed or not;
# - run by CTest as the fixture of the server tests:
#     bash scripts/serveur-essai.sh demarrer <state file>
#     bash scripts/serveur-essai.sh arreter <state file>
#   The state file gives the tests their connection strings. When
#   QUARLO_ESSAI_SERVEUR is already set (a server of one's own), nothing is
#   started and the tests use it.
# A server that cannot start fails: the server tests are never skipped.
#
# The postgres role connects without a password through the socket (the
# tests administer their schemas with it); any other role must give its
# password, so that a wrong one is refused as on a real server.

serveur_essai_dossier=""

serveur_essai_bin() {
  ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1
}

serveur_essai_lanceur() {
  # The server and PgBouncer refuse to run as root: they are then the postgres user's.
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

arreter_serveur_essai() {
  [ -n "$serveur_essai_dossier" ] || return 0
  if [ -f "$serveur_essai_dossier/pgbouncer.pid" ]; then
    kill "$(cat "$serveur_essai_dossier/pgbouncer.pid")" 2>/dev/null || true
  fi
  if [ -f "$serveur_essai_dossier/donnees/postmaster.pid" ]; then
    serveur_essai_lanceur "$(serveur_essai_bin)/pg_ctl" -D "$serveur_essai_dossier/donnees" \
      -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$serveur_essai_dossier"
  serveur_essai_dossier=""
}

# A TCP port of the loopback that nothing listens on.
serveur_essai_port_libre() {
  local port
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 30000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  return 1
}

# Starts the cluster and PgBouncer in a new temporary folder; sets the
# variables QUARLO_ESSAI_SERVEUR, QUARLO_ESSAI_TCP, QUARLO_ESSAI_CERTIFICAT and
# QUARLO_ESSAI_REGROUPEUR (not exported).
lancer_serveur_essai() {
  local bin
  bin="$(serveur_essai_bin)"
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "PostgreSQL est introuvable (paquet postgresql) : les essais sur serveur ne peuvent pas tourner." >&2
    return 1
  fi
  serveur_essai_dossier="$(mktemp -d "${TMPDIR:-/tmp}/quarlo-serveur.XXXXXX")"
  local d="$serveur_essai_dossier"
  local donnees="$d/donnees"
  local port
  port="$(serveur_essai_port_libre)" || { echo "Aucun port libre pour le serveur d'essai." >&2; return 1; }
  # A certificate of its own, for a name that is not the loopback's.
  if ! openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=quarlo-essai.invalid" \
         -keyout "$d/serveur.key" -out "$d/serveur.crt" >/dev/null 2>&1; then
    echo "Le certificat du serveur d'essai n'a pas pu être fait (openssl)." >&2
    return 1
  fi
  chmod 600 "$d/serveur.key"
  [ "$(id -u)" -ne 0 ] || chown -R postgres "$d"
  if ! serveur_essai_lanceur "$bin/initdb" -D "$donnees" -U postgres -E UTF8 \
         --locale=C.UTF-8 -A trust >"$d/initdb.log" 2>&1; then
    cat "$d/initdb.log" >&2
    echo "Le serveur d'essai n'a pas pu être créé." >&2
    return 1
  fi
  printf 'local all postgres trust\nlocal all all scram-sha-256\nhostssl all postgres 127.0.0.1/32 trust\nhostssl all all 127.0.0.1/32 scram-sha-256\n' \
    >"$donnees/pg_hba.conf"
  # A throwaway cluster: nothing is kept after a crash, so nothing is flushed.
  if ! serveur_essai_lanceur "$bin/pg_ctl" -D "$donnees" -w -t 60 -l "$d/serveur.log" \
         -o "-k $d -c listen_addresses=127.0.0.1 -p $port -c max_connections=200 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c ssl=on -c ssl_cert_file=$d/serveur.crt -c ssl_key_file=$d/serveur.key" \
         start >/dev/null; then
    cat "$d/serveur.log" >&2
    echo "Le serveur d'essai n'a pas démarré." >&2
    return 1
  fi
  local port_regroupeur
  port_regroupeur="$(serveur_essai_port_libre)" || { echo "Aucun port libre pour PgBouncer." >&2; return 1; }
  cat >"$d/pgbouncer.ini" <<EOF
[databases]
essai_instruction = host=$d port=$port user=postgres dbname=postgres pool_mode=statement
* = host=$d port=$port user=postgres pool_size=2
[pgbouncer]
listen_addr = 127.0.0.1
unix_socket_dir = $d
listen_port = $port_regroupeur
auth_type = any
pool_mode = transaction
max_client_conn = 200
ignore_startup_parameters = extra_float_digits
logfile = $d/pgbouncer.log
pidfile = $d/pgbouncer.pid
EOF
  [ "$(id -u)" -ne 0 ] || chown postgres "$d/pgbouncer.ini"
  if ! command -v pgbouncer >/dev/null 2>&1 && [ ! -x /usr/sbin/pgbouncer ]; then
    echo "PgBouncer est introuvable (paquet pgbouncer) : les essais à travers un regroupeur ne peuvent pas tourner." >&2
    return 1
  fi
  if ! serveur_essai_lanceur /usr/sbin/pgbouncer -d "$d/pgbouncer.ini" >/dev/null 2>&1; then
    cat "$d/pgbouncer.log" >&2 2>/dev/null
    echo "PgBouncer n'a pas démarré devant le serveur d'essai." >&2
    return 1
  fi
  for _ in $(seq 100); do [ -S "$d/.s.PGSQL.$port_regroupeur" ] && break; sleep 0.1; done
  QUARLO_ESSAI_SERVEUR="host=$d port=$port dbname=postgres user=postgres"
  QUARLO_ESSAI_TCP="host=127.0.0.1 port=$port dbname=postgres user=postgres sslmode=require"
  QUARLO_ESSAI_CERTIFICAT="$d/serveur.crt"
  QUARLO_ESSAI_REGROUPEUR="host=$d port=$port_regroupeur user=postgres"
  # PgBouncer through TCP too, for programs that know no Unix socket (Windows' under Wine).
  QUARLO_ESSAI_REGROUPEUR_TCP="host=127.0.0.1 port=$port_regroupeur user=postgres sslmode=disable"
}

demarrer_serveur_essai() {
  trap arreter_serveur_essai EXIT
  lancer_serveur_essai || return 1
  export QUARLO_ESSAI_SERVEUR QUARLO_ESSAI_TCP QUARLO_ESSAI_CERTIFICAT QUARLO_ESSAI_REGROUPEUR
}

# Run as a program: the fixture of CTest.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  action="${1:-}"
  etat="${2:-}"
  if [ -z "$etat" ]; then
    echo "Usage : serveur-essai.sh demarrer|arreter <fichier d'état>" >&2
    exit 2
  fi
  case "$action" in
    demarrer)
      if [ -n "${QUARLO_ESSAI_SERVEUR:-}" ]; then
        printf 'QUARLO_ESSAI_SERVEUR=%s\n' "$QUARLO_ESSAI_SERVEUR" >"$etat"
        exit 0
      fi
      # A cluster left by an interrupted run is stopped first.
      if [ -f "$etat" ]; then "$0" arreter "$etat"; fi
      if ! lancer_serveur_essai; then
        arreter_serveur_essai
        exit 1
      fi
      {
        printf 'dossier=%s\n' "$serveur_essai_dossier"
        printf 'QUARLO_ESSAI_SERVEUR=%s\n' "$QUARLO_ESSAI_SERVEUR"
        printf 'QUARLO_ESSAI_TCP=%s\n' "$QUARLO_ESSAI_TCP"
        printf 'QUARLO_ESSAI_CERTIFICAT=%s\n' "$QUARLO_ESSAI_CERTIFICAT"
        printf 'QUARLO_ESSAI_REGROUPEUR=%s\n' "$QUARLO_ESSAI_REGROUPEUR"
      } >"$etat"
      ;;
    arreter)
      if [ -f "$etat" ]; then
        serveur_essai_dossier="$(sed -n 's/^dossier=//p' "$etat")"
        arreter_serveur_essai
        rm -f "$etat"
      fi
      ;;
    *)
      echo "Usage : serveur-essai.sh demarrer|arreter <fichier d'état>" >&2
      exit 2
      ;;
  esac
fi
