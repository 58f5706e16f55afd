// An MP3 with 2000 damaged bytes in its middle (made by
// scripts/make-test-sounds.sh from three seconds of a 441 Hz sine): the
// reader's duration covers both sides of the damage, reading it through
// never fails and gives the sine again after the damage, and a channel
// opens and plays it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "sound/auDSMixerU.h"
#include "tests/sound/FakeSoundDevice.h"

namespace tw {
namespace {

const std::string Damaged = "sine-mono-22050-damaged.mp3";
constexpr int64_t Rate = 22050;
// 441 Hz at 22050 Hz: the sine repeats every 50 samples.
constexpr size_t Period = 50;

std::vector<int16_t> ReadAll(TauAudioFileReader& Reader) {
  std::vector<int16_t> All;
  std::vector<int16_t> Block(4096);
  for (;;) {
    const int64_t Read = Reader.Read(Block.data(), int64_t(Block.size() * 2));
    if (Read <= 0) break;
    All.insert(All.end(), Block.begin(), Block.begin() + Read / 2);
  }
  return All;
}

TEST(DamagedAudio, TheReaderSkipsTheDamageAndPlaysBothSides) {
  TauAudioFileReader Reader(test::SoundDataFile(Damaged));
  // Three seconds less what the damage took: far more than the part
  // before it.
  EXPECT_GT(Reader.Duration(), AudioTimeUnitsPerSecond * 27 / 10);
  EXPECT_LE(Reader.Duration(), AudioTimeUnitsPerSecond * 3);
  std::vector<int16_t> Samples;
  ASSERT_NO_THROW(Samples = ReadAll(Reader));
  const int64_t Read = int64_t(Samples.size());
  EXPECT_GT(Read, Rate * 27 / 10);
  EXPECT_LE(Read * AudioTimeUnitsPerSecond / Rate, Reader.Duration());

  // The last second is the sine again, period for period.
  size_t Off = 0;
  double Peak = 0;
  for (size_t Index = Samples.size() - size_t(Rate); Index < Samples.size() - 2000; ++Index) {
    Off += std::abs(Samples[Index] - Samples[Index + Period]) > 800;
    Peak = std::max(Peak, std::fabs(double(Samples[Index])));
  }
  EXPECT_EQ(Off, 0u);
  EXPECT_GT(Peak, 12000.0) << "the sine at half scale";
}

TEST(DamagedAudio, AChannelOpensAndPlaysIt) {
  SetThreadNotifier(nullptr);
  test::TFakeSound Fake;
  TauDSMixer Mixer;
  TauDSMixerChannel& Channel = Mixer.AddChannel();
  ASSERT_NO_THROW(Channel.SetFileName(test::SoundDataFile(Damaged)));
  EXPECT_GT(Channel.Duration(), 2700u);
  ASSERT_NO_THROW(Channel.Play());
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
  // The 4-second ring holds the whole file as the reader decodes it, then
  // silence.
  TauAudioFileReader Reader(test::SoundDataFile(Damaged));
  const std::vector<int16_t> Samples = ReadAll(Reader);
  const std::vector<uint8_t> Ring = Fake.LastBuffer()->Data();
  const size_t DataBytes = Samples.size() * 2;
  ASSERT_LT(DataBytes, Ring.size());
  EXPECT_EQ(std::memcmp(Ring.data(), Samples.data(), DataBytes), 0);
  size_t NotSilent = 0;
  for (size_t Index = DataBytes; Index < Ring.size(); ++Index) NotSilent += Ring[Index] != 0;
  EXPECT_EQ(NotSilent, 0u);
  Channel.Stop();
}

}  // namespace
}  // namespace tw
