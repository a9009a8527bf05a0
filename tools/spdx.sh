#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every source file of the repository the SPDX line of the program's licence at its top,
# or checks that each has it.
#
#   tools/spdx.sh [--kontrola] [FOLDER]
#
# FOLDER is the repository's top folder (the one holding this script by default); its files are
# those Git tracks there (every file below it, build and run folders left out, when it is not a
# Git work tree). Sources are C++ (.cpp .h .hpp .c), which take
#     // SPDX-License-Identifier: GPL-3.0-or-later
# and CMake, shell and Python (CMakeLists.txt .cmake .sh .py, and executables starting "#!"),
# which take the same after "#". The line goes first, or right after a "#!" line. A file that
# names an SPDX licence identifier in its first lines already is left as it is, so running the
# script again changes nothing. Other files (documents, data, images) are not touched.
#
# --kontrola changes nothing: it names the source files without the line and ends with 1 when
# there are any.
set -euo pipefail

licence="GPL-3.0-or-later"
kontrola=0
koren=""
for a in "$@"; do
    case "$a" in
        --kontrola) kontrola=1 ;;
        -h | --help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//' && exit 0 ;;
        -*) echo "spdx.sh: unknown argument $a" >&2 && exit 2 ;;
        *)
            [ -z "$koren" ] || { echo "spdx.sh: one folder only" >&2 && exit 2; }
            koren="$a"
            ;;
    esac
done
[ -n "$koren" ] || koren="$(dirname "$0")/.."
koren="$(cd "$koren" && pwd)" || { echo "spdx.sh: no folder $koren" >&2 && exit 2; }

# The comment a file's SPDX line starts with; nothing for a file that is not a source.
komentar() {
    case "$1" in
        *.cpp | *.h | *.hpp | *.c | *.cc) echo "//" ;;
        CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py) echo "#" ;;
        *)
            # A script without a known name: an executable file starting with "#!".
            if [ -x "$koren/$1" ] && [ "$(head -c 2 "$koren/$1")" = "#!" ]; then echo "#"; fi
            ;;
    esac
}

soubory() {
    if git -C "$koren" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$koren" ls-files -z
    else
        (cd "$koren" && find . \( -name .git -o -name 'build*' -o -name run \) -prune -o \
            -type f -print0 | sed -z 's|^\./||')
    fi
}

# The work is one function, read whole before it runs: the script may rewrite its own file (it
# is one of the sources), and the shell would otherwise read on from the changed file.
projdi() {
    local chybi=() f cesta k konec radek docasny
    while IFS= read -r -d '' f; do
        cesta="$koren/$f"
        # Tracked but deleted, a link, or a file that cannot be read: nothing to do.
        [ -f "$cesta" ] && [ ! -L "$cesta" ] && [ -r "$cesta" ] || continue
        k="$(komentar "$f")"
        [ -n "$k" ] || continue
        # Any SPDX identifier near the top counts: a file of others keeps its own.
        # (Tested on the text itself: "head | grep -q" may fail as the pipe closes early.)
        if [[ "$(head -n 5 "$cesta")" == *"SPDX-License-Identifier:"* ]]; then
            continue
        fi
        if [ "$kontrola" = 1 ]; then
            chybi+=("$f")
            continue
        fi
        # The line ends as the file's first line ends (CRLF or LF).
        konec=""
        if [[ "$(head -n 1 "$cesta")" == *$'\r' ]]; then konec=$'\r'; fi
        radek="$k SPDX-License-Identifier: $licence$konec"
        docasny="$(mktemp)"
        if [ "$(head -c 2 "$cesta")" = "#!" ]; then
            # The first line ends with a line break unless the file is that line alone.
            {
                head -n 1 "$cesta"
                [ "$(head -n 1 "$cesta" | wc -l)" = 1 ] || echo
                printf '%s\n' "$radek"
                tail -n +2 "$cesta"
            } >"$docasny"
        else
            { printf '%s\n' "$radek"; cat "$cesta"; } >"$docasny"
        fi
        # Written into the same file, so that its permissions (an executable script) stay.
        cat "$docasny" >"$cesta"
        rm -f "$docasny"
        echo "$f"
    done < <(soubory)

    if [ ${#chybi[@]} -gt 0 ]; then
        echo "spdx.sh: these source files lack the line \"SPDX-License-Identifier: $licence\"" \
            "(tools/spdx.sh adds it):" >&2
        printf '  %s\n' "${chybi[@]}" >&2
        exit 1
    fi
}
# One line: nothing after it is read from the file once it has run.
projdi; exit 0
