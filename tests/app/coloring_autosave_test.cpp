// The colouring written while the child paints, driven by explicit times:
// when writes happen (after the quiet period, at a bounded pace while the
// painting goes on, never for StayColored 0 or 1, never after the stop),
// under which names (across picture switches), what the files hold (decoded
// and compared with the layers, also after random work), and what a failed
// write does (reported once, tried again, nothing lost).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/ColoringAutosaveU.h"
#include "app/ColoringStoreU.h"
#include "painter/PainterU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/PictureTestUtil.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The delays these tests give the autosave (the program has its own).
const TAutosaveDelays Delays{2000ms, 5000ms, 10000ms, 100ms};

// A white picture with a black frame and a grid of Cells x Cells boxes,
// each 10 pixels inside.
TRaster24 GridPicture(int Cells = 4) {
  const int Side = Cells * 11 + 1;
  TRaster24 Picture(Side, Side, clWhite);
  for (int i = 0; i < Side; i += 11)
    for (int t = 0; t < Side; ++t) {
      Picture.SetPixel(i, t, clBlack);
      Picture.SetPixel(t, i, clBlack);
    }
  return Picture;
}

// StayColored as the autosave asks for it.
std::function<TStayColored()> Is(TStayColored Stay) {
  return [Stay] { return Stay; };
}

// The middle of box (Column, Row) of GridPicture.
TPoint Box(int Column, int Row) { return {Column * 11 + 5, Row * 11 + 5}; }

bool SameColors(const TRaster24& A, const TRaster24& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (A.Pixel(x, y) != B.Pixel(x, y)) return false;
  return true;
}

bool SameOutline(const TRaster24& File, const TRaster1& Outline) {
  if (File.Width() != Outline.Width() || File.Height() != Outline.Height()) return false;
  for (int y = 0; y < File.Height(); ++y)
    for (int x = 0; x < File.Width(); ++x)
      if ((File.Pixel(x, y) == clWhite) != Outline.IsWhite(x, y)) return false;
  return true;
}

class ColoringAutosave : public ::testing::Test {
 protected:
  void SetUp() override {
    Painter.LoadPicture(GridPicture());
    Saved = Folder.Path() + "/saved/";
    A = ColoringFileNames("a.twf", Saved);
    B = ColoringFileNames("b.twf", Saved);
    Autosave.OnWriteFailed = [this](const std::string& Message) { Failures.push_back(Message); };
    Autosave.PictureOpened(A);
  }

  TAutosaveTime At(std::chrono::milliseconds Offset) const { return Start + Offset; }

  void Fill(TPoint Pt, TColor Color) {
    Painter.SetPaintMode(pmFill);
    Painter.SetPaintColor(Color);
    Painter.ApplyToolAt(Pt);
  }

  // A fill at Now told to the autosave, then a tick.
  void FillAndTick(TAutosaveTime Now, TPoint Pt, TColor Color, TStayColored Stay = scAcrossRuns) {
    Fill(Pt, Color);
    Autosave.Changed(Now);
    Autosave.Tick(Now, Painter, Is(Stay), false, false);
  }

  // A tick at Now; true when it started a write, which is then waited for
  // and its result taken by a tick at the same time.
  bool TickWrites(TAutosaveTime Now, TStayColored Stay = scAcrossRuns, bool Outline = false,
                  bool Stroking = false) {
    Autosave.Tick(Now, Painter, Is(Stay), Outline, Stroking);
    if (!Autosave.Writing()) return false;
    Autosave.WaitForWrite();
    Autosave.Tick(Now, Painter, Is(Stay), Outline, Stroking);
    return true;
  }

  static bool Exists(const std::string& Name) { return fs::exists(Name); }

  const TAutosaveTime Start = TAutosaveTime() + 1h;
  test::TTempFolder Folder;
  test::TWarningRecorder Warnings;
  TPainterModel Painter;
  std::string Saved;
  TColoringFiles A, B;
  std::vector<std::string> Failures;
  TColoringAutosave Autosave{Delays};
};

TEST_F(ColoringAutosave, WritesOnlyOnceThePictureHasBeenQuietForTheQuietPeriod) {
  FillAndTick(At(0ms), Box(0, 0), 0x0000FF);
  EXPECT_FALSE(TickWrites(At(1000ms)));
  EXPECT_FALSE(TickWrites(At(1999ms)));
  EXPECT_FALSE(Exists(A.ColorFile));
  ASSERT_EQ(Autosave.NextTick(At(1999ms)), At(2000ms));
  EXPECT_TRUE(TickWrites(At(2000ms)));
  ASSERT_TRUE(Exists(A.ColorFile));
  EXPECT_FALSE(Exists(A.OutlineFile)) << "the outline did not change";
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), Painter.ColorLayer()));
  EXPECT_TRUE(Autosave.UpToDate());
  // Nothing more to do until the next change.
  EXPECT_FALSE(Autosave.NextTick(At(2000ms)).has_value());
  EXPECT_FALSE(TickWrites(At(60000ms)));
  EXPECT_TRUE(Failures.empty());
}

TEST_F(ColoringAutosave, EachNewActionRestartsTheQuietPeriod) {
  FillAndTick(At(0ms), Box(0, 0), 0x0000FF);
  FillAndTick(At(1500ms), Box(1, 0), 0x00FF00);
  EXPECT_FALSE(TickWrites(At(2000ms)));
  EXPECT_FALSE(TickWrites(At(3499ms)));
  EXPECT_TRUE(TickWrites(At(3500ms)));
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), Painter.ColorLayer()));
}

TEST_F(ColoringAutosave, PaintingWithoutAPauseIsWrittenAtTheMaximumDelayNeverMoreOften) {
  std::vector<std::chrono::milliseconds> Writes;
  const TColor Colors[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
  for (int Step = 0; Step <= 300; ++Step) {
    const auto Now = Step * 100ms;
    Fill(Box(Step % 4, (Step / 4) % 4), Colors[Step % 4]);
    Autosave.Changed(At(Now));
    if (TickWrites(At(Now))) Writes.push_back(Now);
  }
  // A write about every five seconds (the first action's time plus five
  // seconds, then the first action after each write plus five seconds).
  ASSERT_GE(Writes.size(), 5u);
  ASSERT_LE(Writes.size(), 6u);
  EXPECT_EQ(Writes.front(), 5000ms);
  for (size_t i = 1; i < Writes.size(); ++i) {
    EXPECT_GE(Writes[i] - Writes[i - 1], Delays.MaxDelay) << i;
    EXPECT_LE(Writes[i] - Writes[i - 1], Delays.MaxDelay + 100ms) << i;
  }
  EXPECT_FALSE(Autosave.UpToDate());
  // The child stops: the rest comes at the latest once the picture is quiet.
  EXPECT_TRUE(TickWrites(At(30000ms) + Delays.Quiet));
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), Painter.ColorLayer()));
  EXPECT_TRUE(Autosave.UpToDate());
}

TEST_F(ColoringAutosave, ALongStrokeIsWrittenWhileItGoesOn) {
  Painter.SetPaintMode(pmBrush);
  Painter.SetPaintColor(0x0000FF);
  Painter.SetBrushSize(1);
  Painter.ApplyToolAt({1, 1});
  Autosave.Changed(At(0ms));
  std::vector<std::chrono::milliseconds> Writes;
  for (int Step = 1; Step <= 120; ++Step) {
    // One pixel further every 100 ms, no event telling of it.
    Painter.StrokeTo({1 + Step % 40, 1 + Step / 40});
    if (TickWrites(At(Step * 100ms), scAcrossRuns, false, true)) Writes.push_back(Step * 100ms);
  }
  EXPECT_EQ(Writes, (std::vector<std::chrono::milliseconds>{5000ms, 10000ms}));
  Painter.EndStroke();
  Autosave.Changed(At(12000ms));
  EXPECT_FALSE(TickWrites(At(13999ms)));
  EXPECT_TRUE(TickWrites(At(14000ms)));
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), Painter.ColorLayer()));
}

TEST_F(ColoringAutosave, NothingIsWrittenWithStayColoredZeroOrOne) {
  for (TStayColored Stay : {scNever, scWhileRunning}) {
    FillAndTick(At(0ms), Box(0, 0), 0x0000FF, Stay);
    EXPECT_FALSE(TickWrites(At(2000ms), Stay));
    EXPECT_FALSE(TickWrites(At(60000ms), Stay));
    EXPECT_FALSE(Exists(A.ColorFile)) << Stay;
    EXPECT_FALSE(Exists(A.OutlineFile)) << Stay;
    // The picture is not in its files: leaving it must store it.
    EXPECT_FALSE(Autosave.UpToDate()) << Stay;
  }
  EXPECT_FALSE(fs::exists(Saved));
}

TEST_F(ColoringAutosave, TheOutlineFileIsWrittenWhenTheOutlineChangedAndBothDecodeToTheLayers) {
  Fill(Box(1, 1), 0x00FF00);
  Painter.SetPaintMode(pmEraser);
  Painter.SetBrushSize(1);
  Painter.ApplyToolAt({11, 14});
  Painter.EndStroke();
  ASSERT_TRUE(Painter.OutlineLayer().IsWhite(11, 14));
  Autosave.Changed(At(0ms));
  EXPECT_TRUE(TickWrites(At(2000ms), scAcrossRuns, true));
  ASSERT_TRUE(Exists(A.OutlineFile));
  EXPECT_TRUE(SameOutline(ReadImageFile(A.OutlineFile), Painter.OutlineLayer()));
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), Painter.ColorLayer()));
  // Read back into a fresh painter, the colouring is the same.
  TPainterModel Reopened;
  Reopened.LoadPicture(GridPicture());
  LoadColoring(Reopened, A, scAcrossRuns);
  EXPECT_TRUE(SameColors(Reopened.ColorLayer(), Painter.ColorLayer()));
}

TEST_F(ColoringAutosave, WritesLandUnderTheNamesOfThePictureTheyWereTakenFrom) {
  FillAndTick(At(0ms), Box(0, 0), 0x0000FF);
  ASSERT_TRUE(TickWrites(At(2000ms)));
  // A second write of A is still running when the child turns the page.
  FillAndTick(At(3000ms), Box(1, 0), 0x00FF00);
  const TRaster24 LastOfA(Painter.ColorLayer());
  Autosave.Tick(At(5000ms), Painter, Is(scAcrossRuns), false, false);
  ASSERT_TRUE(Autosave.Writing());
  Autosave.PictureClosed();
  EXPECT_FALSE(Autosave.Writing());
  // Picture B, of another size, replaces A in the painter.
  Painter.LoadPicture(GridPicture(3));
  Autosave.PictureOpened(B);
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), LastOfA));
  EXPECT_FALSE(Exists(B.ColorFile));
  EXPECT_FALSE(TickWrites(At(20000ms))) << "B has not changed";

  FillAndTick(At(21000ms), Box(2, 2), 0xFF0000);
  EXPECT_TRUE(TickWrites(At(23000ms)));
  EXPECT_TRUE(SameColors(ReadImageFile(B.ColorFile), Painter.ColorLayer()));
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), LastOfA));

  // Back to A (as its files hold it): a change of it goes to A's names.
  Autosave.PictureClosed();
  const TRaster24 LastOfB(Painter.ColorLayer());
  Painter.LoadPicture(GridPicture());
  LoadColoring(Painter, A, scAcrossRuns);
  Autosave.PictureOpened(A);
  FillAndTick(At(30000ms), Box(3, 3), 0x00FFFF);
  EXPECT_TRUE(TickWrites(At(32000ms)));
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), Painter.ColorLayer()));
  EXPECT_EQ(ReadImageFile(A.ColorFile).Pixel(Box(0, 0).x, Box(0, 0).y), TColor(0x0000FF));
  EXPECT_TRUE(SameColors(ReadImageFile(B.ColorFile), LastOfB));
}

TEST_F(ColoringAutosave, NothingIsWrittenWhileNoPictureIsOpen) {
  Autosave.PictureClosed();
  FillAndTick(At(0ms), Box(0, 0), 0x0000FF);
  EXPECT_FALSE(TickWrites(At(60000ms)));
  EXPECT_FALSE(Exists(A.ColorFile));
}

TEST_F(ColoringAutosave, AfterTheStopNothingIsWrittenAnyMore) {
  FillAndTick(At(0ms), Box(0, 0), 0x0000FF);
  Autosave.Tick(At(2000ms), Painter, Is(scAcrossRuns), false, false);
  ASSERT_TRUE(Autosave.Writing());
  // The write already running ends within the stop.
  Autosave.Stop();
  ASSERT_TRUE(Exists(A.ColorFile));
  const TRaster24 Stored = ReadImageFile(A.ColorFile);
  EXPECT_TRUE(Autosave.UpToDate());

  FillAndTick(At(3000ms), Box(1, 1), 0x00FF00);
  EXPECT_FALSE(TickWrites(At(10000ms)));
  EXPECT_FALSE(Autosave.NextTick(At(10000ms)).has_value());
  Autosave.PictureOpened(B);
  FillAndTick(At(11000ms), Box(2, 2), 0xFF0000);
  EXPECT_FALSE(TickWrites(At(60000ms)));
  EXPECT_TRUE(SameColors(ReadImageFile(A.ColorFile), Stored));
  EXPECT_FALSE(Exists(B.ColorFile));
}

TEST_F(ColoringAutosave, AfterADeletionOnlyNewChangesAreWritten) {
  FillAndTick(At(0ms), Box(0, 0), 0x0000FF);
  Autosave.Tick(At(2000ms), Painter, Is(scAcrossRuns), false, false);
  ASSERT_TRUE(Autosave.Writing());
  // The wash: the running write ends, then the files go.
  Painter.Wash();
  Autosave.Settle();
  ASSERT_TRUE(DropColoring(A));
  Autosave.Discard();
  EXPECT_TRUE(Autosave.UpToDate());
  EXPECT_FALSE(TickWrites(At(60000ms)));
  EXPECT_FALSE(Exists(A.ColorFile));
}

TEST_F(ColoringAutosave, AFailedWriteIsReportedOnceTriedAgainAndNothingIsLost) {
  // A file where the save folder should be: no write can go through.
  { std::ofstream(Folder.Path() + "/saved") << "in the way"; }
  FillAndTick(At(0ms), Box(0, 0), 0x0000FF);
  EXPECT_TRUE(TickWrites(At(2000ms)));
  ASSERT_EQ(Failures.size(), 1u);
  EXPECT_NE(Failures[0].find("a.twf.colour.gif"), std::string::npos) << Failures[0];
  EXPECT_FALSE(Autosave.UpToDate());

  // The next try waits for the retry delay, also when the child paints on.
  FillAndTick(At(3000ms), Box(1, 0), 0x00FF00);
  EXPECT_FALSE(TickWrites(At(11999ms)));
  EXPECT_TRUE(TickWrites(At(12000ms)));
  EXPECT_TRUE(TickWrites(At(22000ms)));
  EXPECT_EQ(Failures.size(), 1u) << "reported once";

  // The folder can be written again: the next try stores everything.
  fs::remove(Folder.Path() + "/saved");
  FillAndTick(At(23000ms), Box(2, 0), 0xFF0000);
  EXPECT_FALSE(TickWrites(At(31999ms)));
  EXPECT_TRUE(TickWrites(At(32000ms)));
  ASSERT_TRUE(Exists(A.ColorFile));
  const TRaster24 Stored = ReadImageFile(A.ColorFile);
  EXPECT_TRUE(SameColors(Stored, Painter.ColorLayer()));
  EXPECT_EQ(Stored.Pixel(Box(0, 0).x, Box(0, 0).y), TColor(0x0000FF));
  EXPECT_EQ(Stored.Pixel(Box(1, 0).x, Box(1, 0).y), TColor(0x00FF00));
  EXPECT_EQ(Stored.Pixel(Box(2, 0).x, Box(2, 0).y), TColor(0xFF0000));
  EXPECT_TRUE(Autosave.UpToDate());
  EXPECT_EQ(Failures.size(), 1u);

  // A new failure after a success is reported again, once.
  fs::remove_all(Saved);
  { std::ofstream(Folder.Path() + "/saved") << "in the way again"; }
  FillAndTick(At(40000ms), Box(3, 0), 0x00FFFF);
  EXPECT_TRUE(TickWrites(At(42000ms)));
  EXPECT_TRUE(TickWrites(At(52000ms)));
  EXPECT_EQ(Failures.size(), 2u);
  EXPECT_TRUE(Warnings.Messages.empty()) << "reported to the caller, not shown here";
}

// Random work at random moments: every write holds exactly the layers as
// they were when the write was taken, through the piecewise copy.
TEST_F(ColoringAutosave, RandomWorkIsWrittenExactlyAsItWasWhenTaken) {
  std::mt19937 Random(4711);
  Painter.MaxHistory = 4;
  auto Now = 0ms;
  int WritesSeen = 0;
  for (int Action = 0; Action < 200; ++Action) {
    Now += std::chrono::milliseconds(Random() % 3000);
    Painter.SetPaintColor(TColor(Random() & 0xFFFFFF));
    Painter.SetBrushSize(1 + int(Random() % 6));
    const int Kind = int(Random() % 6);
    const TPoint Pt{int(Random() % 45), int(Random() % 45)};
    if (Kind == 4) {
      Painter.Undo();
    } else {
      const TPaintMode Modes[] = {pmFill, pmBrush, pmMarker, pmEraser, pmFill, pmFill};
      Painter.SetPaintMode(Modes[Kind]);
      Painter.ApplyToolAt(Pt);
      for (int i = 0; i < 3 && Painter.Stroking(); ++i)
        Painter.StrokeTo({int(Random() % 45), int(Random() % 45)});
      Painter.EndStroke();
    }
    if (Kind == 5) Painter.Wash();
    // The outline file is wanted at some writes and not at others.
    const bool WithOutline = Random() % 3 != 0;
    // No write runs now; whether the next one writes the outline shows.
    fs::remove(A.OutlineFile);
    Autosave.Changed(At(Now));
    Autosave.Tick(At(Now), Painter, Is(scAcrossRuns), WithOutline, false);
    const auto Later = Now + std::chrono::milliseconds(Random() % 6000);
    Autosave.Tick(At(Later), Painter, Is(scAcrossRuns), WithOutline, false);
    if (!Autosave.Writing()) continue;
    const TRaster24 Color(Painter.ColorLayer());
    const TRaster1 Outline(Painter.OutlineLayer());
    Autosave.WaitForWrite();
    ASSERT_TRUE(SameColors(ReadImageFile(A.ColorFile), Color)) << Action;
    ASSERT_EQ(Exists(A.OutlineFile), WithOutline) << Action;
    if (WithOutline) {
      ASSERT_TRUE(SameOutline(ReadImageFile(A.OutlineFile), Outline)) << Action;
    }
    Now = Later;
    ++WritesSeen;
  }
  EXPECT_GT(WritesSeen, 20);
  EXPECT_TRUE(Failures.empty());
}

}  // namespace
}  // namespace tw
