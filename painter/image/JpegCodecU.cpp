// JPEG files through libjpeg: decoding colour, grey and CMYK pictures to
// RGB, and writing a colour layer at a given quality.
//
// libjpeg reports errors through its error manager, which here jumps back
// with longjmp instead of exiting, and its messages are kept instead of
// printed. Each setjmp sits in a small function whose locals are all
// trivially destructible; everything that must be released lives in a
// state object owned by the caller, so a jump never skips a destructor.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "base/ErrorsU.h"
#include "painter/image/ImageCodecsU.h"

namespace tw {

namespace {

#ifdef JCS_EXTENSIONS
constexpr J_COLOR_SPACE Rgb24 = JCS_EXT_RGB;
#else
constexpr J_COLOR_SPACE Rgb24 = JCS_RGB;
#endif

// A progressive file may hold any number of scans, each a full pass over
// the picture; real encoders write a dozen or so.
constexpr int MaxScans = 500;

struct TJpegError {
  jpeg_error_mgr Manager;  // first, so the library's pointer to it is one to this
  std::jmp_buf Jump;
  int Code = 0;
  char Message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void JumpWithMessage(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  error->Code = info->err->msg_code;
  (*info->err->format_message)(info, error->Message);
  std::longjmp(error->Jump, 1);
}

void ExitWithJump(j_common_ptr info) { JumpWithMessage(info); }

void DiscardMessage(j_common_ptr) {}

// Warnings about damaged entropy data leave a usable picture, but data
// that ends early leaves part of it grey: that one counts as an error.
void EmitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  if (info->err->msg_code == JWRN_JPEG_EOF) JumpWithMessage(info);
  ++info->err->num_warnings;
}

void LimitScans(j_common_ptr info) {
  if (!info->is_decompressor) return;
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number <= MaxScans) return;
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  std::snprintf(error->Message, sizeof error->Message, "more than %d scans", MaxScans);
  std::longjmp(error->Jump, 1);
}

void InstallErrorManager(TJpegError& error, jpeg_error_mgr*& target) {
  target = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = ExitWithJump;
  error.Manager.output_message = DiscardMessage;
  error.Manager.emit_message = EmitMessage;
}

struct TJpegDecoder {
  jpeg_decompress_struct Info;
  TJpegError Error;
  jpeg_progress_mgr Progress;
  bool Created = false;

  TJpegDecoder() {
    std::memset(&Info, 0, sizeof Info);
    std::memset(&Progress, 0, sizeof Progress);
  }
  ~TJpegDecoder() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;
};

bool ReadJpegHeader(TJpegDecoder& decoder, const uint8_t* data, size_t size) {
  InstallErrorManager(decoder.Error, decoder.Info.err);
  if (setjmp(decoder.Error.Jump)) return false;
  decoder.Created = true;
  jpeg_create_decompress(&decoder.Info);
  decoder.Progress.progress_monitor = LimitScans;
  decoder.Info.progress = &decoder.Progress;
  jpeg_mem_src(&decoder.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decoder.Info, TRUE);
  return true;
}

uint8_t Multiply255(int a, int b) { return uint8_t((a * b + 127) / 255); }

// CMYK or YCCK decoded as CMYK, written by Adobe software with inverted
// values (255 = no ink) and by others plainly.
void CmykRowToRgb(const uint8_t* cmyk, int width, bool inverted, uint8_t* rgb) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int i = 0; i < 3; ++i) rgb[i] = Multiply255(inverted ? cmyk[i] : 255 - cmyk[i], k);
  }
}

bool ReadJpegPixels(TJpegDecoder& decoder, TRaster24& raster, uint8_t* cmykRow) {
  if (setjmp(decoder.Error.Jump)) return false;
  jpeg_decompress_struct& info = decoder.Info;
  jpeg_start_decompress(&info);
  const int expected = cmykRow ? 4 : 3;
  if (info.output_components != expected || int(info.output_width) != raster.Width() ||
      int(info.output_height) != raster.Height()) {
    std::snprintf(decoder.Error.Message, sizeof decoder.Error.Message, "unexpected output layout");
    return false;
  }
  while (info.output_scanline < info.output_height) {
    const int y = int(info.output_scanline);
    JSAMPROW row = cmykRow ? cmykRow : raster.Row(y);
    if (jpeg_read_scanlines(&info, &row, 1) != 1) {
      std::snprintf(decoder.Error.Message, sizeof decoder.Error.Message,
                    "no progress reading rows");
      return false;
    }
    if (cmykRow) CmykRowToRgb(cmykRow, raster.Width(), info.saw_Adobe_marker, raster.Row(y));
  }
  return true;
}

[[noreturn]] void FailJpegRead(const TJpegDecoder& decoder, const std::string& subject) {
  const std::string detail = std::string("JPEG: ") + decoder.Error.Message;
  switch (decoder.Error.Code) {
    case JERR_SOF_UNSUPPORTED:
    case JERR_ARITH_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOTIMPL:
      ThrowUnsupported(subject, detail);
    default:
      ThrowDamaged(subject, detail);
  }
}

struct TJpegEncoder {
  jpeg_compress_struct Info;
  TJpegError Error;
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  bool Created = false;

  TJpegEncoder() { std::memset(&Info, 0, sizeof Info); }
  ~TJpegEncoder() {
    if (Created) jpeg_destroy_compress(&Info);
    std::free(Buffer);
  }
  TJpegEncoder(const TJpegEncoder&) = delete;
  TJpegEncoder& operator=(const TJpegEncoder&) = delete;
};

bool CompressJpeg(TJpegEncoder& encoder, const TRaster24& raster, int quality) {
  InstallErrorManager(encoder.Error, encoder.Info.err);
  if (setjmp(encoder.Error.Jump)) return false;
  jpeg_compress_struct& info = encoder.Info;
  encoder.Created = true;
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &encoder.Buffer, &encoder.Size);
  info.image_width = JDIMENSION(raster.Width());
  info.image_height = JDIMENSION(raster.Height());
  info.input_components = 3;
  info.in_color_space = Rgb24;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg takes rows as non-const but only reads them.
    JSAMPROW row = const_cast<uint8_t*>(raster.Row(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

TRaster24 DecodeJpegData(const uint8_t* data, size_t size, const std::string& subject) {
  TJpegDecoder decoder;
  if (!ReadJpegHeader(decoder, data, size)) FailJpegRead(decoder, subject);
  CheckDeclaredSize(subject, decoder.Info.image_width, decoder.Info.image_height);
  const bool cmyk =
      decoder.Info.jpeg_color_space == JCS_CMYK || decoder.Info.jpeg_color_space == JCS_YCCK;
  decoder.Info.out_color_space = cmyk ? JCS_CMYK : Rgb24;
  TRaster24 raster(int(decoder.Info.image_width), int(decoder.Info.image_height));
  std::vector<uint8_t> cmykRow(cmyk ? size_t(raster.Width()) * 4 : 0);
  if (!ReadJpegPixels(decoder, raster, cmyk ? cmykRow.data() : nullptr))
    FailJpegRead(decoder, subject);
  // The rest of the file (normally just the end marker) is not needed.
  return raster;
}

std::vector<uint8_t> EncodeJpeg(const TRaster24& raster, int quality) {
  if (raster.IsEmpty()) throw EError("An empty picture cannot be saved.");
  TJpegEncoder encoder;
  if (!CompressJpeg(encoder, raster, std::clamp(quality, 1, 100)))
    throw EError(std::string("The JPEG file could not be built (") + encoder.Error.Message + ").");
  return std::vector<uint8_t>(encoder.Buffer, encoder.Buffer + encoder.Size);
}

}  // namespace tw
