#!/usr/bin/env bash
# Languages and skins switched live, by real input, while a clip plays: Deutsch, then
# 日本語, then English from the tools menu's Language submenu; then the skin window: a
# scheme recolours the window, and the classic skin replaces the modern one. Through
# every switch the picture keeps moving and the engine stays the same process. Then the
# same language round in the classic skin. One start of the player.
source "$(dirname "$0")/lib.sh"
clip=$(make_moving_clip 120)
mkdir -p "$XDG_CONFIG_HOME/Orvella"
printf '<?xml version="1.0" encoding="UTF-16"?>\n<root><Player skinindex="1" language="eng" checkforupgrades="0"/></root>\n' |
  iconv -f UTF-8 -t UTF-16 >"$XDG_CONFIG_HOME/Orvella/settings.xml"
start_player "$clip"
wait_window
wait_until 10 grep -q "^media " "$ORVELLA_CONTROL_TREE_FILE" || fail "no video area"
expect_moving "the start"
engine=$(pgrep -P "$PLAYER_PID" -x mplayer | head -n 1)
[ -n "$engine" ] || fail "no engine runs"

same_engine() {
  local now
  now=$(pgrep -P "$PLAYER_PID" -x mplayer | head -n 1)
  [ "$now" = "$engine" ] || fail "$1: the engine is process ${now:-none}, not $engine"
}

# The words the tools menu shows for its Settings row, with the menu closed again.
settings_row_words() {
  rm -f "$MENU"
  click_control tools
  wait_until 5 grep -q "^shows ID_MAINMENU_SETTING " "$MENU" || fail "the tools menu did not open"
  awk '$1 == "shows" && $2 == "ID_MAINMENU_SETTING" { $1 = ""; $2 = ""; sub(/^ +/, ""); print; exit }' "$MENU"
  xdotool key Escape
  wait_until 5 bash -c '! xdotool search --onlyvisible --name "^Menu Wnd$" >/dev/null' || true
}

# Chooses a language from the tools menu's Language submenu and waits until the menu
# speaks it.
choose_language() {
  local folder=$1 words=$2 skin=$3
  rm -f "$MENU"
  click_control tools
  wait_until 5 grep -q "^ID_MAINMENU_LANGUAGE " "$MENU" || fail "the tools menu did not open"
  # shellcheck disable=SC2046
  xdotool mousemove $(centre_in "$MENU" ID_MAINMENU_LANGUAGE)
  wait_until 5 grep -q "^ID_MAINMENU_LANGUAGE_$folder ListContainerElementUI [0-9-]* [0-9-]* [0-9-]* [0-9-]* 1" "$MENU" ||
    fail "the Language submenu does not list $folder"
  click_in "$MENU" "ID_MAINMENU_LANGUAGE_$folder"
  local got=""
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.3
    got=$(settings_row_words)
    [ "$got" = "$words" ] && break
  done
  [ "$got" = "$words" ] || fail "after choosing $folder the menu says \"$got\", not \"$words\""
  screenshot "languages-live-$skin-$folder" >/dev/null
  expect_moving "the switch to $folder"
  same_engine "the switch to $folder"
}

# What a catalogue makes of an English text.
translated() {
  awk -v id="msgid \"$2\"" '$0 == id { getline; sub(/^msgstr "/, ""); sub(/"$/, ""); print; exit }' \
    "$(dirname "$0")/../../po/$1.po"
}

language_round() {
  choose_language de "$(translated de "Settings…")" "$1"
  choose_language jpn "$(translated jpn "Settings…")" "$1"
  choose_language eng "Settings…" "$1"
}
language_round 1

# The skin window, under its button: a scheme recolours the main window at once.
open_facade() {
  rm -f "$FACADE"
  click_control facade
  wait_until 5 grep -q "^switch " "$FACADE" || fail "the skin window did not open"
  sleep 0.3
}
scheme_of_main() { awk '$1 == "scheme" { print $2 }' "$ORVELLA_CONTROL_TREE_FILE"; }
layout_of_main() { awk '$1 == "layout" { print $2 }' "$ORVELLA_CONTROL_TREE_FILE"; }

open_facade
click_in "$FACADE" shading
wait_until 5 grep -q "^marked shading$" "$FACADE" || fail "the picture page did not open"
before=$(control_shot titlebar "languages-live-titlebar-before")
click_in "$FACADE" dragon
wait_until 5 grep -q "^scheme FFFFC800$" "$ORVELLA_CONTROL_TREE_FILE" ||
  fail "the dragon scheme did not colour the main window (scheme $(scheme_of_main))"
after=$(control_shot titlebar "languages-live-titlebar-dragon")
[ "$(looks_unlike "$before" "$after")" -gt 5 ] || fail "the title bar looks the same after the dragon scheme"
grep -q "^image shading .*dragon" "$ORVELLA_CONTROL_TREE_FILE" || fail "the title bar picture is not the dragon"
screenshot "languages-live-dragon" >/dev/null

# The classic skin while playing: a new layout around the same engine and moving picture.
click_in "$FACADE" skin
wait_until 5 grep -q "^classic " "$FACADE" || fail "the skin page did not open"
click_in "$FACADE" classic
wait_until 10 bash -c "grep -q '^layout .*skin_classic/language/eng/main.xml' '$ORVELLA_CONTROL_TREE_FILE'" ||
  fail "the classic skin did not come (layout $(layout_of_main))"
sleep 0.5
expect_moving "the switch to the classic skin"
same_engine "the switch to the classic skin"
[ "$(scheme_of_main)" = FFFFC800 ] || fail "the colour did not survive the skin switch ($(scheme_of_main))"
screenshot "languages-live-classic" >/dev/null
# The checking build runs several times slower: the round in the first skin is enough there.
case "$BUILD" in *sanitize*) ;; *) language_round 0 ;; esac

# What was chosen comes back at the next start.
close_player
settings_text | grep -q 'skinindex="0"' || fail "the classic skin was not kept"
settings_text | grep -qiE ' color="ffffc800"' || fail "the dragon colour was not kept ($(settings_text | grep -oE " color=\"[^\"]*\""))"
