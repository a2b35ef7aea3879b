#!/usr/bin/env bash
# A private PostgreSQL server for the tests, in a folder of its own:
#   tools/pg-server.sh start DIR   makes a cluster in DIR/data and starts it on
#                                  a free port of 127.0.0.1; prints the port
#   tools/pg-server.sh stop DIR    stops it and removes DIR (safe to call twice,
#                                  or when start failed half-way)
#   tools/pg-server.sh crash DIR   stops it at once, as a server that fails
#                                  does (its clients' connections cut, open
#                                  transactions lost); the cluster stays
#   tools/pg-server.sh resume DIR  starts that cluster again on its port
# DIR/conninfo holds the connection's libpq keywords, one "key=value" a line
# (host, port, dbname, user, password); DIR/root.crt is the server's
# self-signed certificate, for clients that verify it. The owner role is the
# cluster's superuser, with a password checked by SCRAM on every connection;
# the database is empty. The server refuses to run as root, so as root
# everything of the cluster is done as the user postgres.
set -euo pipefail
bin=${KV_PG_BIN:-/usr/lib/postgresql/15/bin}
owner=kvowner
dbname=kvtest

usage() { echo "usage: pg-server.sh start|stop|crash|resume DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
cmd=$1
dir=$2

as_pg() {  # the cluster's commands, never as root
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop() {
  [ -d "$dir" ] || return 0
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_pg "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null 2>&1 ||
      as_pg "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start() {
  [ -x "$bin/initdb" ] || { echo "pg-server: no PostgreSQL 15 server in $bin (tools/setup.sh installs it)" >&2; exit 1; }
  if [ -e "$dir/data" ]; then echo "pg-server: $dir already holds a cluster" >&2; exit 1; fi
  if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
    echo "pg-server: no user postgres to run the server as" >&2; exit 1
  fi
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  chmod 755 "$dir"
  local data=$dir/data
  mkdir -m 700 "$data"
  local password
  password=$(openssl rand -hex 16)
  # initdb reads the password from a file the postgres user can read.
  printf '%s\n' "$password" > "$dir/pwfile"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$data" "$dir/pwfile"; fi
  chmod 600 "$dir/pwfile"
  as_pg "$bin/initdb" -D "$data" -U "$owner" --pwfile "$dir/pwfile" -A scram-sha-256 \
    -E UTF8 --no-locale >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
  rm -f "$dir/pwfile"

  # A certificate of its own for 127.0.0.1 and localhost.
  openssl req -new -x509 -days 30 -nodes -newkey rsa:2048 -subj "/CN=127.0.0.1" \
    -addext "subjectAltName=IP:127.0.0.1,DNS:localhost" \
    -keyout "$data/server.key" -out "$data/server.crt" >/dev/null 2>&1
  cp "$data/server.crt" "$dir/root.crt"
  chmod 600 "$data/server.key"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$data/server.key" "$data/server.crt"; fi

  # TCP on the loopback address only; no Unix socket. A throwaway cluster:
  # nothing needs to survive a crash, so nothing is flushed.
  cat >> "$data/postgresql.conf" <<'CONF'

listen_addresses = '127.0.0.1'
unix_socket_directories = ''
ssl = on
fsync = off
synchronous_commit = off
full_page_writes = off
CONF
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$data/postgresql.conf"; fi

  # A port found free can be taken before the server binds it: try again.
  local port="" try
  for try in 1 2 3 4 5; do
    port=$(free_port)
    if as_pg "$bin/pg_ctl" -D "$data" -l "$data/server.log" -w -t 60 -o "-p $port" start >/dev/null 2>&1; then
      break
    fi
    port=""
  done
  if [ -z "$port" ]; then
    echo "pg-server: the server did not start; its log:" >&2
    tail -n 20 "$data/server.log" >&2 2>/dev/null || true
    exit 1
  fi

  PGPASSWORD=$password "$bin/psql" -q -X -v ON_ERROR_STOP=1 \
    "host=127.0.0.1 port=$port user=$owner dbname=postgres sslmode=disable" \
    -c "CREATE DATABASE $dbname" >/dev/null
  umask 077
  printf 'host=127.0.0.1\nport=%s\ndbname=%s\nuser=%s\npassword=%s\n' \
    "$port" "$dbname" "$owner" "$password" > "$dir/conninfo"
  echo "$port"
}

crash() {
  as_pg "$bin/pg_ctl" -D "$dir/data" -m immediate -w -t 30 stop >/dev/null
}

resume() {
  local port
  port=$(sed -n 's/^port=//p' "$dir/conninfo")
  as_pg "$bin/pg_ctl" -D "$dir/data" -l "$dir/data/server.log" -w -t 60 -o "-p $port" start >/dev/null
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  crash) crash ;;
  resume) resume ;;
  *) usage ;;
esac
