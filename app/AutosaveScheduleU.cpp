#include "app/AutosaveScheduleU.h"

#include <algorithm>

namespace tw {

void TAutosaveSchedule::Changed(TAutosaveTime Now) {
  if (!FPending) {
    FPending = true;
    FFirstUnwritten = Now;
  }
  FLastChange = std::max(FLastChange, Now);
}

bool TAutosaveSchedule::Due(TAutosaveTime Now) const {
  const std::optional<TAutosaveTime> due = NextDue();
  return due && Now >= *due;
}

std::optional<TAutosaveTime> TAutosaveSchedule::NextDue() const {
  if (!FPending) return std::nullopt;
  const TAutosaveTime due =
      std::min(FLastChange + FDelays.Quiet, FFirstUnwritten + FDelays.MaxDelay);
  return std::max(due, FNotBefore);
}

void TAutosaveSchedule::Taken() { FPending = false; }

void TAutosaveSchedule::Failed(TAutosaveTime Now, TAutosaveTime Since) {
  FFirstUnwritten = FPending ? std::min(FFirstUnwritten, Since) : Since;
  FLastChange = std::max(FLastChange, Since);
  FPending = true;
  FNotBefore = Now + FDelays.Retry;
}

void TAutosaveSchedule::Clear() {
  FPending = false;
  FNotBefore = TAutosaveTime();
}

}  // namespace tw
