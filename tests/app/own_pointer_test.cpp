// The program's own pointer, used where the platform cannot move the real
// one: it is drawn in the window as the pointer of the control under it,
// hovers the controls it passes as the real pointer does, stays inside the
// program's windows, and gives way to the real mouse.
#include <QTest>

#include "app/OwnPointerU.h"
#include "app/PointerMarkU.h"
#include "app/main_window_test_support.h"

namespace tw::test {
namespace {

class OwnPointer : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    FSteeredPointer = &FPointer;
    AddPicture("a.twf", "Apple");
    WriteDefaults({"a.twf"});
    Start();
  }

  void Steer(int Key, int Times = 1, Qt::KeyboardModifiers Modifiers = {}) {
    for (int i = 0; i < Times; ++i) {
      QTest::sendKeyEvent(QTest::Press, FWindow->windowHandle(), Qt::Key(Key), QString(),
                          Modifiers);
      QTest::sendKeyEvent(QTest::Release, FWindow->windowHandle(), Qt::Key(Key), QString(),
                          Modifiers);
    }
    SettlePaints();
  }
  // Places the pointer on a global point with one steering step onto it.
  void PlaceAt(const QPoint& Global) {
    FPointer.SetPos(Global - QPoint(1, 0));
    Steer(Qt::Key_Right);
    ASSERT_EQ(FPointer.Pos(), Global);
  }

  // How many of the pointer picture's opaque pixels the window does not show
  // at the pointer's place.
  int PointerPixelsMissing(const QCursor& Cursor) {
    QPoint hotSpot;
    const QImage picture = PointerPicture(Cursor, hotSpot).toImage().convertToFormat(
        QImage::Format_ARGB32);
    const QImage shown = FWindow->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QPoint origin = FWindow->mapFromGlobal(FPointer.Pos()) - hotSpot;
    int missing = 0, opaque = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb p = picture.pixel(x, y);
        if (qAlpha(p) != 255) continue;
        ++opaque;
        const QPoint at = origin + QPoint(x, y);
        if (!shown.rect().contains(at) || (shown.pixel(at) & 0xFFFFFF) != (p & 0xFFFFFF))
          ++missing;
      }
    EXPECT_GT(opaque, 20) << "the pointer picture has no body to look for";
    return missing;
  }

  TOwnPointer FPointer;
};

TEST_F(OwnPointer, SteeringMovesItAndLeavesTheRealPointerAlone) {
  EXPECT_TRUE(FWindow->geometry().contains(FPointer.Pos())) << "it starts inside the window";
  // The real pointer moved over the window: the own pointer starts there.
  const QPoint real = FWindow->geometry().center() + QPoint(50, 40);
  QCursor::setPos(real);
  SettlePaints();
  const QPoint start = FPointer.Pos();
  ASSERT_EQ(start, real);
  Steer(Qt::Key_Right, 3);
  Steer(Qt::Key_Down, 2, Qt::ShiftModifier);
  EXPECT_EQ(FPointer.Pos(), start + QPoint(3, 16));
  EXPECT_EQ(QCursor::pos(), real);
}

TEST_F(OwnPointer, IsDrawnAsTheToolPointerOverThePictureInItsCurrentPaint) {
  PlaceAt(FWindow->Painter().mapToGlobal(At(40, 60)));
  ASSERT_TRUE(FPointer.Drawn());
  EXPECT_EQ(FPointer.DrawnIn(), FWindow.get());
  const QCursor before = FWindow->Painter().cursor();
  EXPECT_EQ(PointerPixelsMissing(before), 0);
  // Another paint tints the tool pointer: the drawn one follows at once.
  Steer(Qt::Key_Period);
  const QCursor after = FWindow->Painter().cursor();
  ASSERT_NE(after.pixmap().toImage(), before.pixmap().toImage());
  EXPECT_EQ(PointerPixelsMissing(after), 0);
}

TEST_F(OwnPointer, HoversTheButtonsItPassesAndShowsTheirPointer) {
  TQImgButton& save = Button("btnSave");
  PlaceAt(save.mapToGlobal(save.rect().center()));
  EXPECT_TRUE(save.Hovered());
  EXPECT_EQ(PointerPixelsMissing(save.cursor()), 0);
  Steer(Qt::Key_Down, 30, Qt::ShiftModifier);
  EXPECT_FALSE(save.Hovered()) << "leaving the button ends its hover";
}

TEST_F(OwnPointer, StaysInsideTheWindow) {
  const QRect window = FWindow->geometry();
  Steer(Qt::Key_Left, 400, Qt::ShiftModifier);
  Steer(Qt::Key_Up, 400, Qt::ShiftModifier);
  EXPECT_EQ(FPointer.Pos(), window.topLeft());
  EXPECT_TRUE(FPointer.Drawn());
}

TEST_F(OwnPointer, GivesWayToTheRealMouse) {
  PlaceAt(FWindow->Painter().mapToGlobal(At(40, 60)));
  ASSERT_TRUE(FPointer.Drawn());
  const QPoint real = At(120, 60);
  QTest::mouseMove(&FWindow->Painter(), real);
  EXPECT_FALSE(FPointer.Drawn());
  EXPECT_EQ(FPointer.Pos(), FWindow->Painter().mapToGlobal(real));
  // The keys steer on from where the real mouse left it, and it shows again.
  Steer(Qt::Key_Left);
  EXPECT_EQ(FPointer.Pos(), FWindow->Painter().mapToGlobal(real) - QPoint(1, 0));
  EXPECT_TRUE(FPointer.Drawn());
}

TEST_F(OwnPointer, SteersOntoADialogsButtonAndSpacePressesIt) {
  ClickPicture(20, 20);
  bool drawnInDialog = false;
  FAnswerer->AnswerWith = [&](QWidget* Dialog) {
    auto* save = qobject_cast<TDSave*>(Dialog);
    if (!save) return false;
    // Keys go where the platform sends them: to the dialog's focused control.
    auto key = [Dialog](QTest::KeyAction Action, int Key) {
      QWidget* to = Dialog->focusWidget() ? Dialog->focusWidget() : Dialog;
      QTest::sendKeyEvent(Action, to, Qt::Key(Key), QString(), {});
    };
    const QPoint target = save->btnSave->mapToGlobal(save->btnSave->rect().center());
    FPointer.SetPos(target - QPoint(8, 0));
    key(QTest::Press, Qt::Key_Right);
    key(QTest::Release, Qt::Key_Right);
    for (int i = 0; i < 7; ++i) {
      key(QTest::Press, Qt::Key_Right);
      key(QTest::Release, Qt::Key_Right);
    }
    drawnInDialog = FPointer.DrawnIn() == Dialog;
    key(QTest::Press, Qt::Key_Space);
    key(QTest::Release, Qt::Key_Space);
    if (Dialog->isVisible()) Dialog->close();
    return true;
  };
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(drawnInDialog) << "the pointer is drawn in the dialog";
  int saved = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SaveFolder()))
    saved += entry.is_regular_file();
  EXPECT_EQ(saved, 1);
}

}  // namespace
}  // namespace tw::test
