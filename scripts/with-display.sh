#!/usr/bin/env bash
# Runs a command on a virtual X screen with a light window manager, so that window
# tests behave as on a desktop (work area, keep-above, full screen need a manager).
# One window manager stays connected for the whole run, which keeps the X server from
# resetting between the programs under test.
set -euo pipefail
export GSETTINGS_BACKEND=memory
export NO_AT_BRIDGE=1
num=${ORVELLA_TEST_DISPLAY:-77}
while [ -e "/tmp/.X${num}-lock" ] && ! kill -0 "$(cat /tmp/.X${num}-lock 2>/dev/null | tr -d ' ')" 2>/dev/null; do
  rm -f "/tmp/.X${num}-lock" "/tmp/.X11-unix/X${num}"
done
while [ -e "/tmp/.X${num}-lock" ]; do num=$((num + 1)); done
Xvfb ":${num}" -screen 0 1280x800x24 -nolisten tcp >/tmp/orvella-xvfb.log 2>&1 &
xvfb=$!
export DISPLAY=":${num}"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done
openbox >/tmp/orvella-openbox.log 2>&1 &
wm=$!
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
  sleep 0.05
done
cleanup() { kill "$wm" "$xvfb" 2>/dev/null || true; wait 2>/dev/null || true; }
trap cleanup EXIT
"$@"
