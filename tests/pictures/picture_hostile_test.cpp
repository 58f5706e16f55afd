// Picture files a user should never meet but may: named pipes and devices
// are refused at once by the program's loader, the image readers and the
// picture tool; a picture over the size limit is reported with the file's
// name and its size against the limit; control characters in a picture's
// texts are shown escaped by the tool.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QCGraphicU.h"
#include "support/AsciiArt.h"
#include "support/CraftedGif.h"
#include "tools/common/TerminalTextU.h"
#include "tools/common/ToolExitU.h"
#include "tools/picture/PictureToolU.h"

namespace tw {
namespace {

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

class PictureHostile : public ::testing::Test {
 protected:
  // A named pipe that nobody writes to: opening it for reading the usual
  // way would wait for a writer forever.
  std::string MakePipe(const std::string& name) {
    const std::string path = Folder.File(name);
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    return path;
  }

  test::TTempFolder Folder;
};

TEST_F(PictureHostile, TheLoaderRefusesANamedPipeAtOnce) {
  const std::string pipe = MakePipe("pipe.twf");
  test::TWarningRecorder recorder(
      std::map<std::string, std::string>{{"errOpenNotFile", "Not a file: %s"}});
  TQCGraphic graphic;
  EXPECT_THROW(graphic.LoadFromFile(pipe), EAbort);
  EXPECT_EQ(recorder.Messages, std::vector<std::string>{"Not a file: " + pipe});
  EXPECT_EQ(graphic.FileName(), "");
}

TEST_F(PictureHostile, StreamsAndImageReadersRefuseWhatIsNotARegularFile) {
  const std::string pipe = MakePipe("pipe.gif");
  for (const std::string& name : {pipe, std::string("/dev/null")}) {
    try {
      TQCFileStream stream(name, TFileMode::fmOpenRead, true);
      ADD_FAILURE() << name << " was opened";
    } catch (const EError& e) {
      EXPECT_TRUE(Has(e.what(), "\"" + name + "\": it is not a regular file"));
    }
    try {
      ReadImageFile(name);
      ADD_FAILURE() << name << " was read";
    } catch (const EError& e) {
      EXPECT_TRUE(Has(e.what(), "\"" + name + "\" is not a regular file"));
    }
  }
}

TEST_F(PictureHostile, TheToolRefusesNamedPipesForEveryCommand) {
  const std::string pipe = MakePipe("pipe.twf");
  const TRun info = RunTool({"info", pipe});
  EXPECT_EQ(info.Code, ExitFailure);
  EXPECT_TRUE(Has(info.Err, "pipe.twf\" is not a regular file"));
  EXPECT_EQ(info.Out, "");
  const TRun extract = RunTool({"extract", pipe, "-o", Folder.File("out.gif")});
  EXPECT_EQ(extract.Code, ExitFailure);
  EXPECT_TRUE(Has(extract.Err, "pipe.twf\" is not a regular file"));
  const TRun pack = RunTool({"pack", MakePipe("in.png"), "-o", Folder.File("out.twf")});
  EXPECT_EQ(pack.Code, ExitFailure);
  EXPECT_TRUE(Has(pack.Err, "in.png\" is not a regular file"));
}

TEST_F(PictureHostile, AnOversizedPictureNamesTheFileAndTheLimit) {
  const std::string file = Folder.File("huge.twf");
  test::TGifLayout layout;
  layout.ScreenWidth = 20000;
  layout.ScreenHeight = 100;
  test::WriteRawPictureFile(file, test::UniformGif(layout));
  test::TWarningRecorder recorder;
  TQCGraphic graphic;
  graphic.LoadFromFile(file);
  ASSERT_EQ(recorder.Messages.size(), 1u);
  const std::string& message = recorder.Messages[0];
  EXPECT_EQ(message.substr(0, message.find('\n')), "File is corrupted");
  EXPECT_TRUE(Has(message, "\"" + file + "\""));
  EXPECT_TRUE(Has(message, "20000 x 100 pixels"));
  EXPECT_TRUE(Has(message, "at most " + std::to_string(MaxPictureSide) + " pixels on a side"));
  EXPECT_TRUE(graphic.Image().IsEmpty());
  EXPECT_EQ(graphic.FileName(), file);

  const TRun info = RunTool({"info", file});
  EXPECT_EQ(info.Code, ExitFailure);
  EXPECT_TRUE(Has(info.Err, "File is corrupted\nThe file \"" + file + "\" holds a picture of "
                            "20000 x 100 pixels"));
}

TEST_F(PictureHostile, InfoShowsControlCharactersEscaped) {
  const std::string bmp = Folder.File("in.bmp");
  WriteFileAtomically(bmp, EncodeBmp(TBitmap(test::FromArt({"#.", ".#"}))));
  const std::string twf = Folder.File("escapes.twf");
  const TRun pack = RunTool({"pack", bmp, "-o", twf, "--title",
                             "en_us=\x1b]0;owned\x07Red\x1b[0m", "--author", "en_us=A\\B\tC\x7f",
                             "--description", "en_us=One\nTwo\xc2\x9b" "2J\xe2\x80\xae" "evil"});
  ASSERT_EQ(pack.Code, ExitOk) << pack.Err;
  const TRun info = RunTool({"info", twf});
  ASSERT_EQ(info.Code, ExitOk) << info.Err;
  EXPECT_TRUE(Has(info.Out, "    Title:       \\x1B]0;owned\\x07Red\\x1B[0m\n"));
  EXPECT_TRUE(Has(info.Out, "    Author:      A\\\\B\\tC\\x7F\n"));
  EXPECT_TRUE(Has(info.Out, "    Description: One\n"
                            "                 Two\\u009B2J\\u202Eevil\n"));
  for (const char c : info.Out) {
    const auto byte = uint8_t(c);
    EXPECT_TRUE(byte >= 0x20 || c == '\n') << "control byte " << int(byte) << " in the output";
    EXPECT_NE(byte, 0x7F);
  }
}

TEST(TerminalText, EscapesEveryControlAndNothingElse) {
  EXPECT_EQ(EscapeControls("Katze – Ёж 猫 🐈", false), "Katze – Ёж 猫 🐈");
  EXPECT_EQ(EscapeControls("a\nb", true), "a\nb");
  EXPECT_EQ(EscapeControls("a\nb", false), "a\\x0Ab");
  EXPECT_EQ(EscapeControls(std::string("\0\x1f\r", 3), false), "\\x00\\x1F\\r");
  EXPECT_EQ(EscapeControls("\xc2\x80\xc2\x9f\xc2\xa0", false), "\\u0080\\u009F\xc2\xa0");
  EXPECT_EQ(EscapeControls("\xe2\x80\xa8\xe2\x81\xa6\xe2\x80\x8f", false),
            "\\u2028\\u2066\\u200F");
  // Bytes that are not UTF-8, including an overlong ESC and a cut sequence.
  EXPECT_EQ(EscapeControls("\xff\xc0\x9b\xe2\x80", false), "\\xFF\\xC0\\x9B\\xE2\\x80");
}

}  // namespace
}  // namespace tw
