// The dropper's rules: taking drops and squeezing them into a mix well.
#include "app/DropperU.h"

#include <algorithm>

#include "painter/QPixelsMemU.h"

namespace tw {

void TDropper::Set(int Count, TColor Color) {
  FCount = std::clamp(Count, 0, MaxDrops);
  FColor = Color;
}

bool TDropper::Take(TColor Color) {
  if (Color != FColor) {
    Set(1, Color);
    return true;
  }
  if (FCount >= MaxDrops) return false;
  Set(FCount + 1, Color);
  return true;
}

TDropper::TWellClick TDropper::WellClick(TColor Well) const {
  const bool WellEmpty = Well == clNone;
  if ((FCount == 0 || Well == FColor) && !WellEmpty) return TWellClick::Take;
  if (FCount > 0) return TWellClick::Squeeze;
  return TWellClick::Nothing;
}

TColor TDropper::Squeeze(TColor Well) {
  const TColor Mixed = Well == clNone ? FColor : MixColors(Well, FColor, FCount / 6.0);
  Set(0, clNone);
  return Mixed;
}

}  // namespace tw
