#!/usr/bin/env bash
# The association switch by real input: the first start makes the player the default for
# video/mp4 (another program had it), the settings window's check box off gives it back,
# on takes it again; xdg-mime reads the defaults each time.
source "$(dirname "$0")/lib.sh"
command -v xdg-mime >/dev/null || fail "xdg-mime is missing (package xdg-utils)"
mkdir -p "$XDG_DATA_HOME/applications"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=true %%F\nMimeType=video/mp4;\n' \
  >"$XDG_DATA_HOME/applications/other.desktop"
xdg-mime default other.desktop video/mp4
default_is() { [ "$(xdg-mime query default video/mp4)" = "$1" ]; }
default_is other.desktop || fail "the other program is not the default to begin with"

start_player
wait_window
wait_until 10 default_is orvella.desktop || fail "the first start did not take video/mp4: $(xdg-mime query default video/mp4)"

switch_association() {  # what xdg-mime answers afterwards
  click_in "$SETTINGS" ID_PLAYER_FILE_ASSOCIATE
  sleep 0.3
  click_in "$SETTINGS" ID_PLAYER_APPLY
  wait_until 10 default_is "$1" || fail "after the check box video/mp4 opens with '$(xdg-mime query default video/mp4)', not $1"
}
open_settings
click_in "$SETTINGS" ID_PLAYER
wait_until 5 shown_in "$SETTINGS" ID_PLAYER_APPLY || fail "the Player tab does not show its page"
click_in "$SETTINGS" ID_PLAYER_FILE
wait_until 5 shown_in "$SETTINGS" ID_PLAYER_FILE_ASSOCIATE || fail "the File page does not show the check box"
switch_association other.desktop
switch_association orvella.desktop
close_player
