// The built-in artwork and font: names found without regard to case, a
// clear error for a missing name, and the embedded font registered.
#include "pictures/qt/ArtResourceU.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tw
