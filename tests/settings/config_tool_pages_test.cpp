// The parent's tool and the pages made from dropped images: their entries
// name files in the user's own pages folder, which the catalog list looks
// at, and removing one leaves its file where it is.
#include <gtest/gtest.h>

#include <filesystem>

#include "pictures/CatalogEntryU.h"
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

  const TRun removed = Run({"catalog", "remove", kite});
  ASSERT_EQ(removed.Code, ExitOk) << removed.Err;
  EXPECT_TRUE(Has(removed.Out, pages + "Kite.twf"));
  EXPECT_EQ(Catalog(), (std::vector<std::string>{"one.twf", boat}));
  EXPECT_TRUE(std::filesystem::exists(pages + "Kite.twf"));
}

}  // namespace
}  // namespace tw::test
