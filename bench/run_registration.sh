#!/usr/bin/env bash
# Creating a consultant with 20,000 consultants and a project with 20,000 projects:
# the time from the administrator's Yes to the refreshed lists, against a raw UTF-8
# fetch of the same table in the same run. Starts and stops a private server of its own.
#
#   bench/run_registration.sh [PORT] [RUNS]   (default: $REGISTRATION_PORT, else 3523; 5 runs)
#
# REGISTRATION_BUILD (build-bench beside bench/) says where bench_registration was built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${REGISTRATION_PORT:-3523}}
runs=${2:-5}
build=${REGISTRATION_BUILD:-$root/build-bench}
bench=$build/bench/bench_registration
db=$root/scripts/db.sh

[ -x "$bench" ] || {
  echo "No $bench; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_registration" >&2
  exit 1
}

. "$root/bench/server.sh"
bench_server registration "$port"
"$root/scripts/fill.sh" "$work/db" --consultants 20000 --clients 5000 --projects 20000 --declarations 0 >/dev/null
# 20,000 consultants use every four-digit number twice, and a number in use is refused;
# free the first hundred so that the runs can create.
mariadb --no-defaults -S "$work/db/mysqld.sock" -u root kordamrg_KORDAMdata \
  -e "UPDATE TALVERO_consultants SET consultantnummer = CONCAT('x', consultantnummer) WHERE consultantnummer BETWEEN '0000' AND '0100'"

echo
echo "20,000 consultants:"
"$bench" consultant "$link" "$runs"
echo
echo "20,000 projects:"
"$bench" project "$link" "$runs"
