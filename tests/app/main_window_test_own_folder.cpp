// The kept colourings live in the program's own folder: a parent's files in
// the save folder, named like the catalog's pictures, stay byte for byte
// through painting, page turns, the tap, every close and restarts; another
// save folder keeps every colouring; a colouring an earlier version left in
// the save folder is picked up once and left there; and a colourings
// folder that cannot be written gives one message while painting goes on.
#include <fstream>
#include <iterator>
#include <map>

#include "app/main_window_test_support.h"
#include "painter/image/ImageFileU.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const std::string& File) {
  std::ifstream In(File, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

class MainWindowOwnFolder : public MainWindowFixture {
 protected:
  void Prepare(int StayColored) {
    AddPicture("a.twf", "Apple");
    AddPicture("b.twf", "Bear");
    WriteDefaults({"a.twf", "b.twf"}, "StayColored=" + std::to_string(StayColored));
  }
  // The parent's own pictures, named as earlier versions named colourings.
  void AddParentsFiles() {
    for (const char* Name : {"a.gif", "a.Mask.gif", "b.gif", "b.Mask.gif"}) {
      std::ofstream(SaveFolder() + Name, std::ios::binary) << "the parent's own " << Name;
      Parents[Name] = Bytes(SaveFolder() + Name);
    }
  }
  void ExpectParentsFilesKept() const {
    for (const auto& [Name, Content] : Parents)
      EXPECT_EQ(Bytes(SaveFolder() + Name), Content) << Name;
  }
  void Paint() {
    Press("btnFill");
    ClickPicture(20, 20);
    Press("btnMarker");
    ClickPicture(30, 30);
    Press("btnNextPic");
    Press("btnFill");
    ClickPicture(20, 20);
    Press("btnPrevPic");
  }
  std::map<std::string, std::string> Parents;
};

TEST_F(MainWindowOwnFolder, TheParentsFilesStayThroughEveryStayColoredAndRestart) {
  for (int Stay : {0, 1, 2}) {
    SCOPED_TRACE("StayColored " + std::to_string(Stay));
    Prepare(Stay);
    AddParentsFiles();
    Start();
    Paint();
    // The tap washes the picture and deletes its kept colouring.
    Press("btnWash");
    ClickPicture(60, 60);
    Paint();
    ExpectParentsFilesKept();
    CloseWindow(true);
    ExpectParentsFilesKept();
    Start();
    ExpectParentsFilesKept();
    EXPECT_EQ(PixelOf(20, 20), Stay == 2 ? Yellow : clWhite);
    CloseWindow(true);
    ExpectParentsFilesKept();
    FreeProgramGlobals();
    fs::remove(FFolder.File("settings.sqlite3"));
    fs::remove_all(FFolder.File("data"));
  }
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(MainWindowOwnFolder, AnotherSaveFolderKeepsEveryColouring) {
  Prepare(2);
  Start();
  ClickPicture(20, 20);
  Press("btnNextPic");
  QCSetting().WritePathSave(FFolder.File("elsewhere") + "/");
  Press("btnPrevPic");
  EXPECT_EQ(PixelOf(20, 20), Yellow);
  CloseWindow(true);
  Start();
  EXPECT_EQ(PixelOf(20, 20), Yellow);
}

TEST_F(MainWindowOwnFolder, AnOldColouringIsPickedUpOnceAndTheOriginalStays) {
  Prepare(2);
  // An earlier version kept a's colouring in the save folder.
  TRaster24 Old = TwoAreaPicture();
  for (int y = 1; y < Old.Height() - 1; ++y)
    for (int x = 1; x < Old.Width() / 2; ++x) Old.SetPixel(x, y, Red);
  WriteFileAtomically(SaveFolder() + "a.gif", EncodeGif(TBitmap(Old)));
  const std::string Original = Bytes(SaveFolder() + "a.gif");
  TFMain& w = Start();
  EXPECT_EQ(PixelOf(20, 20), Red);
  EXPECT_EQ(Bytes(Kept("a.twf").ColorFile), Original);
  // Washed clean, it does not come back from the old place.
  Press("btnWash");
  ClickPicture(60, 60);
  Press("btnNextPic");
  Press("btnPrevPic");
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  EXPECT_EQ(Bytes(SaveFolder() + "a.gif"), Original);
  EXPECT_EQ(w.CurrentPicture(), 0);
}

TEST_F(MainWindowOwnFolder, AFolderThatCannotBeWrittenGivesOneMessagePerPictureAndPaintingGoesOn) {
  Prepare(2);
  // A file where the colourings folder should be.
  const std::string Own = ColoringFolder().substr(0, ColoringFolder().size() - 1);
  fs::create_directories(fs::path(Own).parent_path());
  std::ofstream(Own) << "in the way";
  TFMain& w = Start();
  for (int i = 0; i < 3; ++i) {
    ClickPicture(20, 20 + i);
    Press("btnNextPic");
    ClickPicture(120, 20 + i);
    Press("btnPrevPic");
  }
  const std::string NotStored = "Info:" + Lang().GetText("capColoring");
  EXPECT_EQ(FAnswerer->Count(NotStored), 2) << "one message for each picture";
  EXPECT_EQ(w.CurrentPicture(), 0) << "the pages still turn";
  // Each page came back as the child left it.
  EXPECT_EQ(PixelOf(20, 22), Yellow);
  ClickPicture(120, 60);
  EXPECT_EQ(PixelOf(120, 60), Yellow);
  CloseWindow(true);
  // The close names both colourings as lost, once.
  EXPECT_EQ(FAnswerer->Count(NotStored), 3);
  EXPECT_EQ(FAnswerer->InfoTexts[FAnswerer->InfoTexts.size() - 2][1],
            Lang().GetTextFmt("msgColoringsLost", {"Apple, Bear"}));
  EXPECT_TRUE(FWarnings.Messages.empty());
  EXPECT_EQ(Bytes(Own), "in the way");
}

}  // namespace
}  // namespace tw::test
