// Language lookups through real files in a temporary lang folder.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "base/ErrorsU.h"
#include "pictures/PictureTestUtil.h"
#include "settings/LangU.h"

namespace tw {
namespace {

class LangLookupTest : public ::testing::Test {
 protected:
  void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream file(FFolder.File(name), std::ios::binary);
    file << bytes;
  }
  TLang MakeLang(const std::string& code) {
    TLang lang(FFolder.Path(), "tintwell");
    lang.SetLanguage(code);
    return lang;
  }

  test::TTempFolder FFolder;
};

TEST_F(LangLookupTest, BarBecomesLineBreak) {
  WriteFile("tintwell_en_us.ini", "[Text]\nmsgAnon=No|name\n");
  EXPECT_EQ(MakeLang("en_us").GetText("msgAnon"), "No\nname");
}

TEST_F(LangLookupTest, MissingOrEmptyTextShowsTheKey) {
  WriteFile("tintwell_en_us.ini", "[Text]\nmsgAnon=\nhttlUndo=Undo\n");
  TLang lang = MakeLang("en_us");
  EXPECT_EQ(lang.GetText("msgAnon"), "Text: msgAnon");
  EXPECT_EQ(lang.GetText("hinfUndo"), "Text: hinfUndo");
  EXPECT_EQ(lang.GetText("httlUndo"), "Undo");
}

TEST_F(LangLookupTest, KeysIgnoreLetterCase) {
  WriteFile("tintwell_en_us.ini", "[text]\nhttlundo=Undo\n");
  EXPECT_EQ(MakeLang("en_us").GetText("HTTLUNDO"), "Undo");
}

TEST_F(LangLookupTest, OnlySectionTextCounts) {
  WriteFile("tintwell_en_us.ini", "[Other]\nmsgAnon=wrong\n[Text]\nhttlUndo=Undo\n");
  EXPECT_EQ(MakeLang("en_us").GetText("msgAnon"), "Text: msgAnon");
}

TEST_F(LangLookupTest, TrimmedAndUnquoted) {
  WriteFile("tintwell_en_us.ini", "[Text]\n  msgAnon  =  \" Nobody \"  \n");
  EXPECT_EQ(MakeLang("en_us").GetText("msgAnon"), " Nobody ");
}

TEST_F(LangLookupTest, NoLanguageRaises) {
  TLang lang(FFolder.Path(), "tintwell");
  EXPECT_EQ(lang.Language(), "");
  try {
    lang.GetText("msgAnon");
    FAIL() << "expected an error";
  } catch (const EError& error) {
    EXPECT_STREQ(error.what(), "Language not set");
  }
  EXPECT_THROW(lang.GetTextFmt("msgAnon", {}), EError);
}

TEST_F(LangLookupTest, MissingFileGivesKeys) {
  TLang lang = MakeLang("xx_yy");
  EXPECT_EQ(lang.Language(), "xx_yy");
  EXPECT_EQ(lang.GetText("msgAnon"), "Text: msgAnon");
  EXPECT_EQ(lang.GetTextFmt("errCorrupt", {std::string("a.twf")}), "Text: errCorrupt");
}

TEST_F(LangLookupTest, FileNameFromExecutableAndCode) {
  TLang lang(FFolder.Path() + "/", "Tintwell.EXE");
  lang.SetLanguage("DE_de");
  EXPECT_EQ(lang.LanguageFile(), FFolder.Path() + "/tintwell_de_de.ini");
  WriteFile("tintwell_de_de.ini", "[Text]\nmsgAnon=Unbekannt\n");
  EXPECT_EQ(lang.GetText("msgAnon"), "Unbekannt");
  EXPECT_EQ(lang.Language(), "DE_de");
}

TEST_F(LangLookupTest, CodeThatLeavesTheFolderNamesNoFile) {
  WriteFile("tintwell_en_us.ini", "[Text]\nmsgAnon=Nobody\n");
  TLang lang = MakeLang("../en_us");
  EXPECT_EQ(lang.LanguageFile(), "");
  EXPECT_EQ(lang.GetText("msgAnon"), "Text: msgAnon");
}

TEST_F(LangLookupTest, EditsShowAtTheNextLookup) {
  WriteFile("tintwell_en_us.ini", "[Text]\nmsgAnon=Nobody\n");
  TLang lang = MakeLang("en_us");
  EXPECT_EQ(lang.GetText("msgAnon"), "Nobody");
  WriteFile("tintwell_en_us.ini", "[Text]\nmsgAnon=Someone\n");
  EXPECT_EQ(lang.GetText("msgAnon"), "Someone");
}

TEST_F(LangLookupTest, SwitchingLanguageSwitchesFile) {
  WriteFile("tintwell_en_us.ini", "[Text]\nDCloseYes=Yes\n");
  WriteFile("tintwell_fr_fr.ini", "[Text]\nDCloseYes=Oui\n");
  TLang lang = MakeLang("en_us");
  EXPECT_EQ(lang.GetText("DCloseYes"), "Yes");
  lang.SetLanguage("fr_fr");
  EXPECT_EQ(lang.GetText("DCloseYes"), "Oui");
}

TEST_F(LangLookupTest, ByteOrderMarkIsSkipped) {
  WriteFile("tintwell_de_de.ini", "\xEF\xBB\xBF[Text]\nmsgAnon=Gr\xC3\xBC\xC3\x9F" "e\n");
  EXPECT_EQ(MakeLang("de_de").GetText("msgAnon"), "Gr\xC3\xBC\xC3\x9F" "e");
}

TEST_F(LangLookupTest, SingleByteTextIsReadAsWestern) {
  // "Grüße" saved by an old editor in Windows-1252.
  WriteFile("tintwell_de_de.ini", "[Text]\nmsgAnon=Gr\xFC\xDF" "e\n");
  EXPECT_EQ(MakeLang("de_de").GetText("msgAnon"), "Gr\xC3\xBC\xC3\x9F" "e");
}

TEST_F(LangLookupTest, GarbageFileNeverCrashes) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
  WriteFile("tintwell_en_us.ini", garbage + "\n[Text]\nhttlUndo=Undo\n" + garbage);
  TLang lang = MakeLang("en_us");
  EXPECT_EQ(lang.GetText("httlUndo"), "Undo");
  EXPECT_EQ(lang.GetText("msgAnon"), "Text: msgAnon");
}

TEST_F(LangLookupTest, EmptyFileGivesKeys) {
  WriteFile("tintwell_en_us.ini", "");
  EXPECT_EQ(MakeLang("en_us").GetText("msgAnon"), "Text: msgAnon");
}

TEST_F(LangLookupTest, FormattedTextKeepsBarsOfArguments) {
  WriteFile("tintwell_en_us.ini", "[Text]\nerrCorrupt=Broken:|%s\n");
  EXPECT_EQ(MakeLang("en_us").GetTextFmt("errCorrupt", {std::string("a|b.twf")}), "Broken:\na|b.twf");
}

}  // namespace
}  // namespace tw
