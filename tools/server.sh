#!/usr/bin/env bash
# The sample web server of a local organisation: makes its folder and serves it over HTTP on
# 127.0.0.1 until stopped.
#   tools/server.sh FOLDER [PORT] [ORGANISATION]
# FOLDER receives, under the path the organisation's build reads (/parmex for Varnov,
# /banking/parmexhome for Kelmina), verze.ini announcing the program version of this source tree
# and code-list version 1, and ciselniky.zip holding the sample dataCis.mdb of 2027. Needs the
# built build/tools/VzorovaData; PORT defaults to 8765, ORGANISATION to Varnov.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
folder="${1:?usage: tools/server.sh FOLDER [PORT] [ORGANISATION]}"
port="${2:-8765}"
organisation="${3:-Varnov}"

case "$organisation" in
    Kelmina) path="banking/parmexhome" ;;
    *) path="parmex" ;;
esac
version="$(sed -n 's/^project(ParmexRozu VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")"

mkdir -p "$folder/$path"
folder="$(cd "$folder" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$top/build/tools/VzorovaData" -o "$scratch/dataCis.mdb" --rok 2027 >/dev/null
rm -f "$folder/$path/ciselniky.zip"
(cd "$scratch" && zip -q -X "$folder/$path/ciselniky.zip" dataCis.mdb)
printf '%s\r\n' "[parmex-rozu]" "verzeprog=$version" "datumprog=09.12.2026" \
    "souborprog=parmexrozu.zip" "datumcis=01.12.2026" "souborcis=ciselniky.zip" "verzecis=1" \
    >"$folder/$path/verze.ini"

echo "Sample server: http://127.0.0.1:$port/$path/verze.ini (folder $folder)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$folder" "$port"
