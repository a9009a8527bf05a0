#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows programs, built here and tested under Wine:
#  1. installs the Debian packages of the cross build (tools/deps.sh windows);
#  2. builds the libraries once into the cache (tools/windows-knihovny.sh; PARMEX_WINDOWS_CACHE,
#     default /var/cache/parmex-rozu-windows): about 20 minutes the first time, nothing later;
#  3. cross-builds ParmexRozu.exe (the updater inside), the tools and every test into
#     build-windows/ (extra arguments go to CMake);
#  4. runs the tests under Wine (ctest in build-windows/; --bez-testu skips them).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
b="$top/build-windows"
testy=1
argumenty=()
for a in "$@"; do
    case "$a" in
        --bez-testu) testy=0 ;;
        *) argumenty+=("$a") ;;
    esac
done

"$top/tools/deps.sh" windows
koreny="$(nice -n 5 "$top/tools/windows-knihovny.sh")"
seznam="$(tr '\n' ';' <<<"$koreny")"
seznam="${seznam%;}"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -G Ninja -S "$top" -B "$b" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/ToolchainWindows.cmake" \
    -DPARMEX_WINDOWS_KORENY="$seznam" -DCMAKE_PREFIX_PATH="$seznam" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${launcher[@]}" "${argumenty[@]}" >/dev/null
nice -n 5 cmake --build "$b" -j"$(nproc)"
echo "Program: $b/app/ParmexRozu.exe"
[ "$testy" = 1 ] || exit 0

cd "$b"
ctest --output-on-failure -j"$(nproc)"
