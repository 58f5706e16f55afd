#include "painter/PaintHistoryU.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "painter/HistoryRowsU.h"

namespace tw {
namespace {

int ShiftOf(int size) {
  int shift = 0;
  while (shift < 8 && (2 << shift) <= size) ++shift;
  return shift;
}

// Large enough that a step rarely starts a new chunk, small enough that a
// history of many small steps holds little unused room.
constexpr size_t ChunkBytes = size_t(64) << 10;

// The chunks hold at least one whole colour tile.
size_t ChunkSize(int shiftX, int shiftY) {
  return std::max(ChunkBytes, (size_t(3) << shiftX) << shiftY);
}

// Runs are tried up to this many per piece; a piece that needs more is kept
// as its pixels.
constexpr size_t MaxPieceRuns = 64;

// How many rows ahead of a fill SaveColourRun asks for: enough for memory
// to answer while the rows between are saved and painted.
constexpr int LookAheadRows = 4;

}  // namespace

TPaintHistory::TPaintHistory(TRaster24& colour, TRaster1& outline, int tileWidth,
                             int tileHeight)
    : FColour(colour),
      FOutline(outline),
      FShiftX(ShiftOf(tileWidth)),
      FShiftY(ShiftOf(tileHeight)),
      FColourTiles{3, {}},
      FOutlineTiles{1, {}},
      FChunks(ChunkSize(FShiftX, FShiftY)) {}

void TPaintHistory::SaveColourRun(int y, int ty, int first, int last) {
  // A fill reports its runs row after row, going the same way for long
  // stretches, and the save reads each run's tiles just before the fill
  // writes them. A row far enough ahead the same way is requested now, so
  // that its save finds it in the cache instead of waiting on memory.
  const int dy = y - FLastRunRow;
  FLastRunRow = y;
  const int ahead = y + LookAheadRows * dy;
  if ((dy == 1 || dy == -1) && ahead >= 0 && ahead < FColour.Height()) {
    const uint8_t* row = FColour.Row(ahead);
    const size_t end = size_t(std::min((last + 1) << FShiftX, FColour.Width())) * 3;
    for (size_t b = (size_t(first) << FShiftX) * 3; b < end; b += 64) __builtin_prefetch(row + b);
  }
  SaveTiles(FColourTiles, ty, first, last);
}

void TPaintHistory::SaveTiles(TLayerTiles& layer, int ty, int first, int last) {
  const uint32_t* stamp = layer.Stamp.data() + size_t(ty) * size_t(FTilesX);
  for (int tx = first; tx <= last;) {
    if (stamp[tx] == FSerial) {
      ++tx;
      continue;
    }
    int end = tx;
    while (end < last && stamp[end + 1] != FSerial) ++end;
    SavePiece(layer, ty, tx, end);
    tx = end + 1;
  }
}

void TPaintHistory::SavePiece(TLayerTiles& layer, int ty, int first, int last) {
  const int top = ty << FShiftY;
  uint32_t* stamp = layer.Stamp.data() + size_t(ty) * size_t(FTilesX);
  for (int tx = first; tx <= last; ++tx) stamp[tx] = FSerial;
  KeepPiece(FUndo.back(), &layer == &FColourTiles ? lyColour : lyOutline,
            {first << FShiftX, top, std::min((last + 1) << FShiftX, FColour.Width()),
             std::min(top + TileHeight(), FColour.Height())});
}

uint8_t* TPaintHistory::Room(TStep& step, size_t bytes) {
  if (step.Chunks.empty() || FChunks.BlockSize() - step.ChunkUsed < bytes) {
    step.Chunks.push_back(FChunks.Take());
    step.ChunkUsed = 0;
  }
  uint8_t* room = step.Chunks.back().get() + step.ChunkUsed;
  step.ChunkUsed += bytes;
  return room;
}

void TPaintHistory::KeepPiece(TStep& step, TLayerId id, const TRect& area) {
  const size_t rowStride = id == lyColour ? FColour.Stride() : FOutline.Stride();
  KeepPixels(step, id, area,
             LayerRow(id, area.Top) + size_t(area.Left) * size_t(BytesPerPixel(id)), rowStride);
}

void TPaintHistory::KeepPixels(TStep& step, TLayerId id, const TRect& area, const uint8_t* at,
                               size_t rowStride) {
  const int bpp = BytesPerPixel(id);
  const size_t width = size_t(area.Width()), rows = size_t(area.Height());
  // Runs are kept when they take at most half the room of the pixels.
  const size_t maxRuns = std::min(width * size_t(bpp) * rows / (2 * RunBytes), MaxPieceRuns);
  uint8_t runs[MaxPieceRuns * RunBytes];
  size_t count = 0;
  for (size_t row = 0; row < rows && count != NoRuns; ++row) {
    const size_t more = StoreRuns(at + row * rowStride, width, bpp, runs + count * RunBytes,
                                  maxRuns - count);
    count = more == NoRuns ? NoRuns : count + more;
  }
  if (count != NoRuns) {
    uint8_t* kept = Room(step, count * RunBytes);
    std::memcpy(kept, runs, count * RunBytes);
    step.Pieces.push_back({area, kept, 0, id});
    return;
  }
  // As many tiles' width as the chunk has room for, in one piece each.
  const size_t tileBytes = (rows * size_t(bpp)) << FShiftX;
  for (int left = area.Left; left < area.Right;) {
    const size_t room = step.Chunks.empty() ? 0 : FChunks.BlockSize() - step.ChunkUsed;
    const size_t fit = (room < tileBytes ? FChunks.BlockSize() : room) / tileBytes;
    const int right = int(std::min(size_t(left) + (fit << FShiftX), size_t(area.Right)));
    const size_t stride = size_t(right - left) * size_t(bpp);
    uint8_t* pixels = Room(step, stride * rows);
    const uint8_t* from = at + size_t(left - area.Left) * size_t(bpp);
    for (size_t row = 0; row < rows; ++row)
      std::memcpy(pixels + row * stride, from + row * rowStride, stride);
    step.Pieces.push_back({{left, area.Top, right, area.Bottom}, pixels, uint32_t(stride), id});
    left = right;
  }
}

void TPaintHistory::LoadPiece(const TPiece& piece, uint8_t* at, size_t rowStride) {
  const TRect& r = piece.Area;
  const int bpp = piece.Layer == lyColour ? 3 : 1;
  const size_t width = size_t(r.Width());
  const uint8_t* runs = piece.Pixels;
  for (int y = r.Top; y < r.Bottom; ++y, at += rowStride) {
    if (piece.Stride != 0)
      std::memcpy(at, piece.Pixels + size_t(y - r.Top) * piece.Stride, width * size_t(bpp));
    else
      runs = LoadRuns(at, width, bpp, runs);
  }
}

void TPaintHistory::LoadPiece(const TPiece& piece, TRaster24& colour, TRaster1& outline) {
  const TRect& r = piece.Area;
  if (piece.Layer == lyColour)
    LoadPiece(piece, colour.Row(r.Top) + size_t(r.Left) * 3, colour.Stride());
  else
    LoadPiece(piece, outline.Row(r.Top) + size_t(r.Left), outline.Stride());
}

void TPaintHistory::BeforeChange(const TRect& area, bool colour, bool outline) {
  if (!FRecording) return;
  const TRect r = IntersectRect(area, {0, 0, FColour.Width(), FColour.Height()});
  if (r.IsEmpty()) return;
  const int first = r.Left >> FShiftX, last = (r.Right - 1) >> FShiftX;
  for (int ty = r.Top >> FShiftY; ty <= (r.Bottom - 1) >> FShiftY; ++ty) {
    if (colour) SaveTiles(FColourTiles, ty, first, last);
    if (outline) SaveTiles(FOutlineTiles, ty, first, last);
  }
}

void TPaintHistory::BeforeResize() {
  if (FRecording) {
    // The open step's layers are the present ones with its saved tiles put
    // back.
    TStep& step = FUndo.back();
    PutBack(step, FColour, FOutline);
    Release(step);
    step.Whole = true;
    step.WholeColour = std::move(FColour);
    step.WholeOutline = std::move(FOutline);
  }
  FColour = TRaster24();
  FOutline = TRaster1();
  Reopen();
}

void TPaintHistory::FollowLayerSize() {
  const int tilesX = (FColour.Width() + TileWidth() - 1) >> FShiftX;
  const int tilesY = (FColour.Height() + TileHeight() - 1) >> FShiftY;
  if (tilesX != FTilesX || tilesY != FTilesY) {
    FTilesX = tilesX;
    FTilesY = tilesY;
    const size_t count = size_t(tilesX) * size_t(tilesY);
    for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles}) layer->Stamp.assign(count, 0);
    // The chunks of two pictures' worth of both layers are kept for reuse: a
    // full history of small changes comes back whole when a picture is left,
    // and the next visit takes them again.
    const size_t picture = size_t(FColour.Width()) * size_t(FColour.Height()) * 4;
    FChunks.SetKeepLimit(std::max<size_t>(2 * picture / FChunks.BlockSize(), 16));
  }
}

void TPaintHistory::NextSerial() {
  if (++FSerial == 0) {
    // After four billion steps the stamps start again from a clean slate.
    FColourTiles.Stamp.assign(FColourTiles.Stamp.size(), 0);
    FOutlineTiles.Stamp.assign(FOutlineTiles.Stamp.size(), 0);
    FSerial = 1;
  }
}

void TPaintHistory::StampPiece(const TPiece& piece, uint32_t serial) {
  // Pieces lie on the present grid (see SwapPiece); one that does not marks
  // nothing.
  if (piece.Area.Right > FColour.Width() || piece.Area.Bottom > FColour.Height()) return;
  uint32_t* stamp = Tiles(piece.Layer).Stamp.data() +
                    size_t(piece.Area.Top >> FShiftY) * size_t(FTilesX);
  for (int tx = piece.Area.Left >> FShiftX; tx <= (piece.Area.Right - 1) >> FShiftX; ++tx)
    stamp[tx] = serial;
}

void TPaintHistory::Reopen() {
  FollowLayerSize();
  NextSerial();
  FRecording = !FUndo.empty() && !FUndo.back().Whole && !FColour.IsEmpty();
  if (!FRecording) return;
  for (const TPiece& piece : FUndo.back().Pieces) StampPiece(piece, FSerial);
}

void TPaintHistory::Release(TStep& step) {
  for (TTilePool::TBlock& chunk : step.Chunks) FChunks.Give(std::move(chunk));
  step.Chunks.clear();
  step.ChunkUsed = 0;
  step.Pieces.clear();
  step.Whole = false;
  step.WholeColour = TRaster24();
  step.WholeOutline = TRaster1();
}

void TPaintHistory::Push(int maxSteps) {
  TStep step;
  if (int(FUndo.size()) >= maxSteps && !FUndo.empty()) {
    // The oldest step's lists keep their capacity for the new one.
    step = std::move(FUndo.front());
    FUndo.pop_front();
    Release(step);
  }
  FUndo.push_back(std::move(step));
  Reopen();
}

void TPaintHistory::PutBack(const TStep& step, TRaster24& colour, TRaster1& outline) const {
  for (const TPiece& piece : step.Pieces)
    if (piece.Area.Right <= colour.Width() && piece.Area.Bottom <= colour.Height())
      LoadPiece(piece, colour, outline);
}

void TPaintHistory::Rebase(TStep& newest, TStep& replaced) {
  if (newest.Whole) {
    Release(replaced);
    return;
  }
  if (replaced.Whole) {
    PutBack(newest, replaced.WholeColour, replaced.WholeOutline);
    Release(newest);
    newest.Whole = true;
    newest.WholeColour = std::move(replaced.WholeColour);
    newest.WholeOutline = std::move(replaced.WholeOutline);
    Release(replaced);
    return;
  }
  // Both lie on the present grid. Where the newest step saved a tile its
  // pixels stand; elsewhere the layers it was made against, which the
  // replaced step holds, are what it must give back. The replaced step's
  // chunks go along with the parts of its pieces taken over.
  NextSerial();
  for (const TPiece& piece : newest.Pieces) StampPiece(piece, FSerial);
  std::vector<uint8_t> pixels;
  for (const TPiece& piece : replaced.Pieces) {
    const TRect& r = piece.Area;
    if (r.Right > FColour.Width() || r.Bottom > FColour.Height()) continue;
    const uint32_t* stamp =
        Tiles(piece.Layer).Stamp.data() + size_t(r.Top >> FShiftY) * size_t(FTilesX);
    const size_t bpp = size_t(BytesPerPixel(piece.Layer));
    const int first = r.Left >> FShiftX, last = (r.Right - 1) >> FShiftX;
    if (std::none_of(stamp + first, stamp + last + 1, [&](uint32_t s) { return s == FSerial; })) {
      newest.Pieces.push_back(piece);
      continue;
    }
    // Only parts of the piece are taken over: they are kept anew from its
    // pixels.
    const size_t rowBytes = size_t(r.Width()) * bpp;
    pixels.resize(rowBytes * size_t(r.Height()));
    LoadPiece(piece, pixels.data(), rowBytes);
    for (int tx = first; tx <= last;) {
      if (stamp[tx] == FSerial) {
        ++tx;
        continue;
      }
      int end = tx;
      while (end < last && stamp[end + 1] != FSerial) ++end;
      const int left = std::max(tx << FShiftX, r.Left);
      const int right = std::min((end + 1) << FShiftX, r.Right);
      KeepPixels(newest, piece.Layer, {left, r.Top, right, r.Bottom},
                 pixels.data() + size_t(left - r.Left) * bpp, rowBytes);
      tx = end + 1;
    }
  }
  for (TTilePool::TBlock& chunk : replaced.Chunks) newest.Chunks.push_back(std::move(chunk));
  // The newest step's next save starts a fresh chunk: its last one may be
  // full, and the room left in the taken-over ones is not known to be free.
  if (!replaced.Chunks.empty()) newest.ChunkUsed = FChunks.BlockSize();
  replaced.Chunks.clear();
  Release(replaced);
}

void TPaintHistory::Keep(std::deque<TStep>& side, TStep&& step, int maxSteps) {
  if (maxSteps <= 0) {
    if (side.empty())
      Release(step);
    else
      Rebase(side.back(), step);
    return;
  }
  if (int(side.size()) >= maxSteps) {
    Release(side.front());
    side.pop_front();
  }
  side.push_back(std::move(step));
}

bool TPaintHistory::Undo(int maxSteps, std::vector<TRect>& restored) {
  restored.clear();
  if (FUndo.empty()) return false;
  TStep step = std::move(FUndo.back());
  FUndo.pop_back();
  SwapIn(step, restored);
  Keep(FRedo, std::move(step), maxSteps);
  Reopen();
  return true;
}

bool TPaintHistory::Redo(int maxSteps, std::vector<TRect>& restored) {
  restored.clear();
  if (FRedo.empty()) return false;
  TStep step = std::move(FRedo.back());
  FRedo.pop_back();
  SwapIn(step, restored);
  Keep(FUndo, std::move(step), maxSteps);
  Reopen();
  return true;
}

void TPaintHistory::SwapIn(TStep& step, std::vector<TRect>& restored) {
  if (step.Whole) {
    std::swap(FColour, step.WholeColour);
    std::swap(FOutline, step.WholeOutline);
    FollowLayerSize();
    if (!FColour.IsEmpty()) restored.push_back({0, 0, FColour.Width(), FColour.Height()});
    return;
  }
  // Steps are made at the layers' size, and a size change makes the open
  // step whole, so a saved piece always lies inside the present layers; one
  // outside would be a broken history and is left alone.
  Release(FSwap);
  for (const TPiece& piece : step.Pieces) {
    const TRect& r = piece.Area;
    if (r.Right > FColour.Width() || r.Bottom > FColour.Height()) continue;
    KeepPiece(FSwap, piece.Layer, r);
    LoadPiece(piece, FColour, FOutline);
    restored.push_back(r);
  }
  std::swap(step.Pieces, FSwap.Pieces);
  std::swap(step.Chunks, FSwap.Chunks);
  std::swap(step.ChunkUsed, FSwap.ChunkUsed);
  Release(FSwap);
}

void TPaintHistory::ForgetRedo() {
  for (TStep& step : FRedo) Release(step);
  FRedo.clear();
}

void TPaintHistory::Clear() {
  for (TStep& step : FUndo) Release(step);
  FUndo.clear();
  ForgetRedo();
  Reopen();
}

}  // namespace tw
