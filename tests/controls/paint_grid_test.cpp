// The paint grid: where its wells lie for the trays' sizes, which well a
// press lands in (edges and gaps included), what a well holds after
// SetGridSize, SetColor and LoadPalette, and what the control draws.
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "base/ErrorsU.h"
#include "palette/PaletteU.h"
#include "controls/PaintGridU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

constexpr TColor Background = 0xFF00FF;

void PaintBackground(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, QColor(255, 0, 255));
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

// The main window's mix tray and paint tray at their form sizes.
void MakeMixTray(TPaintGrid& grid) {
  grid.resize(372, 48);
  grid.SetEdgeColor(0xA7A7A7);
  grid.SetSpacing(4);
  grid.SetGridSize(12, 1);
}

void MakePaintTray(TPaintGrid& grid) {
  grid.resize(126, 353);
  grid.SetEdgeColor(0xA7A7A7);
  grid.SetSpacing(4);
  grid.SetGridSize(2, 10);
}

std::vector<int32_t> PressAt(TPaintGrid& grid, const std::vector<QPoint>& points,
                             Qt::MouseButton button = Qt::LeftButton) {
  std::vector<int32_t> hits;
  grid.OnClickIndex = [&](TPaintGrid& sender, int32_t index) {
    EXPECT_EQ(&sender, &grid);
    hits.push_back(index);
  };
  for (const QPoint& p : points) {
    QTest::mousePress(&grid, button, {}, p);
    QTest::mouseRelease(&grid, button, {}, p);
  }
  grid.OnClickIndex = nullptr;
  return hits;
}

TEST(PaintGrid, StartsWithoutWellsAndWithItsDefaults) {
  TPaintGrid grid;
  EXPECT_EQ(grid.Columns(), 0);
  EXPECT_EQ(grid.Rows(), 0);
  EXPECT_EQ(grid.Count(), 0);
  EXPECT_EQ(grid.EdgeColor(), TColor(0x999999));
  EXPECT_EQ(grid.Spacing(), 4);
  EXPECT_THROW(grid.GetColor(0), EError);
}

TEST(PaintGrid, MixTrayLayoutRoundsHalvesToEven) {
  TPaintGrid grid;
  MakeMixTray(grid);
  grid.Layout();
  ASSERT_EQ(grid.Cells().size(), 12u);
  // cellW = 376 / 12 - 4 = 27 1/3; the cells start every 31 1/3 pixels.
  EXPECT_EQ(grid.Cells()[0], (TRect{0, 0, 27, 48}));
  EXPECT_EQ(grid.Cells()[1], (TRect{31, 0, 59, 48}));
  EXPECT_EQ(grid.Cells()[2], (TRect{63, 0, 90, 48}));
  // Well 11 starts at 11 * 31.33 = 344.67 and ends at the control's edge.
  EXPECT_EQ(grid.Cells()[11], (TRect{345, 0, 372, 48}));
}

TEST(PaintGrid, PaintTrayIsIndexedColumnByColumn) {
  TPaintGrid grid;
  MakePaintTray(grid);
  grid.Layout();
  ASSERT_EQ(grid.Cells().size(), 20u);
  // cellW = 130 / 2 - 4 = 61, cellH = 357 / 10 - 4 = 31.7.
  EXPECT_EQ(grid.Cells()[0], (TRect{0, 0, 61, 32}));
  EXPECT_EQ(grid.Cells()[1], (TRect{0, 36, 61, 67}));
  EXPECT_EQ(grid.Cells()[10], (TRect{65, 0, 126, 32}));
  // Row 9 runs from 9 * 35.7 = 321.3 to 353.
  EXPECT_EQ(grid.Cells()[9], (TRect{0, 321, 61, 353}));
  EXPECT_EQ(grid.Cells()[19], (TRect{65, 321, 126, 353}));
}

TEST(PaintGrid, PressesBelongToTheWellWhoseRightAndBottomEdgesAreExcluded) {
  TPaintGrid grid;
  MakeMixTray(grid);
  // 26 is well 0's last column, 27..30 the gap, 31 well 1's first column;
  // 58 is well 1's last column and 59 its right edge. (QTest reads the
  // point (0, 0) as "the middle of the widget", so the corner is left out.)
  const std::vector<int32_t> hits =
      PressAt(grid, {{0, 47}, {26, 47}, {27, 10}, {30, 10}, {31, 10}, {58, 0}, {59, 0}, {371, 47}});
  EXPECT_EQ(hits, (std::vector<int32_t>{0, 0, 1, 1, 11}));
}

TEST(PaintGrid, PressesInTheGapsOfThePaintTrayFireNothing) {
  TPaintGrid grid;
  MakePaintTray(grid);
  // Well 0 ends above row 32; rows 32..35 are the gap; well 1 starts at 36.
  // Columns 61..64 are the gap between the two columns.
  const std::vector<int32_t> hits =
      PressAt(grid, {{60, 31}, {10, 32}, {10, 35}, {10, 36}, {61, 5}, {64, 5}, {65, 5}});
  EXPECT_EQ(hits, (std::vector<int32_t>{0, 1, 10}));
}

TEST(PaintGrid, AnyButtonPresses) {
  TPaintGrid grid;
  MakePaintTray(grid);
  EXPECT_EQ(PressAt(grid, {{70, 40}}, Qt::RightButton), std::vector<int32_t>{11});
  EXPECT_EQ(PressAt(grid, {{70, 40}}, Qt::MiddleButton), std::vector<int32_t>{11});
}

TEST(PaintGrid, ChangingSpacingLaysOutAtOnce) {
  TPaintGrid grid;
  MakeMixTray(grid);
  grid.Layout();
  grid.SetSpacing(0);
  // 372 / 12 = 31 exactly.
  EXPECT_EQ(grid.Cells()[1], (TRect{31, 0, 62, 48}));
  EXPECT_EQ(PressAt(grid, {{30, 0}, {31, 0}}), (std::vector<int32_t>{0, 1}));
}

TEST(PaintGrid, ResizingLaysOutOnTheNextPaint) {
  TPaintGrid grid;
  MakeMixTray(grid);
  grid.Layout();
  grid.resize(472, 48);
  EXPECT_EQ(grid.Cells()[1], (TRect{31, 0, 59, 48}));
  grid.grab();
  // (472 + 4) / 12 - 4 = 35 2/3: well 1 runs from 39.67 to 75.33.
  EXPECT_EQ(grid.Cells()[1], (TRect{40, 0, 75, 48}));
}

TEST(PaintGrid, SetGridSizeEmptiesEveryWell) {
  TPaintGrid grid;
  grid.SetGridSize(12, 1);
  grid.SetColor(3, 0x123456);
  grid.SetGridSize(2, 10);
  ASSERT_EQ(grid.Count(), 20);
  for (int32_t i = 0; i < 20; ++i) EXPECT_EQ(grid.GetColor(i), clNone) << i;
  EXPECT_THROW(grid.SetColor(20, 0), EError);
  EXPECT_THROW(grid.GetColor(-1), EError);
  EXPECT_THROW(grid.SetGridSize(-1, 3), EError);
}

TEST(PaintGrid, LoadPaletteFillsColumnByColumn) {
  TPaintPalette palette(20);
  for (int32_t i = 0; i < 20; ++i) palette.SetColor(i, RGB(uint8_t(10 * i), 200, 50));
  TPaintGrid grid;
  MakePaintTray(grid);
  PaintBackground(grid);
  grid.LoadPalette(palette);
  for (int32_t i = 0; i < 20; ++i) EXPECT_EQ(grid.GetColor(i), palette.Color(i)) << i;
  // Paint colour 10 shows at the top of the right-hand column, 1 below 0.
  const QImage shot = grid.grab().toImage();
  EXPECT_EQ(PixelAt(shot, 95, 16), palette.Color(10));
  EXPECT_EQ(PixelAt(shot, 30, 51), palette.Color(1));
  EXPECT_EQ(PixelAt(shot, 30, 16), palette.Color(0));
}

TEST(PaintGrid, AShortPaletteLeavesTheRestOfTheWells) {
  TPaintPalette palette(3);
  palette.SetColor(2, 0x00FF00);
  TPaintGrid grid;
  grid.SetGridSize(12, 1);
  grid.LoadPalette(palette);
  EXPECT_EQ(grid.GetColor(2), TColor(0x00FF00));
  EXPECT_EQ(grid.GetColor(3), clNone);
}

TEST(PaintGrid, DrawsEveryWellInItsCell) {
  TPaintGrid grid;
  MakeMixTray(grid);
  PaintBackground(grid);
  grid.SetColor(1, 0x0000FF);
  const QImage shot = grid.grab().toImage();
  // Well 0 is empty: a 3-pixel frame at 0..2 (darker) and 22..24 (lighter)
  // on the middle row, the background inside and in column 26.
  EXPECT_EQ(PixelAt(shot, 0, 24), TColor(0x535353));
  EXPECT_EQ(PixelAt(shot, 2, 24), TColor(0x535353));
  EXPECT_EQ(PixelAt(shot, 3, 24), Background);
  EXPECT_EQ(PixelAt(shot, 22, 24), Background);
  EXPECT_EQ(PixelAt(shot, 23, 24), TColor(0xD3D3D3));
  EXPECT_EQ(PixelAt(shot, 25, 24), TColor(0xD3D3D3));
  EXPECT_EQ(PixelAt(shot, 26, 24), Background);
  // The gap stays background; well 1 holds red paint in its middle.
  EXPECT_EQ(PixelAt(shot, 28, 24), Background);
  EXPECT_EQ(PixelAt(shot, 45, 24), TColor(0x0000FF));
  EXPECT_EQ(PixelAt(shot, 31, 24), TColor(0x535353));
}

TEST(PaintGrid, EdgeColorChangesTheFrames) {
  TPaintGrid grid;
  grid.resize(40, 30);
  PaintBackground(grid);
  grid.SetGridSize(1, 1);
  grid.SetEdgeColor(0xFFFFFF);
  // White darkened by half is L 120, a grey of 120 * 255 / 240 = 127.
  EXPECT_EQ(PixelAt(grid.grab().toImage(), 0, 15), TColor(0x7F7F7F));
}

TEST(PaintGrid, WithoutWellsDrawsADashedOutline) {
  TPaintGrid grid;
  grid.resize(60, 20);
  PaintBackground(grid);
  const QImage shot = grid.grab().toImage();
  int black = 0;
  int other = 0;
  for (int x = 0; x < 60; ++x) (PixelAt(shot, x, 0) == clBlack ? black : other)++;
  EXPECT_GT(black, 0);
  EXPECT_GT(other, 0);
  for (int y = 1; y < 19; ++y)
    for (int x = 1; x < 59; ++x) ASSERT_EQ(PixelAt(shot, x, y), Background) << x << "," << y;
}

}  // namespace
}  // namespace tw::test
