#include "settings/IniFileU.h"

#include <gtest/gtest.h>

#include "settings/SettingTestUtil.h"

namespace tw {
namespace {

using TPairs = std::vector<std::pair<std::string, std::string>>;

class IniFileTest : public ::testing::Test {
 protected:
  TIniFile Load(const std::string& text) {
    test::WriteTextFile(FFolder.File("a.ini"), text);
    return TIniFile(FFolder.File("a.ini"));
  }
  test::TTempFolder FFolder;
};

TEST_F(IniFileTest, MissingFileReadsEmpty) {
  const TIniFile ini(FFolder.File("nothing.ini"));
  EXPECT_FALSE(ini.Exists());
  EXPECT_TRUE(ini.SectionNames().empty());
  EXPECT_TRUE(ini.SectionValues("Main").empty());
  EXPECT_EQ(ini.ReadString("Main", "Hints", "dflt"), "dflt");
}

TEST_F(IniFileTest, FolderInsteadOfFileReadsEmpty) {
  const TIniFile ini(FFolder.Path());
  EXPECT_TRUE(ini.SectionNames().empty());
}

TEST_F(IniFileTest, ByteOrderMarkAndCrLfAreSkipped) {
  const TIniFile ini = Load("\xEF\xBB\xBF[Main]\r\nHints=false\r\nLanguage=de_de\r\n");
  EXPECT_TRUE(ini.Exists());
  EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"Main"});
  EXPECT_EQ(ini.SectionValues("main"), (TPairs{{"Hints", "false"}, {"Language", "de_de"}}));
}

TEST_F(IniFileTest, CommentsGarbageAndLinesBeforeAnySectionAreSkipped) {
  const TIniFile ini = Load(
      "orphan=1\n"
      "; a comment\n"
      "[Main]\n"
      "# another comment\n"
      "just some words\n"
      "=no name\n"
      "  Key  =  value with ; inside  \n"
      "[broken\n"
      "lost=1\n"
      "[]\n"
      "lost2=2\n");
  EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"Main"});
  EXPECT_EQ(ini.SectionValues("Main"), (TPairs{{"Key", "value with ; inside"}}));
}

TEST_F(IniFileTest, FirstOfRepeatedKeysWinsInAnyCase) {
  const TIniFile ini = Load("[Main]\nHints=first\nHINTS=second\nOther=x\nhints=third\n");
  EXPECT_EQ(ini.ReadString("MAIN", "hints", ""), "first");
  EXPECT_EQ(ini.SectionValues("Main"), (TPairs{{"Hints", "first"}, {"Other", "x"}}));
}

TEST_F(IniFileTest, QuotesAreRemovedOnlyInMatchingPairs) {
  const TIniFile ini =
      Load("[S]\na=\"  spaced  \"\nb='single'\nc=\"unbalanced\nd=say \"hi\"\ne=\"\"\nf=\"'\n");
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "  spaced  ");
  EXPECT_EQ(ini.ReadString("S", "b", "?"), "single");
  EXPECT_EQ(ini.ReadString("S", "c", "?"), "\"unbalanced");
  EXPECT_EQ(ini.ReadString("S", "d", "?"), "say \"hi\"");
  EXPECT_EQ(ini.ReadString("S", "e", "?"), "");
  EXPECT_EQ(ini.ReadString("S", "f", "?"), "\"'");
}

TEST_F(IniFileTest, ValueKeepsEverythingAfterTheFirstEquals) {
  const TIniFile ini = Load("[S]\nformula = a=b=c\n");
  EXPECT_EQ(ini.ReadString("S", "FORMULA", ""), "a=b=c");
}

TEST_F(IniFileTest, SectionNamesWithBackslashesAndRepeatedSectionsMerge) {
  const TIniFile ini = Load(
      "[Palettes]\nPaletteCount=2\n"
      "[Palettes\\Palette0]\nName=Warm\n"
      "[palettes\\palette0]\nEnabled=true\nName=Ignored\n"
      "[ Palettes\\Palette1 ]\nName=Cold\n");
  EXPECT_EQ(ini.SectionNames(),
            (std::vector<std::string>{"Palettes", "Palettes\\Palette0", "Palettes\\Palette1"}));
  EXPECT_EQ(ini.SectionValues("PALETTES\\PALETTE0"),
            (TPairs{{"Name", "Warm"}, {"Enabled", "true"}}));
  EXPECT_EQ(ini.ReadString("Palettes\\Palette1", "Name", ""), "Cold");
}

TEST_F(IniFileTest, LastLineWithoutNewlineAndUtf8Values) {
  const TIniFile ini = Load("[Languages]\nValue0=Fran\xC3\xA7" "ais");
  EXPECT_EQ(ini.ReadString("Languages", "Value0", ""), "Fran\xC3\xA7" "ais");
}

TEST_F(IniFileTest, EmptyFileExistsWithoutSections) {
  const TIniFile ini = Load("");
  EXPECT_TRUE(ini.Exists());
  EXPECT_TRUE(ini.SectionNames().empty());
}

}  // namespace
}  // namespace tw
