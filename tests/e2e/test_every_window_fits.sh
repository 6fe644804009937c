#!/usr/bin/env bash
# Every text fits its control, in both skins and every language: one start per skin and
# language, and by real input the main window with its play list, every menu and submenu
# of the title-bar buttons, the play list's right-click menu, the clear-play-list
# question, the about window, the update window (a local server offers a newer version),
# every page of the skin window, of the settings window and of the file information
# window, and the full-screen top bar. Each view's "cut" and "boxes" lines of the control
# tree are gathered; any fails the test, named with its skin, language and view. A screenshot of each view is kept as
# fit-<skin>-<language>-<view>.png. ORVELLA_FIT_LANGUAGES="de fra" visits only those.
source "$(dirname "$0")/lib.sh"
# The checking build runs several times slower: there one language with wide characters
# in one skin shows that every window's visit is sound, and the full matrix is the other
# pass's.
all="eng de fra chn jpn" skins=("0 classic" "1 modern")
case "$BUILD" in *sanitize*) all="jpn" skins=("1 modern") ;; esac
read -r -a LANGUAGES <<<"${ORVELLA_FIT_LANGUAGES:-$all}"
CLIP=$(cd "$BUILD/sample" && pwd -P)/sample.mp4
ABOUT="$ORVELLA_CONTROL_TREE_FILE.about"
TOPBAR="$ORVELLA_CONTROL_TREE_FILE.topbar"
UPDATE="$ORVELLA_CONTROL_TREE_FILE.update"
CUTS="$WORK/cuts.txt"
: >"$CUTS"
# A newer version on a local server: every start shows the update window.
own=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
python3 "$(dirname "$0")/../tools/version_server.py" "$own" >"$WORK/port" &
SERVER_PID=$!
trap 'kill "$SERVER_PID" 2>/dev/null || true; cleanup_player' EXIT
wait_until 5 test -s "$WORK/port" || fail "the version server did not start"
export ORVELLA_UPDATE_BASE_URL="http://127.0.0.1:$(cat "$WORK/port")/newer/"

# Page button, then a control that only its page holds.
SETTINGS_PAGES=(
  "ID_EFFECT_PLAY ID_SEEKTIME_EDIT" "ID_EFFECT_SIZE ID_SIZE_RESET_BUTTON"
  "ID_EFFECT_COLOR ID_EFFECT_COLOR_HUE" "ID_EFFECT_AUDIO ID_EFFECT_AUDIO_BALANCE"
  "ID_EFFECT_SUBTITLE ID_EFFECT_SUBTITLE_POSITION" "ID_EFFECT_CROP ID_CROP_WIDTH"
  "ID_EFFECT_SNAP ID_EFFECT_SNAP_SNAP" "ID_PLAYER ID_PLAYER_APPLY"
  "ID_PLAYER_FILE ID_PLAYER_FILE_ASSOCIATE" "ID_PLAYER_SYSTEM ID_PLAYER_SYSTEM_THREAD_COMBO"
  "ID_PLAYER_VIDEO ID_PLAYER_VIDEO_FORAMT_GL" "ID_PLAYER_AUDIO ID_PLAYER_AUDIO_MAX_AMPLIFICATION"
  "ID_PLAYER_SUBTITLE ID_PLAYER_SUBTITLE_TAB_ENCODE_COMBO" "ID_PLAYER_OTHERS ID_PLAYER_SNAP_PATH_EDIT"
  "ID_PLAYER_HOTKEY ID_EDIT_HOTKEY_STOP" "ID_PLAYER_HOTKEY_VIDEO ID_EDIT_HOTKEY_VIDEO_ZOOM"
  "ID_PLAYER_HOTKEY_AUDIO ID_EDIT_HOTKEY_AUDIO_MUTE" "ID_PLAYER_HOTKEY_SUBTITLE ID_EDIT_HOTKEY_SUBTITLES_LOAD"
  "ID_PLAYER_HOTKEY_FILE ID_EDIT_HOTKEY_FILE_NEXT" "ID_PLAYER_HOTKEY_OTHERS ID_PLAYER_HOTKEY_OTHERS_EXIT")

# Screenshots come from one helper that stays up (a grabber started per view would cost
# more than the rest of the visit); it answers once the screen is read and writes the file
# meanwhile. Without GDK for Python, ImageMagick takes them one by one.
if /usr/bin/python3 -c 'import gi; gi.require_version("Gdk", "3.0")' 2>/dev/null; then
  coproc SHOOTER {
    /usr/bin/python3 -u -c '
import sys, threading, gi
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk
root = Gdk.get_default_root_window()
for line in sys.stdin:
    x, y, w, h, path = line.rstrip("\n").split(" ", 4)
    shot = Gdk.pixbuf_get_from_window(root, int(x), int(y), int(w), int(h))
    print("read", flush=True)
    if shot: threading.Thread(target=shot.savev, args=(path, "png", ["compression"], ["1"])).start()'
  }
fi
# Saves the screen's part "x y w h" (kept inside the screen) as the view's picture.
shoot() {
  local view=$1 x=$2 y=$3 w=$4 h=$5 path
  path="$SHOTS/fit-$SKIN-$LANGUAGE-$view.png"
  ((x < 0)) && { w=$((w + x)); x=0; }
  ((y < 0)) && { h=$((h + y)); y=0; }
  ((x + w > 1280)) && w=$((1280 - x))
  ((y + h > 800)) && h=$((800 - y))
  if [ -n "${SHOOTER_PID:-}" ]; then
    echo "$x $y $w $h $path" >&"${SHOOTER[1]}"
    read -r _ <&"${SHOOTER[0]}"
  else
    import -silent -window root -crop "${w}x${h}+$x+$y" +repage "$path"
  fi
}
# "x y w h" of a window on screen, from the X server (dialogs place themselves after
# their first paint).
geometry_of() {
  xdotool getwindowgeometry --shell "$1" | awk -F= '{ v[$1] = $2 } END { print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }'
}
# Screen point of a control's centre: tree file, control, the window's left and top.
point_in() {
  awk -v n="$2" -v X="$3" -v Y="$4" '$1 == n { printf "%d %d\n", X + ($3 + $5) / 2, Y + ($4 + $6) / 2; f = 1; exit }
    END { exit !f }' "$1" || fail "$SKIN $LANGUAGE: no control $2 in $(basename "$1")"
}
press() {  # tree file, control, left, top: a click on it
  # shellcheck disable=SC2046
  xdotool mousemove $(point_in "$@") click 1
}
# A copy of a tree file, when it shows the control (another window may write the file).
copy_shows() { cp "$1" "$2" 2>/dev/null && shown_in "$2" "$3"; }
# Once the tree shows the control: keeps a copy of the tree as view-<view>.txt and its cut
# texts, named with skin, language and view.
keep_view() {
  local view=$1 file=$2 control=$3
  wait_until 5 copy_shows "$file" "$WORK/view-$view.txt" "$control" ||
    fail "$SKIN $LANGUAGE: $view does not show $control"
  awk -v at="$SKIN $LANGUAGE $view:" '$1 == "cut" || $1 == "boxes" { $1 = at " " $1; print }' "$WORK/view-$view.txt" >>"$CUTS"
}
# The same, and the picture of the screen part "x y w h".
take_view() {
  keep_view "$1" "$2" "$3"
  shoot "$1" "${@:4}"
}
titled() { [ -n "$(window_titled "$1")" ]; }
untitled() { [ -z "$(window_titled "$1")" ]; }
engine_drawing() { pgrep -P "$PLAYER_PID" -f -- -wid >/dev/null; }
full_screen() { [ "$(control_visible titlebar)" = 0 ]; }

# --- menus: every level writes the same ".menu" file, so each wait is for the new level.
menus_closed() { ! xdotool search --onlyvisible --name '^MenuWnd$' >/dev/null 2>&1; }
# The rows of a menu level that open a submenu and can be used.
submenu_rows() {
  awk '{ named[$1] = 1 } $1 == "disabled" { off[$2] = 1 }
       $7 == 1 && $2 ~ /^ListContainerElement/ { rows[++n] = $1 }
       END { for (i = 1; i <= n; i++) if ((rows[i] "_SUB") in named && !(rows[i] in off)) print rows[i] }' "$1"
}
# Gathers the open level (its list shown in ".menu"), then each of its submenus in turn:
# the pointer rests on a row to open its submenu.
visit_menu() {
  local list=$1 view=menu-${1#ID_} snap wx wy wr wb x y w h row
  view=${view%_SUB}
  snap="$WORK/view-$view.txt"
  keep_view "$view" "$MENU" "$list"
  read -r _ wx wy wr wb < <(head -n 1 "$snap")
  read -r x y w h <<<"${MAIN_GEOMETRY[*]}"
  # The menu with the player window beside it.
  shoot "$view" $((wx < x ? wx : x)) $((wy < y ? wy : y)) \
    $(((wr > x + w ? wr : x + w) - (wx < x ? wx : x))) $(((wb > y + h ? wb : y + h) - (wy < y ? wy : y)))
  for row in $(submenu_rows "$snap"); do
    # shellcheck disable=SC2046
    xdotool mousemove $(point_in "$snap" "$row" "$wx" "$wy") mousemove_relative 3 0
    visit_menu "${row}_SUB"
  done
}
# Chooses a row of a level visited before.
choose() {  # menu view, row
  local wx wy
  read -r _ wx wy _ < <(head -n 1 "$WORK/view-$1.txt")
  press "$WORK/view-$1.txt" "$2" "$wx" "$wy"
}
open_menu() {  # title-bar button
  press "$ORVELLA_CONTROL_TREE_FILE" "$1" "${MAIN_GEOMETRY[@]}"
  visit_menu "$1"
}
close_menus() {
  xdotool mousemove 1275 795 click 1  # a click beside every window closes them all
  wait_until 5 menus_closed || fail "$SKIN $LANGUAGE: the menus stay open"
}
# Waits for a dialog's tree and window; DIALOG becomes its "x y w h".
wait_dialog() {  # tree file, a control, title
  wait_until 5 copy_shows "$1" "$WORK/dialog.txt" "$2" || fail "$SKIN $LANGUAGE: no tree for '$3'"
  wait_until 5 titled "$3" || fail "$SKIN $LANGUAGE: no window '$3'"
  read -r -a DIALOG <<<"$(geometry_of "$(window_titled "$3")")"
}
close_dialog() {  # title
  xdotool key Escape
  wait_until 5 untitled "$1" || fail "$SKIN $LANGUAGE: Escape does not close '$1'"
}

# Each page of an open dialog: a page button, then a control only that page holds.
visit_pages() {  # tree file, view prefix, "button control" pairs
  local file=$1 prefix=$2 button control
  shift 2
  for pair in "$@"; do
    read -r button control <<<"$pair"
    press "$file" "$button" "${DIALOG[@]}"
    take_view "$prefix-${button#ID_}" "$file" "$control" "${DIALOG[@]}"
  done
}

settings_pages() {
  wait_dialog "$SETTINGS" ID_PLAYER '^Settings$'
  visit_pages "$SETTINGS" settings "${SETTINGS_PAGES[@]}"
  press "$SETTINGS" ID_CLOSE_BUTTON "${DIALOG[@]}"
  wait_until 5 untitled '^Settings$' || fail "$SKIN $LANGUAGE: the settings window stays"
}

visit_all() {
  mkdir -p "$XDG_CONFIG_HOME/Orvella"
  # The sample clip waits in the play list: its row is a text too, and the top bar needs a video.
  printf '<?xml version="1.0" encoding="UTF-16"?>\n<root><Media count="1" current="0"><Data id="0" filename="%s" shortname="sample.mp4" starttime="0" subtitle=""/></Media><Player skinindex="%s" language="%s" checkforupgrades="1"/></root>\n' \
    "$CLIP" "$SKIN_INDEX" "$LANGUAGE" | iconv -f UTF-8 -t UTF-16 >"$XDG_CONFIG_HOME/Orvella/settings.xml"
  rm -f "$ORVELLA_CONTROL_TREE_FILE"*
  start_player
  wait_window
  read -r -a MAIN_GEOMETRY <<<"$(geometry_of "$WINDOW_ID")"
  # The update window the start's check opens.
  wait_dialog "$UPDATE" ID_OK_BUTTON '^Check for update Wnd$'
  take_view update "$UPDATE" ID_OK_BUTTON "${DIALOG[@]}"
  close_dialog '^Check for update Wnd$'
  [ "$(control_visible playlistbar)" = 1 ] || press "$ORVELLA_CONTROL_TREE_FILE" list "${MAIN_GEOMETRY[@]}"
  take_view main "$ORVELLA_CONTROL_TREE_FILE" playlist "${MAIN_GEOMETRY[@]}"

  open_menu ID_MAINMENU
  close_menus
  # The help menu, then the about window from it.
  open_menu help
  choose menu-help ID_MAINMENU_HELP_ABOUT
  wait_dialog "$ABOUT" ID_ABOUT_OK_BUTTON '^About Wnd$'
  take_view about "$ABOUT" ID_ABOUT_OK_BUTTON "${DIALOG[@]}"
  close_dialog '^About Wnd$'

  # The play list's right-click menu, and the question its "clear" asks.
  # shellcheck disable=SC2046
  xdotool mousemove $(point_in "$ORVELLA_CONTROL_TREE_FILE" playlist "${MAIN_GEOMETRY[@]}") click 3
  visit_menu ID_PLAYLIST_RIGHT_MENU
  choose menu-PLAYLIST_RIGHT_MENU ID_PLAYLIST_RIGHT_MENU_DELETE_ALL
  wait_dialog "$QUESTION" ID_OK_BUTTON '^Question Wnd$'
  take_view question "$QUESTION" ID_OK_BUTTON "${DIALOG[@]}"
  close_dialog '^Question Wnd$'

  # The skin window under its button, each of its pages; a click on the main window hides
  # it again.
  press "$ORVELLA_CONTROL_TREE_FILE" facade "${MAIN_GEOMETRY[@]}"
  wait_dialog "$FACADE" switch '^Facade Wnd$'
  visit_pages "$FACADE" facade "color hue" "shading dragon" "skin classic"
  press "$ORVELLA_CONTROL_TREE_FILE" playlist "${MAIN_GEOMETRY[@]}"
  wait_until 5 untitled '^Facade Wnd$' || fail "$SKIN $LANGUAGE: the skin window stays"

  # The tools menu, then every page of the settings window from it.
  open_menu tools
  choose menu-tools ID_MAINMENU_SETTING
  settings_pages

  # The file information window from the tools menu, both its pages.
  open_menu tools
  choose menu-tools ID_MAINMENU_FILE_FILEINFO
  wait_dialog "$INFO" ID_GENERAL '^File information Wnd$'
  visit_pages "$INFO" fileinfo "ID_GENERAL ID_FILEINFO_FILESIZE" "ID_TRACKS ID_INFORMATION_TRACKS_LIST"
  close_dialog '^File information Wnd$'

  # The top bar over the top edge of the screen, in full screen with the clip playing.
  read -r x y _ <<<"${MAIN_GEOMETRY[*]}"
  # shellcheck disable=SC2046
  xdotool mousemove $(awk -v X="$x" -v Y="$y" '$1 == "playlist" { print X + ($3 + $5) / 2, Y + $4 + 12 }' "$ORVELLA_CONTROL_TREE_FILE") \
    click --repeat 2 --delay 80 1
  wait_until 5 engine_drawing || fail "$SKIN $LANGUAGE: the clip does not play from the list"
  # shellcheck disable=SC2046
  xdotool mousemove $(point_in "$ORVELLA_CONTROL_TREE_FILE" media "${MAIN_GEOMETRY[@]}") click --repeat 2 --delay 80 1
  wait_until 5 full_screen || fail "$SKIN $LANGUAGE: a double click on the video does not go full screen"
  xdotool mousemove 640 12 mousemove 642 10
  wait_dialog "$TOPBAR" fullscreen '^Fullscreen topbar Wnd$'
  take_view topbar "$TOPBAR" fullscreen "${DIALOG[@]}"

  kill -TERM "$PLAYER_PID"
  wait_exit 10
}

for skin in "${skins[@]}"; do
  read -r SKIN_INDEX SKIN <<<"$skin"
  for LANGUAGE in "${LANGUAGES[@]}"; do
    visit_all
    echo "$SKIN $LANGUAGE: $(grep -c "^$SKIN $LANGUAGE " "$CUTS" || true) texts cut or drawn as boxes"
  done
done
# One line per text and place; a text cut on every page of a window is named once.
awk '{ key = $1 " " $2 " " $4 " " $5 " " $6; for (i = 7; i <= NF; i++) key = key " " $i }
     !(key in seen) { seen[key] = 1; print }' "$CUTS" >"$WORK/cut-once.txt"
if [ -s "$WORK/cut-once.txt" ]; then
  cat "$WORK/cut-once.txt" >&2
  fail "$(wc -l <"$WORK/cut-once.txt") texts do not fit their controls or show boxes (skin language view: kind control [need room] text)"
fi
echo "ok"
