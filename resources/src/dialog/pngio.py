"""Reads a rendered RGBA picture through ImageMagick and writes plain PNG files
byte for byte the same on every run (no time or text chunks)."""

import struct
import subprocess
import zlib


def read_rgba(path):
    """(width, height, bytes of RGBA rows) of any picture ImageMagick reads."""
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          capture_output=True, text=True).stdout.split()
    w, h = int(size[0]), int(size[1])
    data = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], check=True,
                          capture_output=True).stdout
    if len(data) != w * h * 4:
        raise SystemExit(f"{path}: expected {w}x{h} RGBA, got {len(data)} bytes")
    return w, h, data


def _chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def write_png(path, w, h, colour_type, depth, rows):
    """rows: one bytes object per row, already packed for the depth."""
    raw = b"".join(b"\0" + r for r in rows)
    png = (b"\x89PNG\r\n\x1a\n"
           + _chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, colour_type, 0, 0, 0))
           + _chunk(b"IDAT", zlib.compress(raw, 9))
           + _chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def write_rgb(path, w, h, pixels):
    """pixels: w*h (r, g, b) tuples, row by row."""
    rows = [bytes(v for p in pixels[y * w:(y + 1) * w] for v in p) for y in range(h)]
    write_png(path, w, h, 2, 8, rows)


def write_bilevel(path, w, h, white):
    """white: w*h booleans, row by row; written as 1-bit greyscale."""
    rows = []
    for y in range(h):
        bits = white[y * w:(y + 1) * w]
        row = bytearray((w + 7) // 8)
        for x, on in enumerate(bits):
            if on:
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    write_png(path, w, h, 0, 1, rows)
