// A single paint well drawn on a test picture: which pixels get the paint,
// its lighter and darker shades and the frame's shades, for filled and
// empty wells, and the outline's shape (edges where the geometry puts them,
// corners closed, nothing outside).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <queue>

#include "painter/QGfxUtilU.h"
#include "controls/PaintWellU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

constexpr TColor Background = 0xFF00FF;

QImage Canvas(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 255));
  return image;
}

template <typename Draw>
QImage DrawOn(int w, int h, Draw draw) {
  QImage image = Canvas(w, h);
  QPainter painter(&image);
  draw(painter);
  return image;
}

// The pixels of one row from x1 to x2 inclusive.
std::vector<TColor> Row(const QImage& image, int y, int x1, int x2) {
  std::vector<TColor> row;
  for (int x = x1; x <= x2; ++x) row.push_back(PixelAt(image, x, y));
  return row;
}

std::vector<TColor> Column(const QImage& image, int x, int y1, int y2) {
  std::vector<TColor> column;
  for (int y = y1; y <= y2; ++y) column.push_back(PixelAt(image, x, y));
  return column;
}

TEST(PaintWell, FilledWellFromTheOutsideIn) {
  const TColor paint = 0x2060C0;
  const TColor edge = 0xA7A7A7;
  const TRect cell{5, 4, 35, 30};
  const QImage image = DrawOn(40, 34, [&](QPainter& p) { DrawWell(p, cell, paint, edge); });
  const TColor light = LightenColor(paint, 50);
  const TColor dark = DarkenColor(paint, 50);
  // The frame of width 1 runs at L and R - 2, the paint's bevel of width 2
  // on the cell inset by 1 covers L + 1..L + 2 and R - 4..R - 3, the paint
  // L + 3..R - 5; column R - 1 is left alone.
  const std::vector<TColor> expected = {0x535353, light, light, paint, paint};
  const int y = 17;
  EXPECT_EQ(Row(image, y, 5, 9), expected);
  for (int x = 8; x <= 30; ++x) ASSERT_EQ(PixelAt(image, x, y), paint) << x;
  EXPECT_EQ(Row(image, y, 31, 35),
            (std::vector<TColor>{dark, dark, TColor(0xD3D3D3), Background, Background}));
  // The same down the middle column.
  const int x = 20;
  EXPECT_EQ(Column(image, x, 3, 8),
            (std::vector<TColor>{Background, 0x535353, light, light, paint, paint}));
  EXPECT_EQ(Column(image, x, 25, 30),
            (std::vector<TColor>{paint, dark, dark, TColor(0xD3D3D3), Background, Background}));
}

TEST(PaintWell, EmptyWellHasTheHeavierRimAndNoPaint) {
  const TRect cell{2, 2, 32, 40};
  const QImage image = DrawOn(36, 44, [&](QPainter& p) { DrawWell(p, cell, clNone, 0xA7A7A7); });
  // Width 3: the pen runs at L + 1 and R - 3, covering L..L + 2 and
  // R - 4..R - 2.
  EXPECT_EQ(Row(image, 21, 1, 6), (std::vector<TColor>{Background, 0x535353, 0x535353, 0x535353,
                                                       Background, Background}));
  EXPECT_EQ(Row(image, 21, 27, 32), (std::vector<TColor>{Background, 0xD3D3D3, 0xD3D3D3, 0xD3D3D3,
                                                         Background, Background}));
  EXPECT_EQ(Column(image, 17, 1, 5),
            (std::vector<TColor>{Background, 0x535353, 0x535353, 0x535353, Background}));
  EXPECT_EQ(Column(image, 17, 35, 40), (std::vector<TColor>{Background, 0xD3D3D3, 0xD3D3D3,
                                                            0xD3D3D3, Background, Background}));
}

TEST(PaintWell, BlackIsPaintNotAnEmptyWell) {
  const QImage image = DrawOn(30, 30, [&](QPainter& p) {
    DrawWell(p, {0, 0, 30, 30}, clBlack, 0xA7A7A7);
  });
  // Black lightened by half is a grey of L 120: 120 * 255 / 240 = 127.
  EXPECT_EQ(Row(image, 15, 0, 4),
            (std::vector<TColor>{0x535353, 0x7F7F7F, 0x7F7F7F, clBlack, clBlack}));
}

TEST(PaintWell, RoundedFillCutsOnlyWhatLiesOutsideTheCornerCircles) {
  const QImage image = DrawOn(12, 12, [&](QPainter& p) {
    FillRoundRect(p, {1, 1, 11, 11}, 0x00FF00, 5);
  });
  // The corner circle has radius 2.5 about (3.5, 3.5): the corner pixel's
  // centre (1.5, 1.5) lies 2.83 away, its neighbours' 2.24.
  EXPECT_EQ(PixelAt(image, 1, 1), Background);
  EXPECT_EQ(PixelAt(image, 2, 1), TColor(0x00FF00));
  EXPECT_EQ(PixelAt(image, 1, 2), TColor(0x00FF00));
  EXPECT_EQ(PixelAt(image, 10, 10), Background);
  EXPECT_EQ(PixelAt(image, 9, 10), TColor(0x00FF00));
  EXPECT_EQ(PixelAt(image, 10, 1), Background);
  EXPECT_EQ(PixelAt(image, 1, 10), Background);
  EXPECT_EQ(PixelAt(image, 11, 5), Background);
  EXPECT_EQ(PixelAt(image, 0, 5), Background);
  int filled = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) filled += PixelAt(image, x, y) == 0x00FF00;
  EXPECT_EQ(filled, 100 - 4);
}

// Whether the background at `inside` can reach the picture's border through
// undrawn pixels, moving up, down, left and right.
bool Leaks(const QImage& image, QPoint inside) {
  std::vector<bool> seen(size_t(image.width() * image.height()));
  std::queue<QPoint> work;
  work.push(inside);
  while (!work.empty()) {
    const QPoint p = work.front();
    work.pop();
    if (!image.rect().contains(p)) return true;
    const size_t at = size_t(p.y() * image.width() + p.x());
    if (seen[at] || PixelAt(image, p.x(), p.y()) != Background) continue;
    seen[at] = true;
    for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
      work.push(p + d);
  }
  return false;
}

TEST(PaintWell, BevelIsAClosedOutlineInsideItsRectangle) {
  for (int width = 1; width <= 4; ++width)
    for (int radius : {0, 2, 5, 6})
      for (const TRect rect : {TRect{3, 3, 40, 33}, TRect{4, 5, 47, 26}}) {
        const QImage image =
            DrawOn(50, 40, [&](QPainter& p) { Bevel(p, rect, 0x0000FF, 0x00FF00, radius, width); });
        SCOPED_TRACE(testing::Message() << "width " << width << " radius " << radius);
        EXPECT_FALSE(
            Leaks(image, QPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2)));
        for (int y = 0; y < 40; ++y)
          for (int x = 0; x < 50; ++x) {
            if (!rect.Contains(x, y)) {
              ASSERT_EQ(PixelAt(image, x, y), Background) << x << "," << y;
            }
          }
      }
}

TEST(PaintWell, BevelEdgesTakeTheirColoursAndPositions) {
  const TRect rect{0, 0, 40, 30};
  const TColor c1 = 0x0000FF;
  const TColor c2 = 0x00FF00;
  const QImage image = DrawOn(40, 30, [&](QPainter& p) { Bevel(p, rect, c1, c2, 6, 2); });
  // Width 2: left and top cover pixels 0..1, right 37..38, bottom 27..28;
  // the straight edges stop 6 short of the corners.
  EXPECT_EQ(Column(image, 20, 0, 2), (std::vector<TColor>{c1, c1, Background}));
  EXPECT_EQ(Column(image, 20, 26, 29), (std::vector<TColor>{Background, c2, c2, Background}));
  EXPECT_EQ(Row(image, 15, 0, 2), (std::vector<TColor>{c1, c1, Background}));
  EXPECT_EQ(Row(image, 15, 36, 39), (std::vector<TColor>{Background, c2, c2, Background}));
  // The top-right corner is drawn first in c1 and the right edge over it in
  // c2; the bottom-left corner is c1, the bottom-right c2.
  EXPECT_EQ(PixelAt(image, 2, 2), c1);
  EXPECT_EQ(PixelAt(image, 36, 26), c2);
  bool c1InTopRight = false;
  bool c1InBottomLeft = false;
  for (int y = 0; y < 8; ++y)
    for (int x = 30; x < 40; ++x) c1InTopRight |= PixelAt(image, x, y) == c1;
  for (int y = 22; y < 30; ++y)
    for (int x = 0; x < 10; ++x) c1InBottomLeft |= PixelAt(image, x, y) == c1;
  EXPECT_TRUE(c1InTopRight);
  EXPECT_TRUE(c1InBottomLeft);
}

}  // namespace
}  // namespace tw::test
