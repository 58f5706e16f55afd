"""Pixel steps of the line-art conversion on black-and-white masks.

Responsible for turning a rendered RGB image into a mask (1 = black line,
0 = white paper) by a plain threshold or by tracing colour boundaries,
finding and cropping to the drawing, and measuring how well the drawing's
closed areas hold a fill: a fill of the paper around the drawing must not run
into the shapes.
"""

from collections import deque

THRESHOLD = 128
# Colour difference (sum over R, G, B) that counts as a boundary when tracing.
EDGE_STEP = 90
SPECK = 150


class TMask:
    """Width, height and a flat bytearray, 1 for black, row by row."""

    def __init__(self, Width, Height, Bits=None):
        self.Width = Width
        self.Height = Height
        self.Bits = Bits if Bits is not None else bytearray(Width * Height)


def Luma(R, G, B):
    return (299 * R + 587 * G + 114 * B) // 1000


def GreyRows(Image):
    """The luminance of every pixel, one bytes object per row."""
    return [bytes(Luma(Row[I], Row[I + 1], Row[I + 2])
                  for I in range(0, len(Row), 3)) for Row in Image.Rows]


def Threshold(Rows, Width):
    """Black where the grey value is below THRESHOLD."""
    Mask = TMask(Width, len(Rows))
    Black = bytes(1 if V < THRESHOLD else 0 for V in range(256))
    for Y, Row in enumerate(Rows):
        Mask.Bits[Y * Width:(Y + 1) * Width] = Row.translate(Black)
    return Mask


def PureMask(Image):
    """The mask of a pure black-and-white image, or None if other colours occur."""
    Mask = TMask(Image.Width, Image.Height)
    for Y, Row in enumerate(Image.Rows):
        if Row.translate(None, b"\x00\xff"):
            return None
        Grey = Row[0::3]
        if Grey != Row[1::3] or Grey != Row[2::3]:
            return None
        Mask.Bits[Y * Image.Width:(Y + 1) * Image.Width] = Grey.translate(
            bytes.maketrans(b"\x00\xff", b"\x01\x00"))
    return Mask


def NonWhiteBox(Image):
    """Bounding box (x0, y0, x1, y1) of pixels not near white, or None."""
    X0, Y0, X1, Y1 = Image.Width, Image.Height, -1, -1
    for Y, Row in enumerate(Image.Rows):
        Dark = [I // 3 for I in range(len(Row)) if Row[I] < 245]
        if Dark:
            X0, X1 = min(X0, Dark[0]), max(X1, Dark[-1])
            Y0, Y1 = min(Y0, Y), Y
    return None if X1 < 0 else (X0, Y0, X1 + 1, Y1 + 1)


def TraceEdges(Image, Radius):
    """Lines along colour boundaries, Radius pixels each side, plus dark areas."""
    Width, Height = Image.Width, Image.Height
    RowMasks = []
    for Y, Row in enumerate(Image.Rows):
        Below = Image.Rows[Y + 1] if Y + 1 < Height else Row
        Bits = 0
        for X in range(Width):
            I = 3 * X
            R, G, B = Row[I], Row[I + 1], Row[I + 2]
            if Luma(R, G, B) < 60:
                Bits |= 1 << X
                continue
            if X + 1 < Width and (abs(R - Row[I + 3]) + abs(G - Row[I + 4])
                                  + abs(B - Row[I + 5])) > EDGE_STEP:
                Bits |= 1 << X
            elif (abs(R - Below[I]) + abs(G - Below[I + 1])
                  + abs(B - Below[I + 2])) > EDGE_STEP:
                Bits |= 1 << X
        RowMasks.append(Bits)
    Wide = []
    for Bits in RowMasks:
        Grown = Bits
        for Shift in range(1, Radius + 1):
            Grown |= (Bits << Shift) | (Bits >> Shift)
        Wide.append(Grown & ((1 << Width) - 1))
    Mask = TMask(Width, Height)
    for Y in range(Height):
        Bits = 0
        for Near in range(max(0, Y - Radius), min(Height, Y + Radius + 1)):
            Bits |= Wide[Near]
        Text = bin(Bits)[2:].zfill(Width)[::-1]
        Mask.Bits[Y * Width:(Y + 1) * Width] = Text.encode().translate(
            bytes.maketrans(b"01", b"\x00\x01"))
    return Mask


def BlackBox(Mask):
    X0, Y0, X1, Y1 = Mask.Width, Mask.Height, -1, -1
    W = Mask.Width
    for Y in range(Mask.Height):
        Row = Mask.Bits[Y * W:(Y + 1) * W]
        First = Row.find(1)
        if First >= 0:
            X0, X1 = min(X0, First), max(X1, Row.rfind(1))
            Y0, Y1 = min(Y0, Y), Y
    return None if X1 < 0 else (X0, Y0, X1 + 1, Y1 + 1)


def Crop(Rows, Box, Margin):
    """Grey rows of Box with Margin white pixels added on every side."""
    X0, Y0, X1, Y1 = Box
    Blank = b"\xff" * (X1 - X0 + 2 * Margin)
    Side = b"\xff" * Margin
    return ([Blank] * Margin + [Side + Rows[Y][X0:X1] + Side
                                for Y in range(Y0, Y1)] + [Blank] * Margin)


def MaskRows(Mask):
    """Grey rows of a mask: 0 for black, 255 for white."""
    W = Mask.Width
    Table = bytes.maketrans(b"\x00\x01", b"\xff\x00")
    return [bytes(Mask.Bits[Y * W:(Y + 1) * W]).translate(Table)
            for Y in range(Mask.Height)]


def WhiteRegions(Mask):
    """Sizes of the 4-connected white regions; the first is the outside one.

    The outside region is everything white reachable from the border."""
    W, H = Mask.Width, Mask.Height
    Seen = bytearray(Mask.Bits)
    Sizes = []

    def Fill(Seeds):
        Queue = deque(Seeds)
        for P in Seeds:
            Seen[P] = 1
        Count = 0
        while Queue:
            P = Queue.popleft()
            Count += 1
            X = P % W
            for Q in ((P - 1) if X > 0 else -1, (P + 1) if X + 1 < W else -1,
                      P - W, P + W):
                if 0 <= Q < W * H and not Seen[Q]:
                    Seen[Q] = 1
                    Queue.append(Q)
        return Count

    Border = [X for X in range(W)] + [(H - 1) * W + X for X in range(W)]
    Border += [Y * W for Y in range(1, H - 1)] + [Y * W + W - 1
                                                  for Y in range(1, H - 1)]
    Sizes.append(Fill([P for P in sorted(set(Border)) if not Seen[P]]))
    Start = 0
    while True:
        Start = Seen.find(0, Start)
        if Start < 0:
            break
        Sizes.append(Fill([Start]))
    return Sizes


def Assess(Mask, MinInsideShare, MinRegions):
    """(passed, text): does the drawing hold closed areas that a fill keeps?"""
    Sizes = WhiteRegions(Mask)
    Outside = Sizes[0]
    Inside = [S for S in Sizes[1:] if S >= SPECK]
    White = Outside + sum(Sizes[1:])
    Share = sum(Inside) / White if White else 0.0
    Black = sum(Mask.Bits) / (Mask.Width * Mask.Height)
    Passed = Share >= MinInsideShare and len(Inside) >= MinRegions
    Text = ("%dx%d black %.0f%% closed areas %d holding %.0f%% of the paper"
            % (Mask.Width, Mask.Height, 100 * Black, len(Inside), 100 * Share))
    return Passed, Text
