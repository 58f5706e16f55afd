// Picture files a user should never meet but may: named pipes and devices
// are refused at once by the program's loader, the image readers and the
// picture tool; a picture over the size limit is reported with the file's
// name and its size against the limit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "painter/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QCGraphicU.h"
#include "support/AsciiArt.h"
#include "support/CraftedGif.h"
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

}  // namespace
}  // namespace tw
