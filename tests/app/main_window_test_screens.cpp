// The window moved between a plain and a dense screen: its artwork and
// pointers are loaded again from the set that screen asks for, pixel for
// pixel, and come back when it returns. Needs the two-screen offscreen
// set-up the test run gives the UI tests.
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "app/main_window_test_support.h"
#include "hidpi/ArtShotSupport.h"
#include "palette/qt/CursorTableU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw::test {
namespace {

class MainWindowScreens : public MainWindowFixture {
 protected:
  static QScreen* ScreenOfRatio(qreal Ratio) {
    for (QScreen* Screen : QGuiApplication::screens())
      if (Screen->devicePixelRatio() == Ratio) return Screen;
    return nullptr;
  }

  void MoveTo(QScreen* Screen) {
    FWindow->showNormal();
    FWindow->windowHandle()->setScreen(Screen);
    FWindow->move(Screen->geometry().topLeft() + QPoint(10, 10));
    FWindow->resize(TFMain::DesignWidth, TFMain::DesignHeight);
    SettlePaints();
  }

  // How many pixels of the shown Undo button and title differ from the
  // pictures of the set of Scale.
  int DifferingFrom(int Scale) {
    const QImage Shot = FWindow->grab().toImage();
    EXPECT_EQ(Shot.devicePixelRatio(), Scale);
    const TQImgButton& Undo = Button("btnUndo");
    const QRect Place(Undo.mapTo(FWindow.get(), QPoint(0, 0)), Undo.size());
    int Differing = DifferingPixels(Shot, Place, JpegResource("Undo0", Scale));
    const auto* Title = FWindow->findChild<QLabel*>("imgTitle");
    const QRect TitlePlace(Title->mapTo(FWindow.get(), QPoint(0, 0)), Title->size());
    Differing += DifferingPixels(Shot, TitlePlace, JpegResource("title", Scale));
    return Differing;
  }
};

TEST_F(MainWindowScreens, MovedToADenseScreenTheWindowTakesTheDenseSetAndBack) {
  if (!qEnvironmentVariable("QT_QPA_PLATFORM").contains("two-screens"))
    GTEST_SKIP() << "runs on the two-screen offscreen set-up";
  QScreen* Plain = ScreenOfRatio(1);
  QScreen* Dense = ScreenOfRatio(2);
  ASSERT_NE(Plain, nullptr);
  ASSERT_NE(Dense, nullptr);
  AddPicture("a.twf", "Apple");
  WriteDefaults({"a.twf"});
  TFMain& w = Start();
  // The title's text is drawn over the title picture.
  w.TitleLabel().hide();
  MoveTo(Plain);
  EXPECT_EQ(ScreenArtScale(), 1);
  EXPECT_EQ(DifferingFrom(1), 0);

  MoveTo(Dense);
  ASSERT_EQ(w.devicePixelRatioF(), 2);
  EXPECT_EQ(ScreenArtScale(), 2);
  EXPECT_EQ(DifferingFrom(2), 0);
  // The pointers are the dense pictures too, tinted with the paint.
  Press("btnBrush");
  ClickWell(w.PaintTray(), 3);
  const QPixmap Pointer = w.Painter().cursor().pixmap();
  EXPECT_EQ(Pointer.devicePixelRatio(), 2);
  EXPECT_EQ(ProgramCursor(TProgramCursor::Arrow).pixmap().devicePixelRatio(), 2);

  MoveTo(Plain);
  EXPECT_EQ(ScreenArtScale(), 1);
  EXPECT_EQ(DifferingFrom(1), 0);
  EXPECT_EQ(w.Painter().cursor().pixmap().devicePixelRatio(), 1);
}

}  // namespace
}  // namespace tw::test
