#include "palette/PaletteU.h"

#include <gtest/gtest.h>

#include "pictures/QUtilU.h"
#include "settings/QCSettingU.h"
#include "settings/SettingTestUtil.h"

namespace tw {
namespace {

TEST(PaintPaletteTest, StartsBlackAndDisabled) {
  TPaintPalette palette(20);
  EXPECT_EQ(palette.Count(), 20);
  EXPECT_EQ(palette.Colors(), std::vector<TColor>(20, 0));
  EXPECT_FALSE(palette.Enabled());
  palette.SetColor(19, 0x123456);
  EXPECT_EQ(palette.Color(19), 0x123456u);
  EXPECT_THROW(palette.Color(20), EError);
  EXPECT_THROW(palette.SetColor(-1, 0), EError);
  EXPECT_EQ(TPaintPalette(-3).Count(), 0);
}

TEST(PaintPaletteTest, AssignCopiesThisPalettesLength) {
  TPaintPalette source(5);
  for (int i = 0; i < 5; ++i) source.SetColor(i, TColor(i + 1));
  TPaintPalette shorter(3);
  shorter.Assign(source);
  EXPECT_EQ(shorter.Colors(), (std::vector<TColor>{1, 2, 3}));
  TPaintPalette longer(7);
  longer.SetColor(6, 99);
  longer.Assign(source);
  EXPECT_EQ(longer.Colors(), (std::vector<TColor>{1, 2, 3, 4, 5, 0, 99}));
}

TEST(PaintPalettesTest, AddKeepsInsertionOrderAndCopiesOnRequest) {
  TPaintPalettes palettes(4);
  TPaintPalette& first = palettes.Add("Warm");
  first.SetColor(0, 0xFF);
  first.SetColor(3, 0xFF00);
  TPaintPalette& copy = palettes.Add("Warm copy", 0);
  TPaintPalette& plain = palettes.Add("Plain", 7);
  EXPECT_EQ(palettes.Count(), 3);
  EXPECT_EQ(palettes.Names(1), "Warm copy");
  EXPECT_EQ(copy.Colors(), (std::vector<TColor>{0xFF, 0, 0, 0xFF00}));
  EXPECT_EQ(plain.Colors(), std::vector<TColor>(4, 0));
  EXPECT_EQ(&palettes.Items(2), &plain);
  EXPECT_EQ(palettes.IndexOf("PLAIN"), 2);
  EXPECT_EQ(palettes.IndexOf("Cold"), -1);
  EXPECT_THROW(palettes.Items(3), EError);
  palettes.Clear();
  EXPECT_EQ(palettes.Count(), 0);
}

TEST(PaintPalettesTest, DuplicateNameInOtherCaseAbortsWithItsMessage) {
  test::TWarningRecorder warnings;
  TPaintPalettes palettes(20);
  palettes.Add("Warm");
  EXPECT_THROW(palettes.Add("WARM"), EAbort);
  EXPECT_EQ(warnings.Messages, std::vector<std::string>{"Palette \"WARM\" already exists!"});
  EXPECT_EQ(palettes.Count(), 1);
}

class LoadPalettesTest : public test::SettingsFixture {
 protected:
  // A "Palettes" section of count palettes named P0, P1, ..., enabled as
  // given, each with colours 1, 2, ... up to its number of colours.
  void StorePalettes(TSetting& store, const std::vector<bool>& enabled, int colors) {
    store.WriteInteger("PaletteCount", int32_t(enabled.size()), "Palettes");
    for (size_t n = 0; n < enabled.size(); ++n) {
      const std::string section = "Palettes\\Palette" + std::to_string(n);
      store.WriteString("Name", "P" + std::to_string(n), section);
      store.WriteBool("Enabled", enabled[n], section);
      std::vector<std::string> list;
      for (int c = 1; c <= colors; ++c) list.push_back(std::to_string(c));
      store.WriteList("Color", list, section);
    }
  }
};

TEST_F(LoadPalettesTest, OnlyEnabledSkipsDisabledSections) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  StorePalettes(*store, {false, true, false}, 3);
  TPaintPalettes enabledOnly(20);
  settings.LoadPalettes(enabledOnly, true);
  ASSERT_EQ(enabledOnly.Count(), 1);
  EXPECT_EQ(enabledOnly.Names(0), "P1");
  EXPECT_TRUE(enabledOnly.Items(0).Enabled());
  TPaintPalettes all(20);
  settings.LoadPalettes(all, false);
  ASSERT_EQ(all.Count(), 3);
  EXPECT_EQ(all.Names(2), "P2");
  EXPECT_FALSE(all.Items(0).Enabled());
  EXPECT_TRUE(all.Items(1).Enabled());
}

TEST_F(LoadPalettesTest, AtMostTwentyColoursAreTaken) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  StorePalettes(*store, {true}, 25);
  TPaintPalettes palettes(20);
  settings.LoadPalettes(palettes, true);
  ASSERT_EQ(palettes.Count(), 1);
  std::vector<TColor> expected;
  for (TColor c = 1; c <= 20; ++c) expected.push_back(c);
  EXPECT_EQ(palettes.Items(0).Colors(), expected);
}

TEST_F(LoadPalettesTest, ShortListsLeaveTheRestBlackAndBadItemsReadAsBlack) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  StorePalettes(*store, {true}, 5);
  store->WriteString("Color2", "red", "Palettes\\Palette0");
  TPaintPalettes palettes(20);
  settings.LoadPalettes(palettes, true);
  ASSERT_EQ(palettes.Count(), 1);
  std::vector<TColor> expected(20, 0);
  expected[0] = 1;
  expected[1] = 2;
  expected[3] = 4;
  expected[4] = 5;
  EXPECT_EQ(palettes.Items(0).Colors(), expected);
}

TEST_F(LoadPalettesTest, DuplicateNamesStopTheLoadingThere) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  StorePalettes(*store, {true, true, true}, 1);
  store->WriteString("Name", "p0", "Palettes\\Palette1");
  TPaintPalettes palettes(20);
  EXPECT_THROW(settings.LoadPalettes(palettes, true), EAbort);
  EXPECT_EQ(palettes.Count(), 1);
  EXPECT_EQ(FWarnings.Messages, std::vector<std::string>{"Palette \"p0\" already exists!"});
}

TEST_F(LoadPalettesTest, MissingPalettesAreImportedFromTheDefaultsFile) {
  WriteDefaults(
      "[Palettes]\nPaletteCount=2\n"
      "[Palettes\\Palette0]\nName=Warm\nEnabled=true\nColorCount=2\nColor0=255\nColor1=$FF00\n"
      "[Palettes\\Palette1]\nName=Cold\nEnabled=false\n");
  auto store = OpenStore();
  TQCSetting settings(*store);
  store->WriteInteger("PaletteCount", 0, "Palettes");
  TPaintPalettes palettes(20);
  settings.LoadPalettes(palettes, true);
  ASSERT_EQ(palettes.Count(), 1);
  EXPECT_EQ(palettes.Names(0), "Warm");
  EXPECT_EQ(palettes.Items(0).Color(0), 255u);
  EXPECT_EQ(palettes.Items(0).Color(1), 0xFF00u);
}

TEST_F(LoadPalettesTest, CountBeyondTheStoredSectionsBehavesLikeMissingSections) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  StorePalettes(*store, {true, false}, 1);
  store->WriteInteger("PaletteCount", 2000000000, "Palettes");
  TPaintPalettes enabledOnly(20);
  settings.LoadPalettes(enabledOnly, true);
  EXPECT_EQ(enabledOnly.Count(), 1);
  // Every missing section reads as an unnamed palette; the second collides.
  TPaintPalettes all(20);
  EXPECT_THROW(settings.LoadPalettes(all, false), EAbort);
  EXPECT_EQ(all.Count(), 3);
  EXPECT_EQ(all.Names(2), "");
}

}  // namespace
}  // namespace tw
