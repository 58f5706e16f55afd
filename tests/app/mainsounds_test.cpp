// The main window's sound: the channels and their settings, no cue before
// the start, cues restarting from their beginning, the music fading in and
// out, and a program that goes on without sound files or without a device.
// A recording device stands in for the output where the test must see the
// calls; the silent and the capture sink where real output is wanted. The
// channels run on a manual clock and the software device is stepped, so the
// test runs every refill round and mixes every period itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/MainSoundsU.h"
#include "pictures/PictureTestUtil.h"
#include "sound/auDSMixerU.h"
#include "sound/auSoftwareDeviceU.h"
#include "sound/auSoundDeviceU.h"
#include "tests/sound/ManualSoundClock.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

// The shipped sound files, beside the tests folder.
std::string ShippedSounds() {
  return (fs::path(__FILE__).parent_path().parent_path().parent_path() / "data" / "sounds")
             .string() +
         "/";
}

// Runs the channel's refill rounds, each after one refill interval of
// output was mixed (on a stepped software device; the recording device
// mixes nothing), until Done holds; false when it does not within a
// minute of rounds.
bool RoundsUntil(test::TManualSoundClock& Clock, TauDSMixerChannel& Channel,
                 const std::function<bool()>& Done) {
  for (int Rounds = 0; Rounds < 150 && !Done(); ++Rounds) {
    TSoundDevice& Device = Channel.Mixer().GetDevice();
    TAudioFormat Format;
    if (Device.GetPrimaryFormat(&Format) == SoundResult::Ok)
      StepSoundDevice(Device, Format.SampleRate * Channel.Thread().Interval() / 1000);
    Clock.Round(Channel);
  }
  return Done();
}

TSoundSettings Volumes(int32_t Music, int32_t Sfx) {
  return {[Music] { return Music; }, [Sfx] { return Sfx; }};
}

// What the recording device was asked, shared by its buffers.
struct TRecording {
  std::mutex Mutex;
  int Level = 0;
  TAudioFormat Primary;
  uint32_t SpeakerConfig = 0;
  int DevicesCreated = 0;
  // One call log per ring buffer, in creation order: "Play", "Stop",
  // "Cursor <n>", "Lock <offset>", "Volume <v>".
  std::vector<std::shared_ptr<std::vector<std::string>>> Buffers;

  std::vector<std::string> BufferLog(size_t Index) {
    std::lock_guard Lock(Mutex);
    return Index < Buffers.size() ? *Buffers[Index] : std::vector<std::string>();
  }
  size_t BufferCount() {
    std::lock_guard Lock(Mutex);
    return Buffers.size();
  }
  std::vector<int32_t> Volumes(size_t Index) {
    std::vector<int32_t> Result;
    for (const std::string& Call : BufferLog(Index))
      if (Call.rfind("Volume ", 0) == 0) Result.push_back(std::stoi(Call.substr(7)));
    return Result;
  }
};

TRecording* GRecording = nullptr;

class TRecordingBuffer : public TSoundBuffer {
 public:
  TRecordingBuffer(uint32_t Size, std::shared_ptr<std::vector<std::string>> Log)
      : FRing(Size), FLog(std::move(Log)) {}
  int32_t Lock(uint32_t Offset, uint32_t Length, void** Ptr1, uint32_t* Len1, void** Ptr2,
               uint32_t* Len2) override {
    Record("Lock " + std::to_string(Offset));
    Offset %= uint32_t(FRing.size());
    const uint32_t First = std::min<uint32_t>(Length, uint32_t(FRing.size()) - Offset);
    *Ptr1 = FRing.data() + Offset;
    *Len1 = First;
    *Ptr2 = First < Length ? FRing.data() : nullptr;
    *Len2 = Length - First;
    return SoundResult::Ok;
  }
  int32_t Unlock(void*, uint32_t, void*, uint32_t) override { return SoundResult::Ok; }
  int32_t GetPlayCursor(uint32_t* Position) override {
    *Position = 0;
    return SoundResult::Ok;
  }
  int32_t PlayLooping() override { return Record("Play"); }
  int32_t Stop() override { return Record("Stop"); }
  int32_t SetPlayCursor(uint32_t Position) override {
    return Record("Cursor " + std::to_string(Position));
  }
  int32_t SetVolume(int32_t Volume) override { return Record("Volume " + std::to_string(Volume)); }
  int32_t SetPan(int32_t) override { return SoundResult::Ok; }

 private:
  int32_t Record(const std::string& Call) {
    std::lock_guard Lock(GRecording->Mutex);
    FLog->push_back(Call);
    return SoundResult::Ok;
  }

  std::vector<uint8_t> FRing;
  std::shared_ptr<std::vector<std::string>> FLog;
};

class TRecordingDevice : public TSoundDevice {
 public:
  int32_t SetCooperativeLevel(int Level) override {
    GRecording->Level = Level;
    return SoundResult::Ok;
  }
  int32_t CreatePrimaryOutput() override { return SoundResult::Ok; }
  int32_t GetPrimaryFormat(TAudioFormat* Format) override {
    *Format = GRecording->Primary;
    return SoundResult::Ok;
  }
  int32_t SetPrimaryFormat(const TAudioFormat& Format) override {
    GRecording->Primary = Format;
    return SoundResult::Ok;
  }
  int32_t SetSpeakerConfig(uint32_t Config) override {
    GRecording->SpeakerConfig = Config;
    return SoundResult::Ok;
  }
  int32_t PlayPrimaryLooping() override { return SoundResult::Ok; }
  int32_t CreateStreamBuffer(uint32_t Size, const TAudioFormat&,
                             std::unique_ptr<TSoundBuffer>* Buffer) override {
    auto Log = std::make_shared<std::vector<std::string>>();
    {
      std::lock_guard Lock(GRecording->Mutex);
      GRecording->Buffers.push_back(Log);
    }
    *Buffer = std::make_unique<TRecordingBuffer>(Size, Log);
    return SoundResult::Ok;
  }
};

int32_t CreateRecordingDevice(const std::string&, std::unique_ptr<TSoundDevice>* Device) {
  ++GRecording->DevicesCreated;
  *Device = std::make_unique<TRecordingDevice>();
  return SoundResult::Ok;
}

int32_t CreateNoDevice(const std::string&, std::unique_ptr<TSoundDevice>*) {
  return SoundResult::NoDriver;
}

class MainSoundsRecorded : public ::testing::Test {
 protected:
  void SetUp() override {
    GRecording = &Recording;
    FOldCreate = SoundDeviceCreate;
    SoundDeviceCreate = CreateRecordingDevice;
  }
  void TearDown() override {
    SoundDeviceCreate = FOldCreate;
    GRecording = nullptr;
  }

  TRecording Recording;
  TSoundDeviceCreateFunc FOldCreate = nullptr;
  test::TManualSoundClock Clock;
};

TEST(SoundCues, NamesAndNumbersFollowTheCueTable) {
  const std::vector<std::string> Names = {"DropperIn", "DropperOut", "Splash",   "StrokeUp",
                                          "StrokeDown", "GetPaint",  "Wash",     "PageTurn",
                                          "ToolChange", "Undo"};
  ASSERT_EQ(int(Names.size()), SoundCueCount);
  for (int Cue = 0; Cue < SoundCueCount; ++Cue) {
    EXPECT_EQ(SoundCueName(Cue), Names[size_t(Cue)]);
    EXPECT_EQ(SoundCueByName(Names[size_t(Cue)]), Cue);
  }
  EXPECT_EQ(SoundCueName(-1), "");
  EXPECT_EQ(SoundCueName(10), "");
  EXPECT_EQ(SoundCueByName("splash"), -1);
  EXPECT_EQ(cueUndo, 9);
}

TEST(SoundCues, VolumesAreClampedToTheirRange) {
  EXPECT_EQ(ClampVolume(-20000), -10000);
  EXPECT_EQ(ClampVolume(-10000), -10000);
  EXPECT_EQ(ClampVolume(-1000), -1000);
  EXPECT_EQ(ClampVolume(0), 0);
  EXPECT_EQ(ClampVolume(500), 0);
}

TEST_F(MainSoundsRecorded, ChannelsAreMadeWithTheirFilesAndVolumes) {
  TMainSounds Sounds(Volumes(-1500, 700), ShippedSounds());
  EXPECT_EQ(Sounds.MusicChannel().FileName(), ShippedSounds() + "music.mp3");
  EXPECT_TRUE(Sounds.MusicChannel().Loop());
  EXPECT_EQ(Sounds.MusicChannel().Volume(), -1500);
  ASSERT_EQ(Sounds.EffectChannels().size(), 10u);
  for (int Cue = 0; Cue < SoundCueCount; ++Cue) {
    const TauDSMixerChannel& Channel = *Sounds.EffectChannels()[size_t(Cue)];
    EXPECT_EQ(Channel.FileName(), ShippedSounds() + SoundCueName(Cue) + ".mp3");
    EXPECT_FALSE(Channel.Loop());
    EXPECT_EQ(Channel.Volume(), 0) << "SfxVolume 700 is clamped to full level";
    EXPECT_EQ(&Sounds.EffectChannel(Cue), &Channel);
  }
  EXPECT_EQ(Sounds.Mixer().ChannelCount(), 11u);
  EXPECT_EQ(Recording.DevicesCreated, 0) << "nothing plays, so no device is opened yet";
}

TEST_F(MainSoundsRecorded, TheDeviceGetsTheProgramsOutputSettings) {
  TMainSounds Sounds(Volumes(-1000, 0), ShippedSounds());
  Sounds.SetStarted(true);
  Sounds.PlayCue(cueSplash);
  EXPECT_EQ(Recording.DevicesCreated, 1);
  EXPECT_EQ(Recording.Level, SoundLevelPriority);
  EXPECT_EQ(Recording.Primary.BitsPerSample, 16);
  EXPECT_EQ(Recording.Primary.Channels, 2);
  EXPECT_EQ(Recording.Primary.SampleRate, 44100u);
  EXPECT_EQ(Recording.SpeakerConfig, 4u);
}

TEST_F(MainSoundsRecorded, NoCuePlaysBeforeTheStart) {
  TMainSounds Sounds(Volumes(-1000, -300), ShippedSounds());
  std::vector<int> Played;
  Sounds.OnCuePlayed = [&](int Cue) { Played.push_back(Cue); };
  for (int Cue = 0; Cue < SoundCueCount; ++Cue) Sounds.PlayCue(Cue);
  Sounds.MusicFadeIn();
  Sounds.PlayMusic();
  EXPECT_TRUE(Played.empty());
  EXPECT_EQ(Recording.BufferCount(), 0u);
  EXPECT_EQ(Sounds.MusicChannel().State(), TauChannelState::Stopped);

  Sounds.SetStarted(true);
  Sounds.PlayCue(cueUndo);
  Sounds.PlayCue("PageTurn");
  Sounds.PlayCue("NoSuchCue");
  Sounds.PlayCue(10);
  Sounds.PlayCue(-1);
  EXPECT_EQ(Played, (std::vector<int>{cueUndo, cuePageTurn}));
  EXPECT_EQ(Sounds.EffectChannel(cueUndo).State(), TauChannelState::Playing);
  EXPECT_EQ(Sounds.EffectChannel(cuePageTurn).State(), TauChannelState::Playing);
  EXPECT_EQ(Sounds.EffectChannel(cueSplash).State(), TauChannelState::Stopped);
  EXPECT_EQ(Recording.Volumes(0).front(), -300) << "the cue plays at SfxVolume";

  Sounds.SetStarted(false);
  Sounds.PlayCue(cueSplash);
  EXPECT_EQ(Played.size(), 2u);
}

TEST_F(MainSoundsRecorded, ACueStillSoundingStartsAgainFromItsBeginning) {
  TMainSounds Sounds(Volumes(-1000, 0), ShippedSounds());
  Sounds.SetStarted(true);
  Sounds.PlayCue(cueWash);
  ASSERT_EQ(Recording.BufferCount(), 1u);
  std::vector<std::string> Log = Recording.BufferLog(0);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "Play"), 1);
  ASSERT_GE(Log.size(), 2u);
  EXPECT_EQ(Log[0], "Volume 0") << "the buffer takes the channel's volume";
  EXPECT_EQ(Log[1], "Lock 0") << "the first fill starts at the ring's beginning";

  const size_t Before = Log.size();
  Sounds.PlayCue(cueWash);
  Log = Recording.BufferLog(0);
  const std::vector<std::string> Restart(Log.begin() + std::ptrdiff_t(Before), Log.end());
  // Stop, rewind, fill from the start again, play.
  auto At = [&](const std::string& Call) {
    return std::find(Restart.begin(), Restart.end(), Call) - Restart.begin();
  };
  ASSERT_LT(size_t(At("Play")), Restart.size());
  EXPECT_LT(At("Stop"), At("Cursor 0"));
  EXPECT_LT(At("Cursor 0"), At("Lock 0"));
  EXPECT_LT(At("Lock 0"), At("Play"));
  EXPECT_EQ(Sounds.EffectChannel(cueWash).State(), TauChannelState::Playing);
}

TEST_F(MainSoundsRecorded, TheMusicFadesInFromAQuarterTowardSilenceAndOutAgain) {
  TMainSounds Sounds(Volumes(-1000, 0), ShippedSounds());
  Sounds.MusicFadeIn();
  EXPECT_EQ(Recording.BufferCount(), 0u) << "no music before the start";
  Sounds.SetStarted(true);
  Sounds.MusicFadeIn();
  ASSERT_EQ(Recording.BufferCount(), 1u);
  EXPECT_EQ(Sounds.MusicChannel().State(), TauChannelState::Playing);
  // The buffer takes the channel's volume when made, then the fade's start:
  // (3 * (-1000 + 10000)) div 4 - 10000 = -3250.
  const std::vector<int32_t> Start = Recording.Volumes(0);
  ASSERT_GE(Start.size(), 2u);
  EXPECT_EQ(Start[0], -1000);
  EXPECT_EQ(Start[1], -3250);

  ASSERT_TRUE(RoundsUntil(Clock, Sounds.MusicChannel(),
                          [&] { return Sounds.MusicChannel().Volume() == -1000; }));
  std::vector<int32_t> Fade = Recording.Volumes(0);
  Fade.erase(Fade.begin());
  EXPECT_GT(Fade.size(), 2u) << "the volume moves in steps";
  EXPECT_TRUE(std::is_sorted(Fade.begin(), Fade.end())) << "rising all the way";
  EXPECT_EQ(Fade.back(), -1000);

  const size_t FadeInCalls = Recording.Volumes(0).size();
  Sounds.MusicFadeOut();
  ASSERT_TRUE(RoundsUntil(Clock, Sounds.MusicChannel(),
                          [&] { return Sounds.MusicChannel().Volume() == -10000; }));
  std::vector<int32_t> Out = Recording.Volumes(0);
  Out.erase(Out.begin(), Out.begin() + std::ptrdiff_t(FadeInCalls));
  EXPECT_GT(Out.size(), 2u);
  EXPECT_TRUE(std::is_sorted(Out.rbegin(), Out.rend())) << "falling all the way";
  EXPECT_EQ(Out.back(), -10000);
  EXPECT_EQ(Sounds.MusicChannel().State(), TauChannelState::Playing)
      << "the music keeps running silently";
}

TEST_F(MainSoundsRecorded, AMusicVolumeOutOfRangeIsClampedBeforeTheFade) {
  TMainSounds Sounds(Volumes(-30000, 0), ShippedSounds());
  EXPECT_EQ(Sounds.MusicChannel().Volume(), -10000);
  Sounds.SetStarted(true);
  Sounds.MusicFadeIn();
  const std::vector<int32_t> Start = Recording.Volumes(0);
  ASSERT_GE(Start.size(), 2u);
  EXPECT_EQ(Start[1], -10000) << "a quarter of the way from silence to silence";
}

TEST_F(MainSoundsRecorded, PausingAndPlayingTheMusicResumesIt) {
  TMainSounds Sounds(Volumes(-1000, 0), ShippedSounds());
  Sounds.PauseMusic();
  EXPECT_EQ(Recording.BufferCount(), 0u) << "pausing music that never played opens nothing";
  Sounds.SetStarted(true);
  Sounds.MusicFadeIn();
  Sounds.PauseMusic();
  EXPECT_EQ(Sounds.MusicChannel().State(), TauChannelState::Paused);
  Sounds.PlayMusic();
  EXPECT_EQ(Sounds.MusicChannel().State(), TauChannelState::Playing);
  const std::vector<std::string> Log = Recording.BufferLog(0);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "Cursor 0"), 0) << "paused, not rewound";
}

class MainSoundsFiles : public MainSoundsRecorded {
 protected:
  // A sounds folder with the music, a damaged Splash and Undo, and no other
  // cue files.
  std::string PartialFolder() {
    const std::string Folder = Temp.Path() + "/sounds/";
    fs::create_directories(Folder);
    fs::copy_file(ShippedSounds() + "music.mp3", Folder + "music.mp3");
    fs::copy_file(ShippedSounds() + "Undo.mp3", Folder + "Undo.mp3");
    std::ofstream(Folder + "Splash.mp3") << "this is no sound at all";
    return Folder;
  }

  test::TTempFolder Temp;
};

TEST_F(MainSoundsFiles, MissingAndDamagedSoundFilesLeaveTheirCuesSilent) {
  const std::string Folder = PartialFolder();
  testing::internal::CaptureStderr();
  std::unique_ptr<TMainSounds> Sounds;
  ASSERT_NO_THROW(Sounds = std::make_unique<TMainSounds>(Volumes(-1000, 0), Folder));
  const std::string Errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(Errors.begin(), Errors.end(), '\n'), 1) << Errors;
  EXPECT_NE(Errors.find("Splash.mp3"), std::string::npos);
  EXPECT_NE(Errors.find("DropperIn.mp3"), std::string::npos);

  EXPECT_EQ(Sounds->EffectChannel(cueSplash).FileName(), "");
  EXPECT_EQ(Sounds->EffectChannel(cueDropperIn).FileName(), "");
  EXPECT_EQ(Sounds->EffectChannel(cueUndo).FileName(), Folder + "Undo.mp3");

  std::vector<int> Played;
  Sounds->OnCuePlayed = [&](int Cue) { Played.push_back(Cue); };
  Sounds->SetStarted(true);
  ASSERT_NO_THROW(Sounds->PlayCue(cueSplash));
  ASSERT_NO_THROW(Sounds->PlayCue(cueUndo));
  ASSERT_NO_THROW(Sounds->MusicFadeIn());
  EXPECT_EQ(Played, (std::vector<int>{cueSplash, cueUndo}));
  EXPECT_EQ(Sounds->EffectChannel(cueSplash).State(), TauChannelState::Stopped);
  EXPECT_EQ(Sounds->EffectChannel(cueUndo).State(), TauChannelState::Playing);
  EXPECT_EQ(Sounds->MusicChannel().State(), TauChannelState::Playing);
}

TEST_F(MainSoundsFiles, WithoutMusicTheFadesDoNothing) {
  TMainSounds Sounds(Volumes(-1000, 0), Temp.Path() + "/nothing-here/");
  Sounds.SetStarted(true);
  ASSERT_NO_THROW(Sounds.MusicFadeIn());
  ASSERT_NO_THROW(Sounds.MusicFadeOut());
  ASSERT_NO_THROW(Sounds.PauseMusic());
  ASSERT_NO_THROW(Sounds.PlayMusic());
  EXPECT_EQ(Sounds.MusicChannel().State(), TauChannelState::Stopped);
  EXPECT_EQ(Recording.DevicesCreated, 0);
}

TEST(MainSoundsNoDevice, TheProgramGoesOnWithoutASoundDevice) {
  const TSoundDeviceCreateFunc Old = SoundDeviceCreate;
  SoundDeviceCreate = CreateNoDevice;
  {
    TMainSounds Sounds(Volumes(-1000, 0), ShippedSounds());
    std::vector<int> Played;
    Sounds.OnCuePlayed = [&](int Cue) { Played.push_back(Cue); };
    Sounds.SetStarted(true);
    testing::internal::CaptureStderr();
    ASSERT_NO_THROW(Sounds.PlayCue(cueSplash));
    ASSERT_NO_THROW(Sounds.PlayCue(cueWash));
    ASSERT_NO_THROW(Sounds.MusicFadeIn());
    ASSERT_NO_THROW(Sounds.MusicFadeOut());
    const std::string Errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(Errors.begin(), Errors.end(), '\n'), 1) << Errors;
    EXPECT_EQ(Played, (std::vector<int>{cueSplash, cueWash}));
  }
  SoundDeviceCreate = Old;
}

class MainSoundsSinks : public ::testing::Test {
 protected:
  void TearDown() override { SetSoundSink({TSoundSinkChoice::Auto, {}}); }
  test::TTempFolder Temp;
  test::TManualSoundClock Clock;
};

TEST_F(MainSoundsSinks, CuesPlayOnTheSilentSink) {
  SetSoundSink({TSoundSinkChoice::Silent, {}, true});
  TMainSounds Sounds(Volumes(-1000, 0), ShippedSounds());
  Sounds.SetStarted(true);
  Sounds.PlayCue(cueStrokeUp);
  EXPECT_EQ(Sounds.EffectChannel(cueStrokeUp).State(), TauChannelState::Playing);
  // The cue is a fraction of a second long: it ends by itself.
  EXPECT_TRUE(RoundsUntil(Clock, Sounds.EffectChannel(cueStrokeUp), [&] {
    return Sounds.EffectChannel(cueStrokeUp).State() == TauChannelState::Stopped;
  }));
}

// The peak of the 16-bit samples of a captured WAV file (data after its
// 44-byte header).
int CapturedPeak(const std::string& File) {
  std::ifstream In(File, std::ios::binary);
  const std::vector<char> Bytes{std::istreambuf_iterator<char>(In),
                                std::istreambuf_iterator<char>()};
  int Peak = 0;
  for (size_t i = 44; i + 1 < Bytes.size(); i += 2) {
    const auto Sample = int16_t(uint16_t(uint8_t(Bytes[i])) | uint16_t(uint8_t(Bytes[i + 1]) << 8));
    Peak = std::max(Peak, std::abs(int(Sample)));
  }
  return Peak;
}

TEST_F(MainSoundsSinks, ACueIsHeardOnlyAfterTheStart) {
  const std::string Capture = Temp.File("out.wav");
  SetSoundSink({TSoundSinkChoice::Capture, Capture, true});
  {
    TMainSounds Sounds(Volumes(-1000, 0), ShippedSounds());
    Sounds.PlayCue(cueSplash);
    EXPECT_FALSE(Sounds.EffectChannel(cueSplash).Mixer().IsOpen());
    EXPECT_FALSE(fs::exists(Capture)) << "nothing played, so no output was even opened";
    Sounds.SetStarted(true);
    Sounds.PlayCue(cueSplash);
    TSoundDevice& Device = Sounds.EffectChannel(cueSplash).Mixer().GetDevice();
    EXPECT_GT(StepSoundDevice(Device, 4410), 0u);
    EXPECT_GT(CapturedPeak(Capture), 1000);
  }
  EXPECT_GT(CapturedPeak(Capture), 1000);
}

}  // namespace
}  // namespace tw
