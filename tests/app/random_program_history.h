// The random test's reference for the undo history: two plain lists of
// whole layers, the ones each undo must bring back and the ones each redo
// must bring back, kept as the painter's history is meant to be. An action
// that pushes a step (a fill, the start of a stroke, a wash) adds the
// layers from just before it and forgets every redo; the oldest entry of a
// list goes when it holds more than MaxHistory; an undo takes the newest
// undo entry and keeps the layers it replaced for a redo, a redo the other
// way round; opening a picture empties both.
#pragma once

#include <deque>
#include <string>

#include "painter/RasterU.h"

namespace tw {
class TPainterModel;
}

namespace tw::test {

struct TLayers {
  TRaster24 Color;
  TRaster1 Outline;
};

class TUndoReference {
 public:
  explicit TUndoReference(int MaxHistory) : FMaxHistory(MaxHistory) {}

  void Push(const TLayers& Before);
  // An undo happened to the layers Before: the painter must now hold the
  // newest undo entry. The problem found, or an empty text.
  std::string Undone(const TPainterModel& Painter, const TLayers& Before);
  // A redo happened to the layers Before: the painter must now hold the
  // newest redo entry.
  std::string Redone(const TPainterModel& Painter, const TLayers& Before);
  void Clear() {
    FSteps.clear();
    FRedo.clear();
  }
  // The painter holds as many undo and redo steps as the reference.
  std::string CheckDepth(const TPainterModel& Painter) const;

 private:
  void Keep(std::deque<TLayers>& Steps, const TLayers& Layers) const;

  int FMaxHistory;
  std::deque<TLayers> FSteps;
  std::deque<TLayers> FRedo;
};

}  // namespace tw::test
