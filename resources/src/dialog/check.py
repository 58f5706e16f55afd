"""Checks the rendered artwork in resources/art.

Pointers: colour and mask sizes match, the colour picture is black wherever
the mask is white, the hot spot is an opaque pixel, and each colour point lies
inside one flat area (4-connected, one exact colour) of at least 30 pixels, as
the recolouring flood fill needs, with no pixel of that colour elsewhere that
the fill would leave behind.
Nine-slice art: the repeated edge strips are uniform along their length and
the centre is flat, so the repeats join without seams.

Usage: check.py [--scale 2] [ART_FOLDER]   (exit status 1 on any failure)
With --scale 2 it checks the 2x set (resources/art/2x by default), whose
sizes, hot spots, colour points and margins are twice the design numbers.
"""

import os
import sys

from cursors import TABLE
from pngio import read_rgba

MIN_AREA = 30


def flat_area(pixels, w, h, start):
    """Pixels 4-connected to start that have exactly its colour."""
    colour = pixels[start[1] * w + start[0]]
    seen, todo = {start}, [start]
    while todo:
        x, y = todo.pop()
        for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= n[0] < w and 0 <= n[1] < h and n not in seen and pixels[n[1] * w + n[0]] == colour:
                seen.add(n)
                todo.append(n)
    return seen


def seamless(path, left, right, top, bottom):
    """Where the middle column or middle row of nine-slice art is not uniform."""
    w, h, data = read_rgba(path)

    def px(x, y):
        return data[4 * (y * w + x):4 * (y * w + x) + 4]
    rows = [(x, y) for y in range(h) for x in range(left, w - right) if px(x, y) != px(left, y)]
    cols = [(x, y) for x in range(w) for y in range(top, h - bottom) if px(x, y) != px(x, top)]
    return rows + cols


def main():
    args = sys.argv[1:]
    scale = 1
    if args[:1] == ["--scale"]:
        scale = int(args[1])
        args = args[2:]
    art = args[0] if args else os.path.join(os.path.dirname(__file__), "..", "..", "art",
                                            *(["2x"] if scale == 2 else []))
    failures = []
    for name, (design_hot, design_point) in TABLE.items():
        hot = (design_hot[0] * scale, design_hot[1] * scale)
        point = design_point and (design_point[0] * scale, design_point[1] * scale)
        cw, ch, cdata = read_rgba(os.path.join(art, name + "C.png"))
        mw, mh, mdata = read_rgba(os.path.join(art, name + "M.png"))
        if (cw, ch) != (mw, mh) or (cw, ch) != (64 * scale, 64 * scale):
            failures.append(f"{name}: colour {cw}x{ch}, mask {mw}x{mh}")
            continue
        colour = [tuple(cdata[4 * i:4 * i + 3]) for i in range(cw * ch)]
        opaque = [mdata[4 * i] < 128 for i in range(mw * mh)]
        stray = sum(1 for c, o in zip(colour, opaque) if not o and c != (0, 0, 0))
        if stray:
            failures.append(f"{name}: {stray} non-black colour pixels under a white mask")
        if not opaque[hot[1] * cw + hot[0]]:
            failures.append(f"{name}: hot spot {hot} is transparent")
        note = ""
        if point:
            area = flat_area(colour, cw, ch, point)
            inside = all(opaque[y * cw + x] for x, y in area)
            note = f", colour point {point}: {len(area)} px of #%02X%02X%02X" % colour[point[1] * cw + point[0]]
            if len(area) < MIN_AREA * scale * scale or not inside:
                failures.append(f"{name}: colour point area {len(area)} px, all opaque {inside}")
            paint = colour[point[1] * cw + point[0]]
            left = sum(1 for i, c in enumerate(colour) if c == paint and (i % cw, i // cw) not in area)
            if left:
                failures.append(f"{name}: {left} pixels of the paint colour lie outside the area and would not be recoloured")
        print(f"{name}: {cw}x{ch}, hot spot {hot}{note}")
    for name, margins in (("dialog.jpg", (8, 8, 8, 8)), ("grpBlue.png", (4, 4, 13, 4))):
        seams = seamless(os.path.join(art, name), *(m * scale for m in margins))
        print(f"{name}: {'seamless' if not seams else 'seams at %s' % seams[:4]}")
        if seams:
            failures.append(f"{name}: not seamless")
    for f in failures:
        print("FAIL", f)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
