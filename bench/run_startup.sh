#!/usr/bin/env bash
# The main window's start-up on a large network: 5,000 consultants, 5,000 clients and
# 20,000 projects. Prints the time from the end of sign-in to a main window whose
# start-up is complete, against the leanest ODBC fetch of the same three tables side by
# side in the same run, with the mariadb client reading them side by side beside it;
# and repeats with half the projects to show that filling the lists grows linearly.
# Starts and stops a private server of its own.
#
#   bench/run_startup.sh [PORT]      (default: $STARTUP_PORT, else 3311)
#
# STARTUP_BUILD (build-bench beside bench/) says where bench_startup was built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${STARTUP_PORT:-3311}}
build=${STARTUP_BUILD:-$root/build-bench}
bench=$build/bench/bench_startup
db=$root/scripts/db.sh

[ -x "$bench" ] || {
  echo "No $bench; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_startup" >&2
  exit 1
}

. "$root/bench/server.sh"
bench_server startup "$port"

# The mariadb client reading the three tables at once, one process per table: best
# wall-clock seconds of five runs.
client_side_by_side() {
  local best="" start end seconds table
  for _ in 1 2 3 4 5; do
    start=$EPOCHREALTIME
    for table in TALVERO_consultants TALVERO_opdrachtgevers TALVERO_projecten; do
      bench_client --quick kordamrg_KORDAMdata -e "select * from $table" >/dev/null &
    done
    wait
    end=$EPOCHREALTIME
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$seconds; fi
  done
  echo "$best"
}

for projects in 10000 20000; do
  "$root/scripts/fill.sh" "$work/db" --consultants 5000 --clients 5000 --projects "$projects" --declarations 0 >/dev/null
  echo
  echo "5,000 consultants, 5,000 clients, $projects projects:"
  "$bench" "$link" 5
  echo "mariadb client, side by side  $(client_side_by_side) s (best of 5)"
done
