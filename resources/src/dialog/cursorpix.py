"""Turns one rendered pointer picture into its colour picture and its mask.

Usage: cursorpix.py RENDERED.png COLOUR.png MASK.png [SCALE]
The mask is black where the pointer is opaque (alpha at least half) and white
elsewhere; the colour picture is 24-bit and black wherever the mask is white,
as the pointer maker expects.

The program pours paint into the area 4-connected to the pointer's colour
point. A lone pixel of that area's colour elsewhere (smoothing at a corner
can leave one, at SCALE times the design size) would keep the old colour
after a pour, so it takes the colour of a neighbour outside the area.
"""

import os
import sys

from check import flat_area
from cursors import TABLE
from pngio import read_rgba, write_bilevel, write_rgb


def clear_strays(colour, opaque, w, h, point):
    """Gives every pixel of the colour point's colour outside its area the
    colour of its first 4-neighbour of another colour."""
    area = flat_area(colour, w, h, point)
    paint = colour[point[1] * w + point[0]]
    for i, c in enumerate(colour):
        x, y = i % w, i // w
        if c != paint or (x, y) in area:
            continue
        for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
            if 0 <= nx < w and 0 <= ny < h:
                other = colour[ny * w + nx]
                if other != paint and opaque[ny * w + nx]:
                    colour[i] = other
                    break


def main():
    src, colour_path, mask_path = sys.argv[1:4]
    scale = int(sys.argv[4]) if len(sys.argv) > 4 else 1
    w, h, data = read_rgba(src)
    colour, white = [], []
    for i in range(w * h):
        r, g, b, a = data[4 * i:4 * i + 4]
        opaque = a >= 128
        colour.append((r, g, b) if opaque else (0, 0, 0))
        white.append(not opaque)
    name = os.path.basename(colour_path)[:-len("C.png")]
    point = TABLE.get(name, (None, None))[1]
    if point:
        clear_strays(colour, [not t for t in white], w, h, (point[0] * scale, point[1] * scale))
    write_rgb(colour_path, w, h, colour)
    write_bilevel(mask_path, w, h, white)


if __name__ == "__main__":
    main()
