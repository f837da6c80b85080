#!/usr/bin/env bash
# One consultant created through a node of a private three-node cluster against the same
# on a private single server, both filled alike (2,000 consultants, 500 clients, 2,000
# projects); bench_cluster alternates the runs and times the pieces of the action too.
# Starts and stops both of its own.
#
#   bench/run_cluster.sh [PORT] [RUNS]   (default: $CLUSTER_BENCH_PORT, else 3533; 15 runs)
#
# The single server listens on PORT, the cluster's nodes on the three ports after it and
# their group ports 1000 above those (or from TALVEROS_CLUSTER_GROUP_PORT, see
# scripts/cluster.sh). CLUSTER_BENCH_BUILD (build-bench beside bench/) says where
# bench_cluster was built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${CLUSTER_BENCH_PORT:-3533}}
runs=${2:-15}
build=${CLUSTER_BENCH_BUILD:-$root/build-bench}
bench=$build/bench/bench_cluster
db=$root/scripts/db.sh
cluster=$root/scripts/cluster.sh

[ -x "$bench" ] || {
  echo "No $bench; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_cluster" >&2
  exit 1
}

. "$root/bench/server.sh"
bench_server cluster "$port"
trap '"$cluster" stop "$work/cluster" || true; bench_stop' EXIT
echo "Starting a private three-node cluster on ports $((port + 1))-$((port + 3)) ..."
"$cluster" start "$work/cluster" "$((port + 1))"
for data in "$work/db" "$work/cluster/node1"; do
  "$root/scripts/fill.sh" "$data" --consultants 2000 --clients 500 --projects 2000 --declarations 0 >/dev/null
done

echo
# Node 2, not the node the data was loaded through.
"$bench" "$link" "$((port + 2))" "$runs"
