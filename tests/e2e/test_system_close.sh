#!/usr/bin/env bash
# The window manager's close request, Alt+F4 and SIGTERM each end the player with exit
# code 0, also when the engine has stopped reading.
source "$(dirname "$0")/lib.sh"

start_player
wait_window
wmctrl -i -c "$(printf '0x%08x' "$WINDOW_ID")"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the window manager's close"

rm -f "$ORVELLA_CONTROL_TREE_FILE"
start_player
wait_window
xdotool windowactivate --sync "$WINDOW_ID" 2>/dev/null || xdotool windowfocus --sync "$WINDOW_ID"
xdotool key alt+F4
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after Alt+F4"

# SIGTERM while the engine is stopped and thousands of seeks wait for it: the window
# never blocks on the engine, so the player still ends, saves and takes the engine along.
rm -f "$ORVELLA_CONTROL_TREE_FILE"
start_player "$BUILD/test-media/video.mp4"
wait_window
engine_of_player() { pgrep -P "$PLAYER_PID" -f mplayer >/dev/null; }
wait_until 10 engine_of_player || fail "no engine started"
engine=$(pgrep -P "$PLAYER_PID" -f mplayer | head -n 1)
kill -STOP "$engine"
xdotool windowactivate --sync "$WINDOW_ID" 2>/dev/null || xdotool windowfocus --sync "$WINDOW_ID"
# The keys go at once; the player has taken them all when it has sent every seek.
seeks_sent() { [ "$(tail -n +$((LOG_MARK + 1)) "$ORVELLA_ENGINE_LOG" | grep -c 'seek')" -ge 3000 ]; }
xdotool key --delay 0 --repeat 3000 Right
wait_until 30 seeks_sent || { kill -9 "$engine"; fail "the player did not send a seek for each of 3000 keys"; }
kill -TERM "$PLAYER_PID"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || { kill -9 "$engine" 2>/dev/null; fail "exit code $EXIT_CODE after SIGTERM with a stopped engine"; }
settings_text | grep -q 'video.mp4' || fail "the play list was not saved"
! kill -0 "$engine" 2>/dev/null || { kill -9 "$engine"; fail "the stopped engine outlived the player"; }
echo "ok"
