#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the release archive ParmexRozu-<version>-linux-x86_64.tar.gz: one folder holding the
# program folder's files and the installer, into which it writes the Debian packages that hold
# the libraries the programs link (found by tools/knihovny.sh with ldd and dpkg).
#
#   tools/balik.sh --vystup FOLDER --verze VERSION --oznameni THIRD-PARTY.md
#                  [--staticke FILE] [--soubor FILE]... [--program FILE]...
#
# --soubor    a file the archive carries and the installer puts into the program folder
#             (programs among them are stripped of debugging data)
# --program   a program whose libraries the installer checks: each shipped program, and the
#             programs the shipped ones carry inside and write out (the updater)
# --oznameni  the notices of the libraries: every library the programs link must be named there
#             (tools/knihovny.sh), or no archive is made
# --staticke  the static libraries of others the build links into the programs, one a line
# The build's target "balik" calls this with the lists kept in tools/CMakeLists.txt.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"

vystup=""
verze=""
soubory=()
programy=()
oznameni=""
staticke=""
while [ $# -gt 0 ]; do
    case "$1" in
        --vystup) vystup="$2" && shift 2 ;;
        --verze) verze="$2" && shift 2 ;;
        --soubor) soubory+=("$2") && shift 2 ;;
        --program) programy+=("$2") && shift 2 ;;
        --oznameni) oznameni="$2" && shift 2 ;;
        --staticke) staticke="$2" && shift 2 ;;
        *) echo "balik.sh: unknown argument $1" >&2 && exit 2 ;;
    esac
done
[ -n "$vystup" ] && [ -n "$verze" ] && [ -n "$oznameni" ] && [ ${#soubory[@]} -gt 0 ] || {
    echo "usage: tools/balik.sh --vystup FOLDER --verze VERSION --oznameni THIRD-PARTY.md" \
        "[--staticke FILE] --soubor FILE... --program FILE..." >&2
    exit 2
}
case "$verze" in
    *[!0-9.]* | "") echo "balik.sh: bad version $verze" >&2 && exit 2 ;;
esac
command -v dpkg-query >/dev/null || { echo "balik.sh: needs dpkg (a Debian system)" >&2 && exit 1; }

# The libraries the programs link, each with the Debian package that holds it: the check of the
# notices lists them, and refuses (so no archive is made) when the notices leave one out. The
# packages of the libraries each program names itself (its NEEDED entries) bring the rest
# through their own dependencies.
kontrola=(--oznameni "$oznameni")
[ -z "$staticke" ] || kontrola+=(--staticke "$staticke")
for p in "${programy[@]}"; do
    [ -x "$p" ] || { echo "balik.sh: no program $p" >&2 && exit 1; }
    kontrola+=(--program "$p")
done
knihovny="$("$top/tools/knihovny.sh" "${kontrola[@]}")"
balicky=()
while IFS=$'\t' read -r jmeno kdo b _; do
    case "$kdo" in static,*) continue ;; esac
    [ "$b" != "-" ] || {
        echo "balik.sh: no Debian package holds $jmeno (linked by $kdo)" >&2
        exit 1
    }
    balicky+=("$b")
done <<<"$knihovny"
mapfile -t balicky < <(printf '%s\n' "${balicky[@]}" | sort -u)

nazev="ParmexRozu-$verze"
archiv="$nazev-linux-x86_64.tar.gz"
mkdir -p "$vystup"
vystup="$(cd "$vystup" && pwd)"
pracovni="$(mktemp -d)"
trap 'rm -rf "$pracovni"' EXIT
mkdir "$pracovni/$nazev"
for f in "${soubory[@]}"; do
    cil="$pracovni/$nazev/$(basename "$f")"
    cp "$f" "$cil"
    if [ -x "$f" ]; then
        strip --strip-debug "$cil"
        chmod 755 "$cil"
    else
        chmod 644 "$cil"
    fi
done
jmena=()
for f in "${soubory[@]}"; do jmena+=("$(basename "$f")"); done
sed -e "s|@BALICKY@|${balicky[*]}|" -e "s|@SOUBORY@|${jmena[*]}|" "$top/tools/instalace.sh" \
    >"$pracovni/$nazev/instalace.sh"
chmod 755 "$pracovni/$nazev/instalace.sh"

tar --sort=name --owner=0 --group=0 --numeric-owner -C "$pracovni" -czf "$pracovni/$archiv" "$nazev"
mv -f "$pracovni/$archiv" "$vystup/$archiv"
echo "$vystup/$archiv"
