// The slider: thumb position and pointer value against an exact rational
// reference, dragging and releasing with their events, the drawing of track
// and thumb, and the ranges without travel.
#include <gtest/gtest.h>

#include <QTest>
#include <cstdint>
#include <limits>

#include "controls/QSliderU.h"
#include "tests/controls/ControlTestSupport.h"

namespace tw::test {
namespace {

// p / q rounded to the nearest integer, halves to even, in exact integers.
int64_t NearestRatio(int64_t p, int64_t q) {
  if (q < 0) {
    p = -p;
    q = -q;
  }
  int64_t quotient = p / q;
  int64_t rest = p % q;
  if (rest < 0) {
    --quotient;
    rest += q;
  }
  if (2 * rest > q || (2 * rest == q && quotient % 2 != 0)) ++quotient;
  return quotient;
}

struct TEventCount {
  int Changing = 0;
  int Change = 0;
};

// The brush-size slider of the main window: 126 x 18, range 0..8, a thumb
// 14 pixels wide.
void MakeBrushSlider(TQSlider& slider, TEventCount& events) {
  slider.resize(126, 18);
  slider.SetPicThumb(Solid(14, 10, RGB(0, 0, 200)));
  slider.SetMinValue(0);
  slider.SetMaxValue(8);
  slider.OnChanging = [&events, &slider](TQHintControl& sender) {
    EXPECT_EQ(&sender, &slider);
    ++events.Changing;
  };
  slider.OnChange = [&events, &slider](TQHintControl& sender) {
    EXPECT_EQ(&sender, &slider);
    ++events.Change;
  };
}

TEST(Slider, TheWorkedBrushSizeExample) {
  TQSlider slider;
  TEventCount events;
  MakeBrushSlider(slider, events);
  slider.SetValue(4);
  EXPECT_EQ(slider.ThumbLeft(), 56);
  EXPECT_EQ(slider.ThumbRect(), QRect(56, 4, 14, 10));
  // nearest(70 * 8 / 112) = 5.
  EXPECT_EQ(slider.ValueAt(70), 5);
  // A click on the track, away from the thumb.
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(70, 9));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(70, 9));
  EXPECT_EQ(slider.Value(), 5);
  EXPECT_EQ(events.Change, 1);
  EXPECT_EQ(events.Changing, 0);
}

TEST(Slider, PositionsAndValuesFollowTheRoundedRatio) {
  struct TCase {
    int W, Thumb, Min, Max;
  };
  for (const TCase c : {TCase{126, 14, 0, 8}, TCase{126, 14, 0, 100}, TCase{97, 11, -7, 13},
                        TCase{40, 39, 0, 3}}) {
    TQSlider slider;
    slider.resize(c.W, 18);
    slider.SetPicThumb(Solid(c.Thumb, 10, clBlack));
    slider.SetMinValue(c.Min);
    slider.SetMaxValue(c.Max);
    const int64_t travel = c.W - c.Thumb;
    for (int v = c.Min; v <= c.Max; ++v) {
      slider.SetValue(v);
      ASSERT_EQ(slider.ThumbLeft(), NearestRatio(travel * (v - c.Min), c.Max - c.Min))
          << c.W << " " << c.Min << ".." << c.Max << " value " << v;
    }
    for (int x = -30; x < c.W + 30; ++x)
      ASSERT_EQ(slider.ValueAt(x),
                NearestRatio(int64_t(x) * (c.Max - c.Min) + int64_t(c.Min) * travel, travel))
          << c.W << " " << c.Min << ".." << c.Max << " x " << x;
  }
}

TEST(Slider, SettingTheValueClampsAndFiresNothing) {
  TQSlider slider;
  TEventCount events;
  MakeBrushSlider(slider, events);
  slider.SetValue(12);
  EXPECT_EQ(slider.Value(), 8);
  slider.SetValue(-3);
  EXPECT_EQ(slider.Value(), 0);
  slider.SetValue(6);
  EXPECT_EQ(slider.Value(), 6);
  // Changing the range does not re-clamp.
  slider.SetMaxValue(4);
  EXPECT_EQ(slider.Value(), 6);
  EXPECT_EQ(events.Change + events.Changing, 0);
}

TEST(Slider, DraggingTheThumbClampsAndReportsEveryMove) {
  TQSlider slider;
  TEventCount events;
  MakeBrushSlider(slider, events);
  slider.SetValue(2);
  const QPoint grab = slider.ThumbRect().center();
  QTest::mousePress(&slider, Qt::LeftButton, {}, grab);
  EXPECT_TRUE(slider.Dragging());
  // The value comes from the pointer itself, not where the thumb was held:
  // nearest(42 * 8 / 112) = 3.
  QTest::mouseMove(&slider, QPoint(42, 9));
  EXPECT_EQ(slider.Value(), 3);
  QTest::mouseMove(&slider, QPoint(500, 9));
  EXPECT_EQ(slider.Value(), 8);
  QTest::mouseMove(&slider, QPoint(-200, 9));
  EXPECT_EQ(slider.Value(), 0);
  EXPECT_EQ(events.Changing, 3);
  EXPECT_EQ(events.Change, 0);
  // nearest(100 * 8 / 112) = nearest(7.14) = 7.
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(100, 9));
  EXPECT_FALSE(slider.Dragging());
  EXPECT_EQ(slider.Value(), 7);
  EXPECT_EQ(events.Change, 1);
  EXPECT_EQ(events.Changing, 3);
}

TEST(Slider, APressBesideTheThumbDragsNothing) {
  TQSlider slider;
  TEventCount events;
  MakeBrushSlider(slider, events);
  slider.SetValue(4);  // thumb at 56..69, 4..13
  // Just outside the thumb's right edge, and just above its top.
  for (const QPoint p : {QPoint(70, 9), QPoint(60, 3)}) {
    QTest::mousePress(&slider, Qt::LeftButton, {}, p);
    EXPECT_FALSE(slider.Dragging());
    QTest::mouseMove(&slider, QPoint(10, 9));
    EXPECT_EQ(slider.Value(), 4);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(56, 9));
    EXPECT_EQ(slider.Value(), 4);  // nearest(56 * 8 / 112) = 4
  }
  EXPECT_EQ(events.Changing, 0);
  EXPECT_EQ(events.Change, 2);
  // The thumb's own top left pixel does start a drag.
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(56, 4));
  EXPECT_TRUE(slider.Dragging());
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(56, 4));
}

TEST(Slider, TrackCentredAndThumbAtItsRectangle) {
  const TColor track = RGB(0, 160, 0);
  const TColor thumb = RGB(0, 0, 200);
  TPlainWindow window;
  TQSlider slider(&window);
  slider.setGeometry(0, 0, 126, 18);
  slider.SetPicBackground(Solid(100, 6, track));
  slider.SetPicThumb(Solid(14, 10, thumb));
  slider.SetMaxValue(8);
  slider.SetValue(8);  // thumb at 112
  const QImage image = window.grab().toImage();
  // The track at ((126 - 100) / 2, (18 - 6) / 2) = (13, 6).
  EXPECT_EQ(InkBounds(image, clWhite, QRect(0, 0, 100, 18)), QRect(13, 6, 87, 6));
  EXPECT_EQ(PixelAt(image, 13, 6), track);
  EXPECT_EQ(PixelAt(image, 100, 11), track);
  EXPECT_EQ(PixelAt(image, 13, 5), clWhite);
  // The thumb at (112, 4), 14 x 10, over the track.
  EXPECT_EQ(InkBounds(image, clWhite, QRect(101, 0, 25, 18)) | QRect(112, 4, 14, 10),
            QRect(101, 4, 25, 10));
  EXPECT_EQ(PixelAt(image, 112, 4), thumb);
  EXPECT_EQ(PixelAt(image, 125, 13), thumb);
  EXPECT_EQ(PixelAt(image, 112, 14), clWhite);
}

TEST(Slider, RangesWithoutTravelAreSafe) {
  TQSlider slider;
  slider.resize(126, 18);
  slider.SetPicThumb(Solid(14, 10, clBlack));
  TEventCount events;
  slider.OnChange = [&](TQHintControl&) { ++events.Change; };

  // An empty range: the thumb rests at the left, every position means the
  // one value.
  slider.SetMinValue(5);
  slider.SetMaxValue(5);
  slider.SetValue(9);
  EXPECT_EQ(slider.Value(), 5);
  EXPECT_EQ(slider.ThumbLeft(), 0);
  EXPECT_EQ(slider.ValueAt(90), 5);
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(3, 9));
  QTest::mouseMove(&slider, QPoint(80, 9));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(80, 9));
  EXPECT_EQ(slider.Value(), 5);
  EXPECT_EQ(events.Change, 1);

  // An inverted range behaves the same way.
  slider.SetMinValue(10);
  slider.SetMaxValue(2);
  EXPECT_EQ(slider.ThumbLeft(), 0);
  EXPECT_EQ(slider.ValueAt(90), 10);

  // A thumb as wide as the control, or wider.
  slider.SetMinValue(0);
  slider.SetMaxValue(8);
  for (int thumbWidth : {126, 140}) {
    slider.SetPicThumb(Solid(thumbWidth, 10, clBlack));
    slider.SetValue(6);
    EXPECT_EQ(slider.ThumbLeft(), 0);
    EXPECT_EQ(slider.ValueAt(60), 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(100, 9));
    EXPECT_EQ(slider.Value(), 0);
  }
}

TEST(Slider, TheWidestRangeDoesNotOverflow) {
  TQSlider slider;
  slider.resize(126, 18);
  slider.SetPicThumb(Solid(14, 10, clBlack));
  slider.SetMinValue(std::numeric_limits<int32_t>::min());
  slider.SetMaxValue(std::numeric_limits<int32_t>::max());
  slider.SetValue(std::numeric_limits<int32_t>::max());
  EXPECT_EQ(slider.ThumbLeft(), 112);
  slider.SetValue(std::numeric_limits<int32_t>::min());
  EXPECT_EQ(slider.ThumbLeft(), 0);
  EXPECT_EQ(slider.ValueAt(100000), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(slider.ValueAt(-100000), std::numeric_limits<int32_t>::min());
}

}  // namespace
}  // namespace tw::test
