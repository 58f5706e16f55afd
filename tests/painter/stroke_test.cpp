// Brush, masked brush, marker and eraser strokes: dab shapes, segment
// coverage against an independent distance test, the repaint rectangle, and
// strokes that leave the picture.
#include <gtest/gtest.h>

#include <random>

#include "painter/PainterU.h"
#include "painter/StrokeU.h"
#include "support/AsciiArt.h"

namespace tw::test {
namespace {

TArt Blank(int w, int h) { return TArt(size_t(h), std::string(size_t(w), '.')); }

TArt Dab(int size, TPoint at, int w, int h) {
  TPainterModel p;
  LoadArt(p, Blank(w, h));
  p.SetPaintColor(0x0000FF);
  p.SetBrushSize(size);
  p.SetPaintMode(pmBrush);
  p.ApplyToolAt(at);
  p.EndStroke();
  return ToArt(p.ColorLayer());
}

TEST(Stroke, DabShapes) {
  EXPECT_EQ(Dab(1, {2, 2}, 5, 5), (TArt{".....", ".....", "..r..", ".....", "....."}));
  EXPECT_EQ(Dab(2, {2, 2}, 5, 5), (TArt{".....", ".rr..", ".rr..", ".....", "....."}));
  // Size 3 is the disc of radius 1.5 around the centre of pixel (2, 2): the
  // corners lie at distance sqrt(2) < 1.5, so the whole 3 x 3 square.
  EXPECT_EQ(Dab(3, {2, 2}, 5, 5), (TArt{".....", ".rrr.", ".rrr.", ".rrr.", "....."}));
  // Size 4: radius 2 around the corner (2, 2); the corner pixels' centres lie
  // at sqrt(1.5^2 + 1.5^2) = 2.12 and stay out.
  EXPECT_EQ(Dab(4, {2, 2}, 5, 5), (TArt{".rr..", "rrrr.", "rrrr.", ".rr..", "....."}));
  // Size 12: the disc of radius 6 inscribed in the square from (0, 0) to
  // (11, 11); row widths 4, 8, 10, 10, 12 x 4, 10, 10, 8, 4.
  EXPECT_EQ(Dab(12, {6, 6}, 12, 12), (TArt{
                                         "....rrrr....",
                                         "..rrrrrrrr..",
                                         ".rrrrrrrrrr.",
                                         ".rrrrrrrrrr.",
                                         "rrrrrrrrrrrr",
                                         "rrrrrrrrrrrr",
                                         "rrrrrrrrrrrr",
                                         "rrrrrrrrrrrr",
                                         ".rrrrrrrrrr.",
                                         ".rrrrrrrrrr.",
                                         "..rrrrrrrr..",
                                         "....rrrr....",
                                     }));
}

TEST(Stroke, WidthOneIsAPlainLine) {
  TPainterModel p;
  LoadArt(p, Blank(7, 4));
  p.SetPaintColor(0x0000FF);
  p.SetBrushSize(1);
  p.SetPaintMode(pmBrush);
  p.ApplyToolAt({0, 0});
  p.StrokeTo({6, 3});
  // Slope one half: Bresenham steps down after every second column.
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"r......", ".rr....", "...rr..", ".....rr"}));
}

// Pixel centres within w/2 of the segment joining the dab centres, computed
// with plain doubles (exact for these small coordinates).
bool ReferenceCovers(TPoint a, TPoint b, int w, int x, int y) {
  const double off = (w - 2 * (w / 2)) / 2.0;  // 0.5 for odd widths
  const double ax = a.x + off, ay = a.y + off, bx = b.x + off, by = b.y + off;
  const double px = x + 0.5, py = y + 0.5, r2 = w * w / 4.0;
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  const double dot = (px - ax) * dx + (py - ay) * dy;
  if (len2 == 0 || dot <= 0) return (px - ax) * (px - ax) + (py - ay) * (py - ay) <= r2;
  if (dot >= len2) return (px - bx) * (px - bx) + (py - by) * (py - by) <= r2;
  const double cross = (px - ax) * dy - (py - ay) * dx;
  return cross * cross <= r2 * len2;
}

TEST(Stroke, SegmentCoverageMatchesDistanceRule) {
  std::mt19937 rng(7);
  const int W = 48, H = 40;
  for (int round = 0; round < 300; ++round) {
    const int size = 2 + int(rng() % 16);
    const TPoint a{int(rng() % (W + 20)) - 10, int(rng() % (H + 20)) - 10};
    const TPoint b{int(rng() % (W + 20)) - 10, int(rng() % (H + 20)) - 10};
    TPainterModel p;
    LoadArt(p, Blank(W, H));
    p.SetPaintColor(0x0000FF);
    p.SetBrushSize(size);
    p.SetPaintMode(pmBrush);
    p.ApplyToolAt(a);
    p.StrokeTo(b);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const bool want = ReferenceCovers(a, b, size, x, y);
        ASSERT_EQ(p.ColorLayer().Pixel(x, y) == 0x0000FF, want)
            << "size " << size << " from " << a.x << "," << a.y << " to " << b.x << "," << b.y
            << " pixel " << x << "," << y;
      }
  }
}

TEST(Stroke, RepaintRectangleHoldsEveryChangedPixelAndStaysInside) {
  std::mt19937 rng(11);
  const int W = 60, H = 45;
  const TPaintMode modes[] = {pmBrush, pmMBrush, pmMarker, pmEraser};
  for (int round = 0; round < 120; ++round) {
    TPainterModel p;
    TRaster24 pic(W, H, clWhite);
    for (int i = 0; i < 6; ++i) {
      const int x = int(rng() % W);
      for (int y = 0; y < H; ++y) pic.SetPixel(x, y, clBlack);
    }
    p.LoadPicture(pic);
    p.SetPaintMode(modes[round % 4]);
    p.SetMixMode(TPaintMixMode(round % 3));
    p.SetPaintColor(TColor(rng() & 0xFFFFFF));
    p.SetBrushSize(1 + int(rng() % 25));
    // Points far beyond the edges as well as inside.
    auto point = [&] { return TPoint{int(rng() % (W + 200)) - 100, int(rng() % (H + 200)) - 100}; };
    p.ApplyToolAt({int(rng() % W), int(rng() % H)});
    for (int seg = 0; seg < 8 && p.Stroking(); ++seg) {
      const TRaster24 colour = p.ColorLayer();
      const TRaster1 outline = p.OutlineLayer();
      p.StrokeTo(point());
      const TRect r = p.LastChange();
      EXPECT_TRUE(r.IsEmpty() || (r.Left >= 0 && r.Top >= 0 && r.Right <= W && r.Bottom <= H));
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          if (r.Contains(x, y)) continue;
          ASSERT_EQ(p.ColorLayer().Pixel(x, y), colour.Pixel(x, y)) << x << "," << y;
          ASSERT_EQ(p.OutlineLayer().Pixel(x, y), outline.Pixel(x, y)) << x << "," << y;
        }
    }
  }
}

// A plain model of a stroke: every segment paints every pixel it covers,
// then the line art is laid over the colours again.
struct TReferenceStroke {
  TRaster24 Colour;
  TRaster1 Outline;
  void Segment(TPaintMode mode, TPaintMixMode mix, TColor paint, int size, TPoint from,
               TPoint to, bool first) {
    for (int y = 0; y < Colour.Height(); ++y)
      for (int x = 0; x < Colour.Width(); ++x) {
        const bool covered = first ? DabCovers(to, size, x, y) : LineCovers(from, to, size, x, y);
        if (!covered) continue;
        const TColor old = Colour.Pixel(x, y);
        auto combine = [&](TColor p) {
          return mix == mmOver ? p : mix == mmDarken ? (old & p) : (old | p);
        };
        if (mode == pmBrush) {
          Colour.SetPixel(x, y, combine(mix == mmDarken ? paint ^ 0x010101 : paint));
        } else if (mode == pmMarker) {
          Outline.SetPixel(x, y, false);
        } else {
          Outline.SetPixel(x, y, true);
          Colour.SetPixel(x, y, combine(clWhite));
        }
      }
    for (int y = 0; y < Colour.Height(); ++y)
      for (int x = 0; x < Colour.Width(); ++x)
        if (!Outline.IsWhite(x, y)) Colour.SetPixel(x, y, clBlack);
  }
};

TEST(Stroke, MultiSegmentStrokesMatchAPlainModelAlsoWhenTheColourChanges) {
  std::mt19937 rng(31);
  const int W = 41, H = 33;
  const TPaintMode modes[] = {pmBrush, pmMarker, pmEraser};
  for (int round = 0; round < 150; ++round) {
    TRaster24 pic(W, H, clWhite);
    for (int i = 0; i < 4; ++i) {
      const int x = int(rng() % W);
      for (int y = 0; y < H; ++y) pic.SetPixel(x, y, clBlack);
    }
    TPainterModel p;
    p.LoadPicture(pic);
    const TPaintMode mode = modes[round % 3];
    const auto mix = TPaintMixMode(rng() % 3);
    const int size = 1 + int(rng() % 14);
    TColor paint = TColor(rng() & 0xFFFFFF) | 1;
    p.SetPaintMode(mode);
    p.SetMixMode(mix);
    p.SetBrushSize(size);
    p.SetPaintColor(paint);
    TReferenceStroke ref{p.ColorLayer(), p.OutlineLayer()};
    TPoint prev{int(rng() % W), int(rng() % H)};
    p.ApplyToolAt(prev);
    ref.Segment(mode, mix, paint, size, prev, prev, true);
    for (int seg = 0; seg < 6; ++seg) {
      if (rng() % 3 == 0) {
        paint = TColor(rng() & 0xFFFFFF) | 1;
        p.SetPaintColor(paint);
      }
      // Short steps, as a drag makes, and now and then a long one.
      const int reach = rng() % 4 == 0 ? 30 : 4;
      const TPoint next{prev.x + int(rng() % (2 * reach + 1)) - reach,
                        prev.y + int(rng() % (2 * reach + 1)) - reach};
      p.StrokeTo(next);
      ref.Segment(mode, mix, paint, size, prev, next, false);
      prev = next;
      ASSERT_TRUE(SamePixels(p.ColorLayer(), ref.Colour)) << "round " << round << " seg " << seg;
      ASSERT_TRUE(SamePixels(p.OutlineLayer(), ref.Outline)) << "round " << round;
    }
  }
}

TEST(Stroke, RepaintRectangleIsTheDabsWithAMarginOfFour) {
  TPainterModel p;
  LoadArt(p, Blank(100, 100));
  p.SetBrushSize(12);
  p.SetPaintMode(pmBrush);
  p.ApplyToolAt({50, 50});
  EXPECT_EQ(p.LastChange(), (TRect{40, 40, 60, 60}));
  p.StrokeTo({70, 52});
  EXPECT_EQ(p.LastChange(), (TRect{40, 40, 80, 62}));
  p.StrokeTo({98, 52});
  EXPECT_EQ(p.LastChange(), (TRect{60, 42, 100, 62}));
}

TEST(Stroke, MaskedBrushPaintsOnlyTheRegionWhereItStarted) {
  TPainterModel p;
  LoadArt(p, {
                 "....#.....",
                 "....#.....",
                 "....#.....",
                 "....#.....",
             });
  int clicks = 0;
  TPoint clicked;
  p.OnClickAt = [&](TPainterModel&, TPoint pt) {
    ++clicks;
    clicked = pt;
  };
  p.SetPaintColor(0x00FF00);
  p.SetBrushSize(3);
  p.SetPaintMode(pmMBrush);
  p.ApplyToolAt({4, 1});  // on the line: moved to the pixel below
  EXPECT_EQ(clicks, 1);
  // Below (4, 2) is on the line as well; left (3, 1) is the first white.
  EXPECT_EQ(clicked, (TPoint{3, 1}));
  p.EndStroke();
  p.Undo();
  clicks = 0;
  p.ApplyToolAt({2, 1});
  p.StrokeTo({8, 1});
  p.StrokeTo({8, 3});
  p.EndStroke();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{
                                       ".ggg#.....",
                                       ".ggg#.....",
                                       ".ggg#.....",
                                       "....#.....",
                                   }));
}

TEST(Stroke, MaskedBrushOnThickBlackDoesNothing) {
  TPainterModel p;
  LoadArt(p, {".....", ".###.", ".###.", ".###.", "....."});
  int clicks = 0;
  p.OnClickAt = [&](TPainterModel&, TPoint) { ++clicks; };
  p.SetPaintMode(pmMBrush);
  p.ApplyToolAt({2, 2});
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(p.Stroking());
  EXPECT_FALSE(p.CanUndo());
}

TEST(Stroke, MarkerLinesBecomeBordersAndEraserRemovesThem) {
  TPainterModel p;
  LoadArt(p, Blank(6, 3));
  p.SetBrushSize(1);
  p.SetPaintMode(pmMarker);
  p.ApplyToolAt({3, 0});
  p.StrokeTo({3, 2});
  p.EndStroke();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"...#..", "...#..", "...#.."}));
  p.SetPaintMode(pmFill);
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rrr#..", "rrr#..", "rrr#.."}));
  p.SetPaintMode(pmEraser);
  p.ApplyToolAt({3, 1});
  p.EndStroke();
  EXPECT_EQ(ToArt(p.OutlineLayer()), (TArt{"...#..", "......", "...#.."}));
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"rrr#..", "rrr...", "rrr#.."}));
}

TEST(Stroke, EraserInEachMixMode) {
  const TArt picture = {"..#..", "..#.."};
  auto erase = [&](TPaintMixMode mode) {
    TPainterModel p;
    LoadArt(p, picture);
    p.SetPaintColor(0x0000FF);
    p.ApplyToolAt({0, 0});
    p.SetMixMode(mode);
    p.SetBrushSize(2);
    p.SetPaintMode(pmEraser);
    p.ApplyToolAt({2, 1});  // covers columns 1-2, rows 0-1
    p.EndStroke();
    return std::pair(ToArt(p.ColorLayer()), ToArt(p.OutlineLayer()));
  };
  // Over and lighten whiten colour and line art alike.
  EXPECT_EQ(erase(mmOver).first, (TArt{"r....", "r...."}));
  EXPECT_EQ(erase(mmLighten).first, (TArt{"r....", "r...."}));
  // Darken: white ANDs to no change, so the colours stay, and the line art
  // already black in the colour layer stays black there too.
  EXPECT_EQ(erase(mmDarken).first, (TArt{"rr#..", "rr#.."}));
  for (auto mode : {mmOver, mmDarken, mmLighten})
    EXPECT_EQ(erase(mode).second, (TArt{".....", "....."}));
}

TEST(Stroke, MixModesOnStrokes) {
  auto paint = [](TPaintMixMode mode, TColor under, TColor paint) {
    TPainterModel p;
    LoadArt(p, {"."});
    p.SetPaintMode(pmBrush);
    p.SetBrushSize(1);
    if (under != clWhite) {
      p.SetPaintColor(under);
      p.ApplyToolAt({0, 0});
      p.EndStroke();
    }
    p.SetMixMode(mode);
    p.SetPaintColor(paint);
    p.ApplyToolAt({0, 0});
    return p.ColorLayer().Pixel(0, 0);
  };
  EXPECT_EQ(paint(mmDarken, clWhite, 0xFFFFFF), 0xFEFEFEu);
  EXPECT_EQ(paint(mmDarken, clWhite, 0x0000FF), 0x0101FEu);
  EXPECT_EQ(paint(mmLighten, 0xFF0000, 0x0000FF), 0xFF00FFu);
  EXPECT_EQ(paint(mmLighten, clWhite, 0x123456), 0xFFFFFFu);
  EXPECT_EQ(paint(mmOver, 0xFF0000, 0x000000), 0x000001u);
}

TEST(Stroke, LightenSurvivesWashAndUndo) {
  TPainterModel p;
  LoadArt(p, {"...."});
  p.SetPaintMode(pmBrush);
  p.SetBrushSize(1);
  p.SetPaintColor(0xFF0000);
  p.ApplyToolAt({2, 0});
  p.EndStroke();
  p.SetMixMode(mmLighten);
  p.Wash();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"...."}));
  p.Undo();
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"..b."}));
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({2, 0});
  p.StrokeTo({1, 0});
  p.EndStroke();
  // Red OR blue is magenta; red OR white stays white.
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"..m."}));
}

TEST(Stroke, ChangingTheToolEndsTheStroke) {
  TPainterModel p;
  LoadArt(p, Blank(10, 3));
  p.SetBrushSize(1);
  p.SetPaintColor(0x0000FF);
  p.SetPaintMode(pmBrush);
  p.ApplyToolAt({0, 1});
  EXPECT_TRUE(p.Stroking());
  p.SetPaintMode(pmBrush);
  EXPECT_FALSE(p.Stroking());
  p.StrokeTo({9, 1});
  EXPECT_EQ(ToArt(p.ColorLayer())[1], "r.........");
}

TEST(Stroke, StrokesOutsideThePictureDrawAlongTheEdge) {
  TPainterModel p;
  LoadArt(p, Blank(8, 4));
  p.SetBrushSize(3);
  p.SetPaintColor(0x0000FF);
  p.SetPaintMode(pmBrush);
  p.ApplyToolAt({-1000000, -1});
  p.StrokeTo({1000000, -1});
  p.StrokeTo({5000000, 3000000});
  EXPECT_EQ(ToArt(p.ColorLayer())[0], "rrrrrrrr");
  EXPECT_EQ(ToArt(p.ColorLayer())[1], "........");
}

TEST(StrokeCoverage, RunsAgreeWithThePointTests) {
  std::mt19937 rng(5);
  const TRect clip{0, 0, 40, 30};
  for (int round = 0; round < 200; ++round) {
    const int size = 1 + int(rng() % 20);
    const TPoint a{int(rng() % 60) - 10, int(rng() % 50) - 10};
    const TPoint b{int(rng() % 60) - 10, int(rng() % 50) - 10};
    std::vector<int> dab(40 * 30, 0), line(40 * 30, 0);
    CoverDab(b, size, clip, [&](int y, int x0, int x1) {
      for (int x = x0; x < x1; ++x) ++dab[y * 40 + x];
    });
    CoverLine(a, b, size, clip, [&](int y, int x0, int x1) {
      for (int x = x0; x < x1; ++x) ++line[y * 40 + x];
    });
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(dab[y * 40 + x], DabCovers(b, size, x, y) ? 1 : 0);
        ASSERT_EQ(line[y * 40 + x], LineCovers(a, b, size, x, y) ? 1 : 0)
            << size << " " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace tw::test
