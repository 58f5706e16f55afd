// Hand-built GIF files for the decoder's hard cases, written byte by byte
// because no encoder writes them: images far larger than their screen whose
// compressed data expands a few bytes into billions of pixels, and small
// images whose pixels are chosen one by one. Shared by the tests and the
// picture-loading benchmark.
//
// Every file has the same four-colour table: index 0 red, 1 green, 2 blue,
// 3 black.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tw::test {

struct TGifLayout {
  int ScreenWidth = 1;
  int ScreenHeight = 1;
  int Left = 0;
  int Top = 0;
  int Width = 1;
  int Height = 1;
  bool Interlaced = false;
};

// A GIF whose one image is all index 0. Only the first storedPixels pixels
// (in the file's row order) are in the file when storedPixels is not
// negative; the compressed data then ends there, as in a cut-off file.
// Long runs take about 1.5 bytes per 4091 pixels.
std::vector<uint8_t> UniformGif(const TGifLayout& layout, int64_t storedPixels = -1);

// A GIF whose image has the given palette indices (0 to 3), Width x Height
// of them, rows top to bottom; an interlaced layout stores the rows in the
// interlaced order.
std::vector<uint8_t> IndexedGif(const TGifLayout& layout, const std::vector<uint8_t>& indices);

// The bytes of a picture file (version 3, no entries, stored size 1 x 1)
// around gif, scrambled as the program stores them, written to fileName.
void WriteRawPictureFile(const std::string& fileName, const std::vector<uint8_t>& gif);

}  // namespace tw::test
