#include "controls/PaintGridU.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <string>

#include "base/ErrorsU.h"
#include "palette/PaletteU.h"
#include "controls/PaintWellU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {
namespace {

// Far beyond any tray, but small enough that the cell arrays stay small.
constexpr int32_t MaxWells = 65536;

// Nearest, with absurd spacings kept inside the int range.
int Coord(double v) { return Nearest(std::clamp(v, -1e9, 1e9)); }

}  // namespace

TPaintGrid::TPaintGrid(QWidget* parent) : TQHintControl(parent) {}

void TPaintGrid::SetGridSize(int32_t columns, int32_t rows) {
  if (columns < 0 || rows < 0 || (rows > 0 && columns > MaxWells / rows))
    throw EError("A paint grid of " + std::to_string(columns) + " x " + std::to_string(rows) +
                 " wells is not possible.");
  FColumns = columns;
  FRows = rows;
  FColors.assign(size_t(Count()), clNone);
  FCells.assign(size_t(Count()), TRect{});
  FLayoutRequested = true;
  FMarked = -1;
  update();
  if (OnColorsChange) OnColorsChange(*this);
}

void TPaintGrid::CheckIndex(int32_t index) const {
  if (index < 0 || index >= Count())
    throw EError("There is no paint well " + std::to_string(index) + " (the grid has " +
                 std::to_string(Count()) + ").");
}

TColor TPaintGrid::GetColor(int32_t index) const {
  CheckIndex(index);
  return FColors[size_t(index)];
}

void TPaintGrid::SetColor(int32_t index, TColor color) {
  CheckIndex(index);
  FColors[size_t(index)] = color;
  update();
  if (OnColorsChange) OnColorsChange(*this);
}

void TPaintGrid::SetMarked(int32_t index) {
  const int32_t value = index >= 0 && index < Count() ? index : -1;
  if (value == FMarked) return;
  FMarked = value;
  update();
}

void TPaintGrid::LoadPalette(const TPaintPalette& palette) {
  const int32_t n = std::min(Count(), palette.Count());
  for (int32_t i = 0; i < n; ++i) SetColor(i, palette.Color(i));
}

void TPaintGrid::SetEdgeColor(TColor value) {
  FEdgeColor = value;
  update();
}

void TPaintGrid::SetSpacing(int32_t value) {
  FSpacing = value;
  FLayoutRequested = true;
  Layout();
  update();
}

void TPaintGrid::Layout() {
  if (FColumns == 0 || FRows == 0) return;
  if (width() == FLayoutWidth && height() == FLayoutHeight && !FLayoutRequested) return;
  FLayoutRequested = false;
  FLayoutWidth = width();
  FLayoutHeight = height();
  const double cellW = (double(FLayoutWidth) + FSpacing) / FColumns - FSpacing;
  const double cellH = (double(FLayoutHeight) + FSpacing) / FRows - FSpacing;
  size_t i = 0;
  double x = 0;
  for (int32_t c = 0; c < FColumns; ++c) {
    const double x2 = x + cellW;
    double y = 0;
    for (int32_t r = 0; r < FRows; ++r) {
      const double y2 = y + cellH;
      FCells[i++] = {Coord(x), Coord(y), Coord(x2), Coord(y2)};
      y = y2 + FSpacing;
    }
    x = x2 + FSpacing;
  }
}

int32_t TPaintGrid::IndexAt(int x, int y) const {
  for (size_t i = 0; i < FCells.size(); ++i)
    if (FCells[i].Contains(x, y)) return int32_t(i);
  return -1;
}

void TPaintGrid::DrawWell(QPainter& painter, const TRect& rect, TColor color, int scale) const {
  tw::DrawWell(painter, rect, color, FEdgeColor, scale);
}

void TPaintGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (FColumns == 0 || FRows == 0) {
    // An empty grid still shows where it is.
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    return;
  }
  Layout();
  // On a high-density screen the wells are drawn in device pixels, so their
  // round corners are as smooth as the screen allows.
  const int scale = ArtScaleFor(devicePixelRatioF());
  painter.scale(1.0 / scale, 1.0 / scale);
  for (size_t i = 0; i < FCells.size(); ++i) DrawWell(painter, FCells[i], FColors[i], scale);
  // Half the spacing each side, so a ring never runs into a neighbour.
  if (FMarked >= 0)
    DrawWellMark(painter, FCells[size_t(FMarked)], std::max(0, FSpacing / 2), scale);
}

void TPaintGrid::mousePressEvent(QMouseEvent* event) {
  TQHintControl::mousePressEvent(event);
  if (!OnClickIndex) return;
  Layout();
  const QPoint p = EventPosition(event);
  const int32_t index = IndexAt(p.x(), p.y());
  if (index >= 0) OnClickIndex(*this, index);
}

}  // namespace tw
