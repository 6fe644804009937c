# Helpers for end-to-end tests: the real player under the test display, driven by real
# input. Source it; the build folder is $1 of the test.
set -euo pipefail
BUILD=${1:?build folder}
WORK=$(mktemp -d /tmp/orvella-e2e.XXXXXX)
export XDG_CONFIG_HOME="$WORK/config"
export XDG_DATA_HOME="$WORK/data"
export ORVELLA_CONTROL_TREE_FILE="$WORK/controls.txt"
PLAYER_PID=""
PLAYER="$BUILD/orvella"  # the program start_player runs; a test may name another
SHOTS="$BUILD/e2e-shots"
mkdir -p "$SHOTS"

fail() { echo "FAIL: $*" >&2; exit 1; }

# A player built with the sanitizers reports on its error output: any report fails.
player_reported() {
  [ -f "$WORK/player.log" ] && grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$WORK/player.log" || return 1
  echo "FAIL: the player reported:" >&2
  cat "$WORK/player.log" >&2
}

cleanup_player() {
  local status=$?
  if [ -n "$PLAYER_PID" ] && kill -0 "$PLAYER_PID" 2>/dev/null; then kill -9 "$PLAYER_PID" 2>/dev/null || true; fi
  if player_reported; then status=1; fi
  rm -rf "$WORK"
  exit "$status"
}
trap cleanup_player EXIT

# What the player says to its engine and hears back (a script may name another file).
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
start_player() {
  if player_reported; then rm -f "$WORK/player.log"; exit 1; fi  # the run before this one
  # Where this start's part of the engine log begins.
  LOG_MARK=0
  if [ -f "$ORVELLA_ENGINE_LOG" ]; then LOG_MARK=$(wc -l <"$ORVELLA_ENGINE_LOG"); fi
  "$PLAYER" "$@" >"$WORK/player.log" 2>&1 &
  PLAYER_PID=$!
}

# Whether the engine of this start has told its position (it plays, its length is known).
engine_playing() { tail -n +$((LOG_MARK + 1)) "$ORVELLA_ENGINE_LOG" 2>/dev/null | grep -q '^< ANS_TIME_POSITION='; }
wait_playing() { wait_until "${1:-10}" engine_playing || fail "the engine did not start playing"; }
# Whether the engine has told its position since its last log line that matches a pattern.
answered_since() {
  awk -v p="$1" '$0 ~ p { seen = 1; ok = 0 } seen && /^< ANS_TIME_POSITION=/ { ok = 1 } END { exit !ok }' \
    "$ORVELLA_ENGINE_LOG" 2>/dev/null
}

# Waits until the player's window is mapped and has painted its controls.
wait_window() {
  for _ in $(seq 1 200); do
    if [ -s "$ORVELLA_CONTROL_TREE_FILE" ]; then
      WINDOW_ID=$(xdotool search --sync --onlyvisible --pid "$PLAYER_PID" 2>/dev/null | head -n 1 || true)
      [ -n "$WINDOW_ID" ] && { sleep 0.3; return 0; }
    fi
    kill -0 "$PLAYER_PID" 2>/dev/null || { cat "$WORK/player.log" >&2; fail "player ended early"; }
    sleep 0.05
  done
  cat "$WORK/player.log" >&2
  fail "no window appeared"
}

# Prints "x y" of the centre of a named control, in screen coordinates.
control_centre() {
  local name=$1 line
  line=$(awk -v n="$name" '$1 == n { print; exit }' "$ORVELLA_CONTROL_TREE_FILE")
  [ -n "$line" ] || fail "control $name is not in the control tree"
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  awk -v X="$X" -v Y="$Y" '{ printf "%d %d\n", X + ($3 + $5) / 2, Y + ($4 + $6) / 2 }' <<<"$line"
}

click_control() {
  local pos
  pos=$(control_centre "$1")
  # shellcheck disable=SC2086
  xdotool mousemove $pos
  sleep 0.2
  xdotool click 1
}

# Waits for the player to end and sets EXIT_CODE (run it in this shell, not in $(...):
# only the shell that started the player can collect its exit code).
wait_exit() {
  local limit=${1:-10}
  for _ in $(seq 1 $((limit * 20))); do
    if ! kill -0 "$PLAYER_PID" 2>/dev/null; then
      set +e; wait "$PLAYER_PID"; EXIT_CODE=$?; set -e
      PLAYER_PID=""
      return 0
    fi
    sleep 0.05
  done
  fail "the player did not end within ${limit}s"
}

screenshot() {
  import -window root "$SHOTS/$1.png"
  echo "$SHOTS/$1.png"
}

# Prints "W H X Y" of a named control's rectangle on screen, shrunk by a margin.
control_box() {
  local name=$1 margin=${2:-0} line
  line=$(awk -v n="$name" '$1 == n { print; exit }' "$ORVELLA_CONTROL_TREE_FILE")
  [ -n "$line" ] || fail "control $name is not in the control tree"
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  read -r _ _ left top right bottom _ <<<"$line"
  echo "$((right - left - 2 * margin)) $((bottom - top - 2 * margin)) $((X + left + margin)) $((Y + top + margin))"
}

# Saves the named control's part of the screen as $SHOTS/<shot>.png and prints its path.
control_shot() {
  local name=$1 shot=$2 w h x y
  read -r w h x y <<<"$(control_box "$name" 10)"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/$shot.png"
  echo "$SHOTS/$shot.png"
}

# Number of pixels in which two pictures of the same size differ.
pixels_differing() {
  # compare exits 1 when the pictures differ: that is an answer here, not a failure.
  { compare -metric AE "$1" "$2" null: 2>&1 || true; } | awk '{ print int($1) }'
}

# How unlike two pictures look, 0 (alike) to 100, whatever their sizes: both are shrunk to
# 32x32 first, so a slightly taller area with the same picture still counts as alike.
looks_unlike() {
  local a b
  a=$(mktemp --suffix=.png); b=$(mktemp --suffix=.png)
  convert "$1" -resize '32x32!' "$a"; convert "$2" -resize '32x32!' "$b"
  { compare -metric RMSE "$a" "$b" null: 2>&1 || true; } | sed -n 's/.*(\(.*\)).*/\1/p' | awk '{ print int($1 * 100) }'
  rm -f "$a" "$b"
}

# Pixels of a control that change within the given seconds (two shots, <shot>-a and -b).
motion() {
  local name=$1 shot=$2 gap=$3 a b
  a=$(control_shot "$name" "$shot-a")
  sleep "$gap"
  b=$(control_shot "$name" "$shot-b")
  pixels_differing "$a" "$b"
}

# Number of colours in a picture.
colours_in() { convert "$1" -format '%k' info:; }

# A media file made by ffmpeg from the given inputs and options, named as asked. Made once
# per build and kept in the build folder: the same arguments give the same file, so every
# script (and every run) after the first takes it as it is.
media_file() {
  local name=$1 key dir; shift
  key=$(printf '%s\n' "$@" | md5sum | cut -c1-12)
  dir="$BUILD/e2e-media/$key"
  if [ ! -s "$dir/$name" ]; then
    mkdir -p "$dir"
    # Made beside and renamed: an interrupted run leaves no half file to take later.
    ffmpeg -loglevel error -y "$@" "$dir/.part-$$-$name" && mv "$dir/.part-$$-$name" "$dir/$name" ||
      { rm -f "$dir/.part-$$-$name"; fail "ffmpeg could not make $name"; }
  fi
  echo "$dir/$name"
}

# A clip with moving content of the given length in seconds.
make_moving_clip() {
  media_file "moving clip.mp4" -f lavfi -i "testsrc2=size=640x360:rate=25:duration=$1" \
    -pix_fmt yuv420p -c:v libx264 -preset ultrafast
}

# The settings file as UTF-8 text.
settings_text() { iconv -f UTF-16 -t UTF-8 "$XDG_CONFIG_HOME/Orvella/settings.xml"; }

# The text a named control shows (from the control tree; "" when it shows none).
control_text() {
  awk -v n="$1" '$1 == n { print; exit }' "${2:-$ORVELLA_CONTROL_TREE_FILE}" | sed -E 's/^([^ ]+ ){7}//' 
}

# Whether a named control is visible (1) or not (0).
control_visible() { awk -v n="$1" '$1 == n { print $7; exit }' "${2:-$ORVELLA_CONTROL_TREE_FILE}"; }

# Seconds of a "hh:mm:ss.t" time.
seconds_of() { awk -F: '{ printf "%.1f\n", $1 * 3600 + $2 * 60 + $3 }' <<<"$1"; }

# Waits until a command succeeds, up to the given seconds.
wait_until() {
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 20))); do "$@" && return 0; sleep 0.05; done
  return 1
}

# Prints "x y" on screen of a point at a fraction (0-100 %) along a control, mid-height.
control_point() {
  local w h x y
  read -r w h x y <<<"$(control_box "$1")"
  echo "$((x + w * $2 / 100)) $((y + h / 2))"
}

# The program's other windows: each writes its own control tree beside the main one.
MENU="$ORVELLA_CONTROL_TREE_FILE.menu"
SETTINGS="$ORVELLA_CONTROL_TREE_FILE.settings"
QUESTION="$ORVELLA_CONTROL_TREE_FILE.question"
FACADE="$ORVELLA_CONTROL_TREE_FILE.facade"
INFO="$ORVELLA_CONTROL_TREE_FILE.fileinfo"
window_titled() { xdotool search --all --onlyvisible --pid "$PLAYER_PID" --name "$1" 2>/dev/null | head -n 1; }
settings_id() { window_titled '^Settings$'; }
settings_open() { [ -n "$(settings_id)" ]; }
# "x y" on screen of the centre of a control of another window, from that window's tree.
# Dialogs are placed after their first paint: where they are comes from the X server.
centre_in() {
  local file=$1 name=$2 line wx wy id=""
  case "$file" in
    "$SETTINGS") id=$(settings_id) ;;
    "$QUESTION") id=$(window_titled '^Question Wnd$') ;;
    "$FACADE") id=$(window_titled '^Facade Wnd$') ;;
    "$INFO") id=$(window_titled '^File information Wnd$') ;;
  esac
  if [ -n "$id" ]; then
    eval "$(xdotool getwindowgeometry --shell "$id")"
    wx=$X wy=$Y
  else
    read -r _ wx wy _ _ < <(head -n 1 "$file")
  fi
  line=$(awk -v n="$name" '$1 == n { print; exit }' "$file")
  [ -n "$line" ] || fail "no control $name in $(basename "$file")"
  awk -v X="$wx" -v Y="$wy" '{ printf "%d %d\n", X + ($3 + $5) / 2, Y + ($4 + $6) / 2 }' <<<"$line"
}
click_in() {
  # shellcheck disable=SC2046
  xdotool mousemove $(centre_in "$1" "$2"); sleep 0.15; xdotool click 1
}
shown_in() { [ "$(control_visible "$2" "$1")" = 1 ]; }
# Opens the settings window from the tools menu and waits for its controls.
open_settings() {
  click_control tools
  wait_until 5 grep -q "^ID_MAINMENU_SETTING " "$MENU" || fail "the tools menu did not open"
  click_in "$MENU" ID_MAINMENU_SETTING
  wait_until 5 settings_open || fail "the settings window did not open"
  wait_until 5 grep -q "^ID_PLAYER " "$SETTINGS" || fail "the settings window wrote no control tree"
  sleep 0.3
}

# Clicks each named control of another window but the last, each time waiting until the
# next one shows (the page it opens).
click_through() {
  local file=$1; shift
  while [ $# -gt 1 ]; do
    click_in "$file" "$1"
    wait_until 5 shown_in "$file" "$2" || fail "$1 does not show $2"
    shift
  done
}

# The video stands still after the step just taken (paused), or moves again (resumed).
expect_still() {
  local d
  sleep 0.6
  d=$(motion media paused 1)
  echo "$1: $d pixels changed in a second"
  [ "$d" -lt 50 ] || fail "the picture moves after $1 ($d pixels)"
}
expect_moving() {
  local d
  sleep 0.8
  d=$(motion media resumed 0.5)
  echo "$1: $d pixels changed in half a second"
  [ "$d" -gt 500 ] || fail "the picture does not move after $1 ($d pixels)"
}

# The next start of the player in the other skin (modern), the settings file kept.
switch_to_modern_skin() {
  settings_text | sed 's/skinindex="0"/skinindex="1"/' | iconv -f UTF-8 -t UTF-16 >"$WORK/s.xml"
  mv "$WORK/s.xml" "$XDG_CONFIG_HOME/Orvella/settings.xml"
}

# Closes the player by its close button and expects it to end cleanly.
close_player() {
  click_control closebtn
  wait_exit 10
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the close button"
}

# Whether this is the address and undefined-behaviour checking build (several times slower).
checking_build() { case "$BUILD" in *sanitize*) return 0 ;; *) return 1 ;; esac; }

# Runs a test step (given the skin index) in the classic skin, then in the modern one. The
# checking build runs the same code for both: the classic one is enough there (the fit test
# takes it through the modern skin's windows).
in_both_skins() {
  "$1" 0
  checking_build && return 0
  switch_to_modern_skin
  "$1" 1
}
