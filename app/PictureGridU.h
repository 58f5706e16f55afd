// TPictureGrid: where the picture chooser's tiles lie and how the keyboard
// moves over them. Count square tiles of TileSize pixels, Gap pixels apart
// and from the edges, fill rows from the top in as many columns as the view
// is wide (at least one); the rows are centred across the view. Positions
// are in content coordinates: the view shows the band from the scroll
// offset down, Height pixels high. Knows no toolkit.
#pragma once

namespace tw {

struct TTileRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Contains(int X, int Y) const {
    return X >= Left && X < Left + Width && Y >= Top && Y < Top + Height;
  }
};

// The moves of the chooser's keys.
enum class TGridMove { Left, Right, Up, Down, PageUp, PageDown, First, Last };

class TPictureGrid {
 public:
  TPictureGrid(int TileSize, int Gap) : FTileSize(TileSize), FGap(Gap) {}

  void SetView(int Width, int Height) {
    FWidth = Width;
    FHeight = Height;
  }
  void SetCount(int Count) { FCount = Count < 0 ? 0 : Count; }

  int Count() const { return FCount; }
  int ViewWidth() const { return FWidth; }
  int ViewHeight() const { return FHeight; }
  int Columns() const;
  int Rows() const;
  // The whole grid's height, gaps included.
  int ContentHeight() const;
  // The rows the view shows whole (at least one): the page keys move by
  // as many.
  int RowsPerPage() const;

  TTileRect TileRect(int Index) const;
  // The tile at a content point; -1 in a gap or beyond the last tile.
  int TileAt(int X, int Y) const;
  // The tile a move leads to from Index (-1, no tile marked: the first).
  // Moves stop at the edges of the grid: left of the first tile of a row is
  // the last tile of the row above, up from the top row stays in it, down
  // from the row above a short last row lands on its last tile.
  int Move(int Index, TGridMove Move) const;

  // Offsets from 0 to ContentHeight - Height (0 when all fits).
  int ClampScroll(int Scroll) const;
  // The nearest offset to Scroll that shows tile Index whole, with its gap
  // (its top part when the view is lower than that).
  int ScrollToShow(int Index, int Scroll) const;
  // The first and last tile the band from Scroll shows a part of; Last <
  // First when none.
  int FirstVisible(int Scroll) const;
  int LastVisible(int Scroll) const;

 private:
  int Pitch() const { return FTileSize + FGap; }
  int LeftMargin() const;

  int FTileSize;
  int FGap;
  int FWidth = 0;
  int FHeight = 0;
  int FCount = 0;
};

}  // namespace tw
