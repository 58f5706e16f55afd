"""Glyphs of the main window's buttons, drawn in a 100 x 100 square.

Each glyph function takes sw, the outline width in the square's units that
comes out as 2 screen pixels, and returns SVG. Pieces of one colour are
drawn with outlined() so that touching pieces share a single outline.
"""

import math

from svgkit import (CREAM, GRAPE, GRASS, INK, PAPER, SKY, SKY_LIGHT, SUN,
                    TANGERINE, TOMATO, TOMATO_DARK)

STEEL = "#D8E2EC"
PINK = "#F7A8B8"


def outlined(parts, sw):
    """parts: list of (path data, colour, line width or None for a filled area)."""
    ink, paint = [], []
    for d, colour, lw in parts:
        if lw:
            ink.append(f'<path d="{d}" fill="none" stroke="{INK}" stroke-width="{lw + 2 * sw:g}" '
                       f'stroke-linecap="round" stroke-linejoin="round"/>')
            paint.append(f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{lw:g}" '
                         f'stroke-linecap="round" stroke-linejoin="round"/>')
        else:
            ink.append(f'<path d="{d}" fill="{INK}" stroke="{INK}" stroke-width="{2 * sw:g}" '
                       f'stroke-linejoin="round"/>')
            paint.append(f'<path d="{d}" fill="{colour}"/>')
    return "".join(ink) + "".join(paint)


def circle(cx, cy, r):
    return f"M{cx - r:g} {cy:g}a{r:g} {r:g} 0 1 0 {2 * r:g} 0a{r:g} {r:g} 0 1 0 {-2 * r:g} 0z"


def rounded(x, y, w, h, r):
    return (f"M{x + r:g} {y:g}H{x + w - r:g}a{r:g} {r:g} 0 0 1 {r:g} {r:g}V{y + h - r:g}"
            f"a{r:g} {r:g} 0 0 1 {-r:g} {r:g}H{x + r:g}a{r:g} {r:g} 0 0 1 {-r:g} {-r:g}"
            f"V{y + r:g}a{r:g} {r:g} 0 0 1 {r:g} {-r:g}z")


def gleam(d, width=5, opacity=0.85):
    return (f'<path d="{d}" fill="none" stroke="{PAPER}" stroke-width="{width:g}" '
            f'stroke-linecap="round" opacity="{opacity:g}"/>')


def undo(sw):
    shaft = "M76 80V56C76 38 64 30 48 30H40"
    head = "M12 30L40 8V52Z"
    return outlined([(shaft, TANGERINE, 16), (head, TANGERINE, None)], sw) + gleam(
        "M70 60C70 46 62 38 50 37", 4, 0.6)


def zoom(sw, plus):
    handle = outlined([("M62 62L86 86", GRAPE, 16)], sw)
    lens = outlined([(circle(40, 40, 30), SKY, None)], sw)
    inner = f'<path d="{circle(40, 40, 21)}" fill="{SKY_LIGHT}"/>'
    shine = gleam("M26 32A15 15 0 0 1 36 22", 5)
    bars = [f'<rect x="26" y="35.5" width="28" height="9" rx="4.5" fill="{INK}"/>']
    if plus:
        bars.append(f'<rect x="35.5" y="26" width="9" height="28" rx="4.5" fill="{INK}"/>')
    return handle + lens + inner + shine + "".join(bars)


def save(sw):
    body = "M16 10H74L90 26V82A8 8 0 0 1 82 90H18A8 8 0 0 1 10 82V16A6 6 0 0 1 16 10Z"
    out = outlined([(body, GRAPE, None)], sw)
    out += outlined([(rounded(28, 10, 40, 26, 3), STEEL, None)], sw)
    out += f'<rect x="53" y="15" width="8" height="16" rx="2" fill="{INK}"/>'
    out += outlined([(rounded(22, 52, 56, 38, 4), PAPER, None)], sw)
    for i, c in enumerate((TOMATO, SUN, GRASS)):
        out += f'<rect x="30" y="{60 + i * 9}" width="40" height="5" rx="2.5" fill="{c}"/>'
    return out


def print_(sw):
    out = outlined([(rounded(26, 6, 48, 40, 3), PAPER, None)], sw)
    out += outlined([(rounded(8, 34, 84, 40, 10), SKY, None)], sw)
    out += gleam("M18 44H82", 4, 0.6)
    out += f'<circle cx="80" cy="56" r="5" fill="{GRASS}" stroke="{INK}" stroke-width="{sw * 0.8:g}"/>'
    out += outlined([(rounded(24, 60, 52, 34, 3), PAPER, None)], sw)
    for i, c in enumerate((TOMATO, SUN, GRASS)):
        out += f'<rect x="32" y="{68 + i * 8}" width="36" height="4.5" rx="2" fill="{c}"/>'
    return out


def info(sw):
    out = outlined([(circle(50, 50, 42), SKY, None)], sw)
    out += gleam("M22 40A30 30 0 0 1 40 20", 5, 0.6)
    out += outlined([(circle(50, 28, 8), PAPER, None), (rounded(42, 42, 16, 36, 6), PAPER, None)],
                    sw * 0.8)
    return out


def page_arrow(sw, forward):
    page = "M12 8H54L70 24V84A4 4 0 0 1 66 88H12A4 4 0 0 1 8 84V12A4 4 0 0 1 12 8Z"
    out = outlined([(page, PAPER, None)], sw)
    out += f'<path d="M54 8V24H70" fill="{STEEL}" stroke="{INK}" stroke-width="{sw:g}" stroke-linejoin="round"/>'
    out += f'<circle cx="26" cy="30" r="8" fill="{SUN}"/>'
    out += f'<path d="M14 78Q30 52 46 66T70 60V84H14Z" fill="{GRASS}" opacity="0.9"/>'
    arrow = "M44 52H66V38L94 64L66 90V76H44Z"
    out += outlined([(arrow, TOMATO, None)], sw)
    out += gleam("M50 60H70", 4, 0.6)
    if not forward:
        out = f'<g transform="translate(100 0) scale(-1 1)">{out}</g>'
    return out


def gear(sw):
    pts = []
    teeth = 8
    for i in range(teeth * 4):
        a = (i / (teeth * 4)) * 2 * math.pi - math.pi / 2
        r = 45 if (i % 4) in (1, 2) else 33
        pts.append((50 + r * math.cos(a), 50 + r * math.sin(a)))
    d = "M" + "L".join(f"{x:.2f} {y:.2f}" for x, y in pts) + "Z"
    out = outlined([(d, GRAPE, None)], sw)
    out += outlined([(circle(50, 50, 13), CREAM, None)], sw)
    out += gleam("M28 38A24 24 0 0 1 40 27", 4, 0.5)
    return out


def pal_arrow(sw, forward):
    """A striped arrow in a 150 x 100 box: the next (or previous) set of paints."""
    arrow = "M14 34H84V10L138 50L84 90V66H14A8 8 0 0 1 6 58V42A8 8 0 0 1 14 34Z"
    clip = f'<clipPath id="pa{int(forward)}"><path d="{arrow}"/></clipPath>'
    out = f'<path d="{arrow}" fill="{INK}" stroke="{INK}" stroke-width="{2 * sw:g}" stroke-linejoin="round"/>'
    stripes = "".join(
        f'<rect x="0" y="{y}" width="150" height="{h}" fill="{c}"/>'
        for y, h, c in ((0, 40, TOMATO), (40, 20, SUN), (60, 40, SKY)))
    out += f"{clip}<g clip-path=\"url(#pa{int(forward)})\">{stripes}</g>"
    out += gleam("M16 42H80", 4, 0.6)
    if not forward:
        out = f'<g transform="translate(144 0) scale(-1 1)">{out}</g>'
    return out


def bucket(sw):
    body = "M20 34L68 34L62 84A8 8 0 0 1 54 90H34A8 8 0 0 1 26 84Z"
    grp = outlined([("M24 40C20 8 66 6 64 40", STEEL, 5)], sw)
    grp += outlined([(body, SKY, None)], sw)
    grp += gleam("M30 44L34 80", 5, 0.6)
    grp += outlined([("M17 34A27 7 0 0 1 71 34A27 7 0 0 1 17 34Z", SKY_LIGHT, None)], sw)
    out = f'<g transform="translate(-8 -14) rotate(50 44 60)">{grp}</g>'
    paint = ("M66 30C76 28 84 34 84 44C84 56 78 62 80 72C82 80 94 80 94 88"
             "C94 95 86 96 76 96H48C40 96 38 90 44 86C52 82 64 84 68 76C72 66 62 56 60 46"
             "C58 38 60 31 66 30Z")
    out += outlined([(paint, TOMATO, None)], sw)
    out += gleam("M76 40C78 46 76 52 74 58", 3.5, 0.7)
    return out


def brush_shape(sw, tip_colour=TOMATO):
    handle = outlined([("M58 42L86 14", TANGERINE, 12)], sw)
    ferrule = outlined([("M43 45L55 57L64 48L52 36Z", STEEL, None)], sw)
    tip = "M44 46L54 56C48 70 34 82 14 88C18 68 30 52 44 46Z"
    out = handle + ferrule + outlined([(tip, tip_colour, None)], sw)
    out += gleam("M62 36L80 18", 3.5, 0.6)
    return out


def brush(sw):
    stroke = outlined([("M16 86C34 76 48 94 66 84S84 80 88 76", TOMATO, 7)], sw)
    return stroke + brush_shape(sw)


def mbrush(sw):
    spot = circle(34, 64, 28)
    out = f'<path d="{spot}" fill="{PINK}" opacity="0.9"/>'
    out += (f'<path d="{spot}" fill="none" stroke="{INK}" stroke-width="{sw * 1.2:g}" '
            f'stroke-dasharray="{sw * 1.3:g} {sw * 1.3:g}" stroke-linecap="butt"/>')
    return out + brush_shape(sw)


def dropper(sw):
    tube = "M46 44L56 54L26 84L14 88L18 76Z"
    out = outlined([(tube, SKY_LIGHT, None)], sw)
    out += '<path d="M40 56L46 62L28 80L22 80Z" fill="' + SKY + '"/>'
    out += outlined([("M42 42L60 60", GRAPE, 12)], sw)
    out += outlined([("M64 20C72 12 84 12 88 18C94 24 88 34 80 40L62 44L58 40Z", TOMATO, None)], sw)
    out += gleam("M70 22C76 18 82 19 84 22", 3.5, 0.7)
    out += outlined([("M12 92C12 88 16 84 16 84C16 84 20 88 20 92A4 4 0 0 1 12 92Z", SKY, None)],
                    sw * 0.7)
    return out


def marker(sw):
    line = f'<path d="M8 88C18 74 30 92 42 80" fill="none" stroke="{INK}" stroke-width="6" stroke-linecap="round"/>'
    body = outlined([("M42 58L78 22", GRAPE, 22)], sw)
    cap = outlined([("M76 24L86 14", INK, 22)], sw)
    nib = outlined([("M32 52L48 68L30 74L24 70L26 60Z", STEEL, None)], sw)
    tip = f'<path d="M22 66L28 72L14 82Z" fill="{INK}" stroke="{INK}" stroke-width="{sw:g}" stroke-linejoin="round"/>'
    return line + tip + nib + body + cap + gleam("M46 46L68 24", 4, 0.55)


def eraser(sw):
    block = "M14 62L52 24A6 6 0 0 1 60 24L86 50A6 6 0 0 1 86 58L48 96Z"
    out = outlined([(block, PINK, None)], sw)
    sleeve = "M33 43L52 24A6 6 0 0 1 60 24L86 50A6 6 0 0 1 86 58L67 77Z"
    out += outlined([(sleeve, SKY, None)], sw)
    out += gleam("M56 30L76 50", 4, 0.5)
    for x, y in ((10, 84), (20, 92), (6, 94)):
        out += f'<circle cx="{x}" cy="{y}" r="3.5" fill="{PINK}" stroke="{INK}" stroke-width="{sw * 0.7:g}"/>'
    return out


def tap(sw):
    out = outlined([("M46 14V30", TOMATO_DARK, 6), ("M32 14H60", TOMATO, 10)], sw)
    body = "M34 28H58V44H76A10 10 0 0 1 86 54V62H66V58H34Z"
    out += outlined([(body, STEEL, None)], sw)
    out += outlined([(rounded(6, 30, 20, 26, 4), STEEL, None)], sw)
    out += gleam("M38 34H54", 4, 0.7)
    for cx, cy, r in ((76, 74, 6), (70, 90, 4.5), (84, 90, 4)):
        d = f"M{cx} {cy - 2 * r}C{cx} {cy - r} {cx + r} {cy - r / 2} {cx + r} {cy}A{r} {r} 0 0 1 {cx - r} {cy}C{cx - r} {cy - r / 2} {cx} {cy - r} {cx} {cy - 2 * r}Z"
        out += outlined([(d, SKY, None)], sw * 0.8)
    return out


COMMANDS = {
    "Undo": undo,
    "ZoomOut": lambda sw: zoom(sw, False),
    "ZoomIn": lambda sw: zoom(sw, True),
    "Save": save,
    "Print": print_,
    "Info": info,
    "PrevPic": lambda sw: page_arrow(sw, False),
    "NextPic": lambda sw: page_arrow(sw, True),
    "Options": gear,
}

TOOLS = {
    "Fill": bucket,
    "Brush": brush,
    "MBrush": mbrush,
    "Dropper": dropper,
    "Marker": marker,
    "Eraser": eraser,
    "Tap": tap,
}

PALETTES = {
    "PrevPal": lambda sw: pal_arrow(sw, False),
    "NextPal": lambda sw: pal_arrow(sw, True),
}
