#include "bench/LineArtU.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/ErrorsU.h"
#include "painter/StrokeU.h"

namespace tw::bench {
namespace {

// A fixed generator (splitmix64) rather than <random>'s distributions, whose
// results may differ between standard libraries: the picture must not.
class TRandom {
 public:
  explicit TRandom(uint64_t seed) : FState(seed) {}
  uint64_t Next() {
    uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // lo..hi inclusive.
  int Range(int lo, int hi) { return hi <= lo ? lo : lo + int(Next() % uint64_t(hi - lo + 1)); }

 private:
  uint64_t FState;
};

void SetBlack(TRaster24& pic, int x, int y) {
  if (x >= 0 && y >= 0 && x < pic.Width() && y < pic.Height()) pic.SetPixel(x, y, clBlack);
}

// Blackens the outline of a closed shape: the pixels inside it that lie
// within `thickness` 4-steps of a pixel outside it. Built that way the
// outline is 4-tight for any thickness, so no 4-connected fill leaks through
// it. inside(x, y) tells whether a pixel belongs to the shape; box holds the
// shape with at least one pixel to spare on every side.
template <class TInside>
void DrawOutline(TRaster24& pic, const TRect& box, int thickness, TInside inside) {
  const int w = box.Width(), h = box.Height();
  std::vector<uint8_t> shape(size_t(w) * h), core, next;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) shape[size_t(y) * w + x] = inside(box.Left + x, box.Top + y);
  core = shape;
  auto at = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && core[size_t(y) * w + x];
  };
  for (int t = 0; t < thickness; ++t) {
    next = core;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        next[size_t(y) * w + x] =
            at(x, y) && at(x - 1, y) && at(x + 1, y) && at(x, y - 1) && at(x, y + 1);
    core.swap(next);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (shape[size_t(y) * w + x] && !core[size_t(y) * w + x])
        SetBlack(pic, box.Left + x, box.Top + y);
}

void DrawEllipse(TRaster24& pic, int cx, int cy, int rx, int ry, int thickness) {
  const double rx2 = double(rx) * rx, ry2 = double(ry) * ry;
  DrawOutline(pic, {cx - rx - 2, cy - ry - 2, cx + rx + 2, cy + ry + 2}, thickness,
              [&](int x, int y) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                return dx * dx / rx2 + dy * dy / ry2 <= 1.0;
              });
}

void DrawRectangle(TRaster24& pic, const TRect& r, int thickness) {
  DrawOutline(pic, {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}, thickness,
              [&](int x, int y) { return r.Contains(x, y); });
}

// The engine's one-pixel line; width 3 stamps a 3 x 3 square on every point.
void DrawLine(TRaster24& pic, TPoint a, TPoint b, int width) {
  const int half = width / 2;
  const TRect all{0, 0, pic.Width(), pic.Height()};
  CoverLine(a, b, 1, all, [&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x)
      for (int v = -half; v <= half; ++v)
        for (int u = -half; u <= half; ++u) SetBlack(pic, x + u, y + v);
  });
}

// A black frame around one bar 5 pixels high with 5-pixel teeth hanging from
// it, 3-pixel black walls between the teeth. Returns a point in the bar.
TPoint DrawComb(TRaster24& pic, const TRect& box) {
  constexpr int Wall = 3, Corridor = 5;
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) pic.SetPixel(x, y, clBlack);
  const int barTop = box.Top + Wall, barBottom = barTop + Corridor;
  for (int y = barTop; y < barBottom; ++y)
    for (int x = box.Left + Wall; x < box.Right - Wall; ++x) pic.SetPixel(x, y, clWhite);
  for (int left = box.Left + Wall; left + Corridor <= box.Right - Wall; left += Corridor + Wall)
    for (int y = barBottom; y < box.Bottom - Wall; ++y)
      for (int x = left; x < left + Corridor; ++x) pic.SetPixel(x, y, clWhite);
  return {box.Left + Wall + 2, barTop + 2};
}

enum TCellKind { ckCircle, ckRectangle, ckEllipse, ckSmallShapes, ckLines };

// One cell of the shape grid. Everything stays Gap pixels inside the cell,
// so items in neighbouring cells never touch and the background stays one
// region.
void DrawCell(TRaster24& pic, const TRect& cell, TCellKind kind, TRandom& rnd, TPoint* seed) {
  constexpr int Gap = 6;
  const int c = cell.Width();
  const int cx = (cell.Left + cell.Right) / 2, cy = (cell.Top + cell.Bottom) / 2;
  const int room = c / 2 - Gap - 3;
  auto thickness = [&] { return rnd.Range(0, 1) ? 3 : 1; };
  switch (kind) {
    case ckCircle: {
      const int r = rnd.Range(c * 22 / 100, c * 40 / 100);
      const int jx = rnd.Range(-(room - r), room - r), jy = rnd.Range(-(room - r), room - r);
      DrawEllipse(pic, cx + jx, cy + jy, r, r, thickness());
      if (seed) *seed = {cx + jx, cy + jy};
      break;
    }
    case ckRectangle: {
      const int w = rnd.Range(c * 35 / 100, c * 80 / 100),
                h = rnd.Range(c * 35 / 100, c * 80 / 100);
      const int left = cx - w / 2 + rnd.Range(-(room - w / 2), room - w / 2);
      const int top = cy - h / 2 + rnd.Range(-(room - h / 2), room - h / 2);
      DrawRectangle(pic, {left, top, left + w, top + h}, thickness());
      break;
    }
    case ckEllipse: {
      const int rx = rnd.Range(c * 15 / 100, c * 40 / 100),
                ry = rnd.Range(c * 15 / 100, c * 40 / 100);
      DrawEllipse(pic, cx, cy, rx, ry, thickness());
      break;
    }
    case ckSmallShapes:
      // Four small shapes in the quarters of the cell, the first a circle of
      // radius 12: about 400 pixels inside with a 1-px outline.
      for (int q = 0; q < 4; ++q) {
        const int qx = q % 2 ? cx + c / 4 : cx - c / 4, qy = q / 2 ? cy + c / 4 : cy - c / 4;
        const int kindOf = q == 0 ? 0 : rnd.Range(0, 2);
        const int r = q == 0 ? 12 : rnd.Range(6, 16);
        if (kindOf == 0)
          DrawEllipse(pic, qx, qy, r, r, q == 0 ? 1 : thickness());
        else if (kindOf == 1)
          DrawRectangle(pic, {qx - r, qy - r * 2 / 3, qx + r, qy + r * 2 / 3}, thickness());
        else
          DrawEllipse(pic, qx, qy, r, r * 2 / 3 + 2, thickness());
      }
      if (seed) *seed = {cx - c / 4, cy - c / 4};
      break;
    case ckLines:
      for (int i = 0; i < 3; ++i) {
        const TPoint a{cell.Left + Gap + 2 + rnd.Range(0, c - 2 * Gap - 4),
                       cell.Top + Gap + 2 + rnd.Range(0, c - 2 * Gap - 4)};
        const TPoint b{cell.Left + Gap + 2 + rnd.Range(0, c - 2 * Gap - 4),
                       cell.Top + Gap + 2 + rnd.Range(0, c - 2 * Gap - 4)};
        DrawLine(pic, a, b, i % 2 ? 3 : 1);
      }
      break;
  }
}

}  // namespace

TLineArt MakeLineArt(int width, int height) {
  if (width < 600 || height < 450)
    throw EError("Benchmark line art needs at least 600 x 450 pixels.");
  TLineArt art;
  art.Picture = TRaster24(width, height, clWhite);
  TRaster24& pic = art.Picture;
  const double scale = width / 2400.0;
  const int margin = std::max(8, int(std::lround(24 * scale)));

  const int combHeight = height * 12 / 100;
  const int combTop = height - margin - combHeight;
  art.CombSeed = DrawComb(pic, {margin, combTop, width - margin, combTop + combHeight});

  const int cellSide = std::max(120, int(std::lround(240 * scale)));
  const int areaWidth = width - 2 * margin, areaHeight = combTop - 2 * margin;
  const int cols = areaWidth / cellSide, rows = areaHeight / cellSide;
  const int left = margin + (areaWidth - cols * cellSide) / 2;
  const int top = margin + (areaHeight - rows * cellSide) / 2;
  TRandom rnd(0x5EEDull * uint64_t(width) + uint64_t(height));
  for (int i = 0; i < rows * cols; ++i) {
    const TRect cell{left + (i % cols) * cellSide, top + (i / cols) * cellSide,
                     left + (i % cols + 1) * cellSide, top + (i / cols + 1) * cellSide};
    // The first two cells carry the seeds; the rest are drawn by lot.
    const TCellKind kind = i == 0 ? ckCircle : i == 1 ? ckSmallShapes : TCellKind(rnd.Range(0, 4));
    DrawCell(pic, cell, kind, rnd, i == 0 ? &art.MediumSeed : i == 1 ? &art.SmallSeed : nullptr);
  }
  art.BackgroundSeed = {margin / 2, margin / 2};
  return art;
}

int CountRegion(const TRaster24& picture, TPoint seed) {
  const int w = picture.Width(), h = picture.Height();
  if (seed.x < 0 || seed.y < 0 || seed.x >= w || seed.y >= h) return 0;
  const TColor colour = picture.Pixel(seed.x, seed.y);
  std::vector<uint8_t> seen(size_t(w) * h, 0);
  std::vector<TPoint> queue{seed};
  seen[size_t(seed.y) * w + seed.x] = 1;
  for (size_t head = 0; head < queue.size(); ++head) {
    const TPoint p = queue[head];
    const TPoint next[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
    for (const TPoint& q : next) {
      if (q.x < 0 || q.y < 0 || q.x >= w || q.y >= h) continue;
      uint8_t& s = seen[size_t(q.y) * w + q.x];
      if (s || picture.Pixel(q.x, q.y) != colour) continue;
      s = 1;
      queue.push_back(q);
    }
  }
  return int(queue.size());
}

TEighths MakeEighths(int width, int height) {
  TEighths e{TRaster24(width, height, clWhite), {}};
  for (int column = 1; column < 4; ++column)
    for (int y = 0; y < height; ++y) e.Picture.SetPixel(width * column / 4, y, clBlack);
  for (int x = 0; x < width; ++x) e.Picture.SetPixel(x, height / 2, clBlack);
  for (int cell = 0; cell < 8; ++cell)
    e.Seeds[cell] = {width * (cell % 4) / 4 + width / 8, height * (cell / 4) / 2 + height / 4};
  return e;
}

}  // namespace tw::bench
