#!/usr/bin/env bash
# Dialogs and the audio layout by real input. An audio file keeps the whole tool bar
# (next, list, mute, volume) inside the window, with and without the play list, in both
# skins, and the title picture stays clear of the caption buttons. In the settings
# window a key that is taken brings the conflict question up as the active window above
# the settings; Escape answers it as Cancel and the player is not minimised. The about
# window goes with Escape, and a click on the player still works afterwards.
source "$(dirname "$0")/lib.sh"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
song="$WORK/a song.mp3"
ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=440:duration=60" -c:a libmp3lame "$song" ||
  fail "ffmpeg could not make an audio file"

has() { grep -q "^$2 " "$1" 2>/dev/null; }
window_size() { xdotool getwindowgeometry --shell "$WINDOW_ID" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | paste -sd' '; }
rect_of() { awk -v n="$1" '$1 == n { print $3, $4, $5, $6; exit }' "$ORVELLA_CONTROL_TREE_FILE"; }
# The control lies wholly inside the window's client area (the tree is in client pixels)
# and inside its bar (a control pushed past the bar's end is cut off even inside the window).
inside_window() {
  local name=$1 w h
  read -r w h <<<"$(window_size)"
  [ -n "$(rect_of "$name")" ] || fail "control $name is not in the control tree"
  awk -v r="$(rect_of "$name")" -v bar="$(rect_of toolbar)" -v W="$w" -v H="$h" 'BEGIN { split(r, p); split(bar, b);
    exit !(p[1] >= 0 && p[2] >= 0 && p[3] <= W && p[4] <= H && p[3] > p[1] &&
           (r == bar || (p[1] >= b[1] && p[3] <= b[3] && b[3] <= W))) }'
}
# Two rectangles of the control tree do not share a pixel.
apart() {
  local a b
  a=$(awk -v n="$1" '$1 == n { print $3, $4, $5, $6; exit }' "$ORVELLA_CONTROL_TREE_FILE")
  b=$(awk -v n="$2" '$1 == n { print $3, $4, $5, $6; exit }' "$ORVELLA_CONTROL_TREE_FILE")
  awk -v a="$a" -v b="$b" 'BEGIN { split(a, p); split(b, q);
    exit !(p[3] <= q[1] || q[3] <= p[1] || p[4] <= q[2] || q[4] <= p[2]) }'
}
toolbar_inside() {
  local what=$1 name
  local mute=mute_on
  [ "$(control_visible mute_on)" = 1 ] || mute=mute_off
  for name in toolbar next list "$mute" volumeslider; do
    wait_until 3 inside_window "$name" || fail "$what: $name lies outside the $(window_size) window: $(grep "^$name " "$ORVELLA_CONTROL_TREE_FILE")"
  done
  for name in minbtn maxbtn closebtn; do
    apart shading "$name" || fail "$what: the title picture covers $name"
  done
}
audio_shown() { [ "$(control_visible ID_MEDIA_AUDIO)" = 1 ]; }
list_shown() { [ "$(control_visible playlistbar)" = "$1" ]; }
mapped() { xprop -id "$WINDOW_ID" WM_STATE | grep -qi normal && xdotool search --onlyvisible --pid "$PLAYER_PID" | grep -qx "$WINDOW_ID"; }
settings_closed() { ! settings_open; }
muted() { [ "$(control_visible mute_off)" = 1 ]; }
question_id() { window_titled '^Question Wnd$'; }
about_id() { window_titled '^About Wnd$'; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# Whether window $1 lies above window $2 in the window manager's stacking order.
above() {
  xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' |
    awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" '$1 == a { ia = NR } $1 == b { ib = NR } END { exit !(ia > ib && ib > 0) }'
}

audio_layout() {
  local skin=$1
  start_player "$song"
  wait_window
  wait_until 10 audio_shown || fail "skin $skin: the audio picture does not show"
  sleep 0.5
  toolbar_inside "skin $skin, audio"
  screenshot "dialogs-skin$skin-audio" >/dev/null
  list_shown 1 || click_control list
  wait_until 3 list_shown 1 || fail "skin $skin: the list button does not show the play list"
  sleep 0.5
  toolbar_inside "skin $skin, audio with the play list"
  screenshot "dialogs-skin$skin-audio-list" >/dev/null
  [ "$skin" = 0 ] && dialogs
  close_player
}

dialogs() {
  # A taken key in the settings window: the question comes up above it, active.
  click_control tools
  wait_until 5 has "$MENU" ID_MAINMENU_SETTING || fail "the tools menu did not open"
  click_in "$MENU" ID_MAINMENU_SETTING
  wait_until 5 settings_open || fail "the settings window did not open"
  wait_until 5 has "$SETTINGS" ID_PLAYER || fail "the settings window wrote no control tree"
  sleep 0.3
  for page in ID_PLAYER ID_PLAYER_HOTKEY ID_PLAYER_HOTKEY_AUDIO ID_EDIT_HOTKEY_AUDIO_MUTE; do
    click_in "$SETTINGS" "$page"; sleep 0.3
  done
  xdotool key space
  wait_until 5 test -n "$(question_id)" || { screenshot dialogs-no-question >/dev/null; xprop -root _NET_ACTIVE_WINDOW >&2; echo "settings $(settings_id)" >&2; fail "no question for a key that is taken"; }
  wait_until 3 active_is "$(question_id)" ||
    { screenshot dialogs-not-active >/dev/null; xprop -root _NET_ACTIVE_WINDOW _NET_CLIENT_LIST_STACKING >&2; echo "question $(question_id) settings $(settings_id)" >&2; fail "the question is not the active window (active: $(xdotool getactivewindow getwindowname 2>/dev/null))"; }
  above "$(question_id)" "$(settings_id)" || fail "the question opened behind the settings window"
  screenshot "dialogs-conflict-question" >/dev/null
  xdotool key Escape
  wait_until 3 test -z "$(question_id)" || fail "Escape does not answer the question"
  sleep 0.3
  mapped || fail "Escape on the question minimised the player"
  settings_open || fail "Escape on the question closed the settings window"
  [ "$(control_text ID_EDIT_HOTKEY_AUDIO_MUTE "$SETTINGS")" = M ] || fail "the refused key changed Mute's field"
  # Escape closes the settings window too, and only it (once no hotkey field has the
  # focus: a field takes Escape as its new key).
  click_in "$SETTINGS" ID_PLAYER_HOTKEY_AUDIO; sleep 0.3
  xdotool key Escape
  wait_until 3 settings_closed || fail "Escape does not close the settings window"
  sleep 0.3
  mapped || fail "Escape on the settings window minimised the player"

  # About, Escape: the about window goes and the player still takes clicks.
  click_control help
  wait_until 5 has "$MENU" ID_MAINMENU_HELP_ABOUT || fail "the help menu did not open"
  click_in "$MENU" ID_MAINMENU_HELP_ABOUT
  wait_until 5 test -n "$(about_id)" || fail "no about window"
  wait_until 3 active_is "$(about_id)" || fail "the about window does not take the focus"
  xdotool key Escape
  wait_until 3 test -z "$(about_id)" || fail "Escape does not close the about window"
  sleep 0.3
  mapped || fail "Escape on the about window minimised the player"
  click_control mute_on
  wait_until 3 muted || fail "a click on Mute after the about window does nothing"
  screenshot "dialogs-after-about" >/dev/null
}

in_both_skins audio_layout
echo "ok"
