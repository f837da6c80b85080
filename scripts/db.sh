#!/usr/bin/env bash
# A private MariaDB server for the demo and the tests: its own data directory, on the
# loopback address only, started and stopped by PID; never a system service. It runs as
# whoever calls this script, so an ordinary user needs no root for it.
#
#   scripts/db.sh start DATADIR [PORT] [tls]
#                                        create the data directory and schema if needed, start;
#                                        with tls the server offers TLS with a certificate for
#                                        127.0.0.1 and localhost, signed by a certificate authority
#                                        of its own (DATADIR/tls/ca.pem), both made on first start
#   scripts/db.sh stop DATADIR           stop the server of that data directory
#   scripts/db.sh sql DATADIR            a client on that server as root (reads stdin)
#   scripts/db.sh status DATADIR         exit 0 when it runs
set -euo pipefail
# mariadbd lives in /usr/sbin, which an ordinary user's PATH leaves out.
PATH=$PATH:/usr/sbin:/sbin

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cmd=${1:-}
datadir=${2:-}
port=${3:-3306}
tls=${4:-}
[ -n "$cmd" ] && [ -n "$datadir" ] || { echo "usage: $0 start|stop|sql|status DATADIR [PORT] [tls]" >&2; exit 2; }
case "$tls" in "" | tls) ;; *) echo "usage: $0 start DATADIR PORT tls" >&2; exit 2 ;; esac
# Only starting makes the directory; asking after a server never started answers "no".
if [ "$cmd" = start ]; then
  mkdir -p "$datadir"
elif [ ! -d "$datadir" ]; then
  [ "$cmd" = stop ] && exit 0
  exit 1
fi
datadir=$(cd "$datadir" && pwd)
sock="$datadir/mysqld.sock"
# A Unix socket path is limited to 107 bytes, which a data directory deep in a home
# directory can exceed; such a server gets its socket in /tmp, named after the directory.
if [ ${#sock} -gt 100 ]; then
  sock="/tmp/talveros-db-$(printf '%s' "$datadir" | md5sum | cut -c1-16).sock"
fi
pidfile="$datadir/mysqld.pid"

running() { [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; }
owner() { stat -c %U "$1"; }
client() { mariadb --no-defaults --socket="$sock" -uroot "$@"; }

# The server runs as the caller, and an ordinary user cannot switch to anyone else
# anyway. Only root has to name a user: itself, or, in a data directory that belongs
# to someone else, that owner, so the files stay theirs.
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  run_as=(--user="$(owner "$datadir")")
fi

case "$cmd" in
start)
  if running; then
    exit 0
  fi
  # A data directory left by a run as root (say, under sudo) cannot be used by anyone
  # else; say so instead of leaving the reason in a log the server could not write.
  for d in "$datadir" "$datadir/data"; do
    if [ -e "$d" ] && [ ! -w "$d" ]; then
      echo "$d belongs to $(owner "$d"), not to $(id -un); remove it, or start the server as $(owner "$d")." >&2
      exit 1
    fi
  done
  if [ ! -d "$datadir/data/mysql" ]; then
    mariadb-install-db --no-defaults "${run_as[@]}" --datadir="$datadir/data" \
      --auth-root-authentication-method=normal --skip-test-db >"$datadir/install.log" 2>&1 \
      || { cat "$datadir/install.log" >&2; exit 1; }
  fi
  if command -v ss >/dev/null && ss -ltn "sport = :$port" | grep -q LISTEN; then
    echo "Port $port is in use by another server; stop it first (scripts/db.sh stop DATADIR)." >&2
    exit 1
  fi
  tls_options=()
  if [ -n "$tls" ]; then
    # Elliptic-curve keys: made in milliseconds, so a test can afford a fresh set.
    t=$datadir/tls
    if [ ! -f "$t/server-cert.pem" ]; then
      mkdir -p "$t"
      ec=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes)
      openssl req -x509 "${ec[@]}" -keyout "$t/ca-key.pem" -out "$t/ca.pem" -days 3650 \
        -subj "/CN=Talveros private test CA" 2>/dev/null
      openssl req "${ec[@]}" -keyout "$t/server-key.pem" -out "$t/server.csr" -subj "/CN=127.0.0.1" 2>/dev/null
      printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\n' >"$t/server.ext"
      openssl x509 -req -in "$t/server.csr" -CA "$t/ca.pem" -CAkey "$t/ca-key.pem" -CAcreateserial \
        -days 3650 -extfile "$t/server.ext" -out "$t/server-cert.pem" 2>/dev/null
    fi
    tls_options=(--ssl-ca="$t/ca.pem" --ssl-cert="$t/server-cert.pem" --ssl-key="$t/server-key.pem")
  fi
  # Every error the server returns is kept in data/sql_errors.log: the tests read there
  # whether the program's account was refused anything (tests/scripts/tst_refusals.sh).
  mariadbd --no-defaults "${run_as[@]}" --datadir="$datadir/data" --socket="$sock" --pid-file="$pidfile" \
    --bind-address=127.0.0.1 --port="$port" --character-set-server=utf8mb4 "${tls_options[@]}" \
    --collation-server=utf8mb4_general_ci --log-error="$datadir/error.log" \
    --innodb-buffer-pool-size=256M --innodb-flush-log-at-trx-commit=2 --skip-log-bin \
    --plugin-load-add=sql_errlog --sql-error-log-size-limit=1G >/dev/null 2>&1 &
  for _ in $(seq 1 300); do
    if client -e 'select 1' >/dev/null 2>&1; then
      # The administrative account of the tests' set-up and the triggers that relate two
      # tables the way a consistent server would belong to the private servers only, so
      # they live in files of their own.
      client <"$root/db/schema.sql"
      client <"$root/db/private_admin.sql"
      client <"$root/db/private_triggers.sql"
      exit 0
    fi
    if ! kill -0 $! 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "The database server did not start; see $datadir/error.log" >&2
  tail -n 20 "$datadir/error.log" >&2 || true
  exit 1
  ;;
stop)
  if running; then
    pid=$(cat "$pidfile")
    if ! kill -TERM "$pid" 2>/dev/null; then
      echo "Cannot stop the server of $datadir: it runs as $(ps -o user= -p "$pid" || owner "$pidfile")." >&2
      exit 1
    fi
    for _ in $(seq 1 300); do
      kill -0 "$pid" 2>/dev/null || exit 0
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
  fi
  ;;
sql)
  client
  ;;
status)
  running
  ;;
*)
  echo "usage: $0 start|stop|sql|status DATADIR [PORT] [tls]" >&2
  exit 2
  ;;
esac
