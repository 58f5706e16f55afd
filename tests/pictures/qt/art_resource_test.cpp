// The built-in artwork and font: names found without regard to case, a
// clear error for a missing name, and the embedded font registered.
#include "pictures/qt/ArtResourceU.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <QDirIterator>
#include <QFileInfo>
#include <QFontInfo>

#include "base/ErrorsU.h"

namespace tw {
namespace {

TEST(ArtResource, MissingPictureIsAClearError) {
  EXPECT_FALSE(HasArtResource("no such picture"));
  try {
    QImage picture;
    LoadPngResource(picture, "no such picture");
    FAIL() << "a missing picture loaded";
  } catch (const EError& error) {
    EXPECT_STREQ(error.what(), "The built-in picture \"no such picture\" is missing.");
  }
  EXPECT_THROW(JpegResource("nothing"), EError);
}

TEST(ArtResource, EmbeddedFontIsRegistered) {
  const QString family = InterfaceFontFamily();
  EXPECT_EQ(family, "Andika");
  QFont font(family);
  font.setPixelSize(14);
  EXPECT_EQ(QFontInfo(font).family(), "Andika");
  font.setBold(true);
  EXPECT_TRUE(QFontInfo(font).bold());
}


struct TArt {
  const char* Name;
  int Width;
  int Height;
};

// Every picture the program asks for by name, with the size its layout
// relies on (0 where the picture sizes its control).
TEST(ArtResource, EveryPictureTheProgramUsesLoads) {
  const TArt jpegs[] = {{"main", 240, 198}, {"title", 0, 0}, {"dialog", 24, 24}};
  for (const TArt& art : jpegs) {
    const QImage picture = JpegResource(art.Name);
    EXPECT_FALSE(picture.isNull()) << art.Name;
    if (art.Width) {
      EXPECT_EQ(picture.size(), QSize(art.Width, art.Height)) << art.Name;
    }
  }
  const TArt buttons[] = {{"Close", 18, 18},  {"Restore", 18, 18}, {"Min", 18, 9},
                          {"Undo", 40, 40},   {"ZoomOut", 40, 40}, {"ZoomIn", 40, 40},
                          {"Save", 40, 40},   {"Print", 40, 40},   {"Info", 40, 40},
                          {"PrevPic", 40, 40}, {"NextPic", 40, 40}, {"Options", 40, 40},
                          {"PrevPal", 48, 36}, {"NextPal", 48, 36}, {"Fill", 48, 48},
                          {"Brush", 48, 48},  {"MBrush", 48, 48},  {"Dropper", 48, 48},
                          {"Marker", 48, 48}, {"Eraser", 48, 48},  {"Tap", 48, 48}};
  for (const TArt& art : buttons)
    for (const char* look : {"0", "1", "2"}) {
      const QString name = QString(art.Name) + look;
      EXPECT_EQ(JpegResource(name).size(), QSize(art.Width, art.Height)) << name.toStdString();
    }
  const TArt pngSets[] = {{"btnGreen", 124, 36}, {"btnRed", 120, 36}, {"chk", 28, 28},
                          {"opt", 18, 18},       {"exp", 24, 24},     {"btnPath", 24, 24}};
  for (const TArt& art : pngSets)
    for (const char* look : {"0", "1", "2", "3"}) {
      const QString name = QString(art.Name) + look;
      EXPECT_EQ(PngResource(name).size(), QSize(art.Width, art.Height)) << name.toStdString();
    }
  const TArt pngs[] = {{"grpBlue", 20, 40},   {"hint_ur", 229, 131}, {"hint_ul", 229, 131},
                       {"hint_dr", 229, 131}, {"hint_dl", 229, 131}, {"sizeTrack", 126, 18},
                       {"sizeThumb", 14, 18}, {"volTrack", 126, 18}, {"volThumb", 14, 18},
                       {"qc_hand", 32, 32},   {"qc_arrow", 32, 32},  {"qc_no", 32, 32}};
  for (const TArt& art : pngs)
    EXPECT_EQ(PngResource(art.Name).size(), QSize(art.Width, art.Height)) << art.Name;
  for (const char* cursor : {"fill", "brush", "mbrush", "dropper0", "dropper1", "dropper2",
                             "dropper3", "dropper4", "dropper5", "marker", "eraser", "tap"})
    for (const char* part : {"C", "M"}) {
      const QString name = QString(cursor) + part;
      EXPECT_EQ(PngResource(name).size(), QSize(64, 64)) << name.toStdString();
    }
}

TEST(ArtResource, NamesIgnoreLetterCaseAndKeepAlpha) {
  EXPECT_EQ(JpegResource("MAIN").size(), JpegResource("main").size());
  EXPECT_TRUE(HasArtResource("HINT_UR"));
  // The bubble's corners are see-through, its box opaque.
  const QImage bubble = PngResource("hint_ur");
  EXPECT_EQ(qAlpha(bubble.pixel(0, bubble.height() - 1)), 0);
  EXPECT_TRUE(bubble.hasAlphaChannel());
}

// Each built-in picture by name and kind ("jpg" or "png"), from the
// resource folder of the design-size set.
std::vector<std::pair<QString, QString>> DesignSetPictures() {
  std::vector<std::pair<QString, QString>> result;
  QDirIterator it(QStringLiteral(":/art"), QDir::Files);
  while (it.hasNext()) {
    const QFileInfo file(it.next());
    result.emplace_back(file.completeBaseName(), file.suffix().toLower());
  }
  return result;
}

QImage Load(const std::pair<QString, QString>& Picture, int Scale) {
  return Picture.second == "jpg" ? JpegResource(Picture.first, Scale)
                                 : PngResource(Picture.first, Scale);
}

TEST(ArtResource, EveryPictureHasAPartnerOfTwiceItsSize) {
  const auto pictures = DesignSetPictures();
  ASSERT_GT(pictures.size(), 100u);
  int sharper = 0;
  for (const auto& picture : pictures) {
    const std::string name = picture.first.toStdString();
    const QImage design = Load(picture, 1);
    const QImage dense = Load(picture, 2);
    ASSERT_FALSE(dense.isNull()) << name;
    EXPECT_EQ(dense.size(), design.size() * 2) << name;
    EXPECT_EQ(design.devicePixelRatio(), 1.0) << name;
    EXPECT_EQ(dense.devicePixelRatio(), 2.0) << name;
    EXPECT_EQ(DesignSize(dense), DesignSize(design)) << name;
    EXPECT_EQ(DesignSize(design), design.size()) << name;
    // Drawn anew from the sources, not the design picture enlarged.
    QImage enlarged = design.scaled(design.size() * 2, Qt::IgnoreAspectRatio,
                                    Qt::FastTransformation);
    enlarged.setDevicePixelRatio(2);
    if (enlarged != dense) ++sharper;
  }
  EXPECT_EQ(sharper, int(pictures.size()));
}

TEST(ArtResource, TheDenseSetServesEveryRatioAboveOne) {
  EXPECT_EQ(ArtScaleFor(1.0), 1);
  EXPECT_EQ(ArtScaleFor(0.5), 1);
  EXPECT_EQ(ArtScaleFor(1.25), 2);
  EXPECT_EQ(ArtScaleFor(2.0), 2);
  EXPECT_EQ(ArtScaleFor(3.0), 2);
  // Names ignore letter case in the dense set too, and a missing name is
  // the same clear error.
  EXPECT_EQ(PngResource("HINT_UR", 2).size(), QSize(458, 262));
  EXPECT_THROW(PngResource("no such picture", 2), EError);
}

}  // namespace
}  // namespace tw
