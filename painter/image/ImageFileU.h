// Reading and writing the picture files the painter deals with: decoding BMP,
// GIF, JPEG and PNG files into a 24-bit raster, encoding the two layers as
// BMP, GIF or JPEG, and writing a file so that a failure never leaves a
// partial file behind.
//
// Every failure is a tw::EError with a message for the user; damaged,
// truncated or hostile data never crashes and never allocates more than the
// largest picture the engine accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "painter/RasterU.h"

namespace tw {

enum class TImageFormat { Bmp, Gif, Jpeg, Png, Unknown };

// The format by the file content (its magic bytes), not by its name.
TImageFormat SniffImageFormat(const uint8_t* data, size_t size);

// Decodes a whole file held in memory. A GIF gives its first image placed at
// its offset on a white screen (the parts outside the screen are dropped, and
// an image whose decoding would cost more than 4 megapixels beyond the
// screen's own pixels is refused as damaged); a JPEG may be colour, grey or CMYK; a PNG may
// be of any type, its transparent parts shown over white; a BMP may hold 1,
// 4, 8, 16, 24 or 32 bits per pixel, uncompressed, stored bottom-up or
// top-down. Throws EError on empty, truncated, damaged or unsupported data,
// and on a picture size beyond CheckPictureSize (checked before the pixels
// are allocated).
TRaster24 DecodeImage(const uint8_t* data, size_t size);

// A picture with straight (not premultiplied) alpha: R, G, B, A bytes per
// pixel, rows packed top to bottom.
struct TRgbaImage {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;
};

// Decodes a PNG of any type keeping its transparency (an image without an
// alpha channel comes out opaque). Throws EError as DecodeImage does.
TRgbaImage DecodePngWithAlpha(const uint8_t* data, size_t size);

// Reads a file and decodes it; every message names the file. Anything but a
// regular file (a pipe, a device) is refused at once, never waited on.
TRaster24 ReadImageFile(const std::string& fileName);

// Hands out up to count bytes of a stream into buffer and returns how many it
// gave; 0 means the stream has ended. May throw; the exception reaches the
// caller of DecodeGif once the decoder has been released.
using TReadFunc = std::function<size_t(uint8_t* buffer, size_t count)>;

// Decodes a GIF read strictly in order from a stream, as DecodeImage does for
// a GIF in memory. Reads no further than the last row of the first image
// that shows on the screen.
TRaster24 DecodeGif(const TReadFunc& read);
// The same for the image part of the file fileName: every message names it.
TRaster24 DecodeGif(const TReadFunc& read, const std::string& fileName);

// A Windows bitmap file: 24-bit for a colour layer, 1-bit for an outline.
std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap);

// A GIF file. An outline becomes a two-colour GIF; a colour layer with at
// most 256 colours is written exactly; otherwise its colours are reduced to
// 256 without dithering, keeping pure black and pure white exact both ways:
// only black becomes black and only white becomes white.
std::vector<uint8_t> EncodeGif(const TBitmap& bitmap);

// A baseline JPEG file at quality 1 to 100 (the painter saves at 80).
std::vector<uint8_t> EncodeJpeg(const TRaster24& raster, int quality);

// Writes bytes as fileName: creates the folder and any missing parents,
// writes a temporary file in that folder, flushes it to disk and renames it
// over the target. On any failure (folder cannot be created, not writable,
// disk full) throws EError naming the file and removes the temporary file;
// the target is either untouched or complete.
void WriteFileAtomically(const std::string& fileName, const std::vector<uint8_t>& bytes);

// The same for a file that must be new: returns false, and writes nothing,
// when something already has the name, also when another program creates
// it while the bytes are being written. Throws EError as above otherwise.
bool WriteNewFileAtomically(const std::string& fileName, const std::vector<uint8_t>& bytes);

// Removes from folder the temporary files WriteFileAtomically left there
// when its process ended between the write and the rename (killed, or the
// machine went down): only files with the names it gives, and only those of
// processes that no longer run. Never throws; a folder that cannot be read
// is left alone. Returns how many files it removed.
int RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace tw
