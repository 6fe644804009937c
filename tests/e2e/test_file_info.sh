#!/usr/bin/env bash
# File information by real input: a ten-second 640x360 clip with sound plays, File, File information
# opens the window, whose general page shows the clip's size, picture size and length,
# and whose track list holds the sound track. Its close button closes it.
source "$(dirname "$0")/lib.sh"
clip="$WORK/clip with sound.mp4"
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=640x360:rate=25:duration=10" \
  -f lavfi -i "sine=frequency=440:duration=10" -pix_fmt yuv420p -c:v libx264 -preset ultrafast \
  -c:a aac -shortest "$clip" || fail "ffmpeg could not make a clip"
menu_has() { grep -q "^$1 " "$MENU" 2>/dev/null; }
info_open() { [ -n "$(window_titled '^File information Wnd$')" ]; }
info_closed() { ! info_open; }

playing() { [ "$(control_visible startup)" = 0 ]; }

start_player "$clip"
wait_window
wait_until 15 playing || fail "the clip does not play"
sleep 1.5  # the length comes with the first position poll

# The main menu's File submenu holds File information, as the tools and video menus do.
rm -f "$MENU"
click_control ID_MAINMENU
wait_until 5 shown_in "$MENU" ID_MAINMENU_FILE || fail "the main menu did not open"
sleep 0.3
# shellcheck disable=SC2046
xdotool mousemove $(centre_in "$MENU" ID_MAINMENU_FILE) mousemove_relative 3 0
wait_until 5 shown_in "$MENU" ID_MAINMENU_FILE_OPENURL || fail "hovering File did not open its submenu"
sleep 0.3
click_in "$MENU" ID_MAINMENU_FILE_FILEINFO
wait_until 5 info_open || fail "the file information window did not open"
wait_until 5 grep -q "^ID_FILEINFO_FILESIZE " "$INFO" || fail "the file information window wrote no control tree"
sleep 0.3

bytes=$(stat -c %s "$clip")
size=$(awk -v b="$bytes" 'BEGIN { if (b < 1048576) printf "%.2f KB", b / 1024; else printf "%.2f MB", b / 1048576 }')
[ "$(control_text ID_FILEINFO_FILESIZE "$INFO")" = "$size" ] ||
  fail "size shows '$(control_text ID_FILEINFO_FILESIZE "$INFO")', not '$size'"
[ "$(control_text ID_FILEINFO_RESOLUTION "$INFO")" = "640 x 360" ] ||
  fail "picture size shows '$(control_text ID_FILEINFO_RESOLUTION "$INFO")'"
duration=$(control_text ID_FILEINFO_DURATION "$INFO")
[[ "$duration" =~ ^(9\.9[0-9]|10\.0[0-9])\ s$ ]] || fail "length shows '$duration', not about 10 s"
screenshot fileinfo-general >/dev/null

# The tracks page by its tab, then the close button.
click_in "$INFO" ID_TRACKS
wait_until 5 shown_in "$INFO" ID_INFORMATION_TRACKS_LIST || fail "the Tracks tab does not show the track list"
grep -qE "^cells ID_INFORMATION_TRACKS_LIST [0-9]+ [0-9]+ \| audio \| " "$INFO" ||
  fail "the track list holds no sound track: $(grep '^cells' "$INFO" || true)"
screenshot fileinfo-tracks >/dev/null
click_in "$INFO" ID_CLOSE_BUTTON
wait_until 5 info_closed || fail "the close button does not close the file information window"
close_player
