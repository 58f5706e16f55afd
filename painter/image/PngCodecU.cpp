// PNG files through libpng: decoding every colour type and bit depth to
// RGB, transparent parts shown over white.
//
// libpng reports errors through a handler that here keeps the message and
// jumps back with longjmp; warnings are dropped instead of printed. Each
// setjmp sits in a small function whose locals are all trivially
// destructible; everything that must be released lives in a state object
// owned by the caller, so a jump never skips a destructor.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "painter/image/ImageCodecsU.h"

namespace tw {

namespace {

struct TPngDecoder {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t Position = 0;
  char Message[256] = {};

  ~TPngDecoder() {
    if (Png) png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr);
  }
};

[[noreturn]] void FailWithJump(png_structp png, png_const_charp message) {
  auto* decoder = static_cast<TPngDecoder*>(png_get_error_ptr(png));
  std::snprintf(decoder->Message, sizeof decoder->Message, "%s", message ? message : "error");
  png_longjmp(png, 1);
}

void DropWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* decoder = static_cast<TPngDecoder*>(png_get_io_ptr(png));
  if (length > decoder->Size - decoder->Position) png_error(png, "the PNG data ends early");
  std::memcpy(out, decoder->Data + decoder->Position, length);
  decoder->Position += length;
}

bool ReadPngHeader(TPngDecoder& decoder) {
  if (setjmp(png_jmpbuf(decoder.Png))) return false;
  // The picture size limit is applied by the caller with a clearer message.
  png_set_user_limits(decoder.Png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_set_read_fn(decoder.Png, &decoder, ReadFromMemory);
  png_read_info(decoder.Png, decoder.Info);
  return true;
}

// Any PNG becomes 8-bit RGBA: palette and grey expanded, 16 bits scaled
// with rounding, a missing alpha channel added as opaque.
bool SetRgbaOutput(TPngDecoder& decoder, int width) {
  if (setjmp(png_jmpbuf(decoder.Png))) return false;
  png_set_expand(decoder.Png);
  png_set_scale_16(decoder.Png);
  png_set_gray_to_rgb(decoder.Png);
  png_set_add_alpha(decoder.Png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(decoder.Png);
  png_read_update_info(decoder.Png, decoder.Info);
  if (png_get_channels(decoder.Png, decoder.Info) != 4 ||
      png_get_rowbytes(decoder.Png, decoder.Info) != size_t(width) * 4) {
    std::snprintf(decoder.Message, sizeof decoder.Message, "unexpected PNG row layout");
    return false;
  }
  return true;
}

bool ReadPngRow(TPngDecoder& decoder, uint8_t* row) {
  if (setjmp(png_jmpbuf(decoder.Png))) return false;
  png_read_row(decoder.Png, row, nullptr);
  return true;
}

bool ReadPngImage(TPngDecoder& decoder, png_bytepp rows) {
  if (setjmp(png_jmpbuf(decoder.Png))) return false;
  png_read_image(decoder.Png, rows);
  return true;
}

void CompositeOverWhite(const uint8_t* rgba, int width, uint8_t* rgb) {
  for (int x = 0; x < width; ++x, rgba += 4, rgb += 3) {
    const int alpha = rgba[3];
    for (int i = 0; i < 3; ++i)
      rgb[i] = uint8_t((rgba[i] * alpha + 255 * (255 - alpha) + 127) / 255);
  }
}

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

}  // namespace

namespace {

// Decodes any PNG to 8-bit RGBA rows and hands each row, top to bottom, to
// OnRow(y, rgba); returns nothing until every row has been handed out.
template <typename TOnRow>
void DecodePngRows(const uint8_t* data, size_t size, const std::string& subject, uint32_t& width,
                   uint32_t& height, const std::function<void()>& OnSize, TOnRow OnRow) {
  // The size in the header chunk, which always comes first, is checked
  // before libpng reads on to the pixel data.
  constexpr size_t HeaderSizeEnd = 8 + 8 + 8;
  if (size >= HeaderSizeEnd && std::memcmp(data + 12, "IHDR", 4) == 0)
    CheckDeclaredSize(subject, BigEndian32(data + 16), BigEndian32(data + 20));

  TPngDecoder decoder;
  decoder.Data = data;
  decoder.Size = size;
  decoder.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &decoder, FailWithJump, DropWarning);
  if (decoder.Png) decoder.Info = png_create_info_struct(decoder.Png);
  if (!decoder.Png || !decoder.Info) ThrowDamaged(subject, "the PNG reader could not be set up");
  auto fail = [&] { ThrowDamaged(subject, std::string("PNG: ") + decoder.Message); };

  if (!ReadPngHeader(decoder)) fail();
  width = png_get_image_width(decoder.Png, decoder.Info);
  height = png_get_image_height(decoder.Png, decoder.Info);
  CheckDeclaredSize(subject, width, height);
  const bool interlaced = png_get_interlace_type(decoder.Png, decoder.Info) != PNG_INTERLACE_NONE;
  if (!SetRgbaOutput(decoder, int(width))) fail();
  OnSize();

  const size_t rowBytes = size_t(width) * 4;
  if (interlaced) {
    // The passes fill in rows already read, so the whole image is held.
    TPixelBuffer image(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.Data() + y * rowBytes;
    if (!ReadPngImage(decoder, rows.data())) fail();
    for (png_uint_32 y = 0; y < height; ++y) OnRow(int(y), rows[y]);
  } else {
    std::vector<uint8_t> row(rowBytes);
    for (png_uint_32 y = 0; y < height; ++y) {
      if (!ReadPngRow(decoder, row.data())) fail();
      OnRow(int(y), row.data());
    }
  }
  // The chunks after the pixels (text, time) are not needed.
}

}  // namespace

TRaster24 DecodePngData(const uint8_t* data, size_t size, const std::string& subject) {
  uint32_t width = 0, height = 0;
  TRaster24 raster;
  DecodePngRows(
      data, size, subject, width, height,
      [&] { raster = TRaster24(static_cast<int>(width), static_cast<int>(height)); },
      [&](int y, const uint8_t* rgba) { CompositeOverWhite(rgba, int(width), raster.Row(y)); });
  return raster;
}

TRgbaImage DecodePngWithAlpha(const uint8_t* data, size_t size) {
  uint32_t width = 0, height = 0;
  TRgbaImage image;
  DecodePngRows(
      data, size, "The data", width, height,
      [&] {
        image.Width = int(width);
        image.Height = int(height);
        image.Pixels.resize(size_t(width) * height * 4);
      },
      [&](int y, const uint8_t* rgba) {
        std::memcpy(image.Pixels.data() + size_t(y) * width * 4, rgba, size_t(width) * 4);
      });
  return image;
}

}  // namespace tw
