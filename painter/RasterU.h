// The engine's two raster types, plain values with width, height and row
// access.
//
// TRaster24 stores R, G, B bytes per pixel with rows padded to 4 bytes, so a
// Qt view onto it is QImage::Format_RGB888 without a copy and a BMP row is
// written as it stands.
//
// TRaster1 stores one byte per pixel, 0x00 for black and 0xFF for white, not
// bits. A byte per pixel costs 8 times the memory of a bit-packed layer, but
// the compose step becomes a plain AND of each colour byte with the outline
// byte, the flood fill can scan rows with memchr and memset, and no drawing
// call has to mask bits at the span ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <variant>

#include "painter/PaintCommonU.h"

namespace tw {

// The largest picture the engine accepts: 16384 pixels on a side and 100
// megapixels in all. Larger sizes are refused before anything is allocated.
constexpr int MaxPictureSide = 16384;
constexpr int64_t MaxPicturePixels = 100'000'000;

// Throws EError when (width, height) is not a size the engine accepts.
void CheckPictureSize(int width, int height);

// Owns a block of bytes that is never zero-filled on allocation (large
// blocks are written in full right after), copied with memcpy. Large blocks
// ask the system for huge pages: the fill walks a picture's rows far apart
// in memory, and with small pages nearly every run costs an address
// translation miss. Measured with the kernel's usual settings (huge pages
// and their defragmentation on request), opening a picture takes no longer
// with the advice and large fills run a few per cent faster. Such blocks are
// made only when a picture of another size opens: the undo history keeps
// its tiles in small pooled blocks and never asks for them.
class TPixelBuffer {
 public:
  TPixelBuffer() = default;
  explicit TPixelBuffer(size_t size);
  TPixelBuffer(const TPixelBuffer& other);
  TPixelBuffer& operator=(const TPixelBuffer& other);
  // A moved-from buffer is empty: size 0 and no block, so a later copy into
  // it allocates instead of writing through a null pointer.
  TPixelBuffer(TPixelBuffer&& other) noexcept;
  TPixelBuffer& operator=(TPixelBuffer&& other) noexcept;

  uint8_t* Data() { return FData.get(); }
  const uint8_t* Data() const { return FData.get(); }
  size_t Size() const { return FSize; }

 private:
  struct TFree {
    void operator()(uint8_t* p) const;
  };
  std::unique_ptr<uint8_t[], TFree> FData;
  size_t FSize = 0;
};

class TRaster24 {
 public:
  TRaster24() = default;
  // Contents undefined until written.
  TRaster24(int width, int height);
  TRaster24(int width, int height, TColor fill);
  TRaster24(const TRaster24&) = default;
  TRaster24& operator=(const TRaster24&) = default;
  // A moved-from raster is empty (0 x 0), never a size without pixels.
  TRaster24(TRaster24&& other) noexcept;
  TRaster24& operator=(TRaster24&& other) noexcept;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  size_t Stride() const { return FStride; }
  bool IsEmpty() const { return FWidth <= 0 || FHeight <= 0; }

  uint8_t* Row(int y) { return FBuffer.Data() + size_t(y) * FStride; }
  const uint8_t* Row(int y) const { return FBuffer.Data() + size_t(y) * FStride; }
  uint8_t* Data() { return FBuffer.Data(); }
  const uint8_t* Data() const { return FBuffer.Data(); }
  size_t ByteSize() const { return FBuffer.Size(); }

  TColor Pixel(int x, int y) const {
    const uint8_t* p = Row(y) + 3 * x;
    return RGB(p[0], p[1], p[2]);
  }
  void SetPixel(int x, int y, TColor c) {
    uint8_t* p = Row(y) + 3 * x;
    p[0] = GetRValue(c);
    p[1] = GetGValue(c);
    p[2] = GetBValue(c);
  }
  void Fill(TColor c);

  // Makes this raster the same size as src, reusing its block when the size
  // already matches, and copies the pixels.
  void CopyFrom(const TRaster24& src);

 private:
  int FWidth = 0;
  int FHeight = 0;
  size_t FStride = 0;
  TPixelBuffer FBuffer;
};

class TRaster1 {
 public:
  static constexpr uint8_t Black = 0x00;
  static constexpr uint8_t White = 0xFF;

  TRaster1() = default;
  // Contents undefined until written.
  TRaster1(int width, int height);
  TRaster1(int width, int height, uint8_t fill);
  TRaster1(const TRaster1&) = default;
  TRaster1& operator=(const TRaster1&) = default;
  // A moved-from raster is empty (0 x 0), never a size without pixels.
  TRaster1(TRaster1&& other) noexcept;
  TRaster1& operator=(TRaster1&& other) noexcept;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  size_t Stride() const { return size_t(FWidth); }
  bool IsEmpty() const { return FWidth <= 0 || FHeight <= 0; }

  uint8_t* Row(int y) { return FBuffer.Data() + size_t(y) * Stride(); }
  const uint8_t* Row(int y) const { return FBuffer.Data() + size_t(y) * Stride(); }
  uint8_t* Data() { return FBuffer.Data(); }
  const uint8_t* Data() const { return FBuffer.Data(); }
  size_t ByteSize() const { return FBuffer.Size(); }

  bool IsWhite(int x, int y) const { return Row(y)[x] != Black; }
  uint8_t Pixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, bool white) { Row(y)[x] = white ? White : Black; }
  void Fill(uint8_t value);
  void CopyFrom(const TRaster1& src);

 private:
  int FWidth = 0;
  int FHeight = 0;
  TPixelBuffer FBuffer;
};

// A bitmap handed in or out of the painter: the 24-bit colour layer or the
// 1-bit outline layer.
using TBitmap = std::variant<TRaster24, TRaster1>;

// The 24-bit form of a bitmap (a 1-bit one becomes black and white).
TRaster24 ToRaster24(const TBitmap& bitmap);

}  // namespace tw
