// The main window's commands: the dropper and the mix tray, well and
// palette stepping, zoom, undo, the slider and the tool sizes, the tool
// cycle, the cues and cursors of tool and colour changes, and painting with
// the space bar and the arrow keys.
#include <QCursor>
#include <QScrollArea>
#include <QScrollBar>

#include "app/main_window_test_support.h"
#include "controls/QSliderU.h"
#include "painter/QPixelsMemU.h"
#include "palette/qt/CursorTableU.h"
#include "controls/PaintGridU.h"
#include "palette/qt/ToolCursorsU.h"

namespace tw::test {
namespace {

class MainWindowCommands : public MainWindowFixture {
 protected:
  TFMain& StartWith(const std::string& MainLines = "") {
    AddPicture("a.twf", "Apple");
    WriteDefaults({"a.twf"}, MainLines);
    return Start();
  }
};

TEST_F(MainWindowCommands, TwoDropsIntoAnEmptyMixWellGiveThePaintUnmixedAndMakeItThePaint) {
  TFMain& w = StartWith();
  Press("btnDropper");
  ClickWell(w.PaintTray(), 1);
  ClickWell(w.PaintTray(), 1);
  EXPECT_EQ(w.DropperCount(), 2);
  EXPECT_EQ(w.DropperColor(), Blue);
  EXPECT_EQ(CueCount(cueDropperIn), 2);
  ClickWell(w.MixTray(), 3);
  EXPECT_EQ(w.MixTray().GetColor(3), Blue);
  EXPECT_EQ(w.DropperCount(), 0);
  EXPECT_EQ(w.DropperColor(), clNone);
  EXPECT_EQ(CueCount(cueDropperOut), 1);
  // MixToBrush (on by default): the new well is the paint.
  EXPECT_EQ(w.CurrentWell(), 23);
  EXPECT_EQ(w.Painter().PaintColor(), Blue);
}

TEST_F(MainWindowCommands, WithoutMixToBrushTheSqueezedWellDoesNotBecomeThePaint) {
  TFMain& w = StartWith("MixToBrush=false");
  Press("btnDropper");
  ClickWell(w.PaintTray(), 1);
  ClickWell(w.MixTray(), 0);
  EXPECT_EQ(w.MixTray().GetColor(0), Blue);
  EXPECT_EQ(w.CurrentWell(), 0);
  EXPECT_EQ(w.Painter().PaintColor(), Yellow);
}

TEST_F(MainWindowCommands, DropsMixIntoYellowBySixthsAndASixthDropIsRefused) {
  TFMain& w = StartWith();
  Press("btnDropper");
  // Yellow into mix well 0, then five drops of blue into it.
  ClickWell(w.PaintTray(), 0);
  ClickWell(w.MixTray(), 0);
  Press("btnDropper");
  for (int i = 0; i < 5; ++i) ClickWell(w.PaintTray(), 1);
  EXPECT_EQ(w.DropperCount(), 5);
  const int dropsIn = CueCount(cueDropperIn);
  ClickWell(w.PaintTray(), 1);
  EXPECT_EQ(w.DropperCount(), 5);
  EXPECT_EQ(CueCount(cueDropperIn), dropsIn);
  ClickWell(w.MixTray(), 0);
  EXPECT_EQ(w.MixTray().GetColor(0), MixColors(Yellow, Blue, 5.0 / 6));
  // One drop moves it a sixth of the way.
  ClickWell(w.PaintTray(), 0);
  ClickWell(w.MixTray(), 1);
  ClickWell(w.PaintTray(), 1);
  ClickWell(w.MixTray(), 1);
  EXPECT_EQ(w.MixTray().GetColor(1), MixColors(Yellow, Blue, 1.0 / 6));
}

TEST_F(MainWindowCommands, AMixWellOfTheDroppersColourGivesOneMoreDrop) {
  TFMain& w = StartWith();
  Press("btnDropper");
  ClickWell(w.PaintTray(), 2);
  ClickWell(w.MixTray(), 5);
  ASSERT_EQ(w.MixTray().GetColor(5), Red);
  ClickWell(w.PaintTray(), 2);
  ClickWell(w.MixTray(), 5);
  EXPECT_EQ(w.DropperCount(), 2);
  EXPECT_EQ(w.MixTray().GetColor(5), Red);
}

TEST_F(MainWindowCommands, AnEmptyDropperOnAnEmptyMixWellDoesNothing) {
  TFMain& w = StartWith();
  Press("btnDropper");
  ClickWell(w.MixTray(), 7);
  EXPECT_EQ(w.MixTray().GetColor(7), clNone);
  EXPECT_EQ(w.DropperCount(), 0);
  EXPECT_EQ(Cues, std::vector<int>{cueToolChange});
}

TEST_F(MainWindowCommands, TheDropperTakesFromThePictureButNeverTheBlackOutline) {
  // A black band 9 pixels wide, x = 80 to 88: its middle has only black
  // around it.
  AddPicture("a.twf", "Apple", TwoAreaPicture(160, 120, 9));
  WriteDefaults({"a.twf"});
  TFMain& w = Start();
  ClickPicture(20, 20);
  Press("btnDropper");
  const int before = CueCount(cueDropperIn);
  ClickPicture(84, 60);
  EXPECT_EQ(w.DropperCount(), 0);
  EXPECT_EQ(CueCount(cueDropperIn), before);
  ClickPicture(120, 20);
  EXPECT_EQ(w.DropperColor(), clWhite);
  ClickPicture(20, 20);
  EXPECT_EQ(w.DropperColor(), Yellow);
  EXPECT_EQ(w.DropperCount(), 1);
  // Taking does not change the picture.
  EXPECT_EQ(PixelOf(120, 20), clWhite);
}

TEST_F(MainWindowCommands, TheTapEmptiesAMixWellAndMarkerAndEraserLeaveTheTraysAlone) {
  TFMain& w = StartWith();
  Press("btnDropper");
  ClickWell(w.PaintTray(), 1);
  ClickWell(w.MixTray(), 0);
  Press("btnMarker");
  ClickWell(w.MixTray(), 0);
  ClickWell(w.PaintTray(), 2);
  EXPECT_EQ(w.Painter().PaintColor(), Blue);
  EXPECT_EQ(w.MixTray().GetColor(0), Blue);
  EXPECT_EQ(w.MixTray().cursor().pixmap().toImage(),
            ProgramCursor(TProgramCursor::No).pixmap().toImage());
  Press("btnWash");
  ClickWell(w.MixTray(), 0);
  EXPECT_EQ(w.MixTray().GetColor(0), clNone);
  EXPECT_EQ(CueCount(cueWash), 1);
}

TEST_F(MainWindowCommands, SteppingWellsSkipsEmptyMixWellsBothWays) {
  TFMain& w = StartWith();
  Press("btnDropper");
  ClickWell(w.PaintTray(), 2);
  ClickWell(w.MixTray(), 4);
  ASSERT_EQ(w.CurrentWell(), 24);
  // Forward from 24: 25..31 are empty, so the search wraps to well 0.
  Key(Qt::Key_Period);
  EXPECT_EQ(w.CurrentWell(), 0);
  EXPECT_EQ(w.Painter().PaintColor(), Yellow);
  // Backward from 0 wraps to 31 and walks down to the filled well 24.
  Key(Qt::Key_Comma);
  EXPECT_EQ(w.CurrentWell(), 24);
  EXPECT_EQ(w.Painter().PaintColor(), Red);
  Key(Qt::Key_Comma);
  EXPECT_EQ(w.CurrentWell(), 19);
  EXPECT_EQ(w.Painter().PaintColor(), PaletteColor(0, 19));
}

TEST_F(MainWindowCommands, SteppingForwardFromTheLastPaintWellWithEmptyMixWellsLandsOnWellZero) {
  TFMain& w = StartWith();
  w.SelectWell(19);
  Key(Qt::Key_Period);
  EXPECT_EQ(w.CurrentWell(), 0);
}

TEST_F(MainWindowCommands, PalettesStepAndWrapWithoutChangingThePaint) {
  TFMain& w = StartWith();
  Press("btnNextPal");
  EXPECT_EQ(w.CurrentPalette(), 1);
  EXPECT_EQ(w.PaintTray().GetColor(0), PaletteColor(1, 0));
  EXPECT_EQ(w.Painter().PaintColor(), Yellow);
  Press("btnNextPal");
  EXPECT_EQ(w.CurrentPalette(), 0);
  Key(Qt::Key_BracketLeft);
  EXPECT_EQ(w.CurrentPalette(), 1);
  EXPECT_EQ(CueCount(cuePageTurn), 3);
}

TEST_F(MainWindowCommands, ZoomStopsAtFourAndAtOneHalfAndScrollsHome) {
  TFMain& w = StartWith();
  const double fit = w.FitScaleValue();
  Press("btnZoomIn");
  Press("btnZoomIn");
  EXPECT_DOUBLE_EQ(w.Zoom(), 4.0);
  w.PaintingArea().horizontalScrollBar()->setValue(50);
  w.PaintingArea().verticalScrollBar()->setValue(50);
  Press("btnZoomIn");
  EXPECT_DOUBLE_EQ(w.Zoom(), 4.0);
  EXPECT_DOUBLE_EQ(w.Painter().Scale(), 4 * fit);
  EXPECT_EQ(w.PaintingArea().horizontalScrollBar()->value(), 0);
  EXPECT_EQ(w.PaintingArea().verticalScrollBar()->value(), 0);
  EXPECT_EQ(w.Painter().pos(), QPoint(0, 0));
  Press("btnZoomOut");
  Press("btnZoomOut");
  Press("btnZoomOut");
  EXPECT_DOUBLE_EQ(w.Zoom(), 0.5);
  Key(Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(w.Zoom(), 0.5);
  // At one half the picture is centred with a margin on every side.
  const QSize area = w.PaintingArea().size();
  EXPECT_EQ(w.Painter().pos(), QPoint((area.width() - w.Painter().width()) / 2,
                                      (area.height() - w.Painter().height()) / 2));
  Key(Qt::Key_Equal);
  EXPECT_DOUBLE_EQ(w.Zoom(), 1.0);
}

TEST_F(MainWindowCommands, UndoWithAnEmptyHistoryDoesNothingAndPlaysNothing) {
  TFMain& w = StartWith();
  Press("btnUndo");
  Key(Qt::Key_Escape);
  EXPECT_EQ(CueCount(cueUndo), 0);
  EXPECT_FALSE(w.ColorChanged());
  ClickPicture(20, 20);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(CueCount(cueUndo), 1);
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  EXPECT_TRUE(w.OutlineChanged());
}

// Both redo keys take back an undo with the undo cue and mark the colouring
// changed; a new fill forgets what could be redone; Escape stays undo.
TEST_F(MainWindowCommands, RedoKeysTakeBackAnUndo) {
  const std::pair<int, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Y, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}};
  for (const auto& [RedoKey, Modifiers] : keys) {
    TFMain& w = StartWith();
    Key(RedoKey, Modifiers);
    EXPECT_EQ(CueCount(cueUndo), 0) << "nothing to redo";
    ClickPicture(20, 20);
    Key(Qt::Key_Escape);
    EXPECT_EQ(PixelOf(20, 20), clWhite);
    Press("btnNextPic");
    Press("btnPrevPic");
    ClickPicture(20, 20);
    Key(Qt::Key_Escape);
    Cues.clear();
    Key(RedoKey, Modifiers);
    EXPECT_EQ(PixelOf(20, 20), Yellow);
    EXPECT_EQ(CueCount(cueUndo), 1);
    EXPECT_TRUE(w.ColorChanged());
    Key(Qt::Key_Escape);
    ClickPicture(120, 20);
    Key(RedoKey, Modifiers);
    EXPECT_EQ(PixelOf(20, 20), clWhite) << "the fill forgot the redo";
    EXPECT_EQ(PixelOf(120, 20), Yellow);
    FWindow.reset();
    FreeProgramGlobals();
    std::filesystem::remove(FFolder.File("settings.sqlite3"));
    std::filesystem::remove_all(FFolder.File("data"));
    Cues.clear();
  }
}

TEST_F(MainWindowCommands, TheSliderChangesNoSizeForTheFillAndTheBrushBringsItsOwnSize) {
  TFMain& w = StartWith();
  TQSlider& slider = w.BrushSizeSlider();
  const int before = w.Painter().BrushSize();
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.width() - 2, slider.height() / 2));
  EXPECT_EQ(slider.Value(), 8);
  EXPECT_EQ(w.Painter().BrushSize(), before);
  EXPECT_EQ(w.ToolSize(pmBrush), 8);
  Press("btnBrush");
  // The brush's own size, 8, is entry 5: position 4.
  EXPECT_EQ(slider.Value(), 4);
  EXPECT_EQ(w.Painter().BrushSize(), int(std::nearbyint(8 / w.FitScaleValue())));
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(1, slider.height() / 2));
  EXPECT_EQ(w.ToolSize(pmBrush), 1);
  Press("btnEraser");
  EXPECT_EQ(slider.Value(), 2);
  Key(Qt::Key_9);
  EXPECT_EQ(w.ToolSize(pmEraser), 60);
  EXPECT_EQ(slider.Value(), 8);
  Press("btnMBrush");
  EXPECT_EQ(w.ToolSize(pmMBrush), 1);
  EXPECT_EQ(slider.Value(), 0);
  Press("btnFill");
  Key(Qt::Key_5);
  EXPECT_EQ(w.ToolSize(pmBrush), 1);
  EXPECT_EQ(slider.Value(), 0);
}

TEST_F(MainWindowCommands, EnterSevenTimesCyclesEveryToolBackToTheFill) {
  TFMain& w = StartWith();
  const TPaintMode order[] = {pmBrush, pmMBrush, pmDropper, pmMarker, pmEraser, pmTap, pmFill};
  for (const TPaintMode mode : order) {
    Key(Qt::Key_Return);
    EXPECT_EQ(w.Painter().PaintMode(), mode);
    for (int other = pmFill; other <= pmTap; ++other)
      EXPECT_EQ(w.ToolButton(TPaintMode(other))->Down(), other == mode);
  }
  EXPECT_EQ(CueCount(cueToolChange), 7);
}

TEST_F(MainWindowCommands, ToolsShowTheirCursorsAndAPaintChangeRetintsThem) {
  TFMain& w = StartWith();
  Press("btnBrush");
  EXPECT_EQ(w.Painter().cursor().pixmap().toImage(), CursorFromTable(2).pixmap().toImage());
  ClickWell(w.PaintTray(), 2);
  EXPECT_EQ(w.Painter().PaintColor(), Red);
  EXPECT_EQ(CueCount(cueGetPaint), 1);
  // The brush pointer now carries red at its colour point.
  const QPoint p = w.ToolCursors()->ColorPoint(2);
  EXPECT_EQ(w.ToolCursors()->Cursor(2)->ColorPicture().pixel(p), qRgb(255, 0, 0));
  EXPECT_EQ(w.Painter().cursor().pixmap().toImage(), CursorFromTable(2).pixmap().toImage());
  // The paint tray refuses the tap, the mix tray does not.
  Press("btnWash");
  EXPECT_EQ(w.PaintTray().cursor().pixmap().toImage(),
            ProgramCursor(TProgramCursor::No).pixmap().toImage());
  EXPECT_EQ(w.MixTray().cursor().pixmap().toImage(), CursorFromTable(12).pixmap().toImage());
}

TEST_F(MainWindowCommands, SlashCyclesTheMixModeSilently) {
  TFMain& w = StartWith();
  Key(Qt::Key_Slash);
  EXPECT_EQ(w.Painter().MixMode(), mmDarken);
  Key(Qt::Key_Slash);
  EXPECT_EQ(w.Painter().MixMode(), mmLighten);
  Key(Qt::Key_Slash);
  EXPECT_EQ(w.Painter().MixMode(), mmOver);
  EXPECT_TRUE(Cues.empty());
}

class MainWindowSpaceStroke : public MainWindowFixture {
 protected:
  // A picture exactly the size of the painting area at the design size:
  // the fit scale is 1, so screen pixels are picture pixels.
  void SetUp() override {
    MainWindowFixture::SetUp();
    AddPicture("a.twf", "Apple", TwoAreaPicture(608, 432));
    WriteDefaults({"a.twf"});
    TFMain& w = Start();
    w.showNormal();
    // The minimum width makes the area 624 x 432: the height fits exactly.
    w.resize(TFMain::DesignWidth, TFMain::DesignHeight);
    SettlePaints();
  }
  void TearDown() override {
    QCursor::setPos(-1000, -1000);
    MainWindowFixture::TearDown();
  }

  // Holds Space over picture point (20, 60) with the 1-pixel brush and
  // steers right five times.
  void PaintLine(Qt::KeyboardModifiers Modifiers) {
    TFMain& w = *FWindow;
    Press("btnBrush");
    Key(Qt::Key_1);
    ASSERT_EQ(w.Painter().BrushSize(), 1);
    QCursor::setPos(w.Painter().mapToGlobal(QPoint(20, 60)));
    SettlePaints();
    QTest::keyPress(&w, Qt::Key_Space);
    for (int i = 0; i < 5; ++i) {
      QTest::keyPress(&w, Qt::Key_Right, Modifiers);
      SettlePaints();
    }
    QTest::keyRelease(&w, Qt::Key_Right, Modifiers);
    QTest::keyRelease(&w, Qt::Key_Space);
    SettlePaints();
    EXPECT_FALSE(w.Painter().Stroking());
    EXPECT_EQ(CueCount(cueStrokeUp), 1);
  }

  // The yellow pixels of the picture, which must be exactly the run x0..x1
  // of row y.
  int PixelsOffTheRun(int y, int x0, int x1) const {
    const TRaster24& layer = FWindow->Painter().ColorLayer();
    int wrong = 0;
    for (int py = 0; py < layer.Height(); ++py)
      for (int px = 0; px < layer.Width(); ++px)
        wrong += (layer.Pixel(px, py) == Yellow) != (py == y && px >= x0 && px <= x1);
    return wrong;
  }
};

TEST_F(MainWindowSpaceStroke, FiveRightPressesPaintAFivePixelLine) {
  ASSERT_DOUBLE_EQ(FWindow->Painter().Scale(), 1.0);
  PaintLine({});
  // A line five pixels long from x = 20 covers the pixels 20 to 25.
  EXPECT_EQ(PixelsOffTheRun(60, 20, 25), 0);
}

TEST_F(MainWindowSpaceStroke, WithShiftTheLineIsFortyPixels) {
  ASSERT_DOUBLE_EQ(FWindow->Painter().Scale(), 1.0);
  PaintLine(Qt::ShiftModifier);
  EXPECT_EQ(PixelsOffTheRun(60, 20, 60), 0);
}

}  // namespace
}  // namespace tw::test
