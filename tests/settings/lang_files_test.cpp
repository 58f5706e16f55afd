// The shipped language files: every key the program looks up has a text in
// every language, with the same placeholders as the English text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/TextCodingU.h"
#include "settings/IniFileU.h"
#include "settings/LangKeysU.h"
#include "settings/LangU.h"

namespace tw {
namespace {

const std::string LangFolder = TINTWELL_TEST_DATA "/../data/lang";
const std::vector<std::string> Codes = {"en_us", "de_de", "fr_fr", "es_es", "it_it",
                                        "nl_nl", "pl_pl", "pt_br", "ru_ru", "uk_ua"};

std::string FileOf(const std::string& code) { return LangFolder + "/tintwell_" + code + ".ini"; }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(LangFilesTest, KeyListHasEveryFamily) {
  const auto& keys = ProgramLanguageKeys();
  EXPECT_EQ(HintNames().size(), 21u);
  std::set<std::string> names;
  for (const TLangKey& key : keys) EXPECT_TRUE(names.insert(Lower(key.Key)).second) << key.Key;
  for (const char* key : {"msganon", "dpasswordcaption", "dexitdescr", "capnotfound", "errcorrupt",
                          "dsavetitle", "dsavelarge", "doptionslang", "dprintprint", "dcloseno",
                          "dinfook", "httlundo", "hsbtmixtray", "hinfbrushsize"})
    EXPECT_EQ(names.count(key), 1u) << key;
}

// Every language the options dialog offers from the shipped defaults has
// its file.
TEST(LangFilesTest, EveryOfferedLanguageHasAFile) {
  TIniFile defaults(TINTWELL_TEST_DATA "/../data/default/default.ini");
  ASSERT_TRUE(defaults.Exists());
  int count = std::stoi(defaults.ReadString("Languages", "LanguageCount", "0"));
  EXPECT_EQ(count, static_cast<int>(Codes.size()));
  for (int i = 0; i < count; ++i) {
    std::string code = defaults.ReadString("Languages", "Name" + std::to_string(i), "");
    EXPECT_NE(std::find(Codes.begin(), Codes.end(), Lower(code)), Codes.end()) << code;
    EXPECT_TRUE(std::filesystem::exists(FileOf(Lower(code)))) << code;
  }
}

class LangFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(LangFileTest, EveryKeyHasAText) {
  const std::string code = GetParam();
  ASSERT_TRUE(std::filesystem::exists(FileOf(code))) << FileOf(code);
  TLang lang(LangFolder, "tintwell");
  lang.SetLanguage(code);
  for (const TLangKey& key : ProgramLanguageKeys()) {
    std::string text = lang.GetText(key.Key);
    EXPECT_NE(text, "Text: " + key.Key) << code << ": " << key.Key;
    EXPECT_TRUE(IsValidUtf8(text)) << code << ": " << key.Key;
  }
}

TEST_P(LangFileTest, PlaceholdersMatchEnglish) {
  const std::string code = GetParam();
  TIniFile english(FileOf("en_us"));
  TIniFile file(FileOf(code));
  for (const TLangKey& key : ProgramLanguageKeys()) {
    std::string text = file.ReadString("Text", key.Key, "");
    std::string englishText = english.ReadString("Text", key.Key, "");
    EXPECT_EQ(FormatPlaceholders(text), key.Placeholders) << code << ": " << key.Key;
    EXPECT_EQ(FormatPlaceholders(text), FormatPlaceholders(englishText)) << code << ": " << key.Key;
  }
}

// A misspelt key would leave its text unused and the real key missing.
TEST_P(LangFileTest, HoldsOnlyKnownKeysOnce) {
  const std::string code = GetParam();
  std::set<std::string> known;
  for (const TLangKey& key : ProgramLanguageKeys()) known.insert(Lower(key.Key));
  TIniFile file(FileOf(code));
  EXPECT_EQ(file.SectionNames(), std::vector<std::string>{"Text"}) << code;
  std::set<std::string> seen;
  for (const auto& [name, value] : file.SectionValues("Text")) {
    EXPECT_EQ(known.count(Lower(name)), 1u) << code << ": unknown key " << name;
    EXPECT_TRUE(seen.insert(Lower(name)).second) << code << ": repeated key " << name;
    EXPECT_TRUE(IsValidUtf8(value)) << code << ": " << name;
  }
  EXPECT_EQ(seen.size(), known.size()) << code;
}

INSTANTIATE_TEST_SUITE_P(Shipped, LangFileTest, ::testing::ValuesIn(Codes),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace tw
