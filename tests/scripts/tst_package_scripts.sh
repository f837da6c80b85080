#!/usr/bin/env bash
# The package's maintainer scripts against the real odbcinst, pointed at private files:
# ODBCSYSINI picks the odbcinst.ini, DPKG_ROOT the place of the package's mark. Installing
# registers the driver only when no driver of that name is there, and removing takes
# away only what installing added.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/tst_package_scripts.XXXXXX)
trap 'rm -rf "$work"' EXIT
for s in postinst prerm postrm; do
  sed -e "/@ODBC_DRIVER_FUNCTIONS@/{r $root/packaging/odbc-driver.sh" -e 'd}' "$root/packaging/$s.in" >"$work/$s"
done

name="MySQL ODBC 3.51 Driver"
failures=0
fail() { echo "FAIL: $case_name: $*"; failures=$((failures + 1)); }
fresh() {
  case_name=$1
  rm -rf "$work/etc" "$work/etc2" "$work/root"
  mkdir -p "$work/etc" "$work/etc2" "$work/root"
  export ODBCSYSINI=$work/etc DPKG_ROOT=$work/root
}
run() { sh "$work/$1" "$2" >"$work/out" 2>&1 || fail "$1 $2 failed: $(cat "$work/out")"; }
registered() { odbcinst -q -d -n "$name" >/dev/null 2>&1; }
mark=var/lib/talveros/odbc-driver-added
someone_registers() {
  printf '[%s]\nDescription=registered by someone else\nDriver=/opt/other/libmyodbc.so\n' "$name" >"$work/t"
  odbcinst -i -d -f "$work/t" >/dev/null
}

fresh "absent: installing adds it, removing takes it away"
run postinst configure
registered || fail "not registered after install"
grep -q "^Driver=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so" "$work/etc/odbcinst.ini" || fail "not MariaDB's driver"
[ "$(cat "$work/root/$mark" 2>/dev/null)" = "$work/etc/odbcinst.ini" ] || fail "no mark naming the file"
run prerm remove
run postrm remove
registered && fail "still registered after removal"
grep -q "\[$name\]" "$work/etc/odbcinst.ini" && fail "section left in odbcinst.ini"
[ -e "$work/root/var/lib/talveros" ] && fail "mark folder left"

fresh "present: neither installing nor removing touches it"
someone_registers
cp "$work/etc/odbcinst.ini" "$work/before"
run postinst configure
run prerm remove
run postrm purge
cmp -s "$work/before" "$work/etc/odbcinst.ini" || fail "odbcinst.ini changed: $(diff "$work/before" "$work/etc/odbcinst.ini")"
[ -e "$work/root/var/lib/talveros" ] && fail "mark left"

fresh "an upgrade keeps it, and counts it once"
run postinst configure
run prerm upgrade
registered || fail "gone after prerm upgrade"
run postinst configure
grep -q "^UsageCount=1" "$work/etc/odbcinst.ini" || fail "counted twice: $(cat "$work/etc/odbcinst.ini")"
run prerm remove
registered && fail "still registered after removal"

fresh "removed by hand meanwhile: removal still succeeds"
run postinst configure
odbcinst -u -d -n "$name" >/dev/null 2>&1
run prerm remove
[ -e "$work/root/$mark" ] && fail "mark left"

fresh "unixODBC pointed elsewhere at removal: the other file is left alone"
run postinst configure
export ODBCSYSINI=$work/etc2
someone_registers
run prerm remove
registered || fail "another file's registration was removed"

if [ "$failures" -eq 0 ]; then
  echo "5 passed, 0 failed"
  exit 0
fi
echo "$failures failure(s)"
exit 1
