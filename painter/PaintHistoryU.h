// TPaintHistory: the undo and redo steps of the paint model's two layers.
//
// A step holds only what its action changed: the layers are cut into
// tiles, and the newest undo step (the open step) saves each tile of either
// layer just before the first change to it, so a step costs memory and time
// in proportion to the area changed, not to the picture. When the layers are
// replaced by ones of another size, the open step takes the old layers whole
// instead. Undo and redo swap a step's saved pixels with the layers', so the
// step that leaves one side arrives on the other holding exactly what was
// replaced, and no pixels are copied twice.
//
// Why this is exact: the open step holds the layers as they were when it
// began on the tiles it saved, and the layers have not changed anywhere else
// since. Every step below it stands in the same relation to the step above
// it, so undoing steps one by one gives back each earlier state byte for
// byte. The model must announce every change before it makes it.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"
#include "painter/TilePoolU.h"

namespace tw {

class TPaintHistory {
 public:
  // One row high and narrow: a fill announces its changes row by row, and
  // what a step saves beyond the pixels that change is at most a tile's
  // width at either end of a run. Neighbouring tiles of a row are saved
  // together with one copy, so narrow tiles cost no more per pixel.
  static constexpr int DefaultTileWidth = 64;
  static constexpr int DefaultTileHeight = 1;

  // Works on the given layers, which must outlive it. The tile sides are
  // rounded down to powers of two between 1 and 256.
  TPaintHistory(TRaster24& colour, TRaster1& outline, int tileWidth = DefaultTileWidth,
                int tileHeight = DefaultTileHeight);
  TPaintHistory(const TPaintHistory&) = delete;
  TPaintHistory& operator=(const TPaintHistory&) = delete;

  int TileWidth() const { return 1 << FShiftX; }
  int TileHeight() const { return 1 << FShiftY; }
  int UndoSteps() const { return int(FUndo.size()); }
  int RedoSteps() const { return int(FRedo.size()); }

  // Begins a new undo step from the layers as they are; with maxSteps held
  // already, the oldest step goes.
  void Push(int maxSteps);
  // Restores the newest undo step; what it replaced becomes a redo step
  // (none when maxSteps is 0 or less). restored receives the rectangles that
  // changed, the whole picture when the step held the layers whole. False
  // when there is nothing to undo.
  bool Undo(int maxSteps, std::vector<TRect>& restored);
  bool Redo(int maxSteps, std::vector<TRect>& restored);
  void ForgetRedo();
  void Clear();

  // True while the open step saves tiles: changes must be announced.
  bool Recording() const { return FRecording; }
  // Before pixels x0..x1-1 (x0 < x1) of row y of the colour layer change.
  void BeforeColourRun(int y, int x0, int x1) {
    const int ty = y >> FShiftY;
    const uint32_t* stamp = FColourTiles.Stamp.data() + size_t(ty) * size_t(FTilesX);
    for (int tx = x0 >> FShiftX, last = (x1 - 1) >> FShiftX; tx <= last; ++tx)
      if (stamp[tx] != FSerial) {
        SaveColourRun(y, ty, tx, last);
        return;
      }
  }
  // Before pixels inside r change in the colour layer, the outline layer or
  // both.
  void BeforeChange(const TRect& r, bool colour, bool outline);
  // Before the layers are replaced by ones of another size (or none): the
  // open step takes them whole, and the caller builds new ones. The layers
  // are left empty.
  void BeforeResize();

 private:
  enum TLayerId : uint8_t { lyColour, lyOutline };
  // Neighbouring tiles of one tile row of a layer, saved together: the
  // rectangle's rows lie Stride bytes apart from Pixels on, or, with Stride
  // 0, Pixels holds them as runs of equal pixels (HistoryRowsU), row after
  // row.
  struct TPiece {
    TRect Area;
    uint8_t* Pixels;
    uint32_t Stride;
    TLayerId Layer;
  };
  struct TStep {
    std::vector<TPiece> Pieces;
    // The pieces' pixels, packed one after another.
    std::vector<TTilePool::TBlock> Chunks;
    size_t ChunkUsed = 0;
    // Set when the step holds the layers whole.
    bool Whole = false;
    TRaster24 WholeColour;
    TRaster1 WholeOutline;
  };
  // One layer's bytes per pixel and, per tile, the serial of the step that
  // saved it.
  struct TLayerTiles {
    int BytesPerPixel;
    std::vector<uint32_t> Stamp;
  };

  // SaveTiles for the colour run of row y, after asking for the row the run
  // after it will most likely need.
  void SaveColourRun(int y, int ty, int first, int last);
  // Saves the tiles first..last of tile row ty that the open step has not
  // saved yet.
  void SaveTiles(TLayerTiles& layer, int ty, int first, int last);
  void SavePiece(TLayerTiles& layer, int ty, int first, int last);
  // Keeps the pixels of area of a layer in step, from the layer or from
  // pixels laid out like it from at on, rows rowStride bytes apart. area is a
  // whole number of tiles wide but for the layer's edge.
  void KeepPiece(TStep& step, TLayerId id, const TRect& area);
  void KeepPixels(TStep& step, TLayerId id, const TRect& area, const uint8_t* at,
                  size_t rowStride);
  // Room for bytes (at most a chunk) in the step's newest chunk or a new one.
  uint8_t* Room(TStep& step, size_t bytes);
  // Writes the piece's pixels from at on, rows rowStride bytes apart.
  static void LoadPiece(const TPiece& piece, uint8_t* at, size_t rowStride);
  // Loads the piece into the colour or the outline layer.
  static void LoadPiece(const TPiece& piece, TRaster24& colour, TRaster1& outline);
  TLayerTiles& Tiles(TLayerId id) { return id == lyColour ? FColourTiles : FOutlineTiles; }
  // Sets the stamp of every tile the piece covers.
  void StampPiece(const TPiece& piece, uint32_t serial);
  // The tile grid follows the layers' size.
  void FollowLayerSize();
  // A serial no stamp holds yet.
  void NextSerial();
  // The newest undo step (if any) becomes the open step: the tile grid
  // follows the layers' size and the step's tiles are marked as saved.
  void Reopen();
  void Release(TStep& step);
  // Appends a step that left the other side to this side, dropping the
  // oldest when maxSteps are held. With maxSteps 0 or less the step is not
  // kept, and the newest step already on this side, made against the layers
  // the step now holds, is made against the present layers instead.
  void Keep(std::deque<TStep>& side, TStep&& step, int maxSteps);
  void Rebase(TStep& newest, TStep& replaced);
  // Copies the step's saved pieces into layers of the size it was made at.
  void PutBack(const TStep& step, TRaster24& colour, TRaster1& outline) const;
  // The step's pieces go back into the layers, and the step holds what
  // they replaced instead.
  void SwapIn(TStep& step, std::vector<TRect>& restored);
  int BytesPerPixel(TLayerId id) const { return id == lyColour ? 3 : 1; }
  uint8_t* LayerRow(TLayerId id, int y) const {
    return id == lyColour ? FColour.Row(y) : FOutline.Row(y);
  }

  TRaster24& FColour;
  TRaster1& FOutline;
  int FShiftX;
  int FShiftY;
  int FTilesX = 0;
  int FTilesY = 0;
  // The open step's serial; a tile is saved in it when its stamp equals it.
  uint32_t FSerial = 1;
  bool FRecording = false;
  // The row of the last colour run saved, to tell the way a fill is going.
  int FLastRunRow = -1;
  TLayerTiles FColourTiles;
  TLayerTiles FOutlineTiles;
  TTilePool FChunks;
  std::deque<TStep> FUndo;
  // Where an undo or redo keeps what it replaces; kept to reuse its blocks.
  TStep FSwap;
  // What each undo replaced, the newest last.
  std::deque<TStep> FRedo;
};

}  // namespace tw
