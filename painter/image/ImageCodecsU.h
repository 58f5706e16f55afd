// The per-format decoders behind DecodeImage and ReadImageFile, and the
// messages they share. Internal to painter/image.
//
// Every decoder takes a subject, the words the message begins with: "The
// data" when decoding memory, "The file \"name\"" when reading a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "painter/RasterU.h"
#include "painter/image/ImageFileU.h"

namespace tw {

// "<subject> is damaged (<detail>)."
[[noreturn]] void ThrowDamaged(const std::string& subject, const std::string& detail);
// "<subject> is not a picture file this program can read (<detail>)."
[[noreturn]] void ThrowUnsupported(const std::string& subject, const std::string& detail);

// Checks the size a file declares before anything of that size is
// allocated: no pixels means damaged, too many means refused with the
// engine's own limits in the message.
void CheckDeclaredSize(const std::string& subject, int64_t width, int64_t height);

TRaster24 DecodeBmpData(const uint8_t* data, size_t size, const std::string& subject);
TRaster24 DecodeGifStream(const TReadFunc& read, const std::string& subject);
TRaster24 DecodeJpegData(const uint8_t* data, size_t size, const std::string& subject);
TRaster24 DecodePngData(const uint8_t* data, size_t size, const std::string& subject);

// Decodes data of any known format; the core of DecodeImage and ReadImageFile.
TRaster24 DecodeImageData(const uint8_t* data, size_t size, const std::string& subject);

}  // namespace tw
