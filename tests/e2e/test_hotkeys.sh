#!/usr/bin/env bash
# Rebinding a key by real input: the settings window opens from the main menu, a click on
# Mute's field and a press of K give Mute the key K, Space (Pause's key) is refused with
# the "Input conflict" question, Apply makes K mute at once and M do nothing, and after a
# restart K still mutes.
source "$(dirname "$0")/lib.sh"
clip=$(make_moving_clip 30)
click_in_and_wait() { click_in "$@"; sleep 0.3; }
has() { grep -q "^$2 " "$1" 2>/dev/null; }
muted() { [ "$(control_visible mute_off)" = 1 ]; }
unmuted() { [ "$(control_visible mute_on)" = 1 ]; }
press_in_main() {
  xdotool windowactivate --sync "$WINDOW_ID" 2>/dev/null || true
  xdotool mousemove_relative 1 0; sleep 0.2
  xdotool key "$1"; sleep 0.5
}

start_player "$clip"
wait_window
wait_playing
unmuted || fail "the clip starts muted"

# The settings window from the tools menu, on the player's hotkeys.
open_settings
click_through "$SETTINGS" ID_PLAYER ID_PLAYER_HOTKEY ID_PLAYER_HOTKEY_AUDIO ID_EDIT_HOTKEY_AUDIO_MUTE
field_text() { control_text ID_EDIT_HOTKEY_AUDIO_MUTE "$SETTINGS"; }
[ "$(field_text)" = "M" ] || fail "Mute's field shows '$(field_text)', not M"

# A key another action has: refused, the question names that action as its field does.
click_in_and_wait "$SETTINGS" ID_EDIT_HOTKEY_AUDIO_MUTE
xdotool key space
wait_until 5 has "$QUESTION" ID_TEXT || fail "no question for a key that is taken"
grep -q 'already assigned to "Play / pause"' "$QUESTION" || fail "the question does not name Play / pause: $(cat "$QUESTION")"
screenshot "hotkeys-conflict" >/dev/null
click_in_and_wait "$QUESTION" ID_OK_BUTTON
sleep 0.3
[ "$(field_text)" = "M" ] || fail "a refused key changed the field to '$(field_text)'"

# A free key is taken and works as soon as it is applied.
click_in_and_wait "$SETTINGS" ID_EDIT_HOTKEY_AUDIO_MUTE
xdotool key k
wait_until 5 bash -c "grep -q '^ID_EDIT_HOTKEY_AUDIO_MUTE .* K\$' '$SETTINGS'" || fail "Mute's field shows '$(field_text)', not K"
screenshot "hotkeys-rebound" >/dev/null
click_in_and_wait "$SETTINGS" ID_PLAYER_APPLY
click_in_and_wait "$SETTINGS" ID_CLOSE_BUTTON
press_in_main m
unmuted || fail "M still mutes after Mute was given K"
press_in_main k
wait_until 5 muted || fail "K does not mute"
press_in_main k
wait_until 5 unmuted || fail "K does not unmute"

# The key is kept across a restart.
click_control closebtn
wait_exit 15
settings_text | grep -q 'Mute[^>]*virtualkey="75"' || fail "settings.xml does not keep K for Mute: $(settings_text | grep -i mute)"
rm -f "$ORVELLA_CONTROL_TREE_FILE"
start_player "$clip"
wait_window
wait_playing
press_in_main k
wait_until 5 muted || fail "after a restart K does not mute"
echo "ok"
