// TPaintGrid: a grid of paint wells, each holding one colour or nothing
// (clNone), that reports which well was pressed. The main window uses one
// as the paint tray (2 x 10, filled from the current palette) and one as
// the mix tray (12 x 1); the grid knows nothing of palettes beyond copying
// one in, and nothing of tools.
//
// One well can be marked with a ring (the main window marks the well that
// holds the current paint); the ring reaches into the spacing round it.
//
// Wells are indexed column by column (index = column * Rows + row). The
// cell rectangles are laid out once per control size, at the start of a
// paint, when Spacing changes and before a press is hit-tested (so a press
// that arrives before the first paint still finds its well).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "controls/QHintControlU.h"
#include "painter/PaintCommonU.h"

namespace tw {

class TPaintPalette;
class TPaintGrid;

// A well was pressed: the grid and the well's index.
using TClickIndex = std::function<void(TPaintGrid& Sender, int32_t Index)>;

class TPaintGrid : public TQHintControl {
  Q_OBJECT

 public:
  explicit TPaintGrid(QWidget* parent = nullptr);

  // Columns, Rows := columns, rows; every well empty (clNone). The cells
  // are laid out anew at the next paint. Negative sizes, or more wells than
  // a tray can sensibly hold, throw EError.
  void SetGridSize(int32_t columns, int32_t rows);
  int32_t Columns() const { return FColumns; }
  int32_t Rows() const { return FRows; }
  int32_t Count() const { return FColumns * FRows; }

  // 0 <= index < Count; anything else throws EError.
  TColor GetColor(int32_t index) const;
  void SetColor(int32_t index, TColor color);
  // SetColor(i, palette colour i) for every well; when the palette is
  // shorter than the grid, the wells beyond it keep their colours.
  void LoadPalette(const TPaintPalette& palette);

  TColor EdgeColor() const { return FEdgeColor; }
  void SetEdgeColor(TColor value);
  int32_t Spacing() const { return FSpacing; }
  // Lays the cells out anew at once, then repaints.
  void SetSpacing(int32_t value);

  // Each well's rectangle in control pixels, as laid out last (half-open).
  const std::vector<TRect>& Cells() const { return FCells; }
  // The first well, in index order, whose rectangle holds the pixel
  // (right and bottom edges excluded), or -1 (in the spacing, or outside).
  int32_t IndexAt(int x, int y) const;
  // Lays the cells out when the size changed or a new layout was asked for.
  void Layout();

  // The marked well, or -1 for none; SetMarked with an index outside the
  // grid marks none.
  int32_t Marked() const { return FMarked; }
  void SetMarked(int32_t index);

  // Draws one well in rect with the grid's EdgeColor, at scale as
  // tw::DrawWell does.
  void DrawWell(QPainter& painter, const TRect& rect, TColor color, int scale) const;

  TClickIndex OnClickIndex;
  // After any well's colour was set or the grid was sized anew.
  std::function<void(TPaintGrid& Sender)> OnColorsChange;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void CheckIndex(int32_t index) const;

  TColor FEdgeColor = 0x999999;
  int32_t FSpacing = 4;
  int32_t FColumns = 0;
  int32_t FRows = 0;
  int32_t FMarked = -1;
  std::vector<TColor> FColors;
  std::vector<TRect> FCells;
  int FLayoutWidth = 0;
  int FLayoutHeight = 0;
  bool FLayoutRequested = false;
};

}  // namespace tw
