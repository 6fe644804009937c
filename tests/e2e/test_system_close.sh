#!/usr/bin/env bash
# The window manager's close request, and SIGTERM, each end the player with exit code 0.
source "$(dirname "$0")/lib.sh"
start_player
wait_window
wmctrl -i -c "$WINDOW_ID"
code=$(wait_exit 10)
[ "$code" = 0 ] || fail "exit code $code after the window manager's close"

rm -f "$ORVELLA_CONTROL_TREE_FILE"
start_player
wait_window
kill -TERM "$PLAYER_PID"
code=$(wait_exit 10)
[ "$code" = 0 ] || fail "exit code $code after SIGTERM"
echo "ok"
