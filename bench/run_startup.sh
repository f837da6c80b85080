#!/usr/bin/env bash
# The main window's start-up on a large network: 5,000 consultants, 5,000 clients and
# 20,000 projects. Prints the time from the end of sign-in to a main window whose
# start-up is complete, against a raw fetch of the same three tables in the same run,
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

work=$(mktemp -d /tmp/startup.XXXXXX)
cleanup() {
  "$db" stop "$work/db" || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "Starting a private server on port $port ..."
"$db" start "$work/db" "$port"

for projects in 10000 20000; do
  "$root/scripts/fill.sh" "$work/db" --consultants 5000 --clients 5000 --projects "$projects" --declarations 0 >/dev/null
  echo
  echo "5,000 consultants, 5,000 clients, $projects projects:"
  "$bench" "$port" 5
done
