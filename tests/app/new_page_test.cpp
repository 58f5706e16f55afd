// Pages made from image files: the page file lands in the pages folder with
// the file's name as title, a name already taken gets a number, long and
// foreign names are cut or read so that the picture file takes them, and a
// file that is no image or cannot be written leaves nothing behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/NewPageU.h"
#include "pages/LineArtU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/CatalogEntryU.h"
#include "pictures/ColoringFolderU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QCGraphicU.h"
#include "support/EnvVar.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

class NewPage : public ::testing::Test {
 protected:
  std::string WriteJpeg(const std::string& Name) const {
    TRaster24 Image(40, 30, clWhite);
    for (int x = 0; x < 40; ++x)
      for (int y = 12; y < 16; ++y) Image.SetPixel(x, y, clBlack);
    const std::string File = FFolder.File(Name);
    WriteFileAtomically(File, EncodeJpeg(Image, 95));
    return File;
  }

  test::TTempFolder FFolder;
  test::TEnvVar FData{"XDG_DATA_HOME", FFolder.File("data")};
};

TEST_F(NewPage, PageIsWrittenInThePagesFolderTitledWithTheFileName) {
  const std::string Jpeg = WriteJpeg("Sun rise.jpg");
  EXPECT_TRUE(LooksLikeImageFile(Jpeg));
  const std::string Entry = MakeNewPage(Jpeg, "de_de", {});
  EXPECT_TRUE(IsPagesEntry(Entry));
  const std::string File = CatalogEntryFile(Entry, "/nowhere/");
  EXPECT_EQ(File, FFolder.File("data") + "/Tintwell/Pages/Sun rise.twf");
  TQCGraphic Page;
  Page.LoadFromFile(File);
  EXPECT_EQ(Page.GetTitle("de_de"), "Sun rise");
  // The small image is enlarged to the page size, and the wide dark band
  // becomes a shape to fill: every column crosses its outline (and the
  // outlines of the JPEG's ringing beside it), white above, inside and
  // below it.
  const TRaster24& Image = Page.Image();
  ASSERT_EQ(Image.Width(), 1200);
  EXPECT_EQ(CountOffPalettePixels(Image), 0);
  for (int x = 100; x < 1100; x += 100) {
    int Runs = 0;
    for (int y = 0; y < Image.Height(); ++y)
      Runs += Image.Pixel(x, y) == clBlack && (y == 0 || Image.Pixel(x, y - 1) != clBlack);
    EXPECT_GE(Runs, 2) << x;
    EXPECT_EQ(Image.Pixel(x, 0), clWhite) << x;
    EXPECT_EQ(Image.Pixel(x, Image.Height() / 2), clWhite) << x;
    EXPECT_EQ(Image.Pixel(x, Image.Height() - 1), clWhite) << x;
  }
}

TEST_F(NewPage, ATakenNameGetsAnotherAndTheSameTitle) {
  const std::string Jpeg = WriteJpeg("Sun.jpg");
  const std::string First = MakeNewPage(Jpeg, "en_us", {});
  // The file there takes the name, listed or not.
  const std::string Second = MakeNewPage(Jpeg, "en_us", {});
  EXPECT_NE(Second, First);
  // A listed entry whose file is gone keeps its name taken too.
  fs::remove(CatalogEntryFile(Second, "/"));
  const std::string Third = MakeNewPage(Jpeg, "en_us", {First, Second});
  EXPECT_NE(Third, First);
  EXPECT_NE(Third, Second);
  for (const std::string& Entry : {First, Third}) {
    TQCGraphic Page;
    Page.LoadFromFile(CatalogEntryFile(Entry, "/"));
    EXPECT_EQ(Page.GetTitle("en_us"), "Sun") << Entry;
  }
  // A colouring left behind by a page of that name, gone from the list and
  // the folder, is not taken over by a new page.
  fs::remove(CatalogEntryFile(Third, "/"));
  const std::string Kept = ColoringFolder() + ColoringFileStem(Third);
  fs::create_directories(ColoringFolder());
  std::ofstream(Kept + ColoringColorSuffix) << "GIF89a";
  EXPECT_NE(MakeNewPage(Jpeg, "en_us", {First, Second}), Third);
}

TEST_F(NewPage, LongAndForeignNamesBecomeTitlesThePictureFileHolds) {
  // A name longer than a title holds is cut before the character that
  // crosses the limit, never inside it.
  const std::string Long = std::string(254, 'a') + "\xC3\xA9" + "xyz";
  EXPECT_EQ(NewPageTitle("/x/" + Long + ".png"), std::string(254, 'a'));
  EXPECT_EQ(NewPageTitle("/x/" + std::string(255, 'a') + ".png"), std::string(255, 'a'));
  // A name in a single-byte encoding is read as one, so it is valid text.
  EXPECT_EQ(NewPageTitle("/x/Caf\xE9.png"), "Caf\xC3\xA9");
}

TEST_F(NewPage, NoImageAndAnUnwritableFolderLeaveNothing) {
  const std::string Text = FFolder.File("notes.txt");
  std::ofstream(Text) << "not a picture";
  EXPECT_FALSE(LooksLikeImageFile(Text));
  EXPECT_FALSE(LooksLikeImageFile(FFolder.File("missing.png")));
  try {
    MakeNewPage(Text, "en_us", {});
    ADD_FAILURE() << "a text file made a page";
  } catch (const ENewPage& Error) {
    EXPECT_EQ(Error.Reason(), ENewPage::NoImage);
  }
  EXPECT_FALSE(fs::exists(PagesFolder()));

  // The pages folder's place is taken by a file, so no page can be written.
  fs::create_directories(FFolder.File("data") + "/Tintwell");
  std::ofstream(FFolder.File("data") + "/Tintwell/Pages") << "in the way";
  try {
    MakeNewPage(WriteJpeg("Sun.jpg"), "en_us", {});
    ADD_FAILURE() << "a page was written where no folder can be";
  } catch (const ENewPage& Error) {
    EXPECT_EQ(Error.Reason(), ENewPage::NotWritten);
  }
  EXPECT_TRUE(fs::is_regular_file(FFolder.File("data") + "/Tintwell/Pages"));
}

}  // namespace
}  // namespace tw
