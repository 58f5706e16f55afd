// TFMain as a window: its keys (through TMainKeys), minimising, the music
// following the application's activation, and the close sequence with its
// confirmation, the stored colourings, the settings it leaves behind and the
// farewell message.
#include <QCloseEvent>
#include <QKeyEvent>

#include "app/ColoringAutosaveU.h"
#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "controls/QBubbleHintU.h"
#include "palette/qt/PaintGridU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

void TFMain::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  Guarded([&] { handled = FKeys->KeyPress(*event); });
  if (handled)
    event->accept();
  else
    TfrmQBase::keyPressEvent(event);
}

void TFMain::keyReleaseEvent(QKeyEvent* event) {
  bool handled = false;
  Guarded([&] { handled = FKeys->KeyRelease(*event); });
  if (handled)
    event->accept();
  else
    TfrmQBase::keyReleaseEvent(event);
}

bool TFMain::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) {
    // The releases of held keys now go elsewhere; a bubble only shows over
    // the active window.
    FKeys->ReleaseHeldKeys();
    HideHint();
  }
  return TfrmQBase::event(event);
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
  if (!RunCloseDialog()) return false;
  MusicFadeOut();
  // A colouring that cannot be written has been reported; the rest of the
  // close goes on, and the previous stored file is still whole.
  Guarded([this] {
    // From here on nothing is written in the background; a write still
    // running ends first, so none lands after the deletions below.
    FAutosave->Stop();
    const TStayColored stay = StayColored();
    if (DeletesColoringsAtClose(stay))
      DeleteAllColorings(FCatalog);
    else if (StoresColoringAtClose(stay) && !FAutosave->UpToDate())
      try {
        StoreColoring();
      } catch (const EError& Error) {
        ColoringWriteFailed(Error.what());
      }
  });
  if (PictureOpen()) QCSetting().WriteCurrentPicture(FCatalog[size_t(FCurrentPicture)]);
  std::vector<TColor> mixed;
  for (int i = 0; i < MixWellCount; ++i) mixed.push_back(FMixTray->GetColor(i));
  QCSetting().WriteMixedColors(TQCSetting::MixedColorsToTexts(mixed));
  RunInfoDialog(Lang().GetText("DExitTitle"), Lang().GetText("DExitDescr"), ProductWebSite);
  return true;
}

}  // namespace tw
