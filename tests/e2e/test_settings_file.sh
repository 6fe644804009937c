#!/usr/bin/env bash
# A first start writes, at exit, the settings file of a first start byte for byte; a
# saved skin index chooses the layout folder; the window manager's close saves too.
source "$(dirname "$0")/lib.sh"
SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
# The golden file names this data folder, the pictures folder of this home (no
# user-dirs.dirs names another), and English as the system's language.
export XDG_CONFIG_HOME=/tmp/orvella-golden/config
export HOME=/tmp/orvella-golden/home
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES
rm -rf /tmp/orvella-golden
mkdir -p "$HOME"
settings="$XDG_CONFIG_HOME/Orvella/settings.xml"

# The scheme colour of a first start is the classic layout's, and the program keeps its
# (empty) play list ahead of the player's keys; the rest is the defaults.
python3 - "$SOURCE_DIR/tests/data/settings-first-start.xml" "$WORK/expected.xml" <<'PY'
import sys
text = open(sys.argv[1], 'rb').read().decode('utf-16')
text = text.replace('color="0"', 'color="ff424242"', 1)
text = text.replace('<root>\n', '<root>\n\t<Media count="0" current="0"/>\n\n', 1)
open(sys.argv[2], 'wb').write(text.encode('utf-16-le') if text.startswith('\ufeff') else ('\ufeff' + text).encode('utf-16-le'))
PY

start_player
wait_window
close_player
[ -f "$settings" ] || fail "no settings file was written"
cmp "$settings" "$WORK/expected.xml" || {
  iconv -f UTF-16 -t UTF-8 "$settings" | head -5 >&2
  fail "the first start's settings file differs from the golden one"
}

# Skin index 1 from the file: the other skin folder's layout (its own initial size).
python3 - "$settings" <<'PY'
import sys
p = sys.argv[1]
text = open(p, 'rb').read().decode('utf-16')
open(p, 'wb').write(text.replace('skinindex="0"', 'skinindex="1"', 1).encode('utf-16-le'))
PY
rm -f "$ORVELLA_CONTROL_TREE_FILE"
start_player
wait_window
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
[ "$WIDTH" = 860 ] || fail "skin index 1 should give the 860-pixel layout, got $WIDTH"

# The window manager's close still writes the file.
rm -f "$settings"
wmctrl -i -c "$(printf '0x%08x' "$WINDOW_ID")"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the window manager's close"
[ -f "$settings" ] || fail "the window manager's close lost the settings"
iconv -f UTF-16 -t UTF-8 "$settings" | grep -q 'skinindex="1"' || fail "the skin index was not kept"
rm -rf /tmp/orvella-golden
echo "ok"
