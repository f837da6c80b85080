#!/usr/bin/env bash
# One refresh of the presence lists with 10,000 consultants and 10,000 clients, against
# the leanest UTF-8 fetch of the same two whole tables in the same run, for mixed,
# all-ONLINE and all-OFFLINE data. Starts and stops a private server of its own.
#
#   bench/run_presence.sh [PORT]      (default: $PRESENCE_PORT, else 3312)
#
# PRESENCE_BUILD (build-bench beside bench/) says where bench_presence was built;
# PRESENCE_PEOPLE (10000) how many consultants and clients to make.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${PRESENCE_PORT:-3312}}
build=${PRESENCE_BUILD:-$root/build-bench}
people=${PRESENCE_PEOPLE:-10000}
bench=$build/bench/bench_presence
db=$root/scripts/db.sh

[ -x "$bench" ] || {
  echo "No $bench; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_presence" >&2
  exit 1
}

. "$root/bench/server.sh"
bench_server presence "$port"
"$root/scripts/fill.sh" "$work/db" --consultants "$people" --clients "$people" --projects 0 --declarations 0 >/dev/null

for state in mixed ONLINE OFFLINE; do
  if [ "$state" != mixed ]; then
    "$db" sql "$work/db" <<SQL
USE kordamrg_KORDAMdata;
UPDATE TALVERO_consultants SET isONLINE = '$state';
UPDATE TALVERO_opdrachtgevers SET isONLINE = '$state';
SQL
  fi
  echo
  echo "$people consultants and $people clients, $state:"
  "$bench" "$link" 5
done
