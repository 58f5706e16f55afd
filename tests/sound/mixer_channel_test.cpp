// A channel against the recording device: file opening, play control,
// the ring buffer's contents, the end of play, fades, buffer loss, the lock
// time-out and notification delivery. The channels run on a manual clock:
// the tests move the device's play cursor themselves and run each refill
// round at a time they chose, so every result is known exactly.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "sound/auDSMixerU.h"
#include "tests/sound/FakeSoundDevice.h"
#include "tests/sound/ManualSoundClock.h"

namespace tw {
namespace {

using test::DecodeWholeFile;
using test::SoundDataFile;
using test::TFakeBuffer;
using test::TFakeSound;
using test::TManualSoundClock;

// Mono 16-bit at 22050 Hz: 44100 bytes a second, a 176400-byte ring, the
// end threshold 40 % of it; the file is 11025 frames, 22050 bytes.
const std::string MonoFile = "sine-mono-22050.mp3";
constexpr uint32_t MonoRing = 176400;
constexpr uint32_t MonoBytes = 22050;
// Stereo 16-bit at 44100 Hz: a 705600-byte ring; 13230 frames, 52920 bytes.
const std::string StereoFile = "sine-stereo-44100.mp3";
constexpr uint32_t StereoRing = 705600;
constexpr uint32_t StereoBytes = 52920;

void ExpectError(const std::function<void()>& Call, const std::string& Message) {
  try {
    Call();
    ADD_FAILURE() << "no error raised, expected: " << Message;
  } catch (const EError& Error) {
    EXPECT_EQ(std::string(Error.what()), Message);
  }
}

bool AllBytes(const std::vector<uint8_t>& Data, size_t From, size_t To, uint8_t Value) {
  for (size_t Index = From; Index < To; ++Index)
    if (Data[Index] != Value) return false;
  return true;
}

// Whether the 16-bit samples at the start of Ring match Expected within one
// step: the decoder's rounding after a seek may differ by that much from
// its rounding when it decoded the same samples in one go.
bool SamplesNear(const std::vector<uint8_t>& Ring, const std::vector<uint8_t>& Expected) {
  if (Ring.size() < Expected.size()) return false;
  for (size_t Index = 0; Index + 1 < Expected.size(); Index += 2) {
    const int Got = int16_t(Ring[Index] | Ring[Index + 1] << 8);
    const int Want = int16_t(Expected[Index] | Expected[Index + 1] << 8);
    if (Got < Want - 1 || Got > Want + 1) return false;
  }
  return true;
}

class MixerChannel : public ::testing::Test {
 protected:
  void SetUp() override {
    SetThreadNotifier(nullptr);
    ThreadNotifyQueue().Pump();
  }

  TauDSMixerChannel& Open(const std::string& Name) {
    TauDSMixerChannel& Channel = Mixer->AddChannel();
    Channel.SetFileName(SoundDataFile(Name));
    Channel.OnEnd = [this](TauDSMixerChannel&) { ++Ends; };
    Channel.OnFadeEnd = [this](TauDSMixerChannel&) { ++FadeEnds; };
    return Channel;
  }

  // Makes the channel's buffer without playing and puts its cursor there.
  std::shared_ptr<TFakeBuffer> Prepare(TauDSMixerChannel& Channel, uint32_t Cursor) {
    Channel.Pause();
    std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
    Buffer->SetCursor(Cursor);
    return Buffer;
  }

  // Moves the cursor and runs one refill round, which judges the end of
  // play by it and refills behind it.
  bool MoveAndTick(TauDSMixerChannel& Channel, TFakeBuffer& Buffer, uint32_t Cursor) {
    Buffer.SetCursor(Cursor);
    return Clock.Round(Channel);
  }

  // Runs one refill round and then the notifications it posted.
  bool TickAndPump(TauDSMixerChannel& Channel) {
    const bool Ticked = Clock.Round(Channel);
    ThreadNotifyQueue().Pump();
    return Ticked;
  }

  TManualSoundClock Clock;
  TFakeSound Fake;
  std::unique_ptr<TauDSMixer> Mixer = std::make_unique<TauDSMixer>();
  int Ends = 0;
  int FadeEnds = 0;
};

TEST_F(MixerChannel, OpeningReadsTheFormatAndResetsTheSettings) {
  TauDSMixerChannel& Channel = Mixer->AddChannel();
  Channel.SetVolume(-300);
  EXPECT_EQ(Channel.Volume(), -300);
  Channel.SetFileName(SoundDataFile(MonoFile));
  EXPECT_EQ(Channel.FileName(), SoundDataFile(MonoFile));
  EXPECT_EQ(Channel.Volume(), 0) << "a volume set before opening is lost";
  EXPECT_EQ(Channel.Duration(), 500u);
  EXPECT_EQ(Channel.SampleRate(), 22050u);
  EXPECT_EQ(Channel.Channels(), 1u);
  EXPECT_EQ(Channel.BitsPerSample(), 16u);
  EXPECT_EQ(Channel.BlockAlign(), 2u);

  Channel.SetVolume(-300);
  Channel.SetPan(200);
  Channel.SetLoop(true);
  Channel.SetStartTime(100);
  Channel.SetEndTime(400);
  EXPECT_EQ(Channel.StartTime(), 100);
  EXPECT_EQ(Channel.EndTime(), 400);
  Channel.SetFileName(SoundDataFile(StereoFile));
  EXPECT_EQ(Channel.Volume(), 0);
  EXPECT_EQ(Channel.Pan(), 0);
  EXPECT_FALSE(Channel.Loop());
  EXPECT_EQ(Channel.StartTime(), 0);
  EXPECT_EQ(Channel.EndTime(), 0);
  EXPECT_EQ(Channel.Duration(), 300u);
  EXPECT_EQ(Channel.Channels(), 2u);

  Channel.SetFileName("");
  EXPECT_EQ(Channel.FileName(), "");
  ExpectError([&] { Channel.Play(); }, "No file opened");
}

TEST_F(MixerChannel, AFileThatCannotBeOpenedLeavesNoFileOpen) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  EXPECT_THROW(Channel.SetFileName(SoundDataFile("no-such-file.mp3")), EAudioReadError);
  EXPECT_EQ(Channel.FileName(), "");
  ExpectError([&] { Channel.Play(); }, "No file opened");
}

TEST_F(MixerChannel, AFileUnderOneMillisecondIsEmpty) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  ExpectError([&] { Channel.SetFileName(SoundDataFile("sine-mono-22050-tiny.mp3")); },
              "Audio file is empty.");
  EXPECT_EQ(Channel.FileName(), "");
  ExpectError([&] { Channel.Play(); }, "No file opened");
}

TEST_F(MixerChannel, PlayAndPauseWithoutAFileRaiseStopDoesNothing) {
  TauDSMixerChannel& Channel = Mixer->AddChannel();
  ExpectError([&] { Channel.Play(); }, "No file opened");
  ExpectError([&] { Channel.Pause(); }, "No file opened");
  EXPECT_NO_THROW(Channel.Stop());
  EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
  EXPECT_EQ(Fake.DevicesCreated(), 0);
}

TEST_F(MixerChannel, FadeArgumentsAreCheckedEvenWhenNotPlaying) {
  TauDSMixerChannel& Channel = Mixer->AddChannel();
  EXPECT_NO_THROW(Channel.FadeTo(60000, 0));
  ExpectError([&] { Channel.FadeTo(60001, 0); }, "Fade error: Too long fade time");
  EXPECT_NO_THROW(Channel.FadeTo(0, -10000));
  ExpectError([&] { Channel.FadeTo(0, 1); }, "Fade error: EndVolume out of range");
  ExpectError([&] { Channel.FadeTo(0, -10001); }, "Fade error: EndVolume out of range");
  ExpectError([&] { Channel.FadeTo(60001, 1); }, "Fade error: EndVolume out of range");
  EXPECT_EQ(Channel.Volume(), 0);

  // A valid fade on a paused channel is ignored.
  TauDSMixerChannel& Paused = Open(MonoFile);
  Paused.Pause();
  Paused.FadeTo(0, -5000);
  for (int Round = 0; Round < 3; ++Round) EXPECT_FALSE(TickAndPump(Paused)) << "inactive";
  EXPECT_EQ(Paused.Volume(), 0);
  EXPECT_EQ(FadeEnds, 0);
}

TEST_F(MixerChannel, PrimingFillsTheRingWithTheFileThenSilence) {
  const std::vector<uint8_t> Pcm = DecodeWholeFile(SoundDataFile(MonoFile));
  ASSERT_EQ(Pcm.size(), MonoBytes);
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.Play();
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
  EXPECT_TRUE(Channel.Thread().Active());
  std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
  ASSERT_EQ(Buffer->Size(), MonoRing);
  EXPECT_TRUE(Buffer->Playing());
  const std::vector<uint8_t> Ring = Buffer->Data();
  EXPECT_TRUE(std::equal(Pcm.begin(), Pcm.end(), Ring.begin()));
  // 16-bit silence is bytes of 0 (the fake starts every byte at another value).
  EXPECT_TRUE(AllBytes(Ring, MonoBytes, MonoRing, 0));
}

TEST(PcmSilence, EightBitSilenceIs128SixteenBitIs0) {
  EXPECT_EQ(PcmSilenceByte(8), 128);
  EXPECT_EQ(PcmSilenceByte(16), 0);
}

TEST_F(MixerChannel, PlayOnAPlayingChannelChangesNothing) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.Play();
  std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
  const std::vector<uint8_t> Before = Buffer->Data();
  Channel.Play();
  EXPECT_EQ(Buffer->PlayCalls(), 1);
  EXPECT_EQ(Fake.Buffers().size(), 1u);
  EXPECT_EQ(Buffer->Data(), Before);
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
}

TEST_F(MixerChannel, StopThenPlayRestartsFromTheStartTime) {
  const std::vector<uint8_t> Pcm = DecodeWholeFile(SoundDataFile(MonoFile));
  // 100 ms into a 22050 Hz mono file: 2205 frames, 4410 bytes.
  const std::vector<uint8_t> Played(Pcm.begin() + 4410, Pcm.end());
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.SetStartTime(100);
  Channel.SetEndTime(500);
  // The cursor is already far past the file's data, so the first refill
  // writes silence over the start of the ring.
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 30000);
  Channel.Play();
  EXPECT_TRUE(SamplesNear(Buffer->Data(), Played));
  ASSERT_TRUE(Clock.Round(Channel));
  EXPECT_TRUE(AllBytes(Buffer->Data(), 0, 30000, 0));
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);

  Channel.Stop();
  EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
  EXPECT_FALSE(Buffer->Playing());
  EXPECT_EQ(Buffer->Cursor(), 0u);
  Channel.Play();
  const std::vector<uint8_t> Ring = Buffer->Data();
  EXPECT_TRUE(SamplesNear(Ring, Played));
  EXPECT_TRUE(AllBytes(Ring, Played.size(), MonoRing, 0));
}

TEST_F(MixerChannel, PauseKeepsThePositionAndPlayResumesWithoutPriming) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.SetLoop(true);
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 0);
  Channel.Play();
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, 50000));
  Channel.Pause();
  EXPECT_EQ(Channel.State(), TauChannelState::Paused);
  EXPECT_FALSE(Buffer->Playing());
  EXPECT_FALSE(Channel.Thread().Active());
  const std::vector<uint8_t> Paused = Buffer->Data();
  Channel.Play();
  EXPECT_EQ(Buffer->Cursor(), 50000u);
  EXPECT_EQ(Buffer->Data(), Paused) << "resuming must not prime again";
  EXPECT_EQ(Buffer->PlayCalls(), 2);
}

TEST_F(MixerChannel, ANonLoopingSoundStopsByItselfAndNotifiesOnce) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 10000);
  Channel.Play();
  // Still inside the file's data: the tick starts draining.
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, 10000));
  ThreadNotifyQueue().Pump();
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
  EXPECT_EQ(Ends, 0);
  // Past the end of the data: the next round stops.
  Buffer->SetCursor(MonoBytes + 8000);
  ASSERT_TRUE(TickAndPump(Channel));
  EXPECT_EQ(Ends, 1);
  EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
  EXPECT_FALSE(Buffer->Playing());
  EXPECT_EQ(Buffer->Cursor(), 0u) << "rewound";
  EXPECT_FALSE(Channel.Thread().Active());
  for (int Round = 0; Round < 3; ++Round) EXPECT_FALSE(TickAndPump(Channel));
  EXPECT_EQ(Ends, 1);
}

TEST_F(MixerChannel, ASoundShorterThanOneTickStillEnds) {
  const std::vector<uint8_t> Pcm = DecodeWholeFile(SoundDataFile(StereoFile));
  ASSERT_EQ(Pcm.size(), StereoBytes);
  TauDSMixerChannel& Channel = Open(StereoFile);
  // The cursor has passed the end of the data before the first tick.
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 100000);
  Channel.Play();
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, 100000));
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
  // Around the ring to within the end threshold before the end: it drains
  // and plays silence meanwhile.
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, 600000));
  ThreadNotifyQueue().Pump();
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
  const std::vector<uint8_t> Ring = Buffer->Data();
  EXPECT_TRUE(AllBytes(Ring, 100000, 600000, 0));
  EXPECT_EQ(Ends, 0);
  // Past the end again: now the next round stops.
  Buffer->SetCursor(StereoBytes + 8000);
  ASSERT_TRUE(TickAndPump(Channel));
  EXPECT_EQ(Ends, 1);
  EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
}

TEST_F(MixerChannel, ALoopingFileHasNoSilenceAtTheSeamAndNeverEnds) {
  const std::vector<uint8_t> Pcm = DecodeWholeFile(SoundDataFile(StereoFile));
  ASSERT_EQ(Pcm.size(), StereoBytes);
  TauDSMixerChannel& Channel = Open(StereoFile);
  Channel.SetLoop(true);
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 0);
  Channel.Play();
  // The ring holds the file over and over, 13 and a third times.
  std::vector<uint8_t> Ring = Buffer->Data();
  size_t Mismatches = 0;
  for (size_t Index = 0; Index < StereoRing; ++Index)
    if (Ring[Index] != Pcm[Index % StereoBytes]) ++Mismatches;
  EXPECT_EQ(Mismatches, 0u);

  // What the cursor leaves behind gets the stream one ring length later.
  const uint32_t Cursor = 100000;
  Buffer->SetCursor(Cursor);
  const auto Refilled = [&] {
    const std::vector<uint8_t> Now = Buffer->Data();
    for (size_t Index = 0; Index < Cursor; ++Index)
      if (Now[Index] != Pcm[(StereoRing + Index) % StereoBytes]) return false;
    return true;
  };
  ASSERT_TRUE(Clock.Round(Channel));
  ASSERT_TRUE(Refilled());
  Ring = Buffer->Data();
  for (size_t Index = Cursor; Index < StereoRing; ++Index)
    if (Ring[Index] != Pcm[Index % StereoBytes]) ++Mismatches;
  EXPECT_EQ(Mismatches, 0u);

  // The cursor going round the whole ring never finds an end.
  for (uint32_t Position : {400000u, 700000u, 50000u}) {
    ASSERT_TRUE(MoveAndTick(Channel, *Buffer, Position));
    ASSERT_TRUE(TickAndPump(Channel));
  }
  EXPECT_EQ(Ends, 0);
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
}

TEST_F(MixerChannel, FadeToInZeroTimeSetsTheEndVolumeAtTheNextTick) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.SetVolume(-500);
  Channel.Play();
  std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
  Channel.FadeTo(0, -4000);
  EXPECT_EQ(Channel.Volume(), -500) << "not before the tick";
  ASSERT_TRUE(TickAndPump(Channel));
  EXPECT_EQ(FadeEnds, 1);
  EXPECT_EQ(Channel.Volume(), -4000);
  // One step straight to the end volume.
  EXPECT_EQ(Buffer->Volumes(), (std::vector<int32_t>{-500, -4000}));
  for (int Round = 0; Round < 3; ++Round) ASSERT_TRUE(TickAndPump(Channel));
  EXPECT_EQ(FadeEnds, 1);
  EXPECT_EQ(Buffer->Volumes(), (std::vector<int32_t>{-500, -4000}));
}

TEST_F(MixerChannel, AFadeMovesInTickSizedSteps) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.Play();
  std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
  // From 0 to -2000 over 2000 ms: each step's volume is minus the
  // milliseconds since the fade began, one step a round of 400 ms.
  Channel.FadeTo(2000, -2000);
  for (int Round = 1; Round <= 4; ++Round) {
    ASSERT_TRUE(TickAndPump(Channel));
    EXPECT_EQ(Channel.Volume(), -400 * Round);
    EXPECT_EQ(FadeEnds, 0) << "not before the fade time";
  }
  ASSERT_TRUE(TickAndPump(Channel));
  EXPECT_EQ(FadeEnds, 1);
  EXPECT_EQ(Channel.Volume(), -2000);
  EXPECT_EQ(Buffer->Volumes(), (std::vector<int32_t>{0, -400, -800, -1200, -1600, -2000}));
  ASSERT_TRUE(TickAndPump(Channel));
  EXPECT_EQ(FadeEnds, 1);
}

TEST_F(MixerChannel, StopEndsAFadeWithoutNotifying) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.Play();
  Channel.FadeTo(1000, -3000);
  Channel.Stop();
  for (int Round = 0; Round < 4; ++Round) EXPECT_FALSE(TickAndPump(Channel)) << "inactive";
  EXPECT_EQ(FadeEnds, 0);
  EXPECT_EQ(Channel.Volume(), 0);
}

TEST_F(MixerChannel, VolumeAndPanReachTheBuffer) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.SetVolume(-1200);
  Channel.SetPan(-3000);
  Channel.Play();
  std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
  EXPECT_EQ(Buffer->Volume(), -1200);
  EXPECT_EQ(Buffer->Pan(), -3000);
  Channel.SetPan(2500);
  EXPECT_EQ(Buffer->Pan(), 2500);
  try {
    Channel.SetVolume(5);
    FAIL() << "no error raised";
  } catch (const EDirectXError& Error) {
    EXPECT_EQ(Error.ErrorCode, SoundResult::InvalidParam);
  }
}

TEST_F(MixerChannel, AnOperationGivesUpWhenAnotherThreadHoldsTheLock) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  Channel.Play();
  std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
  const int PansBefore = Buffer->PanCalls();
  // Another thread's volume change sits inside the device call, holding
  // the channel's lock.
  Buffer->HoldVolumeCalls();
  std::thread Holder([&] { Channel.SetVolume(-100); });
  Buffer->WaitForHeldVolumeCall();
  ASSERT_TRUE(Buffer->VolumeCallHeld());
  Channel.SetPan(700);
  Channel.Stop();
  // Would raise if it got the lock.
  EXPECT_NO_THROW(Channel.FadeTo(60001, 0));
  EXPECT_EQ(Channel.Pan(), 0);
  EXPECT_EQ(Buffer->PanCalls(), PansBefore);
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
  Buffer->ReleaseVolumeCalls();
  Holder.join();
  EXPECT_EQ(Channel.Volume(), -100);
  Channel.SetPan(700);
  EXPECT_EQ(Channel.Pan(), 700);
  EXPECT_EQ(Buffer->Pan(), 700);
}

class MixerChannelLoss : public MixerChannel {
 protected:
  TauDSMixerChannel& OpenWatched() {
    TauDSMixerChannel& Channel = Open(MonoFile);
    Channel.OnBufferLost = [this](TauDSMixerChannel&) {
      LostThread = std::this_thread::get_id();
      ++Losses;
    };
    return Channel;
  }
  void ExpectFellBack(TauDSMixerChannel& Channel) {
    EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
    EXPECT_EQ(Fake.LiveBuffers(), 0);
    EXPECT_FALSE(Channel.Thread().Active());
    // The next Play makes a new buffer.
    const size_t Made = Fake.Buffers().size();
    Channel.Play();
    EXPECT_EQ(Fake.Buffers().size(), Made + 1);
    EXPECT_EQ(Channel.State(), TauChannelState::Playing);
  }
  std::atomic<int> Losses{0};
  std::thread::id LostThread;
};

TEST_F(MixerChannelLoss, WhenStartingToPlay) {
  TauDSMixerChannel& Channel = OpenWatched();
  Prepare(Channel, 0)->LoseOnNextPlay();
  EXPECT_NO_THROW(Channel.Play());
  EXPECT_EQ(Losses, 1);
  EXPECT_EQ(LostThread, std::this_thread::get_id());
  ExpectFellBack(Channel);
}

TEST_F(MixerChannelLoss, WhilePriming) {
  TauDSMixerChannel& Channel = OpenWatched();
  Prepare(Channel, 0)->LoseOnNextLock();
  EXPECT_NO_THROW(Channel.Play());
  EXPECT_EQ(Losses, 1);
  EXPECT_EQ(LostThread, std::this_thread::get_id());
  ExpectFellBack(Channel);
}

TEST_F(MixerChannelLoss, WhileRefillingInTheBackground) {
  TauDSMixerChannel& Channel = OpenWatched();
  Channel.SetLoop(true);
  Channel.Play();
  std::shared_ptr<TFakeBuffer> Buffer = Fake.LastBuffer();
  Buffer->LoseOnNextLock();
  Buffer->SetCursor(20000);
  // The round runs in a thread of its own, as the refill thread's would.
  std::thread::id RoundThread;
  std::thread Refiller([&] {
    RoundThread = std::this_thread::get_id();
    Clock.Round(Channel);
  });
  Refiller.join();
  ASSERT_EQ(Losses, 1);
  ASSERT_EQ(Channel.State(), TauChannelState::Stopped);
  EXPECT_EQ(LostThread, RoundThread);
  EXPECT_TRUE(Buffer->Released());
  ExpectFellBack(Channel);
}

TEST_F(MixerChannel, ANotificationForADestroyedChannelIsDropped) {
  TauDSMixerChannel& Channel = Open(MonoFile);
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 10000);
  Channel.Play();
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, 10000));
  EXPECT_EQ(ThreadNotifyQueue().Pending(), 0u);
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, MonoBytes + 8000));
  EXPECT_EQ(ThreadNotifyQueue().Pending(), 1u);
  EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
  Mixer->RemoveChannel(Channel);
  EXPECT_EQ(ThreadNotifyQueue().Pump(), 1u);
  EXPECT_EQ(Ends, 0);
}

class TRecordingNotifier : public TauNotifier {
 public:
  void Post(std::function<void()> Call) override { Queue.Post(std::move(Call)); }
  TauNotifyQueue Queue;
};

TEST_F(MixerChannel, NotificationsGoThroughTheCreatingThreadsNotifier) {
  TRecordingNotifier Notifier;
  SetThreadNotifier(&Notifier);
  TauDSMixerChannel& Channel = Open(MonoFile);
  SetThreadNotifier(nullptr);
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 10000);
  Channel.Play();
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, 10000));
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, MonoBytes + 8000));
  EXPECT_EQ(Notifier.Queue.Pending(), 1u);
  EXPECT_EQ(ThreadNotifyQueue().Pending(), 0u);
  EXPECT_EQ(Ends, 0) << "not before the notifier runs it";
  Notifier.Queue.Pump();
  EXPECT_EQ(Ends, 1);
  Mixer.reset();
}

}  // namespace
}  // namespace tw
