#include "app/PictureGridU.h"

#include <algorithm>

namespace tw {

int TPictureGrid::Columns() const { return std::max(1, (FWidth - FGap) / Pitch()); }

int TPictureGrid::Rows() const { return (FCount + Columns() - 1) / Columns(); }

int TPictureGrid::ContentHeight() const { return FGap + Rows() * Pitch(); }

int TPictureGrid::RowsPerPage() const { return std::max(1, (FHeight - FGap) / Pitch()); }

int TPictureGrid::LeftMargin() const {
  const int Used = Columns() * Pitch() - FGap;
  return std::max(FGap, (FWidth - Used) / 2);
}

TTileRect TPictureGrid::TileRect(int Index) const {
  const int Row = Index / Columns();
  const int Column = Index % Columns();
  return {LeftMargin() + Column * Pitch(), FGap + Row * Pitch(), FTileSize, FTileSize};
}

int TPictureGrid::TileAt(int X, int Y) const {
  const int Column = (X - LeftMargin()) / Pitch();
  const int Row = (Y - FGap) / Pitch();
  if (X < LeftMargin() || Y < FGap || Column >= Columns()) return -1;
  const int Index = Row * Columns() + Column;
  if (Index >= FCount || !TileRect(Index).Contains(X, Y)) return -1;
  return Index;
}

int TPictureGrid::Move(int Index, TGridMove Move) const {
  if (FCount == 0) return -1;
  if (Index < 0 || Index >= FCount) return 0;
  const int Last = FCount - 1;
  const int Step = Columns();
  const int Page = Step * RowsPerPage();
  switch (Move) {
    case TGridMove::Left: return std::max(0, Index - 1);
    case TGridMove::Right: return std::min(Last, Index + 1);
    case TGridMove::Up: return Index >= Step ? Index - Step : Index;
    case TGridMove::Down:
      if (Index / Step == Last / Step) return Index;
      return std::min(Last, Index + Step);
    case TGridMove::PageUp:
      // A page up from the top rows stays in the same column.
      return Index >= Page ? Index - Page : Index % Step;
    case TGridMove::PageDown: {
      if (Index / Step == Last / Step) return Index;
      return std::min(Last, Index + Page);
    }
    case TGridMove::First: return 0;
    case TGridMove::Last: return Last;
  }
  return Index;
}

int TPictureGrid::ClampScroll(int Scroll) const {
  return std::clamp(Scroll, 0, std::max(0, ContentHeight() - FHeight));
}

int TPictureGrid::ScrollToShow(int Index, int Scroll) const {
  if (Index < 0 || Index >= FCount) return ClampScroll(Scroll);
  const TTileRect Tile = TileRect(Index);
  const int Top = Tile.Top - FGap;
  const int Bottom = Tile.Top + Tile.Height + FGap;
  if (Bottom > Scroll + FHeight) Scroll = Bottom - FHeight;
  // A view lower than a tile shows the tile's top.
  if (Top < Scroll) Scroll = Top;
  return ClampScroll(Scroll);
}

int TPictureGrid::FirstVisible(int Scroll) const {
  const int Row = std::max(0, (Scroll - FGap) / Pitch());
  return Row * Columns();
}

int TPictureGrid::LastVisible(int Scroll) const {
  if (FCount == 0 || FHeight <= 0) return -1;
  const int Row = std::max(0, (Scroll + FHeight - 1 - FGap) / Pitch());
  return std::min(FCount - 1, (Row + 1) * Columns() - 1);
}

}  // namespace tw
