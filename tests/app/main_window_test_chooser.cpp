// The picture chooser in the main window: opened from the title line and
// the Home key, moved over with the keys, scrolled by wheel, drag and
// touch, choosing through the window's picture opening (which keeps the
// colouring of the picture left), damaged entries, closing, the window's
// keys standing still while it is open, and the kept thumbnails.
#include <sys/stat.h>

#include <QPointingDevice>
#include <QScrollArea>
#include <QWheelEvent>

#include "app/PictureChooserU.h"
#include "app/ThumbnailKeyU.h"
#include "app/main_window_test_support.h"
#include "painter/image/ImageFileU.h"

namespace tw::test {
namespace {

// The ring of the keys and the open picture's frame, as a child sees them.
constexpr TColor RingOrange = RGB(255, 140, 0);
constexpr TColor FrameGreen = RGB(46, 160, 67);

QPointingDevice* TouchScreen() {
  static QPointingDevice* device = QTest::createTouchDevice();
  return device;
}

bool Near(TColor a, TColor b, int Tolerance = 24) {
  return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= Tolerance &&
         std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= Tolerance &&
         std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= Tolerance;
}

// Pixels of Colour (within Tolerance on each channel) in Area of the image,
// clipped to it.
int CountNear(const QImage& Image, QRect Area, TColor Colour, int Tolerance = 24) {
  Area = Area.intersected(Image.rect());
  int n = 0;
  for (int y = Area.top(); y <= Area.bottom(); ++y)
    for (int x = Area.left(); x <= Area.right(); ++x)
      n += Near(PixelAt(Image, x, y), Colour, Tolerance);
  return n;
}

class PictureChooserTest : public MainWindowFixture {
 protected:
  // Count generated pictures "p00.twf", ... with StayColored 2.
  void Prepare(int Count, const std::vector<std::string>& Extra = {}) {
    std::vector<std::string> catalog;
    for (int i = 0; i < Count; ++i) {
      const std::string name = Name(i);
      AddPicture(name, "Picture " + std::to_string(i));
      catalog.push_back(name);
    }
    catalog.insert(catalog.end(), Extra.begin(), Extra.end());
    WriteDefaults(catalog, "StayColored=2");
  }
  static std::string Name(int i) {
    return "p" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".twf";
  }

  TPictureChooser& Chooser() const { return FWindow->Chooser(); }
  // Every thumbnail asked for so far is made and handed over.
  void Drain() const { Chooser().Thumbnails().Loader().WaitAndDeliver(); }
  QImage Shot() const { return Chooser().grab().toImage(); }
  // The band around a tile, the half of the gap nearer to it, that only
  // its own ring can fill.
  static int RingPixels(const QImage& Image, const QRect& Tile) {
    const int Band = TPictureChooser::TileGap / 2;
    return CountNear(Image, Tile.adjusted(-Band, -Band, Band, Band), RingOrange) -
           CountNear(Image, Tile, RingOrange);
  }
  void ClickTitle() const {
    const QPoint at = FWindow->TitleLabel().geometry().center();
    QTest::mouseClick(FWindow.get(), Qt::LeftButton, {}, at);
  }
  void SendWheel(int Notches) const {
    const QPointF at = QPointF(Chooser().rect().center());
    QWheelEvent event(at, QPointF(Chooser().mapToGlobal(at.toPoint())), QPoint(),
                      QPoint(0, -120 * Notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&Chooser(), &event);
  }
  void SendMouse(QEvent::Type Type, QPoint At, Qt::MouseButton Button,
                 Qt::MouseButtons Buttons) const {
    QMouseEvent event(Type, QPointF(At), QPointF(Chooser().mapToGlobal(At)), Button, Buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&Chooser(), &event);
  }
};

TEST_F(PictureChooserTest, HomeOpensItOverThePaintingAreaWithTheOpenPictureMarked) {
  Prepare(6);
  TFMain& w = Start();
  w.OpenPicture(2);
  EXPECT_FALSE(w.ChooserOpen());
  Key(Qt::Key_Home);
  ASSERT_TRUE(w.ChooserOpen());
  EXPECT_EQ(Chooser().geometry(), w.PaintingArea().geometry());
  EXPECT_EQ(Chooser().Marked(), 2);
  EXPECT_EQ(Chooser().Entries(), w.Catalog());
  Drain();
  const QImage shot = Shot();
  // The open picture's tile has the ring and the green frame; no other has.
  for (int i = 0; i < 6; ++i) {
    const QRect tile = Chooser().TileRect(i);
    if (!shot.rect().contains(tile)) continue;
    EXPECT_EQ(RingPixels(shot, tile) > 0, i == 2) << i;
    EXPECT_EQ(CountNear(shot, tile, FrameGreen, 8) > 40, i == 2) << i;
  }
}

TEST_F(PictureChooserTest, AClickOnTheTitleLineOpensItAndAnotherClosesIt) {
  Prepare(3);
  TFMain& w = Start();
  ClickTitle();
  EXPECT_TRUE(w.ChooserOpen());
  ClickTitle();
  EXPECT_FALSE(w.ChooserOpen());
  EXPECT_EQ(w.CurrentPicture(), 0);
}

TEST_F(PictureChooserTest, TheArrowsPageKeysHomeAndEndMoveTheRingAsItIsSeen) {
  Prepare(30);
  TFMain& w = Start();
  Key(Qt::Key_Home);
  ASSERT_TRUE(w.ChooserOpen());
  const TPictureChooser& c = Chooser();
  ASSERT_GE(c.Grid().Columns(), 2);
  auto shown = [&c](int i) { return c.rect().contains(c.TileRect(i)); };
  EXPECT_EQ(c.Marked(), 0);
  Key(Qt::Key_Right);
  EXPECT_EQ(c.Marked(), 1);
  // Down: the tile straight below.
  const QRect before = c.TileRect(1);
  Key(Qt::Key_Down);
  const QRect below = c.TileRect(c.Marked());
  EXPECT_EQ(below.left(), before.left());
  EXPECT_GT(below.top(), before.bottom());
  EXPECT_TRUE(shown(c.Marked()));
  Key(Qt::Key_Up);
  EXPECT_EQ(c.Marked(), 1);
  Key(Qt::Key_Left);
  Key(Qt::Key_Left);
  EXPECT_EQ(c.Marked(), 0);
  // A page down lands in the same column, further down, and is shown whole.
  Key(Qt::Key_PageDown);
  const int paged = c.Marked();
  EXPECT_GT(paged, c.Grid().Columns() - 1);
  EXPECT_EQ(c.TileRect(paged).left(), c.TileRect(0).left());
  EXPECT_TRUE(shown(paged));
  Key(Qt::Key_End);
  EXPECT_EQ(c.Marked(), 29);
  EXPECT_TRUE(shown(29));
  EXPECT_GT(c.ScrollOffset(), 0);
  QImage shot = Shot();
  EXPECT_GT(RingPixels(shot, c.TileRect(29)), 0);
  EXPECT_EQ(RingPixels(shot, c.TileRect(28)), 0);
  Key(Qt::Key_PageUp);
  EXPECT_LT(c.Marked(), 29);
  Key(Qt::Key_Home);
  EXPECT_EQ(c.Marked(), 0);
  EXPECT_TRUE(shown(0));
  EXPECT_EQ(c.ScrollOffset(), 0);
  shot = Shot();
  EXPECT_GT(RingPixels(shot, c.TileRect(0)), 0);
  // Nothing was opened by moving.
  EXPECT_EQ(w.CurrentPicture(), 0);
}

TEST_F(PictureChooserTest, ReturnOpensTheChosenPictureAfterKeepingTheColouringOfTheOneLeft) {
  Prepare(4);
  TFMain& w = Start();
  ClickPicture(20, 20);
  ASSERT_EQ(PixelOf(20, 20), Yellow);
  ASSERT_FALSE(std::filesystem::exists(Kept(Name(0)).ColorFile));
  Key(Qt::Key_Home);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  Key(Qt::Key_Return);
  EXPECT_FALSE(w.ChooserOpen());
  EXPECT_EQ(w.CurrentPicture(), 2);
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  ASSERT_TRUE(std::filesystem::exists(Kept(Name(0)).ColorFile));
  EXPECT_EQ(ReadImageFile(Kept(Name(0)).ColorFile).Pixel(20, 20), Yellow);
  EXPECT_EQ(CueCount(cuePageTurn), 1);
}

TEST_F(PictureChooserTest, SpaceAndAClickOnATileOpenThatPicture) {
  Prepare(4);
  TFMain& w = Start();
  Key(Qt::Key_Home);
  Key(Qt::Key_Right);
  Key(Qt::Key_Space);
  EXPECT_FALSE(w.ChooserOpen());
  EXPECT_EQ(w.CurrentPicture(), 1);
  // The release of Space after the choice presses nothing in the window.
  QTest::keyRelease(FWindow.get(), Qt::Key_Space);
  EXPECT_EQ(PixelOf(20, 20), clWhite);
  Key(Qt::Key_Home);
  QTest::mouseClick(&Chooser(), Qt::LeftButton, {}, Chooser().TileRect(3).center());
  EXPECT_FALSE(w.ChooserOpen());
  EXPECT_EQ(w.CurrentPicture(), 3);
  // Choosing the open picture only closes the chooser; its undo step stays.
  ClickPicture(20, 20);
  Key(Qt::Key_Home);
  Key(Qt::Key_Return);
  EXPECT_EQ(w.CurrentPicture(), 3);
  EXPECT_TRUE(w.Painter().CanUndo());
}

TEST_F(PictureChooserTest, ADamagedOrMissingPictureShowsANeutralTileAndTheOthersStillWork) {
  WriteTextFile(CatalogFolder() + "garbage.twf", "this is no picture at all");
  Prepare(3, {"garbage.twf", "gone.twf"});
  TFMain& w = Start();
  Key(Qt::Key_Home);
  Drain();
  TChooserThumbnails& thumbs = Chooser().Thumbnails();
  EXPECT_EQ(thumbs.State("garbage.twf"), TThumbnailState::Broken);
  EXPECT_EQ(thumbs.State("gone.twf"), TThumbnailState::Broken);
  EXPECT_EQ(thumbs.State(Name(1)), TThumbnailState::Shown);
  EXPECT_TRUE(FAnswerer->Seen.empty());
  const QImage shot = Shot();
  // A broken tile is grey through its middle; a good one shows its white
  // picture with the black line.
  const QRect broken = Chooser().TileRect(3);
  const QRect good = Chooser().TileRect(1);
  const QPoint middle = broken.center() + QPoint(-broken.width() / 3, 0);
  const TColor grey = PixelAt(shot, middle.x(), middle.y());
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
  EXPECT_LT(GetRValue(grey), 230);
  EXPECT_EQ(CountNear(shot, broken, clWhite, 4), 0);
  EXPECT_GT(CountNear(shot, good, clBlack, 40), 40);
  // The chooser goes on: the last good picture opens.
  Key(Qt::Key_Home);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  Key(Qt::Key_Return);
  EXPECT_EQ(w.CurrentPicture(), 2);
  EXPECT_TRUE(w.Painter().HasPicture());
}

TEST_F(PictureChooserTest, EscapeAndAClickBesideItCloseIt) {
  Prepare(3);
  TFMain& w = Start();
  Key(Qt::Key_Home);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(w.ChooserOpen());
  // Escape closed the chooser and undid nothing.
  EXPECT_EQ(w.CurrentPicture(), 0);
  Key(Qt::Key_Home);
  ASSERT_TRUE(w.ChooserOpen());
  // A press on a tool button only closes the chooser.
  Press("btnBrush");
  EXPECT_FALSE(w.ChooserOpen());
  EXPECT_EQ(w.Painter().PaintMode(), pmFill);
  Key(Qt::Key_Home);
  QTest::mouseClick(&w.PaintTray(), Qt::LeftButton, {}, WellCentre(w.PaintTray(), 2));
  EXPECT_FALSE(w.ChooserOpen());
  EXPECT_EQ(w.CurrentWell(), 0);
  EXPECT_EQ(w.CurrentPicture(), 0);
}

TEST_F(PictureChooserTest, TheWindowsKeysDoNothingWhileItIsOpen) {
  Prepare(3);
  TFMain& w = Start();
  ClickPicture(20, 20);
  const double zoom = w.Zoom();
  const int size = w.ToolSize(pmBrush);
  Key(Qt::Key_Home);
  for (const int key :
       {int(Qt::Key_Equal), int(Qt::Key_Minus), int(Qt::Key_Period), int(Qt::Key_BracketRight),
        int(Qt::Key_Slash), int(Qt::Key_3), int(Qt::Key_F2)})
    Key(key);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_S, Qt::ControlModifier);
  // Page Down moves the ring, not the picture.
  Key(Qt::Key_PageDown);
  EXPECT_TRUE(w.ChooserOpen());
  EXPECT_EQ(w.Zoom(), zoom);
  EXPECT_EQ(w.ToolSize(pmBrush), size);
  EXPECT_EQ(w.CurrentWell(), 0);
  EXPECT_EQ(w.CurrentPalette(), 0);
  EXPECT_EQ(w.Painter().MixMode(), mmOver);
  EXPECT_EQ(PixelOf(20, 20), Yellow);
  EXPECT_EQ(w.CurrentPicture(), 0);
  EXPECT_TRUE(FAnswerer->Seen.empty());
  Key(Qt::Key_Escape);
  // Closed, the keys work again.
  Key(Qt::Key_Period);
  EXPECT_EQ(w.CurrentWell(), 1);
}

TEST_F(PictureChooserTest, TheWheelADragAndAFingerScrollAndNoneOfThemChooses) {
  Prepare(40);
  TFMain& w = Start();
  Key(Qt::Key_Home);
  TPictureChooser& c = Chooser();
  ASSERT_GT(c.Grid().ContentHeight(), c.height());
  const int top = c.TileRect(0).top();
  SendWheel(2);
  EXPECT_GT(c.ScrollOffset(), 0);
  EXPECT_LT(c.TileRect(0).top(), top);
  SendWheel(-2);
  EXPECT_EQ(c.ScrollOffset(), 0);
  // A drag upwards by 100 pixels moves the tiles up by as much.
  const QPoint from = c.TileRect(0).center();
  SendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  for (int dy = 10; dy <= 100; dy += 10)
    SendMouse(QEvent::MouseMove, from - QPoint(0, dy), Qt::NoButton, Qt::LeftButton);
  SendMouse(QEvent::MouseButtonRelease, from - QPoint(0, 100), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(c.TileRect(0).top(), top - 100);
  EXPECT_TRUE(w.ChooserOpen());
  // A finger does the same.
  const QPoint touch = c.TileRect(1).center();
  QTest::touchEvent(&c, TouchScreen()).press(0, touch, &c);
  for (int dy = 10; dy <= 60; dy += 10)
    QTest::touchEvent(&c, TouchScreen()).move(0, touch - QPoint(0, dy), &c);
  QTest::touchEvent(&c, TouchScreen()).release(0, touch - QPoint(0, 60), &c);
  EXPECT_EQ(c.TileRect(0).top(), top - 160);
  EXPECT_TRUE(w.ChooserOpen());
  EXPECT_EQ(w.CurrentPicture(), 0);
  // A tap chooses.
  const QPoint tap = c.TileRect(c.Grid().Columns()).center();
  ASSERT_TRUE(c.rect().contains(tap));
  QTest::touchEvent(&c, TouchScreen()).press(0, tap, &c);
  QTest::touchEvent(&c, TouchScreen()).release(0, tap, &c);
  EXPECT_FALSE(w.ChooserOpen());
  EXPECT_EQ(w.CurrentPicture(), c.Grid().Columns());
}

TEST_F(PictureChooserTest, ThumbnailsAreKeptReusedAndMadeAgainWhenTheColouringChanges) {
  Prepare(3);
  TFMain& w = Start();
  Key(Qt::Key_Home);
  Drain();
  const std::string kept = ThumbnailFileName(Name(1));
  ASSERT_TRUE(std::filesystem::exists(kept));
  struct stat first {};
  ASSERT_EQ(stat(kept.c_str(), &first), 0);
  // Opened again with nothing changed: the kept file is used as it is.
  Key(Qt::Key_Escape);
  Key(Qt::Key_Home);
  Drain();
  struct stat second {};
  ASSERT_EQ(stat(kept.c_str(), &second), 0);
  EXPECT_EQ(second.st_ino, first.st_ino);
  EXPECT_EQ(second.st_mtim.tv_nsec, first.st_mtim.tv_nsec);
  QImage shot = Shot();
  EXPECT_EQ(CountNear(shot, Chooser().TileRect(1), Yellow, 8), 0);
  // Picture 1 coloured and left: its tile shows the colour, from a new file.
  Key(Qt::Key_Right);
  Key(Qt::Key_Return);
  ClickPicture(20, 20);
  Press("btnPrevPic");
  ASSERT_EQ(w.CurrentPicture(), 0);
  Key(Qt::Key_Home);
  Drain();
  struct stat third {};
  ASSERT_EQ(stat(kept.c_str(), &third), 0);
  EXPECT_NE(third.st_ino, first.st_ino);
  shot = Shot();
  EXPECT_GT(CountNear(shot, Chooser().TileRect(1), Yellow, 8), 200);
  EXPECT_EQ(CountNear(shot, Chooser().TileRect(2), Yellow, 8), 0);
}

TEST_F(PictureChooserTest, ColouringsDeletedAtCloseTakeTheirThumbnailsWithThem) {
  AddPicture("a.twf", "Apple");
  AddPicture("b.twf", "Bear");
  WriteDefaults({"a.twf", "b.twf"}, "StayColored=1");
  Start();
  ClickPicture(20, 20);
  Press("btnNextPic");
  ASSERT_TRUE(std::filesystem::exists(Kept("a.twf").ColorFile));
  Key(Qt::Key_Home);
  Drain();
  ASSERT_TRUE(std::filesystem::exists(ThumbnailFileName("a.twf")));
  Key(Qt::Key_Escape);
  CloseWindow(true);
  EXPECT_FALSE(std::filesystem::exists(Kept("a.twf").ColorFile));
  EXPECT_FALSE(std::filesystem::exists(ThumbnailFileName("a.twf")));
}

TEST_F(PictureChooserTest, TheOpenPicturesTileShowsWhatIsPaintedBeforeItIsKept) {
  Prepare(2);
  TFMain& w = Start();
  ClickPicture(20, 20);
  ASSERT_FALSE(std::filesystem::exists(Kept(Name(0)).ColorFile));
  Key(Qt::Key_Home);
  Drain();
  const QImage shot = Shot();
  EXPECT_GT(CountNear(shot, Chooser().TileRect(0), Yellow, 8), 200);
  EXPECT_EQ(CountNear(shot, Chooser().TileRect(1), Yellow, 8), 0);
  EXPECT_TRUE(w.ChooserOpen());
}

TEST_F(PictureChooserTest, AThumbnailFolderThatCannotBeWrittenOnlyMeansNothingIsKept) {
  Prepare(3);
  // A file where the folder would be.
  std::string folder = ThumbnailFolder();
  folder.pop_back();
  std::filesystem::create_directories(std::filesystem::path(folder).parent_path());
  WriteTextFile(folder, "in the way");
  TFMain& w = Start();
  Key(Qt::Key_Home);
  Drain();
  EXPECT_EQ(Chooser().Thumbnails().State(Name(1)), TThumbnailState::Shown);
  EXPECT_EQ(Chooser().Thumbnails().State(Name(2)), TThumbnailState::Shown);
  EXPECT_TRUE(FAnswerer->Seen.empty());
  Key(Qt::Key_Right);
  Key(Qt::Key_Return);
  EXPECT_EQ(w.CurrentPicture(), 1);
}

}  // namespace
}  // namespace tw::test
