// Touch: a tap acts as a click (fill, choose a paint, press a tool button),
// a drag paints a stroke, and a second finger neither paints nor breaks the
// first finger's stroke.
#include <QPointingDevice>
#include <QTest>
#include <vector>

#include "app/main_window_test_support.h"

namespace tw::test {
namespace {

QPointingDevice* TouchScreen() {
  static QPointingDevice* device = QTest::createTouchDevice();
  return device;
}

void Tap(QWidget& widget, QPoint at) {
  QTest::touchEvent(&widget, TouchScreen()).press(0, at, &widget);
  QTest::touchEvent(&widget, TouchScreen()).release(0, at, &widget);
}

// A white picture on a painter shown as its own window at scale 1, brush of
// size 1 in red.
class TouchStroke : public ::testing::Test {
 protected:
  static constexpr TColor Red = RGB(255, 0, 0);

  void SetUp() override {
    FPainter.LoadPicture(TRaster24(80, 60, clWhite));
    FPainter.SetAutoSize(true);
    FPainter.SetPaintMode(pmBrush);
    FPainter.SetBrushSize(1);
    FPainter.SetPaintColor(Red);
    FPainter.setGeometry(QRect(300, 200, 80, 60));
    FPainter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FPainter));
  }

  // The picture's red pixels, which must be exactly the run x0..x1 of row y.
  void ExpectRedRun(int y, int x0, int x1) {
    const TRaster24& layer = FPainter.ColorLayer();
    int wrong = 0;
    for (int py = 0; py < layer.Height(); ++py)
      for (int px = 0; px < layer.Width(); ++px) {
        const bool inRun = py == y && px >= x0 && px <= x1;
        wrong += layer.Pixel(px, py) != (inRun ? Red : clWhite);
      }
    EXPECT_EQ(wrong, 0);
  }

  TPainter FPainter;
};

TEST_F(TouchStroke, ADragPaintsItsLine) {
  QTest::touchEvent(&FPainter, TouchScreen()).press(0, QPoint(10, 20), &FPainter);
  for (int x = 12; x <= 30; x += 2)
    QTest::touchEvent(&FPainter, TouchScreen()).move(0, QPoint(x, 20), &FPainter);
  QTest::touchEvent(&FPainter, TouchScreen()).release(0, QPoint(30, 20), &FPainter);
  ExpectRedRun(20, 10, 30);
}

TEST_F(TouchStroke, ASecondFingerNeitherPaintsNorBreaksTheStroke) {
  // One sequence throughout, so a finger that stays put is reported where
  // it is, as a touch screen does.
  auto touch = QTest::touchEvent(&FPainter, TouchScreen(), false);
  touch.press(0, QPoint(10, 20), &FPainter).commit();
  touch.move(0, QPoint(20, 20), &FPainter).commit();
  // The second finger lands far away, moves and lifts while the first
  // goes on.
  touch.stationary(0).press(1, QPoint(60, 50), &FPainter).commit();
  touch.move(0, QPoint(25, 20), &FPainter).move(1, QPoint(70, 40), &FPainter).commit();
  touch.stationary(0).release(1, QPoint(70, 40), &FPainter).commit();
  touch.move(0, QPoint(30, 20), &FPainter).commit();
  touch.release(0, QPoint(30, 20), &FPainter).commit();
  ExpectRedRun(20, 10, 30);
}

TEST_F(TouchStroke, ASecondFingerThatOutlastsTheFirstPaintsNothing) {
  auto touch = QTest::touchEvent(&FPainter, TouchScreen(), false);
  touch.press(0, QPoint(10, 20), &FPainter).commit();
  touch.stationary(0).press(1, QPoint(60, 50), &FPainter).commit();
  touch.move(0, QPoint(30, 20), &FPainter).move(1, QPoint(60, 40), &FPainter).commit();
  touch.release(0, QPoint(30, 20), &FPainter).stationary(1).commit();
  touch.move(1, QPoint(50, 30), &FPainter).commit();
  touch.release(1, QPoint(50, 30), &FPainter).commit();
  ExpectRedRun(20, 10, 30);
}

TEST_F(TouchStroke, TwoFingersLandingTogetherPaintOnlyTheFirstsStroke) {
  auto touch = QTest::touchEvent(&FPainter, TouchScreen(), false);
  touch.press(0, QPoint(10, 20), &FPainter).press(1, QPoint(60, 50), &FPainter).commit();
  touch.move(0, QPoint(30, 20), &FPainter).move(1, QPoint(40, 50), &FPainter).commit();
  touch.release(0, QPoint(30, 20), &FPainter).release(1, QPoint(40, 50), &FPainter).commit();
  ExpectRedRun(20, 10, 30);
}

class MainWindowTouch : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    AddPicture("a.twf", "Apple");
    WriteDefaults({"a.twf"});
    Start();
  }
};

TEST_F(MainWindowTouch, ATapFillsTheAreaUnderIt) {
  const TColor paint = FWindow->Painter().PaintColor();
  ASSERT_NE(paint, clWhite);
  Tap(FWindow->Painter(), At(20, 20));
  EXPECT_EQ(PixelOf(20, 20), paint);
  EXPECT_EQ(PixelOf(40, 100), paint);
  // The line stops the fill: the right area stays white.
  EXPECT_EQ(PixelOf(120, 60), clWhite);
}

TEST_F(MainWindowTouch, ATapOnAWellChoosesItsPaint) {
  Tap(FWindow->PaintTray(), WellCentre(FWindow->PaintTray(), 1));
  EXPECT_EQ(FWindow->Painter().PaintColor(), Blue);
  Tap(FWindow->Painter(), At(120, 60));
  EXPECT_EQ(PixelOf(120, 60), Blue);
}

TEST_F(MainWindowTouch, ATapOnEachToolButtonPicksItsTool) {
  const std::vector<const char*> tools = {"btnMBrush", "btnBrush",  "btnDropper",
                                          "btnMarker", "btnEraser", "btnFill"};
  for (const char* tool : tools) {
    // What a mouse click on the button does, then the same by touch from
    // another tool.
    Press(tool);
    const TPaintMode byMouse = FWindow->Painter().PaintMode();
    Press(tool == tools.front() ? "btnFill" : "btnMBrush");
    Tap(Button(tool), Button(tool).rect().center());
    EXPECT_EQ(FWindow->Painter().PaintMode(), byMouse) << tool;
    for (const char* other : tools)
      EXPECT_EQ(Button(other).Down(), other == tool) << tool << " " << other;
  }
}

}  // namespace
}  // namespace tw::test
