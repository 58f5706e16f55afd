// The undo history: depth, what one step holds, and byte-identical undo
// after random work.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "painter/PainterU.h"
#include "support/AsciiArt.h"

namespace tw::test {
namespace {

void Dot(TPainterModel& p, TPoint at, TColor c) {
  p.SetPaintColor(c);
  p.SetPaintMode(pmBrush);
  p.ApplyToolAt(at);
  p.EndStroke();
}

TEST(History, NoStepsWhenTheDepthIsZero) {
  TPainterModel p;
  p.MaxHistory = 0;
  LoadArt(p, {"...."});
  p.SetBrushSize(1);
  Dot(p, {0, 0}, 0x0000FF);
  p.SetPaintMode(pmFill);
  p.ApplyToolAt({3, 0});
  p.Wash();
  EXPECT_FALSE(p.CanUndo());
  p.Undo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"...."}));
}

TEST(History, KeepsTheNewestStepsUpToTheDepth) {
  TPainterModel p;
  LoadArt(p, {"............"});
  p.SetBrushSize(1);
  for (int i = 0; i < 12; ++i) Dot(p, {i, 0}, 0x0000FF);
  EXPECT_EQ(p.HistorySteps(), 10);
  for (int i = 0; i < 10; ++i) p.Undo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rr.........."}));
  EXPECT_FALSE(p.CanUndo());
  p.Undo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rr.........."}));
}

TEST(History, UndoOfAMarkerStrokeRestoresBothLayers) {
  TPainterModel p;
  LoadArt(p, {".....", "....."});
  p.SetBrushSize(1);
  p.SetPaintMode(pmMarker);
  p.ApplyToolAt({2, 0});
  p.StrokeTo({2, 1});
  p.EndStroke();
  EXPECT_EQ(ToArt(p.OutlineLayer()), (TArt{"..#..", "..#.."}));
  p.Undo();
  EXPECT_EQ(ToArt(p.OutlineLayer()), (TArt{".....", "....."}));
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{".....", "....."}));
  // And the line no longer stops a fill.
  p.SetPaintMode(pmFill);
  p.SetPaintColor(0x00FF00);
  p.ApplyToolAt({0, 0});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"ggggg", "ggggg"}));
}

TEST(History, WashThenUndoBringsTheColouringBack) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#.."});
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});
  p.Wash();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"..#..", "..#.."}));
  p.Undo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rr#..", "rr#.."}));
}

TEST(History, ClearHistoryForgetsEverything) {
  TPainterModel p;
  LoadArt(p, {"..."});
  Dot(p, {0, 0}, 0x0000FF);
  ASSERT_TRUE(p.CanUndo());
  p.ClearHistory();
  EXPECT_FALSE(p.CanUndo());
}

// Undo keeps the replaced layers for the next push; two pushes after an undo
// used to copy into a step that had a size but no pixels.
TEST(History, TwoActionsAfterAnUndoKeepEveryStep) {
  for (const TPaintMode mode : {pmFill, pmBrush, pmMBrush, pmMarker, pmEraser}) {
    TPainterModel p;
    LoadArt(p, {"..#..", "..#.."});
    p.SetBrushSize(1);
    p.SetPaintMode(mode);
    p.SetPaintColor(0x0000FF);
    auto act = [&] {
      p.ApplyToolAt({0, 0});
      p.EndStroke();
    };
    act();
    p.Undo();
    act();
    act();
    p.Wash();
    EXPECT_EQ(p.HistorySteps(), 3) << mode;
    p.Undo();
    p.Undo();
    p.Undo();
    EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"..#..", "..#.."})) << mode;
    EXPECT_EQ(ToArt(p.OutlineLayer()), (TArt{"..#..", "..#.."})) << mode;
  }
}

// Redo takes back undos in turn, a new action forgets them, and the redo
// side keeps no more steps than the history.
TEST(History, RedoTakesBackUndosUntilANewAction) {
  TPainterModel p;
  p.MaxHistory = 2;
  LoadArt(p, {"...."});
  p.SetBrushSize(1);
  for (int i = 0; i < 3; ++i) Dot(p, {i, 0}, 0x0000FF);
  p.Undo();
  p.Undo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"r..."}));
  EXPECT_EQ(p.RedoSteps(), 2);
  p.Redo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rr.."}));
  EXPECT_EQ(p.HistorySteps(), 1);
  p.Redo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rrr."}));
  EXPECT_FALSE(p.CanRedo());
  p.Redo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rrr."}));
  p.Undo();
  Dot(p, {3, 0}, 0x00FF00);
  EXPECT_FALSE(p.CanRedo());
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rr.g"}));
  p.Undo();
  p.Undo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"r..."}));
  EXPECT_FALSE(p.CanUndo());
  p.LoadPicture(FromArt({"...."}));
  EXPECT_FALSE(p.CanRedo()) << "a picture load is a new action";
}

TEST(History, UndoRestoresIdenticalLayersAfterRandomWork) {
  std::mt19937 rng(2024);
  const int W = 37, H = 29;
  TRaster24 pic(W, H, clWhite);
  for (int i = 0; i < 5; ++i) {
    const int y = int(rng() % H);
    for (int x = 0; x < W; ++x) pic.SetPixel(x, y, clBlack);
  }
  TPainterModel p;
  p.MaxHistory = 1000;
  p.LoadPicture(pic);
  std::vector<std::pair<TRaster24, TRaster1>> saved;
  for (int action = 0; action < 150; ++action) {
    saved.emplace_back(p.ColorLayer(), p.OutlineLayer());
    const int before = p.HistorySteps();
    p.SetMixMode(TPaintMixMode(rng() % 3));
    p.SetPaintColor(TColor(rng() & 0xFFFFFF));
    p.SetBrushSize(1 + int(rng() % 9));
    const int kind = int(rng() % 8);
    if (kind == 7) {
      p.Wash();
    } else {
      const TPaintMode modes[] = {pmFill, pmBrush, pmMBrush, pmMarker, pmEraser, pmFill, pmBrush};
      p.SetPaintMode(modes[kind]);
      p.ApplyToolAt({int(rng() % W), int(rng() % H)});
      for (int i = 0; i < 4 && p.Stroking(); ++i)
        p.StrokeTo({int(rng() % (W + 10)) - 5, int(rng() % (H + 10)) - 5});
      p.EndStroke();
    }
    if (p.HistorySteps() == before) saved.pop_back();  // nothing was pushed
  }
  ASSERT_EQ(size_t(p.HistorySteps()), saved.size());
  while (!saved.empty()) {
    p.Undo();
    ASSERT_TRUE(SamePixels(p.ColorLayer(), saved.back().first)) << saved.size();
    ASSERT_TRUE(SamePixels(p.OutlineLayer(), saved.back().second)) << saved.size();
    saved.pop_back();
  }
  EXPECT_FALSE(p.CanUndo());
}

// Pictures wider than a tile, whose width is not a whole number of tiles:
// long flat rows, tiles cut by the right and the bottom edge. Every undo and
// every redo gives back the layers byte for byte.
TEST(History, UndoAndRedoAreExactOnPicturesOfAnyWidth) {
  for (const TPoint size : {TPoint{150, 47}, TPoint{64, 20}, TPoint{200, 9}, TPoint{129, 66}}) {
    const int W = size.x, H = size.y;
    std::mt19937 rng(uint32_t(W * H));
    TRaster24 pic(W, H, clWhite);
    for (int i = 0; i < 3; ++i) {
      const int x = int(rng() % W), y = int(rng() % H);
      for (int k = 0; k < std::max(W, H); ++k) {
        pic.SetPixel(x, k % H, clBlack);
        pic.SetPixel(k % W, y, clBlack);
      }
    }
    TPainterModel p;
    p.MaxHistory = 1000;
    p.LoadPicture(pic);
    std::vector<std::pair<TRaster24, TRaster1>> states{{p.ColorLayer(), p.OutlineLayer()}};
    for (int action = 0; action < 40; ++action) {
      const int before = p.HistorySteps();
      p.SetPaintColor(action % 3 == 0 ? TColor(rng() & 0xFFFFFF) : TColor(0x3080F0 + action % 2));
      p.SetBrushSize(1 + int(rng() % 20));
      const TPaintMode modes[] = {pmFill, pmFill, pmFill, pmBrush, pmMarker, pmEraser};
      p.SetPaintMode(modes[rng() % std::size(modes)]);
      p.ApplyToolAt({int(rng() % W), int(rng() % H)});
      for (int i = 0; i < 3 && p.Stroking(); ++i) p.StrokeTo({W - 1 - int(rng() % 8), H - 1});
      p.EndStroke();
      if (p.HistorySteps() != before) states.emplace_back(p.ColorLayer(), p.OutlineLayer());
    }
    ASSERT_EQ(size_t(p.HistorySteps()) + 1, states.size());
    for (size_t i = states.size() - 1; i-- > 0;) {
      p.Undo();
      ASSERT_TRUE(SamePixels(p.ColorLayer(), states[i].first)) << W << "x" << H << ", undo " << i;
      ASSERT_TRUE(SamePixels(p.OutlineLayer(), states[i].second)) << W << "x" << H;
    }
    for (size_t i = 1; i < states.size(); ++i) {
      p.Redo();
      ASSERT_TRUE(SamePixels(p.ColorLayer(), states[i].first)) << W << "x" << H << ", redo " << i;
      ASSERT_TRUE(SamePixels(p.OutlineLayer(), states[i].second)) << W << "x" << H;
    }
  }
}

}  // namespace
}  // namespace tw::test
