#!/usr/bin/env bash
# DVD folders and images reach the engine as discs: from the command line, dropped from a
# file manager (a real XDND drop), and with a name that a shell would have run.
source "$(dirname "$0")/lib.sh"
SRC=$(cd "$(dirname "$0")/../.." && pwd)
[ -x "$BUILD/xdnd_drop" ] || fail "the drop tool $BUILD/xdnd_drop is not built"
bash "$SRC/tests/media/make_test_media.sh" "$BUILD/test-media" >/dev/null || fail "cannot make the test media"
DVD="$BUILD/test-media/dvd"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"

# The folder the running engine was given with -dvd-device, from its own argument vector.
engine_device() {
  local pid
  pid=$(pgrep -P "$PLAYER_PID" -f 'gnu/mplayer' | head -n 1) || return 1
  [ -n "$pid" ] || return 1
  tr '\0' '\n' <"/proc/$pid/cmdline" | awk 'prev == "-dvd-device" { print; exit } { prev = $0 }'
}

# Waits for the engine to show the disc's menu and checks which folder it plays.
expect_disc() {
  local folder=$1 what=$2
  wait_until 20 grep -q 'DVDNAV_TITLE_IS_MENU' "$ORVELLA_ENGINE_LOG" || { cat "$WORK/player.log" >&2; fail "$what: no disc menu"; }
  local device
  device=$(engine_device) || fail "$what: no engine"
  [ "$device" = "$folder" ] || fail "$what: the engine plays '$device', not '$folder'"
  echo "$what: the engine shows the menu of $device"
}

stop_player() {
  kill -TERM "$PLAYER_PID"
  wait_exit 10
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
  : >"$ORVELLA_ENGINE_LOG"
}

# 1. The DVD folder on the command line.
start_player "$DVD"
wait_window
expect_disc "$DVD" "command line"
sleep 1
screenshot discs-command-line >/dev/null
stop_player

# 2. The same folder dropped on the window.
start_player
wait_window
pgrep -P "$PLAYER_PID" -f 'gnu/mplayer' >/dev/null && fail "an engine runs before the drop"
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
"$BUILD/xdnd_drop" "$WINDOW_ID" $((WIDTH / 2)) $((HEIGHT / 2)) "$DVD" || fail "the window did not take the drop"
expect_disc "$DVD" "drop"
sleep 1  # the menu's first picture follows the engine's word by a moment
screenshot discs-dropped >/dev/null

# The same disc as an image file, dropped the same way, plays as the disc.
ISO="$BUILD/test-media/dvd.iso"
[ -s "$ISO" ] || fail "no DVD image in the test media (genisoimage?)"
: >"$ORVELLA_ENGINE_LOG"
"$BUILD/xdnd_drop" "$WINDOW_ID" $((WIDTH / 2)) $((HEIGHT / 2)) "$ISO" || fail "the window did not take the image"
expect_disc "$ISO" "image drop"

# 3. A folder name with blanks, quotes, a command substitution and a non-UTF-8 byte, in
# a path longer than the 260 characters some players stop at.
ODD_NAME=$'-odd $(touch pwned) \'dvd\' \xe9'
DEEP="$WORK/$(printf 'deep%.0s' $(seq 1 40))/$(printf 'er%.0s' $(seq 1 60))"
ODD="$DEEP/$ODD_NAME"
mkdir -p "$ODD"
ln -s "$DVD/VIDEO_TS" "$ODD/VIDEO_TS"
: >"$ORVELLA_ENGINE_LOG"
"$BUILD/xdnd_drop" "$WINDOW_ID" $((WIDTH / 2)) $((HEIGHT / 2)) "$ODD" || fail "the window did not take the odd drop"
expect_disc "$ODD" "odd drop"
stop_player

# 4. The odd name relative to the working folder, leading "-" and all.
cd "$DEEP"
start_player "$ODD_NAME"
wait_window
expect_disc "$ODD" "odd command line"
stop_player

[ ! -e "$WORK/pwned" ] && [ ! -e "$BUILD/pwned" ] && [ ! -e "$SRC/pwned" ] || fail "a name was run as a command"
echo "ok"
