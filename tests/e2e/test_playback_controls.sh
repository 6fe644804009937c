#!/usr/bin/env bash
# Real clicks on the transport buttons: pause freezes the picture, play resumes it, stop
# shows the start-up picture; closing and starting again lists the clip with the point
# where it was left.
source "$(dirname "$0")/lib.sh"
clip=$(make_moving_clip 20)
# The engine's newest answer for the position has passed the given seconds.
played_past() {
  grep -o 'ANS_TIME_POSITION=[0-9.]*' "$ORVELLA_ENGINE_LOG" | tail -n 1 | cut -d= -f2 |
    awk -v s="$1" '{ v = $1 } END { exit !(v != "" && v > s) }'
}
video_shown() { playing=$(control_shot media playing); [ "$(colours_in "$playing")" -gt 200 ]; }

start_player "$clip"
wait_window
wait_playing
wait_until 5 video_shown || fail "no video in the video area"

click_control pause
expect_still pause

click_control play
expect_moving play

wait_until 10 played_past 4 || fail "the clip does not play on past 4 s"
click_control stop
sleep 0.5
stopped=$(control_shot media stopped)
close_player
settings_text | grep -F "filename=\"$clip\"" >/dev/null || fail "the clip is not in the play memory"
start=$(settings_text | grep -F "filename=\"$clip\"" | sed -n 's/.*starttime="\([0-9]*\)".*/\1/p')
echo "resume point saved: ${start}s"
[ "${start:-0}" -ge 3 ] || fail "resume point ${start:-none}, expected at least 3 s"

# Started again without a file: the start-up picture, the clip listed.
start_player
wait_window
sleep 0.5
again=$(control_shot media start-view)
d=$(looks_unlike "$stopped" "$again")
v=$(looks_unlike "$playing" "$again")
echo "stop view vs start view: $d % unlike (the video was $v % unlike)"
[ "$d" -lt 5 ] && [ "$v" -gt 10 ] || fail "stop does not show the start-up picture ($d % unlike)"
screenshot restarted-with-list >/dev/null
click_control closebtn
wait_exit 10
settings_text | grep -F "starttime=\"$start\"" >/dev/null || fail "the resume point did not survive a second start"
echo "ok"
