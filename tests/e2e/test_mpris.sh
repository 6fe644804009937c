#!/usr/bin/env bash
# The desktop's media controls (MPRIS 2) on a session bus of the test's own: PlayPause
# freezes the real picture and reads "Paused", the metadata tells the clip's length,
# SetPosition seeks, Next plays the next entry; a second player, the name taken by the
# first, still starts and plays under a name of its own.
if [ -z "${ORVELLA_TEST_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session missing" >&2; exit 1; }
  exec env ORVELLA_TEST_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
clip=$(make_moving_clip 20)
second=$(media_file "second clip.mp4" -f lavfi -i "testsrc2=size=320x180:rate=25:duration=20" \
  -pix_fmt yuv420p -c:v libx264 -preset ultrafast)
NAME=org.mpris.MediaPlayer2.orvella
PLAYER_IFACE=org.mpris.MediaPlayer2.Player

call() { gdbus call --session --dest "$NAME" --object-path /org/mpris/MediaPlayer2 --method "$@"; }
property() { call org.freedesktop.DBus.Properties.Get "$PLAYER_IFACE" "$1"; }
owned() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}
status_is() { property PlaybackStatus | grep -q "'$1'"; }
# The number of an answer such as "(<int64 1500000>,)".
int64_of() { sed -n 's/.*<int64 \([0-9]*\)>.*/\1/p' <<<"$1"; }

start_player "$clip" "$second"
wait_window
wait_playing
wait_until 5 owned "$NAME" || fail "the player does not own $NAME"

meta=$(property Metadata)
echo "metadata: $meta"
length=$(sed -n "s/.*'mpris:length': <int64 \([0-9]*\)>.*/\1/p" <<<"$meta")
echo "mpris:length $length"
[ -n "$length" ] && [ "$length" -gt 19000000 ] && [ "$length" -lt 21000000 ] || fail "mpris:length is not 20 s"
track=$(sed -n "s/.*'mpris:trackid': <objectpath '\([^']*\)'>.*/\1/p" <<<"$meta")

call "$PLAYER_IFACE.PlayPause" >/dev/null
wait_until 5 status_is Paused || fail "PlaybackStatus after PlayPause: $(property PlaybackStatus)"
expect_still PlayPause
call "$PLAYER_IFACE.PlayPause" >/dev/null
wait_until 5 status_is Playing || fail "PlaybackStatus after the second PlayPause: $(property PlaybackStatus)"

call "$PLAYER_IFACE.SetPosition" "$track" 12000000 >/dev/null
wait_until 5 answered_since '^> .*seek 12.00 2' || fail "the engine did not seek to 12 s"
position=$(int64_of "$(property Position)")
echo "Position after SetPosition to 12 s: $position"
# The engine lands on a key frame near the target.
[ "${position:-0}" -ge 9500000 ] && [ "$position" -le 15000000 ] || fail "Position is not near 12 s"

call "$PLAYER_IFACE.Next" >/dev/null
wait_until 10 grep -q '^< Playing .*second clip\.mp4' "$ORVELLA_ENGINE_LOG" || fail "Next did not play the second clip"
next_listed() { property Metadata | grep -q "'xesam:url': <'file://.*/second%20clip.mp4'>"; }
wait_until 5 next_listed || fail "the metadata does not follow Next: $(property Metadata)"

# A second player while the first holds the name: it starts and plays all the same.
first=$PLAYER_PID
export ORVELLA_ENGINE_LOG="$WORK/engine-second.log"
start_player "$clip"
wait_window
wait_playing
wait_until 5 owned "$NAME.instance$PLAYER_PID" || fail "the second player is not on the bus as an instance"
owned "$NAME" || fail "the first player lost its name"
kill "$first"
grep -iE "dbus|critical|warning" "$WORK/player.log" && fail "the second player complained"
echo "PASS"
