// The shipped defaults file read the way the program reads it on a first run:
// ten languages named in their own language, the 25 shipped pictures in an
// order of our choosing, and palettes of twenty paints that never use the
// line art's pure black.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "palette/PaletteU.h"
#include "pictures/PictureTestUtil.h"
#include "settings/QCSettingU.h"
#include "settings/SettingU.h"
#include "settings/SettingsTextU.h"

namespace tw {
namespace {

const std::string DataFolder = std::string(TINTWELL_TEST_DATA) + "/../data";
const std::string DefaultsFile = DataFolder + "/default/default.ini";

class DefaultIni : public ::testing::Test {
 protected:
  test::TTempFolder FFolder;
  TSetting FStore{FFolder.File("settings.sqlite3"), ProductKey, DefaultsFile};
  TQCSetting FSettings{FStore};
};

// Perceived brightness of a 0x00BBGGRR colour, in thousandths.
int Brightness(TColor color) {
  const int r = int(color & 0xFF), g = int((color >> 8) & 0xFF), b = int((color >> 16) & 0xFF);
  return 299 * r + 587 * g + 114 * b;
}

TEST_F(DefaultIni, FirstRunFindsTheCatalogBesideTheProgram) {
  EXPECT_EQ(FStore.ReadString("PathCatalog", "", "Main"), "[ProgramFolder]\\catalog\\");
  // Everything else keeps the program's own defaults.
  EXPECT_EQ(FSettings.ReadLanguage(), "en_us");
  EXPECT_TRUE(FSettings.ReadHints());
  EXPECT_EQ(FSettings.ReadStayColored(), 2);
}

TEST_F(DefaultIni, TenLanguagesInTheirOwnNames) {
  std::vector<std::string> languages;
  FSettings.ReadLanguages(languages);
  EXPECT_EQ(languages, (std::vector<std::string>{
                           "en_us=English", "de_de=Deutsch", "fr_fr=Français", "es_es=Español",
                           "it_it=Italiano", "nl_nl=Nederlands", "pl_pl=Polski",
                           "pt_br=Português (Brasil)", "ru_ru=Русский", "uk_ua=Українська"}));
}

TEST_F(DefaultIni, TheCatalogIsExactlyTheShippedPictures) {
  std::vector<std::string> catalog;
  FSettings.ReadCatalog(catalog);
  ASSERT_EQ(catalog.size(), 25u);
  std::set<std::string> shipped;
  for (const auto& entry : std::filesystem::directory_iterator(DataFolder + "/catalog"))
    if (entry.path().extension() == ".twf") shipped.insert(entry.path().filename().string());
  EXPECT_EQ(std::set<std::string>(catalog.begin(), catalog.end()), shipped);
  for (const std::string& name : catalog)
    EXPECT_TRUE(std::filesystem::is_regular_file(DataFolder + "/catalog/" + name)) << name;
}

TEST_F(DefaultIni, PalettesOfTwentyPaintsWithoutPureBlack) {
  test::TWarningRecorder recorder;
  TPaintPalettes all(MaxPaletteColors);
  FSettings.LoadPalettes(all, false);
  // A repeated name would have been reported and stopped the loading.
  EXPECT_TRUE(recorder.Messages.empty());
  ASSERT_EQ(all.Count(), FStore.ReadInteger("PaletteCount", 0, "Palettes"));

  int enabled = 0;
  std::set<std::string> names;
  for (int32_t i = 0; i < all.Count(); ++i) {
    const std::string section = "Palettes\\Palette" + std::to_string(i);
    SCOPED_TRACE(all.Names(i));
    EXPECT_TRUE(names.insert(LowerAsciiText(all.Names(i))).second);
    std::vector<std::string> items;
    FStore.ReadList("Color", items, section);
    EXPECT_EQ(items.size(), 20u);
    const std::vector<TColor>& colors = all.Items(i).Colors();
    for (TColor color : colors) {
      EXPECT_NE(color, 0u);
      EXPECT_EQ(color & 0xFF000000u, 0u);
    }
    EXPECT_EQ(std::set<TColor>(colors.begin(), colors.end()).size(), colors.size());
    if (all.Items(i).Enabled()) ++enabled;
  }
  EXPECT_GE(enabled, 8);
  EXPECT_EQ(all.Count() - enabled, 1);

  TPaintPalettes offered(MaxPaletteColors);
  FSettings.LoadPalettes(offered, true);
  EXPECT_EQ(offered.Count(), enabled);
}

TEST_F(DefaultIni, RedIsInTheLowByte) {
  TPaintPalettes all(MaxPaletteColors);
  FSettings.LoadPalettes(all, false);
  const int32_t rainbow = all.IndexOf("Rainbow");
  ASSERT_GE(rainbow, 0);
  // The rainbow starts with a red: much more red than blue.
  const TColor red = all.Items(rainbow).Color(0);
  EXPECT_GT(int(red & 0xFF), 2 * int((red >> 16) & 0xFF));
}

TEST_F(DefaultIni, SkinTonesAndGreysRunFromLightToDark) {
  TPaintPalettes all(MaxPaletteColors);
  FSettings.LoadPalettes(all, false);
  for (const char* name : {"Skin", "Greys"}) {
    SCOPED_TRACE(name);
    const int32_t index = all.IndexOf(name);
    ASSERT_GE(index, 0);
    const std::vector<TColor>& colors = all.Items(index).Colors();
    for (size_t i = 1; i < colors.size(); ++i)
      EXPECT_LT(Brightness(colors[i]), Brightness(colors[i - 1])) << "colour " << i;
  }
}

}  // namespace
}  // namespace tw
