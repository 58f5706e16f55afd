// The kept colourings' own folder and the names of their files.
#include "pictures/ColoringFolderU.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/EnvVar.h"

namespace tw {
namespace {

using test::TEnvVar;

TEST(ColoringFolder, FollowsTheDataFolderOfTheBaseDirectoryRules) {
  {
    TEnvVar data("XDG_DATA_HOME", "/srv/data/");
    EXPECT_EQ(ColoringFolder(), "/srv/data/Tintwell/Colorings/");
  }
  TEnvVar home("HOME", "/home/ann");
  {
    TEnvVar data("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(ColoringFolder(), "/home/ann/.local/share/Tintwell/Colorings/");
  }
  TEnvVar data("XDG_DATA_HOME", "");
  EXPECT_EQ(ColoringFolder(), "/home/ann/.local/share/Tintwell/Colorings/");
}

TEST(ColoringFolder, NoTwoEntriesShareAFile) {
  const std::vector<std::string> entries = {
      "teddy.twf",  "teddy.gif", "teddy",         "sub/teddy.twf",   "sub%2Fteddy.twf",
      "/abs/teddy.twf", "teddy.twf.colour", "teddy.twf.outline", "~teddy.twf", "%7Eteddy.twf",
      std::string(400, 'a'), std::string(400, 'a') + "b", std::string(150, 'a') + "~0",
      "", ".", "..", "../teddy.twf"};
  std::set<std::string> names;
  for (const std::string& entry : entries) {
    const std::string stem = ColoringFileStem(entry);
    EXPECT_EQ(stem.find('/'), std::string::npos) << entry;
    EXPECT_LE(stem.size() + std::string(ColoringOutlineSuffix).size(), 255u) << entry;
    EXPECT_TRUE(names.insert(stem + ColoringColorSuffix).second) << entry;
    EXPECT_TRUE(names.insert(stem + ColoringOutlineSuffix).second) << entry;
    EXPECT_TRUE(IsColoringFileName(stem + ColoringColorSuffix));
  }
  // Both separators name the same subfolder, so the same picture.
  EXPECT_EQ(ColoringFileStem("sub\\teddy.twf"), ColoringFileStem("sub/teddy.twf"));
  EXPECT_EQ(ColoringFileStem("teddy.twf"), "teddy.twf");
  EXPECT_FALSE(IsColoringFileName("teddy.gif"));
  EXPECT_FALSE(IsColoringFileName("teddy.Mask.gif"));
}

}  // namespace
}  // namespace tw
