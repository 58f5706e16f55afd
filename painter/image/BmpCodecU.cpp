// Windows bitmap files: decoding the uncompressed kinds (1, 4, 8, 16, 24 and
// 32 bits per pixel, bottom-up or top-down, core or info headers) and writing
// a colour layer as 24-bit and an outline as 1-bit.
//
// Every offset and length is checked against the data before it is used; the
// declared size is checked before the raster is allocated.
#include <bit>
#include <cstring>

#include "base/ErrorsU.h"
#include "painter/image/ImageCodecsU.h"

namespace tw {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;
constexpr size_t CoreHeaderSize = 12;
constexpr uint32_t BiRgb = 0;
constexpr uint32_t BiBitfields = 3;
constexpr uint32_t BiAlphaBitfields = 6;
// 96 dots per inch.
constexpr int32_t PixelsPerMetre = 3780;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// One colour channel packed in a 16- or 32-bit pixel, widened to 8 bits.
struct TChannelMask {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;

  explicit TChannelMask(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Max = mask >> Shift;
  }
  uint8_t Extract(uint32_t pixel) const {
    if (Max == 0) return 0;
    const uint64_t value = (pixel & Mask) >> Shift;
    return uint8_t((value * 255 + Max / 2) / Max);
  }
};

// The parsed headers of a bitmap file, all offsets checked against its size.
struct TBmpLayout {
  int64_t Width = 0;
  int64_t Height = 0;
  bool TopDown = false;
  int Bpp = 0;
  uint32_t Masks[3] = {0, 0, 0};
  TColor Palette[256] = {};
  size_t PixelOffset = 0;
  size_t Stride = 0;
};

TBmpLayout ParseHeaders(const uint8_t* data, size_t size, const std::string& subject) {
  if (size < FileHeaderSize + 4) ThrowDamaged(subject, "the BMP header ends early");
  TBmpLayout layout;
  const uint32_t headerSize = U32(data + 14);
  if (headerSize != CoreHeaderSize && headerSize < InfoHeaderSize)
    ThrowUnsupported(subject, "unknown BMP header of " + std::to_string(headerSize) + " bytes");
  if (headerSize > size - FileHeaderSize) ThrowDamaged(subject, "the BMP header ends early");
  const uint8_t* h = data + FileHeaderSize;
  uint32_t compression = BiRgb;
  uint32_t colorsUsed = 0;
  size_t paletteEntrySize = 4;
  if (headerSize == CoreHeaderSize) {
    layout.Width = U16(h + 4);
    layout.Height = U16(h + 6);
    layout.Bpp = U16(h + 10);
    paletteEntrySize = 3;
  } else {
    layout.Width = int32_t(U32(h + 4));
    const int64_t height = int32_t(U32(h + 8));
    layout.TopDown = height < 0;
    layout.Height = height < 0 ? -height : height;
    layout.Bpp = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  CheckDeclaredSize(subject, layout.Width, layout.Height);

  const int bpp = layout.Bpp;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    ThrowUnsupported(subject, "BMP with " + std::to_string(bpp) + " bits per pixel");
  const bool bitfields = compression == BiBitfields || compression == BiAlphaBitfields;
  // Compression code 3 means Huffman coding in the 64-byte OS/2 header.
  if (compression != BiRgb && !(bitfields && (bpp == 16 || bpp == 32) && headerSize != 64))
    ThrowUnsupported(subject, "compressed BMP");

  size_t paletteStart = FileHeaderSize + headerSize;
  if (bitfields) {
    // The masks follow the fields of a 40-byte header and are part of the
    // longer ones; either way they start at the same place.
    const size_t masksEnd = FileHeaderSize + InfoHeaderSize + 12;
    if (masksEnd > size) ThrowDamaged(subject, "the BMP colour masks are missing");
    for (int i = 0; i < 3; ++i)
      layout.Masks[i] = U32(data + FileHeaderSize + InfoHeaderSize + 4 * i);
    if (headerSize == InfoHeaderSize) paletteStart += compression == BiAlphaBitfields ? 16 : 12;
  } else if (bpp == 16) {
    layout.Masks[0] = 0x7C00;
    layout.Masks[1] = 0x03E0;
    layout.Masks[2] = 0x001F;
  } else if (bpp == 32) {
    layout.Masks[0] = 0x00FF0000;
    layout.Masks[1] = 0x0000FF00;
    layout.Masks[2] = 0x000000FF;
  }

  if (bpp <= 8) {
    const uint32_t maxColors = 1u << bpp;
    const uint32_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    if (paletteStart > size || (size - paletteStart) / paletteEntrySize < count)
      ThrowDamaged(subject, "the BMP colour table ends early");
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* entry = data + paletteStart + i * paletteEntrySize;
      layout.Palette[i] = RGB(entry[2], entry[1], entry[0]);
    }
  }

  layout.PixelOffset = U32(data + 10);
  layout.Stride = size_t((layout.Width * bpp + 31) / 32) * 4;
  if (layout.PixelOffset > size ||
      (size - layout.PixelOffset) / layout.Stride < size_t(layout.Height))
    ThrowDamaged(subject, "the BMP pixel data ends early");
  return layout;
}

void DecodeRow(const TBmpLayout& layout, const uint8_t* src, uint8_t* out) {
  const int width = int(layout.Width);
  auto put = [&out](TColor c) {
    out[0] = GetRValue(c);
    out[1] = GetGValue(c);
    out[2] = GetBValue(c);
    out += 3;
  };
  switch (layout.Bpp) {
    case 1:
      for (int x = 0; x < width; ++x) put(layout.Palette[(src[x >> 3] >> (7 - (x & 7))) & 1]);
      break;
    case 4:
      for (int x = 0; x < width; ++x)
        put(layout.Palette[(x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4]);
      break;
    case 8:
      for (int x = 0; x < width; ++x) put(layout.Palette[src[x]]);
      break;
    case 24:
      for (int x = 0; x < width; ++x, src += 3) put(RGB(src[2], src[1], src[0]));
      break;
    default: {
      const TChannelMask red(layout.Masks[0]), green(layout.Masks[1]), blue(layout.Masks[2]);
      const int bytes = layout.Bpp / 8;
      for (int x = 0; x < width; ++x, src += bytes) {
        const uint32_t pixel = bytes == 2 ? U16(src) : U32(src);
        put(RGB(red.Extract(pixel), green.Extract(pixel), blue.Extract(pixel)));
      }
    }
  }
}

void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
  out[at] = uint8_t(v);
  out[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}

// A zeroed file with both headers filled in; the caller adds the colour
// table (if any) and the rows, bottom row first.
std::vector<uint8_t> StartBmpFile(int width, int height, int bpp, uint32_t paletteColors) {
  const size_t stride = (size_t(width) * bpp + 31) / 32 * 4;
  const size_t pixelOffset = FileHeaderSize + InfoHeaderSize + 4 * size_t(paletteColors);
  const size_t imageSize = stride * size_t(height);
  std::vector<uint8_t> out(pixelOffset + imageSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, uint32_t(out.size()));
  Put32(out, 10, uint32_t(pixelOffset));
  Put32(out, 14, InfoHeaderSize);
  Put32(out, 18, uint32_t(width));
  Put32(out, 22, uint32_t(height));
  Put16(out, 26, 1);
  Put16(out, 28, uint16_t(bpp));
  Put32(out, 30, BiRgb);
  Put32(out, 34, uint32_t(imageSize));
  Put32(out, 38, PixelsPerMetre);
  Put32(out, 42, PixelsPerMetre);
  Put32(out, 46, paletteColors);
  Put32(out, 50, paletteColors);
  return out;
}

std::vector<uint8_t> EncodeBmp24(const TRaster24& raster) {
  const int width = raster.Width(), height = raster.Height();
  std::vector<uint8_t> out = StartBmpFile(width, height, 24, 0);
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  uint8_t* rows = out.data() + FileHeaderSize + InfoHeaderSize;
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = raster.Row(y);
    uint8_t* dst = rows + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x, src += 3, dst += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
  }
  return out;
}

std::vector<uint8_t> EncodeBmp1(const TRaster1& raster) {
  const int width = raster.Width(), height = raster.Height();
  std::vector<uint8_t> out = StartBmpFile(width, height, 1, 2);
  // Colour 0 black, colour 1 white: a set bit is a white pixel.
  const size_t paletteAt = FileHeaderSize + InfoHeaderSize;
  std::memset(out.data() + paletteAt + 4, 0xFF, 3);
  const size_t stride = (size_t(width) + 31) / 32 * 4;
  uint8_t* rows = out.data() + paletteAt + 8;
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = raster.Row(y);
    uint8_t* dst = rows + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x)
      if (src[x] != TRaster1::Black) dst[x >> 3] |= uint8_t(0x80 >> (x & 7));
  }
  return out;
}

}  // namespace

TRaster24 DecodeBmpData(const uint8_t* data, size_t size, const std::string& subject) {
  const TBmpLayout layout = ParseHeaders(data, size, subject);
  const int height = int(layout.Height);
  TRaster24 raster(int(layout.Width), height);
  for (int y = 0; y < height; ++y) {
    const int fileRow = layout.TopDown ? y : height - 1 - y;
    DecodeRow(layout, data + layout.PixelOffset + size_t(fileRow) * layout.Stride, raster.Row(y));
  }
  return raster;
}

std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap) {
  if (const auto* outline = std::get_if<TRaster1>(&bitmap)) {
    if (outline->IsEmpty()) throw EError("An empty picture cannot be saved.");
    return EncodeBmp1(*outline);
  }
  const auto& colour = std::get<TRaster24>(bitmap);
  if (colour.IsEmpty()) throw EError("An empty picture cannot be saved.");
  return EncodeBmp24(colour);
}

}  // namespace tw
