// The chooser's kept thumbnails: where they live, the stamp that tells a
// kept one from a stale one, making one from a picture and its kept
// colouring, keeping and reusing it, damaged pictures, a folder that cannot
// be written, and the background loader handing results over in order.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <filesystem>
#include <optional>
#include <set>
#include <thread>

#include "app/ThumbnailKeyU.h"
#include "app/ThumbnailLoaderU.h"
#include "app/ThumbnailMakerU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/PictureFileU.h"
#include "pictures/PictureTestUtil.h"
#include "settings/SettingTestUtil.h"
#include "support/EnvVar.h"

namespace tw::test {
namespace {

constexpr TColor Red = 0x0000FF;

TColor PixelOf(const QImage& Image, int X, int Y) {
  const QRgb c = Image.pixel(X, Y);
  return RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)));
}

// A 200 x 100 white picture with a black frame.
TRaster24 FramedPicture() {
  TRaster24 image(200, 100, clWhite);
  for (int x = 0; x < 200; ++x) {
    image.SetPixel(x, 0, clBlack);
    image.SetPixel(x, 99, clBlack);
  }
  for (int y = 0; y < 100; ++y) {
    image.SetPixel(0, y, clBlack);
    image.SetPixel(199, y, clBlack);
  }
  return image;
}

class ThumbnailCache : public ::testing::Test {
 protected:
  void SetUp() override {
    FDataHome.emplace("XDG_DATA_HOME", FFolder.File("data"));
    WritePictureFile(Picture(), {{"en_us", "Frame", "Ann", ""}}, FramedPicture());
  }
  std::string Picture() const { return FFolder.File("frame.twf"); }
  TThumbnailJob Job() const {
    TThumbnailJob job;
    job.PictureFile = Picture();
    job.Files = ColoringFileNames("frame.twf");
    job.StayColored = scAcrossRuns;
    job.CacheFile = ThumbnailFileName("frame.twf");
    job.Size = 100;
    return job;
  }
  // The colour layer of the picture with its inside red.
  void KeepRedColouring() const {
    TRaster24 coloured = FramedPicture();
    for (int y = 1; y < 99; ++y)
      for (int x = 1; x < 199; ++x) coloured.SetPixel(x, y, Red);
    WriteFileAtomically(Job().Files.ColorFile, GifOf(coloured));
  }

  TTempFolder FFolder;
  std::optional<TEnvVar> FDataHome;
};

TEST_F(ThumbnailCache, TheFolderLiesBesideTheColouringsAndEveryEntryHasItsOwnFile) {
  EXPECT_EQ(ThumbnailFolder(), FFolder.File("data") + "/Tintwell/Thumbnails/");
  EXPECT_EQ(std::filesystem::path(ThumbnailFolder()).parent_path().parent_path(),
            std::filesystem::path(ColoringFolder()).parent_path().parent_path());
  const std::vector<std::string> entries = {"a.twf", "a.TWF", "sub/a.twf", "sub\\a.twf", "a"};
  std::set<std::string> names;
  for (const std::string& e : entries) names.insert(ThumbnailFileName(e));
  EXPECT_EQ(names.size(), 4u);  // "/" and "\" both separate folders in an entry
  for (const std::string& name : names) EXPECT_EQ(name.rfind(ThumbnailFolder(), 0), 0u);
}

TEST_F(ThumbnailCache, TheStampChangesWithEveryFileItIsMadeFromAndWithTheSize) {
  const TThumbnailJob job = Job();
  const std::string plain = ThumbnailStamp(job.PictureFile, job.Files, true, 100);
  EXPECT_EQ(ThumbnailStamp(job.PictureFile, job.Files, true, 100), plain);
  EXPECT_NE(ThumbnailStamp(job.PictureFile, job.Files, true, 120), plain);
  EXPECT_NE(ThumbnailStamp(job.PictureFile, job.Files, false, 100), plain);
  KeepRedColouring();
  const std::string coloured = ThumbnailStamp(job.PictureFile, job.Files, true, 100);
  EXPECT_NE(coloured, plain);
  // Not shown, a colouring does not count.
  EXPECT_EQ(ThumbnailStamp(job.PictureFile, job.Files, false, 100),
            ThumbnailStamp(job.PictureFile, {"", ""}, false, 100));
  WriteFileAtomically(job.Files.OutlineFile, GifOf(FramedPicture()));
  const std::string outlined = ThumbnailStamp(job.PictureFile, job.Files, true, 100);
  EXPECT_NE(outlined, coloured);
  // The picture written anew, even with the same bytes.
  WritePictureFile(Picture(), {{"en_us", "Frame", "Ann", ""}}, FramedPicture());
  EXPECT_NE(ThumbnailStamp(job.PictureFile, job.Files, true, 100), outlined);
  // Deleting the colouring makes the stamp differ from the coloured one.
  DropColoring(job.Files);
  EXPECT_NE(ThumbnailStamp(job.PictureFile, job.Files, true, 100), outlined);
}

TEST_F(ThumbnailCache, AThumbnailShowsTheKeptColouringFitsItsSizeAndIsKept) {
  KeepRedColouring();
  const QImage thumb = LoadThumbnail(Job());
  ASSERT_FALSE(thumb.isNull());
  EXPECT_EQ(thumb.size(), QSize(100, 50));
  EXPECT_EQ(PixelOf(thumb, 50, 25), Red);
  EXPECT_TRUE(std::filesystem::exists(Job().CacheFile));
  // Not shown when colourings are not kept.
  TThumbnailJob never = Job();
  never.StayColored = scNever;
  never.CacheFile.clear();
  EXPECT_EQ(PixelOf(LoadThumbnail(never), 50, 25), clWhite);
}

TEST_F(ThumbnailCache, AKeptThumbnailIsUsedWhileItsStampHoldsAndMadeAgainAfter) {
  const QImage first = LoadThumbnail(Job());
  ASSERT_FALSE(first.isNull());
  EXPECT_EQ(PixelOf(first, 50, 25), clWhite);
  // A kept file with the right stamp is taken as it is: replaced by a blue
  // one under the same stamp, the blue one comes back.
  QImage kept;
  ASSERT_TRUE(kept.load(QString::fromStdString(Job().CacheFile)));
  QImage blue(kept.size(), QImage::Format_RGB32);
  blue.fill(QColor(0, 0, 255));
  for (const QString& key : kept.textKeys()) blue.setText(key, kept.text(key));
  ASSERT_TRUE(blue.save(QString::fromStdString(Job().CacheFile), "PNG"));
  EXPECT_EQ(PixelOf(LoadThumbnail(Job()), 50, 25), RGB(0, 0, 255));
  // The colouring changes: made again from the files.
  KeepRedColouring();
  EXPECT_EQ(PixelOf(LoadThumbnail(Job()), 50, 25), Red);
  // A damaged kept file is made again too.
  WriteTextFile(Job().CacheFile, "not a png");
  EXPECT_EQ(PixelOf(LoadThumbnail(Job()), 50, 25), Red);
}

TEST_F(ThumbnailCache, ADamagedOrMissingPictureGivesNoThumbnailAndKeepsNothing) {
  TThumbnailJob job = Job();
  WriteTextFile(job.PictureFile, "TWF garbage garbage garbage");
  EXPECT_TRUE(LoadThumbnail(job).isNull());
  EXPECT_FALSE(std::filesystem::exists(job.CacheFile));
  // Cut short inside its image part.
  WritePictureFile(Picture(), {{"en_us", "Frame", "Ann", ""}}, FramedPicture());
  std::filesystem::resize_file(job.PictureFile, std::filesystem::file_size(job.PictureFile) - 40);
  EXPECT_TRUE(LoadThumbnail(job).isNull());
  job.PictureFile = FFolder.File("gone.twf");
  EXPECT_TRUE(LoadThumbnail(job).isNull());
  job.PictureFile = FFolder.File("data");
  EXPECT_TRUE(LoadThumbnail(job).isNull());
}

TEST_F(ThumbnailCache, AFolderThatCannotBeWrittenStillGivesTheThumbnail) {
  std::string folder = ThumbnailFolder();
  folder.pop_back();
  std::filesystem::create_directories(std::filesystem::path(folder).parent_path());
  WriteTextFile(folder, "a file where the folder would be");
  KeepRedColouring();
  const QImage thumb = LoadThumbnail(Job());
  ASSERT_FALSE(thumb.isNull());
  EXPECT_EQ(PixelOf(thumb, 50, 25), Red);
}

TEST_F(ThumbnailCache, TheLoaderHandsEveryResultToItsOwnThreadAndOnlyWhenAsked) {
  TThumbnailLoader loader;
  std::vector<TThumbnailLoader::TResult> results;
  const std::thread::id own = std::this_thread::get_id();
  loader.OnReady = [&](const TThumbnailLoader::TResult& r) {
    EXPECT_EQ(std::this_thread::get_id(), own);
    results.push_back(r);
  };
  TThumbnailJob broken = Job();
  broken.PictureFile = FFolder.File("gone.twf");
  const uint64_t a = loader.Request("frame", Job(), 1);
  const uint64_t b = loader.Request("gone", broken, 1);
  const uint64_t c = loader.RequestFromLayer("layer", TRaster24(40, 80, Red), 100, 2);
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  // Without the event loop or the explicit hand-over nothing arrives.
  EXPECT_TRUE(results.empty());
  loader.WaitAndDeliver();
  ASSERT_EQ(results.size(), 3u);
  for (const auto& r : results) {
    if (r.Key == "frame") {
      EXPECT_EQ(r.Image.size(), QSize(100, 50));
    } else if (r.Key == "gone") {
      EXPECT_TRUE(r.Image.isNull());
    } else {
      ASSERT_EQ(r.Key, "layer");
      EXPECT_EQ(r.Image.size(), QSize(50, 100));
      EXPECT_EQ(PixelOf(r.Image, 25, 50), Red);
    }
  }
}

TEST_F(ThumbnailCache, ALoaderEndsCleanlyWithRequestsStillWaiting) {
  std::vector<std::string> seen;
  {
    TThumbnailLoader loader;
    loader.OnReady = [&](const TThumbnailLoader::TResult& r) { seen.push_back(r.Key); };
    for (int i = 0; i < 20; ++i) loader.Request("frame", Job(), 0);
  }
  // Nothing is delivered after the loader is gone.
  QCoreApplication::processEvents();
  EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace tw::test
