// The main window's start and its catalog: what the deferred start leaves
// behind, silence before the start, missing and damaged pictures, wrapping
// round the catalog, an empty catalog, the stored colourings for each
// StayColored value (across a restart too), the title line and the layout.
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

#include "app/ColoringStoreU.h"
#include "app/main_window_test_support.h"
#include "controls/PaintGridU.h"

namespace tw::test {
namespace {

using MainWindowStart = MainWindowFixture;

TEST_F(MainWindowStart, NoCuePlaysDuringStartUpAndTheStartLeavesFillPaletteAndWellZero) {
  AddPicture("a.twf", "Apple");
  WriteDefaults({"a.twf"});
  TFMain& w = Start();
  EXPECT_TRUE(Cues.empty());
  EXPECT_EQ(w.windowTitle(), "Tintwell");
  EXPECT_TRUE(w.isMaximized());
  EXPECT_EQ(w.CurrentPicture(), 0);
  EXPECT_TRUE(w.PaintingArea().isVisible());
  EXPECT_EQ(w.Painter().PaintMode(), pmFill);
  EXPECT_TRUE(w.ToolButton(pmFill)->Down());
  for (int mode = pmBrush; mode <= pmTap; ++mode)
    EXPECT_FALSE(w.ToolButton(TPaintMode(mode))->Down());
  EXPECT_EQ(w.CurrentPalette(), 0);
  EXPECT_EQ(w.CurrentWell(), 0);
  EXPECT_EQ(w.Painter().PaintColor(), Yellow);
  EXPECT_EQ(w.DropperCount(), 0);
  EXPECT_EQ(w.DropperColor(), clNone);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(w.PaintTray().GetColor(i), PaletteColor(0, i));
  // After the start the cues play.
  Press("btnBrush");
  EXPECT_EQ(Cues, std::vector<int>{cueToolChange});
}

TEST_F(MainWindowStart, TheTitleLineShowsTitleAndAuthorOrTheTitleAlone) {
  AddPicture("a.twf", "Apple", TwoAreaPicture(), "Ann");
  AddPicture("b.twf", "Bear", TwoAreaPicture(), "");
  WriteDefaults({"a.twf", "b.twf"});
  TFMain& w = Start();
  EXPECT_EQ(w.TitleLabel().text(), "Apple - Ann");
  Press("btnNextPic");
  EXPECT_EQ(w.TitleLabel().text(), "Bear");
}

TEST_F(MainWindowStart, CurrentPictureIsFoundWithoutRegardToCase) {
  AddPicture("a.twf", "Apple");
  AddPicture("b.twf", "Bear");
  AddPicture("c.twf", "Cat");
  WriteDefaults({"a.twf", "b.twf", "c.twf"}, "CurrentPicture=C.TWF");
  EXPECT_EQ(Start().CurrentPicture(), 2);
}

TEST_F(MainWindowStart, ACurrentPictureNotInTheListOpensTheFirst) {
  AddPicture("a.twf", "Apple");
  AddPicture("b.twf", "Bear");
  WriteDefaults({"a.twf", "b.twf"}, "CurrentPicture=zebra.twf");
  EXPECT_EQ(Start().CurrentPicture(), 0);
}

TEST_F(MainWindowStart, AMissingCurrentPictureIsReportedOnceRemovedAndTheNextOpens) {
  AddPicture("b.twf", "Bear");
  AddPicture("c.twf", "Cat");
  WriteDefaults({"a.twf", "b.twf", "c.twf"}, "CurrentPicture=a.twf");
  TFMain& w = Start();
  ASSERT_EQ(FAnswerer->Count("Info"), 1);
  EXPECT_EQ(FAnswerer->InfoTexts[0][0], Lang().GetText("capNotFound"));
  EXPECT_NE(FAnswerer->InfoTexts[0][1].find("a.twf"), std::string::npos);
  EXPECT_EQ(w.Catalog(), (std::vector<std::string>{"b.twf", "c.twf"}));
  std::vector<std::string> stored;
  QCSetting().ReadCatalog(stored);
  EXPECT_EQ(stored, (std::vector<std::string>{"b.twf", "c.twf"}));
  EXPECT_EQ(w.CurrentPicture(), 0);
  EXPECT_EQ(w.TitleLabel().text(), "Bear - Ann");
  EXPECT_TRUE(w.PaintingArea().isVisible());
  // The rest of the start ran, and no cue played before it ended.
  EXPECT_TRUE(w.Started());
  EXPECT_TRUE(w.ToolButton(pmFill)->Down());
  EXPECT_EQ(w.CurrentWell(), 0);
  EXPECT_TRUE(Cues.empty());
}

TEST_F(MainWindowStart, RemovingTheLastEntryWhileCurrentOpensTheNewLast) {
  AddPicture("a.twf", "Apple");
  AddPicture("b.twf", "Bear");
  WriteDefaults({"a.twf", "b.twf", "gone.twf"}, "CurrentPicture=b.twf");
  TFMain& w = Start();
  Press("btnNextPic");
  EXPECT_EQ(FAnswerer->Count("Info"), 1);
  EXPECT_EQ(w.Catalog(), (std::vector<std::string>{"a.twf", "b.twf"}));
  EXPECT_EQ(w.CurrentPicture(), 1);
  EXPECT_EQ(w.TitleLabel().text(), "Bear - Ann");
}

TEST_F(MainWindowStart, WhenEveryEntryIsMissingTheCatalogEndsEmpty) {
  WriteDefaults({"x.twf", "y.twf"});
  TFMain& w = Start();
  EXPECT_EQ(FAnswerer->Count("Info"), 2);
  EXPECT_TRUE(w.Catalog().empty());
  EXPECT_EQ(w.CurrentPicture(), -1);
  EXPECT_FALSE(w.PaintingArea().isVisible());
  EXPECT_TRUE(w.Started());
}

TEST_F(MainWindowStart, PreviousAndNextWrapRoundTheCatalog) {
  AddPicture("a.twf", "Apple");
  AddPicture("b.twf", "Bear");
  AddPicture("c.twf", "Cat");
  WriteDefaults({"a.twf", "b.twf", "c.twf"});
  TFMain& w = Start();
  Press("btnPrevPic");
  EXPECT_EQ(w.CurrentPicture(), 2);
  EXPECT_EQ(w.TitleLabel().text(), "Cat - Ann");
  Press("btnNextPic");
  EXPECT_EQ(w.CurrentPicture(), 0);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(w.CurrentPicture(), 2);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(w.CurrentPicture(), 0);
  EXPECT_EQ(CueCount(cuePageTurn), 4);
}

TEST_F(MainWindowStart, ADoubleClickOnNextMovesTwoPicturesOn) {
  AddPicture("a.twf", "Apple");
  AddPicture("b.twf", "Bear");
  AddPicture("c.twf", "Cat");
  WriteDefaults({"a.twf", "b.twf", "c.twf"});
  TFMain& w = Start();
  // As the platform reports a double-click: press, release, double-click,
  // release.
  TQImgButton& next = Button("btnNextPic");
  QTest::mouseClick(&next, Qt::LeftButton);
  const QPointF at(next.width() / 2.0, next.height() / 2.0);
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, next.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&next, &doubleClick);
  QTest::mouseRelease(&next, Qt::LeftButton);
  EXPECT_EQ(w.CurrentPicture(), 2);
}

TEST_F(MainWindowStart, AnEmptyCatalogStartsWithNothingShownAndPictureCommandsDoNothing) {
  WriteDefaults({});
  TFMain& w = Start();
  EXPECT_TRUE(w.Started());
  EXPECT_EQ(w.CurrentPicture(), -1);
  EXPECT_FALSE(w.PaintingArea().isVisible());
  Press("btnNextPic");
  Press("btnPrevPic");
  Press("btnSave");
  Press("btnInfo");
  EXPECT_EQ(w.CurrentPicture(), -1);
  EXPECT_TRUE(FAnswerer->Seen.empty());
  EXPECT_EQ(CueCount(cuePageTurn), 0);
}

TEST_F(MainWindowStart, ADamagedPictureLeavesNoPictureOpenAndStoresNothingUnderItsName) {
  AddPicture("a.twf", "Apple");
  WriteTextFile(CatalogFolder() + "bad.twf", "not a picture at all");
  AddPicture("c.twf", "Cat");
  WriteDefaults({"a.twf", "bad.twf", "c.twf"});
  TFMain& w = Start();
  ClickPicture(20, 20);
  ASSERT_TRUE(w.ColorChanged());
  Press("btnNextPic");
  // The colouring of "a" went to a's files before the move.
  EXPECT_TRUE(std::filesystem::exists(Kept("a.twf").ColorFile));
  EXPECT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_EQ(w.CurrentPicture(), 1);
  EXPECT_FALSE(w.PaintingArea().isVisible());
  EXPECT_FALSE(w.ColorChanged());
  EXPECT_EQ(w.TitleLabel().text(), "");
  // Leaving the damaged entry stores nothing under its name.
  Press("btnNextPic");
  EXPECT_FALSE(std::filesystem::exists(Kept("bad.twf").ColorFile));
  EXPECT_EQ(w.CurrentPicture(), 2);
  EXPECT_TRUE(w.PaintingArea().isVisible());
  // The damaged entry stays in the catalog.
  EXPECT_EQ(w.Catalog().size(), 3u);
}

class MainWindowColorings : public MainWindowFixture {
 protected:
  void Prepare(int StayColored) {
    AddPicture("a.twf", "Apple");
    AddPicture("b.twf", "Bear");
    WriteDefaults({"a.twf", "b.twf"}, "StayColored=" + std::to_string(StayColored));
  }
  bool ColorFile(const std::string& Base) const {
    return std::filesystem::exists(Kept(Base + ".twf").ColorFile);
  }
  bool OutlineFile(const std::string& Base) const {
    return std::filesystem::exists(Kept(Base + ".twf").OutlineFile);
  }
};

TEST_F(MainWindowColorings, StayColoredTwoBringsTheColouringBackAlsoAfterARestart) {
  Prepare(2);
  Start();
  ClickPicture(20, 20);
  ASSERT_EQ(PixelOf(20, 20), Yellow);
  EXPECT_EQ(CueCount(cueSplash), 1);
  Press("btnNextPic");
  EXPECT_TRUE(ColorFile("a"));
  // Only filled: the outline did not change.
  EXPECT_FALSE(OutlineFile("a"));
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  Press("btnPrevPic");
  EXPECT_EQ(PixelOf(20, 20), Yellow);
  EXPECT_EQ(PixelOf(120, 20), clWhite);
  // Painted again, then the program closes and starts anew.
  ClickPicture(120, 20);
  CloseWindow(true);
  Start();
  EXPECT_EQ(FWindow->CurrentPicture(), 0);
  EXPECT_EQ(PixelOf(20, 20), Yellow);
  EXPECT_EQ(PixelOf(120, 20), Yellow);
  // Opening clears the history: the stored colouring is the new start.
  EXPECT_FALSE(FWindow->Painter().CanUndo());
}

TEST_F(MainWindowColorings, StayColoredZeroNeverWritesOrReads) {
  Prepare(0);
  TFMain& w = Start();
  ClickPicture(20, 20);
  Press("btnNextPic");
  Press("btnPrevPic");
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  EXPECT_FALSE(ColorFile("a"));
  // A file from an earlier run is not read either.
  w.Painter().SaveToFile(Kept("b.twf").ColorFile, false);
  Press("btnNextPic");
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  CloseWindow(true);
  EXPECT_TRUE(ColorFile("b"));
  EXPECT_FALSE(ColorFile("a"));
}

TEST_F(MainWindowColorings, StayColoredOneKeepsColouringsWhileRunningAndDeletesThemAtClose) {
  Prepare(1);
  Start();
  ClickPicture(20, 20);
  Press("btnNextPic");
  EXPECT_TRUE(ColorFile("a"));
  ClickPicture(120, 20);
  Press("btnPrevPic");
  EXPECT_TRUE(ColorFile("b"));
  EXPECT_EQ(PixelOf(20, 20), Yellow);
  CloseWindow(true);
  EXPECT_FALSE(ColorFile("a"));
  EXPECT_FALSE(ColorFile("b"));
  EXPECT_FALSE(OutlineFile("a"));
}

TEST_F(MainWindowColorings, TheOutlineFileIsWrittenOnlyAfterMarkerEraserOrUndo) {
  Prepare(2);
  TFMain& w = Start();
  ClickPicture(20, 20);
  Press("btnNextPic");
  EXPECT_FALSE(OutlineFile("a"));
  Press("btnPrevPic");
  Press("btnMarker");
  ClickPicture(30, 30);
  EXPECT_TRUE(w.OutlineChanged());
  Press("btnNextPic");
  EXPECT_TRUE(OutlineFile("a"));
  // Undo counts as an outline change too.
  ClickPicture(120, 20);
  Press("btnUndo");
  Press("btnPrevPic");
  EXPECT_TRUE(OutlineFile("b"));
}

TEST_F(MainWindowColorings, AStoredColouringOfAnotherSizeIsIgnored) {
  Prepare(2);
  WriteFileAtomically(Kept("a.twf").ColorFile, GifOf(TRaster24(30, 30, Red)));
  Start();
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  EXPECT_EQ(PixelOf(5, 5), clWhite);
}

TEST_F(MainWindowColorings, TheTapWashesAndDeletesTheStoredFilesAtOnce) {
  Prepare(2);
  TFMain& w = Start();
  ClickPicture(20, 20);
  Press("btnNextPic");
  Press("btnPrevPic");
  ASSERT_TRUE(ColorFile("a"));
  ASSERT_EQ(PixelOf(20, 20), Yellow);
  Press("btnWash");
  ClickPicture(20, 20);
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  EXPECT_FALSE(ColorFile("a"));
  EXPECT_EQ(CueCount(cueWash), 1);
  EXPECT_FALSE(w.ColorChanged());
  Press("btnUndo");
  EXPECT_EQ(PixelOf(20, 20), Yellow);
}

TEST_F(MainWindowStart, ResizingKeepsZoomRefitsAndKeepsTheOnScreenStrokeWidth) {
  AddPicture("a.twf", "Apple", TwoAreaPicture(400, 300));
  WriteDefaults({"a.twf"});
  TFMain& w = Start();
  Press("btnBrush");
  Press("btnZoomIn");
  w.showNormal();
  w.resize(900, 700);
  SettlePaints();
  const QRect area = w.findChild<QWidget*>("pnlMain")->geometry();
  // pnlMain keeps its distances to all four edges: 144 and 64 at the left
  // and top, 772 - 752 = 20 and 560 - 496 = 64 at the right and bottom.
  EXPECT_EQ(area, QRect(144, 64, 900 - 144 - 20, 700 - 64 - 64));
  const double fit = std::min(area.width() / 400.0, area.height() / 300.0);
  EXPECT_DOUBLE_EQ(w.FitScaleValue(), fit);
  EXPECT_DOUBLE_EQ(w.Zoom(), 2.0);
  EXPECT_DOUBLE_EQ(w.Painter().Scale(), 2 * fit);
  EXPECT_EQ(w.Painter().BrushSize(), int(std::nearbyint(8 / fit)));
  // Right-anchored buttons keep their distance to the right edge, bottom-
  // anchored tools theirs to the bottom.
  EXPECT_EQ(Button("btnClose").geometry(), QRect(747 + 128, 6, 18, 18));
  EXPECT_EQ(Button("btnFill").geometry(), QRect(8, 504 + 140, 48, 48));
  EXPECT_EQ(w.MixTray().geometry(), QRect(384, 504 + 140, 372 + 128, 48));
  EXPECT_EQ(w.PaintTray().geometry(), QRect(8, 105, 126, 353 + 140));
}

}  // namespace
}  // namespace tw::test
