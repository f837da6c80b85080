#!/usr/bin/env bash
# How long the window stands still while the server holds still (SIGSTOP): opening a
# connection, a statement on an open connection, and live tracking for 46.6 s; each
# with the calls on the window's own thread (blocking) and through the wait window,
# and the wait window given up 1 s after it shows. Starts and stops a private server.
#
#   bench/run_standstill.sh [PORT]      (default: $STANDSTILL_PORT, else 3313)
#
# STANDSTILL_BUILD (build-bench beside bench/) says where bench_standstill was built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${STANDSTILL_PORT:-3313}}
build=${STANDSTILL_BUILD:-$root/build-bench}
bench=$build/bench/bench_standstill
db=$root/scripts/db.sh

[ -x "$bench" ] || {
  echo "No $bench; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_standstill" >&2
  exit 1
}

. "$root/bench/server.sh"
bench_server standstill "$port"
pid=$(cat "$work/db/mysqld.pid")
# Whatever happens, the server is not left stopped.
trap 'kill -CONT "$pid" 2>/dev/null || true; bench_stop' EXIT

echo
for scenario in connect query tracking; do
  "$bench" "$link" "$pid" "$scenario" --blocking
  "$bench" "$link" "$pid" "$scenario"
  [ "$scenario" = tracking ] || "$bench" "$link" "$pid" "$scenario" --cancel-after 1000
done
