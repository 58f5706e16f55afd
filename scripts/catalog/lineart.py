#!/usr/bin/python3
"""Turns one clip-art SVG into a cropped colouring page, and checks pages.

Usage:
  lineart.py prepare METHOD SOURCE.svg OUT.png [KEEP.svg]
  lineart.py check PAGE.bmp

prepare: METHOD is "vec" (light shapes become white with a thick black
outline, near-black shapes stay black), "thr" (only near-black paint stays) or
"edge" (lines are traced along colour boundaries). The drawing is rendered
twice: once to find where it lies on its page, then zoomed so that it is about
SIZE pixels on its long side, and cropped with a small margin. The grey
result still has its smooth edges: the picture tool thresholds it.

check: the finished page must be pure black and white, and the paper around
the drawing must not reach into its shapes: enough of the paper has to lie in
closed areas. Exit status 3 means the page failed.
"""

import os
import subprocess
import sys
import tempfile

import imagefiles
import raster
import svgrewrite

SIZE = 1200
MARGIN = 10
OUTLINE_PX = 7.0
LINE_PX = 5.0
EDGE_RADIUS = 3
OUTSIDE_PAGE = 0.25
# A good page keeps at least this share of its paper in closed areas.
MIN_INSIDE_SHARE = 0.15
MIN_REGIONS = 3


def Render(Source, Method, Box, Scale, Folder, Name, KeepSvg=None):
    """Rewrites Source for Method, shows Box at Scale pixels per unit."""
    Rewriter = svgrewrite.TRewriter(Source)
    Rewriter.Rewrite(Method, Scale, OUTLINE_PX, LINE_PX)
    Width = max(1, int(round(Box[2] * Scale)))
    Height = max(1, int(round(Box[3] * Scale)))
    Rewriter.SetPage(Box, Width, Height)
    Svg = os.path.join(Folder, Name + ".svg")
    Png = os.path.join(Folder, Name + ".png")
    Rewriter.Write(Svg)
    if KeepSvg:
        Rewriter.Write(KeepSvg)
    subprocess.run(["rsvg-convert", "-b", "white", "-o", Png, Svg], check=True)
    return imagefiles.ReadPng(Png)


def Prepare(Method, Source, Output, KeepSvg=None):
    X, Y, W, H = svgrewrite.TRewriter(Source).PageBox()
    # Some drawings reach past their page; look a little beyond it.
    Grow = OUTSIDE_PAGE * max(W, H)
    Page = (X - Grow, Y - Grow, W + 2 * Grow, H + 2 * Grow)
    with tempfile.TemporaryDirectory(prefix="tintwell-catalog-") as Folder:
        Scale = (SIZE / 2) / max(Page[2], Page[3])
        First = Render(Source, Method, Page, Scale, Folder, "first")
        Found = raster.NonWhiteBox(First)
        if Found is None:
            raise SystemExit("%s: nothing is drawn" % Source)
        X0, Y0, X1, Y1 = Found
        Slack = 2.0
        Box = (Page[0] + (X0 - Slack) / Scale, Page[1] + (Y0 - Slack) / Scale,
               (X1 - X0 + 2 * Slack) / Scale, (Y1 - Y0 + 2 * Slack) / Scale)
        Scale = (SIZE - 2 * MARGIN) / max(Box[2], Box[3])
        Pad = 3 * OUTLINE_PX / Scale
        Box = (Box[0] - Pad, Box[1] - Pad, Box[2] + 2 * Pad, Box[3] + 2 * Pad)
        Final = Render(Source, Method, Box, Scale, Folder, "final", KeepSvg)
    if Method == "edge":
        Rows = raster.MaskRows(raster.TraceEdges(Final, EDGE_RADIUS))
    else:
        Rows = raster.GreyRows(Final)
    Drawn = raster.BlackBox(raster.Threshold(Rows, Final.Width))
    if Drawn is None:
        raise SystemExit("%s: nothing is left after the conversion" % Source)
    Rows = raster.Crop(Rows, Drawn, MARGIN)
    imagefiles.WriteGreyPng(Output, len(Rows[0]), len(Rows), Rows)
    return 0


def Check(Page):
    Image = imagefiles.ReadBmp(Page)
    Name = os.path.basename(Page)
    Mask = raster.PureMask(Image)
    if Mask is None:
        print("FAIL %s: not pure black and white" % Name)
        return 3
    Passed, Text = raster.Assess(Mask, MIN_INSIDE_SHARE, MIN_REGIONS)
    print("%s %s: %s" % ("ok  " if Passed else "FAIL", Name, Text))
    return 0 if Passed else 3


def Main(Args):
    if Args[:1] == ["check"] and len(Args) == 2:
        return Check(Args[1])
    if (Args[:1] == ["prepare"] and len(Args) in (4, 5)
            and Args[1] in ("vec", "thr", "edge")):
        return Prepare(*Args[1:])
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(Main(sys.argv[1:]))
