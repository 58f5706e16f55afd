// Pointer steering with the arrow keys and the space bar as the left mouse
// button: step sizes, kept axes, the extra step on release, key repeat, and
// the emulated button on real widgets (a push button clicks, the painter
// paints a stroke of the steered length).
#include <gtest/gtest.h>

#include <QCursor>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "app/AppTestSupport.h"
#include "painter/qt/PainterQtU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

// Records the mouse events it gets, with buttons and local positions.
class TMouseRecorder : public QWidget {
 public:
  struct TEntry {
    QEvent::Type Type;
    Qt::MouseButton Button;
    Qt::MouseButtons Buttons;
    QPoint Pos;
  };
  std::vector<TEntry> Events;
  // Runs inside the press, after it is recorded.
  std::function<void()> OnPress;
  int Count(QEvent::Type type) const {
    int n = 0;
    for (const TEntry& e : Events) n += e.Type == type;
    return n;
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    Record(e);
    if (OnPress) OnPress();
  }
  void mouseMoveEvent(QMouseEvent* e) override { Record(e); }
  void mouseReleaseEvent(QMouseEvent* e) override { Record(e); }

 private:
  void Record(QMouseEvent* e) {
    Events.push_back({e->type(), e->button(), e->buttons(), e->position().toPoint()});
  }
};

void ShowAt(QWidget& widget, const QRect& geometry) {
  widget.setGeometry(geometry);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

class PointerSteering : public ::testing::Test {
 protected:
  TRecordingTarget FTarget;
  TFakePointer FPointer{QPoint(500, 500)};
  TMainKeys FKeys{FTarget, FPointer};
};

TEST_F(PointerSteering, FiveRightPressesMoveFivePixels) {
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(Press(FKeys, Qt::Key_Right));
  EXPECT_EQ(FPointer.At, QPoint(505, 500));
  EXPECT_EQ(FPointer.Moves.size(), 5u);
  EXPECT_EQ(FKeys.DirectionX(), 1);
  EXPECT_EQ(FKeys.DirectionY(), 0);
  EXPECT_TRUE(FTarget.Log.empty());
}

TEST_F(PointerSteering, WithShiftEachStepIsEightPixels) {
  for (int i = 0; i < 5; ++i) Press(FKeys, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(FPointer.At, QPoint(540, 500));
  Press(FKeys, Qt::Key_Up, Qt::ShiftModifier);
  // Up keeps the x direction of the held Right key: a diagonal step.
  EXPECT_EQ(FPointer.At, QPoint(548, 492));
}

TEST_F(PointerSteering, EachArrowMovesItsOwnWay) {
  Press(FKeys, Qt::Key_Left);
  EXPECT_EQ(FPointer.At, QPoint(499, 500));
  Release(FKeys, Qt::Key_Left);
  Press(FKeys, Qt::Key_Up);
  EXPECT_EQ(FPointer.At, QPoint(499, 499));
  Release(FKeys, Qt::Key_Up);
  Press(FKeys, Qt::Key_Down);
  EXPECT_EQ(FPointer.At, QPoint(499, 500));
  Release(FKeys, Qt::Key_Down);
  // Releasing a key with the other axis clear takes no step.
  EXPECT_EQ(FPointer.Moves.size(), 3u);
  EXPECT_EQ(FKeys.DirectionX(), 0);
  EXPECT_EQ(FKeys.DirectionY(), 0);
}

TEST_F(PointerSteering, HoldingRightThenDownMovesDiagonally) {
  Press(FKeys, Qt::Key_Right);
  Press(FKeys, Qt::Key_Down);
  Press(FKeys, Qt::Key_Down, {}, 0, true);
  Press(FKeys, Qt::Key_Down, {}, 0, true);
  EXPECT_EQ(FPointer.Moves,
            (std::vector<QPoint>{{501, 500}, {502, 501}, {503, 502}, {504, 503}}));
}

TEST_F(PointerSteering, ReleasingLeftWhileDownIsHeldMovesOneMorePixelDown) {
  Press(FKeys, Qt::Key_Down);
  Press(FKeys, Qt::Key_Left);
  EXPECT_EQ(FPointer.At, QPoint(499, 502));
  EXPECT_TRUE(Release(FKeys, Qt::Key_Left));
  EXPECT_EQ(FPointer.At, QPoint(499, 503));
  EXPECT_EQ(FKeys.DirectionX(), 0);
  EXPECT_EQ(FKeys.DirectionY(), 1);
  // The extra step is a fast one when Shift is held at the release.
  Press(FKeys, Qt::Key_Right);
  Release(FKeys, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(FPointer.At, QPoint(500, 512));
  Release(FKeys, Qt::Key_Down);
  EXPECT_EQ(FPointer.At, QPoint(500, 512));
}

TEST_F(PointerSteering, AutoRepeatReleasesAreIgnored) {
  Press(FKeys, Qt::Key_Down);
  Press(FKeys, Qt::Key_Right);
  // X11 reports a held Right as release/press pairs marked auto-repeat.
  EXPECT_FALSE(Release(FKeys, Qt::Key_Right, {}, 0, true));
  Press(FKeys, Qt::Key_Right, {}, 0, true);
  EXPECT_EQ(FPointer.Moves, (std::vector<QPoint>{{500, 501}, {501, 502}, {502, 503}}));
  EXPECT_EQ(FKeys.DirectionX(), 1);
}

TEST_F(PointerSteering, SpaceIsTheButtonOncePerHold) {
  TMouseRecorder widget;
  ShowAt(widget, QRect(450, 460, 100, 80));
  EXPECT_TRUE(Press(FKeys, Qt::Key_Space));
  EXPECT_TRUE(FKeys.SpaceHeld());
  EXPECT_TRUE(FKeys.Mouse().ButtonDown());
  EXPECT_EQ(FKeys.Mouse().PressedWidget(), &widget);
  // Key repeat of Space sends nothing more, also with a repeat release.
  EXPECT_TRUE(Press(FKeys, Qt::Key_Space, {}, 0, true));
  EXPECT_FALSE(Release(FKeys, Qt::Key_Space, {}, 0, true));
  EXPECT_TRUE(Press(FKeys, Qt::Key_Space, {}, 0, true));
  ASSERT_EQ(widget.Events.size(), 1u);
  EXPECT_EQ(widget.Events[0].Type, QEvent::MouseButtonPress);
  EXPECT_EQ(widget.Events[0].Button, Qt::LeftButton);
  EXPECT_EQ(widget.Events[0].Buttons, Qt::MouseButtons(Qt::LeftButton));
  EXPECT_EQ(widget.Events[0].Pos, QPoint(50, 40));

  EXPECT_TRUE(Release(FKeys, Qt::Key_Space));
  EXPECT_FALSE(FKeys.SpaceHeld());
  EXPECT_FALSE(FKeys.Mouse().ButtonDown());
  ASSERT_EQ(widget.Events.size(), 2u);
  EXPECT_EQ(widget.Events[1].Type, QEvent::MouseButtonRelease);
  EXPECT_EQ(widget.Events[1].Button, Qt::LeftButton);
  EXPECT_EQ(widget.Events[1].Buttons, Qt::MouseButtons());
  EXPECT_TRUE(FTarget.Log.empty());
}

TEST_F(PointerSteering, SteeredMovesGoToThePressedWidgetWithTheButtonHeld) {
  TMouseRecorder widget;
  ShowAt(widget, QRect(490, 490, 20, 20));
  Press(FKeys, Qt::Key_Space);
  // Off the widget: the widget that took the press still gets the moves
  // and the release, as with the real button.
  for (int i = 0; i < 3; ++i) Press(FKeys, Qt::Key_Right, Qt::ShiftModifier);
  Release(FKeys, Qt::Key_Right, Qt::ShiftModifier);
  Release(FKeys, Qt::Key_Space);
  ASSERT_EQ(widget.Events.size(), 5u);
  const std::vector<QPoint> positions = {{10, 10}, {18, 10}, {26, 10}, {34, 10}, {34, 10}};
  for (size_t i = 0; i < widget.Events.size(); ++i) EXPECT_EQ(widget.Events[i].Pos, positions[i]);
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(widget.Events[i].Type, QEvent::MouseMove);
    EXPECT_EQ(widget.Events[i].Buttons, Qt::MouseButtons(Qt::LeftButton));
  }
  EXPECT_EQ(widget.Events[4].Type, QEvent::MouseButtonRelease);
}

TEST_F(PointerSteering, MovesWithoutTheButtonGoNowhere) {
  TMouseRecorder widget;
  ShowAt(widget, QRect(450, 450, 100, 100));
  Press(FKeys, Qt::Key_Right);
  Release(FKeys, Qt::Key_Right);
  EXPECT_TRUE(widget.Events.empty());
}

TEST_F(PointerSteering, SpaceClicksAPushButton) {
  QWidget window;
  auto* button = new QPushButton("Go", &window);
  button->setGeometry(0, 0, 40, 20);
  ShowAt(window, QRect(480, 490, 100, 50));
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  Press(FKeys, Qt::Key_Space);
  Release(FKeys, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
  // Pressed, steered off the button and released there: no click.
  Press(FKeys, Qt::Key_Space);
  for (int i = 0; i < 5; ++i) Press(FKeys, Qt::Key_Right, Qt::ShiftModifier);
  Release(FKeys, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
}

TEST_F(PointerSteering, NothingUnderThePointerIsNoHarm) {
  FPointer.At = QPoint(-5000, -5000);
  Press(FKeys, Qt::Key_Space);
  EXPECT_TRUE(FKeys.SpaceHeld());
  EXPECT_EQ(FKeys.Mouse().PressedWidget(), nullptr);
  Press(FKeys, Qt::Key_Down);
  Release(FKeys, Qt::Key_Space);
  EXPECT_FALSE(FKeys.Mouse().ButtonDown());
}

TEST_F(PointerSteering, APressedWidgetThatGoesAwayIsNoHarm) {
  auto widget = std::make_unique<TMouseRecorder>();
  ShowAt(*widget, QRect(450, 450, 100, 100));
  Press(FKeys, Qt::Key_Space);
  EXPECT_EQ(FKeys.Mouse().PressedWidget(), widget.get());
  widget.reset();
  EXPECT_EQ(FKeys.Mouse().PressedWidget(), nullptr);
  Press(FKeys, Qt::Key_Left);
  Release(FKeys, Qt::Key_Space);
  EXPECT_FALSE(FKeys.SpaceHeld());
}

TEST_F(PointerSteering, LosingTheActiveWindowLetsGoOfTheHeldKeys) {
  TMouseRecorder widget;
  ShowAt(widget, QRect(450, 450, 100, 100));
  Press(FKeys, Qt::Key_Space);
  Press(FKeys, Qt::Key_Right);
  FKeys.ReleaseHeldKeys();
  EXPECT_FALSE(FKeys.SpaceHeld());
  EXPECT_FALSE(FKeys.Mouse().ButtonDown());
  EXPECT_EQ(FKeys.DirectionX(), 0);
  ASSERT_EQ(widget.Events.size(), 3u);
  EXPECT_EQ(widget.Events[2].Type, QEvent::MouseButtonRelease);
  // The next Space is a new press; its late release changes nothing more.
  Press(FKeys, Qt::Key_Space);
  EXPECT_EQ(widget.Count(QEvent::MouseButtonPress), 2);
  Release(FKeys, Qt::Key_Space);
  Release(FKeys, Qt::Key_Space);
  EXPECT_EQ(widget.Count(QEvent::MouseButtonRelease), 2);
}

TEST_F(PointerSteering, APressThatDeactivatesTheWindowEndsTheHold) {
  // A press that opens a modal dialog runs the dialog inside the press; the
  // main window's deactivation arrives there.
  TMouseRecorder widget;
  ShowAt(widget, QRect(450, 450, 100, 100));
  widget.OnPress = [&] { FKeys.ReleaseHeldKeys(); };
  Press(FKeys, Qt::Key_Space);
  EXPECT_FALSE(FKeys.SpaceHeld());
  EXPECT_FALSE(FKeys.Mouse().ButtonDown());
  EXPECT_EQ(widget.Count(QEvent::MouseButtonRelease), 1);
}

TEST_F(PointerSteering, ModalDialogKeepsTheButtonAwayFromOtherWindows) {
  TMouseRecorder widget;
  ShowAt(widget, QRect(450, 450, 100, 100));
  QWidget modal;
  modal.setWindowModality(Qt::ApplicationModal);
  ShowAt(modal, QRect(0, 0, 50, 50));
  Press(FKeys, Qt::Key_Space);
  Release(FKeys, Qt::Key_Space);
  EXPECT_TRUE(widget.Events.empty());
}

// A white picture on a painter shown as its own window, brush of size 1 in
// red, and the screen cursor over picture point (10, 20). On the offscreen
// platform QCursor::setPos moves the cursor and reports a buttonless motion
// event, as X11 does, so these tests steer the real cursor.
class SpaceStroke : public ::testing::Test {
 protected:
  static constexpr TColor Red = RGB(255, 0, 0);
  static constexpr QPoint Origin{300, 200};
  static constexpr QPoint Start{10, 20};

  void SetUp() override {
    FPainter.LoadPicture(TRaster24(80, 60, clWhite));
    FPainter.SetAutoSize(true);
    FPainter.SetPaintMode(pmBrush);
    FPainter.SetBrushSize(1);
    FPainter.SetPaintColor(Red);
    ShowAt(FPainter, QRect(Origin, QSize(80, 60)));
    QCursor::setPos(Origin + Start);
    SettlePaints();
    ASSERT_EQ(QCursor::pos(), Origin + Start);
  }
  void TearDown() override { QCursor::setPos(-1000, -1000); }

  // The picture's red pixels, which must be exactly the run x0..x1 of row y.
  void ExpectRedRun(int y, int x0, int x1) {
    const TRaster24& layer = FPainter.ColorLayer();
    for (int py = 0; py < layer.Height(); ++py)
      for (int px = 0; px < layer.Width(); ++px) {
        const bool inRun = py == y && px >= x0 && px <= x1;
        EXPECT_EQ(layer.Pixel(px, py), inRun ? Red : clWhite) << px << "," << py;
      }
  }

  void ExpectAllWhite() {
    const TRaster24& layer = FPainter.ColorLayer();
    for (int py = 0; py < layer.Height(); ++py)
      for (int px = 0; px < layer.Width(); ++px)
        EXPECT_EQ(layer.Pixel(px, py), clWhite) << px << "," << py;
  }

  TPainter FPainter;
  TRecordingTarget FTarget;
  TCursorPointer FPointer;
  TMainKeys FKeys{FTarget, FPointer};
};

TEST_F(SpaceStroke, FiveRightPressesPaintAFivePixelLine) {
  Press(FKeys, Qt::Key_Space);
  for (int i = 0; i < 5; ++i) {
    Press(FKeys, Qt::Key_Right, {}, 0, i > 0);
    SettlePaints();
  }
  Release(FKeys, Qt::Key_Right);
  Release(FKeys, Qt::Key_Space);
  SettlePaints();
  EXPECT_EQ(QCursor::pos(), Origin + Start + QPoint(5, 0));
  EXPECT_FALSE(FPainter.Stroking());
  // A line five pixels long from x = 10 covers the pixels 10 to 15.
  ExpectRedRun(20, 10, 15);
  // One stroke: one undo step brings the white picture back.
  FPainter.Undo();
  ExpectAllWhite();
}

TEST_F(SpaceStroke, WithShiftTheLineIsFortyPixels) {
  Press(FKeys, Qt::Key_Space);
  for (int i = 0; i < 5; ++i) {
    Press(FKeys, Qt::Key_Right, Qt::ShiftModifier, 0, i > 0);
    SettlePaints();
  }
  Release(FKeys, Qt::Key_Right, Qt::ShiftModifier);
  Release(FKeys, Qt::Key_Space);
  SettlePaints();
  ExpectRedRun(20, 10, 50);
}

TEST_F(SpaceStroke, ThePainterNeverSeesAButtonlessMoveDuringTheStroke) {
  std::vector<Qt::MouseButtons> moveButtons;
  FPainter.OnMouseMove = [&](TPainter&, Qt::MouseButton, Qt::MouseButtons buttons,
                             Qt::KeyboardModifiers, int, int) { moveButtons.push_back(buttons); };
  Press(FKeys, Qt::Key_Space);
  Press(FKeys, Qt::Key_Right);
  Press(FKeys, Qt::Key_Right, {}, 0, true);
  // The platform's motion events of those moves arrive now; they were
  // delivered already and must not add a move.
  SettlePaints();
  EXPECT_EQ(moveButtons.size(), 2u);
  // The real mouse moved while Space is held drags, as with the button down.
  QCursor::setPos(Origin + QPoint(12, 25));
  SettlePaints();
  Release(FKeys, Qt::Key_Space);
  SettlePaints();
  ASSERT_EQ(moveButtons.size(), 3u);
  for (const Qt::MouseButtons buttons : moveButtons)
    EXPECT_EQ(buttons, Qt::MouseButtons(Qt::LeftButton));
  // Stroke (10,20) -> (12,20), then to (12,25).
  const TRaster24& layer = FPainter.ColorLayer();
  for (int py = 0; py < layer.Height(); ++py)
    for (int px = 0; px < layer.Width(); ++px) {
      const bool painted = (py == 20 && px >= 10 && px <= 12) || (px == 12 && py >= 20 && py <= 25);
      EXPECT_EQ(layer.Pixel(px, py), painted ? Red : clWhite) << px << "," << py;
    }
  // After the release, moves are plain hovering again.
  QCursor::setPos(Origin + QPoint(30, 30));
  SettlePaints();
  ASSERT_EQ(moveButtons.size(), 4u);
  EXPECT_EQ(moveButtons.back(), Qt::MouseButtons());
}

}  // namespace
}  // namespace tw::test
