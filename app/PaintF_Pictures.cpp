// TFMain and the catalog: opening a picture by index (wrapping round the
// list), removing an entry whose file is gone, the stored colourings, the
// title line, and fitting, zooming and centring the picture in the painting
// area.
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/ColoringAutosaveU.h"
#include "app/ColoringStoreU.h"
#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "controls/QBubbleHintU.h"
#include "controls/QFitLabelU.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/CatalogEntryU.h"
#include "pictures/QUtilU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

bool TFMain::PictureOpen() const {
  return FPictureOpen && FCurrentPicture >= 0 && FCurrentPicture < int(FCatalog.size());
}

std::string TFMain::CatalogFolder() const { return QCSetting().ReadPathCatalog(); }

void TFMain::ClearChangedFlags() {
  FColorChanged = false;
  FOutlineChanged = false;
}

TStayColored TFMain::StayColored() { return ClampStayColored(QCSetting().ReadStayColored()); }

TColoringFiles TFMain::ColoringFiles(int Index) const {
  return ColoringFileNames(FCatalog.at(size_t(Index)));
}

void TFMain::CloseCurrentPicture() {
  // A write still running ends before the picture is left; none follows.
  FAutosave->PictureClosed();
  FPictureOpen = false;
  FPaintingArea->hide();
  // The title line names only a picture that is shown.
  FTitleLabel->clear();
  ClearChangedFlags();
}

void TFMain::OpenPicture(int Index) {
  if (FCatalog.empty()) return;
  // A write of this picture still running ends first; when the files then
  // hold every change, there is nothing left to store.
  FAutosave->Settle();
  // Colourings kept in memory earlier may go through now.
  FUnkept.Retry();
  // A colouring that cannot be written (a read-only or full disk) must not
  // keep the child on this page: it stays in memory for this run, and the
  // previous files stay whole.
  try {
    if (!FAutosave->UpToDate()) StoreColoring();
  } catch (const EError& Error) {
    ColoringWriteFailed(Error.what());
    KeepColoringInMemory();
  }
  const int count = int(FCatalog.size());
  FCurrentPicture = Index < 0 ? count - 1 : Index >= count ? 0 : Index;
  PlayCue(cuePageTurn);
  const std::string entry = FCatalog[size_t(FCurrentPicture)];
  const std::string path = CatalogEntryFile(entry, CatalogFolder());
  // From here until the new picture is in the painter no picture counts as
  // open: a load that fails part-way must not let the picture still shown
  // be stored under this entry's name later.
  CloseCurrentPicture();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    ShowMessageKey("capNotFound", "msgNotFound", {entry});
    RemoveMissingPicture();
    throw EAbort();
  }
  FPicture.LoadFromFile(path);
  UpdateTitle();
  // A picture whose image part was damaged has been reported while loading;
  // there is nothing to colour, so the painting area stays hidden.
  if (FPicture.Image().IsEmpty()) return;
  FPainter->LoadPicture(FPicture.Image());
  FPictureOpen = true;
  FPaintingArea->show();
  UpdateFitScale();
  const TStayColored stay = StayColored();
  // Earlier versions kept colourings only of pictures in the catalog folder.
  if (StoresColorings(stay) && !IsPagesEntry(entry))
    PickUpLegacyColoring(LegacyColoringFileNames(entry, QCSetting().ReadPathSave()),
                         ColoringFiles(FCurrentPicture), FPainter->UnscaledWidth(),
                         FPainter->UnscaledHeight());
  LoadColoring(*FPainter, ColoringFiles(FCurrentPicture), stay);
  // A colouring the disk would not take is newer than the files.
  const bool restored = StoresColorings(stay) && FUnkept.Restore(entry, *FPainter);
  FPainter->ClearHistory();
  ClearChangedFlags();
  FAutosave->PictureOpened(ColoringFiles(FCurrentPicture));
  if (restored) {
    FColorChanged = true;
    FOutlineChanged = true;
    AutosaveChanged();
  }
}

void TFMain::RemoveMissingPicture() {
  if (FCurrentPicture < 0 || FCurrentPicture >= int(FCatalog.size())) return;
  FCatalog.erase(FCatalog.begin() + FCurrentPicture);
  QCSetting().WriteCatalog(FCatalog);
  if (FCurrentPicture >= int(FCatalog.size())) --FCurrentPicture;
  OpenPicture(FCurrentPicture);
}

void TFMain::StoreColoring() {
  if (!PictureOpen()) return;
  // A background write must not land after this one with an older state.
  FAutosave->Settle();
  ::tw::StoreColoring(*FPainter, ColoringFiles(FCurrentPicture), FColorChanged, FOutlineChanged,
                      StayColored());
  FAutosave->Discard();
}

void TFMain::DropColoring() {
  // A write still running would bring the files back after the deletion.
  FAutosave->Settle();
  if (PictureOpen()) ::tw::DropColoring(ColoringFiles(FCurrentPicture));
  // The painter shows the clean picture, which is what no files mean.
  FAutosave->Discard();
  ClearChangedFlags();
}

void TFMain::UpdateTitle() {
  const std::string code = Lang().Language();
  const std::string title = FPicture.GetTitle(code);
  const std::string author = FPicture.GetAuthor(code);
  FTitleLabel->setText(QString::fromStdString(author.empty() ? title : title + " - " + author));
}

void TFMain::UpdateFitScale() {
  const double fit = FitScale(FPainter->UnscaledWidth(), FPainter->UnscaledHeight(),
                              FPaintingArea->width(), FPaintingArea->height());
  // A painting area squeezed to nothing would give a zero factor.
  FFitScale = fit > 0 && std::isfinite(fit) ? fit : 1.0;
  ApplyBrushSize();
  ApplyScale();
}

void TFMain::ApplyScale() {
  FPainter->SetScale(FZoom * FFitScale);
  CenterPainter();
}

void TFMain::CenterPainter() {
  FPaintingArea->horizontalScrollBar()->setValue(0);
  FPaintingArea->verticalScrollBar()->setValue(0);
  int areaWidth = FPaintingArea->width();
  int areaHeight = FPaintingArea->height();
  const int w = FPainter->width();
  const int h = FPainter->height();
  AdjustForScrollBars(w, h, areaWidth, areaHeight);
  FPainter->move(std::max(0, (areaWidth - w) / 2), std::max(0, (areaHeight - h) / 2));
}

void TFMain::ApplyBrushSize() {
  // Halves round to even, as every rounding of the painting geometry.
  auto scaled = [this](int Size) { return int(std::nearbyint(Size / FFitScale)); };
  switch (FPainter->PaintMode()) {
    case pmBrush:
    case pmMBrush:
      FPainter->SetBrushSize(scaled(FBrushToolSize));
      break;
    case pmMarker:
      FPainter->SetBrushSize(scaled(FMarkerSize));
      break;
    case pmEraser:
      FPainter->SetBrushSize(scaled(FEraserSize));
      break;
    default:
      break;
  }
}

void TFMain::ShowMessageKey(const std::string& CaptionKey, const std::string& TextKey,
                            const std::vector<std::string>& Args) {
  HideHint();
  std::vector<TFormatArg> args(Args.begin(), Args.end());
  const std::string caption = Lang().GetText(CaptionKey);
  const std::string text = Lang().GetTextFmt(TextKey, args);
  RunInfoDialog(caption, text, std::string());
}

}  // namespace tw
