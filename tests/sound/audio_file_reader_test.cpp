// The audio file reader against small MP3 files made by
// scripts/make-test-sounds.sh: exact gapless length, block times, reads at
// and after the end, seeking and its clamps, section cuts, the Start and
// Length clamps, and unreadable files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "sound/auAudioFileReadU.h"

namespace tw::test {
namespace {

// What the fixture script generated: sox writes exactly these sample frames
// and lame's gapless header lets the decoder trim back to them.
constexpr int64_t MonoFrames = 11025;    // 0.5 s at 22050 Hz
constexpr int64_t StereoFrames = 13230;  // 0.3 s at 44100 Hz

std::string Sound(const std::string& Name) {
  return std::string(TINTWELL_TEST_DATA) + "/sound/data/" + Name;
}
const std::string Mono = Sound("sine-mono-22050.mp3");
const std::string Stereo = Sound("sine-stereo-44100.mp3");

std::vector<int16_t> ReadAll(TauAudioFileReader& r, int64_t BlockBytes = 4096) {
  std::vector<int16_t> all;
  std::vector<int16_t> block(BlockBytes / 2);
  for (;;) {
    const int64_t n = r.Read(block.data(), BlockBytes);
    if (n == 0) break;
    all.insert(all.end(), block.begin(), block.begin() + n / 2);
  }
  return all;
}

int32_t CodeOf(auto&& Action) {
  try {
    Action();
  } catch (const EAudioReadError& e) {
    return e.ErrorCode;
  }
  return 0;
}

// Sign changes of one channel, for telling the tones apart.
int ZeroCrossings(const std::vector<int16_t>& s, int Channels, int Channel) {
  int count = 0;
  for (size_t i = Channel + Channels; i < s.size(); i += Channels)
    if ((s[i - Channels] < 0) != (s[i] < 0)) ++count;
  return count;
}

TEST(AudioFileReader, MonoFormatAndExactGaplessLength) {
  TauAudioFileReader r(Mono);
  EXPECT_EQ(r.FileName(), Mono);
  EXPECT_EQ(r.Format().FormatTag, 1);
  EXPECT_EQ(r.Format().Channels, 1);
  EXPECT_EQ(r.Format().SampleRate, 22050u);
  EXPECT_EQ(r.Format().BitsPerSample, 16);
  EXPECT_EQ(r.Format().BlockAlign, 2);
  EXPECT_EQ(r.Format().AvgBytesPerSec, 44100u);
  EXPECT_EQ(r.SampleCount(), MonoFrames);
  EXPECT_EQ(r.Duration(), 5000000);  // half a second in 100 ns units
  EXPECT_EQ(r.Position(), 0);
  EXPECT_EQ(r.Start(), 0);
  EXPECT_EQ(r.Length(), 0);
  const std::vector<int16_t> all = ReadAll(r);
  EXPECT_EQ(int64_t(all.size()), MonoFrames);
  EXPECT_EQ(r.Position(), r.Duration());
  // A 441 Hz sine crosses zero twice a period: about 441 times in 0.5 s.
  EXPECT_NEAR(ZeroCrossings(all, 1, 0), 441, 10);
}

TEST(AudioFileReader, StereoKeepsBothChannelsAndTheExactLength) {
  TauAudioFileReader r(Stereo);
  EXPECT_EQ(r.Format().Channels, 2);
  EXPECT_EQ(r.Format().SampleRate, 44100u);
  EXPECT_EQ(r.Format().BlockAlign, 4);
  EXPECT_EQ(r.Format().AvgBytesPerSec, 176400u);
  EXPECT_EQ(r.SampleCount(), StereoFrames);
  EXPECT_EQ(r.Duration(), 3000000);
  const std::vector<int16_t> all = ReadAll(r, 1000);
  EXPECT_EQ(int64_t(all.size()), StereoFrames * 2);
  // 441 Hz on the left and 882 Hz on the right over 0.3 s.
  EXPECT_NEAR(ZeroCrossings(all, 2, 0), 265, 10);
  EXPECT_NEAR(ZeroCrossings(all, 2, 1), 529, 10);
}

TEST(AudioFileReader, BlocksCarryTheirMediaTimes) {
  TauAudioFileReader r(Mono);
  std::vector<int16_t> block(500);
  int64_t frames = 0;
  for (;;) {
    const int64_t n = r.Read(block.data(), 1000);
    if (n == 0) break;
    EXPECT_EQ(r.SampleStartTime(), frames * 10000000 / 22050);
    frames += n / 2;
    EXPECT_EQ(r.SampleEndTime(), frames * 10000000 / 22050);
    EXPECT_EQ(r.Position(), r.SampleEndTime());
  }
  EXPECT_EQ(frames, MonoFrames);
}

TEST(AudioFileReader, SizeZeroReadRaises) {
  TauAudioFileReader r(Mono);
  int16_t buffer[4];
  try {
    r.Read(buffer, 0);
    FAIL() << "no exception";
  } catch (const EAudioReadError& e) {
    EXPECT_EQ(e.ErrorCode, 0x08000001);
    EXPECT_STREQ(e.what(), "The space given for the decoded sound has a wrong size.");
  }
  EXPECT_EQ(r.Position(), 0);
  // Less than one sample frame cannot be handed out either.
  TauAudioFileReader stereo(Stereo);
  EXPECT_EQ(CodeOf([&] { stereo.Read(buffer, 3); }), 0x08000001);
  EXPECT_EQ(CodeOf([&] { stereo.Read(nullptr, 64); }), int32_t(0x80004003u));
  EXPECT_EQ(stereo.Position(), 0);
}

TEST(AudioFileReader, ReadsAfterTheEndReturnNothingAndChangeNothing) {
  TauAudioFileReader r(Stereo);
  const std::vector<int16_t> first = ReadAll(r);
  const int64_t position = r.Position(), start = r.SampleStartTime(), end = r.SampleEndTime();
  std::vector<int16_t> block(256);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(r.Read(block.data(), 512), 0);
    EXPECT_EQ(r.Position(), position);
    EXPECT_EQ(r.SampleStartTime(), start);
    EXPECT_EQ(r.SampleEndTime(), end);
  }
  r.Seek(0);
  EXPECT_EQ(r.Position(), 0);
  EXPECT_EQ(ReadAll(r, 2048), first);
}

TEST(AudioFileReader, SeekClampsToTheDurationAndTheStart) {
  TauAudioFileReader r(Mono);
  r.Seek(r.Duration() * 3);
  EXPECT_EQ(r.Position(), r.Duration());
  int16_t block[64];
  EXPECT_EQ(r.Read(block, sizeof block), 0);
  r.SetStart(2000000);
  EXPECT_EQ(r.Start(), 2000000);
  r.Seek(-5);
  EXPECT_EQ(r.Position(), 2000000);
  r.Seek(100);
  EXPECT_EQ(r.Position(), 2000000);
  r.SetLength(1000000);
  r.Seek(4000000);
  EXPECT_EQ(r.Position(), 3000000);
}

TEST(AudioFileReader, SeekIsSampleAccurate) {
  TauAudioFileReader r(Stereo);
  const std::vector<int16_t> all = ReadAll(r);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int64_t> pick(0, StereoFrames - 1);
  for (int i = 0; i < 20; ++i) {
    const int64_t frame = pick(rng);
    // A frame's start time, rounded down to 100 ns, leads to that frame; one
    // unit later lies past it (frames are 226.8 units apart), so the next.
    r.Seek(frame * 10000000 / 44100 + (i % 2));
    const int64_t expected = frame + (i % 2);
    std::vector<int16_t> block(128);
    const int64_t n = r.Read(block.data(), 256);
    const int64_t available = std::min<int64_t>(64, StereoFrames - expected);
    ASSERT_EQ(n, available * 4) << "frame " << frame;
    // The decoder restarts a few MP3 frames earlier to rebuild its overlap
    // state, so the samples after a seek are the very same as in one pass.
    for (int64_t k = 0; k < n / 2; ++k)
      ASSERT_EQ(block[k], all[expected * 2 + k]) << "frame " << frame << " at " << k;
  }
}

TEST(AudioFileReader, SectionCutEndsOnWholeFramesAtTheSectionEnd) {
  for (const std::string& file : {Mono, Stereo}) {
    TauAudioFileReader r(file);
    const std::vector<int16_t> all = ReadAll(r);
    r.Seek(0);
    const int64_t align = r.Format().BlockAlign, rate = r.Format().SampleRate;
    r.SetStart(1000000);  // 0.1 s
    EXPECT_EQ(r.Position(), 1000000);
    r.SetLength(1000000);
    const int64_t sectionFrames = rate / 10;
    std::vector<int16_t> got;
    std::vector<int16_t> block(1536);
    int64_t last = 0;
    while ((last = r.Read(block.data(), 3070)) != 0) {
      EXPECT_EQ(last % align, 0);
      got.insert(got.end(), block.begin(), block.begin() + last / 2);
    }
    EXPECT_EQ(r.SampleEndTime(), 2000000);
    EXPECT_EQ(r.Position(), 2000000);
    const int64_t frames = int64_t(got.size()) * 2 / align;
    // Times are whole 100 ns units, so the cut may lose one frame.
    EXPECT_LE(frames, sectionFrames);
    EXPECT_GE(frames, sectionFrames - 1);
    const int64_t first = sectionFrames * align / 2;  // the samples before 0.1 s
    for (size_t k = 0; k < got.size(); ++k) ASSERT_EQ(got[k], all[first + k]);
    // A rewind plays the section again from its start.
    r.Seek(0);
    EXPECT_EQ(r.Position(), 1000000);
    EXPECT_GT(r.Read(block.data(), 3070), 0);
    EXPECT_EQ(r.SampleStartTime(), 1000000);
  }
}

TEST(AudioFileReader, LengthAndStartClamps) {
  TauAudioFileReader r(Mono);
  r.SetLength(1);
  EXPECT_EQ(r.Length(), 100000);
  r.SetLength(-7);
  EXPECT_EQ(r.Length(), 100000);
  r.SetLength(0);
  EXPECT_EQ(r.Length(), 0);
  r.SetLength(int64_t(5) * 1000000000000000);
  EXPECT_EQ(r.Length(), 1000000000000000);
  r.SetLength(0);
  r.SetStart(-3);
  EXPECT_EQ(r.Start(), 0);
  EXPECT_EQ(r.Position(), 0);
}

TEST(AudioFileReader, ShorterLengthRewindsToTheStart) {
  TauAudioFileReader r(Mono);
  r.Seek(4000000);
  r.SetLength(1000000);
  EXPECT_EQ(r.Position(), 0);
  std::vector<int16_t> block(100000);
  int64_t total = 0, n = 0;
  while ((n = r.Read(block.data(), 200000)) != 0) total += n;
  EXPECT_GE(total, (2205 - 1) * 2);
  EXPECT_LE(total, 2205 * 2);
}

TEST(AudioFileReader, ReadersAreIndependent) {
  TauAudioFileReader a(Mono), b(Mono);
  std::vector<int16_t> fromA, fromB, block(300);
  for (;;) {
    const int64_t na = a.Read(block.data(), 600);
    fromA.insert(fromA.end(), block.begin(), block.begin() + na / 2);
    const int64_t nb = b.Read(block.data(), 200);
    fromB.insert(fromB.end(), block.begin(), block.begin() + nb / 2);
    if (na == 0 && nb == 0) break;
  }
  EXPECT_EQ(int64_t(fromA.size()), MonoFrames);
  EXPECT_EQ(fromA, fromB);
}

class AudioFileReaderFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("tintwell-audio-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string Write(const std::string& Name, const std::string& Bytes) {
    const std::filesystem::path p = Dir / Name;
    std::ofstream(p, std::ios::binary) << Bytes;
    return p.string();
  }
  std::filesystem::path Dir;
};

TEST_F(AudioFileReaderFiles, MissingFileRaisesAReadableError) {
  try {
    TauAudioFileReader r((Dir / "missing.mp3").string());
    FAIL() << "no exception";
  } catch (const EAudioReadError& e) {
    EXPECT_EQ(uint32_t(e.ErrorCode), 0x80070000u | ENOENT);
    EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
  }
}

TEST_F(AudioFileReaderFiles, FilesWithoutAudioHaveNoStream) {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "This is not a sound. ";
  std::string noise(20000, '\0');
  std::mt19937 rng(3);
  for (char& c : noise) c = char(rng() & 0x7F);  // no 0xFF frame sync bytes
  for (const std::string& bytes : {std::string(), text, noise}) {
    const std::string path = Write("bad.mp3", bytes);
    try {
      TauAudioFileReader r(path);
      FAIL() << "no exception for " << bytes.size() << " bytes";
    } catch (const EAudioReadError& e) {
      EXPECT_EQ(uint32_t(e.ErrorCode), 0x80040403u);
      EXPECT_STREQ(e.what(), "The file holds no sound that can be played.");
    }
  }
}

TEST_F(AudioFileReaderFiles, TruncatedFileReadsWhatIsThere) {
  std::ifstream in(Mono, std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), {});
  const std::string path = Write("cut.mp3", whole.substr(0, whole.size() / 2));
  TauAudioFileReader r(path);
  const std::vector<int16_t> all = ReadAll(r);
  EXPECT_GT(all.size(), 0u);
  EXPECT_LT(int64_t(all.size()), MonoFrames);
  EXPECT_EQ(int64_t(all.size()), r.SampleCount());
}

TEST(AudioReadMessage, TableAndFallbacks) {
  EXPECT_EQ(AudioReadMessage(0x00040003),
            "The end of the sound file was reached; nothing more was read.");
  EXPECT_EQ(AudioReadMessage(int32_t(0x80070057u)),
            "One of the values given to the sound decoder is invalid.");
  EXPECT_EQ(AudioReadMessage(int32_t(0x8004040Au)), "The sound file is not being played.");
  EXPECT_EQ(AudioReadMessage(int32_t(0x80040154u)),
            "The MP3 decoder (libmpg123) is not installed or could not be started.");
  EXPECT_EQ(AudioReadMessage(0x1234), "Unrecognized error value.");
  EXPECT_EQ(AudioReadMessage(0x1234, "Decoder text"), "Decoder text");
  EXPECT_EQ(AudioReadMessage(0x1234, std::string(400, 'x')).size(), 300u);
  EXPECT_EQ(CodeOf([] { TauAudioFileReader r(Mono); r.Read(nullptr, 0); }), 0x08000001);
}

}  // namespace
}  // namespace tw::test
