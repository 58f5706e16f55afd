// Paint types shared by the painter, the trays and the main window: colours,
// tools, mix modes, points and rectangles in picture pixels, and the event
// signatures.
#pragma once

#include <cstdint>
#include <functional>

namespace tw {

// 0x00BBGGRR, red in the low byte.
using TColor = uint32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

constexpr uint8_t GetRValue(TColor c) { return uint8_t(c); }
constexpr uint8_t GetGValue(TColor c) { return uint8_t(c >> 8); }
constexpr uint8_t GetBValue(TColor c) { return uint8_t(c >> 16); }
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

enum TPaintMode { pmFill, pmBrush, pmMBrush, pmDropper, pmMarker, pmEraser, pmTap };
enum TPaintMixMode { mmOver, mmDarken, mmLighten };

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Half-open: pixels Left..Right-1, Top..Bottom-1.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// The smallest rectangle holding both; an empty operand is ignored.
TRect UnionRect(const TRect& a, const TRect& b);
TRect IntersectRect(const TRect& a, const TRect& b);

// Points farther out than this on either axis are pulled in before any
// geometry: no pointer gets this far from a picture, and every sum and
// product of the drawing code then fits its integer type.
constexpr int PointLimit = 1 << 20;
TPoint ClampPoint(TPoint p);

// Rounds to the nearest integer, halves to even: the rounding of all geometry.
int Nearest(double v);

class TPainterModel;
using TClickAt = std::function<void(TPainterModel& sender, TPoint pt)>;
using TSetColor = std::function<void(TPainterModel& sender, TColor color)>;
using TPainterSetMode = std::function<void(TPainterModel& sender, TPaintMode& mode)>;

}  // namespace tw
