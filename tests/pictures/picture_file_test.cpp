#include "pictures/PictureFileU.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "pictures/PictureTestUtil.h"
#include "pictures/QCGraphicU.h"
#include "support/AsciiArt.h"

namespace tw {
namespace {

using test::TTempFolder;

const test::TArt Art = {
    "#..r.",
    ".#gb.",
    "..#yo",
};

TEST(PictureFile, WrittenFilesLoadBackWithTheirTextsAndPixels) {
  TTempFolder folder;
  const std::string file = folder.File("sub/cat.twf");
  const std::vector<TPictureEntry> entries = {
      {"en_us", "Cat", "Ann", "A cat on a mat"},
      {"de_de", "Katze", "", std::string(1000, 'x')},
      {"fr_fr", "Caf\xC3\xA9", "Jos\xC3\xA9", "\xE2\x82\xAC"},
  };
  WritePictureFile(file, entries, test::FromArt(Art));
  TQCGraphic graphic;
  test::TWarningRecorder recorder;
  graphic.LoadFromFile(file);
  EXPECT_TRUE(recorder.Messages.empty());
  EXPECT_EQ(graphic.Version(), CurrentPictureVersion);
  ASSERT_EQ(graphic.Entries().size(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(graphic.Entries()[i].Language, entries[i].Language);
    EXPECT_EQ(graphic.Entries()[i].Title, entries[i].Title);
    EXPECT_EQ(graphic.Entries()[i].Author, entries[i].Author);
    EXPECT_EQ(graphic.Entries()[i].Description, entries[i].Description);
  }
  EXPECT_EQ(graphic.Width(), 5);
  EXPECT_EQ(graphic.Height(), 3);
  EXPECT_EQ(test::ToArt(graphic.Image()), Art);
}

TEST(PictureFile, TheLayoutIsHeaderEntriesHeightWidthThenTheGif) {
  const TRaster24 image = test::FromArt(Art);
  const std::vector<uint8_t> bytes = BuildPictureFile({{"en", "T", "A", "D"}}, image);
  test::TPlainFile expected;
  expected.Magic().Byte(3).Byte(1).ShortStr("en").ShortStr("T").ShortStr("A").LongStr("D");
  expected.Word(3).Word(5).Bytes(test::GifOf(image));
  EXPECT_EQ(bytes, expected.Data);
}

TEST(PictureFile, TheFileIsStoredScrambled) {
  TTempFolder folder;
  const std::string file = folder.File("a.twf");
  const TRaster24 image = test::FromArt(Art);
  WritePictureFile(file, {}, image);
  test::TPlainFile expected;
  expected.Bytes(BuildPictureFile({}, image));
  const std::string viaStream = folder.File("b.twf");
  expected.WriteTo(viaStream);
  EXPECT_EQ(std::filesystem::file_size(file), std::filesystem::file_size(viaStream));
  TQCFileStream a(file, TFileMode::fmOpenRead, false);
  TQCFileStream b(viaStream, TFileMode::fmOpenRead, false);
  std::vector<uint8_t> bytesA(size_t(a.Size())), bytesB(size_t(b.Size()));
  a.Read(bytesA.data(), bytesA.size());
  b.Read(bytesB.data(), bytesB.size());
  EXPECT_EQ(bytesA, bytesB);
  EXPECT_NE(std::vector<uint8_t>(bytesA.begin(), bytesA.begin() + 4),
            (std::vector<uint8_t>{'T', 'W', 'F', 0}));
}

TEST(PictureFile, TextsAtTheirLimitsAreWrittenWhole) {
  const TRaster24 image = test::FromArt(Art);
  TTempFolder folder;
  const std::string file = folder.File("limits.twf");
  const TPictureEntry entry = {std::string(255, 'l'), std::string(255, 't'), std::string(255, 'a'),
                               std::string(65535, 'd')};
  WritePictureFile(file, {entry}, image);
  TQCGraphic graphic;
  graphic.LoadFromFile(file);
  EXPECT_EQ(graphic.GetTitle(entry.Language), entry.Title);
  EXPECT_EQ(graphic.GetDescription(entry.Language), entry.Description);
}

TEST(PictureFile, TooLongTextsAreRefusedNotTruncated) {
  const TRaster24 image = test::FromArt(Art);
  const std::string tooShort(256, 's');
  EXPECT_THROW(BuildPictureFile({{tooShort, "", "", ""}}, image), EError);
  EXPECT_THROW(BuildPictureFile({{"", tooShort, "", ""}}, image), EError);
  EXPECT_THROW(BuildPictureFile({{"", "", tooShort, ""}}, image), EError);
  EXPECT_THROW(BuildPictureFile({{"", "", "", std::string(65536, 'd')}}, image), EError);
  EXPECT_THROW(BuildPictureFile(std::vector<TPictureEntry>(256), image), EError);
  EXPECT_NO_THROW(BuildPictureFile(std::vector<TPictureEntry>(255), image));
}

TEST(PictureFile, TextsThatAreNotUtf8AreRefused) {
  EXPECT_THROW(BuildPictureFile({{"", "Caf\xE9", "", ""}}, test::FromArt(Art)), EError);
}

TEST(PictureFile, PicturesBeyondTheStoredSizeOrEmptyAreRefused) {
  EXPECT_THROW(BuildPictureFile({}, TRaster24(32768, 1, RGB(255, 255, 255))), EError);
  EXPECT_THROW(BuildPictureFile({}, TRaster24(1, 32768, RGB(255, 255, 255))), EError);
  EXPECT_THROW(BuildPictureFile({}, TRaster24()), EError);
}

TEST(PictureFile, ARefusedPictureLeavesNoFile) {
  TTempFolder folder;
  const std::string file = folder.File("refused.twf");
  EXPECT_THROW(WritePictureFile(file, {{"", std::string(300, 't'), "", ""}}, test::FromArt(Art)),
               EError);
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace tw
