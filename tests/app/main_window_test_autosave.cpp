// The main window keeping the open picture's colouring on disk while the
// child paints (StayColored 2), with its autosave clock set by the test and
// its ticks run explicitly: fills, strokes and undo reach the files, the
// wash deletes them for good, a page turn with a write under way keeps each
// picture's colouring under its own names, StayColored 1 still writes only
// when the picture is left, and a failed write is shown once.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/ColoringAutosaveU.h"
#include "main_window_test_support.h"
#include "painter/image/ImageFileU.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class MainWindowAutosave : public MainWindowFixture {
 protected:
  TFMain& Prepare(int StayColored) {
    AddPicture("a.twf", "Apple");
    AddPicture("b.twf", "Bear");
    WriteDefaults({"a.twf", "b.twf"}, "StayColored=" + std::to_string(StayColored));
    TFMain& w = Start();
    w.SetAutosaveClock([this] { return Now; });
    return w;
  }

  // Long after any quiet period or delay the program may use.
  void MuchLater() { Now += 60s; }

  // The window's tick at the current time; a write it starts is waited for
  // and its result taken by a second tick, and queued messages are shown.
  void Tick() {
    FWindow->AutosaveTick();
    FWindow->Autosave().WaitForWrite();
    FWindow->AutosaveTick();
    QCoreApplication::processEvents();
  }

  // "a.gif" and "a.Mask.gif": the kept colour and outline files of "a.twf".
  static std::string File(const std::string& Name) {
    const std::string Mask = ".Mask.gif";
    if (Name.size() > Mask.size() && Name.ends_with(Mask))
      return Kept(Name.substr(0, Name.size() - Mask.size()) + ".twf").OutlineFile;
    return Kept(Name.substr(0, Name.size() - 4) + ".twf").ColorFile;
  }
  TColor FilePixel(const std::string& Name, int X, int Y) const {
    return ReadImageFile(File(Name)).Pixel(X, Y);
  }
  bool SameAsPainter(const std::string& Name) const {
    const TRaster24 Stored = ReadImageFile(File(Name));
    const TRaster24& Layer = FWindow->Painter().ColorLayer();
    if (Stored.Width() != Layer.Width() || Stored.Height() != Layer.Height()) return false;
    for (int y = 0; y < Layer.Height(); ++y)
      for (int x = 0; x < Layer.Width(); ++x)
        if (Stored.Pixel(x, y) != Layer.Pixel(x, y)) return false;
    return true;
  }

  TAutosaveTime Now = TAutosaveTime() + 1h;
};

TEST_F(MainWindowAutosave, AFillReachesTheFileOnceThePictureIsQuiet) {
  Prepare(2);
  ClickPicture(20, 20);
  ASSERT_EQ(PixelOf(20, 20), Yellow);
  Tick();
  EXPECT_FALSE(fs::exists(File("a.gif"))) << "not at the moment of the action";
  MuchLater();
  Tick();
  ASSERT_TRUE(fs::exists(File("a.gif")));
  EXPECT_FALSE(fs::exists(File("a.Mask.gif")));
  EXPECT_TRUE(SameAsPainter("a.gif"));
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(MainWindowAutosave, AStrokeAndAnUndoReachTheFiles) {
  TFMain& w = Prepare(2);
  Press("btnBrush");
  TPainter& p = w.Painter();
  QTest::mousePress(&p, Qt::LeftButton, {}, At(20, 60));
  QTest::mouseMove(&p, At(60, 60));
  QTest::mouseRelease(&p, Qt::LeftButton, {}, At(60, 60));
  ASSERT_EQ(PixelOf(40, 60), Yellow);
  MuchLater();
  Tick();
  EXPECT_EQ(FilePixel("a.gif", 40, 60), Yellow);
  EXPECT_TRUE(SameAsPainter("a.gif"));

  Press("btnUndo");
  ASSERT_EQ(PixelOf(40, 60), clWhite);
  MuchLater();
  Tick();
  EXPECT_EQ(FilePixel("a.gif", 40, 60), clWhite);
  // Undo counts as an outline change, as when the picture is left.
  EXPECT_TRUE(fs::exists(File("a.Mask.gif")));
}

TEST_F(MainWindowAutosave, StayColoredOneStillWritesOnlyWhenThePictureIsLeft) {
  Prepare(1);
  ClickPicture(20, 20);
  MuchLater();
  Tick();
  EXPECT_FALSE(fs::exists(File("a.gif")));
  Press("btnNextPic");
  EXPECT_EQ(FilePixel("a.gif", 20, 20), Yellow);
}

TEST_F(MainWindowAutosave, TheWashDeletesTheFilesAndNoLaterTickBringsThemBack) {
  Prepare(2);
  ClickPicture(20, 20);
  MuchLater();
  Tick();
  ASSERT_TRUE(fs::exists(File("a.gif")));
  // A write is under way when the wash comes.
  ClickPicture(120, 20);
  MuchLater();
  FWindow->AutosaveTick();
  Press("btnWash");
  ClickPicture(20, 20);
  EXPECT_FALSE(fs::exists(File("a.gif")));
  MuchLater();
  Tick();
  MuchLater();
  Tick();
  EXPECT_FALSE(fs::exists(File("a.gif")));
  EXPECT_FALSE(fs::exists(File("a.Mask.gif")));
}

TEST_F(MainWindowAutosave, AWriteUnderWayWhenThePageTurnsStaysWithItsPicture) {
  TFMain& w = Prepare(2);
  ClickPicture(20, 20);
  MuchLater();
  FWindow->AutosaveTick();
  Press("btnNextPic");
  ASSERT_EQ(w.CurrentPicture(), 1);
  EXPECT_EQ(FilePixel("a.gif", 20, 20), Yellow);
  EXPECT_FALSE(fs::exists(File("b.gif")));

  // The second picture's colouring goes under its own names only.
  Press("btnBrush");
  ClickWell(w.PaintTray(), 1);
  QTest::mouseClick(&w.Painter(), Qt::LeftButton, {}, At(120, 60));
  MuchLater();
  Tick();
  EXPECT_EQ(FilePixel("b.gif", 120, 60), Blue);
  EXPECT_EQ(FilePixel("b.gif", 20, 20), clWhite);
  EXPECT_EQ(FilePixel("a.gif", 20, 20), Yellow);
  EXPECT_EQ(FilePixel("a.gif", 120, 60), clWhite);

  Press("btnPrevPic");
  EXPECT_EQ(PixelOf(20, 20), Yellow);
  EXPECT_EQ(PixelOf(120, 60), clWhite);
}

TEST_F(MainWindowAutosave, ClosingWaitsForTheWriteAndLeavesTheLastColouring) {
  Prepare(2);
  ClickPicture(20, 20);
  MuchLater();
  Tick();
  ClickPicture(120, 20);
  MuchLater();
  FWindow->AutosaveTick();
  CloseWindow(true);
  EXPECT_EQ(FilePixel("a.gif", 20, 20), Yellow);
  EXPECT_EQ(FilePixel("a.gif", 120, 20), Yellow);
  Start();
  EXPECT_EQ(PixelOf(120, 20), Yellow);
}

TEST_F(MainWindowAutosave, AFailedWriteIsShownOnceAndThePaintingGoesOn) {
  Prepare(2);
  // Something in the way of the colourings folder: no write can go through.
  const std::string Own = ColoringFolder();
  fs::remove_all(Own.substr(0, Own.size() - 1));
  fs::create_directories(fs::path(Own.substr(0, Own.size() - 1)).parent_path());
  { std::ofstream(Own.substr(0, Own.size() - 1)) << "in the way"; }
  ClickPicture(20, 20);
  MuchLater();
  Tick();
  // In plain words, naming the picture.
  const std::string NotStored = "Info:" + Lang().GetText("capColoring");
  ASSERT_EQ(FAnswerer->Count(NotStored), 1);
  EXPECT_EQ(FAnswerer->InfoTexts.back()[1], Lang().GetTextFmt("msgColoringNotKept", {"Apple"}));
  for (int i = 0; i < 3; ++i) {
    ClickPicture(120, 20 + i);
    MuchLater();
    Tick();
  }
  EXPECT_EQ(FAnswerer->Count(NotStored), 1);
  EXPECT_EQ(PixelOf(20, 20), Yellow);

  // The folder comes back: the next try stores all of it.
  fs::remove(Own.substr(0, Own.size() - 1));
  MuchLater();
  Tick();
  EXPECT_TRUE(SameAsPainter("a.gif"));
  EXPECT_EQ(FAnswerer->Count(NotStored), 1);
  EXPECT_TRUE(FWarnings.Messages.empty());
}

}  // namespace
}  // namespace tw::test
