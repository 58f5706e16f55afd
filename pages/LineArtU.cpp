// Threshold and clean-up of a drawing into pure black-and-white line art.
#include "pages/LineArtU.h"

#include <array>
#include <vector>

#include "base/ErrorsU.h"

namespace tw {

uint8_t Luminance(TColor color) {
  // Weights 77 + 150 + 29 = 256, so white maps to 255 and black to 0.
  const unsigned sum =
      77u * GetRValue(color) + 150u * GetGValue(color) + 29u * GetBValue(color) + 128u;
  return uint8_t(sum >> 8);
}

int OtsuThreshold(const TRaster24& image) {
  std::array<int64_t, 256> histogram{};
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) ++histogram[Luminance(image.Pixel(x, y))];

  int64_t total = 0;
  double totalSum = 0;
  for (int level = 0; level < 256; ++level) {
    total += histogram[level];
    totalSum += double(level) * double(histogram[level]);
  }

  // The dark class holds the levels 0..level; the first best split wins, so
  // for two separated clusters the threshold sits just above the dark one.
  int64_t darkCount = 0;
  double darkSum = 0;
  double bestVariance = -1;
  int best = -1;
  for (int level = 0; level < 255; ++level) {
    darkCount += histogram[level];
    darkSum += double(level) * double(histogram[level]);
    const int64_t lightCount = total - darkCount;
    if (darkCount == 0 || lightCount == 0) continue;
    const double darkMean = darkSum / double(darkCount);
    const double lightMean = (totalSum - darkSum) / double(lightCount);
    const double variance =
        double(darkCount) * double(lightCount) * (darkMean - lightMean) * (darkMean - lightMean);
    if (variance > bestVariance) {
      bestVariance = variance;
      best = level;
    }
  }
  return best < 0 ? DefaultLineArtThreshold : best + 1;
}

TRaster1 ThresholdLuminance(const TRaster24& image, int threshold) {
  if (threshold < 1 || threshold > 255)
    throw EError("The threshold must lie between 1 and 255, not " + std::to_string(threshold) +
                 ".");
  TRaster1 layer(image.Width(), image.Height());
  for (int y = 0; y < image.Height(); ++y) {
    uint8_t* row = layer.Row(y);
    for (int x = 0; x < image.Width(); ++x)
      row[x] = Luminance(image.Pixel(x, y)) < threshold ? TRaster1::Black : TRaster1::White;
  }
  return layer;
}

int RemoveSmallParts(TRaster1& layer, uint8_t value, int minSize, bool eightConnected) {
  const int w = layer.Width();
  const int h = layer.Height();
  if (minSize <= 1 || w <= 0 || h <= 0) return 0;
  const uint8_t other = value == TRaster1::Black ? TRaster1::White : TRaster1::Black;

  // Pixel indices fit 32 bits: the engine accepts at most 100 megapixels.
  std::vector<uint8_t> seen(size_t(w) * size_t(h), 0);
  std::vector<uint32_t> pending;
  std::vector<uint32_t> part;
  int changed = 0;
  for (int startY = 0; startY < h; ++startY) {
    for (int startX = 0; startX < w; ++startX) {
      const uint32_t start = uint32_t(startY) * uint32_t(w) + uint32_t(startX);
      if (seen[start] || layer.Row(startY)[startX] != value) continue;
      // Only the first minSize pixels are kept: a part that reaches the
      // limit stays as it is, however large it grows.
      part.clear();
      pending.clear();
      pending.push_back(start);
      seen[start] = 1;
      while (!pending.empty()) {
        const uint32_t index = pending.back();
        pending.pop_back();
        if (part.size() < size_t(minSize)) part.push_back(index);
        const int x = int(index % uint32_t(w));
        const int y = int(index / uint32_t(w));
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            if ((dx == 0 && dy == 0) || (!eightConnected && dx != 0 && dy != 0)) continue;
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            const uint32_t next = uint32_t(ny) * uint32_t(w) + uint32_t(nx);
            if (seen[next] || layer.Row(ny)[nx] != value) continue;
            seen[next] = 1;
            pending.push_back(next);
          }
        }
      }
      if (part.size() >= size_t(minSize)) continue;
      for (uint32_t index : part) layer.Row(int(index / uint32_t(w)))[index % uint32_t(w)] = other;
      ++changed;
    }
  }
  return changed;
}

TRaster24 MakeLineArt(const TRaster24& image, const TLineArtOptions& options,
                      TLineArtReport* report) {
  if (options.SpeckSize < 0 || options.HoleSize < 0)
    throw EError("Speck and hole sizes cannot be negative.");
  const int threshold = options.Threshold == 0 ? OtsuThreshold(image) : options.Threshold;
  TRaster1 layer = ThresholdLuminance(image, threshold);
  // Specks first: a dot inside a small hole must not keep the hole open.
  const int specks = RemoveSmallParts(layer, TRaster1::Black, options.SpeckSize, true);
  const int holes = RemoveSmallParts(layer, TRaster1::White, options.HoleSize, false);
  if (report) *report = {threshold, specks, holes};
  return ToRaster24(layer);
}

int64_t CountOffPalettePixels(const TRaster24& image) {
  int64_t count = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColor c = image.Pixel(x, y);
      if (c != clBlack && c != clWhite) ++count;
    }
  return count;
}

}  // namespace tw
