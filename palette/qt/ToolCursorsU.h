// TToolCursors: the main window's twelve tool pointers, created at start-up
// from the built-in pictures, and their recolouring as the paint and the
// dropper change. Cursor number = row + 1 of the table below; numbers 1 to 9
// (bucket, brush, masked brush, the dropper holding 0 to 5 drops) take
// paint, the marker, eraser and tap pointers never do. It also installs the
// program's own hand, arrow and not-allowed pointers, which are used
// whether or not the tool pointers are pictures.
#pragma once

#include <QPoint>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "painter/PaintCommonU.h"
#include "palette/qt/ColorCursorU.h"
#include "palette/qt/CursorTableU.h"

namespace tw {

struct TToolCursorInfo {
  const char* Name;
  QPoint HotSpot;
  // Where the paint is poured in; only for the pointers that take paint.
  QPoint ColorPoint;
  bool TakesPaint;
};

constexpr int32_t ToolCursorCount = 12;
// Row i is cursor number i + 1.
extern const std::array<TToolCursorInfo, ToolCursorCount> ToolCursorTable;

// Cursor numbers of the pointers that are recoloured.
constexpr int32_t crFill = 1;
constexpr int32_t crBrush = 2;
constexpr int32_t crMBrush = 3;
// "dropper" + n is number crDropper0 + n.
constexpr int32_t crDropper0 = 4;
constexpr int32_t MaxDropperDrops = 5;

class TToolCursors {
 public:
  // With UseImgCursors, creates, builds and registers all twelve pointers
  // from Source ("<name>M" masks and "<name>C" colour pictures; the
  // built-in artwork by default); without it none, so the painter shows
  // the ordinary pointer. Either way installs the program's own hand,
  // arrow and not-allowed pointers. A missing picture or a size mismatch
  // throws EError.
  explicit TToolCursors(bool UseImgCursors, const TPictureSource& Source = TPictureSource());

  bool UseImgCursors() const { return !FCursors.empty(); }

  // The bucket, brush and masked brush pointers take the new paint colour.
  void TintPaint(TColor Color);
  // The dropper pointer holding Drops drops (1 to 5) takes Color; other
  // counts change nothing (the empty dropper is never recoloured).
  void TintDropper(int Drops, TColor Color);

  // The pointer with that number, or nullptr (none created, or no such
  // number).
  TColorCursor* Cursor(int32_t Id);
  // Where the paint is poured in for pointer Id (1 to 9).
  QPoint ColorPoint(int32_t Id) const;

 private:
  void TintOne(int32_t Id, TColor Color);

  std::vector<std::unique_ptr<TColorCursor>> FCursors;
  std::array<QPoint, 9> FColorPoints{};
};

}  // namespace tw
