// A keyboard-only journey in the main window: the arrow keys steer the
// pointer onto an area, Space fills it, Space held with the arrows paints a
// line. It runs with the pointer this platform steers (the screen cursor
// under X11 and offscreen, the program's own pointer on Wayland, where the
// Wayland end-to-end test runs it) and with the own pointer on any platform.
// The keys go in through the window system, as a keyboard's do.
#include <QTest>

#include "app/OwnPointerU.h"
#include "app/main_window_test_support.h"

namespace tw::test {
namespace {

enum class TSteered { Platform, Own };

class KeyboardSteeringJourney : public MainWindowFixture,
                                public ::testing::WithParamInterface<TSteered> {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    if (GetParam() == TSteered::Own) {
      FOwn = std::make_unique<TOwnPointer>();
      FSteeredPointer = FOwn.get();
    }
    AddPicture("a.twf", "Apple");
    WriteDefaults({"a.twf"});
    Start();
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    FOwn.reset();
  }

  void KeyDown(int Key, Qt::KeyboardModifiers Modifiers = {}) {
    QTest::sendKeyEvent(QTest::Press, FWindow->windowHandle(), Qt::Key(Key), QString(), Modifiers);
  }
  void KeyUp(int Key, Qt::KeyboardModifiers Modifiers = {}) {
    QTest::sendKeyEvent(QTest::Release, FWindow->windowHandle(), Qt::Key(Key), QString(),
                        Modifiers);
  }
  void Tap(int Key, Qt::KeyboardModifiers Modifiers = {}) {
    KeyDown(Key, Modifiers);
    KeyUp(Key, Modifiers);
  }

  // Steers with the arrows until the pointer is over picture point (X, Y):
  // eight-pixel steps with Shift while far, then single ones.
  void SteerTo(int X, int Y) {
    const QPoint target = FWindow->Painter().mapToGlobal(At(X, Y));
    IPointer& pointer = FWindow->Pointer();
    for (int step = 0; step < 2000 && pointer.Pos() != target; ++step) {
      const QPoint d = target - pointer.Pos();
      const bool fast = std::abs(d.x()) >= 8 || std::abs(d.y()) >= 8;
      const Qt::KeyboardModifiers shift = fast ? Qt::ShiftModifier : Qt::NoModifier;
      const int limit = fast ? 8 : 1;
      if (std::abs(d.x()) >= limit)
        Tap(d.x() > 0 ? Qt::Key_Right : Qt::Key_Left, shift);
      else if (std::abs(d.y()) >= limit)
        Tap(d.y() > 0 ? Qt::Key_Down : Qt::Key_Up, shift);
      else
        Tap(std::abs(d.x()) > 0 ? (d.x() > 0 ? Qt::Key_Right : Qt::Key_Left)
                                : (d.y() > 0 ? Qt::Key_Down : Qt::Key_Up));
    }
    ASSERT_EQ(pointer.Pos(), target);
  }

  std::unique_ptr<TOwnPointer> FOwn;
};

TEST_P(KeyboardSteeringJourney, SpaceFillsWhereSteeredAndPaintsALineWithTheArrows) {
  // The Wayland end-to-end test says which platform it started, so that a
  // fallback to another one cannot pass unnoticed.
  const QByteArray expected = qgetenv("TINTWELL_EXPECT_PLATFORM");
  if (!expected.isEmpty()) {
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), expected.toStdString());
  }
  if (GetParam() == TSteered::Platform && QGuiApplication::platformName().startsWith("wayland")) {
    EXPECT_NE(dynamic_cast<TOwnPointer*>(&FWindow->Pointer()), nullptr);
  }

  const TColor paint = FWindow->Painter().PaintColor();
  ASSERT_EQ(FWindow->Painter().PaintMode(), pmFill);
  SteerTo(30, 40);
  Tap(Qt::Key_Space);
  SettlePaints();
  EXPECT_EQ(PixelOf(30, 40), paint);
  EXPECT_EQ(PixelOf(5, 110), paint);
  EXPECT_EQ(PixelOf(120, 60), clWhite);

  // Enter steps through the tools; the brush paints, size 1 with the key 1.
  for (int i = 0; i < 8 && FWindow->Painter().PaintMode() != pmBrush; ++i) Tap(Qt::Key_Return);
  ASSERT_EQ(FWindow->Painter().PaintMode(), pmBrush);
  Tap(Qt::Key_1);
  Tap(Qt::Key_Period);
  const TColor line = FWindow->Painter().PaintColor();
  ASSERT_NE(line, paint);
  SteerTo(100, 60);
  KeyDown(Qt::Key_Space);
  SteerTo(112, 60);
  KeyUp(Qt::Key_Space);
  SettlePaints();
  int wrong = 0;
  for (int y = 1; y < 119; ++y)
    for (int x = 81; x < 159; ++x)
      wrong += PixelOf(x, y) != (y == 60 && x >= 100 && x <= 112 ? line : clWhite);
  EXPECT_EQ(wrong, 0) << "the right area holds exactly the steered line";
}

INSTANTIATE_TEST_SUITE_P(Pointers, KeyboardSteeringJourney,
                         ::testing::Values(TSteered::Platform, TSteered::Own),
                         [](const auto& Info) {
                           return Info.param == TSteered::Own ? "OwnPointer" : "PlatformPointer";
                         });

}  // namespace
}  // namespace tw::test
