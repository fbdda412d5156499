# Sourced by test.sh and sanitize.sh: a throwaway PostgreSQL cluster for the
# server tests, in a temporary folder, reached through a socket of its own
# (no TCP port, so it never meets another server). It is stopped and removed
# when the script ends, whether the tests passed or not. A server that cannot
# start ends the script in failure: the server tests are never skipped.
#
# The postgres role connects without a password (the tests administer their
# schemas with it); any other role must give its password, so that a wrong
# one is refused as on a real server.

serveur_essai_dossier=""

arreter_serveur_essai() {
  [ -n "$serveur_essai_dossier" ] || return 0
  if [ -f "$serveur_essai_dossier/donnees/postmaster.pid" ]; then
    "${serveur_essai_lanceur[@]}" "$serveur_essai_bin/pg_ctl" -D "$serveur_essai_dossier/donnees" \
      -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$serveur_essai_dossier"
  serveur_essai_dossier=""
}

demarrer_serveur_essai() {
  serveur_essai_bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
  if [ -z "$serveur_essai_bin" ] || [ ! -x "$serveur_essai_bin/initdb" ]; then
    echo "PostgreSQL est introuvable (paquet postgresql) : les essais sur serveur ne peuvent pas tourner." >&2
    return 1
  fi
  # The server refuses to run as root: the cluster is then the postgres user's.
  serveur_essai_lanceur=()
  serveur_essai_dossier="$(mktemp -d "${TMPDIR:-/tmp}/quarlo-serveur.XXXXXX")"
  trap arreter_serveur_essai EXIT
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$serveur_essai_dossier"
    serveur_essai_lanceur=(runuser -u postgres --)
  fi
  local donnees="$serveur_essai_dossier/donnees"
  if ! "${serveur_essai_lanceur[@]}" "$serveur_essai_bin/initdb" -D "$donnees" -U postgres -E UTF8 \
         --locale=C.UTF-8 -A trust >"$serveur_essai_dossier/initdb.log" 2>&1; then
    cat "$serveur_essai_dossier/initdb.log" >&2
    echo "Le serveur d'essai n'a pas pu être créé." >&2
    return 1
  fi
  printf 'local all postgres trust\nlocal all all scram-sha-256\n' >"$donnees/pg_hba.conf"
  # A throwaway cluster: nothing is kept after a crash, so nothing is flushed.
  if ! "${serveur_essai_lanceur[@]}" "$serveur_essai_bin/pg_ctl" -D "$donnees" -w -t 60 \
         -l "$serveur_essai_dossier/serveur.log" \
         -o "-k $serveur_essai_dossier -c listen_addresses='' -p 5432 -c max_connections=200 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
         start >/dev/null; then
    cat "$serveur_essai_dossier/serveur.log" >&2
    echo "Le serveur d'essai n'a pas démarré." >&2
    return 1
  fi
  export QUARLO_ESSAI_SERVEUR="host=$serveur_essai_dossier port=5432 dbname=postgres user=postgres"
}
