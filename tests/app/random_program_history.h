// The random test's reference for the undo history: a plain list of the
// layers each undo must bring back, kept as the painter's history is
// meant to be. An action that pushes a step (a fill, the start of a
// stroke, a wash) adds the layers from just before it, the oldest step
// goes when there are more than MaxHistory, an undo takes the newest, and
// opening a picture empties the list.
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
  // An undo happened: the painter must now hold the newest step, which
  // leaves the list. The problem found, or an empty text.
  std::string Undone(const TPainterModel& Painter);
  void Clear() { FSteps.clear(); }
  // The painter holds as many steps as the reference.
  std::string CheckDepth(const TPainterModel& Painter) const;

 private:
  int FMaxHistory;
  std::deque<TLayers> FSteps;
};

}  // namespace tw::test
