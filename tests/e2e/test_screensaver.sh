#!/usr/bin/env bash
# The screen stays on while a video plays: a stand-in screen saver on a private session
# bus records what the player asks of it. A song first never inhibits; the video after it
# does, and lets go on Space (pause), minimise, stop and the end of the clip, each time
# taken again on resume; closing while it plays leaves nothing held.
source "$(dirname "$0")/lib.sh"
RECORDER_BIN="$BUILD/screensaver_recorder"
[ -x "$RECORDER_BIN" ] || fail "the stand-in screen saver $RECORDER_BIN is not built"
command -v dbus-daemon >/dev/null || { [ "${ORVELLA_REQUIRE_ALL:-}" = 1 ] && fail "dbus-daemon missing"; echo "skip: no dbus-daemon"; exit 0; }
song=$(media_file "song.mp3" -f lavfi -i "sine=frequency=440:duration=2" -c:a libmp3lame)
clip=$(media_file "eight seconds.mp4" -f lavfi -i "testsrc2=size=320x240:rate=25:duration=8" -pix_fmt yuv420p \
  -c:v libx264 -preset ultrafast)

# A bus of our own: no service but the stand-in is there, nothing is started on demand.
cat >"$WORK/bus.conf" <<EOF
<busconfig><type>session</type><listen>unix:dir=$WORK</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy></busconfig>
EOF
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r BUS_PID; } < <(dbus-daemon --config-file="$WORK/bus.conf" --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS
RECORD="$WORK/screensaver.txt"
"$RECORDER_BIN" "$RECORD" &
RECORDER=$!
trap 'status=$?; kill $RECORDER $BUS_PID 2>/dev/null || true; (exit $status); cleanup_player' EXIT
wait_until 5 grep -q '^ready$' "$RECORD" || fail "the stand-in screen saver did not start"

calls() { grep -c "^$1 " "$RECORD" || true; }
counts_are() { [ "$(calls Inhibit)" = "$1" ] && [ "$(calls UnInhibit)" = "$2" ]; }
# Waits until the stand-in has had n inhibits and m releases.
expect() {
  wait_until 10 counts_are "$1" "$2" ||
    fail "after $3: $(calls Inhibit) inhibits and $(calls UnInhibit) releases, not $1 and $2"
  echo "$3: $1 inhibits, $2 releases"
}

start_player "$song" "$clip"
wait_window
wait_until 10 answered_since 'no video' || fail "the song did not play"
expect 0 0 "the song"
wait_until 10 answered_since 'VO: ' || fail "the video after the song did not play"
expect 1 0 "the video"
xdotool windowactivate --sync "$WINDOW_ID" 2>/dev/null || true
xdotool key space
expect 1 1 "pause"
xdotool key space
expect 2 1 "resume"
click_control minbtn
expect 2 2 "minimise"
wmctrl -i -a "$WINDOW_ID"
expect 3 2 "restore"
click_control stop
expect 3 3 "stop"
click_control play
expect 4 3 "play"
expect 4 4 "the end of the clip"
click_control play
expect 5 4 "play again"
close_player
expect 5 5 "closing while it plays"
grep -q '^Inhibit Orvella: Playing a video = 1$' "$RECORD" || fail "the inhibit does not say who and why: $(cat "$RECORD")"
# Each release gives back the cookie of the inhibit before it.
awk '/^Inhibit/ { held = $NF } /^UnInhibit/ { if ($2 != held) exit 1; held = "" }' "$RECORD" ||
  fail "a release that does not match its inhibit: $(cat "$RECORD")"
echo "ok"
