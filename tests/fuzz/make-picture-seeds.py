#!/usr/bin/env python3
"""Writes the seed corpus of the picture-file fuzzer: small .twf picture files
of every format version, built around the GIF seeds of the image-reader
fuzzer (grad.gif, grad-interlaced.gif, checker.gif; their pixel rules are in
make-seeds.sh). The scrambling is written out here on its own, from the
format's description, so the core tests that load these files also check
the program's stream against a second implementation.
Run it again only when the set of seeds should change; the files are kept in
the repository.
  tests/fuzz/make-picture-seeds.py [OUTPUT_FOLDER]
"""
import os
import struct
import sys

# Must match pictures/QCFileStreamU.h; they never change.
INITIAL_STATE, MULTIPLIER, MODULUS, ADDEND = 0x5A, 7, 251, 13


def scramble(plain):
    state = INITIAL_STATE
    out = bytearray()
    for p in plain:
        c = p ^ state
        out.append(c)
        state = (c * MULTIPLIER % MODULUS + ADDEND) & 0xFF
    return bytes(out)


def short_str(text):
    assert len(text) <= 255
    return bytes([len(text)]) + text


def long_str(text):
    assert len(text) <= 65535
    return struct.pack("<H", len(text)) + text


def entry(version, language, title, author, description):
    head = short_str(language) if version >= 3 else b""
    return head + short_str(title) + short_str(author) + long_str(description)


def picture(version, entries, gif, size=None):
    out = b"TWF\0" + bytes([version])
    if version >= 3:
        out += bytes([len(entries)])
    else:
        assert len(entries) == 1
    for e in entries:
        out += entry(version, *e)
    if version >= 2:
        height, width = size
        out += struct.pack("<hh", height, width)
    return out + gif


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "seeds-pictures")
    os.makedirs(out_dir, exist_ok=True)

    def gif(name):
        with open(os.path.join(here, "seeds", name), "rb") as f:
            return f.read()

    long_description = bytes(ord("a") + i % 26 for i in range(300))
    seeds = {
        "grad-v0.twf": picture(0, [(b"", b"Caf\xe9", b"\x80 Ann", b"Old single-byte texts")],
                               gif("grad.gif")),
        "grad-v1.twf": picture(1, [(b"", b"Gradient", b"", b"")], gif("grad.gif")),
        "grad-v2.twf": picture(2, [(b"", b"Interlaced", b"Bob", b"Stored size")],
                               gif("grad-interlaced.gif"), (8, 16)),
        "checker-v3.twf": picture(3, [(b"en_us", b"Checker", b"Ann", b"A checker board"),
                                      (b"de_de", b"Schachbrett", b"Anna", b"Ein Brett")],
                                  gif("checker.gif"), (8, 16)),
        "checker-v3-none.twf": picture(3, [], gif("checker.gif"), (8, 16)),
        "checker-v7.twf": picture(7, [(b"en_us", b"Caf\xc3\xa9", b"", long_description)],
                                  gif("checker.gif"), (99, 77)),
    }
    for name, plain in seeds.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(scramble(plain))


if __name__ == "__main__":
    main()
