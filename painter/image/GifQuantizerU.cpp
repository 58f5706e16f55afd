// Palette choice for GIF files written from a 24-bit layer: the exact colour
// table when the layer has at most 256 colours, otherwise a median-cut
// reduction that keeps pure black and pure white to themselves.
#include "painter/image/GifQuantizerU.h"

#include <algorithm>
#include <limits>

namespace tw {

namespace {

// The histogram keeps 6 bits per channel: 262144 cells, small enough to
// clear and scan quickly, fine enough that a cell spans at most 3 levels of
// a channel.
constexpr int CellBits = 6;
constexpr int CellLevels = 1 << CellBits;
constexpr uint32_t CellCount = 1u << (3 * CellBits);
constexpr uint8_t BlackIndex = 0;
constexpr uint8_t WhiteIndex = 1;
constexpr size_t ReducedColours = 254;

uint32_t Pack(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
}

uint32_t CellOf(const uint8_t* p) {
  constexpr int drop = 8 - CellBits;
  return (uint32_t(p[0] >> drop) << (2 * CellBits)) | (uint32_t(p[1] >> drop) << CellBits) |
         uint32_t(p[2] >> drop);
}

int CellCoord(uint32_t cell, int axis) {
  return int(cell >> (CellBits * (2 - axis))) & (CellLevels - 1);
}

// Per cell of the histogram, the pixel count and the sums of the low bits
// the cell drops: 16 bytes, which keeps the table at 4 MB, and the sums stay
// within 32 bits (3 x 100 megapixels at most).
struct THistogramCell {
  uint32_t Count = 0;
  uint32_t LowSum[3] = {0, 0, 0};
};

struct TColourSums {
  uint64_t Count = 0;
  uint64_t Sum[3] = {0, 0, 0};
};

struct TCell {
  uint32_t Cell = 0;
  uint64_t Count = 0;
  uint64_t Sum[3] = {0, 0, 0};
  // The mean colour of the pixels in the cell, per channel.
  int Mean[3] = {0, 0, 0};
  size_t Entry = 0;
};

// A run of cells, Begin..End-1, and the bounding box of their coordinates.
struct TBox {
  size_t Begin = 0;
  size_t End = 0;
  uint64_t Count = 0;
  int Min[3] = {0, 0, 0};
  int Max[3] = {0, 0, 0};

  int LongestAxis() const {
    int axis = 0;
    for (int a = 1; a < 3; ++a)
      if (Max[a] - Min[a] > Max[axis] - Min[axis]) axis = a;
    return axis;
  }
  // Favours boxes that hold many pixels over a wide range of colours; a box
  // of one cell cannot be split.
  uint64_t Score() const {
    const int axis = LongestAxis();
    return Count * uint64_t(Max[axis] - Min[axis]);
  }
};

TBox MakeBox(const std::vector<TCell>& cells, size_t begin, size_t end) {
  TBox box;
  box.Begin = begin;
  box.End = end;
  for (int a = 0; a < 3; ++a) {
    box.Min[a] = CellLevels;
    box.Max[a] = -1;
  }
  for (size_t i = begin; i < end; ++i) {
    box.Count += cells[i].Count;
    for (int a = 0; a < 3; ++a) {
      box.Min[a] = std::min(box.Min[a], CellCoord(cells[i].Cell, a));
      box.Max[a] = std::max(box.Max[a], CellCoord(cells[i].Cell, a));
    }
  }
  return box;
}

// Splits box along its longest axis where half of its pixels lie on each
// side; both halves keep at least one cell.
std::pair<TBox, TBox> SplitBox(std::vector<TCell>& cells, const TBox& box) {
  const int axis = box.LongestAxis();
  uint64_t perLevel[CellLevels] = {};
  for (size_t i = box.Begin; i < box.End; ++i)
    perLevel[CellCoord(cells[i].Cell, axis)] += cells[i].Count;
  int cut = box.Min[axis];
  uint64_t below = perLevel[cut];
  while (cut + 1 < box.Max[axis] && 2 * below < box.Count) below += perLevel[++cut];
  const auto middle =
      std::partition(cells.begin() + ptrdiff_t(box.Begin), cells.begin() + ptrdiff_t(box.End),
                     [&](const TCell& c) { return CellCoord(c.Cell, axis) <= cut; });
  const size_t mid = size_t(middle - cells.begin());
  return {MakeBox(cells, box.Begin, mid), MakeBox(cells, mid, box.End)};
}

// The rounded mean of pixel sums, moved one level off pure black or pure
// white: the pixels summed are never black or white, so neither may be the
// colour that stands for them.
TColor MeanColour(const uint64_t sum[3], uint64_t count) {
  uint8_t c[3];
  for (int a = 0; a < 3; ++a) c[a] = uint8_t((sum[a] + count / 2) / count);
  if (c[0] == 0 && c[1] == 0 && c[2] == 0) {
    const int brightest = int(std::max_element(sum, sum + 3) - sum);
    c[brightest] = 1;
  } else if (c[0] == 255 && c[1] == 255 && c[2] == 255) {
    const int darkest = int(std::min_element(sum, sum + 3) - sum);
    c[darkest] = 254;
  }
  return RGB(c[0], c[1], c[2]);
}

// Finds the palette entry nearest to a colour among the entries from index
// first on. The entries are sorted by red, and the search walks outwards
// from the colour's red level, stopping on each side once the red distance
// alone exceeds the best match: a few dozen entries are looked at instead of
// all 254.
class TNearestEntry {
 public:
  TNearestEntry(const std::vector<TColor>& palette, size_t first) {
    for (size_t i = first; i < palette.size(); ++i)
      FEntries.push_back({GetRValue(palette[i]), GetGValue(palette[i]), GetBValue(palette[i]), i});
    std::sort(FEntries.begin(), FEntries.end(),
              [](const TEntry& a, const TEntry& b) { return a.R < b.R; });
  }

  size_t Find(const int colour[3]) const {
    const auto start = std::lower_bound(FEntries.begin(), FEntries.end(), colour[0],
                                        [](const TEntry& e, int red) { return e.R < red; });
    int bestDistance = std::numeric_limits<int>::max();
    size_t best = FEntries.empty() ? 0 : FEntries.front().Index;
    auto consider = [&](const TEntry& e) {
      const int dr = e.R - colour[0];
      if (dr * dr >= bestDistance) return false;
      const int dg = e.G - colour[1], db = e.B - colour[2];
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = e.Index;
      }
      return true;
    };
    for (auto up = start; up != FEntries.end() && consider(*up); ++up) {
    }
    for (auto down = start; down != FEntries.begin() && consider(*(down - 1)); --down) {
    }
    return best;
  }

 private:
  struct TEntry {
    int R, G, B;
    size_t Index;
  };
  std::vector<TEntry> FEntries;
};

}  // namespace

TGifPalette::TGifPalette(const TRaster24& raster) {
  FExact = CollectExactColours(raster);
  if (!FExact) {
    FHashKeys.clear();
    FHashValues.clear();
    BuildReducedPalette(raster);
  }
  PadToPowerOfTwo();
}

bool TGifPalette::FindOrAdd(uint32_t colour, uint8_t& index) {
  for (uint32_t slot = HashSlot(colour);; slot = (slot + 1) & (HashSize - 1)) {
    if (FHashKeys[slot] == colour) {
      index = FHashValues[slot];
      return true;
    }
    if (FHashKeys[slot] == EmptyKey) {
      if (FColors.size() == 256) return false;
      index = uint8_t(FColors.size());
      FHashKeys[slot] = colour;
      FHashValues[slot] = index;
      FColors.push_back(colour);
      return true;
    }
  }
}

uint8_t TGifPalette::FindExact(uint32_t colour) const {
  for (uint32_t slot = HashSlot(colour);; slot = (slot + 1) & (HashSize - 1))
    if (FHashKeys[slot] == colour || FHashKeys[slot] == EmptyKey) return FHashValues[slot];
}

bool TGifPalette::CollectExactColours(const TRaster24& raster) {
  FHashKeys.assign(HashSize, EmptyKey);
  FHashValues.assign(HashSize, 0);
  FColors.clear();
  uint32_t last = EmptyKey;
  for (int y = 0; y < raster.Height(); ++y) {
    const uint8_t* p = raster.Row(y);
    for (int x = 0; x < raster.Width(); ++x, p += 3) {
      const uint32_t colour = Pack(p);
      if (colour == last) continue;
      last = colour;
      uint8_t index;
      if (!FindOrAdd(colour, index)) return false;
    }
  }
  return true;
}

void TGifPalette::BuildReducedPalette(const TRaster24& raster) {
  std::vector<THistogramCell> histogram(CellCount);
  for (int y = 0; y < raster.Height(); ++y) {
    const uint8_t* p = raster.Row(y);
    for (int x = 0; x < raster.Width(); ++x, p += 3) {
      const uint32_t colour = Pack(p);
      if (colour == clBlack || colour == clWhite) continue;
      constexpr uint8_t lowBits = (1 << (8 - CellBits)) - 1;
      THistogramCell& cell = histogram[CellOf(p)];
      ++cell.Count;
      cell.LowSum[0] += p[0] & lowBits;
      cell.LowSum[1] += p[1] & lowBits;
      cell.LowSum[2] += p[2] & lowBits;
    }
  }
  std::vector<TCell> cells;
  for (uint32_t i = 0; i < CellCount; ++i) {
    if (histogram[i].Count == 0) continue;
    TCell cell;
    cell.Cell = i;
    cell.Count = histogram[i].Count;
    for (int a = 0; a < 3; ++a)
      cell.Sum[a] =
          (uint64_t(CellCoord(i, a)) << (8 - CellBits)) * cell.Count + histogram[i].LowSum[a];
    for (int a = 0; a < 3; ++a) cell.Mean[a] = int((cell.Sum[a] + cell.Count / 2) / cell.Count);
    cells.push_back(cell);
  }
  histogram = {};

  std::vector<TBox> boxes;
  if (!cells.empty()) boxes.push_back(MakeBox(cells, 0, cells.size()));
  while (boxes.size() < ReducedColours) {
    auto widest = std::max_element(boxes.begin(), boxes.end(), [](const TBox& a, const TBox& b) {
      return a.Score() < b.Score();
    });
    if (widest == boxes.end() || widest->Score() == 0) break;
    auto [low, high] = SplitBox(cells, *widest);
    *widest = low;
    boxes.push_back(high);
  }

  FColors = {clBlack, clWhite};
  for (const TBox& box : boxes) {
    uint64_t sum[3] = {0, 0, 0};
    for (size_t i = box.Begin; i < box.End; ++i)
      for (int a = 0; a < 3; ++a) sum[a] += cells[i].Sum[a];
    FColors.push_back(MeanColour(sum, box.Count));
  }

  // One refinement step: each cell goes to its nearest entry, each entry
  // becomes the mean of its cells, and each cell goes to its nearest entry
  // again. Median-cut boxes alone leave cells near a cut on the wrong side.
  const size_t first = WhiteIndex + 1;
  const TNearestEntry boxMeans(FColors, first);
  for (TCell& cell : cells) cell.Entry = boxMeans.Find(cell.Mean);
  std::vector<TColourSums> entrySums(FColors.size());
  for (const TCell& cell : cells) {
    TColourSums& sum = entrySums[cell.Entry];
    sum.Count += cell.Count;
    for (int a = 0; a < 3; ++a) sum.Sum[a] += cell.Sum[a];
  }
  for (size_t i = first; i < FColors.size(); ++i)
    if (entrySums[i].Count) FColors[i] = MeanColour(entrySums[i].Sum, entrySums[i].Count);

  const TNearestEntry refined(FColors, first);
  FCellIndex.assign(CellCount, BlackIndex);
  for (const TCell& cell : cells) FCellIndex[cell.Cell] = uint8_t(refined.Find(cell.Mean));
}

void TGifPalette::PadToPowerOfTwo() {
  size_t size = 2;
  while (size < FColors.size()) size *= 2;
  FColors.resize(size, clBlack);
}

void TGifPalette::MapRow(const uint8_t* rgb, int width, uint8_t* indices) const {
  if (FExact) {
    uint32_t last = EmptyKey;
    uint8_t lastIndex = 0;
    for (int x = 0; x < width; ++x, rgb += 3) {
      const uint32_t colour = Pack(rgb);
      if (colour != last) {
        last = colour;
        lastIndex = FindExact(colour);
      }
      indices[x] = lastIndex;
    }
    return;
  }
  for (int x = 0; x < width; ++x, rgb += 3) {
    const uint32_t colour = Pack(rgb);
    if (colour == clBlack)
      indices[x] = BlackIndex;
    else if (colour == clWhite)
      indices[x] = WhiteIndex;
    else
      indices[x] = FCellIndex[CellOf(rgb)];
  }
}

}  // namespace tw
