// The Qt notifier: calls posted from other threads run in the creating
// thread's event loop, calls still queued when it goes are dropped, and a
// real channel's end notification arrives in the main thread, but never
// for a channel destroyed before it arrived.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "sound/auDSMixerU.h"
#include "sound/auSoundDeviceU.h"
#include "sound/qt/QtSoundNotifierU.h"

namespace tw {
namespace {

// The widget tests have no data folder setting; the fixtures sit beside
// this file's folder.
std::string DataFile(const std::string& Name) {
  return (std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / Name).string();
}

bool WaitWithEvents(const std::function<bool()>& Condition, int Timeout = 5000) {
  for (int Waited = 0; !Condition(); Waited += 10) {
    if (Waited > Timeout) return false;
    QTest::qWait(10);
  }
  return true;
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
  ASSERT_TRUE(WaitWithEvents([&] { return Ran == 1; }));
  EXPECT_EQ(RanIn, std::this_thread::get_id());
}

TEST(QtSoundNotifier, CallsQueuedWhenItGoesAreDropped) {
  int Ran = 0;
  {
    TQtSoundNotifier Notifier;
    Notifier.Post([&] { ++Ran; });
  }
  QCoreApplication::processEvents();
  QTest::qWait(50);
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
  void SetUp() override { SetSoundSink({TSoundSinkChoice::Silent, {}}); }
  void TearDown() override { SetSoundSink({TSoundSinkChoice::Auto, {}}); }
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
  ASSERT_TRUE(WaitWithEvents([&] { return Ends == 1; }, 10000));
  EXPECT_EQ(EndedIn, std::this_thread::get_id());
  EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
  QTest::qWait(600);
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
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Channel.State() != TauChannelState::Stopped && std::chrono::steady_clock::now() < Deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(Channel.State(), TauChannelState::Stopped);
  // The end is posted right after the stop, within the same tick.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Mixer.RemoveChannel(Channel);
  QTest::qWait(200);
  EXPECT_EQ(Ends, 0);
}

}  // namespace
}  // namespace tw
