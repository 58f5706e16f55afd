#include "painter/PaintHistoryU.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tw {
namespace {

int ShiftOf(int tileSize) {
  int shift = 0;
  while (shift < 8 && (2 << shift) <= tileSize) ++shift;
  return shift;
}

size_t TileBytes(int shift, int bytesPerPixel) {
  return (size_t(1) << (2 * shift)) * size_t(bytesPerPixel);
}

}  // namespace

TPaintHistory::TPaintHistory(TRaster24& colour, TRaster1& outline, int tileSize)
    : FColour(colour),
      FOutline(outline),
      FShift(ShiftOf(tileSize)),
      FColourTiles{3, TTilePool(TileBytes(FShift, 3)), {}, &TStep::Colour},
      FOutlineTiles{1, TTilePool(TileBytes(FShift, 1)), {}, &TStep::Outline} {}

uint8_t* TPaintHistory::LayerRow(const TLayerTiles& layer, int y) const {
  return &layer == &FColourTiles ? FColour.Row(y) : FOutline.Row(y);
}

TRect TPaintHistory::TileRect(int index, int width, int height) const {
  const int size = TileSize();
  const int tilesX = std::max((width + size - 1) / size, 1);
  const int tx = index % tilesX, ty = index / tilesX;
  return {tx * size, ty * size, std::min((tx + 1) * size, width),
          std::min((ty + 1) * size, height)};
}

void TPaintHistory::SaveTile(TLayerTiles& layer, int index) {
  TStep& step = FUndo.back();
  const TRect r = TileRect(index);
  TTilePool::TBlock block = layer.Pool.Take();
  const size_t blockStride = size_t(TileSize()) * size_t(layer.BytesPerPixel);
  const size_t bytes = size_t(r.Width()) * size_t(layer.BytesPerPixel);
  const size_t left = size_t(r.Left) * size_t(layer.BytesPerPixel);
  for (int y = r.Top; y < r.Bottom; ++y)
    std::memcpy(block.get() + size_t(y - r.Top) * blockStride, LayerRow(layer, y) + left, bytes);
  (step.*layer.Saved).push_back({uint32_t(index), std::move(block)});
  layer.Stamp[size_t(index)] = FSerial;
}

void TPaintHistory::BeforeChange(const TRect& area, bool colour, bool outline) {
  if (!FRecording) return;
  const TRect r = IntersectRect(area, {0, 0, FColour.Width(), FColour.Height()});
  if (r.IsEmpty()) return;
  for (int ty = r.Top >> FShift; ty <= (r.Bottom - 1) >> FShift; ++ty)
    for (int tx = r.Left >> FShift; tx <= (r.Right - 1) >> FShift; ++tx) {
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
  const int size = TileSize();
  const int tilesX = (FColour.Width() + size - 1) / size;
  const int tilesY = (FColour.Height() + size - 1) / size;
  if (tilesX != FTilesX || tilesY != FTilesY) {
    FTilesX = tilesX;
    FTilesY = tilesY;
    const size_t count = size_t(tilesX) * size_t(tilesY);
    for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles}) {
      layer->Stamp.assign(count, 0);
      // The blocks of one picture's worth of tiles are kept for reuse.
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
  const int tiles = ((w + TileSize() - 1) >> FShift) * ((h + TileSize() - 1) >> FShift);
  for (TLayerTiles* layer : {&FColourTiles, &FOutlineTiles}) {
    const size_t bpp = size_t(layer->BytesPerPixel);
    const size_t blockStride = size_t(TileSize()) * bpp;
    for (const TSavedTile& tile : step.*layer->Saved) {
      if (tile.Index >= uint32_t(tiles)) continue;
      const TRect r = TileRect(int(tile.Index), w, h);
      for (int y = r.Top; y < r.Bottom; ++y) {
        uint8_t* row = layer == &FColourTiles ? colour.Row(y) : outline.Row(y);
        std::memcpy(row + size_t(r.Left) * bpp,
                    tile.Pixels.get() + size_t(y - r.Top) * blockStride,
                    size_t(r.Width()) * bpp);
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
  const size_t blockStride = size_t(TileSize()) * size_t(layer.BytesPerPixel);
  const size_t bytes = size_t(r.Width()) * size_t(layer.BytesPerPixel);
  const size_t left = size_t(r.Left) * size_t(layer.BytesPerPixel);
  uint8_t buffer[256 * 3];
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* saved = tile.Pixels.get() + size_t(y - r.Top) * blockStride;
    uint8_t* now = LayerRow(layer, y) + left;
    std::memcpy(buffer, now, bytes);
    std::memcpy(now, saved, bytes);
    std::memcpy(saved, buffer, bytes);
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
