// TQHint: the bubble-hint delay of one control. The pointer entering the
// control becomes a show request 600 milliseconds later (once per entry,
// however the pointer moves meanwhile); leaving the control or clicking it
// becomes a hide request at once. It only raises events: whoever owns the
// bubble decides what to show. The delay runs on the delay clock current
// when the hint is made (controls/QDelayClockU.h). Also declares the four
// bubble directions.
#pragma once

#include <functional>
#include <memory>

#include "controls/QDelayClockU.h"

namespace tw {

class TQHintControl;

// The direction in which a bubble extends from the control it points at:
// Up means the bubble lies above the control, Right that it lies to its right.
enum TQHintDir { dirUpRight = 0, dirUpLeft = 1, dirDownRight = 2, dirDownLeft = 3 };

// A notification from one of the drawn controls; the control is the sender.
using TQNotifyEvent = std::function<void(TQHintControl& Sender)>;

class TQHint {
 public:
  // How long the pointer must rest on a control before its hint shows.
  static constexpr int DelayMs = 600;

  // The timer is created idle.
  explicit TQHint(TQHintControl& Control);
  TQHint(const TQHint&) = delete;
  TQHint& operator=(const TQHint&) = delete;

  TQHintControl& Control() const { return FControl; }

  // Starts the wait afresh, so the show request comes DelayMs from now.
  void Restart();
  // Ends any wait, then raises OnHideHint.
  void Hide();
  // The end of the wait: raises OnShowHint, then stops the timer.
  void DoShow();
  // Ends any wait without an event (the control lost its hint key).
  void Cancel() { FDelay->Stop(); }

  // Whether a show request is pending.
  bool Waiting() const { return FDelay->Active(); }
  int Interval() const { return DelayMs; }

  TQNotifyEvent OnShowHint;
  TQNotifyEvent OnHideHint;

 private:
  TQHintControl& FControl;
  std::unique_ptr<TQDelay> FDelay;
};

}  // namespace tw
