// The mixer's building blocks: device error messages, internal-error text,
// the position log, notification delivery, the channel lock and the wake
// event.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "sound/auDirectXErrorU.h"
#include "sound/auNotifyU.h"
#include "sound/auPositionTimesU.h"
#include "sound/auSoundClockU.h"
#include "sound/auSoundDeviceU.h"
#include "sound/auUpdateChannelThreadU.h"

namespace tw {
namespace {

TEST(DirectXError, MessagesByResultCode) {
  EXPECT_EQ(DirectXErrorMessage(0), "The request completed successfully.");
  EXPECT_EQ(DirectXErrorMessage(int32_t(0x88780096u)),
            "The sound was interrupted and has to be started again.");
  EXPECT_EQ(DirectXErrorMessage(int32_t(0x80070057u)),
            "The sound output was given a value it cannot use.");
  EXPECT_EQ(DirectXErrorMessage(int32_t(0x88780078u)),
            "No sound device was found (ALSA found no card to play on).");
  EXPECT_EQ(DirectXErrorMessage(int32_t(0x8007000Eu)),
            "There is not enough memory for the sound output.");
  EXPECT_EQ(DirectXErrorMessage(int32_t(0x88781161u)),
            "The sound output could not find what was asked for.");
  EXPECT_EQ(DirectXErrorMessage(1), "Unrecognized Error");
  EXPECT_EQ(DirectXErrorMessage(int32_t(0x88780097u)), "Unrecognized Error");
}

// The messages can reach the user: they speak of this system's sound, not
// of another platform's services.
TEST(DirectXError, MessagesNameNoOtherPlatformsServices) {
  const uint32_t Codes[] = {0x80004001u, 0x80004002u, 0x80004005u, 0x80040110u, 0x80070005u,
                            0x8007000Eu, 0x80070057u, 0x8878000Au, 0x8878001Eu, 0x88780032u,
                            0x88780046u, 0x88780064u, 0x88780078u, 0x88780082u, 0x88780096u,
                            0x887800A0u, 0x887800AAu, 0x887800B4u, 0x887800BEu, 0x887800C8u,
                            0x887800D2u, 0x887800DCu, 0x88781161u};
  for (const uint32_t Code : Codes) {
    const std::string Message = DirectXErrorMessage(int32_t(Code));
    EXPECT_NE(Message, "Unrecognized Error") << std::hex << Code;
    for (const char* Foreign : {"DirectSound", "COM ", "GUID", "DSBCAPS", "DSBSIZE", "DMUS",
                                "IDirect", "registration database", ".exe", "caller"})
      EXPECT_EQ(Message.find(Foreign), std::string::npos) << Message;
  }
}

TEST(DirectXError, OnlyNonZeroCodesRaise) {
  EXPECT_NO_THROW(CheckSoundResult(0));
  try {
    CheckSoundResult(int32_t(0x88780064u));
    FAIL() << "no error raised";
  } catch (const EDirectXError& Error) {
    EXPECT_EQ(Error.ErrorCode, int32_t(0x88780064u));
    EXPECT_STREQ(Error.what(), "The sound device does not play this sound format.");
  }
}

TEST(MixerInternalError, TextNamesMessageModuleAndLine) {
  EXPECT_EQ(MixerInternalErrorText("Locked different size from requested", 321),
            "Locked different size from requested (auDSMixer, line 321)");
  EXPECT_NO_THROW(MixerAssert(true, "never"));
  const int Line = __LINE__ + 2;
  try {
    MixerAssert(false, "Something broke");
    FAIL() << "no error raised";
  } catch (const EError& Error) {
    EXPECT_EQ(std::string(Error.what()),
              "Something broke (auDSMixer, line " + std::to_string(Line) + ")");
  }
}

TEST(PositionTimes, LogsIntoARingOfFifty) {
  TPositionTimes Log;
  EXPECT_EQ(Log.NextIndex(), 0);
  for (uint32_t Index = 0; Index < 52; ++Index)
    Log.Log(Index * 10, Index * 10 + 10, Index * 1000, Index * 1000 + 500);
  // Entries 50 and 51 went to slots 0 and 1.
  EXPECT_EQ(Log.NextIndex(), 2);
  EXPECT_EQ(Log.Entry(0).PositionStart, 500u);
  EXPECT_EQ(Log.Entry(1).PositionEnd, 520u);
  EXPECT_EQ(Log.Entry(1).TimeStart, 51000);
  EXPECT_EQ(Log.Entry(2).PositionStart, 20u);
  EXPECT_EQ(Log.Entry(49).TimeEnd, 49500);
}

TEST(PositionTimes, EqualTimesAreFineReversedOrEmptyRangesAreInternalErrors) {
  TPositionTimes Log;
  EXPECT_NO_THROW(Log.Log(0, 4, 700, 700));
  try {
    Log.Log(4, 8, 900, 800);
    FAIL() << "no error raised";
  } catch (const EError& Error) {
    EXPECT_EQ(std::string(Error.what()).rfind(
                  "Internal Error: Time Start higher then Time End (auDSMixer, line ", 0),
              0u);
  }
  try {
    Log.Log(8, 8, 900, 900);
    FAIL() << "no error raised";
  } catch (const EError& Error) {
    EXPECT_EQ(std::string(Error.what()).rfind(
                  "Internal Error: Position Start not inferior to Position End (auDSMixer, line ",
                  0),
              0u);
  }
  // A failed entry does not move the log on.
  EXPECT_EQ(Log.NextIndex(), 1);
}

TEST(NotifyQueue, RunsPostedCallsInOrderOnlyWhenPumped) {
  TauNotifyQueue Queue;
  std::vector<int> Ran;
  std::thread Poster([&Queue, &Ran] {
    for (int Index = 0; Index < 3; ++Index) Queue.Post([&Ran, Index] { Ran.push_back(Index); });
  });
  Poster.join();
  EXPECT_TRUE(Ran.empty());
  EXPECT_EQ(Queue.Pending(), 3u);
  EXPECT_EQ(Queue.Pump(), 3u);
  EXPECT_EQ(Ran, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Queue.Pump(), 0u);
}

TEST(NotifyQueue, CallsPostedWhilePumpingWaitForTheNextPump) {
  TauNotifyQueue Queue;
  int Second = 0;
  Queue.Post([&] { Queue.Post([&] { ++Second; }); });
  EXPECT_EQ(Queue.Pump(), 1u);
  EXPECT_EQ(Second, 0);
  EXPECT_EQ(Queue.Pump(), 1u);
  EXPECT_EQ(Second, 1);
}

TEST(NotifyQueue, AThrowingCallKeepsTheRestQueued) {
  TauNotifyQueue Queue;
  int Ran = 0;
  Queue.Post([&] { ++Ran; });
  Queue.Post([] { throw EError("handler failed"); });
  Queue.Post([&] { ++Ran; });
  EXPECT_THROW(Queue.Pump(), EError);
  EXPECT_EQ(Ran, 1);
  EXPECT_EQ(Queue.Pump(), 1u);
  EXPECT_EQ(Ran, 2);
}

class TCountingNotifier : public TauNotifier {
 public:
  void Post(std::function<void()>) override { ++Posts; }
  int Posts = 0;
};

TEST(ThreadNotifier, EachThreadHasItsOwnQueueUntilOneIsSet) {
  TCountingNotifier Counting;
  EXPECT_EQ(&ThreadNotifier(), &ThreadNotifyQueue());
  SetThreadNotifier(&Counting);
  EXPECT_EQ(&ThreadNotifier(), &Counting);
  TauNotifier* OtherThreads = nullptr;
  TauNotifyQueue* OtherQueue = nullptr;
  std::thread Other([&] {
    OtherThreads = &ThreadNotifier();
    OtherQueue = &ThreadNotifyQueue();
  });
  Other.join();
  EXPECT_EQ(OtherThreads, OtherQueue);
  EXPECT_NE(OtherQueue, &ThreadNotifyQueue());
  SetThreadNotifier(nullptr);
  EXPECT_EQ(&ThreadNotifier(), &ThreadNotifyQueue());
}

TEST(ChannelLock, IsRecursiveAndOtherThreadsGiveUpAfterTheirWait) {
  TauChannelLock Lock;
  ASSERT_TRUE(Lock.TryLockFor(std::chrono::milliseconds(0)));
  ASSERT_TRUE(Lock.TryLockFor(std::chrono::milliseconds(0)));
  bool OtherGot = true;
  std::thread([&] { OtherGot = Lock.TryLockFor(std::chrono::milliseconds(50)); }).join();
  EXPECT_FALSE(OtherGot);
  Lock.Unlock();
  std::thread([&] { OtherGot = Lock.TryLockFor(std::chrono::milliseconds(50)); }).join();
  EXPECT_FALSE(OtherGot) << "still held once";
  Lock.Unlock();
  std::thread([&] {
    OtherGot = Lock.TryLockFor(std::chrono::milliseconds(50));
    if (OtherGot) Lock.Unlock();
  }).join();
  EXPECT_TRUE(OtherGot);
}

TEST(ChannelLock, AWaiterGetsTheLockWhenItIsReleased) {
  TauChannelLock Lock;
  Lock.Lock();
  std::atomic<bool> Got{false};
  std::thread Waiter([&] {
    Got = Lock.TryLockFor(std::chrono::seconds(30));
    if (Got) Lock.Unlock();
  });
  Lock.Unlock();
  Waiter.join();
  EXPECT_TRUE(Got);
}

TEST(AutoResetEvent, ASetWakesOneWaitAndThenResets) {
  TauAutoResetEvent Event;
  EXPECT_FALSE(Event.WaitFor(std::chrono::milliseconds(1)));
  Event.Set();
  Event.Set();
  EXPECT_TRUE(Event.WaitFor(std::chrono::milliseconds(1)));
  EXPECT_FALSE(Event.WaitFor(std::chrono::milliseconds(1)));
  std::thread Setter([&] { Event.Set(); });
  Event.Wait();
  Setter.join();
  EXPECT_FALSE(Event.WaitFor(std::chrono::milliseconds(1)));
}

TEST(SoundClock, TheRealClockIsTheTickCounterAndEndsAWaitWhenWoken) {
  TSoundClock& Clock = RealSoundClock();
  const uint32_t Before = SoundTickCount();
  const uint32_t Tick = Clock.TickCount();
  EXPECT_LE(uint32_t(Tick - Before), uint32_t(SoundTickCount() - Before));
  // A wake already given ends the wait at once, however long it was to be.
  TauAutoResetEvent Wake;
  Wake.Set();
  EXPECT_TRUE(Clock.WaitFor(Wake, 3600000));
  // The wake was taken; a wait of no time then ends unwoken.
  EXPECT_FALSE(Clock.WaitFor(Wake, 0));
}

TEST(SoundClock, ChannelsTakeTheClockSetForThemElseTheRealOne) {
  class TStill : public TSoundClock {
   public:
    uint32_t TickCount() override { return 7; }
    bool WaitFor(TauAutoResetEvent& Wake, uint32_t) override {
      Wake.Wait();
      return true;
    }
  } Still;
  EXPECT_EQ(&CurrentSoundClock(), &RealSoundClock());
  SetSoundClock(&Still);
  EXPECT_EQ(&CurrentSoundClock(), &Still);
  EXPECT_EQ(CurrentSoundClock().TickCount(), 7u);
  SetSoundClock(nullptr);
  EXPECT_EQ(&CurrentSoundClock(), &RealSoundClock());
}

}  // namespace
}  // namespace tw
