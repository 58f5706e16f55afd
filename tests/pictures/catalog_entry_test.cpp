// Where catalog entries' files lie: plain names in the catalog folder as
// always, pages entries in the user's own pages folder under the data
// folder, absolute entries where they say.
#include <gtest/gtest.h>

#include "pictures/CatalogEntryU.h"
#include "support/EnvVar.h"

namespace tw {
namespace {

TEST(CatalogEntry, PlainNamesLieInTheCatalogFolder) {
  EXPECT_EQ(CatalogEntryFile("owl.twf", "/usr/share/tintwell/catalog/"),
            "/usr/share/tintwell/catalog/owl.twf");
  EXPECT_EQ(CatalogEntryFile("farm\\owl.twf", "/c/"), "/c/farm/owl.twf");
  EXPECT_FALSE(IsPagesEntry("owl.twf"));
  EXPECT_FALSE(IsPagesEntry("farm\\owl.twf"));
}

TEST(CatalogEntry, PagesEntriesLieInTheDataFolder) {
  const test::TEnvVar data("XDG_DATA_HOME", "/home/ann/data");
  EXPECT_EQ(PagesFolder(), "/home/ann/data/Tintwell/Pages/");
  const std::string entry = PagesEntry("my owl.twf");
  EXPECT_TRUE(IsPagesEntry(entry));
  EXPECT_EQ(CatalogEntryFile(entry, "/c/"), "/home/ann/data/Tintwell/Pages/my owl.twf");
  // Written by hand in another case or with "/", it names the same file.
  EXPECT_EQ(CatalogEntryFile("[pagesfolder]/my owl.twf", "/c/"),
            "/home/ann/data/Tintwell/Pages/my owl.twf");
  // Each page has an entry of its own, and none is a plain name.
  EXPECT_NE(PagesEntry("a.twf"), PagesEntry("b.twf"));
  EXPECT_NE(PagesEntry("a.twf"), "a.twf");
}

TEST(CatalogEntry, TheMacroAloneOrInsideANameIsAPlainName) {
  EXPECT_FALSE(IsPagesEntry(PagesFolderMacro));
  const std::string inside = std::string("x") + PagesFolderMacro + "\\a.twf";
  EXPECT_FALSE(IsPagesEntry(inside));
  EXPECT_EQ(CatalogEntryFile(inside, "/c/"), "/c/x" + std::string(PagesFolderMacro) + "/a.twf");
}

TEST(CatalogEntry, AbsoluteEntriesNameTheirFile) {
  EXPECT_EQ(CatalogEntryFile("/home/ann/owl.twf", "/c/"), "/home/ann/owl.twf");
}

}  // namespace
}  // namespace tw
