#include "support/ReferencePainter.h"

#include <algorithm>
#include <queue>

#include "painter/PainterU.h"
#include "painter/StrokeU.h"

namespace tw::test {
namespace {

// Where a press on black looks next: the point, below, left, right, above,
// then the corners below and above.
constexpr TPoint Neighbours[9] = {{0, 0},  {0, 1},  {-1, 0}, {1, 0}, {0, -1},
                                  {-1, 1}, {1, 1}, {-1, -1}, {1, -1}};

}  // namespace

TReferenceLayers LayersOf(const TRaster24& color, const TRaster1& outline) {
  TReferenceLayers l;
  l.Width = color.Width();
  l.Height = color.Height();
  for (int y = 0; y < l.Height; ++y)
    for (int x = 0; x < l.Width; ++x) {
      l.Color.push_back(color.Pixel(x, y));
      l.Line.push_back(y < outline.Height() && x < outline.Width() && !outline.IsWhite(x, y));
    }
  return l;
}

void TReferencePainter::SetBrushSize(int value) {
  FBrushSize = std::clamp(value, 1, TPainterModel::MaxBrushSize);
}

void TReferencePainter::SetPaintColor(TColor value) {
  value &= 0xFFFFFF;
  FPaint = value == 0 ? 1 : value;
}

void TReferencePainter::SetPaintMode(TPaintMode value) {
  FMode = value;
  FStroking = false;
}

TColor TReferencePainter::EffectivePaint() const {
  const TColor paint = FPaint == 0 ? 1 : FPaint;
  return FMix == mmDarken ? paint ^ 0x010101 : paint;
}

TColor TReferencePainter::Combine(TColor old, TColor paint) const {
  switch (FMix) {
    case mmOver: return paint;
    case mmDarken: return old & paint;
    case mmLighten: return old | paint;
  }
  return old;
}

void TReferencePainter::Build(const TRaster24& source) {
  FStroking = false;
  FNow = TReferenceLayers();
  FNow.Width = source.Width();
  FNow.Height = source.Height();
  for (int y = 0; y < FNow.Height; ++y)
    for (int x = 0; x < FNow.Width; ++x) {
      FNow.Color.push_back(source.Pixel(x, y));
      FNow.Line.push_back(source.Pixel(x, y) != clWhite);
    }
  Compose();
}

void TReferencePainter::Compose() {
  for (size_t i = 0; i < FNow.Color.size(); ++i)
    if (FNow.Line[i]) FNow.Color[i] = clBlack;
}

void TReferencePainter::LoadPicture(const TRaster24& picture) {
  FRedo.clear();
  FClean = picture;
  Build(picture);
}

void TReferencePainter::AssignLayer(const TRaster24& bitmap, bool whole) {
  FRedo.clear();
  if (whole) {
    Build(bitmap);
    return;
  }
  for (int y = 0; y < std::min(FNow.Height, bitmap.Height()); ++y)
    for (int x = 0; x < std::min(FNow.Width, bitmap.Width()); ++x)
      FNow.Color[Index(x, y)] = bitmap.Pixel(x, y);
  Compose();
}

void TReferencePainter::Push() {
  // Every new action forgets what could be redone.
  FRedo.clear();
  if (MaxHistory <= 0 || !HasPicture()) return;
  if (int(FHistory.size()) >= MaxHistory) FHistory.pop_front();
  FHistory.push_back(FNow);
}

void TReferencePainter::Wash() {
  if (!HasPicture()) return;
  Push();
  Build(FClean);
}

void TReferencePainter::Keep(std::deque<TReferenceLayers>& side,
                             const TReferenceLayers& layers) const {
  if (MaxHistory <= 0) return;
  if (int(side.size()) >= MaxHistory) side.pop_front();
  side.push_back(layers);
}

void TReferencePainter::Undo() {
  if (FHistory.empty()) return;
  Keep(FRedo, FNow);
  FNow = FHistory.back();
  FHistory.pop_back();
  FStroking = false;
}

void TReferencePainter::Redo() {
  if (FRedo.empty()) return;
  Keep(FHistory, FNow);
  FNow = FRedo.back();
  FRedo.pop_back();
  FStroking = false;
}

template <class TIsBlack>
std::optional<TPoint> TReferencePainter::FindNotBlack(TPoint pt, TIsBlack isBlack) const {
  for (const TPoint& d : Neighbours) {
    const int x = pt.x + d.x, y = pt.y + d.y;
    if (Inside(x, y) && !isBlack(x, y)) return TPoint{x, y};
  }
  return std::nullopt;
}

template <class TPassable>
std::vector<bool> TReferencePainter::Region(TPoint seed, TPassable passable) const {
  std::vector<bool> in(FNow.Color.size(), false);
  if (!passable(seed.x, seed.y)) return in;
  std::queue<TPoint> work;
  work.push(seed);
  in[Index(seed.x, seed.y)] = true;
  while (!work.empty()) {
    const TPoint p = work.front();
    work.pop();
    for (const TPoint& n : {TPoint{p.x + 1, p.y}, TPoint{p.x - 1, p.y}, TPoint{p.x, p.y + 1},
                            TPoint{p.x, p.y - 1}}) {
      if (!Inside(n.x, n.y) || in[Index(n.x, n.y)] || !passable(n.x, n.y)) continue;
      in[Index(n.x, n.y)] = true;
      work.push(n);
    }
  }
  return in;
}

std::optional<TPoint> TReferencePainter::Press(TPoint pt) {
  if (!HasPicture()) return std::nullopt;
  auto onLine = [this](int x, int y) { return bool(FNow.Line[Index(x, y)]); };
  switch (FMode) {
    case pmFill: {
      const std::optional<TPoint> q = FindNotBlack(pt, onLine);
      if (!q) return std::nullopt;
      Push();
      // The fill is bounded by black in the colour layer, which darkening
      // paint may have made.
      const std::vector<bool> region =
          Region(*q, [this](int x, int y) { return FNow.Color[Index(x, y)] != clBlack; });
      for (size_t i = 0; i < region.size(); ++i)
        if (region[i]) FNow.Color[i] = Combine(FNow.Color[i], EffectivePaint());
      Compose();
      return pt;
    }
    case pmMBrush: {
      const std::optional<TPoint> q = FindNotBlack(pt, onLine);
      if (!q) return std::nullopt;
      FMask = Region(*q, [&](int x, int y) { return !onLine(x, y); });
      for (size_t i = 0; i < FMask.size(); ++i) FMask[i] = FMask[i] || FNow.Line[i];
      FScratch = FNow.Color;
      FStroking = true;
      FPrevious = *q;
      Push();
      Segment(*q, true);
      return q;
    }
    case pmBrush:
    case pmMarker:
    case pmEraser:
      FStroking = true;
      FPrevious = pt;
      Push();
      Segment(pt, true);
      return pt;
    case pmDropper:
    case pmTap:
      return pt;
  }
  return std::nullopt;
}

void TReferencePainter::MoveTo(TPoint pt) {
  if (!FStroking || !HasPicture()) return;
  Segment(pt, false);
  FPrevious = pt;
}

void TReferencePainter::Segment(TPoint to, bool first) {
  const TPoint from = FPrevious;
  const int size = FBrushSize;
  // Only pixels within reach of the two dab squares can be covered.
  const int x0 = std::max(0, std::min(from.x, to.x) - size - 1);
  const int x1 = std::min(FNow.Width, std::max(from.x, to.x) + size + 2);
  const int y0 = std::max(0, std::min(from.y, to.y) - size - 1);
  const int y1 = std::min(FNow.Height, std::max(from.y, to.y) + size + 2);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const bool covered =
          first || from == to ? DabCovers(to, size, x, y) : LineCovers(from, to, size, x, y);
      if (!covered) continue;
      TColor& c = FNow.Color[Index(x, y)];
      switch (FMode) {
        case pmBrush:
          c = Combine(c, EffectivePaint());
          break;
        case pmMBrush:
          FScratch[Index(x, y)] = Combine(FScratch[Index(x, y)], EffectivePaint());
          break;
        case pmMarker:
          FNow.Line[Index(x, y)] = true;
          break;
        case pmEraser:
          FNow.Line[Index(x, y)] = false;
          c = Combine(c, clWhite);
          break;
        default:
          break;
      }
    }
  if (FMode == pmMBrush) {
    // Inside the repaint rectangle the masked region takes the work copy.
    const int half = size / 2, rest = size - half, margin = 4;
    const int rx0 = std::max(0, std::min(from.x, to.x) - half - margin);
    const int rx1 = std::min(FNow.Width, std::max(from.x, to.x) + rest + margin);
    const int ry0 = std::max(0, std::min(from.y, to.y) - half - margin);
    const int ry1 = std::min(FNow.Height, std::max(from.y, to.y) + rest + margin);
    for (int y = ry0; y < ry1; ++y)
      for (int x = rx0; x < rx1; ++x)
        if (FMask[Index(x, y)]) FNow.Color[Index(x, y)] = FScratch[Index(x, y)];
  }
  Compose();
}

TColor TReferencePainter::ColorAt(TPoint pt) const {
  const std::optional<TPoint> q =
      FindNotBlack(pt, [this](int x, int y) { return FNow.Color[Index(x, y)] == clBlack; });
  return q ? FNow.Color[Index(q->x, q->y)] : 0;
}

}  // namespace tw::test
