// The dialogs' keyboard: Escape is the cancel button, Return the default
// button, Tab and Shift+Tab move a visible focus mark over the reachable
// controls, the arrows move it within a group of options, Space and Return
// press the marked button, and with no mark the arrows and Space steer the
// pointer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "controls/DialogKeysU.h"
#include "controls/FocusMarkU.h"
#include "controls/QDialogF.h"
#include "controls/QImgButtonU.h"
#include "controls/QSliderU.h"
#include "tests/controls/ControlTestSupport.h"

namespace tw::test {
namespace {

void WhenRunning(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

// Sends a key where the platform sends it: to the focused control, else to
// the window.
void Key(QWidget& dialog, int key, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* to = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
  QTest::keyClick(to, Qt::Key(key), modifiers);
}

// Records what the dialog passes on to the pointer steering.
class TSteeringRecorder : public IKeySteering {
 public:
  std::vector<std::string> Log;
  bool SteerKeyPress(const QKeyEvent& e) override {
    Log.push_back("press " + std::to_string(e.key()));
    return true;
  }
  bool SteerKeyRelease(const QKeyEvent& e) override {
    Log.push_back("release " + std::to_string(e.key()));
    return true;
  }
  void ReleaseSteeringKeys() override { Log.push_back("let go"); }
};

// A dialog with a plain button, a group of three options, a slider, a
// hidden button, a button on a folded panel, and Cancel and OK.
class TKeysDialog : public TfrmQDialog {
 public:
  TKeysDialog() {
    resize(300, 200);
    Plain = Button("Plain", {10, 10, 40, 20});
    for (int i = 0; i < 3; ++i) {
      Options[i] = Button("Option" + QString::number(i), {10 + 30 * i, 40, 20, 20});
      Options[i]->SetGroup(7);
    }
    Slider = new TQSlider(this);
    Slider->setGeometry(10, 70, 120, 20);
    Slider->SetMinValue(0);
    Slider->SetMaxValue(100);
    Slider->SetValue(50);
    Slider->SetPicThumb(Solid(10, 10, clBlack));
    Hidden = Button("Hidden", {150, 10, 40, 20});
    Hidden->hide();
    Panel = new QWidget(this);
    Panel->setGeometry(150, 40, 100, 0);
    Folded = new TQImgButton(Panel);
    Folded->setGeometry(0, 0, 40, 20);
    Cancel = Button("Cancel", {100, 160, 80, 30});
    Cancel->SetModalResult(mrCancel);
    Ok = Button("OK", {200, 160, 80, 30});
    Ok->SetModalResult(mrOk);
  }

  TQImgButton* Button(const QString& name, const QRect& at) {
    auto* b = new TQImgButton(this);
    b->setObjectName(name);
    b->setGeometry(at);
    b->SetPictures(Solid(at.width(), at.height(), RGB(0, 160, 0)),
                   Solid(at.width(), at.height(), RGB(0, 160, 0)),
                   Solid(at.width(), at.height(), RGB(0, 100, 0)),
                   Solid(at.width(), at.height(), RGB(0, 100, 0)));
    b->OnClick = [this, name](TQHintControl&) { Clicks.push_back(name); };
    return b;
  }

  TQImgButton* Plain;
  std::array<TQImgButton*, 3> Options{};
  TQSlider* Slider;
  TQImgButton* Hidden;
  QWidget* Panel;
  TQImgButton* Folded;
  TQImgButton* Cancel;
  TQImgButton* Ok;
  std::vector<QString> Clicks;
};

class DialogKeys : public ::testing::Test {
 protected:
  void SetUp() override { SetKeySteering(&FSteering); }
  void TearDown() override { SetKeySteering(nullptr); }

  // Shows the dialog without a modal loop, for the keys that do not end it.
  void Show() {
    FDialog.move(100, 100);
    ASSERT_TRUE(ShowActive(FDialog));
  }
  QWidget* Marked() {
    return FDialog.Keys().Mark()->isVisible() ? FDialog.Keys().Mark()->Target() : nullptr;
  }

  TSteeringRecorder FSteering;
  TKeysDialog FDialog;
};

TEST_F(DialogKeys, EscapePressesTheCancelButton) {
  WhenRunning([&] { Key(FDialog, Qt::Key_Escape); });
  EXPECT_EQ(FDialog.ShowModal(), mrCancel);
  EXPECT_EQ(FDialog.Clicks, std::vector<QString>{"Cancel"});
}

TEST_F(DialogKeys, EscapeClosesADialogWithoutCancelButton) {
  FDialog.Cancel->SetModalResult(mrNone);
  WhenRunning([&] { Key(FDialog, Qt::Key_Escape); });
  EXPECT_EQ(FDialog.ShowModal(), mrCancel);
  EXPECT_TRUE(FDialog.Clicks.empty());
}

TEST_F(DialogKeys, EscapeAnswersNoToAYesOrNoQuestion) {
  FDialog.Cancel->SetModalResult(mrNo);
  FDialog.Ok->SetModalResult(mrYes);
  WhenRunning([&] { Key(FDialog, Qt::Key_Escape); });
  EXPECT_EQ(FDialog.ShowModal(), mrNo);
}

TEST_F(DialogKeys, ReturnPressesTheDefaultButton) {
  WhenRunning([&] { Key(FDialog, Qt::Key_Return); });
  EXPECT_EQ(FDialog.ShowModal(), mrOk);
  EXPECT_EQ(FDialog.Clicks, std::vector<QString>{"OK"});
}

TEST_F(DialogKeys, TheDefaultButtonCanBeNamed) {
  FDialog.SetDefaultButton(FDialog.Plain);
  FDialog.Plain->OnClick = [&](TQHintControl&) { FDialog.SetModalResult(mrYes); };
  WhenRunning([&] { Key(FDialog, Qt::Key_Enter, Qt::KeypadModifier); });
  EXPECT_EQ(FDialog.ShowModal(), mrYes);
}

TEST_F(DialogKeys, NothingIsMarkedWhenTheDialogOpens) {
  Show();
  EXPECT_EQ(Marked(), nullptr);
  // A click with the mouse leaves no mark either.
  QTest::mouseClick(FDialog.Plain, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(FDialog.Clicks, std::vector<QString>{"Plain"});
  EXPECT_EQ(Marked(), nullptr);
}

TEST_F(DialogKeys, TabVisitsTheReachableControlsInOrderAndWraps) {
  Show();
  const std::vector<QWidget*> order = {FDialog.Plain,      FDialog.Options[0], FDialog.Options[1],
                                       FDialog.Options[2], FDialog.Slider,     FDialog.Cancel,
                                       FDialog.Ok,         FDialog.Plain};
  for (QWidget* expected : order) {
    Key(FDialog, Qt::Key_Tab);
    EXPECT_EQ(FDialog.focusWidget(), expected) << expected->objectName().toStdString();
    EXPECT_EQ(Marked(), expected);
  }
  Key(FDialog, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Marked(), FDialog.Ok);
  Key(FDialog, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Marked(), FDialog.Cancel);
}

TEST_F(DialogKeys, AFoldedOutPanelsControlsBecomeReachable) {
  FDialog.Panel->resize(100, 40);
  Show();
  std::vector<QWidget*> seen;
  for (int i = 0; i < 8; ++i) {
    Key(FDialog, Qt::Key_Tab);
    seen.push_back(FDialog.focusWidget());
  }
  EXPECT_NE(std::find(seen.begin(), seen.end(), FDialog.Folded), seen.end());
  EXPECT_EQ(std::find(seen.begin(), seen.end(), FDialog.Hidden), seen.end());
}

// A pixel of the mark's bright core: strong red, medium green, little blue.
bool IsMarkColour(QRgb c) {
  return qRed(c) > 200 && qGreen(c) > 80 && qGreen(c) < 200 && qBlue(c) < 60;
}

TEST_F(DialogKeys, TheMarkRingsTheFocusedControlAndLeavesItAsItWas) {
  Show();
  SettlePaints();
  const QRect button = FDialog.Plain->geometry();
  const QImage before = FDialog.grab().toImage();
  Key(FDialog, Qt::Key_Tab);
  SettlePaints();
  const QImage after = FDialog.grab().toImage();
  // The button's own pixels are untouched.
  for (int y = button.top(); y <= button.bottom(); ++y)
    for (int x = button.left(); x <= button.right(); ++x)
      ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << "," << y;
  // Each side has mark pixels within a few pixels of the button, where
  // there were none before.
  auto markNear = [](const QImage& image, QPoint from, QPoint step) {
    for (int d = 1; d <= 6; ++d)
      if (IsMarkColour(image.pixel(from + step * d))) return true;
    return false;
  };
  const QPoint c = button.center();
  const std::vector<std::pair<QPoint, QPoint>> sides = {{{button.left(), c.y()}, {-1, 0}},
                                                        {{button.right(), c.y()}, {1, 0}},
                                                        {{c.x(), button.top()}, {0, -1}},
                                                        {{c.x(), button.bottom()}, {0, 1}}};
  for (const auto& [from, step] : sides) {
    EXPECT_FALSE(markNear(before, from, step));
    EXPECT_TRUE(markNear(after, from, step)) << step.x() << "," << step.y();
  }
}

TEST_F(DialogKeys, ArrowsMoveWithinAGroupAndSpacePresses) {
  Show();
  for (int i = 0; i < 2; ++i) Key(FDialog, Qt::Key_Tab);
  ASSERT_EQ(Marked(), FDialog.Options[0]);
  Key(FDialog, Qt::Key_Right);
  EXPECT_EQ(Marked(), FDialog.Options[1]);
  Key(FDialog, Qt::Key_Down);
  EXPECT_EQ(Marked(), FDialog.Options[2]);
  Key(FDialog, Qt::Key_Right);
  EXPECT_EQ(Marked(), FDialog.Options[0]);
  Key(FDialog, Qt::Key_Left);
  EXPECT_EQ(Marked(), FDialog.Options[2]);
  Key(FDialog, Qt::Key_Up);
  EXPECT_EQ(Marked(), FDialog.Options[1]);
  Key(FDialog, Qt::Key_Space);
  // Return presses the marked button, not the default one.
  Key(FDialog, Qt::Key_Return);
  EXPECT_EQ(FDialog.Clicks, (std::vector<QString>{"Option1", "Option1"}));
  // Inside the group the arrows never steer the pointer.
  EXPECT_TRUE(FSteering.Log.empty());
}

TEST_F(DialogKeys, WithoutAMarkTheArrowsAndSpaceSteer) {
  Show();
  Key(FDialog, Qt::Key_Right);
  Key(FDialog, Qt::Key_Space);
  const std::vector<std::string> expected = {
      "press " + std::to_string(Qt::Key_Right), "release " + std::to_string(Qt::Key_Right),
      "press " + std::to_string(Qt::Key_Space), "release " + std::to_string(Qt::Key_Space)};
  EXPECT_EQ(FSteering.Log, expected);
  EXPECT_TRUE(FDialog.Clicks.empty());
}

TEST_F(DialogKeys, AnArrowOnAPlainButtonDropsTheMarkAndSteers) {
  Show();
  Key(FDialog, Qt::Key_Tab);
  ASSERT_EQ(Marked(), FDialog.Plain);
  Key(FDialog, Qt::Key_Left);
  EXPECT_EQ(Marked(), nullptr);
  ASSERT_EQ(FSteering.Log.size(), 2u);
  EXPECT_EQ(FSteering.Log[0], "press " + std::to_string(Qt::Key_Left));
  // Space is the mouse button again, not the plain button.
  Key(FDialog, Qt::Key_Space);
  EXPECT_TRUE(FDialog.Clicks.empty());
  EXPECT_EQ(FSteering.Log[2], "press " + std::to_string(Qt::Key_Space));
}

TEST_F(DialogKeys, AMarkedSliderTakesTheArrows) {
  Show();
  int changes = 0;
  FDialog.Slider->OnChange = [&](TQHintControl&) { ++changes; };
  for (int i = 0; i < 5; ++i) Key(FDialog, Qt::Key_Tab);
  ASSERT_EQ(Marked(), FDialog.Slider);
  Key(FDialog, Qt::Key_Right);
  const int up = FDialog.Slider->Value();
  EXPECT_GT(up, 50);
  Key(FDialog, Qt::Key_Left);
  Key(FDialog, Qt::Key_Down);
  EXPECT_LT(FDialog.Slider->Value(), 50);
  EXPECT_EQ(50 - FDialog.Slider->Value(), up - 50);
  EXPECT_EQ(changes, 3);
  for (int i = 0; i < 100; ++i) Key(FDialog, Qt::Key_Up);
  EXPECT_EQ(FDialog.Slider->Value(), 100);
  EXPECT_TRUE(FSteering.Log.empty());
  EXPECT_EQ(Marked(), FDialog.Slider);
}

TEST_F(DialogKeys, LosingTheKeyboardLetsGoOfTheSteeringKeys) {
  Show();
  QEvent deactivate(QEvent::WindowDeactivate);
  QCoreApplication::sendEvent(&FDialog, &deactivate);
  EXPECT_EQ(FSteering.Log, std::vector<std::string>{"let go"});
}

}  // namespace
}  // namespace tw::test
