// The image button: which of its four pictures shows for each state, hover
// only in the active window, the caption's 2-pixel shift while down, the
// pictures' own transparency, the dashed frame without pictures, and the
// modal result it gives its dialog after OnClick.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "controls/QDialogF.h"
#include "controls/QImgButtonU.h"
#include "base/ErrorsU.h"
#include "pictures/qt/ArtResourceU.h"
#include "tests/controls/ControlTestSupport.h"

namespace tw::test {
namespace {

constexpr int W = 40;
constexpr int H = 24;
const TColor LookColors[4] = {RGB(200, 30, 30), RGB(30, 200, 30), RGB(30, 30, 200),
                              RGB(200, 200, 30)};

void GiveLooks(TQImgButton& button) {
  button.SetPictures(Solid(W, H, LookColors[0]), Solid(W, H, LookColors[1]),
                     Solid(W, H, LookColors[2]), Solid(W, H, LookColors[3]));
}

// The colour in the middle of the button as drawn now.
TColor Shown(TQImgButton& button) {
  const QImage image = button.grab().toImage();
  return PixelAt(image, W / 2, H / 2);
}

// Stands in for a dialog: records the modal result it is given.
class TResultWindow : public TPlainWindow, public IModalForm {
 public:
  std::vector<std::string>* Log = nullptr;
  void SetModalResult(int Result) override {
    if (Log) Log->push_back("result " + std::to_string(Result));
  }
};

TEST(ImgButton, EachStateShowsItsPicture) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.setGeometry(10, 10, W, H);
  GiveLooks(button);
  ASSERT_TRUE(ShowActive(window));

  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkNormal]);
  SendEnter(button);
  EXPECT_TRUE(button.Hovered());
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkHover]);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkDownHover]);
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkHover]);
  SendLeave(button);
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkNormal]);
  // Pressed without hover (the pointer went out while held) looks down.
  QTest::mousePress(&button, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkDown]);
  QTest::mouseRelease(&button, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkNormal]);
}

TEST(ImgButton, DownLatchesAndPressingDoesNotToggleIt) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.setGeometry(10, 10, W, H);
  GiveLooks(button);
  ASSERT_TRUE(ShowActive(window));
  button.SetDown(true);
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkDown]);
  SendEnter(button);
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkDownHover]);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(button.Down());
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkDownHover]);
  button.SetDown(false);
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkHover]);
}

TEST(ImgButton, NoHoverInAWindowThatIsNotActive) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.setGeometry(10, 10, W, H);
  GiveLooks(button);
  window.show();
  TPlainWindow other;
  ASSERT_TRUE(ShowActive(other));
  ASSERT_FALSE(window.isActiveWindow());
  SendEnter(button);
  EXPECT_FALSE(button.Hovered());
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkNormal]);
}

TEST(ImgButton, DeactivatingTheWindowClearsHoverAndPress) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.setGeometry(10, 10, W, H);
  GiveLooks(button);
  ASSERT_TRUE(ShowActive(window));
  SendEnter(button);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_EQ(button.CurrentLook(), TQImgButton::lkDownHover);
  // As when a press opens a dialog that takes the release.
  TPlainWindow dialog;
  ASSERT_TRUE(ShowActive(dialog));
  EXPECT_FALSE(button.Pressed());
  EXPECT_FALSE(button.Hovered());
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkNormal]);
}

TEST(ImgButton, TheCaptionMovesTwoPixelsRightAndDownWhileDown) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.setGeometry(0, 0, W, H);
  const QImage white = Solid(W, H, clWhite);
  button.SetPictures(white, white, white, white);
  QFont font = button.Font();
  font.setPixelSize(12);
  button.SetFont(font);
  button.SetCaption("Ok");

  // The caption's resting place: centred by its measured size, one pixel
  // up and left.
  const QFontMetrics metrics(font);
  const QPoint resting((W - metrics.horizontalAdvance("Ok")) / 2 - 1,
                       (H - metrics.height()) / 2 - 1);
  EXPECT_EQ(button.CaptionPos(), resting);

  const QImage up = button.grab().toImage();
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(button.CaptionPos(), resting + QPoint(2, 2));
  const QImage pressed = button.grab().toImage();
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
  button.SetDown(true);
  const QImage down = button.grab().toImage();

  const QRect ink = InkBounds(up, clWhite);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(resting, metrics.size(0, "Ok")).contains(ink));
  EXPECT_EQ(InkBounds(pressed, clWhite), ink.translated(2, 2));
  for (int y = 0; y + 2 < H; ++y)
    for (int x = 0; x + 2 < W; ++x) {
      ASSERT_EQ(PixelAt(pressed, x + 2, y + 2), PixelAt(up, x, y)) << x << "," << y;
      ASSERT_EQ(PixelAt(down, x + 2, y + 2), PixelAt(up, x, y)) << x << "," << y;
    }
}

TEST(ImgButton, TheCaptionTakesTheFontColour) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.setGeometry(0, 0, W, H);
  const QImage black = Solid(W, H, clBlack);
  button.SetPictures(black, black, black, black);
  QFont font = button.Font();
  font.setPixelSize(14);
  font.setBold(true);
  button.SetFont(font);
  EXPECT_TRUE(button.Font().bold());
  button.SetFontColor(clWhite);
  button.SetCaption("HI");
  const QImage image = button.grab().toImage();
  bool white = false;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) white = white || PixelAt(image, x, y) == clWhite;
  EXPECT_TRUE(white);
}

TEST(ImgButton, PicturesKeepTheirTransparency) {
  const TColor background = RGB(255, 0, 0);
  TPlainWindow window(background);
  TQImgButton button(&window);
  button.setGeometry(10, 10, W, H);
  // Left half fully transparent, right half half-covered blue.
  QImage picture = Solid(W, H, RGB(0, 0, 255), 128);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W / 2; ++x) picture.setPixel(x, y, qRgba(0, 0, 0, 0));
  button.SetPictures(picture, picture, picture, picture);
  const QImage image = window.grab().toImage();
  EXPECT_EQ(PixelAt(image, 10 + 2, 10 + 2), background);
  const QRgb mixed = image.pixel(10 + W - 3, 10 + 2);
  // 128/255 of blue over red: about half of each.
  EXPECT_NEAR(qRed(mixed), 127, 2);
  EXPECT_EQ(qGreen(mixed), 0);
  EXPECT_NEAR(qBlue(mixed), 128, 2);
}

TEST(ImgButton, WithoutPicturesADashedFrameIsDrawn) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.setGeometry(10, 10, W, H);
  EXPECT_FALSE(button.PicturesLoaded());
  const QImage image = window.grab().toImage();
  int dark = 0, light = 0;
  for (int x = 10; x < 10 + W; ++x) (PixelAt(image, x, 10) == clWhite ? light : dark)++;
  // Dashes: both drawn and open pixels along the top edge.
  EXPECT_GT(dark, 0);
  EXPECT_GT(light, 0);
  // No fill inside.
  EXPECT_TRUE(InkBounds(image, clWhite, QRect(12, 12, W - 4, H - 4)).isEmpty());
}

TEST(ImgButton, AMissingBuiltInPictureChangesNothing) {
  TQImgButton button;
  button.resize(W, H);
  GiveLooks(button);
  EXPECT_THROW(button.LoadPngPictures("noSuchButtonArtwork"), EError);
  EXPECT_THROW(button.LoadJpegPictures("noSuchA", "noSuchB", "noSuchC", "noSuchD"), EError);
  EXPECT_TRUE(button.PicturesLoaded());
  EXPECT_EQ(Shown(button), LookColors[TQImgButton::lkNormal]);
}

TEST(ImgButton, AModalResultGoesToTheDialogAfterOnClick) {
  TResultWindow dialog;
  std::vector<std::string> log;
  dialog.Log = &log;
  TQImgButton button(&dialog);
  button.setGeometry(10, 10, W, H);
  GiveLooks(button);
  button.SetModalResult(mrOk);
  button.OnClick = [&](TQHintControl& sender) {
    EXPECT_EQ(&sender, &button);
    log.push_back("click");
  };
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(log.empty());
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(log, (std::vector<std::string>{"click", "result 1"}));
}

TEST(ImgButton, AModalResultEndsARunningDialog) {
  // The dialog art is part of the program.
  ASSERT_TRUE(HasArtResource("dialog"));
  TfrmQDialog dialog;
  dialog.resize(200, 120);
  TQImgButton button(&dialog);
  button.setGeometry(20, 20, W, H);
  GiveLooks(button);
  button.SetModalResult(mrYes);
  bool clicked = false;
  button.OnClick = [&](TQHintControl&) {
    // Still running: the result comes after the click handler.
    EXPECT_TRUE(dialog.isVisible());
    clicked = true;
  };
  QTimer::singleShot(0, &button, [&] {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
  });
  EXPECT_EQ(dialog.ShowModal(), mrYes);
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(ImgButton, WithoutAModalResultTheDialogIsLeftAlone) {
  TResultWindow dialog;
  std::vector<std::string> log;
  dialog.Log = &log;
  TQImgButton button(&dialog);
  button.setGeometry(10, 10, W, H);
  button.OnClick = [&](TQHintControl&) { log.push_back("click"); };
  button.Click();
  EXPECT_EQ(log, std::vector<std::string>{"click"});
}

TEST(ImgButton, AModalResultOffADialogIsAClearError) {
  TPlainWindow window;
  TQImgButton button(&window);
  button.SetModalResult(mrCancel);
  int clicks = 0;
  button.OnClick = [&](TQHintControl&) { ++clicks; };
  EXPECT_THROW(button.Click(), EError);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace tw::test
