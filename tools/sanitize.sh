#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the whole program and its tests with AddressSanitizer + UndefinedBehaviorSanitizer
# into build-asan/ and runs every test there. Any report of either sanitizer fails the run.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
b="$top/build-asan"
cmake -S "$top" -B "$b" -DPARMEX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$b" -j"$(nproc)"
cd "$b"
# Leaks of the toolkit's own one-time allocations (fonts, plugins) are not ours to report;
# memory errors and undefined behaviour always stop the test. tools/asan.supp names the system
# libraries whose own reports are not ours to fix.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:suppressions=$top/tools/asan.supp"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
