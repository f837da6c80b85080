#!/usr/bin/env bash
# What the private servers load beside the shared schema, and what the program's account
# may do there:
# - the two triggers that relate projects to their data rows are there, while the schema
#   of the shared tables carries none: the network's own server is not ours to change,
#   and Talveros must work with or without them there;
# - the program's account holds exactly the grants the README tells a provider to give,
#   also on a data directory from when it held every privilege;
# - the tests' administrative account is there, and the schema never creates it.
#   tst_private_schema.sh DATADIR PORT   (a private server's data directory and port)
# The server is restarted first: every start loads the schema and the triggers again,
# whatever an earlier version or tests that dropped them for a while left behind.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
datadir=${1:?usage: $0 DATADIR PORT}
port=${2:?usage: $0 DATADIR PORT}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
sql() { "$root/scripts/db.sh" sql "$datadir" | tail -n +2; }
hosts=(localhost 127.0.0.1)

# What a data directory of an earlier version holds: the program's account with every
# privilege on both databases, and a table grant no longer on the list.
{
  echo "USE kordamrg_KORDAMdata; DROP TRIGGER IF EXISTS talveros_project_removed;"
  for host in "${hosts[@]}"; do
    echo "GRANT ALL PRIVILEGES ON kordamrg_KORDAMdata.* TO 'kordamrg'@'$host';"
    echo "GRANT ALL PRIVILEGES ON kordamrg_KORDAMdeclaraties.* TO 'kordamrg'@'$host';"
    echo "GRANT DROP ON kordamrg_KORDAMdata.TALVERO_projecten TO 'kordamrg'@'$host';"
  done
} | "$root/scripts/db.sh" sql "$datadir"
"$root/scripts/db.sh" stop "$datadir" && "$root/scripts/db.sh" start "$datadir" "$port" || exit 1

if grep -qi 'trigger' "$root/db/schema.sql"; then
  fail "db/schema.sql mentions a trigger; triggers belong in db/private_triggers.sql"
fi

triggers=$(sql <<<"SELECT TRIGGER_NAME, EVENT_OBJECT_TABLE FROM information_schema.TRIGGERS
      WHERE TRIGGER_SCHEMA = 'kordamrg_KORDAMdata' ORDER BY TRIGGER_NAME")
expected=$'talveros_project_data_created\tTALVERO_projecten\ntalveros_project_removed\tTALVERO_PROJECT_DATA'
if [ "$triggers" != "$expected" ]; then
  fail "the private server's triggers are:"
  echo "$triggers"
  echo "expected:"
  echo "$expected"
fi

# A grant as "GRANT privileges ON database.table", whoever it is given to and however
# the names are quoted, one a line and sorted.
grants_of() { sed -e 's/[`;'"'"']//g' -e 's/ TO .*//' | sort; }
readme=$(grep -E "^GRANT .* TO 'kordamrg'@" "$root/README.md" | grants_of)
[ -n "$readme" ] || fail "the README lists no GRANT statements for the program's account"
for host in "${hosts[@]}"; do
  shown=$(sql <<<"SHOW GRANTS FOR 'kordamrg'@'$host'" | grep -v '^GRANT USAGE ON \*\.\* ')
  granted=$(grants_of <<<"$shown")
  if [ "$granted" != "$readme" ]; then
    fail "kordamrg@$host holds other grants than the README lists; it holds:"
    echo "$granted"
    echo "the README lists:"
    echo "$readme"
  fi
  if grep -E 'ALL PRIVILEGES|GRANT OPTION|\.\*' <<<"$shown"; then
    fail "kordamrg@$host holds a grant on whole databases or may pass grants on"
  fi
done

if grep -qi 'talveros_admin' "$root/db/schema.sql"; then
  fail "db/schema.sql names the private servers' administrative account; it belongs in db/private_admin.sql"
fi
users=$(grep -oE "'[A-Za-z0-9_]+'@'" "$root/db/schema.sql" | sort -u)
[ "$users" = "'kordamrg'@'" ] || fail "db/schema.sql names accounts other than the program's: $users"
for host in "${hosts[@]}"; do
  admin=$(sql <<<"SHOW GRANTS FOR 'talveros_admin'@'$host'" | grep -c 'ALL PRIVILEGES ON `kordamrg_KORDAM')
  [ "$admin" = 2 ] || fail "the private server's administrative account talveros_admin@$host is missing or lacks its grants"
done

[ "$failures" -eq 0 ] && echo "the private server has its triggers and administrative account, the program's account exactly its grants"
exit $((failures != 0))
