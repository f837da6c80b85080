#!/usr/bin/env bash
# Makes this Debian 12 machine ready to build, test and run Talveros: installs what is
# missing of scripts/packages.txt and registers MariaDB's ODBC driver under the name the
# program's connection strings use. Safe to run again; with nothing to do it takes about
# a second and needs no root.
#
# Only those two steps need root. They run directly when the caller is root, through
# sudo when it is there; everything else (and whatever calls this script: the build,
# the private servers, the program) stays with the calling user, so that what it makes
# belongs to that user and the program reaches that user's screen. Without root and
# without sudo it names the one command to run as root.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
driver_name="MySQL ODBC 3.51 Driver"
driver_lib=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so

mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$here/packages.txt" | grep -v '^$')

missing_packages() {
  # dpkg-query leaves out (and complains about) packages it has never heard of; those
  # count as missing just like the ones not fully installed.
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${wanted[@]}" 2>/dev/null \
    | awk '$2 == "ii" { print $1 }' || true)
  local p
  for p in "${wanted[@]}"; do
    grep -qxF "$p" <<<"$installed" || echo "$p"
  done
}

driver_registered() {
  command -v odbcinst >/dev/null && odbcinst -q -d -n "$driver_name" >/dev/null 2>&1
}

mapfile -t missing < <(missing_packages)
if [ ${#missing[@]} -eq 0 ] && driver_registered; then
  exit 0
fi

self=$here/setup.sh
needs=()
[ ${#missing[@]} -eq 0 ] || needs+=("to install ${missing[*]}")
driver_registered || needs+=("to register the ODBC driver \"$driver_name\"")
as_root_failed() {
  echo "setup: root is needed ${needs[0]}${needs[1]:+ and ${needs[1]}}; $1." >&2
  echo "setup: run this one command as root, then start again as yourself:  $self" >&2
  exit 1
}
if [ "$(id -u)" -eq 0 ]; then
  as_root() { "$@"; }
elif command -v sudo >/dev/null; then
  as_root() { sudo "$@" || as_root_failed "sudo $1 failed"; }
  echo "setup: asking sudo for root ${needs[0]}${needs[1]:+ and ${needs[1]}}"
else
  as_root_failed "this account is not root and there is no sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q
  as_root apt-get install -y -q "${missing[@]}" </dev/null
fi

if ! driver_registered; then
  if [ ! -f "$driver_lib" ]; then
    echo "setup: $driver_lib is missing although odbc-mariadb is installed" >&2
    exit 1
  fi
  template=$(mktemp)
  trap 'rm -f "$template"' EXIT
  cat >"$template" <<EOF
[$driver_name]
Description=MariaDB Connector/ODBC registered under the name the program uses
Driver=$driver_lib
Threading=0
EOF
  chmod a+r "$template"
  as_root odbcinst -i -d -f "$template" >/dev/null
  echo "setup: registered $driver_lib as ODBC driver \"$driver_name\""
fi
