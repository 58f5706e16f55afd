// The nine-slice drawing, pixel by pixel: corners copied as they are, edges
// and middle repeated from their top left with the last copies cut off,
// stretched parts, targets smaller than their corners, bad margins, art with
// transparency, and the panel that draws with it.
#include <gtest/gtest.h>

#include <QPainter>
#include <climits>

#include "controls/QPanel.h"
#include "controls/QSlice9U.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

// Every art pixel its own colour: red and green are its coordinates, so any
// pixel of a result names the art pixel it came from.
QImage CoordinateArt(int w, int h) {
  QImage art(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) art.setPixel(x, y, qRgb(x, y, 99));
  return art;
}

// Where a target coordinate reads the art when nothing is stretched and the
// target is at least as large as its two margins: the first margin one to
// one, the last margin one to one from the far end, the middle repeated
// from its start.
int RepeatSource(int t, int target, int art, int first, int last) {
  if (t < first) return t;
  if (t >= target - last) return art - (target - t);
  return first + (t - first) % (art - first - last);
}

void ExpectRepeated(const QImage& result, const QImage& art, const TSlice9Settings& s) {
  ASSERT_FALSE(result.isNull());
  int wrong = 0;
  for (int y = 0; y < result.height(); ++y) {
    for (int x = 0; x < result.width(); ++x) {
      const int sx = RepeatSource(x, result.width(), art.width(), s.WLeft, s.WRight);
      const int sy = RepeatSource(y, result.height(), art.height(), s.HTop, s.HBottom);
      if (result.pixel(x, y) != art.pixel(sx, sy) && ++wrong <= 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << " should come from " << sx << "," << sy;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(Slice9, TheDialogArtFillsADialogWithWholeAndCutCopies) {
  const QImage art = CoordinateArt(24, 24);
  const TSlice9Settings s{8, 8, 8, 8, false, false};
  const QImage result = Slice9Image(art, s, QSize(464, 332));
  ExpectRepeated(result, art, s);
  // Corners one to one.
  EXPECT_EQ(result.pixel(0, 0), art.pixel(0, 0));
  EXPECT_EQ(result.pixel(7, 7), art.pixel(7, 7));
  EXPECT_EQ(result.pixel(456, 0), art.pixel(16, 0));
  EXPECT_EQ(result.pixel(463, 331), art.pixel(23, 23));
  EXPECT_EQ(result.pixel(0, 324), art.pixel(0, 16));
  // 448 middle columns are exactly 56 copies: column 455 is the last column
  // of the middle part.
  EXPECT_EQ(result.pixel(455, 100), art.pixel(15, 8 + (100 - 8) % 8));
  // 316 middle rows are 39 copies and 4 rows: the last copy stops after the
  // middle part's row 11, and row 324 starts the bottom corner.
  EXPECT_EQ(result.pixel(100, 320), art.pixel(8 + (100 - 8) % 8, 8));
  EXPECT_EQ(result.pixel(100, 323), art.pixel(8 + (100 - 8) % 8, 11));
  EXPECT_EQ(result.pixel(100, 324), art.pixel(8 + (100 - 8) % 8, 16));
}

TEST(Slice9, DenseArtIsCutAtItsDesignMarginsAndCopiedPixelForPixel) {
  // Twice as dense: the margins are design pixels, two art pixels each.
  QImage art = CoordinateArt(48, 48);
  art.setDevicePixelRatio(2);
  const QImage result = Slice9Image(art, {8, 8, 8, 8, false, false}, QSize(100, 70));
  EXPECT_EQ(result.devicePixelRatio(), 2.0);
  ASSERT_EQ(result.size(), QSize(200, 140));
  // In art pixels the same drawing as design art with doubled margins.
  QImage plain = art;
  plain.setDevicePixelRatio(1);
  ExpectRepeated(result, plain, {16, 16, 16, 16, false, false});
}

TEST(Slice9, DenseArtDrawnOnADenseCanvasLandsOnePixelToOne) {
  QImage art = CoordinateArt(48, 48);
  art.setDevicePixelRatio(2);
  QImage canvas(QSize(60, 50) * 2, QImage::Format_ARGB32_Premultiplied);
  canvas.setDevicePixelRatio(2);
  canvas.fill(Qt::black);
  {
    QPainter painter(&canvas);
    TSlice9 slice;
    slice.Draw(art, painter, 60, 50, {8, 8, 8, 8, false, false});
  }
  QImage plain = art;
  plain.setDevicePixelRatio(1);
  ExpectRepeated(canvas.convertToFormat(QImage::Format_RGB32), plain,
                 {16, 16, 16, 16, false, false});
}

TEST(Slice9, TheLastCopiesAreCutNotSqueezed) {
  // Middle part 5 x 6 into 18 x 17: three copies and 3 columns, two copies
  // and 5 rows.
  const QImage art = CoordinateArt(10, 9);
  const TSlice9Settings s{2, 3, 1, 2, false, false};
  const QImage result = Slice9Image(art, s, QSize(23, 20));
  ExpectRepeated(result, art, s);
  // The cut copy's columns 2..4 and the right column after it.
  EXPECT_EQ(result.pixel(17, 1), art.pixel(2, 1));
  EXPECT_EQ(result.pixel(19, 1), art.pixel(4, 1));
  EXPECT_EQ(result.pixel(20, 1), art.pixel(7, 1));
  // The cut copy's rows 1..5 and the bottom row after it.
  EXPECT_EQ(result.pixel(0, 13), art.pixel(0, 1));
  EXPECT_EQ(result.pixel(0, 17), art.pixel(0, 5));
  EXPECT_EQ(result.pixel(0, 18), art.pixel(0, 7));
}

TEST(Slice9, ATargetTheSizeOfTheArtIsTheArt) {
  const QImage art = CoordinateArt(12, 10);
  const TSlice9Settings s{3, 4, 2, 5, true, true};
  const QImage result = Slice9Image(art, s, art.size());
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(result.pixel(x, y), art.pixel(x, y)) << x << "," << y;
}

// Art of 8 x 8 cut 2 / 4 / 2 each way. Every part is split into halves each
// way, and each (part, half) has its own colour: a stretched part shows its
// halves as two wide blocks, a repeated one as alternating narrow ones.
QRgb HalfColour(int c, int r, int hx, int hy) {
  return qRgb(40 * c + 10 * hx, 40 * r + 10 * hy, 7);
}

QImage HalvesArt() {
  const int edges[4] = {0, 2, 6, 8};
  QImage art(8, 8, QImage::Format_RGB32);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      for (int y = edges[r]; y < edges[r + 1]; ++y)
        for (int x = edges[c]; x < edges[c + 1]; ++x) {
          const int hx = (x - edges[c]) * 2 >= edges[c + 1] - edges[c];
          const int hy = (y - edges[r]) * 2 >= edges[r + 1] - edges[r];
          art.setPixel(x, y, HalfColour(c, r, hx, hy));
        }
  return art;
}

// Part index and half along one direction of a 2 / 4 / 2 cut spread over
// size; -1 for the half where a stretched middle blends its two halves.
void Along(int t, int size, bool stretch, int& part, int& half) {
  if (t < 2) {
    part = 0;
    half = t >= 1;
  } else if (t >= size - 2) {
    part = 2;
    half = t >= size - 1;
  } else if (!stretch) {
    part = 1;
    half = (t - 2) % 4 >= 2;
  } else {
    part = 1;
    // Stretched over size - 4: whatever the smoothing, the first and last
    // thirds lie wholly in one half of the art.
    const int pos = t - 2;
    const int extent = size - 4;
    half = pos * 3 < extent ? 0 : pos * 3 >= extent * 2 ? 1 : -1;
  }
}

void ExpectHalves(bool stretchHorz, bool stretchVert) {
  const QImage art = HalvesArt();
  const TSlice9Settings s{2, 2, 2, 2, stretchHorz, stretchVert};
  const QSize size(44, 34);
  const QImage result = Slice9Image(art, s, size);
  ASSERT_FALSE(result.isNull());
  int checked = 0;
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      int c, hx, r, hy;
      Along(x, size.width(), stretchHorz, c, hx);
      Along(y, size.height(), stretchVert, r, hy);
      if (hx < 0 || hy < 0) continue;
      ++checked;
      ASSERT_EQ(result.pixel(x, y), HalfColour(c, r, hx, hy))
          << x << "," << y << " stretch " << stretchHorz << stretchVert;
    }
  }
  EXPECT_GT(checked, size.width() * size.height() / 3);
}

TEST(Slice9, RepeatedPartsAlternateTheirHalves) { ExpectHalves(false, false); }
TEST(Slice9, StretchHorzStretchesTheMiddleColumnOnly) { ExpectHalves(true, false); }
TEST(Slice9, StretchVertStretchesTheMiddleRowOnly) { ExpectHalves(false, true); }
TEST(Slice9, BothStretchesMakeOneScaledMiddle) { ExpectHalves(true, true); }

TEST(Slice9, AStretchedPartTakesNoColourFromItsNeighbours) {
  const QImage art = HalvesArt();
  const QImage result = Slice9Image(art, {2, 2, 2, 2, true, true}, QSize(60, 50));
  // The stretched middle's outermost pixels are its own corner colours.
  EXPECT_EQ(result.pixel(2, 2), HalfColour(1, 1, 0, 0));
  EXPECT_EQ(result.pixel(57, 2), HalfColour(1, 1, 1, 0));
  EXPECT_EQ(result.pixel(2, 47), HalfColour(1, 1, 0, 1));
  EXPECT_EQ(result.pixel(57, 47), HalfColour(1, 1, 1, 1));
  // The top edge is stretched across but keeps its two rows, and the
  // corners are not scaled.
  EXPECT_EQ(result.pixel(10, 0), HalfColour(1, 0, 0, 0));
  EXPECT_EQ(result.pixel(49, 1), HalfColour(1, 0, 1, 1));
  EXPECT_EQ(result.pixel(0, 0), HalfColour(0, 0, 0, 0));
  EXPECT_EQ(result.pixel(59, 49), HalfColour(2, 2, 1, 1));
}

TEST(Slice9, ATargetSmallerThanItsCornersDrawsTheFarCornersOverTheNearOnes) {
  // Margins 3 on an 8 x 8 art into 5 x 4: no middle; the right column
  // (art columns 5..7) lands on x 2..4 over the left one, the bottom row
  // (art rows 5..7) on y 1..3 over the top one.
  const QImage art = CoordinateArt(8, 8);
  for (const bool stretch : {false, true}) {
    const QImage result = Slice9Image(art, {3, 3, 3, 3, stretch, stretch}, QSize(5, 4));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) {
        const int sx = x >= 2 ? 5 + (x - 2) : x;
        const int sy = y >= 1 ? 5 + (y - 1) : y;
        ASSERT_EQ(result.pixel(x, y), art.pixel(sx, sy)) << x << "," << y;
      }
  }
}

TEST(Slice9, AnEmptyPictureDrawsNothing) {
  const QColor background(12, 34, 56);
  const QImage result =
      Slice9Image(QImage(), {8, 8, 8, 8, false, false}, QSize(30, 20), background);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(result.pixel(x, y), background.rgba());
  EXPECT_TRUE(Slice9Image(CoordinateArt(4, 4), {}, QSize(0, 10)).isNull());
}

TEST(Slice9, PartsOutsideTheArtAreSkipped) {
  const QImage art = CoordinateArt(8, 8);
  const QColor background(1, 2, 3);
  // The left margin runs past the art: the left and middle columns have no
  // art of their own; only the right column (art columns 5..7) is drawn.
  QImage result = Slice9Image(art, {20, 3, 3, 3, false, false}, QSize(30, 10), background);
  EXPECT_EQ(result.pixel(26, 0), background.rgba());
  EXPECT_EQ(result.pixel(27, 0), art.pixel(5, 0));
  EXPECT_EQ(result.pixel(29, 9), art.pixel(7, 7));
  EXPECT_EQ(result.pixel(0, 0), background.rgba());
  // Extreme margins neither overflow nor read outside the art.
  result =
      Slice9Image(art, {INT_MIN, INT_MAX, INT_MAX, INT_MIN, true, true}, QSize(30, 10), background);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(result.pixel(x, y), background.rgba());
}

TEST(Slice9, TransparentArtLetsTheBackgroundShow) {
  QImage art(6, 6, QImage::Format_ARGB32);
  art.fill(qRgba(200, 0, 0, 255));
  art.setPixel(0, 0, qRgba(0, 0, 0, 0));
  const QImage result = Slice9Image(art, {2, 2, 2, 2, false, false}, QSize(20, 20), Qt::blue);
  EXPECT_EQ(result.pixel(0, 0), QColor(Qt::blue).rgba());
  EXPECT_EQ(result.pixel(1, 0), qRgba(200, 0, 0, 255));
  EXPECT_EQ(result.pixel(10, 10), qRgba(200, 0, 0, 255));
}

TEST(Slice9, DrawTakesTheSettingsOneByOne) {
  const QImage art = CoordinateArt(10, 9);
  QImage result(23, 20, QImage::Format_ARGB32_Premultiplied);
  result.fill(Qt::black);
  {
    QPainter canvas(&result);
    TSlice9 slice;
    slice.Draw(art, canvas, 23, 20, 2, 3, 1, 2, false, false);
    EXPECT_EQ(slice.Bitmap().size(), art.size());
  }
  ExpectRepeated(result, art, {2, 3, 1, 2, false, false});
}

TEST(QPanel, DrawsItsArtWithItsSettings) {
  TQPanel panel;
  EXPECT_EQ(panel.SliceSettings(), TSlice9Settings{});
  QImage art = CoordinateArt(10, 9);
  panel.SetPicture(art);
  panel.SetWLeft(2);
  panel.SetWRight(3);
  panel.SetHTop(1);
  panel.SetHBottom(2);
  // The panel keeps its own copy.
  art.fill(Qt::white);
  panel.resize(23, 20);
  const QImage shown = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(23, 20));
  ExpectRepeated(shown, CoordinateArt(10, 9), {2, 3, 1, 2, false, false});
}

TEST(QPanel, StretchFlagsReachTheDrawing) {
  TQPanel panel;
  panel.SetPicture(HalvesArt());
  panel.SetSliceSettings({2, 2, 2, 2, false, false});
  panel.SetStretchHorz(true);
  panel.SetStretchVert(true);
  EXPECT_TRUE(panel.StretchHorz());
  EXPECT_TRUE(panel.StretchVert());
  panel.resize(44, 34);
  const QImage shown = panel.grab().toImage();
  // Stretched: the middle's left quarter is still its first half.
  EXPECT_EQ(shown.pixel(10, 10), HalfColour(1, 1, 0, 0));
  EXPECT_EQ(shown.pixel(33, 25), HalfColour(1, 1, 1, 1));
}

}  // namespace
}  // namespace tw::test
