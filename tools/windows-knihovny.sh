#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libraries of the Windows programs for x86_64-w64-mingw32, each once, into a cache
# outside the work tree: Qt 6.4.2 (static, from Debian's qt6-base source), SQLite, zlib, libzip,
# libqrencode and libmdb (mdbtools, with the patch tools/windows/mdbtools-windows.patch).
#
#   tools/windows-knihovny.sh          prints the install folders, one a line
#
# The cache is PARMEX_WINDOWS_CACHE (default /var/cache/parmex-rozu-windows). Each library
# lands in a folder named by its version and a key made from its options, the toolchain file
# and its patch, so a change of any of these builds that library again and a second run with
# the cache present builds nothing. A folder counts only once its build finished (its mark
# ".hotovo" is written last); a broken build leaves nothing that counts.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cache="${PARMEX_WINDOWS_CACHE:-/var/cache/parmex-rozu-windows}"
trojice=x86_64-w64-mingw32
toolchain="$top/cmake/ToolchainWindows.cmake"
vlakna="${PARMEX_WINDOWS_VLAKNA:-$(nproc)}"
mkdir -p "$cache/zdroje" "$cache/stavba"
# One build at a time: a second run (CI beside a developer's build) waits for the first and then
# finds its libraries done.
exec 9>"$cache/.zamek"
if ! flock -n 9; then
    echo "windows-knihovny: waiting for another build of the cache to end" >&2
    flock 9
fi

zprava() { echo "windows-knihovny: $*" >&2; }

# The key of a library: its name, version, options and the files its build reads.
klic() {
    local text="$1"
    shift
    { echo "$text"; cat "$toolchain" "$@"; } | sha256sum | cut -c1-12
}

# Debian's source package NAME (version VERSION), unpacked once into the cache's sources: the
# upstream source as Debian ships it, without Debian's own patches for its Linux packages.
debian_zdroj() {
    local nazev="$1" verze="$2" cil="$cache/zdroje/$1-$2"
    if [ ! -f "$cil/.hotovo" ]; then
        rm -rf "$cil" && mkdir -p "$cil"
        (cd "$cil" && apt-get source -qq --download-only "$nazev=$verze" >&2)
        (cd "$cil" && dpkg-source -x --skip-patches ./*.dsc rozbaleno >&2)
        touch "$cil/.hotovo"
    fi
    echo "$cil/rozbaleno"
}

# An upstream tarball kept in tools/windows/, checked against its SHA256SUMS, unpacked once.
vlastni_zdroj() {
    local soubor="$1" cil="$cache/zdroje/${1%.tar.*}"
    if [ ! -f "$cil/.hotovo" ]; then
        (cd "$top/tools/windows" && grep " $soubor\$" SHA256SUMS | sha256sum -c --quiet -) >&2
        rm -rf "$cil" && mkdir -p "$cil"
        tar -xf "$top/tools/windows/$soubor" -C "$cil" --strip-components=1
        touch "$cil/.hotovo"
    fi
    echo "$cil"
}

# Configures, builds and installs a CMake project for Windows into PREFIX, and marks it done:
#   cmake_knihovna SOURCE BUILD PREFIX OPTION...
# The build's output goes to BUILD.log, whose end is shown when it fails.
cmake_knihovna() {
    local zdroj="$1" stavba="$2" cil="$3" log="$2.log"
    shift 3
    rm -rf "$stavba" "$cil"
    {
        cmake -G Ninja -S "$zdroj" -B "$stavba" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DCMAKE_INSTALL_PREFIX="$cil" "$@" &&
            cmake --build "$stavba" -j"$vlakna" &&
            cmake --install "$stavba"
    } >"$log" 2>&1 || { tail -40 "$log" >&2 && exit 1; }
    rm -rf "$stavba"
    touch "$cil/.hotovo"
}

# A CMake library from Debian's source package, built once; prints its install folder:
#   debian_knihovna NAME PACKAGE VERSION OPTION...
debian_knihovna() {
    local nazev="$1" balik="$2" verze="$3" k cil zdroj
    shift 3
    k="$(klic "$nazev $verze $*")"
    cil="$cache/$nazev-${verze%%[-+]*}-$k"
    if [ ! -f "$cil/.hotovo" ]; then
        zajisti_deb_src
        zdroj="$(debian_zdroj "$balik" "$verze")"
        zprava "building $nazev into $cil"
        cmake_knihovna "$zdroj" "$cache/stavba/$nazev-$k" "$cil" "$@"
    fi
    echo "$cil"
}

# Debian's own source packages need a deb-src entry for the configured mirror.
zajisti_deb_src() {
    if apt-get source --print-uris -qq qt6-base >/dev/null 2>&1; then
        return 0
    fi
    local mirror
    mirror="$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)"
    [ -n "$mirror" ] || mirror=http://deb.debian.org/debian
    zprava "adding a deb-src entry for $mirror"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo tee /etc/apt/sources.list.d/deb-src.sources >/dev/null <<EOF
Types: deb-src
URIs: $mirror
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    $sudo apt-get update -qq >&2
}

# --- Qt 6.4.2: Core, Gui, Widgets, Network (Schannel), Test; windows, offscreen and minimal
# platforms, the Vista style; everything bundled, nothing of the build machine. About 15 minutes
# on 2 free cores.
QT_VERZE=6.4.2+dfsg-10
QT_VOLBY=(
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_openssl=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_libb2=OFF -DFEATURE_system_textmarkdownreader=OFF
    -DFEATURE_freetype=ON
)
qt() {
    debian_knihovna qt qt6-base "$QT_VERZE" "${QT_VOLBY[@]}"
}

# --- SQLite 3.40.1: the amalgamation is made natively from Debian's source, then compiled
# with the cross compiler into a static library with a pkg-config file.
SQLITE_VERZE=3.40.1-2+deb12u2
SQLITE_VOLBY="-O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS5"
sqlite() {
    local k cil zdroj stavba
    k="$(klic "sqlite $SQLITE_VERZE $SQLITE_VOLBY")"
    cil="$cache/sqlite-3.40.1-$k"
    if [ ! -f "$cil/.hotovo" ]; then
        zajisti_deb_src
        zdroj="$(debian_zdroj sqlite3 "$SQLITE_VERZE")"
        stavba="$cache/stavba/sqlite-$k"
        zprava "building SQLite into $cil"
        rm -rf "$stavba" "$cil" && mkdir -p "$stavba" "$cil/lib/pkgconfig" "$cil/include"
        (cd "$stavba" && "$zdroj/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null) >&2
        # shellcheck disable=SC2086
        $trojice-gcc-posix $SQLITE_VOLBY -c "$stavba/sqlite3.c" -o "$stavba/sqlite3.o"
        $trojice-gcc-ar-posix rcs "$cil/lib/libsqlite3.a" "$stavba/sqlite3.o"
        cp "$stavba/sqlite3.h" "$stavba/sqlite3ext.h" "$cil/include/"
        cat >"$cil/lib/pkgconfig/sqlite3.pc" <<EOF
prefix=$cil
Name: SQLite
Description: SQL database engine
Version: 3.40.1
Libs: -L\${prefix}/lib -lsqlite3
Cflags: -I\${prefix}/include
EOF
        rm -rf "$stavba"
        touch "$cil/.hotovo"
    fi
    echo "$cil"
}

# --- libzip 1.7.3, static; it uses Windows' own crypto (bcrypt) and the zlib of
# libz-mingw-w64-dev.
LIBZIP_VERZE=1.7.3-1
LIBZIP_VOLBY=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_GNUTLS=OFF
    -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_COMMONCRYPTO=OFF
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
)
libzip() {
    debian_knihovna libzip libzip "$LIBZIP_VERZE" "${LIBZIP_VOLBY[@]}"
}

# --- libqrencode 4.1.1 (Debian's upstream tarball, kept in tools/windows/), static.
QRENCODE_VOLBY=(-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DWITH_TOOLS=OFF -DWITHOUT_PNG=ON)
qrencode() {
    local k cil zdroj
    k="$(klic "qrencode 4.1.1 ${QRENCODE_VOLBY[*]}" "$top/tools/windows/SHA256SUMS")"
    cil="$cache/qrencode-4.1.1-$k"
    if [ ! -f "$cil/.hotovo" ]; then
        zdroj="$(vlastni_zdroj qrencode-4.1.1.tar.bz2)"
        zprava "building libqrencode into $cil"
        cmake_knihovna "$zdroj" "$cache/stavba/qrencode-$k" "$cil" "${QRENCODE_VOLBY[@]}"
    fi
    echo "$cil"
}

# --- libmdb of mdbtools 1.0.0, static, without glib and iconv; the patch converts Jet's texts
# with Windows' own code-page functions.
MDB_VOLBY="--disable-shared --enable-static --disable-glib --disable-iconv --disable-man"
mdb() {
    local k cil zdroj stavba
    k="$(klic "mdbtools 1.0.0 $MDB_VOLBY" "$top/tools/windows/SHA256SUMS" \
        "$top/tools/windows/mdbtools-windows.patch")"
    cil="$cache/mdbtools-1.0.0-$k"
    if [ ! -f "$cil/.hotovo" ]; then
        zdroj="$cache/stavba/mdbtools-zdroj-$k"
        stavba="$cache/stavba/mdbtools-$k"
        zprava "building libmdb into $cil"
        rm -rf "$zdroj" "$stavba" "$cil"
        cp -a "$(vlastni_zdroj mdbtools-1.0.0.tar.gz)" "$zdroj"
        patch -d "$zdroj" -p1 -s <"$top/tools/windows/mdbtools-windows.patch"
        (cd "$zdroj" && autoreconf -if >/dev/null 2>&1)
        mkdir -p "$stavba"
        # shellcheck disable=SC2086
        (cd "$stavba" && "$zdroj/configure" --host=$trojice --prefix="$cil" $MDB_VOLBY \
            CC=$trojice-gcc-posix AR=$trojice-gcc-ar-posix RANLIB=$trojice-gcc-ranlib-posix \
            CPPFLAGS="-I$stavba/include" >/dev/null &&
            make -s -C src/libmdb -j"$vlakna" >/dev/null &&
            make -s -C src/libmdb install >/dev/null &&
            make -s -C include install >/dev/null) >&2
        mkdir -p "$cil/lib/pkgconfig"
        cp "$stavba/libmdb.pc" "$cil/lib/pkgconfig/"
        rm -rf "$zdroj" "$stavba"
        touch "$cil/.hotovo"
    fi
    echo "$cil"
}

# zlib is Debian's libz-mingw-w64-dev in /usr/x86_64-w64-mingw32, which the toolchain searches.
[ -f /usr/$trojice/lib/libz.a ] || { zprava "libz-mingw-w64-dev is missing" && exit 1; }

if [ $# -gt 0 ]; then
    for knihovna in "$@"; do "$knihovna"; done
else
    sqlite
    libzip
    qrencode
    mdb
    qt
fi
