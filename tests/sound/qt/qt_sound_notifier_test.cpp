// The Qt notifier: calls posted from other threads run in the creating
// thread's event loop, calls still queued when it goes are dropped, and a
// real channel's end notification arrives in the main thread, but never
// for a channel destroyed before it arrived. The channels run on a manual
// clock over a stepped device, so the test runs their refill rounds.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <filesystem>
#include <thread>

#include "sound/auDSMixerU.h"
#include "sound/auSoftwareDeviceU.h"
#include "sound/auSoundDeviceU.h"
#include "sound/qt/QtSoundNotifierU.h"
#include "tests/sound/ManualSoundClock.h"

namespace tw {
namespace {

// The widget tests have no data folder setting; the fixtures sit beside
// this file's folder.
std::string DataFile(const std::string& Name) {
  return (std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / Name).string();
}

TEST(QtSoundNotifier, RunsPostedCallsInTheCreatingThread) {
  TQtSoundNotifier Notifier;
  std::atomic<int> Ran{0};
  std::thread::id RanIn;
  std::thread Poster([&] {
    Notifier.Post([&] {
      RanIn = std::this_thread::get_id();
      ++Ran;
    });
  });
  Poster.join();
  EXPECT_EQ(Ran, 0) << "not before the event loop runs";
  QCoreApplication::processEvents();
  ASSERT_EQ(Ran, 1);
  EXPECT_EQ(RanIn, std::this_thread::get_id());
}

TEST(QtSoundNotifier, CallsQueuedWhenItGoesAreDropped) {
  int Ran = 0;
  {
    TQtSoundNotifier Notifier;
    Notifier.Post([&] { ++Ran; });
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(Ran, 0);
}

TEST(QtSoundNotifier, ScopeInstallsItForTheThread) {
  TauNotifier* Before = &ThreadNotifier();
  {
    TQtSoundNotifierScope Scope;
    EXPECT_EQ(&ThreadNotifier(), &Scope.Notifier());
  }
  EXPECT_EQ(&ThreadNotifier(), Before);
}

class QtSoundNotifierChannel : public ::testing::Test {
 protected:
  void SetUp() override { SetSoundSink({TSoundSinkChoice::Silent, {}, true}); }
  void TearDown() override { SetSoundSink({TSoundSinkChoice::Auto, {}}); }

  // Mixes one refill interval of output and runs the channel's round.
  void Round(TauDSMixerChannel& Channel) {
    StepSoundDevice(Channel.Mixer().GetDevice(), Channel.Thread().Interval() * 441 / 10);
    Clock.Round(Channel);
  }
  // Runs rounds until the channel stopped by itself; false when it did not
  // within a minute.
  bool RoundsUntilStopped(TauDSMixerChannel& Channel) {
    for (int Rounds = 0; Rounds < 150; ++Rounds) {
      Round(Channel);
      if (Channel.State() == TauChannelState::Stopped) return true;
    }
    return false;
  }

  test::TManualSoundClock Clock;
};

TEST_F(QtSoundNotifierChannel, TheEndOfPlayArrivesInTheMainThread) {
  TQtSoundNotifierScope Scope;
  TauDSMixer Mixer;
  TauDSMixerChannel& Channel = Mixer.AddChannel();
  Channel.SetFileName(DataFile("sine-mono-22050.mp3"));
  std::atomic<int> Ends{0};
  std::thread::id EndedIn;
  Channel.OnEnd = [&](TauDSMixerChannel& Sender) {
    EXPECT_EQ(&Sender, &Channel);
    EndedIn = std::this_thread::get_id();
    ++Ends;
  };
  Channel.Play();
  ASSERT_TRUE(RoundsUntilStopped(Channel));
  EXPECT_EQ(Ends, 0) << "not before the event loop runs";
  QCoreApplication::processEvents();
  ASSERT_EQ(Ends, 1);
  EXPECT_EQ(EndedIn, std::this_thread::get_id());
  for (int Rounds = 0; Rounds < 3; ++Rounds) Round(Channel);
  QCoreApplication::processEvents();
  EXPECT_EQ(Ends, 1);
}

TEST_F(QtSoundNotifierChannel, ADestroyedChannelGetsNoNotification) {
  TQtSoundNotifierScope Scope;
  TauDSMixer Mixer;
  TauDSMixerChannel& Channel = Mixer.AddChannel();
  Channel.SetFileName(DataFile("sine-mono-22050.mp3"));
  std::atomic<int> Ends{0};
  Channel.OnEnd = [&](TauDSMixerChannel&) { ++Ends; };
  Channel.Play();
  // Without running the event loop, so the notification stays queued.
  ASSERT_TRUE(RoundsUntilStopped(Channel));
  Mixer.RemoveChannel(Channel);
  QCoreApplication::processEvents();
  EXPECT_EQ(Ends, 0);
}

}  // namespace
}  // namespace tw
