"""Path helpers shared by the picture scripts."""
import math


def poly(ctx, pts, close=True):
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    if close:
        ctx.close_path()


def round_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


# ---- background pictures (the "shading" banner of the title bar) ---------------------

BANNER_W, BANNER_H = 440, 36


# ---- glyphs of the small windows and the full-screen top bar ---------------------------
# Same contract as the glyphs in make_pictures.py: drawn on a 24-unit grid with the
# source colour set; parts meant to be solid are filled on the spot, the path left
# behind is drawn as the returned mode says.

def _badge(ctx, plus):
    """A small plus or minus at the bottom right: decrease and increase buttons."""
    ctx.move_to(15.5, 19)
    ctx.line_to(22, 19)
    if plus:
        ctx.move_to(18.75, 15.75)
        ctx.line_to(18.75, 22.25)


def g_fullscreen(ctx, sw):
    for (x, y, dx, dy) in ((4, 4, 1, 1), (20, 4, -1, 1), (4, 20, 1, -1), (20, 20, -1, -1)):
        ctx.move_to(x, y + 5.5 * dy)
        ctx.line_to(x, y)
        ctx.line_to(x + 5.5 * dx, y)
    return "stroke"


def g_pin(ctx, sw):
    """A push pin: not kept on top."""
    poly(ctx, [(9, 4), (15, 4), (14, 10), (17.5, 14), (6.5, 14), (10, 10)])
    ctx.move_to(12, 14)
    ctx.line_to(12, 20.5)
    return "stroke"


def g_pin_on(ctx, sw):
    """The push pin pressed in: kept on top."""
    poly(ctx, [(9, 4), (15, 4), (14, 10), (17.5, 14), (6.5, 14), (10, 10)])
    ctx.fill_preserve()
    ctx.move_to(12, 14)
    ctx.line_to(12, 20.5)
    return "stroke"


def _sun(ctx, cx, cy):
    ctx.new_sub_path()
    ctx.arc(cx, cy, 3.4, 0, 2 * math.pi)
    for i in range(8):
        a = i * math.pi / 4
        ctx.move_to(cx + 5.6 * math.cos(a), cy + 5.6 * math.sin(a))
        ctx.line_to(cx + 7.4 * math.cos(a), cy + 7.4 * math.sin(a))


def g_brightness_down(ctx, sw):
    _sun(ctx, 10, 10)
    _badge(ctx, False)
    return "stroke"


def g_brightness_up(ctx, sw):
    _sun(ctx, 10, 10)
    _badge(ctx, True)
    return "stroke"


def _half_disc(ctx, cx, cy, r):
    ctx.new_sub_path()
    ctx.arc(cx, cy, r, math.pi / 2, 3 * math.pi / 2)
    ctx.close_path()
    ctx.fill()
    ctx.new_sub_path()
    ctx.arc(cx, cy, r, 0, 2 * math.pi)


def g_contrast_down(ctx, sw):
    _half_disc(ctx, 10, 10, 7)
    _badge(ctx, False)
    return "stroke"


def g_contrast_up(ctx, sw):
    _half_disc(ctx, 10, 10, 7)
    _badge(ctx, True)
    return "stroke"


def _drop(ctx, cx, top, r):
    ctx.move_to(cx, top)
    ctx.curve_to(cx + r * 0.6, top + r * 0.9, cx + r, top + r * 1.35, cx + r, top + r * 1.8)
    ctx.arc(cx, top + r * 1.8, r, 0, math.pi)
    ctx.curve_to(cx - r, top + r * 1.35, cx - r * 0.6, top + r * 0.9, cx, top)
    ctx.close_path()


def g_saturation_down(ctx, sw):
    _drop(ctx, 9.5, 3, 5.5)
    _badge(ctx, False)
    return "stroke"


def g_saturation_up(ctx, sw):
    _drop(ctx, 9.5, 3, 5.5)
    _badge(ctx, True)
    return "stroke"


def g_chevron_up(ctx, sw):
    ctx.move_to(7, 14.5)
    ctx.line_to(12, 9.5)
    ctx.line_to(17, 14.5)
    return "stroke"


def g_chevron_left(ctx, sw):
    ctx.move_to(14, 7)
    ctx.line_to(9, 12)
    ctx.line_to(14, 17)
    return "stroke"


def g_select(ctx, sw):
    """Confirm the highlighted DVD menu button: a dot in a ring."""
    ctx.new_sub_path()
    ctx.arc(12, 12, 3, 0, 2 * math.pi)
    ctx.fill()
    ctx.new_sub_path()
    ctx.arc(12, 12, 8, 0, 2 * math.pi)
    return "stroke"


def g_subtitles(ctx, sw):
    """A screen with two subtitle lines."""
    round_rect(ctx, 3, 5, 18, 14, 2.5)
    ctx.move_to(6.5, 12.5)
    ctx.line_to(12.5, 12.5)
    ctx.move_to(15, 12.5)
    ctx.line_to(17.5, 12.5)
    ctx.move_to(6.5, 15.5)
    ctx.line_to(9, 15.5)
    ctx.move_to(11.5, 15.5)
    ctx.line_to(17.5, 15.5)
    return "stroke"


def g_subtitle_file(ctx, sw):
    """A page with subtitle lines: load a subtitle file."""
    poly(ctx, [(6, 3.5), (14, 3.5), (18.5, 8), (18.5, 20.5), (6, 20.5)])
    ctx.move_to(14, 3.5)
    ctx.line_to(14, 8)
    ctx.line_to(18.5, 8)
    ctx.move_to(9, 13)
    ctx.line_to(15.5, 13)
    ctx.move_to(9, 16.5)
    ctx.line_to(13.5, 16.5)
    return "stroke"


def g_camera(ctx, sw):
    poly(ctx, [(3, 8), (7.5, 8), (9.5, 5), (14.5, 5), (16.5, 8), (21, 8), (21, 19), (3, 19)])
    ctx.new_sub_path()
    ctx.arc(12, 13.3, 3.6, 0, 2 * math.pi)
    return "stroke"


def g_disc(ctx, sw):
    """A disc: the DVD's titles."""
    ctx.new_sub_path()
    ctx.arc(12, 12, 8.5, 0, 2 * math.pi)
    ctx.new_sub_path()
    ctx.arc(12, 12, 2.2, 0, 2 * math.pi)
    ctx.new_sub_path()
    ctx.arc(12, 12, 5.4, math.radians(200), math.radians(260))
    return "stroke"


def g_chapters(ctx, sw):
    """Numbered marks on a line: the chapters."""
    for y in (6.5, 12, 17.5):
        ctx.new_sub_path()
        ctx.arc(5.5, y, 1.5, 0, 2 * math.pi)
    ctx.fill()
    for y in (6.5, 12, 17.5):
        ctx.move_to(9.5, y)
        ctx.line_to(19.5, y)
    return "stroke"


def g_bubble(ctx, sw):
    """A speech bubble: the subtitle tracks."""
    round_rect(ctx, 3.5, 4.5, 17, 12, 3)
    ctx.move_to(8, 16.5)
    ctx.line_to(7, 20.5)
    ctx.line_to(12, 16.5)
    ctx.move_to(7.5, 9)
    ctx.line_to(16.5, 9)
    ctx.move_to(7.5, 12.3)
    ctx.line_to(13.5, 12.3)
    return "stroke"


def g_note(ctx, sw):
    """A note: the audio tracks."""
    ctx.new_sub_path()
    ctx.arc(8, 17.5, 2.6, 0, 2 * math.pi)
    ctx.fill()
    ctx.new_sub_path()
    ctx.arc(16.5, 15.5, 2.6, 0, 2 * math.pi)
    ctx.fill()
    ctx.move_to(10.4, 17.5)
    ctx.line_to(10.4, 5.5)
    ctx.line_to(18.9, 3.5)
    ctx.line_to(18.9, 15.5)
    return "stroke"


WINDOW_GLYPHS = {
    "fullscreen": g_fullscreen, "pin": g_pin, "pin_on": g_pin_on,
    "brightness_down": g_brightness_down, "brightness_up": g_brightness_up,
    "contrast_down": g_contrast_down, "contrast_up": g_contrast_up,
    "saturation_down": g_saturation_down, "saturation_up": g_saturation_up,
    "chevron_up": g_chevron_up, "chevron_left": g_chevron_left, "select": g_select,
    "subtitles": g_subtitles, "subtitle_file": g_subtitle_file, "camera": g_camera,
    "disc": g_disc, "chapters": g_chapters, "bubble": g_bubble, "note": g_note,
}
