# Sourced by the bench/run_*.sh scripts, after they set $db (scripts/db.sh): a private
# server in a scratch directory of its own, stopped and removed when the script ends.
#
#   bench_server NAME PORT    sets $work and starts the server in $work/db
bench_server() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  trap '"$db" stop "$work/db" || true; rm -rf "$work"' EXIT
  # The program asks for its driver by name; register it privately when this machine
  # has not.
  if ! odbcinst -q -d -n "MySQL ODBC 3.51 Driver" >/dev/null 2>&1; then
    printf '[MySQL ODBC 3.51 Driver]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so\n' >"$work/odbcinst.ini"
    export ODBCSYSINI=$work
  fi
  echo "Starting a private server on port $2 ..."
  "$db" start "$work/db" "$2"
}
