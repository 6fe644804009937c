#!/usr/bin/env bash
# Installs the build tree into a fresh prefix and checks what a desktop and a user find there.
set -euo pipefail
BUILD=${1:?build folder}
PREFIX=$(mktemp -d /tmp/orvella-install.XXXXXX)
trap 'rm -rf "$PREFIX"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
cd "$PREFIX"
[ -x lib/orvella/orvella ] && [ ! -L lib/orvella/orvella ] || fail "no program in lib/orvella"
[ "$(readlink bin/orvella)" = ../lib/orvella/orvella ] || fail "bin/orvella is not a relative link"
[ -x lib/orvella/gnu/mplayer ] || fail "the engine link does not reach an engine"

# Every language of the build tree, with real files: the trees it came from may go.
for skin in skin skin_classic; do
  for lang in "$BUILD/$skin"/language/*/; do
    lang=$(basename "$lang")
    [ -f "lib/orvella/$skin/language/$lang/main.xml" ] || fail "$skin lacks language $lang"
  done
  [ -n "$(find "lib/orvella/$skin" -name '*.png' | head -n 1)" ] || fail "$skin has no pictures"
done
[ "$(ls -d lib/orvella/skin/language/*/ | wc -l)" -ge 5 ] || fail "the generated languages are missing"
for f in icon/orvella.png help/index.html; do
  [ -f "lib/orvella/$f" ] || fail "lib/orvella/$f is missing"
done
links=$(find lib share -type l ! -path lib/orvella/gnu/mplayer)
[ -z "$links" ] || fail "links left in the installed tree: $links"

for size in 16 24 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/orvella.png
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done
[ -f share/icons/hicolor/scalable/apps/orvella.svg ] || fail "no scalable icon"
appstreamcli validate --no-net share/metainfo/org.orvella.Orvella.metainfo.xml >/dev/null \
  || fail "the metainfo does not validate"
warnings=$(groff -man -z -ww share/man/man1/orvella.1 2>&1)
[ -z "$warnings" ] || fail "the man page: $warnings"
man -l share/man/man1/orvella.1 2>/dev/null | grep -q ORVELLA_ENGINE_LOG || fail "the man page lacks the environment"
echo ok
