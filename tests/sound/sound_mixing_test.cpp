// The sound device's sample arithmetic on small arrays: PCM conversion and
// its clipping, volume and pan gains, mixing into the output sum, and the
// sample-rate converter against ideal sines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "sound/auSoundMixingU.h"

namespace tw::test {
namespace {

constexpr double Pi = std::numbers::pi;

TEST(SoundMixing, SixteenBitPcmToFloatReadsSignedLittleEndian) {
  const uint8_t Pcm[] = {0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00, 0xFF, 0xFF};
  float Out[4] = {};
  PcmToFloat(Pcm, 2, 2, 16, Out);
  EXPECT_EQ(Out[0], -32768.0f);
  EXPECT_EQ(Out[1], 32767.0f);
  EXPECT_EQ(Out[2], 1.0f);
  EXPECT_EQ(Out[3], -1.0f);
}

TEST(SoundMixing, EightBitPcmIsUnsignedAroundOneTwentyEight) {
  const uint8_t Pcm[] = {0, 128, 255, 129};
  float Out[4] = {};
  PcmToFloat(Pcm, 4, 1, 8, Out);
  // One 8-bit step is 256 steps of 16 bits, so both widths share one scale.
  EXPECT_EQ(Out[0], -32768.0f);
  EXPECT_EQ(Out[1], 0.0f);
  EXPECT_EQ(Out[2], 127.0f * 256.0f);
  EXPECT_EQ(Out[3], 256.0f);
}

TEST(SoundMixing, EveryPcmValueSurvivesTheRoundTripThroughFloat) {
  std::vector<uint8_t> Pcm16(65536 * 2);
  for (uint32_t v = 0; v < 65536; ++v) {
    Pcm16[2 * v] = uint8_t(v & 0xFF);
    Pcm16[2 * v + 1] = uint8_t(v >> 8);
  }
  std::vector<float> Samples(65536);
  PcmToFloat(Pcm16.data(), 65536, 1, 16, Samples.data());
  std::vector<uint8_t> Back(Pcm16.size());
  FloatToPcm(Samples.data(), 65536, 16, Back.data());
  EXPECT_EQ(Back, Pcm16);

  std::vector<uint8_t> Pcm8(256);
  for (int v = 0; v < 256; ++v) Pcm8[v] = uint8_t(v);
  PcmToFloat(Pcm8.data(), 256, 1, 8, Samples.data());
  std::vector<uint8_t> Back8(256);
  FloatToPcm(Samples.data(), 256, 8, Back8.data());
  EXPECT_EQ(Back8, Pcm8);
}

TEST(SoundMixing, FloatToPcmRoundsAndClipsInsteadOfWrapping) {
  const float Sum[] = {40000.0f, -40000.0f, 1.4f, 1.6f, -1.6f, 32767.4f};
  uint8_t Pcm[12] = {};
  FloatToPcm(Sum, 6, 16, Pcm);
  auto At = [&](int i) { return int16_t(uint16_t(Pcm[2 * i] | (Pcm[2 * i + 1] << 8))); };
  EXPECT_EQ(At(0), 32767);
  EXPECT_EQ(At(1), -32768);
  EXPECT_EQ(At(2), 1);
  EXPECT_EQ(At(3), 2);
  EXPECT_EQ(At(4), -2);
  EXPECT_EQ(At(5), 32767);

  // 8 bits: a sum is divided by 256 and rounded, then offset by 128.
  const float Sum8[] = {40000.0f, -40000.0f, 100.0f, 200.0f, -200.0f};
  uint8_t Pcm8[5] = {};
  FloatToPcm(Sum8, 5, 8, Pcm8);
  EXPECT_EQ(Pcm8[0], 255);
  EXPECT_EQ(Pcm8[1], 0);
  EXPECT_EQ(Pcm8[2], 128);
  EXPECT_EQ(Pcm8[3], 129);
  EXPECT_EQ(Pcm8[4], 127);
}

TEST(SoundMixing, VolumeIsHundredthsOfADecibelWithExactSilence) {
  EXPECT_EQ(VolumeToAmplitude(0), 1.0f);
  // -6 dB is half the amplitude (10^(-0.3) = 0.501), -20 dB a tenth.
  EXPECT_NEAR(VolumeToAmplitude(-600), 0.50119, 1e-4);
  EXPECT_NEAR(VolumeToAmplitude(-2000), 0.1, 1e-6);
  EXPECT_NEAR(VolumeToAmplitude(-4000), 0.01, 1e-7);
  EXPECT_EQ(VolumeToAmplitude(-10000), 0.0f);
  EXPECT_GT(VolumeToAmplitude(-9999), 0.0f);
}

TEST(SoundMixing, PanAttenuatesTheOtherSide) {
  const TChannelGains Centre = VolumeAndPanToGains(0, 0);
  EXPECT_EQ(Centre.Left, 1.0f);
  EXPECT_EQ(Centre.Right, 1.0f);
  const TChannelGains Right = VolumeAndPanToGains(0, 10000);
  EXPECT_EQ(Right.Left, 0.0f);
  EXPECT_EQ(Right.Right, 1.0f);
  const TChannelGains Left = VolumeAndPanToGains(0, -10000);
  EXPECT_EQ(Left.Left, 1.0f);
  EXPECT_EQ(Left.Right, 0.0f);
  // A pan of 2000 takes 20 dB off the left; the volume applies to both.
  const TChannelGains Both = VolumeAndPanToGains(-2000, 2000);
  EXPECT_NEAR(Both.Left, 0.01, 1e-6);
  EXPECT_NEAR(Both.Right, 0.1, 1e-6);
  const TChannelGains LeftBit = VolumeAndPanToGains(0, -600);
  EXPECT_EQ(LeftBit.Left, 1.0f);
  EXPECT_NEAR(LeftBit.Right, 0.50119, 1e-4);
}

TEST(SoundMixing, MixIntoAddsWithGainsAndMapsChannels) {
  const float Mono[] = {100, -200};
  const float Stereo[] = {100, 1000, -200, 2000};
  const TChannelGains Gains{0.5f, 0.25f};

  std::vector<float> Sum = {1, 2, 3, 4};
  MixInto(Mono, 2, 1, Gains, Sum.data(), 2);
  EXPECT_EQ(Sum, (std::vector<float>{51, 27, -97, -46}));

  Sum = {0, 0, 0, 0};
  MixInto(Stereo, 2, 2, Gains, Sum.data(), 2);
  EXPECT_EQ(Sum, (std::vector<float>{50, 250, -100, 500}));

  // Onto a mono output a stereo voice is the mean of its sides.
  Sum = {10, 10};
  MixInto(Stereo, 2, 2, Gains, Sum.data(), 1);
  EXPECT_EQ(Sum, (std::vector<float>{10 + (50 + 250) / 2.0f, 10 + (-100 + 500) / 2.0f}));

  Sum = {0, 0};
  MixInto(Mono, 2, 1, Gains, Sum.data(), 1);
  EXPECT_EQ(Sum, (std::vector<float>{50, -100}));
}

TEST(SoundMixing, TwoLoudVoicesClipAtTheLimits) {
  const float Loud[] = {30000, -30000};
  std::vector<float> Sum(2, 0.0f);
  MixInto(Loud, 2, 1, TChannelGains{}, Sum.data(), 1);
  MixInto(Loud, 2, 1, TChannelGains{}, Sum.data(), 1);
  uint8_t Pcm[4];
  FloatToPcm(Sum.data(), 2, 16, Pcm);
  EXPECT_EQ(int16_t(uint16_t(Pcm[0] | (Pcm[1] << 8))), 32767);
  EXPECT_EQ(int16_t(uint16_t(Pcm[2] | (Pcm[3] << 8))), -32768);
}

// Runs the converter over Input in pieces of the given output sizes.
std::vector<float> Resample(TSincResampler& R, const std::vector<float>& Input,
                            uint32_t OutputFrames, uint32_t Piece) {
  const uint32_t Ch = R.Channels();
  std::vector<float> Output(size_t(OutputFrames) * Ch);
  size_t Used = 0;
  for (uint32_t Done = 0; Done < OutputFrames;) {
    const uint32_t Count = std::min(Piece, OutputFrames - Done);
    const uint32_t Need = R.InputFramesNeeded(Count);
    EXPECT_LE((Used + Need) * Ch, Input.size());
    R.Process(Input.data() + Used * Ch, Need, Output.data() + size_t(Done) * Ch, Count);
    Used += Need;
    Done += Count;
  }
  return Output;
}

std::vector<float> Sine(double Frequency, double Rate, size_t Frames, double Amplitude,
                        uint32_t Channels = 1) {
  std::vector<float> S(Frames * Channels);
  for (size_t i = 0; i < Frames; ++i)
    for (uint32_t c = 0; c < Channels; ++c)
      S[i * Channels + c] = float(Amplitude * std::sin(2 * Pi * Frequency * double(i) / Rate));
  return S;
}

TEST(SoundMixing, UpsamplingASineMatchesTheIdealSineAtTheNewRate) {
  TSincResampler R;
  R.Configure(22050, 44100, 1);
  const double Amplitude = 20000;
  const auto Input = Sine(1000, 22050, 4000, Amplitude);
  const auto Output = Resample(R, Input, 6000, 441);
  // The first output sits on the first input frame, so the ideal output is
  // the same sine sampled at 44100 Hz; skip the filter's start-up.
  double Worst = 0;
  for (size_t k = 200; k < Output.size(); ++k) {
    const double Ideal = Amplitude * std::sin(2 * Pi * 1000 * double(k) / 44100);
    Worst = std::max(Worst, std::fabs(Output[k] - Ideal));
  }
  EXPECT_LT(Worst / Amplitude, 1e-3);  // better than -60 dB
}

TEST(SoundMixing, DownsamplingKeepsTheBandAndRemovesWhatWouldAlias) {
  TSincResampler R;
  R.Configure(48000, 44100, 2);
  const auto Input = Sine(1000, 48000, 8000, 20000, 2);
  const auto Output = Resample(R, Input, 7000, 512);
  double Worst = 0;
  for (size_t k = 300; k < 7000; ++k) {
    const double Ideal = 20000 * std::sin(2 * Pi * 1000 * double(k) / 44100);
    Worst = std::max({Worst, std::fabs(Output[2 * k] - Ideal), std::fabs(Output[2 * k + 1] - Ideal)});
  }
  EXPECT_LT(Worst / 20000, 1e-3);

  // 23.5 kHz cannot exist at 44100 Hz; unfiltered it would fold to 20.6 kHz.
  R.Configure(48000, 44100, 1);
  const auto High = Sine(23500, 48000, 8000, 20000);
  const auto Folded = Resample(R, High, 7000, 441);
  double Energy = 0;
  for (size_t k = 300; k < 7000; ++k) Energy += double(Folded[k]) * Folded[k];
  const double Rms = std::sqrt(Energy / (7000 - 300));
  EXPECT_LT(Rms / (20000 / std::sqrt(2.0)), 0.01);  // at least 40 dB down
}

TEST(SoundMixing, ResamplerGivesTheSameStreamWhateverThePieces) {
  TSincResampler A;
  TSincResampler B;
  A.Configure(22050, 48000, 2);
  B.Configure(22050, 48000, 2);
  std::vector<float> Input(2 * 5000);
  uint32_t Seed = 12345;
  for (float& v : Input) {
    Seed = Seed * 1664525u + 1013904223u;
    v = float(int32_t(Seed >> 16) - 32768);
  }
  const auto Whole = Resample(A, Input, 9000, 9000);
  const auto Pieces = Resample(B, Input, 9000, 37);
  EXPECT_EQ(Whole, Pieces);
}

TEST(SoundMixing, ResamplerKeepsAConstantAndConsumesInputAtTheRatio) {
  TSincResampler R;
  R.Configure(32000, 44100, 1);
  const std::vector<float> Input(40000, 1234.0f);
  const auto Output = Resample(R, Input, 44100, 441);
  for (size_t k = 100; k < Output.size(); ++k) ASSERT_NEAR(Output[k], 1234.0f, 0.01f) << k;
  // After one second of output about one second of input is used.
  R.Reset();
  uint64_t Used = 0;
  for (int Period = 0; Period < 100; ++Period) {
    const uint32_t Need = R.InputFramesNeeded(441);
    std::vector<float> Out(441);
    R.Process(Input.data(), Need, Out.data(), 441);
    Used += Need;
  }
  EXPECT_NEAR(double(Used), 32000.0, double(R.Taps()));
}

}  // namespace
}  // namespace tw::test
