// The numbered file names of saved and printed pictures: the exact names,
// the lowest gap first, every kind of existing entry taking its name, and
// the end of the search.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "dialogs/NumberedNameU.h"
#include "base/ErrorsU.h"
#include "pictures/PictureTestUtil.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

void Touch(const std::string& Path) { std::ofstream(Path) << "x"; }

TEST(NumberedName, HasAtLeastThreeDigitsBetweenStemAndExtension) {
  EXPECT_EQ(NumberedName("house", 1, ".jpg"), "house.001.jpg");
  EXPECT_EQ(NumberedName("house", 42, ".gif"), "house.042.gif");
  EXPECT_EQ(NumberedName("house", 999, ".bmp"), "house.999.bmp");
  EXPECT_EQ(NumberedName("house", 1000, ".bmp"), "house.1000.bmp");
  EXPECT_EQ(NumberedName("C:\\Pictures\\my cat", 7, ".pdf"), "C:\\Pictures\\my cat.007.pdf");
}

TEST(NumberedName, TheFirstFreeNameTakesTheLowestGap) {
  std::set<std::string> Taken;
  const auto IsTaken = [&Taken](const std::string& Name) { return Taken.count(Name) > 0; };
  EXPECT_EQ(FirstFreeNumberedName("boat", ".png", IsTaken), "boat.001.png");
  Taken = {"boat.001.png", "boat.002.png", "boat.004.png"};
  EXPECT_EQ(FirstFreeNumberedName("boat", ".png", IsTaken), "boat.003.png");
  // Another extension or stem is another series.
  EXPECT_EQ(FirstFreeNumberedName("boat", ".jpg", IsTaken), "boat.001.jpg");
  EXPECT_EQ(FirstFreeNumberedName("boats", ".png", IsTaken), "boats.001.png");
  for (int Number = 1; Number <= 999; ++Number) Taken.insert(NumberedName("boat", Number, ".png"));
  EXPECT_EQ(FirstFreeNumberedName("boat", ".png", IsTaken), "boat.1000.png");
}

TEST(NumberedName, EveryNameTakenEndsTheSearchWithAnError) {
  int Asked = 0;
  const auto Everything = [&Asked](const std::string&) {
    ++Asked;
    return true;
  };
  try {
    FirstFreeNumberedName("full", ".jpg", Everything);
    ADD_FAILURE() << "no error raised";
  } catch (const EError& Error) {
    EXPECT_EQ(std::string(Error.what()), "No free file name is left for \"full.jpg\".");
  }
  EXPECT_EQ(Asked, 1000000);
}

TEST(NumberedName, FilesFoldersAndLinksOnDiskTakeTheirNames) {
  test::TTempFolder Folder;
  const std::string Stem = Folder.File("cat");
  EXPECT_FALSE(NameTakenOnDisk(Stem + ".001.jpg"));
  EXPECT_EQ(FirstFreeNumberedName(Stem, ".jpg"), Stem + ".001.jpg");
  Touch(Stem + ".001.jpg");
  fs::create_directory(Stem + ".002.jpg");
  // A link that leads nowhere still has its name.
  fs::create_symlink(Folder.File("nowhere"), Stem + ".003.jpg");
  Touch(Stem + ".005.jpg");
  EXPECT_TRUE(NameTakenOnDisk(Stem + ".001.jpg"));
  EXPECT_TRUE(NameTakenOnDisk(Stem + ".002.jpg"));
  EXPECT_TRUE(NameTakenOnDisk(Stem + ".003.jpg"));
  EXPECT_EQ(FirstFreeNumberedName(Stem, ".jpg"), Stem + ".004.jpg");
  Touch(Stem + ".004.jpg");
  EXPECT_EQ(FirstFreeNumberedName(Stem, ".jpg"), Stem + ".006.jpg");
  // Other extensions in the folder do not count.
  EXPECT_EQ(FirstFreeNumberedName(Stem, ".gif"), Stem + ".001.gif");
}

TEST(NumberedName, ANameThatCannotBeCheckedCountsAsFree) {
  test::TTempFolder Folder;
  // Under a regular file nothing can be looked up; writing there reports why.
  Touch(Folder.File("plain"));
  const std::string Stem = Folder.File("plain") + "/cat";
  EXPECT_FALSE(NameTakenOnDisk(Stem + ".001.jpg"));
  EXPECT_EQ(FirstFreeNumberedName(Stem, ".jpg"), Stem + ".001.jpg");
}

}  // namespace
}  // namespace tw
