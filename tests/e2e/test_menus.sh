#!/usr/bin/env bash
# The menus by real input, in both skins: the main menu opens below its button, hovering
# a row with a submenu opens it, Escape closes them, the right button on the video opens
# the video menu at the pointer, a click outside closes it without reaching what lies
# there, and Down, Down, Enter there
# chooses its second row ("Play", which resumes a paused clip); letters typed into the
# address bar (Ctrl+U) are no hotkeys and Escape there closes only the bar. Screenshots
# of an open submenu are kept.
source "$(dirname "$0")/lib.sh"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
clip=$(make_moving_clip 20)
MENU="$ORVELLA_CONTROL_TREE_FILE.menu"

popups() { xdotool search --onlyvisible --pid "$PLAYER_PID" 2>/dev/null | sort; }
no_menu() { [ "$(popups | wc -l)" -le "$MAIN_WINDOWS" ]; }
menu_row_centre() {  # row name -> "x y" on screen, from the menu's own control tree
  local line wx wy
  read -r _ wx wy _ _ < <(head -n 1 "$MENU")
  line=$(awk -v n="$1" '$1 == n { print; exit }' "$MENU")
  [ -n "$line" ] || fail "no row $1 in the open menu"
  awk -v X="$wx" -v Y="$wy" '{ printf "%d %d\n", X + ($3 + $5) / 2, Y + ($4 + $6) / 2 }' <<<"$line"
}
menu_has() { grep -q "^$1 " "$MENU" 2>/dev/null; }
url_bar_shown() { [ "$(control_visible URLbar_edit)" = 1 ]; }

run_skin() {
  local skin=$1 x y bx by
  start_player "$clip"
  wait_window
  wait_playing
  MAIN_WINDOWS=$(popups | wc -l)

  # The main menu below its button; Video opens its submenu on hover.
  rm -f "$MENU"
  click_control ID_MAINMENU
  wait_until 5 menu_has ID_MAINMENU_PLAY_FRAME || fail "the main menu did not open"
  read -r _ _ y _ _ < <(head -n 1 "$MENU")
  read -r _ bh _ by <<<"$(control_box ID_MAINMENU)"
  [ "$y" -ge $((by + bh - 2)) ] && [ "$y" -le $((by + bh + 6)) ] || fail "the menu opens at y=$y, not below its button"
  # shellcheck disable=SC2046
  xdotool mousemove $(menu_row_centre ID_MAINMENU_PLAY_FRAME); sleep 0.1
  # shellcheck disable=SC2046
  xdotool mousemove_relative 3 0
  wait_until 5 menu_has ID_MAINMENU_PLAY_FRAME_SIZE || fail "hovering Video did not open its submenu"
  sleep 0.4
  screenshot "skin$skin-menu-submenu" >/dev/null
  xdotool key Escape; sleep 0.2; xdotool key Escape
  wait_until 5 no_menu || fail "Escape does not close the menus"

  # The video menu at the pointer; a click outside closes it.
  read -r x y <<<"$(control_centre media)"
  xdotool mousemove "$x" "$y"; sleep 0.2
  rm -f "$MENU"
  xdotool click 3
  wait_until 5 menu_has ID_MAINMENU_PLAY_PLAY || fail "the right button opens no video menu"
  read -r _ wx wy _ _ < <(head -n 1 "$MENU")
  [ $((wx - x)) -ge -2 ] && [ $((wx - x)) -le 2 ] && [ $((wy - y)) -ge -2 ] && [ $((wy - y)) -le 2 ] ||
    fail "the video menu opens at $wx,$wy, not at the pointer $x,$y"
  # A click outside closes it and reaches nothing else: here the pause button stays.
  pauses=$(grep -c '^> pause$' "$ORVELLA_ENGINE_LOG" || true)
  # shellcheck disable=SC2046
  xdotool mousemove $(control_centre pause); sleep 0.2; xdotool click 1
  wait_until 5 no_menu || fail "a click outside does not close the menu"
  sleep 0.5
  [ "$(grep -c '^> pause$' "$ORVELLA_ENGINE_LOG" || true)" = "$pauses" ] ||
    fail "the click that closed the menu reached the pause button too"
  # So does a click on the desktop beside the window.
  rm -f "$MENU"
  click_control ID_MAINMENU
  wait_until 5 menu_has ID_MAINMENU_PLAY_FRAME || fail "the main menu did not open"
  xdotool mousemove 1275 795; sleep 0.2; xdotool click 1
  wait_until 5 no_menu || fail "a click on the desktop does not close the menu"

  # Down, Down, Enter chooses the second row: Play resumes the paused clip.
  click_control pause
  sleep 0.5
  xdotool mousemove "$x" "$y"; sleep 0.2
  rm -f "$MENU"
  xdotool click 3
  wait_until 5 menu_has ID_MAINMENU_PLAY_PLAY || fail "the right button opens no video menu"
  before=$(grep -c '^> pause$' "$ORVELLA_ENGINE_LOG" || true)
  xdotool key Down; sleep 0.1; xdotool key Down; sleep 0.1; xdotool key Return
  wait_until 5 bash -c "[ \$(grep -c '^> pause\$' '$ORVELLA_ENGINE_LOG') -gt $before ]" ||
    fail "Down, Down, Enter did not choose Play"
  wait_until 5 no_menu || fail "the menu stays after choosing"

  # The address bar keeps its typed letters from the hotkeys; Escape closes only the bar.
  xdotool key ctrl+u
  wait_until 5 url_bar_shown || fail "Ctrl+U opens no address bar"
  mutes=$(grep -c '^> .*mute' "$ORVELLA_ENGINE_LOG" || true)
  xdotool type --delay 50 "mm"; sleep 0.5
  [ "$(grep -c '^> .*mute' "$ORVELLA_ENGINE_LOG" || true)" = "$mutes" ] || fail "typing m into the address bar muted"
  xdotool key Escape; sleep 0.5
  xwininfo -id "$WINDOW_ID" | grep -q 'Map State: IsViewable' || fail "Escape in the address bar minimised the player"
  [ "$(control_visible URLbar_edit)" = 0 ] || fail "Escape left the address bar open"

  close_player
}

in_both_skins run_skin
echo "ok"
