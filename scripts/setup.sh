#!/usr/bin/env bash
# Makes this Debian 12 machine ready to build, test and run Talveros: installs what is
# missing of scripts/packages.txt and registers MariaDB's ODBC driver under the name the
# program's connection strings use. Safe to run again; with nothing to do it takes about
# a second and needs no root.
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

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    exec sudo "$0" "$@"
  fi
  echo "setup: root is needed to install ${missing[*]:-the ODBC driver registration}, and sudo is not there; run $0 as root." >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}" </dev/null
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
  odbcinst -i -d -f "$template" >/dev/null
  echo "setup: registered $driver_lib as ODBC driver \"$driver_name\""
fi
