#!/usr/bin/env python3
"""Draws the program icon for the desktop's icon theme: data/desktop/hicolor/<n>x<n>/apps/
orvella.png at the sizes menus and docks ask for, and scalable/apps/orvella.svg, from the
same drawing as the skin's icon."""
import os
import sys

import cairo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_pictures import DATA, brand_tile  # noqa: E402

SIZES = (16, 24, 32, 48, 64, 128, 256)
THEME = os.path.join(DATA, "desktop", "hicolor")


def tile(ctx, s):
    # The ring blurs into the play mark below 32 pixels: small icons show the mark alone.
    brand_tile(ctx, s * 0.04, s * 0.04, s * 0.92, ring=s >= 32)


def main():
    for s in SIZES:
        folder = os.path.join(THEME, "%dx%d" % (s, s), "apps")
        os.makedirs(folder, exist_ok=True)
        surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, s, s)
        tile(cairo.Context(surface), s)
        surface.write_to_png(os.path.join(folder, "orvella.png"))
    folder = os.path.join(THEME, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    surface = cairo.SVGSurface(os.path.join(folder, "orvella.svg"), 256, 256)
    tile(cairo.Context(surface), 256)
    surface.finish()


if __name__ == "__main__":
    main()
