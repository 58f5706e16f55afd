// The chooser's tile layout and key moves, checked against a plain model
// of rows and columns over random grids and key sequences.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/PictureGridU.h"

namespace tw::test {
namespace {

constexpr int Tile = 100;
constexpr int Gap = 10;

// The model: tile i sits in row i / c and column i % c.
struct TModel {
  int Count, Columns, PageRows;
  int Row(int i) const { return i / Columns; }
  int LastRow() const { return Row(Count - 1); }
  int Move(int i, TGridMove m) const {
    switch (m) {
      case TGridMove::Left: return i > 0 ? i - 1 : i;
      case TGridMove::Right: return i < Count - 1 ? i + 1 : i;
      case TGridMove::Up: return Row(i) > 0 ? i - Columns : i;
      case TGridMove::Down:
        if (Row(i) == LastRow()) return i;
        return std::min(Count - 1, i + Columns);
      case TGridMove::PageUp: {
        int j = i;
        for (int k = 0; k < PageRows && Row(j) > 0; ++k) j -= Columns;
        return j;
      }
      case TGridMove::PageDown: {
        if (Row(i) == LastRow()) return i;
        return std::min(Count - 1, i + PageRows * Columns);
      }
      case TGridMove::First: return 0;
      case TGridMove::Last: return Count - 1;
    }
    return i;
  }
};

TEST(PictureGrid, TilesDoNotOverlapFitTheWidthAndAreFoundWhereTheyAre) {
  for (const int width : {50, 119, 120, 229, 230, 800, 1117}) {
    TPictureGrid grid(Tile, Gap);
    grid.SetView(width, 400);
    grid.SetCount(23);
    const int columns = grid.Columns();
    EXPECT_GE(columns, 1);
    for (int i = 0; i < 23; ++i) {
      const TTileRect r = grid.TileRect(i);
      if (columns > 1) {
        EXPECT_GE(r.Left, Gap) << width;
        EXPECT_LE(r.Left + r.Width + Gap, width) << width;
      }
      EXPECT_EQ(grid.TileAt(r.Left, r.Top), i);
      EXPECT_EQ(grid.TileAt(r.Left + r.Width - 1, r.Top + r.Height - 1), i);
      EXPECT_EQ(grid.TileAt(r.Left - 1, r.Top), -1);
      EXPECT_LE(r.Top + r.Height + Gap, grid.ContentHeight());
      for (int j = 0; j < i; ++j) {
        const TTileRect o = grid.TileRect(j);
        const bool apart = o.Left + o.Width <= r.Left || r.Left + r.Width <= o.Left ||
                           o.Top + o.Height <= r.Top || r.Top + r.Height <= o.Top;
        EXPECT_TRUE(apart) << i << " " << j;
      }
    }
    // A column more would not fit.
    EXPECT_GT((columns + 1) * (Tile + Gap) + Gap, width) << width;
    EXPECT_EQ(grid.TileAt(grid.TileRect(22).Left + Tile + Gap + 1, grid.TileRect(22).Top), -1);
  }
}

TEST(PictureGrid, RandomKeySequencesMoveAsRowsAndColumnsDo) {
  std::mt19937 random(18);
  for (int round = 0; round < 200; ++round) {
    TPictureGrid grid(Tile, Gap);
    const int width = 100 + int(random() % 900);
    const int height = 100 + int(random() % 700);
    const int count = 1 + int(random() % 60);
    grid.SetView(width, height);
    grid.SetCount(count);
    const TModel model{count, grid.Columns(), grid.RowsPerPage()};
    EXPECT_EQ(grid.Rows(), model.LastRow() + 1);
    int at = grid.Move(-1, TGridMove::Right);
    EXPECT_EQ(at, 0);
    int scroll = 0;
    for (int step = 0; step < 40; ++step) {
      const auto move = TGridMove(random() % 8);
      const int expected = model.Move(at, move);
      at = grid.Move(at, move);
      ASSERT_EQ(at, expected) << "round " << round << " step " << step;
      // The offset that shows the tile shows it whole.
      scroll = grid.ScrollToShow(at, scroll);
      const TTileRect r = grid.TileRect(at);
      EXPECT_GE(r.Top, scroll);
      EXPECT_LE(r.Top + r.Height, scroll + std::max(height, r.Height + 2 * Gap));
      EXPECT_EQ(scroll, grid.ClampScroll(scroll));
      EXPECT_LE(grid.FirstVisible(scroll), at);
      EXPECT_GE(grid.LastVisible(scroll), at);
    }
  }
}

TEST(PictureGrid, AnEmptyGridHasNoTileToMoveTo) {
  TPictureGrid grid(Tile, Gap);
  grid.SetView(500, 300);
  EXPECT_EQ(grid.Move(-1, TGridMove::Down), -1);
  EXPECT_EQ(grid.TileAt(50, 50), -1);
  EXPECT_EQ(grid.ClampScroll(100), 0);
  EXPECT_LT(grid.LastVisible(0), grid.FirstVisible(0) + 1);
}

}  // namespace
}  // namespace tw::test
