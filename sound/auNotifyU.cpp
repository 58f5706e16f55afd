// The notification queue and the per-thread current notifier.
#include "sound/auNotifyU.h"

#include <iterator>
#include <utility>

namespace tw {

namespace {
thread_local TauNotifier* CurrentNotifier = nullptr;
}  // namespace

void TauNotifyQueue::Post(std::function<void()> Call) {
  std::lock_guard<std::mutex> Guard(FMutex);
  FCalls.push_back(std::move(Call));
}

size_t TauNotifyQueue::Pump() {
  std::deque<std::function<void()>> Due;
  {
    std::lock_guard<std::mutex> Guard(FMutex);
    Due.swap(FCalls);
  }
  // The calls run outside the lock: a handler may post again or start and
  // stop channels whose threads post. A handler that throws leaves the
  // calls after it queued, in front of newer ones.
  size_t Ran = 0;
  try {
    for (; Ran < Due.size(); ++Ran) Due[Ran]();
  } catch (...) {
    std::lock_guard<std::mutex> Guard(FMutex);
    FCalls.insert(FCalls.begin(), std::make_move_iterator(Due.begin() + std::ptrdiff_t(Ran) + 1),
                  std::make_move_iterator(Due.end()));
    throw;
  }
  return Ran;
}

size_t TauNotifyQueue::Pending() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FCalls.size();
}

void SetThreadNotifier(TauNotifier* Notifier) { CurrentNotifier = Notifier; }

TauNotifier& ThreadNotifier() {
  if (CurrentNotifier) return *CurrentNotifier;
  return ThreadNotifyQueue();
}

TauNotifyQueue& ThreadNotifyQueue() {
  thread_local TauNotifyQueue Queue;
  return Queue;
}

}  // namespace tw
