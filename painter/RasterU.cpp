#include "painter/RasterU.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>
#include <string>
#include <utility>

#include "base/ErrorsU.h"

namespace tw {

void CheckPictureSize(int width, int height) {
  if (width <= 0 || height <= 0)
    throw EError("The picture has no pixels (" + std::to_string(width) + " x " +
                 std::to_string(height) + ").");
  if (width > MaxPictureSide || height > MaxPictureSide ||
      int64_t(width) * height > MaxPicturePixels)
    throw EError("The picture is too large (" + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels); the largest allowed is " +
                 std::to_string(MaxPictureSide) + " pixels on a side and 100 megapixels.");
}

namespace {

constexpr size_t HugePage = size_t(2) << 20;

uint8_t* Allocate(size_t size) {
  if (size == 0) return nullptr;
  if (size < 2 * HugePage) {
    void* p = std::malloc(size);
    if (!p) throw std::bad_alloc();
    return static_cast<uint8_t*>(p);
  }
  const size_t rounded = (size + HugePage - 1) / HugePage * HugePage;
  void* p = std::aligned_alloc(HugePage, rounded);
  if (!p) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
  // Only advice: where huge pages are off the block works as any other.
  madvise(p, rounded, MADV_HUGEPAGE);
#endif
  return static_cast<uint8_t*>(p);
}

}  // namespace

void TPixelBuffer::TFree::operator()(uint8_t* p) const { std::free(p); }

TPixelBuffer::TPixelBuffer(size_t size) : FData(Allocate(size)), FSize(size) {}

TPixelBuffer::TPixelBuffer(const TPixelBuffer& other) : TPixelBuffer(other.FSize) {
  if (FSize) std::memcpy(FData.get(), other.FData.get(), FSize);
}

TPixelBuffer::TPixelBuffer(TPixelBuffer&& other) noexcept
    : FData(std::move(other.FData)), FSize(std::exchange(other.FSize, 0)) {}

TPixelBuffer& TPixelBuffer::operator=(TPixelBuffer&& other) noexcept {
  if (this == &other) return *this;
  FData = std::move(other.FData);
  FSize = std::exchange(other.FSize, 0);
  return *this;
}

TPixelBuffer& TPixelBuffer::operator=(const TPixelBuffer& other) {
  if (this == &other) return *this;
  if (FSize != other.FSize) *this = TPixelBuffer(other.FSize);
  if (FSize) std::memcpy(FData.get(), other.FData.get(), FSize);
  return *this;
}

TRaster24::TRaster24(int width, int height) {
  CheckPictureSize(width, height);
  FWidth = width;
  FHeight = height;
  FStride = (size_t(width) * 3 + 3) & ~size_t(3);
  FBuffer = TPixelBuffer(FStride * size_t(height));
  // Row padding is kept zero so whole-buffer comparisons and copies are
  // meaningful.
  const size_t used = size_t(width) * 3;
  if (FStride > used)
    for (int y = 0; y < height; ++y) std::memset(Row(y) + used, 0, FStride - used);
}

TRaster24::TRaster24(TRaster24&& other) noexcept
    : FWidth(std::exchange(other.FWidth, 0)),
      FHeight(std::exchange(other.FHeight, 0)),
      FStride(std::exchange(other.FStride, 0)),
      FBuffer(std::move(other.FBuffer)) {}

TRaster24& TRaster24::operator=(TRaster24&& other) noexcept {
  if (this == &other) return *this;
  FWidth = std::exchange(other.FWidth, 0);
  FHeight = std::exchange(other.FHeight, 0);
  FStride = std::exchange(other.FStride, 0);
  FBuffer = std::move(other.FBuffer);
  return *this;
}

TRaster24::TRaster24(int width, int height, TColor fill) : TRaster24(width, height) {
  Fill(fill);
}

void TRaster24::Fill(TColor c) {
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* p = Row(y);
    for (int x = 0; x < FWidth; ++x, p += 3) {
      p[0] = GetRValue(c);
      p[1] = GetGValue(c);
      p[2] = GetBValue(c);
    }
  }
}

void TRaster24::CopyFrom(const TRaster24& src) {
  if (this == &src) return;
  // The block first: when it cannot be had the raster stays as it was.
  FBuffer = src.FBuffer;
  FWidth = src.FWidth;
  FHeight = src.FHeight;
  FStride = src.FStride;
}

TRaster1::TRaster1(int width, int height) {
  CheckPictureSize(width, height);
  FWidth = width;
  FHeight = height;
  FBuffer = TPixelBuffer(size_t(width) * size_t(height));
}

TRaster1::TRaster1(TRaster1&& other) noexcept
    : FWidth(std::exchange(other.FWidth, 0)),
      FHeight(std::exchange(other.FHeight, 0)),
      FBuffer(std::move(other.FBuffer)) {}

TRaster1& TRaster1::operator=(TRaster1&& other) noexcept {
  if (this == &other) return *this;
  FWidth = std::exchange(other.FWidth, 0);
  FHeight = std::exchange(other.FHeight, 0);
  FBuffer = std::move(other.FBuffer);
  return *this;
}

TRaster1::TRaster1(int width, int height, uint8_t fill) : TRaster1(width, height) {
  Fill(fill);
}

void TRaster1::Fill(uint8_t value) {
  if (FBuffer.Size()) std::memset(FBuffer.Data(), value, FBuffer.Size());
}

void TRaster1::CopyFrom(const TRaster1& src) {
  if (this == &src) return;
  FBuffer = src.FBuffer;
  FWidth = src.FWidth;
  FHeight = src.FHeight;
}

TRaster24 ToRaster24(const TBitmap& bitmap) {
  if (const auto* colour = std::get_if<TRaster24>(&bitmap)) return *colour;
  const auto& mono = std::get<TRaster1>(bitmap);
  TRaster24 out(mono.Width(), mono.Height(), clBlack);
  for (int y = 0; y < mono.Height(); ++y)
    for (int x = 0; x < mono.Width(); ++x)
      if (mono.IsWhite(x, y)) out.SetPixel(x, y, clWhite);
  return out;
}

}  // namespace tw
