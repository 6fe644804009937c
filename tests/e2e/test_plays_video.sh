#!/usr/bin/env bash
# Given a file on the command line, the player starts the real engine, which draws the
# video inside the video area of the main window.
source "$(dirname "$0")/lib.sh"
start_player "$BUILD/sample/sample.mp4"
wait_window
sleep 1.5   # the 4-second clip is playing now
shot=$(screenshot playing)
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
line=$(awk '$1 == "media" { print; exit }' "$ORVELLA_CONTROL_TREE_FILE")
[ -n "$line" ] || fail "no video area"
read -r _ _ left top right bottom _ <<<"$line"
w=$((right - left - 20)); h=$((bottom - top - 20))
colours=$(convert "$shot" -crop "${w}x${h}+$((X + left + 10))+$((Y + top + 10))" +repage -format '%k' info:)
echo "video area ${w}x${h} shows $colours colours"
[ "$colours" -gt 200 ] || fail "no video in the video area ($colours colours)"
kill -TERM "$PLAYER_PID"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
pgrep -f "$BUILD/gnu/mplayer" >/dev/null && fail "the engine outlived the player"
echo "ok"
