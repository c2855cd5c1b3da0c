#!/bin/sh
# Runs a command on a session bus of its own, with an unlocked GNOME Keyring answering the Secret
# Service there; nothing of the user's own keyring or home is touched.
if [ -z "$QAVEX_KEYRING_SESSION" ]; then
    export QAVEX_KEYRING_SESSION=1
    exec dbus-run-session -- "$0" "$@"
fi
home=$(mktemp -d)
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
eval "$(printf 'qavex-test' | gnome-keyring-daemon --unlock --components=secrets)"
"$@"
status=$?
rm -rf "$home"
exit $status
