// Image files dropped on the main window: a PNG becomes a new last catalog
// entry, a page file in the user's pages folder titled with the file's name,
// which opens and fills up to its lines; a file that is no image is refused
// with one message; the parent's password is asked first when set; and a
// drop while the chooser is open does nothing.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <optional>

#include "app/PageProgressU.h"
#include "app/main_window_test_support.h"
#include "controls/ManualDelayClock.h"
#include "pages/LineArtU.h"
#include "pictures/QCGraphicU.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

// A conversion the test lets finish: it tells half the work done, then
// waits until the test opens the gate.
class TGatedConversion {
 public:
  TPageMaker::TConvert Convert() {
    return [this](const std::string& File, const std::function<void(double)>& Progress) {
      Progress(0.5);
      std::unique_lock<std::mutex> Hold(FLock);
      FHalfway = true;
      FChanged.notify_all();
      FChanged.wait(Hold, [this] { return FOpen; });
      return ConvertToPage(File);
    };
  }
  void Open() {
    {
      std::lock_guard<std::mutex> Guard(FLock);
      FOpen = true;
    }
    FChanged.notify_all();
  }
  // Waits until the conversion has told its progress and waits itself.
  void WaitHalfway() {
    std::unique_lock<std::mutex> Hold(FLock);
    FChanged.wait(Hold, [this] { return FHalfway; });
  }
  ~TGatedConversion() { Open(); }

 private:
  std::mutex FLock;
  std::condition_variable FChanged;
  bool FOpen = false;
  bool FHalfway = false;
};

class MainWindowDrop : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    AddPicture("a.twf", "Apple");
  }

  std::string PagesFolder() const { return FFolder.File("data") + "/Tintwell/Pages/"; }

  // A drawing with soft grey edges: a frame round a box in the middle,
  // saved as a PNG the way a parent's drawing comes.
  std::string WriteDrawing(const std::string& Name) const {
    QImage Image(160, 100, QImage::Format_RGB32);
    Image.fill(Qt::white);
    for (int y = 20; y < 80; ++y)
      for (int x = 40; x < 120; ++x) {
        const bool Edge = x < 44 || x >= 116 || y < 24 || y >= 76;
        if (Edge) Image.setPixel(x, y, qRgb(30, 30, 30));
        const bool Soft = x == 44 || x == 115 || y == 24 || y == 75;
        if (Soft && !Edge) Image.setPixel(x, y, qRgb(200, 200, 200));
      }
    const std::string File = FFolder.File(Name);
    EXPECT_TRUE(Image.save(QString::fromStdString(File), "PNG"));
    return File;
  }
  std::string WriteText(const std::string& Name) const {
    const std::string File = FFolder.File(Name);
    std::ofstream(File) << "Shopping: apples, pears.\n";
    return File;
  }

  // Drags the files over the window and drops them there; whether the
  // window took the drag.
  // Unless Finish is false, the page being made is waited for and opened.
  bool Drop(const std::vector<std::string>& Files, bool Finish = true) {
    QMimeData Data;
    QList<QUrl> Urls;
    for (const std::string& File : Files)
      Urls.push_back(QUrl::fromLocalFile(QString::fromStdString(File)));
    Data.setUrls(Urls);
    const QPoint Centre = FWindow->rect().center();
    QDragEnterEvent Enter(Centre, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(FWindow.get(), &Enter);
    QDropEvent DropEvent(QPointF(Centre), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(FWindow.get(), &DropEvent);
    // The drop itself ends at once: the program the files came from is not
    // kept waiting by the password box or a message.
    SeenWhenTheDropEnded = FAnswerer->Seen.size();
    SettlePaints();
    if (Finish) {
      FWindow->PageMaker().WaitAndDeliver();
      SettlePaints();
    }
    return Enter.isAccepted();
  }

  size_t SeenWhenTheDropEnded = 0;
  // Outlives the window (let go in TearDown), whose delays it made.
  std::optional<TManualDelayClock> FClock;

  std::vector<std::string> StoredCatalog() const {
    std::vector<std::string> List;
    QCSetting().ReadCatalog(List);
    return List;
  }
  size_t PagesCount() const {
    std::error_code Error;
    if (!fs::is_directory(PagesFolder(), Error)) return 0;
    return size_t(std::distance(fs::directory_iterator(PagesFolder()), fs::directory_iterator()));
  }
};

TEST_F(MainWindowDrop, APngBecomesTheLastPageOpensAndFillsUpToItsLines) {
  WriteDefaults({"a.twf"}, "StayColored=2");
  TFMain& Window = Start();
  EXPECT_TRUE(Window.acceptDrops());
  const std::string Drawing = WriteDrawing("Owl drawing.png");

  EXPECT_TRUE(Drop({Drawing}));
  EXPECT_TRUE(FAnswerer->Seen.empty());
  ASSERT_EQ(Window.Catalog().size(), 2u);
  EXPECT_EQ(Window.Catalog()[0], "a.twf");
  EXPECT_EQ(Window.CurrentPicture(), 1);
  EXPECT_EQ(StoredCatalog(), Window.Catalog());
  EXPECT_EQ(Window.TitleLabel().text().toStdString(), "Owl drawing");

  // The page is a picture file of its own in the pages folder, titled in
  // the child's language.
  const std::string PageFile = PagesFolder() + "Owl drawing.twf";
  ASSERT_TRUE(fs::is_regular_file(PageFile));
  EXPECT_EQ(PagesCount(), 1u);
  TQCGraphic Page;
  Page.LoadFromFile(PageFile);
  EXPECT_EQ(Page.GetTitle("en_us"), "Owl drawing");
  // The small drawing fills a page of the program's page size, its white
  // paper cut down to a narrow border.
  const int Width = Page.Image().Width(), Height = Page.Image().Height();
  ASSERT_EQ(std::max(Width, Height), 1200);
  EXPECT_EQ(CountOffPalettePixels(Page.Image()), 0);

  // Clean lines: the frame's outline is black, the paper around it and the
  // box inside white.
  const int Middle = Height / 2;
  int Crossings = 0;
  for (int x = 0; x < Width / 2; ++x)
    Crossings += PixelOf(x, Middle) == clBlack && (x == 0 || PixelOf(x - 1, Middle) != clBlack);
  EXPECT_GE(Crossings, 1);
  EXPECT_EQ(PixelOf(2, 2), clWhite);
  EXPECT_EQ(PixelOf(Width / 2, Middle), clWhite);

  // A fill in the box stays inside the frame.
  Press("btnFill");
  ClickWell(Window.PaintTray(), 0);
  ClickPicture(Width / 2, Middle);
  EXPECT_EQ(PixelOf(Width / 2, Middle), Yellow);
  EXPECT_EQ(PixelOf(Width / 4, Middle), Yellow);
  EXPECT_EQ(PixelOf(Width / 2, Height / 4), Yellow);
  EXPECT_EQ(PixelOf(2, 2), clWhite);
  EXPECT_EQ(PixelOf(Width - 3, Height - 3), clWhite);
  int Black = 0;
  for (int x = 0; x < Width / 4; ++x) Black += PixelOf(x, Middle) == clBlack;
  EXPECT_GT(Black, 0);

  // A second drop of the same name gets a page of its own.
  EXPECT_TRUE(Drop({Drawing}));
  ASSERT_EQ(Window.Catalog().size(), 3u);
  EXPECT_NE(Window.Catalog()[2], Window.Catalog()[1]);
  EXPECT_EQ(Window.CurrentPicture(), 2);
  EXPECT_EQ(PagesCount(), 2u);
  // The colouring of the page left was kept on the way.
  EXPECT_TRUE(fs::exists(Kept(Window.Catalog()[1]).ColorFile));
}

TEST_F(MainWindowDrop, ATextFileIsRefusedWithOneMessageAndNothingAdded) {
  WriteDefaults({"a.twf"});
  TFMain& Window = Start();
  Drop({WriteText("notes.txt")});
  ASSERT_EQ(FAnswerer->InfoTexts.size(), 1u);
  EXPECT_EQ(FAnswerer->Seen.size(), 1u);
  EXPECT_NE(FAnswerer->InfoTexts[0][1].find("notes.txt"), std::string::npos);
  EXPECT_EQ(Window.Catalog(), std::vector<std::string>{"a.twf"});
  EXPECT_EQ(StoredCatalog(), std::vector<std::string>{"a.twf"});
  EXPECT_EQ(Window.CurrentPicture(), 0);
  EXPECT_EQ(PagesCount(), 0u);

  // A damaged PNG is refused the same way.
  const std::string Damaged = WriteDrawing("broken.png");
  fs::resize_file(Damaged, 60);
  Drop({Damaged});
  EXPECT_EQ(FAnswerer->InfoTexts.size(), 2u);
  EXPECT_EQ(Window.Catalog(), std::vector<std::string>{"a.twf"});
  EXPECT_EQ(PagesCount(), 0u);

  // Of several files the first image is taken.
  Drop({WriteText("list.txt"), WriteDrawing("Cat.png"), WriteDrawing("Dog.png")});
  EXPECT_EQ(FAnswerer->InfoTexts.size(), 2u);
  ASSERT_EQ(Window.Catalog().size(), 2u);
  EXPECT_EQ(Window.TitleLabel().text().toStdString(), "Cat");
}

TEST_F(MainWindowDrop, ThePasswordIsAskedFirstAndAWrongOneAddsNothing) {
  WriteDefaults({"a.twf"}, "ParentPassword=Secret");
  TFMain& Window = Start();
  const std::string Drawing = WriteDrawing("Owl.png");

  FAnswerer->Inputs = {"secret", ""};
  Drop({Drawing});
  EXPECT_EQ(SeenWhenTheDropEnded, 0u);
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>(2, "Input"));
  EXPECT_EQ(Window.Catalog(), std::vector<std::string>{"a.twf"});
  EXPECT_EQ(StoredCatalog(), std::vector<std::string>{"a.twf"});
  EXPECT_EQ(PagesCount(), 0u);

  FAnswerer->Seen.clear();
  FAnswerer->Inputs = {"Secret"};
  Drop({Drawing});
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>{"Input"});
  ASSERT_EQ(Window.Catalog().size(), 2u);
  EXPECT_EQ(Window.CurrentPicture(), 1);
  EXPECT_EQ(PagesCount(), 1u);
}

TEST_F(MainWindowDrop, NothingIsTakenWhileTheChooserIsOpen) {
  WriteDefaults({"a.twf"});
  TFMain& Window = Start();
  Key(Qt::Key_Home);
  ASSERT_TRUE(Window.ChooserOpen());
  EXPECT_FALSE(Drop({WriteDrawing("Owl.png")}));
  EXPECT_TRUE(FAnswerer->Seen.empty());
  EXPECT_EQ(Window.Catalog(), std::vector<std::string>{"a.twf"});
  EXPECT_EQ(PagesCount(), 0u);
}

TEST_F(MainWindowDrop, ALongConversionShowsProgressAndTheWindowHoldsStill) {
  WriteDefaults({"a.twf"});
  TManualDelayClock& Clock = FClock.emplace();
  TFMain& Window = Start();
  TGatedConversion Gate;
  Window.PageMaker().SetConvert(Gate.Convert());
  Press("btnFill");
  ClickWell(Window.PaintTray(), 0);

  Drop({WriteDrawing("Owl.png")}, false);
  ASSERT_TRUE(Window.MakingPage());
  EXPECT_FALSE(Window.PageProgress().isVisible());
  // Presses and keys do nothing meanwhile, and no second drop is taken.
  ClickPicture(5, 5);
  EXPECT_EQ(PixelOf(5, 5), clWhite);
  Key(Qt::Key_Home);
  EXPECT_FALSE(Window.ChooserOpen());
  EXPECT_FALSE(Drop({WriteDrawing("Cat.png")}, false));

  Clock.Advance(TFMain::PageProgressDelay - 1);
  EXPECT_FALSE(Window.PageProgress().isVisible());
  Clock.Advance(1);
  Gate.WaitHalfway();
  SettlePaints();
  ASSERT_TRUE(Window.PageProgress().isVisible());
  EXPECT_EQ(Window.PageProgress().Text().toStdString(), "Making a coloring page…");
  EXPECT_DOUBLE_EQ(Window.PageProgress().Share(), 0.5);
  // The bar is filled on its left half only.
  const QImage Shown = Window.PageProgress().grab().toImage();
  const QRect Bar = Window.PageProgress().BarRect();
  const int Middle = Bar.center().y();
  EXPECT_NE(PixelAt(Shown, Bar.left() + Bar.width() / 4, Middle),
            PixelAt(Shown, Bar.right() - Bar.width() / 4, Middle));
  EXPECT_EQ(PixelAt(Shown, Bar.left() + Bar.width() / 4, Middle),
            PixelAt(Shown, Bar.left() + Bar.width() * 2 / 5, Middle));

  Gate.Open();
  Window.PageMaker().WaitAndDeliver();
  SettlePaints();
  EXPECT_FALSE(Window.MakingPage());
  EXPECT_FALSE(Window.PageProgress().isVisible());
  ASSERT_EQ(Window.Catalog().size(), 2u);
  EXPECT_EQ(Window.CurrentPicture(), 1);
  EXPECT_EQ(Window.TitleLabel().text().toStdString(), "Owl");
  // The window answers again.
  ClickPicture(5, 5);
  EXPECT_EQ(PixelOf(5, 5), Yellow);
}

TEST_F(MainWindowDrop, ClosingWhileAPageIsMadeOpensThePageFirst) {
  WriteDefaults({"a.twf"});
  TFMain& Window = Start();
  TGatedConversion Gate;
  Window.PageMaker().SetConvert(Gate.Convert());
  Drop({WriteDrawing("Owl.png")}, false);
  ASSERT_TRUE(Window.MakingPage());
  Gate.Open();
  CloseWindow(false);
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>{"Close"});
  EXPECT_FALSE(Window.MakingPage());
  ASSERT_EQ(Window.Catalog().size(), 2u);
  EXPECT_EQ(Window.CurrentPicture(), 1);
  EXPECT_EQ(StoredCatalog(), Window.Catalog());
}

}  // namespace
}  // namespace tw::test
