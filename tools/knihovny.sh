#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the libraries the shipped programs link and checks that the notices name each of them.
#
#   tools/knihovny.sh --oznameni THIRD-PARTY.md [--staticke FILE] --program FILE...
#
# --oznameni  the notices; the last column of their table names the library files the programs
#             may link, each in backticks
# --staticke  a file with one library file a line: the static libraries the build links into
#             the programs (the build writes it, tools/knihovny-staticke.txt in the build folder)
# --program   a shipped program, or one the shipped ones carry inside and write out; the
#             libraries it loads are its dynamic (NEEDED) entries
#
# Prints each linked library file with the program that links it (or "static, PATH") and the
# Debian package that holds it with its version ("-" where none is known), separated by tabs.
# Ends with 1, naming them, when the notices leave out a linked library, so that a new library
# cannot reach a package without its notice.
set -euo pipefail

oznameni=""
staticke=""
programy=()
while [ $# -gt 0 ]; do
    case "$1" in
        --oznameni) oznameni="$2" && shift 2 ;;
        --staticke) staticke="$2" && shift 2 ;;
        --program) programy+=("$2") && shift 2 ;;
        *) echo "knihovny.sh: unknown argument $1" >&2 && exit 2 ;;
    esac
done
[ -n "$oznameni" ] && [ ${#programy[@]} -gt 0 ] || {
    echo "usage: tools/knihovny.sh --oznameni THIRD-PARTY.md [--staticke FILE] --program FILE..." >&2
    exit 2
}
[ -f "$oznameni" ] || { echo "knihovny.sh: no notices $oznameni" >&2 && exit 1; }

# The file names in backticks in the last cell of each row of the notices' tables.
declare -A jmenovane
while IFS= read -r jmeno; do
    jmenovane[$jmeno]=1
done < <(awk -F'|' '
    /^\|/ && NF >= 3 {
        bunka = $(NF - 1)
        while (match(bunka, /`[^`]+`/)) {
            print substr(bunka, RSTART + 1, RLENGTH - 2)
            bunka = substr(bunka, RSTART + RLENGTH)
        }
    }' "$oznameni")

# The Debian package holding a library file, found by its path as ldd gives it, its real path, or
# the same path below /usr (the libraries live in /usr/lib while ldd may name them under /lib).
balicek_souboru() {
    local cesta kandidat
    cesta="$1"
    command -v dpkg-query >/dev/null 2>&1 && [ -n "$cesta" ] || return 1
    local nalez
    for kandidat in "$cesta" "$(readlink -f "$cesta")" "/usr$cesta" "${cesta#/usr}"; do
        [ -n "$kandidat" ] || continue
        # "package[:architecture]: path"; the first package when several hold it.
        if nalez="$(dpkg-query -S "$kandidat" 2>/dev/null)"; then
            printf '%s\n' "${nalez%%:*}"
            return 0
        fi
    done
    return 1
}

# "file<TAB>who links it<TAB>Debian package<TAB>its version", one line each; "-" for a package
# that is not known (a static library, a library the system lacks, a system without dpkg).
propojene=()
declare -A zname  # the package and version found for a library, asked once for all programs
for p in "${programy[@]}"; do
    [ -f "$p" ] || { echo "knihovny.sh: no program $p" >&2 && exit 1; }
    vypis="$(objdump -p "$p")" || { echo "knihovny.sh: cannot read $p" >&2 && exit 1; }
    nalezene="$(ldd "$p" 2>/dev/null)" || nalezene=""
    while read -r jmeno; do
        # Where the dynamic loader finds the library ("name => path"; the loader itself is
        # named by its path alone).
        cesta="$(awk -v j="$jmeno" '$1 == j && $2 == "=>" { print $3 }' <<<"$nalezene")"
        case "$jmeno" in
            ld-linux*) cesta="$(awk -v j="$jmeno" 'index($1, j) { print $1 }' <<<"$nalezene")" ;;
        esac
        klic="$jmeno"$'\t'"$cesta"
        if [ -z "${zname[$klic]+x}" ]; then
            v="-"
            if b="$(balicek_souboru "$cesta")"; then
                v="$(dpkg-query -W -f='${Version}' "$b" 2>/dev/null)" || v="-"
            else
                b="-"
            fi
            zname[$klic]="$b"$'\t'"${v:--}"
        fi
        propojene+=("$jmeno"$'\t'"$(basename "$p")"$'\t'"${zname[$klic]}")
    done < <(awk '$1 == "NEEDED" { print $2 }' <<<"$vypis")
done
if [ -n "$staticke" ]; then
    [ -f "$staticke" ] || { echo "knihovny.sh: no list $staticke" >&2 && exit 1; }
    while IFS= read -r cesta; do
        # Shared libraries among the build's imported ones are the programs' dynamic entries.
        case "$cesta" in "" | *.so | *.so.* | *.dll | *.dylib) continue ;; esac
        propojene+=("$(basename "$cesta")"$'\t'"static, $cesta"$'\t-\t-')
    done <"$staticke"
fi

chybi=()
while IFS=$'\t' read -r jmeno kdo b v; do
    [ -n "$jmeno" ] || continue
    if [ -n "${jmenovane[$jmeno]+x}" ]; then
        printf '%s\t%s\t%s\t%s\n' "$jmeno" "$kdo" "$b" "$v"
    else
        chybi+=("$jmeno ($kdo)")
    fi
done < <(printf '%s\n' "${propojene[@]}" | sort -u)

if [ ${#chybi[@]} -gt 0 ]; then
    echo "knihovny.sh: $oznameni does not name these linked libraries; add each with its version," \
        "licence, copyright and licence text:" >&2
    printf '  %s\n' "${chybi[@]}" >&2
    exit 1
fi
