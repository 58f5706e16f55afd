// TauUpdateChannelThread: the worker thread of one sound channel. While
// active it wakes every Interval milliseconds of the channel's clock and
// runs a round: it takes the channel's lock (or skips the round when that
// takes longer than 250 ms) and runs the channel's tick, which refills the
// ring buffer, moves fades on and sees the end of play. While inactive it
// sleeps until it is activated. A test whose clock never ends the wait
// runs each round itself with RunRound.
//
// Also here: TauChannelLock, the channel's lock that this thread shares,
// a recursive mutex taken with a time-out. It is built on a plain mutex and
// condition variable rather than std::recursive_timed_mutex, whose timed
// wait ThreadSanitizer cannot follow.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "sound/auSoundClockU.h"

namespace tw {

class TauDSMixerChannel;

class TauChannelLock {
 public:
  // How long a channel operation or a tick waits for the lock.
  static constexpr std::chrono::milliseconds Timeout{250};

  // Takes the lock, again when the calling thread holds it already; false
  // when another thread held it for the whole wait.
  bool TryLockFor(std::chrono::milliseconds Wait);
  void Lock();
  void Unlock();

 private:
  std::mutex FMutex;
  std::condition_variable FReleased;
  std::thread::id FOwner;
  unsigned FDepth = 0;
};

// Holds a TauChannelLock for a scope when it could be had in time.
class TauChannelLockGuard {
 public:
  explicit TauChannelLockGuard(TauChannelLock& Lock,
                               std::chrono::milliseconds Wait = TauChannelLock::Timeout)
      : FLock(Lock), FOwns(Lock.TryLockFor(Wait)) {}
  ~TauChannelLockGuard() {
    if (FOwns) FLock.Unlock();
  }
  TauChannelLockGuard(const TauChannelLockGuard&) = delete;
  TauChannelLockGuard& operator=(const TauChannelLockGuard&) = delete;
  bool Owns() const { return FOwns; }

 private:
  TauChannelLock& FLock;
  bool FOwns;
};

// A wake-up signal that resets itself when a waiter takes it.
class TauAutoResetEvent {
 public:
  void Set();
  void Wait();
  // True when the event was set within Timeout.
  bool WaitFor(std::chrono::milliseconds Timeout);

 private:
  std::mutex FMutex;
  std::condition_variable FChanged;
  bool FSet = false;
};

class TauUpdateChannelThread {
 public:
  static constexpr uint32_t DefaultInterval = 400;

  // Starts the thread, inactive, waiting on Clock. Channel and Clock must
  // outlive the thread.
  TauUpdateChannelThread(TauDSMixerChannel& Channel, std::shared_ptr<TauChannelLock> Lock,
                         TSoundClock& Clock);
  // Asks the thread to end, wakes it and waits until it has ended.
  ~TauUpdateChannelThread();
  TauUpdateChannelThread(const TauUpdateChannelThread&) = delete;
  TauUpdateChannelThread& operator=(const TauUpdateChannelThread&) = delete;

  // Activating wakes a sleeping thread at once; deactivating does not wake
  // it, it notices at its next round and then sleeps without time-out.
  void SetActive(bool Flag);
  bool Active() const { return FActive; }

  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value) { FInterval = Value; }

  // One round, in the calling thread: what the thread does each time its
  // interval has passed. False when the round did not tick (inactive, or
  // the lock could not be had).
  bool RunRound();

 private:
  void Execute();

  TauDSMixerChannel& FChannel;
  TSoundClock& FClock;
  std::atomic<uint32_t> FInterval{DefaultInterval};
  TauAutoResetEvent FWake;
  std::atomic<bool> FActive{false};
  std::shared_ptr<TauChannelLock> FLock;
  std::atomic<bool> FTerminated{false};
  std::thread FThread;  // last: starts once everything above exists
};

}  // namespace tw
