#!/usr/bin/env bash
# For translators: makes po/orvella.pot afresh from the English layouts and string tables
# of both skins and merges it into every po/<lang>.po (new texts arrive untranslated,
# changed ones fuzzy). Then translate, and run scripts/check_translations.py BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/../data"
itstool -i ../po/orvella.its -o ../po/orvella.pot skin/language/eng/*.xml skin_classic/language/eng/*.xml
for po in ../po/*.po; do
  [ -e "$po" ] || continue
  msgmerge --quiet --update --backup=none --no-fuzzy-matching "$po" ../po/orvella.pot
done
