"""Turns one rendered pointer picture into its colour picture and its mask.

Usage: cursorpix.py RENDERED.png COLOUR.png MASK.png
The mask is black where the pointer is opaque (alpha at least half) and white
elsewhere; the colour picture is 24-bit and black wherever the mask is white,
as the pointer maker expects.
"""

import sys

from pngio import read_rgba, write_bilevel, write_rgb


def main():
    src, colour_path, mask_path = sys.argv[1:4]
    w, h, data = read_rgba(src)
    colour, white = [], []
    for i in range(w * h):
        r, g, b, a = data[4 * i:4 * i + 4]
        opaque = a >= 128
        colour.append((r, g, b) if opaque else (0, 0, 0))
        white.append(not opaque)
    write_rgb(colour_path, w, h, colour)
    write_bilevel(mask_path, w, h, white)


if __name__ == "__main__":
    main()
