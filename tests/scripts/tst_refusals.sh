#!/usr/bin/env bash
# The program's account holds only what the program needs (db/schema.sql). A refusal on
# a table of the schema while the database tests ran means that something ran as the
# program which its account may not do: a statement of the program that needs a grant
# the schema does not give, or a test's own set-up that should have run as the private
# server's administrative account. A test that expects some error of a write would pass
# on the refusal too, so the server's own record is read instead.
#
# The private server keeps every error it returns in DATADIR/data/sql_errors.log
# (scripts/db.sh). "start" begins a fresh log before the database tests, "check" reads it
# after them. A table the schema does not have is refused as well (the server tells an
# account without a grant on it nothing more); tests read one on purpose.
#   tst_refusals.sh start DATADIR PORT
#   tst_refusals.sh check DATADIR
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
usage="usage: $0 start DATADIR PORT | check DATADIR"
cmd=${1:?$usage}
datadir=${2:?$usage}
log=$datadir/data/sql_errors.log
db=$root/scripts/db.sh

case "$cmd" in
start)
  port=${3:?$usage}
  # A server left running by a scripts/db.sh that kept no such log is started again.
  if ! "$db" sql "$datadir" <<<"SELECT @@sql_error_log_rotate" >/dev/null 2>&1; then
    "$db" stop "$datadir" && "$db" start "$datadir" "$port" || exit 1
  fi
  "$db" sql "$datadir" <<<"SET GLOBAL sql_error_log_rotate = ON"
  ;;
check)
  [ -f "$log" ] || { echo "FAIL: the server kept no log of its errors ($log)"; exit 1; }
  tables=$(sed -n 's/^CREATE TABLE IF NOT EXISTS \([A-Za-z0-9_]*\).*/\1/p' "$root/db/schema.sql")
  failures=0
  while IFS= read -r line; do
    table=$(sed -n 's/.* for table `[^`]*`\.`\([^`]*\)`.*/\1/p' <<<"$line")
    if [ -n "$table" ] && ! grep -qxF "$table" <<<"$tables"; then
      continue
    fi
    echo "FAIL: the program's account was refused: $line"
    failures=$((failures + 1))
  done < <(grep -E ' kordamrg\[kordamrg\] @ .* ERROR [0-9]+: .*denied' "$log")
  [ "$failures" -eq 0 ] && echo "the program's account was refused nothing on a table of the schema"
  exit $((failures != 0))
  ;;
*)
  echo "$usage" >&2
  exit 2
  ;;
esac
