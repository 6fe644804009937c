#!/usr/bin/env bash
# Real key presses on a playing clip: Space pauses (the picture stands still) and resumes,
# Right seeks ten seconds on, Up raises the volume, F8 writes a screenshot into the folder
# "Orvella" in the pictures folder that the desktop's user-dirs.dirs names (made then).
source "$(dirname "$0")/lib.sh"
export ORVELLA_ENGINE_LOG="$WORK/engine.log"
export HOME="$WORK/home"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
# GLib reads the pictures folder from here, not from the environment.
echo 'XDG_PICTURES_DIR="$HOME/Bilder"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
export XDG_PICTURES_DIR="$HOME/Bilder"
shots="$XDG_PICTURES_DIR/Orvella"

clip=$(media_file "sound clip.mp4" -f lavfi -i "testsrc2=size=640x360:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=440:duration=30" -pix_fmt yuv420p -c:v libx264 -preset ultrafast \
  -g 25 -c:a aac)

said() { grep -c -- "$1" "$ORVELLA_ENGINE_LOG" 2>/dev/null || true; }
last_position() { grep -o 'ANS_TIME_POSITION=[0-9.]*' "$ORVELLA_ENGINE_LOG" | tail -n 1 | cut -d= -f2; }
press() { xdotool key "$1"; }

start_player "$clip"
wait_window
xdotool windowactivate --sync "$WINDOW_ID" 2>/dev/null || xdotool windowfocus --sync "$WINDOW_ID"
wait_playing
[ ! -e "$XDG_PICTURES_DIR" ] || fail "the pictures folder was made before a screenshot"

# F8: the screenshot folder is made and the shot lands in it.
press F8
wait_until 5 test -s "$shots/shot0001.png" || { ls -laR "$HOME" "$XDG_CONFIG_HOME" >&2; fail "F8 wrote no shot into $shots"; }
sleep 0.3
shot_colours=$(colours_in "$shots/shot0001.png")
shot_size=$(identify -format '%wx%h' "$shots/shot0001.png")
echo "F8: $shots/shot0001.png, $shot_size, $shot_colours colours"
[ "$shot_size" = 640x360 ] && [ "$shot_colours" -gt 200 ] || fail "the shot is not a frame of the clip"
ls "$XDG_CONFIG_HOME/Orvella" | grep -q '^shot' && fail "a shot stayed in the data folder"

# Up: the volume one step (three units) up, from the launch's 50.
press Up
wait_until 3 grep -qE '^> pausing_keep volume 53 1$' "$ORVELLA_ENGINE_LOG" || fail "Up did not raise the volume to 53"
echo "Up: $(grep -E '^> pausing_keep volume' "$ORVELLA_ENGINE_LOG" | tail -n 1)"

# Space: the picture stands still; Space again: it moves.
pauses=$(said '^> pause$')
press space
wait_until 3 bash -c "[ \$(grep -c '^> pause\$' '$ORVELLA_ENGINE_LOG') -gt $pauses ]" || fail "Space sent no pause"
expect_still Space
press space
expect_moving "the second Space"

# Right: the once-a-second position answers jump by ten seconds more than the time
# between them.
answers_past() { [ "$(said 'ANS_TIME_POSITION=')" -ge "$1" ]; }
answers=$(said 'ANS_TIME_POSITION=')
wait_until 3 answers_past $((answers + 1)) || fail "the engine does not tell its position"
t0=$(date +%s.%N); before=$(last_position)
press Right
wait_until 3 grep -qE '^> pausing_keep seek 10 0$' "$ORVELLA_ENGINE_LOG" || fail "Right sent no seek"
# The second answer after the seek is surely from after it.
wait_until 5 answers_past $((answers + 3)) || fail "no position answers after the seek"
t1=$(date +%s.%N); after=$(last_position)
jump=$(awk -v a="$before" -v b="$after" -v t0="$t0" -v t1="$t1" 'BEGIN { printf "%.1f", b - a - (t1 - t0) }')
echo "Right: position $before s, then $after s $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }') s later: a jump of $jump s"
# The engine lands on a key frame (one a second), mostly the one after the target.
awk -v j="$jump" 'BEGIN { exit !(j >= 8.5 && j <= 12) }' || fail "Right jumped $jump s, not about 10 s"

screenshot keys-after >/dev/null
close_player
echo "ok"
