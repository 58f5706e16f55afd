"""Shared colours and SVG building blocks of the main window's artwork.

Every picture of the set is built from these pieces so that the buttons,
the window background and the slider share one palette, one outline width
and one way of showing the hover and down looks.
"""

INK = "#3B3355"
SKY = "#4FA3E0"
SKY_LIGHT = "#BFE3FA"
SUN = "#FFD23F"
GRASS = "#5CC25C"
GRASS_DARK = "#3E9E45"
TOMATO = "#F25C54"
TOMATO_DARK = "#C9403A"
TANGERINE = "#FF9F43"
GRAPE = "#9B6BD6"
CREAM = "#FFF8E7"
PAPER = "#FFFFFF"

# The flat colour of the window's bands (top, left, bottom and right).
# Every JPEG button sits on it, so each button picture is painted on the
# same colour and blends with the background behind it.
BAND = "#7CBDEA"
# A lighter line just inside the window's outer outline.
BAND_LIGHT = "#B4DBF5"
# The painting area's own background colour, so the hidden painting area
# and the mat around it look the same as the area itself.
SHEET = "#FDF5E8"

NORMAL, HOVER, DOWN = 0, 1, 2


def svg(width, height, body, defs=""):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="0 0 {width} {height}">\n<defs>{defs}</defs>\n{body}\n</svg>\n'
    )


def rrect(x, y, w, h, r, fill="none", stroke="none", sw=0, extra=""):
    return (
        f'<rect x="{x:g}" y="{y:g}" width="{w:g}" height="{h:g}" rx="{r:g}" '
        f'fill="{fill}" stroke="{stroke}" stroke-width="{sw:g}" {extra}/>'
    )


def group(body, transform="", extra=""):
    t = f' transform="{transform}"' if transform else ""
    return f"<g{t} {extra}>{body}</g>"


def tile_defs(uid):
    """Filters and gradients used by tile(); uid keeps ids unique per file."""
    return (
        f'<filter id="glow{uid}" x="-30%" y="-30%" width="160%" height="160%">'
        f'<feGaussianBlur stdDeviation="0.7"/></filter>'
        f'<filter id="inner{uid}" x="-20%" y="-20%" width="140%" height="140%">'
        f'<feGaussianBlur stdDeviation="1.6"/></filter>'
        f'<linearGradient id="gloss{uid}" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="#FFFFFF" stop-opacity="0.95"/>'
        f'<stop offset="1" stop-color="#FFFFFF" stop-opacity="0.25"/></linearGradient>'
    )


TILE_FILL = {NORMAL: CREAM, HOVER: "#FFFCEB", DOWN: "#F2CF6B"}


def tile(width, height, state, glyph, uid="t", inset=2, radius=9, fill=None):
    """A rounded button tile of the given state with a glyph drawn on it.

    glyph(box) returns the SVG of the glyph drawn into the square or
    rectangle box = (x, y, w, h) in pixels. The tile is painted on the
    band colour because the buttons are JPEG pictures without transparency.
    """
    face = fill[state] if fill else TILE_FILL[state]
    shift = 1 if state == DOWN else 0
    x, y = inset, inset + shift
    w, h = width - 2 * inset, height - 2 * inset - (1 if state == DOWN else 0)
    parts = [rrect(0, 0, width, height, 0, fill=BAND)]
    if state == HOVER:
        parts.append(
            rrect(x - 0.75, y - 0.75, w + 1.5, h + 1.5, radius + 0.75, fill="#FFE680",
                  extra=f'filter="url(#glow{uid})"')
        )
    parts.append(rrect(x, y, w, h, radius, fill=face))
    clip = f'<clipPath id="clip{uid}">{rrect(x, y, w, h, radius, fill="#000")}</clipPath>'
    if state == DOWN:
        shade = rrect(x - 2, y - 1, w + 4, h + 3, radius + 2, stroke=INK, sw=4,
                      extra=f'filter="url(#inner{uid})" opacity="0.45"')
        parts.append(group(shade, extra=f'clip-path="url(#clip{uid})"'))
    else:
        gloss = rrect(x + 2, y + 2, w - 4, h * 0.45, radius - 2, fill=f"url(#gloss{uid})",
                      extra='opacity="0.8"')
        parts.append(gloss)
    parts.append(rrect(x + 1, y + 1, w - 2, h - 2, radius - 1, stroke=INK, sw=2))
    gx, gy = x + 4, y + 4
    parts.append(glyph((gx, gy, w - 8, h - 8)))
    return svg(width, height, "\n".join(parts), tile_defs(uid) + clip)


def fitted(box, size, body):
    """Places body, drawn in a size x size square, centred into box."""
    x, y, w, h = box
    k = min(w, h) / size
    ox = x + (w - size * k) / 2
    oy = y + (h - size * k) / 2
    return group(body, f"translate({ox:g} {oy:g}) scale({k:g})")
