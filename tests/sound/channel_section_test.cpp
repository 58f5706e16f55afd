// A channel playing part of its file: a stopped channel starts at the
// StartTime it has now, also after StartTime moved earlier, and a short
// looped section fills the ring with itself over and over without a seam,
// ending after its pass once Loop is switched off.
#include <gtest/gtest.h>

#include <vector>

#include "sound/auDSMixerU.h"
#include "tests/sound/FakeSoundDevice.h"
#include "tests/sound/ManualSoundClock.h"

namespace tw {
namespace {

using test::SoundDataFile;
using test::TFakeBuffer;
using test::TFakeSound;
using test::TManualSoundClock;

// Mono 16-bit at 22050 Hz, 500 ms: 44100 bytes a second, a 176400-byte ring.
const std::string MonoFile = "sine-mono-22050.mp3";
constexpr uint32_t MonoRing = 176400;

// The PCM of a section as a reader of its own decodes it.
std::vector<uint8_t> DecodeSection(int32_t StartMs, int32_t EndMs) {
  TauAudioFileReader Reader(SoundDataFile(MonoFile));
  Reader.SetStart(int64_t(StartMs) * 10000);
  Reader.SetLength(int64_t(EndMs - StartMs) * 10000);
  Reader.Seek(0);
  std::vector<uint8_t> Result;
  std::vector<uint8_t> Block(65536);
  for (;;) {
    const int64_t Read = Reader.Read(Block.data(), int64_t(Block.size()));
    if (Read <= 0) break;
    Result.insert(Result.end(), Block.begin(), Block.begin() + Read);
  }
  return Result;
}

// Whether the 16-bit samples at From of Ring match Expected within one step:
// the decoder's rounding after a seek may differ by that much.
bool SamplesNear(const std::vector<uint8_t>& Ring, size_t From,
                 const std::vector<uint8_t>& Expected) {
  if (Ring.size() < From + Expected.size()) return false;
  for (size_t Index = 0; Index + 1 < Expected.size(); Index += 2) {
    const int Got = int16_t(Ring[From + Index] | Ring[From + Index + 1] << 8);
    const int Want = int16_t(Expected[Index] | Expected[Index + 1] << 8);
    if (Got < Want - 1 || Got > Want + 1) return false;
  }
  return true;
}

size_t CountOther(const std::vector<uint8_t>& Data, size_t From, size_t To, uint8_t Value) {
  size_t Count = 0;
  for (size_t Index = From; Index < To; ++Index) Count += Data[Index] != Value;
  return Count;
}

class ChannelSection : public ::testing::Test {
 protected:
  void SetUp() override {
    SetThreadNotifier(nullptr);
    ThreadNotifyQueue().Pump();
  }

  TauDSMixerChannel& Open() {
    TauDSMixerChannel& Channel = Mixer->AddChannel();
    Channel.SetFileName(SoundDataFile(MonoFile));
    Channel.OnEnd = [this](TauDSMixerChannel&) { ++Ends; };
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

  TManualSoundClock Clock;
  TFakeSound Fake;
  std::unique_ptr<TauDSMixer> Mixer = std::make_unique<TauDSMixer>();
  int Ends = 0;
};

TEST_F(ChannelSection, StartTimeMovedEarlierAfterTheEndPlaysFromTheNewStart) {
  TauDSMixerChannel& Channel = Open();
  Channel.SetStartTime(300);
  Channel.SetEndTime(450);
  const std::vector<uint8_t> Late = DecodeSection(300, 450);
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 1000);
  Channel.Play();
  ASSERT_TRUE(SamplesNear(Buffer->Data(), 0, Late));
  // The section ends by itself: draining inside its data, then past it.
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, 1000));
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, uint32_t(Late.size()) + 8000));
  ThreadNotifyQueue().Pump();
  ASSERT_EQ(Ends, 1);
  ASSERT_EQ(Channel.State(), TauChannelState::Stopped);

  Channel.SetStartTime(100);
  Channel.SetEndTime(450);
  const std::vector<uint8_t> Early = DecodeSection(100, 450);
  ASSERT_GT(Early.size(), Late.size() + 8000);
  Channel.Play();
  const std::vector<uint8_t> Ring = Buffer->Data();
  EXPECT_TRUE(SamplesNear(Ring, 0, Early));
  EXPECT_EQ(CountOther(Ring, Early.size(), MonoRing, 0), 0u) << "silence after the section";
}

TEST_F(ChannelSection, AShortLoopedSectionRepeatsWithoutASeam) {
  for (const int32_t LengthMs : {10, 50}) {
    TauDSMixerChannel& Channel = Open();
    Channel.SetStartTime(100);
    Channel.SetEndTime(100 + LengthMs);
    Channel.SetLoop(true);
    const std::vector<uint8_t> Section = DecodeSection(100, 100 + LengthMs);
    ASSERT_GE(Section.size(), size_t(LengthMs) * 44 - 4);
    std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 0);
    Channel.Play();
    std::vector<uint8_t> Ring = Buffer->Data();
    size_t Mismatches = 0;
    for (size_t Index = 0; Index < MonoRing; ++Index)
      Mismatches += Ring[Index] != Section[Index % Section.size()];
    EXPECT_EQ(Mismatches, 0u) << LengthMs << " ms";

    // What the cursor leaves behind gets the section one ring length on.
    const uint32_t Cursor = 100000;
    ASSERT_TRUE(MoveAndTick(Channel, *Buffer, Cursor));
    Ring = Buffer->Data();
    for (size_t Index = 0; Index < Cursor; ++Index)
      Mismatches += Ring[Index] != Section[(MonoRing + Index) % Section.size()];
    EXPECT_EQ(Mismatches, 0u) << LengthMs << " ms";
    Mixer->RemoveChannel(Channel);
  }
}

TEST_F(ChannelSection, ALoopedSectionEndsAfterItsPassOnceLoopIsOff) {
  TauDSMixerChannel& Channel = Open();
  Channel.SetStartTime(100);
  Channel.SetEndTime(110);
  Channel.SetLoop(true);
  const std::vector<uint8_t> Section = DecodeSection(100, 110);
  std::shared_ptr<TFakeBuffer> Buffer = Prepare(Channel, 0);
  Channel.Play();
  Channel.SetLoop(false);
  // The refill finishes the pass under way, then writes silence.
  const size_t Rest = Section.size() - MonoRing % Section.size();
  const uint32_t Cursor = 100000;
  ASSERT_TRUE(MoveAndTick(Channel, *Buffer, Cursor));
  const std::vector<uint8_t> Now = Buffer->Data();
  size_t Mismatches = 0;
  for (size_t Index = 0; Index < Rest; ++Index)
    Mismatches += Now[Index] != Section[(MonoRing + Index) % Section.size()];
  EXPECT_EQ(Mismatches, 0u);
  EXPECT_EQ(CountOther(Now, Rest, Cursor, 0), 0u);
}

}  // namespace
}  // namespace tw
