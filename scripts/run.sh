#!/usr/bin/env bash
# Installs what is missing, builds Talveros, starts the private demo database with its
# demo data and runs the program. Sign in as ADMIN with the password qorun.
#
# Run it as yourself (not under sudo): only installing packages needs root, and
# setup.sh asks for that itself. The build, the demo data and the window are yours.
#
# The demo database keeps running after the program closes, so the next start is quick
# and what was registered stays; stop it with: scripts/db.sh stop .run/demo-db
#
# For trying this script itself without touching a server on the usual port:
#   TALVEROS_DB_PORT      port of the demo server (default 3306; the program itself always
#                         talks to 3306, so another port is only for testing the script)
#   TALVEROS_DEMO_DB_DIR  data directory of the demo server (default .run/demo-db)
#   TALVEROS_BUILD_DIR    build directory (default build)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${TALVEROS_BUILD_DIR:-$root/build}
demo_db=${TALVEROS_DEMO_DB_DIR:-$root/.run/demo-db}
port=${TALVEROS_DB_PORT:-3306}

. "$here/caller.sh"
refuse_sudo "$@"
require_own "$build" "$demo_db" "$(dirname "$demo_db")"

"$here/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target talveros -j "$(nproc)"

# A session of its own, so that Ctrl-C or closing the terminal while the program runs
# does not take the server down with it.
setsid --wait "$here/db.sh" start "$demo_db" "$port"
administrators=$("$here/db.sh" sql "$demo_db" <<<"SELECT COUNT(*) AS n FROM kordamrg_KORDAMdata.TALVERO_ADMINISTRATOR" | tail -n 1)
if [ "$administrators" = "0" ]; then
  echo "Loading the demo data into $demo_db"
  "$here/db.sh" sql "$demo_db" <"$root/db/demo.sql"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "There is no display to show Talveros on; run it under Xvfb instead: xvfb-run -a -s \"-screen 0 1280x1024x24\" $0" >&2
  exit 1
fi

# The embedded browser's sandbox refuses to run as root, and there may be no GPU.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:+$QTWEBENGINE_CHROMIUM_FLAGS }--disable-gpu"

status=0
"$build/src/talveros" "$@" || status=$?
echo "The demo database still runs; stop it with: scripts/db.sh stop ${demo_db#"$root"/}"
exit "$status"
