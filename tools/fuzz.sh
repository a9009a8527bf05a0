#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a bounded time
# (seconds per target: first argument, default 60). Crashes land in build-fuzz/nalezy/<target>/;
# copy each one into tests/fuzz/regrese/<target>/ and fix the code: tools/fuzz.sh first replays
# every committed input, so a fixed crash stays fixed.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
sekund="${1:-60}"
b="$top/build-fuzz"
CXX=clang++ CC=clang cmake -S "$top" -B "$b" -DPARMEX_FUZZ=ON -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cile=(fuzz_sqlhodnoty fuzz_hodnoty fuzz_prikazovaradka fuzz_rozbaleni fuzz_oznameni fuzz_radkaobnovniku fuzz_jet)
cmake --build "$b" -j"$(nproc)" --target "${cile[@]}"
# Seed archives for the extraction target: files, a folder, stored and deflated entries.
seme="$b/korpus/fuzz_rozbaleni"
if [ ! -d "$seme" ]; then
    mkdir -p "$seme"
    tmp="$(mktemp -d)"
    (cd "$tmp" && echo ahoj >a.txt && mkdir d && echo x >d/b.exe &&
        zip -q "$seme/slozka.zip" a.txt d/b.exe && zip -q -0 "$seme/ulozeny.zip" a.txt)
    rm -rf "$tmp"
fi
# Seeds for the Jet reader: each of the two real Jet files untouched, one table and all of them.
seme="$b/korpus/fuzz_jet"
if [ ! -d "$seme" ]; then
    mkdir -p "$seme"
    printf '\x00' >"$seme/jet4" && printf '\x08' >"$seme/jet4-vse"
    printf '\x01\x04' >"$seme/jet3" && printf '\x09' >"$seme/jet3-vse"
fi
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for cil in "${cile[@]}"; do
    regrese="$top/tests/fuzz/regrese/$cil"
    korpus="$b/korpus/$cil"
    nalezy="$b/nalezy/$cil"
    mkdir -p "$korpus" "$nalezy"
    if [ -d "$regrese" ] && [ -n "$(ls -A "$regrese")" ]; then
        echo "== $cil: replaying $(ls "$regrese" | wc -l) committed inputs"
        "$b/tests/fuzz/$cil" "$regrese"/*
    fi
    echo "== $cil: fuzzing for $sekund s"
    # The Jet reader runs a process per input and is slow: its inputs (lists of patches) get
    # their full length at once instead of growing from a few bytes.
    delka=(-max_len=4096)
    [ "$cil" = fuzz_jet ] && delka=(-max_len=256 -len_control=0)
    "$b/tests/fuzz/$cil" "$korpus" ${regrese:+$( [ -d "$regrese" ] && echo "$regrese")} \
        -max_total_time="$sekund" "${delka[@]}" -timeout=10 -artifact_prefix="$nalezy/" \
        -print_final_stats=1 2>&1 | grep -E "^(#[0-9]+ +DONE|==|SUMMARY|stat::number_of_executed_units|artifact_prefix|Test unit written)" || true
    if [ -n "$(ls -A "$nalezy")" ]; then
        echo "$cil found crashes in $nalezy:" >&2
        ls "$nalezy" >&2
        exit 1
    fi
done
echo "fuzzing: no crash found"
