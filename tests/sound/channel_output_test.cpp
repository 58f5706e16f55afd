// Channels through the real software device into a capture file: what a
// channel streams comes out at the level, balance and continuity its
// settings promise. The device is stepped and the channels run on a manual
// clock: each round mixes one refill interval of output, then runs the
// channel's refill round, so the whole run is the same every time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "sound/auDSMixerU.h"
#include "sound/auSoftwareDeviceU.h"
#include "tests/sound/ManualSoundClock.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

std::string DataFile(const std::string& Name) {
  return std::string(TINTWELL_TEST_DATA) + "/sound/data/" + Name;
}

// A 16-bit stereo capture, as the mixer's default primary format gives.
struct TCaptured {
  std::vector<int16_t> Left;
  std::vector<int16_t> Right;
};

TCaptured ReadCapture(const fs::path& File) {
  std::ifstream In(File, std::ios::binary);
  const std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(In)),
                                   std::istreambuf_iterator<char>());
  TCaptured Result;
  if (Bytes.size() < 44) {
    ADD_FAILURE() << "no capture";
    return Result;
  }
  EXPECT_EQ(Bytes[22], 2) << "stereo";
  EXPECT_EQ(Bytes[34], 16) << "16 bits";
  for (size_t At = 44; At + 3 < Bytes.size(); At += 4) {
    Result.Left.push_back(int16_t(Bytes[At] | Bytes[At + 1] << 8));
    Result.Right.push_back(int16_t(Bytes[At + 2] | Bytes[At + 3] << 8));
  }
  return Result;
}

int Peak(const std::vector<int16_t>& Samples) {
  int Max = 0;
  for (int16_t Sample : Samples) Max = std::max(Max, std::abs(int(Sample)));
  return Max;
}

// The frames from the first to the last one louder than Level.
std::pair<size_t, size_t> Audible(const std::vector<int16_t>& Samples, int Level) {
  size_t First = Samples.size();
  size_t Last = 0;
  for (size_t Index = 0; Index < Samples.size(); ++Index)
    if (std::abs(int(Samples[Index])) > Level) {
      First = std::min(First, Index);
      Last = Index + 1;
    }
  return {First, First < Last ? Last : First};
}

// The longest run of samples quieter than Level between From and To.
size_t LongestQuietRun(const std::vector<int16_t>& Samples, size_t From, size_t To, int Level) {
  size_t Longest = 0;
  size_t Run = 0;
  for (size_t Index = From; Index < To; ++Index) {
    Run = std::abs(int(Samples[Index])) < Level ? Run + 1 : 0;
    Longest = std::max(Longest, Run);
  }
  return Longest;
}

// The samples of a file, decoded by a reader of its own.
std::vector<int16_t> FileSamples(const std::string& Name) {
  TauAudioFileReader Reader(DataFile(Name));
  std::vector<int16_t> Block(65536);
  std::vector<int16_t> Samples;
  for (;;) {
    const int64_t Read = Reader.Read(Block.data(), int64_t(Block.size() * 2));
    if (Read <= 0) break;
    Samples.insert(Samples.end(), Block.begin(), Block.begin() + Read / 2);
  }
  return Samples;
}

int FilePeak(const std::string& Name) { return Peak(FileSamples(Name)); }

class ChannelOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = fs::temp_directory_path() /
           (std::string("tw-channel-") + Info->name() + "-" + std::to_string(::getpid()));
    fs::create_directories(FDir);
    FCapture = FDir / "out.wav";
    SetSoundSink({TSoundSinkChoice::Capture, FCapture.string(), true});
    SetThreadNotifier(nullptr);
    ThreadNotifyQueue().Pump();
    FMixer = std::make_unique<TauDSMixer>();
  }
  void TearDown() override {
    FMixer.reset();
    SetSoundSink({});
    std::error_code Ignored;
    fs::remove_all(FDir, Ignored);
  }

  TauDSMixerChannel& Open(const std::string& Name) {
    TauDSMixerChannel& Channel = FMixer->AddChannel();
    Channel.SetFileName(DataFile(Name));
    Channel.OnEnd = [this](TauDSMixerChannel&) { ++FEnds; };
    return Channel;
  }

  // Mixes Milliseconds of output (44100 frames a second).
  void Mix(uint32_t Milliseconds) {
    const uint32_t Frames = Milliseconds * 441 / 10;
    ASSERT_EQ(StepSoundDevice(FMixer->GetDevice(), Frames), Frames);
  }

  // Mixes one refill interval, then runs the channel's round and the
  // notifications it posted.
  void Round(TauDSMixerChannel& Channel) {
    Mix(Channel.Thread().Interval());
    FClock.Round(Channel);
    ThreadNotifyQueue().Pump();
  }

  // Runs rounds until the channel reports its end; how many it took, or 0
  // when it did not end within a minute.
  int PlayToTheEnd(TauDSMixerChannel& Channel) {
    for (int Rounds = 1; Rounds <= 150; ++Rounds) {
      Round(Channel);
      if (FEnds > 0) return Rounds;
    }
    return 0;
  }

  // Closes the device so the capture is complete, and reads it.
  TCaptured Finish() {
    FMixer.reset();
    return ReadCapture(FCapture);
  }

  test::TManualSoundClock FClock;
  fs::path FDir;
  fs::path FCapture;
  std::unique_ptr<TauDSMixer> FMixer;
  int FEnds = 0;
};

TEST_F(ChannelOutput, ACueComesOutAtItsOwnLevelOnBothSides) {
  const int Expected = FilePeak("sine-mono-22050.mp3");
  TauDSMixerChannel& Channel = Open("sine-mono-22050.mp3");
  Channel.Play();
  // Half a second of sound: the round at 0.4 s finds it still playing,
  // the one at 0.8 s past its end.
  ASSERT_EQ(PlayToTheEnd(Channel), 2);
  EXPECT_EQ(FEnds, 1);
  const TCaptured Out = Finish();
  EXPECT_NEAR(Peak(Out.Left), Expected, Expected * 0.06);
  EXPECT_NEAR(Peak(Out.Right), Expected, Expected * 0.06);
  // Half a second of sound, once.
  const auto [First, End] = Audible(Out.Left, Expected / 4);
  EXPECT_NEAR(double(End - First), 22050.0, 441.0);
}

TEST_F(ChannelOutput, VolumeMinus600IsAboutHalfTheAmplitude) {
  const int Full = FilePeak("sine-mono-22050.mp3");
  TauDSMixerChannel& Channel = Open("sine-mono-22050.mp3");
  Channel.SetVolume(-600);
  Channel.Play();
  ASSERT_GT(PlayToTheEnd(Channel), 0);
  const TCaptured Out = Finish();
  // -6 dB: 10^(-600/2000) of the amplitude.
  const double Expected = Full * std::pow(10.0, -0.3);
  EXPECT_NEAR(Peak(Out.Left), Expected, Expected * 0.06);
  EXPECT_NEAR(Peak(Out.Right), Expected, Expected * 0.06);
}

TEST_F(ChannelOutput, PanFullyLeftSilencesTheRight) {
  const int Full = FilePeak("sine-mono-22050.mp3");
  TauDSMixerChannel& Channel = Open("sine-mono-22050.mp3");
  Channel.SetPan(-10000);
  Channel.Play();
  ASSERT_GT(PlayToTheEnd(Channel), 0);
  const TCaptured Out = Finish();
  EXPECT_NEAR(Peak(Out.Left), Full, Full * 0.06);
  EXPECT_EQ(Peak(Out.Right), 0);
}

TEST_F(ChannelOutput, ALoopingFileHasNoSilentRunAtTheSeam) {
  TauDSMixerChannel& Channel = Open("sine-mono-22050.mp3");
  Channel.SetLoop(true);
  Channel.Play();
  // Two seams, at 0.5 and 1 second.
  for (int Rounds = 0; Rounds < 3; ++Rounds) Round(Channel);
  Mix(100);
  EXPECT_EQ(FEnds, 0);
  Channel.Stop();
  const TCaptured Out = Finish();
  // The file played twice in a row, end to start, at its own rate: its
  // quietest stretch, seam included, is the most the capture may show at
  // twice the rate (plus a little for the resampler's smoothing).
  std::vector<int16_t> Twice = FileSamples("sine-mono-22050.mp3");
  const int Level = Peak(Twice) / 4;
  Twice.insert(Twice.end(), Twice.begin(), Twice.end());
  const size_t Allowed = 2 * LongestQuietRun(Twice, 0, Twice.size(), Level) + 4;
  const auto [First, End] = Audible(Out.Left, Level);
  ASSERT_GT(End - First, 44100u) << "more than a second of sound";
  EXPECT_LE(LongestQuietRun(Out.Left, First, End, Level), Allowed);
  EXPECT_LT(Allowed, 40u) << "the file itself has no gap";
}

TEST_F(ChannelOutput, PlayAfterPauseResumesWhereItStopped) {
  TauDSMixerChannel& Channel = Open("sine-mono-22050.mp3");
  Channel.Play();
  Mix(200);
  Channel.Pause();
  Mix(300);
  Channel.Play();
  ASSERT_GT(PlayToTheEnd(Channel), 0);
  const TCaptured Out = Finish();
  const int Level = FilePeak("sine-mono-22050.mp3") / 4;
  const auto [First, End] = Audible(Out.Left, Level);
  // Sound, a pause of about 0.3 s, then the rest: half a second of sound
  // in all, not the whole file again after the pause.
  const size_t Gap = LongestQuietRun(Out.Left, First, End, Level);
  EXPECT_GT(Gap, 4410u);
  EXPECT_NEAR(double(End - First - Gap), 22050.0, 882.0);
}

}  // namespace
}  // namespace tw
