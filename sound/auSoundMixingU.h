// The sample arithmetic of the software sound device: PCM to float and
// back (with clipping), volume and pan as gains, mixing a voice into the
// output sum, and the band-limited sample-rate converter. Samples in float
// keep the 16-bit scale (-32768..32767), so a full-scale 8-bit or 16-bit
// sample keeps its level whatever the output width. Nothing here locks or
// allocates per call except TSincResampler when its rates change.
#pragma once

#include <cstdint>
#include <vector>

namespace tw {

// Converts Frames interleaved frames of Channels channels from PCM (8-bit
// unsigned or 16-bit signed little-endian) to float.
void PcmToFloat(const uint8_t* Source, uint32_t Frames, uint32_t Channels, uint32_t Bits,
                float* Target);
// Converts Samples float samples to PCM of Bits bits, rounding to the
// nearest step and clipping at the format's limits instead of wrapping.
void FloatToPcm(const float* Source, uint32_t Samples, uint32_t Bits, uint8_t* Target);

// The amplitude factor of a volume in hundredths of a decibel: 10^(V/2000),
// and exactly 0 at -10000 and below.
float VolumeToAmplitude(int32_t Volume);

struct TChannelGains {
  float Left = 1;
  float Right = 1;
};
// The left and right gains of a volume and pan: a pan to the right
// attenuates the left side, a pan to the left the right side, and the
// extremes silence the other side completely.
TChannelGains VolumeAndPanToGains(int32_t Volume, int32_t Pan);

// Adds Frames frames of Source (SourceChannels channels) to Sum
// (TargetChannels channels), with the gains. A mono voice feeds both
// sides; on a mono output a stereo voice is the mean of its two sides,
// each with its gain.
void MixInto(const float* Source, uint32_t Frames, uint32_t SourceChannels, TChannelGains Gains,
             float* Sum, uint32_t TargetChannels);

// A streaming sample-rate converter: a polyphase windowed-sinc (Kaiser)
// low-pass interpolator, its phase table interpolated linearly, with the
// cut-off below the lower of the two Nyquist frequencies. It keeps the
// input frames its filter still needs between calls, so a stream fed in
// pieces converts exactly as fed at once.
class TSincResampler {
 public:
  // Prepares for a stream; rebuilds the filter only when the rates change.
  // Resets the stream.
  void Configure(uint32_t SourceRate, uint32_t TargetRate, uint32_t Channels);
  // Forgets the stream: the next input frame is the first of a new one.
  void Reset();
  // How many new input frames the next Process call needs for OutputFrames.
  uint32_t InputFramesNeeded(uint32_t OutputFrames) const;
  // Takes exactly InputFramesNeeded(OutputFrames) frames of Input and
  // writes OutputFrames frames.
  void Process(const float* Input, uint32_t InputFrames, float* Output, uint32_t OutputFrames);

  uint32_t SourceRate() const { return FSourceRate; }
  uint32_t TargetRate() const { return FTargetRate; }
  uint32_t Channels() const { return FChannels; }
  uint32_t Taps() const { return FTaps; }

 private:
  static constexpr uint32_t Phases = 128;
  uint32_t FSourceRate = 0;
  uint32_t FTargetRate = 0;
  uint32_t FChannels = 0;
  uint32_t FTaps = 0;
  std::vector<float> FTable;  // (Phases + 1) rows of FTaps coefficients
  std::vector<float> FCoefficients;
  uint64_t FStep = 0;  // input frames per output frame, 32.32 fixed point
  uint64_t FTime = 0;  // position of the next output in FHistory, 32.32
  std::vector<float> FHistory;
  uint32_t FHistoryFrames = 0;
};

}  // namespace tw
