#!/usr/bin/env bash
# Makes the release archive ParmexRozu-<version>-linux-x86_64.tar.gz: one folder holding the
# program folder's files and the installer, into which it writes the Debian packages that hold
# the libraries the programs link (found with ldd and dpkg).
#
#   tools/balik.sh --vystup FOLDER --verze VERSION [--soubor FILE]... [--program FILE]...
#
# --soubor    a file the archive carries and the installer puts into the program folder
#             (programs among them are stripped of debugging data)
# --program   a program whose libraries the installer checks: each shipped program, and the
#             programs the shipped ones carry inside and write out (the updater)
# The build's target "balik" calls this with the lists kept in tools/CMakeLists.txt.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"

vystup=""
verze=""
soubory=()
programy=()
while [ $# -gt 0 ]; do
    case "$1" in
        --vystup) vystup="$2" && shift 2 ;;
        --verze) verze="$2" && shift 2 ;;
        --soubor) soubory+=("$2") && shift 2 ;;
        --program) programy+=("$2") && shift 2 ;;
        *) echo "balik.sh: unknown argument $1" >&2 && exit 2 ;;
    esac
done
[ -n "$vystup" ] && [ -n "$verze" ] && [ ${#soubory[@]} -gt 0 ] || {
    echo "usage: tools/balik.sh --vystup FOLDER --verze VERSION --soubor FILE... --program FILE..." >&2
    exit 2
}
case "$verze" in
    *[!0-9.]* | "") echo "balik.sh: bad version $verze" >&2 && exit 2 ;;
esac
command -v dpkg-query >/dev/null || { echo "balik.sh: needs dpkg (a Debian system)" >&2 && exit 1; }

# The package holding a library file, found by its path as ldd gives it, its real path, or the
# same path below /usr (the libraries live in /usr/lib while ldd may name them under /lib).
balicek_souboru() {
    local cesta kandidat
    cesta="$1"
    for kandidat in "$cesta" "$(readlink -f "$cesta")" "/usr$cesta" "${cesta#/usr}"; do
        [ -n "$kandidat" ] || continue
        if dpkg-query -S "$kandidat" >/dev/null 2>&1; then
            dpkg-query -S "$kandidat" 2>/dev/null | head -n1 | cut -d: -f1
            return 0
        fi
    done
    return 1
}

# The libraries each program names itself (its NEEDED entries), where ldd finds them; the
# packages that hold them bring the rest through their own dependencies.
balicky=()
for p in "${programy[@]}"; do
    [ -x "$p" ] || { echo "balik.sh: no program $p" >&2 && exit 1; }
    nalezene="$(ldd "$p")"
    while read -r jmeno; do
        knihovna="$(awk -v j="$jmeno" '$1 == j && $2 == "=>" { print $3 }' <<<"$nalezene")"
        case "$jmeno" in ld-linux*) knihovna="$(awk -v j="$jmeno" '$1 ~ j { print $1 }' <<<"$nalezene")" ;; esac
        [ -n "$knihovna" ] || { echo "balik.sh: $p: $jmeno not found" >&2 && exit 1; }
        b="$(balicek_souboru "$knihovna")" || {
            echo "balik.sh: no Debian package holds $knihovna (linked by $p)" >&2
            exit 1
        }
        balicky+=("$b")
    done < <(objdump -p "$p" | awk '$1 == "NEEDED" { print $2 }')
done
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
