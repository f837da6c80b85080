# Shared by the maintainer scripts (copied into each by the package build). The program's
# connection strings ask for the driver by the name "MySQL ODBC 3.51 Driver"; installing
# registers MariaDB's driver under it unless some driver of that name is there already,
# and a mark remembers that this package added it (and to which odbcinst.ini), so that
# removing the package takes away that registration and nothing else.
driver_name="MySQL ODBC 3.51 Driver"
driver_lib=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so
mark="${DPKG_ROOT:-}/var/lib/talveros/odbc-driver-added"

driver_registered() {
  odbcinst -q -d -n "$driver_name" >/dev/null 2>&1
}

drivers_file() {
  odbcinst -j | sed -n 's/^DRIVERS\.*: *//p'
}

register_driver() {
  driver_registered && return 0
  template=$(mktemp)
  cat >"$template" <<TEMPLATE
[$driver_name]
Description=MariaDB Connector/ODBC, registered by the talveros package
Driver=$driver_lib
Threading=0
TEMPLATE
  odbcinst -i -d -f "$template" >/dev/null
  rm -f "$template"
  mkdir -p "${mark%/*}"
  drivers_file >"$mark"
}

unregister_driver() {
  [ -f "$mark" ] || return 0
  # Someone may have removed it by hand since, or point unixODBC at another file now.
  if [ "$(drivers_file)" = "$(cat "$mark")" ] && driver_registered; then
    odbcinst -u -d -n "$driver_name" >/dev/null
  fi
  rm -f "$mark"
  rmdir "${mark%/*}" 2>/dev/null || true
}
