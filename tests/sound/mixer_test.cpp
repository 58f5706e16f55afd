// The mixer against the recording device: settings, how it opens the
// device and the primary output, closing, and the life of its channels.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "sound/auDSMixerU.h"
#include "tests/sound/FakeSoundDevice.h"

namespace tw {
namespace {

using test::SoundDataFile;
using test::TFakeSound;

bool Contains(const std::vector<std::string>& Calls, const std::string& Prefix) {
  return std::any_of(Calls.begin(), Calls.end(),
                     [&](const std::string& Call) { return Call.rfind(Prefix, 0) == 0; });
}

TEST(Mixer, DefaultsAndFrequencyLimits) {
  TauDSMixer Mixer;
  EXPECT_EQ(Mixer.BitsPerSample(), bs16Bit);
  EXPECT_TRUE(Mixer.Stereo());
  EXPECT_EQ(Mixer.Frequency(), 44100);
  EXPECT_EQ(Mixer.Level(), lPriority);
  EXPECT_EQ(Mixer.SpeakerConfig(), 4u);
  EXPECT_FALSE(Mixer.IsOpen());
  EXPECT_EQ(Mixer.ChannelCount(), 0u);
  Mixer.SetFrequency(50);
  EXPECT_EQ(Mixer.Frequency(), 100);
  Mixer.SetFrequency(100);
  EXPECT_EQ(Mixer.Frequency(), 100);
  Mixer.SetFrequency(100000);
  EXPECT_EQ(Mixer.Frequency(), 100000);
  Mixer.SetFrequency(100001);
  EXPECT_EQ(Mixer.Frequency(), 100000);
  Mixer.SetFrequency(-5);
  EXPECT_EQ(Mixer.Frequency(), 100);
}

TEST(Mixer, CreatingItTouchesNoDevice) {
  TFakeSound Fake;
  { TauDSMixer Mixer; }
  EXPECT_EQ(Fake.DevicesCreated(), 0);
  EXPECT_TRUE(Fake.Calls().empty());
}

TEST(Mixer, OpeningSetsLevelFormatSpeakersAndStartsThePrimaryOutput) {
  TFakeSound Fake;
  TauDSMixer Mixer;
  Mixer.Open();
  EXPECT_TRUE(Mixer.IsOpen());
  // The default device is the first of the list, with an empty identifier.
  ASSERT_FALSE(SoundDeviceIds().empty());
  EXPECT_EQ(SoundDeviceIds()[0], "");
  EXPECT_EQ(SoundDeviceIds().size(), SoundDeviceDescriptions().size());
  const std::vector<std::string> Expected = {
      "Create()",           "SetCooperativeLevel(2)",       "CreatePrimaryOutput()",
      "GetPrimaryFormat()", "SetPrimaryFormat(2,16,44100)", "GetPrimaryFormat()",
      "SetSpeakerConfig(4)", "PlayPrimaryLooping()"};
  EXPECT_EQ(Fake.Calls(), Expected);
  Mixer.Open();
  EXPECT_EQ(Fake.DevicesCreated(), 1);
  EXPECT_EQ(Fake.Calls().size(), Expected.size());
}

TEST(Mixer, TakesBackTheFormatTheDeviceAdjusted) {
  TFakeSound Fake;
  Fake.SetPrimaryLimits(48000, 8);
  TauDSMixer Mixer;
  Mixer.SetFrequency(96000);
  Mixer.SetStereo(false);
  Mixer.SetLevel(lExclusive);
  Mixer.Open();
  const std::vector<std::string> Calls = Fake.Calls();
  EXPECT_TRUE(Contains(Calls, "SetCooperativeLevel(3)"));
  EXPECT_TRUE(Contains(Calls, "SetPrimaryFormat(1,16,96000)"));
  EXPECT_EQ(Mixer.Frequency(), 48000);
  EXPECT_EQ(Mixer.BitsPerSample(), bs8Bit);
  EXPECT_FALSE(Mixer.Stereo());
}

TEST(Mixer, NormalLevelNeverTouchesThePrimaryFormat) {
  TFakeSound Fake;
  Fake.SetPrimaryLimits(8000, 8);
  TauDSMixer Mixer;
  Mixer.SetLevel(lNormal);
  Mixer.SetFrequency(22050);
  Mixer.SetStereo(false);
  Mixer.SetBitsPerSample(bs8Bit);
  Mixer.Open();
  const std::vector<std::string> Calls = Fake.Calls();
  EXPECT_TRUE(Contains(Calls, "SetCooperativeLevel(1)"));
  EXPECT_FALSE(Contains(Calls, "GetPrimaryFormat"));
  EXPECT_FALSE(Contains(Calls, "SetPrimaryFormat"));
  EXPECT_TRUE(Contains(Calls, "PlayPrimaryLooping()"));
  EXPECT_EQ(Mixer.Frequency(), 22050);
  EXPECT_FALSE(Mixer.Stereo());
  EXPECT_EQ(Mixer.BitsPerSample(), bs8Bit);
}

TEST(Mixer, SpeakerConfigGoesToAnOpenDeviceAtOnce) {
  TFakeSound Fake;
  TauDSMixer Mixer;
  Mixer.SetSpeakerConfig(7);
  EXPECT_TRUE(Fake.Calls().empty());
  Mixer.Open();
  EXPECT_TRUE(Contains(Fake.Calls(), "SetSpeakerConfig(7)"));
  Mixer.SetSpeakerConfig(9);
  EXPECT_EQ(Fake.Calls().back(), "SetSpeakerConfig(9)");
  EXPECT_EQ(Mixer.SpeakerConfig(), 9u);
}

TEST(Mixer, WithoutACreationEntryPointOpeningRaises) {
  TFakeSound Fake;
  SoundDeviceCreate = nullptr;
  TauDSMixer Mixer;
  try {
    Mixer.Open();
    FAIL() << "no error raised";
  } catch (const EDirectXError& Error) {
    EXPECT_STREQ(Error.what(), "No sound output was set up for the program.");
    EXPECT_EQ(Error.ErrorCode, 0);
  }
  EXPECT_FALSE(Mixer.IsOpen());
}

TEST(Mixer, AFailedOpeningRaisesTheDeviceErrorAndCanBeRetried) {
  TFakeSound Fake;
  Fake.SetCreateResult(SoundResult::NoDriver);
  TauDSMixer Mixer;
  try {
    Mixer.GetDevice();
    FAIL() << "no error raised";
  } catch (const EDirectXError& Error) {
    EXPECT_EQ(Error.ErrorCode, SoundResult::NoDriver);
    EXPECT_STREQ(Error.what(), "No sound device was found (ALSA found no card to play on).");
  }
  EXPECT_FALSE(Mixer.IsOpen());
  Fake.SetCreateResult(SoundResult::Ok);
  Mixer.GetDevice();
  EXPECT_TRUE(Mixer.IsOpen());
}

TEST(Mixer, OpensLazilyWhenAChannelNeedsABufferAndCloseReleasesEverything) {
  TFakeSound Fake;
  TauDSMixer Mixer;
  TauDSMixerChannel& Channel = Mixer.AddChannel();
  Channel.SetFileName(SoundDataFile("sine-mono-22050.mp3"));
  EXPECT_FALSE(Mixer.IsOpen());
  Channel.Play();
  EXPECT_TRUE(Mixer.IsOpen());
  EXPECT_EQ(Fake.LiveBuffers(), 1);

  Mixer.Close();
  EXPECT_FALSE(Mixer.IsOpen());
  EXPECT_EQ(Fake.DevicesAlive(), 0);
  EXPECT_EQ(Fake.LiveBuffers(), 0);
  EXPECT_EQ(Channel.State(), TauChannelState::Stopped);
  EXPECT_FALSE(Channel.Thread().Active());

  // Playing again opens the mixer again and makes a new buffer.
  Channel.Play();
  EXPECT_EQ(Fake.DevicesCreated(), 2);
  EXPECT_EQ(Fake.Buffers().size(), 2u);
  EXPECT_EQ(Channel.State(), TauChannelState::Playing);
}

std::map<int, int>& Destructions() {
  static std::map<int, int> Counts;
  return Counts;
}

class TCountedChannel : public TauDSMixerChannel {
 public:
  explicit TCountedChannel(TauDSMixer& Mixer) : TauDSMixerChannel(Mixer) {}
  ~TCountedChannel() override { ++Destructions()[Number]; }
  int Number = 0;
};

TEST(Mixer, DestroyingItDestroysEveryRegisteredChannelOnce) {
  Destructions().clear();
  TFakeSound Fake;
  {
    TauDSMixer Mixer;
    for (int Number = 1; Number <= 4; ++Number) Mixer.AddChannel<TCountedChannel>().Number = Number;
    ASSERT_EQ(Mixer.ChannelCount(), 4u);
    auto& Playing = static_cast<TCountedChannel&>(Mixer.Channel(1));
    Playing.SetFileName(SoundDataFile("sine-mono-22050.mp3"));
    Playing.Play();
    // Removing a channel destroys it at once and only once.
    Mixer.RemoveChannel(Mixer.Channel(3));
    EXPECT_EQ(Destructions(), (std::map<int, int>{{4, 1}}));
    EXPECT_EQ(Mixer.ChannelCount(), 3u);
  }
  EXPECT_EQ(Destructions(), (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  EXPECT_EQ(Fake.LiveBuffers(), 0);
  EXPECT_EQ(Fake.DevicesAlive(), 0);
}

TEST(Mixer, RemovingAStrangerDoesNothing) {
  TFakeSound Fake;
  TauDSMixer First;
  TauDSMixer Second;
  TauDSMixerChannel& Channel = First.AddChannel();
  Second.RemoveChannel(Channel);
  EXPECT_EQ(First.ChannelCount(), 1u);
  EXPECT_EQ(&First.Channel(0), &Channel);
  EXPECT_EQ(&Channel.Mixer(), &First);
}

}  // namespace
}  // namespace tw
