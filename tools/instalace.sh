#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs Parmex Rozu for the current user, or removes it again.
#
#   ./instalace.sh [SLOZKA]                              install (or install again)
#   ./instalace.sh --odinstalovat [SLOZKA] [--vcetne-dat] remove
#
# SLOZKA is the program's folder, ~/.local/share/parmex-rozu unless named. The program updates
# itself in place, so the folder belongs to the user. The desktop entry goes to
# ~/.local/share/applications/parmex-rozu.desktop.
#
# Installing again over an installation replaces the program files and keeps everything else
# (data.mdb, Error.log). Removing deletes the program files and the desktop entry and keeps the
# data; --vcetne-dat deletes the data too. Only files the program itself makes are ever deleted,
# and the folder only when nothing else is left in it.
#
# The release archive writes into this script the files it carries beside it and the Debian
# packages the programs need; a missing package stops the installation before anything is
# written.
set -euo pipefail

soubory_programu=(@SOUBORY@)
potrebne_balicky=(@BALICKY@)

program="ParmexRozu"
ikona="parmex-rozu.svg"
instalator="instalace.sh"
# Files the program writes beside itself while it runs (the updater, its leftovers, the printed
# form, a code-list file not yet imported); they go with the program.
soubory_behu=(Obnovnik Obnovnik.exe unzip32.dll form.html dataCis.mdb)
# The member's data: kept unless --vcetne-dat.
soubory_dat=(data.mdb data.mdb.jet Error.log)

data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
vychozi_slozka="$data_home/parmex-rozu"
polozka_nabidky="$data_home/applications/parmex-rozu.desktop"

chyba() {
    echo "Chyba: $*" >&2
    exit 1
}

pouziti() {
    cat >&2 <<'KONEC'
Použití:
  ./instalace.sh [SLOZKA]                                nainstaluje program
  ./instalace.sh --odinstalovat [SLOZKA] [--vcetne-dat]  odinstaluje program
Výchozí složka programu je ~/.local/share/parmex-rozu.
KONEC
    exit 2
}

# The folder as a full path without a trailing slash; refuses names a desktop entry cannot hold.
plna_cesta() {
    local s="$1"
    [ -n "$s" ] || chyba "Není zadána složka programu."
    case "$s" in
        *$'\n'* | *$'\r'* | *$'\t'*) chyba "Název složky \"$s\" obsahuje řídicí znak." ;;
    esac
    # "." and ".." taken out and no trailing "/", symbolic links left as the user named them.
    realpath -ms -- "$s"
}

# A value of the desktop entry: a backslash is written as two.
hodnota_polozky() {
    local v="${1//\\/\\\\}"
    printf '%s' "$v"
}

# The Exec value: the program's path in double quotes, where ", `, $ and \ carry a backslash,
# "%" is doubled (field codes), and the whole value is then escaped as a desktop entry value.
prikaz_polozky() {
    local v="$1"
    v="${v//\\/\\\\}"
    v="${v//\"/\\\"}"
    v="${v//\`/\\\`}"
    v="${v//\$/\\\$}"
    v="${v//%/%%}"
    hodnota_polozky "\"$v\""
}

chybejici_balicky() {
    if command -v dpkg-query >/dev/null 2>&1; then
        local b
        for b in "${potrebne_balicky[@]}"; do
            dpkg-query -W -f='${db:Status-Abbrev}' "$b" 2>/dev/null | grep -q '^ii' || echo "$b"
        done
    elif command -v ldd >/dev/null 2>&1; then
        # Not a Debian system: name the libraries the program cannot find instead.
        ldd "$zdroj/$program" 2>/dev/null | awk '/not found/ { print $1 }'
    fi
}

instaluj() {
    local slozka="$1"
    case "${potrebne_balicky[*]}" in
        @*) chyba "Instalátor se spouští z rozbaleného balíku programu." ;;
    esac
    local f
    for f in "${soubory_programu[@]}"; do
        [ -f "$zdroj/$f" ] || chyba "Vedle instalátoru chybí soubor $f."
    done

    local chybi
    chybi="$(chybejici_balicky | sort -u | tr '\n' ' ')"
    chybi="${chybi% }"
    if [ -n "$chybi" ]; then
        echo "Chyba: v systému chybí balíčky, které program potřebuje: $chybi" >&2
        echo "Nainstalujte je (sudo apt-get install $chybi) a spusťte instalaci znovu." >&2
        exit 1
    fi

    if [ -e "$slozka" ] && [ ! -d "$slozka" ]; then
        chyba "\"$slozka\" není složka."
    fi
    mkdir -p "$slozka" || chyba "Složku \"$slozka\" nelze vytvořit."
    [ -w "$slozka" ] || chyba "Do složky \"$slozka\" nelze zapisovat."
    mkdir -p "$(dirname "$polozka_nabidky")" ||
        chyba "Složku \"$(dirname "$polozka_nabidky")\" nelze vytvořit."

    # Each file is copied under a temporary name and renamed over the old one, so a program
    # folder never holds half a program (and a running program keeps its own file).
    for f in "${soubory_programu[@]}" "$instalator"; do
        if [ "$(cd "$zdroj" && pwd -P)/$f" = "$(cd "$slozka" && pwd -P)/$f" ]; then
            continue
        fi
        cp -f "$zdroj/$f" "$slozka/.$f.novy" || chyba "Soubor \"$slozka/$f\" nelze zapsat."
        if [ -x "$zdroj/$f" ]; then
            chmod 755 "$slozka/.$f.novy"
        else
            chmod 644 "$slozka/.$f.novy"
        fi
        mv -f "$slozka/.$f.novy" "$slozka/$f" || chyba "Soubor \"$slozka/$f\" nelze zapsat."
    done

    local docasna="$polozka_nabidky.novy"
    {
        echo "[Desktop Entry]"
        echo "Type=Application"
        echo "Version=1.4"
        echo "Name=Parmex Rozu E-platby"
        echo "GenericName=Platby rybářské organizaci"
        echo "Comment=Platby členských příspěvků, brigád a povolenek převodem z internetového bankovnictví"
        echo "Exec=$(prikaz_polozky "$slozka/$program")"
        echo "Path=$(hodnota_polozky "$slozka")"
        echo "Icon=$(hodnota_polozky "$slozka/$ikona")"
        echo "Terminal=false"
        # The window class the toolkit gives the program's windows: the desktop shows them
        # under this entry and its icon.
        echo "StartupWMClass=ParmexRozu"
        echo "Categories=Office;Finance;"
        echo "Keywords=platby;povolenky;rybáři;"
    } >"$docasna" || chyba "Položku nabídky \"$polozka_nabidky\" nelze zapsat."
    mv -f "$docasna" "$polozka_nabidky" || chyba "Položku nabídky \"$polozka_nabidky\" nelze zapsat."
    if command -v update-desktop-database >/dev/null 2>&1; then
        update-desktop-database -q "$(dirname "$polozka_nabidky")" 2>/dev/null || true
    fi

    echo "Parmex Rozu je nainstalován ve složce $slozka."
    echo "Spustíte jej z nabídky aplikací (Kancelář → Parmex Rozu E-platby)."
    echo "Data programu jsou v souboru $slozka/data.mdb."
    echo "Program je svobodný software pod licencí GNU GPL verze 3 nebo novější ($slozka/LICENSE);"
    echo "licence knihoven, které používá, jsou v souboru $slozka/THIRD-PARTY.md."
}

odinstaluj() {
    local slozka="$1" i_data="$2"
    local nalezeno=0
    if [ -f "$polozka_nabidky" ] &&
        grep -qxF "Path=$(hodnota_polozky "$slozka")" "$polozka_nabidky"; then
        rm -f "$polozka_nabidky"
        nalezeno=1
    fi
    if [ -d "$slozka" ]; then
        local f
        for f in "${soubory_programu[@]}" "$instalator" "${soubory_behu[@]}"; do
            if [ -f "$slozka/$f" ] || [ -L "$slozka/$f" ]; then
                rm -f "$slozka/$f"
                nalezeno=1
            fi
        done
        rm -rf "$slozka/tmp"
        if [ "$i_data" = 1 ]; then
            for f in "${soubory_dat[@]}"; do
                if [ -f "$slozka/$f" ]; then
                    rm -f "$slozka/$f"
                    nalezeno=1
                fi
            done
        fi
        rmdir "$slozka" 2>/dev/null || true
    fi
    [ "$nalezeno" = 1 ] || chyba "Ve složce \"$slozka\" není Parmex Rozu nainstalován."
    echo "Parmex Rozu je odinstalován."
    if [ -d "$slozka" ]; then
        echo "Ve složce $slozka zůstalo:"
        (cd "$slozka" && ls -A)
    fi
}

zdroj="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
rezim=instalace
i_data=0
slozka=""
for a in "$@"; do
    case "$a" in
        --odinstalovat) rezim=odinstalace ;;
        --vcetne-dat) i_data=1 ;;
        -h | --help) pouziti ;;
        -*) pouziti ;;
        *)
            [ -z "$slozka" ] || pouziti
            slozka="$a"
            ;;
    esac
done
[ "$i_data" = 0 ] || [ "$rezim" = odinstalace ] || pouziti
slozka="$(plna_cesta "${slozka:-$vychozi_slozka}")"

if [ "$rezim" = instalace ]; then
    instaluj "$slozka"
else
    odinstaluj "$slozka" "$i_data"
fi
