// The paint model's properties, events, picture loading, the dropper's
// colour search, and its files.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "base/ErrorsU.h"
#include "painter/PainterU.h"
#include "support/AsciiArt.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

TEST(Painter, DefaultsAfterConstruction) {
  TPainterModel p;
  EXPECT_EQ(p.MaxHistory, 10);
  EXPECT_EQ(p.BrushSize(), 12);
  EXPECT_EQ(p.HalfSize(), 6);
  EXPECT_EQ(p.RestSize(), 6);
  EXPECT_EQ(p.PaintColor(), 0u);
  EXPECT_EQ(p.PaintMode(), pmFill);
  EXPECT_EQ(p.MixMode(), mmOver);
  EXPECT_EQ(p.Scale(), 1.0);
  EXPECT_EQ(p.UnscaledWidth(), 0);
  EXPECT_FALSE(p.CanUndo());
}

TEST(Painter, PaintColorNeverStoresBlackAndAlwaysFiresItsEvent) {
  TPainterModel p;
  std::vector<TColor> seen;
  p.OnSetPaintColor = [&](TPainterModel&, TColor c) { seen.push_back(c); };
  p.SetPaintColor(0x000000);
  EXPECT_EQ(p.PaintColor(), 1u);
  p.SetPaintColor(0x123456);
  p.SetPaintColor(0x123456);
  EXPECT_EQ(seen, (std::vector<TColor>{1, 0x123456, 0x123456}));
}

TEST(Painter, BrushSizeBelowOneIsOne) {
  TPainterModel p;
  p.SetBrushSize(0);
  EXPECT_EQ(p.BrushSize(), 1);
  p.SetBrushSize(-5);
  EXPECT_EQ(p.BrushSize(), 1);
  p.SetBrushSize(1 << 30);
  EXPECT_EQ(p.BrushSize(), TPainterModel::MaxBrushSize);
  p.SetBrushSize(7);
  EXPECT_EQ(p.HalfSize(), 3);
  EXPECT_EQ(p.RestSize(), 4);
  EXPECT_EQ(p.DabRect({10, 20}, 0), (TRect{7, 17, 14, 24}));
}

TEST(Painter, PaintModeHandlerMayChangeTheMode) {
  TPainterModel p;
  int calls = 0;
  p.OnSetPaintMode = [&](TPainterModel&, TPaintMode& mode) {
    ++calls;
    if (mode == pmTap) mode = pmBrush;
  };
  p.SetPaintMode(pmTap);
  EXPECT_EQ(p.PaintMode(), pmBrush);
  p.SetPaintMode(pmBrush);
  EXPECT_EQ(calls, 2);
}

TEST(Painter, ScaleSetsSizesWithHalvesToEven) {
  TPainterModel p;
  LoadArt(p, {".....", ".....", "....."});  // 5 x 3
  p.SetScale(0.5);
  EXPECT_EQ(p.ScaledWidth(), 2);  // 2.5 -> 2
  EXPECT_EQ(p.ScaledHeight(), 2);  // 1.5 -> 2
  EXPECT_DOUBLE_EQ(p.InverseScale(), 2.0);
  p.SetScale(2.0);
  EXPECT_EQ(p.ScaledWidth(), 10);
  p.SetScale(0.0);  // would divide by zero: ignored in favour of 1
  EXPECT_EQ(p.Scale(), 1.0);
  p.SetScale(std::nan(""));
  EXPECT_EQ(p.Scale(), 1.0);
}

TEST(Painter, LoadingTurnsEveryNonWhitePixelIntoLineArt) {
  TPainterModel p;
  LoadArt(p, {".ro.", "gb.y"});
  EXPECT_EQ(ToArt(p.OutlineLayer()), (TArt{".##.", "##.#"}));
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{".##.", "##.#"}));
  EXPECT_EQ(ToArt(p.CleanPicture()), (TArt{".ro.", "gb.y"}));
}

TEST(Painter, ColorAtTakesTheFirstNonBlackAround) {
  TPainterModel p;
  LoadArt(p, {
                 "......",
                 "######",
                 "......",
                 ".###..",
                 ".###..",
                 ".###..",
             });
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});  // red above the line
  // On the line: below comes first in the search, and is white.
  EXPECT_EQ(p.ColorAt({2, 1}), 0xFFFFFFu);
  p.SetPaintColor(0x00FF00);
  p.ApplyToolAt({0, 2});
  EXPECT_EQ(p.ColorAt({2, 1}), 0x00FF00u);
  // In the middle of the block everything around is black.
  EXPECT_EQ(p.ColorAt({2, 4}), 0u);
  // At the edge, points outside the picture are skipped.
  EXPECT_EQ(p.ColorAt({0, 0}), 0x0000FFu);
  EXPECT_EQ(p.ColorAt({-1, 0}), 0x0000FFu);
  EXPECT_EQ(p.ColorAt({-2, 0}), 0u);
}

TEST(Painter, ToolsReportTheirClicks) {
  TPainterModel p;
  LoadArt(p, {"....", "...."});
  std::vector<TPoint> clicks;
  p.OnClickAt = [&](TPainterModel&, TPoint pt) { clicks.push_back(pt); };
  for (TPaintMode m : {pmBrush, pmMarker, pmEraser, pmDropper, pmTap}) {
    p.SetPaintMode(m);
    p.ApplyToolAt({1, 1});
    p.EndStroke();
  }
  EXPECT_EQ(clicks.size(), 5u);
  // Dropper and tap change nothing and push no history.
  const int steps = p.HistorySteps();
  p.SetPaintMode(pmDropper);
  p.ApplyToolAt({0, 0});
  EXPECT_EQ(p.HistorySteps(), steps);
}

TEST(Painter, NoPictureMeansNoAction) {
  TPainterModel p;
  int clicks = 0;
  p.OnClickAt = [&](TPainterModel&, TPoint) { ++clicks; };
  for (TPaintMode m : {pmFill, pmBrush, pmMBrush, pmDropper, pmTap}) {
    p.SetPaintMode(m);
    p.ApplyToolAt({0, 0});
    p.StrokeTo({3, 3});
  }
  p.Wash();
  p.Undo();
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(p.CanUndo());
  EXPECT_EQ(p.ColorAt({0, 0}), 0u);
}

// A point at the ends of the integer range is far outside every picture,
// even for the largest brush: it changes nothing and every tool handles it
// (the sanitizer run checks the arithmetic on the way). A stroke from
// inside towards such a point paints from the inside out to the edge.
TEST(Painter, PointsAtTheIntegerLimitsChangeNothingOutside) {
  const int far[] = {INT_MIN, INT_MIN + 1, -PointLimit - 1, PointLimit + 1, INT_MAX - 1, INT_MAX};
  for (TPaintMode m : {pmFill, pmBrush, pmMBrush, pmDropper, pmMarker, pmEraser, pmTap}) {
    TPainterModel p;
    LoadArt(p, {"...", "..."});
    p.SetPaintMode(m);
    p.SetPaintColor(0x0000FF);
    p.SetBrushSize(TPainterModel::MaxBrushSize);
    for (int x : far)
      for (int y : far) {
        p.ApplyToolAt({x, y});
        p.StrokeTo({x, y});
        p.EndStroke();
        EXPECT_EQ(p.ColorAt({x, y}), 0u);
        EXPECT_TRUE(p.DabRect({x, y}, INT_MAX).Left <= p.DabRect({x, y}, INT_MAX).Right);
      }
    EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"...", "..."})) << m;
  }
  TPainterModel p;
  LoadArt(p, {"...", "..."});
  p.SetBrushSize(1);
  p.SetPaintMode(pmBrush);
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});
  p.StrokeTo({INT_MAX, 0});
  p.EndStroke();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rrr", "..."}));
}

class PainterFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("tintwell-painter-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Dir;
};

TEST_F(PainterFiles, KeptColouringRoundTripsThroughGifFiles) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#..", "....."});
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});
  p.SetBrushSize(1);
  p.SetPaintMode(pmMarker);
  p.ApplyToolAt({4, 0});
  p.EndStroke();
  const std::string colour = (Dir / "kept" / "pic.gif").string();
  const std::string mask = (Dir / "kept" / "pic.Mask.gif").string();
  p.SaveToFile(colour, false);
  p.SaveToFile(mask, true);

  TPainterModel q;
  LoadArt(q, {"..#..", "..#..", "....."});
  q.LoadLayerFromFile(mask, true);
  q.LoadLayerFromFile(colour, false);
  EXPECT_TRUE(SamePixels(q.ColorLayer(), p.ColorLayer()));
  EXPECT_TRUE(SamePixels(q.OutlineLayer(), p.OutlineLayer()));
}

TEST_F(PainterFiles, ExtensionsDecideTheFormat) {
  TPainterModel p;
  LoadArt(p, {"r.", ".b"});
  p.SaveToFile((Dir / "a.png").string(), false);
  EXPECT_FALSE(fs::exists(Dir / "a.png"));
  p.SaveToFile((Dir / "b.JPG").string(), false);
  p.SaveToFile((Dir / "c.Bmp").string(), false);
  p.SaveToFile((Dir / "d.jpeg").string(), true);
  for (const char* name : {"b.JPG", "c.Bmp", "d.jpeg"}) {
    ASSERT_TRUE(fs::exists(Dir / name)) << name;
    TPainterModel q;
    q.LoadLayerFromFile((Dir / name).string(), true);
    EXPECT_EQ(q.UnscaledWidth(), 2) << name;
    EXPECT_EQ(q.UnscaledHeight(), 2) << name;
  }
}

TEST_F(PainterFiles, FailedLoadLeavesThePainterAsItWas) {
  TPainterModel p;
  LoadArt(p, {"..#..", "....."});
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});
  const TRaster24 before = p.ColorLayer();
  fs::create_directories(Dir);
  {
    std::ofstream(Dir / "empty.gif");
    std::ofstream junk(Dir / "junk.gif", std::ios::binary);
    junk << "GIF89a\x05\x00\x02\x00";  // ends inside the header
  }
  for (const char* name : {"missing.gif", "empty.gif", "junk.gif"}) {
    EXPECT_THROW(p.LoadLayerFromFile((Dir / name).string(), true), EError) << name;
    EXPECT_THROW(p.LoadLayerFromFile((Dir / name).string(), false), EError) << name;
    EXPECT_TRUE(SamePixels(p.ColorLayer(), before)) << name;
    EXPECT_EQ(p.UnscaledWidth(), 5);
  }
}

TEST_F(PainterFiles, SavingWhereNoFolderCanBeMadeFailsCleanly) {
  TPainterModel p;
  LoadArt(p, {"r."});
  fs::create_directories(Dir);
  std::ofstream(Dir / "plainfile") << "x";
  const fs::path target = Dir / "plainfile" / "sub" / "pic.gif";
  EXPECT_THROW(p.SaveToFile(target.string(), false), EError);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tw::test
