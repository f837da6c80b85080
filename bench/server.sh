# Sourced by the bench/run_*.sh scripts, after they set $db (scripts/db.sh): a private
# server in a scratch directory of its own, stopped and removed when the script ends.
#
#   bench_server NAME PORT    sets $work, starts the server in $work/db, and sets $link,
#                             the port the measured programs and their baselines use
#
# The link to the server is chosen by two variables, for every script alike:
#   BENCH_TLS=1    the server offers TLS, and the program and the baselines encrypt
#                  (the program's default, tls = preferred)
#   BENCH_RTT=MS   the programs reach the server through bench/latency-relay.py, MS
#                  milliseconds there and back, as over the provider's link; filling and
#                  checking the server go around it. BENCH_ROUNDTRIPS names the file in
#                  which the relay counts round trips, which the programs print.
bench_server() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  trap 'bench_stop' EXIT
  # The program asks for its driver by name; register it privately when this machine
  # has not.
  if ! odbcinst -q -d -n "MySQL ODBC 3.51 Driver" >/dev/null 2>&1; then
    printf '[MySQL ODBC 3.51 Driver]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so\n' >"$work/odbcinst.ini"
    export ODBCSYSINI=$work
  fi
  echo "Starting a private server on port $2 ${BENCH_TLS:+with TLS }..."
  if [ "${BENCH_TLS:-0}" = 1 ]; then
    "$db" start "$work/db" "$2" tls
  else
    "$db" start "$work/db" "$2"
  fi
  link=$2
  if [ "${BENCH_RTT:-0}" != 0 ]; then
    link=$(($2 + 50))
    export BENCH_ROUNDTRIPS=$work/roundtrips
    python3 "$(dirname "${BASH_SOURCE[0]}")/latency-relay.py" "$link" "$2" \
      "$(awk -v r="$BENCH_RTT" 'BEGIN { print r / 2 }')" --count "$BENCH_ROUNDTRIPS" &
    relay=$!
    for _ in $(seq 100); do [ -s "$BENCH_ROUNDTRIPS" ] && break; sleep 0.05; done
    echo "The programs reach it through a relay on port $link: ${BENCH_RTT} ms there and back."
  fi
}

bench_stop() {
  [ -n "${relay:-}" ] && kill "$relay" 2>/dev/null || true
  "$db" stop "$work/db" || true
  rm -rf "$work"
}

# The mariadb client on the programs' link, encrypted when the server offers TLS.
bench_client() {
  mariadb --no-defaults -h 127.0.0.1 -P "$link" -u kordamrg -pt7oKmaxu \
    $([ "${BENCH_TLS:-0}" = 1 ] && echo --ssl --ssl-verify-server-cert=0 || echo --skip-ssl) "$@"
}
