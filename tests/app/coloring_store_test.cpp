// Stored colourings: the file names, round trips through real GIF files,
// what is ignored (other size, damaged file, StayColored 0), the atomic
// write that keeps the previous colouring when writing fails, deleting, and
// the clamping of StayColored.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app/ColoringStoreU.h"
#include "base/ErrorsU.h"
#include "painter/PainterU.h"
#include "pictures/PictureTestUtil.h"
#include "support/PrivateMounts.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

// A white picture with a black box outline from (2, 2) to (9, 7).
TRaster24 BoxPicture(int Width = 12, int Height = 10) {
  TRaster24 Picture(Width, Height, clWhite);
  for (int x = 2; x <= 9; ++x) {
    Picture.SetPixel(x, 2, 0);
    Picture.SetPixel(x, 7, 0);
  }
  for (int y = 2; y <= 7; ++y) {
    Picture.SetPixel(2, y, 0);
    Picture.SetPixel(9, y, 0);
  }
  return Picture;
}

bool SameColors(const TRaster24& A, const TRaster24& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (A.Pixel(x, y) != B.Pixel(x, y)) return false;
  return true;
}

bool SameOutline(const TRaster1& A, const TRaster1& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (A.IsWhite(x, y) != B.IsWhite(x, y)) return false;
  return true;
}

std::vector<char> FileBytes(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> ReadBytes(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

void WriteBytes(const std::string& Name, const std::vector<char>& Bytes) {
  std::ofstream Out(Name, std::ios::binary | std::ios::trunc);
  Out.write(Bytes.data(), std::streamsize(Bytes.size()));
}

class ColoringStore : public ::testing::Test {
 protected:
  void SetUp() override {
    Painter.LoadPicture(BoxPicture());
    Files = ColoringFileNames("box.twf", Folder.Path() + "/saved/");
  }

  // Fills the inside of the box with Color.
  void PaintInside(TPainterModel& Model, TColor Color) {
    Model.SetPaintMode(pmFill);
    Model.SetPaintColor(Color);
    ASSERT_TRUE(Model.FillAt({5, 5}));
  }

  // Erases one pixel of the box's left side from the outline.
  void EraseOutlinePixel(TPainterModel& Model) {
    Model.SetPaintMode(pmEraser);
    Model.SetBrushSize(1);
    Model.ApplyToolAt({2, 4});
    Model.EndStroke();
    ASSERT_TRUE(Model.OutlineLayer().IsWhite(2, 4));
  }

  test::TTempFolder Folder;
  test::TWarningRecorder Warnings;
  TPainterModel Painter;
  TColoringFiles Files;
};

// A colouring's files in its folder are named after the whole entry, so
// entries in subfolders or with other extensions keep files of their own.
TEST(ColoringFileNamesTest, NameTheWholeEntryInTheColouringsFolder) {
  const TColoringFiles Files = ColoringFileNames("x.twf", "/data/Colorings/");
  EXPECT_EQ(Files.ColorFile, "/data/Colorings/x.twf.colour.gif");
  EXPECT_EQ(Files.OutlineFile, "/data/Colorings/x.twf.outline.gif");
  EXPECT_EQ(ColoringFileNames("sub/x.twf", "/d/").ColorFile, "/d/sub%2Fx.twf.colour.gif");
  EXPECT_NE(ColoringFileNames("x.png", "/d/").ColorFile, ColoringFileNames("x.twf", "/d/").ColorFile);
  EXPECT_EQ(ColoringFileNames("x.twf").ColorFile, ColoringFolder() + "x.twf.colour.gif");
}

// Where earlier versions kept a colouring in the save folder.
TEST(ColoringFileNamesTest, ReplaceTheEntrysExtension) {
  const TColoringFiles Files = LegacyColoringFileNames("x.twf", "/home/ann/saved/");
  EXPECT_EQ(Files.ColorFile, "/home/ann/saved/x.gif");
  EXPECT_EQ(Files.OutlineFile, "/home/ann/saved/x.Mask.gif");
}

TEST(ColoringFileNamesTest, KeepTheSettingsTextAsWritten) {
  const TColoringFiles Files =
      LegacyColoringFileNames("Cat.TWF", "/home/ann/Pictures\\Tintwell\\saved\\");
  EXPECT_EQ(Files.ColorFile, "/home/ann/Pictures\\Tintwell\\saved\\Cat.gif");
  EXPECT_EQ(Files.OutlineFile, "/home/ann/Pictures\\Tintwell\\saved\\Cat.Mask.gif");
}

TEST(ColoringFileNamesTest, OnlyTheLastDotOfTheLastNameIsTheExtension) {
  EXPECT_EQ(LegacyColoringFileNames("a.b.twf", "S/").ColorFile, "S/a.b.gif");
  EXPECT_EQ(LegacyColoringFileNames("a.b.twf", "S/").OutlineFile, "S/a.b.Mask.gif");
  EXPECT_EQ(LegacyColoringFileNames("plain", "S/").ColorFile, "S/plain.gif");
  EXPECT_EQ(LegacyColoringFileNames("plain", "S/").OutlineFile, "S/plain.Mask.gif");
  EXPECT_EQ(LegacyColoringFileNames("sub.d\\pic", "S/").ColorFile, "S/sub.d\\pic.gif");
  EXPECT_EQ(LegacyColoringFileNames("sub.d/pic", "S.x/").OutlineFile, "S.x/sub.d/pic.Mask.gif");
}

TEST(StayColoredTest, OutOfRangeValuesAreClamped) {
  EXPECT_EQ(ClampStayColored(INT_MIN), scNever);
  EXPECT_EQ(ClampStayColored(-1), scNever);
  EXPECT_EQ(ClampStayColored(0), scNever);
  EXPECT_EQ(ClampStayColored(1), scWhileRunning);
  EXPECT_EQ(ClampStayColored(2), scAcrossRuns);
  EXPECT_EQ(ClampStayColored(3), scAcrossRuns);
  EXPECT_EQ(ClampStayColored(INT_MAX), scAcrossRuns);
}

TEST(StayColoredTest, WhatEachValueAllows) {
  EXPECT_FALSE(StoresColorings(scNever));
  EXPECT_FALSE(StoresColoringAtClose(scNever));
  EXPECT_FALSE(DeletesColoringsAtClose(scNever));
  EXPECT_TRUE(StoresColorings(scWhileRunning));
  EXPECT_FALSE(StoresColoringAtClose(scWhileRunning));
  EXPECT_TRUE(DeletesColoringsAtClose(scWhileRunning));
  EXPECT_TRUE(StoresColorings(scAcrossRuns));
  EXPECT_TRUE(StoresColoringAtClose(scAcrossRuns));
  EXPECT_FALSE(DeletesColoringsAtClose(scAcrossRuns));
}

TEST_F(ColoringStore, AColouringComesBackFromTheFiles) {
  PaintInside(Painter, RGB(200, 30, 40));
  ASSERT_TRUE(StoreColoring(Painter, Files, true, false, scAcrossRuns));
  EXPECT_TRUE(fs::is_regular_file(Files.ColorFile));
  EXPECT_FALSE(fs::exists(Files.OutlineFile)) << "only the colour changed";

  TPainterModel Reopened;
  Reopened.LoadPicture(BoxPicture());
  const TColoringLoadResult Result = LoadColoring(Reopened, Files, scAcrossRuns);
  EXPECT_EQ(Result.Outline, TColoringLoad::Missing);
  EXPECT_EQ(Result.Color, TColoringLoad::Loaded);
  EXPECT_EQ(Reopened.ColorLayer().Pixel(5, 5), RGB(200, 30, 40));
  EXPECT_EQ(Reopened.ColorLayer().Pixel(0, 0), clWhite);
  EXPECT_EQ(Reopened.ColorLayer().Pixel(2, 4), TColor(0));
  EXPECT_TRUE(SameColors(Reopened.ColorLayer(), Painter.ColorLayer()));
  EXPECT_TRUE(Warnings.Messages.empty());
}

TEST_F(ColoringStore, AChangedOutlineComesBackFirst) {
  PaintInside(Painter, RGB(10, 120, 250));
  EraseOutlinePixel(Painter);
  ASSERT_TRUE(StoreColoring(Painter, Files, true, true, scWhileRunning));
  EXPECT_TRUE(fs::is_regular_file(Files.OutlineFile));

  TPainterModel Reopened;
  Reopened.LoadPicture(BoxPicture());
  const TColoringLoadResult Result = LoadColoring(Reopened, Files, scWhileRunning);
  EXPECT_EQ(Result.Outline, TColoringLoad::Loaded);
  EXPECT_EQ(Result.Color, TColoringLoad::Loaded);
  EXPECT_TRUE(Reopened.OutlineLayer().IsWhite(2, 4));
  EXPECT_FALSE(Reopened.OutlineLayer().IsWhite(2, 3));
  EXPECT_TRUE(SameOutline(Reopened.OutlineLayer(), Painter.OutlineLayer()));
  EXPECT_TRUE(SameColors(Reopened.ColorLayer(), Painter.ColorLayer()));
}

TEST_F(ColoringStore, FoldersWrittenWithBackslashesAreCreated) {
  const TColoringFiles Named = ColoringFileNames("box.twf", Folder.Path() + "\\deep\\saved\\");
  PaintInside(Painter, RGB(1, 2, 3));
  ASSERT_TRUE(StoreColoring(Painter, Named, true, true, scAcrossRuns));
  EXPECT_TRUE(fs::is_regular_file(Folder.Path() + "/deep/saved/box.twf.colour.gif"));
  EXPECT_TRUE(fs::is_regular_file(Folder.Path() + "/deep/saved/box.twf.outline.gif"));
  EXPECT_TRUE(DropColoring(Named));
  EXPECT_FALSE(fs::exists(Folder.Path() + "/deep/saved/box.twf.colour.gif"));
  EXPECT_FALSE(fs::exists(Folder.Path() + "/deep/saved/box.twf.outline.gif"));
}

TEST_F(ColoringStore, NothingIsWrittenWithoutAColourChangeOrWithStayColoredZero) {
  PaintInside(Painter, RGB(200, 30, 40));
  EXPECT_FALSE(StoreColoring(Painter, Files, false, true, scAcrossRuns));
  EXPECT_FALSE(StoreColoring(Painter, Files, true, true, scNever));
  EXPECT_FALSE(fs::exists(Files.ColorFile));
  EXPECT_FALSE(fs::exists(Files.OutlineFile));
}

TEST_F(ColoringStore, StayColoredZeroReadsNothingBack) {
  PaintInside(Painter, RGB(200, 30, 40));
  ASSERT_TRUE(StoreColoring(Painter, Files, true, false, scAcrossRuns));
  TPainterModel Reopened;
  Reopened.LoadPicture(BoxPicture());
  const TColoringLoadResult Result = LoadColoring(Reopened, Files, scNever);
  EXPECT_EQ(Result.Outline, TColoringLoad::NotAllowed);
  EXPECT_EQ(Result.Color, TColoringLoad::NotAllowed);
  EXPECT_EQ(Reopened.ColorLayer().Pixel(5, 5), clWhite);
}

TEST_F(ColoringStore, AColouringOfAnotherSizeIsIgnored) {
  PaintInside(Painter, RGB(200, 30, 40));
  EraseOutlinePixel(Painter);
  ASSERT_TRUE(StoreColoring(Painter, Files, true, true, scAcrossRuns));

  // The picture file was replaced by a wider one under the same name.
  TPainterModel Replaced;
  Replaced.LoadPicture(BoxPicture(13, 10));
  const TColoringLoadResult Result = LoadColoring(Replaced, Files, scAcrossRuns);
  EXPECT_EQ(Result.Outline, TColoringLoad::WrongSize);
  EXPECT_EQ(Result.Color, TColoringLoad::WrongSize);
  EXPECT_TRUE(SameColors(Replaced.ColorLayer(), BoxPicture(13, 10)));
  EXPECT_FALSE(Replaced.OutlineLayer().IsWhite(2, 4));
  EXPECT_TRUE(fs::exists(Files.ColorFile)) << "the files stay; nothing is lost";
  EXPECT_TRUE(Warnings.Messages.empty());
}

TEST_F(ColoringStore, ADamagedFileIsIgnoredQuietly) {
  fs::create_directories(Folder.Path() + "/saved");
  WriteBytes(Files.ColorFile, {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3});
  WriteBytes(Files.OutlineFile, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  const TColoringLoadResult Result = LoadColoring(Painter, Files, scAcrossRuns);
  EXPECT_EQ(Result.Outline, TColoringLoad::Unreadable);
  EXPECT_EQ(Result.Color, TColoringLoad::Unreadable);
  EXPECT_TRUE(SameColors(Painter.ColorLayer(), BoxPicture()));
  EXPECT_TRUE(Warnings.Messages.empty());
}

TEST_F(ColoringStore, MissingFilesAreSimplyNotRead) {
  const TColoringLoadResult Result = LoadColoring(Painter, Files, scWhileRunning);
  EXPECT_EQ(Result.Outline, TColoringLoad::Missing);
  EXPECT_EQ(Result.Color, TColoringLoad::Missing);
  EXPECT_TRUE(SameColors(Painter.ColorLayer(), BoxPicture()));
}

// Writing more than the process may write fails the way a full disk does.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t Bytes) {
    getrlimit(RLIMIT_FSIZE, &FOld);
    FOldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit Limit = FOld;
    Limit.rlim_cur = Bytes;
    setrlimit(RLIMIT_FSIZE, &Limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    signal(SIGXFSZ, FOldHandler);
  }

 private:
  rlimit FOld{};
  sighandler_t FOldHandler;
};

TEST_F(ColoringStore, AFailedWriteKeepsThePreviousColouring) {
  PaintInside(Painter, RGB(200, 30, 40));
  ASSERT_TRUE(StoreColoring(Painter, Files, true, true, scAcrossRuns));
  const std::vector<char> OldColor = FileBytes(Files.ColorFile);
  const std::vector<char> OldOutline = FileBytes(Files.OutlineFile);
  ASSERT_GT(OldColor.size(), 16u);

  PaintInside(Painter, RGB(0, 0, 255));
  {
    TFileSizeLimit Limit(16);
    EXPECT_THROW(StoreColoring(Painter, Files, true, true, scAcrossRuns), EError);
  }
  EXPECT_EQ(FileBytes(Files.ColorFile), OldColor);
  EXPECT_EQ(FileBytes(Files.OutlineFile), OldOutline);
  size_t FilesInFolder = 0;
  for ([[maybe_unused]] const auto& Entry : fs::directory_iterator(Folder.Path() + "/saved"))
    ++FilesInFolder;
  EXPECT_EQ(FilesInFolder, 2u) << "no temporary file is left behind";

  TPainterModel Reopened;
  Reopened.LoadPicture(BoxPicture());
  LoadColoring(Reopened, Files, scAcrossRuns);
  EXPECT_EQ(Reopened.ColorLayer().Pixel(5, 5), RGB(200, 30, 40));
}

// The program dies after the outline file's rename and before the colour
// file's: written in that order, what is read back shows at every pixel
// either the colouring before or the colouring after, nothing else.
TEST_F(ColoringStore, AnOutlineWrittenWithoutItsColourFileGivesTheOldOrTheNewState) {
  std::mt19937 Random(5);
  const int Width = 120, Height = 100;
  TRaster24 Picture(Width, Height, clWhite);
  for (int y = 0; y < Height; ++y) Picture.SetPixel(60, y, 0);
  TPainterModel Before;
  Before.LoadPicture(Picture);
  // Many colours: the colour file is far larger than the outline file.
  TRaster24 Noise(Width, Height, clWhite);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) Noise.SetPixel(x, y, TColor(0x010101 * (1 + Random() % 200)));
  Before.AssignLayer(TBitmap(Noise), false);
  ASSERT_TRUE(StoreColoring(Before, Files, true, true, scAcrossRuns));
  const std::vector<char> OldColor = FileBytes(Files.ColorFile);
  ASSERT_GT(OldColor.size(), 8192u);

  // After: the line erased in part, a new line drawn, a brush stroke.
  TPainterModel After;
  After.LoadPicture(Picture);
  After.AssignLayer(TBitmap(Noise), false);
  After.SetPaintMode(pmEraser);
  After.SetBrushSize(1);
  After.ApplyToolAt({60, 10});
  After.StrokeTo({60, 30});
  After.EndStroke();
  After.SetPaintMode(pmMarker);
  After.ApplyToolAt({10, 50});
  After.StrokeTo({110, 50});
  After.EndStroke();
  After.SetPaintMode(pmBrush);
  After.SetPaintColor(RGB(0, 200, 0));
  After.ApplyToolAt({5, 5});
  After.StrokeTo({40, 80});
  After.EndStroke();
  const TBitmap NewOutline = After.CopyLayer(true);
  {
    TFileSizeLimit Limit(4096);
    EXPECT_THROW(WriteColoring(After.CopyLayer(false), &NewOutline, Files), EError);
  }
  EXPECT_EQ(FileBytes(Files.ColorFile), OldColor) << "the colour file stays whole";
  TPainterModel Reopened;
  Reopened.LoadPicture(Picture);
  const TColoringLoadResult Result = LoadColoring(Reopened, Files, scAcrossRuns);
  ASSERT_EQ(Result.Outline, TColoringLoad::Loaded);
  ASSERT_EQ(Result.Color, TColoringLoad::Loaded);
  EXPECT_TRUE(SameOutline(Reopened.OutlineLayer(), After.OutlineLayer()));
  int Newer = 0;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      const TColor Got = Reopened.ColorLayer().Pixel(x, y);
      ASSERT_TRUE(Got == Before.ColorLayer().Pixel(x, y) || Got == After.ColorLayer().Pixel(x, y))
          << x << "," << y;
      Newer += Got != Before.ColorLayer().Pixel(x, y);
    }
  EXPECT_GT(Newer, 0) << "the new line shows";
}

TEST_F(ColoringStore, DroppingDeletesBothFilesAndToleratesMissingOnes) {
  PaintInside(Painter, RGB(200, 30, 40));
  ASSERT_TRUE(StoreColoring(Painter, Files, true, true, scAcrossRuns));
  EXPECT_TRUE(DropColoring(Files));
  EXPECT_FALSE(fs::exists(Files.ColorFile));
  EXPECT_FALSE(fs::exists(Files.OutlineFile));
  EXPECT_TRUE(DropColoring(Files));
}

TEST_F(ColoringStore, DeletingAllTouchesOnlyTheCatalogsColourings) {
  const std::string Saved = Folder.Path() + "/saved/";
  PaintInside(Painter, RGB(200, 30, 40));
  for (const char* Entry : {"one.twf", "two.twf"})
    ASSERT_TRUE(StoreColoring(Painter, ColoringFileNames(Entry, Saved), true, true, scWhileRunning));
  WriteBytes(Saved + "one.jpg", {1, 2, 3});
  WriteBytes(Saved + "one.gif", {1, 2, 3});
  WriteBytes(Saved + "other.twf.colour.gif", {1, 2, 3});

  EXPECT_TRUE(DeleteAllColorings({"one.twf", "two.twf", "three.twf"}, Saved));
  EXPECT_FALSE(fs::exists(Saved + "one.twf.colour.gif"));
  EXPECT_FALSE(fs::exists(Saved + "one.twf.outline.gif"));
  EXPECT_FALSE(fs::exists(Saved + "two.twf.colour.gif"));
  EXPECT_FALSE(fs::exists(Saved + "two.twf.outline.gif"));
  EXPECT_TRUE(fs::exists(Saved + "one.jpg")) << "a saved picture is not a colouring";
  EXPECT_TRUE(fs::exists(Saved + "one.gif")) << "a file of the same name is not ours";
  EXPECT_TRUE(fs::exists(Saved + "other.twf.colour.gif")) << "not in the catalog";
}

// The one-time pick-up of a colouring an earlier version kept in the save
// folder: copied when it fits, the original left byte for byte, and never
// again once looked at.
TEST_F(ColoringStore, AnOldColouringIsPickedUpOnceAndLeftInPlace) {
  const std::string Saved = Folder.Path() + "/saved/", Own = Folder.Path() + "/own/";
  const TColoringFiles Legacy = LegacyColoringFileNames("box.twf", Saved);
  const TColoringFiles New = ColoringFileNames("box.twf", Own);
  PaintInside(Painter, RGB(10, 200, 30));
  ASSERT_TRUE(StoreColoring(Painter, Legacy, true, true, scAcrossRuns));
  const std::vector<uint8_t> OldColor = ReadBytes(Legacy.ColorFile);
  const std::vector<uint8_t> OldOutline = ReadBytes(Legacy.OutlineFile);
  const int W = Painter.UnscaledWidth(), H = Painter.UnscaledHeight();

  EXPECT_FALSE(PickUpLegacyColoring(Legacy, New, W + 1, H)) << "another size is not ours";
  EXPECT_FALSE(fs::exists(New.ColorFile));
  fs::remove(New.ColorFile + ".picked-up");
  EXPECT_TRUE(PickUpLegacyColoring(Legacy, New, W, H));
  EXPECT_EQ(ReadBytes(New.ColorFile), OldColor);
  EXPECT_EQ(ReadBytes(New.OutlineFile), OldOutline);
  EXPECT_EQ(ReadBytes(Legacy.ColorFile), OldColor);
  EXPECT_EQ(ReadBytes(Legacy.OutlineFile), OldOutline);
  // Deleted later, it does not come back from the old place.
  ASSERT_TRUE(DropColoring(New));
  EXPECT_FALSE(PickUpLegacyColoring(Legacy, New, W, H));
  EXPECT_FALSE(fs::exists(New.ColorFile));
  EXPECT_EQ(ReadBytes(Legacy.ColorFile), OldColor);
}

TEST_F(ColoringStore, APickUpIntoAFolderThatCannotBeWrittenChangesNothing) {
  const std::string Saved = Folder.Path() + "/saved/", Own = Folder.Path() + "/own/";
  const TColoringFiles Legacy = LegacyColoringFileNames("box.twf", Saved);
  PaintInside(Painter, RGB(10, 200, 30));
  ASSERT_TRUE(StoreColoring(Painter, Legacy, true, false, scAcrossRuns));
  fs::create_directories(Own);
  const auto PickUp = [&] {
    return PickUpLegacyColoring(Legacy, ColoringFileNames("box.twf", Own), Painter.UnscaledWidth(),
                                Painter.UnscaledHeight())
               ? std::string("copied")
               : std::string("nothing");
  };
  if (geteuid() != 0) {
    fs::permissions(Own, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(PickUp(), "nothing");
    fs::permissions(Own, fs::perms::owner_all);
  } else {
    // Permission bits do not stop root; a read-only mount does.
    const auto Report = test::RunWithPrivateMounts([&] { test::MountReadOnly(Own); }, PickUp);
    ASSERT_TRUE(Report) << "root without a private mount namespace cannot check this";
    EXPECT_EQ(*Report, "nothing");
  }
  EXPECT_TRUE(fs::is_empty(Own));
  EXPECT_TRUE(fs::exists(Legacy.ColorFile));
}

// Any colouring of at most 256 colours, at any size, comes back exactly.
TEST_F(ColoringStore, RandomColouringsRoundTripExactly) {
  std::mt19937 Random(20261207);
  for (int Round = 0; Round < 20; ++Round) {
    const int Width = 1 + int(Random() % 40), Height = 1 + int(Random() % 40);
    TRaster24 Picture(Width, Height, clWhite);
    for (int i = 0; i < Width * Height / 8; ++i)
      Picture.SetPixel(int(Random() % Width), int(Random() % Height), 0);
    std::vector<TColor> Paints;
    for (int i = 0; i < 16; ++i) Paints.push_back(TColor(Random() & 0xFFFFFF));
    TRaster24 Colors(Width, Height, clWhite);
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) Colors.SetPixel(x, y, Paints[Random() % Paints.size()]);

    TPainterModel Model;
    Model.LoadPicture(Picture);
    Model.AssignLayer(TBitmap(std::move(Colors)), false);
    const TColoringFiles Named = ColoringFileNames("r" + std::to_string(Round) + ".twf",
                                                   Folder.Path() + "/random/");
    ASSERT_TRUE(StoreColoring(Model, Named, true, true, scAcrossRuns));

    TPainterModel Reopened;
    Reopened.LoadPicture(Picture);
    const TColoringLoadResult Result = LoadColoring(Reopened, Named, scAcrossRuns);
    ASSERT_EQ(Result.Color, TColoringLoad::Loaded);
    EXPECT_TRUE(SameColors(Reopened.ColorLayer(), Model.ColorLayer())) << "round " << Round;
    EXPECT_TRUE(SameOutline(Reopened.OutlineLayer(), Model.OutlineLayer())) << "round " << Round;
  }
}

}  // namespace
}  // namespace tw
