// The music and sound cues shipped in data/sounds/, decoded by the program's
// own audio reader: every file the program plays is there, in the format
// the mixer takes, with lengths that suit what it accompanies, never
// clipping, the music kept in the background and joined to itself
// without a click where it loops, and each cue starting and ending at
// silence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sound/auAudioFileReadU.h"

namespace tw::test {
namespace {

const std::string SoundFolder = TINTWELL_TEST_DATA "/../data/sounds/";

// The cues the program plays, in the order of their mixer channels.
const std::vector<std::string> CueNames = {
    "DropperIn", "DropperOut", "Splash",   "StrokeUp",   "StrokeDown",
    "GetPaint",  "Wash",       "PageTurn", "ToolChange", "Undo"};

constexpr double FullScale = 32768.0;

struct TDecoded {
  TAudioFormat Format;
  int64_t SampleCount = 0;
  std::vector<int16_t> Samples;  // interleaved

  int Channels() const { return Format.Channels; }
  int64_t Frames() const { return int64_t(Samples.size()) / Format.Channels; }
  int16_t At(int64_t Frame, int Channel) const {
    return Samples[size_t(Frame * Format.Channels + Channel)];
  }
  double Seconds() const { return double(SampleCount) / Format.SampleRate; }
};

// Decodes a file once; the music is long, so every test shares one copy.
const TDecoded& Decoded(const std::string& Name) {
  static std::map<std::string, TDecoded> Cache;
  auto found = Cache.find(Name);
  if (found != Cache.end()) return found->second;
  TDecoded d;
  TauAudioFileReader reader(SoundFolder + Name + ".mp3");
  d.Format = reader.Format();
  d.SampleCount = reader.SampleCount();
  std::vector<int16_t> block(32768);
  for (;;) {
    const int64_t bytes = reader.Read(block.data(), int64_t(block.size() * 2));
    if (bytes == 0) break;
    d.Samples.insert(d.Samples.end(), block.begin(), block.begin() + bytes / 2);
  }
  return Cache.emplace(Name, std::move(d)).first->second;
}

double Decibels(double Amplitude) { return 20.0 * std::log10(Amplitude / FullScale); }

double PeakDb(const TDecoded& d) {
  int peak = 0;
  for (int16_t s : d.Samples) peak = std::max(peak, std::abs(int(s)));
  return Decibels(peak);
}

double RmsDb(const TDecoded& d, int64_t FirstFrame, int64_t Frames) {
  double sum = 0;
  for (int64_t f = FirstFrame; f < FirstFrame + Frames; ++f)
    for (int c = 0; c < d.Channels(); ++c) sum += double(d.At(f, c)) * d.At(f, c);
  return Decibels(std::sqrt(sum / double(Frames * d.Channels())));
}

// The root mean square of one channel's sample-to-sample steps over two
// runs of frames: the typical size of a step of the waveform there.
double RmsStep(const TDecoded& d, int Channel, int64_t Frames) {
  double sum = 0;
  int64_t count = 0;
  for (int64_t first : {int64_t(0), d.Frames() - Frames}) {
    for (int64_t f = first + 1; f < first + Frames; ++f) {
      const double step = d.At(f, Channel) - d.At(f - 1, Channel);
      sum += step * step;
      ++count;
    }
  }
  return std::sqrt(sum / double(count));
}

void ExpectMixerFormat(const TDecoded& d) {
  // The mixer runs at 44100 Hz in 16-bit PCM and takes mono or stereo.
  EXPECT_EQ(d.Format.FormatTag, 1);
  EXPECT_EQ(d.Format.SampleRate, 44100u);
  EXPECT_GE(d.Format.Channels, 1);
  EXPECT_LE(d.Format.Channels, 2);
  EXPECT_EQ(d.Format.BitsPerSample, 16);
  // Everything the reader announced was handed out, frame for frame.
  EXPECT_EQ(d.Frames(), d.SampleCount);
}

void ExpectLoudButNotClipped(const TDecoded& d) {
  // Near -3 dBFS as mastered; the encoder moves peaks by a fraction of a
  // decibel, never by three.
  const double peak = PeakDb(d);
  EXPECT_GE(peak, -6.0);
  EXPECT_LE(peak, -1.0);
}

TEST(ShippedSounds, EveryFileThePlayerOpensIsThere) {
  std::vector<std::string> names = CueNames;
  names.push_back("music");
  for (const std::string& name : names)
    EXPECT_TRUE(std::filesystem::is_regular_file(SoundFolder + name + ".mp3")) << name;
}

class ShippedCue : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedCue, DecodesInTheMixersFormat) { ExpectMixerFormat(Decoded(GetParam())); }

TEST_P(ShippedCue, IsAShortSound) {
  // A cue answers a single action: long enough to be heard as a sound, over
  // before the child's next action.
  const TDecoded& d = Decoded(GetParam());
  EXPECT_GE(d.Seconds(), 0.05);
  EXPECT_LE(d.Seconds(), 1.5);
}

TEST_P(ShippedCue, NeverClips) {
  // Cues are levelled by loudness, not by peak (shipped_loudness_test.cpp),
  // so their peaks differ; none may come near full scale.
  EXPECT_LE(PeakDb(Decoded(GetParam())), -1.0);
}

TEST_P(ShippedCue, StartsAndEndsWithoutAClick) {
  // A cue is played over silence and may be cut and restarted, so its
  // first and last samples must sit at silence: a jump of 1% of full scale
  // is more than 34 dB below the cue's own peak, masked by the cue itself.
  const TDecoded& d = Decoded(GetParam());
  ASSERT_GT(d.Frames(), 1);
  const int nearSilence = int(FullScale / 100);
  for (int c = 0; c < d.Channels(); ++c) {
    EXPECT_LE(std::abs(int(d.At(0, c))), nearSilence) << "channel " << c;
    EXPECT_LE(std::abs(int(d.At(d.Frames() - 1, c))), nearSilence) << "channel " << c;
  }
}

INSTANTIATE_TEST_SUITE_P(Cues, ShippedCue, ::testing::ValuesIn(CueNames),
                         [](const auto& Info) { return Info.param; });

TEST(ShippedMusic, DecodesInTheMixersFormat) { ExpectMixerFormat(Decoded("music")); }

TEST(ShippedMusic, IsLongEnoughNotToRepeatTooOften) {
  const TDecoded& d = Decoded("music");
  EXPECT_GE(d.Seconds(), 40.0);
  EXPECT_LE(d.Seconds(), 90.0);
}

TEST(ShippedMusic, IsLoudButNotClipped) { ExpectLoudButNotClipped(Decoded("music")); }

TEST(ShippedMusic, StaysInTheBackground) {
  // Mastered to an average level around -18 dBFS; the cues' distance above
  // it is checked by loudness in shipped_loudness_test.cpp.
  const TDecoded& d = Decoded("music");
  const double rms = RmsDb(d, 0, d.Frames());
  EXPECT_GE(rms, -22.0);
  EXPECT_LE(rms, -14.0);
}

TEST(ShippedMusic, PlaysOnThroughTheLoopPoint) {
  // A loop made by fading out and in would dip towards silence around the
  // seam; this one carries on. A quarter second at either end is a beat's
  // worth of music and should hold an average level within 20 dB of the
  // whole piece's (a fade leaves 40 dB or more of dip).
  const TDecoded& d = Decoded("music");
  const int64_t quarter = d.Format.SampleRate / 4;
  const double whole = RmsDb(d, 0, d.Frames());
  EXPECT_GE(RmsDb(d, 0, quarter), whole - 20.0);
  EXPECT_GE(RmsDb(d, d.Frames() - quarter, quarter), whole - 20.0);
}

TEST(ShippedMusic, LoopsWithoutAClick) {
  // When the music loops, its last frame is followed by its first. On a
  // seamless loop that jump is just one more step of the waveform, the size
  // of the steps the music makes on either side of the seam: steps of a
  // continuous signal spread around their root mean square and seldom reach
  // three times it. A click (a gap, a cut mid-wave, a misplaced tail) jumps
  // by about the waveform's own amplitude, several times its typical step.
  // The window, 20 ms each side, holds more than a full cycle of the lowest
  // bass note (F2, about 87 Hz), so its steps show the music's real motion.
  const TDecoded& d = Decoded("music");
  const int64_t window = d.Format.SampleRate / 50;
  ASSERT_GT(d.Frames(), 2 * window);
  for (int c = 0; c < d.Channels(); ++c) {
    const int seam = std::abs(d.At(0, c) - d.At(d.Frames() - 1, c));
    const double typical = RmsStep(d, c, window);
    EXPECT_GT(typical, 0.0) << "channel " << c << " is silent at the seam";
    EXPECT_LE(seam, 3.0 * typical) << "channel " << c;
  }
}

}  // namespace
}  // namespace tw::test
