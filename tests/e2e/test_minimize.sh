#!/usr/bin/env bash
# Minimising: with no tray on the desktop the window is iconified and can be restored;
# with a system tray running it hides behind a tray icon, the icon's right button opens
# the tray menu above the panel, and activating the icon shows the window again.
source "$(dirname "$0")/lib.sh"

window_mapped() { xwininfo -id "$WINDOW_ID" 2>/dev/null | grep -q 'Map State: IsViewable'; }
wait_for() {
  for _ in $(seq 1 100); do "$@" && return 0; sleep 0.05; done
  return 1
}

start_player
wait_window
click_control minbtn
wait_for bash -c "! xwininfo -id $WINDOW_ID | grep -q IsViewable" || fail "minimise left the window on screen"
xprop -id "$WINDOW_ID" WM_STATE | grep -qi iconic || fail "without a tray the window must be iconified"
wmctrl -i -a "$WINDOW_ID"
wait_for window_mapped || fail "the iconified window could not be restored"
click_control closebtn
wait_exit 10

command -v trayer >/dev/null || { [ "${ORVELLA_REQUIRE_ALL:-}" = 1 ] && fail "trayer missing"; echo "skip: no trayer"; exit 0; }
trayer --edge bottom --align left --widthtype pixel --width 120 --heighttype pixel --height 32 \
  --SetDockType true --SetPartialStrut true --expand false >"$WORK/trayer.log" 2>&1 &
TRAYER=$!
trap 'status=$?; kill $TRAYER 2>/dev/null || true; (exit $status); cleanup_player' EXIT
owned() { xdotool search --classname trayer >/dev/null 2>&1; }
wait_for owned || fail "trayer did not start"
sleep 0.5

start_player
wait_window
click_control minbtn
wait_for bash -c "! xwininfo -id $WINDOW_ID | grep -q IsViewable" || fail "minimise to the tray left the window on screen"
xprop -id "$WINDOW_ID" WM_STATE | grep -qi iconic && fail "with a tray the window hides instead of iconifying"
sleep 0.5
screenshot tray-icon >/dev/null
# The icon is the tray's only one, at the left end of the panel along the screen's bottom.
read -r sw sh <<<"$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')"
# The right button on the icon opens the tray menu at the pointer, above the panel.
rm -f "$ORVELLA_CONTROL_TREE_FILE.menu"
xdotool mousemove 16 $((sh - 16)) click 3
wait_for test -s "$ORVELLA_CONTROL_TREE_FILE.menu" || fail "the right button on the tray icon opens no menu"
grep -q '^ID_TRAYIOCNMENU_EXIT ' "$ORVELLA_CONTROL_TREE_FILE.menu" || fail "the menu that opened is not the tray menu"
read -r _ mx my mr mb < <(head -n 1 "$ORVELLA_CONTROL_TREE_FILE.menu")
echo "tray menu at $mx,$my to $mr,$mb"
[ "$mb" -le $((sh - 32)) ] && [ "$mx" -ge 0 ] && [ "$my" -ge 0 ] || fail "the tray menu ($mx,$my to $mr,$mb) is not above the panel"
sleep 0.3
screenshot tray-menu >/dev/null
xdotool key Escape
sleep 0.3
xdotool mousemove 16 $((sh - 16)) click 1
wait_for window_mapped || fail "activating the tray icon did not show the window (screen ${sw}x${sh})"
close_player
echo "ok"
