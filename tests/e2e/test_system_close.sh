#!/usr/bin/env bash
# The window manager's close request, Alt+F4 and SIGTERM each end the player with exit
# code 0.
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

rm -f "$ORVELLA_CONTROL_TREE_FILE"
start_player
wait_window
kill -TERM "$PLAYER_PID"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
echo "ok"
