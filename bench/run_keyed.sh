#!/usr/bin/env bash
# One row's work against tables that grow for years: a sign-in with an empty login log
# against one with 1,000,000 login rows, and a sign-off with 100 against 100,000
# consultants, each the real action (bench_keyed). The small and the large data sit on
# two private servers side by side and are measured in turns, ROUNDS times, so that
# both meet the same load; each turn gives the median of RUNS actions and the best turn
# counts. The large case must stay within 1.2x of the small one.
#
#   bench/run_keyed.sh [PORT]      (default: $KEYED_PORT, else 3314; PORT+1 is used too)
#
# KEYED_BUILD (build-bench beside bench/) says where bench_keyed was built; KEYED_RUNS
# and KEYED_ROUNDS how often (21 and 5).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${KEYED_PORT:-3314}}
build=${KEYED_BUILD:-$root/build-bench}
runs=${KEYED_RUNS:-21}
rounds=${KEYED_ROUNDS:-5}
bench=$build/bench/bench_keyed
db=$root/scripts/db.sh

[ -x "$bench" ] || {
  echo "No $bench; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_keyed" >&2
  exit 1
}

. "$root/bench/server.sh"
bench_server keyed "$port"
large=$((port + 1))
trap '[ -n "${large_relay:-}" ] && kill "$large_relay"; "$db" stop "$work/large" || true; bench_stop' EXIT
"$db" start "$work/large" "$large" $([ "${BENCH_TLS:-0}" = 1 ] && echo tls)
# Both over the same kind of link.
large_link=$large
if [ "${BENCH_RTT:-0}" != 0 ]; then
  large_link=$((large + 50))
  python3 "$root/bench/latency-relay.py" "$large_link" "$large" "$(awk -v r="$BENCH_RTT" 'BEGIN { print r / 2 }')" &
  large_relay=$!
  sleep 0.5
fi

"$root/scripts/fill.sh" "$work/db" --consultants 100 --clients 10 --projects 0 --declarations 0 >/dev/null
"$root/scripts/fill.sh" "$work/large" --consultants 100000 --clients 10 --projects 0 --declarations 0 >/dev/null
"$db" sql "$work/db" <<<"TRUNCATE TABLE kordamrg_KORDAMdata.LOGINadministrator;"
"$db" sql "$work/large" <<'SQL'
USE kordamrg_KORDAMdata;
TRUNCATE TABLE LOGINadministrator;
INSERT INTO LOGINadministrator
  SELECT CONCAT('2020/01/01   10:00:', LPAD(seq MOD 60, 2, '0')), CONCAT('pc', seq), 'Administrator',
         'Intel Ethernet', '00:11:22:33:44:55', 'Maker', 'Board', CONCAT('Printer ', seq MOD 7)
  FROM seq_1_to_1000000;
SQL

median() { "$bench" "$1" "$2" "$runs" 2>/dev/null | awk '{ print $3 }'; }
least() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }

in_small="" in_large="" off_small="" off_large=""
for _ in $(seq "$rounds"); do
  in_small=$(least "$(median signin "$link")" "$in_small")
  in_large=$(least "$(median signin "$large_link")" "$in_large")
  off_small=$(least "$(median signoff "$link")" "$off_small")
  off_large=$(least "$(median signoff "$large_link")" "$off_large")
done

# Against the leanest sign-in, one connection and one query, and a bound box's edit written
# once the window is up, each with the round trips it took when a relay counts them.
base_line=$("$bench" baseline "$link" "$runs" 2>/dev/null)
signin_line=$("$bench" signin "$link" "$runs" 2>/dev/null)
edit_line=$("$bench" edit "$link" "$runs" 2>/dev/null)
trips() { sed -n 's/.*  \([0-9]*\) round trips/  \1 round trips/p' <<<"$1"; }
base=$(awk '{ print $3 }' <<<"$base_line")
signin=$(awk '{ print $3 }' <<<"$signin_line")

echo "one connection and one query       $base s (median of $runs)$(trips "$base_line")"
echo "sign-in, from the click            $signin s   $(ratio "$signin" "$base")$(trips "$signin_line") (target <= 1.50x)"
echo "a bound box's edit written         $(awk '{ print $3 }' <<<"$edit_line") s$(trips "$edit_line") (target <= 3 round trips)"
echo "sign-in,  empty login log          $in_small s (median of $runs, best of $rounds turns)"
echo "sign-in,  1,000,000 login rows     $in_large s   $(ratio "$in_large" "$in_small") (target <= 1.20x)"
echo "sign-off, 100 consultants          $off_small s"
echo "sign-off, 100,000 consultants      $off_large s   $(ratio "$off_large" "$off_small") (target <= 1.20x)"
