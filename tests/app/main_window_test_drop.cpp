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
#include <fstream>

#include "app/main_window_test_support.h"
#include "pages/LineArtU.h"
#include "pictures/QCGraphicU.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

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
  bool Drop(const std::vector<std::string>& Files) {
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
    return Enter.isAccepted();
  }

  size_t SeenWhenTheDropEnded = 0;

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

}  // namespace
}  // namespace tw::test
