#!/usr/bin/env bash
# The invoicing tab on 200,000 declarations (scripts/fill.sh): the payment overview, the
# heaviest client pick and an invoice of 50 selected rows, each set against the leanest
# UTF-8 fetch of the whole Declaraties table in the same run (bench_walk utf8, which
# never runs through the program's own code). Also the peak memory of the overview
# process against the fetch's. Starts and stops a private server of its own.
#
#   bench/run_invoicing.sh [PORT]     (default: $INVOICING_PORT, else 3312)
#
# INVOICING_ROWS (200000), INVOICING_RUNS (3) and INVOICING_BUILD (build-bench beside
# bench/) change the table size, the runs of each and where the benchmarks were built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${INVOICING_PORT:-3312}}
rows=${INVOICING_ROWS:-200000}
runs=${INVOICING_RUNS:-3}
build=${INVOICING_BUILD:-$root/build-bench}
db=$root/scripts/db.sh

for b in bench_invoicing bench_walk; do
  [ -x "$build/bench/$b" ] || {
    echo "No $build/bench/$b; build it first:" >&2
    echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_invoicing bench_walk" >&2
    exit 1
  }
done

. "$root/bench/server.sh"
bench_server invoicing "$port"
echo "Filling with $rows declarations ..."
"$root/scripts/fill.sh" "$work/db" --declarations "$rows" >/dev/null

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }

"$build/bench/bench_walk" utf8 --port "$link" >/dev/null # warm the server's caches
declare -A secs=() peak=() out=()
for ((i = 1; i <= runs; ++i)); do
  line=$("$build/bench/bench_walk" utf8 --port "$link")
  total=$(field total "$line")
  secs[fetch]=$(best "$total" "${secs[fetch]:-}")
  peak[fetch]=$(field peak_mib "$line")
  echo "  run $i  leanest fetch: ${total} s, peak ${peak[fetch]} MiB"
  for mode in overview pick invoice; do
    line=$("$build/bench/bench_invoicing" "$mode" "$link" 1)
    secs[$mode]=$(best "$(field seconds "$line")" "${secs[$mode]:-}")
    peak[$mode]=$(field peak "$line")
    out[$mode]=$line
    echo "  run $i  $line"
  done
done

echo
echo "Declaraties, $rows rows, best of $runs runs; the fetch is the leanest UTF-8 fetch of the whole table"
printf '%-28s %9s %9s %9s\n' action "best s" "vs fetch" "bound"
printf '%-28s %9.3f %9s %9s\n' "leanest fetch (baseline)" "${secs[fetch]}" "1.00x" "-"
for entry in "overview:LoadPaymentOverview:1.5" "pick:client pick (busiest):0.25" "invoice:invoice of 50 rows:1.0"; do
  IFS=: read -r mode label bound <<<"$entry"
  awk -v l="$label" -v s="${secs[$mode]}" -v f="${secs[fetch]}" -v b="$bound" \
    'BEGIN { r = s / f; printf "%-28s %9.3f %8.2fx %8.2fx %s\n", l, s, r, b, (r <= b ? "ok" : "OVER") }'
done
echo
echo "Peak memory: overview process ${peak[overview]} MiB (of which the window before loading: $(field before "${out[overview]}") MiB), leanest fetch ${peak[fetch]} MiB"
# The overview's lists keep their rows as read and make texts only for what is shown, so
# the whole overview stays within twice what the bare fetch of the table needs.
awk -v o="${peak[overview]}" -v f="${peak[fetch]}" \
  'BEGIN { r = o / f; printf "%-28s %9s %8.2fx %8.2fx %s\n", "overview peak memory", "", r, 2.0, (r <= 2.0 ? "ok" : "OVER") }'
