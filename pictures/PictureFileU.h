// The picture file format shared by the reader (TQCGraphic) and the writer
// used by the authoring tool and the tests: the entry type, the layout
// constants, and writing a version-3 file.
//
// Layout of the unscrambled bytes (little-endian, strings without terminator):
//   "TWF" 0, version byte, [entry count byte: version 3 and up],
//   entries: [language: 1-byte length + bytes, version 3 and up],
//            title and author: 1-byte length + bytes,
//            description: 2-byte length + bytes,
//   [height, width: signed 16-bit each, version 2 and up],
//   the picture as a GIF stream.
// Every byte of the file, from the first, is stored scrambled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "painter/RasterU.h"

namespace tw {

constexpr uint8_t CurrentPictureVersion = 3;
constexpr char PictureFileMagic[4] = {'T', 'W', 'F', '\0'};
constexpr const char* PictureFileExtension = ".twf";

// One language's texts of a picture. Texts are UTF-8; Language is an
// interface language code such as "en_us" (empty in files before version 3).
struct TPictureEntry {
  std::string Language, Title, Author, Description;
};

// The unscrambled bytes of a version-3 picture file. Throws EError (never
// truncates) when a language code, title or author is longer than 255 bytes,
// a description longer than 65535 bytes, there are more than 255 entries, a
// text is not valid UTF-8, or the image is empty or larger than 32767 pixels
// on a side (the stored size is a signed 16-bit value).
std::vector<uint8_t> BuildPictureFile(const std::vector<TPictureEntry>& entries,
                                      const TRaster24& image);

// Builds the file, scrambles it and writes it with WriteFileAtomically, so a
// failure never leaves a partial picture behind. Throws EError as
// BuildPictureFile and WriteFileAtomically do.
void WritePictureFile(const std::string& fileName, const std::vector<TPictureEntry>& entries,
                      const TRaster24& image);

}  // namespace tw
