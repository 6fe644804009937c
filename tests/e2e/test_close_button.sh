#!/usr/bin/env bash
# The player shows its drawn main window; a real click on the close button ends it
# with exit code 0.
source "$(dirname "$0")/lib.sh"
start_player
wait_window
shot=$(screenshot main-window)
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
colours=$(convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format '%k' info:)
echo "window ${WIDTH}x${HEIGHT} at ${X},${Y} shows $colours colours"
[ "$WIDTH" -ge 400 ] && [ "$HEIGHT" -ge 300 ] || fail "window too small: ${WIDTH}x${HEIGHT}"
[ "$colours" -gt 40 ] || fail "the window does not look drawn ($colours colours)"
for name in closebtn play pause playlist playslider volumeslider media; do
  grep -q "^$name " "$ORVELLA_CONTROL_TREE_FILE" || fail "control $name missing"
done
close_player
echo "ok"
