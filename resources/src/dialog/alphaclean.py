"""Copies an RGBA picture, making nearly clear pixels fully transparent.

Usage: alphaclean.py IN.png OUT.png
Pixels with alpha below 10 become (0, 0, 0, 0): where no compositor runs the
bubble's shape is taken from its alpha, so faint shadow tails must not count.
"""

import sys

from pngio import read_rgba, write_png

FAINT = 10


def main():
    w, h, data = read_rgba(sys.argv[1])
    out = bytearray(data)
    for i in range(0, len(out), 4):
        if out[i + 3] < FAINT:
            out[i:i + 4] = b"\0\0\0\0"
    write_png(sys.argv[2], w, h, 6, 8, [bytes(out[y * w * 4:(y + 1) * w * 4]) for y in range(h)])


if __name__ == "__main__":
    main()
