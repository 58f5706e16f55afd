// The channel's refill thread, its lock and its wake event.
#include "sound/auUpdateChannelThreadU.h"

#include <utility>

#include "sound/auDSMixerU.h"

namespace tw {

bool TauChannelLock::TryLockFor(std::chrono::milliseconds Wait) {
  std::unique_lock<std::mutex> Guard(FMutex);
  const std::thread::id Me = std::this_thread::get_id();
  if (FDepth > 0 && FOwner == Me) {
    ++FDepth;
    return true;
  }
  if (!FReleased.wait_for(Guard, Wait, [this] { return FDepth == 0; })) return false;
  FOwner = Me;
  FDepth = 1;
  return true;
}

void TauChannelLock::Lock() {
  std::unique_lock<std::mutex> Guard(FMutex);
  const std::thread::id Me = std::this_thread::get_id();
  if (FDepth > 0 && FOwner == Me) {
    ++FDepth;
    return;
  }
  FReleased.wait(Guard, [this] { return FDepth == 0; });
  FOwner = Me;
  FDepth = 1;
}

void TauChannelLock::Unlock() {
  std::lock_guard<std::mutex> Guard(FMutex);
  if (FDepth == 0 || FOwner != std::this_thread::get_id()) return;
  if (--FDepth == 0) {
    FOwner = std::thread::id();
    FReleased.notify_one();
  }
}

void TauAutoResetEvent::Set() {
  std::lock_guard<std::mutex> Guard(FMutex);
  FSet = true;
  FChanged.notify_one();
}

void TauAutoResetEvent::Wait() {
  std::unique_lock<std::mutex> Guard(FMutex);
  FChanged.wait(Guard, [this] { return FSet; });
  FSet = false;
}

bool TauAutoResetEvent::WaitFor(std::chrono::milliseconds Timeout) {
  std::unique_lock<std::mutex> Guard(FMutex);
  if (!FChanged.wait_for(Guard, Timeout, [this] { return FSet; })) return false;
  FSet = false;
  return true;
}

TauUpdateChannelThread::TauUpdateChannelThread(TauDSMixerChannel& Channel,
                                               std::shared_ptr<TauChannelLock> Lock,
                                               TSoundClock& Clock)
    : FChannel(Channel), FClock(Clock), FLock(std::move(Lock)), FThread([this] { Execute(); }) {}

TauUpdateChannelThread::~TauUpdateChannelThread() {
  FTerminated = true;
  FWake.Set();
  if (FThread.joinable()) FThread.join();
}

void TauUpdateChannelThread::SetActive(bool Flag) {
  if (FActive == Flag) return;
  FActive = Flag;
  if (Flag) FWake.Set();
}

void TauUpdateChannelThread::Execute() {
  while (!FTerminated) {
    if (!FActive) {
      FWake.Wait();
      continue;
    }
    // Being woken means being activated (or asked to end): the timed wait
    // starts over, so a tick never follows an activation at once.
    if (FClock.WaitFor(FWake, FInterval.load())) continue;
    if (FTerminated) break;
    RunRound();
  }
}

bool TauUpdateChannelThread::RunRound() {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return false;
  if (!FActive) return false;
  try {
    FChannel.Tick();
  } catch (...) {
    // A decoding or device failure in the background has nobody to be
    // shown to; the channel stays as it was and the next round tries again.
  }
  return true;
}

}  // namespace tw
