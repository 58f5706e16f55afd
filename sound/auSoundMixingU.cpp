// Sample conversion, gains, mixing and rate conversion for the software
// sound device.
#include "sound/auSoundMixingU.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace tw {

void PcmToFloat(const uint8_t* Source, uint32_t Frames, uint32_t Channels, uint32_t Bits,
                float* Target) {
  const uint32_t Samples = Frames * Channels;
  if (Bits == 8) {
    for (uint32_t i = 0; i < Samples; ++i) Target[i] = float((int(Source[i]) - 128) * 256);
    return;
  }
  for (uint32_t i = 0; i < Samples; ++i) {
    // Assembled from bytes so the little-endian layout holds on any host.
    const auto Value = int16_t(uint16_t(Source[2 * i] | (Source[2 * i + 1] << 8)));
    Target[i] = float(Value);
  }
}

void FloatToPcm(const float* Source, uint32_t Samples, uint32_t Bits, uint8_t* Target) {
  if (Bits == 8) {
    for (uint32_t i = 0; i < Samples; ++i) {
      const float Step = std::clamp(Source[i] * (1.0f / 256.0f), -128.0f, 127.0f);
      Target[i] = uint8_t(int(std::lround(Step)) + 128);
    }
    return;
  }
  for (uint32_t i = 0; i < Samples; ++i) {
    const float Clipped = std::clamp(Source[i], -32768.0f, 32767.0f);
    // Round half away from zero without a library call in the hot loop.
    const auto Value = int16_t(int(Clipped + (Clipped >= 0 ? 0.5f : -0.5f)));
    Target[2 * i] = uint8_t(uint16_t(Value) & 0xFF);
    Target[2 * i + 1] = uint8_t(uint16_t(Value) >> 8);
  }
}

float VolumeToAmplitude(int32_t Volume) {
  if (Volume <= -10000) return 0.0f;
  if (Volume >= 0) return 1.0f;
  return float(std::pow(10.0, double(Volume) / 2000.0));
}

TChannelGains VolumeAndPanToGains(int32_t Volume, int32_t Pan) {
  const float Level = VolumeToAmplitude(Volume);
  TChannelGains Gains{Level, Level};
  if (Pan > 0) Gains.Left *= VolumeToAmplitude(-Pan);
  if (Pan < 0) Gains.Right *= VolumeToAmplitude(Pan);
  return Gains;
}

void MixInto(const float* Source, uint32_t Frames, uint32_t SourceChannels, TChannelGains Gains,
             float* Sum, uint32_t TargetChannels) {
  const float L = Gains.Left;
  const float R = Gains.Right;
  if (TargetChannels == 2) {
    if (SourceChannels == 2) {
      for (uint32_t i = 0; i < Frames; ++i) {
        Sum[2 * i] += Source[2 * i] * L;
        Sum[2 * i + 1] += Source[2 * i + 1] * R;
      }
    } else {
      for (uint32_t i = 0; i < Frames; ++i) {
        Sum[2 * i] += Source[i] * L;
        Sum[2 * i + 1] += Source[i] * R;
      }
    }
    return;
  }
  if (SourceChannels == 2) {
    for (uint32_t i = 0; i < Frames; ++i)
      Sum[i] += 0.5f * (Source[2 * i] * L + Source[2 * i + 1] * R);
  } else {
    for (uint32_t i = 0; i < Frames; ++i) Sum[i] += Source[i] * L;
  }
}

namespace {

// The modified Bessel function of the first kind, order 0, by its series.
double BesselI0(double X) {
  double Sum = 1.0;
  double Term = 1.0;
  const double Quarter = X * X / 4.0;
  for (int k = 1; k < 50; ++k) {
    Term *= Quarter / (double(k) * double(k));
    Sum += Term;
    if (Term < Sum * 1e-12) break;
  }
  return Sum;
}

// About 75 dB of stop-band attenuation from the window.
constexpr double KaiserBeta = 7.5;
// The cut-off, as a fraction of the lower rate; the rest up to the
// Nyquist frequency is the filter's transition band.
constexpr double CutOff = 0.45;
// Zero crossings of the sinc on each side, at the lower rate.
constexpr uint32_t HalfWidth = 16;
// Beyond this the filter would grow without bound for extreme down-sampling;
// such ratios accept some aliasing instead.
constexpr uint32_t MaxHalfTaps = 128;

}  // namespace

void TSincResampler::Configure(uint32_t SourceRate, uint32_t TargetRate, uint32_t Channels) {
  if (SourceRate != FSourceRate || TargetRate != FTargetRate) {
    FSourceRate = SourceRate;
    FTargetRate = TargetRate;
    FStep = (uint64_t(SourceRate) << 32) / TargetRate;
    const double Ratio = double(SourceRate) / double(TargetRate);
    // Down-sampling widens the filter in input frames to keep its cut-off
    // below the output's Nyquist frequency with the same sharpness.
    const uint32_t Half =
        std::min(MaxHalfTaps, uint32_t(std::ceil(HalfWidth * std::max(1.0, Ratio))));
    FTaps = 2 * Half;
    const double Cut = CutOff * std::min(1.0, 1.0 / Ratio);  // cycles per input frame
    const double Norm = BesselI0(KaiserBeta);
    FTable.assign(size_t(Phases + 1) * FTaps, 0.0f);
    std::vector<double> Row(FTaps);
    for (uint32_t p = 0; p <= Phases; ++p) {
      const double Frac = double(p) / Phases;
      double Total = 0;
      for (uint32_t j = 0; j < FTaps; ++j) {
        const double X = double(j) - double(Half) + 1.0 - Frac;
        const double Edge = X / double(Half);
        double Value = 0;
        if (std::fabs(Edge) < 1.0) {
          const double Arg = 2.0 * std::numbers::pi * Cut * X;
          const double Sinc = X == 0 ? 1.0 : std::sin(Arg) / Arg;
          Value = 2.0 * Cut * Sinc * BesselI0(KaiserBeta * std::sqrt(1.0 - Edge * Edge)) / Norm;
        }
        Row[j] = Value;
        Total += Value;
      }
      // Unit gain at every phase, so a constant stays exactly constant.
      for (uint32_t j = 0; j < FTaps; ++j) FTable[size_t(p) * FTaps + j] = float(Row[j] / Total);
    }
    FCoefficients.assign(FTaps, 0.0f);
  }
  FChannels = Channels;
  Reset();
}

void TSincResampler::Reset() {
  const uint32_t Half = FTaps / 2;
  // Half - 1 frames of silence before the first input frame let the first
  // output sit exactly on it.
  FHistoryFrames = Half - 1;
  if (FHistory.size() < size_t(FHistoryFrames) * FChannels)
    FHistory.resize(size_t(FHistoryFrames) * FChannels);
  std::fill(FHistory.begin(), FHistory.begin() + size_t(FHistoryFrames) * FChannels, 0.0f);
  FTime = uint64_t(Half - 1) << 32;
}

uint32_t TSincResampler::InputFramesNeeded(uint32_t OutputFrames) const {
  if (OutputFrames == 0) return 0;
  const uint64_t Last = FTime + uint64_t(OutputFrames - 1) * FStep;
  const uint64_t Needed = (Last >> 32) + FTaps / 2 + 1;
  return Needed > FHistoryFrames ? uint32_t(Needed - FHistoryFrames) : 0;
}

void TSincResampler::Process(const float* Input, uint32_t InputFrames, float* Output,
                             uint32_t OutputFrames) {
  const uint32_t Ch = FChannels;
  // A short input is padded with silence so the filter never reads past
  // what it holds.
  const uint32_t Fed = std::max(InputFrames, InputFramesNeeded(OutputFrames));
  const size_t Wanted = size_t(FHistoryFrames + Fed) * Ch;
  if (FHistory.size() < Wanted) FHistory.resize(Wanted);
  float* Tail = FHistory.data() + size_t(FHistoryFrames) * Ch;
  if (InputFrames > 0) std::memcpy(Tail, Input, size_t(InputFrames) * Ch * sizeof(float));
  std::fill(Tail + size_t(InputFrames) * Ch, Tail + size_t(Fed) * Ch, 0.0f);
  FHistoryFrames += Fed;

  const uint32_t Half = FTaps / 2;
  const uint32_t Taps = FTaps;
  float* Coef = FCoefficients.data();
  for (uint32_t k = 0; k < OutputFrames; ++k) {
    const uint64_t Frame = FTime >> 32;
    const uint64_t Scaled = (FTime & 0xFFFFFFFFu) * Phases;
    const uint32_t Phase = uint32_t(Scaled >> 32);
    const float Weight = float(uint32_t(Scaled)) * (1.0f / 4294967296.0f);
    const float* Row0 = FTable.data() + size_t(Phase) * Taps;
    const float* Row1 = Row0 + Taps;
    for (uint32_t j = 0; j < Taps; ++j) Coef[j] = Row0[j] + Weight * (Row1[j] - Row0[j]);
    const float* Base = FHistory.data() + size_t(Frame + 1 - Half) * Ch;
    if (Ch == 1) {
      float Sum = 0;
      for (uint32_t j = 0; j < Taps; ++j) Sum += Coef[j] * Base[j];
      Output[k] = Sum;
    } else {
      float Left = 0;
      float Right = 0;
      for (uint32_t j = 0; j < Taps; ++j) {
        Left += Coef[j] * Base[2 * j];
        Right += Coef[j] * Base[2 * j + 1];
      }
      Output[2 * k] = Left;
      Output[2 * k + 1] = Right;
    }
    FTime += FStep;
  }

  // Drop the frames no future output reaches back to.
  const uint64_t Frame = FTime >> 32;
  if (Frame > Half - 1) {
    const uint32_t Drop = uint32_t(std::min<uint64_t>(Frame - (Half - 1), FHistoryFrames));
    std::memmove(FHistory.data(), FHistory.data() + size_t(Drop) * Ch,
                 size_t(FHistoryFrames - Drop) * Ch * sizeof(float));
    FHistoryFrames -= Drop;
    FTime -= uint64_t(Drop) << 32;
  }
}

}  // namespace tw
