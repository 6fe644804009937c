#!/usr/bin/env bash
# The settings window by real input, in both skins: the tools menu opens it; each big tab,
# each page in the list and each hotkey group shows its page (a control of that page
# becomes visible); the hotkey fields show the keys of the table; the close button closes
# it. A screenshot of the window is kept for every page.
source "$(dirname "$0")/lib.sh"
# The settings window alone, from the screen.
settings_shot() {
  eval "$(xdotool getwindowgeometry --shell "$(settings_id)")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$SHOTS/$1.png"
}

# Page button, then a control that only its page holds.
EFFECT_PAGES=(
  "ID_EFFECT_PLAY ID_SEEKTIME_EDIT" "ID_EFFECT_SIZE ID_SIZE_RESET_BUTTON"
  "ID_EFFECT_COLOR ID_EFFECT_COLOR_HUE" "ID_EFFECT_AUDIO ID_EFFECT_AUDIO_BALANCE"
  "ID_EFFECT_SUBTITLE ID_EFFECT_SUBTITLE_POSITION" "ID_EFFECT_CROP ID_CROP_WIDTH"
  "ID_EFFECT_SNAP ID_EFFECT_SNAP_SNAP")
PLAYER_PAGES=(
  "ID_PLAYER_FILE ID_PLAYER_FILE_ASSOCIATE" "ID_PLAYER_SYSTEM ID_PLAYER_SYSTEM_THREAD_COMBO"
  "ID_PLAYER_VIDEO ID_PLAYER_VIDEO_FORAMT_GL" "ID_PLAYER_AUDIO ID_PLAYER_AUDIO_MAX_AMPLIFICATION"
  "ID_PLAYER_SUBTITLE ID_PLAYER_SUBTITLE_TAB_ENCODE_COMBO" "ID_PLAYER_OTHERS ID_PLAYER_SNAP_PATH_EDIT"
  "ID_PLAYER_HOTKEY ID_PLAYER_HOTKEY_PLAY")
HOTKEY_PAGES=(
  "ID_PLAYER_HOTKEY_PLAY ID_EDIT_HOTKEY_STOP" "ID_PLAYER_HOTKEY_VIDEO ID_EDIT_HOTKEY_VIDEO_ZOOM"
  "ID_PLAYER_HOTKEY_AUDIO ID_EDIT_HOTKEY_AUDIO_MUTE" "ID_PLAYER_HOTKEY_SUBTITLE ID_EDIT_HOTKEY_SUBTITLES_LOAD"
  "ID_PLAYER_HOTKEY_FILE ID_EDIT_HOTKEY_FILE_NEXT" "ID_PLAYER_HOTKEY_OTHERS ID_PLAYER_HOTKEY_OTHERS_EXIT")

visit() {  # skin, "button control"...
  local skin=$1 button control; shift
  for pair in "$@"; do
    read -r button control <<<"$pair"
    click_in "$SETTINGS" "$button"
    wait_until 5 shown_in "$SETTINGS" "$control" || fail "$button does not show its page ($control stays hidden)"
    sleep 0.2
    settings_shot "skin$skin-settings-${button#ID_}"
  done
}

run_skin() {
  local skin=$1
  start_player
  wait_window
  sleep 1
  rm -f "$MENU" "$SETTINGS"
  click_control tools
  wait_until 5 grep -q '^ID_MAINMENU_SETTING ' "$MENU" || fail "the tools menu did not open"
  click_in "$MENU" ID_MAINMENU_SETTING
  wait_until 5 settings_open || fail "the settings window did not open"
  wait_until 5 shown_in "$SETTINGS" ID_SEEKTIME_EDIT || fail "the settings window does not start on the playback page"
  sleep 0.3

  visit "$skin" "${EFFECT_PAGES[@]}"
  click_in "$SETTINGS" ID_PLAYER
  wait_until 5 shown_in "$SETTINGS" ID_PLAYER_APPLY || fail "the Player tab does not show its page"
  visit "$skin" "${PLAYER_PAGES[@]}"
  visit "$skin" "${HOTKEY_PAGES[@]}"
  # The fields show the table's keys (the defaults on a first start).
  [ "$(control_text ID_PLAYER_HOTKEY_OTHERS_EXIT "$SETTINGS")" = "Ctrl+Q" ] ||
    fail "the Exit field shows '$(control_text ID_PLAYER_HOTKEY_OTHERS_EXIT "$SETTINGS")', not Ctrl+Q"
  click_in "$SETTINGS" ID_EFFECT
  wait_until 5 shown_in "$SETTINGS" ID_EFFECT_SNAP_SNAP || fail "the Effects tab does not come back to its last page"

  click_in "$SETTINGS" ID_CLOSE_BUTTON
  wait_until 5 bash -c "[ -z \"\$(xdotool search --all --onlyvisible --pid $PLAYER_PID --name '^Settings\$' 2>/dev/null)\" ]" ||
    fail "the close button does not close the settings window"
  close_player
}

in_both_skins run_skin
echo "ok"
