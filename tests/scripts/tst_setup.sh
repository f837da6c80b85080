#!/usr/bin/env bash
# Who runs what when the set-up scripts need root: scripts/setup.sh, run.sh and test.sh
# against stand-ins for id, sudo, apt-get, dpkg-query, odbcinst and cmake that log every
# call with the user it ran as. The PATH holds only the stand-ins and the plain tools the
# scripts use, so the machine's own sudo or packages never take part.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/tst_setup.XXXXXX)
trap 'rm -rf "$work"' EXIT

tools=$work/tools
mkdir -p "$tools"
for t in bash sh env cat sed grep awk mktemp rm chmod dirname basename tr stat mapfile true false printf; do
  p=$(command -v "$t" || true)
  case "$p" in /*) ln -s "$p" "$tools/$t" ;; esac
done

stubs=$work/stubs
mkdir -p "$stubs"
# The pretended user: FAKE_UID (0 is root); every stand-in appends "uid=N command args".
cat >"$stubs/id" <<'S'
#!/bin/bash
case "$1" in -u) echo "$FAKE_UID" ;; -un) [ "$FAKE_UID" = 0 ] && echo root || echo alice ;; *) echo "uid=$FAKE_UID" ;; esac
S
cat >"$stubs/sudo" <<'S'
#!/bin/bash
echo "uid=$FAKE_UID sudo $*" >>"$STATE/log"
[ -e "$STATE/sudo-refuses" ] && { echo "alice is not in the sudoers file." >&2; exit 1; }
FAKE_UID=0 exec "$@"
S
cat >"$stubs/apt-get" <<'S'
#!/bin/bash
echo "uid=$FAKE_UID apt-get $*" >>"$STATE/log"
[ "$FAKE_UID" = 0 ] || { echo "E: Could not open lock file - are you root?" >&2; exit 100; }
[ "$1" = install ] && : >"$STATE/missing"
exit 0
S
cat >"$stubs/dpkg-query" <<'S'
#!/bin/bash
for p in "${@:3}"; do grep -qxF "$p" "$STATE/missing" || echo "$p ii "; done
S
cat >"$stubs/odbcinst" <<'S'
#!/bin/bash
if [ "$1" = -q ]; then [ -e "$STATE/registered" ]; exit; fi
echo "uid=$FAKE_UID odbcinst $*" >>"$STATE/log"
[ "$FAKE_UID" = 0 ] || { echo "odbcinst: SQLInstallDriverEx failed with Access denied." >&2; exit 1; }
: >"$STATE/registered"
S
cat >"$stubs/cmake" <<'S'
#!/bin/bash
echo "uid=$FAKE_UID cmake $*" >>"$STATE/log"
exit 1
S
chmod +x "$stubs"/*

failures=0
fail() { echo "FAIL: $case_name: $*"; failures=$((failures + 1)); }

# Runs a script as the pretended user and leaves its exit status, output and log behind.
run_case() {
  local script=$1
  shift
  STATE=$work/state
  out=$(env -i PATH="$stubs:$tools" HOME="$work" STATE="$STATE" FAKE_UID="$fake_uid" "$@" \
    bash "$root/scripts/$script" 2>&1 </dev/null)
  status=$?
  # The driver template is a fresh temporary file each time.
  log=$(sed -e 's#-f /[^ ]*#-f @TEMPLATE@#' "$STATE/log" 2>/dev/null || true)
}

# case | pretended uid | sudo there (yes/no/refuses) | packages missing | driver registered
#      | expected exit | expected log, ; between lines, in order | expected in the output
while IFS='|' read -r case_name fake_uid sudo missing registered want_status want_log want_out; do
  [ -n "$case_name" ] || continue
  rm -rf "$work/state"
  mkdir -p "$work/state"
  printf '%s\n' $missing >"$work/state/missing"
  [ "$registered" = yes ] && : >"$work/state/registered"
  [ "$sudo" = refuses ] && : >"$work/state/sudo-refuses"
  if [ "$sudo" = no ]; then mv "$stubs/sudo" "$work/sudo.off"; fi
  run_case setup.sh
  if [ "$sudo" = no ]; then mv "$work/sudo.off" "$stubs/sudo"; fi

  [ "$status" = "$want_status" ] || fail "exit status $status, expected $want_status; output: $out"
  [ "$log" = "${want_log//; /$'\n'}" ] || fail "calls were:"$'\n'"$log"$'\n'"expected:"$'\n'"${want_log//; /$'\n'}"
  [ -z "$want_out" ] || grep -qF -- "${want_out//@SETUP@/$root/scripts/setup.sh}" <<<"$out" || fail "output lacks '$want_out': $out"
done <<'CASES'
nothing missing, user without sudo|1000|no||yes|0||
nothing missing, root|0|no||yes|0||
user with sudo: only the root steps go through sudo|1000|yes|xvfb|no|0|uid=1000 sudo apt-get update -q; uid=0 apt-get update -q; uid=1000 sudo apt-get install -y -q xvfb; uid=0 apt-get install -y -q xvfb; uid=1000 sudo odbcinst -i -d -f @TEMPLATE@; uid=0 odbcinst -i -d -f @TEMPLATE@|registered
user with sudo, only the driver unregistered|1000|yes||no|0|uid=1000 sudo odbcinst -i -d -f @TEMPLATE@; uid=0 odbcinst -i -d -f @TEMPLATE@|
root without sudo installs directly|0|no|xvfb cmake|yes|0|uid=0 apt-get update -q; uid=0 apt-get install -y -q cmake xvfb|installing cmake xvfb
user without sudo is told the one command|1000|no|xvfb|yes|1||run this one command as root, then start again as yourself:  @SETUP@
user without sudo, driver unregistered|1000|no||no|1||register the ODBC driver "MySQL ODBC 3.51 Driver"
user whom sudo refuses|1000|refuses|xvfb|yes|1|uid=1000 sudo apt-get update -q|run this one command as root, then start again as yourself:  @SETUP@
CASES

# run.sh and test.sh started through sudo stop before doing anything; from a root shell
# (no SUDO_USER, or sudo from root itself) they go on to build as root.
# case | script | SUDO_USER | expected exit | expected log | expected in the output
while IFS='|' read -r case_name script sudo_user want_status want_log want_out; do
  [ -n "$case_name" ] || continue
  rm -rf "$work/state"
  mkdir -p "$work/state"
  : >"$work/state/missing"
  : >"$work/state/registered"
  fake_uid=0
  run_case "$script" ${sudo_user:+SUDO_USER=$sudo_user} TALVEROS_BUILD_DIR="$work/build" \
    TALVEROS_DEMO_DB_DIR="$work/demo-db"
  [ "$status" = "$want_status" ] || fail "exit status $status, expected $want_status; output: $out"
  [[ $log == $want_log ]] || fail "calls were: $log"
  [ -z "$want_out" ] || grep -qF -- "$want_out" <<<"$out" || fail "output lacks '$want_out': $out"
done <<'CASES'
test.sh under sudo|test.sh|alice|1||Run test.sh as yourself, without sudo
run.sh under sudo|run.sh|alice|1||Run run.sh as yourself, without sudo
test.sh in a root shell|test.sh||1|uid=0 cmake *|
run.sh in a root shell|run.sh||1|uid=0 cmake *|
run.sh through sudo from root|run.sh|root|1|uid=0 cmake *|
CASES

if [ "$failures" -ne 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
