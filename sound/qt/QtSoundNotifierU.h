// TQtSoundNotifier: delivers the sound channels' notifications through the
// Qt event loop of the thread that created the notifier. The window layer
// makes one in the main thread and sets it as that thread's notifier
// (SetThreadNotifier) before creating channels, so OnEnd and OnFadeEnd run
// in the main thread as queued calls. It must outlive those channels.
#pragma once

#include <functional>
#include <memory>

#include "sound/auNotifyU.h"

class QObject;

namespace tw {

class TQtSoundNotifier : public TauNotifier {
 public:
  TQtSoundNotifier();
  ~TQtSoundNotifier() override;
  TQtSoundNotifier(const TQtSoundNotifier&) = delete;
  TQtSoundNotifier& operator=(const TQtSoundNotifier&) = delete;

  // Queues Call to the event loop of the creating thread; safe from any
  // thread. Calls still queued when the notifier goes are dropped.
  void Post(std::function<void()> Call) override;

 private:
  // Lives in the creating thread; queued calls run in its thread.
  std::unique_ptr<QObject> FReceiver;
};

// Makes a TQtSoundNotifier the calling thread's notifier for its lifetime.
class TQtSoundNotifierScope {
 public:
  TQtSoundNotifierScope() { SetThreadNotifier(&FNotifier); }
  ~TQtSoundNotifierScope() { SetThreadNotifier(nullptr); }
  TQtSoundNotifierScope(const TQtSoundNotifierScope&) = delete;
  TQtSoundNotifierScope& operator=(const TQtSoundNotifierScope&) = delete;
  TQtSoundNotifier& Notifier() { return FNotifier; }

 private:
  TQtSoundNotifier FNotifier;
};

}  // namespace tw
