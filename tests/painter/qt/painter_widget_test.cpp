// The painter control on screen: its size at a scale, the control-to-picture
// conversion of real mouse events, what it draws with and without a picture,
// and drawing only the part visible inside a scroll area.
#include <gtest/gtest.h>

#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <vector>

#include "painter/StretchU.h"
#include "painter/qt/PainterQtU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

// Records which control rectangles the painter is asked to draw.
class TRecordingPainter : public TPainter {
 public:
  using TPainter::TPainter;
  using TPainter::VisiblePart;
  std::vector<QRect> Drawn;

 protected:
  void DrawPicturePart(QPainter& painter, const QRect& target) override {
    Drawn.push_back(target);
    TPainter::DrawPicturePart(painter, target);
  }
};

// Black and white one-pixel checks: any smoothing shows as grey.
TRaster24 Checker(int w, int h) {
  TRaster24 r(w, h, clWhite);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((x + y) % 2) r.SetPixel(x, y, clBlack);
  return r;
}

// Line art with features everywhere, so any misplaced part shows.
TRaster24 Pattern(int w, int h) {
  TRaster24 r(w, h, clWhite);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (x % 7 == 0 || y % 5 == 0 || (x * 3 + y * 5) % 23 == 0) r.SetPixel(x, y, clBlack);
  return r;
}

TEST(PainterWidget, AutoSizeFollowsTheScaledPicture) {
  TPainter painter;
  painter.SetAutoSize(true);
  painter.LoadPicture(TRaster24(103, 61, clWhite));
  EXPECT_EQ(painter.size(), QSize(103, 61));
  painter.SetScale(2);
  EXPECT_EQ(painter.size(), QSize(206, 122));
  // 51.5 and 30.5 round halves to even: 52 and 30.
  painter.SetScale(0.5);
  EXPECT_EQ(painter.ScaledWidth(), 52);
  EXPECT_EQ(painter.ScaledHeight(), 30);
  EXPECT_EQ(painter.size(), QSize(52, 30));
  EXPECT_EQ(painter.sizeHint(), QSize(52, 30));
}

TEST(PainterWidget, WithoutAutoSizeTheSizeStays) {
  TPainter painter;
  painter.resize(80, 70);
  painter.LoadPicture(TRaster24(40, 30, clWhite));
  painter.SetScale(3);
  EXPECT_EQ(painter.size(), QSize(80, 70));
  // Turning it on takes the picture's size at once.
  painter.SetAutoSize(true);
  EXPECT_EQ(painter.size(), QSize(120, 90));
  painter.SetAutoSize(false);
  painter.resize(50, 50);
  EXPECT_EQ(painter.size(), QSize(50, 50));
}

TEST(PainterWidget, PressConvertsTheControlPositionToAPicturePoint) {
  TPainter painter;
  painter.LoadPicture(TRaster24(40, 30, clWhite));
  painter.SetScale(2);
  painter.SetPaintMode(pmDropper);
  std::vector<std::string> log;
  painter.OnMouseDown = [&](TPainter&, Qt::MouseButton button, Qt::MouseButtons,
                            Qt::KeyboardModifiers, int x, int y) {
    log.push_back("down " + std::to_string(int(button)) + " " + std::to_string(x) + "," +
                  std::to_string(y));
  };
  painter.OnClickAt = [&](TPainterModel& sender, TPoint pt) {
    EXPECT_EQ(&sender, static_cast<TPainterModel*>(&painter));
    log.push_back("click " + std::to_string(pt.x) + "," + std::to_string(pt.y));
  };
  painter.OnMouseUp = [&](TPainter&, Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers,
                          int x, int y) {
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  };
  // (5 * 0.5, 7 * 0.5) = (2.5, 3.5) rounds halves to even: (2, 4).
  QTest::mousePress(&painter, Qt::LeftButton, {}, QPoint(5, 7));
  QTest::mouseRelease(&painter, Qt::LeftButton, {}, QPoint(5, 7));
  // Any button uses the tool; (11 * 0.5, 9 * 0.5) = (5.5, 4.5) gives (6, 4).
  QTest::mousePress(&painter, Qt::RightButton, {}, QPoint(11, 9));
  EXPECT_EQ(log, (std::vector<std::string>{"down 1 5,7", "click 2,4", "up 5,7", "down 2 11,9",
                                           "click 6,4"}));
  QTest::mouseRelease(&painter, Qt::RightButton, {}, QPoint(11, 9));
}

TEST(PainterWidget, MovesAreReportedWithTheirPosition) {
  TPainter painter;
  painter.LoadPicture(TRaster24(40, 30, clWhite));
  std::vector<QPoint> moves;
  painter.OnMouseMove = [&](TPainter&, Qt::MouseButton button, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers, int x, int y) {
    EXPECT_EQ(button, Qt::NoButton);
    EXPECT_EQ(buttons, Qt::MouseButtons(Qt::LeftButton));
    moves.push_back({x, y});
  };
  painter.SetPaintMode(pmTap);
  QTest::mousePress(&painter, Qt::LeftButton, {}, QPoint(3, 4));
  QTest::mouseMove(&painter, QPoint(8, 9));
  QTest::mouseRelease(&painter, Qt::LeftButton, {}, QPoint(8, 9));
  EXPECT_EQ(moves, std::vector<QPoint>{QPoint(8, 9)});
}

TEST(PainterWidget, WithoutAPictureShowsAWhiteBoxWithABlackFrame) {
  TPainter painter;
  painter.resize(40, 30);
  const QImage shot = painter.grab().toImage();
  ASSERT_EQ(shot.size(), QSize(40, 30));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool frame = x == 0 || y == 0 || x == 39 || y == 29;
      ASSERT_EQ(PixelAt(shot, x, y), frame ? clBlack : clWhite) << x << "," << y;
    }
}

TEST(PainterWidget, ScaleNearOneShowsPixelsExactly) {
  TPainter painter;
  painter.SetAutoSize(true);
  const TRaster24 picture = Checker(300, 40);
  painter.LoadPicture(picture);
  painter.SetScale(1.005);
  const QImage shot = painter.grab().toImage();
  ASSERT_EQ(shot.width(), Nearest(300 * 1.005));
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const TPoint p = painter.ControlToPicture(QPoint(x, y));
      const TColor expected = picture.Pixel(std::min(p.x, 299), std::min(p.y, 39));
      ASSERT_EQ(PixelAt(shot, x, y), expected) << x << "," << y;
    }
}

TEST(PainterWidget, ScaleBeyondTheToleranceIsSmoothed) {
  TPainter painter;
  painter.SetAutoSize(true);
  painter.LoadPicture(Checker(300, 40));
  painter.SetScale(1.02);
  const QImage shot = painter.grab().toImage();
  int grey = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const TColor c = PixelAt(shot, x, y);
      if (c != clBlack && c != clWhite) ++grey;
    }
  // Blending black and white checks gives greys almost everywhere.
  EXPECT_GT(grey, shot.width() * shot.height() / 2);
}

TEST(PainterWidget, ShowsTheColourLayerAtTheScale) {
  TPainter painter;
  painter.SetAutoSize(true);
  painter.LoadPicture(Pattern(60, 50));
  for (double scale : {0.6, 1.0, 2.5}) {
    painter.SetScale(scale);
    const QImage shot = painter.grab().toImage();
    const TRaster24 expected = StretchToScreen(
        painter.ColorLayer(), scale, {0, 0, painter.ScaledWidth(), painter.ScaledHeight()});
    ASSERT_EQ(shot.size(), QSize(expected.Width(), expected.Height()));
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        ASSERT_EQ(PixelAt(shot, x, y), expected.Pixel(x, y)) << scale << ": " << x << "," << y;
  }
}

TEST(PainterWidget, DrawsOnlyThePartVisibleInTheScrollArea) {
  QScrollArea area;
  area.resize(230, 170);
  auto* painter = new TRecordingPainter;
  painter->SetAutoSize(true);
  const TRaster24 picture = Pattern(900, 650);
  painter->LoadPicture(picture);
  area.setWidget(painter);
  area.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
  for (double scale : {1.0, 1.5}) {
    painter->SetScale(scale);
    area.horizontalScrollBar()->setValue(300);
    area.verticalScrollBar()->setValue(200);
    SettlePaints();
    const QRect visible(QPoint(300, 200), area.viewport()->size());
    ASSERT_EQ(painter->VisiblePart(), visible);

    painter->Drawn.clear();
    painter->update();
    ASSERT_TRUE(WaitUntil([&] { return !painter->Drawn.empty(); }));
    SettlePaints();
    for (const QRect& r : painter->Drawn)
      EXPECT_TRUE(visible.contains(r)) << scale << ": " << r.x() << "," << r.y() << " "
                                       << r.width() << "x" << r.height();
    // Rendering the control asks for all of it; still only the visible part
    // is drawn.
    painter->Drawn.clear();
    painter->grab();
    ASSERT_FALSE(painter->Drawn.empty());
    for (const QRect& r : painter->Drawn)
      EXPECT_TRUE(visible.contains(r)) << scale << ": " << r.x() << "," << r.y() << " "
                                       << r.width() << "x" << r.height();

    // What shows in the viewport is that part of the picture at the scale.
    const QImage shot = area.viewport()->grab().toImage();
    const TRaster24 expected = StretchToScreen(
        painter->ColorLayer(), scale,
        {visible.left(), visible.top(), visible.right() + 1, visible.bottom() + 1});
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        ASSERT_EQ(PixelAt(shot, x, y), expected.Pixel(x, y)) << scale << ": " << x << "," << y;
  }
}

}  // namespace
}  // namespace tw::test
