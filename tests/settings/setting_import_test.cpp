#include <gtest/gtest.h>

#include "settings/SettingTestUtil.h"
#include "settings/SettingU.h"

namespace tw {
namespace {

using SettingImportTest = test::SettingsFixture;

// The stored type and value of one setting, as the parent's tool sees it.
TSetting::TValue StoredValue(TSetting& store, const std::string& name, const std::string& section) {
  for (const TSetting::TValue& value : store.Values(section))
    if (value.Name == name) return value;
  ADD_FAILURE() << name << " not stored in " << section;
  return {};
}

TEST_F(SettingImportTest, TypesFollowTheValueText) {
  WriteDefaults(
      "[Main]\n"
      "Hints=false\n"
      "MaxHistory=5\n"
      "Padded=007\n"
      "Mixed=12abc\n"
      "Loud=TRUE\n"
      "Signed= -42\n"
      "Plus=+3\n"
      "Language=en_us\n"
      "Empty=\n"
      "Big=2147483648\n"
      "Low=-2147483648\n");
  auto store = OpenStore();
  store->ImportDefaults("Main");

  EXPECT_TRUE(StoredValue(*store, "Hints", "Main").IsInteger);
  EXPECT_FALSE(store->ReadBool("Hints", true, "Main"));
  EXPECT_TRUE(StoredValue(*store, "MaxHistory", "Main").IsInteger);
  EXPECT_EQ(store->ReadInteger("MaxHistory", 0, "Main"), 5);
  EXPECT_EQ(store->ReadInteger("Padded", 0, "Main"), 7);
  EXPECT_FALSE(StoredValue(*store, "Mixed", "Main").IsInteger);
  EXPECT_EQ(store->ReadString("Mixed", "", "Main"), "12abc");
  EXPECT_THROW(store->ReadInteger("Mixed", 0, "Main"), EInvalidDataType);
  EXPECT_TRUE(store->ReadBool("Loud", false, "Main"));
  EXPECT_EQ(store->ReadInteger("Loud", 0, "Main"), 1);
  EXPECT_EQ(store->ReadInteger("Signed", 0, "Main"), -42);
  EXPECT_EQ(store->ReadInteger("Plus", 0, "Main"), 3);
  EXPECT_FALSE(StoredValue(*store, "Language", "Main").IsInteger);
  EXPECT_EQ(store->ReadString("Empty", "x", "Main"), "");
  EXPECT_FALSE(StoredValue(*store, "Big", "Main").IsInteger);
  EXPECT_EQ(store->ReadString("Big", "", "Main"), "2147483648");
  EXPECT_EQ(store->ReadInteger("Low", 0, "Main"), INT32_MIN);
}

TEST_F(SettingImportTest, HexadecimalForms) {
  WriteDefaults(
      "[Mixed]\n"
      "Dollar=$FF\n"
      "Ex=x1f\n"
      "ZeroEx=0X1A\n"
      "Lower=$ff00ff\n"
      "Pattern=$FFFFFFFF\n"
      "None=$1FFFFFFF\n"
      "Negative=-$10\n"
      "TooLong=$100000000\n"
      "NoDigits=$\n"
      "BadDigit=0xFG\n");
  auto store = OpenStore();
  store->ImportDefaults("Mixed");
  EXPECT_EQ(store->ReadInteger("Dollar", 0, "Mixed"), 255);
  EXPECT_EQ(store->ReadInteger("Ex", 0, "Mixed"), 31);
  EXPECT_EQ(store->ReadInteger("ZeroEx", 0, "Mixed"), 26);
  EXPECT_EQ(store->ReadInteger("Lower", 0, "Mixed"), 0xFF00FF);
  EXPECT_EQ(store->ReadInteger("Pattern", 0, "Mixed"), -1);
  EXPECT_EQ(store->ReadInteger("None", 0, "Mixed"), 536870911);
  EXPECT_EQ(store->ReadInteger("Negative", 0, "Mixed"), -16);
  EXPECT_EQ(store->ReadString("TooLong", "", "Mixed"), "$100000000");
  EXPECT_FALSE(StoredValue(*store, "TooLong", "Mixed").IsInteger);
  EXPECT_FALSE(StoredValue(*store, "NoDigits", "Mixed").IsInteger);
  EXPECT_FALSE(StoredValue(*store, "BadDigit", "Mixed").IsInteger);
}

TEST_F(SettingImportTest, SubsectionsComeAlongButLookAlikeNamesDoNot) {
  WriteDefaults(
      "[Palettes]\nPaletteCount=2\n"
      "[Palettes\\Palette0]\nName=Warm\n"
      "[palettes\\palette1]\nName=Cold\n"
      "[PalettesOld]\nPaletteCount=9\n"
      "[PalettesOld\\Palette0]\nName=Old\n"
      "[Main]\nHints=false\n");
  auto store = OpenStore();
  store->ImportDefaults("PALETTES");
  EXPECT_EQ(store->ReadInteger("PaletteCount", 0, "Palettes"), 2);
  EXPECT_EQ(store->ReadString("Name", "", "Palettes\\Palette0"), "Warm");
  EXPECT_EQ(store->ReadString("Name", "", "Palettes\\Palette1"), "Cold");
  EXPECT_FALSE(store->SectionExists("PalettesOld"));
  EXPECT_FALSE(store->SectionExists("Main"));
  EXPECT_EQ(store->SectionNames(),
            (std::vector<std::string>{"Palettes", "Palettes\\Palette0", "palettes\\palette1"}));
}

TEST_F(SettingImportTest, ImportOverwritesNamedValuesAndKeepsOthers) {
  WriteDefaults("[Main]\nMaxHistory=5\n");
  auto store = OpenStore();
  store->WriteInteger("MaxHistory", 30, "Main");
  store->WriteString("Own", "kept", "Main");
  store->ImportDefaults("Main");
  EXPECT_EQ(store->ReadInteger("MaxHistory", 0, "Main"), 5);
  EXPECT_EQ(store->ReadString("Own", "", "Main"), "kept");
}

TEST_F(SettingImportTest, MissingDefaultsFileImportsNothing) {
  auto store = OpenStore();
  store->ImportDefaults("Main");
  EXPECT_FALSE(store->SectionExists("Main"));
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(SettingImportTest, ImportWritesValuesThatStringAndListReadsSee) {
  WriteDefaults("[Catalog]\nFileCount=2\nFile0=cat.twf\nFile1=007\n");
  auto store = OpenStore();
  store->ImportDefaults("Catalog");
  std::vector<std::string> list;
  store->ReadList("File", list, "Catalog");
  // "007" became the integer 7, so the string read gives its decimal text.
  EXPECT_EQ(list, (std::vector<std::string>{"cat.twf", "7"}));
}

}  // namespace
}  // namespace tw
