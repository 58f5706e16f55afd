#include "pictures/QFoldersU.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "pictures/PictureTestUtil.h"
#include "support/EnvVar.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::TEnvVar;

// Sets the documents and pictures folders for one test and lets them be
// found again afterwards.
class FoldersTest : public ::testing::Test {
 protected:
  void SetFolders(const std::string& documents, const std::string& pictures) {
    SetDocumentsFolder(documents);
    SetPicturesFolder(pictures);
  }
  void TearDown() override { SetFolders("", ""); }
};

TEST_F(FoldersTest, TheProgramFolderHoldsTheRunningProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(fs::canonical(folder), fs::canonical("/proc/self/exe").parent_path());
}

TEST_F(FoldersTest, MacrosExpandWithoutRegardToCase) {
  SetFolders("/home/ann/Documents", "/home/ann/Pictures");
  EXPECT_EQ(ExpandFolderMacros("[mypicturesfolder]\\Tintwell"), "/home/ann/Pictures\\Tintwell");
  EXPECT_EQ(ExpandFolderMacros("[MyPicturesFolder]\\Tintwell\\saved\\"),
            "/home/ann/Pictures\\Tintwell\\saved\\");
  EXPECT_EQ(ExpandFolderMacros("[MYDOCUMENTSFOLDER]\\a;[MyDocumentsFolder]\\b"),
            "/home/ann/Documents\\a;/home/ann/Documents\\b");
  std::string program = ProgramFolder();
  program.pop_back();
  EXPECT_EQ(ExpandFolderMacros("[ProgramFolder]\\catalog\\"), program + "\\catalog\\");
  EXPECT_EQ(ExpandFolderMacros("no macros here"), "no macros here");
}

TEST_F(FoldersTest, APicturesFolderInsideTheDocumentsFolderCollapsesToThePicturesMacro) {
  SetFolders("/home/ann/Documents", "/home/ann/Documents/Pictures");
  EXPECT_EQ(CollapseFolderMacros("/home/ann/Documents/Pictures\\Tintwell\\saved\\"),
            "[MyPicturesFolder]\\Tintwell\\saved\\");
  EXPECT_EQ(CollapseFolderMacros("/home/ann/Documents/letters"), "[MyDocumentsFolder]/letters");
}

TEST_F(FoldersTest, CollapsingIgnoresCase) {
  SetFolders("/home/ann/Documents", "/home/ann/Pictures");
  EXPECT_EQ(CollapseFolderMacros("/HOME/ANN/pictures\\x"), "[MyPicturesFolder]\\x");
  std::string program = ProgramFolder();
  program.pop_back();
  EXPECT_EQ(CollapseFolderMacros(program + "\\lang"), "[ProgramFolder]\\lang");
}

TEST_F(FoldersTest, ExpandingThenCollapsingGivesTheSameText) {
  SetFolders("/home/ann/Documents", "/home/ann/Pictures");
  for (const char* text : {"[MyPicturesFolder]\\Tintwell\\saved\\", "[MyDocumentsFolder]\\x",
                           "[ProgramFolder]\\catalog\\", "/elsewhere/saved"})
    EXPECT_EQ(CollapseFolderMacros(ExpandFolderMacros(text)), text);
}

TEST_F(FoldersTest, DisplayNamesReplaceTheUserFolders) {
  SetFolders("/home/ann/Documents", "/home/ann/Documents/Pictures");
  EXPECT_EQ(DisplayFolderNames("/home/ann/Documents/Pictures/Tintwell/cat.jpg"),
            "Pictures/Tintwell/cat.jpg");
  EXPECT_EQ(DisplayFolderNames("/home/ann/documents/x.gif"), "Documents/x.gif");
  EXPECT_EQ(DisplayFolderNames("/tmp/x.gif"), "/tmp/x.gif");
}

TEST_F(FoldersTest, ATrailingSeparatorIsDropped) {
  SetFolders("/home/ann/Documents/", "/home/ann/Pictures//");
  EXPECT_EQ(DocumentsFolder(), "/home/ann/Documents");
  EXPECT_EQ(PicturesFolder(), "/home/ann/Pictures");
}

TEST_F(FoldersTest, NativePathTurnsBackslashesIntoSeparators) {
  EXPECT_EQ(NativePath("/home/ann/Pictures\\Tintwell\\saved\\"),
            "/home/ann/Pictures/Tintwell/saved/");
  EXPECT_EQ(NativePath("plain/path"), "plain/path");
}

TEST_F(FoldersTest, UnsetFoldersComeFromTheUserDirsFile) {
  test::TTempFolder home;
  fs::create_directories(home.File("config"));
  std::ofstream(home.File("config/user-dirs.dirs"))
      << "# written by a test\n"
      << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
      << "XDG_DOCUMENTS_DIR=\"$HOME/My Documents/\"\n"
      << "XDG_PICTURES_DIR=\"/srv/pictures\"\n";
  TEnvVar homeVar("HOME", home.Path());
  TEnvVar config("XDG_CONFIG_HOME", home.File("config"));
  SetFolders("", "");
  EXPECT_EQ(DocumentsFolder(), home.Path() + "/My Documents");
  EXPECT_EQ(PicturesFolder(), "/srv/pictures");
}

TEST_F(FoldersTest, WithoutUserDirsTheWorkingDirectoryServes) {
  test::TTempFolder home;
  TEnvVar homeVar("HOME", home.Path());
  TEnvVar config("XDG_CONFIG_HOME", home.File("nothing-here"));
  SetFolders("", "");
  const fs::path cwd = fs::current_path();
  EXPECT_EQ(fs::path(DocumentsFolder()), cwd);
  EXPECT_EQ(fs::path(PicturesFolder()), cwd);
}

TEST_F(FoldersTest, CheckFileExistsPassesForAFile) {
  test::TTempFolder folder;
  std::ofstream(folder.File("here.txt")) << "x";
  SetFolders(folder.Path(), folder.Path());
  EXPECT_NO_THROW(CheckFileExists(folder.File("here.txt")));
  EXPECT_NO_THROW(CheckFileExists("[MyPicturesFolder]\\here.txt"));
}

TEST_F(FoldersTest, CheckFileExistsAbortsWithTheExpandedPath) {
  test::TTempFolder folder;
  SetFolders(folder.Path(), folder.Path());
  test::TWarningRecorder recorder;
  EXPECT_THROW(CheckFileExists("[MyPicturesFolder]\\gone.bmp"), EAbort);
  EXPECT_THROW(CheckFileExists(folder.Path()), EAbort);
  ASSERT_EQ(recorder.Messages.size(), 2u);
  EXPECT_EQ(recorder.Messages[0], "File not found \"" + folder.File("gone.bmp") + "\"");
}

TEST(ReplaceAllNoCase, ReplacesEveryOccurrenceAndKeepsTheRest) {
  EXPECT_EQ(ReplaceAllNoCase("aXbxcX", "x", "--"), "a--b--c--");
  EXPECT_EQ(ReplaceAllNoCase("abc", "", "z"), "abc");
  EXPECT_EQ(ReplaceAllNoCase("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceAllNoCase("Caf\xC3\xA9", "CAF", "x"), "x\xC3\xA9");
}

}  // namespace
}  // namespace tw
