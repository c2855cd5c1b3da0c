#!/usr/bin/env bash
# Installs the Debian packages qavex needs to build, run and test, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-webengine-dev libqt6sql6-sqlite libgl-dev
          xvfb xauth xdotool x11-utils libxcb1-dev libxcb-keysyms1-dev fonts-wqy-microhei
          sqlite3 mdbtools-dev pkg-config qt6-translations-l10n qt6-webchannel-dev libgumbo-dev libqt6svg6 desktop-file-utils appstream lintian file
          libpsl-dev publicsuffix libuchardet-dev clang-14 libclang-rt-14-dev
          libsqlite3-dev libsodium-dev qtkeychain-qt6-dev gnome-keyring dbus-bin dbus-daemon
          postgresql postgresql-common libqt6sql6-psql libpq-dev python3)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
