// The shipped cues' loudness by the perceptual measure of ITU-R BS.1770
// (K-weighting, mean square over the sound), computed here from the files
// the program's own reader decodes: every cue as loud as the others within
// a decibel and a half, and all of them a comfortable, stated distance
// (6 to 10 dB) above the music as the program plays it at the volumes a
// first start reads from the shipped defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "settings/QCSettingU.h"
#include "settings/SettingU.h"
#include "settings/SettingTestUtil.h"
#include "sound/auAudioFileReadU.h"

namespace tw::test {
namespace {

const std::string SoundFolder = TINTWELL_TEST_DATA "/../data/sounds/";
const std::string ShippedDefaults = TINTWELL_TEST_DATA "/../data/default/default.ini";

const std::vector<std::string> CueNames = {
    "DropperIn", "DropperOut", "Splash",   "StrokeUp",   "StrokeDown",
    "GetPaint",  "Wash",       "PageTurn", "ToolChange", "Undo"};

// One second-order section, direct form I.
struct TBiquad {
  double B0, B1, B2, A1, A2;
  double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
  double Step(double X) {
    const double Y = B0 * X + B1 * X1 + B2 * X2 - A1 * Y1 - A2 * Y2;
    X2 = X1;
    X1 = X;
    Y2 = Y1;
    Y1 = Y;
    return Y;
  }
};

// The K-weighting of BS.1770 at any sample rate, from its analogue
// prototype: a high shelf of about +4 dB above 1.5 kHz, then a high pass
// near 38 Hz.
std::vector<TBiquad> KWeighting(double Rate) {
  const double Pi = 3.14159265358979323846;
  double K = std::tan(Pi * 1681.974450955533 / Rate);
  const double Q1 = 0.7071752369554196;
  const double Vh = std::pow(10.0, 3.999843853973347 / 20.0);
  const double Vb = std::pow(Vh, 0.4996667741545416);
  double A0 = 1.0 + K / Q1 + K * K;
  const TBiquad Shelf{(Vh + Vb * K / Q1 + K * K) / A0, 2.0 * (K * K - Vh) / A0,
                      (Vh - Vb * K / Q1 + K * K) / A0, 2.0 * (K * K - 1.0) / A0,
                      (1.0 - K / Q1 + K * K) / A0};
  K = std::tan(Pi * 38.13547087602444 / Rate);
  const double Q2 = 0.5003270373238773;
  A0 = 1.0 + K / Q2 + K * K;
  const TBiquad HighPass{1.0, -2.0, 1.0, 2.0 * (K * K - 1.0) / A0, (1.0 - K / Q2 + K * K) / A0};
  return {Shelf, HighPass};
}

struct TSound {
  uint32_t Rate = 0;
  int Channels = 0;
  std::vector<int16_t> Samples;  // interleaved
};

TSound Decode(const std::string& Name) {
  TauAudioFileReader Reader(SoundFolder + Name + ".mp3");
  TSound Sound{Reader.Format().SampleRate, Reader.Format().Channels, {}};
  std::vector<int16_t> Block(32768);
  for (;;) {
    const int64_t Bytes = Reader.Read(Block.data(), int64_t(Block.size() * 2));
    if (Bytes == 0) break;
    Sound.Samples.insert(Sound.Samples.end(), Block.begin(), Block.begin() + Bytes / 2);
  }
  return Sound;
}

// The loudness in LUFS of the sound played back to back: the filters run
// over it twice and the second pass is measured, so a short cue is weighed
// as it sounds each time it plays, not by the filters settling.
double Loudness(const TSound& Sound) {
  const size_t Frames = Sound.Samples.size() / size_t(Sound.Channels);
  double Sum = 0;
  for (int Channel = 0; Channel < Sound.Channels; ++Channel) {
    std::vector<TBiquad> Filters = KWeighting(Sound.Rate);
    double Power = 0;
    for (int Pass = 0; Pass < 2; ++Pass)
      for (size_t Frame = 0; Frame < Frames; ++Frame) {
        double Value = Sound.Samples[Frame * size_t(Sound.Channels) + size_t(Channel)] / 32768.0;
        for (TBiquad& Filter : Filters) Value = Filter.Step(Value);
        if (Pass == 1) Power += Value * Value;
      }
    Sum += Power / double(Frames);
  }
  return -0.691 + 10.0 * std::log10(Sum);
}

TEST(ShippedLoudness, TheWeightingMatchesTheStandardsReferenceTone) {
  // BS.1770: a 997 Hz sine at 0 dBFS in one channel reads -3.01 LUFS.
  TSound Tone{48000, 1, {}};
  for (int Index = 0; Index < 48000; ++Index)
    Tone.Samples.push_back(int16_t(std::lround(32767.0 * std::sin(2 * 3.14159265358979 * 997 *
                                                                     Index / 48000.0))));
  EXPECT_NEAR(Loudness(Tone), -3.01, 0.05);
}

TEST(ShippedLoudness, CuesAreEquallyLoud) {
  double Quietest = 0, Loudest = -100;
  for (const std::string& Name : CueNames) {
    const double Level = Loudness(Decode(Name));
    Quietest = std::min(Quietest, Level);
    Loudest = std::max(Loudest, Level);
  }
  EXPECT_LE(Loudest - Quietest, 1.5) << "from " << Quietest << " to " << Loudest << " LUFS";
}

TEST(ShippedLoudness, CuesStandAComfortableDistanceAboveTheMusic) {
  TTempFolder Folder;
  TWarningRecorder Warnings;
  TSetting Store(Folder.File("settings.sqlite3"), ProductKey, ShippedDefaults);
  TQCSetting Settings(Store);
  // Volumes are attenuations in hundredths of a decibel.
  const double Music = Loudness(Decode("music")) + Settings.ReadMusicVolume() / 100.0;
  for (const std::string& Name : CueNames) {
    const double Cue = Loudness(Decode(Name)) + Settings.ReadSfxVolume() / 100.0;
    EXPECT_GE(Cue - Music, 6.0) << Name;
    EXPECT_LE(Cue - Music, 10.0) << Name;
  }
}

}  // namespace
}  // namespace tw::test
