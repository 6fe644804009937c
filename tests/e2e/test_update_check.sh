#!/usr/bin/env bash
# The update check at start against a local server: a newer version opens the update
# window, the same version shows nothing, and a server that stalls neither holds up the
# main window nor the exit.
source "$(dirname "$0")/lib.sh"
UPDATE="$ORVELLA_CONTROL_TREE_FILE.update"
own=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
python3 "$(dirname "$0")/../tools/version_server.py" "$own" >"$WORK/port" &
SERVER_PID=$!
trap 'kill "$SERVER_PID" 2>/dev/null || true; cleanup_player' EXIT
wait_until 5 test -s "$WORK/port" || fail "the version server did not start"
base="http://127.0.0.1:$(cat "$WORK/port")"

# The check runs when "checkforupgrades" is on, as it is on a first start.
ORVELLA_UPDATE_BASE_URL="$base/newer/" start_player
wait_window
wait_until 5 test -s "$UPDATE" || fail "no update window within 5 s for a newer version"
[ "$(control_visible ID_TEXT_VERSION_NEW "$UPDATE")" = 1 ] || fail "the newer version is not told"
[ -n "$(window_titled '^Check for update Wnd$')" ] || fail "the update window is not on screen"
! grep "^cut " "$UPDATE" || fail "texts of the update window are cut"
close_player

rm -f "$UPDATE"
ORVELLA_UPDATE_BASE_URL="$base/equal/" start_player
wait_window
sleep 2  # the local answer comes in milliseconds
[ ! -e "$UPDATE" ] || fail "an up-to-date automatic check opened the update window"
close_player

# The server sends a header and a few bytes, then nothing: the player must not wait on it.
ORVELLA_UPDATE_BASE_URL="$base/slow/" start_player
wait_window
click_control closebtn
wait_exit 5
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE while the transfer stalled"
echo "ok"
