"""Reads and writes the image files of the catalog build, standard library only.

Responsible only for file containers: 8-bit, non-interlaced PNGs in grey,
grey with alpha, RGB or RGBA (what the SVG renderer writes) and uncompressed
24-bit BMPs (what the picture tool extracts) are read into rows of RGB bytes;
pages are written as 8-bit grey PNGs with no timestamp or other varying
chunk, so the same pixels give the same file.
"""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}


class TRgbImage:
    """Width, height and one bytes object of RGB triples per row."""

    def __init__(self, Width, Height, Rows):
        self.Width = Width
        self.Height = Height
        self.Rows = Rows


def Paeth(Left, Up, UpLeft):
    Estimate = Left + Up - UpLeft
    DistLeft = abs(Estimate - Left)
    DistUp = abs(Estimate - Up)
    DistUpLeft = abs(Estimate - UpLeft)
    if DistLeft <= DistUp and DistLeft <= DistUpLeft:
        return Left
    return Up if DistUp <= DistUpLeft else UpLeft


def Unfilter(Kind, Row, Previous, Step):
    if Kind == 0:
        return Row
    Out = bytearray(Row)
    Count = len(Out)
    if Kind == 1:
        for I in range(Step, Count):
            Out[I] = (Out[I] + Out[I - Step]) & 255
    elif Kind == 2:
        for I in range(Count):
            Out[I] = (Out[I] + Previous[I]) & 255
    elif Kind == 3:
        for I in range(Count):
            Left = Out[I - Step] if I >= Step else 0
            Out[I] = (Out[I] + ((Left + Previous[I]) >> 1)) & 255
    elif Kind == 4:
        for I in range(Count):
            Left = Out[I - Step] if I >= Step else 0
            UpLeft = Previous[I - Step] if I >= Step else 0
            Out[I] = (Out[I] + Paeth(Left, Previous[I], UpLeft)) & 255
    else:
        raise ValueError("unknown PNG filter %d" % Kind)
    return bytes(Out)


def ReadPng(Path):
    """Reads a PNG and composes it over white into RGB rows."""
    with open(Path, "rb") as File:
        Data = File.read()
    if Data[:8] != SIGNATURE:
        raise ValueError("%s is not a PNG file" % Path)
    Offset = 8
    Compressed = bytearray()
    Header = None
    while Offset + 8 <= len(Data):
        Length, Kind = struct.unpack(">I4s", Data[Offset:Offset + 8])
        Body = Data[Offset + 8:Offset + 8 + Length]
        Offset += 12 + Length
        if Kind == b"IHDR":
            Header = struct.unpack(">IIBBBBB", Body)
        elif Kind == b"IDAT":
            Compressed += Body
        elif Kind == b"IEND":
            break
    if Header is None:
        raise ValueError("%s has no PNG header" % Path)
    Width, Height, Depth, ColourType, _, _, Interlace = Header
    if Depth != 8 or Interlace != 0 or ColourType not in CHANNELS:
        raise ValueError("%s: only 8-bit non-interlaced PNGs are read" % Path)
    Step = CHANNELS[ColourType]
    Stride = Width * Step
    Raw = zlib.decompress(bytes(Compressed))
    Previous = bytes(Stride)
    Rows = []
    for Y in range(Height):
        Start = Y * (Stride + 1)
        Row = Unfilter(Raw[Start], Raw[Start + 1:Start + 1 + Stride], Previous,
                       Step)
        Previous = Row
        Rows.append(ToRgb(Row, ColourType))
    return TRgbImage(Width, Height, Rows)


def ReadBmp(Path):
    """Reads an uncompressed 24-bit BMP, bottom-up or top-down."""
    with open(Path, "rb") as File:
        Data = File.read()
    if Data[:2] != b"BM" or len(Data) < 54:
        raise ValueError("%s is not a BMP file" % Path)
    Offset = struct.unpack("<I", Data[10:14])[0]
    Width, Height, _, Bits, Compression = struct.unpack("<iiHHI", Data[18:34])
    if Bits != 24 or Compression != 0 or Width <= 0 or Height == 0:
        raise ValueError("%s: only uncompressed 24-bit BMPs are read" % Path)
    Stride = (Width * 3 + 3) // 4 * 4
    Rows = []
    for Y in range(abs(Height)):
        Line = Height - 1 - Y if Height > 0 else Y
        Start = Offset + Line * Stride
        Bgr = Data[Start:Start + Width * 3]
        if len(Bgr) != Width * 3:
            raise ValueError("%s is truncated" % Path)
        Rgb = bytearray(Bgr)
        Rgb[0::3], Rgb[2::3] = Bgr[2::3], Bgr[0::3]
        Rows.append(bytes(Rgb))
    return TRgbImage(Width, abs(Height), Rows)


def ToRgb(Row, ColourType):
    if ColourType == 2:
        return bytes(Row)
    if ColourType == 0:
        return bytes(V for V in Row for _ in range(3))
    Step = CHANNELS[ColourType]
    Out = bytearray()
    for I in range(0, len(Row), Step):
        Alpha = Row[I + Step - 1]
        for C in range(3 if ColourType == 6 else 1):
            Value = Row[I + C]
            Blended = (Value * Alpha + 255 * (255 - Alpha) + 127) // 255
            Out.extend((Blended,) if ColourType == 6 else (Blended,) * 3)
    return bytes(Out)


def Chunk(Kind, Body):
    return (struct.pack(">I", len(Body)) + Kind + Body
            + struct.pack(">I", zlib.crc32(Kind + Body) & 0xFFFFFFFF))


def WriteGreyPng(Path, Width, Height, Rows):
    """Writes rows of grey bytes (0 black, 255 white) as an 8-bit grey PNG."""
    Raw = b"".join(b"\x00" + bytes(Row) for Row in Rows)
    Header = struct.pack(">IIBBBBB", Width, Height, 8, 0, 0, 0, 0)
    with open(Path, "wb") as File:
        File.write(SIGNATURE + Chunk(b"IHDR", Header)
                   + Chunk(b"IDAT", zlib.compress(Raw, 9)) + Chunk(b"IEND", b""))
