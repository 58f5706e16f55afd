// The keyboard while a dialog is open: the main window's steering reaches
// the dialog's buttons with the same steps, and the parent's password box
// answers Escape, Return, Tab and Space with a visible focus ring.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "app/AppTestSupport.h"
#include "app/ParentGateU.h"
#include "controls/QDialogF.h"
#include "controls/QImgButtonU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

void WhenRunning(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

void Key(QWidget& window, int key, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* to = window.focusWidget() ? window.focusWidget() : &window;
  QTest::keyClick(to, Qt::Key(key), modifiers);
}

// A 200 x 100 dialog with one OK button that counts its clicks.
TQImgButton* AddOkButton(TfrmQDialog& dialog, int& clicks) {
  dialog.resize(200, 100);
  auto* ok = new TQImgButton(&dialog);
  ok->setGeometry(120, 40, 60, 30);
  ok->SetModalResult(mrOk);
  ok->OnClick = [&clicks](TQHintControl&) { ++clicks; };
  return ok;
}

class DialogSteering : public ::testing::Test {
 protected:
  void SetUp() override { SetKeySteering(&FKeys); }
  void TearDown() override { SetKeySteering(nullptr); }

  TRecordingTarget FTarget;
  TFakePointer FPointer;
  TMainKeys FKeys{FTarget, FPointer};
};

TEST_F(DialogSteering, TheArrowsSteerOntoADialogButtonAndSpaceClicksIt) {
  TfrmQDialog dialog;
  int clicks = 0;
  TQImgButton* ok = AddOkButton(dialog, clicks);
  std::vector<QPoint> path;
  WhenRunning([&] {
    // Left of the button, level with it.
    FPointer.At = ok->mapToGlobal(QPoint(-20, 10));
    FPointer.Moves.clear();
    // Shift steps 8 pixels, a plain step 1: 3 x 8 + 1 reaches the button.
    for (int i = 0; i < 3; ++i) Key(dialog, Qt::Key_Right, Qt::ShiftModifier);
    Key(dialog, Qt::Key_Right);
    path = FPointer.Moves;
    Key(dialog, Qt::Key_Space);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(clicks, 1);
  ASSERT_GE(path.size(), 4u);
  EXPECT_EQ(path[1] - path[0], QPoint(8, 0));
  EXPECT_EQ(path[2] - path[1], QPoint(8, 0));
  EXPECT_EQ(ok->mapFromGlobal(path.back()), QPoint(5, 10));
  EXPECT_FALSE(FKeys.SpaceHeld());
  // The dialog's keys never reached the main window's commands.
  EXPECT_TRUE(FTarget.Log.empty());
}

TEST_F(DialogSteering, SteeringOffTheButtonBeforeLettingGoDoesNotClick) {
  TfrmQDialog dialog;
  int clicks = 0;
  TQImgButton* ok = AddOkButton(dialog, clicks);
  WhenRunning([&] {
    FPointer.At = ok->mapToGlobal(QPoint(5, 10));
    QTest::keyPress(&dialog, Qt::Key_Space);
    for (int i = 0; i < 2; ++i) Key(dialog, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyRelease(&dialog, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ok->mapFromGlobal(FPointer.At), QPoint(5, -6));
    Key(dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

// Runs the password box and plays Keys into it once it shows; Keys gets the
// box.
std::string RunPasswordBox(const std::function<void(QInputDialog&)>& keys) {
  WhenRunning([keys] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!box) {
      ADD_FAILURE() << "no password box";
      if (QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
      return;
    }
    keys(*box);
  });
  return QtTextInputBox("Grown-ups only", "Secret word:");
}

QPushButton* BoxButton(QInputDialog& box, QDialogButtonBox::StandardButton which) {
  auto* buttons = box.findChild<QDialogButtonBox*>();
  return buttons ? buttons->button(which) : nullptr;
}

TEST(PasswordBoxKeys, ReturnConfirmsTheTypedWord) {
  const std::string entered = RunPasswordBox([](QInputDialog& box) {
    QTest::keyClicks(box.focusWidget(), "tulip 7");
    Key(box, Qt::Key_Return);
  });
  EXPECT_EQ(entered, "tulip 7");
}

TEST(PasswordBoxKeys, EscapeCancels) {
  const std::string entered = RunPasswordBox([](QInputDialog& box) {
    QTest::keyClicks(box.focusWidget(), "tulip");
    Key(box, Qt::Key_Escape);
  });
  EXPECT_EQ(entered, "");
}

TEST(PasswordBoxKeys, TabReachesCancelWithAVisibleRingAndSpacePressesIt) {
  bool reached = false;
  bool ringShown = false;
  const std::string entered = RunPasswordBox([&](QInputDialog& box) {
    QPushButton* cancel = BoxButton(box, QDialogButtonBox::Cancel);
    if (!cancel) {
      ADD_FAILURE() << "no Cancel button";
      box.reject();
      return;
    }
    // The ring shows on the focused button of the active window.
    box.activateWindow();
    QApplication::setActiveWindow(&box);
    if (!WaitUntil([&] { return box.isActiveWindow(); })) ADD_FAILURE() << "box not active";
    QTest::keyClicks(box.focusWidget(), "tulip");
    const QImage plain = cancel->grab().toImage();
    for (int i = 0; i < 4 && box.focusWidget() != cancel; ++i) Key(box, Qt::Key_Tab);
    reached = box.focusWidget() == cancel;
    const QImage marked = cancel->grab().toImage();
    auto ringPixels = [](const QImage& image) {
      int n = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
          const QRgb c = image.pixel(x, y);
          n += qRed(c) > 200 && qGreen(c) > 100 && qGreen(c) < 180 && qBlue(c) < 60;
        }
      return n;
    };
    ringShown = ringPixels(plain) == 0 && ringPixels(marked) > 2 * cancel->width();
    Key(box, Qt::Key_Space);
  });
  EXPECT_TRUE(reached);
  EXPECT_TRUE(ringShown);
  EXPECT_EQ(entered, "");
}

}  // namespace
}  // namespace tw::test
