#!/usr/bin/env bash
# Walks a large Declaraties table several ways and prints how long each took and how much
# memory it needed: the program's record set, the mariadb client, a plain wide-character
# ODBC fetch, and the leanest UTF-8 fetch the driver allows (what a record set could
# reach at best). Starts and stops a private server of its own.
#
#   bench/run_walk.sh [PORT]          (default: $WALK_PORT, else 3310)
#
# WALK_ROWS (200000), WALK_RUNS (3) and WALK_BUILD (build-bench beside bench/) change
# the table size, the number of runs per method and where bench_walk was built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-${WALK_PORT:-3310}}
rows=${WALK_ROWS:-200000}
runs=${WALK_RUNS:-3}
build=${WALK_BUILD:-$root/build-bench}
bench=$build/bench/bench_walk
db=$root/scripts/db.sh

[ -x "$bench" ] || {
  echo "No $bench; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_walk" >&2
  exit 1
}
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (package time)." >&2; exit 1; }

. "$root/bench/server.sh"
bench_server walk "$port"

echo "Filling Declaraties with $rows rows ..."
"$db" sql "$work/db" <<SQL
USE kordamrg_KORDAMdeclaraties;
TRUNCATE TABLE Declaraties;
INSERT INTO Declaraties
SELECT
  CONCAT(2018 + seq MOD 7, LPAD(seq MOD 12 + 1, 2, '0'), '-', LPAD(seq, 9, '0')),
  CONCAT(ELT(1 + seq MOD 8, 'Migratie ERP-systeem', 'Herinrichting magazijn', 'Audit jaarrekening',
             'Implementatie CRM', 'Interim-management HR', 'Datawarehouse fase', 'Procesoptimalisatie inkoop',
             'Netwerkbeheer regio'), ' ', 1 + seq MOD 97),
  ELT(1 + seq MOD 10, 'Van der Berg Logistiek B.V.', 'Gemeente Zuidwolde', 'Bakkerij De Korenschoof',
      'Noordzee Offshore N.V.', 'Stichting Zorggroep Oost', 'Hoogheemraadschap Delfland',
      'Installatiebedrijf Jansen & Zn.', 'Café-Restaurant ''t Hoekje', 'Transportbedrijf Brouwer',
      'Universitair Medisch Centrum'),
  CONCAT(ELT(1 + seq MOD 12, 'Jan', 'Marieke', 'Pieter', 'Sanne', 'Kees', 'Anouk', 'Willem', 'Fleur',
             'Henk', 'Eline', 'Joost', 'Brechtje'), ' ',
         ELT(1 + (seq DIV 12) MOD 9, 'de Vries', 'Jansen', 'van Dijk', 'Bakker', 'Visser', 'Smit',
             'Meijer', 'de Boer', 'Mulder')),
  IF(seq MOD 3 = 0, 'nee', 'ja'),
  IF(seq MOD 5 = 0, 'nee', 'ja'),
  CAST(u AS CHAR),
  FORMAT(p, 2, 'nl_NL'),
  FORMAT(u * p, 2, 'nl_NL'),
  CAST(km AS CHAR),
  '0,19',
  FORMAT(km * 0.19, 2, 'nl_NL'),
  FORMAT(o, 2, 'nl_NL'),
  ELT(1 + seq MOD 6, 'Parkeerkosten', 'Treinkaartje 2e klas', 'Lunch met opdrachtgever',
      'Hotelovernachting', 'Cursusmateriaal', ''),
  FORMAT(u * p + km * 0.19 + o, 2, 'nl_NL'),
  FORMAT((u * p + km * 0.19 + o) * 0.21, 2, 'nl_NL'),
  FORMAT((u * p + km * 0.19 + o) * 1.21, 2, 'nl_NL')
FROM (
  SELECT seq,
         1 + seq MOD 160 AS u,
         65 + (seq MOD 9) * 5 AS p,
         (seq * 7) MOD 900 AS km,
         ((seq * 13) MOD 25000) / 100 AS o
  FROM seq_1_to_${rows}
) AS s;
SQL
filled=$(echo 'select count(*) from kordamrg_KORDAMdeclaraties.Declaraties' | "$db" sql "$work/db" | tail -n 1)
[ "$filled" = "$rows" ] || { echo "The table holds $filled rows, not $rows." >&2; exit 1; }

client=(mariadb --no-defaults --quick -h127.0.0.1 -P"$link" -ukordamrg -pt7oKmaxu
        $([ "${BENCH_TLS:-0}" = 1 ] && echo --ssl --ssl-verify-server-cert=0 || echo --skip-ssl)
        kordamrg_KORDAMdeclaraties -e 'select * from Declaraties')
methods=(recordset client wide utf8)
declare -A label=([recordset]="record-set walk" [client]="mariadb --quick client" [wide]="ODBC SQL_C_WCHAR fetch"
                  [utf8]="ODBC UTF-8 blocks, no copy")
declare -A best=() cpu=() peak=() detail=()

# One run: wall-clock seconds, CPU seconds (user + system) and peak resident KiB of one
# process. CPU time leaves out the server's share and other load on the machine.
measure() {
  local method=$1 start end
  local -a cmd
  case $method in
    client) cmd=("${client[@]}") ;;
    *) cmd=("$bench" "$method" --port "$link") ;;
  esac
  start=$EPOCHREALTIME
  /usr/bin/time -f '%M %U %S' -o "$work/usage" "${cmd[@]}" >"$work/out"
  end=$EPOCHREALTIME
  seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  read -r kib user sys < <(tail -n 1 "$work/usage")
  cpuseconds=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
}

echo "Warming up ..."
"${client[@]}" >/dev/null
"$bench" recordset --port "$link" >/dev/null
"$bench" utf8 --port "$link" >/dev/null

for ((i = 1; i <= runs; ++i)); do
  for method in "${methods[@]}"; do
    measure "$method"
    if [ "$method" != client ]; then
      line=$(cat "$work/out")
      got=$(sed -n 's/.* rows=\([0-9]*\).*/\1/p' <<<"$line")
      [ "$got" = "$rows" ] || { echo "$method read $got rows: $line" >&2; exit 1; }
      sum=$(sed -n 's/.* chars=\([0-9]*\).*/\1/p' <<<"$line")
      if [ -n "${checksum:-}" ] && [ "$sum" != "$checksum" ]; then
        echo "$method read $sum characters, another method $checksum." >&2
        exit 1
      fi
      checksum=$sum
    fi
    echo "  run $i  ${label[$method]}: ${seconds} s, cpu ${cpuseconds} s, $((kib / 1024)) MiB"
    if [ -z "${best[$method]:-}" ] || awk -v a="$seconds" -v b="${best[$method]}" 'BEGIN { exit !(a < b) }'; then
      best[$method]=$seconds
      [ "$method" = client ] || detail[$method]=$(cat "$work/out")
    fi
    if [ -z "${cpu[$method]:-}" ] || awk -v a="$cpuseconds" -v b="${cpu[$method]}" 'BEGIN { exit !(a < b) }'; then
      cpu[$method]=$cpuseconds
    fi
    if [ -z "${peak[$method]:-}" ] || [ "$kib" -gt "${peak[$method]}" ]; then
      peak[$method]=$kib
    fi
  done
done

echo
echo "Declaraties, $rows rows, best of $runs runs (every field read as text, $checksum characters)"
printf '%-26s %9s %9s %10s %9s\n' method "best s" "peak MiB" "vs client" "cpu s"
for method in "${methods[@]}"; do
  awk -v m="${label[$method]}" -v s="${best[$method]}" -v k="${peak[$method]}" -v c="${best[client]}" \
    -v u="${cpu[$method]}" 'BEGIN { printf "%-26s %9.3f %9.1f %9.2fx %9.2f\n", m, s, k / 1024, s / c, u }'
done
echo
echo "Inside the best runs (open = connect, query and copy; walk = reading the fields):"
for method in recordset wide utf8; do
  echo "  ${detail[$method]}"
done
