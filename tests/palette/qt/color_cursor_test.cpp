// Colour cursors: the pointer built from a colour picture and a mask, the
// recolouring by a four-connected fill that always starts from the picture
// as loaded, the size check, the cursor table and the program's own
// pointers. Every picture is made here; none comes from the artwork.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QPixmap>
#include <queue>
#include <random>
#include <set>

#include "base/ErrorsU.h"
#include "palette/qt/ColorCursorU.h"
#include "palette/qt/CursorTableU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

QImage Solid(int w, int h, TColor c) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
  return image;
}

void Put(QImage& image, int x, int y, TColor c) {
  image.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
}

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x00FF00;

// A red area shaped like an L joined at (2, 2), a red pixel touching it
// only diagonally at (5, 5) and a red pixel cut off by white at (7, 0).
QImage Shapes() {
  QImage image = Solid(8, 8, clWhite);
  for (int x = 1; x <= 4; ++x) Put(image, x, 2, Red);
  for (int y = 2; y <= 4; ++y) Put(image, 2, y, Red);
  Put(image, 3, 4, Red);
  Put(image, 4, 4, Red);
  Put(image, 5, 5, Red);
  Put(image, 7, 0, Red);
  return image;
}

const std::set<std::pair<int, int>> LArea = {{1, 2}, {2, 2}, {3, 2}, {4, 2},
                                             {2, 3}, {2, 4}, {3, 4}, {4, 4}};

TEST(ColorCursor, TintFillsOnlyTheFourConnectedArea) {
  TColorCursor cursor(1);
  const QImage original = Shapes();
  cursor.SetColorPicture(original);
  cursor.Tint(QPoint(2, 3), Blue, false);
  const QImage& tinted = cursor.ColorPicture();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const TColor expected = LArea.count({x, y}) ? Blue : PixelAt(original, x, y);
      ASSERT_EQ(PixelAt(tinted, x, y), expected) << x << "," << y;
    }
  // The diagonal neighbour and the cut-off pixel keep their red.
  EXPECT_EQ(PixelAt(tinted, 5, 5), Red);
  EXPECT_EQ(PixelAt(tinted, 7, 0), Red);
}

TEST(ColorCursor, EachTintStartsFromThePictureAsLoaded) {
  TColorCursor cursor(1);
  cursor.SetColorPicture(Shapes());
  cursor.Tint(QPoint(1, 2), Blue, false);
  cursor.Tint(QPoint(1, 2), Green, false);
  const QImage& tinted = cursor.ColorPicture();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      ASSERT_NE(PixelAt(tinted, x, y), Blue) << x << "," << y;
      ASSERT_EQ(PixelAt(tinted, x, y) == Green, LArea.count({x, y}) == 1) << x << "," << y;
    }
  // Tinting the white around the shapes now also starts afresh: the L is
  // red again and the white is green.
  cursor.Tint(QPoint(0, 0), Green, false);
  EXPECT_EQ(PixelAt(cursor.ColorPicture(), 2, 2), Red);
  EXPECT_EQ(PixelAt(cursor.ColorPicture(), 0, 7), Green);
}

TEST(ColorCursor, TintWithThePointsOwnColourChangesNothing) {
  TColorCursor cursor(1);
  const QImage original = Shapes();
  cursor.SetColorPicture(original);
  cursor.Tint(QPoint(2, 2), Red, false);
  EXPECT_EQ(cursor.ColorPicture(), original.convertToFormat(QImage::Format_RGB32));
  // The top byte of a colour is not part of it.
  cursor.Tint(QPoint(2, 2), Red | 0x1F000000, false);
  EXPECT_EQ(cursor.ColorPicture(), original.convertToFormat(QImage::Format_RGB32));
}

TEST(ColorCursor, TintOutsideThePictureFillsNothing) {
  TColorCursor cursor(1);
  const QImage original = Shapes();
  cursor.SetColorPicture(original);
  cursor.Tint(QPoint(8, 3), Blue, false);
  cursor.Tint(QPoint(-1, 0), Blue, false);
  EXPECT_EQ(cursor.ColorPicture(), original.convertToFormat(QImage::Format_RGB32));
}

// The plain reference: breadth-first over the four neighbours.
QImage ReferenceFill(QImage image, QPoint start, TColor color) {
  const QRgb target = image.pixel(start) & RGB_MASK;
  const QRgb fill = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
  if (target == (fill & RGB_MASK)) return image;
  std::queue<QPoint> work;
  work.push(start);
  while (!work.empty()) {
    const QPoint p = work.front();
    work.pop();
    if (!image.rect().contains(p) || (image.pixel(p) & RGB_MASK) != target) continue;
    image.setPixel(p, fill);
    for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
      work.push(p + d);
  }
  return image;
}

TEST(ColorCursor, TintMatchesASimpleFillOnRandomPictures) {
  std::mt19937 random(7);
  const TColor colors[] = {Red, Blue, clWhite};
  for (int round = 0; round < 40; ++round) {
    const int w = 1 + int(random() % 40);
    const int h = 1 + int(random() % 40);
    QImage picture = Solid(w, h, clWhite);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Put(picture, x, y, colors[random() % 3]);
    const QPoint start(int(random() % unsigned(w)), int(random() % unsigned(h)));
    TColorCursor cursor(1);
    cursor.SetColorPicture(picture);
    cursor.Tint(start, Green, false);
    ASSERT_EQ(cursor.ColorPicture(), ReferenceFill(picture, start, Green)) << "round " << round;
  }
}

TEST(ColorCursor, SizeMismatchNamesBothSizes) {
  TColorCursor cursor(2);
  cursor.SetMaskPicture(Solid(32, 32, clBlack));
  cursor.SetColorPicture(Solid(64, 64, Red));
  try {
    cursor.Build();
    FAIL() << "no error";
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "Error creating cursor 2: Mask/Color not same size (32x32 / 64x64)");
  }
}

TEST(ColorCursor, EmptyPicturesAndAStrayHotSpotAreErrors) {
  TColorCursor cursor(3);
  EXPECT_THROW(cursor.Build(), EError);
  cursor.SetMaskPicture(Solid(8, 8, clBlack));
  cursor.SetColorPicture(Solid(8, 8, Red));
  cursor.SetHotSpot(QPoint(8, 0));
  EXPECT_THROW(cursor.Build(), EError);
}

TEST(ColorCursor, MissingResourceThrows) {
  TColorCursor cursor(4);
  EXPECT_THROW(cursor.LoadMask("no-such-pointer-pictureM"), EError);
  EXPECT_THROW(cursor.LoadColor("no-such-pointer-pictureC"), EError);
}

// Pixels of the pointer picture: the colour where the mask is black, fully
// transparent where it is white.
TEST(ColorCursor, BuildTakesTheAlphaFromTheMaskAndRegistersTheCursor) {
  ClearCursorTable();
  QImage mask = Solid(16, 16, clWhite);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8; ++x) Put(mask, x, y, clBlack);
  QImage color = Solid(16, 16, Blue);
  Put(color, 3, 3, Red);
  TColorCursor cursor(5);
  cursor.SetMaskPicture(mask);
  cursor.SetColorPicture(color);
  cursor.SetHotSpot(QPoint(1, 14));
  cursor.Build();
  EXPECT_EQ(cursor.Cursor().hotSpot(), QPoint(1, 14));
  const QImage shown = cursor.Cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(shown.size(), QSize(16, 16));
  EXPECT_EQ(shown.pixel(3, 3), qRgba(255, 0, 0, 255));
  EXPECT_EQ(shown.pixel(7, 10), qRgba(0, 0, 255, 255));
  EXPECT_EQ(qAlpha(shown.pixel(8, 3)), 0);
  EXPECT_EQ(qAlpha(shown.pixel(15, 15)), 0);
  ASSERT_TRUE(HasCursorInTable(5));
  EXPECT_EQ(CursorFromTable(5).hotSpot(), QPoint(1, 14));
  EXPECT_EQ(CursorFromTable(5).pixmap().toImage().convertToFormat(QImage::Format_ARGB32), shown);
  ClearCursorTable();
}

TEST(ColorCursor, TintWithRebuildReplacesTheTableEntry) {
  ClearCursorTable();
  TColorCursor cursor(6);
  cursor.SetMaskPicture(Solid(8, 8, clBlack));
  cursor.SetColorPicture(Shapes());
  cursor.Build();
  cursor.Tint(QPoint(2, 2), Green, true);
  const QImage shown = CursorFromTable(6).pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(shown.pixel(4, 4), qRgba(0, 255, 0, 255));
  EXPECT_EQ(shown.pixel(5, 5), qRgba(255, 0, 0, 255));
  // Without rebuild the table keeps the pointer built last.
  cursor.Tint(QPoint(2, 2), Blue, false);
  EXPECT_EQ(
      CursorFromTable(6).pixmap().toImage().convertToFormat(QImage::Format_ARGB32).pixel(4, 4),
      qRgba(0, 255, 0, 255));
  ClearCursorTable();
}

TEST(CursorTable, UnknownNumbersGiveTheOrdinaryArrow) {
  ClearCursorTable();
  EXPECT_FALSE(HasCursorInTable(42));
  EXPECT_EQ(CursorFromTable(42).shape(), Qt::ArrowCursor);
}

TEST(CursorTable, ProgramPointersReplaceTheDesktopsOnceInstalled) {
  UninstallProgramCursors();
  EXPECT_EQ(ProgramCursor(TProgramCursor::Hand).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(ProgramCursor(TProgramCursor::No).shape(), Qt::ForbiddenCursor);
  std::vector<QString> asked;
  InstallProgramCursors([&](const QString& name) {
    asked.push_back(name);
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 255));
    return picture;
  });
  EXPECT_EQ(asked, (std::vector<QString>{"qc_hand", "qc_arrow", "qc_no"}));
  EXPECT_EQ(ProgramCursor(TProgramCursor::Hand).shape(), Qt::BitmapCursor);
  EXPECT_EQ(ProgramCursor(TProgramCursor::Hand).hotSpot(), QPoint(13, 2));
  EXPECT_EQ(ProgramCursor(TProgramCursor::Arrow).hotSpot(), QPoint(2, 2));
  EXPECT_EQ(ProgramCursor(TProgramCursor::No).hotSpot(), QPoint(15, 15));
  UninstallProgramCursors();
}

TEST(CursorTable, AMissingProgramPointerChangesNone) {
  UninstallProgramCursors();
  EXPECT_THROW(InstallProgramCursors([](const QString& name) -> QImage {
                 if (name == "qc_no") throw EError("missing");
                 QImage picture(32, 32, QImage::Format_ARGB32);
                 picture.fill(Qt::black);
                 return picture;
               }),
               EError);
  EXPECT_EQ(ProgramCursor(TProgramCursor::Hand).shape(), Qt::PointingHandCursor);
}

}  // namespace
}  // namespace tw::test
