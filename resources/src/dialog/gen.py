"""Writes every SVG source of the dialog artwork set into the folder given,
with list.txt naming each picture and how make.sh finishes it."""

import os
import sys

import cursors
import widgets


def main():
    out = sys.argv[1]
    rows = []
    for name, kind, text in widgets.sources() + cursors.sources():
        with open(os.path.join(out, name + ".svg"), "w") as f:
            f.write(text)
        rows.append(f"{name} {kind}\n")
    with open(os.path.join(out, "list.txt"), "w") as f:
        f.writelines(rows)


if __name__ == "__main__":
    main()
