// TFMain as a window: its keys (through TMainKeys), minimising, the music
// following the application's activation, and the close sequence with its
// confirmation, the stored colourings, the settings it leaves behind and the
// farewell message.
#include <QCloseEvent>
#include <QKeyEvent>

#include <cstdio>
#include <filesystem>

#include "app/ColoringAutosaveU.h"
#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "app/PictureChooserU.h"
#include "app/ThumbnailKeyU.h"
#include "controls/QBubbleHintU.h"
#include "controls/PaintGridU.h"
#include "painter/qt/PainterQtU.h"
#include "palette/qt/CursorTableU.h"
#include "palette/qt/ToolCursorsU.h"
#include "pictures/qt/ArtResourceU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

void TFMain::keyPressEvent(QKeyEvent* event) {
  if (ChooserOpen()) {
    // The window's own keys wait until the chooser is closed.
    Guarded([&] { FChooser->KeyPress(*event); });
    event->accept();
    return;
  }
  bool handled = false;
  Guarded([&] { handled = FKeys->KeyPress(*event); });
  if (handled)
    event->accept();
  else
    TfrmQBase::keyPressEvent(event);
}

void TFMain::keyReleaseEvent(QKeyEvent* event) {
  if (ChooserOpen()) {
    event->accept();
    return;
  }
  bool handled = false;
  Guarded([&] { handled = FKeys->KeyRelease(*event); });
  if (handled)
    event->accept();
  else
    TfrmQBase::keyReleaseEvent(event);
}

bool TFMain::event(QEvent* event) {
  if (event->type() == QEvent::ScreenChangeInternal) Guarded([this] { FollowScreen(); });
  if (event->type() == QEvent::WindowDeactivate) {
    // The releases of held keys now go elsewhere; a bubble only shows over
    // the active window.
    FKeys->ReleaseHeldKeys();
    HideHint();
  }
  return TfrmQBase::event(event);
}

void TFMain::FollowScreen() {
  const int scale = ArtScaleFor(devicePixelRatioF());
  if (scale == ScreenArtScale()) return;
  SetScreenArtScale(scale);
  LoadArtwork();
  LayoutControls();
  // The pointers are pictures of the set too; the widgets hold copies.
  FToolCursors.reset();
  FToolCursors = std::make_unique<TToolCursors>(FUseImgCursors);
  setCursor(ProgramCursor(TProgramCursor::Arrow));
  if (FUseImgCursors) {
    FToolCursors->TintPaint(FPainter->PaintColor());
    ShowDropper();
    ShowToolCursor(FPainter->PaintMode());
  }
  update();
}

void TFMain::MinimizeApplication() { showMinimized(); }

void TFMain::MusicFadeIn() { FSounds->MusicFadeIn(); }

void TFMain::MusicFadeOut() { FSounds->MusicFadeOut(); }

void TFMain::ApplicationStateChanged(Qt::ApplicationState State) {
  if (State == Qt::ApplicationActive)
    MusicFadeIn();
  else
    MusicFadeOut();
}

void TFMain::closeEvent(QCloseEvent* event) {
  if (FCloseConfirmed) {
    event->accept();
    return;
  }
  event->ignore();
  // A second request while the confirmation is showing is the same request.
  if (FInCloseSequence) return;
  FInCloseSequence = true;
  Guarded([this] { FCloseConfirmed = RunCloseSequence(); });
  FInCloseSequence = false;
  if (FCloseConfirmed) event->accept();
}

bool TFMain::RunCloseSequence() {
  HideHint();
  // A page being made is finished and opened first, so the drop is not
  // lost; it takes a second at most.
  if (MakingPage()) FPageMaker->WaitAndDeliver();
  if (!RunCloseDialog()) return false;
  MusicFadeOut();
  // Nothing that cannot be written stops the close: what could not be kept
  // is named once, then the program ends.
  Guarded([this] {
    // From here on nothing is written in the background; a write still
    // running ends first, so none lands after the deletions below.
    FAutosave->Stop();
    const TStayColored stay = StayColored();
    if (DeletesColoringsAtClose(stay)) {
      DeleteAllColorings(FCatalog);
      // The chooser's thumbnails show the colourings too; one still being
      // made is written before they go.
      FChooser->Thumbnails().Loader().CancelWaiting();
      FChooser->Thumbnails().Loader().WaitAndDeliver();
      DeleteThumbnails(FCatalog);
      FUnkept.Clear();
    } else if (StoresColoringAtClose(stay)) {
      try {
        if (!FAutosave->UpToDate()) StoreColoring();
      } catch (const EError& Error) {
        std::fprintf(stderr, "Tintwell: %s\n", Error.what());
        KeepColoringInMemory();
      }
      FUnkept.Retry();
    }
  });
  Guarded([this] {
    std::vector<TColor> mixed;
    for (int i = 0; i < MixWellCount; ++i) mixed.push_back(FMixTray->GetColor(i));
    // A store that refuses these keeps them among its unstored settings.
    try {
      if (PictureOpen()) QCSetting().WriteCurrentPicture(FCatalog[size_t(FCurrentPicture)]);
    } catch (const EError&) {
    }
    try {
      QCSetting().WriteMixedColors(TQCSetting::MixedColorsToTexts(mixed));
    } catch (const EError&) {
    }
  });
  Guarded([this] { ReportUnkeptAtClose(); });
  // The farewell links to the help page when it is installed; a web address
  // would send the child to a site nobody here answers for.
  std::error_code error;
  const std::filesystem::path help = std::filesystem::absolute(HelpPageFile, error);
  if (!error && std::filesystem::is_regular_file(help, error))
    RunInfoDialog(Lang().GetText("DExitTitle"), Lang().GetText("DExitDescr"),
                  Lang().GetText("DExitHelp"), help.string());
  else
    RunInfoDialog(Lang().GetText("DExitTitle"), Lang().GetText("DExitDescr"), std::string());
  return true;
}

void TFMain::ReportUnkeptAtClose() {
  const auto joined = [](const std::vector<std::string>& Names) {
    std::string Text;
    for (const std::string& Name : Names) Text += (Text.empty() ? "" : ", ") + Name;
    return Text;
  };
  const std::vector<std::string> colorings = FUnkept.Titles();
  if (!colorings.empty()) ShowMessageKey("capColoring", "msgColoringsLost", {joined(colorings)});
  const std::vector<std::string> settings = Setting().StoreUnstored();
  if (!settings.empty()) ShowMessageKey("capSettings", "msgSettingsNotKept", {joined(settings)});
}

}  // namespace tw
