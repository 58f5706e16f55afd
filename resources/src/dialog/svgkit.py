"""Shared palette and small SVG helpers for the dialog artwork generators."""

INK = "#3B3355"
SKY = "#4FA3E0"
SKY_L = "#BFE3FA"
SUN = "#FFD23F"
GRASS = "#5CC25C"
GRASS_D = "#3E9E45"
TOMATO = "#F25C54"
TOMATO_D = "#C9403A"
TANGERINE = "#FF9F43"
GRAPE = "#9B6BD6"
CREAM = "#FFF8E7"
PAPER = "#FFFFFF"


def _rgb(c):
    c = c.lstrip("#")
    return [int(c[i:i + 2], 16) for i in (0, 2, 4)]


def mix(a, b, t):
    """Colour a moved a fraction t of the way towards colour b."""
    pa, pb = _rgb(a), _rgb(b)
    return "#%02X%02X%02X" % tuple(round(x + (y - x) * t) for x, y in zip(pa, pb))


def lighter(c, t=0.18):
    return mix(c, PAPER, t)


def darker(c, t=0.18):
    return mix(c, INK, t)


def svg(w, h, body, defs="", crisp=False):
    rendering = ' shape-rendering="crispEdges"' if crisp else ""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}"{rendering}>\n<defs>{defs}</defs>\n{body}\n</svg>\n')


def blur_filter(fid, sd):
    return (f'<filter id="{fid}" x="-50%" y="-50%" width="200%" height="200%">'
            f'<feGaussianBlur stdDeviation="{sd}"/></filter>')


def vgrad(gid, stops):
    """A top-to-bottom gradient; stops are (offset, colour) pairs."""
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<linearGradient id="{gid}" x1="0" y1="0" x2="0" y2="1">{s}</linearGradient>'


def hgrad(gid, stops):
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<linearGradient id="{gid}" x1="0" y1="0" x2="1" y2="0">{s}</linearGradient>'
