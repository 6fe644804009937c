#!/usr/bin/env bash
# Dialogs and the audio layout by real input. An audio file keeps the whole tool bar
# inside the window, with and without the play list, in both skins, and the title picture
# stays clear of the caption buttons. A key that is taken in the settings window brings
# the conflict question up active, above the settings; Escape answers it as Cancel and
# closes the settings without minimising the player. Escape closes the about window and a
# click on the player still works.
source "$(dirname "$0")/lib.sh"
song=$(media_file "a song.mp3" -f lavfi -i "sine=frequency=440:duration=60" -c:a libmp3lame)

rect_of() { awk -v n="$1" '$1 == n { print $3, $4, $5, $6; exit }' "$ORVELLA_CONTROL_TREE_FILE"; }
window_size() { xdotool getwindowgeometry --shell "$WINDOW_ID" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | paste -sd' '; }
# Inside the window's client area and inside the tool bar (a control pushed past the
# bar's end is cut off even where the window goes on).
reachable() {
  local w h
  read -r w h <<<"$(window_size)"
  awk -v r="$(rect_of "$1")" -v bar="$(rect_of toolbar)" -v W="$w" -v H="$h" 'BEGIN { split(r, p); split(bar, b);
    exit !(p[3] > p[1] && p[1] >= b[1] && p[3] <= b[3] && b[1] >= 0 && b[3] <= W && b[4] <= H) }'
}
# Two rectangles of the control tree share no pixel.
apart() {
  awk -v a="$(rect_of "$1")" -v b="$(rect_of "$2")" 'BEGIN { split(a, p); split(b, q);
    exit !(p[3] <= q[1] || q[3] <= p[1] || p[4] <= q[2] || q[4] <= p[2]) }'
}
expect_reachable() {
  local mute=mute_on name
  [ "$(control_visible mute_on)" = 1 ] || mute=mute_off
  for name in next list "$mute" volumeslider; do
    wait_until 3 reachable "$name" || fail "$1: $name is cut off in the $(window_size) window: $(rect_of "$name")"
  done
  for name in minbtn maxbtn closebtn; do apart shading "$name" || fail "$1: the title picture covers $name"; done
}
shows() { [ "$(control_visible "$1")" = "$2" ]; }
mapped() { xprop -id "$WINDOW_ID" WM_STATE | grep -qi normal; }
active_is() { [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$1" ]; }
gone() { ! xdotool search --name "$1" >/dev/null 2>&1; }
# Window $1 lies above window $2 in the window manager's stacking order.
above() {
  xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' |
    awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" '$1 == a { ia = NR } $1 == b { ib = NR } END { exit !(ib > 0 && ia > ib) }'
}

audio_layout() {
  start_player "$song"
  wait_window
  wait_until 10 shows ID_MEDIA_AUDIO 1 || fail "skin $1: the audio picture does not show"
  for list in 1 0; do
    shows playlistbar "$list" || click_control list
    wait_until 3 shows playlistbar "$list" || fail "skin $1: the list button does not toggle the play list"
    sleep 0.5
    expect_reachable "skin $1, play list shown: $list"
    screenshot "dialogs-skin$1-audio-list$list" >/dev/null
  done
  [ "$1" = 0 ] && dialogs
  close_player
}

dialogs() {
  open_settings
  click_through "$SETTINGS" ID_PLAYER ID_PLAYER_HOTKEY ID_PLAYER_HOTKEY_AUDIO ID_EDIT_HOTKEY_AUDIO_MUTE
  click_in "$SETTINGS" ID_EDIT_HOTKEY_AUDIO_MUTE; sleep 0.3
  xdotool key space
  wait_until 5 active_is "Question Wnd" || fail "no question for a key that is taken, or it is not the active window"
  above "$(xdotool getactivewindow)" "$(settings_id)" || fail "the question opened behind the settings window"
  screenshot "dialogs-conflict-question" >/dev/null
  xdotool key Escape
  wait_until 3 gone '^Question Wnd$' || fail "Escape does not answer the question"
  sleep 0.3
  mapped && settings_open || fail "Escape on the question minimised the player or closed the settings"
  [ "$(control_text ID_EDIT_HOTKEY_AUDIO_MUTE "$SETTINGS")" = M ] || fail "the refused key changed Mute's field"
  # A hotkey field takes Escape as its key: Escape closes the window from elsewhere.
  click_in "$SETTINGS" ID_PLAYER_HOTKEY_AUDIO; sleep 0.3
  xdotool key Escape
  wait_until 3 gone '^Settings$' || fail "Escape does not close the settings window"
  sleep 0.3
  mapped || fail "Escape on the settings window minimised the player"

  click_control help
  wait_until 5 grep -q "^ID_MAINMENU_HELP_ABOUT " "$MENU" || fail "the help menu did not open"
  click_in "$MENU" ID_MAINMENU_HELP_ABOUT
  wait_until 5 active_is "About Wnd" || fail "the about window does not open active"
  xdotool key Escape
  wait_until 3 gone '^About Wnd$' || fail "Escape does not close the about window"
  sleep 0.3
  mapped || fail "Escape on the about window minimised the player"
  click_control list
  wait_until 3 shows playlistbar 1 || fail "a click on the player after the about window does nothing"
  screenshot "dialogs-after-about" >/dev/null
}

# Which window is active and which lies above need the window manager up.
wait_until 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window" || fail "no window manager"
in_both_skins audio_layout
echo "ok"
