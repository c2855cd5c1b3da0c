#!/bin/sh
# start_offscreen.sh PROGRAM HOME: starts an installed qavex offscreen for a user whose home is HOME,
# waits until it has made its collection in that user's data directory, and ends it with SIGTERM.
# Exit status 0 when the collection was made there.
set -u
program=$1
home=$2
collection="$home/.local/share/qavex/qavex.mdb"
mkdir -p "$home"
HOME="$home" XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen "$program" >"$home/run.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    [ -e "$collection" ] && break
    sleep 0.1
done
kill -TERM "$pid" 2>/dev/null || true
wait "$pid" || true
if [ ! -e "$collection" ]; then
    cat "$home/run.log"
    exit 1
fi
