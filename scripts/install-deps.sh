#!/usr/bin/env bash
# Installs the Debian packages that build, run and test Orvella. Safe to run again:
# it only calls apt-get when a package is missing, and updates the lists once.
set -euo pipefail

packages=(
  # build
  g++ cmake pkg-config libgtk-3-dev libpugixml-dev libcurl4-openssl-dev libgtest-dev
  # run
  mplayer fonts-wqy-microhei fonts-dejavu-core
  # tests and pictures
  xvfb openbox xdotool wmctrl imagemagick ffmpeg dvdauthor genisoimage python3 python3-cairo python3-gi x11-utils libxml2-utils itstool gettext
  # installation checks: metainfo, man page
  appstream groff-base man-db
  # the desktop entry's checker, and an independent reader of default applications
  desktop-file-utils xdg-utils
  # desktop services: a private session bus, an XEmbed tray manager
  dbus-daemon trayer
  # a Wayland compositor with XWayland, nested in the test screen
  weston xwayland
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
