# Sourced by run.sh and test.sh: checks that they run as the user at the desktop.
#
# They are meant to run as that user, not under sudo: setup.sh asks for root itself when
# something is missing, and what they make (the build, the private servers' data) and
# the program's window belong to the caller. Under sudo the build and the data would end
# up owned by root, and sudo drops DISPLAY and XAUTHORITY so the window could not open.

# Refuses to go on when started through sudo by an ordinary user. A root shell (as in a
# container) is fine: there root is the user at the desktop.
refuse_sudo() {
  if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    echo "Run $(basename "$0") as yourself, without sudo:  $0${*:+ $*}" >&2
    echo "It asks for root itself, and only to install what is missing." >&2
    exit 1
  fi
}

# Directories left by an earlier run as another user (say, under sudo) cannot be reused;
# naming them and the way out beats failing half-way through a build.
require_own() {
  local d
  for d in "$@"; do
    if [ -e "$d" ] && [ ! -w "$d" ]; then
      echo "$d belongs to $(stat -c %U "$d"), not to $(id -un)." >&2
      echo "Remove it, or take it over (as root: chown -R $(id -un): $d), then start again." >&2
      exit 1
    fi
  done
}
