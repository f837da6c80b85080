#!/usr/bin/env bash
# Builds the Debian package talveros_<version>_amd64.deb from this tree and checks it with
# lintian (no errors allowed) and desktop-file-validate.
#
#   scripts/package.sh [OUTDIR]     the package lands in OUTDIR (default: the top of the tree)
#
# The build is a release build of its own in build-package (TALVEROS_PACKAGE_BUILD_DIR),
# with Debian's hardening flags; only installing missing packages needs root (setup.sh).
# Install the result with:  sudo apt-get install ./talveros_<version>_amd64.deb
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
out=$(mkdir -p "${1:-$root}" && cd "${1:-$root}" && pwd)
build=${TALVEROS_PACKAGE_BUILD_DIR:-$root/build-package}

. "$here/caller.sh"
refuse_sudo "$@"
require_own "$build"
"$here/setup.sh"

# The same tree gives the same package: dates come from the last commit.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH
# Debian's hardening flags, with immediate binding as well; position independence comes
# from Qt's own targets.
export DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)

rm -rf "$build/_CPack_Packages" "$build"/talveros_*.deb
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DTALVEROS_WARNINGS_AS_ERRORS=ON -DTALVEROS_PACKAGE=ON -DTALVEROS_ENGINE_DIR=/usr/lib/talveros \
  -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" -DCMAKE_MODULE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$build" -j "$(nproc)" --target talveros talveros_webengine talveros_package_files
(cd "$build" && cpack -G DEB >/dev/null)

deb=$(ls "$build"/talveros_*_amd64.deb)
cp "$deb" "$out/"
deb=$out/$(basename "$deb")

desktop-file-validate "$root/packaging/nl.kordam.talveros.desktop"
echo "lintian:"
lintian --fail-on error --display-level ">=warning" "$deb" | sed 's/^/  /' || {
  echo "package: lintian found errors in $deb" >&2
  exit 1
}
echo "$deb ($(du -k "$deb" | cut -f1) KiB)"
