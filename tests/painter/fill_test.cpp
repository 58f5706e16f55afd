// The fill tool: where a press starts, what stops it, how it paints, and a
// comparison against a plain breadth-first search on random line art.
#include <gtest/gtest.h>

#include <algorithm>
#include <queue>
#include <random>

#include "painter/FloodFillU.h"
#include "painter/PainterU.h"
#include "support/AsciiArt.h"

namespace tw::test {
namespace {

TArt Fill(const TArt& picture, TPoint at, TColor paint, TPaintMixMode mode = mmOver) {
  TPainterModel p;
  LoadArt(p, picture);
  p.SetPaintColor(paint);
  p.SetMixMode(mode);
  p.SetPaintMode(pmFill);
  p.ApplyToolAt(at);
  return ToArt(p.ColorLayer());
}

TEST(Fill, PaintsTheRegionAndStopsAtBlack) {
  const TArt picture = {
      ".....#....",
      ".....#....",
      "######....",
      "..........",
  };
  EXPECT_EQ(Fill(picture, {1, 1}, 0x0000FF), (TArt{
                                                  "rrrrr#....",
                                                  "rrrrr#....",
                                                  "######....",
                                                  "..........",
                                              }));
  EXPECT_EQ(Fill(picture, {9, 0}, 0xFF0000), (TArt{
                                                  ".....#bbbb",
                                                  ".....#bbbb",
                                                  "######bbbb",
                                                  "bbbbbbbbbb",
                                              }));
}

TEST(Fill, PressOnAOnePixelLineFillsBelowIt) {
  const TArt picture = {
      ".....",
      "#####",
      ".....",
  };
  EXPECT_EQ(Fill(picture, {2, 1}, 0x00FF00), (TArt{
                                                  ".....",
                                                  "#####",
                                                  "ggggg",
                                              }));
}

TEST(Fill, PressWhereEverythingAroundIsBlackDoesNothing) {
  TPainterModel p;
  LoadArt(p, {
                 "......",
                 ".###..",
                 ".###..",
                 ".###..",
             });
  int clicks = 0;
  p.OnClickAt = [&](TPainterModel&, TPoint) { ++clicks; };
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({2, 2});
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(p.CanUndo());
  EXPECT_EQ(ToArt(p.ColorLayer())[0], "......");
  p.ApplyToolAt({2, 0});
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(p.CanUndo());
}

TEST(Fill, DiagonalOnlyGapDoesNotLeak) {
  const TArt picture = {
      "...#....",
      "..#.....",
      ".#......",
      "#.......",
  };
  EXPECT_EQ(Fill(picture, {0, 0}, 0x0000FF), (TArt{
                                                  "rrr#....",
                                                  "rr#.....",
                                                  "r#......",
                                                  "#.......",
                                              }));
}

TEST(Fill, RefillingReplacesTheOldColour) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#.."});
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});
  p.SetPaintColor(0x00FF00);
  p.ApplyToolAt({1, 1});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"gg#..", "gg#.."}));
}

TEST(Fill, GreyLineArtIsABorderAndShowsBlack) {
  const TArt picture = {
      "..o..",
      "..o..",
  };
  EXPECT_EQ(Fill(picture, {0, 0}, 0x00FFFF), (TArt{"yy#..", "yy#.."}));
}

TEST(Fill, DarkenOfRedWithBlueGivesAlmostBlackThatStaysPaintable) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#.."});
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});
  p.SetMixMode(mmDarken);
  p.SetPaintColor(0xFF0000);  // 0xFF0000 ^ 0x010101 = 0xFE0101; AND red = 0x000001
  p.ApplyToolAt({0, 0});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"xx#..", "xx#.."}));
  p.SetMixMode(mmOver);
  p.SetPaintColor(0x00FF00);
  p.ApplyToolAt({1, 0});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"gg#..", "gg#.."}));
}

TEST(Fill, DarkenCanMakeNewBordersThatLaterFillsRespect) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#.."});
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({0, 0});  // red on the left
  p.SetPaintColor(0x00FF00);
  p.ApplyToolAt({4, 0});  // green on the right
  // Darken with 0xFFFF01: the effective paint is 0xFEFE00, which has no red,
  // so AND with pure red gives pure black.
  p.SetMixMode(mmDarken);
  p.SetPaintColor(0xFFFF01);
  p.ApplyToolAt({0, 0});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"###gg", "###gg"}));
  // The black paint is a border: a fill there finds nothing to paint.
  p.SetMixMode(mmOver);
  p.SetPaintColor(0xFF0000);
  p.ApplyToolAt({4, 1});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"###bb", "###bb"}));
}

TEST(Fill, BeforeAnyColourIsSetThePaintIsStillNotABorder) {
  TPainterModel p;
  LoadArt(p, {"..#..", "..#.."});
  p.ApplyToolAt({0, 0});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"xx#..", "xx#.."}));
  p.SetPaintColor(0x00FF00);
  p.ApplyToolAt({1, 1});
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"gg#..", "gg#.."}));
}

TEST(Fill, OutsideThePictureChangesNothing) {
  TPainterModel p;
  LoadArt(p, {"...", "..."});
  p.SetPaintColor(0x0000FF);
  p.ApplyToolAt({-5, 1});
  p.ApplyToolAt({3, 3});
  EXPECT_FALSE(p.CanUndo());
  EXPECT_EQ(ToArt(p.ColorLayer()), (TArt{"...", "..."}));
}

// The plain reference: breadth-first search over non-black pixels.
std::vector<bool> ReferenceRegion(const TRaster24& c, TPoint seed) {
  const int w = c.Width(), h = c.Height();
  std::vector<bool> in(size_t(w) * h, false);
  if (c.Pixel(seed.x, seed.y) == clBlack) return in;
  std::queue<TPoint> q;
  q.push(seed);
  in[size_t(seed.y) * w + seed.x] = true;
  while (!q.empty()) {
    const TPoint p = q.front();
    q.pop();
    const TPoint next[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
    for (const TPoint& n : next) {
      if (n.x < 0 || n.y < 0 || n.x >= w || n.y >= h) continue;
      if (in[size_t(n.y) * w + n.x] || c.Pixel(n.x, n.y) == clBlack) continue;
      in[size_t(n.y) * w + n.x] = true;
      q.push(n);
    }
  }
  return in;
}

TRaster24 RandomLineArt(std::mt19937& rng, int w, int h, int density) {
  TRaster24 r(w, h, clWhite);
  std::uniform_int_distribution<int> px(0, w - 1), py(0, h - 1), pct(0, 99), len(1, 20);
  for (int i = 0; i < w * h * density / 100; ++i) {
    // Short black strokes in random directions, some diagonal.
    int x = px(rng), y = py(rng);
    const int dx = pct(rng) % 3 - 1, dy = pct(rng) % 3 - 1, n = len(rng);
    for (int k = 0; k < n && x >= 0 && y >= 0 && x < w && y < h; ++k, x += dx, y += dy)
      r.SetPixel(x, y, clBlack);
  }
  // Some painted colours too, which must not stop the fill.
  for (int i = 0; i < w * h / 20; ++i) {
    const int x = px(rng), y = py(rng);
    if (r.Pixel(x, y) != clBlack) r.SetPixel(x, y, TColor(rng() & 0xFFFFFF) | 1);
  }
  return r;
}

TColor Combine(TColor old, TColor paint, TPaintMixMode mode) {
  switch (mode) {
    case mmOver: return paint;
    case mmDarken: return old & (paint ^ 0x010101);
    case mmLighten: return old | paint;
  }
  return old;
}

// A fill of `paint` pressed at a random point of p's picture, whose outline
// layer is all white, changes exactly the region a breadth-first search
// finds from there, each pixel combined as the mode says.
void ExpectRandomFillMatchesTheSearch(TPainterModel& p, std::mt19937& rng, TPaintMixMode mode) {
  const int w = p.ColorLayer().Width(), h = p.ColorLayer().Height();
  p.SetMixMode(mode);
  const TColor paint = TColor(rng() & 0xFFFFFF);
  p.SetPaintColor(paint);
  const TPoint seed{int(rng() % w), int(rng() % h)};
  TPoint q;
  // The fill starts on the outline layer, which is all white here.
  ASSERT_TRUE(p.FindPaintablePoint(p.OutlineLayer(), seed, q));
  const TRaster24 before = p.ColorLayer();
  const std::vector<bool> region = ReferenceRegion(before, q);
  p.ApplyToolAt(seed);
  const TColor stored = paint == 0 ? 1 : paint;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TColor want = region[size_t(y) * w + x] ? Combine(before.Pixel(x, y), stored, mode)
                                                    : before.Pixel(x, y);
      ASSERT_EQ(p.ColorLayer().Pixel(x, y), want) << "at " << x << "," << y;
    }
}

TEST(Fill, MatchesBreadthFirstSearchOnRandomLineArt) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 60; ++round) {
    const int w = 8 + int(rng() % 90), h = 8 + int(rng() % 70);
    const TRaster24 art = RandomLineArt(rng, w, h, 2 + int(rng() % 6));
    TPainterModel p;
    // Colours other than white in the picture are line art when loaded, so
    // the colouring is put in as a colour layer over an all-white outline.
    p.LoadPicture(TRaster24(w, h, clWhite));
    p.AssignLayer(art, false);
    for (int fill = 0; fill < 4; ++fill) {
      SCOPED_TRACE("round " + std::to_string(round) + " fill " + std::to_string(fill));
      ExpectRandomFillMatchesTheSearch(p, rng, TPaintMixMode(round % 3));
      if (HasFatalFailure()) return;
    }
  }
}

// Fills leave marks in the border map and take a new one each time; a long
// run of fills on one picture, in every mode (AND making new black borders),
// goes round the marks more than once and must still fill exactly the
// region every time.
TEST(Fill, HundredsOfFillsOnOnePictureMatchBreadthFirstSearch) {
  std::mt19937 rng(77);
  const int w = 40, h = 24;
  TPainterModel p;
  p.LoadPicture(TRaster24(w, h, clWhite));
  p.AssignLayer(RandomLineArt(rng, w, h, 3), false);
  for (int fill = 0; fill < 700; ++fill) {
    SCOPED_TRACE("fill " + std::to_string(fill));
    const auto mode = TPaintMixMode(rng() % 3);
    ExpectRandomFillMatchesTheSearch(p, rng, mode);
    if (HasFatalFailure()) return;
  }
}

// A region no fill has touched for a long while still fills: the marks that
// fills leave behind never make it look visited. The number of fills of the
// right half between two fills of the left grows by one each time, so every
// count up to a few hundred comes between them once.
TEST(Fill, ARegionLeftAloneForManyFillsStillFills) {
  TPainterModel p;
  LoadArt(p, {"...#...", "...#...", "...#..."});
  p.SetPaintMode(pmFill);
  const TColor Paints[2] = {0x0000FF, 0x00FF00};
  const char Shown[2] = {'r', 'g'};
  int left = 0, right = 0;
  for (int between = 0; between < 600; ++between) {
    left ^= 1;
    p.SetPaintColor(Paints[left]);
    p.ApplyToolAt({0, 1});
    for (int i = 0; i < between; ++i) {
      right ^= 1;
      p.SetPaintColor(Paints[right]);
      p.ApplyToolAt({6, 1});
    }
    const std::string row = std::string(3, Shown[left]) + "#" +
                            (between == 0 && right == 0 ? std::string("...")
                                                        : std::string(3, Shown[right]));
    ASSERT_EQ(ToArt(p.ColorLayer()), (TArt{row, row, row})) << between << " fills between";
  }
}

// Both ways of marking report every pixel of the seed's region in exactly one
// run and nothing else; filling leaves the region black, marking leaves one
// mark per run.
void ExpectSpansCoverTheRegion(const TRaster1& picture, TPoint seed, int round) {
  const int w = picture.Width(), h = picture.Height();
  TRaster1 map = picture, marked = picture;
  const TRaster24 asColour = ToRaster24(map);
  const std::vector<bool> region = ReferenceRegion(asColour, seed);
  std::vector<int> hits(size_t(w) * h, 0);
  FloodSpans<TFloodMark::Fill>(map, seed, [&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) ++hits[size_t(y) * w + x];
  });
  for (int i = 0; i < w * h; ++i) ASSERT_EQ(hits[i], region[i] ? 1 : 0) << "round " << round;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(map.IsWhite(x, y), asColour.Pixel(x, y) != 0 && !region[size_t(y) * w + x]);
  std::fill(hits.begin(), hits.end(), 0);
  FloodSpans<TFloodMark::FirstByte>(marked, seed, [&](int y, int x0, int x1) {
    ASSERT_EQ(marked.Pixel(x0, y), FloodVisited);
    for (int x = x0; x < x1; ++x) ++hits[size_t(y) * w + x];
  });
  for (int i = 0; i < w * h; ++i) ASSERT_EQ(hits[i], region[i] ? 1 : 0) << "round " << round;
}

TEST(FloodSpans, ReportsEveryRegionPixelExactlyOnce) {
  std::mt19937 rng(99);
  for (int round = 0; round < 100; ++round) {
    const int w = 1 + int(rng() % 60), h = 1 + int(rng() % 60);
    TRaster1 map(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) map.SetPixel(x, y, rng() % 100 >= 35);
    ExpectSpansCoverTheRegion(map, {int(rng() % w), int(rng() % h)}, round);
  }
}

// The fill guesses that a narrow region goes on with the ends of the row
// before; corridors that mostly do, but now and then shift, widen or narrow
// by a pixel, touch either edge of the picture or split in two, test every
// way the guess can fail.
TEST(FloodSpans, FollowsCorridorsThatShiftWidenNarrowAndSplit) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const int w = 1 + int(rng() % 24), h = 2 + int(rng() % 40);
    TRaster1 map(w, h, TRaster1::Black);
    int l = int(rng() % w), r = l + int(rng() % 6);
    const TPoint seed{l, 0};
    for (int y = 0; y < h; ++y) {
      for (int x = l; x <= std::min(r, w - 1); ++x) map.SetPixel(x, y, true);
      // A pillar splits the corridor for a few rows now and then.
      if (r - l >= 2 && rng() % 8 == 0) map.SetPixel((l + r) / 2, y, false);
      if (rng() % 4 == 0) l += int(rng() % 3) - 1;
      if (rng() % 4 == 0) r += int(rng() % 3) - 1;
      l = std::clamp(l, 0, w - 1);
      r = std::clamp(r, l, w - 1);
    }
    ExpectSpansCoverTheRegion(map, seed, round);
  }
}

}  // namespace
}  // namespace tw::test
