#!/usr/bin/env bash
# Installs what is needed, builds, and starts the player on the given file, or on the
# bundled sample clip when no file is given.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/install-deps.sh"
# Only what the player needs: the first start comes sooner than with every test built.
bash "$top/scripts/build.sh" orvella runtime_tree
if [ $# -eq 0 ]; then
  set -- "$top/build/sample/sample.mp4"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting the player on a virtual screen (Xvfb :77)." >&2
  exec bash "$top/scripts/with-display.sh" "$top/build/orvella" "$@"
fi
exec "$top/build/orvella" "$@"
