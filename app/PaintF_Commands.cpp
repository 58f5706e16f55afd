// TFMain's commands: the buttons, the painter's tool, colour and click
// events with their cues and cursors, the brush-size slider, wells and
// palettes, zoom, undo, the dialog commands and the bubble hints.
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/ApplicationU.h"
#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "app/ParentGateU.h"
#include "controls/QBubbleHintU.h"
#include "controls/QImgButtonU.h"
#include "controls/QSliderU.h"
#include "painter/qt/PainterQtU.h"
#include "palette/PaletteU.h"
#include "controls/PaintGridU.h"
#include "palette/qt/ToolCursorsU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {
namespace {

// The cursor index (cursor id - 1) of each tool, the dropper's without its
// drops.
constexpr int ToolCursorIndex[] = {0, 1, 2, 3, 9, 10, 11};

bool PaintsWithColor(TPaintMode Mode) {
  return Mode == pmFill || Mode == pmBrush || Mode == pmMBrush;
}

}  // namespace

void TFMain::Guarded(const std::function<void()>& Command) {
  DeliverGuarded([&] {
    Command();
    return true;
  });
}

void TFMain::ConnectEvents() {
  auto onPress = [this](TQImgButton* Button, std::function<void()> Command) {
    Button->OnMouseDown = [this, Command](TQHintControl&, Qt::MouseButton, Qt::MouseButtons,
                                          Qt::KeyboardModifiers, int, int) { Guarded(Command); };
  };
  for (int mode = pmFill; mode <= pmTap; ++mode) {
    TQImgButton* button = FToolButtons[size_t(mode)];
    onPress(button, [this, button, mode] { ToolButtonDown(button, TPaintMode(mode)); });
  }
  onPress(FBtnUndo, [this] { UndoCommand(); });
  onPress(FBtnZoomOut, [this] { ZoomOut(); });
  onPress(FBtnZoomIn, [this] { ZoomIn(); });
  onPress(FBtnSave, [this] { SaveCommand(); });
  onPress(FBtnPrint, [this] { PrintCommand(); });
  onPress(FBtnInfo, [this] { InfoCommand(); });
  onPress(FBtnPrevPic, [this] { StepPicture(-1); });
  onPress(FBtnNextPic, [this] { StepPicture(1); });
  onPress(FBtnOptions, [this] { OptionsCommand(); });
  onPress(FBtnPrevPal, [this] { StepPalette(-1); });
  onPress(FBtnNextPal, [this] { StepPalette(1); });
  // The window buttons act on the press too; closing is queued so the
  // button's own press handling ends before the window may go.
  onPress(FBtnClose,
          [this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); });
  onPress(FBtnRestore, [this] { ToggleMaximize(); });
  onPress(FBtnMin, [this] { MinimizeApplication(); });

  FBrushSize->OnChange = [this](TQHintControl&) { Guarded([this] { BrushSizeChange(); }); };
  FPaintTray->OnClickIndex = [this](TPaintGrid&, int32_t Index) {
    Guarded([&] { PaintTrayClick(Index); });
  };
  FMixTray->OnClickIndex = [this](TPaintGrid&, int32_t Index) {
    Guarded([&] { MixTrayClick(Index); });
  };
  // A new palette, a mix, a washed well or one given back by an undo: the
  // mark follows whatever changed a well.
  FPaintTray->OnColorsChange = [this](TPaintGrid&) { UpdateWellMark(); };
  FMixTray->OnColorsChange = [this](TPaintGrid&) { UpdateWellMark(); };
  FPainter->OnClickAt = [this](TPainterModel&, TPoint Pt) { PainterClickAt(Pt); };
  FPainter->OnSetPaintColor = [this](TPainterModel&, TColor Color) { PainterSetPaintColor(Color); };
  FPainter->OnSetPaintMode = [this](TPainterModel&, TPaintMode& Mode) {
    PainterSetPaintMode(Mode);
  };
  // A stroke's release ends its action (its press began it).
  FPainter->OnMouseUp = [this](TPainter&, Qt::MouseButton, Qt::MouseButtons,
                               Qt::KeyboardModifiers, int, int) {
    if (FPainter->Stroking() && PictureOpen()) AutosaveChanged();
  };

  for (TQHintControl* control : findChildren<TQHintControl*>()) {
    if (control->Hint().isEmpty()) continue;
    control->OnShowHint = [this](TQHintControl& Sender) { Guarded([&] { ShowHintFor(Sender); }); };
    control->OnHideHint = [this](TQHintControl&) { HideHint(); };
  }
}

void TFMain::DisconnectEvents() {
  for (TQHintControl* control : findChildren<TQHintControl*>()) {
    control->OnMouseDown = nullptr;
    control->OnShowHint = nullptr;
    control->OnHideHint = nullptr;
  }
  FBrushSize->OnChange = nullptr;
  FPaintTray->OnClickIndex = nullptr;
  FMixTray->OnClickIndex = nullptr;
  FPaintTray->OnColorsChange = nullptr;
  FMixTray->OnColorsChange = nullptr;
  FPainter->OnClickAt = nullptr;
  FPainter->OnSetPaintColor = nullptr;
  FPainter->OnSetPaintMode = nullptr;
  FPainter->OnMouseUp = nullptr;
}

void TFMain::PlayCue(int Cue) {
  if (FStarted) FSounds->PlayCue(Cue);
}

void TFMain::UpdateToolButtons(TQImgButton* Pressed) {
  for (TQImgButton* button : FToolButtons) button->SetDown(button == Pressed);
}

TQImgButton* TFMain::ToolButton(TPaintMode Mode) const { return FToolButtons.at(size_t(Mode)); }

void TFMain::SetCursor(int Index) {
  const QCursor cursor = CursorFromTable(Index + 1);
  const QCursor notAllowed = ProgramCursor(TProgramCursor::No);
  const TPaintMode mode = FPainter->PaintMode();
  FPainter->setCursor(cursor);
  FMixTray->setCursor(mode == pmMarker || mode == pmEraser ? notAllowed : cursor);
  FPaintTray->setCursor(mode == pmMarker || mode == pmEraser || mode == pmTap ? notAllowed
                                                                              : cursor);
}

int TFMain::ToolSize(TPaintMode Mode) const {
  switch (Mode) {
    case pmBrush:
    case pmMBrush:
      return FBrushToolSize;
    case pmMarker:
      return FMarkerSize;
    case pmEraser:
      return FEraserSize;
    default:
      return 0;
  }
}

void TFMain::SetToolSize(int Size) {
  switch (FPainter->PaintMode()) {
    case pmBrush:
    case pmMBrush:
      FBrushToolSize = Size;
      break;
    case pmMarker:
      FMarkerSize = Size;
      break;
    case pmEraser:
      FEraserSize = Size;
      break;
    default:
      return;
  }
  const auto at = std::find(BrushSizes.begin(), BrushSizes.end(), Size);
  if (at != BrushSizes.end()) FBrushSize->SetValue(int32_t(at - BrushSizes.begin()));
  ApplyBrushSize();
}

void TFMain::SetToolSizeEntry(int d) {
  if (d >= 1 && d <= int(BrushSizes.size())) SetToolSize(BrushSizes[size_t(d - 1)]);
}

void TFMain::BrushSizeChange() {
  const int p = std::clamp<int>(FBrushSize->Value(), 0, int(BrushSizes.size()) - 1);
  SetToolSize(BrushSizes[size_t(p)]);
}

void TFMain::ToolButtonDown(TQImgButton* Button, TPaintMode Mode) {
  FPainter->SetPaintMode(Mode);
  UpdateToolButtons(Button);
}

void TFMain::CycleTool() {
  const TPaintMode next =
      FPainter->PaintMode() == pmTap ? pmFill : TPaintMode(int(FPainter->PaintMode()) + 1);
  FPainter->SetPaintMode(next);
  UpdateToolButtons(FToolButtons[size_t(next)]);
  FPointer->SetPos(FPointer->Pos());
}

void TFMain::ShowToolCursor(TPaintMode Mode) {
  SetCursor(ToolCursorIndex[Mode] + (Mode == pmDropper ? FDropper.Count() : 0));
}

void TFMain::PainterSetPaintMode(TPaintMode Mode) {
  if (FUseImgCursors) ShowToolCursor(Mode);
  PlayCue(cueToolChange);
  if (ToolSize(Mode) > 0) SetToolSize(ToolSize(Mode));
}

void TFMain::PainterSetPaintColor(TColor Color) {
  PlayCue(cueGetPaint);
  UpdateWellMark();
  if (!FUseImgCursors || !FToolCursors) return;
  FToolCursors->TintPaint(Color);
  // The widgets hold copies of the old pointers: give them the new ones and
  // move the pointer onto itself so the platform shows it at once.
  const TPaintMode mode = FPainter->PaintMode();
  if (PaintsWithColor(mode)) SetCursor(ToolCursorIndex[mode]);
  FPointer->SetPos(FPointer->Pos());
}

void TFMain::PainterClickAt(TPoint Pt) {
  switch (FPainter->PaintMode()) {
    case pmFill:
      PlayCue(cueSplash);
      FColorChanged = true;
      AutosaveChanged();
      break;
    case pmBrush:
    case pmMBrush:
      PlayCue(cueStrokeUp);
      FColorChanged = true;
      AutosaveChanged();
      break;
    case pmMarker:
    case pmEraser:
      PlayCue(cueStrokeUp);
      FColorChanged = true;
      FOutlineChanged = true;
      AutosaveChanged();
      break;
    case pmDropper: {
      // Black lines are never taken.
      const TColor color = FPainter->ColorAt(Pt);
      if (color != clBlack) DropperTake(color);
      break;
    }
    case pmTap:
      PlayCue(cueWash);
      FPainter->Wash();
      DropColoring();
      break;
  }
}

TColor TFMain::WellColor(int Index) const {
  if (Index >= 0 && Index < PaintWellCount)
    return Index < FPaintTray->Count() ? FPaintTray->GetColor(Index) : clNone;
  if (Index >= PaintWellCount && Index < WellCount)
    return FMixTray->GetColor(Index - PaintWellCount);
  return clNone;
}

void TFMain::SelectWell(int Index) {
  const int direction = Index > FCurrentWell ? 1 : Index < FCurrentWell ? -1 : 0;
  // Empty mix wells are skipped in the direction of travel; the paint tray
  // ends the search, so at most one round is ever needed.
  for (int step = 0; step <= WellCount; ++step) {
    FCurrentWell = Index < 0 ? WellCount - 1 : Index >= WellCount ? 0 : Index;
    const bool emptyMixWell = FCurrentWell >= PaintWellCount && WellColor(FCurrentWell) == clNone;
    if (!emptyMixWell || direction == 0) break;
    Index = FCurrentWell + direction;
  }
  // A paint tray without a palette has empty wells: they give no paint.
  const TColor color = WellColor(FCurrentWell);
  if (color != clNone) FPainter->SetPaintColor(color);
  UpdateWellMark();
}

void TFMain::UpdateWellMark() {
  const TColor well = WellColor(FCurrentWell);
  // Pure black is taken as paint 1 (the line art keeps black to itself).
  const bool holdsPaint =
      well != clNone && (well == clBlack ? 1 : well) == FPainter->PaintColor();
  const bool inPaintTray = FCurrentWell >= 0 && FCurrentWell < PaintWellCount;
  FPaintTray->SetMarked(holdsPaint && inPaintTray ? FCurrentWell : -1);
  FMixTray->SetMarked(holdsPaint && !inPaintTray ? FCurrentWell - PaintWellCount : -1);
}

void TFMain::StepWell(int delta) { SelectWell(FCurrentWell + delta); }

void TFMain::SelectPalette(int Index) {
  const int count = FPalettes->Count();
  FPaintTray->SetGridSize(2, 10);
  // With no enabled palette the tray stays empty and stepping does nothing.
  if (count == 0) return;
  FCurrentPalette = Index < 0 ? count - 1 : Index >= count ? 0 : Index;
  FPaintTray->LoadPalette(FPalettes->Items(FCurrentPalette));
  PlayCue(cuePageTurn);
}

void TFMain::StepPalette(int delta) { SelectPalette(FCurrentPalette + delta); }

void TFMain::PaintTrayClick(int Index) {
  const TColor color = FPaintTray->GetColor(Index);
  if (color == clNone) return;
  const TPaintMode mode = FPainter->PaintMode();
  if (PaintsWithColor(mode))
    // The ringed well is where the well keys step on from.
    SelectWell(Index);
  else if (mode == pmDropper)
    DropperTake(color);
}

void TFMain::StepPicture(int delta) {
  if (!FCatalog.empty()) OpenPicture(FCurrentPicture + delta);
}

void TFMain::ZoomIn() {
  if (FZoom < 4) FZoom *= 2;
  ApplyScale();
}

void TFMain::ZoomOut() {
  if (FZoom > 0.5) FZoom /= 2;
  ApplyScale();
}

void TFMain::UndoCommand() { StepHistory(false); }

void TFMain::RedoCommand() { StepHistory(true); }

void TFMain::StepHistory(bool Redo) {
  if (Redo ? !FPainter->CanRedo() : !FPainter->CanUndo()) return;
  // Both directions sound the same and change both layers.
  PlayCue(cueUndo);
  if (Redo)
    FPainter->Redo();
  else
    FPainter->Undo();
  FColorChanged = true;
  FOutlineChanged = true;
  AutosaveChanged();
}

void TFMain::NextMixMode() { FPainter->SetMixMode(FollowingMixMode(FPainter->MixMode())); }

void TFMain::SaveCommand() { SaveOrPrint(false); }

void TFMain::PrintCommand() { SaveOrPrint(true); }

void TFMain::SaveOrPrint(bool Print) {
  // Without a picture there is nothing to save or print.
  if (!PictureOpen()) return;
  // The parent's locks hold whenever they cannot be read: nothing opens
  // until they can be read again (they are read anew each time).
  try {
    const bool gated = Print ? QCSetting().ReadPasswordPrint() : QCSetting().ReadPasswordSave();
    if (gated && !AskParentPassword(QCSetting(), Lang())) return;
  } catch (const EError& Error) {
    std::fprintf(stderr, "Tintwell: %s\n", Error.what());
    ShowMessageKey("capSettings", "msgLocksUnreadable", {});
    return;
  }
  HideHint();
  FSounds->PauseMusic();
  try {
    if (Print)
      RunPrintDialog(FPicture.GetTitle(Lang().Language()));
    else
      RunSaveDialog(std::filesystem::path(FPicture.FileName()).stem().string());
  } catch (...) {
    FSounds->PlayMusic();
    throw;
  }
  FSounds->PlayMusic();
}

void TFMain::InfoCommand() {
  if (!PictureOpen()) return;
  const std::string code = Lang().Language();
  std::string author = FPicture.GetAuthor(code);
  if (author.empty()) author = Lang().GetText("msgAnon");
  HideHint();
  RunInfoDialog(FPicture.GetTitle(code), FPicture.GetDescription(code), author);
}

void TFMain::OptionsCommand() {
  HideHint();
  RunOptionsDialog();
  UpdateTitle();
}

bool TFMain::CanShowHints() const { return FHintsOn && isActiveWindow(); }

void TFMain::ShowHintFor(TQHintControl& Control) {
  if (!CanShowHints()) return;
  const std::string key = Control.Hint().toStdString();
  auto text = [&](const char* Prefix) {
    return QString::fromStdString(Lang().GetText(Prefix + key));
  };
  FHintBubble->SetTextTitle(text("httl"));
  FHintBubble->SetTextSubtitle(text("hsbt"));
  FHintBubble->SetTextInfo(text("hinf"));
  QRect bounds = Control.geometry();
  if (&Control == FPaintTray) bounds.adjust(0, 48, 0, -48);
  FHintBubble->PlaceNear(bounds);
  FHintBubble->show();
  repaint();
}

void TFMain::HideHint() {
  if (FHintBubble) FHintBubble->hide();
}

}  // namespace tw
