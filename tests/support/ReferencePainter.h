// The paint model written the plain way, as the reference the engine is
// checked against: every layer a vector of pixels, every fill a
// breadth-first search, every stroke segment a test of each pixel near it
// against the coverage predicates, the line art laid over the whole colour
// layer after every change, and every undo step a whole copy of both layers.
// It is slow on purpose and holds no shortcut of the engine's: no border
// map, no skipped runs, no reuse of history blocks.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"

namespace tw::test {

struct TReferenceLayers {
  int Width = 0;
  int Height = 0;
  std::vector<TColor> Color;
  // true where the outline is black (line art).
  std::vector<bool> Line;
  friend bool operator==(const TReferenceLayers&, const TReferenceLayers&) = default;
};

TReferenceLayers LayersOf(const TRaster24& color, const TRaster1& outline);

class TReferencePainter {
 public:
  int MaxHistory = 10;

  void SetBrushSize(int value);
  void SetPaintColor(TColor value);
  // Changing the tool ends a stroke in progress.
  void SetPaintMode(TPaintMode value);
  void SetMixMode(TPaintMixMode value) { FMix = value; }

  void LoadPicture(const TRaster24& picture);
  void AssignLayer(const TRaster24& bitmap, bool whole);
  void Wash();
  void Undo();
  void Redo();
  void ClearHistory() {
    FHistory.clear();
    FRedo.clear();
  }
  // A press; returns the point OnClickAt reports, or nothing when the press
  // had no effect.
  std::optional<TPoint> Press(TPoint pt);
  void MoveTo(TPoint pt);
  void Release() { FStroking = false; }
  TColor ColorAt(TPoint pt) const;

  const TReferenceLayers& Layers() const { return FNow; }
  int HistorySteps() const { return int(FHistory.size()); }
  int RedoSteps() const { return int(FRedo.size()); }
  const TReferenceLayers& NewestStep() const { return FHistory.back(); }
  bool Stroking() const { return FStroking; }
  bool HasPicture() const { return FNow.Width > 0; }
  TPaintMode PaintMode() const { return FMode; }

 private:
  void Build(const TRaster24& source);
  void Push();
  // Appends to one side of the history, which keeps MaxHistory steps.
  void Keep(std::deque<TReferenceLayers>& side, const TReferenceLayers& layers) const;
  void Compose();
  void Segment(TPoint to, bool first);
  TColor Combine(TColor old, TColor paint) const;
  TColor EffectivePaint() const;
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < FNow.Width && y < FNow.Height; }
  size_t Index(int x, int y) const { return size_t(y) * size_t(FNow.Width) + size_t(x); }
  // The first neighbour table position around pt inside the picture where
  // isBlack is false.
  template <class TIsBlack>
  std::optional<TPoint> FindNotBlack(TPoint pt, TIsBlack isBlack) const;
  // The 4-connected pixels reachable from seed through pixels where
  // passable holds.
  template <class TPassable>
  std::vector<bool> Region(TPoint seed, TPassable passable) const;

  int FBrushSize = 12;
  TColor FPaint = 0;
  TPaintMode FMode = pmFill;
  TPaintMixMode FMix = mmOver;
  bool FStroking = false;
  TPoint FPrevious;
  TRaster24 FClean;
  TReferenceLayers FNow;
  // The masked brush's region (and all line art) and its work copy.
  std::vector<bool> FMask;
  std::vector<TColor> FScratch;
  std::deque<TReferenceLayers> FHistory;
  // What each undo replaced, the newest last.
  std::deque<TReferenceLayers> FRedo;
};

}  // namespace tw::test
