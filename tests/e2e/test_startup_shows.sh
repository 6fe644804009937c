#!/usr/bin/env bash
# The main window shows at its layout size on every start, even on a screen whose window
# manager has only just come up: thirty starts, each on a fresh virtual screen with a
# freshly started openbox, each must show the window within 3 s.
source "$(dirname "$0")/lib.sh"
clip=$(make_moving_clip 5)
# The layout sizes of the skins: a fresh start opens at the one of its skin.
layout_sizes=$(grep -ho '<Window size="[0-9]*,[0-9]*"' "$BUILD"/skin*/language/eng/main.xml | grep -o '[0-9]*,[0-9]*' | tr , x)
rounds=${ORVELLA_STARTUP_ROUNDS:-30}
XVFB_PID="" WM_PID=""

end_round() {
  if [ -n "$PLAYER_PID" ]; then kill -9 "$PLAYER_PID" 2>/dev/null || true; wait "$PLAYER_PID" 2>/dev/null || true; fi
  PLAYER_PID=""
  if [ -n "$WM_PID" ]; then kill "$WM_PID" 2>/dev/null || true; wait "$WM_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  WM_PID="" XVFB_PID=""
}
trap 'end_round; cleanup_player' EXIT

fresh_screen() {
  # The server picks a free display number itself and writes it once it answers.
  rm -f "$WORK/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 200); do [ -s "$WORK/display" ] && break; sleep 0.02; done
  [ -s "$WORK/display" ] || fail "no virtual screen came up"
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  for _ in $(seq 1 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && return 0
    sleep 0.02
  done
  fail "openbox did not start on $DISPLAY"
}

# Prints "WIDTHxHEIGHT" of the player's shown window, nothing while none is shown.
shown_size() {
  local id
  id=$(xdotool search --onlyvisible --pid "$PLAYER_PID" 2>/dev/null | head -n 1 || true)
  [ -n "$id" ] || return 0
  eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
  echo "${WIDTH}x${HEIGHT}"
}

failures=0
for round in $(seq 1 "$rounds"); do
  fresh_screen
  rm -f "$ORVELLA_CONTROL_TREE_FILE"
  start_player "$clip"
  size=""
  for _ in $(seq 1 60); do
    size=$(shown_size)
    [ -n "$size" ] && grep -qx "$size" <<<"$layout_sizes" && break
    sleep 0.05
  done
  if [ -z "$size" ] || ! grep -qx "$size" <<<"$layout_sizes"; then
    echo "round $round: the window is ${size:-not shown} after 3 s" >&2
    xwininfo -root -tree 2>/dev/null | grep -i orvella >&2 || true
    failures=$((failures + 1))
  fi
  end_round
done
[ "$failures" -eq 0 ] || fail "the main window did not show on $failures of $rounds starts"
echo "PASS: the main window showed on all $rounds starts"
