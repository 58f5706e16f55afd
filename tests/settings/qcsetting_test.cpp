#include "settings/QCSettingU.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "palette/PaletteU.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "settings/PasswordHashU.h"
#include "settings/SettingTestUtil.h"

namespace tw {
namespace {

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using TList = std::vector<std::string>;

class QCSettingTest : public test::SettingsFixture {
 protected:
  void TearDown() override {
    SetPicturesFolder("");
    SetDocumentsFolder("");
  }
};

TEST_F(QCSettingTest, EmptyStoreWithoutDefaultsFileGivesBuiltInDefaults) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  EXPECT_EQ(settings.ReadCurrentPicture(), "");
  EXPECT_TRUE(settings.ReadHints());
  EXPECT_EQ(settings.ReadLanguage(), "en_us");
  EXPECT_EQ(settings.ReadMaxHistory(), 10);
  EXPECT_TRUE(settings.ReadMixToBrush());
  EXPECT_EQ(settings.ReadMusicVolume(), -1000);
  // No password: only the empty answer is right.
  EXPECT_TRUE(settings.CheckParentPassword(""));
  EXPECT_FALSE(settings.CheckParentPassword("guess"));
  EXPECT_FALSE(settings.ReadPasswordPrint());
  EXPECT_FALSE(settings.ReadPasswordSave());
  EXPECT_EQ(settings.ReadSaveMode(), 0);
  EXPECT_EQ(settings.ReadSaveSize(), 1);
  EXPECT_EQ(settings.ReadSfxVolume(), 0);
  EXPECT_EQ(settings.ReadStayColored(), 2);
  EXPECT_TRUE(settings.ReadUseImgCursors());
  TList list{"x"};
  settings.ReadCatalog(list);
  EXPECT_TRUE(list.empty());
  list = {"x"};
  settings.ReadLanguages(list);
  EXPECT_TRUE(list.empty());
  list = {"x"};
  settings.ReadMixedColors(list);
  EXPECT_TRUE(list.empty());
  TPaintPalettes palettes(20);
  settings.LoadPalettes(palettes, true);
  EXPECT_EQ(palettes.Count(), 0);
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(QCSettingTest, FirstRunImportsTypedDefaultsOnce) {
  WriteDefaults("[Main]\nHints=false\nMaxHistory=5\n[Catalog]\nFileCount=1\nFile0=cat.twf\n");
  {
    auto store = OpenStore();
    TQCSetting settings(*store);
    EXPECT_FALSE(settings.ReadHints());
    EXPECT_EQ(settings.ReadMaxHistory(), 5);
    settings.WriteHints(true);
  }
  WriteDefaults("[Main]\nHints=false\nMaxHistory=6\n");
  auto store = OpenStore();
  TQCSetting settings(*store);
  // "Main" exists now, so the changed file is not imported again.
  EXPECT_TRUE(settings.ReadHints());
  EXPECT_EQ(settings.ReadMaxHistory(), 5);
}

// The defaults file may hold the password in clear; the store never keeps
// it so, and the password works all the same.
TEST_F(QCSettingTest, AClearPasswordFromTheDefaultsFileIsStoredAsItsHash) {
  WriteDefaults("[Main]\nParentPassword=Meadow-9\nPasswordSave=true\n");
  auto store = OpenStore();
  TQCSetting settings(*store);
  EXPECT_TRUE(IsPasswordHash(store->ReadString("ParentPassword", "", "Main")));
  EXPECT_EQ(ReadFileBytes(DatabasePath()).find("Meadow-9"), std::string::npos);
  EXPECT_TRUE(settings.ReadPasswordSave());
  EXPECT_FALSE(settings.ReadPasswordPrint());
  EXPECT_FALSE(settings.CheckParentPassword("meadow-9"));
  EXPECT_TRUE(settings.CheckParentPassword("Meadow-9"));
}

TEST_F(QCSettingTest, WrittenValuesReadBack) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  settings.WriteCurrentPicture("owl.twf");
  settings.WriteHints(false);
  settings.WriteLanguage("de_de");
  settings.WriteMusicVolume(-3000);
  settings.WriteSaveMode(2);
  settings.WriteSaveSize(0);
  settings.WriteSfxVolume(-10000);
  EXPECT_EQ(settings.ReadCurrentPicture(), "owl.twf");
  EXPECT_FALSE(settings.ReadHints());
  EXPECT_EQ(settings.ReadLanguage(), "de_de");
  EXPECT_EQ(settings.ReadMusicVolume(), -3000);
  EXPECT_EQ(settings.ReadSaveMode(), 2);
  EXPECT_EQ(settings.ReadSaveSize(), 0);
  EXPECT_EQ(settings.ReadSfxVolume(), -10000);
}

TEST_F(QCSettingTest, OutOfRangeValuesComeBackAsStored) {
  WriteDefaults("[Main]\nSaveMode=7\nStayColored=9\nMaxHistory=-3\nMusicVolume=500\n");
  auto store = OpenStore();
  TQCSetting settings(*store);
  EXPECT_EQ(settings.ReadSaveMode(), 7);
  EXPECT_EQ(settings.ReadStayColored(), 9);
  EXPECT_EQ(settings.ReadMaxHistory(), -3);
  EXPECT_EQ(settings.ReadMusicVolume(), 500);
}

TEST_F(QCSettingTest, PathSaveInsideThePicturesFolderCollapsesAndExpandsBack) {
  SetPicturesFolder(FFolder.File("Pictures"));
  SetDocumentsFolder(FFolder.File("Documents"));
  auto store = OpenStore();
  TQCSetting settings(*store);
  const std::string folder = FFolder.File("Pictures") + "\\My colourings\\";
  settings.WritePathSave(folder);
  EXPECT_EQ(store->ReadString("PathSave", "", "Main"), "[MyPicturesFolder]\\My colourings\\");
  EXPECT_EQ(settings.ReadPathSave(), folder);
}

TEST_F(QCSettingTest, FolderDefaultsAreExpanded) {
  SetPicturesFolder(FFolder.File("Pictures"));
  auto store = OpenStore();
  TQCSetting settings(*store);
  EXPECT_EQ(settings.ReadPathCatalog(), FFolder.File("Pictures") + "\\Tintwell\\catalog\\");
  EXPECT_EQ(settings.ReadPathSave(), FFolder.File("Pictures") + "\\Tintwell\\saved\\");
}

TEST_F(QCSettingTest, EmptyListsAreImportedAgain) {
  WriteDefaults(
      "[Catalog]\nFileCount=2\nFile0=a.twf\nFile1=b.twf\n"
      "[Languages]\nLanguageCount=2\nName0=en_us\nValue0=English\nName1=de_de\nValue1=Deutsch\n");
  auto store = OpenStore();
  TQCSetting settings(*store);
  settings.WriteCatalog({});
  store->WriteInteger("LanguageCount", 0, "Languages");
  TList list;
  settings.ReadCatalog(list);
  EXPECT_EQ(list, (TList{"a.twf", "b.twf"}));
  settings.ReadLanguages(list);
  EXPECT_EQ(list, (TList{"en_us=English", "de_de=Deutsch"}));
}

TEST_F(QCSettingTest, CatalogRoundTrip) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  settings.WriteCatalog({"one.twf", "two.twf", "one.twf"});
  TList list;
  settings.ReadCatalog(list);
  EXPECT_EQ(list, (TList{"one.twf", "two.twf", "one.twf"}));
}

TEST_F(QCSettingTest, MixedColoursWithANonNumericItemGiveAnEmptyWell) {
  auto store = OpenStore();
  TQCSetting settings(*store);
  settings.WriteMixedColors({"255", "blue", "65280", "", " 12 "});
  TList texts;
  settings.ReadMixedColors(texts);
  EXPECT_EQ(texts, (TList{"255", "blue", "65280", "", " 12 "}));
  EXPECT_EQ(TQCSetting::MixedColorsFromTexts(texts),
            (std::vector<TColor>{0x0000FF, clNone, 0x00FF00, clNone, 12}));
}

TEST_F(QCSettingTest, MixedColoursTakeAtMostTwelveWellsAndRoundTrip) {
  std::vector<TColor> wells;
  for (TColor i = 0; i < 12; ++i) wells.push_back(i * 0x010203);
  wells[5] = clNone;
  const TList texts = TQCSetting::MixedColorsToTexts(wells);
  EXPECT_EQ(texts[5], "536870911");
  TList longer = texts;
  longer.push_back("7");
  EXPECT_EQ(TQCSetting::MixedColorsFromTexts(longer), wells);
}

TEST(TryParseDecimalTest, AcceptsOnlyDecimal32BitNumbers) {
  int32_t value = 99;
  EXPECT_TRUE(TryParseDecimal("2147483647", value));
  EXPECT_EQ(value, INT32_MAX);
  EXPECT_TRUE(TryParseDecimal("-2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
  EXPECT_FALSE(TryParseDecimal("2147483648", value));
  EXPECT_FALSE(TryParseDecimal("$FF", value));
  EXPECT_FALSE(TryParseDecimal("0x10", value));
  EXPECT_FALSE(TryParseDecimal("-", value));
  EXPECT_FALSE(TryParseDecimal("1 2", value));
  EXPECT_FALSE(TryParseDecimal("99999999999999999999999", value));
}

}  // namespace
}  // namespace tw
