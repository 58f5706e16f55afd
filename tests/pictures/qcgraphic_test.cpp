#include "pictures/QCGraphicU.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "pictures/PictureTestUtil.h"
#include "support/AsciiArt.h"

namespace tw {
namespace {

using test::TPlainFile;
using test::TTempFolder;
using test::TWarningRecorder;

const std::map<std::string, std::string> Texts = {
    {"errOpenBadExt", "Not a picture file: %s"},
    {"errOpenNoExist", "There is no picture \"%s\""},
    {"errCorrupt", "The picture %s is damaged"},
};

const test::TArt Art = {
    "#..r",
    ".#gb",
    "..#y",
};

std::vector<uint8_t> ArtGif() { return test::GifOf(test::FromArt(Art)); }

class QCGraphicTest : public ::testing::Test {
 protected:
  // Loads and returns the messages shown; expects no abort.
  std::vector<std::string> Load(const std::string& fileName) {
    TWarningRecorder recorder(Texts);
    EXPECT_NO_THROW(Graphic.LoadFromFile(fileName));
    return recorder.Messages;
  }
  // Loads expecting the silent abort; returns the one message shown.
  std::string LoadFails(const std::string& fileName) {
    TWarningRecorder recorder(Texts);
    EXPECT_THROW(Graphic.LoadFromFile(fileName), EAbort);
    EXPECT_EQ(recorder.Messages.size(), 1u);
    return recorder.Messages.empty() ? std::string() : recorder.Messages.front();
  }
  // A version-3 file with one English entry and the art as its image.
  std::string WriteGood(const std::string& name) {
    const std::string file = Folder.File(name);
    TPlainFile plain;
    plain.Magic().Byte(3).Byte(1).ShortStr("en_us").ShortStr("Cat").ShortStr("Ann").LongStr(
        "A cat");
    plain.Word(3).Word(4).Bytes(ArtGif()).WriteTo(file);
    return file;
  }

  TTempFolder Folder;
  TQCGraphic Graphic;
};

TEST_F(QCGraphicTest, CreateStartsEmptyAtTheCurrentVersion) {
  EXPECT_EQ(Graphic.FileName(), "");
  EXPECT_EQ(Graphic.Version(), 3);
  EXPECT_TRUE(Graphic.Entries().empty());
  EXPECT_TRUE(Graphic.Image().IsEmpty());
  EXPECT_EQ(Graphic.GetTitle(""), "");
}

TEST_F(QCGraphicTest, VersionsZeroAndOneHoldOneEntryWithoutLanguageOrStoredSize) {
  for (const uint8_t version : {0, 1}) {
    const std::string file = Folder.File("old" + std::to_string(version) + ".twf");
    TPlainFile plain;
    plain.Magic().Byte(version).ShortStr("Dog").ShortStr("Bob").LongStr("A dog");
    plain.Bytes(ArtGif()).WriteTo(file);
    EXPECT_TRUE(Load(file).empty());
    EXPECT_EQ(Graphic.Version(), version);
    ASSERT_EQ(Graphic.Entries().size(), 1u);
    EXPECT_EQ(Graphic.Entries()[0].Language, "");
    EXPECT_EQ(Graphic.GetTitle(""), "Dog");
    EXPECT_EQ(Graphic.GetAuthor(""), "Bob");
    EXPECT_EQ(Graphic.GetDescription(""), "A dog");
    EXPECT_EQ(Graphic.GetTitle("en_us"), "");
    EXPECT_EQ(Graphic.Width(), 4);
    EXPECT_EQ(Graphic.Height(), 3);
    EXPECT_EQ(test::ToArt(Graphic.Image()), Art);
    EXPECT_EQ(Graphic.FileName(), file);
  }
}

TEST_F(QCGraphicTest, VersionTwoHasAStoredSizeThatTheDecodedSizeReplaces) {
  const std::string file = Folder.File("v2.twf");
  TPlainFile plain;
  plain.Magic().Byte(2).ShortStr("Dog").ShortStr("").LongStr("");
  // Height 99 and width 77 disagree with the 4 x 3 image.
  plain.Word(99).Word(77).Bytes(ArtGif()).WriteTo(file);
  EXPECT_TRUE(Load(file).empty());
  EXPECT_EQ(Graphic.Version(), 2);
  EXPECT_EQ(Graphic.Entries().size(), 1u);
  EXPECT_EQ(Graphic.GetTitle(""), "Dog");
  EXPECT_EQ(Graphic.Width(), 4);
  EXPECT_EQ(Graphic.Height(), 3);
  EXPECT_EQ(test::ToArt(Graphic.Image()), Art);
}

TEST_F(QCGraphicTest, VersionThreeWithNoEntriesHasNoTexts) {
  const std::string file = Folder.File("none.twf");
  TPlainFile plain;
  plain.Magic().Byte(3).Byte(0).Word(3).Word(4).Bytes(ArtGif()).WriteTo(file);
  EXPECT_TRUE(Load(file).empty());
  EXPECT_TRUE(Graphic.Entries().empty());
  EXPECT_EQ(Graphic.GetTitle(""), "");
  EXPECT_EQ(Graphic.GetAuthor("en_us"), "");
  EXPECT_EQ(test::ToArt(Graphic.Image()), Art);
}

TEST_F(QCGraphicTest, VersionSevenIsReadLikeThree) {
  const std::string file = Folder.File("v7.twf");
  TPlainFile plain;
  plain.Magic().Byte(7).Byte(2);
  plain.ShortStr("de_de").ShortStr("Katze").ShortStr("Anna").LongStr("Eine Katze");
  plain.ShortStr("en_us").ShortStr("Cat").ShortStr("Ann").LongStr("A cat");
  plain.Word(3).Word(4).Bytes(ArtGif()).WriteTo(file);
  EXPECT_TRUE(Load(file).empty());
  EXPECT_EQ(Graphic.Version(), 7);
  ASSERT_EQ(Graphic.Entries().size(), 2u);
  EXPECT_EQ(Graphic.GetTitle("en_us"), "Cat");
  EXPECT_EQ(Graphic.GetDescription("de_de"), "Eine Katze");
  EXPECT_EQ(test::ToArt(Graphic.Image()), Art);
}

TEST_F(QCGraphicTest, EntryLookupRules) {
  const std::string file = Folder.File("lookup.twf");
  TPlainFile plain;
  plain.Magic().Byte(3).Byte(3);
  plain.ShortStr("de_de").ShortStr("Katze").ShortStr("Anna").LongStr("Eine Katze");
  plain.ShortStr("en_us").ShortStr("Cat").ShortStr("Ann").LongStr("A cat");
  plain.ShortStr("EN_US").ShortStr("Second cat").ShortStr("Bea").LongStr("Another");
  plain.Word(3).Word(4).Bytes(ArtGif()).WriteTo(file);
  Load(file);
  // The code compares without regard to case and the first of two wins.
  EXPECT_EQ(Graphic.GetTitle("En_US"), "Cat");
  EXPECT_EQ(Graphic.GetAuthor("en_us"), "Ann");
  EXPECT_EQ(Graphic.GetDescription("EN_us"), "A cat");
  // An empty code gives the first entry.
  EXPECT_EQ(Graphic.GetTitle(""), "Katze");
  EXPECT_EQ(Graphic.GetAuthor(""), "Anna");
  // Any other code gives nothing.
  EXPECT_EQ(Graphic.GetTitle("fr_fr"), "");
  EXPECT_EQ(Graphic.GetAuthor("fr_fr"), "");
  EXPECT_EQ(Graphic.GetDescription("en"), "");
}

TEST_F(QCGraphicTest, AnEmptyStoredCodeIsFoundOnlyByTheEmptyArgument) {
  const std::string file = Folder.File("empty-code.twf");
  TPlainFile plain;
  plain.Magic().Byte(3).Byte(1).ShortStr("").ShortStr("Cat").ShortStr("").LongStr("");
  plain.Word(3).Word(4).Bytes(ArtGif()).WriteTo(file);
  Load(file);
  EXPECT_EQ(Graphic.GetTitle(""), "Cat");
  EXPECT_EQ(Graphic.GetTitle("en_us"), "");
}

TEST_F(QCGraphicTest, AWrongExtensionFailsBeforeTheFileSystemIsTouched) {
  const std::string file = Folder.File("missing.gif");
  EXPECT_EQ(LoadFails(file), "Not a picture file: " + file);
  EXPECT_EQ(Graphic.FileName(), "");
}

TEST_F(QCGraphicTest, AnUpperCaseExtensionIsAccepted) {
  const std::string good = WriteGood("good.twf");
  const std::string upper = Folder.File("UPPER.TWF");
  std::filesystem::copy_file(good, upper);
  EXPECT_TRUE(Load(upper).empty());
  EXPECT_EQ(Graphic.FileName(), upper);
  EXPECT_EQ(Graphic.GetTitle("en_us"), "Cat");
}

TEST_F(QCGraphicTest, BackslashesInThePathBecomeSeparators) {
  WriteGood("good.twf");
  const std::string written = Folder.Path() + "\\good.twf";
  EXPECT_TRUE(Load(written).empty());
  EXPECT_EQ(Graphic.FileName(), Folder.File("good.twf"));
}

TEST_F(QCGraphicTest, AMissingFileFailsWithItsPath) {
  const std::string file = Folder.File("missing.twf");
  EXPECT_EQ(LoadFails(file), "There is no picture \"" + file + "\"");
  EXPECT_EQ(Graphic.FileName(), "");
}

TEST_F(QCGraphicTest, AWrongMagicFailsAndKeepsThePreviousPicture) {
  Load(WriteGood("good.twf"));
  const std::vector<std::string> magics = {std::string("twf\0", 4), "TWF!", "TW"};
  for (const std::string& magic : magics) {
    const std::string file = Folder.File("bad.twf");
    TPlainFile plain;
    plain.Text(magic).Byte(3).Byte(0).Word(3).Word(4).Bytes(ArtGif()).WriteTo(file);
    EXPECT_EQ(LoadFails(file), "The picture " + file + " is damaged");
    EXPECT_EQ(Graphic.FileName(), "");
    EXPECT_EQ(Graphic.GetTitle("en_us"), "Cat");
    EXPECT_EQ(test::ToArt(Graphic.Image()), Art);
  }
}

TEST_F(QCGraphicTest, AMagicStoredWithoutScramblingIsDamaged) {
  const std::string file = Folder.File("plain.twf");
  {
    TQCFileStream stream(file, TFileMode::fmCreate, false);
    stream.Write("TWF\0\3\0", 6);
  }
  EXPECT_EQ(LoadFails(file), "The picture " + file + " is damaged");
}

TEST_F(QCGraphicTest, AFileEndingInsideTheHeaderIsDamaged) {
  const std::string file = Folder.File("cut.twf");
  TPlainFile header;
  header.Magic();
  header.WriteTo(file);
  EXPECT_EQ(LoadFails(file), "The picture " + file + " is damaged");
  header.Byte(3);
  header.WriteTo(file);
  EXPECT_EQ(LoadFails(file), "The picture " + file + " is damaged");
  EXPECT_EQ(Graphic.FileName(), "");
}

TEST_F(QCGraphicTest, AFileEndingInsideAnEntryIsDamagedAndLeavesNoTexts) {
  Load(WriteGood("good.twf"));
  const std::string file = Folder.File("cut.twf");
  TPlainFile plain;
  plain.Magic().Byte(3).Byte(2).ShortStr("en_us").ShortStr("Cat").ShortStr("Ann").LongStr("");
  plain.ShortStr("de_de").Byte(10).Text("Kat");
  plain.WriteTo(file);
  EXPECT_EQ(LoadFails(file), "The picture " + file + " is damaged");
  EXPECT_EQ(Graphic.FileName(), "");
  EXPECT_TRUE(Graphic.Entries().empty());
  EXPECT_EQ(Graphic.GetTitle("en_us"), "");
}

TEST_F(QCGraphicTest, AFileEndingInsideTheStoredSizeIsDamaged) {
  const std::string file = Folder.File("cut.twf");
  TPlainFile plain;
  plain.Magic().Byte(2).ShortStr("Cat").ShortStr("").LongStr("").Byte(3);
  plain.WriteTo(file);
  EXPECT_EQ(LoadFails(file), "The picture " + file + " is damaged");
}

TEST_F(QCGraphicTest, ADamagedImageLoadsTheTextsAndWarnsOnce) {
  const std::string file = Folder.File("damaged.twf");
  std::vector<uint8_t> gif = ArtGif();
  gif.resize(gif.size() / 2);
  TPlainFile plain;
  plain.Magic().Byte(3).Byte(1).ShortStr("en_us").ShortStr("Cat").ShortStr("Ann").LongStr("A cat");
  plain.Word(3).Word(4).Bytes(gif).WriteTo(file);
  EXPECT_EQ(Load(file), std::vector<std::string>{"File is corrupted\nThe file \"" + file +
                                                   "\" is damaged (a GIF header is broken)."});
  EXPECT_EQ(Graphic.FileName(), file);
  EXPECT_EQ(Graphic.GetTitle("en_us"), "Cat");
  EXPECT_EQ(Graphic.GetDescription("en_us"), "A cat");
  EXPECT_TRUE(Graphic.Image().IsEmpty());
}

TEST_F(QCGraphicTest, ImagesTheDecoderRefusesAreReportedAsCorrupted) {
  std::vector<uint8_t> oversized = ArtGif();
  oversized[6] = oversized[7] = oversized[8] = oversized[9] = 0xFF;  // 65535 x 65535 screen
  const std::vector<uint8_t> noImage = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'};
  // A 2 x 2 picture of two colours whose LZW data starts with a clear code
  // (4) followed by code 7, which is not yet defined.
  const std::vector<uint8_t> badLzw = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0,
                                       0, 0, 0, 255, 255, 255,
                                       ',', 0, 0, 0, 0, 2, 0, 2, 0, 0,
                                       2, 2, 0x3C, 0xFF, 0, ';'};
  const std::vector<uint8_t> notGif = {'X', 'Y', 'Z'};
  for (const auto& gif : {oversized, noImage, badLzw, notGif, std::vector<uint8_t>()}) {
    const std::string file = Folder.File("refused.twf");
    TPlainFile plain;
    plain.Magic().Byte(3).Byte(1).ShortStr("en_us").ShortStr("Cat").ShortStr("").LongStr("");
    plain.Word(3).Word(4).Bytes(gif).WriteTo(file);
    const std::vector<std::string> messages = Load(file);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("File is corrupted\nThe file \"" + file + "\" ", 0), 0u)
        << messages[0];
    EXPECT_EQ(Graphic.FileName(), file);
    EXPECT_EQ(Graphic.GetTitle("en_us"), "Cat");
  }
}

TEST_F(QCGraphicTest, BytesAfterTheGifAreIgnored) {
  const std::string file = Folder.File("trailing.twf");
  TPlainFile plain;
  plain.Magic().Byte(3).Byte(0).Word(3).Word(4).Bytes(ArtGif()).Text("trailing junk");
  plain.WriteTo(file);
  EXPECT_TRUE(Load(file).empty());
  EXPECT_EQ(test::ToArt(Graphic.Image()), Art);
}

TEST_F(QCGraphicTest, ALongDescriptionIsReadWhole) {
  std::string description;
  for (int i = 0; i < 300; ++i) description += char('a' + i % 26);
  const std::string file = Folder.File("long.twf");
  TPlainFile plain;
  plain.Magic().Byte(3).Byte(1).ShortStr("en_us").ShortStr(std::string(255, 'T')).ShortStr("A");
  plain.LongStr(description).Word(3).Word(4).Bytes(ArtGif()).WriteTo(file);
  EXPECT_TRUE(Load(file).empty());
  EXPECT_EQ(Graphic.GetDescription("en_us"), description);
  EXPECT_EQ(Graphic.GetTitle("en_us"), std::string(255, 'T'));
}

TEST_F(QCGraphicTest, SingleByteTextsAreReadAsWindows1252) {
  const std::string file = Folder.File("cp1252.twf");
  TPlainFile plain;
  plain.Magic().Byte(1).ShortStr("Caf\xE9").ShortStr("\x80 Jos\xE9").LongStr("\x93quoted\x94");
  plain.Bytes(ArtGif()).WriteTo(file);
  Load(file);
  EXPECT_EQ(Graphic.GetTitle(""), "Caf\xC3\xA9");
  EXPECT_EQ(Graphic.GetAuthor(""), "\xE2\x82\xAC Jos\xC3\xA9");
  EXPECT_EQ(Graphic.GetDescription(""), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
}

TEST_F(QCGraphicTest, Utf8TextsAreKeptAsTheyAre) {
  const std::string file = Folder.File("utf8.twf");
  TPlainFile plain;
  plain.Magic().Byte(1).ShortStr("Caf\xC3\xA9").ShortStr("").LongStr("\xE2\x82\xAC");
  plain.Bytes(ArtGif()).WriteTo(file);
  Load(file);
  EXPECT_EQ(Graphic.GetTitle(""), "Caf\xC3\xA9");
  EXPECT_EQ(Graphic.GetDescription(""), "\xE2\x82\xAC");
}

TEST_F(QCGraphicTest, ClearForgetsTheFileButKeepsTheSize) {
  Load(WriteGood("good.twf"));
  Graphic.Clear();
  EXPECT_EQ(Graphic.FileName(), "");
  EXPECT_EQ(Graphic.Version(), 3);
  EXPECT_TRUE(Graphic.Entries().empty());
  EXPECT_TRUE(Graphic.Image().IsEmpty());
}

// The quiet reader gives the same image as a full load, and for every
// problem a full load reports an EError instead, showing nothing.
TEST_F(QCGraphicTest, ThePictureAloneIsReadQuietlyOrRefusedWithAnError) {
  TWarningRecorder recorder(Texts);
  EXPECT_EQ(test::ToArt(ReadPictureImage(WriteGood("good.twf"))), Art);
  for (const uint8_t version : {0, 2}) {
    const std::string file = Folder.File("v" + std::to_string(version) + ".twf");
    TPlainFile plain;
    plain.Magic().Byte(version).ShortStr("Dog").ShortStr("Bob").LongStr("A dog");
    if (version == 2) plain.Word(3).Word(4);
    plain.Bytes(ArtGif()).WriteTo(file);
    EXPECT_EQ(test::ToArt(ReadPictureImage(file)), Art) << int(version);
  }
  const std::string cutHeader = Folder.File("cut-header.twf");
  TPlainFile header;
  header.Magic().Byte(3).Byte(2).ShortStr("en_us").WriteTo(cutHeader);
  const std::string cutImage = Folder.File("cut-image.twf");
  std::vector<uint8_t> gif = ArtGif();
  gif.resize(gif.size() / 2);
  TPlainFile damaged;
  damaged.Magic().Byte(3).Byte(1).ShortStr("en_us").ShortStr("Cat").ShortStr("").LongStr("");
  damaged.Word(3).Word(4).Bytes(gif).WriteTo(cutImage);
  const std::string noMagic = Folder.File("plain.twf");
  TPlainFile plain;
  plain.Text("not a picture at all").WriteTo(noMagic);
  std::filesystem::create_directory(Folder.File("folder.twf"));
  for (const std::string& file :
       {cutHeader, cutImage, noMagic, Folder.File("gone.twf"), Folder.File("folder.twf"),
        Folder.File("art.gif")})
    EXPECT_THROW(ReadPictureImage(file), EError) << file;
  EXPECT_TRUE(recorder.Messages.empty());
}

}  // namespace
}  // namespace tw
