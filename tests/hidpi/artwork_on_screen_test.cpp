// The built-in artwork as it reaches the screen, at whatever scale the
// tests run: the widget tests run it at 1, the high-density tests at 2.
// Buttons, the title, a dialog's skin and the pointers show the pictures of
// the set for that scale pixel for pixel, while every size, nine-slice
// margin and hit-test rectangle stays the same in design pixels.
#include <QLabel>
#include <map>
#include <vector>

#include "app/main_window_test_support.h"
#include "controls/PaintGridU.h"
#include "controls/QSliderU.h"
#include "dialogs/DlgInfoF.h"
#include "hidpi/ArtShotSupport.h"
#include "palette/qt/ToolCursorsU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw::test {
namespace {

TEST(ArtworkOnScreen, TheProgramTakesTheSetOfTheScreensScale) {
  // The high-density run must really run dense, or it would check nothing
  // new.
  if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") {
    EXPECT_EQ(RunScale(), 2);
  }
  EXPECT_EQ(ScreenArtScale(), RunScale());
  const QImage undo = JpegResource("Undo0");
  EXPECT_EQ(undo.devicePixelRatio(), RunScale());
  EXPECT_EQ(undo.size(), QSize(40, 40) * RunScale());
  EXPECT_EQ(DesignSize(undo), QSize(40, 40));
}

using ArtworkOnScreenWindow = MainWindowFixture;

TEST_F(ArtworkOnScreenWindow, TheMainWindowsButtonsAndTitleArePixelForPixelTheirSet) {
  AddPicture("a.twf", "Apple");
  WriteDefaults({"a.twf"});
  TFMain& w = Start();
  // The offscreen screen is too small at scale 2 for the window's design
  // size; at that size no control overlaps another.
  w.showNormal();
  w.resize(TFMain::DesignWidth, TFMain::DesignHeight);
  // The title line's text is drawn over the title picture.
  auto* titleText = w.findChild<QLabel*>("lblTitle");
  ASSERT_NE(titleText, nullptr);
  titleText->hide();
  SettlePaints();
  const QImage shot = w.grab().toImage();
  ASSERT_EQ(shot.devicePixelRatio(), RunScale());
  // A button's looks are its pictures "<art>0" to "<art>2", the last for
  // both the down looks.
  const char* const lookSuffix[4] = {"0", "1", "2", "2"};
  for (const char* art : {"Undo", "ZoomOut", "ZoomIn", "Save", "Print", "Info", "PrevPic",
                          "NextPic", "Options", "Close", "Restore", "Min", "PrevPal", "NextPal",
                          "Fill", "Brush", "MBrush", "Dropper", "Marker", "Eraser"}) {
    const TQImgButton& button = Button((std::string("btn") + art).c_str());
    const QString name = QString::fromLatin1(art) + lookSuffix[button.CurrentLook()];
    const QRect place(button.mapTo(&w, QPoint(0, 0)), button.size());
    EXPECT_EQ(DifferingPixels(shot, place, JpegResource(name, RunScale())), 0) << art;
  }
  // The window's skin: its top left corner is the main picture's.
  const int s = RunScale();
  const QImage skin = JpegResource("main", s);
  EXPECT_EQ(DifferingPixels(shot, QRect(0, 0, 6, 6), skin.copy(0, 0, 6 * s, 6 * s)), 0);
  const auto* title = w.findChild<QLabel*>("imgTitle");
  ASSERT_NE(title, nullptr);
  const QRect titlePlace(title->mapTo(&w, QPoint(0, 0)), title->size());
  EXPECT_EQ(DifferingPixels(shot, titlePlace, JpegResource("title", RunScale())), 0);
}

TEST(ArtworkOnScreen, ADialogsSkinKeepsItsDesignMarginsAndShowsTheSetsCorners) {
  TfrmQDialog dialog;
  dialog.resize(100, 60);
  const QImage shot = dialog.grab().toImage();
  ASSERT_EQ(shot.devicePixelRatio(), RunScale());
  ASSERT_EQ(shot.size(), QSize(100, 60) * RunScale());
  // The skin is cut 8 design pixels from every side; its corners come
  // across whole.
  const QImage art = JpegResource("dialog", RunScale());
  const int s = RunScale();
  EXPECT_EQ(DifferingPixels(shot, QRect(0, 0, 8, 8), art.copy(0, 0, 8 * s, 8 * s)), 0);
  EXPECT_EQ(DifferingPixels(shot, QRect(92, 52, 8, 8),
                            art.copy(art.width() - 8 * s, art.height() - 8 * s, 8 * s, 8 * s)),
            0);
  EXPECT_EQ(
      DifferingPixels(shot, QRect(92, 0, 8, 8), art.copy(art.width() - 8 * s, 0, 8 * s, 8 * s)), 0);
}

TEST(ArtworkOnScreen, ADialogButtonShowsBothEndsOfItsSetsPicture) {
  QWidget window;
  TQImgButton* button =
      CreateDialogButton(&window, "btnYes", "btnGreen", QRect(0, 0, 100, 36), "", mrYes);
  const QImage shot = button->grab().toImage();
  const int s = RunScale();
  const QImage art = PngResource("btnGreen0", s);
  ASSERT_EQ(DesignSize(art), QSize(124, 36));
  // Narrower than its picture: the ends come across whole, the middle
  // loses columns.
  EXPECT_EQ(DifferingPixels(shot, QRect(0, 0, 40, 36), art.copy(0, 0, 40 * s, 36 * s)), 0);
  EXPECT_EQ(DifferingPixels(shot, QRect(60, 0, 40, 36),
                            art.copy(art.width() - 40 * s, 0, 40 * s, 36 * s)),
            0);
}

TEST(ArtworkOnScreen, ASlidersThumbIsHitInDesignPixels) {
  TQSlider slider;
  slider.resize(126, 18);
  slider.SetMinValue(0);
  slider.SetMaxValue(112);
  slider.SetPicBackground(PngResource("volTrack"));
  slider.SetPicThumb(PngResource("volThumb"));
  slider.SetValue(0);
  EXPECT_EQ(slider.ThumbRect(), QRect(0, 0, 14, 18));
  // The thumb travels the width less its own: one value a design pixel.
  EXPECT_EQ(slider.ValueAt(56), 56);
  slider.SetValue(112);
  EXPECT_EQ(slider.ThumbRect(), QRect(112, 0, 14, 18));
  const QImage shot = slider.grab().toImage();
  EXPECT_EQ(DifferingPixels(shot, slider.ThumbRect(), PngResource("volThumb", RunScale())), 0);
}

TEST(ArtworkOnScreen, TheTraysWellsAreDrawnInDevicePixelsWithTheirDesignLayout) {
  TPaintGrid grid;
  grid.resize(120, 40);
  grid.SetGridSize(3, 1);
  const TColor paints[3] = {0x0000FF, 0x00FF00, clNone};
  for (int i = 0; i < 3; ++i) grid.SetColor(i, paints[i]);
  grid.SetMarked(0);
  const QImage shot = grid.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int s = RunScale();
  ASSERT_EQ(shot.size(), QSize(120, 40) * s);
  // The same cells at every scale, and a press finds its well by design
  // pixels.
  for (int i = 0; i < 2; ++i) {
    const TRect& cell = grid.Cells()[size_t(i)];
    const QPoint centre((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    EXPECT_EQ(grid.IndexAt(centre.x(), centre.y()), i);
    EXPECT_EQ(PixelAt(shot, centre.x() * s, centre.y() * s), paints[i]) << i;
  }
  // Dense, the round corners use the device pixels: some design pixels
  // are not one colour throughout.
  int split = 0;
  for (int y = 0; y + s <= shot.height(); y += s)
    for (int x = 0; x + s <= shot.width(); x += s)
      for (int dy = 0; dy < s; ++dy)
        for (int dx = 0; dx < s; ++dx)
          if (shot.pixel(x + dx, y + dy) != shot.pixel(x, y)) {
            ++split;
            dy = dx = s;
          }
  if (s == 1) {
    EXPECT_EQ(split, 0);
  } else {
    EXPECT_GT(split, 0);
  }
}

class ArtworkPointers : public testing::Test {
 protected:
  void SetUp() override {
    ClearCursorTable();
    UninstallProgramCursors();
  }
  void TearDown() override {
    ClearCursorTable();
    UninstallProgramCursors();
  }
};

TEST_F(ArtworkPointers, PointersAreTheSetsPicturesWithDesignHotSpots) {
  TToolCursors cursors(true);
  const int s = RunScale();
  const QCursor hand = ProgramCursor(TProgramCursor::Hand);
  EXPECT_EQ(hand.pixmap().devicePixelRatio(), s);
  EXPECT_EQ(hand.hotSpot(), QPoint(13, 2));
  EXPECT_EQ(DifferingPixels(hand.pixmap().toImage(), QRect(0, 0, 32, 32),
                            PngResource("qc_hand", s)),
            0);

  // The felt-tip marker, the tenth tool pointer, points with its tip.
  const QCursor marker = CursorFromTable(10);
  EXPECT_EQ(marker.pixmap().devicePixelRatio(), s);
  EXPECT_EQ(marker.pixmap().size(), QSize(64, 64) * s);
  EXPECT_EQ(marker.hotSpot(), QPoint(1, 62));
  const QImage markerArt = PngResource("markerC", s);
  const QImage markerShown = marker.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(markerShown.pixel(QPoint(1, 62) * s) & RGB_MASK,
            markerArt.pixel(QPoint(1, 62) * s) & RGB_MASK);
  EXPECT_EQ(qAlpha(markerShown.pixel(QPoint(1, 62) * s)), 255);
}

TEST_F(ArtworkPointers, PaintPouredIntoTheBucketFillsItsWholeColourArea) {
  TToolCursors cursors(true);
  const int s = RunScale();
  const TColor red = 0x0000FF;
  cursors.TintPaint(red);
  const QImage shown = CursorFromTable(crFill).pixmap().toImage();
  const QImage untouched = PngResource("fillC", s).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), untouched.size());
  // Every art pixel of the colour point's colour in its design pixel is
  // painted, whatever the density.
  const QPoint point = cursors.ColorPoint(crFill);
  int painted = 0;
  for (int dy = 0; dy < s; ++dy)
    for (int dx = 0; dx < s; ++dx) {
      const QPoint at = point * s + QPoint(dx, dy);
      if ((shown.pixel(at) & RGB_MASK) == (qRgb(255, 0, 0) & RGB_MASK)) ++painted;
    }
  EXPECT_EQ(painted, s * s);
}

TEST_F(ArtworkPointers, APourLeavesNoPixelOfTheOldColour) {
  TToolCursors cursors(true);
  const int s = RunScale();
  const auto shown = [](int32_t id) {
    return CursorFromTable(id).pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  };
  // The pointers that take paint: the bucket and brushes, and the dropper
  // holding one to five drops (the empty one is never recoloured).
  std::vector<int32_t> ids;
  for (int32_t id = crFill; id <= crDropper0 + MaxDropperDrops; ++id)
    if (id != crDropper0) ids.push_back(id);
  std::map<int32_t, QRgb> old;
  for (int32_t id : ids) old[id] = shown(id).pixel(cursors.ColorPoint(id) * s) & RGB_MASK;
  const TColor blue = 0xFF0000;
  cursors.TintPaint(blue);
  for (int drops = 1; drops <= MaxDropperDrops; ++drops) cursors.TintDropper(drops, blue);
  for (int32_t id : ids) {
    const QImage after = shown(id);
    EXPECT_EQ(after.pixel(cursors.ColorPoint(id) * s) & RGB_MASK, qRgb(0, 0, 255) & RGB_MASK)
        << "pointer " << id;
    int left = 0;
    for (int y = 0; y < after.height(); ++y)
      for (int x = 0; x < after.width(); ++x)
        if (qAlpha(after.pixel(x, y)) == 255 && (after.pixel(x, y) & RGB_MASK) == old[id]) ++left;
    EXPECT_EQ(left, 0) << "pointer " << id;
  }
}

}  // namespace
}  // namespace tw::test
