// Strokes driven by real mouse events: a drag paints and ends at the release,
// a drag that leaves the control keeps arriving through Qt's implicit grab,
// changing the tool ends the stroke, and each segment repaints only its own
// rectangle on screen.
#include <gtest/gtest.h>

#include <QRegion>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "painter/qt/PainterQtU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

constexpr TColor Red = 0x0000FF;

// Records the control rectangles Qt asks the painter to repaint.
class TRecordingPainter : public TPainter {
 public:
  using TPainter::TPainter;
  QRegion Painted;

 protected:
  void paintEvent(QPaintEvent* event) override {
    Painted += event->region();
    TPainter::paintEvent(event);
  }
};

void PrepareBrush(TPainter& painter, int w, int h, int size) {
  painter.SetAutoSize(true);
  painter.LoadPicture(TRaster24(w, h, clWhite));
  painter.SetPaintColor(Red);
  painter.SetBrushSize(size);
  painter.SetPaintMode(pmBrush);
}

bool IsRed(const TPainter& painter, int x, int y) { return painter.ColorLayer().Pixel(x, y) == Red; }

bool Inside(const QRegion& region, const QRect& bound) { return (region - bound).isEmpty(); }
bool Covers(const QRegion& region, const QRect& rect) { return (QRegion(rect) - region).isEmpty(); }

TEST(PainterMouse, BrushDragPaintsAndEndsTheStrokeAtRelease) {
  TPainter painter;
  PrepareBrush(painter, 120, 90, 3);
  QTest::mousePress(&painter, Qt::LeftButton, {}, QPoint(20, 30));
  EXPECT_TRUE(painter.Stroking());
  QTest::mouseMove(&painter, QPoint(40, 30));
  QTest::mouseMove(&painter, QPoint(60, 30));
  QTest::mouseRelease(&painter, Qt::LeftButton, {}, QPoint(60, 30));
  EXPECT_FALSE(painter.Stroking());
  EXPECT_EQ(painter.HistorySteps(), 1);
  // A pen 3 wide covers the pixel centres within 1.5 of the line y = 30.
  for (int x = 20; x <= 60; ++x)
    for (int y = 29; y <= 31; ++y) ASSERT_TRUE(IsRed(painter, x, y)) << x << "," << y;
  for (int x = 0; x < 120; ++x) {
    ASSERT_FALSE(IsRed(painter, x, 27)) << x;
    ASSERT_FALSE(IsRed(painter, x, 33)) << x;
  }
  EXPECT_FALSE(IsRed(painter, 17, 30));
  EXPECT_FALSE(IsRed(painter, 63, 30));
  // After the release moves paint nothing.
  QTest::mouseMove(&painter, QPoint(60, 70));
  for (int y = 33; y < 90; ++y) ASSERT_FALSE(IsRed(painter, 60, y)) << y;
}

TEST(PainterMouse, DragLeavingTheControlKeepsDrawingAndStaysInBounds) {
  // The painter sits inside a larger window; the events go through the
  // window, as the pointer's would, so Qt's implicit grab decides who gets
  // the moves outside the control.
  QWidget host;
  host.resize(300, 250);
  auto* painter = new TRecordingPainter(&host);
  painter->move(40, 30);
  PrepareBrush(*painter, 100, 80, 3);
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  SettlePaints();
  QWindow* window = host.windowHandle();
  const QPoint origin = painter->pos();
  auto at = [&](int x, int y) { return origin + QPoint(x, y); };

  painter->Painted = QRegion();
  QTest::mousePress(window, Qt::LeftButton, {}, at(50, 40));
  QTest::mouseMove(window, at(130, 40));
  QTest::mouseMove(window, at(130, 70));
  QTest::mouseMove(window, at(50, 70));
  QTest::mouseRelease(window, Qt::LeftButton, {}, at(50, 70));
  EXPECT_FALSE(painter->Stroking());
  // Both horizontal segments ran to the picture's right edge.
  for (int x = 50; x < 100; ++x) {
    ASSERT_TRUE(IsRed(*painter, x, 40)) << x;
    ASSERT_TRUE(IsRed(*painter, x, 70)) << x;
  }
  // Outside points are not pulled to the edge, so the segment down the
  // outside left no paint in the picture; and the stroke went round, not
  // straight down from (50, 40) to (50, 70).
  EXPECT_FALSE(IsRed(*painter, 99, 55));
  EXPECT_FALSE(IsRed(*painter, 50, 55));

  // Leaving the window itself, up and to the left.
  QTest::mousePress(window, Qt::LeftButton, {}, at(10, 10));
  QTest::mouseMove(window, at(-60, 10));
  QTest::mouseMove(window, at(10, 60));
  QTest::mouseRelease(window, Qt::LeftButton, {}, at(10, 60));
  for (int x = 0; x <= 10; ++x) ASSERT_TRUE(IsRed(*painter, x, 10)) << x;
  // The line from (-60, 10) to (10, 60) enters the picture at (0, 52.9).
  EXPECT_TRUE(IsRed(*painter, 0, 53));
  EXPECT_FALSE(IsRed(*painter, 0, 30));

  SettlePaints();
  EXPECT_FALSE(painter->Painted.isEmpty());
  EXPECT_TRUE(Inside(painter->Painted, QRect(0, 0, 100, 80)));
}

TEST(PainterMouse, ChangingTheToolWhileDraggingEndsTheStroke) {
  TPainter painter;
  PrepareBrush(painter, 100, 80, 5);
  QTest::mousePress(&painter, Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseMove(&painter, QPoint(40, 20));
  ASSERT_TRUE(painter.Stroking());
  painter.SetPaintMode(pmFill);
  EXPECT_FALSE(painter.Stroking());
  const TRaster24 before = painter.ColorLayer();
  QTest::mouseMove(&painter, QPoint(60, 50));
  QTest::mouseRelease(&painter, Qt::LeftButton, {}, QPoint(60, 50));
  const TRaster24& after = painter.ColorLayer();
  ASSERT_EQ(after.ByteSize(), before.ByteSize());
  EXPECT_EQ(0, std::memcmp(after.Data(), before.Data(), after.ByteSize()));
  EXPECT_EQ(painter.HistorySteps(), 1);
}

// The rectangle a segment from `from` to `to` changes: both dabs with a
// margin of 4 picture pixels, clipped to the picture.
QRect SegmentRect(TPoint from, TPoint to, int size, QSize picture) {
  const int half = size / 2, rest = size - half;
  const int left = std::min(from.x, to.x) - half - 4, top = std::min(from.y, to.y) - half - 4;
  const int right = std::max(from.x, to.x) + rest + 4, bottom = std::max(from.y, to.y) + rest + 4;
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & QRect(QPoint(0, 0), picture);
}

QRect ScaledRect(const QRect& r, double scale) {
  const int l = Nearest(r.left() * scale), t = Nearest(r.top() * scale);
  const int rr = Nearest((r.right() + 1) * scale), b = Nearest((r.bottom() + 1) * scale);
  return QRect(l, t, rr - l, b - t);
}

TEST(PainterMouse, AStrokeSegmentRepaintsOnlyItsRectangle) {
  for (double scale : {1.0, 2.0}) {
    TRecordingPainter painter;
    PrepareBrush(painter, 150, 100, 4);
    painter.SetScale(scale);
    painter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&painter));
    const auto control = [&](int x, int y) { return QPoint(int(x * scale), int(y * scale)); };
    QTest::mousePress(&painter, Qt::LeftButton, {}, control(40, 40));
    SettlePaints();

    painter.Painted = QRegion();
    QTest::mouseMove(&painter, control(55, 47));
    ASSERT_TRUE(WaitUntil([&] { return !painter.Painted.isEmpty(); }));
    SettlePaints();
    const QRect expected = ScaledRect(SegmentRect({40, 40}, {55, 47}, 4, {150, 100}), scale);
    // Exactly the scaled rectangle at scale 1; when smoothing, the filter
    // reaches at most ceil(scale / 2) + 1 screen pixels further.
    const int reach = scale == 1.0 ? 0 : int(std::ceil(scale / 2)) + 1;
    const QRect bound = expected.adjusted(-reach, -reach, reach, reach);
    EXPECT_TRUE(Covers(painter.Painted, expected)) << scale;
    EXPECT_TRUE(Inside(painter.Painted, bound)) << scale;
    if (scale == 1.0) {
      EXPECT_EQ(painter.Painted, QRegion(expected));
    }

    // Near the picture's corner the repaint is clipped to the picture.
    painter.Painted = QRegion();
    QTest::mouseMove(&painter, control(148, 99));
    ASSERT_TRUE(WaitUntil([&] { return !painter.Painted.isEmpty(); }));
    SettlePaints();
    EXPECT_TRUE(Inside(painter.Painted, QRect(0, 0, painter.ScaledWidth(), painter.ScaledHeight())));
    QTest::mouseRelease(&painter, Qt::LeftButton, {}, control(148, 99));
  }
}

}  // namespace
}  // namespace tw::test
