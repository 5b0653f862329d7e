#!/usr/bin/env bash
# Runs a program in a private D-Bus session with a GNOME Keyring of its own, its login keyring
# made and unlocked with a test password in a fresh home folder, so the desktop's own keyring is
# never touched. Without dbus-run-session or gnome-keyring-daemon this fails.
set -euo pipefail
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/data" "$home/config" "$home/cache" "$home/run"
chmod 700 "$home/run"
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config \
    XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home/run
unset DISPLAY GNOME_KEYRING_CONTROL SSH_AUTH_SOCK
command -v gnome-keyring-daemon >/dev/null || {
    echo "gnome-keyring-daemon is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
}
exec dbus-run-session -- bash -c '
    set -euo pipefail
    printf "qvsetting-test-password" | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    exec "$@"' keyring "$@"
