#!/usr/bin/env bash
# The main window shows at its layout size on every start, even on a screen whose window
# manager has only just come up: thirty starts (five in the checking build), each on a fresh
# virtual screen with a freshly started openbox, each must show the window within 3 s.
source "$(dirname "$0")/lib.sh"
clip=$(make_moving_clip 5)
# A fresh start opens at the layout size of its skin.
sizes=$(grep -ho '<Window size="[0-9]*,[0-9]*"' "$BUILD"/skin*/language/eng/main.xml | grep -o '[0-9,]*,[0-9]*' | tr , x)
XVFB_PID="" WM_PID=""

# The player goes at once; the server is let go tidily, taking its lock file with it.
stop() { [ -z "$2" ] || { kill "$1" "$2" 2>/dev/null; wait "$2" 2>/dev/null; } || true; }
end_round() { stop -9 "$PLAYER_PID"; stop -TERM "$WM_PID"; stop -TERM "$XVFB_PID"; PLAYER_PID="" WM_PID="" XVFB_PID=""; }
trap 'end_round; cleanup_player' EXIT

fresh_screen() {
  # A display number nobody uses, not even a server in another file system view that only
  # shows through its abstract socket; the server writes the number once it answers.
  local num=$((300 + RANDOM % 500))
  while [ -e "/tmp/.X${num}-lock" ] || xdpyinfo -display ":$num" >/dev/null 2>&1; do num=$((num + 1)); done
  rm -f "$WORK/display"
  Xvfb ":$num" -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_until 4 test -s "$WORK/display" || { cat "$WORK/xvfb.log" >&2; fail "no virtual screen on :$num"; }
  export DISPLAY=":$num"
  openbox >"$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  for _ in $(seq 1 200); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && return 0; sleep 0.02; done
  fail "openbox did not start on $DISPLAY"
}

# The player's window on screen at a layout size: prints nothing otherwise.
shown_size() {
  local id size
  id=$(xdotool search --onlyvisible --pid "$PLAYER_PID" 2>/dev/null | head -n 1) || return 0
  size=$(xdotool getwindowgeometry --shell "$id" | awk -F= '/^WIDTH/ { w = $2 } /^HEIGHT/ { print w "x" $2 }')
  grep -qx "$size" <<<"$sizes" && echo "$size"
}
window_shown() { [ -n "$(shown_size)" ]; }

# A screen that fails under the player (the manager or the player cannot even connect,
# seen now and then on a crowded machine) is no start at all: that round is done again.
screen_failed() {
  ! kill -0 "$WM_PID" 2>/dev/null || grep -q "cannot open the display" "$WORK/player.log"
}

# The checking build looks for memory faults, which the same start shows in a few rounds.
rounds=30
checking_build && rounds=5
failures=0 retries=0
round=1
while [ "$round" -le "$rounds" ]; do
  fresh_screen
  start_player "$clip"
  if ! wait_until 3 window_shown; then
    if screen_failed && [ "$retries" -lt 5 ]; then
      echo "round $round on $DISPLAY: the screen failed, again on a fresh one" >&2
      retries=$((retries + 1)); end_round; continue
    fi
    echo "round $round on $DISPLAY: no window at a layout size after 3 s" >&2
    kill -0 "$PLAYER_PID" 2>/dev/null || { echo "the player ended:" >&2; cat "$WORK/player.log" >&2; }
    xwininfo -root -tree | grep -i 'orvella' >&2 || true
    failures=$((failures + 1))
  fi
  end_round
  round=$((round + 1))
done
[ "$failures" -eq 0 ] || fail "the main window did not show on $failures of $rounds starts"
echo "ok"
