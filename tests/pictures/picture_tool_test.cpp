// The picture tool end to end: packing generated BMP, GIF and JPEG files
// into picture files that the program's own loader reads back with the
// right texts and exact pixels, info and extract round trips, help, and the
// messages and exit statuses for bad command lines and damaged files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "painter/image/ImageFileU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QCGraphicU.h"
#include "pictures/QUtilU.h"
#include "pictures/picture_tool_art.h"
#include "support/AsciiArt.h"
#include "tools/picture/PictureToolArgsU.h"
#include "tools/picture/PictureToolU.h"

namespace tw {
namespace {

using test::TArt;

::testing::AssertionResult Has(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}

struct TRun {
  int Code = -1;
  std::string Out, Err;
};

TRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  TRun run;
  run.Code = RunPictureTool(args, out, err);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

// Few colours, so a GIF holds them exactly.
const TArt ColourArt = {
    "##..rr",
    "#.gg.b",
    "..oo##",
};

class PictureTool : public ::testing::Test {
 protected:
  std::string WriteBmp(const std::string& name, const TRaster24& image) {
    const std::string file = FFolder.File(name);
    WriteFileAtomically(file, EncodeBmp(TBitmap(Copy(image))));
    return file;
  }
  std::string WriteGif(const std::string& name, const TRaster24& image) {
    const std::string file = FFolder.File(name);
    WriteFileAtomically(file, test::GifOf(image));
    return file;
  }
  static TRaster24 Copy(const TRaster24& image) {
    TRaster24 copy;
    copy.CopyFrom(image);
    return copy;
  }
  static TQCGraphic Load(const std::string& file) {
    test::TWarningRecorder recorder;
    TQCGraphic graphic;
    graphic.LoadFromFile(file);
    EXPECT_TRUE(recorder.Messages.empty());
    return graphic;
  }
  // A packed colour picture with two languages, stored as it is.
  std::string PackColourPicture() {
    const std::string twf = FFolder.File("colour.twf");
    const TRun run =
        RunTool({"pack", WriteBmp("colour.bmp", test::FromArt(ColourArt)), "-o", twf,
                 "--no-lineart", "--title", "en_us=Cat", "--author", "en_us=Ann", "--description",
                 "en_us=Line one\nLine two", "--title", "de_de=Katze"});
    EXPECT_EQ(run.Code, ExitOk) << run.Err;
    return twf;
  }

  test::TTempFolder FFolder;
};

TEST_F(PictureTool, PacksTwoLanguagesInFirstSeenOrderWithExactPixels) {
  const std::string bmp = WriteBmp("in.bmp", test::FromArt(ColourArt));
  const std::string twf = FFolder.File("out.twf");
  const TRun run =
      RunTool({"pack", bmp, "-o", twf, "--no-lineart", "--author", "de_de=Anna", "--title",
               "en_us=Cat", "--title", "de_de=Kätzchen", "--description", "en_us=A cat on a mat."});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Out, "6 x 3 pixels, 2 languages (de_de, en_us)"));
  // Two red, two green, one blue and two grey pixels: 7 of the 18.
  EXPECT_TRUE(Has(run.Err, "warning: 7 pixels are neither pure black nor pure white"));

  const TQCGraphic graphic = Load(twf);
  EXPECT_EQ(graphic.Version(), 3);
  ASSERT_EQ(graphic.Entries().size(), 2u);
  EXPECT_EQ(graphic.Entries()[0].Language, "de_de");
  EXPECT_EQ(graphic.Entries()[1].Language, "en_us");
  EXPECT_EQ(graphic.GetTitle("de_de"), "Kätzchen");
  EXPECT_EQ(graphic.GetAuthor("de_de"), "Anna");
  EXPECT_EQ(graphic.GetDescription("de_de"), "");
  EXPECT_EQ(graphic.GetTitle("en_us"), "Cat");
  EXPECT_EQ(graphic.GetAuthor("en_us"), "");
  EXPECT_EQ(graphic.GetDescription("en_us"), "A cat on a mat.");
  EXPECT_EQ(graphic.Width(), 6);
  EXPECT_EQ(graphic.Height(), 3);
  EXPECT_EQ(test::ToArt(graphic.Image()), ColourArt);
}

TEST_F(PictureTool, ValuesAfterAnEqualsSignAndFilesAfterDoubleDash) {
  const std::string bmp = WriteBmp("-in.bmp", test::FromArt({"#."}));
  const std::string twf = FFolder.File("out.twf");
  const TRun run =
      RunTool({"pack", "--title=en_us=A=B", "--output=" + twf, "--no-lineart", "--", bmp});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(Load(twf).GetTitle("en_us"), "A=B");
}

TEST_F(PictureTool, LanguageCodesDifferingInCaseAreOneLanguage) {
  const std::string bmp = WriteBmp("in.bmp", test::FromArt({"#."}));
  const std::string twf = FFolder.File("out.twf");
  const TRun run = RunTool({"pack", bmp, "-o", twf, "--title", "en_us=Cat", "--author", "EN_US=Ann",
                            "--description", "En_Us=Purrs"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  const TQCGraphic graphic = Load(twf);
  ASSERT_EQ(graphic.Entries().size(), 1u);
  EXPECT_EQ(graphic.Entries()[0].Language, "en_us");
  EXPECT_EQ(graphic.GetAuthor("en_us"), "Ann");
  EXPECT_EQ(graphic.GetDescription("en_us"), "Purrs");
  const TRun twice = RunTool({"pack", bmp, "-o", twf, "--title", "en_us=A", "--title", "EN_US=B"});
  EXPECT_EQ(twice.Code, ExitUsage);
  EXPECT_TRUE(Has(twice.Err, "--title is given twice"));
}

TEST_F(PictureTool, GifInputIsStoredAsItIsUnlessLineArtIsAsked) {
  const std::string gif = WriteGif("in.gif", test::FromArt({"#o.", "o#."}));
  const std::string kept = FFolder.File("kept.twf");
  const TRun keep = RunTool({"pack", gif, "-o", kept, "--title", "en_us=Grey"});
  ASSERT_EQ(keep.Code, ExitOk) << keep.Err;
  EXPECT_TRUE(Has(keep.Err, "2 pixels are neither pure black nor pure white"));
  EXPECT_EQ(test::ToArt(Load(kept).Image()), (TArt{"#o.", "o#."}));

  // Grey 0x80 is brighter than the threshold 100, so it turns white.
  const std::string converted = FFolder.File("converted.twf");
  const TRun convert = RunTool({"pack", gif, "-o", converted, "--lineart", "--threshold", "100",
                                "--speck-size", "0", "--hole-size", "0"});
  ASSERT_EQ(convert.Code, ExitOk) << convert.Err;
  EXPECT_TRUE(Has(convert.Out, "line art at threshold 100"));
  EXPECT_EQ(test::ToArt(Load(converted).Image()), (TArt{"#..", ".#."}));
}

TEST_F(PictureTool, NonGifInputBecomesCleanLineArtByDefault) {
  const std::string bmp = WriteBmp("drawing.bmp", test::FromGreyArt(test::GreyDrawing));
  const std::string twf = FFolder.File("drawing.twf");
  const TRun run = RunTool({"pack", bmp, "-o", twf, "--title", "en_us=Frame", "--threshold", "128",
                            "--speck-size", "4", "--hole-size", "6"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Out, "threshold 128, 1 specks removed, 1 small holes filled"));
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(test::ToArt(Load(twf).Image()), test::GreyDrawingLineArt);
}

// A long thin drawing: a 1-px rectangle outline from (100, 10) to
// (2499, 49) on white, 2600 x 60 pixels.
TRaster24 LongFrame() {
  TRaster24 image(2600, 60, clWhite);
  for (int x = 100; x < 2500; ++x) {
    image.SetPixel(x, 10, clBlack);
    image.SetPixel(x, 49, clBlack);
  }
  for (int y = 10; y < 50; ++y) {
    image.SetPixel(100, y, clBlack);
    image.SetPixel(2499, y, clBlack);
  }
  return image;
}

// The white pixels 4-connected to seed, and whether any lies on the edge.
int WhiteRegion(const TRaster24& image, TPoint seed, bool& touchesEdge) {
  std::vector<bool> seen(size_t(image.Width()) * size_t(image.Height()));
  std::vector<TPoint> work{seed};
  int count = 0;
  touchesEdge = false;
  while (!work.empty()) {
    const TPoint p = work.back();
    work.pop_back();
    if (p.x < 0 || p.y < 0 || p.x >= image.Width() || p.y >= image.Height()) continue;
    const size_t i = size_t(p.y) * size_t(image.Width()) + size_t(p.x);
    if (seen[i] || image.Pixel(p.x, p.y) != clWhite) continue;
    seen[i] = true;
    ++count;
    if (p.x == 0 || p.y == 0 || p.x == image.Width() - 1 || p.y == image.Height() - 1)
      touchesEdge = true;
    work.insert(work.end(), {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}});
  }
  return count;
}

TEST_F(PictureTool, LargeImagesAreScaledDownAndKeepTheirLinesClosed) {
  const std::string bmp = WriteBmp("long.bmp", LongFrame());
  const std::string twf = FFolder.File("long.twf");
  const TRun run =
      RunTool({"pack", bmp, "-o", twf, "--title", "en_us=Long", "--threshold", "128"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Out, "Scaling 2600 x 60 pixels down to 2400 x 55 pixels")) << run.Out;
  EXPECT_TRUE(Has(run.Out, "Wrote " + twf + ": 2400 x 55 pixels"));
  const TRaster24 image = Load(twf).Image();
  ASSERT_EQ(image.Width(), 2400);
  ASSERT_EQ(image.Height(), 55);
  // The frame's inside is still closed: a fill there stays inside.
  bool edge = true;
  EXPECT_GT(WhiteRegion(image, {1200, 27}, edge), 2000 * 20);
  EXPECT_FALSE(edge);
  WhiteRegion(image, {0, 0}, edge);
  EXPECT_TRUE(edge);

  // Asked otherwise, the size stays or another limit holds.
  const TRun kept = RunTool({"pack", bmp, "-o", twf, "--max-size", "0", "--threshold", "128"});
  ASSERT_EQ(kept.Code, ExitOk) << kept.Err;
  EXPECT_FALSE(Has(kept.Out, "Scaling"));
  EXPECT_EQ(Load(twf).Image().Width(), 2600);
  const TRun small =
      RunTool({"pack", bmp, "-o", twf, "--max-size", "1300", "--threshold", "128"});
  ASSERT_EQ(small.Code, ExitOk) << small.Err;
  EXPECT_TRUE(Has(small.Out, "down to 1300 x 30 pixels"));
  EXPECT_FALSE(WhiteRegion(Load(twf).Image(), {650, 15}, edge) == 0 || edge);
  for (const char* bad : {"-1", "many", "99999"})
    EXPECT_EQ(RunTool({"pack", bmp, "-o", twf, "--max-size", bad}).Code, ExitUsage) << bad;
}

TEST_F(PictureTool, StoredColoursAreAveragedWhenScaledDown) {
  TRaster24 image(40, 12, 0x336699);
  // Columns of black and white: their mean is grey.
  for (int y = 0; y < 12; ++y)
    for (int x = 20; x < 40; ++x) image.SetPixel(x, y, x % 2 ? clWhite : clBlack);
  const std::string gif = WriteGif("colour.gif", image);
  const std::string twf = FFolder.File("colour.twf");
  const TRun run = RunTool({"pack", gif, "-o", twf, "--max-size", "20"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  const TRaster24 packed = Load(twf).Image();
  ASSERT_EQ(packed.Width(), 20);
  ASSERT_EQ(packed.Height(), 6);
  EXPECT_EQ(packed.Pixel(3, 3), TColor(0x336699));
  const TColor grey = packed.Pixel(15, 3);
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_NEAR(GetRValue(grey), 0x80, 2);

  // A picture within the limit is stored at its size without a word.
  const TRun within = RunTool({"pack", gif, "-o", twf});
  ASSERT_EQ(within.Code, ExitOk) << within.Err;
  EXPECT_FALSE(Has(within.Out, "Scaling"));
  EXPECT_EQ(Load(twf).Image().Width(), 40);
}

// PNG files written by another program (tests/fuzz/make-seeds.sh), 16 x 8
// pixels: greys.png has the grey 17 * x in column x.
const std::string SeedFolder = std::string(TINTWELL_TEST_DATA) + "/fuzz/seeds/";

TEST_F(PictureTool, PngGreysSplitAtTheThreshold) {
  const std::string twf = FFolder.File("greys.twf");
  const TRun run = RunTool({"pack", SeedFolder + "greys.png", "-o", twf, "--title", "en_us=Greys",
                            "--threshold", "128", "--speck-size", "0", "--hole-size", "0"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  // Columns 0 to 7 (grey up to 119) are darker than 128, columns 8 on (136
  // and up) are not.
  EXPECT_EQ(test::ToArt(Load(twf).Image()), TArt(8, "########........"));
}

TEST_F(PictureTool, PngKeptAsItIsWithoutLineArt) {
  const std::string twf = FFolder.File("checker.twf");
  const TRun run = RunTool({"pack", SeedFolder + "checker.png", "-o", twf, "--no-lineart"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  const TRaster24 image = Load(twf).Image();
  ASSERT_EQ(image.Width(), 16);
  ASSERT_EQ(image.Height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(image.Pixel(x, y), (x + y) % 3 == 0 ? clBlack : clWhite) << x << "," << y;
}

TEST_F(PictureTool, JpegDrawingBecomesPureBlackAndWhite) {
  // A black square on white; JPEG blurs its edges into greys. Traced, the
  // square becomes its closed outline, enlarged to the page size.
  TRaster24 drawing(32, 32, clWhite);
  for (int y = 8; y < 24; ++y)
    for (int x = 8; x < 24; ++x) drawing.SetPixel(x, y, clBlack);
  const std::string jpeg = FFolder.File("drawing.jpg");
  WriteFileAtomically(jpeg, EncodeJpeg(drawing, 60));
  const std::string twf = FFolder.File("drawing.twf");
  const TRun run = RunTool({"pack", jpeg, "-o", twf});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Err, "no --title, --author or --description"));
  const TQCGraphic graphic = Load(twf);
  EXPECT_TRUE(graphic.Entries().empty());
  EXPECT_TRUE(Has(run.Out, "Tracing 32 x 32 pixels at 1200 x 1200 pixels")) << run.Out;
  EXPECT_TRUE(Has(run.Out, "; outlines of ")) << run.Out;
  const TRaster24& image = graphic.Image();
  ASSERT_EQ(image.Width(), 1200);
  ASSERT_EQ(image.Height(), 1200);
  EXPECT_EQ(CountOffPalettePixels(image), 0);
  // The white paper is cut down to a narrow border; the square's inside and
  // the border are two white regions a fill cannot cross.
  bool edge = true;
  EXPECT_GT(WhiteRegion(image, {600, 600}, edge), 800 * 800);
  EXPECT_FALSE(edge);
  EXPECT_GT(WhiteRegion(image, {1, 1}, edge), 0);
  EXPECT_TRUE(edge);
}

TEST_F(PictureTool, InfoShowsVersionSizesAndEveryEntry) {
  const TRun run = RunTool({"info", PackColourPicture()});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Out, "Version:      3\n"));
  EXPECT_TRUE(Has(run.Out, "Stored size:  6 x 3 pixels\n"));
  EXPECT_TRUE(Has(run.Out, "Decoded size: 6 x 3 pixels\n"));
  EXPECT_TRUE(Has(run.Out, "Entries:      2\n"));
  EXPECT_TRUE(Has(run.Out,
                  "  Entry 1\n"
                  "    Language:    en_us\n"
                  "    Title:       Cat\n"
                  "    Author:      Ann\n"
                  "    Description: Line one\n"
                  "                 Line two\n"
                  "  Entry 2\n"
                  "    Language:    de_de\n"
                  "    Title:       Katze\n"
                  "    Author:      \n"
                  "    Description: \n"));
}

TEST_F(PictureTool, InfoOfAnOldFileWithoutStoredSize) {
  const TRaster24 image = test::FromArt({"#..", "..#"});
  const std::string twf = FFolder.File("old.twf");
  test::TPlainFile file;
  file.Magic().Byte(1).ShortStr("Old").ShortStr("Bob").LongStr("").Bytes(test::GifOf(image));
  file.WriteTo(twf);
  const TRun run = RunTool({"info", twf});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Out, "Version:      1\n"));
  EXPECT_TRUE(Has(run.Out, "Stored size:  none"));
  EXPECT_TRUE(Has(run.Out, "Decoded size: 3 x 2 pixels\n"));
  EXPECT_TRUE(Has(run.Out, "    Language:    \n    Title:       Old\n"));
}

TEST_F(PictureTool, ExtractWritesTheSamePixelsAsGifAndBmp) {
  const std::string twf = PackColourPicture();
  for (const std::string name : {"out.gif", "out.BMP"}) {
    const std::string target = FFolder.File(name);
    const TRun run = RunTool({"extract", twf, "-o", target});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_TRUE(Has(run.Out, "6 x 3 pixels"));
    EXPECT_EQ(test::ToArt(ReadImageFile(target)), ColourArt) << name;
  }
  const std::string jpeg = FFolder.File("out.jpg");
  ASSERT_EQ(RunTool({"extract", twf, "-o", jpeg}).Code, ExitOk);
  const TRaster24 decoded = ReadImageFile(jpeg);
  EXPECT_EQ(decoded.Width(), 6);
  EXPECT_EQ(decoded.Height(), 3);
}

TEST_F(PictureTool, HelpForTheToolAndEachCommand) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--help"}, "Usage: tintwell-picture COMMAND"},
      {{"-h"}, "Usage: tintwell-picture COMMAND"},
      {{"help"}, "Usage: tintwell-picture COMMAND"},
      {{"pack", "--help"}, "Usage: tintwell-picture pack IMAGE"},
      {{"help", "pack"}, "--speck-size N"},
      {{"info", "-h"}, "Usage: tintwell-picture info FILE.twf"},
      {{"extract", "x.twf", "--help"}, "Usage: tintwell-picture extract"},
  };
  for (const auto& [args, text] : cases) {
    const TRun run = RunTool(args);
    EXPECT_EQ(run.Code, ExitOk) << args[0];
    EXPECT_TRUE(Has(run.Out, text)) << args[0];
    EXPECT_EQ(run.Err, "") << args[0];
  }
}

TEST_F(PictureTool, BadCommandLinesFailWithAMessageAndWriteNothing) {
  const std::string bmp = WriteBmp("in.bmp", test::FromArt({"#."}));
  const std::string twf = FFolder.File("out.twf");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "Usage: tintwell-picture COMMAND"},
      {{"frobnicate"}, "Unknown command \"frobnicate\""},
      {{"help", "frobnicate"}, "help takes one command name"},
      {{"pack"}, "pack needs an IMAGE"},
      {{"pack", bmp}, "-o OUT.twf"},
      {{"pack", bmp, "-o", FFolder.File("out.gif")}, "must end in \".twf\""},
      {{"pack", bmp, "-o", twf, "--title", "Cat"}, "needs LANG=TEXT"},
      {{"pack", bmp, "-o", twf, "--title", "=Cat"}, "needs LANG=TEXT"},
      {{"pack", bmp, "-o", twf, "--title", "en=A", "--title", "en=B"}, "given twice"},
      {{"pack", bmp, "-o", twf, "--threshold", "256"}, "from 1 to 255"},
      {{"pack", bmp, "-o", twf, "--threshold", "12x"}, "not \"12x\""},
      {{"pack", bmp, "-o", twf, "--speck-size", "-3"}, "--speck-size needs a whole number"},
      {{"pack", bmp, "-o", twf, "--hole-size"}, "--hole-size needs a value"},
      {{"pack", bmp, "-o", twf, "--lineart=yes"}, "--lineart takes no value"},
      {{"pack", bmp, "-o", twf, "--bogus"}, "Unknown option --bogus for pack"},
      {{"pack", bmp, bmp, "-o", twf}, "takes one IMAGE"},
      {{"info"}, "info needs a picture file"},
      {{"info", "a.twf", "b.twf"}, "takes one picture file"},
      {{"extract", "a.twf"}, "-o OUT.gif"},
      {{"extract", "a.twf", "-o", FFolder.File("x.png")}, "writes .gif, .bmp, .jpg or .jpeg"},
  };
  for (const auto& [args, text] : cases) {
    const TRun run = RunTool(args);
    const std::string shown = args.empty() ? "(none)" : args.back();
    EXPECT_EQ(run.Code, ExitUsage) << shown;
    EXPECT_TRUE(Has(run.Err, text)) << shown;
    EXPECT_EQ(run.Out, "") << shown;
  }
  EXPECT_FALSE(std::filesystem::exists(twf));
}

TEST_F(PictureTool, UnreadableAndUnwritableInputsFailWithoutAPictureFile) {
  const std::string twf = FFolder.File("out.twf");
  const TRun missing = RunTool({"pack", FFolder.File("nothing.png"), "-o", twf});
  EXPECT_EQ(missing.Code, ExitFailure);
  EXPECT_TRUE(Has(missing.Err, "nothing.png"));

  const std::string text = FFolder.File("notes.png");
  std::ofstream(text) << "not a picture";
  const TRun notPicture = RunTool({"pack", text, "-o", twf});
  EXPECT_EQ(notPicture.Code, ExitFailure);
  EXPECT_TRUE(Has(notPicture.Err, "notes.png"));

  const std::string bmp = WriteBmp("in.bmp", test::FromArt({"#."}));
  const TRun longTitle =
      RunTool({"pack", bmp, "-o", twf, "--title", "en_us=" + std::string(256, 'a')});
  EXPECT_EQ(longTitle.Code, ExitFailure);
  EXPECT_TRUE(Has(longTitle.Err, "tintwell-picture: "));
  const TRun badText = RunTool({"pack", bmp, "-o", twf, "--title", "en_us=\xff\xfe"});
  EXPECT_EQ(badText.Code, ExitFailure);
  EXPECT_FALSE(std::filesystem::exists(twf));
}

TEST_F(PictureTool, MissingWronglyNamedAndDamagedPictureFilesFail) {
  const TRun missing = RunTool({"info", FFolder.File("nothing.twf")});
  EXPECT_EQ(missing.Code, ExitFailure);
  EXPECT_TRUE(Has(missing.Err, "nothing.twf\" does not exist"));

  const TRun badName = RunTool({"extract", FFolder.File("x.gif"), "-o", FFolder.File("y.gif")});
  EXPECT_EQ(badName.Code, ExitFailure);
  EXPECT_TRUE(Has(badName.Err, "its name must end in \".twf\""));

  const std::string notPicture = FFolder.File("text.twf");
  std::ofstream(notPicture) << "hello, this is not a picture";
  const TRun wrong = RunTool({"info", notPicture});
  EXPECT_EQ(wrong.Code, ExitFailure);
  EXPECT_TRUE(Has(wrong.Err, "text.twf\" is damaged or is not a picture file"));

  // The file ends inside the first entry.
  const std::string cut = FFolder.File("cut.twf");
  test::TPlainFile header;
  header.Magic().Byte(3).Byte(2).ShortStr("en_us").Byte(40).Text("Half");
  header.WriteTo(cut);
  const TRun truncated = RunTool({"info", cut});
  EXPECT_EQ(truncated.Code, ExitFailure);
  EXPECT_TRUE(Has(truncated.Err, "cut.twf\" is damaged"));
  EXPECT_EQ(truncated.Out, "");
}

TEST_F(PictureTool, DamagedImagePartShowsTheTextsButFails) {
  // Texts and stored size intact; the GIF stops after its screen descriptor.
  const std::vector<uint8_t> gif = test::GifOf(test::FromArt({"#.", ".#"}));
  const std::string twf = FFolder.File("broken.twf");
  test::TPlainFile file;
  file.Magic().Byte(3).Byte(1).ShortStr("en_us").ShortStr("Broken").ShortStr("").LongStr("");
  file.Word(2).Word(2).Bytes({gif.begin(), gif.begin() + 13});
  file.WriteTo(twf);

  const TRun info = RunTool({"info", twf});
  EXPECT_EQ(info.Code, ExitFailure);
  EXPECT_TRUE(Has(info.Err, "File is corrupted"));
  EXPECT_TRUE(Has(info.Out, "Title:       Broken"));
  EXPECT_TRUE(Has(info.Out, "Stored size:  2 x 2 pixels"));
  EXPECT_TRUE(Has(info.Out, "Decoded size: none, the image is damaged"));

  const std::string target = FFolder.File("broken.gif");
  const TRun extract = RunTool({"extract", twf, "-o", target});
  EXPECT_EQ(extract.Code, ExitFailure);
  EXPECT_TRUE(Has(extract.Err, "nothing was written"));
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(PictureTool, LeavesTheProgramsHooksAsItFoundThem) {
  test::TWarningRecorder outer(std::map<std::string, std::string>{{"errCorrupt", "custom"}});
  const TRun run = RunTool({"info", FFolder.File("nothing.twf")});
  EXPECT_EQ(run.Code, ExitFailure);
  EXPECT_TRUE(outer.Messages.empty());
  ShowWarning("after");
  EXPECT_EQ(outer.Messages, std::vector<std::string>{"after"});
  EXPECT_EQ(TranslateKey("errCorrupt"), "custom");
}

#ifdef TINTWELL_PICTURE_TOOL
TEST_F(PictureTool, TheBuiltProgramReportsThroughItsExitStatus) {
  const std::string out = FFolder.File("stdout.txt");
  const std::string err = FFolder.File("stderr.txt");
  const auto status = [&](const std::string& args) {
    const std::string command =
        std::string("'") + TINTWELL_PICTURE_TOOL + "' " + args + " >'" + out + "' 2>'" + err + "'";
    const int result = std::system(command.c_str());
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  };
  const auto contents = [](const std::string& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(status("--help"), ExitOk);
  EXPECT_TRUE(Has(contents(out), "Usage: tintwell-picture COMMAND"));
  EXPECT_EQ(status("pack"), ExitUsage);
  EXPECT_TRUE(Has(contents(err), "pack needs an IMAGE"));
  EXPECT_EQ(status("info '" + FFolder.File("nothing.twf") + "'"), ExitFailure);
  EXPECT_TRUE(Has(contents(err), "does not exist"));
  const std::string twf = PackColourPicture();
  EXPECT_EQ(status("info '" + twf + "'"), ExitOk);
  EXPECT_TRUE(Has(contents(out), "Title:       Katze"));
}
#endif

}  // namespace
}  // namespace tw
