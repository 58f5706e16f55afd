"""Writes the SVG sources of the main window's artwork into a folder.

Usage: draw.py OUTDIR

Besides one SVG per picture it writes OUTDIR/list.txt with one line per
picture, "name extension width height", which make.sh renders into
resources/art/.

The window background "main" is cut into nine parts by the program with
the margins 144 (left), 29 (right), 64 (top) and 64 (bottom); the edges and
the middle are repeated when the window is larger. Everything that is not
flat along the direction in which a part repeats (rounded corners, the
frame's curves) therefore lies inside the four corner parts.
"""

import os
import sys

import glyphs
from svgkit import (BAND, BAND_LIGHT, DOWN, GRAPE, GRASS, HOVER, INK, NORMAL, PAPER, SHEET,
                    SKY, SKY_LIGHT, SUN, TANGERINE, TOMATO, TOMATO_DARK, fitted, group,
                    rrect, svg, tile)

MAIN_W, MAIN_H = 240, 198
LEFT, RIGHT, TOP, BOTTOM = 144, 29, 64, 64
# The painting area of the 772 x 560 window is (144, 64)-(752, 496); its
# right edge lies 9 pixels inside the right margin. Seen from the art, the
# area spans (LEFT, TOP)-(MAIN_W - 20, MAIN_H - BOTTOM).
AREA = (LEFT, TOP, MAIN_W - 20, MAIN_H - BOTTOM)
# The cream mat shows this far around the painting area, inside its outline.
MAT = 4
FRAME = 3

TITLE_W, TITLE_H = 296, 50


def main_background():
    x0, y0, x1, y1 = AREA
    m = MAT + 2
    body = [
        rrect(0, 0, MAIN_W, MAIN_H, 0, fill=INK),
        rrect(FRAME, FRAME, MAIN_W - 2 * FRAME, MAIN_H - 2 * FRAME, 8, fill=BAND),
        rrect(FRAME + 1.75, FRAME + 1.75, MAIN_W - 2 * FRAME - 3.5, MAIN_H - 2 * FRAME - 3.5, 6.5,
              stroke=BAND_LIGHT, sw=1.5),
        rrect(x0 - m, y0 - m, x1 - x0 + 2 * m, y1 - y0 + 2 * m, m, fill=SHEET),
        rrect(x0 - m + 1, y0 - m + 1, x1 - x0 + 2 * m - 2, y1 - y0 + 2 * m - 2, m - 1,
              stroke=INK, sw=2),
    ]
    return svg(MAIN_W, MAIN_H, "\n".join(body))


def title():
    """The title art: the program's name and a plate for the picture's title.

    The window shows the open picture's title in black on the plate, from
    (15, 28) of this picture on, 20 pixels high.
    """
    letters = "Tintwell"
    colours = [TOMATO, TANGERINE, SUN, GRASS, SKY, GRAPE, TOMATO, TANGERINE]
    spans = "".join(f'<tspan fill="{c}">{ch}</tspan>' for ch, c in zip(letters, colours))
    name = (f'<text x="13" y="23" font-family="Andika" font-weight="bold" font-size="29" '
            f'stroke="{INK}" stroke-width="4" stroke-linejoin="round" paint-order="stroke" '
            f'letter-spacing="0.5">{spans}</text>')
    swoosh = ""
    for i, c in enumerate((TOMATO, SUN, SKY)):
        y = 10 + i * 4.5
        swoosh += (f'<path d="M148 {y + 5}C172 {y - 4} 194 {y + 9} 218 {y + 1}S242 {y + 2} 253 {y + 4}" '
                   f'fill="none" stroke="{c}" stroke-width="4" stroke-linecap="round"/>')
    swoosh_ink = ""
    for i in range(3):
        y = 10 + i * 4.5
        swoosh_ink += (f'<path d="M148 {y + 5}C172 {y - 4} 194 {y + 9} 218 {y + 1}S242 {y + 2} 253 {y + 4}" '
                       f'fill="none" stroke="{INK}" stroke-width="8" stroke-linecap="round"/>')
    brush = group(glyphs.brush_shape(7, TOMATO), "translate(250 15) scale(0.36) rotate(40) translate(-14 -88)")
    body = [
        rrect(0, 0, TITLE_W, TITLE_H, 0, fill=BAND),
        rrect(7, 24, TITLE_W - 9, 25, 10, fill=INK),
        rrect(9, 26, TITLE_W - 13, 21, 8, fill=PAPER),
        rrect(11, 27, TITLE_W - 17, 7, 4, fill=SKY_LIGHT, extra='opacity="0.45"'),
        swoosh_ink, swoosh, brush, name,
    ]
    return svg(TITLE_W, TITLE_H, "\n".join(body))


def command_button(glyph, state, width=40, height=40, radius=9):
    def draw(box):
        k = 100 / min(box[2], box[3])
        return fitted(box, 100, glyph(2 * k * 0.85))
    return tile(width, height, state, draw, radius=radius)


def palette_button(glyph, state):
    def draw(box):
        x, y, w, h = box
        k = min(w / 144, h / 100)
        ox, oy = x + (w - 144 * k) / 2, y + (h - 100 * k) / 2
        return group(glyph(2 / k * 0.85), f"translate({ox:g} {oy:g}) scale({k:g})")
    return tile(48, 36, state, draw)


WINDOW_FILL = {
    "Close": (TOMATO, "#FF7A72", TOMATO_DARK),
    "Restore": (SKY, "#74B9EA", "#3A86C0"),
    "Min": (SUN, "#FFE070", "#E0B020"),
}


def window_button(name, state):
    """The small close, maximise and minimise buttons at the top right."""
    width, height = 18, 9 if name == "Min" else 18
    face = WINDOW_FILL[name][state]
    shift = 1 if state == DOWN else 0
    h = height - 2 - shift
    parts = [rrect(0, 0, width, height, 0, fill=BAND)]
    parts.append(rrect(1, 1 + shift, 16, h, 4 if height > 9 else 3.5, fill=face))
    if state == DOWN:
        parts.append(rrect(2, 2 + shift, 14, 2, 1, fill=INK, extra='opacity="0.35"'))
    elif height > 9:
        parts.append(rrect(3, 2.5 + shift, 12, 5, 2.5, fill=PAPER, extra='opacity="0.35"'))
    parts.append(rrect(1.75, 1.75 + shift, 14.5, h - 1.5, 3.25 if height > 9 else 2.75,
                       stroke=INK, sw=1.5))
    cy = 1 + shift + h / 2
    line = f'stroke="{PAPER}" stroke-width="2.5" stroke-linecap="round" fill="none"'
    if name == "Close":
        parts.append(f'<path d="M6 {cy - 3}L12 {cy + 3}M12 {cy - 3}L6 {cy + 3}" {line}/>')
    elif name == "Restore":
        parts.append(rrect(5.5, cy - 3.5, 7, 7, 1, stroke=PAPER, sw=2))
        parts.append(rrect(5.5, cy - 3.5, 7, 2.5, 0.5, fill=PAPER))
    else:
        parts.append(f'<path d="M6 {cy:g}H12" {line}/>')
    return svg(width, height, "\n".join(parts))


def size_track():
    """The brush-size slider's track: a wedge from a thin line to a thick one."""
    d = "M5 7.5L117 2.5A6.5 6.5 0 0 1 117 15.5L5 10.5A1.5 1.5 0 0 1 5 7.5Z"
    grad = ('<linearGradient id="wedge" x1="0" y1="0" x2="1" y2="0">'
            f'<stop offset="0" stop-color="{PAPER}"/><stop offset="1" stop-color="{SKY_LIGHT}"/>'
            '</linearGradient>')
    body = [
        f'<path d="{d}" fill="url(#wedge)" stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>',
        f'<path d="M12 7.6L114 4.6" stroke="{PAPER}" stroke-width="1.2" stroke-linecap="round" opacity="0.8"/>',
    ]
    return svg(126, 18, "\n".join(body), grad)


def size_thumb():
    body = [
        rrect(1, 1, 12, 16, 5, fill=SUN, stroke=INK, sw=2),
        rrect(3, 3, 8, 5, 2.5, fill=PAPER, extra='opacity="0.55"'),
        f'<path d="M5 10.5H9M5 13H9" stroke="{INK}" stroke-width="1.2" stroke-linecap="round" opacity="0.7"/>',
    ]
    return svg(14, 18, "\n".join(body))


def pictures():
    """Yields (name, extension, width, height, svg text) for every picture."""
    yield "main", "jpg", MAIN_W, MAIN_H, main_background()
    yield "title", "jpg", TITLE_W, TITLE_H, title()
    for name in ("Close", "Restore", "Min"):
        for state in (NORMAL, HOVER, DOWN):
            h = 9 if name == "Min" else 18
            yield f"{name}{state}", "jpg", 18, h, window_button(name, state)
    for name, glyph in glyphs.COMMANDS.items():
        for state in (NORMAL, HOVER, DOWN):
            yield f"{name}{state}", "jpg", 40, 40, command_button(glyph, state)
    for name, glyph in glyphs.PALETTES.items():
        for state in (NORMAL, HOVER, DOWN):
            yield f"{name}{state}", "jpg", 48, 36, palette_button(glyph, state)
    for name, glyph in glyphs.TOOLS.items():
        for state in (NORMAL, HOVER, DOWN):
            yield f"{name}{state}", "jpg", 48, 48, command_button(glyph, state, 48, 48, 11)
    yield "sizeTrack", "png", 126, 18, size_track()
    yield "sizeThumb", "png", 14, 18, size_thumb()


def write_all(outdir):
    os.makedirs(outdir, exist_ok=True)
    lines = []
    for name, ext, w, h, text in pictures():
        with open(os.path.join(outdir, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(text)
        lines.append(f"{name} {ext} {w} {h}")
    with open(os.path.join(outdir, "list.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: draw.py OUTDIR")
    write_all(sys.argv[1])
