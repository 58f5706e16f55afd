// TDropper: the dropper's paint and its rules, apart from the window that
// shows them. It holds up to MaxDrops drops of one colour. Taking a colour
// it does not hold empties it and takes one drop of the new colour; taking
// the colour it holds adds a drop until it is full. Clicking a mix well
// takes a drop of the well's paint when the dropper is empty or holds that
// very paint; otherwise a dropper with paint squeezes it all into the well,
// where an empty well gets the dropper's colour and a well with paint mixes
// with it by one sixth per drop. It knows nothing of sounds or cursors: the
// window plays and shows what the answers say.
#pragma once

#include "painter/PaintCommonU.h"

namespace tw {

class TDropper {
 public:
  static constexpr int MaxDrops = 5;

  int Count() const { return FCount; }
  // clNone while empty.
  TColor Color() const { return FCount > 0 ? FColor : clNone; }
  bool Empty() const { return FCount == 0; }

  // Holds Count drops (kept within 0..MaxDrops) of Color; none is empty.
  void Set(int Count, TColor Color);
  // Takes one drop of Color; false when nothing changed (already full of it).
  bool Take(TColor Color);

  // What a click on a mix well holding Well (clNone: empty) does.
  enum class TWellClick { Nothing, Take, Squeeze };
  TWellClick WellClick(TColor Well) const;
  // Squeezes every drop into a mix well holding Well (clNone: empty) and
  // returns the well's new colour; the dropper is empty afterwards.
  TColor Squeeze(TColor Well);

 private:
  int FCount = 0;
  TColor FColor = clNone;
};

}  // namespace tw
