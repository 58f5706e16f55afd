#include "settings/SettingU.h"

#include <gtest/gtest.h>

#include "settings/SettingTestUtil.h"

namespace tw {
namespace {

using SettingStoreTest = test::SettingsFixture;
using TList = std::vector<std::string>;

TEST_F(SettingStoreTest, MissingSectionAndValueReadAsDefaults) {
  auto store = OpenStore();
  EXPECT_FALSE(store->SectionExists("Main"));
  EXPECT_EQ(store->ReadInteger("MaxHistory", 10, "Main"), 10);
  EXPECT_TRUE(store->ReadBool("Hints", true, "Main"));
  EXPECT_EQ(store->ReadString("Language", "en_us", "Main"), "en_us");
  store->WriteInteger("Other", 1, "Main");
  EXPECT_EQ(store->ReadInteger("MaxHistory", 10, "Main"), 10);
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(SettingStoreTest, WritesCreateTheSectionAndItsParents) {
  auto store = OpenStore();
  store->WriteString("Name", "Warm", "Palettes\\Palette0");
  EXPECT_TRUE(store->SectionExists("Palettes\\Palette0"));
  EXPECT_TRUE(store->SectionExists("Palettes"));
  EXPECT_FALSE(store->SectionExists("Palettes\\Palette1"));
  EXPECT_EQ(store->SectionNames(), (TList{"Palettes", "Palettes\\Palette0"}));
}

TEST_F(SettingStoreTest, ValuesSurviveReopeningTheFile) {
  {
    auto store = OpenStore();
    store->WriteInteger("MusicVolume", -2500, "Main");
    store->WriteString("Language", "fr_fr", "Main");
    store->WriteBool("Hints", false, "Main");
  }
  auto store = OpenStore();
  EXPECT_EQ(store->ReadInteger("MusicVolume", 0, "Main"), -2500);
  EXPECT_EQ(store->ReadString("Language", "", "Main"), "fr_fr");
  EXPECT_FALSE(store->ReadBool("Hints", true, "Main"));
}

TEST_F(SettingStoreTest, SectionsAndNamesIgnoreCase) {
  auto store = OpenStore();
  store->WriteInteger("MaxHistory", 7, "Main");
  EXPECT_EQ(store->ReadInteger("MAXHISTORY", 0, "main"), 7);
  store->WriteInteger("maxhistory", 8, "MAIN");
  EXPECT_EQ(store->ReadInteger("MaxHistory", 0, "Main"), 8);
  EXPECT_TRUE(store->SectionExists("mAiN"));
  // One section and one value, keeping the spelling first written.
  EXPECT_EQ(store->SectionNames(), TList{"Main"});
  const auto values = store->Values("Main");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].Name, "MaxHistory");
  EXPECT_EQ(values[0].Integer, 8);
}

TEST_F(SettingStoreTest, BooleansAreIntegersAndAnyNonZeroIsTrue) {
  auto store = OpenStore();
  store->WriteBool("Hints", true, "Main");
  EXPECT_EQ(store->ReadInteger("Hints", 0, "Main"), 1);
  store->WriteInteger("Hints", -5, "Main");
  EXPECT_TRUE(store->ReadBool("Hints", false, "Main"));
  store->WriteInteger("Hints", 0, "Main");
  EXPECT_FALSE(store->ReadBool("Hints", true, "Main"));
}

TEST_F(SettingStoreTest, IntegerReadAsStringGivesItsDecimalText) {
  auto store = OpenStore();
  store->WriteInteger("Color0", 255, "Mixed");
  store->WriteInteger("Low", INT32_MIN, "Mixed");
  EXPECT_EQ(store->ReadString("Color0", "", "Mixed"), "255");
  EXPECT_EQ(store->ReadString("Low", "", "Mixed"), "-2147483648");
}

TEST_F(SettingStoreTest, StringReadAsIntegerOrBooleanThrowsNamingTheValue) {
  auto store = OpenStore();
  store->WriteString("MaxHistory", "12", "Main");
  try {
    store->ReadInteger("MaxHistory", 0, "Main");
    FAIL() << "no exception";
  } catch (const EInvalidDataType& error) {
    EXPECT_NE(std::string(error.what()).find("\"MaxHistory\""), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("\"Main\""), std::string::npos) << error.what();
  }
  EXPECT_THROW(store->ReadBool("MaxHistory", false, "Main"), EInvalidDataType);
  // The error is an EError, so the program's general handler shows it.
  EXPECT_THROW(store->ReadBool("MaxHistory", false, "Main"), EError);
  EXPECT_EQ(store->ReadString("MaxHistory", "", "Main"), "12");
}

TEST_F(SettingStoreTest, StringsKeepEveryByte) {
  auto store = OpenStore();
  const std::string text = std::string("a\0b", 3) + " \xC3\xA9 \\ '\"; DROP TABLE sections;";
  store->WriteString("Odd", text, "Main");
  EXPECT_EQ(store->ReadString("Odd", "", "Main"), text);
  store->WriteString("Empty", "", "Main");
  EXPECT_EQ(store->ReadString("Empty", "default", "Main"), "");
}

TEST_F(SettingStoreTest, SectionPathsIgnoreStrayBackslashes) {
  auto store = OpenStore();
  store->WriteInteger("A", 1, "\\Palettes\\\\Palette0\\");
  EXPECT_EQ(store->ReadInteger("A", 0, "Palettes\\Palette0"), 1);
}

TEST_F(SettingStoreTest, CountedListRoundTripAndStaleItemsStayUnread) {
  auto store = OpenStore();
  store->WriteList("File", {"a.twf", "b.twf", "c.twf", "d.twf", "e.twf"}, "Catalog");
  store->WriteList("File", {"x.twf", "y.twf"}, "Catalog");
  TList list{"left over"};
  store->ReadList("File", list, "Catalog");
  EXPECT_EQ(list, (TList{"x.twf", "y.twf"}));
  EXPECT_EQ(store->ReadInteger("FileCount", -1, "Catalog"), 2);
  EXPECT_EQ(store->ReadString("File2", "", "Catalog"), "c.twf");
  EXPECT_EQ(store->ReadString("File4", "", "Catalog"), "e.twf");
}

TEST_F(SettingStoreTest, CountedListMissingItemsAndCounts) {
  auto store = OpenStore();
  TList list{"x"};
  store->ReadList("File", list, "Catalog");
  EXPECT_TRUE(list.empty());
  store->WriteInteger("FileCount", 3, "Catalog");
  store->WriteString("File0", "a", "Catalog");
  store->WriteInteger("File2", 42, "Catalog");
  store->ReadList("File", list, "Catalog");
  EXPECT_EQ(list, (TList{"a", "", "42"}));
  store->WriteInteger("FileCount", -4, "Catalog");
  store->ReadList("File", list, "Catalog");
  EXPECT_TRUE(list.empty());
}

TEST_F(SettingStoreTest, NameValueListInIndexOrder) {
  auto store = OpenStore();
  store->WriteInteger("LanguageCount", 2, "Languages");
  store->WriteString("Name1", "de_de", "Languages");
  store->WriteString("Value1", "Deutsch", "Languages");
  store->WriteString("Name0", "en_us", "Languages");
  store->WriteString("Value0", "English", "Languages");
  TList list;
  store->ReadNameValueList("Language", list, "Languages");
  EXPECT_EQ(list, (TList{"en_us=English", "de_de=Deutsch"}));
}

TEST_F(SettingStoreTest, ValuesDeleteAndClearForTheTool) {
  auto store = OpenStore();
  store->WriteString("Zeta", "z", "Main");
  store->WriteInteger("alpha", 3, "Main");
  const auto values = store->Values("main");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].Name, "alpha");
  EXPECT_TRUE(values[0].IsInteger);
  EXPECT_EQ(values[0].Integer, 3);
  EXPECT_EQ(values[0].Text, "3");
  EXPECT_EQ(values[1].Name, "Zeta");
  EXPECT_FALSE(values[1].IsInteger);
  EXPECT_EQ(values[1].Text, "z");
  EXPECT_TRUE(store->DeleteValue("ZETA", "Main"));
  EXPECT_FALSE(store->DeleteValue("Zeta", "Main"));
  EXPECT_FALSE(store->DeleteValue("alpha", "Nowhere"));
  EXPECT_EQ(store->ReadString("Zeta", "gone", "Main"), "gone");
  store->Clear();
  EXPECT_TRUE(store->SectionNames().empty());
  EXPECT_FALSE(store->SectionExists("Main"));
  EXPECT_EQ(store->ReadInteger("alpha", -1, "Main"), -1);
}

TEST_F(SettingStoreTest, StoresOfOtherProductKeysStayApart) {
  auto ours = OpenStore();
  TSetting other(DatabasePath(), "Someone\\Else\\2", DefaultsPath());
  ours->WriteInteger("Value", 1, "Main");
  other.WriteInteger("Value", 2, "Main");
  EXPECT_EQ(ours->ReadInteger("Value", 0, "Main"), 1);
  other.Clear();
  EXPECT_EQ(ours->ReadInteger("Value", 0, "Main"), 1);
  EXPECT_EQ(ours->RootKey(), "\\Software\\Tintwell\\Tintwell\\1");
}

TEST_F(SettingStoreTest, DefaultDatabasePathFollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
  EXPECT_EQ(TSetting::DefaultDatabasePath(), "/tmp/cfg/Tintwell/Tintwell/1/settings.sqlite3");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  const char* home = std::getenv("HOME");
  if (home && home[0]) {
    EXPECT_EQ(TSetting::DefaultDatabasePath(),
              std::string(home) + "/.config/Tintwell/Tintwell/1/settings.sqlite3");
  }
  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace tw
