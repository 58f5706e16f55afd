#include "support/AsciiArt.h"

#include <cstring>
#include <stdexcept>

namespace tw::test {
namespace {

struct TEntry {
  char Char;
  TColor Color;
};

constexpr TEntry Entries[] = {
    {'#', 0x000000}, {'.', 0xFFFFFF}, {'r', 0x0000FF}, {'g', 0x00FF00}, {'b', 0xFF0000},
    {'y', 0x00FFFF}, {'m', 0xFF00FF}, {'c', 0xFFFF00}, {'o', 0x808080}, {'x', 0x000001},
};

}  // namespace

TColor ArtColor(char c) {
  for (const TEntry& e : Entries)
    if (e.Char == c) return e.Color;
  throw std::invalid_argument(std::string("unknown art character ") + c);
}

char ArtChar(TColor c) {
  for (const TEntry& e : Entries)
    if (e.Color == c) return e.Char;
  return '?';
}

TRaster24 FromArt(const TArt& art) {
  TRaster24 r(int(art.at(0).size()), int(art.size()));
  for (int y = 0; y < r.Height(); ++y) {
    if (art[y].size() != art[0].size()) throw std::invalid_argument("ragged art");
    for (int x = 0; x < r.Width(); ++x) r.SetPixel(x, y, ArtColor(art[y][x]));
  }
  return r;
}

TArt ToArt(const TRaster24& raster) {
  TArt art;
  for (int y = 0; y < raster.Height(); ++y) {
    std::string row;
    for (int x = 0; x < raster.Width(); ++x) row += ArtChar(raster.Pixel(x, y));
    art.push_back(row);
  }
  return art;
}

TArt ToArt(const TRaster1& raster) {
  TArt art;
  for (int y = 0; y < raster.Height(); ++y) {
    std::string row;
    for (int x = 0; x < raster.Width(); ++x) row += raster.IsWhite(x, y) ? '.' : '#';
    art.push_back(row);
  }
  return art;
}

void LoadArt(TPainterModel& painter, const TArt& art) {
  painter.LoadPicture(FromArt(art));
  painter.ClearHistory();
}

bool SamePixels(const TRaster24& a, const TRaster24& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), size_t(a.Width()) * 3) != 0) return false;
  return true;
}

bool SamePixels(const TRaster1& a, const TRaster1& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.IsWhite(x, y) != b.IsWhite(x, y)) return false;
  return true;
}

}  // namespace tw::test
