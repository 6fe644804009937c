"""The background pictures of the skins: the banner that the main window's "shading"
control shows at the right of the title bar. Each is generated art that fits its name,
light and translucent so it works over any scheme colour, fading in from the left.
Used by make_pictures.py."""
import math
import random

import cairo

from picture_shapes import poly, round_rect


# ---- background pictures (the "shading" banner of the title bar) ---------------------

BANNER_W, BANNER_H = 440, 36


def fade_mask(ctx, w, h):
    """Art fades in from the left so that the banner meets the plain bar softly."""
    g = cairo.LinearGradient(0, 0, w, 0)
    g.add_color_stop_rgba(0, 0, 0, 0, 0)
    g.add_color_stop_rgba(0.45, 0, 0, 0, 0.75)
    g.add_color_stop_rgba(1, 0, 0, 0, 1)
    return g


def banner(draw_art):
    def draw(ctx, w, h):
        ctx.push_group()
        draw_art(ctx, w, h, random.Random(draw_art.__name__))
        art = ctx.pop_group()
        ctx.set_source(art)
        ctx.mask(fade_mask(ctx, w, h))
    return draw


def art_river(ctx, w, h, rnd):
    for i in range(7):
        y0 = h * (0.2 + 0.1 * i)
        ctx.move_to(-10, y0)
        x = -10
        while x < w + 10:
            ctx.curve_to(x + 30, y0 - 6 + i % 3, x + 50, y0 + 7 - i % 2, x + 80, y0)
            x += 80
        ctx.set_source_rgba(0.85, 1.0, 0.7, 0.10 + 0.05 * (i % 3))
        ctx.set_line_width(1.2 + (i % 3))
        ctx.stroke()
    for _ in range(40):
        ctx.arc(rnd.uniform(0, w), rnd.uniform(2, h - 2), rnd.uniform(0.5, 1.4), 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 0.85, rnd.uniform(0.2, 0.5))
        ctx.fill()


def art_ocean(ctx, w, h, rnd):
    for i, (base, amp, alpha) in enumerate(((0.35, 4, 0.08), (0.55, 5, 0.12),
                                             (0.75, 4, 0.16), (0.92, 3, 0.22))):
        y0 = h * base
        ctx.move_to(0, h)
        ctx.line_to(0, y0)
        x, step = 0, 46 - i * 6
        while x < w:
            ctx.curve_to(x + step * 0.3, y0 - amp, x + step * 0.6, y0 - amp,
                         x + step, y0 + amp * 0.3)
            x += step
        ctx.line_to(w, h)
        ctx.close_path()
        ctx.set_source_rgba(0.75, 0.9, 1.0, alpha)
        ctx.fill()
    for _ in range(30):
        ctx.arc(rnd.uniform(0, w), rnd.uniform(h * 0.3, h), rnd.uniform(0.6, 1.6), 0,
                2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, rnd.uniform(0.25, 0.55))
        ctx.fill()


def petal_shape(ctx, x, y, size, angle):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    ctx.move_to(0, -size)
    ctx.curve_to(size * 0.7, -size * 0.5, size * 0.55, size * 0.6, 0, size)
    ctx.curve_to(-size * 0.55, size * 0.6, -size * 0.7, -size * 0.5, 0, -size)
    ctx.close_path()
    ctx.restore()


def art_petal(ctx, w, h, rnd):
    for _ in range(34):
        petal_shape(ctx, rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(3, 8),
                    rnd.uniform(0, math.pi))
        ctx.set_source_rgba(1, 0.85, 0.75, rnd.uniform(0.12, 0.35))
        ctx.fill()


def art_dragon(ctx, w, h, rnd):
    # a long body winding in from the left, thickening towards the head at the right
    head_x = w - 34

    def centre(x):
        return h / 2 + math.sin(x / 34.0) * h * 0.22 * (1 - x / (w * 1.4))

    for x in range(6, int(head_x), 5):
        t = x / head_x
        r = 1.5 + 5.5 * t
        y = centre(x)
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 0.9, 0.45, 0.10 + 0.12 * t)
        ctx.fill()
        ctx.arc(x + r * 0.4, y, r, -math.pi / 2, math.pi / 2)
        ctx.set_source_rgba(1, 0.96, 0.7, 0.18 + 0.25 * t)
        ctx.set_line_width(0.8)
        ctx.stroke()
        if x % 20 == 1 and t > 0.2:
            poly(ctx, [(x - 2, y - r + 0.5), (x + 1, y - r - 3 - 3 * t), (x + 3, y - r + 0.5)])
            ctx.set_source_rgba(1, 0.85, 0.35, 0.35)
            ctx.fill()
    y = centre(head_x)
    ctx.save()
    ctx.translate(head_x, y)
    ctx.move_to(-6, -7)
    ctx.curve_to(6, -11, 18, -6, 26, -2)
    ctx.line_to(27, 2)
    ctx.curve_to(18, 4, 10, 8, -6, 7)
    ctx.close_path()
    ctx.set_source_rgba(1, 0.9, 0.45, 0.38)
    ctx.fill()
    ctx.move_to(2, -8)
    ctx.curve_to(-2, -14, -8, -16, -14, -15)
    ctx.set_source_rgba(1, 0.9, 0.5, 0.5)
    ctx.set_line_width(1.4)
    ctx.stroke()
    ctx.arc(10, -3, 1.6, 0, 2 * math.pi)
    ctx.set_source_rgba(1, 1, 0.85, 0.9)
    ctx.fill()
    ctx.move_to(27, 0)
    ctx.curve_to(31, 2, 29, 8, 33, 11)
    ctx.set_source_rgba(1, 0.9, 0.5, 0.4)
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.restore()


def art_totem(ctx, w, h, rnd):
    x = 4
    i = 0
    while x < w:
        ctx.set_source_rgba(1, 1, 1, 0.16 + 0.06 * (i % 3))
        ctx.set_line_width(1.5)
        kind = i % 4
        if kind == 0:
            poly(ctx, [(x, h - 6), (x + 10, 6), (x + 20, h - 6)])
            ctx.stroke()
        elif kind == 1:
            poly(ctx, [(x + 10, 5), (x + 20, h / 2), (x + 10, h - 5), (x, h / 2)])
            ctx.stroke()
            ctx.arc(x + 10, h / 2, 2.5, 0, 2 * math.pi)
            ctx.fill()
        elif kind == 2:
            for k in range(3):
                ctx.rectangle(x + 2 + k * 2, 6 + k * 3, 16 - k * 4, h - 12 - k * 6)
            ctx.stroke()
        else:
            ctx.move_to(x, h / 2)
            ctx.curve_to(x + 6, h / 2 - 8, x + 14, h / 2 - 8, x + 20, h / 2)
            ctx.curve_to(x + 14, h / 2 + 8, x + 6, h / 2 + 8, x, h / 2)
            ctx.stroke()
            ctx.arc(x + 10, h / 2, 2.8, 0, 2 * math.pi)
            ctx.fill()
        x += 28
        i += 1
    for y in (3, h - 3):
        ctx.move_to(0, y)
        ctx.line_to(w, y)
    ctx.set_source_rgba(1, 1, 1, 0.18)
    ctx.set_line_width(1)
    ctx.stroke()


def flower(ctx, x, y, r, petals, angle, color_petal, color_core):
    for k in range(petals):
        a = angle + k * 2 * math.pi / petals
        petal_shape(ctx, x + math.cos(a) * r * 0.55, y + math.sin(a) * r * 0.55, r * 0.55,
                    a + math.pi / 2)
        ctx.set_source_rgba(*color_petal)
        ctx.fill()
    ctx.arc(x, y, r * 0.2, 0, 2 * math.pi)
    ctx.set_source_rgba(*color_core)
    ctx.fill()


def art_petal1(ctx, w, h, rnd):
    for _ in range(16):
        r = rnd.uniform(8, 16)
        flower(ctx, rnd.uniform(0, w), rnd.uniform(4, h - 4), r, 5, rnd.uniform(0, 1.2),
               (0.25, 0.35, 0.05, rnd.uniform(0.12, 0.22)), (1, 1, 0.8, 0.5))


def art_petal2(ctx, w, h, rnd):
    ctx.move_to(0, h * 0.8)
    ctx.curve_to(w * 0.3, h * 0.2, w * 0.6, h * 1.0, w, h * 0.3)
    ctx.set_source_rgba(0.3, 0.1, 0.1, 0.25)
    ctx.set_line_width(2)
    ctx.stroke()
    for _ in range(14):
        x = rnd.uniform(0, w)
        t = x / w
        y = h * (0.8 - 0.5 * t) + rnd.uniform(-8, 8)
        flower(ctx, x, y, rnd.uniform(7, 12), 5, rnd.uniform(0, 1.2),
               (1, 0.75, 0.82, rnd.uniform(0.35, 0.55)), (0.6, 0.1, 0.25, 0.5))


def art_guitar(ctx, w, h, rnd):
    for i in range(6):
        y = 8 + i * 4
        ctx.move_to(0, y)
        ctx.line_to(w, y)
        ctx.set_source_rgba(0.2, 0.12, 0.02, 0.12 + 0.03 * i)
        ctx.set_line_width(0.6 + i * 0.15)
        ctx.stroke()
    # a guitar lying along the banner
    bx, by = w * 0.78, h / 2
    ctx.save()
    ctx.translate(bx, by)
    ctx.rotate(-0.12)
    ctx.new_sub_path()
    ctx.arc(18, 0, 15, 0, 2 * math.pi)
    ctx.new_sub_path()
    ctx.arc(-4, 0, 11, 0, 2 * math.pi)
    ctx.set_source_rgba(0.35, 0.18, 0.02, 0.35)
    ctx.fill()
    ctx.arc(6, 0, 4.5, 0, 2 * math.pi)
    ctx.set_source_rgba(0.1, 0.05, 0.0, 0.45)
    ctx.fill()
    ctx.rectangle(-90, -2.2, 84, 4.4)
    ctx.set_source_rgba(0.3, 0.15, 0.02, 0.4)
    ctx.fill()
    round_rect(ctx, -104, -4, 15, 8, 2)
    ctx.fill()
    ctx.restore()
    for _ in range(5):
        x = rnd.uniform(w * 0.1, w * 0.6)
        y = rnd.uniform(8, h - 8)
        ctx.set_source_rgba(0.25, 0.12, 0.0, 0.3)
        ctx.arc(x, y + 4, 2.5, 0, 2 * math.pi)
        ctx.fill()
        ctx.move_to(x + 2.5, y + 4)
        ctx.line_to(x + 2.5, y - 6)
        ctx.set_line_width(1)
        ctx.stroke()


def gear(ctx, x, y, r, teeth, angle):
    ctx.new_sub_path()
    for k in range(teeth * 2):
        a0 = angle + k * math.pi / teeth
        a1 = a0 + math.pi / teeth
        rr = r if k % 2 == 0 else r * 0.8
        ctx.arc(x, y, rr, a0, a1)
    ctx.close_path()
    ctx.new_sub_path()
    ctx.arc_negative(x, y, r * 0.35, 2 * math.pi, 0)
    ctx.close_path()


def art_gear(ctx, w, h, rnd):
    spots = [(w * 0.55, h * 0.5, 22, 12), (w * 0.55 + 33, h * 0.2, 13, 9),
             (w * 0.8, h * 0.7, 26, 14), (w * 0.8 + 38, h * 0.15, 15, 9),
             (w * 0.3, h * 0.7, 14, 10), (w * 0.97, h * 0.6, 12, 8), (w * 0.15, h * 0.3, 10, 8)]
    for i, (x, y, r, t) in enumerate(spots):
        gear(ctx, x, y, r, t, rnd.uniform(0, 1))
        ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
        ctx.set_source_rgba(1, 1, 1, 0.22 + 0.06 * (i % 3))
        ctx.fill_preserve()
        ctx.set_source_rgba(0, 0, 0, 0.32)
        ctx.set_line_width(1)
        ctx.stroke()


BACKGROUNDS = [
    ("skin/river.PNG", art_river), ("skin/ocean.PNG", art_ocean),
    ("skin/petal.PNG", art_petal), ("skin/dragon.PNG", art_dragon),
    ("skin/totem.PNG", art_totem), ("skin_classic/petal1.PNG", art_petal1),
    ("skin_classic/petal2.PNG", art_petal2), ("skin_classic/guitar.PNG", art_guitar),
    ("skin_classic/gear.PNG", art_gear),
]
