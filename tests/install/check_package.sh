#!/bin/sh
# Builds the Debian package from the build, checks its files, its dependencies and lintian's verdict,
# then installs it, starts the installed qavex and removes it again (only as root, and only when no
# qavex package is installed already: a user's own installation is never touched). A step that
# cannot run fails with its reason in CI (CI set); elsewhere the test is skipped (77), saying why.
set -eu
cannot() {
    echo "missing component: $1"
    if [ -n "${CI:-}" ]; then exit 1; fi
    exit 77
}
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(ls "$work"/qavex_*.deb)

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/qavex ./usr/lib/qavex/corvl.qrt ./usr/lib/qavex/qavex-jet-reader \
    ./usr/share/applications/org.qavex.qavex.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.qavex.qavex.svg \
    ./usr/share/metainfo/org.qavex.qavex.metainfo.xml ./usr/share/doc/qavex/copyright; do
    echo "$files" | grep -qx "$file" || {
        echo "not in the package: $file"
        exit 1
    }
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6webenginewidgets6 libqt6sql6-sqlite libmdb3 libgumbo1 libpsl5; do
    echo "$depends" | grep -q "$library" || {
        echo "no dependency on $library: $depends"
        exit 1
    }
done
# Plug-ins are loaded at run time, so no linker finds them: the package that holds each one qavex
# loads (the SQL drivers of both collections, the icon's SVG, the X11 and offscreen platforms) is named.
for plugin in sqldrivers/libqsqlite.so sqldrivers/libqsqlpsql.so imageformats/libqsvg.so \
    platforms/libqxcb.so platforms/libqoffscreen.so; do
    owner=$(dpkg -S "*/qt6/plugins/$plugin" 2>/dev/null | grep -v -- '-dbgsym' | head -n1 | cut -d: -f1) ||
        true
    [ -n "$owner" ] || cannot "no installed package holds the plug-in $plugin"
    echo "$depends" | grep -Eq "(^|, )$owner( |,|$)" || {
        echo "no dependency on $owner, which holds the plug-in $plugin: $depends"
        exit 1
    }
done

command -v lintian >/dev/null || cannot "lintian is not installed"
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
if grep -q '^E:' "$work/lintian.log"; then
    cat "$work/lintian.log"
    exit 1
fi

[ "$(id -u)" = 0 ] || cannot "installing the package needs root"
dpkg-query -W qavex >/dev/null 2>&1 && cannot "a qavex package is installed already; it is not touched"
dpkg -i "$deb" >/dev/null
status=0
version=$(/usr/bin/qavex --version) || status=$?
# The window starts (offscreen) and makes the collection in the user's data directory.
"$(dirname "$0")/start_offscreen.sh" /usr/bin/qavex "$work/home" || status=started-nothing
dpkg -P qavex >/dev/null
if [ "$status" != 0 ] || [ "$version" != "qavex 0.1" ]; then
    echo "the installed qavex answered \"$version\" ($status)"
    exit 1
fi
if [ -e /usr/bin/qavex ] || [ -e /usr/lib/qavex ]; then
    echo "removing the package left files behind"
    exit 1
fi
echo "package built, checked, installed and removed"
