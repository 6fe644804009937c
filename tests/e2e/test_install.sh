#!/usr/bin/env bash
# The installed player, started through its launcher link in <prefix>/bin, finds its
# program folder and engine and plays a clip.
source "$(dirname "$0")/lib.sh"
PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null || fail "the installation failed"
PLAYER="$PREFIX/bin/orvella"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
start_player "$BUILD/sample/sample.mp4"
wait_window
position() { grep -o 'ANS_TIME_POSITION=[0-9.]*' "$ORVELLA_ENGINE_LOG" 2>/dev/null | tail -n 1 | cut -d= -f2; }
moved() { awk -v p="$(position)" 'BEGIN { exit !(p > 0.5) }'; }
wait_until 6 moved || fail "the installed player did not play (position '$(position)')"
pgrep -f "$PREFIX/lib/orvella/gnu/mplayer" >/dev/null || fail "the engine is not the installed link"
kill -TERM "$PLAYER_PID"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "ok: position $(position)"
