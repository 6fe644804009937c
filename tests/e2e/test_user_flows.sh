#!/usr/bin/env bash
# What a new user does first, by real input, in one player start: a folder of episodes
# plays in the order a file manager lists them, and sorting the list while one plays
# keeps the sequence going; an address typed after Ctrl+U plays; a click on Pause and then
# Space resume the clip (the key is not also a press of the focused button); the second
# audio track chosen in the menu stays chosen when rotating restarts the engine.
source "$(dirname "$0")/lib.sh"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
export HOME="$WORK/home"
mkdir -p "$HOME"

series="$WORK/series"
mkdir -p "$series"
episode=$(media_file ep1.mp4 -f lavfi -i "testsrc2=size=320x180:rate=25:duration=3" \
  -pix_fmt yuv420p -c:v libx264 -preset ultrafast)
for name in ep1 EP2 ep10 "Épisode 3"; do cp "$episode" "$series/$name.mp4"; done
tracks=$(media_file "two tracks.mkv" -f lavfi -i "testsrc2=size=640x360:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=440:duration=30" -f lavfi -i "sine=frequency=880:duration=30" \
  -map 0 -map 1 -map 2 -pix_fmt yuv420p -c:v libx264 -preset ultrafast -g 25 -c:a libvorbis)

said() { grep -c -- "$1" "$ORVELLA_ENGINE_LOG" 2>/dev/null || true; }
played() { sed -n 's|^< Playing .*/\([^/]*\)\.[a-z0-9]*\.$|\1|p' "$ORVELLA_ENGINE_LOG" | paste -sd, -; }
played_is() { [ "$(played)" = "$1" ]; }
launches_past() { [ "$(said '^< MPlayer ')" -gt "$1" ]; }
# The audio track the engine last said it plays, since the last engine started.
track_since_launch() {
  awk '/^< MPlayer /{ v = "" } /^< ANS_switch_audio=/{ v = substr($0, index($0, "=") + 1) } END { print v }' "$ORVELLA_ENGINE_LOG"
}
track_known() { [ -n "$(track_since_launch)" ]; }
menu_has() { grep -q "^$1 " "$MENU" 2>/dev/null; }
menu_row_centre() {
  local line wx wy
  read -r _ wx wy _ _ < <(head -n 1 "$MENU")
  line=$(awk -v n="$1" '$1 == n { print; exit }' "$MENU")
  [ -n "$line" ] || fail "no row $1 in the open menu"
  awk -v X="$wx" -v Y="$wy" '{ printf "%d %d\n", X + ($3 + $5) / 2, Y + ($4 + $6) / 2 }' <<<"$line"
}
# Opens the main menu, hovers each row but the last (their submenus open) and clicks the last.
choose_from_main_menu() {
  rm -f "$MENU"
  click_control ID_MAINMENU
  wait_until 5 menu_has "$1" || fail "the main menu did not open with $1"
  while [ $# -gt 1 ]; do
    # shellcheck disable=SC2046
    xdotool mousemove $(menu_row_centre "$1"); sleep 0.1; xdotool mousemove_relative 3 0
    wait_until 5 menu_has "$2" || fail "hovering $1 did not open a menu with $2"
    shift
  done
  sleep 0.3
  # shellcheck disable=SC2046
  xdotool mousemove $(menu_row_centre "$1"); sleep 0.2; xdotool click 1
}

# A folder of episodes: natural order, letter case and accents folded.
start_player "$series"
wait_window
wait_until 5 grep -q "^< Playing " "$ORVELLA_ENGINE_LOG" || fail "the folder did not start playing"
[ "$(played)" = ep1 ] || fail "the folder started with $(played), not ep1"
# Sort by name from the play list's own menu while ep1 plays: the sequence goes on.
read -r x y <<<"$(control_point playlist 50)"
rm -f "$MENU"
xdotool mousemove "$x" "$y"; sleep 0.2; xdotool click 3
wait_until 5 menu_has ID_PLAYLIST_RIGHT_MENU_SORT_BY_NAME || fail "the play list has no menu"
# shellcheck disable=SC2046
xdotool mousemove $(menu_row_centre ID_PLAYLIST_RIGHT_MENU_SORT_BY_NAME); sleep 0.2; xdotool click 1
screenshot flows-sorted >/dev/null
wait_until 20 played_is "ep1,EP2,ep10,Épisode 3" || fail "the episodes played as $(played)"
echo "episodes played in order: $(played)"

# Ctrl+U and a typed address: the two-track clip plays.
xdotool windowactivate --sync "$WINDOW_ID" 2>/dev/null || xdotool windowfocus --sync "$WINDOW_ID"
xdotool key ctrl+u
wait_until 5 shown_in "$ORVELLA_CONTROL_TREE_FILE" URLbar || fail "Ctrl+U did not show the address bar"
click_control URLbar_edit
xdotool type --delay 20 "$tracks"; xdotool key Return
wait_until 10 grep -q "^< Playing .*two tracks.mkv" "$ORVELLA_ENGINE_LOG" || fail "the typed address did not play"
wait_until 10 answered_since "^< Playing .*two tracks.mkv" || fail "the typed address did not play on"

# Pause clicked, then Space: one pause toggle, and the clip moves again.
steps=$(said '^> .*frame_step'); pauses=$(said '^> pause$')
click_control pause
expect_still "a click on Pause"
xdotool key space
expect_moving "Space after a click on Pause"
[ "$(said '^> pause$')" = $((pauses + 1)) ] || fail "Space sent $(( $(said '^> pause$') - pauses )) pause commands"
[ "$(said '^> .*frame_step')" = $((steps + 1)) ] || fail "Space also pressed the focused Pause button"

# The second audio track, then a rotation: the new engine plays the second track.
choose_from_main_menu ID_MAINMENU_DVD ID_MAINMENU_DVD_AUDIO ID_MAINMENU_DVD_AUDIO_1
wait_until 5 grep -q '^> .*switch_audio 1$' "$ORVELLA_ENGINE_LOG" || fail "choosing the second track sent no switch_audio 1"
launches=$(said '^< MPlayer ')
choose_from_main_menu ID_MAINMENU_PLAY_FRAME ID_MAINMENU_PLAY_FRAME_ROTATE ID_MAINMENU_PLAY_FRAME_ROTATE_1
wait_until 10 launches_past "$launches" || fail "rotating did not restart the engine"
wait_until 10 answered_since "^< MPlayer " || fail "the restarted engine does not play"
# Opening the track menu asks the engine which track plays.
rm -f "$MENU"
click_control ID_MAINMENU
wait_until 5 menu_has ID_MAINMENU_DVD || fail "the main menu did not open"
xdotool key Escape
wait_until 5 track_known || fail "the restarted engine was not asked for its audio track"
track=$(track_since_launch)
echo "after the rotation the engine plays audio track $track"
[ "$track" = 1 ] || fail "the restarted engine plays track $track, not the chosen second one"
screenshot flows-rotated >/dev/null
close_player
echo "ok"
