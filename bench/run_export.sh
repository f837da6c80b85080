#!/usr/bin/env bash
# Exporting 200,000 overview rows to an Excel workbook and to CSV, each against a
# baseline in the same run that writes the same cells without the program's writer
# (libxlsxwriter called straight, one fwrite of the CSV bytes). Needs no server.
#
#   bench/run_export.sh [DIR]      (where the files are written; default: the temp folder)
#
# EXPORT_ROWS (200000), EXPORT_RUNS (3) and EXPORT_BUILD (build-bench beside bench/)
# change the rows, the runs of each and where the benchmark was built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${EXPORT_BUILD:-$root/build-bench}
[ -x "$build/bench/bench_export" ] || {
  echo "No $build/bench/bench_export; build it first:" >&2
  echo "  cmake -S $root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build $build --target bench_export" >&2
  exit 1
}
"$build/bench/bench_export" "${EXPORT_ROWS:-200000}" "${EXPORT_RUNS:-3}" "${1:-${TMPDIR:-/tmp}}"
