// Delivery of the sound channels' notifications to the thread that created
// the channel. A channel's refill thread must not call the program's
// handlers itself: it hands each notification to a TauNotifier, which runs
// it later in the thread the notifier belongs to.
//
// Each thread has a current notifier. A channel takes the current notifier
// of the thread that creates it and keeps it for its whole life, so the
// notifier must outlive every channel created while it was current. The
// program's window layer sets a notifier that posts into its event loop
// (sound/qt/QtSoundNotifierU.h); a thread that sets none gets its own
// TauNotifyQueue, which keeps the calls until that thread pumps them (tests
// and tools without an event loop). A thread's own queue lives until the
// thread ends, so channels that use it must be destroyed before that.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace tw {

class TauNotifier {
 public:
  virtual ~TauNotifier() = default;
  // Arranges for Call to run in the notifier's thread; callable from any
  // thread, never runs Call before returning.
  virtual void Post(std::function<void()> Call) = 0;
};

// A notifier that keeps the posted calls in order until its owner runs them.
class TauNotifyQueue : public TauNotifier {
 public:
  void Post(std::function<void()> Call) override;
  // Runs the calls posted so far, in the order they came; calls posted while
  // pumping wait for the next Pump. Returns how many ran.
  size_t Pump();
  size_t Pending() const;

 private:
  mutable std::mutex FMutex;
  std::deque<std::function<void()>> FCalls;
};

// Makes Notifier the calling thread's current notifier; null goes back to
// the thread's own queue.
void SetThreadNotifier(TauNotifier* Notifier);
// The calling thread's current notifier.
TauNotifier& ThreadNotifier();
// The calling thread's own queue, the current notifier when none is set.
TauNotifyQueue& ThreadNotifyQueue();

}  // namespace tw
