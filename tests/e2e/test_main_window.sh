#!/usr/bin/env bash
# The main window's controls by real input, in both skins: dragging the position slider
# seeks, the volume slider sets the engine's volume, a double click on the video enters
# full screen (bars hidden, back at the bottom edge) and another leaves it at the old
# rectangle, "clear" asks in the question window, the URL bar plays a typed path, and the
# help menu shows the about window. Screenshots of each state are kept.
source "$(dirname "$0")/lib.sh"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
clip=$(make_moving_clip 20)
other="$WORK/-second clip.mp4"
cp "$clip" "$other"

geometry() { xdotool getwindowgeometry --shell "$WINDOW_ID" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | tr '\n' ' '; }
engine_said() { grep -c -- "$1" "$ORVELLA_ENGINE_LOG" 2>/dev/null || true; }
# The engine's last n answers for the position (default 1), oldest first.
last_position() { grep -o 'ANS_TIME_POSITION=[0-9.]*' "$ORVELLA_ENGINE_LOG" | tail -n "${1:-1}" | cut -d= -f2; }
tree_says() { [ "$(control_visible "$1")" = "$2" ]; }
drag() {  # control, from %, to %
  local a b
  a=$(control_point "$1" "$2"); b=$(control_point "$1" "$3")
  # shellcheck disable=SC2086
  xdotool mousemove $a; sleep 0.2; xdotool mousedown 1; sleep 0.1
  # shellcheck disable=SC2086
  xdotool mousemove $b; sleep 0.3
}

run_skin() {
  local skin=$1
  start_player "$clip"
  wait_window
  wait_playing
  screenshot "skin$skin-playing" >/dev/null
  local before; before=$(geometry)

  # Position: drag to the middle; the text previews 10 s; released, the engine goes there.
  drag playslider 20 50
  preview=$(control_text playtime | cut -d/ -f1)
  xdotool mouseup 1
  released=$(date +%s.%N)
  # Over the slider the text previews; away from it, it shows the position.
  # shellcheck disable=SC2046
  xdotool mousemove $(control_point filename 50)
  echo "skin $skin: preview while dragging: $preview"
  awk -v p="$(seconds_of "$preview")" 'BEGIN { exit !(p >= 9 && p <= 11) }' || fail "the preview shows $preview, not about 10 s"
  # The text skips the two polls right after a seek, then shows the engine's answers.
  # The text is read first: it shows the newest answer, or the one before when the
  # newest has only just come.
  sleep 3.6
  shown=$(seconds_of "$(control_text playtime | cut -d/ -f1)")
  sleep 0.2
  answers=$(last_position 3 | tr '\n' ' ')
  answer=$(last_position)
  elapsed=$(awk -v a="$released" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
  echo "skin $skin: engine answers ${answers}, shown ${shown}s, ${elapsed}s after the release"
  echo "$answers" | awk -v s="$shown" -v a="$answer" -v e="$elapsed" '{
      ok = 0
      for (i = 1; i <= NF; i++) { d = $i - s; if (d < 0) d = -d; if (d <= 0.15) ok = 1 }
      exit !(ok && a >= 9.5 && a <= 10.5 + e) }' ||
    fail "the seek to the middle did not land (engine $answers, shown $shown)"

  # Volume: drag the volume slider to the left quarter.
  drag volumeslider 60 25
  xdotool mouseup 1
  sleep 0.3
  grep -E '^> (pausing_keep )?volume [0-9]+ 1' "$ORVELLA_ENGINE_LOG" | tail -n 1
  vol=$(grep -oE '^> (pausing_keep )?volume [0-9]+ 1' "$ORVELLA_ENGINE_LOG" | tail -n 1 | awk '{ print $(NF - 1) }')
  [ -n "$vol" ] && [ "$vol" -ge 10 ] && [ "$vol" -le 40 ] || fail "the volume slider sent volume ${vol:-nothing}"

  # Full screen by a double click on the video; the bars come back at the bottom edge.
  # shellcheck disable=SC2086
  xdotool mousemove $(control_centre media); sleep 0.2; xdotool click --repeat 2 --delay 80 1
  wait_until 5 tree_says titlebar 0 || fail "a double click did not enter full screen"
  # The window manager answers in its own time.
  wait_until 5 bash -c "xdotool getwindowgeometry --shell $WINDOW_ID | grep -qx 'WIDTH=1280'" || true
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  echo "skin $skin: full screen at ${WIDTH}x${HEIGHT}+${X}+${Y}"
  [ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 800 ] || fail "full screen is ${WIDTH}x${HEIGHT}, not the screen"
  [ "$(control_visible toolbar)" = 0 ] || fail "the bars stay in full screen"
  xdotool mousemove 640 798; sleep 0.1; xdotool mousemove 642 797
  wait_until 3 tree_says toolbar 1 || fail "the bars do not come back at the bottom edge"
  sleep 0.4
  screenshot "skin$skin-fullscreen-bars" >/dev/null
  xdotool mousemove 640 300; sleep 0.1; xdotool mousemove 642 302
  wait_until 3 tree_says toolbar 0 || fail "the bars do not go away from the bottom edge"
  # The top bar over the top edge of the video.
  xdotool mousemove 640 12; sleep 0.1; xdotool mousemove 642 10
  wait_until 3 xdotool search --onlyvisible --name "Fullscreen topbar Wnd" >/dev/null || fail "no top bar at the top edge"
  sleep 0.4
  screenshot "skin$skin-fullscreen-topbar" >/dev/null
  xdotool mousemove 640 300; sleep 0.1; xdotool mousemove 642 302
  wait_until 3 bash -c "! xdotool search --onlyvisible --name 'Fullscreen topbar Wnd' >/dev/null" || fail "the top bar stays when the pointer leaves it"
  # shellcheck disable=SC2086
  xdotool mousemove $(control_centre media); sleep 0.2; xdotool click --repeat 2 --delay 80 1
  wait_until 5 tree_says titlebar 1 || fail "a second double click did not leave full screen"
  wait_until 5 bash -c "[ \"\$(xdotool getwindowgeometry --shell $WINDOW_ID | grep -E '^(X|Y|WIDTH|HEIGHT)=' | tr '\n' ' ')\" = '$before' ]" || true
  [ "$(geometry)" = "$before" ] || fail "left full screen at $(geometry), not at $before"

  # The about window from the help menu.
  click_control help
  wait_until 5 test -s "$ORVELLA_CONTROL_TREE_FILE.menu" || fail "the help button opens no menu"
  sleep 0.4
  screenshot "skin$skin-help-menu" >/dev/null
  click_in menu ID_MAINMENU_HELP_ABOUT
  wait_until 5 test -s "$ORVELLA_CONTROL_TREE_FILE.about" || fail "no about window"
  sleep 0.5
  screenshot "skin$skin-about" >/dev/null
  version=$(control_text ID_ABOUT_VERSION "$ORVELLA_CONTROL_TREE_FILE.about")
  [ "$version" = "Orvella   $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")" ] || fail "the about window shows \"$version\", not the version"
  click_in about ID_ABOUT_OK_BUTTON
  wait_until 5 bash -c "! xdotool search --onlyvisible --name 'About Wnd' >/dev/null" || fail "the about window stays"

  # The URL bar plays a typed path (one that begins with "-").
  open_url_bar
  wait_until 3 tree_says URLbar 1 || fail "the URL bar did not open"
  type_into URLbar_edit "  $other  "
  click_control URLbar_OK
  wait_until 10 grep -qF "ID_FILENAME=$other" "$ORVELLA_ENGINE_LOG" || fail "the typed path was not played"

  # Clear asks first; OK empties the list and stops.
  # Full screen put the play list away; its button brings it back.
  tree_says clear 1 || click_control list
  wait_until 3 tree_says clear 1 || fail "the play list does not come back"
  click_control clear
  wait_until 5 test -s "$ORVELLA_CONTROL_TREE_FILE.question" || fail "no question window"
  sleep 0.5
  screenshot "skin$skin-question" >/dev/null
  [ "$(control_text ID_TITLE "$ORVELLA_CONTROL_TREE_FILE.question")" = "Clear play list" ] || fail "the question is not the clear question"
  click_in question ID_OK_BUTTON
  wait_until 5 tree_says startup 1 || fail "OK did not clear the list and stop"
  close_player
  settings_text | grep -q 'count="0"' || fail "the cleared list was saved with entries"
  rm -f "$ORVELLA_CONTROL_TREE_FILE".*
}

# Types text into a named edit by real keys, again while the edit does not show it (the
# window manager may still be moving the focus back from a window that just closed).
type_into() {
  for _ in 1 2 3; do
    click_control "$1"
    sleep 0.2
    xdotool key ctrl+a BackSpace
    xdotool type --delay 5 "$2"
    wait_until 3 control_shows "$1" "$2" && return 0
  done
  fail "$1 does not take the typed text"
}
control_shows() { [ "$(control_text "$1")" = "$2" ]; }

# Clicks a named control of another window of the player ("about", "question", "menu").
click_in() {
  local tree="$ORVELLA_CONTROL_TREE_FILE.$1" line wx wy id
  # The dialogs by their titles ("About Wnd"); a menu by where it painted last.
  id=$(xdotool search --onlyvisible --name "$(tr '[:lower:]' '[:upper:]' <<<"${1:0:1}")${1:1} Wnd" 2>/dev/null | head -n 1 || true)
  if [ -n "$id" ]; then
    eval "$(xdotool getwindowgeometry --shell "$id")"
    wx=$X; wy=$Y
  else
    read -r _ wx wy _ _ < <(head -n 1 "$tree")
  fi
  line=$(awk -v n="$2" '$1 == n { print; exit }' "$tree")
  [ -n "$line" ] || fail "no $2 in the $1 window"
  # shellcheck disable=SC2046
  xdotool mousemove $(awk -v X="$wx" -v Y="$wy" '{ printf "%d %d\n", X + ($3 + $5) / 2, Y + ($4 + $6) / 2 }' <<<"$line")
  sleep 0.2
  xdotool click 1
}

# The open combo's third entry, "Open URL...", by pointer.
open_url_bar() {
  local before after drop
  before=$(xdotool search --onlyvisible --pid "$PLAYER_PID" | sort)
  click_control fileCombo
  sleep 0.5
  after=$(xdotool search --onlyvisible --pid "$PLAYER_PID" | sort)
  drop=$(comm -13 <(echo "$before") <(echo "$after") | head -n 1)
  [ -n "$drop" ] || fail "the open combo did not drop down"
  eval "$(xdotool getwindowgeometry --shell "$drop")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 3 + 26 * 2 + 13)); sleep 0.2; xdotool click 1
}

# Both skins: the same steps in the classic and then the modern look.
in_both_skins run_skin
echo "ok"
