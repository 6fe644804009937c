#!/usr/bin/env bash
# Makes the small clips bundled with the player (data/sample): a 4-second video with a
# moving test picture and a tone, and a short tone-only clip for the audio-only view.
# Generated, so the repository carries no third-party media. Needs ffmpeg.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
out="$top/data/sample"
mkdir -p "$out"

ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "testsrc2=size=320x180:rate=25:duration=4" \
  -f lavfi -i "sine=frequency=440:beep_factor=4:duration=4:sample_rate=44100" \
  -c:v libx264 -preset veryslow -crf 30 -pix_fmt yuv420p -profile:v main \
  -c:a aac -b:a 48k -ac 1 \
  -movflags +faststart -shortest "$out/sample.mp4"

ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "sine=frequency=330:duration=3:sample_rate=44100" \
  -af "volume=0.6,afade=t=in:d=0.2,afade=t=out:st=2.6:d=0.4" \
  -c:a libvorbis -q:a 1 -ac 1 "$out/sample.ogg"

ls -l "$out"
