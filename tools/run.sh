#!/usr/bin/env bash
# Installs the dependencies, builds, and starts ParmexRozu in a fresh working folder (run/).
# Without a display the program is started under Xvfb.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/tools/deps.sh"
"$top/tools/build.sh"
work="$top/run/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$work"
cp "$top/build/app/ParmexRozu" "$work/"
cd "$work"
echo "Working folder: $work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a ./ParmexRozu
fi
exec ./ParmexRozu
