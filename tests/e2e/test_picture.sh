#!/usr/bin/env bash
# The picture after every change of the video's size, by real input, playing and paused:
# a clip whose quarters are red, green, blue and yellow must show each in its corner of
# the picture, fitted to the video window, with nothing but black beside it, after a
# full-screen round trip by double click, a drag of the window's corner and a size factor
# by its hotkey, and after a menu closed over it. Also: the play list comes back after
# full screen, Escape leaves full screen with the window still on screen, and the
# full-screen top bar goes once the pointer leaves it. One start of the player.
source "$(dirname "$0")/lib.sh"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
clip=$(media_file quarters.mp4 -f lavfi -i "color=c=red:s=160x120:r=10:d=60" -f lavfi -i "color=c=lime:s=160x120:r=10:d=60" \
  -f lavfi -i "color=c=blue:s=160x120:r=10:d=60" -f lavfi -i "color=c=yellow:s=160x120:r=10:d=60" \
  -filter_complex "[0][1]hstack[top];[2][3]hstack[bottom];[top][bottom]vstack,format=yuv420p" \
  -c:v libx264 -preset ultrafast)

# Reads a screenshot (PPM) and the engine's window on screen (x y w h): the 4:3 picture
# fitted and centred in it must show its four colours near its corners, and whatever lies
# beyond it must be black. The engine may make the picture up to 31 pixels narrower than
# the fit (its fast scaler wants whole blocks of 32), so the bands are checked outside the
# fitted rectangle only, and the colours a tenth of the way in.
cat >"$WORK/picture.py" <<'EOF'
import sys
path, x0, y0, w, h = sys.argv[1], *map(int, sys.argv[2:6])
data = open(path, "rb").read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace(): pos += 1
    end = pos
    while not data[end:end + 1].isspace(): end += 1
    fields.append(data[pos:end]); pos = end
W, H, base = int(fields[1]), int(fields[2]), pos + 1
def pixel(x, y):
    i = base + (y * W + x) * 3
    return data[i], data[i + 1], data[i + 2]
pw, ph = min(w, h * 4 // 3), min(h, w * 3 // 4)
px, py = x0 + (w - pw) // 2, y0 + (h - ph) // 2
problems = []
for name, fx, fy, want in (("top left", .1, .1, (255, 0, 0)), ("top right", .9, .1, (0, 255, 0)),
                           ("bottom left", .1, .9, (0, 0, 255)), ("bottom right", .9, .9, (255, 255, 0))):
    x, y = px + int(pw * fx), py + int(ph * fy)
    got = pixel(x, y)
    if any(abs(a - b) > 80 for a, b in zip(got, want)):
        problems.append("%s of the picture at %d,%d is %s, not %s" % (name, x, y, got, want))
bands = [(x0, y0, px - 2, y0 + h), (px + pw + 2, y0, x0 + w, y0 + h),
         (x0, y0, x0 + w, py - 2), (x0, py + ph + 2, x0 + w, y0 + h)]
for left, top, right, bottom in bands:
    lit = [(x, y) for y in range(max(top, 0), min(bottom, H)) for x in range(max(left, 0), min(right, W))
           if max(pixel(x, y)) > 48]
    if lit:
        problems.append("%d pixels beside the picture are not black (first at %d,%d: %s)"
                        % (len(lit), lit[0][0], lit[0][1], pixel(*lit[0])))
print("; ".join(problems) if problems else "picture %dx%d+%d+%d in %dx%d+%d+%d" % (pw, ph, px, py, w, h, x0, y0))
sys.exit(1 if problems else 0)
EOF

engine_window() { ps -o args= --ppid "$PLAYER_PID" | grep -o -- '-wid [0-9]*' | awk '{ print $2 }' | head -n 1; }
# "x y w h" of the engine's window on screen.
engine_area() {
  local info
  [ -n "$1" ] && info=$(xwininfo -id "$1" 2>/dev/null) || return 1
  awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
       /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }' <<<"$info"
}
# Waits (up to 4 s) for the picture to be right; keeps the last screenshot as <label>.png.
expect_picture() {
  local label=$1 verdict="no engine window" area
  for _ in $(seq 1 16); do
    import -window root -depth 8 "ppm:$WORK/shot.ppm"
    # The engine's window of the moment (a new engine may have a new one).
    area=$(engine_area "$(engine_window)" 2>/dev/null || true)
    # shellcheck disable=SC2086
    if [ -n "$area" ] && verdict=$(python3 "$WORK/picture.py" "$WORK/shot.ppm" $area); then
      convert "$WORK/shot.ppm" "$SHOTS/picture-$label.png"
      echo "$label: $verdict"
      return 0
    fi
    sleep 0.25
  done
  convert "$WORK/shot.ppm" "$SHOTS/picture-$label.png"
  fail "$label: $verdict (see $SHOTS/picture-$label.png)"
}
geometry() { xdotool getwindowgeometry --shell "$WINDOW_ID" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' '; }
resized_from() { [ "$(geometry)" != "$1" ]; }
full_screen() { [ "$(control_visible titlebar)" = 0 ] && xdotool getwindowgeometry --shell "$WINDOW_ID" | grep -qx 'WIDTH=1280'; }
windowed() { [ "$(control_visible titlebar)" = 1 ] && ! xdotool getwindowgeometry --shell "$WINDOW_ID" | grep -qx 'WIDTH=1280'; }
mapped() { xwininfo -id "$WINDOW_ID" | grep -q 'IsViewable'; }
top_bar_shown() { [ -n "$(xdotool search --onlyvisible --name '^Fullscreen topbar Wnd$' 2>/dev/null | head -n 1)" ]; }
top_bar_gone() { ! top_bar_shown; }
pauses() { grep -c -E '^> (pause|frame_step)$' "$ORVELLA_ENGINE_LOG" 2>/dev/null || true; }
paused_more_than() { [ "$(pauses)" -gt "$1" ]; }
press() {
  xdotool windowactivate --sync "$WINDOW_ID" 2>/dev/null || true
  xdotool key "$1"
}
double_click_video() {
  # shellcheck disable=SC2046
  xdotool mousemove $(control_centre media); sleep 0.2; xdotool click --repeat 2 --delay 80 1
}
toggle_pause() {
  local before; before=$(pauses)
  press space
  wait_until 3 paused_more_than "$before" || fail "Space did not reach the engine"
}

start_player "$clip"
wait_window
wait_until 5 bash -c "ps -o args= --ppid $PLAYER_PID | grep -q -- -wid" || fail "the engine did not start"
expect_picture start
panel=$(control_visible playlistbar)

# (a) Full screen and back by double clicks, playing then paused.
for state in playing paused; do
  [ "$state" = paused ] && toggle_pause
  double_click_video
  wait_until 5 full_screen ||
    fail "$state: a double click did not enter full screen ($(geometry)$(xprop -id "$WINDOW_ID" _NET_WM_STATE))"
  expect_picture "full-screen-$state"
  double_click_video
  wait_until 5 windowed || fail "$state: a double click did not leave full screen"
  expect_picture "after-full-screen-$state"
  [ "$(control_visible playlistbar)" = "$panel" ] || fail "$state: the play list is not back after full screen"
done

# Escape leaves full screen, and the window stays on screen (still paused here).
double_click_video
wait_until 5 full_screen || fail "a double click did not enter full screen"
# The top bar shows with the pointer at the top and goes once the pointer leaves it.
xdotool mousemove 640 4; sleep 0.1; xdotool mousemove 642 5
wait_until 3 top_bar_shown || fail "the top bar did not show at the top of the video"
xdotool mousemove 640 400
wait_until 3 top_bar_gone || fail "the top bar stays after the pointer left it"
expect_picture "top-bar-gone"
press Escape
wait_until 5 windowed || fail "Escape did not leave full screen"
mapped || fail "the window is not on screen after Escape"
expect_picture "after-escape-paused"

# A menu closed over the paused picture and the band beside it leaves nothing behind.
windows() { xdotool search --onlyvisible --pid "$PLAYER_PID" 2>/dev/null | wc -l; }
menu_open() { grep -q '^ID_MAINMENU_PLAY_PLAY ' "$ORVELLA_CONTROL_TREE_FILE.menu" 2>/dev/null; }
shown_before=$(windows)
read -r _ _ mx my <<<"$(control_box media)"
xdotool mousemove $((mx + 4)) $((my + 20)); sleep 0.2
xdotool click 3
wait_until 3 menu_open || fail "the right button opened no menu over the video"
sleep 0.2
press Escape
wait_until 3 bash -c "[ \$(xdotool search --onlyvisible --pid $PLAYER_PID 2>/dev/null | wc -l) -le $shown_before ]" ||
  fail "Escape did not close the video's menu"
expect_picture "menu-closed-paused"

# (b) The window's corner dragged larger, paused then playing. The window draws its own
# frame: the window manager sizes it from a press on its last pixel.
for state in paused playing; do
  [ "$state" = playing ] && toggle_pause
  before=$(geometry)
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + WIDTH - 1)) $((Y + HEIGHT - 1)); sleep 0.1
  xdotool mousedown 1; sleep 0.1
  xdotool mousemove $((X + WIDTH + 60)) $((Y + HEIGHT + 40)); sleep 0.1
  xdotool mousemove $((X + WIDTH + 120)) $((Y + HEIGHT + 90)); sleep 0.2
  xdotool mouseup 1
  wait_until 3 resized_from "$before" || fail "$state: dragging the corner did not resize the window"
  echo "$state: corner dragged: $before-> $(geometry)"
  expect_picture "corner-$state"
  # And smaller again.
  xdotool windowsize "$WINDOW_ID" "$WIDTH" "$HEIGHT"
  expect_picture "corner-back-$state"
done

# (c) The size factor by its hotkeys: twice the video, then once, playing then paused.
for state in playing paused; do
  [ "$state" = paused ] && toggle_pause
  for key in ctrl+equal ctrl+minus; do
    before=$(geometry)
    press "$key"
    wait_until 3 resized_from "$before" || fail "$state: $key did not resize the window"
    echo "$state: $key: $before-> $(geometry)"
    expect_picture "size-$key-$state"
  done
done
