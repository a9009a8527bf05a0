#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the build, the program and the tests need; with the argument
# "windows" also those of the Windows build and its tests under Wine (tools/windows.sh).
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6network6 libqt6test6
    libsqlite3-dev sqlite3 libzip-dev zip unzip
    libqrencode-dev zbar-tools
    mdbtools-dev
    xvfb xauth fonts-dejavu-core python3
    binutils desktop-file-utils
    xdg-utils
    strace util-linux
)
if [ "${1:-}" = windows ]; then
    packages+=(
        g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
        libz-mingw-w64-dev ninja-build dpkg-dev
        autoconf automake libtool bison flex gettext patch
        wine wine64 fonts-wine fonts-liberation fonts-dejavu-core
    )
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
