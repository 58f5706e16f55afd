// TAutosaveSchedule: when the open picture's colouring is due to be written
// while the child paints. A write falls due once the picture has been quiet
// for Quiet since its last change, or once its oldest change not yet handed
// to the writer is MaxDelay old: a child who paints without a pause gets a
// write every MaxDelay, never more often, and one who stops gets one Quiet
// after the last action. After a failed write the next try waits Retry.
//
// The schedule reads no clock: every call is told the time, so the program
// passes the steady clock and tests pass times of their own.
#pragma once

#include <chrono>
#include <optional>

namespace tw {

using TAutosaveClock = std::chrono::steady_clock;
using TAutosaveTime = TAutosaveClock::time_point;

struct TAutosaveDelays {
  std::chrono::milliseconds Quiet{2000};
  std::chrono::milliseconds MaxDelay{3000};
  std::chrono::milliseconds Retry{10000};
  // How often the UI thread looks whether a running write has ended.
  std::chrono::milliseconds Poll{100};
};

class TAutosaveSchedule {
 public:
  explicit TAutosaveSchedule(const TAutosaveDelays& Delays = {}) : FDelays(Delays) {}

  const TAutosaveDelays& Delays() const { return FDelays; }

  // The picture changed at Now (an action ended, or a stroke goes on).
  void Changed(TAutosaveTime Now);
  // Some change has not been handed to the writer yet.
  bool Pending() const { return FPending; }
  // The time of the oldest change not handed to the writer; only while
  // Pending.
  TAutosaveTime FirstUnwritten() const { return FFirstUnwritten; }
  bool Due(TAutosaveTime Now) const;
  // When the next write falls due; none while nothing is pending.
  std::optional<TAutosaveTime> NextDue() const;
  // Everything changed so far has been handed to the writer.
  void Taken();
  // The write of the changes since Since failed at Now: they are pending
  // again, and the next try comes no sooner than Now + Retry.
  void Failed(TAutosaveTime Now, TAutosaveTime Since);
  // Nothing is left to write: the colouring was stored or deleted some
  // other way, or another picture opened.
  void Clear();

 private:
  TAutosaveDelays FDelays;
  bool FPending = false;
  TAutosaveTime FFirstUnwritten{};
  TAutosaveTime FLastChange{};
  TAutosaveTime FNotBefore{};
};

}  // namespace tw
