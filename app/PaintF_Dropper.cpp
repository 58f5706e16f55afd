// TFMain's dropper and mix tray: taking paint drop by drop (at most five of
// one colour), squeezing it into a mix well where it mixes with the paint
// already there by one sixth per drop, and the mix tray's clicks for the
// other tools.
#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "painter/QPixelsMemU.h"
#include "painter/qt/PainterQtU.h"
#include "palette/qt/PaintGridU.h"
#include "palette/qt/ToolCursorsU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

void TFMain::SetDropper(int Count, TColor Color) {
  FDropperCount = std::clamp(Count, 0, MaxDropperDrops);
  FDropperColor = Color;
  if (!FUseImgCursors || !FToolCursors) return;
  if (FDropperCount > 0) FToolCursors->TintDropper(FDropperCount, Color);
  if (FPainter->PaintMode() == pmDropper) SetCursor(crDropper0 - 1 + FDropperCount);
}

void TFMain::DropperTake(TColor Color) {
  if (Color != FDropperColor) {
    PlayCue(cueDropperIn);
    SetDropper(1, Color);
  } else if (FDropperCount < MaxDropperDrops) {
    PlayCue(cueDropperIn);
    SetDropper(FDropperCount + 1, Color);
  }
}

void TFMain::MixTrayClick(int Index) {
  const TColor well = FMixTray->GetColor(Index);
  const bool empty = well == clNone;
  switch (FPainter->PaintMode()) {
    case pmFill:
    case pmBrush:
    case pmMBrush:
      if (!empty) SelectWell(PaintWellCount + Index);
      break;
    case pmDropper:
      if ((FDropperCount == 0 || well == FDropperColor) && !empty) {
        DropperTake(well);
      } else if (FDropperCount > 0) {
        PlayCue(cueDropperOut);
        const TColor mixed =
            empty ? FDropperColor : MixColors(well, FDropperColor, FDropperCount / 6.0);
        FMixTray->SetColor(Index, mixed);
        SetDropper(0, clNone);
        if (QCSetting().ReadMixToBrush()) SelectWell(PaintWellCount + Index);
      }
      break;
    case pmTap:
      if (!empty) {
        PlayCue(cueWash);
        FMixTray->SetColor(Index, clNone);
      }
      break;
    case pmMarker:
    case pmEraser:
      break;
  }
}

}  // namespace tw
