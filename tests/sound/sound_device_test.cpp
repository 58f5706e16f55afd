// The software sound device through its public surface: what it plays is
// captured into a WAV file in a temporary folder and read back (levels,
// volume, pan, rate and format conversion, clipping), and the buffers'
// behaviour is checked on the silent sink (locking, ring size, cursors,
// argument checks, loss and destruction while mixing). The device is
// stepped, so each test decides exactly how much output is mixed.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <unistd.h>
#include <vector>

#include "sound/auSoftwareDeviceU.h"
#include "sound/auSoundDeviceU.h"
#include "sound/auSoundSinkU.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

// 16-bit PCM bytes of a sine on every channel. The phase offset keeps
// every sample away from zero, so the first sound in a capture is frame 0.
std::vector<uint8_t> SineBytes16(double Frequency, uint32_t Rate, uint32_t Frames,
                                 uint16_t Channels, double Amplitude, double Phase = 0.3) {
  std::vector<uint8_t> Bytes;
  for (uint32_t i = 0; i < Frames; ++i) {
    const double v = Amplitude * std::sin(2 * std::numbers::pi * Frequency * i / Rate + Phase);
    const auto s = uint16_t(int16_t(std::lround(v)));
    for (uint16_t c = 0; c < Channels; ++c) {
      Bytes.push_back(uint8_t(s & 0xFF));
      Bytes.push_back(uint8_t(s >> 8));
    }
  }
  return Bytes;
}

struct TCapture {
  uint32_t Rate = 0;
  uint16_t Channels = 0;
  std::vector<int16_t> Samples;  // interleaved
  size_t Frames() const { return Samples.size() / Channels; }
  int16_t At(size_t Frame, int Channel) const { return Samples[Frame * Channels + Channel]; }
};

uint32_t LE(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v |= uint32_t(b[at + i]) << (8 * i);
  return v;
}

// Reads a capture and checks that its header describes it exactly.
TCapture ReadCapture(const fs::path& File) {
  std::ifstream In(File, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(In)),
                               std::istreambuf_iterator<char>());
  TCapture C;
  EXPECT_GE(b.size(), 44u);
  if (b.size() < 44) return C;
  EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
  EXPECT_EQ(LE(b, 4, 4), b.size() - 8);
  EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(LE(b, 16, 4), 16u);
  EXPECT_EQ(LE(b, 20, 2), 1u);
  C.Channels = uint16_t(LE(b, 22, 2));
  C.Rate = LE(b, 24, 4);
  EXPECT_EQ(LE(b, 28, 4), C.Rate * C.Channels * 2);
  EXPECT_EQ(LE(b, 32, 2), C.Channels * 2u);
  EXPECT_EQ(LE(b, 34, 2), 16u);
  EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
  EXPECT_EQ(LE(b, 40, 4), b.size() - 44);
  C.Samples.resize((b.size() - 44) / 2);
  for (size_t i = 0; i < C.Samples.size(); ++i) C.Samples[i] = int16_t(LE(b, 44 + 2 * i, 2));
  return C;
}

// The frames from the first to the last sound on any channel.
struct TSpan {
  size_t First = 0;
  size_t End = 0;
  size_t Size() const { return End - First; }
};
TSpan Audible(const TCapture& C) {
  TSpan S;
  bool Found = false;
  for (size_t f = 0; f < C.Frames(); ++f)
    for (int c = 0; c < C.Channels; ++c)
      if (C.At(f, c) != 0) {
        if (!Found) S.First = f;
        Found = true;
        S.End = f + 1;
      }
  return S;
}

int Peak(const TCapture& C, int Channel, size_t From, size_t To) {
  int Max = 0;
  for (size_t f = From; f < To; ++f) Max = std::max(Max, std::abs(int(C.At(f, Channel))));
  return Max;
}

class SoundDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = fs::temp_directory_path() /
           (std::string("tw-sound-") + Info->name() + "-" + std::to_string(::getpid()));
    fs::create_directories(FDir);
    FCapture = FDir / "out.wav";
    SetSoundSink({TSoundSinkChoice::Capture, FCapture.string(), true});
  }
  void TearDown() override {
    SetSoundSink({});
    std::error_code Ignored;
    fs::remove_all(FDir, Ignored);
  }

  std::unique_ptr<TSoundDevice> OpenDevice() {
    std::unique_ptr<TSoundDevice> Device;
    EXPECT_EQ(CreateSoftwareSoundDevice("", &Device), SoundResult::Ok);
    return Device;
  }

  static std::unique_ptr<TSoundBuffer> Buffer(TSoundDevice& Device, const TAudioFormat& Format,
                                              const std::vector<uint8_t>& Bytes) {
    std::unique_ptr<TSoundBuffer> B;
    EXPECT_EQ(Device.CreateStreamBuffer(uint32_t(Bytes.size()), Format, &B), SoundResult::Ok);
    if (!B) return B;
    void* P1 = nullptr;
    void* P2 = nullptr;
    uint32_t L1 = 0;
    uint32_t L2 = 0;
    EXPECT_EQ(B->Lock(0, uint32_t(Bytes.size()), &P1, &L1, &P2, &L2), SoundResult::Ok);
    EXPECT_EQ(L1, Bytes.size());
    std::memcpy(P1, Bytes.data(), L1);
    EXPECT_EQ(B->Unlock(P1, L1, P2, L2), SoundResult::Ok);
    return B;
  }

  // Plays the buffers together for Frames frames of output (0.3 s at
  // 44100 Hz unless told), closes the device and returns what it wrote.
  TCapture PlayAndCapture(std::unique_ptr<TSoundDevice> Device,
                          const std::vector<TSoundBuffer*>& Buffers, uint32_t Frames = 13230) {
    for (auto* B : Buffers) EXPECT_EQ(B->PlayLooping(), SoundResult::Ok);
    EXPECT_GE(StepSoundDevice(*Device, Frames), Frames);
    for (auto* B : Buffers) EXPECT_EQ(B->Stop(), SoundResult::Ok);
    Device.reset();
    return ReadCapture(FCapture);
  }

  fs::path FDir;
  fs::path FCapture;
};

TEST_F(SoundDeviceTest, FullScaleSinePlaysBitExactAtUnityGain) {
  auto Device = OpenDevice();
  TAudioFormat Primary;
  ASSERT_EQ(Device->GetPrimaryFormat(&Primary), SoundResult::Ok);
  EXPECT_EQ(Primary.SampleRate, 44100u);
  EXPECT_EQ(Primary.Channels, 2);
  EXPECT_EQ(Primary.BitsPerSample, 16);
  // 0.1 s holding exactly 10 cycles of 100 Hz, so the loop has no seam.
  const auto Bytes = SineBytes16(100, 44100, 4410, 2, 32767);
  auto B = Buffer(*Device, MakePcmFormat(44100, 2, 16), Bytes);
  const TCapture C = PlayAndCapture(std::move(Device), {B.get()});
  ASSERT_EQ(C.Rate, 44100u);
  ASSERT_EQ(C.Channels, 2);
  const TSpan S = Audible(C);
  ASSERT_GE(S.Size(), 4410u) << "less than 0.1 s was played";
  // Same rate, full volume, centre: the ring comes out sample for sample,
  // round and round.
  for (size_t f = 0; f < S.Size(); ++f) {
    const size_t Ring = (f % 4410) * 4;
    const auto Want = int16_t(uint16_t(Bytes[Ring] | (Bytes[Ring + 1] << 8)));
    ASSERT_EQ(C.At(S.First + f, 0), Want) << f;
    ASSERT_EQ(C.At(S.First + f, 1), Want) << f;
  }
  EXPECT_GE(Peak(C, 0, S.First, S.End), 32760);
}

TEST_F(SoundDeviceTest, VolumeScalesTheAmplitudeAndMinimumIsSilence) {
  auto Device = OpenDevice();
  const auto Bytes = SineBytes16(100, 44100, 4410, 1, 32000);
  auto Half = Buffer(*Device, MakePcmFormat(44100, 1, 16), Bytes);
  auto Mute = Buffer(*Device, MakePcmFormat(44100, 1, 16), SineBytes16(300, 44100, 4410, 1, 32000));
  ASSERT_EQ(Half->SetVolume(-600), SoundResult::Ok);
  ASSERT_EQ(Mute->SetVolume(-10000), SoundResult::Ok);
  const TCapture C = PlayAndCapture(std::move(Device), {Half.get(), Mute.get()});
  const TSpan S = Audible(C);
  ASSERT_GE(S.Size(), 4410u);
  // -6 dB: 10^(-600/2000) = 0.501 of the amplitude on both sides, and the
  // muted 300 Hz tone adds nothing, so the output is the scaled 100 Hz ring.
  const double Gain = std::pow(10.0, -600.0 / 2000.0);
  for (int c = 0; c < 2; ++c)
    EXPECT_NEAR(Peak(C, c, S.First, S.End), 32000 * Gain, 32000 * Gain * 0.01);
  for (size_t f = 0; f < S.Size(); ++f) {
    const size_t Ring = (f % 4410) * 2;
    const double Want = int16_t(uint16_t(Bytes[Ring] | (Bytes[Ring + 1] << 8))) * Gain;
    ASSERT_NEAR(C.At(S.First + f, 0), Want, 1.0) << f;
  }
}

TEST_F(SoundDeviceTest, MutedBufferAloneLeavesTheCaptureSilent) {
  auto Device = OpenDevice();
  auto B = Buffer(*Device, MakePcmFormat(44100, 2, 16), SineBytes16(100, 44100, 4410, 2, 32767));
  ASSERT_EQ(B->SetVolume(SoundVolumeMin), SoundResult::Ok);
  const TCapture C = PlayAndCapture(std::move(Device), {B.get()}, 6615);
  EXPECT_EQ(C.Frames(), 6615u);
  EXPECT_EQ(Audible(C).Size(), 0u);
}

TEST_F(SoundDeviceTest, CaptureHeaderStaysUsableWhileTheDeviceRuns) {
  auto Device = OpenDevice();
  ASSERT_EQ(StepSoundDevice(*Device, 4410), 4410u);
  std::ifstream In(FCapture, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(In)),
                               std::istreambuf_iterator<char>());
  ASSERT_GE(b.size(), 44u);
  EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
  EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
  // Data goes out before the header's sizes, so a reader racing the
  // device sees at most what is there, in whole frames.
  const uint32_t Data = LE(b, 40, 4);
  EXPECT_EQ(Data, 4410u * 4);
  EXPECT_LE(Data, b.size() - 44);
  EXPECT_EQ(Data % 4, 0u);
  EXPECT_EQ(LE(b, 4, 4), Data + 36);
}

TEST_F(SoundDeviceTest, PanFullyRightSilencesTheLeftAndFullyLeftTheRight) {
  auto Device = OpenDevice();
  auto Right = Buffer(*Device, MakePcmFormat(44100, 1, 16), SineBytes16(100, 44100, 4410, 1, 30000));
  auto Left = Buffer(*Device, MakePcmFormat(44100, 2, 16), SineBytes16(300, 44100, 4410, 2, 20000));
  ASSERT_EQ(Right->SetPan(SoundPanRight), SoundResult::Ok);
  ASSERT_EQ(Left->SetPan(SoundPanLeft), SoundResult::Ok);
  ASSERT_EQ(Right->PlayLooping(), SoundResult::Ok);
  ASSERT_EQ(StepSoundDevice(*Device, 6615), 6615u);
  ASSERT_EQ(Right->Stop(), SoundResult::Ok);
  const TCapture C = PlayAndCapture(std::move(Device), {Left.get()}, 6615);
  const TSpan S = Audible(C);
  ASSERT_GT(S.Size(), 0u);
  // The first part holds only the right-panned tone, the rest only the left.
  size_t RightOnly = 0;
  size_t LeftOnly = 0;
  int RightPeak = 0;
  int LeftPeak = 0;
  for (size_t f = S.First; f < S.End; ++f) {
    ASSERT_FALSE(C.At(f, 0) != 0 && C.At(f, 1) != 0) << "both sides sound at " << f;
    if (C.At(f, 1) != 0) ++RightOnly, RightPeak = std::max(RightPeak, std::abs(int(C.At(f, 1))));
    if (C.At(f, 0) != 0) ++LeftOnly, LeftPeak = std::max(LeftPeak, std::abs(int(C.At(f, 0))));
  }
  EXPECT_EQ(RightOnly, 6615u);
  EXPECT_EQ(LeftOnly, 6615u);
  EXPECT_NEAR(RightPeak, 30000, 300);
  EXPECT_NEAR(LeftPeak, 20000, 200);
}

TEST_F(SoundDeviceTest, MonoAt22050PlaysAtTheRightPitchWithLowDistortion) {
  auto Device = OpenDevice();
  // 0.2 s of a 1 kHz tone at 22050 Hz: 200 whole cycles.
  const double Amplitude = 24000;
  auto B = Buffer(*Device, MakePcmFormat(22050, 1, 16), SineBytes16(1000, 22050, 4410, 1, Amplitude));
  const TCapture C = PlayAndCapture(std::move(Device), {B.get()});
  ASSERT_EQ(C.Rate, 44100u);
  const TSpan S = Audible(C);
  ASSERT_GE(S.Size(), 6615u) << "less than 0.15 s was played";
  // Judge 0.1 s away from the start-up at both ends.
  const size_t From = S.First + 1000;
  const size_t Frames = 4410;
  for (int c = 0; c < 2; ++c) {
    int Crossings = 0;
    for (size_t f = From + 1; f < From + Frames; ++f)
      if ((C.At(f - 1, c) < 0) != (C.At(f, c) < 0)) ++Crossings;
    EXPECT_NEAR(Crossings, 200, 1) << "channel " << c;  // 2 per cycle, 100 cycles
  }
  // Least-squares fit of a 1 kHz sine and cosine; what is left over is
  // distortion and noise.
  double SS = 0, SC = 0, CC = 0, XS = 0, XC = 0;
  for (size_t f = From; f < From + Frames; ++f) {
    const double w = 2 * std::numbers::pi * 1000 * double(f) / 44100;
    const double s = std::sin(w), co = std::cos(w), x = C.At(f, 0);
    SS += s * s, SC += s * co, CC += co * co, XS += x * s, XC += x * co;
  }
  const double Det = SS * CC - SC * SC;
  const double A = (XS * CC - XC * SC) / Det;
  const double Bc = (XC * SS - XS * SC) / Det;
  double Residual = 0;
  for (size_t f = From; f < From + Frames; ++f) {
    const double w = 2 * std::numbers::pi * 1000 * double(f) / 44100;
    const double e = C.At(f, 0) - (A * std::sin(w) + Bc * std::cos(w));
    Residual += e * e;
    ASSERT_EQ(C.At(f, 0), C.At(f, 1));
  }
  const double FitAmplitude = std::hypot(A, Bc);
  EXPECT_NEAR(FitAmplitude, Amplitude, Amplitude * 0.01);
  const double NoiseRms = std::sqrt(Residual / Frames);
  EXPECT_LT(NoiseRms / (FitAmplitude / std::sqrt(2.0)), 1e-3);  // below -60 dB
}

TEST_F(SoundDeviceTest, EightBitBufferPlaysAtItsFullLevel) {
  auto Device = OpenDevice();
  // 8-bit unsigned samples around 128, from 1 to 255.
  std::vector<uint8_t> Bytes(4410);
  for (size_t i = 0; i < Bytes.size(); ++i)
    Bytes[i] = uint8_t(128 + std::lround(127 * std::sin(2 * std::numbers::pi * 100 * i / 44100.0 + 0.3)));
  auto B = Buffer(*Device, MakePcmFormat(44100, 1, 8), Bytes);
  const TCapture C = PlayAndCapture(std::move(Device), {B.get()});
  const TSpan S = Audible(C);
  ASSERT_GE(S.Size(), 4410u);
  // Each 8-bit step is 256 steps of the 16-bit output.
  for (size_t f = 0; f < S.Size(); f += 7)
    ASSERT_EQ(C.At(S.First + f, 0), (int(Bytes[f % 4410]) - 128) * 256) << f;
  EXPECT_EQ(Peak(C, 1, S.First, S.End), 127 * 256);
}

TEST_F(SoundDeviceTest, TwoLoudBuffersClipInsteadOfWrapping) {
  auto Device = OpenDevice();
  // Constant 25000 each: the sum of 50000 does not fit 16 bits.
  std::vector<uint8_t> Loud;
  for (int i = 0; i < 441; ++i) Loud.insert(Loud.end(), {0xA8, 0x61});  // 25000
  auto A = Buffer(*Device, MakePcmFormat(44100, 1, 16), Loud);
  auto B = Buffer(*Device, MakePcmFormat(44100, 1, 16), Loud);
  const TCapture C = PlayAndCapture(std::move(Device), {A.get(), B.get()});
  const TSpan S = Audible(C);
  ASSERT_GT(S.Size(), 4410u);
  size_t Clipped = 0;
  for (size_t f = S.First; f < S.End; ++f) {
    for (int c = 0; c < 2; ++c) {
      const int v = C.At(f, c);
      ASSERT_TRUE(v == 0 || v == 25000 || v == 32767) << v << " at " << f;
    }
    Clipped += C.At(f, 0) == 32767;
  }
  EXPECT_GT(Clipped, 4410u);
}

TEST_F(SoundDeviceTest, PrimaryFormatChangesTheOutput) {
  auto Device = OpenDevice();
  ASSERT_EQ(Device->SetCooperativeLevel(SoundLevelPriority), SoundResult::Ok);
  ASSERT_EQ(Device->CreatePrimaryOutput(), SoundResult::Ok);
  ASSERT_EQ(Device->SetPrimaryFormat(MakePcmFormat(22050, 1, 8)), SoundResult::Ok);
  TAudioFormat Taken;
  ASSERT_EQ(Device->GetPrimaryFormat(&Taken), SoundResult::Ok);
  EXPECT_EQ(Taken.SampleRate, 22050u);
  EXPECT_EQ(Taken.Channels, 1);
  EXPECT_EQ(Taken.BitsPerSample, 8);
  EXPECT_EQ(Taken.BlockAlign, 1);
  EXPECT_EQ(Taken.AvgBytesPerSec, 22050u);
  ASSERT_EQ(Device->SetSpeakerConfig(4), SoundResult::Ok);
  ASSERT_EQ(Device->PlayPrimaryLooping(), SoundResult::Ok);
  // A 16-bit stereo buffer at that rate plays, reduced to 8-bit mono.
  auto B = Buffer(*Device, MakePcmFormat(22050, 2, 16), SineBytes16(100, 22050, 2205, 2, 25600));
  const TCapture C = PlayAndCapture(std::move(Device), {B.get()});
  ASSERT_EQ(C.Rate, 22050u);
  ASSERT_EQ(C.Channels, 1);
  const TSpan S = Audible(C);
  ASSERT_GT(S.Size(), 2205u);
  // The capture widens 8-bit output, so every sample is a multiple of 256.
  for (size_t f = S.First; f < S.End; ++f) ASSERT_EQ(C.At(f, 0) % 256, 0);
  EXPECT_NEAR(Peak(C, 0, S.First, S.End), 25600, 256);
}

}  // namespace
}  // namespace tw::test
