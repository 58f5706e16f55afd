// TFMain's dropper and mix tray: the dropper's rules are TDropper's; here
// its sounds and cursor, and the mix tray's clicks for every tool.
#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "painter/qt/PainterQtU.h"
#include "controls/PaintGridU.h"
#include "palette/qt/ToolCursorsU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

static_assert(TDropper::MaxDrops == MaxDropperDrops, "a cursor for every number of drops");

void TFMain::SetDropper(int Count, TColor Color) {
  FDropper.Set(Count, Color);
  ShowDropper();
}

void TFMain::ShowDropper() {
  if (!FUseImgCursors || !FToolCursors) return;
  if (FDropper.Count() > 0) FToolCursors->TintDropper(FDropper.Count(), FDropper.Color());
  if (FPainter->PaintMode() == pmDropper) SetCursor(crDropper0 - 1 + FDropper.Count());
}

void TFMain::DropperTake(TColor Color) {
  if (!FDropper.Take(Color)) return;
  PlayCue(cueDropperIn);
  ShowDropper();
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
      switch (FDropper.WellClick(well)) {
        case TDropper::TWellClick::Take:
          DropperTake(well);
          break;
        case TDropper::TWellClick::Squeeze:
          PlayCue(cueDropperOut);
          FMixTray->SetColor(Index, FDropper.Squeeze(well));
          ShowDropper();
          if (QCSetting().ReadMixToBrush()) SelectWell(PaintWellCount + Index);
          break;
        case TDropper::TWellClick::Nothing:
          break;
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
