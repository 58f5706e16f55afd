// GIF files through giflib: decoding the first image of a stream read
// strictly in order, and writing an outline or a colour layer.
//
// giflib reports errors as return codes, so plain RAII is safe here. The
// input and output callbacks run inside giflib's C frames and therefore
// never let an exception through: they keep it and it is rethrown once
// giflib has returned.
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "base/ErrorsU.h"
#include "painter/image/GifQuantizerU.h"
#include "painter/image/ImageCodecsU.h"

namespace tw {

namespace {

// How many decoded pixels beyond the screen's own an image may cost: room
// for encoders that let an image overhang its screen a little, far from the
// billions of pixels a few megabytes of GIF data can claim.
constexpr int64_t MaxGifOverhangPixels = 4'000'000;

struct TGifSource {
  const TReadFunc* Read = nullptr;
  std::exception_ptr Error;
};

int ReadGifInput(GifFileType* gif, GifByteType* buffer, int length) {
  auto* source = static_cast<TGifSource*>(gif->UserData);
  if (source->Error || length <= 0) return 0;
  size_t got = 0;
  try {
    // The stream may hand out less than asked for; only 0 means its end.
    while (got < size_t(length)) {
      const size_t n = (*source->Read)(buffer + got, size_t(length) - got);
      if (n == 0) break;
      got += std::min(n, size_t(length) - got);
    }
  } catch (...) {
    source->Error = std::current_exception();
    return 0;
  }
  return int(got);
}

struct TGifReaderCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using TGifReader = std::unique_ptr<GifFileType, TGifReaderCloser>;

std::string DescribeGifError(int code) {
  switch (code) {
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON:
      return "the GIF data ends early";
    case D_GIF_ERR_NO_SCRN_DSCR:
    case D_GIF_ERR_NO_IMAG_DSCR:
      return "a GIF header is broken";
    case D_GIF_ERR_WRONG_RECORD:
      return "unexpected data between the GIF blocks";
    case D_GIF_ERR_DATA_TOO_BIG:
    case D_GIF_ERR_IMAGE_DEFECT:
      return "the GIF image data is corrupt";
    default: {
      const char* text = GifErrorString(code);
      return text ? std::string("GIF: ") + text : "GIF error " + std::to_string(code);
    }
  }
}

// Rethrows what the stream threw, else reports giflib's error.
[[noreturn]] void FailGif(const TGifSource& source, int code, const std::string& subject) {
  if (source.Error) std::rethrow_exception(source.Error);
  ThrowDamaged(subject, DescribeGifError(code));
}

// Skips extension blocks up to the first image descriptor and returns the
// transparent colour index set for that image, or -1.
int SkipToFirstImage(GifFileType* gif, const TGifSource& source, const std::string& subject) {
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) FailGif(source, gif->Error, subject);
    if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif) == GIF_ERROR) FailGif(source, gif->Error, subject);
      return transparent;
    }
    if (type == TERMINATE_RECORD_TYPE) ThrowDamaged(subject, "the GIF holds no image");
    if (type != EXTENSION_RECORD_TYPE)
      ThrowDamaged(subject, DescribeGifError(D_GIF_ERR_WRONG_RECORD));
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) FailGif(source, gif->Error, subject);
    GraphicsControlBlock control;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
      transparent = control.TransparentColor;
    while (block != nullptr)
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) FailGif(source, gif->Error, subject);
  }
}

// The image rows in the order the file stores them, up to the last one that
// lands on the screen (rows 0 to visibleRows - 1): nothing after it can show,
// so neither it nor the rest of the file is read. An interlaced image stores
// every eighth row first, then the rows between in three more passes.
std::vector<int> RowsToDecode(int height, bool interlaced, int visibleRows) {
  std::vector<int> order;
  if (visibleRows <= 0) return order;
  if (!interlaced) {
    for (int row = 0; row < visibleRows; ++row) order.push_back(row);
    return order;
  }
  static constexpr int PassStart[4] = {0, 4, 2, 1};
  static constexpr int PassStep[4] = {8, 8, 4, 2};
  size_t needed = 0;
  for (int pass = 0; pass < 4; ++pass)
    for (int row = PassStart[pass]; row < height; row += PassStep[pass]) {
      order.push_back(row);
      if (row < visibleRows) needed = order.size();
    }
  order.resize(needed);
  return order;
}

struct TGifSink {
  std::vector<uint8_t> Bytes;
  std::exception_ptr Error;
};

int WriteGifOutput(GifFileType* gif, const GifByteType* data, int length) {
  auto* sink = static_cast<TGifSink*>(gif->UserData);
  if (sink->Error) return 0;
  try {
    sink->Bytes.insert(sink->Bytes.end(), data, data + length);
  } catch (...) {
    sink->Error = std::current_exception();
    return 0;
  }
  return length;
}

struct TGifWriterCloser {
  void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
using TGifWriter = std::unique_ptr<GifFileType, TGifWriterCloser>;

struct TColorMapFree {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

[[noreturn]] void FailGifWrite(const TGifSink& sink, int code) {
  if (sink.Error) std::rethrow_exception(sink.Error);
  const char* text = GifErrorString(code);
  throw EError(std::string("The GIF file could not be built (") + (text ? text : "giflib error") +
               ").");
}

// Writes a single full-size image; mapRow(y, indices) gives the palette
// indices of row y.
template <typename TMapRow>
std::vector<uint8_t> WriteGif(int width, int height, const std::vector<TColor>& palette,
                              int background, TMapRow mapRow) {
  std::vector<GifColorType> colours(palette.size());
  for (size_t i = 0; i < palette.size(); ++i)
    colours[i] = {GetRValue(palette[i]), GetGValue(palette[i]), GetBValue(palette[i])};
  std::unique_ptr<ColorMapObject, TColorMapFree> map(
      GifMakeMapObject(int(colours.size()), colours.data()));
  if (!map) throw EError("The GIF colour table could not be built.");

  TGifSink sink;
  int error = 0;
  TGifWriter gif(EGifOpen(&sink, WriteGifOutput, &error));
  if (!gif) FailGifWrite(sink, error);
  if (EGifPutScreenDesc(gif.get(), width, height, 8, background, map.get()) == GIF_ERROR ||
      EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR)
    FailGifWrite(sink, gif->Error);
  std::vector<GifPixelType> line(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    mapRow(y, line.data());
    if (EGifPutLine(gif.get(), line.data(), width) == GIF_ERROR) FailGifWrite(sink, gif->Error);
  }
  if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) FailGifWrite(sink, error);
  if (sink.Error) std::rethrow_exception(sink.Error);
  return std::move(sink.Bytes);
}

}  // namespace

TRaster24 DecodeGifStream(const TReadFunc& read, const std::string& subject) {
  TGifSource source;
  source.Read = &read;
  int error = 0;
  TGifReader gif(DGifOpen(&source, ReadGifInput, &error));
  if (!gif) {
    if (source.Error) std::rethrow_exception(source.Error);
    if (error == D_GIF_ERR_NOT_GIF_FILE) ThrowUnsupported(subject, "not a GIF");
    ThrowDamaged(subject, DescribeGifError(error));
  }
  // A screen of 0 x 0 is taken from the image instead; any other screen
  // size is checked before the first image is even looked for.
  int screenWidth = gif->SWidth, screenHeight = gif->SHeight;
  const bool screenFromImage = screenWidth == 0 || screenHeight == 0;
  if (!screenFromImage) CheckDeclaredSize(subject, screenWidth, screenHeight);

  const int transparent = SkipToFirstImage(gif.get(), source, subject);
  const GifImageDesc image = gif->Image;
  if (image.Left < 0 || image.Top < 0 || image.Width < 0 || image.Height < 0)
    ThrowDamaged(subject, "a GIF image lies outside its screen");
  if (screenFromImage) {
    screenWidth = image.Left + image.Width;
    screenHeight = image.Top + image.Height;
    CheckDeclaredSize(subject, screenWidth, screenHeight);
  }
  const ColorMapObject* map = image.ColorMap ? image.ColorMap : gif->SColorMap;
  if (map == nullptr || map->Colors == nullptr)
    ThrowDamaged(subject, "the GIF has no colour table");

  // Indices beyond the table show black; the transparent one shows the
  // white screen.
  TColor palette[256] = {};
  for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
    palette[i] = RGB(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);

  TRaster24 raster(screenWidth, screenHeight, clWhite);
  const int visibleWidth = std::max(0, std::min(image.Width, screenWidth - image.Left));
  const int visibleRows =
      visibleWidth == 0 ? 0 : std::max(0, std::min(image.Height, screenHeight - image.Top));
  const std::vector<int> order = RowsToDecode(image.Height, image.Interlace, visibleRows);
  // Every decoded row costs its full width whether it is kept or not, so an
  // image that reaches far beyond its screen is refused rather than decoded
  // for nothing.
  const int64_t work = int64_t(order.size()) * image.Width;
  if (work > int64_t(screenWidth) * screenHeight + MaxGifOverhangPixels)
    ThrowDamaged(subject, "its image of " + std::to_string(image.Width) + " x " +
                              std::to_string(image.Height) + " pixels lies mostly outside its " +
                              std::to_string(screenWidth) + " x " +
                              std::to_string(screenHeight) + " screen");
  if (order.empty()) return raster;

  std::vector<GifPixelType> line(size_t(image.Width));
  for (const int row : order) {
    if (DGifGetLine(gif.get(), line.data(), image.Width) == GIF_ERROR)
      FailGif(source, gif->Error, subject);
    if (row >= visibleRows) continue;
    uint8_t* out = raster.Row(image.Top + row) + 3 * size_t(image.Left);
    for (int x = 0; x < visibleWidth; ++x, out += 3) {
      if (line[x] == transparent) continue;
      const TColor c = palette[line[x]];
      out[0] = GetRValue(c);
      out[1] = GetGValue(c);
      out[2] = GetBValue(c);
    }
  }
  return raster;
}

std::vector<uint8_t> EncodeGif(const TBitmap& bitmap) {
  if (const auto* outline = std::get_if<TRaster1>(&bitmap)) {
    if (outline->IsEmpty()) throw EError("An empty picture cannot be saved.");
    return WriteGif(outline->Width(), outline->Height(), {clBlack, clWhite}, 1,
                    [&](int y, GifPixelType* indices) {
                      const uint8_t* src = outline->Row(y);
                      for (int x = 0; x < outline->Width(); ++x)
                        indices[x] = src[x] == TRaster1::Black ? 0 : 1;
                    });
  }
  const auto& colour = std::get<TRaster24>(bitmap);
  if (colour.IsEmpty()) throw EError("An empty picture cannot be saved.");
  const TGifPalette palette(colour);
  return WriteGif(colour.Width(), colour.Height(), palette.Colors(), 0,
                  [&](int y, GifPixelType* indices) {
                    palette.MapRow(colour.Row(y), colour.Width(), indices);
                  });
}

}  // namespace tw
