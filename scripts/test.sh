#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit, real engine, end to end)
# on a virtual screen; then builds the address and undefined-behaviour checking tree and
# runs every test again against it (ORVELLA_SKIP_SANITIZE=1 leaves that out).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/install-deps.sh"
bash "$top/scripts/build.sh"
cd "$top/build"
# Here a missing engine, ffmpeg or test tool fails its tests instead of skipping them.
export ORVELLA_REQUIRE_ALL=1
bash "$top/scripts/with-display.sh" ctest --output-on-failure --timeout 300

[ "${ORVELLA_SKIP_SANITIZE:-}" = 1 ] && exit 0
ORVELLA_SANITIZE=1 bash "$top/scripts/build.sh" orvella orvella_tests runtime_tree xdnd_drop screensaver_recorder
cd "$top/build-sanitize"
# Any report fails: the checks end the program, and a leak in our code ends it with an error.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$top/tests/sanitizer/lsan.supp:print_suppressions=0"
bash "$top/scripts/with-display.sh" ctest --output-on-failure --timeout 600
