// Test pictures shared by the picture tool's tests: greys written as text,
// and one anti-aliased drawing with what line art must make of it.
#pragma once

#include <string>
#include <vector>

#include "painter/RasterU.h"
#include "support/AsciiArt.h"

namespace tw::test {

// '#' black, '.' white, '0' to '9' greys of 28 steps each: '0' is 0, '4' is
// 112 (dark), '5' is 140 (light), '9' is 252.
inline TRaster24 FromGreyArt(const TArt& art) {
  TRaster24 r(int(art.at(0).size()), int(art.size()));
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const char c = art[y].at(x);
      const uint8_t level = c == '#' ? 0 : c == '.' ? 255 : uint8_t((c - '0') * 28);
      r.SetPixel(x, y, RGB(level, level, level));
    }
  return r;
}

// A frame drawn with grey edges, a light two-pixel hole inside its thick
// top, a dark two-pixel diagonal speck in the middle and a light grey dot
// that belongs to the white.
inline const TArt GreyDrawing = {
    "............",
    ".3333333333.",
    ".3#99#####3.",
    ".3########3.",
    ".3#......#3.",
    ".3#.2....#3.",
    ".3#..4..8#3.",
    ".3#......#3.",
    ".3333333333.",
    "............",
};

// GreyDrawing at threshold 128 (greys up to '4' are dark), specks under 4
// pixels and holes under 6 pixels removed.
inline const TArt GreyDrawingLineArt = {
    "............",
    ".##########.",
    ".##########.",
    ".##########.",
    ".##......##.",
    ".##......##.",
    ".##......##.",
    ".##......##.",
    ".##########.",
    "............",
};

}  // namespace tw::test
