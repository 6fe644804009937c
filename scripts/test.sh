#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit, real engine, end to end)
# on a virtual screen.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/install-deps.sh"
bash "$top/scripts/build.sh"
cd "$top/build"
# Here a missing engine, ffmpeg or test tool fails its tests instead of skipping them.
export ORVELLA_REQUIRE_ALL=1
bash "$top/scripts/with-display.sh" ctest --output-on-failure --timeout 300
