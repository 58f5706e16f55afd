// The skinned window base: its hit-test zones and title bar, maximising,
// the deferred first-show step, painting its art, the zone cursors, and
// moving and resizing by hand where the window system will not (the
// offscreen platform has no window manager, so startSystemMove refuses).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <vector>

#include "controls/QBaseF.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

class TCountingForm : public TfrmQBase {
 public:
  int Runs = 0;
  bool VisibleWhenRun = false;

 protected:
  void DeferredInit() override {
    ++Runs;
    VisibleWhenRun = isVisible();
  }
};

// Records where its title bar was clicked.
class TClickedForm : public TfrmQBase {
 public:
  std::vector<QPoint> Clicks;

 protected:
  void CaptionClicked(QPoint Pos) override { Clicks.push_back(Pos); }
};

TEST(SkinnedForm, StartsPlainAndFrameless) {
  TfrmQBase form;
  EXPECT_TRUE(form.isWindow());
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form.SliceSettings(), TSlice9Settings{});
  EXPECT_FALSE(form.Resizable());
  EXPECT_TRUE(form.CaptionRect().isEmpty());
  EXPECT_EQ(form.font().pixelSize(), 11);
  form.resize(100, 80);
  // No title bar and no bands: everything is client area.
  EXPECT_EQ(form.HitTest({0, 0}), htClient);
  EXPECT_EQ(form.HitTest({50, 2}), htClient);
  EXPECT_EQ(form.HitTest({99, 79}), htClient);
}

TEST(SkinnedForm, TheBandsAreFourPixelsWide) {
  TfrmQBase form;
  form.SetResizable(true);
  form.resize(200, 100);
  EXPECT_EQ(form.HitTest({3, 50}), htLeft);
  EXPECT_EQ(form.HitTest({4, 50}), htClient);
  EXPECT_EQ(form.HitTest({196, 50}), htRight);
  EXPECT_EQ(form.HitTest({195, 50}), htClient);
  EXPECT_EQ(form.HitTest({100, 3}), htTop);
  EXPECT_EQ(form.HitTest({100, 4}), htClient);
  EXPECT_EQ(form.HitTest({100, 96}), htBottom);
  EXPECT_EQ(form.HitTest({100, 95}), htClient);
  EXPECT_EQ(form.HitTest({0, 0}), htTopLeft);
  EXPECT_EQ(form.HitTest({3, 3}), htTopLeft);
  EXPECT_EQ(form.HitTest({3, 4}), htLeft);
  EXPECT_EQ(form.HitTest({0, 99}), htBottomLeft);
  EXPECT_EQ(form.HitTest({199, 0}), htTopRight);
  EXPECT_EQ(form.HitTest({196, 96}), htBottomRight);
  EXPECT_EQ(form.HitTest({199, 99}), htBottomRight);
  form.SetResizable(false);
  EXPECT_EQ(form.HitTest({0, 0}), htClient);
  EXPECT_EQ(form.HitTest({199, 50}), htClient);
}

TEST(SkinnedForm, TheCaptionRectIsTheTitleBarAndComesFirst) {
  TfrmQBase form;
  form.SetResizable(true);
  form.resize(200, 100);
  form.SetCaptionRect(QRect(0, 0, 60, 20));
  EXPECT_EQ(form.CaptionRect(), QRect(0, 0, 60, 20));
  EXPECT_EQ(form.HitTest({0, 0}), htCaption);
  EXPECT_EQ(form.HitTest({59, 19}), htCaption);
  EXPECT_EQ(form.HitTest({60, 10}), htClient);
  EXPECT_EQ(form.HitTest({60, 0}), htTop);
  EXPECT_EQ(form.HitTest({0, 20}), htLeft);
}

TEST(SkinnedForm, AMaximisedWindowHasNoBandsButKeepsItsTitleBar) {
  TfrmQBase form;
  form.SetResizable(true);
  form.SetCaptionRect(QRect(10, 10, 50, 20));
  form.resize(200, 100);
  form.ToggleMaximize();
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.isMaximized(); }));
  EXPECT_EQ(form.HitTest({0, 0}), htClient);
  EXPECT_EQ(form.HitTest({0, 50}), htClient);
  EXPECT_EQ(form.HitTest({form.width() - 1, form.height() - 1}), htClient);
  EXPECT_EQ(form.HitTest({10, 10}), htCaption);
}

TEST(SkinnedForm, ToggleMaximizeGoesThereAndBack) {
  TfrmQBase form;
  form.setGeometry(120, 90, 300, 200);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.ToggleMaximize();
  ASSERT_TRUE(WaitUntil([&] { return form.isMaximized(); }));
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return form.geometry() == screen->availableGeometry(); }));
  form.ToggleMaximize();
  ASSERT_TRUE(WaitUntil([&] { return !form.isMaximized(); }));
  EXPECT_TRUE(WaitUntil([&] { return form.geometry() == QRect(120, 90, 300, 200); }));
}

TEST(SkinnedForm, ADoubleClickOnTheTitleBarMaximisesAndRestores) {
  TfrmQBase form;
  form.setGeometry(100, 100, 300, 200);
  form.SetCaptionRect(QRect(10, 10, 80, 20));
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mouseDClick(&form, Qt::LeftButton, {}, QPoint(150, 100));
  SettlePaints();
  EXPECT_FALSE(form.isMaximized());
  QTest::mouseDClick(&form, Qt::LeftButton, {}, QPoint(20, 15));
  ASSERT_TRUE(WaitUntil([&] { return form.isMaximized(); }));
  QTest::mouseDClick(&form, Qt::LeftButton, {}, QPoint(20, 15));
  EXPECT_TRUE(WaitUntil([&] { return !form.isMaximized(); }));
}

TEST(SkinnedForm, DeferredInitRunsOnceAfterTheFirstShow) {
  TCountingForm form;
  form.resize(80, 60);
  SettlePaints();
  EXPECT_EQ(form.Runs, 0);
  EXPECT_FALSE(form.DeferredInitDone());
  form.show();
  // Queued, not run inside show().
  EXPECT_EQ(form.Runs, 0);
  ASSERT_TRUE(WaitUntil([&] { return form.Runs > 0; }));
  EXPECT_TRUE(form.VisibleWhenRun);
  EXPECT_TRUE(form.DeferredInitDone());
  form.hide();
  form.show();
  SettlePaints();
  EXPECT_EQ(form.Runs, 1);
}

TEST(SkinnedForm, WithoutAPictureOnlyTheBackgroundShows) {
  TfrmQBase form;
  QPalette palette = form.palette();
  palette.setColor(QPalette::Window, QColor(30, 60, 90));
  form.setPalette(palette);
  form.SetWLeft(8);
  form.SetHTop(8);
  form.resize(40, 30);
  const QImage shown = form.grab().toImage();
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(shown.pixel(x, y), qRgb(30, 60, 90)) << x << "," << y;
}

TEST(SkinnedForm, ThePictureCoversTheWholeWindowAtEverySize) {
  TfrmQBase form;
  // 3 x 3 art, one colour per part, margins 1: corners 1 x 1.
  QImage art(3, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) art.setPixel(x, y, qRgb(80 * x, 80 * y, 200));
  form.SetPicture(art);
  form.SetSliceSettings({1, 1, 1, 1, false, false});
  for (const QSize size : {QSize(50, 40), QSize(71, 23)}) {
    form.resize(size);
    const QImage shown = form.grab().toImage();
    ASSERT_EQ(shown.size(), size);
    const int w = size.width(), h = size.height();
    EXPECT_EQ(shown.pixel(0, 0), art.pixel(0, 0));
    EXPECT_EQ(shown.pixel(w - 1, 0), art.pixel(2, 0));
    EXPECT_EQ(shown.pixel(0, h - 1), art.pixel(0, 2));
    EXPECT_EQ(shown.pixel(w - 1, h - 1), art.pixel(2, 2));
    EXPECT_EQ(shown.pixel(w / 2, 0), art.pixel(1, 0));
    EXPECT_EQ(shown.pixel(0, h / 2), art.pixel(0, 1));
    EXPECT_EQ(shown.pixel(w / 2, h / 2), art.pixel(1, 1));
  }
}

TEST(SkinnedForm, EachZoneHasItsCursor) {
  EXPECT_EQ(TfrmQBase::ZoneCursor(htLeft), Qt::SizeHorCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htRight), Qt::SizeHorCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htTop), Qt::SizeVerCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htBottom), Qt::SizeVerCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htTopLeft), Qt::SizeFDiagCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htBottomRight), Qt::SizeFDiagCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htTopRight), Qt::SizeBDiagCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htBottomLeft), Qt::SizeBDiagCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htCaption), Qt::ArrowCursor);
  EXPECT_EQ(TfrmQBase::ZoneCursor(htClient), Qt::ArrowCursor);
}

TEST(SkinnedForm, TheCursorFollowsThePointerOverTheBands) {
  TfrmQBase form;
  form.SetResizable(true);
  form.setGeometry(100, 100, 200, 100);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QWindow* window = form.windowHandle();
  ASSERT_NE(window, nullptr);
  QTest::mouseMove(&form, QPoint(1, 50));
  EXPECT_EQ(window->cursor().shape(), Qt::SizeHorCursor);
  QTest::mouseMove(&form, QPoint(199, 99));
  EXPECT_EQ(window->cursor().shape(), Qt::SizeFDiagCursor);
  QTest::mouseMove(&form, QPoint(100, 50));
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

// Moves are sent in window coordinates of the moment, as a real pointer's
// would be; the window follows the pointer's screen position.
void MoveTo(TfrmQBase& form, QPoint global) {
  QTest::mouseMove(&form, global - form.geometry().topLeft());
}

TEST(SkinnedForm, DraggingTheTitleBarMovesTheWindowByHand) {
  TfrmQBase form;
  form.setGeometry(100, 100, 200, 100);
  form.SetCaptionRect(QRect(10, 10, 80, 20));
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(20, 15));
  MoveTo(form, QPoint(150, 135));
  EXPECT_EQ(form.geometry(), QRect(130, 120, 200, 100));
  MoveTo(form, QPoint(90, 95));
  EXPECT_EQ(form.geometry(), QRect(70, 80, 200, 100));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(20, 15));
  // Without the button the window stays.
  MoveTo(form, QPoint(300, 300));
  EXPECT_EQ(form.geometry(), QRect(70, 80, 200, 100));
}

TEST(SkinnedForm, AClickOnTheTitleBarIsReportedAndADragIsNot) {
  TClickedForm form;
  form.setGeometry(100, 100, 200, 100);
  form.SetCaptionRect(QRect(10, 10, 80, 20));
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(20, 15));
  EXPECT_EQ(form.Clicks, std::vector<QPoint>{QPoint(20, 15)});
  // Beside the title bar, with another button, or dragged: no click.
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(150, 60));
  QTest::mouseClick(&form, Qt::RightButton, {}, QPoint(20, 15));
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(20, 15));
  MoveTo(form, QPoint(150, 135));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(20, 15));
  EXPECT_EQ(form.Clicks.size(), 1u);
}

TEST(SkinnedForm, DraggingTheClientAreaDoesNothing) {
  TfrmQBase form;
  form.SetResizable(true);
  form.setGeometry(100, 100, 200, 100);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(50, 50));
  MoveTo(form, QPoint(180, 190));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(80, 90));
  EXPECT_EQ(form.geometry(), QRect(100, 100, 200, 100));
}

TEST(SkinnedForm, DraggingTheBandsResizesTheWindowByHand) {
  TfrmQBase form;
  form.SetResizable(true);
  form.setGeometry(100, 100, 200, 100);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  // Right edge 20 pixels out.
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(199, 50));
  MoveTo(form, QPoint(319, 150));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(219, 50));
  EXPECT_EQ(form.geometry(), QRect(100, 100, 220, 100));
  // Top left corner up and left: the far edges stay.
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(1, 1));
  MoveTo(form, QPoint(71, 81));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(form.geometry(), QRect(70, 80, 250, 120));
}

TEST(SkinnedForm, ResizingByHandKeepsTheMinimumSize) {
  TfrmQBase form;
  form.SetResizable(true);
  form.setMinimumSize(150, 80);
  form.setGeometry(100, 100, 200, 100);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(199, 99));
  MoveTo(form, QPoint(120, 120));
  EXPECT_EQ(form.geometry(), QRect(100, 100, 150, 80));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(20, 20));
  // Dragging the left edge far right stops at the minimum too; the right
  // edge stays at 250.
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(0, 40));
  MoveTo(form, QPoint(400, 140));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(0, 40));
  EXPECT_EQ(form.geometry(), QRect(100, 100, 150, 80));
}

}  // namespace
}  // namespace tw::test
