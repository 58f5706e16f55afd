#include "pictures/QCFileStreamU.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "pictures/PictureTestUtil.h"

namespace tw {
namespace {

using test::TTempFolder;

// The scrambling as the format describes it, written out independently: each
// stored byte is plain XOR state, the next state is (stored * multiplier mod
// modulus + addend) in 8 bits.
struct TReferenceScrambler {
  uint8_t State = ScrambleInitialState;
  uint8_t Advance(uint8_t stored) {
    State = uint8_t((int(stored) * int(ScrambleMultiplier)) % int(ScrambleModulus) +
                    int(ScrambleAddend));
    return State;
  }
  std::vector<uint8_t> Scramble(const std::vector<uint8_t>& plain) {
    std::vector<uint8_t> out;
    for (const uint8_t p : plain) {
      out.push_back(uint8_t(p ^ State));
      Advance(out.back());
    }
    return out;
  }
};

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> out(n);
  for (uint8_t& b : out) b = uint8_t(random());
  return out;
}

std::vector<uint8_t> FileBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteRaw(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  std::ofstream out(fileName, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(QCFileStream, ConstantsAreSmallPositiveAndTheModulusCoPrimeToTheMultiplier) {
  EXPECT_GT(ScrambleInitialState, 0);
  EXPECT_GT(ScrambleMultiplier, 0);
  EXPECT_GT(ScrambleModulus, 0);
  EXPECT_GT(ScrambleAddend, 0);
  int a = ScrambleMultiplier, b = ScrambleModulus;
  while (b != 0) {
    const int t = a % b;
    a = b;
    b = t;
  }
  EXPECT_EQ(a, 1);
}

// Worked by hand from the constants 0x5A, 7, 251, 13: every shipped picture
// begins with these four stored bytes, so they must never change.
TEST(QCFileStream, TheMagicIsStoredAsTheFixedFourBytes) {
  TTempFolder folder;
  const std::string name = folder.File("magic.bin");
  {
    TQCFileStream stream(name, TFileMode::fmCreate, true);
    EXPECT_EQ(stream.Write("TWF\0", 4), 4u);
    // The state after the last stored byte 0x2F: 47 * 7 = 329, 329 mod 251 =
    // 78, 78 + 13 = 91.
    EXPECT_EQ(stream.State(), 91);
  }
  EXPECT_EQ(FileBytes(name), (std::vector<uint8_t>{0x0E, 0x38, 0xDC, 0x2F}));
  EXPECT_EQ(TQCFileStream::NextState(0), 13);
  EXPECT_EQ(TQCFileStream::NextState(255), 41);
  EXPECT_EQ(TQCFileStream::NextState(36), 14);
}

TEST(QCFileStream, WritesWhatTheReferenceScramblerStores) {
  TTempFolder folder;
  const std::string name = folder.File("data.bin");
  const std::vector<uint8_t> plain = RandomBytes(3000, 1);
  TQCFileStream stream(name, TFileMode::fmCreate, true);
  EXPECT_EQ(stream.Write(plain.data(), plain.size()), plain.size());
  TReferenceScrambler reference;
  EXPECT_EQ(FileBytes(name), reference.Scramble(plain));
  EXPECT_EQ(stream.State(), reference.State);
  EXPECT_EQ(ScrambleBytes(plain), FileBytes(name));
  EXPECT_EQ(UnscrambleBytes(FileBytes(name)), plain);
}

TEST(QCFileStream, ReadsBackWhatWasWrittenHoweverTheCallsAreSplit) {
  TTempFolder folder;
  const std::string name = folder.File("data.bin");
  const std::vector<uint8_t> plain = RandomBytes(5000, 2);
  std::mt19937 random(3);
  {
    TQCFileStream stream(name, TFileMode::fmCreate, true);
    for (size_t at = 0; at < plain.size();) {
      const size_t n = std::min<size_t>(random() % 97, plain.size() - at);
      EXPECT_EQ(stream.Write(plain.data() + at, n), n);
      at += n;
    }
  }
  TQCFileStream stream(name, TFileMode::fmOpenRead, true);
  std::vector<uint8_t> back(plain.size() + 10);
  size_t at = 0;
  for (;;) {
    const size_t want = std::min<size_t>(random() % 131, back.size() - at);
    const size_t n = stream.Read(back.data() + at, want);
    if (n == 0 && at == plain.size()) break;
    at += n;
  }
  back.resize(at);
  EXPECT_EQ(back, plain);
}

TEST(QCFileStream, OneReadOfNAndNReadsOfOneGiveTheSameBytesAndState) {
  TTempFolder folder;
  const std::string name = folder.File("data.bin");
  const std::vector<uint8_t> stored = RandomBytes(777, 4);
  WriteRaw(name, stored);
  TQCFileStream whole(name, TFileMode::fmOpenRead, true);
  std::vector<uint8_t> a(stored.size());
  EXPECT_EQ(whole.Read(a.data(), a.size()), a.size());
  TQCFileStream single(name, TFileMode::fmOpenRead, true);
  std::vector<uint8_t> b(stored.size());
  for (uint8_t& byte : b) EXPECT_EQ(single.Read(&byte, 1), 1u);
  EXPECT_EQ(a, b);
  EXPECT_EQ(whole.State(), single.State());
  EXPECT_EQ(a, UnscrambleBytes(stored));
}

TEST(QCFileStream, AReadOfZeroBytesLeavesTheState) {
  TTempFolder folder;
  const std::string name = folder.File("data.bin");
  WriteRaw(name, RandomBytes(10, 5));
  TQCFileStream stream(name, TFileMode::fmOpenRead, true);
  uint8_t byte;
  stream.Read(&byte, 1);
  const uint8_t before = stream.State();
  EXPECT_EQ(stream.Read(&byte, 0), 0u);
  EXPECT_EQ(stream.State(), before);
  EXPECT_EQ(stream.Position(), 1);
}

TEST(QCFileStream, AReadPastTheEndAdvancesOnlyOverTheBytesDelivered) {
  TTempFolder folder;
  const std::string name = folder.File("data.bin");
  const std::vector<uint8_t> stored = RandomBytes(5, 6);
  WriteRaw(name, stored);
  TQCFileStream stream(name, TFileMode::fmOpenRead, true);
  std::vector<uint8_t> buffer(20);
  EXPECT_EQ(stream.Read(buffer.data(), buffer.size()), 5u);
  TReferenceScrambler reference;
  for (const uint8_t s : stored) reference.Advance(s);
  EXPECT_EQ(stream.State(), reference.State);
}

TEST(QCFileStream, ReadingFromByteKGivesAWrongByteKAndRightBytesAfter) {
  TTempFolder folder;
  const std::string name = folder.File("data.bin");
  const std::vector<uint8_t> plain = RandomBytes(400, 7);
  const std::vector<uint8_t> stored = ScrambleBytes(plain);
  WriteRaw(name, stored);
  for (const size_t k : {size_t(1), size_t(17), size_t(250)}) {
    TReferenceScrambler reference;
    for (size_t i = 0; i < k; ++i) reference.Advance(stored[i]);
    ASSERT_NE(reference.State, ScrambleInitialState) << "pick another K";
    TQCFileStream stream(name, TFileMode::fmOpenRead, true);
    EXPECT_EQ(stream.Seek(int64_t(k), TSeekOrigin::soBeginning), int64_t(k));
    EXPECT_EQ(stream.State(), ScrambleInitialState);
    std::vector<uint8_t> rest(plain.size() - k);
    ASSERT_EQ(stream.Read(rest.data(), rest.size()), rest.size());
    EXPECT_NE(rest[0], plain[k]);
    EXPECT_EQ(rest[0], uint8_t(stored[k] ^ ScrambleInitialState));
    EXPECT_TRUE(std::equal(rest.begin() + 1, rest.end(), plain.begin() + long(k) + 1));
  }
}

TEST(QCFileStream, SteppingBackOneByteDoesNotRereadTheSameValue) {
  TTempFolder folder;
  const std::string name = folder.File("data.bin");
  const std::vector<uint8_t> plain = {10, 20, 30, 40};
  WriteRaw(name, ScrambleBytes(plain));
  TQCFileStream stream(name, TFileMode::fmOpenRead, true);
  EXPECT_EQ(stream.ReadByte(), 10);
  EXPECT_EQ(stream.ReadByte(), 20);
  stream.Seek(-1, TSeekOrigin::soCurrent);
  const uint8_t state = stream.State();
  EXPECT_EQ(stream.Position(), 1);
  EXPECT_EQ(stream.Size(), 4);
  EXPECT_EQ(stream.State(), state);
  EXPECT_NE(stream.ReadByte(), 20);
  EXPECT_EQ(stream.ReadByte(), 30);
}

TEST(QCFileStream, UnscrambledStreamsReadAndWriteTheFileBytes) {
  TTempFolder folder;
  const std::string name = folder.File("plain.bin");
  const std::vector<uint8_t> bytes = RandomBytes(300, 8);
  WriteRaw(name, bytes);
  {
    TQCFileStream stream(name, TFileMode::fmOpenRead, false);
    std::vector<uint8_t> back(bytes.size());
    EXPECT_EQ(stream.Read(back.data(), back.size()), bytes.size());
    EXPECT_EQ(back, bytes);
    EXPECT_FALSE(stream.Scrambled());
    EXPECT_EQ(stream.State(), ScrambleInitialState);
  }
  const std::string copy = folder.File("copy.bin");
  {
    TQCFileStream stream(copy, TFileMode::fmCreate, false);
    EXPECT_EQ(stream.Write(bytes.data(), bytes.size()), bytes.size());
    EXPECT_EQ(stream.State(), ScrambleInitialState);
  }
  EXPECT_EQ(FileBytes(copy), bytes);
}

TEST(QCFileStream, TypedReadsAreLittleEndianAndEmptyStringsConsumeTheirLength) {
  TTempFolder folder;
  const std::string name = folder.File("typed.bin");
  test::TPlainFile plain;
  plain.Byte(200).Word(0xFFFE).Word(0x1234).ShortStr("").LongStr("").ShortStr("abc").LongStr(
      std::string(300, 'z'));
  plain.WriteTo(name);
  TQCFileStream stream(name, TFileMode::fmOpenRead, true);
  EXPECT_EQ(stream.ReadByte(), 200);
  EXPECT_EQ(stream.ReadSmallInt(), -2);
  EXPECT_EQ(stream.ReadSmallInt(), 0x1234);
  EXPECT_EQ(stream.ReadShortStr(), "");
  EXPECT_EQ(stream.Position(), 6);
  EXPECT_EQ(stream.ReadLongStr(), "");
  EXPECT_EQ(stream.Position(), 8);
  EXPECT_EQ(stream.ReadShortStr(), "abc");
  EXPECT_EQ(stream.ReadLongStr(), std::string(300, 'z'));
  EXPECT_THROW(stream.ReadByte(), EStreamEnd);
}

TEST(QCFileStream, TypedReadsThatRunOutThrowStreamEnd) {
  TTempFolder folder;
  const std::string name = folder.File("short.bin");
  test::TPlainFile plain;
  plain.Byte(5).Text("ab");
  plain.WriteTo(name);
  {
    TQCFileStream stream(name, TFileMode::fmOpenRead, true);
    EXPECT_THROW(stream.ReadShortStr(), EStreamEnd);
  }
  {
    TQCFileStream stream(name, TFileMode::fmOpenRead, true);
    stream.ReadByte();
    stream.ReadByte();
    stream.ReadByte();
    EXPECT_THROW(stream.ReadSmallInt(), EStreamEnd);
  }
  {
    TQCFileStream stream(name, TFileMode::fmOpenRead, true);
    stream.ReadByte();
    EXPECT_THROW(stream.ReadLongStr(), EStreamEnd);
  }
}

TEST(QCFileStream, OpenFailuresNameTheFile) {
  TTempFolder folder;
  const std::string missing = folder.File("missing.twf");
  try {
    TQCFileStream stream(missing, TFileMode::fmOpenRead, true);
    FAIL() << "opened a missing file";
  } catch (const EError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
  }
  EXPECT_THROW(TQCFileStream(folder.Path(), TFileMode::fmOpenRead, true), EError);
  EXPECT_THROW(TQCFileStream(folder.File("no/such/folder.bin"), TFileMode::fmCreate, true), EError);
}

TEST(QCFileStream, FailedWritesStillAdvanceTheState) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::vector<uint8_t> plain = RandomBytes(50, 9);
  TQCFileStream full("/dev/full", TFileMode::fmCreate, true);
  EXPECT_EQ(full.Write(plain.data(), plain.size()), 0u);
  TReferenceScrambler reference;
  reference.Scramble(plain);
  EXPECT_EQ(full.State(), reference.State);
}

}  // namespace
}  // namespace tw
