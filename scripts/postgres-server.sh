#!/usr/bin/env bash
# A private PostgreSQL server for the tests: its own cluster in DIR/data,
# listening only on a unix socket in DIR (no TCP), with trust
# authentication: DIR is mode 0700, so only its owner (and root) can reach
# the socket.  PostgreSQL refuses to run as root, so when we are root the
# server runs as TK_PG_USER (default postgres), who owns DIR.
#
#   postgres-server.sh start DIR    makes the cluster if need be and starts it
#   postgres-server.sh stop DIR     stops it (quietly when it is not running)
#   postgres-server.sh run COMMAND...
#       runs COMMAND with a server of its own in a fresh directory under
#       /tmp, which is stopped and removed however COMMAND ends (its log
#       is kept in TK_PG_LOG when that is set); exits as COMMAND does
#
# A client reaches it with PGHOST=DIR PGPORT=5432 PGUSER=postgres (run
# sets them for COMMAND); the server's log is DIR/server.log.  PG_CONFIG
# names the server's pg_config (default: PostgreSQL 15's).
set -euo pipefail

command=${1:?start, stop or run}
if [ "$command" = run ]; then
  shift
  dir=$(mktemp -d /tmp/twinekit-pg.XXXXXX)
  trap 'bash "$0" stop "$dir"; if [ -n "${TK_PG_LOG:-}" ]; then cp "$dir/server.log" "$TK_PG_LOG"; fi; rm -rf "$dir"' EXIT
  bash "$0" start "$dir"
  PGHOST=$dir PGPORT=5432 PGUSER=postgres "$@"
  exit
fi
dir=${2:?the server directory}
bindir=$("${PG_CONFIG:-/usr/lib/postgresql/15/bin/pg_config}" --bindir)
data=$dir/data

as_server_user() {
  if [ "$(id -u)" = 0 ]; then
    runuser -u "${TK_PG_USER:-postgres}" -- "$@"
  else
    "$@"
  fi
}

case $command in
  start)
    if [ "$(id -u)" = 0 ]; then
      install -d -m 0700 -o "${TK_PG_USER:-postgres}" "$dir"
    else
      install -d -m 0700 "$dir"
    fi
    if [ ! -f "$data/PG_VERSION" ]; then
      as_server_user "$bindir/initdb" --pgdata="$data" --username=postgres --auth=trust \
        --encoding=UTF8 --locale=C --no-sync >"$dir/initdb.log"
      as_server_user tee -a "$data/postgresql.conf" >/dev/null <<EOF
listen_addresses = ''
unix_socket_directories = '$dir'
unix_socket_permissions = 0700
port = 5432
fsync = off
EOF
    fi
    as_server_user "$bindir/pg_ctl" start --pgdata="$data" --log="$dir/server.log" --wait \
      --silent --timeout=120 || { cat "$dir/server.log" >&2; exit 1; }
    ;;
  stop)
    if [ -f "$data/postmaster.pid" ]; then
      as_server_user "$bindir/pg_ctl" stop --pgdata="$data" --mode=fast --wait --silent
    fi
    ;;
  *)
    echo "postgres-server.sh: start, stop or run, not $command" >&2
    exit 2
    ;;
esac
