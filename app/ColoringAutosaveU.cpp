#include "app/ColoringAutosaveU.h"

#include <algorithm>

#include "painter/PainterU.h"

namespace tw {

TColoringAutosave::TColoringAutosave(const TAutosaveDelays& Delays) : FSchedule(Delays) {}

void TColoringAutosave::PictureOpened(const TColoringFiles& Files) {
  PictureClosed();
  if (FStopped) return;
  FOpen = true;
  FFiles = Files;
}

void TColoringAutosave::PictureClosed() {
  Settle();
  FOpen = false;
  FFiles = TColoringFiles();
  FSchedule.Clear();
  FChanges = 0;
  FWritten = 0;
  FWriter.Forget();
}

void TColoringAutosave::Changed(TAutosaveTime Now) {
  if (!FOpen) return;
  // Counted after the stop too: the close then knows the files are behind.
  ++FChanges;
  if (!FStopped) FSchedule.Changed(Now);
}

std::optional<TAutosaveTime> TColoringAutosave::Tick(
    TAutosaveTime Now, TPainterModel& Painter, const std::function<TStayColored()>& StayColored,
    bool OutlineChanged, bool Stroking) {
  TakeResult(Now, true);
  if (!FOpen || FStopped) return NextTick(Now);
  if (Stroking) Changed(Now);
  if (!FSchedule.Due(Now) || FWriter.Busy()) return NextTick(Now);
  if (StayColored() != scAcrossRuns) {
    // The colouring is stored when the picture is left, if at all.
    FSchedule.Clear();
  } else {
    const TAutosaveTime since = FSchedule.FirstUnwritten();
    if (FWriter.Start(Painter, Painter.TakeChangedArea(), FFiles, OutlineChanged, FChanges)) {
      FWriteSince = since;
      FSchedule.Taken();
      if (Stroking) Changed(Now);
    }
  }
  return NextTick(Now);
}

std::optional<TAutosaveTime> TColoringAutosave::NextTick(TAutosaveTime Now) const {
  std::optional<TAutosaveTime> next = FOpen && !FStopped ? FSchedule.NextDue() : std::nullopt;
  if (FWriter.Busy()) {
    const TAutosaveTime poll = Now + FSchedule.Delays().Poll;
    next = next ? std::min(*next, poll) : poll;
  }
  return next;
}

void TColoringAutosave::TakeResult(TAutosaveTime Now, bool Report) {
  const std::optional<TColoringWriter::TResult> result = FWriter.TakeResult();
  if (!result) return;
  if (result->Written) {
    FWritten = std::max(FWritten, result->Tag);
    FFailureReported = false;
    return;
  }
  if (FOpen && !FStopped) FSchedule.Failed(Now, FWriteSince);
  if (Report && !FFailureReported) {
    // Set first: the report may show a box and run the event loop.
    FFailureReported = true;
    if (OnWriteFailed) OnWriteFailed(result->Error);
  }
}

void TColoringAutosave::Settle() {
  FWriter.Wait();
  TakeResult(TAutosaveTime(), false);
}

bool TColoringAutosave::UpToDate() const { return !FWriter.Busy() && FWritten == FChanges; }

void TColoringAutosave::Discard() {
  FWritten = FChanges;
  FSchedule.Clear();
}

void TColoringAutosave::Stop() {
  FWriter.Stop();
  TakeResult(TAutosaveTime(), false);
  FStopped = true;
  FSchedule.Clear();
}

}  // namespace tw
