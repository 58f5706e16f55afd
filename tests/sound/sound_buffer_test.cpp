// The software sound device's buffers and entry points on the silent sink:
// locking and the exact ring size, the play cursor (advance, stop, move,
// wrap), argument checks, device loss, buffers outliving their device,
// destruction while mixing, the device list and the sink choice. The
// device is stepped: it mixes only when a test asks, so every cursor
// position is known exactly.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <unistd.h>
#include <vector>

#include "sound/auSoftwareDeviceU.h"
#include "sound/auSoundDeviceU.h"
#include "sound/auSoundSinkU.h"

namespace tw::test {
namespace {


class SoundBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSoundSink({TSoundSinkChoice::Silent, "", true});
    ASSERT_EQ(CreateSoftwareSoundDevice("", &Device), SoundResult::Ok);
  }
  void TearDown() override { SetSoundSink({}); }

  std::unique_ptr<TSoundBuffer> Make(uint32_t Size, const TAudioFormat& Format) {
    std::unique_ptr<TSoundBuffer> B;
    EXPECT_EQ(Device->CreateStreamBuffer(Size, Format, &B), SoundResult::Ok);
    return B;
  }
  // Mixes the given output frames (44100 a second, whole periods of
  // 10 ms) and checks that exactly those went out.
  void Mix(uint32_t Frames) { ASSERT_EQ(StepSoundDevice(*Device, Frames), Frames); }
  static uint32_t Cursor(TSoundBuffer& B) {
    uint32_t At = 0xFFFFFFFF;
    EXPECT_EQ(B.GetPlayCursor(&At), SoundResult::Ok);
    return At;
  }

  std::unique_ptr<TSoundDevice> Device;
};

TEST_F(SoundBufferTest, LockGrantsWholeAndSplitRegionsOfTheExactRing) {
  auto B = Make(4000, MakePcmFormat(44100, 2, 16));
  void* P1 = nullptr;
  void* P2 = reinterpret_cast<void*>(1);
  uint32_t L1 = 0, L2 = 99;
  ASSERT_EQ(B->Lock(0, 4000, &P1, &L1, &P2, &L2), SoundResult::Ok);
  EXPECT_EQ(L1, 4000u);
  EXPECT_EQ(P2, nullptr);
  EXPECT_EQ(L2, 0u);
  auto* Start = static_cast<uint8_t*>(P1);
  for (uint32_t i = 0; i < 4000; ++i) Start[i] = uint8_t(i * 7);
  ASSERT_EQ(B->Unlock(P1, L1, P2, L2), SoundResult::Ok);

  // A region over the end is split: the rest continues at the ring's start.
  ASSERT_EQ(B->Lock(3000, 2000, &P1, &L1, &P2, &L2), SoundResult::Ok);
  EXPECT_EQ(P1, Start + 3000);
  EXPECT_EQ(L1, 1000u);
  EXPECT_EQ(P2, Start);
  EXPECT_EQ(L2, 1000u);
  // The view shows what was written before.
  EXPECT_EQ(static_cast<uint8_t*>(P1)[0], uint8_t(3000 * 7));
  EXPECT_EQ(static_cast<uint8_t*>(P2)[999], uint8_t(999 * 7));
  ASSERT_EQ(B->Unlock(P1, L1, P2, L2), SoundResult::Ok);

  // Exactly up to the end is not a wrap.
  ASSERT_EQ(B->Lock(3996, 4, &P1, &L1, &P2, &L2), SoundResult::Ok);
  EXPECT_EQ(L1, 4u);
  EXPECT_EQ(P2, nullptr);
  ASSERT_EQ(B->Unlock(P1, L1, nullptr, 0), SoundResult::Ok);

  EXPECT_EQ(B->Lock(4000, 4, &P1, &L1, &P2, &L2), SoundResult::InvalidParam);
  EXPECT_EQ(B->Lock(0, 4001, &P1, &L1, &P2, &L2), SoundResult::InvalidParam);
  EXPECT_EQ(B->Lock(0, 0, &P1, &L1, &P2, &L2), SoundResult::InvalidParam);
  EXPECT_EQ(B->Lock(0, 4, nullptr, &L1, &P2, &L2), SoundResult::InvalidParam);
  // Unlocking something that is not the ring is refused.
  uint8_t Elsewhere[8];
  EXPECT_EQ(B->Unlock(Elsewhere, 8, nullptr, 0), SoundResult::InvalidParam);
  EXPECT_EQ(B->Unlock(Start + 3996, 8, nullptr, 0), SoundResult::InvalidParam);
}

TEST_F(SoundBufferTest, RingSizeMustBeAPositiveMultipleOfTheFrame) {
  std::unique_ptr<TSoundBuffer> B;
  EXPECT_EQ(Device->CreateStreamBuffer(0, MakePcmFormat(44100, 2, 16), &B), SoundResult::InvalidParam);
  EXPECT_EQ(Device->CreateStreamBuffer(4002, MakePcmFormat(44100, 2, 16), &B), SoundResult::InvalidParam);
  EXPECT_EQ(Device->CreateStreamBuffer(4001, MakePcmFormat(22050, 1, 16), &B), SoundResult::InvalidParam);
  EXPECT_EQ(B, nullptr);
  EXPECT_EQ(Device->CreateStreamBuffer(4001, MakePcmFormat(22050, 1, 8), &B), SoundResult::Ok);
  EXPECT_EQ(Device->CreateStreamBuffer(4, MakePcmFormat(44100, 2, 16), nullptr), SoundResult::InvalidParam);
}

TEST_F(SoundBufferTest, OnlyPlayablePcmFormatsAreTaken) {
  std::unique_ptr<TSoundBuffer> B;
  auto Bad = [&](TAudioFormat F) { return Device->CreateStreamBuffer(1200, F, &B); };
  EXPECT_EQ(Bad(MakePcmFormat(44100, 3, 16)), SoundResult::BadFormat);
  EXPECT_EQ(Bad(MakePcmFormat(44100, 0, 16)), SoundResult::BadFormat);
  EXPECT_EQ(Bad(MakePcmFormat(44100, 2, 24)), SoundResult::BadFormat);
  EXPECT_EQ(Bad(MakePcmFormat(99, 1, 16)), SoundResult::BadFormat);
  EXPECT_EQ(Bad(MakePcmFormat(100001, 1, 16)), SoundResult::BadFormat);
  TAudioFormat NotPcm = MakePcmFormat(44100, 2, 16);
  NotPcm.FormatTag = 3;
  EXPECT_EQ(Bad(NotPcm), SoundResult::BadFormat);
  TAudioFormat WrongAlign = MakePcmFormat(44100, 2, 16);
  WrongAlign.BlockAlign = 2;
  EXPECT_EQ(Bad(WrongAlign), SoundResult::BadFormat);
  EXPECT_EQ(Bad(MakePcmFormat(100, 1, 16)), SoundResult::Ok);
  EXPECT_EQ(Bad(MakePcmFormat(100000, 2, 8)), SoundResult::Ok);

  EXPECT_EQ(Device->SetPrimaryFormat(MakePcmFormat(44100, 3, 16)), SoundResult::BadFormat);
  EXPECT_EQ(Device->SetPrimaryFormat(MakePcmFormat(99, 2, 16)), SoundResult::BadFormat);
  EXPECT_EQ(Device->GetPrimaryFormat(nullptr), SoundResult::InvalidParam);
}

TEST_F(SoundBufferTest, DeviceSettingsAreCheckedOrAcceptedUnchanged) {
  EXPECT_EQ(Device->SetCooperativeLevel(0), SoundResult::InvalidParam);
  EXPECT_EQ(Device->SetCooperativeLevel(4), SoundResult::InvalidParam);
  for (int Level : {SoundLevelNormal, SoundLevelPriority, SoundLevelExclusive})
    EXPECT_EQ(Device->SetCooperativeLevel(Level), SoundResult::Ok);
  EXPECT_EQ(Device->SetSpeakerConfig(0xFFFFFFFF), SoundResult::Ok);
  EXPECT_EQ(Device->CreatePrimaryOutput(), SoundResult::Ok);
  EXPECT_EQ(Device->PlayPrimaryLooping(), SoundResult::Ok);
}

TEST_F(SoundBufferTest, VolumeAndPanRangesAreChecked) {
  auto B = Make(400, MakePcmFormat(44100, 2, 16));
  EXPECT_EQ(B->SetVolume(-10001), SoundResult::InvalidParam);
  EXPECT_EQ(B->SetVolume(1), SoundResult::InvalidParam);
  EXPECT_EQ(B->SetVolume(-10000), SoundResult::Ok);
  EXPECT_EQ(B->SetVolume(0), SoundResult::Ok);
  EXPECT_EQ(B->SetPan(-10001), SoundResult::InvalidParam);
  EXPECT_EQ(B->SetPan(10001), SoundResult::InvalidParam);
  EXPECT_EQ(B->SetPan(-10000), SoundResult::Ok);
  EXPECT_EQ(B->SetPan(10000), SoundResult::Ok);
}

TEST_F(SoundBufferTest, CursorAdvancesAtTheBuffersRateAndStopKeepsIt) {
  // 2 s at 22050 Hz mono: no wrap within this test.
  auto B = Make(88200, MakePcmFormat(22050, 1, 16));
  EXPECT_EQ(Cursor(*B), 0u);
  Mix(1323);
  EXPECT_EQ(Cursor(*B), 0u) << "moved before playing";
  ASSERT_EQ(B->PlayLooping(), SoundResult::Ok);
  // The first 0.2 s of output take 0.2 s of the buffer (8820 bytes at
  // 44100 bytes per second) and what the resampler reads ahead.
  Mix(8820);
  const uint32_t First = Cursor(*B);
  EXPECT_EQ(First % 2, 0u);
  EXPECT_GE(First, 8820u);
  EXPECT_LT(First, 8820u + 441u) << "reads ahead less than 5 ms";
  // From then on the cursor moves at exactly the buffer's rate.
  Mix(8820);
  ASSERT_EQ(B->Stop(), SoundResult::Ok);
  const uint32_t Stopped = Cursor(*B);
  EXPECT_EQ(Stopped, First + 8820);
  Mix(2205);
  EXPECT_EQ(Cursor(*B), Stopped);

  // Playing again goes on from there.
  ASSERT_EQ(B->PlayLooping(), SoundResult::Ok);
  Mix(2205);
  ASSERT_EQ(B->Stop(), SoundResult::Ok);
  EXPECT_GT(Cursor(*B), Stopped);
}

TEST_F(SoundBufferTest, SetPlayCursorMovesToAFrameBoundary) {
  auto B = Make(8000, MakePcmFormat(44100, 2, 16));
  ASSERT_EQ(B->SetPlayCursor(4000), SoundResult::Ok);
  EXPECT_EQ(Cursor(*B), 4000u);
  ASSERT_EQ(B->SetPlayCursor(4003), SoundResult::Ok);
  EXPECT_EQ(Cursor(*B), 4000u);
  ASSERT_EQ(B->SetPlayCursor(0), SoundResult::Ok);
  EXPECT_EQ(Cursor(*B), 0u);
  EXPECT_EQ(B->SetPlayCursor(8000), SoundResult::InvalidParam);
  EXPECT_EQ(B->GetPlayCursor(nullptr), SoundResult::InvalidParam);
}

TEST_F(SoundBufferTest, PlayCursorWrapsAroundTheRing) {
  // 50 ms of 44100 Hz stereo 16-bit; frames of 4 bytes.
  const uint32_t Size = 8820;
  auto B = Make(Size, MakePcmFormat(44100, 2, 16));
  ASSERT_EQ(B->SetPlayCursor(Size - 400), SoundResult::Ok);
  ASSERT_EQ(B->PlayLooping(), SoundResult::Ok);
  // Same rate as the output: each 10 ms of output moves the cursor by
  // 10 ms of the ring, round and round.
  uint64_t Played = Size - 400;
  uint32_t Last = Size - 400;
  int Wraps = 0;
  for (int Step = 1; Step <= 30; ++Step) {
    Mix(441);
    Played += 441 * 4;
    const uint32_t Now = Cursor(*B);
    ASSERT_EQ(Now, Played % Size) << Step;
    if (Now < Last) ++Wraps;
    Last = Now;
  }
  EXPECT_EQ(Wraps, 6) << "0.3 s through a 50 ms ring";
  EXPECT_EQ(B->Stop(), SoundResult::Ok);
}

TEST_F(SoundBufferTest, SimulatedLossLosesEveryBufferButNotTheDevice) {
  auto A = Make(4000, MakePcmFormat(44100, 2, 16));
  auto B = Make(4000, MakePcmFormat(22050, 1, 8));
  ASSERT_EQ(A->PlayLooping(), SoundResult::Ok);
  SimulateSoundDeviceLoss(*Device);
  for (TSoundBuffer* Lost : {A.get(), B.get()}) {
    void* P1;
    void* P2;
    uint32_t L1, L2, At;
    EXPECT_EQ(Lost->Lock(0, 4, &P1, &L1, &P2, &L2), SoundResult::BufferLost);
    EXPECT_EQ(Lost->Unlock(nullptr, 0, nullptr, 0), SoundResult::BufferLost);
    EXPECT_EQ(Lost->GetPlayCursor(&At), SoundResult::BufferLost);
    EXPECT_EQ(Lost->PlayLooping(), SoundResult::BufferLost);
    EXPECT_EQ(Lost->Stop(), SoundResult::BufferLost);
    EXPECT_EQ(Lost->SetPlayCursor(0), SoundResult::BufferLost);
    EXPECT_EQ(Lost->SetVolume(0), SoundResult::BufferLost);
    EXPECT_EQ(Lost->SetPan(0), SoundResult::BufferLost);
  }
  A.reset();
  // A new buffer on the same device plays (into the silent sink).
  auto C = Make(88200, MakePcmFormat(44100, 1, 16));
  ASSERT_EQ(C->PlayLooping(), SoundResult::Ok);
  Mix(2646);
  EXPECT_EQ(Cursor(*C), 2646u * 2);
}

TEST_F(SoundBufferTest, BuffersOutlivingTheirDeviceAreLostNotDangling) {
  auto B = Make(4000, MakePcmFormat(44100, 2, 16));
  ASSERT_EQ(B->PlayLooping(), SoundResult::Ok);
  Mix(882);
  EXPECT_EQ(Cursor(*B), 882u * 4);
  Device.reset();
  uint32_t At;
  EXPECT_EQ(B->GetPlayCursor(&At), SoundResult::BufferLost);
  EXPECT_EQ(B->Stop(), SoundResult::BufferLost);
  B.reset();
}

TEST_F(SoundBufferTest, BuffersComeAndGoWhileTheDeviceMixes) {
  auto Steady = Make(44100, MakePcmFormat(32000, 2, 16));
  ASSERT_EQ(Steady->PlayLooping(), SoundResult::Ok);
  std::atomic<bool> Done{false};
  // A thread of its own mixes all the time, as the device's thread would.
  std::atomic<uint64_t> Mixed{0};
  std::thread Mixer([&] {
    while (!Done.load()) Mixed += StepSoundDevice(*Device, 441);
  });
  // A second thread keeps writing into the steady buffer and changing it.
  std::thread Writer([&] {
    std::vector<uint8_t> Noise(4400, 0x55);
    uint32_t At = 0;
    while (!Done.load()) {
      void* P1;
      void* P2;
      uint32_t L1, L2;
      if (Steady->Lock(At, 4400, &P1, &L1, &P2, &L2) == SoundResult::Ok) {
        std::memcpy(P1, Noise.data(), L1);
        if (P2) std::memcpy(P2, Noise.data() + L1, L2);
        Steady->Unlock(P1, L1, P2, L2);
      }
      Steady->SetVolume(-int32_t(At % 3000));
      Steady->SetPan(int32_t(At % 2000) - 1000);
      At = (At + 4400) % 44100;
      std::this_thread::yield();
    }
  });
  // Each buffer lives until a few periods were mixed with it.
  for (int i = 0; i < 40; ++i) {
    auto B = Make(4410 * 2, MakePcmFormat(i % 2 ? 44100 : 11025, 1, 16));
    ASSERT_EQ(B->PlayLooping(), SoundResult::Ok);
    const uint64_t Until = Mixed.load() + 441 * uint64_t(i % 4);
    while (Mixed.load() < Until) std::this_thread::yield();
  }
  Done.store(true);
  Writer.join();
  Mixer.join();
  EXPECT_GT(Mixed.load(), 0u);
  EXPECT_LT(Cursor(*Steady), 44100u);
}

TEST(SoundDeviceList, DefaultDeviceComesFirstWithAnEmptyId) {
  const auto Devices = EnumerateSoundDevices();
  ASSERT_FALSE(Devices.empty());
  EXPECT_EQ(Devices[0].Description, "Default device");
  EXPECT_EQ(Devices[0].Id, "");
  for (size_t i = 1; i < Devices.size(); ++i) {
    EXPECT_FALSE(Devices[i].Id.empty());
    EXPECT_FALSE(Devices[i].Description.empty());
  }
}

TEST(SoundDeviceEntry, CreationPointerStartsAtTheSoftwareDevice) {
  EXPECT_EQ(SoundDeviceCreate, &CreateSoftwareSoundDevice);
  EXPECT_EQ(CreateSoftwareSoundDevice("", nullptr), SoundResult::InvalidParam);
}

TEST(SoundDeviceEntry, TickCountIsTheMonotonicClockInMilliseconds) {
  using namespace std::chrono;
  const auto Milliseconds = [](steady_clock::time_point At) {
    return uint32_t(duration_cast<milliseconds>(At.time_since_epoch()).count());
  };
  const uint32_t Before = Milliseconds(steady_clock::now());
  const uint32_t Tick = SoundTickCount();
  const uint32_t After = Milliseconds(steady_clock::now());
  // Modulo 2^32, like the counter.
  EXPECT_LE(uint32_t(Tick - Before), uint32_t(After - Before));
}

TEST(SoundDeviceEntry, EnvironmentChoosesTheCaptureSinkUnlessOverridden) {
  namespace fs = std::filesystem;
  const fs::path File =
      fs::temp_directory_path() / ("tw-sound-env-" + std::to_string(::getpid()) + ".wav");
  const char* Saved = std::getenv("TINTWELL_SOUND");
  const std::string Old = Saved ? Saved : "";
  ::setenv("TINTWELL_SOUND", ("capture:" + File.string()).c_str(), 1);
  SetSoundSink({});
  {
    std::unique_ptr<TSoundDevice> Device;
    ASSERT_EQ(CreateSoftwareSoundDevice("", &Device), SoundResult::Ok);
  }
  EXPECT_TRUE(fs::exists(File));
  EXPECT_EQ(fs::file_size(File) % 4, 0u);  // 44-byte header and whole stereo frames
  fs::remove(File);

  // The override wins over the environment.
  SetSoundSink({TSoundSinkChoice::Silent, ""});
  {
    std::unique_ptr<TSoundDevice> Device;
    ASSERT_EQ(CreateSoftwareSoundDevice("", &Device), SoundResult::Ok);
  }
  EXPECT_FALSE(fs::exists(File));
  SetSoundSink({});
  if (Saved)
    ::setenv("TINTWELL_SOUND", Old.c_str(), 1);
  else
    ::unsetenv("TINTWELL_SOUND");
}

// ALSA's "null" PCM needs no sound card, so the ALSA sink can be driven
// anywhere libasound's standard configuration is installed.
TEST(SoundDeviceEntry, AlsaSinkOnTheNullDevicePlaysAndComesBackAfterALoss) {
  SetSoundSink({TSoundSinkChoice::Alsa, "", true});
  std::unique_ptr<TSoundDevice> Device;
  const int32_t Result = CreateSoftwareSoundDevice("null", &Device);
  SetSoundSink({});
  if (Result == SoundResult::NoDriver) GTEST_SKIP() << "ALSA has no null device here";
  ASSERT_EQ(Result, SoundResult::Ok);
  ASSERT_EQ(Device->SetPrimaryFormat(MakePcmFormat(22050, 1, 16)), SoundResult::Ok);
  TAudioFormat Taken;
  ASSERT_EQ(Device->GetPrimaryFormat(&Taken), SoundResult::Ok);
  EXPECT_TRUE(Taken.Channels == 1 || Taken.Channels == 2);
  EXPECT_TRUE(Taken.BitsPerSample == 8 || Taken.BitsPerSample == 16);
  EXPECT_EQ(Taken.BlockAlign, Taken.Channels * Taken.BitsPerSample / 8);
  EXPECT_GT(Taken.SampleRate, 0u);

  std::unique_ptr<TSoundBuffer> B;
  ASSERT_EQ(Device->CreateStreamBuffer(441000, MakePcmFormat(44100, 1, 16), &B), SoundResult::Ok);
  ASSERT_EQ(B->PlayLooping(), SoundResult::Ok);
  // A tenth of a second of output takes at least a tenth of a second of
  // the buffer, which has 88200 bytes a second.
  const uint32_t Mixed = StepSoundDevice(*Device, Taken.SampleRate / 10);
  EXPECT_GE(Mixed, Taken.SampleRate / 10);
  uint32_t At = 0;
  ASSERT_EQ(B->GetPlayCursor(&At), SoundResult::Ok);
  EXPECT_GE(At, 8820u);
  EXPECT_LT(At, 441000u);

  // After a loss the device plays silence, and the next buffer brings the
  // ALSA device back; either way the new buffer plays.
  SimulateSoundDeviceLoss(*Device);
  EXPECT_EQ(B->GetPlayCursor(&At), SoundResult::BufferLost);
  std::unique_ptr<TSoundBuffer> Again;
  ASSERT_EQ(Device->CreateStreamBuffer(441000, MakePcmFormat(44100, 1, 16), &Again), SoundResult::Ok);
  ASSERT_EQ(Again->PlayLooping(), SoundResult::Ok);
  EXPECT_GT(StepSoundDevice(*Device, Taken.SampleRate / 20), 0u);
  ASSERT_EQ(Again->GetPlayCursor(&At), SoundResult::Ok);
  EXPECT_GE(At, 4410u);
}

TEST(SoundDeviceEntry, UnwritableCaptureFileMeansNoDriver) {
  SetSoundSink({TSoundSinkChoice::Capture, "/nonexistent-folder/x/out.wav"});
  std::unique_ptr<TSoundDevice> Device;
  EXPECT_EQ(CreateSoftwareSoundDevice("", &Device), SoundResult::NoDriver);
  EXPECT_EQ(Device, nullptr);
  SetSoundSink({});
}

}  // namespace
}  // namespace tw::test
