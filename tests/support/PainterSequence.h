// Random action sequences for the paint model, checked against the plain
// reference after every action. An action is plain data, so a sequence that
// fails can be replayed on a fresh model and shrunk to the fewest actions
// that still fail. The choices come from a random generator in the unit
// tests and from the fuzzer's bytes in the fuzz target.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "painter/PainterU.h"
#include "support/ReferencePainter.h"

namespace tw::test {

// Where the choices of a sequence come from.
class TChoices {
 public:
  virtual ~TChoices() = default;
  // A number in 0 .. bound - 1 (bound >= 1).
  virtual uint32_t Below(uint32_t bound) = 0;
  // No more choices: the sequence ends.
  virtual bool Exhausted() const { return false; }
  int Between(int lo, int hi) { return lo + int(Below(uint32_t(hi - lo + 1))); }
};

class TRandomChoices : public TChoices {
 public:
  explicit TRandomChoices(uint32_t seed) : FRng(seed) {}
  uint32_t Below(uint32_t bound) override { return uint32_t(FRng() % bound); }

 private:
  std::mt19937 FRng;
};

// Reads the choices from bytes; once they run out every choice is 0 and
// the sequence ends.
class TByteChoices : public TChoices {
 public:
  TByteChoices(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
  uint32_t Below(uint32_t bound) override;
  bool Exhausted() const override { return FPos >= FSize; }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

enum class TActionKind {
  Color,
  Mix,
  Brush,
  Tool,
  Press,
  Move,
  Release,
  Wash,
  Undo,
  Redo,
  Depth,
  ClearHistory,
  LoadPicture,
  LoadLayer,
  Save,
  Scale,
  Dropper,
};

struct TPainterAction {
  TActionKind Kind;
  // Point, size, colour, mode or depth, as the kind needs.
  int A = 0;
  int B = 0;
  uint32_t C = 0;
  int D = 0;
};

std::string Describe(const TPainterAction& action);
std::string Describe(const std::vector<TPainterAction>& actions);

// Small line art of the given size, made from a seed.
TRaster24 SequencePicture(int width, int height, uint32_t seed);

// The size of the tiles the engine's undo steps save.
struct THistoryTile {
  int Width = 4;
  int Height = 4;
};

// One engine and one reference driven in step.
class TPainterSequence {
 public:
  // Saves go to files in WorkFolder, which must exist. Small history tiles
  // put many tile edges into the small pictures of a sequence.
  explicit TPainterSequence(std::string workFolder, THistoryTile historyTile = {});
  ~TPainterSequence();

  // The next action, chosen to suit the state (points near the picture,
  // drags near the last point).
  TPainterAction Next(TChoices& choices) const;
  // Applies the action to both and compares them. Returns what differs, or
  // an empty text when they agree.
  std::string Apply(const TPainterAction& action);

  const TPainterModel& Engine() const;

 private:
  class TObservedPainter;
  std::string Compare(const TReferenceLayers& before, bool expectClick) const;
  std::string CheckSave(const TPainterAction& action) const;

  std::string FWorkFolder;
  std::unique_ptr<TObservedPainter> FEngine;
  TReferencePainter FReference;
  TPoint FLastPoint;
  std::vector<TPoint> FClicks;
  std::optional<TPoint> FExpectedClick;
};

// Runs actions on a fresh pair; the index of the first failing action and
// what failed, or -1.
struct TSequenceFailure {
  int Index = -1;
  std::string What;
};
TSequenceFailure ReplaySequence(const std::vector<TPainterAction>& actions,
                                const std::string& workFolder, THistoryTile historyTile = {});

}  // namespace tw::test
