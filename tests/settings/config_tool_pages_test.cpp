// The parent's tool and the pages made from dropped images: their entries
// name files in the user's own pages folder, which the catalog list looks
// at, and removing one deletes the page and its kept colouring (the
// program made them), while a picture in the catalog folder stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pictures/CatalogEntryU.h"
#include "pictures/ColoringFolderU.h"
#include "settings/ConfigToolFixture.h"
#include "settings/QCSettingU.h"
#include "support/EnvVar.h"

namespace tw::test {
namespace {

using ConfigToolPages = ConfigToolFixture;

TEST_F(ConfigToolPages, PagesAreListedFromThePagesFolderAndRemovedByTheirEntry) {
  const test::TEnvVar xdg("XDG_DATA_HOME", FFolder.File("data"));
  ASSERT_EQ(Run({"catalog", "list"}).Code, ExitOk);
  const std::string pages = FFolder.File("data") + "/Tintwell/Pages/";
  std::filesystem::create_directories(pages);
  std::filesystem::copy_file(MakePicture("Kite.twf", "Kite"), pages + "Kite.twf");
  const std::string kite = PagesEntry("Kite.twf");
  const std::string boat = PagesEntry("Boat.twf");
  {
    TSetting store(FDatabase, ProductKey, "");
    TQCSetting(store).WriteCatalog({"one.twf", kite, boat});
  }

  const TRun listed = Run({"catalog", "list"});
  ASSERT_EQ(listed.Code, ExitOk) << listed.Err;
  EXPECT_EQ(listed.Out, "one.twf\n" + kite + "\n" + boat + "\n");
  // The page that is there gets no note; the missing one is looked for in
  // the pages folder.
  EXPECT_FALSE(Has(listed.Err, kite));
  EXPECT_TRUE(Has(listed.Err, "\"" + boat + "\" is not in \"" + pages + "\""));

  // The page's kept colouring goes with it; another picture's stays.
  const std::string colourings = ColoringFolder();
  std::filesystem::create_directories(colourings);
  const auto keep = [&](const std::string& entry) {
    const std::string stem = colourings + ColoringFileStem(entry);
    std::ofstream(stem + ColoringColorSuffix) << "GIF89a";
    std::ofstream(stem + ColoringOutlineSuffix) << "GIF89a";
    return stem;
  };
  const std::string kiteColouring = keep(kite);
  const std::string oneColouring = keep("one.twf");

  const TRun removed = Run({"catalog", "remove", kite});
  ASSERT_EQ(removed.Code, ExitOk) << removed.Err;
  EXPECT_TRUE(Has(removed.Out, pages + "Kite.twf"));
  EXPECT_EQ(Catalog(), (std::vector<std::string>{"one.twf", boat}));
  EXPECT_FALSE(std::filesystem::exists(pages + "Kite.twf"));
  EXPECT_FALSE(std::filesystem::exists(kiteColouring + ColoringColorSuffix));
  EXPECT_FALSE(std::filesystem::exists(kiteColouring + ColoringOutlineSuffix));
  EXPECT_TRUE(std::filesystem::exists(oneColouring + ColoringColorSuffix));

  // A picture of the catalog folder only leaves the list.
  const TRun removedOne = Run({"catalog", "remove", "one.twf"});
  ASSERT_EQ(removedOne.Code, ExitOk) << removedOne.Err;
  EXPECT_TRUE(Has(removedOne.Out, "stays"));
  EXPECT_TRUE(std::filesystem::exists(oneColouring + ColoringColorSuffix));
}

}  // namespace
}  // namespace tw::test
