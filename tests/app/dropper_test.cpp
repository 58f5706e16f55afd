// The dropper's rules without a window: drops of one colour up to the
// most, a new colour starting over, and what a click on a mix well does
// (take, squeeze and mix, or nothing) in every state.
#include <gtest/gtest.h>

#include "app/DropperU.h"
#include "painter/QPixelsMemU.h"

namespace tw {
namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Yellow = 0x00FFFF;

TEST(Dropper, StartsEmpty) {
  TDropper Dropper;
  EXPECT_TRUE(Dropper.Empty());
  EXPECT_EQ(Dropper.Count(), 0);
  EXPECT_EQ(Dropper.Color(), clNone);
}

TEST(Dropper, TakesDropsOfOneColourUpToTheMost) {
  TDropper Dropper;
  for (int Drops = 1; Drops <= TDropper::MaxDrops; ++Drops) {
    EXPECT_TRUE(Dropper.Take(Red));
    EXPECT_EQ(Dropper.Count(), Drops);
    EXPECT_EQ(Dropper.Color(), Red);
  }
  EXPECT_FALSE(Dropper.Take(Red)) << "full";
  EXPECT_EQ(Dropper.Count(), TDropper::MaxDrops);
}

TEST(Dropper, AnotherColourStartsOverWithOneDrop) {
  TDropper Dropper;
  Dropper.Take(Red);
  Dropper.Take(Red);
  Dropper.Take(Red);
  EXPECT_TRUE(Dropper.Take(Blue));
  EXPECT_EQ(Dropper.Count(), 1);
  EXPECT_EQ(Dropper.Color(), Blue);
  // Also when full.
  for (int i = 0; i < 10; ++i) Dropper.Take(Blue);
  EXPECT_TRUE(Dropper.Take(Yellow));
  EXPECT_EQ(Dropper.Count(), 1);
  EXPECT_EQ(Dropper.Color(), Yellow);
}

TEST(Dropper, SetKeepsTheCountInRange) {
  TDropper Dropper;
  Dropper.Set(9, Red);
  EXPECT_EQ(Dropper.Count(), TDropper::MaxDrops);
  Dropper.Set(-2, Red);
  EXPECT_TRUE(Dropper.Empty());
  EXPECT_EQ(Dropper.Color(), clNone);
  Dropper.Set(2, Blue);
  EXPECT_EQ(Dropper.Count(), 2);
  EXPECT_EQ(Dropper.Color(), Blue);
}

TEST(Dropper, AnEmptyDropperTakesFromAWellWithPaintAndIgnoresAnEmptyWell) {
  TDropper Dropper;
  EXPECT_EQ(Dropper.WellClick(Red), TDropper::TWellClick::Take);
  EXPECT_EQ(Dropper.WellClick(clNone), TDropper::TWellClick::Nothing);
}

TEST(Dropper, ADropperWithPaintTakesMoreOfTheSamePaintAndSqueezesIntoAnyOther) {
  TDropper Dropper;
  Dropper.Take(Red);
  EXPECT_EQ(Dropper.WellClick(Red), TDropper::TWellClick::Take);
  EXPECT_EQ(Dropper.WellClick(Blue), TDropper::TWellClick::Squeeze);
  EXPECT_EQ(Dropper.WellClick(clNone), TDropper::TWellClick::Squeeze);
  // Full of red, a red well is still a take (which then adds nothing).
  for (int i = 0; i < TDropper::MaxDrops; ++i) Dropper.Take(Red);
  EXPECT_EQ(Dropper.WellClick(Red), TDropper::TWellClick::Take);
  EXPECT_FALSE(Dropper.Take(Red));
}

TEST(Dropper, SqueezingIntoAnEmptyWellGivesItTheDroppersColour) {
  TDropper Dropper;
  Dropper.Take(Blue);
  Dropper.Take(Blue);
  EXPECT_EQ(Dropper.Squeeze(clNone), Blue);
  EXPECT_TRUE(Dropper.Empty());
  EXPECT_EQ(Dropper.Color(), clNone);
}

TEST(Dropper, SqueezingMixesBySixthsPerDrop) {
  for (int Drops = 1; Drops <= TDropper::MaxDrops; ++Drops) {
    TDropper Dropper;
    for (int i = 0; i < Drops; ++i) Dropper.Take(Blue);
    EXPECT_EQ(Dropper.Squeeze(Yellow), MixColors(Yellow, Blue, Drops / 6.0)) << Drops;
    EXPECT_TRUE(Dropper.Empty());
    // The dropper takes afresh afterwards.
    EXPECT_EQ(Dropper.WellClick(Red), TDropper::TWellClick::Take);
  }
  // More drops move the well further toward the dropper's paint.
  TDropper One;
  One.Take(Blue);
  TDropper Five;
  Five.Set(TDropper::MaxDrops, Blue);
  EXPECT_NE(One.Squeeze(Yellow), Five.Squeeze(Yellow));
}

}  // namespace
}  // namespace tw
