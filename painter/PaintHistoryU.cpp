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

// A saved tile's block: one 4-byte header per row, then room for each row's
// pixels, which the row keeps as HistoryRowsU says.
size_t TileBytes(int shiftX, int shiftY, int bytesPerPixel) {
  const size_t width = size_t(1) << shiftX, rows = size_t(1) << shiftY;
  return rows * 4 + rows * width * size_t(bytesPerPixel);
}

struct TRowSlot {
  uint8_t* Header;
  uint8_t* Pixels;
};

TRowSlot RowSlot(uint8_t* block, int shiftX, int shiftY, int bytesPerPixel, int row) {
  const size_t width = size_t(1) << shiftX, rows = size_t(1) << shiftY;
  return {block + size_t(row) * 4,
          block + rows * 4 + size_t(row) * width * size_t(bytesPerPixel)};
}

uint32_t ReadHeader(const TRowSlot& slot) {
  uint32_t value;
  std::memcpy(&value, slot.Header, 4);
  return value;
}

void WriteHeader(const TRowSlot& slot, uint32_t value) { std::memcpy(slot.Header, &value, 4); }

}  // namespace

TPaintHistory::TPaintHistory(TRaster24& colour, TRaster1& outline, int tileWidth,
                             int tileHeight)
    : FColour(colour),
      FOutline(outline),
      FShiftX(ShiftOf(tileWidth)),
      FShiftY(ShiftOf(tileHeight)),
      FColourTiles{3, TTilePool(TileBytes(FShiftX, FShiftY, 3)), {}, &TStep::Colour},
      FOutlineTiles{1, TTilePool(TileBytes(FShiftX, FShiftY, 1)), {}, &TStep::Outline} {}

uint8_t* TPaintHistory::LayerRow(const TLayerTiles& layer, int y) const {
  return &layer == &FColourTiles ? FColour.Row(y) : FOutline.Row(y);
}

TRect TPaintHistory::TileRect(int index, int width, int height) const {
  const int tw = TileWidth(), th = TileHeight();
  const int tilesX = std::max((width + tw - 1) / tw, 1);
  const int tx = index % tilesX, ty = index / tilesX;
  return {tx * tw, ty * th, std::min((tx + 1) * tw, width), std::min((ty + 1) * th, height)};
}

void TPaintHistory::SaveTile(TLayerTiles& layer, int index) {
  TStep& step = FUndo.back();
  const TRect r = TileRect(index);
  TTilePool::TBlock block = layer.Pool.Take();
  const int bpp = layer.BytesPerPixel;
  const size_t left = size_t(r.Left) * size_t(bpp);
  for (int y = r.Top; y < r.Bottom; ++y) {
    const TRowSlot slot = RowSlot(block.get(), FShiftX, FShiftY, bpp, y - r.Top);
    WriteHeader(slot, StoreRow(LayerRow(layer, y) + left, r.Width(), bpp, slot.Pixels));
  }
  (step.*layer.Saved).push_back({uint32_t(index), std::move(block)});
  layer.Stamp[size_t(index)] = FSerial;
}

void TPaintHistory::BeforeChange(const TRect& area, bool colour, bool outline) {
  if (!FRecording) return;
  const TRect r = IntersectRect(area, {0, 0, FColour.Width(), FColour.Height()});
  if (r.IsEmpty()) return;
  for (int ty = r.Top >> FShiftY; ty <= (r.Bottom - 1) >> FShiftY; ++ty)
    for (int tx = r.Left >> FShiftX; tx <= (r.Right - 1) >> FShiftX; ++tx) {
      const int index = ty * FTilesX + tx;
      if (colour && FColourTiles.Stamp[size_t(index)] != FSerial) SaveTile(FColourTiles, index);
      if (outline && FOutlineTiles.Stamp[size_t(index)] != FSerial)
        SaveTile(FOutlineTiles, index);
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
  const int tilesX = (FColour.Width() + TileWidth() - 1) / TileWidth();
  const int tilesY = (FColour.Height() + TileHeight() - 1) / TileHeight();
  if (tilesX != FTilesX || tilesY != FTilesY) {
    FTilesX = tilesX;
    FTilesY = tilesY;
    const size_t count = size_t(tilesX) * size_t(tilesY);
    for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles}) {
      layer->Stamp.assign(count, 0);
      // The blocks of two pictures' worth of tiles are kept for reuse: a
      // full history of small changes comes back whole when a picture is
      // left, and the next visit takes them again.
      layer->Pool.SetKeepLimit(2 * count);
    }
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

void TPaintHistory::Reopen() {
  FollowLayerSize();
  NextSerial();
  FRecording = !FUndo.empty() && !FUndo.back().Whole && !FColour.IsEmpty();
  if (!FRecording) return;
  for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles})
    for (const TSavedTile& tile : FUndo.back().*layer->Saved) layer->Stamp[tile.Index] = FSerial;
}

void TPaintHistory::Release(TStep& step) {
  for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles}) {
    for (TSavedTile& tile : step.*layer->Saved) layer->Pool.Give(std::move(tile.Pixels));
    (step.*layer->Saved).clear();
  }
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

void TPaintHistory::PutBack(TStep& step, TRaster24& colour, TRaster1& outline) {
  const int w = colour.Width(), h = colour.Height();
  const int tiles = ((w + TileWidth() - 1) >> FShiftX) * ((h + TileHeight() - 1) >> FShiftY);
  for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles}) {
    const int bpp = layer->BytesPerPixel;
    for (const TSavedTile& tile : step.*layer->Saved) {
      if (tile.Index >= uint32_t(tiles)) continue;
      const TRect r = TileRect(int(tile.Index), w, h);
      for (int y = r.Top; y < r.Bottom; ++y) {
        uint8_t* row = layer == &FColourTiles ? colour.Row(y) : outline.Row(y);
        const TRowSlot slot = RowSlot(tile.Pixels.get(), FShiftX, FShiftY, bpp, y - r.Top);
        LoadRow(row + size_t(r.Left) * size_t(bpp), r.Width(), bpp, ReadHeader(slot), slot.Pixels);
      }
    }
  }
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
  // replaced step holds, are what it must give back.
  NextSerial();
  for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles}) {
    const size_t tiles = layer->Stamp.size();
    for (const TSavedTile& tile : newest.*layer->Saved)
      if (tile.Index < tiles) layer->Stamp[tile.Index] = FSerial;
    for (TSavedTile& tile : replaced.*layer->Saved) {
      if (tile.Index >= tiles || layer->Stamp[tile.Index] == FSerial)
        layer->Pool.Give(std::move(tile.Pixels));
      else
        (newest.*layer->Saved).push_back(std::move(tile));
    }
    (replaced.*layer->Saved).clear();
  }
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
  for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles})
    for (TSavedTile& tile : step.*layer->Saved) SwapTile(*layer, tile, restored);
}

void TPaintHistory::SwapTile(TLayerTiles& layer, TSavedTile& tile, std::vector<TRect>& restored) {
  // Steps are made at the layers' size, and a size change makes the open
  // step whole, so a saved tile always lies on the present grid; a tile off
  // it would be a broken history and is left alone.
  if (tile.Index >= uint32_t(FTilesX) * uint32_t(FTilesY)) return;
  const TRect r = TileRect(int(tile.Index));
  const int bpp = layer.BytesPerPixel;
  const size_t left = size_t(r.Left) * size_t(bpp);
  uint8_t buffer[256 * 3];
  for (int y = r.Top; y < r.Bottom; ++y) {
    const TRowSlot slot = RowSlot(tile.Pixels.get(), FShiftX, FShiftY, bpp, y - r.Top);
    uint8_t* now = LayerRow(layer, y) + left;
    // The present row is kept aside before the saved one overwrites it.
    const uint32_t present = StoreRow(now, r.Width(), bpp, buffer);
    LoadRow(now, r.Width(), bpp, ReadHeader(slot), slot.Pixels);
    WriteHeader(slot, present);
    std::memcpy(slot.Pixels, buffer, RowBytes(present, r.Width(), bpp));
  }
  restored.push_back(r);
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
