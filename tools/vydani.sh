#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The administrator's publishing command: writes a new program and/or new code lists into the
# folder the organisation's web server serves, and the announcement verze.ini last.
#   tools/vydani.sh SERVER_FOLDER [--program BUILD_FOLDER|FILE] [--ciselniky dataCis.mdb]
#                   [--organizace Varnov|Kelmina]
# Runs build/tools/Vydani, building it first when the build has not made it yet.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
vydani="$top/build/tools/Vydani"
if [ ! -x "$vydani" ]; then
    if [ -f "$top/build/CMakeCache.txt" ]; then
        cmake --build "$top/build" --target Vydani -j"$(nproc)" >/dev/null
    else
        "$top/tools/build.sh" >/dev/null
    fi
fi
exec "$vydani" "$@"
