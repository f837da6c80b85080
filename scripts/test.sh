#!/usr/bin/env bash
# Installs what is missing, builds Talveros with its tests (warnings are errors) and runs
# the whole suite; exits 0 only when every test passed. Run it as yourself (not under
# sudo): only installing packages needs root, and setup.sh asks for that itself.
#
#   scripts/test.sh              build in build-test
#   scripts/test.sh --sanitize   the same under AddressSanitizer and UBSan, in build-asan
#   scripts/test.sh --cluster    build in build-test and run only the write tests, against
#                                a private three-node cluster (scripts/cluster.sh)
#
# The database tests start their own private server on port 3306, so a demo server
# (scripts/run.sh) still holding that port is stopped first. The cluster's nodes take
# three ports from the eleventh after it (the one after it is the TLS test server's), and the group ports 1000 above those.
#
# For trying this script itself next to a server on the usual port:
#   TALVEROS_DB_PORT      port of the test server (default 3306)
#   TALVEROS_CLUSTER_PORT first port of the test cluster (default the server's port + 11)
#   TALVEROS_DEMO_DB_DIR  data directory of the demo server to stop (default .run/demo-db)
#   TALVEROS_BUILD_DIR    build directory (default build-test or build-asan)
# ctest's own CTEST_PARALLEL_LEVEL runs tests side by side.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
port=${TALVEROS_DB_PORT:-3306}
demo_db=${TALVEROS_DEMO_DB_DIR:-$root/.run/demo-db}

sanitize=0
# The cluster takes a while to start, so its tests (label "cluster") have a run of their own.
tests=(-LE cluster)
case "${1:-}" in
  "") ;;
  --sanitize) sanitize=1 ;;
  --cluster) tests=(-L cluster) ;;
  *) echo "usage: $0 [--sanitize|--cluster]" >&2; exit 2 ;;
esac
cluster_port=${TALVEROS_CLUSTER_PORT:-$((port + 11))}

if [ "$sanitize" -eq 1 ]; then
  build=${TALVEROS_BUILD_DIR:-$root/build-asan}
  options=(-DTALVEROS_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
else
  build=${TALVEROS_BUILD_DIR:-$root/build-test}
  options=()
fi

. "$here/caller.sh"
refuse_sudo "$@"
require_own "$build"

"$here/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DTALVEROS_WARNINGS_AS_ERRORS=ON -DTALVEROS_TEST_DB_PORT="$port" \
  -DTALVEROS_TEST_CLUSTER_PORT="$cluster_port" \
  "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ -d "$demo_db" ] && "$here/db.sh" status "$demo_db"; then
  echo "Stopping the demo database ($demo_db): the tests need its port."
  "$here/db.sh" stop "$demo_db"
fi

cd "$build"
ctest --output-on-failure --no-tests=error "${tests[@]}"
