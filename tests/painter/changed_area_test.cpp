// The changed area the painter reports: a copy of both layers kept up to
// date by copying only that rectangle after each piece of random work stays
// identical to the layers, and a call with nothing done reports nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "painter/PainterU.h"
#include "support/AsciiArt.h"

namespace tw::test {
namespace {

void CopyRect(const TPainterModel& p, const TRect& r, TRaster24& color, TRaster1& outline) {
  for (int y = r.Top; y < r.Bottom; ++y) {
    std::memcpy(color.Row(y) + 3 * r.Left, p.ColorLayer().Row(y) + 3 * r.Left, 3 * r.Width());
    std::memcpy(outline.Row(y) + r.Left, p.OutlineLayer().Row(y) + r.Left, r.Width());
  }
}

TEST(ChangedArea, NothingDoneReportsNothing) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#.."});
  EXPECT_EQ(p.TakeChangedArea(), (TRect{0, 0, 5, 2}));
  EXPECT_TRUE(p.TakeChangedArea().IsEmpty());
  // A press of the dropper changes no pixel.
  p.SetPaintMode(pmDropper);
  p.ApplyToolAt({0, 0});
  EXPECT_TRUE(p.TakeChangedArea().IsEmpty());
}

TEST(ChangedArea, AFillReportsTheRegionItPainted) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#..", "#####"});
  p.TakeChangedArea();
  p.SetPaintMode(pmFill);
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({4, 0});
  EXPECT_EQ(p.TakeChangedArea(), (TRect{3, 0, 5, 2}));
}

TEST(ChangedArea, ACopyFollowingItMatchesTheLayersAfterRandomWork) {
  std::mt19937 rng(77);
  const int W = 41, H = 33;
  TRaster24 pic(W, H, clWhite);
  for (int i = 0; i < 6; ++i) {
    const int y = int(rng() % H), x = int(rng() % W);
    for (int t = 0; t < W; ++t) pic.SetPixel(t, y, clBlack);
    for (int t = 0; t < H; ++t) pic.SetPixel(x, t, clBlack);
  }
  TPainterModel p;
  p.MaxHistory = 5;
  p.LoadPicture(pic);
  p.TakeChangedArea();
  TRaster24 color(p.ColorLayer());
  TRaster1 outline(p.OutlineLayer());
  for (int action = 0; action < 300; ++action) {
    p.SetMixMode(TPaintMixMode(rng() % 3));
    p.SetPaintColor(TColor(rng() & 0xFFFFFF));
    p.SetBrushSize(1 + int(rng() % 9));
    const int kind = int(rng() % 10);
    if (kind == 7) {
      p.Wash();
    } else if (kind == 8) {
      p.Undo();
    } else if (kind == 9) {
      // A stored colouring laid over the picture.
      TRaster24 layer(W - int(rng() % 5), H - int(rng() % 5), TColor(rng() & 0xFFFFFF));
      p.AssignLayer(layer, false);
    } else {
      const TPaintMode modes[] = {pmFill, pmBrush, pmMBrush, pmMarker, pmEraser, pmFill, pmTap};
      p.SetPaintMode(modes[kind]);
      p.ApplyToolAt({int(rng() % W), int(rng() % H)});
      for (int i = 0; i < 4 && p.Stroking(); ++i)
        p.StrokeTo({int(rng() % (W + 10)) - 5, int(rng() % (H + 10)) - 5});
      p.EndStroke();
    }
    // Now and then the copy waits and catches up on several actions at once.
    if (rng() % 3 == 0) continue;
    CopyRect(p, p.TakeChangedArea(), color, outline);
    ASSERT_TRUE(SamePixels(color, p.ColorLayer())) << "after action " << action;
    ASSERT_TRUE(SamePixels(outline, p.OutlineLayer())) << "after action " << action;
  }
}

}  // namespace
}  // namespace tw::test
