#include "pages/ShrinkU.h"

#include <algorithm>
#include <cstdint>

#include "painter/PaintCommonU.h"
#include "painter/StretchU.h"

namespace tw {

TPictureSize FitPictureSize(int width, int height, int maxSide) {
  const int longSide = std::max(width, height);
  if (maxSide <= 0 || longSide <= maxSide) return {width, height};
  const double scale = double(maxSide) / longSide;
  return {std::max(1, Nearest(width * scale)), std::max(1, Nearest(height * scale))};
}

TRaster24 ShrinkDarkest(const TRaster24& image, int width, int height) {
  TRaster24 out(width, height);
  const int64_t w = image.Width(), h = image.Height();
  // The image pixels under new pixel n along an axis of old length a and new
  // length b: from floor(n a / b) up to ceil((n + 1) a / b).
  auto from = [](int64_t n, int64_t a, int64_t b) { return int(n * a / b); };
  auto to = [](int64_t n, int64_t a, int64_t b) { return int(((n + 1) * a + b - 1) / b); };
  for (int oy = 0; oy < height; ++oy) {
    const int y0 = from(oy, h, height), y1 = to(oy, h, height);
    uint8_t* o = out.Row(oy);
    for (int ox = 0; ox < width; ++ox) {
      const int x0 = from(ox, w, width), x1 = to(ox, w, width);
      uint8_t r = 0xFF, g = 0xFF, b = 0xFF;
      for (int y = y0; y < y1; ++y) {
        const uint8_t* p = image.Row(y) + 3 * x0;
        for (int x = x0; x < x1; ++x, p += 3) {
          r = std::min(r, p[0]);
          g = std::min(g, p[1]);
          b = std::min(b, p[2]);
        }
      }
      o[3 * ox] = r;
      o[3 * ox + 1] = g;
      o[3 * ox + 2] = b;
    }
  }
  return out;
}

TRaster24 ShrinkAveraged(const TRaster24& image, int width, int height) {
  const double scale = double(std::max(width, height)) / std::max(image.Width(), image.Height());
  return StretchToScreen(image, scale, {0, 0, width, height});
}

}  // namespace tw
