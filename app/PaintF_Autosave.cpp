// TFMain and the stored colouring written while the child paints: every
// finished action reaches the autosave, and one single-shot timer ticks it
// at the times it asks for. A colouring write that fails, in the background
// or on a page turn, is shown once per picture; one that fails as the child
// leaves the picture is kept in memory (TUnkeptColorings).
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/ColoringAutosaveU.h"
#include "app/PaintF.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/QUtilU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

void TFMain::ConnectAutosave() {
  FAutosave = std::make_unique<TColoringAutosave>();
  FAutosaveTimer = new QTimer(this);
  FAutosaveTimer->setObjectName("autosaveTimer");
  FAutosaveTimer->setSingleShot(true);
  connect(FAutosaveTimer, &QTimer::timeout, this, [this] { AutosaveTick(); });
  FAutosave->OnWriteFailed = [this](const std::string& Message) {
    // The warning box runs an event loop of its own, so it waits until the
    // tick has ended.
    QMetaObject::invokeMethod(
        this, [this, Message] { ColoringWriteFailed(Message); }, Qt::QueuedConnection);
  };
}

void TFMain::ColoringWriteFailed(const std::string& Message) {
  // The technical reason is for whoever reads the log; the child and the
  // parent get plain words.
  std::fprintf(stderr, "Tintwell: %s\n", Message.c_str());
  if (!PictureOpen()) return;
  if (!FColoringWarned.insert(FCatalog[size_t(FCurrentPicture)]).second) return;
  ShowMessageKey("capColoring", "msgColoringNotKept", {FPicture.GetTitle(Lang().Language())});
}

void TFMain::KeepColoringInMemory() {
  if (!PictureOpen()) return;
  FUnkept.Keep(FCatalog[size_t(FCurrentPicture)], FPicture.GetTitle(Lang().Language()),
               ColoringFiles(FCurrentPicture), *FPainter, FOutlineChanged);
}

void TFMain::SetAutosaveClock(std::function<TAutosaveTime()> Clock) {
  FAutosaveClock = std::move(Clock);
}

TAutosaveTime TFMain::AutosaveNow() const {
  return FAutosaveClock ? FAutosaveClock() : TAutosaveClock::now();
}

void TFMain::AutosaveChanged() {
  const TAutosaveTime now = AutosaveNow();
  FAutosave->Changed(now);
  ArmAutosave(FAutosave->NextTick(now), now);
}

void TFMain::AutosaveTick() {
  Guarded([this] {
    const TAutosaveTime now = AutosaveNow();
    const auto stay = [this] { return PictureOpen() ? StayColored() : scNever; };
    ArmAutosave(FAutosave->Tick(now, *FPainter, stay, FOutlineChanged, FPainter->Stroking()), now);
  });
}

void TFMain::ArmAutosave(std::optional<TAutosaveTime> When, TAutosaveTime Now) {
  if (!When) {
    FAutosaveTimer->stop();
    return;
  }
  // Rounded up: a tick that comes a little early would find nothing due.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*When - Now);
  FAutosaveTimer->start(int(std::clamp<int64_t>(wait.count(), 0, 60'000)));
}

}  // namespace tw
