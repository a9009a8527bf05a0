#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The sample web server of a local organisation: makes its folder and serves it over HTTP on
# 127.0.0.1 until stopped.
#   tools/server.sh FOLDER [PORT] [ORGANISATION]
# FOLDER receives, through the publishing command, the sample code lists of 2027 under the path
# the organisation's build reads (/parmex for Varnov, /banking/parmexhome for Kelmina): the
# archive ciselniky-N.zip and verze.ini announcing it as code-list version N (1 in a new
# folder) and no program. Needs the built build/tools/VzorovaData and build/tools/Vydani; PORT
# defaults to 8765, ORGANISATION to Varnov.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
folder="${1:?usage: tools/server.sh FOLDER [PORT] [ORGANISATION]}"
port="${2:-8765}"
organisation="${3:-Varnov}"

case "$organisation" in
    Kelmina) ;;
    *) organisation="Varnov" ;;
esac

mkdir -p "$folder"
folder="$(cd "$folder" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$top/build/tools/VzorovaData" -o "$scratch/dataCis.mdb" --rok 2027 >/dev/null
"$top/build/tools/Vydani" "$folder" --ciselniky "$scratch/dataCis.mdb" --organizace "$organisation"

echo "Sample server: http://127.0.0.1:$port/ (folder $folder)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$folder" "$port"
