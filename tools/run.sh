#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the dependencies, builds a program whose organisation's web server is the sample
# server on 127.0.0.1:8765, starts that server in the background and starts ParmexRozu in a
# fresh working folder (run/<time>/). At its first start the program checks the server, has the
# updater fetch the code lists of 2027 and imports them. The server stops when the program
# ends. Without a display the program is started under Xvfb.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
port=8765
"$top/tools/deps.sh"
"$top/tools/build.sh" -DPARMEX_SERVER="http://127.0.0.1:$port"

work="$top/run/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$work/program" "$work/server"
cp "$top/build/app/ParmexRozu" "$work/program/"

"$top/tools/server.sh" "$work/server" "$port" >"$work/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    if python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null; then
        break
    fi
    kill -0 "$server" 2>/dev/null || { cat "$work/server.log"; exit 1; }
    sleep 0.2
done

# The program shows dates and amounts in the user's formats; a machine without a locale of its
# own (C, POSIX) gets the Czech formats the program's users have.
case "${LC_ALL:-${LANG:-C}}" in
    C | C.* | POSIX) export LANG=cs_CZ.UTF-8 && unset LC_ALL ;;
esac

echo "Working folder: $work/program"
cd "$work/program"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    xvfb-run -a ./ParmexRozu
else
    ./ParmexRozu
fi
