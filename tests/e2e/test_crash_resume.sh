#!/usr/bin/env bash
# A player killed while it plays (kill -9: it writes nothing on its way out) comes back
# with the clip in its play list, and play resumes within 15 s of where it was.
source "$(dirname "$0")/lib.sh"
clip=$(make_moving_clip 60)
# The engine's newest answer for the position, and its first since this start.
position() { grep -o 'ANS_TIME_POSITION=[0-9.]*' "$ORVELLA_ENGINE_LOG" | tail -n 1 | cut -d= -f2; }
first_position() {
  tail -n +$((LOG_MARK + 1)) "$ORVELLA_ENGINE_LOG" | grep -o 'ANS_TIME_POSITION=[0-9.]*' | head -n 1 | cut -d= -f2
}
played_past() { awk -v v="$(position)" -v s="$1" 'BEGIN { exit !(v != "" && v > s) }'; }

start_player "$clip"
wait_window
wait_playing
wait_until 40 played_past 25 || fail "the clip does not play on past 25 s"
killed_at=$(position)
engine=$(pgrep -P "$PLAYER_PID" || true)
kill -9 "$PLAYER_PID"
wait_exit 5
for pid in $engine; do kill -9 "$pid" 2>/dev/null || true; done
kept=$(settings_text | grep -F "filename=\"$clip\"" | sed -n 's/.*starttime="\([0-9]*\)".*/\1/p')
echo "killed at ${killed_at}s; the play memory holds ${kept:-nothing}"
[ -n "$kept" ] || fail "the clip is not in the play memory"
awk -v k="$kept" -v at="$killed_at" 'BEGIN { exit !(k >= at - 15 && k <= at) }' ||
  fail "resume point ${kept}s, expected within 15 s before ${killed_at}s"

# Started again without a file: play plays the list's current entry, the clip, from its
# resume point.
start_player
wait_window
click_control play
wait_playing
tail -n +$((LOG_MARK + 1)) "$ORVELLA_ENGINE_LOG" | grep -qF "< Playing $clip." ||
  fail "play did not play the clip from the play list"
resumed=$(first_position)
echo "resumed at ${resumed}s"
awk -v r="$resumed" -v at="$killed_at" 'BEGIN { exit !(r >= at - 15) }' ||
  fail "play resumed at ${resumed}s, more than 15 s before ${killed_at}s"
close_player
echo "ok"
