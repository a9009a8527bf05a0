#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one test program on a private X display (Xvfb picks a free display number itself, so
# tests started side by side never share one).
#   tests/x11.sh PROGRAM [ARGS...]
set -u
tmp=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$tmp" >/dev/null 2>&1 &
xv=$!
trap 'kill "$xv" 2>/dev/null; rm -f "$tmp"' EXIT
for _ in $(seq 100); do
    [ -s "$tmp" ] && break
    kill -0 "$xv" 2>/dev/null || { echo "x11.sh: Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$tmp" | tr -d '[:space:]')" QT_QPA_PLATFORM=xcb
"$@"
