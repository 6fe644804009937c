#!/usr/bin/python3
"""Draws every picture of the two skins and the program icons, then checks that each
picture the layouts name exists (check_layouts.py).

Run from anywhere:  /usr/bin/python3 scripts/make_pictures.py   (needs python3-cairo;
optipng is used when present). Everything is drawn here with cairo paths: nothing is
downloaded or copied. Pictures are written at 1x and 2x ("name@2x.png" beside
"name.png"); button pictures are strips of state frames, left to right:
normal, hot, pushed, disabled, selected, focused.
"""
import math
import os
import random
import shutil
import struct
import subprocess
import sys

import cairo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture_shapes import WINDOW_GLYPHS, poly, round_rect  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
DATA = os.path.join(ROOT, "data")
STATES = ("normal", "hot", "pushed", "disabled", "selected", "focused")

written = []


# ---- output ------------------------------------------------------------------------

def save(surface, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    surface.write_to_png(path)
    written.append(path)


def picture(rel, w, h, draw, scales=(1, 2)):
    """Writes rel (relative to data/) at each scale; draw(ctx, w, h) works in 1x units."""
    stem, ext = os.path.splitext(rel)
    for s in scales:
        surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(w * s), int(h * s))
        ctx = cairo.Context(surface)
        ctx.scale(s, s)
        draw(ctx, w, h)
        name = rel if s == 1 else "%s@%dx%s" % (stem, s, ext)
        save(surface, os.path.join(DATA, name))


def strip(rel, fw, fh, frame):
    """A button picture: one frame per state, side by side."""
    def draw(ctx, w, h):
        for i, state in enumerate(STATES):
            ctx.save()
            ctx.translate(i * fw, 0)
            ctx.rectangle(0, 0, fw, fh)
            ctx.clip()
            frame(ctx, fw, fh, state)
            ctx.restore()
    picture(rel, fw * len(STATES), fh, draw)


# ---- drawing helpers -----------------------------------------------------------------

def rgba(hexcolor, alpha=1.0):
    hexcolor = hexcolor.lstrip("#")
    return (int(hexcolor[0:2], 16) / 255, int(hexcolor[2:4], 16) / 255,
            int(hexcolor[4:6], 16) / 255, alpha)


def vgradient(y0, y1, top, bottom):
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgba(0, *top)
    g.add_color_stop_rgba(1, *bottom)
    return g


# ---- glyphs: drawn on a 24-unit grid, stroke width in grid units ----------------------

def g_play(ctx, sw):
    poly(ctx, [(8, 5.5), (8, 18.5), (19, 12)])
    return "fillstroke"


def g_pause(ctx, sw):
    round_rect(ctx, 6.5, 5.5, 4, 13, 1.2)
    round_rect(ctx, 13.5, 5.5, 4, 13, 1.2)
    return "fill"


def g_stop(ctx, sw):
    round_rect(ctx, 6.5, 6.5, 11, 11, 2)
    return "fill"


def g_previous(ctx, sw):
    round_rect(ctx, 5.5, 6, 2.4, 12, 1)
    poly(ctx, [(18, 6.2), (18, 17.8), (9.6, 12)])
    return "fillstroke"


def g_next(ctx, sw):
    round_rect(ctx, 16.1, 6, 2.4, 12, 1)
    poly(ctx, [(6, 6.2), (6, 17.8), (14.4, 12)])
    return "fillstroke"


def g_backup(ctx, sw):
    poly(ctx, [(12, 6.8), (12, 17.2), (4.5, 12)])
    poly(ctx, [(19.5, 6.8), (19.5, 17.2), (12, 12)])
    return "fillstroke"


def g_goahead(ctx, sw):
    poly(ctx, [(4.5, 6.8), (4.5, 17.2), (12, 12)])
    poly(ctx, [(12, 6.8), (12, 17.2), (19.5, 12)])
    return "fillstroke"


def g_folder(ctx, sw):
    ctx.move_to(3.5, 17.5)
    ctx.line_to(3.5, 6.5)
    ctx.line_to(9, 6.5)
    ctx.line_to(11, 8.5)
    ctx.line_to(20.5, 8.5)
    ctx.line_to(20.5, 17.5)
    ctx.close_path()
    ctx.move_to(3.5, 11)
    ctx.line_to(20.5, 11)
    return "stroke"


def g_list(ctx, sw):
    for y, x1 in ((6.5, 19.5), (11.5, 19.5), (16.5, 11.5)):
        ctx.move_to(4.5, y)
        ctx.line_to(x1, y)
    return "stroke+listplay"


def g_speaker(ctx, sw):
    poly(ctx, [(3.5, 9.3), (7.3, 9.3), (12, 5.3), (12, 18.7), (7.3, 14.7), (3.5, 14.7)])
    return "fillstroke+waves"


def g_speaker_off(ctx, sw):
    poly(ctx, [(3.5, 9.3), (7.3, 9.3), (12, 5.3), (12, 18.7), (7.3, 14.7), (3.5, 14.7)])
    return "fillstroke+cross"


def g_minimize(ctx, sw):
    ctx.move_to(7, 12.5)
    ctx.line_to(17, 12.5)
    return "stroke"


def g_maximize(ctx, sw):
    ctx.rectangle(7, 7, 10, 10)
    return "stroke"


def g_restore(ctx, sw):
    ctx.rectangle(7, 9.5, 7.5, 7.5)
    ctx.move_to(9.5, 9.5)
    ctx.line_to(9.5, 7)
    ctx.line_to(17, 7)
    ctx.line_to(17, 14.5)
    ctx.line_to(14.5, 14.5)
    return "stroke"


def g_close(ctx, sw):
    ctx.move_to(7, 7)
    ctx.line_to(17, 17)
    ctx.move_to(17, 7)
    ctx.line_to(7, 17)
    return "stroke"


def g_menu(ctx, sw):
    for y in (7, 12, 17):
        ctx.move_to(5, y)
        ctx.line_to(19, y)
    return "stroke"


def g_tools(ctx, sw):
    for y in (7, 12, 17):
        ctx.move_to(4.5, y)
        ctx.line_to(19.5, y)
    return "stroke+knobs"


def g_help(ctx, sw):
    ctx.new_sub_path()
    ctx.arc(12, 12, 8.5, 0, 2 * math.pi)
    ctx.new_sub_path()
    ctx.arc(12, 10, 2.6, math.pi * 1.05, math.pi * 2.35)
    ctx.line_to(12, 14)
    return "stroke+dot"


def g_palette(ctx, sw):
    ctx.new_sub_path()
    ctx.arc(12, 12, 8.5, math.radians(55), math.radians(385))
    ctx.curve_to(19.5, 15, 17, 14, 15.5, 15.5)
    ctx.curve_to(14, 17, 15.5, 19.5, 14.5, 20.3)
    return "stroke+paint"


def g_plus(ctx, sw):
    ctx.move_to(12, 5.5)
    ctx.line_to(12, 18.5)
    ctx.move_to(5.5, 12)
    ctx.line_to(18.5, 12)
    return "stroke"


def g_minus(ctx, sw):
    ctx.move_to(5.5, 12)
    ctx.line_to(18.5, 12)
    return "stroke"


def g_trash(ctx, sw):
    ctx.move_to(4.5, 7)
    ctx.line_to(19.5, 7)
    ctx.move_to(9.5, 7)
    ctx.line_to(9.5, 4.8)
    ctx.line_to(14.5, 4.8)
    ctx.line_to(14.5, 7)
    ctx.move_to(6.5, 7)
    ctx.line_to(7.5, 19.5)
    ctx.line_to(16.5, 19.5)
    ctx.line_to(17.5, 7)
    ctx.move_to(10.3, 10.5)
    ctx.line_to(10.3, 16)
    ctx.move_to(13.7, 10.5)
    ctx.line_to(13.7, 16)
    return "stroke"


def g_save(ctx, sw):
    ctx.move_to(12, 4.5)
    ctx.line_to(12, 14)
    ctx.move_to(8, 10.3)
    ctx.line_to(12, 14.3)
    ctx.line_to(16, 10.3)
    ctx.move_to(4.5, 14.5)
    ctx.line_to(4.5, 19)
    ctx.line_to(19.5, 19)
    ctx.line_to(19.5, 14.5)
    return "stroke"


def g_chevron_right(ctx, sw):
    ctx.move_to(10, 7)
    ctx.line_to(15, 12)
    ctx.line_to(10, 17)
    return "stroke"


def g_chevron_down(ctx, sw):
    ctx.move_to(7.5, 10)
    ctx.line_to(12, 14.5)
    ctx.line_to(16.5, 10)
    return "stroke"


def g_check(ctx, sw):
    ctx.move_to(5.5, 12.5)
    ctx.line_to(10, 17)
    ctx.line_to(18.5, 7.5)
    return "stroke"


def g_link(ctx, sw):
    ctx.new_sub_path()
    ctx.arc(12, 12, 8.5, 0, 2 * math.pi)
    ctx.move_to(3.5, 12)
    ctx.line_to(20.5, 12)
    ctx.new_sub_path()
    ctx.save()
    ctx.translate(12, 12)
    ctx.scale(0.45, 1)
    ctx.arc(0, 0, 8.5, 0, 2 * math.pi)
    ctx.restore()
    return "stroke"


def g_scissors(ctx, sw):
    ctx.new_sub_path()
    ctx.arc(7, 17, 2.6, 0, 2 * math.pi)
    ctx.new_sub_path()
    ctx.arc(17, 17, 2.6, 0, 2 * math.pi)
    ctx.move_to(8.8, 15.2)
    ctx.line_to(16.5, 5)
    ctx.move_to(15.2, 15.2)
    ctx.line_to(7.5, 5)
    return "stroke"


GLYPHS = {
    "play": g_play, "pause": g_pause, "stop": g_stop, "previous": g_previous,
    "next": g_next, "backup": g_backup, "goahead": g_goahead, "folder": g_folder,
    "list": g_list, "speaker": g_speaker, "speaker_off": g_speaker_off,
    "minimize": g_minimize, "maximize": g_maximize, "restore": g_restore,
    "close": g_close, "menu": g_menu, "tools": g_tools, "help": g_help,
    "palette": g_palette, "plus": g_plus, "minus": g_minus, "trash": g_trash,
    "save": g_save, "chevron_right": g_chevron_right, "chevron_down": g_chevron_down,
    "check": g_check, "link": g_link, "scissors": g_scissors,
}
GLYPHS.update(WINDOW_GLYPHS)  # the small windows' and the top bar's


def glyph(ctx, name, cx, cy, size, color, sw=1.8):
    """Draws glyph name centred at (cx, cy), size px for the 24-unit grid."""
    ctx.save()
    ctx.translate(cx - size / 2, cy - size / 2)
    ctx.scale(size / 24, size / 24)
    ctx.set_line_width(sw)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_source_rgba(*color)
    ctx.new_path()
    mode = GLYPHS[name](ctx, sw)
    base, _, extra = mode.partition("+")
    if base == "fill":
        ctx.fill()
    elif base == "fillstroke":
        ctx.fill_preserve()
        ctx.set_line_width(min(sw, 1.6))
        ctx.stroke()
    else:
        ctx.stroke()
    ctx.set_line_width(sw)
    if extra == "listplay":
        poly(ctx, [(15, 13.8), (15, 20.2), (20.2, 17)])
        ctx.fill_preserve()
        ctx.set_line_width(1.2)
        ctx.stroke()
    elif extra == "waves":
        for r in (4.2, 7.6):
            ctx.new_sub_path()
            ctx.arc(12.6, 12, r, -0.85, 0.85)
        ctx.stroke()
    elif extra == "cross":
        ctx.move_to(15.5, 9.5)
        ctx.line_to(20.5, 14.5)
        ctx.move_to(20.5, 9.5)
        ctx.line_to(15.5, 14.5)
        ctx.stroke()
    elif extra == "knobs":
        for x, y in ((15, 7), (8.5, 12), (13, 17)):
            ctx.new_sub_path()
            ctx.arc(x, y, 2.3, 0, 2 * math.pi)
        ctx.fill()
    elif extra == "dot":
        ctx.new_sub_path()
        ctx.arc(12, 16.9, 1.15, 0, 2 * math.pi)
        ctx.fill()
    elif extra == "paint":
        for x, y in ((8, 11.2), (11, 7.7), (15.2, 8.4)):
            ctx.new_sub_path()
            ctx.arc(x, y, 1.45, 0, 2 * math.pi)
        ctx.fill()
    ctx.restore()


# ---- the two looks --------------------------------------------------------------------

class Look:
    """Colours and button frames of one skin set."""
    folder = ""


class Modern(Look):
    """skin: dark and flat; pictures are white over the scheme-tinted bars."""
    folder = "skin"
    ink = rgba("#EEF1F5", 0.9)
    stroke = 1.8

    def ink_for(self, state):
        return {"normal": rgba("#E8ECF2", 0.86), "hot": rgba("#FFFFFF"),
                "pushed": rgba("#FFFFFF", 0.78), "disabled": rgba("#E8ECF2", 0.28),
                "selected": rgba("#FFFFFF"), "focused": rgba("#FFFFFF")}[state]

    def plate(self, ctx, w, h, state, radius=7, inset=2):
        fill = {"hot": 0.12, "pushed": 0.06, "selected": 0.18}.get(state)
        if fill:
            round_rect(ctx, inset, inset, w - 2 * inset, h - 2 * inset, radius)
            ctx.set_source_rgba(1, 1, 1, fill)
            ctx.fill()
        if state == "pushed":
            round_rect(ctx, inset, inset, w - 2 * inset, h - 2 * inset, radius)
            ctx.set_source_rgba(0, 0, 0, 0.18)
            ctx.fill()
        if state == "focused":
            round_rect(ctx, inset + 0.75, inset + 0.75, w - 2 * inset - 1.5,
                       h - 2 * inset - 1.5, radius)
            ctx.set_source_rgba(1, 1, 1, 0.55)
            ctx.set_line_width(1.5)
            ctx.stroke()

    def icon_button(self, name, w, h, icon=20, radius=7):
        def frame(ctx, fw, fh, state):
            self.plate(ctx, fw, fh, state, radius, inset=max(2, (fh - fw) / 2 + 2) if fh > fw + 4 else 2)
            shift = 0.5 if state == "pushed" else 0
            glyph(ctx, name, fw / 2, fh / 2 + shift, icon, self.ink_for(state), self.stroke)
        return frame

    def round_button(self, name, d, icon=18):
        """The main transport buttons: a light disc with a dark glyph."""
        def frame(ctx, fw, fh, state):
            cx, cy, r = fw / 2, fh / 2, d / 2 - 1
            if state == "disabled":
                ctx.arc(cx, cy, r - 0.75, 0, 2 * math.pi)
                ctx.set_source_rgba(1, 1, 1, 0.22)
                ctx.set_line_width(1.5)
                ctx.stroke()
                glyph(ctx, name, cx, cy, icon, rgba("#FFFFFF", 0.3), self.stroke)
                return
            if state in ("hot", "focused", "selected"):
                ctx.arc(cx, cy, r + 0.5, 0, 2 * math.pi)
                ctx.set_source_rgba(1, 1, 1, 0.25)
                ctx.fill()
            rr = r - 2.5 if state in ("hot", "focused", "selected") else r - 1
            if state == "pushed":
                rr = r - 2
            ctx.arc(cx, cy, rr, 0, 2 * math.pi)
            ctx.set_source_rgba(1, 1, 1, {"pushed": 0.8}.get(state, 0.96))
            ctx.fill()
            glyph(ctx, name, cx + (0.8 if name == "play" else 0), cy, icon,
                  rgba("#14171C"), self.stroke)
        return frame

    def caption_button(self, name, close=False):
        def frame(ctx, fw, fh, state):
            if state in ("hot", "pushed", "selected", "focused"):
                ctx.rectangle(0, 0, fw, fh)
                if close:
                    ctx.set_source_rgba(*rgba("#E5484D", {"pushed": 0.8}.get(state, 1)))
                else:
                    ctx.set_source_rgba(1, 1, 1, {"pushed": 0.06}.get(state, 0.12))
                ctx.fill()
            ink = self.ink_for(state)
            if close and state in ("hot", "pushed", "selected", "focused"):
                ink = rgba("#FFFFFF")
            glyph(ctx, name, fw / 2, fh / 2, 16, ink, 1.3)
        return frame

    def text_button(self, ctx, w, h, state):
        """Nine-patch frame for buttons with text (corner 10)."""
        a = {"normal": 0.12, "hot": 0.2, "pushed": 0.08, "disabled": 0.05,
             "selected": 0.22, "focused": 0.14}[state]
        round_rect(ctx, 1, 1, w - 2, h - 2, (h - 2) / 2)
        ctx.set_source_rgba(1, 1, 1, a)
        ctx.fill_preserve()
        ctx.set_source_rgba(1, 1, 1, 0.6 if state == "focused" else 0.18)
        ctx.set_line_width(1)
        ctx.stroke()

    def combo(self, ctx, w, h, state):
        self.plate(ctx, w, h, state, radius=5, inset=2)
        glyph(ctx, "chevron_down", w / 2, h / 2 + 1, 14, self.ink_for(state), 2.0)

    def track(self, ctx, w, h, fill):
        round_rect(ctx, 1, h / 2 - 2, w - 2, 4, 2)
        ctx.set_source_rgba(1, 1, 1, 0.95 if fill else 0.22)
        ctx.fill()

    def thumb(self, ctx, w, h, state):
        cx, cy = w / 2, h / 2
        if state in ("hot", "pushed"):
            ctx.arc(cx, cy, w / 2 - 0.5, 0, 2 * math.pi)
            ctx.set_source_rgba(1, 1, 1, 0.22 if state == "hot" else 0.32)
            ctx.fill()
        ctx.arc(cx, cy + 0.5, w / 2 - 3, 0, 2 * math.pi)
        ctx.set_source_rgba(0, 0, 0, 0.35)
        ctx.fill()
        ctx.arc(cx, cy, w / 2 - 3.2, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, 1)
        ctx.fill()


class Classic(Look):
    """skin_classic: lighter and framed; bevelled buttons with dark glyphs."""
    folder = "skin_classic"
    stroke = 2.0

    def ink_for(self, state):
        return {"normal": rgba("#27303B"), "hot": rgba("#101823"), "pushed": rgba("#101823"),
                "disabled": rgba("#27303B", 0.32), "selected": rgba("#0F1B2B"),
                "focused": rgba("#27303B")}[state]

    def bevel(self, ctx, x, y, w, h, r, state):
        top, bottom, border = {
            "normal": ("#FDFDFE", "#D9DEE5", "#8A94A1"),
            "hot": ("#FFFFFF", "#E3EBF5", "#5677A3"),
            "pushed": ("#C9D0D9", "#E8ECF1", "#56616F"),
            "disabled": ("#F3F4F6", "#ECEEF1", "#C6CBD2"),
            "selected": ("#C3D3E8", "#E1EAF5", "#44689A"),
            "focused": ("#FDFDFE", "#D9DEE5", "#3F73B8"),
        }[state]
        round_rect(ctx, x + 0.5, y + 0.5, w - 1, h - 1, r)
        ctx.set_source(vgradient(y, y + h, rgba(top), rgba(bottom)))
        ctx.fill_preserve()
        ctx.set_source_rgba(*rgba(border))
        ctx.set_line_width(1)
        ctx.stroke()
        if state in ("normal", "hot", "focused"):
            round_rect(ctx, x + 1.5, y + 1.5, w - 3, h - 3, max(0, r - 1))
            ctx.set_source_rgba(1, 1, 1, 0.7)
            ctx.stroke()
        if state == "focused":
            round_rect(ctx, x + 1.5, y + 1.5, w - 3, h - 3, max(0, r - 1))
            ctx.set_source_rgba(*rgba("#3F73B8", 0.6))
            ctx.stroke()

    def icon_button(self, name, w, h, icon=16, radius=3):
        def frame(ctx, fw, fh, state):
            self.bevel(ctx, 1, 1, fw - 2, fh - 2, radius, state)
            shift = 0.5 if state in ("pushed", "selected") else 0
            glyph(ctx, name, fw / 2 + shift, fh / 2 + shift, icon, self.ink_for(state),
                  self.stroke)
        return frame

    def round_button(self, name, d, icon=16):
        def frame(ctx, fw, fh, state):
            cx, cy, r = fw / 2, fh / 2, d / 2 - 1
            top, bottom, border = {
                "normal": ("#FFFFFF", "#CDD4DD", "#7D8896"),
                "hot": ("#FFFFFF", "#D8E4F3", "#4D70A0"),
                "pushed": ("#BCC5D1", "#E4E9EF", "#4E5A69"),
                "disabled": ("#F4F5F7", "#E9ECEF", "#C3C9D0"),
                "selected": ("#BFD0E6", "#E1EAF5", "#44689A"),
                "focused": ("#FFFFFF", "#CDD4DD", "#3F73B8"),
            }[state]
            ctx.arc(cx, cy, r - 0.5, 0, 2 * math.pi)
            ctx.set_source(vgradient(cy - r, cy + r, rgba(top), rgba(bottom)))
            ctx.fill_preserve()
            ctx.set_source_rgba(*rgba(border))
            ctx.set_line_width(1.2 if state == "focused" else 1)
            ctx.stroke()
            if state not in ("pushed", "disabled", "selected"):
                ctx.arc(cx, cy, r - 1.7, math.pi * 1.1, math.pi * 1.9)
                ctx.set_source_rgba(1, 1, 1, 0.9)
                ctx.stroke()
            shift = 0.5 if state in ("pushed", "selected") else 0
            glyph(ctx, name, cx + shift + (0.8 if name == "play" else 0), cy + shift, icon,
                  self.ink_for(state), self.stroke)
        return frame

    def caption_button(self, name, close=False):
        def frame(ctx, fw, fh, state):
            if close and state in ("hot", "pushed"):
                round_rect(ctx, 1.5, 1.5, fw - 3, fh - 3, 3)
                ctx.set_source(vgradient(0, fh, rgba("#F0646A" if state == "hot" else "#B8262D"),
                                         rgba("#C9282F" if state == "hot" else "#D8474D")))
                ctx.fill_preserve()
                ctx.set_source_rgba(*rgba("#8E1A20"))
                ctx.set_line_width(1)
                ctx.stroke()
                glyph(ctx, name, fw / 2, fh / 2, 15, rgba("#FFFFFF"), 1.8)
                return
            self.bevel(ctx, 1, 1, fw - 2, fh - 2, 3, state)
            glyph(ctx, name, fw / 2, fh / 2, 15, self.ink_for(state), 1.7)
        return frame

    def text_button(self, ctx, w, h, state):
        self.bevel(ctx, 0, 0, w, h, 4, state)

    def combo(self, ctx, w, h, state):
        self.bevel(ctx, 1, 3, w - 2, h - 6, 3, state)
        glyph(ctx, "chevron_down", w / 2, h / 2 + 1, 12, self.ink_for(state), 2.2)

    def track(self, ctx, w, h, fill):
        y = h / 2 - 2.5
        round_rect(ctx, 0.5, y, w - 1, 5, 2.5)
        if fill:
            ctx.set_source(vgradient(y, y + 5, rgba("#5C8FD0"), rgba("#2F5E9E")))
            ctx.fill_preserve()
            ctx.set_source_rgba(*rgba("#254B80"))
        else:
            ctx.set_source(vgradient(y, y + 5, rgba("#9AA3AE"), rgba("#D5DAE0")))
            ctx.fill_preserve()
            ctx.set_source_rgba(*rgba("#6E7886"))
        ctx.set_line_width(1)
        ctx.stroke()

    def thumb(self, ctx, w, h, state):
        self.bevel(ctx, 0, 0, w, h, 3, {"hot": "hot", "pushed": "pushed"}.get(state, "normal"))
        for dx in (-2, 0, 2):
            ctx.move_to(w / 2 + dx, h / 2 - 3)
            ctx.line_to(w / 2 + dx, h / 2 + 3)
        ctx.set_source_rgba(*rgba("#6E7886", 0.8))
        ctx.set_line_width(1)
        ctx.stroke()


# ---- the program's own art: logo, start-up and audio pictures -------------------------

BRAND_TOP = rgba("#22B8CF")
BRAND_BOTTOM = rgba("#4548E0")


def brand_tile(ctx, x, y, s, ring=True):
    """The program icon: a rounded tile with the ring of the O and a play mark."""
    r = s * 0.22
    round_rect(ctx, x, y, s, s, r)
    g = cairo.LinearGradient(x, y, x + s, y + s)
    g.add_color_stop_rgba(0, *BRAND_TOP)
    g.add_color_stop_rgba(1, *BRAND_BOTTOM)
    ctx.set_source(g)
    ctx.fill()
    # soft light from the top
    round_rect(ctx, x, y, s, s, r)
    hl = cairo.RadialGradient(x + s * 0.3, y, 0, x + s * 0.3, y, s * 0.9)
    hl.add_color_stop_rgba(0, 1, 1, 1, 0.28)
    hl.add_color_stop_rgba(1, 1, 1, 1, 0)
    ctx.set_source(hl)
    ctx.fill()
    cx, cy = x + s / 2, y + s / 2
    if ring:
        ctx.set_line_width(max(1.5, s * 0.075))
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.arc(cx, cy, s * 0.31, math.radians(-50), math.radians(250))
        ctx.set_source_rgba(1, 1, 1, 0.95)
        ctx.stroke()
        t = s * 0.15
    else:
        t = s * 0.25
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_width(max(1, s * 0.03))
    poly(ctx, [(cx - t * 0.75, cy - t), (cx - t * 0.75, cy + t), (cx + t * 1.05, cy)])
    ctx.set_source_rgba(1, 1, 1, 1)
    ctx.fill_preserve()
    ctx.stroke()


def startup_logo(ctx, w, h):
    cx, cy = w / 2, h / 2
    glow = cairo.RadialGradient(cx, cy, 0, cx, cy, w / 2)
    glow.add_color_stop_rgba(0, 0.25, 0.55, 0.95, 0.35)
    glow.add_color_stop_rgba(1, 0.25, 0.55, 0.95, 0)
    ctx.set_source(glow)
    ctx.paint()
    s = w * 0.56
    ctx.save()
    ctx.translate(0, 3)
    round_rect(ctx, cx - s / 2, cy - s / 2, s, s, s * 0.22)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.fill()
    ctx.restore()
    brand_tile(ctx, cx - s / 2, cy - s / 2, s)


def startup_background(dark):
    def draw(ctx, w, h):
        if dark:
            ctx.set_source(vgradient(0, h, rgba("#161A22"), rgba("#0B0D11")))
        else:
            ctx.set_source(vgradient(0, h, rgba("#FBFCFD"), rgba("#E4E8ED")))
        ctx.paint()
        rnd = random.Random(7)
        for _ in range(14):
            x, y, r = rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(8, 36)
            g = cairo.RadialGradient(x, y, 0, x, y, r)
            c = (0.35, 0.6, 1.0) if dark else (0.3, 0.45, 0.7)
            g.add_color_stop_rgba(0, c[0], c[1], c[2], 0.10 if dark else 0.06)
            g.add_color_stop_rgba(1, c[0], c[1], c[2], 0)
            ctx.set_source(g)
            ctx.arc(x, y, r, 0, 2 * math.pi)
            ctx.fill()
        v = cairo.RadialGradient(w / 2, h * 0.45, h * 0.2, w / 2, h * 0.45, w * 0.7)
        v.add_color_stop_rgba(0, 0, 0, 0, 0)
        v.add_color_stop_rgba(1, 0, 0, 0, 0.45 if dark else 0.08)
        ctx.set_source(v)
        ctx.paint()
    return draw


def audio_picture(dark):
    def draw(ctx, w, h):
        cx, cy = w / 2, h / 2
        ctx.arc(cx, cy, w / 2 - 2, 0, 2 * math.pi)
        g = cairo.LinearGradient(0, 0, w, h)
        g.add_color_stop_rgba(0, *BRAND_TOP)
        g.add_color_stop_rgba(1, *BRAND_BOTTOM)
        ctx.set_source(g)
        ctx.fill()
        for i, r in enumerate((w * 0.44, w * 0.38, w * 0.32)):
            ctx.arc(cx, cy, r, 0, 2 * math.pi)
            ctx.set_source_rgba(1, 1, 1, 0.08 + 0.03 * i)
            ctx.set_line_width(1)
            ctx.stroke()
        # a note over three level bars
        s = w / 24
        ctx.save()
        ctx.translate(cx - 12 * s, cy - 12 * s)
        ctx.scale(s, s)
        ctx.set_source_rgba(1, 1, 1, 1)
        ctx.arc(8.5, 16.5, 2.6, 0, 2 * math.pi)
        ctx.fill()
        ctx.arc(15.5, 15, 2.6, 0, 2 * math.pi)
        ctx.fill()
        ctx.set_line_width(1.4)
        ctx.move_to(10.4, 16.5)
        ctx.line_to(10.4, 6.6)
        ctx.line_to(17.4, 5)
        ctx.line_to(17.4, 15)
        ctx.stroke()
        ctx.set_line_width(2.2)
        ctx.move_to(10.4, 7.3)
        ctx.line_to(17.4, 5.7)
        ctx.stroke()
        ctx.restore()
    return draw


# ---- pictures of one skin set ---------------------------------------------------------

def skin_pictures(look, sizes):
    f = look.folder
    icon_buttons = [
        # file, glyph, width, height, icon size
        ("previous", "previous"), ("next", "next"), ("stop", "stop"),
        ("backup", "backup"), ("goahead", "goahead"), ("openfile", "folder"),
        ("list", "list"), ("mute_on", "speaker"), ("mute_off", "speaker_off"),
    ]
    tw, th, ti = sizes["tool"]
    for file, g in icon_buttons:
        strip("%s/%s.png" % (f, file), tw, th, look.icon_button(g, tw, th, ti))
    pd, pi = sizes["play"]
    for file in ("play", "pause"):
        strip("%s/%s.png" % (f, file), pd, pd, look.round_button(file, pd, pi))
    mw, mh, mi = sizes["menu"]
    for file, g in (("mainmenu", "menu"), ("tools", "tools"), ("help", "help"),
                    ("facade", "palette")):
        strip("%s/%s.png" % (f, file), mw, mh, look.icon_button(g, mw, mh, mi))
    cw, ch = sizes["caption"]
    for file, g in (("min", "minimize"), ("max", "maximize"), ("restore", "restore")):
        strip("%s/%s.png" % (f, file), cw, ch, look.caption_button(g))
    strip("%s/close.png" % f, cw, ch, look.caption_button("close", close=True))
    sw_, sh_, si = sizes["small"]
    for file, g in (("addfile", "plus"), ("deletefile", "minus"), ("clear", "trash"),
                    ("saveplaylist", "save"), ("loadplaylist", "folder"),
                    ("url_ok", "check"), ("url_cancel", "close"), ("clip_close", "close")):
        strip("%s/%s.png" % (f, file), sw_, sh_, look.icon_button(g, sw_, sh_, si))
    ew, eh = sizes["expand"]
    strip("%s/expand.png" % f, ew, eh, look.icon_button("chevron_right", ew, eh, 14, radius=4))
    bw, bh = sizes["combo"]
    strip("%s/combo.png" % f, bw, bh, look.combo)
    strip("%s/textbutton.png" % f, 40, 32, look.text_button)
    # open-file icon for the text button on the start-up view
    picture("%s/open16.png" % f, 18, 18,
            lambda ctx, w, h: glyph(ctx, "folder", 9, 9, 18, look.ink_for("normal"), 2.0))
    picture("%s/url16.png" % f, 18, 18,
            lambda ctx, w, h: glyph(ctx, "link", 9, 9, 18, look.ink_for("normal"), 1.8))
    picture("%s/clip16.png" % f, 18, 18,
            lambda ctx, w, h: glyph(ctx, "scissors", 9, 9, 18, look.ink_for("normal"), 1.8))
    trh = sizes["track"]
    picture("%s/slider_track.png" % f, 24, trh, lambda c, w, h: look.track(c, w, h, False))
    picture("%s/slider_fill.png" % f, 24, trh, lambda c, w, h: look.track(c, w, h, True))
    tbw, tbh = sizes["thumb"]
    for state in ("normal", "hot", "pushed"):
        suffix = "" if state == "normal" else "_" + state
        picture("%s/thumb%s.png" % (f, suffix), tbw, tbh,
                lambda c, w, h, s=state: look.thumb(c, w, h, s))
    picture("%s/logo.png" % f, 20, 20, lambda c, w, h: brand_tile(c, 1, 1, 18, ring=False))
    picture("%s/startup_logo.png" % f, 150, 150, startup_logo)
    dark = isinstance(look, Modern)
    picture("%s/startup_bg.png" % f, 160, 90, startup_background(dark))
    picture("%s/audio.png" % f, 120, 120, audio_picture(dark))


MODERN_SIZES = {"tool": (34, 38, 20), "play": (36, 18), "menu": (34, 36, 18),
                "caption": (44, 36), "small": (30, 30, 17), "expand": (12, 56),
                "combo": (16, 38), "track": 22, "thumb": (16, 16),
                "bar": (18, 20, 16), "about_logo": 64, "question": 36}
CLASSIC_SIZES = {"tool": (30, 30, 16), "play": (34, 16), "menu": (26, 24, 15),
                 "caption": (24, 22), "small": (24, 24, 14), "expand": (8, 44),
                 "combo": (14, 30), "track": 16, "thumb": (10, 16),
                 "bar": (18, 18, 14), "about_logo": 52, "question": 32}


# ---- the about and question windows and the full-screen top bar ----------------------

# Rows of the top bar's picture sheet, top to bottom; the columns are the state frames.
TOPBAR_ROWS = ("fullscreen", "pin", "pin_on", "brightness_down", "brightness_up",
               "contrast_down", "contrast_up", "saturation_down", "saturation_up",
               "chevron_up", "chevron_down", "chevron_left", "chevron_right", "menu",
               "select", "subtitles", "subtitle_file", "camera", "disc", "chapters",
               "note", "bubble")


def bar_frame(look, name, icon):
    """A top-bar button: flat until the pointer is on it (name None: the plate alone)."""
    def frame(ctx, fw, fh, state):
        if isinstance(look, Modern):
            look.plate(ctx, fw, fh, state, radius=4, inset=1)
        elif state not in ("normal", "disabled"):
            look.bevel(ctx, 0, 0, fw, fh, 3, state)
        if name:
            shift = 0.5 if state == "pushed" else 0
            glyph(ctx, name, fw / 2, fh / 2 + shift, icon, look.ink_for(state), 2.0)
    return frame


def default_button(look):
    """The button that answers a dialog (OK): filled with the accent colour."""
    def frame(ctx, w, h, state):
        if isinstance(look, Modern):
            fill = {"normal": "#2563EB", "hot": "#3573F0", "pushed": "#1D4FC4",
                    "disabled": "#2A3140", "selected": "#3573F0", "focused": "#2563EB"}[state]
            round_rect(ctx, 1, 1, w - 2, h - 2, (h - 2) / 2)
            ctx.set_source_rgba(*rgba(fill))
            ctx.fill()
            if state == "focused":
                round_rect(ctx, 2.25, 2.25, w - 4.5, h - 4.5, (h - 4.5) / 2)
                ctx.set_source_rgba(1, 1, 1, 0.7)
                ctx.set_line_width(1.5)
                ctx.stroke()
            return
        look.bevel(ctx, 1, 1, w - 2, h - 2, 4, state)
        round_rect(ctx, 0.5, 0.5, w - 1, h - 1, 5)
        ctx.set_source_rgba(*rgba("#2F5E9E", 0.35 if state == "disabled" else 1))
        ctx.set_line_width(1)
        ctx.stroke()
    return frame


def question_mark(ctx, w, h):
    ctx.arc(w / 2, h / 2, w / 2 - 1, 0, 2 * math.pi)
    g = cairo.LinearGradient(0, 0, w, h)
    g.add_color_stop_rgba(0, *BRAND_TOP)
    g.add_color_stop_rgba(1, *BRAND_BOTTOM)
    ctx.set_source(g)
    ctx.fill()
    s = w / 24
    ctx.save()
    ctx.scale(s, s)
    ctx.set_source_rgba(1, 1, 1, 1)
    ctx.set_line_width(2.4)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.new_sub_path()
    ctx.arc(12, 9.6, 3.4, math.pi * 1.05, math.pi * 2.3)
    ctx.line_to(12, 14.2)
    ctx.stroke()
    ctx.arc(12, 18, 1.5, 0, 2 * math.pi)
    ctx.fill()
    ctx.restore()


def window_pictures(look, sizes):
    f = look.folder
    fw, fh, icon = sizes["bar"]

    def sheet(ctx, w, h):
        for row, name in enumerate(TOPBAR_ROWS):
            for col, state in enumerate(STATES):
                ctx.save()
                ctx.translate(col * fw, row * fh)
                ctx.rectangle(0, 0, fw, fh)
                ctx.clip()
                bar_frame(look, name, icon)(ctx, fw, fh, state)
                ctx.restore()
    picture("%s/topbar.png" % f, fw * len(STATES), fh * len(TOPBAR_ROWS), sheet)
    strip("%s/topbar_text.png" % f, 24, fh, bar_frame(look, None, icon))
    strip("%s/textbutton_default.png" % f, 40, 32, default_button(look))
    ls = sizes["about_logo"]
    picture("%s/about_logo.png" % f, ls, ls, startup_logo)
    qs = sizes["question"]
    picture("%s/question.png" % f, qs, qs, question_mark)


# ---- program icons --------------------------------------------------------------------

def file_icon(kind):
    def draw(ctx, w, h):
        s = w / 64
        ctx.scale(s, s)
        # page with a folded corner
        poly(ctx, [(12, 4), (42, 4), (54, 16), (54, 60), (12, 60)])
        ctx.set_source(vgradient(4, 60, rgba("#FFFFFF"), rgba("#E6EAF0")))
        ctx.fill_preserve()
        ctx.set_source_rgba(*rgba("#8C96A3"))
        ctx.set_line_width(1.5)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke()
        poly(ctx, [(42, 4), (42, 16), (54, 16)])
        ctx.set_source_rgba(*rgba("#C9D0D9"))
        ctx.fill_preserve()
        ctx.set_source_rgba(*rgba("#8C96A3"))
        ctx.stroke()
        if kind == "video":
            round_rect(ctx, 18, 26, 30, 22, 3)
            ctx.set_source_rgba(*BRAND_BOTTOM)
            ctx.fill()
            for x in range(20, 47, 5):
                ctx.rectangle(x, 27.5, 2.5, 2.5)
                ctx.rectangle(x, 44, 2.5, 2.5)
            ctx.set_source_rgba(1, 1, 1, 0.8)
            ctx.fill()
            poly(ctx, [(29, 32), (29, 42), (38, 37)])
            ctx.set_source_rgba(1, 1, 1, 1)
            ctx.fill()
        else:
            ctx.arc(33, 38, 13, 0, 2 * math.pi)
            g = cairo.LinearGradient(20, 25, 46, 51)
            g.add_color_stop_rgba(0, *BRAND_TOP)
            g.add_color_stop_rgba(1, *BRAND_BOTTOM)
            ctx.set_source(g)
            ctx.fill()
            ctx.set_source_rgba(1, 1, 1, 1)
            ctx.arc(29.5, 43, 2.6, 0, 2 * math.pi)
            ctx.fill()
            ctx.set_line_width(1.6)
            ctx.move_to(31.5, 43)
            ctx.line_to(31.5, 31)
            ctx.curve_to(34, 33, 38, 33, 38, 37)
            ctx.stroke()
    return draw


def write_ico(path, pngs):
    """An .ico holding PNG images (accepted by every current reader)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(pngs)
    for size, png in pngs:
        with open(png, "rb") as fh:
            blob = fh.read()
        dim = 0 if size >= 256 else size
        entries.append(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset))
        offset += len(blob)
        blobs.append(blob)
    with open(path, "wb") as fh:
        fh.write(struct.pack("<HHH", 0, 1, len(pngs)))
        fh.write(b"".join(entries))
        fh.write(b"".join(blobs))
    written.append(path)


def icons():
    tmp = os.path.join(DATA, "icon", ".ico-parts")
    os.makedirs(tmp, exist_ok=True)
    tile = lambda c, w, h: brand_tile(c, w * 0.04, w * 0.04, w * 0.92, ring=w >= 32)
    picture("icon/orvella.png", 48, 48, tile)
    picture("icon/orvella_256.png", 256, 256, tile, scales=(1,))
    picture("icon/video.png", 48, 48, file_icon("video"))
    picture("icon/audio.png", 48, 48, file_icon("audio"))
    for name, draw in (("orvella", tile), ("video", file_icon("video")),
                       ("audio", file_icon("audio"))):
        parts = []
        for size in (16, 32, 48, 256):
            surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, size, size)
            draw(cairo.Context(surface), size, size)
            p = os.path.join(tmp, "%s_%d.png" % (name, size))
            surface.write_to_png(p)
            optimise([p])
            parts.append((size, p))
        write_ico(os.path.join(DATA, "icon", name + ".ico"), parts)
    shutil.rmtree(tmp)


def menu_pictures():
    """The check mark of a marked menu row and the arrow of a row with a submenu."""
    for folder, ink, arrow in (("skin", "#E6EAF0", 12), ("skin_classic", "#1E242C", 10)):
        picture(folder + "/menu_check.png", 16, 16,
                lambda c, w, h, ink=ink: glyph(c, "check", w / 2, h / 2, 16, rgba(ink), 2.4))
        picture(folder + "/menu_arrow.png", arrow, arrow,
                lambda c, w, h, ink=ink: glyph(c, "chevron_right", w / 2, h / 2, w + 4, rgba(ink, 0.8), 2.4))


def option_pictures():
    """The round mark of a choice among several (radio option rows): a ring, and a dot
    inside it once chosen. Neutral ink, so it sits well on any scheme colour."""
    for folder, ink, face in (("skin", "#E8ECF2", None), ("skin_classic", "#27303B", "#FFFFFF")):
        def frame(ctx, w, h, state, ink=ink, face=face):
            cx, cy, r = w / 2, h / 2, w / 2 - 1.5
            alpha = {"normal": 0.6, "hot": 0.95, "pushed": 0.8, "disabled": 0.3,
                     "selected": 0.95, "focused": 0.95}[state]
            ctx.arc(cx, cy, r, 0, 2 * math.pi)
            if face:
                ctx.set_source_rgba(*rgba(face, 1.0 if state != "disabled" else 0.5))
                ctx.fill_preserve()
            elif state in ("hot", "pushed"):
                ctx.set_source_rgba(*rgba(ink, 0.1))
                ctx.fill_preserve()
            ctx.set_source_rgba(*rgba(ink, alpha))
            ctx.set_line_width(1.5)
            ctx.stroke()
            if state in ("selected", "focused"):
                ctx.arc(cx, cy, r * 0.5, 0, 2 * math.pi)
                ctx.set_source_rgba(*rgba(ink, alpha))
                ctx.fill()
        strip(folder + "/radio.png", 16, 16, frame)


def tile_pictures():
    """The frame of a picked tile (the skin window's colour swatches, backgrounds and skin
    sets): a nine-patch ring over the tile's own colour or picture, its interior clear.
    Hot and chosen rings pair a dark band with a light one inside it, so they show on
    pale and deep tiles alike; the chosen one also carries the skin's accent."""
    for folder, radius, accent in (("skin", 6, "#3B82F6"), ("skin_classic", 3, "#1F5FBF")):
        def frame(ctx, w, h, state, radius=radius, accent=accent):
            dark, light = {"normal": (1.0, 0.0), "hot": (2.0, 2.0), "pushed": (2.0, 1.5),
                           "disabled": (1.0, 0.0), "selected": (3.0, 2.0),
                           "focused": (2.0, 2.0)}[state]
            outer = rgba(accent) if state == "selected" else (0, 0, 0, 0.3 if light == 0 else 0.75)
            round_rect(ctx, dark / 2, dark / 2, w - dark, h - dark, radius)
            ctx.set_source_rgba(*outer)
            ctx.set_line_width(dark)
            ctx.stroke()
            if light:
                inset = dark + light / 2
                round_rect(ctx, inset, inset, w - 2 * inset, h - 2 * inset, max(1, radius - dark))
                ctx.set_source_rgba(1, 1, 1, 0.95 if state != "pushed" else 0.7)
                ctx.set_line_width(light)
                if state == "focused":
                    ctx.set_dash([3, 2])
                ctx.stroke()
        strip(folder + "/tile.png", 24, 24, frame)


def optimise(paths):
    if shutil.which("optipng"):
        pngs = [p for p in paths if p.lower().endswith(".png")]
        for i in range(0, len(pngs), 40):
            subprocess.run(["optipng", "-quiet", "-o5", "-strip", "all"] + pngs[i:i + 40],
                           check=False)


from check_layouts import check_layouts  # noqa: E402  (beside this script)
from picture_backgrounds import BACKGROUNDS, BANNER_W, BANNER_H, banner  # noqa: E402


def main():
    for rel, art in BACKGROUNDS:
        picture(rel, BANNER_W, BANNER_H, banner(art))
    skin_pictures(Modern(), MODERN_SIZES)
    skin_pictures(Classic(), CLASSIC_SIZES)
    window_pictures(Modern(), MODERN_SIZES)
    window_pictures(Classic(), CLASSIC_SIZES)
    menu_pictures()
    option_pictures()
    tile_pictures()
    icons()
    optimise(written)
    missing = check_layouts(DATA)
    total = sum(os.path.getsize(p) for p in written if os.path.exists(p))
    print("%d pictures, %.0f KB" % (len(written), total / 1024))
    if missing:
        for m in missing:
            print("missing picture: " + m, file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    main()
