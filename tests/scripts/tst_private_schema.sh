#!/usr/bin/env bash
# The private servers carry the two triggers that relate projects to their data rows,
# while the schema of the shared tables carries none: the network's own server is not
# ours to change, and Talveros must work with or without them there.
#   tst_private_schema.sh DATADIR PORT   (a private server's data directory and port)
# The server is restarted first: every start loads the triggers again, whatever tests
# that dropped them for a while left behind.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
datadir=${1:?usage: $0 DATADIR PORT}
port=${2:?usage: $0 DATADIR PORT}
failures=0

"$root/scripts/db.sh" sql "$datadir" <<<"USE kordamrg_KORDAMdata; DROP TRIGGER IF EXISTS talveros_project_removed"
"$root/scripts/db.sh" stop "$datadir" && "$root/scripts/db.sh" start "$datadir" "$port" || exit 1

if grep -qi 'trigger' "$root/db/schema.sql"; then
  echo "FAIL: db/schema.sql mentions a trigger; triggers belong in db/private_triggers.sql"
  failures=$((failures + 1))
fi

triggers=$("$root/scripts/db.sh" sql "$datadir" \
  <<<"SELECT TRIGGER_NAME, EVENT_OBJECT_TABLE FROM information_schema.TRIGGERS
      WHERE TRIGGER_SCHEMA = 'kordamrg_KORDAMdata' ORDER BY TRIGGER_NAME" | tail -n +2)
expected=$'talveros_project_data_created\tTALVERO_projecten\ntalveros_project_removed\tTALVERO_PROJECT_DATA'
if [ "$triggers" != "$expected" ]; then
  echo "FAIL: the private server's triggers are:"
  echo "$triggers"
  echo "expected:"
  echo "$expected"
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "the private server has its triggers, the shared schema none"
exit $((failures != 0))
