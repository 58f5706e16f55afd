"""Widens the gapless trim recorded in an MP3's LAME header.

  gapless.py FILE.mp3 EXTRA-START EXTRA-END

lame writes, in its Info frame, how many samples of encoder delay lead the
audio and how many samples of padding follow it; a gapless decoder drops
them. The looping music is encoded with a stretch of its own end in front
and of its own start behind, so that the encoder sees the loop's real
neighbours at both edges instead of silence (a jump from silence is what an
MP3 reproduces worst). This script adds those stretches to the recorded
delay and padding, so the decoder drops them too and returns exactly one
loop, and updates the header's checksum.
"""

import struct
import sys

# The LAME extension follows the Info tag's frame count, byte count, table
# of contents and quality fields (all present in what lame writes).
LameAfterTag = 4 + 4 + 4 + 4 + 100 + 4
DelayPaddingOffset = 21   # 12 bits of delay, 12 bits of padding
TagCrcOffset = 34         # CRC-16 of every byte of the frame before it
FieldLimit = (1 << 12) - 1


def Crc16(Data):
    """The CRC-16 lame puts in its header (polynomial 0x8005, reflected)."""
    Crc = 0
    for Byte in Data:
        Crc ^= Byte
        for _ in range(8):
            Crc = (Crc >> 1) ^ 0xA001 if Crc & 1 else Crc >> 1
    return Crc


def SideInfoSize(Header):
    """Bytes of layer III side information after a frame's 4-byte header."""
    Mpeg1 = (Header[1] >> 3) & 3 == 3
    Mono = (Header[3] >> 6) == 3
    if Mpeg1:
        return 17 if Mono else 32
    return 9 if Mono else 17


def WidenTrim(Data, ExtraStart, ExtraEnd):
    if len(Data) < 4 or Data[0] != 0xFF or (Data[1] & 0xE0) != 0xE0:
        raise SystemExit("gapless.py: the file does not start with an MP3 frame")
    Tag = 4 + SideInfoSize(Data)
    if Data[Tag:Tag + 4] not in (b"Info", b"Xing"):
        raise SystemExit("gapless.py: no Info frame (was it made by lame?)")
    Lame = Tag + LameAfterTag
    if Data[Lame:Lame + 4] != b"LAME":
        raise SystemExit("gapless.py: the Info frame has no LAME header")
    Crc = Lame + TagCrcOffset
    (Stored,) = struct.unpack(">H", Data[Crc:Crc + 2])
    if Stored != Crc16(Data[:Crc]):
        raise SystemExit("gapless.py: the LAME header's checksum does not match")
    Field = int.from_bytes(Data[Lame + DelayPaddingOffset:
                                Lame + DelayPaddingOffset + 3], "big")
    Delay = (Field >> 12) + ExtraStart
    Padding = (Field & FieldLimit) + ExtraEnd
    if Delay > FieldLimit or Padding > FieldLimit:
        raise SystemExit("gapless.py: delay %d or padding %d does not fit"
                         % (Delay, Padding))
    Out = bytearray(Data)
    Out[Lame + DelayPaddingOffset:Lame + DelayPaddingOffset + 3] = \
        ((Delay << 12) | Padding).to_bytes(3, "big")
    Out[Crc:Crc + 2] = struct.pack(">H", Crc16(Out[:Crc]))
    return bytes(Out)


def Main(Arguments):
    if len(Arguments) != 3:
        raise SystemExit(__doc__)
    FileName = Arguments[0]
    ExtraStart, ExtraEnd = int(Arguments[1]), int(Arguments[2])
    if ExtraStart < 0 or ExtraEnd < 0:
        raise SystemExit("gapless.py: the extra trims must not be negative")
    with open(FileName, "rb") as Stream:
        Data = Stream.read()
    Data = WidenTrim(Data, ExtraStart, ExtraEnd)
    with open(FileName, "wb") as Stream:
        Stream.write(Data)


if __name__ == "__main__":
    Main(sys.argv[1:])
