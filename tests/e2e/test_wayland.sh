#!/usr/bin/env bash
# Under a Wayland compositor (weston, nested in the test screen so that real input reaches
# it) the player runs on XWayland: Ctrl+Enter makes it full screen over the compositor's
# output with the video across it, Escape brings the window and its bars back, and the
# system's close request ends it cleanly.
source "$(dirname "$0")/lib.sh"
for tool in weston Xwayland; do
  command -v $tool >/dev/null || { [ "${ORVELLA_REQUIRE_ALL:-}" = 1 ] && fail "$tool missing"; echo "skip: no $tool"; exit 0; }
done
clip=$(make_moving_clip 20)
OUTER=$DISPLAY
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --use-pixman --width=960 --height=640 --xwayland --socket=wl-test --no-config \
  >"$WORK/weston.log" 2>&1 &
WESTON=$!
trap 'status=$?; kill $WESTON 2>/dev/null || true; (exit $status); cleanup_player' EXIT
wait_until 10 grep -q 'xserver listening on display' "$WORK/weston.log" || fail "weston did not start: $(tail -n 5 "$WORK/weston.log")"
export WAYLAND_DISPLAY=wl-test DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WORK/weston.log")
output() { DISPLAY=$OUTER xdotool search --class weston 2>/dev/null | head -n 1; }
# A window manager still starting may miss the output's map request: it is asked again.
output_shown() { DISPLAY=$OUTER xwininfo -id "$(output)" 2>/dev/null | grep -q IsViewable || { DISPLAY=$OUTER xdotool windowmap "$(output)" 2>/dev/null; false; }; }
wait_until 10 output_shown || fail "the compositor's output did not show"
read -r OX OY < <(DISPLAY=$OUTER xwininfo -id "$(output)" | awk '/Absolute upper-left [XY]/ { printf "%s ", $NF } END { print "" }')

start_player "$clip"
wait_window
wait_playing
# Keys only: the compositor places the window, and XWayland's coordinates need not say where.
DISPLAY=$OUTER xdotool windowactivate --sync "$(output)" key ctrl+Return
covers_output() { awk '$1 == "window" { exit !($4 - $2 == 960 && $5 - $3 == 640) }' "$ORVELLA_CONTROL_TREE_FILE"; }
full() { covers_output && [ "$(control_visible toolbar)" = 0 ]; }
wait_until 5 full || fail "Ctrl+Enter did not make the player full screen: $(head -n 1 "$ORVELLA_CONTROL_TREE_FILE")"
sleep 1
DISPLAY=$OUTER import -window root -crop "960x300+$OX+$((OY + 170))" +repage "$SHOTS/wayland-full-screen.png"
[ "$(colours_in "$SHOTS/wayland-full-screen.png")" -gt 200 ] || fail "no video across the output in full screen"
DISPLAY=$OUTER xdotool key Escape
wait_until 5 eval '! covers_output' || fail "Escape did not leave full screen"
[ "$(control_visible toolbar)" = 1 ] || fail "the tool bar did not come back after full screen"
kill -TERM "$PLAYER_PID"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the system's close request"
echo "ok"
