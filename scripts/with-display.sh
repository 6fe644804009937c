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
# A busy machine can take seconds to bring the server up; the window manager must not
# start before it answers, or the whole run goes without one. A server that does not
# come up (a display left behind by another run) gives way to the next number.
for _ in 1 2 3; do
  while [ -e "/tmp/.X${num}-lock" ] || [ -e "/tmp/.X11-unix/X${num}" ]; do num=$((num + 1)); done
  Xvfb ":${num}" -screen 0 1280x800x24 -nolisten tcp >/tmp/orvella-xvfb.log 2>&1 &
  xvfb=$!
  export DISPLAY=":${num}"
  for _ in $(seq 1 600); do
    xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
  done
  xdpyinfo >/dev/null 2>&1 && break
  kill "$xvfb" 2>/dev/null || true
  num=$((num + 1))
done
# A manager that could not start (it exits at once) is started again.
wm=""
for _ in 1 2 3; do
  openbox >/tmp/orvella-openbox.log 2>&1 &
  wm=$!
  for _ in $(seq 1 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break 2
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.05
  done
  kill "$wm" 2>/dev/null || true
  sleep 0.5
done
cleanup() { kill "$wm" "$xvfb" 2>/dev/null || true; wait 2>/dev/null || true; }
trap cleanup EXIT
"$@"
