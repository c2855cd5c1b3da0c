#!/bin/sh
# Installs the build into a throw-away root and checks what a desktop expects of it: every file in
# its place, the desktop entry and the software-centre metadata valid, and the installed launcher
# finding its library and starting.
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null

for file in bin/qavex lib/qavex/corvl.qrt lib/qavex/qavex-jet-reader \
    share/applications/org.qavex.qavex.desktop \
    share/icons/hicolor/scalable/apps/org.qavex.qavex.svg \
    share/metainfo/org.qavex.qavex.metainfo.xml; do
    if [ ! -e "$root/usr/$file" ]; then
        echo "not installed: $file"
        exit 1
    fi
done
desktop-file-validate "$root/usr/share/applications/org.qavex.qavex.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.qavex.qavex.metainfo.xml"

# Started from where it was installed, it runs and creates its collection in the user's data
# directory (never in bin, even where it could write), then ends on SIGTERM.
here=$(dirname "$0")
if ! "$here/start_offscreen.sh" "$root/usr/bin/qavex" "$root/home" || [ -e "$root/usr/bin/qavex.mdb" ]; then
    echo "the installed qavex did not start, or made its collection in bin"
    exit 1
fi
echo "installed and started"
